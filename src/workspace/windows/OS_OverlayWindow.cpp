#include "workspace/windows/OS_OverlayWindow.h"

#include "services/core/Error.h"

namespace kivworkspace::workspace {

OS_OverlayWindow::OS_OverlayWindow() : OS_Window("OS_OverlayWindow") {}

void OS_OverlayWindow::Create(kivui::OS_Window* owner, const kivcore::Rect& globalRect) {
  if (globalRect.width < 1 || globalRect.height < 1) {
    kivcore::config::ThrowError(1,
                                "$$$/kivworkspace/Error/CannotCreateEmptyOverlayWindow=Attempted "
                                "to create empty overlay window.",
                                102, 21, 1);
  }
  UI_CreateWindow("Quenvale - Overlay Window", owner, globalRect, kOverlayWindow);
  if (!IsCreated()) {
    kivcore::config::ThrowError(
        1, "$$$/kivworkspace/Error/CannotCreateOverlayWindow=Unable to create overlay window.", 102,
        20, 1);
  }
}

}  // namespace kivworkspace::workspace
