#pragma once

#include "layout/DropZone.h"
#include "layout/LayoutManagerV1.h"
#include "workspace/drag/DropZoneOverlayWindow.h"
#include "workspace/windows/OS_TopLevelWindow.h"
#include "workspace/frames/WorkspaceFrame.h"

#include <memory>
#include <vector>

namespace kivworkspace::workspace {

class EdgeDropZoneOverlayWindow;
class FrameDropZoneOverlayWindow;
class TablessWorkspaceFrame;
class TabDragger;
class Workspace;

// One window of the workspace: the main window or a floating one. It owns the window's
// layout manager and hosts its frames (as child nodes), keeps frames that were closed but
// can come back, lays out on size changes, shows the bar cursors, and answers the
// geometry of its edge drop zones.
class TopLevelWindow : public OS_TopLevelWindow {
 public:
  using InsertionType = LayoutManager::InsertionType;
  enum MegaZoomType { kZoomToMonitor = 0, kZoomContentToMonitor = 1, kZoomToPreferredSize = 2 };

  TopLevelWindow(Workspace* workspace, bool interim);
  ~TopLevelWindow() override;

  Workspace* GetWorkspace() const { return workspace_; }
  LayoutManagerV1& GetLayoutManager() const { return *layout_; }
  bool IsInterim() const { return interim_; }
  void MakePermanent() { interim_ = false; }
  bool IsMain() const { return main_; }
  void SetMain(bool main) { main_ = main; }
  bool AcceptsTabs() const { return acceptsTabs_; }
  void SetAcceptsTabs(bool accepts) { acceptsTabs_ = accepts; }
  // A node of the host's own (a menu bar) kept across the top of the window, `height`
  // pixels high; the frames are laid out below it.
  void SetTopChrome(std::shared_ptr<kivui::UI_Node> chrome, int height);
  // The rectangle the frames are laid out in, in window coordinates, and on the screen.
  kivcore::Rect GetClientRect() const;
  kivcore::Rect GetGlobalClientRect() const;

  // --- LayoutManagerHostInterface.
  bool GetSplitterSnappingEnabled() override;
  bool GetLayoutEnabled() override;
  int GetTabMinHeight() override;
  int GetTabMinWidth() override;

