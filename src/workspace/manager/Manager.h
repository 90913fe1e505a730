#pragma once
// The workspace manager a host creates: every stored definition is a property-list file.
//
//   user folder     the current state of every workspace that has one ("UserWorkspace-N.xml";
//                   a system workspace's copy keeps the system file's name)
//   archive folder  the archived state of each user workspace, under its current file's name
//   settings file   the manager settings
//
// workspaceutils::GetWorkspaceDirs gives the standard places. Every file is written whole
// and atomically: a crash mid-save leaves the old file as it was.

#include "workspace/manager/ManagerBase.h"

namespace kivworkspace::workspace {

class Manager : public ManagerBase {
 public:
  Manager(Workspace& workspace, const kivcore::UTF16String& userFolder,
          const kivcore::UTF16String& archiveFolder, const kivcore::UTF16String& settingsFile,
          BuiltInWorkspaceProviderBase* builtIns, SystemWorkspaceProviderBase* system,
          bool sizeMainFrame);
  Manager(Workspace& workspace, const kivcore::UTF16String& userFolder,
          const kivcore::UTF16String& archiveFolder, const kivcore::UTF16String& settingsFile,
          BuiltInWorkspaceProviderBase* builtIns, bool sizeMainFrame);

 protected:
  void PopulateSystemWorkspaces(EntryMap& current, EntryMap& system) override;
  void PopulateUserWorkspaces(EntryMap& current, EntryMap& archive) override;
  std::unique_ptr<WorkspaceEntryImplData> DoCreateUserWorkspace(const kivcore::UTF16String& name) override;
  void DoSaveWorkspace(const kivcore::UTF16String& name, WorkspaceEntryImplData* entry) override;
  void DoRenameWorkspace(const kivcore::UTF16String& name, WorkspaceEntryImplData* entry,
                         kivcore::PropList& definition) override;
  bool DoDeleteWorkspace(const kivcore::UTF16String& name, WorkspaceEntryImplData* entry) override;
  void DoLoadWorkspace(const kivcore::UTF16String& name, WorkspaceEntryImplData* entry,
                       kivcore::PropList& out) override;
  bool LoadManagerSettings(kivcore::PropList& out) override;
  void SaveManagerSettings(kivcore::PropList& settings) override;
  void ClearManagerSettings() override;
  kivcore::UTF16String GetUserWorkspaceFolder() const override { return paths_.userFolder; }
  std::unique_ptr<WorkspaceEntryImplData> DoArchiveWorkspace(const kivcore::UTF16String& fileName) override;

 private:
  struct Paths {
    kivcore::UTF16String userFolder;
    kivcore::UTF16String archiveFolder;
    kivcore::UTF16String settingsFile;
  };

  // Adds the definitions of the folder's ".xml" files to the map, skipping cached files
  // and reporting the ones that cannot be used.
  void ScanFolder(const kivcore::UTF16String& folder, EntryMap& map);
  // Writes the list over the file; a failure is reported and leaves the old file whole.
  void WriteFile(const kivcore::UTF16String& path, const kivcore::PropList& list);

  Paths paths_;
};

}  // namespace kivworkspace::workspace
