#pragma once

#include "layout/LayoutManager.h"
#include "workspace/drag/OS_Tracker.h"
#include "workspace/core/OS_Workspace.h"
#include "workspace/core/PanelPool.h"
#include "workspace/core/TabCreator.h"
#include "workspace/core/TabPanel.h"
#include "workspace/windows/WindowReanimateData.h"

#include "services/ui/draw/Image.h"

#include <array>
#include <list>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kivworkspace::workspace {

class TopLevelWindow;
class WorkspaceFrame;
struct RestoreReport;

// The root of the docking model: the container of the top-level windows, the registry of
// tab creators, the source of panel IDs and time stamps, the owner of the drag in
// progress, and the memory of closed windows. Hosts derive from it for the notification
// hooks.
class Workspace : public OS_Workspace {
 public:
  using InsertionType = LayoutManager::InsertionType;

  Workspace();
  ~Workspace() override;

  // --- Tab creators. A second creator for a registered type is refused (and destroyed);
  // the one registered is returned.
  TabCreator* RegisterTabCreator(std::unique_ptr<TabCreator> creator);
  std::unique_ptr<TabCreator> UnregisterTabCreator(const std::string& type);
  const TabCreator* FindCreator(const std::string& type) const;
  bool TabTypeHidesWhenClosed(const std::string& type) const;
  bool TabTypeObliteratesWhenClosed(const std::string& type) const;
  bool TabTypeSavesStateWhenObliterated(const std::string& type) const;
  // A new panel of the type, or null when no creator makes it.
  TabPanelPtr CreateTabPanel(const std::string& type, WorkspaceFrameBase* frame);

  // --- IDs and time stamps.
  std::uint32_t NewUniqueID() { return uniqueID_++; }
  std::uint32_t FreshTabTimeStamp() { return ++timeStamp_; }
  void SetFreshTabTimeStamp(std::uint32_t stamp) { timeStamp_ = stamp; }

  // --- Top-level windows.
  virtual std::shared_ptr<TopLevelWindow> CreateMainTopLevelWindow(const kivcore::Rect& rect);
  virtual std::shared_ptr<TopLevelWindow> CreateTopLevelWindow(bool orphan,
                                                               const kivcore::Rect* rect);
  std::shared_ptr<TopLevelWindow> AddTopLevelWindow(bool orphan, const kivcore::Rect* rect);
  // An interim window becomes an ordinary one: opaque, taking focus, permanent.
  void MakeWindowPermanent(const std::shared_ptr<TopLevelWindow>& window);
  // An interim window, shown at 80 % opacity at the global rectangle, carrying dragged
  // panels (in a new frame) or a dragged frame until the drag ends.
  virtual std::shared_ptr<TopLevelWindow> CreateDragSrcWindow(
      const std::vector<TabPanelPtr>& panels, const kivcore::Rect& rect);
  virtual std::shared_ptr<TopLevelWindow> CreateDragSrcWindow(
      const std::shared_ptr<WorkspaceFrame>& frame, const kivcore::Rect& rect);
  void RemoveWindow(TopLevelWindow* window, bool keepData);
  // Closes a top-level window (see the notes in Workspace.cpp); false when it stays.
  virtual bool ChildRequestRemove(const std::shared_ptr<kivui::UI_Node>& node);
  TopLevelWindow* GetMainTopLevelWindow() const;
  std::vector<TopLevelWindow*> GetWindows() const;
  void InvalidateTopLevelWindows();
  void UpdateNowTopLevelWindows();
  void ReLayoutTopLevelWindows();
  void BringAppToFront();
  // Task-bar progress of the main window: DoSetDockProgress runs only when the percentage
  // changes (the last one shown is process-wide, 100 at start).
  void DrawDockProgress(int current, int total);

