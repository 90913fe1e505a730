#include "sharedui/WorkspaceSwitcherManager.h"

#include "services/core/JSON.h"
#include "services/ui/skin/SkinManager.h"
#include "sharedui/WorkspaceSwitcherListener.h"
#include "workspace/manager/ManagerBase.h"

#include <algorithm>
#include <string>
#include <utility>

namespace kivworkspace::sharedui {

using kivcore::UTF16String;
namespace json = kivcore::utility;

std::unique_ptr<WorkspaceSwitcherManager> WorkspaceSwitcherManager::S_instanceP;

namespace {

using NameList = WorkspaceSwitcherManager::NameList;

bool Contains(const NameList& list, const UTF16String& name) {
  return std::find(list.begin(), list.end(), name) != list.end();
}

// Puts a name that has come back where the snapshot had it: at the front when it was
// first, else right after the name before it, when that one is in the list.
bool PlaceFromSnapshot(const NameList& snapshot, NameList& list, const UTF16String& name) {
  const auto at = std::find(snapshot.begin(), snapshot.end(), name);
  if (at == snapshot.end()) return false;
  if (at == snapshot.begin()) {
    list.insert(list.begin(), name);
    return true;
  }
  const auto before = std::find(list.begin(), list.end(), *std::prev(at));
  if (before == list.end()) return false;
  list.insert(std::next(before), name);
  return true;
}

// Keeps the names still available, each once, in their order; a name kept here is no
// longer available to the lists cleaned after this one.
void CleanWorkspaceList(NameList& list, NameList& available) {
  if (list.empty()) return;
  NameList kept;
  for (const UTF16String& name : list) {
    const auto it = std::find(available.begin(), available.end(), name);
    if (it == available.end()) continue;
    kept.push_back(name);
    available.erase(it);
  }
  list = std::move(kept);
}

// The list as it stands, with each name of the old snapshot that `gone` says no list holds
// any more put back after the name it followed there.
template <typename Gone>
NameList MergedSnapshot(const NameList& snapshot, const NameList& list, Gone gone) {
  NameList merged = list;
  for (const UTF16String& name : snapshot) {
    if (gone(name)) PlaceFromSnapshot(snapshot, merged, name);
  }
  return merged;
}

json::JSONArray ToArray(const NameList& names) {
  json::JSONArray array;
  for (const UTF16String& name : names) array.emplace_back(kivcore::UTF16to8(name));
  return array;
}

NameList FromArray(const json::JSONObject& object, std::string_view key) {
  NameList names;
  const json::JSONValue* value = json::GetVariantInObject(object, key);
  if (!value || !value->is_array()) return names;
  for (const json::JSONValue& item : value->as_array()) {
    if (item.is_string()) names.push_back(kivcore::UTF8to16(std::string_view(item.as_string())));
  }
  return names;
}

}  // namespace

WorkspaceSwitcherManager* WorkspaceSwitcherManager::Get() {
  if (!S_instanceP) S_instanceP.reset(new WorkspaceSwitcherManager());
  return S_instanceP.get();
}

void WorkspaceSwitcherManager::Forget() {
  if (S_instanceP) S_instanceP->AttachWorkspaceManager(nullptr);
  S_instanceP.reset();
}

void WorkspaceSwitcherManager::AttachWorkspaceManager(workspace::ManagerBase* manager) {
  if (manager_ == manager) return;
  if (manager_) {
    manager_->RemoveMenuHelper(this);
    manager_ = nullptr;
  }
  manager_ = manager;
  if (manager_) manager_->AddMenuHelper(this);
}

void WorkspaceSwitcherManager::AddListener(WorkspaceSwitcherListener* listener) {
  if (!std::count(listeners_.begin(), listeners_.end(), listener)) listeners_.push_back(listener);
}

void WorkspaceSwitcherManager::RemoveListener(WorkspaceSwitcherListener* listener) {
  if (auto it = std::find(listeners_.begin(), listeners_.end(), listener); it != listeners_.end()) listeners_.erase(it);
}

void WorkspaceSwitcherManager::NotifyListeners(WorkspaceSwitcherListener* except) {
  // A listener may leave while it is told; walk a copy.
  for (WorkspaceSwitcherListener* listener : std::vector<WorkspaceSwitcherListener*>(listeners_)) {
    if (listener != except) listener->WorkspacesConfigurationChanged();
  }
  shownListReset_ = false;
}

void WorkspaceSwitcherManager::SetRebuildEnabled(bool enabled) {
  rebuildDisable_ += enabled ? -1 : 1;
  if (rebuildDisable_ == 0 && std::exchange(rebuildAsked_, false)) RebuildMenu();
}

void WorkspaceSwitcherManager::RebuildMenu() {
  if (rebuildDisable_ > 0) {
    rebuildAsked_ = true;
    return;
  }
  // Until the manager knows its workspaces the lists stay as loaded.
  if (!manager_ || !manager_->IsInitialized()) return;
  NameList names;
  manager_->GetWorkspaces(names);
  bool placed = false;
  for (const UTF16String& name : names) {
    if (Contains(hidden_, name) || Contains(overflow_, name)) continue;
    if (PlaceFromSnapshot(overflowSnapshot_, overflow_, name)) {
      placed = true;
    } else if (!Contains(shown_, name)) {
      if (!PlaceFromSnapshot(shownSnapshot_, shown_, name)) shown_.push_back(name);
      placed = true;
    }
  }
  // The snapshots remember the places of names that go, so that they come back there.
  if (placed || overflow_.size() >= overflowSnapshot_.size()) overflowSnapshot_ = overflow_;
  if (placed || shown_.size() >= shownSnapshot_.size()) shownSnapshot_ = shown_;
  NameList available = names;
  CleanWorkspaceList(shown_, available);
  CleanWorkspaceList(overflow_, available);
  CleanWorkspaceList(hidden_, available);
  NotifyListeners(nullptr);
}

void WorkspaceSwitcherManager::SnapshotLists() {
  const auto gone = [this](const UTF16String& name) { return !IsListed(name); };
  shownSnapshot_ = MergedSnapshot(shownSnapshot_, shown_, gone);
  overflowSnapshot_ = MergedSnapshot(overflowSnapshot_, overflow_, gone);
}

bool WorkspaceSwitcherManager::IsListed(const UTF16String& name) const {
  return Contains(shown_, name) || Contains(overflow_, name) || Contains(hidden_, name);
}

kivcore::UTF8String WorkspaceSwitcherManager::GetData() const {
  json::JSONObject object;
  object["version"] = kivui::SkinManager::Get().GetDefaultSet().GetName();
  object["switcherwidth"] = width_;
  object["shown"] = ToArray(shown_);
  object["overflow"] = ToArray(overflow_);
  object["hidden"] = ToArray(hidden_);
  return json::GetJSONUTF8String(object);
}

bool WorkspaceSwitcherManager::SetData(const kivcore::UTF8String& text, std::string* error) {
  const std::optional<json::JSONValue> parsed = json::JSONParse(text, error);
  if (!parsed) return false;
  const json::JSONObject* object = parsed->if_object();
  if (!object || !json::ObjectHasProperty(*object, "version")) {
    if (error) *error = "the switcher settings have no version";
    return false;
  }
  const json::JSONValue* width = json::GetVariantInObject(*object, "switcherwidth");
  width_ = width && width->is_number() ? float(width->to_number<double>()) : 0.0f;
  shown_ = FromArray(*object, "shown");
  overflow_ = FromArray(*object, "overflow");
  hidden_ = FromArray(*object, "hidden");
  if (manager_ && manager_->IsInitialized()) RebuildMenu();
  return true;
}

void WorkspaceSwitcherManager::SetCurrentWorkspace(const UTF16String& name) {
  if (manager_) manager_->SetCurrentWorkspace(name);
}

void WorkspaceSwitcherManager::DeleteWorkspaces(std::list<UTF16String>& names) {
  if (!manager_) return;
  const UTF16String current = manager_->GetCurrentWorkspace();
  bool deleteCurrent = false;
  for (const UTF16String& name : names) {
    if (!current.empty() && name == current) {
      deleteCurrent = true;
    } else {
      manager_->DeleteUserWorkspace(name);
    }
  }
  if (!deleteCurrent) return;
  // Another workspace takes over before the current one goes: the first the switcher lists
  // that the manager has and that is not going.
  UTF16String next;
  for (const NameList* list : {&shown_, &overflow_, &hidden_}) {
    const auto it = std::find_if(list->begin(), list->end(), [&](const UTF16String& name) {
      return name != current && manager_->HasNamedWorkspace(name) && std::find(names.begin(), names.end(), name) == names.end();
    });
    if (it != list->end()) {
      next = *it;
      break;
    }
  }
  if (next.empty()) return;
  manager_->SetCurrentWorkspace(next);
  manager_->DeleteUserWorkspace(current);
}

void WorkspaceSwitcherManager::RenameWorkspaces(std::map<UTF16String, UTF16String>& oldToNew) {
  if (!manager_) return;
  std::map<UTF16String, UTF16String> pending;
  for (const auto& [from, to] : oldToNew) {
    if (from != to) pending.emplace(from, to);
  }
  while (!pending.empty()) {
    // The first rename, in name order, whose new name no workspace still to be renamed holds.
    const auto ready = std::find_if(pending.begin(), pending.end(), [&](const auto& rename) {
      return !pending.contains(rename.second);
    });
    if (ready != pending.end()) {
      RenameInPlace(ready->first, ready->second);
      pending.erase(ready);
      continue;
    }
    // Every new name is held by another workspace of the renames: they go round, and the
    // first steps aside.
    const auto [from, to] = *pending.begin();
    const UTF16String aside = UnusedName(from, pending);
    RenameInPlace(from, aside);
    pending.erase(from);
    pending.emplace(aside, to);
  }
}

void WorkspaceSwitcherManager::RenameInPlace(const UTF16String& from, const UTF16String& to) {
  manager_->RenameWorkspace(from, to);  // WorkspaceRenamed keeps the name's place
}

void WorkspaceSwitcherManager::WorkspaceRenamed(const UTF16String& from, const UTF16String& to) {
  // The new name takes the old one's place before the manager's rebuild, which then finds
  // it placed instead of adding it at the end of the bar.
  if (IsListed(to)) return;
  for (NameList* list : {&shown_, &overflow_, &hidden_, &shownSnapshot_, &overflowSnapshot_})
    std::replace(list->begin(), list->end(), from, to);
}

UTF16String WorkspaceSwitcherManager::UnusedName(
    const UTF16String& base, const std::map<UTF16String, UTF16String>& pending) const {
  for (int n = 1;; ++n) {
    const UTF16String name = base + u" (" + kivcore::UTF8to16(std::to_string(n)) + u")";
    const bool wanted = std::any_of(pending.begin(), pending.end(),
                                    [&](const auto& rename) { return rename.second == name; });
    if (!wanted && !IsListed(name) && !manager_->HasNamedWorkspace(name)) return name;
  }
}

}  // namespace kivworkspace::sharedui
