#pragma once

#include "workspace/core/TabPanel.h"
#include "workspace/frames/WorkspaceBorderElement.h"

#include <array>
#include <functional>
#include <map>
#include <memory>

namespace kivworkspace::workspace {
class ManagerBase;
}

namespace kivworkspace::sharedui {

class ToolPictureButton;
class ToolsContainer;

// The tab of a host's tools: tool buttons (at most one of them down, its selected tool the
// active one), and optional controls around them: the workspaces pop-up with its
// "Workspace:" label, a search box, the portal-link button, dividers, the workspace switcher
// bar and its separator, a tool options view and a status indicator. It lives as a regular
// tab in a frame (a row of tools with the controls shown) or as a border element of a
// window: then only the tools show, in a row along the top or bottom edge and in a column
// along the left or right one.
class ToolsTab : public workspace::TabPanel, public workspace::WorkspaceBorderElement {
 public:
  enum ControlIndexType {
    kWorkspacePopup = 0,
    kSearchBox = 1,
    kWorkspaceStatic = 2,
    kPortalLinkButton = 3,
    kDivider1 = 4,
    kDivider2 = 5,
    kToolOptions = 6,
    kWorkspaceSwitcher = 7,
    kWorkspaceSwitcherSeparator = 8,
    kStatusIndicator = 9,
  };
  static constexpr float kSearchBoxWidth = 160, kWorkspacePopupWidth = 140, kSmallControl = 24, kMargin = 4;
  static constexpr float kSwitcherMinWidth = 320;

  // tabType: the host's type for the tab; the tab's node ID is "ToolsTab". The manager,
  // when given, serves the workspaces pop-up and the switcher bar.
  ToolsTab(workspace::Workspace* workspace, workspace::WorkspaceFrameBase* frame, const std::string& tabType,
           const kivcore::UTF16String& title, workspace::ManagerBase* manager = nullptr);
  ~ToolsTab() override;

  // Items: buttons and other controls, then dividers and spaces. AddItem returns the
  // item's index.
  int AddItem(std::shared_ptr<kivui::UI_Node> item);
  void AddSeparator();
  // Adds room before the next item; returns the accumulated item width.
  float AddSpace(float space);
  void RemoveAllItems();
  std::shared_ptr<ToolPictureButton> GetToolPictureButton(int index) const;
  int IndexOfItem(const kivui::UI_Node* item) const;
  ToolsContainer& GetToolsContainer() { return *tools_; }
  kivui::UI_Container& GetToolsOptionsContainer() { return *toolOptions_; }
  void SetToolOptionsView(std::shared_ptr<kivui::UI_Node> view, float width);
  void SetToolWidthHeight(float width, float height);

  int GetActiveToolID() const { return activeToolId_; }
  // A new ID first makes the current one the previously active.
  void SetActiveToolID(int id);
  int GetPreviouslyActiveToolID() const { return previousToolId_; }
  void SetPreviouslyActiveToolID(int id) { previousToolId_ = id; }
  int GetActiveButtonIndex() const { return activeButtonIndex_; }
  void SetActiveButtonIndex(int index) { activeButtonIndex_ = index; }
  // Told of every change of the active tool ID.
  std::function<void(int toolId)> onActiveToolChanged;

