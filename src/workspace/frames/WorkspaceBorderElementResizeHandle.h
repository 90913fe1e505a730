#pragma once

#include "services/ui/controls/UI_Button.h"
#include "workspace/frames/WorkspaceBorderElementResizeCapture.h"

#include <memory>

namespace kivworkspace::workspace {

class WorkspaceBorderElementResizeHandleTarget;

// The strip along a border element's edge that resizes it when dragged up or down. While
// its owner sets the flag (the element minimized to the handle, say) the handle only acts
// as a button and shows the flagged cursor.
class WorkspaceBorderElementResizeHandle : public kivui::UI_Button {
 public:
  explicit WorkspaceBorderElementResizeHandle(WorkspaceBorderElementResizeHandleTarget* target);
  ~WorkspaceBorderElementResizeHandle() override;

  void SetFlag(bool flag) { flag_ = flag; }
  bool GetFlag() const { return flag_; }
  bool IsPressed() const { return capture_ != nullptr; }

  bool UI_DoCursor(kivcore::PointF local) override;
  bool UI_DoMouseEvent(kivui::UI_Node* target, const kivui::MouseEvent& event) override;
  void UI_CaptureLost() override;

 private:
  WorkspaceBorderElementResizeHandleTarget* target_;
  bool flag_ = false;
  std::unique_ptr<WorkspaceBorderElementResizeCapture> capture_;
};

}  // namespace kivworkspace::workspace
