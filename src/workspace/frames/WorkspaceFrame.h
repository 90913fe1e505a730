#pragma once

#include "workspace/frames/WorkspaceFrameBase.h"

#include <list>
#include <memory>
#include <string>

namespace kivui {
class UI_PictureButton;
class UI_TabWell;
}  // namespace kivui

namespace kivworkspace::workspace {

// What a tab well item does; the values are those the frame's callers use.
enum TabItemAction : int {
  kTabItemSelect = 0,
  kTabItemFocus = 1,
  kTabItemDragGroup = 2,
  kTabItemClose = 3,
  kTabItemMultiPaneClick = 4,
  kTabItemFlyout = 5,
  kTabItemShow = 7,
  kTabItemHide = 8,
  kTabItemToggleLock = 9,
  kTabItemContextMenu = 10,
  kTabItemSelect11 = 11,
  kTabItemSelect12 = 12,
  kTabItemDragTab = 13,
  kTabItemToggleMaximize = 14,
};

// Commands of the frame's flyout menu.
enum FrameMenuCommand : int {
  kCmdUndockPanel = -1,
  kCmdUndockGroup = -2,
  kCmdClosePanel = -3,
  kCmdCloseOtherSimilar = -4,
  kCmdCloseGroup = -5,
  kCmdMaximizeGroup = -6,
  kCmdCloseOthersInGroup = -7,
  kCmdStacked = -8,
  kCmdStackedSolo = -9,
  kCmdStackedSmallTabs = -12,
};

// The tabbed frame: a tab well over the panels in tab order, one of them (the front tab)
// shown; it keeps the panels closed in it (alive or as saved state) so they can come back,
// and offers the flyout menu of the tab well.
class WorkspaceFrame : public WorkspaceFrameBase {
 public:
  enum StackedViewComponentFlag : unsigned { kStacked = 1, kSolo = 2, kSmallTabs = 4 };

  WorkspaceFrame(TopLevelWindow* window, unsigned stackedViewFlags = 0);
  ~WorkspaceFrame() override;

  // --- Panels in tab order.
  unsigned GetTabCount() const override;
  int GetFrontTabIndex() const override;
  TabPanelPtr GetTabPanel(unsigned index) const override;
  TabPanelPtr DetachTabPanel(unsigned index) override;
  bool TabsAreReorderable() const override { return true; }
  virtual void AddTab(const TabPanelPtr& panel, unsigned index, bool focus);
  void AddTab(const TabPanelPtr& panel, bool focus);
  TabPanel* AddTab(const std::string& type, bool focus);
  void AddTabs(const std::vector<TabPanelPtr>& panels);
  void AddTabs(const std::vector<std::string>& types);
  void AddTabs(WorkspaceFrame* other);
  void RemoveAllTabs(bool onlyObliterating, int keepIndex);
  void RemoveOtherSimilarTabs(int index, bool onlyObliterating);
  virtual void BringTabToFront(unsigned index);
  void BringTabToFront(TabPanel* panel);
  virtual void MoveTabPanel(unsigned from, unsigned to);
  void HandleTabItemMoved(unsigned from, unsigned to);
  bool AllowFrameClose() const;
  // Whether dragged panels may be dropped on this frame (its drop zones are offered).
  virtual bool AcceptsTabDrop() const { return true; }
  // Where a tab dropped on the tab well at the global point goes: before the first tab
  // whose middle lies right of the point.
  unsigned GetInsertionIndex(kivcore::Point global) const;
  bool AllowCloseOtherSimilar(int index) const;
  virtual int IndexOf(const TabPanel* panel) const;

  // --- Closed panels.
  void CacheTabData(const TabPanelPtr& panel, bool hide);
  // A removed-panel record or a hidden panel of the type can come back.
  bool CanReanimateTab(const std::string& type) const;
  bool CanReanimateTab(const TabPanelPtr& panel) const;
  TabPanel* ReanimateTab(const std::string& type);
  bool ReanimateTab(const TabPanelPtr& panel);
  bool HasHiddenTabs() const { return !hidden_.empty(); }
  void DetachHiddenTabs();
  void DestroyHiddenTabs() { hidden_.clear(); }
  bool HasRemovedTabProxy() const { return !removed_.empty(); }
  const TabDataList& GetRemovedTabs() const { return removed_; }
  void SetRemovedTabData(TabDataList data) { removed_ = std::move(data); }
  void AddRemovedTabData(const std::string& type, const std::string& state);
  const std::list<TabPanelPtr>& GetHiddenTabs() const { return hidden_; }
  std::list<TabPanelPtr> TakeHiddenTabs() { return std::move(hidden_); }
  // Takes the other frame's closed panels: all its hidden panels, and its removed-panel
  // records of types this frame has no record of (those that clash stay with the other).
  void TakeClosedPanels(WorkspaceFrame& other);
  void DoGetTabData(TabDataList& visible, TabDataList& removed, TabDataList& hidden) const override;

