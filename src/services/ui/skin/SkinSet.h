#pragma once

#include "services/ui/skin/Skin.h"

#include <memory>
#include <string>
#include <vector>

namespace kivui {

// A named set of skin entries. Qt-free: the layout engine reads its metrics from here.
class SkinSet {
 public:
  explicit SkinSet(std::string name) : name_(std::move(name)) {}

  const std::string& GetName() const { return name_; }
  // Adds an entry; an entry registered later wins a lookup over an earlier one of the same
  // interface.
  void Register(std::shared_ptr<Skin> skin) { skins_.push_back(std::move(skin)); }

  // The most recently registered entry that implements Interface, or null.
  template <typename Interface>
  const Interface* Find() const {
    for (auto it = skins_.rbegin(); it != skins_.rend(); ++it) {
      if (const auto* found = dynamic_cast<const Interface*>(it->get())) return found;
    }
    return nullptr;
  }

 private:
  std::string name_;
  std::vector<std::shared_ptr<Skin>> skins_;
};

}  // namespace kivui
