#pragma once
// The named workspaces of one Workspace and the switching of its live layout between them.
//
// A named workspace is built-in (made in code by the host's built-in provider), system (a
// definition file in the system provider's folder) or the user's own. For each name the
// manager may hold three stored definitions: the current state (the layout as the user
// last left it), the archived state (what a reset of a user workspace returns to) and the
// system definition. Where they are stored is left to the hooks; Manager keeps them in
// files. All operations run on the UI thread.

#include "services/core/PropList.h"
#include "services/core/Strings.h"
#include "workspace/manager/WorkspaceEntryImplData.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <vector>

namespace kivworkspace::workspace {

class BuiltInWorkspaceProviderBase;
class MenuHelperBase;
class SystemWorkspaceProviderBase;
class Workspace;
class WorkspaceBuilder;

// The manager's errors: kivcore errors of category kManagerErrorCategory.
inline constexpr int kManagerErrorCategory = 102;
enum ManagerError : int {
  kAlreadyInitialized = 24,
  kNotInitialized = 25,
  kWorkspaceAlreadyExists = 26,
  kCannotCreateWorkspace = 27,
  kUnknownWorkspace = 28,
  kCannotRenameWorkspace = 29,
};

class ManagerBase {
 public:
  using EntryMap = std::map<kivcore::UTF16String, std::unique_ptr<WorkspaceEntryImplData>>;

  // The files a workspace's states are stored in; empty for a state it does not have.
  struct StoredStates {
    kivcore::UTF16String current, archived, system;
  };
  // A stored definition that was left out, and why.
  struct SkippedFile {
    kivcore::UTF16String path;
    std::string reason;
  };

  ManagerBase(Workspace& workspace, BuiltInWorkspaceProviderBase* builtIns,
              SystemWorkspaceProviderBase* system, bool sizeMainFrame);
  ManagerBase(Workspace& workspace, BuiltInWorkspaceProviderBase* builtIns, bool sizeMainFrame);
  virtual ~ManagerBase();
  ManagerBase(const ManagerBase&) = delete;
  ManagerBase& operator=(const ManagerBase&) = delete;

  // Finds the workspaces: the settings cache, the built-in names, the system and user ones.
  void Initialize();
  // Switches the live layout to the workspace, saving the one it leaves first. False when
  // the workspace cannot be built or restored; the current workspace then stays.
  bool SetCurrentWorkspace(const kivcore::UTF16String& name);
  // A new user workspace holding the live layout, made current.
  void CreateUserWorkspace(const kivcore::UTF16String& name);
  // Makes the live layout both the current and the archived state of a workspace that
  // exists, and makes it current: a built-in or system workspace becomes the user's own.
  // Each state is rewritten whole where it is stored, never removed first, so a crash at
  // any moment leaves the workspace as it was or as saved. Raises when the name is unknown.
  void ReplaceUserWorkspace(const kivcore::UTF16String& name);
  // Adds (or, with replace, replaces) a workspace from a definition and makes it current.
  bool AddWorkspace(const kivcore::UTF16String& name, kivcore::PropList& definition, bool replace);
  // Moves the workspace's stored definitions to the new name. Raises when the workspace has
  // no definition to move (see CanRenameWorkspace) or the new name is taken.
  void RenameWorkspace(const kivcore::UTF16String& oldName, const kivcore::UTF16String& newName);
  // Whether the workspace has a definition a rename can move: a stored current state or
  // system file, or a built-in builder that carries one. A built-in built in code has none
  // until it is first opened.
  bool CanRenameWorkspace(const kivcore::UTF16String& name);
  // Removes any workspace, built-in and system ones included; a deleted built-in or system
  // workspace stays deleted (until ResetWorkspaceMgr).
  void DeleteUserWorkspace(const kivcore::UTF16String& name);
  // Restores the workspace's saved layout (its archived state, else its system file, else
  // its builder) into the live workspace; the current state is rewritten when the
  // workspace is next left or saved.
  void RevertWorkspace(const kivcore::UTF16String& name);
  // Writes the live layout into the workspace's current state.
  void SaveWorkspace(const kivcore::UTF16String& name);
  // Saves the current workspace and leaves it: the host now owns the layout.
  void DefaultingToProjectWorkspace();
  // Forgets every user state and the settings, and finds the workspaces again.
  void ResetWorkspaceMgr();
  // Writes the settings: the cache of stored files and the main window's place.
  virtual void FlushManagerSettings();
  // Puts the main window where the settings say, else in its default state.
  void ApplyDefaultMainWindowSize();

