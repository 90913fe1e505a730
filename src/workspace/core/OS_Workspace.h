#pragma once

#include "services/core/PointT.h"
#include "services/ui/node/UI_Container.h"

#include <vector>

namespace kivworkspace::workspace {

class OS_TopLevelWindow;
class OS_Tracker;

// The native side of the workspace: the container of its top-level windows.
class OS_Workspace : public kivui::UI_Container {
 public:
  OS_Workspace();

  // The library's top-level window under the screen point, or null (no window there, or a
  // window that is not one of the library's).
  static OS_TopLevelWindow* GetTopLevelWindowFromPos(kivcore::Point global);

  // The drag in progress, and its end (cancel sounds the warning beep first).
  virtual OS_Tracker* GetTracker() const { return nullptr; }
  virtual void ReleaseTracker(bool /*cancel*/) {}

  // The top-level windows among the children, in order.
  std::vector<OS_TopLevelWindow*> GetTopLevelWindows() const;

  // When on, all top-level windows of the workspace show as active together.
  static bool IsSyncWindowActivationEnabled();
  static void SetIsSyncWindowActivationEnabled(bool enabled);
};

}  // namespace kivworkspace::workspace
