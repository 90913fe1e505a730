#include "services/ui/draw/ThemeColors.h"

#include "services/ui/skin/SkinManager.h"

namespace kivui {

const ThemeColors& ThemeColors::Current() {
  static const ThemeColors fallback;
  const ThemeColors* theme = SkinManager::Get().GetDefaultSet().Find<ThemeColors>();
  return theme ? *theme : fallback;
}

}  // namespace kivui