  // --- Frames.
  // A tabbed frame of this window. By default its view state is the one a restore gives a
  // frame (DefaultFrameViewFlags), so that saving and restoring it changes nothing.
  virtual WorkspaceFramePtr CreateWorkspaceFrame(unsigned stackedViewFlags);
  WorkspaceFramePtr CreateWorkspaceFrame() { return CreateWorkspaceFrame(DefaultFrameViewFlags()); }
  // 0 while stacked panels are enabled; otherwise 8, which a frame takes as small tabs only.
  static unsigned DefaultFrameViewFlags();
  // A frame showing its panels one under another.
  virtual WorkspaceFramePtr CreateStackedWorkspaceFrame(unsigned stackedViewFlags);
  // A stack when the flags (below 8) have the stacked bit, else a tabbed frame.
  WorkspaceFramePtr CreateFrameForViewFlags(unsigned stackedViewFlags);
  // Replaces the frame in the tree by one of the other kind (stacked or tabbed) holding the
  // same panels, closed panels and front panel; returns the new frame (the frame itself
  // when it already is of that kind).
  WorkspaceFrame* ToggleStackedFrame(bool stacked, WorkspaceFrame* frame);
  // A new frame beside target (the whole tree when null) holding the panels.
  WorkspaceFrame* AddTabbedFrame(WorkspaceFrameBase* target, const std::vector<TabPanelPtr>& panels,
                                 InsertionType side);
  WorkspaceFrame* AddTabbedFrame(WorkspaceFrameBase* target, const std::string& type,
                                 InsertionType side);
  // Inserts a frame (taken from another window, or from none) unchanged beside target.
  WorkspaceFrame* AddTabbedFrame(WorkspaceFrameBase* target, const WorkspaceFramePtr& frame,
                                 InsertionType side);
  // Merges a whole frame that is in no tree into target: its panels go in at `index`, and
  // so do its closed panels, except removed-panel records of types target has a record of,
  // which stay in a placeholder beside target (as if the frame had been closed there).
  void MergeFrame(WorkspaceFrame& target, const WorkspaceFramePtr& frame, unsigned index);
  // A root frame holding a new panel of the type (null, and nothing changed, when no
  // creator makes one) or the panel; the panel gets the focus when `focus` is set, and the
  // window lays out at once when `layout` is set (otherwise at its next size change).
  WorkspaceFrame* CreateRootFrame(const std::string& type, bool focus, bool layout);
  WorkspaceFrame* CreateRootFrame(const TabPanelPtr& panel, bool focus, bool layout = true);
  void SetRootFrame(const WorkspaceFramePtr& frame, bool layout = true);
  // Installs a new tree (its root holder) whose frames are `frames`, made by this window:
  // ends maximizing, drops the frames of the old tree and adopts the new ones. The caller
  // lays out.
  void ResetRootFrame(std::unique_ptr<Splitter> rootHolder,
                      const std::vector<WorkspaceFramePtr>& frames);
  void RemoveFrame(WorkspaceFrameBase* frame, bool keep);
  bool ReanimateFrame(const TabPanelPtr& panel);
  bool ReanimateFrame(const std::string& type);
  bool CanReanimateFrame(const std::string& type) const;
  bool CanReanimateFrame(const TabPanelPtr& panel) const;
  bool HasReanimatableFrames() const { return layout_->HasAnyReanimatableFrames(); }
  void AddHiddenFrame(const WorkspaceFramePtr& frame) { hiddenFrames_.push_back(frame); }
  void DestroyHiddenFrames();
  const std::vector<WorkspaceFramePtr>& GetHiddenFrames() const { return hiddenFrames_; }
  // Frames laid out in the window, in child order.
  std::vector<WorkspaceFrameBase*> GetFrames() const;
  std::vector<WorkspaceFrame*> GetTabbedFrames() const;
  unsigned GetFrameCount() const { return unsigned(GetFrames().size()); }
  WorkspaceFrameBase* GetFrame(unsigned index) const;
  // The frame at the root of the tree, else the first frame in tree order; null when empty.
  WorkspaceFrame* GetRootFrame() const;
  WorkspaceFrameBase* GetFrameFromLMFrame(const Frame* frame) const;
  WorkspaceFrameBase* GetFrameFromPos(kivcore::Point global) const;
  kivcore::Rect GetFrameGlobalRect(const WorkspaceFrameBase& frame) const;
  bool HasSingleWorkspaceFrame() const { return GetFrameCount() == 1; }
  TabPanel* GetLastTouchedTabPanel() const;
  // Closes the panels and removes the frames they leave empty. With applyPolicy (the user
  // closes the window) each panel's close policy applies and panels that refuse to close
  // stay; without, every panel goes.
  void RemoveTabPanels(bool applyPolicy);
  void DestroyTabPanels();
  // Maximizes the frame (null restores): the others are hidden until it is restored.
  void SetMaximizedFrame(WorkspaceFrameBase* frame);
  WorkspaceFrameBase* GetMaximizedFrame() const;
  bool CanHaveMaximizedFrame() const { return GetFrameCount() > 1 || GetMaximizedFrame(); }

  // --- Edge drop zones, in global coordinates.
  kivcore::Rect GetDropArea() const;
  DropZone::DropType GetEdgeDropZone(kivcore::Point global, kivcore::Rect& rect,
                                     std::vector<kivcore::Point>& polygon) const;
  void GetEdgeDropZoneRect(DropZone::DropType type, kivcore::Rect& out, bool hitTest) const;
  void CalculateDropZoneExclusionsForEdges(const kivcore::Rect& frameGlobal,
                                           std::vector<int>& out) const;

  // --- Static elements: panels pinned to a side of the window in tabless frames, outside
  // the splitter tree (GetFrames leaves them out). A border element among them learns its
  // side, and the layout lets it be resized when the element says it can be.
  virtual std::shared_ptr<TablessWorkspaceFrame> CreateTablessFrame();
  // Replaces the element on that side (kCentre is not a side here).
  void SetStaticElement(const TabPanelPtr& panel, InsertionType side, bool relayout);
  void SetStaticElement(const std::string& type, InsertionType side, bool relayout);
  TabPanel* GetStaticElement(InsertionType side) const;
  TablessWorkspaceFrame* GetBorderFrame(InsertionType side) const;
  // kCentre asks for the static tabless frame that takes the tree's place.
  bool HasStaticElement(InsertionType side) const;
  TablessWorkspaceFrame* GetStaticTablessFrame() const;
  // Takes the element off the window; its panel goes with its frame.
  void RemoveStaticElement(InsertionType side, bool relayout);
  // The side the frame is pinned to, or -1 when it is not a static frame of this window.
  int GetStaticElementSide(const WorkspaceFrameBase& frame) const;

