#include "workspace/core/OS_Workspace.h"

#include "services/ui/window/OS_Window.h"
#include "workspace/windows/OS_TopLevelWindow.h"

namespace kivworkspace::workspace {
namespace {
bool syncWindowActivation = false;
}

OS_Workspace::OS_Workspace() : UI_Container("OS_Workspace") {}

OS_TopLevelWindow* OS_Workspace::GetTopLevelWindowFromPos(kivcore::Point global) {
  // WindowFromPoint only returns top-level windows, so there is no child window to climb
  // out of; windows of other kinds are not the library's.
  return dynamic_cast<OS_TopLevelWindow*>(kivui::OS_Window::WindowFromPoint(global));
}

std::vector<OS_TopLevelWindow*> OS_Workspace::GetTopLevelWindows() const {
  std::vector<OS_TopLevelWindow*> windows;
  for (std::size_t i = 0; i < GetChildCount(); ++i) {
    if (auto* w = dynamic_cast<OS_TopLevelWindow*>(GetChild(i))) windows.push_back(w);
  }
  return windows;
}

bool OS_Workspace::IsSyncWindowActivationEnabled() { return syncWindowActivation; }
void OS_Workspace::SetIsSyncWindowActivationEnabled(bool enabled) {
  syncWindowActivation = enabled;
}

}  // namespace kivworkspace::workspace
