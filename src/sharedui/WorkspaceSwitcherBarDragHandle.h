#pragma once

#include "services/ui/node/UI_Node.h"

#include <memory>

namespace kivworkspace::sharedui {

class WorkspaceSwitcherBarCapture;
class WorkspaceSwitcherBarDragTarget;

// The grip beside the switcher's tabs: dragging it widens or narrows the tab row.
class WorkspaceSwitcherBarDragHandle : public kivui::UI_Node {
 public:
  static constexpr float kWidth = 8;

  explicit WorkspaceSwitcherBarDragHandle(WorkspaceSwitcherBarDragTarget& target);
  ~WorkspaceSwitcherBarDragHandle() override;

  void UI_Draw(kivui::Drawbot& drawbot, const kivcore::RectF& dirty) override;
  bool UI_DoMouseEvent(kivui::UI_Node* target, const kivui::MouseEvent& event) override;
  bool UI_DoCursor(kivcore::PointF local) override;
  void UI_CaptureLost() override;

 private:
  WorkspaceSwitcherBarDragTarget& target_;
  std::unique_ptr<WorkspaceSwitcherBarCapture> capture_;
};

}  // namespace kivworkspace::sharedui
