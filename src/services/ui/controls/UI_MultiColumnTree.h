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
  // Starts renaming the row's first cell in place.
  void EditRow(int id);

  std::function<void(const std::vector<int>& selected)> onSelectionChange;
  std::function<void(int id)> onRowDoubleClicked;
  std::function<void(int id, const std::string& newText)> onRowRenamed;
  // onKey gets every key before the tree.

  struct Private;

 private:
  std::unique_ptr<Private> d_;
};

}  // namespace kivui
