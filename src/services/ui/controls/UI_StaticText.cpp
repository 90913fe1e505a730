#include "services/ui/controls/UI_StaticText.h"

#include "services/ui/draw/ThemeColors.h"

namespace kivui {

UI_StaticText::UI_StaticText(std::string text, Font font)
    : UI_Node("UI_StaticText"), text_(std::move(text)), font_(std::move(font)) {}

void UI_StaticText::SetText(std::string text) {
  text_ = std::move(text);
  UI_Invalidate();
}

void UI_StaticText::SetFont(Font font) {
  font_ = std::move(font);
  UI_Invalidate();
}

void UI_StaticText::SetColor(std::optional<Color> color) {
  color_ = color;
  UI_Invalidate();
}

void UI_StaticText::SetAlignment(unsigned align) {
  align_ = align;
  UI_Invalidate();
}

void UI_StaticText::UI_Draw(Drawbot& d, const kivcore::RectF&) {
  const ThemeColors& theme = ThemeColors::Current();
  d.DrawText(text_, GetLocalBounds(), font_,
             IsEnabled() ? color_.value_or(theme.text) : theme.textDisabled, align_);
}

}  // namespace kivui