  void ShowToolContainer(bool show) { Show(showTools_, show); }
  void ShowWorkspacePopup(bool show);
  void ShowWorkspaceSwitcher(bool show);
  void ShowSearchBox(bool show) { ShowControl(kSearchBox, show); }
  void ShowPortalLinkButton(bool show) { ShowControl(kPortalLinkButton, show); }
  void ShowTandemworkStatusIndicator(bool show) { ShowControl(kStatusIndicator, show); }
  bool IsShowing_ToolContainer() const { return showTools_; }
  bool IsShowing_ToolOptions() const;
  bool IsShowing_WorkspacePopup() const { return IsShowing(kWorkspacePopup); }
  bool IsShowingWorkspaceSwitcher() const { return IsShowing(kWorkspaceSwitcher); }
  bool IsShowing_SearchBox() const { return IsShowing(kSearchBox); }
  bool IsShowing_PortalLinkButton() const { return IsShowing(kPortalLinkButton); }
  bool IsShowing_TandemworkStatusIndicator() const { return IsShowing(kStatusIndicator); }
  kivui::UI_Node* GetSearchBox() const { return GetControl(kSearchBox); }
  kivui::UI_Node* GetPortalLinkButton() const { return GetControl(kPortalLinkButton); }
  kivui::UI_Node* GetTandemworkStatusIndicator() const;
  void SetTandemworkStatusIndicator(std::shared_ptr<kivui::UI_Node> indicator);
  // The control of that index, when it was made (null otherwise).
  kivui::UI_Node* GetControl(ControlIndexType type) const;
  // Whether the control is asked for and the tab is a row (the tools are not in a column);
  // a row too narrow for it still leaves it out (GetControlRect).
  bool IsShowing(ControlIndexType type) const;
  void SetWorkspaceSwitcherAlignment(int alignment);
  bool IsRegularTab() const { return !borderElement_; }
  // Along the left or right edge of a window: the tools in a column.
  bool IsVertical() const;
  float GetAccumulatedItemWidth() const { return itemWidth_; }
  void SetResizeable(bool resizeable) { resizeable_ = resizeable; }

  // WorkspaceBorderElement
  void ConvertToBorderElement() override;
  void ConvertToRegularTab() override;
  bool IsRippable() const override { return true; }
  bool IsResizeable() const override { return resizeable_; }

  virtual void RefreshDynamicLayout();
  // Places the items and controls in the rectangle.
  virtual void RelayoutControls(const kivcore::RectF& bounds);
  // Lets a subclass adjust the switcher bar's rectangle.
  virtual void CustomizeWorkspaceSwitcherLayout(kivcore::RectF&) {}
  // Where the control goes in a row of those bounds; empty when it is not shown, or when it
  // does not fit there (a narrow row leaves controls out rather than draw one over another).
  virtual kivcore::RectF GetControlRect(ControlIndexType type, const kivcore::RectF& bounds) const;
  // Makes the control of that index (null for the tool options and the status indicator,
  // which the host gives, and for the manager's controls without a manager).
  virtual std::shared_ptr<kivui::UI_Node> CreateControl(ControlIndexType type);

  bool UI_WantsKeyboardFocus() const override { return false; }
  void UI_Draw(kivui::Drawbot& drawbot, const kivcore::RectF& dirty) override;
  void UI_SizeChanged(const kivcore::RectF& newBounds) override;
  void DoGetSnapSizes(std::vector<kivcore::Point>& sizes) const override;

 private:
  void ForgetButtons();
  void Show(bool& flag, bool show);
  void ShowControl(ControlIndexType type, bool show);
  kivui::UI_Node* EnsureControl(ControlIndexType type);
  float WorkspaceStaticWidth() const;
  static constexpr std::size_t kControlCount = 10;
  using RowRects = std::array<kivcore::RectF, kControlCount>;
  // The row's controls by ControlIndexType: the tools from the left, then the tool options
  // when they fit; the right end's controls from the edge inwards while each fits beside
  // them; the switcher bar in the room between when it has room to show itself.
  RowRects LayOutRow(const kivcore::RectF& bounds) const;
  // Whether the right end's control takes part, given what was placed before it.
  bool WantedAtRightEnd(ControlIndexType type, const RowRects& placed) const;
  float RightEndWidth(ControlIndexType type) const;
  float SwitcherMinimumWidth() const;
  // The width a row of everything shown takes, the switcher bar at its smallest useful width.
  float NaturalRowWidth() const;

  std::shared_ptr<ToolsContainer> tools_;
  std::shared_ptr<kivui::UI_Container> toolOptions_;
  std::map<ControlIndexType, std::shared_ptr<kivui::UI_Node>> controls_;
  std::map<ControlIndexType, bool> wanted_;
  workspace::ManagerBase* manager_;
  float itemWidth_ = 0;
  float toolWidth_ = 28, toolHeight_ = 28;
  float toolOptionsWidth_ = 0;
  bool borderElement_ = false;
  bool showTools_ = true;
  bool resizeable_ = false;
  int activeToolId_ = -1;
  int previousToolId_ = -1;
  int activeButtonIndex_ = -1;
  int switcherAlignment_ = 0;
};

}  // namespace kivworkspace::sharedui
