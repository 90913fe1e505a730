#include "qtwidgets/internal/KeptPlaces.h"

#include "services/core/PropList.h"

#include <algorithm>
#include <cstdint>

namespace kivworkspace::qtwidgets {
namespace {

using kivcore::PropList;

std::string Numbered(const char* prefix, std::size_t n) { return prefix + std::to_string(n); }

// The entries of a per-tab list at the tabs that stay.
template <typename List>
void KeepEntries(PropList& frame, const char* key, const std::vector<bool>& stays) {
  List values;
  if (!frame.GetValue(key, values) || values.size() != stays.size()) return;
  List kept;
  for (std::size_t n = 0; n < values.size(); ++n)
    if (stays[n]) kept.push_back(values[n]);
  frame.SetValue(key, std::move(kept));
}

void CloseUnknownTabs(PropList& frame, const std::function<bool(const std::string&)>& known,
                      std::vector<std::string>& closedIds) {
  PropList::StringList ids;
  if (!frame.GetValue("TabIDs", ids)) return;
  std::vector<bool> stays(ids.size());
  for (std::size_t n = 0; n < ids.size(); ++n) stays[n] = known(ids[n]);
  if (std::all_of(stays.begin(), stays.end(), [](bool b) { return b; })) return;

  PropList::StringList records;
  frame.GetValue("ReanimTabs", records);
  PropList::StringList open;
  std::vector<std::string> openStates;
  for (std::size_t n = 0; n < ids.size(); ++n) {
    std::string state;
    const std::string key = Numbered("VisTabState-", n);
    frame.GetValue(key, state);
    frame.RemoveValue(key);
    if (stays[n]) {
      open.push_back(ids[n]);
      openStates.push_back(std::move(state));
      continue;
    }
    frame.SetValue(Numbered("HidTabState-", records.size()), state);
    records.push_back(ids[n]);
    if (std::find(closedIds.begin(), closedIds.end(), ids[n]) == closedIds.end())
      closedIds.push_back(ids[n]);
  }
  for (std::size_t n = 0; n < openStates.size(); ++n)
    if (!openStates[n].empty()) frame.SetValue(Numbered("VisTabState-", n), openStates[n]);

  // The front tab stays in front when it stays, else the first that stays is.
  std::int32_t front = 0;
  frame.GetValue("CurrTab", front);
  std::int32_t newFront = 0;
  for (std::size_t n = 0; n < ids.size() && std::int32_t(n) < front; ++n) newFront += stays[n];
  if (front < 0 || std::size_t(front) >= ids.size() || !stays[std::size_t(front)]) newFront = 0;
  frame.SetValue("CurrTab", newFront);
  KeepEntries<PropList::BoolList>(frame, "StackedViewOpen", stays);
  KeepEntries<PropList::IntList>(frame, "StackedViewClientHeights", stays);
  frame.SetValue("TabIDs", std::move(open));
  frame.SetValue("ReanimTabs", std::move(records));
}

void Walk(PropList& list, const std::function<bool(const std::string&)>& known,
          std::vector<std::string>& closedIds) {
  for (const std::string& key : list.GetKeys()) {
    PropList* sub = list.GetSubList(key);
    if (!sub) continue;
    if (key == "Frame") CloseUnknownTabs(*sub, known, closedIds);
    Walk(*sub, known, closedIds);
  }
}

}  // namespace

std::vector<std::string> KeepPlacesOfUnknownPanels(
    PropList& definition, const std::function<bool(const std::string&)>& known) {
  std::vector<std::string> closedIds;
  Walk(definition, known, closedIds);
  return closedIds;
}

}  // namespace kivworkspace::qtwidgets
