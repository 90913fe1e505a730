#include "services/core/Version.h"

namespace kivcore::config {

const std::string& GetVersionString() {
  static const std::string version = std::string("2.0.0") + "." + "Gadfly";
  return version;
}

}  // namespace kivcore::config
