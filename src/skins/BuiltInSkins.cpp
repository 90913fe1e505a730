#include "skins/LayoutManagerSkin.h"

#include "services/ui/skin/SkinManager.h"

#include <memory>
#include <mutex>

namespace kivworkspace::skins {

void RegisterBuiltInSkins() {
  static std::once_flag once;
  std::call_once(once, [] {
    kivui::SkinManager::Get().GetDefaultSet().Register(std::make_shared<LayoutManagerSkin>(1, 2));
  });
}

}  // namespace kivworkspace::skins
