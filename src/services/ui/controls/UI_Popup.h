#pragma once

#include "services/ui/node/UI_Node.h"

#include <functional>
#include <string>
#include <vector>

namespace kivui {

// A drop-down choice: shows the chosen item's text; a click opens a menu of the items.
class UI_Popup : public UI_Node {
 public:
  struct Item {
    int id = 0;
    std::string text;
    bool enabled = true;
    bool separator = false;  // a line between groups of items; never chosen
  };

  UI_Popup();

  void SetItems(std::vector<Item> items);
  const std::vector<Item>& GetItems() const { return items_; }
  // Selects by id (-1: none); false (and no change) when there is no such item.
  bool SetSelectedID(int id);
  int GetSelectedID() const { return selected_; }  // -1 when none

  // Called after the user chose another item.
  std::function<void(int id)> onSelectionChanged;

  // Opens the menu below the popup and applies the choice.
  void OpenMenu();

  void UI_Draw(Drawbot& drawbot, const kivcore::RectF& dirty) override;
  bool UI_DoMouseEvent(UI_Node* target, const MouseEvent& event) override;

 private:
  std::vector<Item> items_;
  int selected_ = -1;
  bool hovered_ = false;
};

}  // namespace kivui
