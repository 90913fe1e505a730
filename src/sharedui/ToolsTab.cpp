#include "sharedui/ToolsTab.h"

#include "services/core/Localizer.h"
#include "services/ui/controls/UI_PictureButton.h"
#include "services/ui/controls/UI_StaticText.h"
#include "services/ui/controls/UI_TextEdit.h"
#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "sharedui/ToolPictureButton.h"
#include "sharedui/ToolsContainer.h"
#include "sharedui/ToolsTabDivider.h"
#include "sharedui/WorkspaceSwitcherBar.h"
#include "sharedui/WorkspacesPopup.h"

#include <cmath>

namespace kivworkspace::sharedui {
namespace {

using RectF = kivcore::RectF;

std::string WorkspaceStaticText() {
  return kivcore::config::Localizer::Get().LocalizeUTF8("$$$/kivworkspace/sharedui/ToolsTab/WorkspaceStatic=Workspace:");
}

// The controls at the right end, from the edge inwards, with their widths.
constexpr ToolsTab::ControlIndexType kRightGroup[] = {ToolsTab::kStatusIndicator, ToolsTab::kPortalLinkButton,
                                                      ToolsTab::kSearchBox, ToolsTab::kDivider2,
                                                      ToolsTab::kWorkspacePopup, ToolsTab::kWorkspaceStatic};

}  // namespace

ToolsTab::ToolsTab(workspace::Workspace* workspace, workspace::WorkspaceFrameBase* frame, const std::string& tabType,
                   const kivcore::UTF16String& title, workspace::ManagerBase* manager)
    : TabPanel(workspace, frame, false, tabType, title),
      tools_(std::make_shared<ToolsContainer>()),
      toolOptions_(std::make_shared<kivui::UI_Container>("ToolOptionsContainer")),
      manager_(manager) {
  SetNodeID("ToolsTab");
  SetShowCloseControl();
  PushBack(tools_);
  PushBack(toolOptions_);
}

ToolsTab::~ToolsTab() { ForgetButtons(); }

// Buttons the host may still hold forget the tab.
void ToolsTab::ForgetButtons() {
  for (std::size_t i = 0; i < tools_->GetChildCount(); ++i) {
    if (auto* button = dynamic_cast<ToolPictureButton*>(tools_->GetChild(i))) button->SetToolsTab(nullptr);
  }
}

int ToolsTab::AddItem(std::shared_ptr<kivui::UI_Node> item) {
  if (auto* button = dynamic_cast<ToolPictureButton*>(item.get())) button->SetToolsTab(this);
  tools_->AddItem(std::move(item));
  itemWidth_ += toolWidth_ + ToolsContainer::kGap;
  RefreshDynamicLayout();
  return int(tools_->GetChildCount()) - 1;
}

void ToolsTab::AddSeparator() {
  tools_->AddItem(std::make_shared<ToolsTabDivider>("ToolsSeparator"));
  itemWidth_ += ToolsContainer::kDividerSize + ToolsContainer::kGap;
  RefreshDynamicLayout();
}

float ToolsTab::AddSpace(float space) {
  tools_->AddSpace(space);
  itemWidth_ += space;
  return itemWidth_;
}

void ToolsTab::RemoveAllItems() {
  ForgetButtons();
  tools_->RemoveAllItems();
  itemWidth_ = 0;
  activeButtonIndex_ = -1;
  RefreshDynamicLayout();
}

std::shared_ptr<ToolPictureButton> ToolsTab::GetToolPictureButton(int index) const {
  if (index < 0 || std::size_t(index) >= tools_->GetChildCount()) return nullptr;
  auto* button = dynamic_cast<ToolPictureButton*>(tools_->GetChild(std::size_t(index)));
  return button ? std::static_pointer_cast<ToolPictureButton>(button->shared_from_this()) : nullptr;
}

int ToolsTab::IndexOfItem(const kivui::UI_Node* item) const {
  for (std::size_t i = 0; i < tools_->GetChildCount(); ++i)
    if (tools_->GetChild(i) == item) return int(i);
  return -1;
}

void ToolsTab::SetToolOptionsView(std::shared_ptr<kivui::UI_Node> view, float width) {
  toolOptions_->RemoveAll();
  if (view) toolOptions_->PushBack(std::move(view));
  toolOptionsWidth_ = view || toolOptions_->GetChildCount() ? width : 0;
  RefreshDynamicLayout();
}

void ToolsTab::SetToolWidthHeight(float width, float height) {
  toolWidth_ = width;
  toolHeight_ = height;
  tools_->SetToolSize(width, height);
  RefreshDynamicLayout();
}

void ToolsTab::SetActiveToolID(int id) {
  if (id == activeToolId_) return;
  previousToolId_ = activeToolId_;
  activeToolId_ = id;
  if (onActiveToolChanged) onActiveToolChanged(id);
}

void ToolsTab::Show(bool& flag, bool show) {
  flag = show;
  RefreshDynamicLayout();
}

void ToolsTab::ShowControl(ControlIndexType type, bool show) {
  wanted_[type] = show;
  if (show) EnsureControl(type);
  RefreshDynamicLayout();
}

void ToolsTab::ShowWorkspacePopup(bool show) {
  ShowControl(kWorkspaceStatic, show);
  ShowControl(kWorkspacePopup, show);
}

void ToolsTab::ShowWorkspaceSwitcher(bool show) {
  ShowControl(kWorkspaceSwitcherSeparator, show);
  ShowControl(kWorkspaceSwitcher, show);
}

bool ToolsTab::IsShowing_ToolOptions() const { return toolOptions_->GetChildCount() > 0 && !IsVertical(); }

kivui::UI_Node* ToolsTab::GetControl(ControlIndexType type) const {
  const auto it = controls_.find(type);
  return it == controls_.end() ? nullptr : it->second.get();
}

kivui::UI_Node* ToolsTab::GetTandemworkStatusIndicator() const {
  auto* holder = dynamic_cast<kivui::UI_Container*>(GetControl(kStatusIndicator));
  return holder && holder->GetChildCount() ? holder->GetChild(0) : nullptr;
}

void ToolsTab::SetTandemworkStatusIndicator(std::shared_ptr<kivui::UI_Node> indicator) {
  auto* holder = dynamic_cast<kivui::UI_Container*>(EnsureControl(kStatusIndicator));
  holder->RemoveAll();
  if (indicator) {
    indicator->SetFrame(holder->GetLocalBounds());
    holder->PushBack(std::move(indicator));
  }
  RefreshDynamicLayout();
}

bool ToolsTab::IsShowing(ControlIndexType type) const {
  const auto it = wanted_.find(type);
  return it != wanted_.end() && it->second && GetControl(type) && !IsVertical();
}

void ToolsTab::SetWorkspaceSwitcherAlignment(int alignment) {
  switcherAlignment_ = alignment;
  if (auto* bar = dynamic_cast<WorkspaceSwitcherBar*>(GetControl(kWorkspaceSwitcher))) bar->SetAlignment(alignment);
}

bool ToolsTab::IsVertical() const {
  const auto side = GetBorderElementPosition();
  return borderElement_ && (side == workspace::LayoutManager::kLeft || side == workspace::LayoutManager::kRight);
}

void ToolsTab::ConvertToBorderElement() {
  borderElement_ = true;
  RefreshDynamicLayout();
}

void ToolsTab::ConvertToRegularTab() {
  borderElement_ = false;
  RefreshDynamicLayout();
}

kivui::UI_Node* ToolsTab::EnsureControl(ControlIndexType type) {
  if (kivui::UI_Node* existing = GetControl(type)) return existing;
  std::shared_ptr<kivui::UI_Node> control = CreateControl(type);
  if (!control) return nullptr;
  control->UI_Show(false);
  PushBack(control);
  controls_[type] = std::move(control);
  return controls_[type].get();
}

std::shared_ptr<kivui::UI_Node> ToolsTab::CreateControl(ControlIndexType type) {
  switch (type) {
    case kWorkspacePopup:
      return manager_ ? std::make_shared<WorkspacesPopup>(*manager_) : nullptr;
    case kSearchBox: {
      auto search = std::make_shared<kivui::UI_TextEdit>(false);
      search->SetNodeID("SearchBox");
      search->SetPlaceholder("Search");
      return search;
    }
    case kWorkspaceStatic: {
      auto label = std::make_shared<kivui::UI_StaticText>(WorkspaceStaticText());
      label->SetNodeID("WorkspaceStatic");
      return label;
    }
    case kPortalLinkButton: {
      auto link = std::make_shared<kivui::UI_PictureButton>(kivui::Image(), "↗");
      link->SetNodeID("PortalLink");
      link->SetToolTip("Open the portal");
      return link;
    }
    case kDivider1:
    case kDivider2:
      return std::make_shared<ToolsTabDivider>(type == kDivider1 ? "Divider1" : "Divider2");
    case kWorkspaceSwitcher: {
      if (!manager_) return nullptr;
      auto bar = std::make_shared<WorkspaceSwitcherBar>(*manager_);
      bar->SetAlignment(switcherAlignment_);
      return bar;
    }
    case kWorkspaceSwitcherSeparator:
      return std::make_shared<ToolsTabDivider>("WorkspaceSwitcherSeparator");
    case kStatusIndicator:
      return std::make_shared<kivui::UI_Container>("StatusIndicatorHolder");
    case kToolOptions:
      return nullptr;  // the host's view, given by SetToolOptionsView
  }
  return nullptr;
}

float ToolsTab::WorkspaceStaticWidth() const { return std::ceil(kivui::MeasureTextWidth(WorkspaceStaticText(), kivui::Font::UI(12))) + 6; }

float ToolsTab::RightEndWidth(ControlIndexType type) const {
  switch (type) {
    case kSearchBox: return kSearchBoxWidth;
    case kWorkspacePopup: return kWorkspacePopupWidth;
    case kWorkspaceStatic: return WorkspaceStaticWidth();
    case kDivider2: return ToolsContainer::kDividerSize;
    default: return kSmallControl;
  }
}

bool ToolsTab::WantedAtRightEnd(ControlIndexType type, const RowRects& placed) const {
  switch (type) {
    case kDivider2: return IsShowing(kSearchBox) && !placed[kSearchBox].IsEmpty();  // the search box's
    case kWorkspaceStatic: return IsShowing(type) && !placed[kWorkspacePopup].IsEmpty();  // the pop-up's label
    default: return IsShowing(type);
  }
}

// Narrower than its minimum the bar would keep a layout it cannot show; never more than the
// room the tab's snap sizes leave it.
float ToolsTab::SwitcherMinimumWidth() const {
  const auto* bar = dynamic_cast<const WorkspaceSwitcherBar*>(GetControl(kWorkspaceSwitcher));
  return std::min(kSwitcherMinWidth, std::max(kSmallControl, bar ? bar->GetMinimumSize() : 0.0f));
}

ToolsTab::RowRects ToolsTab::LayOutRow(const RectF& b) const {
  RowRects placed{};
  constexpr float divider = ToolsContainer::kDividerSize;
  const float limit = b.Right() - kMargin;
  float left = b.left + kMargin + (showTools_ ? tools_->GetItemsLength() : 0);
  if (IsShowing_ToolOptions() && left + divider + toolOptionsWidth_ <= limit) {
    placed[kDivider1] = {left, b.top, divider, b.height};
    placed[kToolOptions] = {left + divider, b.top, toolOptionsWidth_, b.height};
    left += divider + toolOptionsWidth_;
  }
  // From the right edge inwards; the first control that would reach the tools ends it.
  float right = limit;
  for (ControlIndexType t : kRightGroup) {
    if (!WantedAtRightEnd(t, placed)) continue;
    const float width = RightEndWidth(t);
    if (right - width < left + kMargin) break;
    right -= width;
    placed[t] = {right, b.top + (b.height - kSmallControl) / 2, width, kSmallControl};
    right -= kMargin;
  }
  const RectF bar{left + divider, b.top, right - left - divider, b.height};
  if (IsShowing(kWorkspaceSwitcher) && bar.width >= SwitcherMinimumWidth()) {
    if (IsShowing(kWorkspaceSwitcherSeparator)) placed[kWorkspaceSwitcherSeparator] = {left, b.top, divider, b.height};
    placed[kWorkspaceSwitcher] = bar;
  }
  return placed;
}

kivcore::RectF ToolsTab::GetControlRect(ControlIndexType type, const RectF& b) const {
  if (IsVertical() || !IsShowing(type)) return {};
  return LayOutRow(b)[std::size_t(type)];
}

float ToolsTab::NaturalRowWidth() const {
  const RectF wide{0, 0, 100000, toolHeight_ + 2};
  float width = 2 * kMargin + (showTools_ ? tools_->GetItemsLength() : 0);
  if (IsShowing_ToolOptions()) width += ToolsContainer::kDividerSize + toolOptionsWidth_;
  if (IsShowingWorkspaceSwitcher()) width += ToolsContainer::kDividerSize + kSwitcherMinWidth;
  float left = wide.Right();
  for (ControlIndexType t : kRightGroup) {
    const RectF r = GetControlRect(t, wide);
    if (!r.IsEmpty()) left = std::min(left, r.left - kMargin);
  }
  return width + (wide.Right() - left);
}

void ToolsTab::RelayoutControls(const RectF& b) {
  tools_->SetVertical(IsVertical());
  tools_->UI_Show(showTools_);
  if (IsVertical()) {
    tools_->SetFrame({b.left, b.top + kMargin, b.width, std::max(0.0f, b.height - kMargin)});
  } else {
    tools_->SetFrame({b.left + kMargin, b.top, tools_->GetItemsLength(), b.height});
  }
  const RectF options = IsShowing_ToolOptions() ? LayOutRow(b)[kToolOptions] : RectF{};
  toolOptions_->UI_Show(!options.IsEmpty());
  if (IsShowing_ToolOptions()) {
    wanted_[kDivider1] = true;
    EnsureControl(kDivider1);
  }
  if (!options.IsEmpty()) {
    toolOptions_->SetFrame(options);
    if (toolOptions_->GetChildCount()) toolOptions_->GetChild(0)->SetFrame({0, 0, options.width, options.height});
  }
  if (IsShowing(kSearchBox)) {
    wanted_[kDivider2] = true;
    EnsureControl(kDivider2);
  }
  for (auto& [type, control] : controls_) {
    RectF r = GetControlRect(type, b);
    const bool showing = IsShowing(type) && !r.IsEmpty();
    control->UI_Show(showing);
    if (!showing) continue;
    if (type == kWorkspaceSwitcher) CustomizeWorkspaceSwitcherLayout(r);
    control->SetFrame(r);
  }
}

void ToolsTab::RefreshDynamicLayout() {
  RelayoutControls(GetLocalBounds());
  UI_Invalidate();
}

void ToolsTab::UI_SizeChanged(const RectF& newBounds) {
  TabPanel::UI_SizeChanged(newBounds);
  RelayoutControls(GetLocalBounds());
}

void ToolsTab::UI_Draw(kivui::Drawbot& d, const RectF&) {
  d.FillRect(GetLocalBounds(), borderElement_ ? kivui::ThemeColors::Current().header : kivui::ThemeColors::Current().panel);
}

void ToolsTab::DoGetSnapSizes(std::vector<kivcore::Point>& sizes) const {
  const float h = toolHeight_ + 2;
  if (IsVertical()) {
    // A column: the mirror image of a bar's single size.
    sizes.push_back({int(std::floor(toolWidth_ + 4 * kMargin + 4)), int(std::floor(itemWidth_ + 2 * kMargin))});
    return;
  }
  if (borderElement_) {
    sizes.push_back({int(std::floor(itemWidth_ + 235)), int(std::floor(h))});
    return;
  }
  float w = std::max(itemWidth_, WorkspaceStaticWidth() + 3 + 20 + kWorkspacePopupWidth);
  if (IsShowing(kSearchBox)) w += kSearchBoxWidth - 5;
  // Wide enough for the whole row: the tools, the controls at the right end and a usable
  // switcher bar between them.
  w = std::max(w, NaturalRowWidth());
  const int width = int(std::floor(w));
  const bool eleven = tools_->GetChildCount() == 11;
  sizes.push_back({width, int(std::floor(h + (eleven ? 60 : 25)))});
  if (eleven) sizes.push_back({width, int(std::floor(h + 35))});
  sizes.push_back({width, int(std::floor(h))});
}

}  // namespace kivworkspace::sharedui
