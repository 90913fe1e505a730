#include "sharedui/WorkspaceSwitcherBarDragHandle.h"

#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "services/ui/events/MouseEvent.h"
#include "services/ui/node/UI_NodeManager.h"
#include "sharedui/WorkspaceSwitcherBarCapture.h"

namespace kivworkspace::sharedui {

WorkspaceSwitcherBarDragHandle::WorkspaceSwitcherBarDragHandle(WorkspaceSwitcherBarDragTarget& target)
    : UI_Node("WorkspaceSwitcherBarDragHandle"), target_(target) {}

WorkspaceSwitcherBarDragHandle::~WorkspaceSwitcherBarDragHandle() {
  if (capture_) kivui::UI_NodeManager::Get().EndCapture(this);
}

void WorkspaceSwitcherBarDragHandle::UI_Draw(kivui::Drawbot& d, const kivcore::RectF&) {
  // Three dots, one above another.
  const auto& theme = kivui::ThemeColors::Current();
  const kivcore::RectF b = GetLocalBounds();
  for (int i = -1; i <= 1; ++i) d.FillRect({b.width / 2 - 1, b.height / 2 + float(i) * 5 - 1, 2, 2}, theme.textDim);
}

bool WorkspaceSwitcherBarDragHandle::UI_DoCursor(kivcore::PointF local) {
  if (!GetLocalBounds().Contains(local)) return false;
  kivui::UI_NodeManager::Get().SetResourceCursor(kivui::kCursorVerticalBar);
  return true;
}

bool WorkspaceSwitcherBarDragHandle::UI_DoMouseEvent(kivui::UI_Node*, const kivui::MouseEvent& e) {
  if (e.action == kivui::MouseEvent::kDown && e.button == kivui::MouseEvent::kPrimary && !e.IsContextClick()) {
    capture_ = std::make_unique<WorkspaceSwitcherBarCapture>(target_, e.global.x);
    kivui::UI_NodeManager::Get().BeginCapture(this);
    return true;
  }
  if (capture_ && e.action == kivui::MouseEvent::kMove) {
    capture_->Move(e.global.x);
    return true;
  }
  if (capture_ && e.action == kivui::MouseEvent::kUp) {
    std::unique_ptr<WorkspaceSwitcherBarCapture> capture = std::move(capture_);
    kivui::UI_NodeManager::Get().EndCapture(this);
    capture->End();
    return true;
  }
  return false;
}

void WorkspaceSwitcherBarDragHandle::UI_CaptureLost() {
  // A drag cut short keeps the width it reached, as a release there would.
  if (std::unique_ptr<WorkspaceSwitcherBarCapture> capture = std::move(capture_)) capture->End();
}

}  // namespace kivworkspace::sharedui
