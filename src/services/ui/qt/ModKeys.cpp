#include "services/ui/events/ModKeys.h"

#include "services/ui/qt/KeyMap.h"

#include <QGuiApplication>

namespace kivui {
namespace detail {
// Set by kivui::testing::OverrideModKeys; -1 reads the real keyboard.
int modKeysOverride = -1;
}  // namespace detail

ModKeys GetCurrentModKeys() {
  if (detail::modKeysOverride >= 0) return ModKeys(detail::modKeysOverride);
  if (!QGuiApplication::instance()) return kModNone;
  return qt::ModKeysFromQt(QGuiApplication::queryKeyboardModifiers());
}

}  // namespace kivui
