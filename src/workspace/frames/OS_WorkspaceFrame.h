#pragma once

#include "services/ui/node/UI_Container.h"

namespace kivworkspace::workspace {

// The native side of a frame: the node at the frame's rectangle inside its top-level
// window.
class OS_WorkspaceFrame : public kivui::UI_Container {
 public:
  OS_WorkspaceFrame() : UI_Container("OS_WorkspaceFrame") {}
};

}  // namespace kivworkspace::workspace
