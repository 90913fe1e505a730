#pragma once

#include "sharedui/Tool.h"

#include <map>
#include <memory>

namespace kivworkspace::sharedui {

class ToolPictureButton;
class ToolsTab;

// Finds a tool, its button and its tools tab by numeric ID. Filled as the host adds its
// buttons to a tools tab; button indexes are the buttons' places at the time of adding.
// A lookup of an ID that is not recorded raises "Invalid tool map access." and changes
// nothing.
class ToolMap {
 public:
  struct ToolData {
    int toolIndex = -1;    // the tool's place in its button, -1 for a button's own entry
    int buttonIndex = -1;  // the button's place among the tab's items
    ToolsTab* toolsTab = nullptr;
    // Tells whether the tab still exists, when it is owned by a shared pointer (a tab that
    // is gone makes its entries invalid accesses, not dangling pointers).
    std::weak_ptr<const void> tabAlive;
  };
  // The error an invalid access raises: kivcore::config::Error of this category and code.
  static constexpr int kErrorCategory = 108;
  static constexpr int kInvalidAccess = 20;

  ToolMap() = default;

  // Adds the button to the tab as an item and records it and each of its tools; entries of
  // the same IDs are replaced.
  void AddButtonToToolTab(ToolsTab* tab, std::shared_ptr<ToolPictureButton> button);
  // Forgets every entry (of every tab) and removes all items from the tab.
  void RemoveAllButtonsFromToolTab(ToolsTab* tab);

  ToolPtr GetToolFromToolID(int toolId) const;
  std::shared_ptr<ToolPictureButton> GetToolButtonFromToolID(int toolId) const;
  std::shared_ptr<ToolPictureButton> GetToolButtonFromToolButtonID(int buttonId) const;
  int GetToolButtonIDFromToolID(int toolId) const;
  int GetToolIndexFromToolID(int toolId) const;
  ToolsTab* GetToolsTabFromToolID(int toolId) const;
  ToolsTab* GetToolsTabFromToolButtonID(int buttonId) const;
  // Whether the tool ID is recorded; never raises.
  bool IsToolButtonFromToolID(int toolId) const { return tools_.count(toolId) != 0; }

 private:
  void AddToMaps(ToolsTab* tab, const ToolPictureButton& button, int buttonIndex);
  const ToolData& FindToolID(int toolId) const;
  const ToolData& FindToolButtonID(int buttonId) const;
  static std::shared_ptr<ToolPictureButton> ButtonOf(const ToolData& data);
  [[noreturn]] static void ThrowInvalidAccessError();

  std::map<int, ToolData> tools_;
  std::map<int, ToolData> buttons_;
};

}  // namespace kivworkspace::sharedui
