#include "workspace/drag/Tracker.h"

#include "services/ui/node/UI_NodeManager.h"

namespace kivworkspace::workspace {

Tracker::Tracker(Workspace* workspace, unsigned flags)
    : workspace_(workspace), flags_(flags & (kWantsKeyEvents | kWantsIdleEvents)) {
  kivui::UI_NodeManager::Get().SuspendMouseOverUpdates(true);
}

Tracker::~Tracker() { kivui::UI_NodeManager::Get().SuspendMouseOverUpdates(false); }

void Tracker::Cancel() {
  flags_ |= kCancelled;
  OS_Tracker::Cancel();
}

void Tracker::SetTracking(bool tracking) {
  flags_ = tracking ? flags_ | kTracking : flags_ & ~unsigned(kTracking);
}

}  // namespace kivworkspace::workspace
