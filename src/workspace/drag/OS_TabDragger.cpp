#include "workspace/drag/OS_TabDragger.h"

#include "services/ui/node/UI_NodeManager.h"

namespace kivworkspace::workspace {

OS_TabDragger::~OS_TabDragger() { RestoreCursor(); }

void OS_TabDragger::ShowDragCursor(bool wholeFrame) {
  kivui::UI_NodeManager::Get().SetResourceCursor(wholeFrame ? kivui::kCursorDragFrame
                                                            : kivui::kCursorDragTab);
  cursorShown_ = true;
}

void OS_TabDragger::RestoreCursor() {
  if (!cursorShown_) return;
  cursorShown_ = false;
  kivui::UI_NodeManager::Get().ResetCursor();
}

}  // namespace kivworkspace::workspace
