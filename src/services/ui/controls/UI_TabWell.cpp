#include "services/ui/controls/UI_TabWell.h"

#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "services/ui/events/MouseEvent.h"
#include "services/ui/menu/OSMenu.h"
#include "services/ui/node/UI_NodeManager.h"

#include <algorithm>
#include <cmath>

namespace kivui {
namespace {

constexpr float kTextPadding = 12;
constexpr float kMarkWidth = 14;   // multi-tab mark or colour dot before the text
constexpr float kGap = UI_TabWell::kTabGap;
constexpr float kTopInset = 3;     // tabs start below the well's top edge
// In the UI font's family of the moment (the theme editor can change it).
Font TabFont() { return Font::UI(12); }
Font LabelFont() { return Font::UI(11); }

void DrawCross(Drawbot& d, const kivcore::RectF& r, Color c) {
  const float cx = r.left + r.width / 2, cy = r.top + r.height / 2, s = 3.5f;
  d.DrawLine({cx - s, cy - s}, {cx + s, cy + s}, c, 1.4f);
  d.DrawLine({cx - s, cy + s}, {cx + s, cy - s}, c, 1.4f);
}

void DrawLock(Drawbot& d, const kivcore::RectF& r, Color c) {
  const float cx = r.left + r.width / 2, cy = r.top + r.height / 2;
  d.FrameRoundedRect({cx - 3, cy - 6, 6, 8}, 3, c, 1.2f);
  d.FillRect({cx - 4.5f, cy - 1.5f, 9, 6.5f}, c);
}

void DrawStackMark(Drawbot& d, float x, float cy, Color c) {
  d.FrameRect({x + 3, cy - 5, 8, 7}, c);
  d.FillRect({x, cy - 2, 8, 7}, c);
}

}  // namespace

struct UI_TabWell::Press {
  int id = -1;
  bool onClose = false;
  bool overClose = false;
  bool dragging = false;
  kivcore::PointF start;
  kivcore::PointF startGlobal;
};

UI_TabWell::UI_TabWell() : UI_TabWell(Options{}) {}

UI_TabWell::UI_TabWell(Options options) : UI_Node("UI_TabWell"), options_(options) {}

UI_TabWell::~UI_TabWell() = default;

void UI_TabWell::AddTab(UI_TabItem item, int index) {
  const std::size_t at = index < 0 ? tabs_.size() : std::min(std::size_t(index), tabs_.size());
  const int id = item.id;
  tabs_.insert(tabs_.begin() + std::ptrdiff_t(at), std::move(item));
  if (front_ < 0) front_ = id;
  TabsChanged();
}

bool UI_TabWell::RemoveTab(int id) {
  const int index = IndexOfTab(id);
  if (index < 0) return false;
  tabs_.erase(tabs_.begin() + index);
  if (press_ && press_->id == id) EndTracking();
  if (front_ == id) {
    // The neighbour that slides into its place becomes the front tab.
    front_ = tabs_.empty() ? -1 : tabs_[std::size_t(std::min(index, GetTabCount() - 1))].id;
  }
  TabsChanged();
  return true;
}

void UI_TabWell::RemoveAllTabs() {
  EndTracking();
  tabs_.clear();
  front_ = -1;
  pan_ = 0;
  TabsChanged();
}

bool UI_TabWell::UpdateTab(const UI_TabItem& item) {
  const int index = IndexOfTab(item.id);
  if (index < 0) return false;
  tabs_[std::size_t(index)] = item;
  TabsChanged();
  return true;
}

bool UI_TabWell::MoveTab(int id, int toIndex) {
  const int from = IndexOfTab(id);
  if (from < 0 || toIndex < 0 || toIndex >= GetTabCount()) return false;
  if (from == toIndex) return true;
  UI_TabItem item = std::move(tabs_[std::size_t(from)]);
  tabs_.erase(tabs_.begin() + from);
  tabs_.insert(tabs_.begin() + toIndex, std::move(item));
  TabsChanged();
  return true;
}

const UI_TabItem* UI_TabWell::FindTab(int id) const {
  const int index = IndexOfTab(id);
  return index < 0 ? nullptr : &tabs_[std::size_t(index)];
}

int UI_TabWell::IndexOfTab(int id) const {
  for (std::size_t i = 0; i < tabs_.size(); ++i) {
    if (tabs_[i].id == id) return int(i);
  }
  return -1;
}

void UI_TabWell::SetFrontTab(int id) {
  if (IndexOfTab(id) < 0 || front_ == id) return;
  front_ = id;
  ScrollFrontmostToView();
  UI_Invalidate();
}

void UI_TabWell::SetActive(bool active) {
  if (active_ == active) return;
  active_ = active;
  UI_Invalidate();
}

void UI_TabWell::SetMargins(float left, float right) {
  options_.leftMargin = left;
  options_.rightMargin = right;
  Relayout();
}

void UI_TabWell::SetPanOffset(float offset) {
  float total = 0;
  for (float w : widths_) total += w + kGap;
  const float visible = AvailableRight(HasOverflow()) - options_.leftMargin;
  const float maxPan = std::max(0.0f, total - visible);
  const float pan = std::clamp(offset, 0.0f, maxPan);
  if (pan == pan_) return;
  pan_ = pan;
  UI_Invalidate();
}

void UI_TabWell::ScrollFrontmostToView() {
  const int index = IndexOfTab(front_);
  if (index < 0 || IsPanDisabled()) return;
  const kivcore::RectF r = GetTabRect(index);
  const float right = AvailableRight(HasOverflow());
  if (r.left < options_.leftMargin) {
    SetPanOffset(pan_ - (options_.leftMargin - r.left));
  } else if (r.Right() > right) {
    SetPanOffset(pan_ + (r.Right() - right));
  }
}

float UI_TabWell::MeasureTabWidth(const UI_TabItem& item) const {
  float w = 2 * kTextPadding + MeasureTextWidth(item.text, TabFont());
  if (!item.label.empty()) w += 6 + MeasureTextWidth(item.label, LabelFont());
  if (item.multiTabMark || item.color) w += kMarkWidth;
  if (item.locked || (options_.closeBoxes && item.closeBox)) w += kCloseBoxSize + 2;
  return std::ceil(w);
}

const std::vector<float>& UI_TabWell::NaturalWidths() const {
  if (measured_ && measuredFamily_ == Font::GetUIFamily()) return natural_;
  natural_.clear();
  for (const auto& tab : tabs_) {
    natural_.push_back(std::clamp(MeasureTabWidth(tab), options_.minTabWidth, options_.maxTabWidth));
  }
  measuredFamily_ = Font::GetUIFamily();
  measured_ = true;
  return natural_;
}

void UI_TabWell::Relayout() {
  widths_ = NaturalWidths();
  laidOutFamily_ = measuredFamily_;
  float total = 0;
  for (float w : widths_) total += w + kGap;
  const float room = GetLocalBounds().width - options_.leftMargin - options_.rightMargin;
  if (options_.croppedTabs && total > room && !tabs_.empty()) {
    // Shrink every tab by the same share, not below the minimum.
    const float scale = std::max(0.0f, room - kGap * float(tabs_.size())) / (total - kGap * float(tabs_.size()));
    for (float& w : widths_) w = std::max(options_.minTabWidth, std::floor(w * scale));
  }
  if (!HasOverflow()) pan_ = 0;
  ScrollFrontmostToView();
  UI_Invalidate();
}

float UI_TabWell::AvailableRight(bool withOverflow) const {
  return GetLocalBounds().width - options_.rightMargin - (withOverflow ? kOverflowButtonWidth : 0);
}

float UI_TabWell::GetPreferredWidth() const {
  float total = options_.leftMargin + options_.rightMargin;
  for (float w : NaturalWidths()) total += w + kGap;
  return total;
}

bool UI_TabWell::HasOverflow() const {
  float total = 0;
  for (float w : widths_) total += w + kGap;
  return options_.leftMargin + total - kGap > AvailableRight(false) + 0.5f;
}

kivcore::RectF UI_TabWell::GetTabRect(int index) const {
  if (index < 0 || index >= GetTabCount()) return {};
  float x = options_.leftMargin - pan_;
  for (int i = 0; i < index; ++i) x += widths_[std::size_t(i)] + kGap;
  const float h = GetLocalBounds().height;
  return {x, kTopInset, widths_[std::size_t(index)], h - kTopInset};
}

kivcore::RectF UI_TabWell::GetCloseBoxRect(int index) const {
  if (index < 0 || index >= GetTabCount()) return {};
  const UI_TabItem& tab = tabs_[std::size_t(index)];
  if (!(options_.closeBoxes && tab.closeBox) && !tab.locked) return {};
  const kivcore::RectF r = GetTabRect(index);
  // A tab cropped too narrow for some of its title beside the box shows none: a click on
  // what is left of it fronts the panel rather than closing it.
  if (r.width < 2 * kCloseBoxSize + kTextPadding) return {};
  return {r.Right() - kTextPadding / 2 - kCloseBoxSize, r.top + (r.height - kCloseBoxSize) / 2,
          kCloseBoxSize, kCloseBoxSize};
}

kivcore::RectF UI_TabWell::GetOverflowButtonRect() const {
  if (!HasOverflow()) return {};
  const kivcore::RectF b = GetLocalBounds();
  return {AvailableRight(true), kTopInset, kOverflowButtonWidth, b.height - kTopInset};
}

std::vector<int> UI_TabWell::GetOverflowTabs() const {
  std::vector<int> hidden;
  if (!HasOverflow()) return hidden;
  const float right = AvailableRight(true);
  for (int i = 0; i < GetTabCount(); ++i) {
    const kivcore::RectF r = GetTabRect(i);
    if (r.left < options_.leftMargin - 0.5f || r.Right() > right + 0.5f) {
      hidden.push_back(tabs_[std::size_t(i)].id);
    }
  }
  return hidden;
}

int UI_TabWell::HitTestTab(kivcore::PointF p) const {
  const float right = AvailableRight(HasOverflow());
  if (p.x < options_.leftMargin || p.x >= right) return -1;
  for (int i = 0; i < GetTabCount(); ++i) {
    if (GetTabRect(i).Contains(p)) return i;
  }
  return -1;
}

void UI_TabWell::UI_SizeChanged(const kivcore::RectF&) { Relayout(); }

void UI_TabWell::UI_Draw(Drawbot& d, const kivcore::RectF&) {
  // The UI font changed since the last layout: a redraw shows the new widths.
  if (laidOutFamily_ != Font::GetUIFamily()) Relayout();
  const ThemeColors& theme = ThemeColors::Current();
  const kivcore::RectF b = GetLocalBounds();
  d.FillRect(b, theme.header);
  d.FillRect({0, b.height - 1, b.width, 1}, theme.border);
  const float right = AvailableRight(HasOverflow());
  d.PushClip({options_.leftMargin, 0, right - options_.leftMargin, b.height});
  for (int i = 0; i < GetTabCount(); ++i) {
    const UI_TabItem& tab = tabs_[std::size_t(i)];
    const bool closeHovered = hover_ == i && hoverClose_;
    DrawTab(d, tab, GetTabRect(i), tab.id == front_, hover_ == i, closeHovered);
  }
  d.PopClip();
  const kivcore::RectF overflow = GetOverflowButtonRect();
  if (!overflow.IsEmpty()) {
    const float cx = overflow.left + overflow.width / 2, cy = overflow.top + overflow.height / 2;
    for (float dx : {-4.0f, 1.0f}) {
      d.DrawLine({cx + dx, cy - 4}, {cx + dx + 3.5f, cy}, theme.text, 1.4f);
      d.DrawLine({cx + dx + 3.5f, cy}, {cx + dx, cy + 4}, theme.text, 1.4f);
    }
  }
}

void UI_TabWell::DrawTab(Drawbot& d, const UI_TabItem& tab, const kivcore::RectF& r, bool front,
                         bool hovered, bool closeHovered) const {
  const ThemeColors& theme = ThemeColors::Current();
  const Color face = front ? (active_ ? theme.tabFrontFocused : theme.tabFront)
                     : hovered ? theme.tabHover
                               : theme.tabBackground;
  d.FillRect({r.left, r.top, r.width, r.height - (front ? 0 : 1)}, face);
  if (front && active_) d.FillRect({r.left, r.top, r.width, 2}, theme.accent);
  if (!front) d.FillRect({r.Right(), r.top + 5, kGap, r.height - 10}, theme.border);

  const Color textColor = !tab.enabled ? theme.textDisabled
                          : front      ? theme.text
                                       : theme.textDim;
  float x = r.left + kTextPadding;
  const float cy = r.top + r.height / 2;
  if (tab.multiTabMark) {
    DrawStackMark(d, x - 4, cy + 1, textColor);
    x += kMarkWidth;
  } else if (tab.color) {
    d.FillEllipse({x - 3, cy - 3.5f, 7, 7}, *tab.color);
    x += kMarkWidth;
  }
  const kivcore::RectF close = GetCloseBoxRect(IndexOfTab(tab.id));
  const float textRight = close.IsEmpty() ? r.Right() - kTextPadding : close.left - 2;
  float textWidth = MeasureTextWidth(tab.text, TabFont());
  const float labelWidth = tab.label.empty() ? 0 : MeasureTextWidth(tab.label, LabelFont()) + 6;
  textWidth = std::min(textWidth, textRight - x - labelWidth);
  d.DrawText(tab.text, {x, r.top, std::max(0.0f, textWidth), r.height}, TabFont(), textColor,
             kAlignLeft | kAlignVCenter | kElideRight);
  if (!tab.label.empty()) {
    d.DrawText(tab.label, {x + textWidth + 6, r.top, labelWidth, r.height}, LabelFont(),
               theme.textDim, kAlignLeft | kAlignVCenter | kElideRight);
  }
  if (close.IsEmpty()) return;
  if (tab.locked) {
    DrawLock(d, close, theme.textDim);
    return;
  }
  if (closeHovered) d.FillRoundedRect(close, 3, theme.buttonHover);
  if (front || hovered) DrawCross(d, close, closeHovered ? theme.text : textColor);
}

bool UI_TabWell::UI_DoMouseEvent(UI_Node*, const MouseEvent& e) {
  switch (e.action) {
    case MouseEvent::kDown:
      OnPress(e);
      return true;
    case MouseEvent::kMove:
      if (press_) {
        OnDrag(e);
      } else {
        const int hover = HitTestTab(e.local);
        const bool overClose = hover >= 0 && !tabs_[std::size_t(hover)].locked &&
                               GetCloseBoxRect(hover).Contains(e.local);
        if (hover != hover_ || overClose != hoverClose_) {
          hover_ = hover;
          hoverClose_ = overClose;
          UI_Invalidate();
        }
      }
      return true;
    case MouseEvent::kUp:
      if (press_) OnRelease(e);
      return true;
    case MouseEvent::kLeave:
      if (hover_ >= 0) UI_Invalidate();
      hover_ = -1;
      hoverClose_ = false;
      return true;
    case MouseEvent::kWheel:
      if (IsPanDisabled() || !HasOverflow()) return false;
      SetPanOffset(pan_ - e.wheelDelta * 40);
      return true;
    default:
      return false;
  }
}

void UI_TabWell::OnPress(const MouseEvent& e) {
  if (GetOverflowButtonRect().Contains(e.local) && e.button == MouseEvent::kPrimary) {
    if (callbacks_.overflowClicked) {
      callbacks_.overflowClicked(e.global);
    } else {
      ShowOverflowMenu(e.global);
    }
    return;
  }
  const int index = HitTestTab(e.local);
  if (index < 0) {
    if (callbacks_.wellDragged && e.button == MouseEvent::kPrimary && !e.IsContextClick())
      BeginPress(-1, e);
    return;
  }
  const UI_TabItem& tab = tabs_[std::size_t(index)];
  const int id = tab.id;
  if (e.IsContextClick()) {
    if (callbacks_.tabContextMenu) callbacks_.tabContextMenu(id, e.global);
    return;
  }
  if (e.button != MouseEvent::kPrimary || !tab.enabled) return;
  if (e.IsDoubleClick()) {
    if (callbacks_.tabDoubleClicked) callbacks_.tabDoubleClicked(id);
    return;
  }
  BeginPress(id, e);
  press_->onClose = !tab.locked && GetCloseBoxRect(index).Contains(e.local);
  press_->overClose = press_->onClose;
  if (press_->onClose) return;
  SetFrontTab(id);
  if (callbacks_.tabClicked) callbacks_.tabClicked(id);
}

void UI_TabWell::BeginPress(int id, const MouseEvent& e) {
  press_ = std::make_unique<Press>();
  press_->id = id;
  press_->start = e.local;
  press_->startGlobal = e.global;
  UI_NodeManager::Get().BeginCapture(this);
}

bool UI_TabWell::PastDragThreshold(kivcore::PointF local) const {
  return press_->dragging ||
         std::hypot(local.x - press_->start.x, local.y - press_->start.y) > kDragThreshold;
}

void UI_TabWell::OnDrag(const MouseEvent& e) {
  if (press_->id < 0) {
    if (!PastDragThreshold(e.local)) return;
    const kivcore::PointF from = press_->startGlobal;
    EndTracking();
    callbacks_.wellDragged(from, e.global);
    return;
  }
  const int index = IndexOfTab(press_->id);
  if (index < 0) return EndTracking();
  if (press_->onClose) {
    press_->overClose = GetCloseBoxRect(index).Contains(e.local);
    return;
  }
  if (!PastDragThreshold(e.local)) return;
  press_->dragging = true;
  const float height = GetLocalBounds().height;
  // A well whose tabs do not reorder hands every drag over at once.
  if (callbacks_.tabDraggedOut &&
      (!options_.draggableTabs || e.local.y < -kDragOutDistance ||
       e.local.y > height + kDragOutDistance)) {
    const int id = press_->id;
    const kivcore::PointF from = press_->startGlobal;
    EndTracking();
    callbacks_.tabDraggedOut(id, from, e.global);
    return;
  }
  if (!options_.draggableTabs) return;
  // Past the middle of a neighbour, the tab swaps with it.
  int to = index;
  while (to > 0 && e.local.x < GetTabRect(to - 1).left + GetTabRect(to - 1).width / 2) --to;
  while (to + 1 < GetTabCount() && e.local.x > GetTabRect(to + 1).left + GetTabRect(to + 1).width / 2) ++to;
  if (to == index) return;
  const int id = press_->id;
  MoveTab(id, to);
  if (callbacks_.tabMoved) callbacks_.tabMoved(id, index, to);
}

void UI_TabWell::OnRelease(const MouseEvent& e) {
  const int id = press_->id;
  if (id < 0) return EndTracking();
  const bool close = press_->onClose && GetCloseBoxRect(IndexOfTab(id)).Contains(e.local);
  EndTracking();
  if (close && callbacks_.closeBoxClicked) callbacks_.closeBoxClicked(id);
}

void UI_TabWell::EndTracking() {
  press_.reset();
  UI_NodeManager::Get().EndCapture(this);
  UI_Invalidate();
}

void UI_TabWell::UI_CaptureLost() {
  press_.reset();
  UI_Invalidate();
}

void UI_TabWell::ShowOverflowMenu(kivcore::PointF global) {
  auto menu = CreateOSMenu();
  for (int id : GetOverflowTabs()) {
    const UI_TabItem* tab = FindTab(id);
    menu->AddItem(id + 1, tab->text, tab->enabled, id == front_);
  }
  // Commands are ids + 1: a menu reports 0 for "nothing chosen".
  const int chosen = PopupMenu(*menu, {int(global.x), int(global.y)}) - 1;
  if (chosen < 0 || !FindTab(chosen)) return;
  SetFrontTab(chosen);
  if (callbacks_.tabClicked) callbacks_.tabClicked(chosen);
}

}  // namespace kivui
