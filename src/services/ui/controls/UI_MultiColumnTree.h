#pragma once

#include "services/ui/controls/UI_MultiColumnTreeRow.h"
#include "services/ui/controls/UI_NativeControl.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kivui {

// A list of rows with columns and nesting, selection, in-place renaming and keyboard
// navigation.
class UI_MultiColumnTree : public UI_NativeControl {
 public:
  struct Column {
    std::string title;
    int width = 120;
  };

  UI_MultiColumnTree();
  ~UI_MultiColumnTree() override;

  void SetColumns(const std::vector<Column>& columns);
  void SetRows(const std::vector<UI_MultiColumnTreeRow>& rows);
  int GetRowCount() const;  // top-level rows
  // The first cell's text of the row with that id (empty when there is none).
  std::string GetRowText(int id, int column = 0) const;
  // Row ids in display order, depth first.
  std::vector<int> GetRowIDsInOrder() const;

  void SelectRow(int id);  // -1 clears the selection
  std::vector<int> GetSelectedRowIDs() const;
  void SetMultiSelection(bool multi);
  // Starts renaming the row's first cell in place (also a click on the selected row, or F2).
  void EditRow(int id);
  // Sets a cell's text (the first cell's by default).
  void SetRowText(int id, const std::string& text, int column = 0);
  // Whether the row shows its children.
  bool IsRowExpanded(int id) const;
  void SetRowExpanded(int id, bool expanded);
  void RemoveRow(int id);
  // Where the row is shown, in the tree's local coordinates (empty when it is not shown).
  kivcore::RectF GetRowRect(int id) const;
  // The ids of the row's children in order; -1 for the top-level rows.
  std::vector<int> GetChildRowIDs(int parentId) const;

  // Lets the user drag movable rows before, after or into rows that accept children.
  void SetRowsMovable(bool movable);
  // Moves a movable row to position index among the children of parentId (-1: top level);
  // false when the row cannot move there. Does not call onRowsMoved.
  bool MoveRow(int id, int parentId, int index);

  std::function<void(const std::vector<int>& selected)> onSelectionChange;
  std::function<void(int id)> onRowDoubleClicked;
  std::function<void(int id, const std::string& newText)> onRowRenamed;
  // The user dropped dragged rows somewhere.
  std::function<void()> onRowsMoved;
  // onKey gets every key before the tree.

  struct Private;

 private:
  std::unique_ptr<Private> d_;
};

}  // namespace kivui
