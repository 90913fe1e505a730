#pragma once

#include "services/ui/node/UI_Container.h"
#include "services/ui/window/OS_ScaledView.h"

namespace kivworkspace::workspace {

// The native side of a tab panel: the node that shows its content inside a frame, and the
// scale of the display it is on.
class OS_TabPanel : public kivui::UI_Container {
 public:
  OS_TabPanel() : UI_Container("OS_TabPanel") {}

  // The view's scale matrix: the display scale of the panel's window.
  kivui::OS_ScaledView GetScaledView() const;
};

}  // namespace kivworkspace::workspace
