#include "services/ui/menu/OSMenu.h"

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
