#include "services/ui/skin/SkinManager.h"

namespace kivui {

SkinManager& SkinManager::Get() {
  static SkinManager instance;
  return instance;
}

SkinManager::SkinManager() { RegisterSet("default"); }

SkinSet& SkinManager::GetDefaultSet() { return *GetSet("default"); }

SkinSet& SkinManager::RegisterSet(std::string_view name) {
  std::lock_guard lock(mutex_);
  auto it = sets_.find(name);
  if (it == sets_.end()) {
    it = sets_.emplace(std::string(name), std::make_unique<SkinSet>(std::string(name))).first;
  }
  return *it->second;
}

SkinSet* SkinManager::GetSet(std::string_view name) {
  std::lock_guard lock(mutex_);
  auto it = sets_.find(name);
  return it == sets_.end() ? nullptr : it->second.get();
}

bool SkinManager::HasSet(std::string_view name) const {
  std::lock_guard lock(mutex_);
  return sets_.find(name) != sets_.end();
}

}  // namespace kivui
