#pragma once
// The workspace switcher bar: a row of workspace tabs (a click switches), an overflow menu
// of those that do not fit ending with "Edit Workspaces...", a menu of commands on the
// current workspace's tab, and a handle that widens or narrows the row, moving workspaces
// between the bar and the overflow menu. It follows the switcher model and the manager.

#include "services/core/Strings.h"
#include "services/ui/node/UI_Container.h"
#include "sharedui/WorkspaceSwitcherBarDragTarget.h"
#include "sharedui/WorkspaceSwitcherListener.h"
#include "workspace/manager/MenuHelperBase.h"

#include <memory>
#include <optional>

namespace kivworkspace::workspace {
class ManagerBase;
class Workspace;
}

namespace kivworkspace::sharedui {

class WorkspaceSwitcherBarDragHandle;
class WorkspaceSwitcherBarTabWell;

class WorkspaceSwitcherBar : public kivui::UI_Container,
                             public workspace::MenuHelperBase,
                             public WorkspaceSwitcherListener,
                             public WorkspaceSwitcherBarDragTarget {
 public:
  // The commands of the current workspace's tab menu, by their place in it.
  enum TabMenuCommand { kResetToSavedLayout = 1, kSaveChanges = 2, kSaveAsNew = 3, kEditWorkspaces = 5 };

  explicit WorkspaceSwitcherBar(workspace::ManagerBase& manager);
  ~WorkspaceSwitcherBar() override;

  void NewActiveWorkspace(const kivcore::UTF16String& name) override;
  void ManagerDestroyed() override { managerGone_ = true; }
  void RebuildMenu() override {}
  void WorkspacesConfigurationChanged() override;

  void SetAlignment(WorkspaceSwitcherAlignment alignment);
  WorkspaceSwitcherAlignment GetAlignment() const override { return alignment_; }
  float GetMinimumSize() const;
  float GetRecommendedPadding() const { return 6; }
  float MeasuredNonTabWellWidth() const;

  WorkspaceSwitcherBarTabWell& GetTabWell() { return *tabWell_; }
  WorkspaceSwitcherBarDragHandle& GetDragHandle() { return *handle_; }
  int GetFrontmostIndex() const { return frontmost_; }

  // Lays the tab row and the handle out in the bar.
  void UpdateLayout();
  // Writes the model's lists from the tabs: the visible ones are the bar's.
  void SyncToWorkspaceSwitcherManager();
  // Opens Edit Workspaces, the library's dialog, once the current event is over.
  void OpenDialog();
  // The current workspace's commands, as a context menu at the point or under the tab.
  void DoTabMenu(int index, bool asContextMenu, kivcore::PointF global);
  // The overflow menu: the tabs that do not fit, then "Edit Workspaces...".
  void ShowOverflowMenu(kivcore::PointF global);

  void DragChange(float size) override;
  void DragEnd() override;
  float GetStartDragSize() const override;
  float GetMinDragSize() const override;
  float GetMaxDragSize() const override;

  void UI_Invalidate() override;
  void UI_SizeChanged(const kivcore::RectF& newBounds) override;
  void UI_DoTimerNotify(int id) override;

 private:
  // Registers with the manager the first time the bar is drawn or placed.
  void EnsureRegistered();
  void OnTabClicked(int id);
  float Multiplier() const { return alignment_ == 0 ? 2.0f : 1.0f; }
  float HandleWidth() const;
  float MeasuredWidth() const;
  // The switch runs from the bar's timer, after the event that asked for it.
  void SwitchLater(const kivcore::UTF16String& name);
  void SwitchTo(const kivcore::UTF16String& name);
  // The tab menu opens from the bar's timer: under the tab, or at a context click's point.
  void OpenTabMenuLater(int index, std::optional<kivcore::PointF> contextAt);
  // The default Edit Workspaces... of a workspace whose host runs no dialog of its own.
  static void EditWorkspaces(workspace::Workspace& workspace);

  std::shared_ptr<WorkspaceSwitcherBarTabWell> tabWell_;
  std::shared_ptr<WorkspaceSwitcherBarDragHandle> handle_;
  workspace::ManagerBase& manager_;
  int frontmost_ = -1;
  kivcore::UTF16String current_;
  bool registered_ = false;
  bool managerGone_ = false;
  bool rebuildPending_ = true;
  bool rebuilding_ = false;
  bool shownListWasReset_ = false;
  float extraWidth_ = 0;
  bool useSavedWidth_ = true;
  bool widthChangedByDrag_ = false;
  WorkspaceSwitcherAlignment alignment_ = 0;
  int pendingTabMenu_ = -1;
  std::optional<kivcore::PointF> pendingTabMenuAt_;
  kivcore::UTF16String pendingSwitch_;
};

}  // namespace kivworkspace::sharedui
