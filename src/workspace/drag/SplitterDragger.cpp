#include "workspace/drag/internal/SplitterDragger.h"

#include "services/ui/events/KeyboardEvent.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/core/Workspace.h"

namespace kivworkspace::workspace {

SplitterDragger::SplitterDragger(TopLevelWindow* window, const kivcore::Rect& localRect)
    : Tracker(window->GetWorkspace(), kWantsKeyEvents), window_(window) {
  window_->GetLayoutManager().AcquireTracker(localRect, tracker_);
}

SplitterDragger::~SplitterDragger() {
  if (adjusting_ || notified_) End(true);
}

bool SplitterDragger::Begin(kivcore::Point global) {
  if (!tracker_) return false;
  window_->GetLayoutManager().SetUserAdjustingSplitter(true);
  adjusting_ = true;
  SetTracking(true);
  tracker_->Begin(window_->UI_GlobalToLocal(global));
  window_->GetWorkspace()->NotifySplitterDragBegin(window_);
  notified_ = true;
  return true;
}

bool SplitterDragger::Track(kivcore::Point global) {
  if (tracker_) tracker_->Move(window_->UI_GlobalToLocal(global));
  return false;
}

void SplitterDragger::End(bool) {
  if (tracker_) tracker_->End();
  if (adjusting_) window_->GetLayoutManager().SetUserAdjustingSplitter(false);
  adjusting_ = false;
  SetTracking(false);
  if (notified_) window_->GetWorkspace()->NotifySplitterDragEnd(window_);
  notified_ = false;
}

OS_Tracker::KeyOutcome SplitterDragger::DoKeyEvent(const kivui::KeyboardEvent& event) {
  if (event.action != kivui::KeyboardEvent::kDown || event.key != kivui::kKeyEscape)
    return KeyOutcome::kIgnored;
  return KeyOutcome::kCancel;
}

}  // namespace kivworkspace::workspace
