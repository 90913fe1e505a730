#pragma once

#include "services/ui/draw/Image.h"

#include <memory>
#include <string>
#include <vector>

namespace kivui {

// One row of a multi-column tree: a cell text per column, an optional icon in the first
// column, and child rows.
struct UI_MultiColumnTreeRow {
  int id = 0;
  std::vector<std::string> cells;
  Image icon{};
  bool expanded = true;
  bool editable = false;  // the first cell can be renamed in place
  std::vector<UI_MultiColumnTreeRow> children{};
  bool selectable = true;
  bool movable = false;         // can be dragged elsewhere when the tree's rows are movable
  bool acceptsChildren = false; // rows can be dropped into it
};

}  // namespace kivui