  void GetWorkspaces(std::vector<kivcore::UTF16String>& out) const;
  // The names in the order menus show them: ASCII case ignored, a prefix first.
  void GetUISortedWorkspaceNames(std::vector<kivcore::UTF16String>& out) const;
  int GetNumberWorkspaces() const;
  bool HasNamedWorkspace(const kivcore::UTF16String& name) const;
  kivcore::UTF16String GetCurrentWorkspace() const { return current_; }
  bool HasCurrentWorkspace() const { return !current_.empty(); }
  // The live layout as a definition.
  void GetCurrentWorkspace(kivcore::PropList& out);
  Workspace& GetWorkspace() { return workspace_; }
  bool IsInitialized() const { return initialized_; }
  // True while a switch is restoring a layout.
  bool CheckWorkspaceLoading() const { return loadingDepth_ > 0; }
  void SetSizeMainFrame(bool size) { sizeMainFrame_ = size; }
  void ForceConstraintLayoutForBuilder(bool force) { forceConstraintLayout_ = force; }

  // A manager that only looks, for tools that list what a host would offer: Initialize
  // tidies nothing away and writes no settings, and no file is ever made, written or
  // removed (a save is left out; a new workspace or a first switch fails as on a folder
  // that cannot be written). Set it before Initialize.
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

  void AddMenuHelper(MenuHelperBase* helper);
  void RemoveMenuHelper(MenuHelperBase* helper);

  // Where the workspace's states are stored.
  StoredStates GetStoredStates(const kivcore::UTF16String& name) const;
  // Whether the name is one of the workspaces the built-in provider makes.
  bool IsBuiltInWorkspace(const kivcore::UTF16String& name) const;
  // The stored definitions the last Initialize left out, with the reason for each.
  const std::vector<SkippedFile>& GetSkippedFiles() const { return skipped_; }
  // The messages of stored files that could not be written since the last call. A failed
  // write leaves the old file whole and the live layout as it is.
  std::vector<std::string> TakeWriteFailures();

 protected:
  virtual void PopulateSystemWorkspaces(EntryMap& current, EntryMap& system) = 0;
  virtual void PopulateUserWorkspaces(EntryMap& current, EntryMap& archive) = 0;
  // A new, empty current-state entry for the name.
  virtual std::unique_ptr<WorkspaceEntryImplData> DoCreateUserWorkspace(const kivcore::UTF16String& name) = 0;
  // Writes the live layout into the entry.
  virtual void DoSaveWorkspace(const kivcore::UTF16String& name, WorkspaceEntryImplData* entry) = 0;
  // Writes the definition, its user name changed to name, into the entry.
  virtual void DoRenameWorkspace(const kivcore::UTF16String& name, WorkspaceEntryImplData* entry,
                                 kivcore::PropList& definition);
  // Removes the stored definition; true when it was removed.
  virtual bool DoDeleteWorkspace(const kivcore::UTF16String& name, WorkspaceEntryImplData* entry) = 0;
  virtual void DoLoadWorkspace(const kivcore::UTF16String& name, WorkspaceEntryImplData* entry,
                               kivcore::PropList& out) = 0;
  // False when there are no settings.
  virtual bool LoadManagerSettings(kivcore::PropList& out) = 0;
  virtual void SaveManagerSettings(kivcore::PropList& settings) = 0;
  virtual void ClearManagerSettings() = 0;
  virtual kivcore::UTF16String GetUserWorkspaceFolder() const = 0;
  // A new, empty archived entry; fileName is that of the workspace's current-state file.
  virtual std::unique_ptr<WorkspaceEntryImplData> DoArchiveWorkspace(const kivcore::UTF16String& fileName) = 0;