  // --- The drop-zone overlay shown while a tab is dragged over the window: at most one.
  DropZoneOverlayWindow* GetDropZoneOverlay() const { return overlay_.get(); }
  EdgeDropZoneOverlayWindow* GetEdgeDropZoneOverlay() const;
  FrameDropZoneOverlayWindow* GetFrameDropZoneOverlay() const;
  // The overlay for the drag at the global point: a window-edge zone when one is hit and
  // edge drops are allowed, else the zones of `frame` (none when null). Replaces the
  // current overlay; null (and no overlay) when there is nothing to offer.
  DropZoneOverlayWindow* CreateDropZoneOverlay(TabDragger* dragger, kivcore::Point global,
                                               WorkspaceFrame* frame);
  DropZoneOverlayPtr CreateEdgeDropZoneOverlay(TabDragger* dragger, kivcore::Point global);
  DropZoneOverlayPtr CreateFrameDropZoneOverlay(TabDragger* dragger, kivcore::Point global,
                                                WorkspaceFrame* frame);
  void DestroyDropZoneOverlay();
  // The drop zones of a frame of this window, clear of the window-edge zones.
  std::vector<DropZone> GetFrameDropZones(WorkspaceFrame& frame) const;
  // Whether the drag may drop along this window's edges.
  bool AllowsEdgeDrops(const TabDragger& dragger) const;
  // Moves this window (a drag window) so that the grip of what it carries (the front tab,
  // or the tab well for a whole frame) lies under the global point.
  void SetDragPosition(kivcore::Point global, bool wholeFrame);

  // --- Zoom.
  virtual bool CanMegaZoom() const { return false; }
  void MegaZoom(MegaZoomType type, bool flag, const kivcore::Rect* monitor);
  void MegaZoomToggle(bool flag);
  bool IsMegaZoomedToWindow() const;
  bool IsMegaZoomedToPreferredSize() const;
  bool CanZoomToPreferredPanelSize() const;
  kivcore::Point GetSingleWorkspaceFramePreferredTabSize() const;
  kivcore::Rect GetMegaZoomMonitor(bool flag) const;
  void SetToGlobalTabSize(const kivcore::Rect& globalTabRect);

  void Activate(bool);

  void UI_SizeChanged(const kivcore::RectF& newBounds) override;
  bool UI_DoCursor(kivcore::PointF local) override;
  // A press of the first button on a bar starts dragging it (and a crossing's both bars).
  bool UI_DoMouseEvent(kivui::UI_Node* target, const kivui::MouseEvent& event) override;
  // Pen and touch presses near a bar start dragging it.
  bool UI_DoPrePointerEvent(const kivui::PointerEvent& event) override;
  bool IsTouchDragging() const { return touchDrag_; }
  // Half the side of the square a pen or touch press tests for bars, at the display scale.
  int GetTouchHitHalfSize(bool pen) const;
  void UI_Draw(kivui::Drawbot& drawbot, const kivcore::RectF& dirty) override;
  // The window system closes the window: see Workspace::ChildRequestRemove.
  bool UI_DuringClose() override;

 private:
  WorkspaceFrame* AdoptFrame(const WorkspaceFramePtr& frame);
  bool IsStaticFrame(const WorkspaceFrameBase& frame) const;
  TablessWorkspaceFrame* TablessFrameOf(const Frame* frame) const;
  void ForgetFrame(WorkspaceFrameBase* frame);
  WorkspaceFrame* ReanimateInto(FrameDataProxy* placeholder, const WorkspaceFramePtr& frame);
  // Starts a splitter drag for the bars under the rectangle (window coordinates) at the
  // global point.
  enum class SplitterDragStart { kNoDragger, kStarted, kCancelled };
  SplitterDragStart BeginSplitterDrag(const kivcore::Rect& hit, kivcore::Point global);
  // A window without frames offers its whole drop area as one zone.
  DropZoneOverlayPtr CreateWholeAreaOverlay(TabDragger* dragger);
  // Makes the overlay's native window; null when that fails.
  static DropZoneOverlayPtr ShowOverTarget(DropZoneOverlayPtr overlay);

  Workspace* workspace_;
  bool interim_;
  bool main_ = false;
  bool acceptsTabs_ = true;
  std::unique_ptr<LayoutManagerV1> layout_;
  std::vector<WorkspaceFramePtr> hiddenFrames_;
  int topInset_ = 0;
  bool touchDrag_ = false;
  std::shared_ptr<kivui::UI_Node> topChrome_;
  DropZoneOverlayPtr overlay_;
};

using TopLevelWindowPtr = std::shared_ptr<TopLevelWindow>;

}  // namespace kivworkspace::workspace
