#pragma once

#include "services/ui/node/UI_Node.h"

#include <functional>

namespace kivui {

// The grip of a frame without tabs: dragging it past a few pixels starts dragging the
// frame (dragStarted gets the global press point and the current global point).
class UI_TablessDragger : public UI_Node {
 public:
  static constexpr float kDragThreshold = 5;

  UI_TablessDragger();

  std::function<void(kivcore::PointF pressGlobal, kivcore::PointF global)> dragStarted;

  void UI_Draw(Drawbot& drawbot, const kivcore::RectF& dirty) override;
  bool UI_DoMouseEvent(UI_Node* target, const MouseEvent& event) override;
  bool UI_DoCursor(kivcore::PointF local) override;
  void UI_CaptureLost() override { pressed_ = false; }

 private:
  bool pressed_ = false;
  kivcore::PointF pressGlobal_;
};

}  // namespace kivui
