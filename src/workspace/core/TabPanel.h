#pragma once

#include "services/core/PointT.h"
#include "services/core/RectT.h"
#include "services/core/Strings.h"
#include "workspace/core/ColorRGBA.h"
#include "workspace/core/OS_TabPanel.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kivcore {
class PropList;
}
namespace kivui {
class OSMenu;
}

namespace kivworkspace::workspace {

class Workspace;
class WorkspaceFrameBase;

// Size questions a frame asks a panel (see GetDimension).
enum TabPanelDimension : int {
  kStackedPreferredHeight = 0,
  kStackedMinHeight = 1,
  kStackedMaxHeight = 2,
  kDimension3 = 3,
  kDimension4 = 4,
  kDimension5 = 5,
  kStackedHeightAdjustable = 6,
};

struct MegaZoomContentTrim {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// One panel of the host's content, shown in a frame as a tab. Identified by an ID unique in
// its workspace and by its tab type (the key of its creator); carries the texts and
// colour of its tab, a last-touched time stamp and its close and lock policy. Subclasses
// draw the content and override the hooks.
class TabPanel : public OS_TabPanel {
 public:
  TabPanel(Workspace* workspace, WorkspaceFrameBase* frame, bool wantsKeyboardFocus,
           std::string tabType, kivcore::UTF16String name, bool flag = false);
  ~TabPanel() override;

  std::uint32_t GetID() const { return id_; }
  const std::string& GetTabType() const { return tabType_; }
  const kivcore::UTF16String& GetName() const { return name_; }
  const kivcore::UTF16String& GetLabel() const { return label_; }
  Workspace* GetWorkspace() const { return workspace_; }
  WorkspaceFrameBase* GetFrame() const { return frame_; }
  void SetFrame(WorkspaceFrameBase* frame) { frame_ = frame; }
  // The node's own rectangle in its container (the frame is the holding frame above).
  using OS_TabPanel::SetFrame;
  std::uint32_t GetTimeStamp() const { return timeStamp_; }

  void SetName(const kivcore::UTF16String& name);
  void SetLabel(const kivcore::UTF16String& label);
  virtual kivcore::UTF16String GetDisplayName() const { return name_; }
  // A hook for display names; leaves the text unchanged.
  static void TransformDisplayName(kivcore::UTF16String&) {}
  // The panel's position among its frame's tabs.
  bool GetTabIndex(unsigned* index) const;

  virtual void SetTabColor(const ColorRGBA& color);
  virtual ColorRGBA GetTabColor() const { return color_; }

  virtual bool HideWhenClosed() const;
  virtual bool ObliterateWhenClosed() const;
  virtual bool SaveStateWhenObliterated() const;
  virtual bool AllowClose() const { return true; }
  virtual bool AllowTabless() const { return false; }
  virtual void NotifyTopLevelWindowIsClosing() {}
  virtual void NotifyFrameIsClosing() {}
  virtual void NotifyOrientationChanged(bool) {}
  // Takes a fresh time stamp while the panel is in a frame.
  virtual void Touch();
  virtual void NotifyStackedStateChanged(bool) {}
  virtual int GetDimension(TabPanelDimension dimension) const;
  virtual bool IsMultiPaned() const { return false; }
  virtual bool IsLockable() const { return false; }
  virtual bool GetLocked() const { return locked_; }
  virtual void SetLocked(bool locked);
  virtual void ToggleLock() { SetLocked(!GetLocked()); }
  virtual void HandleMultiPaneClick(const kivcore::Rect&) {}
  virtual void PopulateFlyoutMenu(kivui::OSMenu&) {}
  virtual bool DoFlyoutMenuCommand(unsigned) { return false; }
  virtual void AddMultipaneMenuItemsToTabMenu(kivui::OSMenu&) {}
  virtual bool DoMultiPaneMenuCommand(unsigned) { return false; }
  virtual MegaZoomContentTrim GetMegaZoomContentTrim() { return {}; }
  virtual kivcore::RectF GetContentRect() const;

  void SetShowCloseControl() { showCloseControl_ = true; }
  bool GetShowCloseControl() const { return showCloseControl_; }
  void EnableCloseOtherSimilarPanels(bool enable) { closeOtherSimilar_ = enable; }
  bool IsCloseOtherSimilarPanelsEnabled() const { return closeOtherSimilar_; }
  void SetCustomCloseOtherSimilarPanelsDisplayString(const kivcore::UTF16String& text) {
    closeOtherSimilarText_ = text;
  }
  const kivcore::UTF16String& GetCustomCloseOtherSimilarPanelsDisplayString() const {
    return closeOtherSimilarText_;
  }

  // State: "FrameViewFlags" (in a tabbed frame) and then the subclass's own keys.
  void SaveStateData(kivcore::PropList* list) const;
  void LoadStateData(kivcore::PropList* list);

  // Preferred content sizes, scaled to the display.
  void GetSnapSizes(std::vector<kivcore::Point>& sizes) const;
  // The panel's stacked heights changed: a stack holding it asks them again.
  void InvalidateDimensions();

  bool IsFrontmost() const;
  bool IsContentVisible() const;
  bool IsFocused() const;
  bool WantsFocus() const { return wantsFocus_; }

  bool UI_AreAllParentsVisible() const override;
  void UI_Show(bool show) override;
  bool UI_WantsKeyboardFocus() const override { return wantsFocus_; }
  bool UI_DoMouseActivate() override;
  bool UI_DoMouseEvent(kivui::UI_Node* target, const kivui::MouseEvent& event) override;
  void UI_FocusChanged(kivui::FocusChangeReason reason) override;

 protected:
  kivcore::RectF GetInverseScaledRect(const kivcore::RectF& r) const;

 private:
  virtual void DoGetSnapSizes(std::vector<kivcore::Point>&) const {}
  virtual void DoSaveStateData(kivcore::PropList*) const {}
  virtual void DoLoadStateData(kivcore::PropList*) {}

  std::uint32_t id_;
  std::uint32_t timeStamp_ = 0;
  std::string tabType_;
  bool wantsFocus_;
  bool locked_ = false;
  WorkspaceFrameBase* frame_;
  Workspace* workspace_;
  bool closeOtherSimilar_ = false;
  kivcore::UTF16String closeOtherSimilarText_;
  bool flag_;
  bool showCloseControl_ = false;
  kivcore::UTF16String name_;
  kivcore::UTF16String label_;
  ColorRGBA color_;
};

using TabPanelPtr = std::shared_ptr<TabPanel>;

}  // namespace kivworkspace::workspace