  // Stores an entry under the display name of storedName (the text of a "$$$" key, or the
  // name itself), replacing one there.
  void AddEntry(EntryMap& map, const kivcore::UTF16String& path, const kivcore::UTF16String& storedName);
  // The localisation key whose text is the built-in name; empty when there is none.
  kivcore::UTF16String BuiltInKeyForName(const kivcore::UTF16String& name) const;
  // Paths taken from the settings cache; folder scans skip them.
  const std::set<kivcore::UTF16String>& GetCachedFiles() const { return cachedFiles_; }
  SystemWorkspaceProviderBase* GetSystemProvider() const { return systemProvider_; }
  bool IsReadOnly() const { return readOnly_; }
  void ReportSkippedFile(kivcore::UTF16String path, std::string reason);
  void ReportWriteFailure(std::string message);

 private:
  void CheckInitialized() const;
  void MakeCurrent(const kivcore::UTF16String& name);
  void RebuildMenus();
  WorkspaceEntryImplData* CurrentEntryOf(const kivcore::UTF16String& name) const;
  // The user folder's writable copy of a system workspace, made on first use.
  WorkspaceEntryImplData* CopySystemWorkspace(const kivcore::UTF16String& name);
  // The provider's builder of a built-in workspace; null when there is none.
  std::unique_ptr<WorkspaceBuilder> CreateBuilder(const kivcore::UTF16String& name);
  // Puts the builder's layout into the live workspace.
  void Build(WorkspaceBuilder& builder);
  // Builds a built-in workspace and stores the result as its first current state; false
  // when the provider has no builder. Raises, with the live layout untouched, when no
  // current state can be made.
  bool MaterialiseBuiltIn(const kivcore::UTF16String& name);
  // A new current-state entry holding the live layout; raises when none can be made.
  WorkspaceEntryImplData& StoreNewCurrentState(const kivcore::UTF16String& name);
  // A new archived entry beside the current state, holding the live layout.
  void StoreNewArchivedState(const kivcore::UTF16String& name);
  void SaveOutgoingWorkspace();
  kivcore::PropList ReadDefinitionForRename(const kivcore::UTF16String& name);

  // Settings: the cache of stored files, the built-in names still offered. ReadSettings
  // is LoadManagerSettings with unreadable settings taken as none (and, with report, listed
  // among the skipped files).
  bool ReadSettings(kivcore::PropList& settings, bool report = false);
  void LoadSettingsCache(const kivcore::PropList& settings);
  // Writes the list of built-in names into the settings (and saves them) the first time.
  void LoadBuiltInNames(kivcore::PropList settings, bool haveSettings);
  void RemoveBuiltInName(const kivcore::UTF16String& name);
  // System workspaces the user deleted: DropDeletedSystemWorkspaces leaves out those the
  // settings list, ForgetSystemWorkspace removes one and adds it to that list.
  void DropDeletedSystemWorkspaces(const kivcore::PropList& settings);
  void ForgetSystemWorkspace(const kivcore::UTF16String& name);
  // Removes the name's system entry; false when it has none.
  bool EraseSystemEntry(const kivcore::UTF16String& name);
  // Gives the system provider the names of the system map.
  void SyncSystemNames();

  BuiltInWorkspaceProviderBase* builtInProvider_;
  SystemWorkspaceProviderBase* systemProvider_;
  std::set<kivcore::UTF16String> cachedFiles_;
  Workspace& workspace_;
  kivcore::UTF16String current_;
  EntryMap currentEntries_;
  EntryMap archivedEntries_;
  EntryMap systemEntries_;
  bool initialized_ = false;
  bool sizeMainFrame_;
  std::vector<MenuHelperBase*> menuHelpers_;
  std::uint32_t loadingDepth_ = 0;
  bool forceConstraintLayout_ = false;
  bool readOnly_ = false;
  std::vector<SkippedFile> skipped_;
  std::vector<std::string> writeFailures_;
};

}  // namespace kivworkspace::workspace