  // --- Panels.
  TabPanel* GetFocusedTabPanel() const;
  void SetFocusedTabPanel(TabPanel* panel);
  void TabPanelGainedFocus(TabPanel* panel);
  TabPanel* GetLastTouchedTabPanel() const;
  TabPanel* GetTabPanelFromPos(kivcore::Point global) const;
  virtual TabPanel* NewTabInFocused(const std::string& type);
  virtual WorkspaceFrame* NewFrameInFocused(const std::string& type, InsertionType side);
  virtual bool RemoveTab(WorkspaceFrame* frame, int index, bool applyPolicy, bool notify);
  virtual bool RemoveTab(WorkspaceFrame* frame, TabPanel* panel, bool applyPolicy, bool notify);
  void RemoveTabPanels();
  void DestroyTabPanels();
  void FindAllHiddenTabs(std::list<TabPanelPtr>& out);
  // Every panel of the workspace for a new arrangement to reuse: each open panel taken out
  // of its frame (tab order), then the hidden panels and those of closed-window records.
  PanelPool GatherPanels();
  // The panels a new arrangement did not reuse go: the host hears of each through
  // NotifyPreOrphaning and NotifyOrphaning.
  void ReleasePanels(PanelPool& pool);

  // --- The closed-window records in a workspace definition ("FrameReanimMax",
  // "FrameReanim-" n); reading replaces the records, taking their panels from the pool.
  void SaveWorkspaceData(kivcore::PropList& list) const;
  // Only the records the list holds are read, whatever "FrameReanimMax" says; a record whose
  // window ("WinSerData") is not a property list is forgotten. Those, and keys missing or of
  // another type, are noted in the report when one is given.
  void ReadWorkspaceData(const kivcore::PropList& list, PanelPool& pool,
                         RestoreReport* report = nullptr);

  // --- Closed windows.
  bool CanReanimateWindow(const std::string& type) const;
  bool CanReanimateWindow(const TabPanelPtr& panel) const;
  bool ReanimateWindow(const std::string& type);
  bool ReanimateWindow(const TabPanelPtr& panel);
  void ClearRemovedWindowData() { removedWindows_.clear(); }
  const std::list<std::shared_ptr<WindowReanimateData>>& GetRemovedWindowData() const {
    return removedWindows_;
  }

  // --- Chrome images, loaded by name through the UI resources when first asked for; a
  // null image when the resource is missing.
  enum WorkspaceImage { kCloseBoxImage = 0, kGripperImage = 1, kDownArrowImage = 2 };
  const kivui::Image& GetImage(WorkspaceImage which);

  // --- Touch windows: none on this platform.
  TopLevelWindow* GetMainTouchTopLevelWindow() const { return nullptr; }
  TopLevelWindow* GetMainTouchCandidateWindow() const { return nullptr; }

  // --- Settings.
  bool GetLayoutEnabled() const { return layoutDisable_ == 0; }
  // false disables (counts up), true enables (counts down): calls nest.
  void SetLayoutEnabled(bool enabled) { layoutDisable_ += enabled ? -1 : 1; }
  bool GetSplitterSnappingEnabled() const { return splitterSnapping_; }
  void SetSplitterSnappingEnabled(bool enabled) { splitterSnapping_ = enabled; }
  static bool GetStackedTabPanelsEnabled();
  static void SetStackedTabPanelsEnabled(bool enabled);
  static bool GetDragTabSoundFeedbackEnabled();
  static void SetDragTabSoundFeedbackEnabled(bool enabled);
  bool GetCreateTabPanelAssertionMode() const { return assertionMode_ != 0; }
  void SetCreateTabPanelAssertionMode(bool on) { assertionMode_ += on ? 1 : -1; }
  virtual int GetTabMinWidth() const { return 35; }

