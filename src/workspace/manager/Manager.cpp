#include "workspace/manager/Manager.h"

#include "services/core/Error.h"
#include "services/core/File.h"
#include "services/core/FileUtils.h"
#include "services/core/PropListUtils.h"
#include "workspace/manager/internal/ManagerEntryImplData.h"
#include "workspace/manager/SystemWorkspaceProviderBase.h"
#include "workspace/definition/WorkspaceDefinition.h"

#include <filesystem>

namespace kivworkspace::workspace {

using kivcore::PropList;
using kivcore::UTF16String;
using kivcore::filesupport::File;
namespace FileUtils = kivcore::filesupport::FileUtils;

namespace {

const ManagerEntryImplData& AsFileEntry(const WorkspaceEntryImplData& entry) {
  return dynamic_cast<const ManagerEntryImplData&>(entry);
}

// An empty regular file of its own (not a link to one): the name of a new stored state,
// reserved by DoCreateUserWorkspace or DoArchiveWorkspace, whose first save never ended.
// It holds no workspace.
bool IsUnfinishedReservation(const File& file) {
  std::error_code ec;
  return std::filesystem::is_regular_file(std::filesystem::symlink_status(file.Path(), ec)) &&
         file.Size() == std::optional<std::uint64_t>(0);
}

void RemoveUnfinishedReservations(const File& folder) {
  for (const File& file : FileUtils::ContainedFiles(folder)) {
    if (file.GetExtension(true) == u".xml" && IsUnfinishedReservation(file)) file.Delete();
  }
}

}  // namespace

Manager::Manager(Workspace& workspace, const UTF16String& userFolder, const UTF16String& archiveFolder,
                 const UTF16String& settingsFile, BuiltInWorkspaceProviderBase* builtIns,
                 SystemWorkspaceProviderBase* system, bool sizeMainFrame)
    : ManagerBase(workspace, builtIns, system, sizeMainFrame), paths_{userFolder, archiveFolder, settingsFile} {}

Manager::Manager(Workspace& workspace, const UTF16String& userFolder, const UTF16String& archiveFolder,
                 const UTF16String& settingsFile, BuiltInWorkspaceProviderBase* builtIns, bool sizeMainFrame)
    : Manager(workspace, userFolder, archiveFolder, settingsFile, builtIns, nullptr, sizeMainFrame) {}

void Manager::ScanFolder(const UTF16String& folder, EntryMap& map) {
  for (const File& file : FileUtils::ContainedFiles(File(folder))) {
    const UTF16String path = file.GetFullPath();
    if (GetCachedFiles().contains(path) || file.GetExtension(true) != u".xml" || IsUnfinishedReservation(file)) continue;
    PropList definition;
    try {
      definition = kivcore::proplist::utils::LoadPropList(file);
    } catch (const std::exception& e) {
      ReportSkippedFile(path, e.what());
      continue;
    }
    if (definition.IsEmpty()) {
      ReportSkippedFile(path, "the file holds no workspace");
    } else if (!IsCompatibleVersion(definition)) {
      ReportSkippedFile(path, "the workspace was written in a format this version cannot read");
    } else if (GetWorkspaceUserName(definition).empty()) {
      ReportSkippedFile(path, "the workspace has no name");
    } else {
      AddEntry(map, path, GetWorkspaceUserName(definition));
    }
  }
}

void Manager::WriteFile(const UTF16String& path, const PropList& list) {
  if (IsReadOnly()) return;
  const File file(path);
  try {
    if (!FileUtils::EnsureDirectoryExists(file.GetParent())) {
      ReportWriteFailure("The file \"" + file.Path().string() + "\" could not be written: its folder could not be made.");
      return;
    }
    kivcore::proplist::utils::SavePropList(list, file);
  } catch (const kivcore::config::Error& e) {
    ReportWriteFailure(e.what());
  }
}

void Manager::PopulateUserWorkspaces(EntryMap& current, EntryMap& archive) {
  // A host stopped mid-save can leave a temporary beside its file, or the empty file of a
  // new state it never wrote; neither is ever a whole definition.
  if (!IsReadOnly()) {
    const File settings(paths_.settingsFile);
    FileUtils::RemoveStaleTemporaries(settings.GetParent(), settings.GetName());
    for (const UTF16String& folder : {paths_.userFolder, paths_.archiveFolder}) {
      FileUtils::RemoveStaleTemporaries(File(folder));
      RemoveUnfinishedReservations(File(folder));
    }
  }
  ScanFolder(paths_.userFolder, current);
  ScanFolder(paths_.archiveFolder, archive);
}

void Manager::PopulateSystemWorkspaces(EntryMap& current, EntryMap& system) {
  SystemWorkspaceProviderBase* provider = GetSystemProvider();
  if (!provider) {
    system.clear();
    return;
  }
  const UTF16String folder = provider->GetSystemWorkspaceFolder();
  if (!folder.empty() && File(folder).IsDirectory()) {
    EntryMap found;
    ScanFolder(folder, found);
    // Names taken from the settings cache win.
    for (auto& [name, entry] : found) system.try_emplace(name, std::move(entry));
  }
  std::vector<UTF16String> names;
  for (const auto& entry : system) {
    names.push_back(entry.first);
    current.try_emplace(entry.first);
  }
  provider->InitWorkspaceNameList(names);
}

std::unique_ptr<WorkspaceEntryImplData> Manager::DoCreateUserWorkspace(const UTF16String& name) {
  // The empty file reserves the name until the definition is written into it. The name is
  // free in the archive too: an archived state keeps its file name through renames, and a
  // new workspace must not take it over.
  if (IsReadOnly()) return nullptr;
  const File path = FileUtils::UniqueFileName(File(paths_.userFolder), {File(paths_.archiveFolder)}, u"UserWorkspace", u".xml");
  if (!FileUtils::EnsureDirectoryExists(path.GetParent()) || !FileUtils::CreateNewFile(path)) {
    ReportWriteFailure("The file \"" + path.Path().string() + "\" could not be made.");
    return nullptr;
  }
  return std::make_unique<ManagerEntryImplData>(path.GetFullPath(), BuiltInKeyForName(name));
}

std::unique_ptr<WorkspaceEntryImplData> Manager::DoArchiveWorkspace(const UTF16String& fileName) {
  const File folder(paths_.archiveFolder);
  File path = FileUtils::BuildPathSpec(folder, fileName);
  if (!IsReadOnly()) {
    FileUtils::EnsureDirectoryExists(folder);
    // A file already there is another workspace's archive (a system workspace's copy keeps
    // the system file's name) or one left out as damaged: it is never written over.
    if (!path.Create() && path.Exists()) {
      path = FileUtils::UniqueFileName(folder, path.GetBaseName(), path.GetExtension(true));
      path.Create();
    }
  }
  return std::make_unique<ManagerEntryImplData>(path.GetFullPath(), UTF16String());
}

void Manager::DoSaveWorkspace(const UTF16String& name, WorkspaceEntryImplData* entry) {
  // A built-in workspace left before it was ever stored has nothing to write into.
  if (!entry) return;
  const ManagerEntryImplData& fileEntry = AsFileEntry(*entry);
  PropList definition;
  workspace::SaveWorkspace(std::as_const(GetWorkspace()), definition, fileEntry.GetNameKey().empty() ? name : fileEntry.GetNameKey());
  WriteFile(fileEntry.GetPath(), definition);
}

void Manager::DoRenameWorkspace(const UTF16String& name, WorkspaceEntryImplData* entry, PropList& definition) {
  ChangeWorkspaceUserName(definition, name);
  WriteFile(entry->GetPath(), definition);
}

bool Manager::DoDeleteWorkspace(const UTF16String&, WorkspaceEntryImplData* entry) {
  // Only ever a file: a path that names a folder is not the manager's to remove.
  const File file(entry->GetPath());
  return !IsReadOnly() && !file.IsDirectory() && (file.Delete() || !file.Exists());
}

void Manager::DoLoadWorkspace(const UTF16String&, WorkspaceEntryImplData* entry, PropList& out) {
  out = kivcore::proplist::utils::LoadPropList(File(entry->GetPath()));
}

bool Manager::LoadManagerSettings(PropList& out) {
  const File file(paths_.settingsFile);
  if (!file.Exists()) return false;
  out = kivcore::proplist::utils::LoadPropList(file);
  return true;
}

void Manager::SaveManagerSettings(PropList& settings) {
  WriteFile(paths_.settingsFile, settings);
}

void Manager::ClearManagerSettings() {
  if (const File file(paths_.settingsFile); !IsReadOnly() && !file.IsDirectory()) file.Delete();
}

}  // namespace kivworkspace::workspace
