#pragma once

#include "services/ui/window/OS_Window.h"

#include <memory>
#include <string>

namespace kivui {
class DrawSupplier;
class UI_StaticText;
}

namespace kivworkspace::scripting {

// A small frameless window beside a rectangle of the screen with an arrow pointing at it
// and a text in it. Input passes through it.
class IndicatorOverlayWindow : public kivui::OS_Window {
 public:
  // direction: the anchor's edge the window sits at (0 right, 1 left, 2 top, 3 bottom).
  // The supplier, when given, draws the bubble; the theme's accent colour otherwise.
  IndicatorOverlayWindow(const kivcore::RectF& anchor, unsigned direction, const std::string& text,
                         std::shared_ptr<const kivui::DrawSupplier> supplier);
  ~IndicatorOverlayWindow() override;

  // Where the arrow's tip touches the anchor, in global coordinates.
  kivcore::PointF GetArrowTip() const { return tip_; }
  const std::string& GetText() const;

  void UI_Draw(kivui::Drawbot& drawbot, const kivcore::RectF& dirty) override;
  void UI_SizeChanged(const kivcore::RectF& newBounds) override;

  static constexpr float kArrow = 12, kPadding = 10, kMaxTextWidth = 360;

 private:
  kivcore::RectF BubbleRect() const;

  unsigned direction_;
  kivcore::PointF tip_;
  std::shared_ptr<const kivui::DrawSupplier> supplier_;
  std::shared_ptr<kivui::UI_StaticText> text_;
};

}  // namespace kivworkspace::scripting
