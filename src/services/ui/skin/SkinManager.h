#pragma once

#include "services/ui/skin/SkinSet.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace kivui {

// The process-wide registry of skin sets. A set named "default" always exists.
class SkinManager {
 public:
  static SkinManager& Get();

  SkinSet& GetDefaultSet();
  // The set of that name, created empty when it is not there yet.
  SkinSet& RegisterSet(std::string_view name);
  // The set of that name, or null.
  SkinSet* GetSet(std::string_view name);
  bool HasSet(std::string_view name) const;

 private:
  SkinManager();
  mutable std::mutex mutex_;
  std::map<std::string, std::unique_ptr<SkinSet>, std::less<>> sets_;
};

}  // namespace kivui
