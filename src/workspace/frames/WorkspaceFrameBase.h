#pragma once

#include "layout/Frame.h"
#include "layout/FrameHostInterface.h"
#include "workspace/frames/OS_WorkspaceFrame.h"
#include "workspace/core/TabPanel.h"

namespace kivworkspace::workspace {

class TopLevelWindow;
class Workspace;

// What every frame shares: its leaf in the window's layout tree, the zones the layout
// hands it, the conversion between frame and panel sizes, and the panel notifications.
class WorkspaceFrameBase : public FrameHostInterface, public OS_WorkspaceFrame {
 public:
  explicit WorkspaceFrameBase(TopLevelWindow* window);
  ~WorkspaceFrameBase() override;

  Frame* GetLMFrame() { return &lmFrame_; }
  const Frame* GetLMFrame() const { return &lmFrame_; }
  TopLevelWindow* GetTopLevelWindow() const { return window_; }
  // Moves the frame (and its layout leaf) to another window's layout manager.
  void SetTopLevelWindow(TopLevelWindow* window);
  Workspace* GetWorkspace() const;

  const FrameZones& GetZones() const { return zones_; }
  kivcore::Rect GetFrameRect() const { return zones_[FrameZones::kInterior]; }
  kivcore::Rect GetTabContentRect() const { return zones_[FrameZones::kWhole]; }
  kivcore::Rect GetFrameZoneRect(unsigned i) const { return zones_[i]; }
  // Stores the zones moved so that zone 5 starts at (0, 0).
  void SetZoneRects(const FrameZones& zones);

  // --- FrameHostInterface.
  void SetSizeAndPos(const FrameZones& zones) override;
  void ShowFrame(bool show) override;
  bool IsFrameShown() const override;
  kivcore::Point GetMinimumSize() const override;
  void GetSnapSizes(std::vector<kivcore::Point>& sizes) const override;
  kivcore::Rect FrameRectToTabPanelRect(const kivcore::Rect& frameRect) const override;
  kivcore::Rect FrameRectToTabWellRect(const kivcore::Rect& frameRect) const override;
  kivcore::Rect GetTabPanelFrameGlobalRect() const override;
  kivcore::Rect GetFrameLocalRect() const override;
  kivcore::Rect GetTabWellGlobalRect() const override;
  void* GetHostData() override { return this; }

  // --- Panels.
  virtual kivcore::Rect GetTabPanelRect() const = 0;           // local
  virtual kivcore::Rect GetTabWellRect() const { return {}; }  // local
  virtual unsigned GetTabCount() const = 0;
  virtual int GetFrontTabIndex() const = 0;
  virtual TabPanelPtr GetTabPanel(unsigned index) const = 0;
  virtual TabPanelPtr DetachTabPanel(unsigned index) = 0;
  TabPanelPtr GetFrontTabPanel() const;
  virtual bool TabsAreReorderable() const { return false; }
  virtual int GetTabPosition() const { return 0; }
  virtual void TabPanelNameChanged(const TabPanel&) {}
  virtual void TabPanelLabelChanged(const TabPanel&) {}
  virtual void TabColorChanged(const TabPanel&) {}
  virtual void TabPanelLockedChanged(const TabPanel&) {}

  // Where the panel area starts inside the frame.
  virtual kivcore::Point GetTabPanelOffset() const;
  // Frame size and panel size: the edges (scaled) and, in tabbed frames, the tab well.
  virtual void ConvertTabToFrameSize(kivcore::Point& size) const;
  virtual void ConvertFrameToTabSize(kivcore::Point& size) const;
  kivui::OS_ScaledView GetScaleMatrix() const;

  void UI_Draw(kivui::Drawbot& drawbot, const kivcore::RectF& dirty) override;
  void UI_SetParent(kivui::UI_Container* parent) override;

 protected:
  // Places the frame's own content (tab well, panels) after the zones changed.
  virtual void UpdateLayout() {}
  // The frame shows the window's focus: an accent outline.
  bool IsActiveFrame() const;

 private:
  TopLevelWindow* window_;
  Frame lmFrame_;
  FrameZones zones_;
};

}  // namespace kivworkspace::workspace
