#include "services/ui/controls/UI_PictureButton.h"

#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"

#include <algorithm>

namespace kivui {

UI_PictureButton::UI_PictureButton(Image picture, std::string text)
    : UI_Button(std::move(text)), picture_(std::move(picture)) {
  SetNodeID("UI_PictureButton");
}

void UI_PictureButton::SetPicture(Image picture) {
  picture_ = std::move(picture);
  UI_Invalidate();
}

void UI_PictureButton::DrawContent(Drawbot& d, const kivcore::RectF& r) const {
  const ThemeColors& theme = ThemeColors::Current();
  const Color tint = !IsEnabled() ? theme.textDisabled : IsSelected() ? theme.accentText : theme.text;
  const float side = std::min({r.height - 6, float(picture_.Height()), r.width - 6});
  const bool hasText = !GetText().empty();
  const float x = hasText ? r.left + 6 : r.left + (r.width - side) / 2;
  if (!picture_.IsNull() && side > 0) {
    const Image shown = tinted_ ? utility::TintImage(picture_, tint) : picture_;
    d.DrawImage(shown, {x, r.top + (r.height - side) / 2, side, side});
  }
  if (hasText) {
    const float left = x + side + 6;
    d.DrawText(GetText(), {left, r.top, r.Right() - left - 4, r.height}, Font::UI(12), tint,
               kAlignLeft | kAlignVCenter | kElideRight);
  }
}

}  // namespace kivui
