#include "services/ui/controls/UI_Popup.h"

#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "services/ui/events/MouseEvent.h"
#include "services/ui/menu/OSMenu.h"

#include <algorithm>

namespace kivui {

UI_Popup::UI_Popup() : UI_Node("UI_Popup") {}

void UI_Popup::SetItems(std::vector<Item> items) {
  items_ = std::move(items);
  if (std::none_of(items_.begin(), items_.end(), [this](const Item& i) { return i.id == selected_; })) {
    selected_ = items_.empty() ? -1 : items_.front().id;
  }
  UI_Invalidate();
}

bool UI_Popup::SetSelectedID(int id) {
  if (id != -1 && std::none_of(items_.begin(), items_.end(), [id](const Item& i) { return i.id == id; })) {
    return false;
  }
  selected_ = id;
  UI_Invalidate();
  return true;
}

void UI_Popup::OpenMenu() {
  auto menu = CreateOSMenu();
  // Commands are index + 1: a menu reports 0 for "nothing chosen".
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].separator) {
      menu->AddSeparator();
    } else {
      menu->AddItem(int(i) + 1, items_[i].text, items_[i].enabled, items_[i].id == selected_);
    }
  }
  const kivcore::PointF below = UI_LocalToGlobalF({0, GetLocalBounds().height});
  const int chosen = PopupMenu(*menu, {int(below.x), int(below.y)});
  if (chosen <= 0) return;
  const int id = items_[std::size_t(chosen - 1)].id;
  if (id == selected_) return;
  selected_ = id;
  UI_Invalidate();
  if (onSelectionChanged) onSelectionChanged(id);
}

bool UI_Popup::UI_DoMouseEvent(UI_Node*, const MouseEvent& e) {
  if (e.action == MouseEvent::kEnter || e.action == MouseEvent::kLeave) {
    hovered_ = e.action == MouseEvent::kEnter;
    UI_Invalidate();
    return true;
  }
  if (e.action != MouseEvent::kDown || e.button != MouseEvent::kPrimary || !IsEnabled()) return false;
  OpenMenu();
  return true;
}

void UI_Popup::UI_Draw(Drawbot& d, const kivcore::RectF&) {
  const ThemeColors& theme = ThemeColors::Current();
  const kivcore::RectF b = GetLocalBounds();
  d.FillRoundedRect(b, 3, hovered_ ? theme.buttonHover : theme.field);
  d.FrameRoundedRect(b, 3, theme.border);
  std::string text;
  for (const auto& item : items_) {
    if (item.id == selected_) text = item.text;
  }
  d.DrawText(text, {b.left + 8, b.top, b.width - 28, b.height}, Font::UI(12),
             IsEnabled() ? theme.text : theme.textDisabled, kAlignLeft | kAlignVCenter | kElideRight);
  const float cx = b.Right() - 12, cy = b.top + b.height / 2;
  d.FillPolygon({{cx - 4, cy - 2}, {cx + 4, cy - 2}, {cx, cy + 3}}, theme.textDim);
}

}  // namespace kivui
