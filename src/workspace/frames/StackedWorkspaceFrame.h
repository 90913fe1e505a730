#pragma once

#include "workspace/frames/WorkspaceFrame.h"

#include <memory>
#include <vector>

namespace kivui {
class UI_ScrollBar;
}

namespace kivworkspace::workspace {

class FrameChild;

// A frame that shows every panel of its group at once, one under the other: each panel
// under a header of its own that opens and collapses it, its height dragged by a gripper,
// the whole stack scrolled when it is taller than the frame. Headers dragged up and down
// reorder the stack; dragged sideways out of the frame they dock elsewhere. In solo mode
// only the front panel is open.
class StackedWorkspaceFrame : public WorkspaceFrame {
 public:
  // Flags of 8 or more stand for stacked, solo and small tabs together.
  StackedWorkspaceFrame(TopLevelWindow* window, unsigned stackedViewFlags);
  ~StackedWorkspaceFrame() override;

  unsigned GetTabCount() const override;
  int GetFrontTabIndex() const override;
  TabPanelPtr GetTabPanel(unsigned index) const override;
  TabPanelPtr DetachTabPanel(unsigned index) override;
  int IndexOf(const TabPanel* panel) const override;
  void AddTab(const TabPanelPtr& panel, unsigned index, bool focus) override;
  using WorkspaceFrame::AddTab;
  // Fronts the panel; in solo mode the others close; the front one opens.
  void BringTabToFront(unsigned index) override;
  using WorkspaceFrame::BringTabToFront;
  void BringTabToFrontNoToggle(unsigned index);
  void SetFrontTabIndex(unsigned index);
  void MoveTabPanel(unsigned from, unsigned to) override;
  void HandleTabItemAction(TabItemAction action, unsigned index, const kivcore::Rect* rect) override;
  // Solo (−9); small tabs (−12) is the tabbed frame's.
  bool DoFlyoutMenuCommand(int index, unsigned command) override;
  void UpdateViewForStackedFrame() override;
  bool InvalidateTabPanelDimensions(const TabPanel* panel, bool askNow) override;
  kivcore::Rect FrameRectToTabPanelRect(const kivcore::Rect& r) const override { return r; }
  kivcore::Rect FrameRectToTabWellRect(const kivcore::Rect& r) const override { return r; }

  // --- The stack.
  void CloseAllChildrenExcept(int index);
  // Opens every child, or closes them all but the last one that stays.
  void ToggleAllChildren(bool open);
  int GetStackedTabClientHeight(unsigned index) const;
  void SetStackedTabClientHeight(unsigned index, unsigned height);
  bool GetStackedTabIsOpen(unsigned index) const;
  void SetStackedTabIsOpen(unsigned index, bool open);
  // After reading heights and open states: lay the stack out once.
  void DoneSerializing() { LayoutFrameChildren(false); }
  // Scroll offset: 0 at the top, negative as the stack scrolls up.
  int GetScrollOffset() const { return offset_; }
  void SetScrollPosition(int offset);
  void ScrollIntoView(const FrameChild& child);
  // Whether the panel's child shows in the frame (and whether it is open).
  bool IsTabPanelVisible(const TabPanel* panel, bool* open) const;
  FrameChild* GetFrameChild(unsigned index) const;
  // A child opened, closed or changed height: the stack is laid out again.
  void FrameChildChanged(FrameChild& child);
  // What a child's header reports (clicks, drags, menus), with the child's index.
  void HeaderAction(FrameChild& child, TabItemAction action, kivcore::PointF global);
  void HeaderDragged(FrameChild& child, kivcore::PointF pressGlobal, kivcore::PointF global);

  bool UI_DoMouseEvent(kivui::UI_Node* target, const kivui::MouseEvent& event) override;
  void UI_CaptureLost() override;

 protected:
  void UpdateLayout() override;
  void UpdateForTabContainerChanges() override;
  kivui::UI_TabWell* GetTabWellOf(const TabPanel& panel) const override;

 private:
  // A header dragged up or down, from its press until the release.
  struct Reorder {
    FrameChild* child = nullptr;
    kivcore::Point press;
    int lastY = 0;         // the pointer's height at the previous move
    bool started = false;  // past the threshold: the header moves past its neighbours
  };

  int ChildIndex(const FrameChild& child) const;
  bool HasOpenChild() const;
  void LayoutFrameChildren(bool leaveScrollBar);
  void ContinueReorder(kivcore::Point global);
  void EndReorder();

  // Its children are the frame children, in stack order.
  std::shared_ptr<kivui::UI_Container> childContainer_;
  std::shared_ptr<kivui::UI_Node> emptyRegion_;
  std::shared_ptr<kivui::UI_ScrollBar> scrollBar_;
  unsigned front_ = 0;
  int offset_ = 0;
  Reorder reorder_;
};

}  // namespace kivworkspace::workspace
