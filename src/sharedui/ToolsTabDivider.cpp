#include "sharedui/ToolsTabDivider.h"

#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"

namespace kivworkspace::sharedui {

void ToolsTabDivider::UI_Draw(kivui::Drawbot& d, const kivcore::RectF&) {
  const kivcore::RectF b = GetLocalBounds();
  const auto& theme = kivui::ThemeColors::Current();
  if (b.width >= b.height) {
    d.FillRect({3, b.height / 2, b.width - 6, 1}, theme.border);
  } else {
    d.FillRect({b.width / 2, 3, 1, b.height - 6}, theme.border);
  }
}

}  // namespace kivworkspace::sharedui
