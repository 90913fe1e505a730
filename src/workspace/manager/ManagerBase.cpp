#include "workspace/manager/ManagerBase.h"

#include "services/core/Error.h"
#include "services/core/File.h"
#include "services/core/FileUtils.h"
#include "services/core/Localizer.h"
#include "services/core/PropListUtils.h"
#include "workspace/manager/BuiltInWorkspaceProviderBase.h"
#include "workspace/manager/internal/ManagerEntryImplData.h"
#include "workspace/manager/MenuHelperBase.h"
#include "workspace/manager/SystemWorkspaceProviderBase.h"
#include "workspace/core/Workspace.h"
#include "workspace/definition/WorkspaceBuilder.h"
#include "workspace/definition/WorkspaceDefinition.h"

#include <algorithm>
#include <climits>
#include <stdexcept>

namespace kivworkspace::workspace {

using kivcore::PropList;
using kivcore::UTF16String;
using kivcore::filesupport::File;
namespace FileUtils = kivcore::filesupport::FileUtils;

namespace {

constexpr const char* kErrorKeys[] = {
    "$$$/kivworkspace/workspace/Error/WorkspaceManager/AlreadyIntialized=Workspaces Manager already initialized",
    "$$$/kivworkspace/workspace/Error/WorkspaceManager/NotInitialized=Workspaces Manager not initialized",
    "$$$/kivworkspace/workspace/Error/WorkspaceManager/WorkspaceAlreadyExists=A workspace with this name already exists.",
    "$$$/kivworkspace/workspace/Error/WorkspaceManager/CannotCreateWorkspace=Could not create workspace.",
    "$$$/kivworkspace/workspace/Error/WorkspaceManager/UnknownWorkspace=Unknown workspace.",
    "$$$/kivworkspace/workspace/Error/WorkspaceManager/CannotRenameWorkspace=Could not rename workspace.",
};

[[noreturn]] void Raise(ManagerError error) {
  kivcore::config::ThrowError(1, kErrorKeys[error - kAlreadyInitialized], kManagerErrorCategory, error, 1);
}

// Counts a switch in progress for as long as it lives, whichever way the switch ends.
class LoadingScope {
 public:
  explicit LoadingScope(std::uint32_t& depth) : depth_(depth) { ++depth_; }
  ~LoadingScope() { --depth_; }
  LoadingScope(const LoadingScope&) = delete;
  LoadingScope& operator=(const LoadingScope&) = delete;

