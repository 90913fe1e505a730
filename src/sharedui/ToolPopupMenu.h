#pragma once

namespace kivworkspace::sharedui {

class ToolPictureButton;

// What the pop-up of a button's tools reports: the chosen tool's index, or -1 when it
// closed without a choice (a press outside it, or its window deactivated).
struct ToolPopupMenuChangedMessage {
  int index = -1;
};

// The pop-up menu of a button's tools: one entry per tool, in tool order, with its image
// and name; the selected tool is checked. Opens at the button.
class ToolPopupMenu {
 public:
  explicit ToolPopupMenu(const ToolPictureButton& button) : button_(button) {}
  // Shows the menu until the user chooses or dismisses it.
  ToolPopupMenuChangedMessage Run() const;

 private:
  const ToolPictureButton& button_;
};

}  // namespace kivworkspace::sharedui
