#pragma once

#include "services/core/PointT.h"

#include <memory>
#include <string>
#include <vector>

namespace kivui {

// A native menu: items with command ids, separators and submenus. Shown by PopupMenu or
// ContextMenu, which return the chosen command id (0 when nothing was chosen).
class OSMenu {
 public:
  struct Item {
    int command = 0;  // 0 for separators and submenus
    std::string text;
    bool enabled = true;
    bool checked = false;
    bool separator = false;
    std::shared_ptr<OSMenu> submenu;
  };

  void AddItem(int command, std::string text, bool enabled = true, bool checked = false);
  void AddSeparator();
  OSMenu& AddSubMenu(std::string text);
  // Inserts before position index (clamped to the end).
  void InsertItem(std::size_t index, int command, std::string text, bool enabled = true, bool checked = false);
  void InsertSeparator(std::size_t index);
  // Removes the item at position index; false when there is none.
  bool RemoveItem(std::size_t index);
  // Checks or unchecks the item with the command (submenus searched); false when absent.
  bool SetChecked(int command, bool checked);

  const std::vector<Item>& GetItems() const { return items_; }
  bool IsEmpty() const { return items_.empty(); }
  // The item with that command, searching submenus too; null when absent.
  const Item* FindCommand(int command) const;
  Item* FindCommand(int command);

 private:
  std::vector<Item> items_;
};

std::unique_ptr<OSMenu> CreateOSMenu();
// Shows the menu at the global point and returns the chosen command, or 0.
int PopupMenu(const OSMenu& menu, kivcore::Point global);
// The same for a context menu (opened by the secondary button).
int ContextMenu(const OSMenu& menu, kivcore::Point global);

}  // namespace kivui