 private:
  std::uint32_t& depth_;
};

WorkspaceEntryImplData* Find(const ManagerBase::EntryMap& map, const UTF16String& name) {
  const auto it = map.find(name);
  return it == map.end() ? nullptr : it->second.get();
}

UTF16String PathOf(const ManagerBase::EntryMap& map, const UTF16String& name) {
  const WorkspaceEntryImplData* entry = Find(map, name);
  return entry ? entry->GetPath() : UTF16String();
}

UTF16String FileNameOf(const WorkspaceEntryImplData& entry) { return File(entry.GetPath()).GetName(); }

char16_t FoldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; }

// A stored name longer than "$$$" plus one unit that begins with "$$$" is a localisation key.
bool IsNameKey(const UTF16String& storedName) { return storedName.size() > 4 && storedName.starts_with(u"$$$"); }

// The name a stored name is offered under: a key's text, or the name itself.
UTF16String DisplayName(const UTF16String& storedName) {
  return IsNameKey(storedName) ? kivcore::config::Localizer::Get().Localize(kivcore::UTF16to8(storedName)) : storedName;
}

// Whether the file is a whole, readable definition of the workspace offered as name.
bool HoldsWorkspace(const File& file, const UTF16String& name) {
  try {
    const PropList definition = kivcore::proplist::utils::LoadPropList(file);
    return !definition.IsEmpty() && IsCompatibleVersion(definition) && DisplayName(GetWorkspaceUserName(definition)) == name;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

ManagerBase::ManagerBase(Workspace& workspace, BuiltInWorkspaceProviderBase* builtIns,
                         SystemWorkspaceProviderBase* system, bool sizeMainFrame)
    : builtInProvider_(builtIns), systemProvider_(system), workspace_(workspace), sizeMainFrame_(sizeMainFrame) {}

ManagerBase::ManagerBase(Workspace& workspace, BuiltInWorkspaceProviderBase* builtIns, bool sizeMainFrame)
    : ManagerBase(workspace, builtIns, nullptr, sizeMainFrame) {}

ManagerBase::~ManagerBase() {
  for (MenuHelperBase* helper : std::exchange(menuHelpers_, {})) helper->ManagerDestroyed();
}

void ManagerBase::DoRenameWorkspace(const UTF16String&, WorkspaceEntryImplData*, PropList&) {}

void ManagerBase::CheckInitialized() const {
  if (!initialized_) Raise(kNotInitialized);
}

void ManagerBase::Initialize() {
  if (initialized_) Raise(kAlreadyInitialized);
  skipped_.clear();
  // The settings are read once for every step.
  PropList settings;
  const bool haveSettings = ReadSettings(settings, true);
  if (haveSettings) LoadSettingsCache(settings);
  LoadBuiltInNames(settings, haveSettings);
  PopulateSystemWorkspaces(currentEntries_, systemEntries_);
  // Before the user folder is scanned: a user workspace of a deleted system one's name stays.
  DropDeletedSystemWorkspaces(settings);
  PopulateUserWorkspaces(currentEntries_, archivedEntries_);
  initialized_ = true;
}

void ManagerBase::MakeCurrent(const UTF16String& name) {
  current_ = name;
  // A helper may unregister itself when told; walk a copy.
  for (MenuHelperBase* helper : std::vector<MenuHelperBase*>(menuHelpers_)) helper->NewActiveWorkspace(current_);
}

void ManagerBase::RebuildMenus() {
  for (MenuHelperBase* helper : std::vector<MenuHelperBase*>(menuHelpers_)) helper->RebuildMenu();
}

WorkspaceEntryImplData* ManagerBase::CurrentEntryOf(const UTF16String& name) const {
  return Find(currentEntries_, name);
}

void ManagerBase::AddEntry(EntryMap& map, const UTF16String& path, const UTF16String& storedName) {
  const UTF16String display = DisplayName(storedName);
  if (display.empty()) return;
  map[display] = std::make_unique<ManagerEntryImplData>(path, IsNameKey(storedName) ? storedName : UTF16String());
}

UTF16String ManagerBase::BuiltInKeyForName(const UTF16String& name) const {
  if (!builtInProvider_ || !builtInProvider_->SupportsLocalizedWorkspaceNames()) return {};
  std::list<kivcore::UTF8String> keys;
  builtInProvider_->GetWorkspaceStringKeys(keys);
  for (const auto& key : keys) {
    if (kivcore::config::Localizer::Get().Localize(key) == name) return kivcore::UTF8to16(key);
  }
  return {};
}

bool ManagerBase::IsBuiltInWorkspace(const UTF16String& name) const {
  if (!builtInProvider_) return false;
  std::vector<UTF16String> names;
  builtInProvider_->GetWorkspaces(names);
  return std::find(names.begin(), names.end(), name) != names.end();
}

void ManagerBase::ReportSkippedFile(UTF16String path, std::string reason) {
  skipped_.push_back({std::move(path), std::move(reason)});
}

void ManagerBase::ReportWriteFailure(std::string message) { writeFailures_.push_back(std::move(message)); }

std::vector<std::string> ManagerBase::TakeWriteFailures() { return std::exchange(writeFailures_, {}); }

WorkspaceEntryImplData* ManagerBase::CopySystemWorkspace(const UTF16String& name) {
  const auto* system = dynamic_cast<const ManagerEntryImplData*>(systemProvider_ ? Find(systemEntries_, name) : nullptr);
  if (!system || readOnly_) return nullptr;
  const File systemFile(system->GetPath());
  const UTF16String fileName = systemFile.GetName();
  if (!fileName.empty()) {
    const File folder(GetUserWorkspaceFolder());
    File copy = folder.GetChild(fileName);
    // A file of that name is used only when it is a whole copy of this workspace. Any
    // other (cut short, damaged, another workspace's) stays as it is; the copy goes beside.
    if (copy.Exists() && !HoldsWorkspace(copy, name))
      copy = FileUtils::UniqueFileName(folder, systemFile.GetBaseName(), systemFile.GetExtension(true));
    if (!copy.Exists()) {
      // Written whole, so that a copy cut short never stands in for the system file.
      try {
        FileUtils::EnsureDirectoryExists(folder);
        FileUtils::WriteFileAtomically(copy, FileUtils::ReadWholeFile(systemFile));
      } catch (const kivcore::config::Error& e) {
        // Without the copy there is nothing the user's changes could be kept in.
        ReportWriteFailure(e.what());
        return nullptr;
      }
    }
    currentEntries_[name] = std::make_unique<ManagerEntryImplData>(copy.GetFullPath(), system->GetNameKey());
    FileUtils::ClearReadOnly(copy);
  }
  return currentEntries_[name].get();
}

std::unique_ptr<WorkspaceBuilder> ManagerBase::CreateBuilder(const UTF16String& name) {
  return builtInProvider_ ? builtInProvider_->CreateBuilder(name, workspace_) : nullptr;
}

void ManagerBase::Build(WorkspaceBuilder& builder) {
  if (builder.UsePropList()) {
    RestoreWorkspace(workspace_, builder.GetPropList(), sizeMainFrame_, true, forceConstraintLayout_);
  } else {
    builder.BuildWorkspace();
  }
}

bool ManagerBase::MaterialiseBuiltIn(const UTF16String& name) {
  std::unique_ptr<WorkspaceBuilder> builder = CreateBuilder(name);
  if (!builder) return false;
  // The current state is made before the layout changes: when it cannot be, the switch
  // stops with the live layout still the one its workspace's state is saved from.
  std::unique_ptr<WorkspaceEntryImplData> entry = DoCreateUserWorkspace(name);
  if (!entry) Raise(kCannotCreateWorkspace);
  Build(*builder);
  DoSaveWorkspace(name, entry.get());
  currentEntries_[name] = std::move(entry);
  return true;
}

WorkspaceEntryImplData& ManagerBase::StoreNewCurrentState(const UTF16String& name) {
  std::unique_ptr<WorkspaceEntryImplData> entry = DoCreateUserWorkspace(name);
  if (!entry) Raise(kCannotCreateWorkspace);
  DoSaveWorkspace(name, entry.get());
  auto& stored = currentEntries_[name];
  stored = std::move(entry);
  return *stored;
}

void ManagerBase::StoreNewArchivedState(const UTF16String& name) {
  std::unique_ptr<WorkspaceEntryImplData> archived = DoArchiveWorkspace(FileNameOf(*CurrentEntryOf(name)));
  if (!archived) return;
  DoSaveWorkspace(name, archived.get());
  archivedEntries_[name] = std::move(archived);
}

void ManagerBase::SaveOutgoingWorkspace() {
  if (!current_.empty()) DoSaveWorkspace(current_, CurrentEntryOf(current_));
}

bool ManagerBase::SetCurrentWorkspace(const UTF16String& name) {
  LoadingScope loading(loadingDepth_);
  CheckInitialized();
  if (name == current_) return true;
  SaveOutgoingWorkspace();
  WorkspaceEntryImplData* entry = CurrentEntryOf(name);
  if (!entry && Find(systemEntries_, name)) {
    entry = CopySystemWorkspace(name);
    if (!entry) return false;
  }
  if (entry) {
    PropList definition;
    DoLoadWorkspace(name, entry, definition);
    if (!RestoreWorkspace(workspace_, definition, sizeMainFrame_, false, false)) return false;
  } else if (!MaterialiseBuiltIn(name)) {
    return false;
  }
  MakeCurrent(name);
  workspace_.NotifyWorkspaceSwitched();
  return true;
}

void ManagerBase::ReplaceUserWorkspace(const UTF16String& name) {
  CheckInitialized();
  if (!currentEntries_.contains(name)) Raise(kUnknownWorkspace);
  if (name != current_) SaveOutgoingWorkspace();
  if (WorkspaceEntryImplData* entry = CurrentEntryOf(name)) {
    DoSaveWorkspace(name, entry);
  } else {
    StoreNewCurrentState(name);
  }
  if (WorkspaceEntryImplData* archived = Find(archivedEntries_, name)) {
    DoSaveWorkspace(name, archived);
  } else {
    StoreNewArchivedState(name);
  }
  // Only once both states are stored does a built-in leave the built-in list.
  RemoveBuiltInName(name);
  current_ = name;
  RebuildMenus();
  MakeCurrent(name);
  workspace_.NotifyWorkspaceSwitched();
}

void ManagerBase::CreateUserWorkspace(const UTF16String& name) {
  CheckInitialized();
  if (currentEntries_.contains(name)) Raise(kWorkspaceAlreadyExists);
  // An empty name would read as "no current workspace".
  if (name.empty()) Raise(kCannotCreateWorkspace);
  SaveOutgoingWorkspace();
  StoreNewCurrentState(name);
  StoreNewArchivedState(name);
  current_ = name;
  RebuildMenus();
  MakeCurrent(name);
  workspace_.NotifyWorkspaceSwitched();
}

bool ManagerBase::AddWorkspace(const UTF16String& name, PropList& definition, bool replace) {
  CheckInitialized();
  if (name.empty()) return false;
  const bool exists = currentEntries_.contains(name);
  if (exists && !replace) return false;
  SaveOutgoingWorkspace();
  if (exists) {
    // The replaced workspace keeps the live layout as its current state until it is left.
    if (WorkspaceEntryImplData* entry = CurrentEntryOf(name)) {
      DoSaveWorkspace(name, entry);
    } else if (!MaterialiseBuiltIn(name)) {
      return false;
    }
    if (!RestoreWorkspace(workspace_, definition, sizeMainFrame_, true, forceConstraintLayout_)) return false;
    MakeCurrent(name);
    return true;
  }
  std::unique_ptr<WorkspaceEntryImplData> entry = DoCreateUserWorkspace(name);
  if (!entry) Raise(kCannotCreateWorkspace);
  if (!RestoreWorkspace(workspace_, definition, sizeMainFrame_, true, forceConstraintLayout_)) {
    DoDeleteWorkspace(name, entry.get());
    return false;
  }
  DoSaveWorkspace(name, entry.get());
  currentEntries_[name] = std::move(entry);
  StoreNewArchivedState(name);
  RebuildMenus();
  MakeCurrent(name);
  return true;
}

PropList ManagerBase::ReadDefinitionForRename(const UTF16String& name) {
  PropList definition;
  WorkspaceEntryImplData* stored = CurrentEntryOf(name);
  if (!stored) stored = Find(systemEntries_, name);
  if (stored) {
    try {
      DoLoadWorkspace(name, stored, definition);
    } catch (const std::exception&) {
      // An unreadable definition cannot be renamed; the caller reports that.
      definition.Clear();
    }
  } else if (std::unique_ptr<WorkspaceBuilder> builder = CreateBuilder(name); builder && builder->UsePropList()) {
    definition = builder->GetPropList();
  }
  return definition;
}

bool ManagerBase::CanRenameWorkspace(const UTF16String& name) {
  CheckInitialized();
  return !ReadDefinitionForRename(name).IsEmpty();
}

void ManagerBase::RenameWorkspace(const UTF16String& oldName, const UTF16String& newName) {
  CheckInitialized();
  PropList definition = ReadDefinitionForRename(oldName);
  // Onto any name the manager knows, stored or not yet, a rename would merge two workspaces.
  if (definition.IsEmpty() || newName.empty() || currentEntries_.contains(newName)) Raise(kCannotRenameWorkspace);
  std::unique_ptr<WorkspaceEntryImplData> entry = DoCreateUserWorkspace(newName);
  if (!entry) Raise(kCannotRenameWorkspace);
  DoRenameWorkspace(newName, entry.get(), definition);
  const UTF16String newFileName = FileNameOf(*entry);
  currentEntries_[newName] = std::move(entry);

  // The archived state moves with the name; a workspace without one gets one now.
  std::unique_ptr<WorkspaceEntryImplData> archived;
  if (auto it = archivedEntries_.find(oldName); it != archivedEntries_.end() && it->second) {
    DoLoadWorkspace(oldName, it->second.get(), definition);
    archived = std::move(it->second);
    archivedEntries_.erase(it);
  } else {
    archived = DoArchiveWorkspace(newFileName);
  }
  if (archived) {
    DoRenameWorkspace(newName, archived.get(), definition);
    archivedEntries_[newName] = std::move(archived);
  }
  for (MenuHelperBase* helper : std::vector<MenuHelperBase*>(menuHelpers_)) helper->WorkspaceRenamed(oldName, newName);
  if (current_ == oldName) MakeCurrent(newName);
  DeleteUserWorkspace(oldName);
  RebuildMenus();
}

void ManagerBase::DeleteUserWorkspace(const UTF16String& name) {
  CheckInitialized();
  if (auto it = currentEntries_.find(name); it != currentEntries_.end() && it->second) {
    if (DoDeleteWorkspace(name, it->second.get())) {
      currentEntries_.erase(it);
      if (current_ == name) current_.clear();
    }
  } else {
    // A built-in or system workspace not visited yet has nothing stored; it leaves the list.
    if (!IsBuiltInWorkspace(name) && !Find(systemEntries_, name)) Raise(kUnknownWorkspace);
    currentEntries_.erase(name);
  }
  if (auto it = archivedEntries_.find(name); it != archivedEntries_.end() && it->second) {
    DoDeleteWorkspace(name, it->second.get());
    archivedEntries_.erase(it);
  }
  RemoveBuiltInName(name);
  if (!currentEntries_.contains(name)) ForgetSystemWorkspace(name);
  RebuildMenus();
}

void ManagerBase::RevertWorkspace(const UTF16String& name) {
  CheckInitialized();
  // The archived state first: a built-in or system workspace saved with its changes has
  // one, and its reset returns to what was saved.
  WorkspaceEntryImplData* saved = Find(archivedEntries_, name);
  if (!saved && systemProvider_) saved = Find(systemEntries_, name);
  if (saved) {
    PropList definition;
    DoLoadWorkspace(name, saved, definition);
    RestoreWorkspace(workspace_, definition, sizeMainFrame_, false, false);
    workspace_.NotifyWorkspaceReverted();
    return;
  }
  std::unique_ptr<WorkspaceBuilder> builder = IsBuiltInWorkspace(name) ? CreateBuilder(name) : nullptr;
  if (!builder) Raise(kUnknownWorkspace);
  Build(*builder);
  current_ = name;
  workspace_.NotifyWorkspaceReverted();
}

void ManagerBase::SaveWorkspace(const UTF16String& name) {
  CheckInitialized();
  DoSaveWorkspace(name, CurrentEntryOf(name));
}

void ManagerBase::DefaultingToProjectWorkspace() {
  CheckInitialized();
  SaveOutgoingWorkspace();
  MakeCurrent({});
}

void ManagerBase::ResetWorkspaceMgr() {
  for (auto& [name, entry] : currentEntries_) {
    if (entry) DoDeleteWorkspace(name, entry.get());
  }
  currentEntries_.clear();
  for (auto& [name, entry] : archivedEntries_) {
    if (entry) DoDeleteWorkspace(name, entry.get());
  }
  current_.clear();
  archivedEntries_.clear();
  initialized_ = false;
  ClearManagerSettings();
  Initialize();
  RebuildMenus();
}

void ManagerBase::GetWorkspaces(std::vector<UTF16String>& out) const {
  CheckInitialized();
  for (const auto& entry : currentEntries_) out.push_back(entry.first);
}

void ManagerBase::GetUISortedWorkspaceNames(std::vector<UTF16String>& out) const {
  GetWorkspaces(out);
  std::sort(out.begin(), out.end(), [](const UTF16String& a, const UTF16String& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char16_t x, char16_t y) { return FoldAscii(x) < FoldAscii(y); });
  });
}

int ManagerBase::GetNumberWorkspaces() const {
  if (currentEntries_.size() > std::size_t(INT_MAX)) throw std::overflow_error("too many workspaces to count");
  return int(currentEntries_.size());
}

bool ManagerBase::HasNamedWorkspace(const UTF16String& name) const { return currentEntries_.contains(name); }

void ManagerBase::GetCurrentWorkspace(PropList& out) {
  workspace::SaveWorkspace(std::as_const(workspace_), out, UTF16String());
}

void ManagerBase::AddMenuHelper(MenuHelperBase* helper) {
  // A helper added again is rebuilt again but listed once, so one removal forgets it.
  if (std::find(menuHelpers_.begin(), menuHelpers_.end(), helper) == menuHelpers_.end()) menuHelpers_.push_back(helper);
  helper->RebuildMenu();
  if (HasCurrentWorkspace()) helper->NewActiveWorkspace(current_);
}

void ManagerBase::RemoveMenuHelper(MenuHelperBase* helper) {
  if (auto it = std::find(menuHelpers_.begin(), menuHelpers_.end(), helper); it != menuHelpers_.end())
    menuHelpers_.erase(it);
}

ManagerBase::StoredStates ManagerBase::GetStoredStates(const UTF16String& name) const {
  return {PathOf(currentEntries_, name), PathOf(archivedEntries_, name), PathOf(systemEntries_, name)};
}

}  // namespace kivworkspace::workspace
