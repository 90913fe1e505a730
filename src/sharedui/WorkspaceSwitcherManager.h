#pragma once
// The model behind the workspace switcher: the names of one workspace manager divided into
// the workspaces shown in the switcher bar, those in its overflow menu and those not shown,
// in the user's order, with the bar's width. It follows the manager's names (a new name is
// shown at the end of the bar, a name that comes back regains its place) and is saved as a
// JSON text in the host's preferences.

#include "services/core/Strings.h"
#include "workspace/manager/MenuHelperBase.h"

#include <list>
#include <map>
#include <memory>
#include <vector>

namespace kivworkspace::workspace {
class ManagerBase;
}

namespace kivworkspace::sharedui {

class WorkspaceSwitcherListener;

class WorkspaceSwitcherManager : public workspace::MenuHelperBase {
 public:
  using NameList = std::vector<kivcore::UTF16String>;

  // The one instance, made on first use.
  static WorkspaceSwitcherManager* Get();
  // Drops the instance, leaving its manager; the next Get() makes a fresh one. For a host
  // that closes its workspace for good, and for tests.
  static void Forget();

  // Follows this manager from now on, leaving the one followed before.
  void AttachWorkspaceManager(workspace::ManagerBase* manager);
  workspace::ManagerBase* GetWorkspaceManager() const { return manager_; }

  void AddListener(WorkspaceSwitcherListener* listener);
  void RemoveListener(WorkspaceSwitcherListener* listener);
  // Tells every listener but `except`; then clears the shown-list-reset flag.
  void NotifyListeners(WorkspaceSwitcherListener* except);

  // The lists themselves, for the bar and the Edit Workspaces dialog to edit.
  NameList* GetShownWorkspaceList() { return &shown_; }
  NameList* GetOverflowWorkspaceList() { return &overflow_; }
  NameList* GetHiddenWorkspaceList() { return &hidden_; }
  // Set by an editor that reordered the shown list, so that the bar measures it afresh.
  bool GetShownWorkspaceListReset() const { return shownListReset_; }
  void SetShownWorkspaceListReset(bool reset) { shownListReset_ = reset; }

  float GetWorkspaceSwitcherWidth() const { return width_; }
  void SetWorkspaceSwitcherWidth(float width) { width_ = width; }
  bool HasWorkspaceSwitcherWidth() const { return width_ >= 1.0f; }
  bool IsWorkspaceSwitcherUnset() const { return width_ < 0.0f; }

  // The lists and the width as JSON text, and back. A text that is not JSON or has no
  // "version" changes nothing and returns false (with the reason in `error`).
  kivcore::UTF8String GetData() const;
  bool SetData(const kivcore::UTF8String& text, std::string* error = nullptr);

  void SetCurrentWorkspace(const kivcore::UTF16String& name);
  // Deletes the workspaces; the current one goes last, after another has become current.
  void DeleteWorkspaces(std::list<kivcore::UTF16String>& names);
  // Renames the workspaces, each keeping its place in the lists. A rename waits until its
  // new name is free (B to B2 goes before A to B), and workspaces whose names go round
  // (A to B, B to A) pass through a temporary name. Errors of the manager pass out.
  void RenameWorkspaces(std::map<kivcore::UTF16String, kivcore::UTF16String>& oldToNew);

  // The lists as the user arranged them become the places that names coming back return
  // to; a name that is gone keeps its place after the name it followed.
  void SnapshotLists();

  // Brings the lists in step with the manager's names and tells the listeners.
  void RebuildMenu() override;
  // Nests: while rebuilding is off, RebuildMenu only notes that it was asked, and the
  // last caller to turn it on again rebuilds once. For an editor that changes the manager
  // in several steps whose middle states would move names to other lists.
  void SetRebuildEnabled(bool enabled);
  void NewActiveWorkspace(const kivcore::UTF16String&) override {}
  void WorkspaceRenamed(const kivcore::UTF16String& from, const kivcore::UTF16String& to) override;
  void ManagerDestroyed() override { manager_ = nullptr; }

 private:
  WorkspaceSwitcherManager() = default;
  friend struct std::default_delete<WorkspaceSwitcherManager>;

  bool IsListed(const kivcore::UTF16String& name) const;
  // Renames one workspace, the new name taking the old one's place in its list.
  void RenameInPlace(const kivcore::UTF16String& from, const kivcore::UTF16String& to);
  // A name that neither the manager nor the lists nor the renames still to come use.
  kivcore::UTF16String UnusedName(
      const kivcore::UTF16String& base,
      const std::map<kivcore::UTF16String, kivcore::UTF16String>& pending) const;

  static std::unique_ptr<WorkspaceSwitcherManager> S_instanceP;

  std::vector<WorkspaceSwitcherListener*> listeners_;
  workspace::ManagerBase* manager_ = nullptr;
  NameList shown_;
  NameList shownSnapshot_;
  NameList overflow_;
  NameList overflowSnapshot_;
  NameList hidden_;
  bool shownListReset_ = false;
  float width_ = -1.0f;
  int rebuildDisable_ = 0;
  bool rebuildAsked_ = false;
};

}  // namespace kivworkspace::sharedui
