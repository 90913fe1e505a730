#include "services/ui/progress/ProgressCategoryContainerView.h"

#include "services/core/MainThread.h"
#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "services/ui/events/MouseEvent.h"

#include <cmath>
#include <cstdio>

namespace kivui::utility {
namespace {

constexpr float kPadding = 10;
constexpr float kButtonSize = 20;

std::string PercentText(float fraction) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%d%%", int(std::lround(fraction * 100)));
  return buffer;
}

std::string StateText(const ProgressItem& item) {
  switch (item.GetState()) {
    case ProgressItem::kPaused: return "Paused";
    case ProgressItem::kCompleted: return "Done";
    case ProgressItem::kEnded: return "Stopped";
    default: return PercentText(item.GetProgress());
  }
}

}  // namespace

ProgressCategoryContainerView::ProgressCategoryContainerView(ProgressCategoryContainer& container)
    : UI_Node("ProgressCategoryContainerView"), container_(container), alive_(std::make_shared<bool>(true)) {
  // Jobs start and end on their own threads: re-read on the UI thread, if the view still
  // exists.
  std::weak_ptr<bool> alive = alive_;
  containerConnection_ = container_.Changed().connect([this, alive] {
    kivcore::threads::AsyncCallFromMainThread([this, alive] {
      if (auto a = alive.lock(); a && *a) Refresh();
    });
  });
  Refresh();
}

ProgressCategoryContainerView::~ProgressCategoryContainerView() { *alive_ = false; }

void ProgressCategoryContainerView::Refresh() {
  rows_.clear();
  headers_.clear();
  float top = 0;
  for (const auto& category : container_.GetCategories()) {
    headers_.push_back({category, nullptr, top});
    top += kCategoryHeight;
    for (const auto& item : category->GetItems()) {
      rows_.push_back({category, item, top});
      top += kItemHeight;
    }
  }
  WatchItems();
  UI_Invalidate();
}

void ProgressCategoryContainerView::WatchItems() {
  connections_.clear();
  for (const auto& row : rows_) {
    // Items report from their own threads: redraw on the UI thread, if the view still exists.
    std::weak_ptr<bool> alive = alive_;
    connections_.emplace_back(row.item->Changed().connect([this, alive](const ProgressItem&) {
      kivcore::threads::AsyncCallFromMainThread([this, alive] {
        if (auto a = alive.lock(); a && *a) UI_Invalidate();
      });
    }));
  }
}

kivcore::RectF ProgressCategoryContainerView::GetCancelButtonRect(int row) const {
  if (row < 0 || row >= GetShownItemCount()) return {};
  const float top = rows_[std::size_t(row)].top;
  return {GetLocalBounds().width - kPadding - kButtonSize, top + (kItemHeight - kButtonSize) / 2,
          kButtonSize, kButtonSize};
}

kivcore::RectF ProgressCategoryContainerView::GetPauseButtonRect(int row) const {
  const kivcore::RectF cancel = GetCancelButtonRect(row);
  if (cancel.IsEmpty()) return {};
  return cancel.Offset(-(kButtonSize + 6), 0);
}

bool ProgressCategoryContainerView::UI_DoMouseEvent(UI_Node*, const MouseEvent& e) {
  if (e.action != MouseEvent::kDown || e.button != MouseEvent::kPrimary) return false;
  for (int i = 0; i < GetShownItemCount(); ++i) {
    // Copies: a handler may remove the item and refresh the view.
    const boost::intrusive_ptr<ProgressItem> item = rows_[std::size_t(i)].item;
    if (!item->IsInProgress() && item->GetState() != ProgressItem::kPaused) continue;
    if (GetPauseButtonRect(i).Contains(e.local)) {
      item->RequestPauseResume();
      return true;
    }
    if (GetCancelButtonRect(i).Contains(e.local)) {
      item->RequestCancel();
      return true;
    }
  }
  return false;
}

void ProgressCategoryContainerView::UI_Draw(Drawbot& d, const kivcore::RectF&) {
  const ThemeColors& theme = ThemeColors::Current();
  const kivcore::RectF b = GetLocalBounds();
  d.FillRect(b, theme.panel);
  for (const auto& header : headers_) {
    std::string title = kivcore::UTF16to8(header.category->GetTitle());
    if (header.category->GetShowCountInProgress()) {
      title += "  (" + std::to_string(header.category->CountInProgress()) + ")";
    }
    d.FillRect({0, header.top, b.width, kCategoryHeight}, theme.header);
    d.DrawText(title, {kPadding, header.top, b.width - 2 * kPadding, kCategoryHeight},
               Font::Bold(12), theme.text, kAlignLeft | kAlignVCenter | kElideRight);
  }
  for (int i = 0; i < GetShownItemCount(); ++i) {
    const ProgressItem& item = *rows_[std::size_t(i)].item;
    const float top = rows_[std::size_t(i)].top;
    const kivcore::RectF pause = GetPauseButtonRect(i);
    const float textWidth = pause.left - 2 * kPadding;
    if (i % 2) d.FillRect({0, top, b.width, kItemHeight}, theme.panelAlt);
    d.DrawText(kivcore::UTF16to8(item.GetName()), {kPadding, top + 4, textWidth - 60, 16},
               Font::UI(12), theme.text, kAlignLeft | kAlignVCenter | kElideMiddle);
    d.DrawText(StateText(item), {kPadding + textWidth - 56, top + 4, 56, 16}, Font::UI(11),
               theme.textDim, kAlignRight | kAlignVCenter);
    const kivcore::RectF bar{kPadding, top + 23, textWidth, 5};
    d.FillRoundedRect(bar, 2, theme.field);
    const Color fill = item.GetState() == ProgressItem::kEnded ? theme.error
                       : item.GetState() == ProgressItem::kPaused ? theme.warning
                                                                   : theme.accent;
    d.FillRoundedRect({bar.left, bar.top, bar.width * item.GetProgress(), bar.height}, 2, fill);
    d.DrawText(kivcore::UTF16to8(item.GetStatusMessage()), {kPadding, top + 29, textWidth, 13},
               Font::UI(10), theme.textDim, kAlignLeft | kAlignVCenter | kElideRight);
    if (!item.IsInProgress() && item.GetState() != ProgressItem::kPaused) continue;
    const kivcore::RectF cancel = GetCancelButtonRect(i);
    d.FillRoundedRect(pause, 3, theme.button);
    d.FillRoundedRect(cancel, 3, theme.button);
    const float px = pause.left + pause.width / 2, py = pause.top + pause.height / 2;
    if (item.GetState() == ProgressItem::kPaused) {
      d.FillPolygon({{px - 3, py - 5}, {px + 5, py}, {px - 3, py + 5}}, theme.text);
    } else {
      d.FillRect({px - 4, py - 5, 3, 10}, theme.text);
      d.FillRect({px + 1, py - 5, 3, 10}, theme.text);
    }
    const float cx = cancel.left + cancel.width / 2, cy = cancel.top + cancel.height / 2;
    d.DrawLine({cx - 4, cy - 4}, {cx + 4, cy + 4}, theme.text, 1.5f);
    d.DrawLine({cx - 4, cy + 4}, {cx + 4, cy - 4}, theme.text, 1.5f);
  }
}

}  // namespace kivui::utility
