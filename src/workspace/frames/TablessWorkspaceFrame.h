#pragma once

#include "workspace/frames/WorkspaceBorderElementResizeHandleTarget.h"
#include "workspace/frames/WorkspaceFrame.h"
#include "workspace/frames/WorkspaceFrameBase.h"

#include <memory>
#include <string>

namespace kivui {
class UI_TablessDragger;
}

namespace kivworkspace::workspace {

class WorkspaceBorderElement;
class WorkspaceBorderElementResizeHandle;

// A frame of one panel without a tab well, as windows use for the panels pinned to one of
// their sides (a tool strip, a status bar). When its panel is a border element it carries
// a resize handle along its bottom edge that collapses the element to the handle and
// expands it again, and a small context menu; a rippable element gets a grip strip on its
// left through which it is dragged out into a floating window.
class TablessWorkspaceFrame : public WorkspaceFrameBase,
                              public WorkspaceBorderElementResizeHandleTarget {
 public:
  explicit TablessWorkspaceFrame(TopLevelWindow* window);
  ~TablessWorkspaceFrame() override;

  // The panel becomes the frame's one tab (an earlier one is let go).
  void AddTab(const TabPanelPtr& panel);
  // A new panel of the type; nothing when no creator makes it.
  void AddTab(const std::string& type);
  const TabPanelPtr& GetTab() const { return tab_; }

  unsigned GetTabCount() const override { return tab_ ? 1 : 0; }
  int GetFrontTabIndex() const override { return 0; }
  TabPanelPtr GetTabPanel(unsigned index) const override { return index == 0 ? tab_ : nullptr; }
  TabPanelPtr DetachTabPanel(unsigned index) override;
  bool TabsAreReorderable() const override { return false; }
  // A tabless frame leaves no tab records behind.
  void DoGetTabData(TabDataList&, TabDataList&, TabDataList&) const override {}

  kivcore::Rect FrameRectToTabPanelRect(const kivcore::Rect& r) const override { return r; }
  kivcore::Rect FrameRectToTabWellRect(const kivcore::Rect& r) const override { return r; }
  kivcore::Rect GetTabPanelRect() const override;
  kivcore::Point GetMinimumSize() const override;
  void GetSnapSizes(std::vector<kivcore::Point>& sizes) const override;

  // --- As a border element's frame.
  WorkspaceBorderElement* GetBorderElement() const;
  // The height of the resize handle: 0 unless the panel is a resizeable border element.
  int GetSplitterSize() const;
  bool GetIsMinimized() const;
  void SetIsMinimized(bool minimized);
  void ShowSplitter();
  void HideSplitter();
  bool IsSplitterShown() const;
  WorkspaceBorderElementResizeHandle& GetResizeHandle() const { return *handle_; }
  // Any item action undocks the panel, dragging it on from the rectangle's origin.
  void HandleTabItemAction(TabItemAction action, unsigned index, const kivcore::Rect* rect);
  // Moves the panel into a new floating window near the global point and takes this
  // element off its window; with `drag` the user goes on dragging that window's frame.
  void Undock(kivcore::Point global, bool drag);
  void DoContextMenu(kivcore::Point global);
  // The handle's drag: past half the handle's height up collapses, down expands.
  void ResizeBorderElement(float amount) override;

  bool UI_DoMouseEvent(kivui::UI_Node* target, const kivui::MouseEvent& event) override;

 protected:
  void UpdateLayout() override;

 private:
  bool IsResizeableElement() const;

  TabPanelPtr tab_;
  bool rippable_ = false;
  bool hiddenByMinimize_ = false;
  float accumulatedDrag_ = 0;
  std::shared_ptr<WorkspaceBorderElementResizeHandle> handle_;
  std::shared_ptr<kivui::UI_TablessDragger> dragger_;
};

using TablessWorkspaceFramePtr = std::shared_ptr<TablessWorkspaceFrame>;

}  // namespace kivworkspace::workspace
