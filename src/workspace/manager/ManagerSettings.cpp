// The manager's settings: the cache of the stored files found at the last run, the
// built-in workspaces still offered, the system workspaces deleted and the main window's
// place.
#include "services/core/File.h"
#include "services/core/Localizer.h"
#include "workspace/manager/BuiltInWorkspaceProviderBase.h"
#include "workspace/manager/ManagerBase.h"
#include "workspace/manager/internal/ManagerEntryImplData.h"
#include "workspace/manager/SystemWorkspaceProviderBase.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/core/Workspace.h"

#include <boost/date_time/posix_time/posix_time.hpp>

#include <algorithm>

namespace kivworkspace::workspace {

using kivcore::PropList;
using kivcore::UTF16String;
using kivcore::filesupport::File;

namespace {

constexpr const char* kConfigVersionKey = "WorkspaceConfigVersion";
constexpr const char* kConfigVersion = "1.1";
constexpr const char* kMainWindowKey = "MainWndPos";
constexpr const char* kTimesKey = "ModifiedTimes";
constexpr const char* kPathsKey = "FilePaths";
constexpr const char* kNamesKey = "UserNames";
constexpr const char* kTypesKey = "WorkspaceTypes";
constexpr const char* kBuiltInKeysKey = "BuiltInKeys";
constexpr const char* kBuiltInsKey = "BuiltIns";
constexpr const char* kDeletedSystemKey = "DeletedSystemWorkspaces";

enum CachedType : std::int32_t { kArchived = 0, kCurrentState = 1, kSystem = 2 };

// A time in ISO basic form with a comma before the fraction ("20240131T101500,250000").
// Boost writes a full stop there, as earlier versions of the cache did; both name the same
// time.
std::string WithCommaFraction(std::string time) {
  std::replace(time.begin(), time.end(), '.', ',');
  return time;
}

// The file's modification time as the cache writes and compares it; empty when it is missing.
std::string ModifiedString(const File& file) {
  const boost::posix_time::ptime modified = file.Modified();
  return modified.is_not_a_date_time() ? std::string() : WithCommaFraction(boost::posix_time::to_iso_string(modified));
}

UTF16String Localized(const std::string& key) { return kivcore::config::Localizer::Get().Localize(key); }

}  // namespace

bool ManagerBase::ReadSettings(PropList& settings, bool report) {
  try {
    return LoadManagerSettings(settings);
  } catch (const std::exception& e) {
    // Settings that cannot be read are rebuilt from the folders.
    if (report) ReportSkippedFile(u"manager settings", e.what());
    settings.Clear();
    return false;
  }
}

void ManagerBase::LoadSettingsCache(const PropList& settings) {
  std::string version;
  if (!settings.GetValue(kConfigVersionKey, version) || version != kConfigVersion) return;
  PropList::StringList times;
  PropList::TextList paths, names;
  PropList::IntList types;
  settings.GetValue(kTimesKey, times);
  settings.GetValue(kPathsKey, paths);
  settings.GetValue(kNamesKey, names);
  settings.GetValue(kTypesKey, types);
  if (paths.size() != times.size() || names.size() != times.size() || types.size() != times.size()) return;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const File file(paths[i]);
    if (!file.Exists() || ModifiedString(file) != WithCommaFraction(times[i])) continue;
    cachedFiles_.insert(paths[i]);
    switch (types[i]) {
      case kArchived: AddEntry(archivedEntries_, paths[i], names[i]); break;
      case kCurrentState: AddEntry(currentEntries_, paths[i], names[i]); break;
      case kSystem: AddEntry(systemEntries_, paths[i], names[i]); break;
      default: break;
    }
  }
}

void ManagerBase::LoadBuiltInNames(PropList settings, bool haveSettings) {
  const bool localized = builtInProvider_ && builtInProvider_->SupportsLocalizedWorkspaceNames();
  PropList::StringList keys;
  PropList::TextList names;
  bool listed = false;
  if (haveSettings && settings.GetValue(kBuiltInKeysKey, keys)) {
    for (const std::string& key : keys) names.push_back(Localized(key));
    listed = true;
  } else if (haveSettings && !localized && settings.GetValue(kBuiltInsKey, names)) {
    listed = true;
  }
  if (listed) {
    for (const UTF16String& name : names) currentEntries_.try_emplace(name);
    return;
  }
  if (!builtInProvider_) return;
  // The first run: every built-in workspace is offered, and the list is written down so
  // that the ones the user deletes stay deleted.
  std::vector<UTF16String> offered;
  builtInProvider_->GetWorkspaces(offered);
  PropList::TextList remembered;
  for (const UTF16String& name : offered) {
    if (currentEntries_.try_emplace(name).second) remembered.push_back(name);
  }
  if (localized) {
    std::list<kivcore::UTF8String> providerKeys;
    builtInProvider_->GetWorkspaceStringKeys(providerKeys);
    settings.SetValue(kBuiltInKeysKey, PropList::StringList(providerKeys.begin(), providerKeys.end()));
    settings.SetValue(kBuiltInsKey, PropList::TextList());
  } else {
    settings.SetValue(kBuiltInsKey, std::move(remembered));
  }
  SaveManagerSettings(settings);
}

