#pragma once

#include "services/ui/events/KeyboardEvent.h"
#include "services/ui/events/ModKeys.h"

#include <Qt>

namespace kivui::qt {

int KeyFromQtKey(int qtKey);
int QtKeyFromKey(int key);
ModKeys ModKeysFromQt(Qt::KeyboardModifiers modifiers);
Qt::KeyboardModifiers QtFromModKeys(ModKeys mods);
Qt::CursorShape CursorShapeFor(int resourceCursor);

}  // namespace kivui::qt
