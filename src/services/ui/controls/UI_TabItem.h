#pragma once

#include "services/ui/draw/Color.h"

#include <optional>
#include <string>

namespace kivui {

// One tab of a tab well.
struct UI_TabItem {
  int id = 0;
  std::string text;   // the tab's title (UTF-8)
  std::string label;  // a dimmer second text after the title (a count, a state)
  std::optional<Color> color;  // a colour mark along the tab's top edge
  bool closeBox = true;        // shows a close box (when the well allows close boxes)
  bool locked = false;         // cannot be closed: a lock mark replaces the close box
  bool multiTabMark = false;   // marks a tab that stands for several panels
  bool enabled = true;
  std::string tooltip;
};

}  // namespace kivui
