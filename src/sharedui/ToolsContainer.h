#pragma once

#include "services/ui/node/UI_Container.h"

namespace kivworkspace::sharedui {

// The tools of a tools tab in a row (or, in a bar on a window's left or right side, in a
// column): buttons of the tool size, dividers and spaces between them.
class ToolsContainer : public kivui::UI_Container {
 public:
  static constexpr float kGap = 2, kDividerSize = 9;

  ToolsContainer() : UI_Container("ToolsContainer") {}

  void SetToolSize(float width, float height);
  void SetVertical(bool vertical);
  bool IsVertical() const { return vertical_; }
  // Adds an item (a button or a divider) after the others.
  void AddItem(std::shared_ptr<kivui::UI_Node> item);
  // Adds empty room before the next item.
  void AddSpace(float size);
  void RemoveAllItems();
  // The length the items take along the row or column.
  float GetItemsLength() const;

  void UI_SizeChanged(const kivcore::RectF& newBounds) override;

 private:
  void Arrange();

  float toolWidth_ = 28, toolHeight_ = 28;
  bool vertical_ = false;
  std::vector<float> spaceBefore_;  // by child index
  float pendingSpace_ = 0;
};

}  // namespace kivworkspace::sharedui
