#include "sharedui/ToolsContainer.h"

#include "sharedui/ToolsTabDivider.h"

namespace kivworkspace::sharedui {

void ToolsContainer::SetToolSize(float width, float height) {
  toolWidth_ = width;
  toolHeight_ = height;
  Arrange();
}

void ToolsContainer::SetVertical(bool vertical) {
  vertical_ = vertical;
  Arrange();
}

void ToolsContainer::AddItem(std::shared_ptr<kivui::UI_Node> item) {
  PushBack(std::move(item));
  spaceBefore_.push_back(pendingSpace_);
  pendingSpace_ = 0;
  Arrange();
}

void ToolsContainer::AddSpace(float size) { pendingSpace_ += size; }

void ToolsContainer::RemoveAllItems() {
  RemoveAll();
  spaceBefore_.clear();
  pendingSpace_ = 0;
}

float ToolsContainer::GetItemsLength() const {
  float length = 0;
  for (std::size_t i = 0; i < GetChildCount(); ++i) {
    const bool divider = dynamic_cast<const ToolsTabDivider*>(GetChild(i)) != nullptr;
    length += spaceBefore_[i] + (divider ? kDividerSize : (vertical_ ? toolHeight_ : toolWidth_)) + kGap;
  }
  return length;
}

void ToolsContainer::Arrange() {
  float at = kGap;
  spaceBefore_.resize(GetChildCount(), 0);
  for (std::size_t i = 0; i < GetChildCount(); ++i) {
    UI_Node* child = GetChild(i);
    at += spaceBefore_[i];
    const bool divider = dynamic_cast<ToolsTabDivider*>(child) != nullptr;
    const float along = divider ? kDividerSize : (vertical_ ? toolHeight_ : toolWidth_);
    if (vertical_) {
      child->SetFrame({(GetLocalBounds().width - toolWidth_) / 2, at, toolWidth_, along});
    } else {
      child->SetFrame({at, (GetLocalBounds().height - toolHeight_) / 2, along, toolHeight_});
    }
    at += along + kGap;
  }
}

void ToolsContainer::UI_SizeChanged(const kivcore::RectF&) { Arrange(); }

}  // namespace kivworkspace::sharedui
