#include "sharedui/ToolMap.h"

#include "services/core/Error.h"
#include "sharedui/ToolPictureButton.h"
#include "sharedui/ToolsTab.h"

namespace kivworkspace::sharedui {

void ToolMap::AddButtonToToolTab(ToolsTab* tab, std::shared_ptr<ToolPictureButton> button) {
  const int index = tab->AddItem(button);
  AddToMaps(tab, *button, index);
}

void ToolMap::AddToMaps(ToolsTab* tab, const ToolPictureButton& button, int buttonIndex) {
  const std::weak_ptr<const void> alive = tab->weak_from_this();
  buttons_[button.GetID()] = {-1, buttonIndex, tab, alive};
  for (int i = 0; i < button.GetSubToolSize(); ++i) tools_[button.GetTool(i)->GetID()] = {i, buttonIndex, tab, alive};
}

void ToolMap::RemoveAllButtonsFromToolTab(ToolsTab* tab) {
  tools_.clear();
  buttons_.clear();
  tab->RemoveAllItems();
}

void ToolMap::ThrowInvalidAccessError() {
  kivcore::config::ThrowError(1, "$$$/kivworkspace/sharedui/Error/InvalidToolMapAccess=Invalid tool map access.",
                              kErrorCategory, kInvalidAccess, 1);
}

namespace {

// An entry whose tab was owned by a shared pointer that has gone is no longer valid.
bool TabGone(const ToolMap::ToolData& data) {
  static const std::weak_ptr<const void> untracked;
  const bool tracked = data.tabAlive.owner_before(untracked) || untracked.owner_before(data.tabAlive);
  return tracked && data.tabAlive.expired();
}

}  // namespace

const ToolMap::ToolData& ToolMap::FindToolID(int toolId) const {
  const auto it = tools_.find(toolId);
  if (it == tools_.end() || TabGone(it->second)) ThrowInvalidAccessError();
  return it->second;
}

const ToolMap::ToolData& ToolMap::FindToolButtonID(int buttonId) const {
  const auto it = buttons_.find(buttonId);
  if (it == buttons_.end() || TabGone(it->second)) ThrowInvalidAccessError();
  return it->second;
}

std::shared_ptr<ToolPictureButton> ToolMap::ButtonOf(const ToolData& data) {
  auto button = data.toolsTab->GetToolPictureButton(data.buttonIndex);
  if (!button) ThrowInvalidAccessError();  // the tab's items changed since
  return button;
}

ToolPtr ToolMap::GetToolFromToolID(int toolId) const {
  const ToolData& data = FindToolID(toolId);
  return ButtonOf(data)->GetTool(data.toolIndex);
}

std::shared_ptr<ToolPictureButton> ToolMap::GetToolButtonFromToolID(int toolId) const { return ButtonOf(FindToolID(toolId)); }

std::shared_ptr<ToolPictureButton> ToolMap::GetToolButtonFromToolButtonID(int buttonId) const {
  return ButtonOf(FindToolButtonID(buttonId));
}

int ToolMap::GetToolButtonIDFromToolID(int toolId) const { return GetToolButtonFromToolID(toolId)->GetID(); }

int ToolMap::GetToolIndexFromToolID(int toolId) const { return FindToolID(toolId).toolIndex; }

ToolsTab* ToolMap::GetToolsTabFromToolID(int toolId) const { return FindToolID(toolId).toolsTab; }

ToolsTab* ToolMap::GetToolsTabFromToolButtonID(int buttonId) const { return FindToolButtonID(buttonId).toolsTab; }

}  // namespace kivworkspace::sharedui
