#include "services/ui/menu/OSMenu.h"

#include <algorithm>
#include <utility>

namespace kivui {

void OSMenu::AddItem(int command, std::string text, bool enabled, bool checked) {
  Item item;
  item.command = command;
  item.text = std::move(text);
  item.enabled = enabled;
  item.checked = checked;
  items_.push_back(std::move(item));
}

void OSMenu::AddSeparator() {
  Item item;
  item.separator = true;
  items_.push_back(std::move(item));
}

OSMenu& OSMenu::AddSubMenu(std::string text) {
  Item item;
  item.text = std::move(text);
  item.submenu = std::make_shared<OSMenu>();
  items_.push_back(std::move(item));
  return *items_.back().submenu;
}

void OSMenu::InsertItem(std::size_t index, int command, std::string text, bool enabled, bool checked) {
  Item item;
  item.command = command;
  item.text = std::move(text);
  item.enabled = enabled;
  item.checked = checked;
  items_.insert(items_.begin() + std::ptrdiff_t(std::min(index, items_.size())), std::move(item));
}

void OSMenu::InsertSeparator(std::size_t index) {
  Item item;
  item.separator = true;
  items_.insert(items_.begin() + std::ptrdiff_t(std::min(index, items_.size())), std::move(item));
}

bool OSMenu::RemoveItem(std::size_t index) {
  if (index >= items_.size()) return false;
  items_.erase(items_.begin() + std::ptrdiff_t(index));
  return true;
}

bool OSMenu::SetChecked(int command, bool checked) {
  Item* item = FindCommand(command);
  if (item) item->checked = checked;
  return item != nullptr;
}

OSMenu::Item* OSMenu::FindCommand(int command) {
  return const_cast<Item*>(std::as_const(*this).FindCommand(command));
}

const OSMenu::Item* OSMenu::FindCommand(int command) const {
  for (const auto& item : items_) {
    if (!item.separator && !item.submenu && item.command == command) return &item;
    if (item.submenu) {
      if (const Item* found = item.submenu->FindCommand(command)) return found;
    }
  }
  return nullptr;
}

std::unique_ptr<OSMenu> CreateOSMenu() { return std::make_unique<OSMenu>(); }

}  // namespace kivui