void ManagerBase::RemoveBuiltInName(const UTF16String& name) {
  PropList settings;
  if (!ReadSettings(settings)) return;
  PropList::StringList keys;
  PropList::TextList names;
  if (settings.GetValue(kBuiltInKeysKey, keys)) {
    const auto it = std::find_if(keys.begin(), keys.end(), [&](const std::string& key) { return Localized(key) == name; });
    if (it == keys.end()) return;
    keys.erase(it);
    settings.SetValue(kBuiltInKeysKey, std::move(keys));
  } else if (settings.GetValue(kBuiltInsKey, names)) {
    const auto it = std::find(names.begin(), names.end(), name);
    if (it == names.end()) return;
    names.erase(it);
    settings.SetValue(kBuiltInsKey, std::move(names));
  } else {
    return;
  }
  SaveManagerSettings(settings);
}

void ManagerBase::DropDeletedSystemWorkspaces(const PropList& settings) {
  PropList::TextList deleted;
  if (!settings.GetValue(kDeletedSystemKey, deleted)) return;
  for (const UTF16String& name : deleted) {
    if (!EraseSystemEntry(name)) continue;
    if (const auto it = currentEntries_.find(name); it != currentEntries_.end() && !it->second) currentEntries_.erase(it);
  }
  SyncSystemNames();
}

void ManagerBase::ForgetSystemWorkspace(const UTF16String& name) {
  if (!EraseSystemEntry(name)) return;
  SyncSystemNames();
  // The system file stays where the host installed it; the settings remember that the user
  // deleted it, so that the next start does not offer it again. Settings that cannot be
  // read are started afresh, as at the first start.
  PropList settings;
  ReadSettings(settings);
  PropList::TextList deleted;
  settings.GetValue(kDeletedSystemKey, deleted);
  if (std::find(deleted.begin(), deleted.end(), name) != deleted.end()) return;
  deleted.push_back(name);
  settings.SetValue(kDeletedSystemKey, std::move(deleted));
  SaveManagerSettings(settings);
}

bool ManagerBase::EraseSystemEntry(const UTF16String& name) {
  const auto it = systemEntries_.find(name);
  if (it == systemEntries_.end()) return false;
  // Not cached either, so that the folder scan of a later Initialize (ResetWorkspaceMgr's)
  // finds the file again.
  if (it->second) cachedFiles_.erase(it->second->GetPath());
  systemEntries_.erase(it);
  return true;
}

void ManagerBase::SyncSystemNames() {
  if (!systemProvider_) return;
  std::vector<UTF16String> names;
  for (const auto& entry : systemEntries_) names.push_back(entry.first);
  systemProvider_->InitWorkspaceNameList(names);
}

void ManagerBase::FlushManagerSettings() {
  PropList settings;
  if (!ReadSettings(settings)) return;
  settings.SetValue(kConfigVersionKey, kConfigVersion);
  if (const TopLevelWindow* main = workspace_.GetMainTopLevelWindow()) {
    PropList* place = settings.GetSubList(kMainWindowKey);
    main->SaveWindowStateData(place ? *place : settings.NewSubList(kMainWindowKey));
  }
  PropList::StringList times;
  PropList::TextList paths, names;
  PropList::IntList types;
  const auto collect = [&](const EntryMap& map, CachedType type) {
    for (const auto& [name, entry] : map) {
      if (!entry) continue;
      const File file(entry->GetPath());
      if (!file.Exists()) continue;
      times.push_back(ModifiedString(file));
      paths.push_back(entry->GetPath());
      const UTF16String key = type == kSystem ? UTF16String() : BuiltInKeyForName(name);
      names.push_back(key.empty() ? name : key);
      types.push_back(type);
    }
  };
  collect(archivedEntries_, kArchived);
  collect(currentEntries_, kCurrentState);
  collect(systemEntries_, kSystem);
  settings.SetValue(kTimesKey, std::move(times));
  settings.SetValue(kPathsKey, std::move(paths));
  settings.SetValue(kNamesKey, std::move(names));
  settings.SetValue(kTypesKey, std::move(types));
  SaveManagerSettings(settings);
}

void ManagerBase::ApplyDefaultMainWindowSize() {
  TopLevelWindow* main = workspace_.GetMainTopLevelWindow();
  if (!main) return;
  PropList settings;
  if (ReadSettings(settings)) {
    const PropList* place = settings.GetSubList(kMainWindowKey);
    if (place && main->RestoreWindowStateData(*place)) return;
  }
  main->ApplyDefaultWindowState();
}

}  // namespace kivworkspace::workspace