  // --- Sizes.
  kivcore::Rect GetTabPanelRect() const override;
  kivcore::Rect GetTabWellRect() const override;
  kivcore::Rect FrameRectToTabWellRect(const kivcore::Rect& frameRect) const override;
  bool GetTabRect(unsigned index, kivcore::Rect& out) const;
  void ConvertTabToFrameSize(kivcore::Point& size) const override;
  void ConvertFrameToTabSize(kivcore::Point& size) const override;
  kivcore::Point GetMinimumSize() const override;
  kivcore::Point GetTabPanelOffset() const override;
  int GetCurrentTabWellHeight() const;
  void SetTabMargin(float margin);
  void RestoreDefaultMargin();

  // --- Stacked-view state.
  unsigned GetStackedViewState() const { return stackedViewState_; }
  void SetStackedViewState(unsigned flags, bool set);
  bool GetStackedViewComponentState(StackedViewComponentFlag flag) const {
    return (stackedViewState_ & flag) != 0;
  }
  void SetStackedViewComponentState(StackedViewComponentFlag flag, bool set);
  bool IsStacked() const { return GetStackedViewComponentState(kStacked); }
  bool IsStackedSolo() const { return GetStackedViewComponentState(kSolo); }
  bool IsStackedSmall() const { return GetStackedViewComponentState(kSmallTabs); }

  // --- Panel notifications.
  void TabPanelNameChanged(const TabPanel& panel) override;
  void TabPanelLabelChanged(const TabPanel& panel) override;
  void TabColorChanged(const TabPanel& panel) override;
  void TabPanelLockedChanged(const TabPanel& panel) override;

  // --- The tab well's item actions and the flyout menu.
  virtual void HandleTabItemAction(TabItemAction action, unsigned index, const kivcore::Rect* rect);
  void DoTabMenu(int index, bool contextMenu, const kivcore::Rect& globalRect);
  // Runs a flyout command for the panel at index.
  void DoMenuCommand(int index, int command);
  virtual bool DoFlyoutMenuCommand(int, unsigned) { return false; }
  // A panel's heights changed (a stack asks them now, or when the panel next opens); false
  // when the panel is not one of this frame's stacked panels.
  virtual bool InvalidateTabPanelDimensions(const TabPanel*, bool /*askNow*/) { return false; }
  // The view after a change of its stacked-view state.
  virtual void UpdateViewForStackedFrame() { UpdateForTabContainerChanges(); }
  kivui::UI_TabWell& GetTabWell() const { return *tabWell_; }
  void SetActive(bool active);

  void UI_Draw(kivui::Drawbot& drawbot, const kivcore::RectF& dirty) override;

 protected:
  void UpdateLayout() override;
  virtual void UpdateForTabContainerChanges();
  // The tab well that shows the panel's tab: the frame's, or a stack's header.
  virtual kivui::UI_TabWell* GetTabWellOf(const TabPanel& panel) const;
  // Shows or hides the frame's own tab well, flyout button and panel area, which a stack
  // replaces with its headers.
  void ShowTabbedChrome(bool show);
  // Writes the panel's texts, colour and marks into its tab.
  void SyncTab(const TabPanel& panel);
  // The focused panel when a tab was last selected (a double click toggles maximizing).
  void SaveLastTabPanel();
  // A drag that has already left its press point goes on as a tab drag (item action 13)
  // or a frame drag (2).
  void ContinueTabDrag(TabItemAction action, unsigned index, kivcore::PointF pressGlobal,
                       kivcore::PointF global);

 private:
  // Starts dragging a tab (or the whole frame) pressed at the global point.
  void BeginTabDrag(Workspace& workspace, bool wholeFrame, unsigned index,
                    kivcore::Point pressGlobal);
  // The tab shows the panel's texts, colour and marks again, and the frame refreshes.
  void ResyncTab(const TabPanel& panel);
  void ShowFront();
  void Undock(int index, bool group);
  std::unique_ptr<kivui::OSMenu> BuildMenu(int index) const;
  std::vector<TabPanel*> OtherPanelsOfType(const TabPanel& panel) const;

  std::shared_ptr<kivui::UI_TabWell> tabWell_;
  std::shared_ptr<kivui::UI_PictureButton> flyoutButton_;
  std::shared_ptr<kivui::UI_Container> panels_;
  TabDataList removed_;
  std::list<TabPanelPtr> hidden_;
  int selectionDepth_ = 0;
  TabPanel* lastPanel_ = nullptr;
  unsigned stackedViewState_ = 0;
};

using WorkspaceFramePtr = std::shared_ptr<WorkspaceFrame>;

}  // namespace kivworkspace::workspace
