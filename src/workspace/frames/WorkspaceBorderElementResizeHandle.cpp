#include "workspace/frames/WorkspaceBorderElementResizeHandle.h"

#include "services/ui/events/MouseEvent.h"
#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/window/OS_Window.h"
#include "workspace/frames/WorkspaceBorderElementResizeHandleTarget.h"

#include <cmath>

namespace kivworkspace::workspace {

WorkspaceBorderElementResizeCapture::WorkspaceBorderElementResizeCapture(
    WorkspaceBorderElementResizeHandle* handle, kivcore::PointF pressGlobal,
    WorkspaceBorderElementResizeHandleTarget* target)
    : handle_(handle), target_(target), last_(pressGlobal) {}

void WorkspaceBorderElementResizeCapture::Move(kivcore::PointF global) {
  const float d = global.y - last_.y;
  if (std::fabs(d) <= 1.0f || !target_) return;
  const kivui::OS_Window* window = handle_->GetWindow();
  const float scale = window ? window->GetRecommendedScaleFactor() : 1.0f;
  target_->ResizeBorderElement(d / (scale > 0 ? scale : 1.0f));
  last_ = global;
}

WorkspaceBorderElementResizeHandle::WorkspaceBorderElementResizeHandle(
    WorkspaceBorderElementResizeHandleTarget* target)
    : target_(target) {
  SetNodeID("WorkspaceBorderElementResizeHandle");
}

WorkspaceBorderElementResizeHandle::~WorkspaceBorderElementResizeHandle() {
  if (capture_) kivui::UI_NodeManager::Get().EndCapture(this);
}

bool WorkspaceBorderElementResizeHandle::UI_DoCursor(kivcore::PointF local) {
  if (!IsEnabled() || !GetLocalBounds().Contains(local)) return false;
  kivui::UI_NodeManager::Get().SetResourceCursor(flag_ ? kivui::kCursorResizeHandle
                                                       : kivui::kCursorHorizontalBar);
  return true;
}

bool WorkspaceBorderElementResizeHandle::UI_DoMouseEvent(kivui::UI_Node* target,
                                                         const kivui::MouseEvent& e) {
  // Its element's frame offers the context menu and toggles on a double click.
  if (e.action == kivui::MouseEvent::kDown && (e.IsContextClick() || e.IsDoubleClick()))
    return false;
  if (!flag_ && e.action == kivui::MouseEvent::kDown && e.button == kivui::MouseEvent::kPrimary) {
    capture_ = std::make_unique<WorkspaceBorderElementResizeCapture>(this, e.global, target_);
    kivui::UI_NodeManager::Get().BeginCapture(this);
    return true;
  }
  if (capture_ && e.action == kivui::MouseEvent::kMove) {
    capture_->Move(e.global);
    return true;
  }
  if (capture_ && e.action == kivui::MouseEvent::kUp) {
    capture_.reset();
    kivui::UI_NodeManager::Get().EndCapture(this);
    return true;
  }
  return UI_Button::UI_DoMouseEvent(target, e);
}

void WorkspaceBorderElementResizeHandle::UI_CaptureLost() {
  capture_.reset();
  UI_Button::UI_CaptureLost();
}

}  // namespace kivworkspace::workspace
