#include "scripting/IndicatorOverlayWindow.h"

#include "services/ui/controls/UI_StaticText.h"
#include "services/ui/draw/DrawSupplier.h"
#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "workspace/core/WorkspaceUtils.h"
#include "workspace/windows/TopLevelWindow.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace kivworkspace::scripting {
namespace {

enum Direction : unsigned { kRightEdge = 0, kLeftEdge = 1, kTopEdge = 2, kBottomEdge = 3 };

kivui::Font OverlayFont() { return kivui::Font::UI(12); }

// The text's size: its widest line (up to the maximum width) by its lines, wrapped ones
// counted.
kivcore::PointF TextSize(const std::string& text) {
  std::istringstream in(text);
  float width = 0;
  int lines = 0;
  for (std::string line; std::getline(in, line);) {
    const float w = kivui::MeasureTextWidth(line, OverlayFont());
    width = std::max(width, std::min(w, IndicatorOverlayWindow::kMaxTextWidth));
    lines += std::max(1, int(std::ceil(w / IndicatorOverlayWindow::kMaxTextWidth)));
  }
  return {std::ceil(width) + 2, float(std::max(lines, 1)) * std::ceil(OverlayFont().pixelSize * 1.5f)};
}

}  // namespace

IndicatorOverlayWindow::IndicatorOverlayWindow(const kivcore::RectF& anchor, unsigned direction, const std::string& text,
                                               std::shared_ptr<const kivui::DrawSupplier> supplier)
    : OS_Window("IndicatorOverlayWindow"),
      direction_(direction),
      supplier_(std::move(supplier)),
      text_(std::make_shared<kivui::UI_StaticText>(text, OverlayFont())) {
  text_->SetAlignment(kivui::kAlignLeft | kivui::kAlignVCenter | kivui::kMultiLine);
  text_->SetColor(kivui::ThemeColors::Current().accentText);
  PushBack(text_);
  // The bubble beside the anchor's edge, the arrow between them.
  const kivcore::PointF size = TextSize(text);
  const float w = size.x + 2 * kPadding, h = size.y + 2 * kPadding;
  const float midX = anchor.left + anchor.width / 2, midY = anchor.top + anchor.height / 2;
  kivcore::RectF r;
  switch (direction) {
    case kLeftEdge: tip_ = {anchor.left, midY}; r = {tip_.x - kArrow - w, midY - h / 2, w + kArrow, h}; break;
    case kTopEdge: tip_ = {midX, anchor.top}; r = {midX - w / 2, tip_.y - kArrow - h, w, h + kArrow}; break;
    case kBottomEdge: tip_ = {midX, anchor.Bottom()}; r = {midX - w / 2, tip_.y, w, h + kArrow}; break;
    default: tip_ = {anchor.Right(), midY}; r = {tip_.x, midY - h / 2, w + kArrow, h}; break;
  }
  workspace::TopLevelWindow* owner = workspace::WorkspaceUtils::FindMainTopLevelWindow();
  UI_CreateWindow("Indicator", owner,
                  {int(std::floor(r.left)), int(std::floor(r.top)), int(std::ceil(r.width)), int(std::ceil(r.height))},
                  kOverlayWindow);
}

IndicatorOverlayWindow::~IndicatorOverlayWindow() = default;

const std::string& IndicatorOverlayWindow::GetText() const { return text_->GetText(); }

kivcore::RectF IndicatorOverlayWindow::BubbleRect() const {
  const kivcore::RectF b = GetLocalBounds();
  switch (direction_) {
    case kLeftEdge: return {0, 0, b.width - kArrow, b.height};
    case kTopEdge: return {0, 0, b.width, b.height - kArrow};
    case kBottomEdge: return {0, kArrow, b.width, b.height - kArrow};
    default: return {kArrow, 0, b.width - kArrow, b.height};
  }
}

void IndicatorOverlayWindow::UI_SizeChanged(const kivcore::RectF&) {
  const kivcore::RectF bubble = BubbleRect();
  text_->SetFrame({bubble.left + kPadding, bubble.top + kPadding, bubble.width - 2 * kPadding, bubble.height - 2 * kPadding});
}

void IndicatorOverlayWindow::UI_Draw(kivui::Drawbot& d, const kivcore::RectF&) {
  const kivui::Color accent = kivui::ThemeColors::Current().accent;
  const kivcore::RectF bubble = BubbleRect();
  const kivcore::PointF tip = UI_GlobalToLocalF(tip_);
  // The arrow: a triangle from the bubble's edge to the tip.
  const float half = kArrow * 0.75f;
  std::vector<kivcore::PointF> arrow;
  switch (direction_) {
    case kLeftEdge: arrow = {{bubble.Right(), tip.y - half}, {bubble.Right(), tip.y + half}, tip}; break;
    case kTopEdge: arrow = {{tip.x - half, bubble.Bottom()}, {tip.x + half, bubble.Bottom()}, tip}; break;
    case kBottomEdge: arrow = {{tip.x - half, bubble.top}, {tip.x + half, bubble.top}, tip}; break;
    default: arrow = {{bubble.left, tip.y - half}, {bubble.left, tip.y + half}, tip}; break;
  }
  d.FillPolygon(arrow, accent);
  if (supplier_) {
    supplier_->Draw(d, bubble);
  } else {
    d.FillRoundedRect(bubble, 6, accent);
  }
}

}  // namespace kivworkspace::scripting
