#pragma once

#include "services/ui/draw/Color.h"
#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/Font.h"
#include "services/ui/node/UI_Node.h"

#include <optional>
#include <string>

namespace kivui {

// A line of text drawn by the library; it takes the theme's text colour unless told
// otherwise.
class UI_StaticText : public UI_Node {
 public:
  explicit UI_StaticText(std::string text = {}, Font font = Font::UI());

  void SetText(std::string text);
  const std::string& GetText() const { return text_; }
  void SetFont(Font font);
  void SetColor(std::optional<Color> color);
  void SetAlignment(unsigned align);

  void UI_Draw(Drawbot& drawbot, const kivcore::RectF& dirty) override;

 private:
  std::string text_;
  Font font_;
  std::optional<Color> color_;
  unsigned align_ = kAlignLeft | kAlignVCenter | kElideRight;
};

}  // namespace kivui
