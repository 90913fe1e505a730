#pragma once

#include "services/ui/window/OS_Window.h"

namespace kivworkspace::workspace {

// A frameless window over the others that lets input through: drop-zone markers and
// indicators. Raises category 102 code 21 for an empty rectangle.
class OS_OverlayWindow : public kivui::OS_Window {
 public:
  OS_OverlayWindow();

  void Create(kivui::OS_Window* owner, const kivcore::Rect& globalRect);
  bool OSWindowBacked() const { return IsCreated(); }
  // Nothing to do on this platform: overlays stay above their owner by themselves.
  void BringToTop() {}
  void DetachFromParent() {}
};

}  // namespace kivworkspace::workspace
