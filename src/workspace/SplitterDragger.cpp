#include "workspace/SplitterDragger.h"

#include "services/ui/events/KeyboardEvent.h"
#include "workspace/TopLevelWindow.h"
#include "workspace/Workspace.h"

namespace kivworkspace::workspace {

SplitterDragger::SplitterDragger(TopLevelWindow* window, const kivcore::Rect& localRect)
    : window_(window) {
  window_->GetLayoutManager().AcquireTracker(localRect, tracker_);
}

SplitterDragger::~SplitterDragger() {
  if (adjusting_ || notified_) End(true);
}

bool SplitterDragger::Begin(kivcore::Point global) {
  if (!tracker_) return false;
  window_->GetLayoutManager().SetUserAdjustingSplitter(true);
  adjusting_ = true;
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
  if (notified_) window_->GetWorkspace()->NotifySplitterDragEnd(window_);
  notified_ = false;
}

bool SplitterDragger::DoKeyEvent(int key) { return key == kivui::kKeyEscape; }

}  // namespace kivworkspace::workspace
