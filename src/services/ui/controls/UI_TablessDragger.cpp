#include "services/ui/controls/UI_TablessDragger.h"

#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "services/ui/events/MouseEvent.h"
#include "services/ui/node/UI_NodeManager.h"

#include <cmath>

namespace kivui {

UI_TablessDragger::UI_TablessDragger() : UI_Node("UI_TablessDragger") {}

void UI_TablessDragger::UI_Draw(Drawbot& d, const kivcore::RectF&) {
  const ThemeColors& theme = ThemeColors::Current();
  const kivcore::RectF b = GetLocalBounds();
  d.FillRect(b, theme.header);
  // A grip of dots in two rows.
  const float cx = b.left + b.width / 2, cy = b.top + b.height / 2;
  for (int i = -3; i <= 3; ++i) {
    for (float dy : {-2.5f, 1.5f}) d.FillRect({cx + float(i) * 4 - 1, cy + dy, 2, 2}, theme.textDim);
  }
}

bool UI_TablessDragger::UI_DoMouseEvent(UI_Node*, const MouseEvent& e) {
  auto& manager = UI_NodeManager::Get();
  switch (e.action) {
    case MouseEvent::kDown:
      if (e.button != MouseEvent::kPrimary) return false;
      pressed_ = true;
      pressGlobal_ = e.global;
      manager.BeginCapture(this);
      return true;
    case MouseEvent::kMove:
      if (!pressed_) return false;
      if (std::hypot(e.global.x - pressGlobal_.x, e.global.y - pressGlobal_.y) > kDragThreshold) {
        pressed_ = false;
        manager.EndCapture(this);
        if (dragStarted) dragStarted(pressGlobal_, e.global);
      }
      return true;
    case MouseEvent::kUp:
      if (!pressed_) return false;
      pressed_ = false;
      manager.EndCapture(this);
      return true;
    default:
      return false;
  }
}

bool UI_TablessDragger::UI_DoCursor(kivcore::PointF) {
  UI_NodeManager::Get().SetResourceCursor(kCursorDragFrame);
  return true;
}

}  // namespace kivui