  // --- The drag in progress. The window given captures the input until the drag ends.
  // A tracker for dragging the bars of the window under the rectangle (window
  // coordinates): a SplitterDragger.
  virtual std::unique_ptr<OS_Tracker> AcquireSplitterDragger(TopLevelWindow* window,
                                                             const kivcore::Rect& rect);
  // A tracker for dragging a tab of the frame, or the whole frame: a TabDragger.
  virtual std::unique_ptr<OS_Tracker> AcquireTabDragger(WorkspaceFrame* frame, bool wholeFrame,
                                                        unsigned index);
  void SetTracker(std::unique_ptr<OS_Tracker> tracker, TopLevelWindow* capturer);
  // The drag's input moves from a window about to go to another one.
  void MoveTrackerCapture(TopLevelWindow* from, TopLevelWindow* to);
  OS_Tracker* GetTracker() const override { return tracker_.get(); }
  void ReleaseTracker(bool cancel) override;

  // --- Notification hooks, empty here.
  // The user's workspace commands, reached from the switcher bar, the workspaces popup and
  // the host's menus; a host overrides them to run the commands on its workspace manager.
  virtual void DoWorkspaceCmdNew() {}
  virtual void DoWorkspaceCmdSave() {}
  virtual void DoWorkspaceCmdDelete() {}
  virtual void DoWorkspaceCmdReset() {}
  // Unless a host overrides it, runs the default Edit command (see SetDefaultEditCommand).
  virtual void DoWorkspaceCmdEdit();
  // What Edit Workspaces... does in a workspace whose host does not override
  // DoWorkspaceCmdEdit: the switcher registers its dialog here when a bar is made, so that
  // the bar's Edit Workspaces... works in any host. UI thread only.
  static void SetDefaultEditCommand(std::function<void(Workspace&)> command);

  virtual void NotifyObliterating(TabPanel*) {}
  virtual void NotifyPreOrphaning(TabPanel*) {}
  virtual void NotifyOrphaning(TabPanel*) {}
  virtual void NotifyRestoreWorkspaceBegin() {}
  virtual void NotifyRestoreWorkspaceEnd() {}
  virtual void NotifyWorkspaceReverted() {}
  virtual void NotifyWorkspaceSwitched() {}
  virtual void NotifyTabDragBegin(TabPanel*) {}
  virtual void NotifyTabDragEnd(TabPanel*) {}
  virtual void NotifySplitterDragBegin(TopLevelWindow*) {}
  virtual void NotifySplitterDragEnd(TopLevelWindow*) {}
  virtual void NotifyTopLevelUserResizeBegin(TopLevelWindow*, bool) {}
  virtual void NotifyTopLevelUserResizeEnd(TopLevelWindow*, bool) {}
  virtual void OnTopLevelWindowActivated(TopLevelWindow*) {}
  virtual void OnTabPanelGainedFocus(TabPanel*) {}

 protected:
  // Shows task-bar progress; nothing on this platform.
  virtual void DoSetDockProgress(bool /*show*/, int /*current*/, int /*total*/) {}

 private:
  bool ReanimateRecord(const WindowReanimateData& record, const std::string* type,
                       const TabPanelPtr& panel);
  // A new floating window whose root frame holds a new panel of the type; null (and no
  // window) when no creator makes the type.
  WorkspaceFrame* NewFloatingRootFrame(const std::string& type);
  std::shared_ptr<TopLevelWindow> NewDragSrcWindow(const kivcore::Rect& rect,
                                                   std::shared_ptr<WorkspaceFrame> frame,
                                                   const std::vector<TabPanelPtr>& panels);
  void ForEachWindowEmptying(bool destroy);

  std::unique_ptr<OS_Tracker> tracker_;
  TopLevelWindow* trackerCapturer_ = nullptr;
  std::uint32_t timeStamp_ = 0;
  std::uint32_t uniqueID_ = 0;
  int assertionMode_ = 0;
  std::map<std::string, std::unique_ptr<TabCreator>> creators_;
  bool splitterSnapping_ = true;
  bool focusGuard_ = false;
  int layoutDisable_ = 0;
  std::list<std::shared_ptr<WindowReanimateData>> removedWindows_;
  bool keepRemovedWindowData_ = true;
  std::array<std::optional<kivui::Image>, 3> images_;
};

}  // namespace kivworkspace::workspace
