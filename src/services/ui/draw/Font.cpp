#include "services/ui/draw/Font.h"

namespace kivui {
namespace {

std::string& UIFamily() {
  static std::string family = "DejaVu Sans";
  return family;
}

}  // namespace

const std::string& Font::GetUIFamily() { return UIFamily(); }

void Font::SetUIFamily(std::string family) { UIFamily() = std::move(family); }

}  // namespace kivui
