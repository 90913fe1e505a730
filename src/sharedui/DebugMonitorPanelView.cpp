#include "sharedui/DebugMonitorPanelView.h"

#include "services/core/DebugDatabase.h"
#include "services/core/DebugInfo.h"
#include "services/ui/controls/UI_MultiColumnTree.h"
#include "services/ui/node/UI_NodeManager.h"

#include <algorithm>

namespace kivworkspace::sharedui {
namespace {

constexpr std::int64_t kDefaultIntervalMs = 500;

std::string LastName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

}  // namespace

DebugMonitorPanelView::DebugMonitorPanelView()
    : UI_Container("DebugMonitorPanelView"),
      tree_(std::make_shared<kivui::UI_MultiColumnTree>()),
      timerId_(kivui::UI_NodeManager::Get().GetUniqueTimerID()) {
  tree_->SetColumns({{"Name", 240}, {"Value", 160}});
  PushBack(tree_);
  SyncRows();
}

DebugMonitorPanelView::~DebugMonitorPanelView() = default;

kivui::UI_MultiColumnTreeRow& DebugMonitorPanelView::AddRow(std::vector<kivui::UI_MultiColumnTreeRow>& rows,
                                                            const std::string& name) {
  const int id = int(rowIds_.size()) + 1;
  rowIds_[name] = id;
  rows.push_back({.id = id, .cells = {LastName(name), {}}, .expanded = false});
  return rows.back();
}

void DebugMonitorPanelView::SyncRows() {
  std::vector<std::string> paths = kivcore::debug::GetDebugInfoPaths();
  if (paths == paths_) return;
  std::map<std::string, bool> open;
  for (const auto& [name, id] : rowIds_) open[name] = tree_->IsRowExpanded(id);
  paths_ = std::move(paths);
  rowIds_.clear();
  valuePaths_.clear();
  // Each path's groups in turn; a group row is made the first time a path passes it.
  std::vector<kivui::UI_MultiColumnTreeRow> top;
  std::map<std::string, std::vector<std::size_t>> where;  // a group's place: indexes from the top
  for (const std::string& path : paths_) {
    std::vector<kivui::UI_MultiColumnTreeRow>* level = &top;
    std::vector<std::size_t> trail;
    for (std::size_t slash = path.find('/'); slash != std::string::npos; slash = path.find('/', slash + 1)) {
      const std::string group = path.substr(0, slash);
      if (!where.count(group)) {
        AddRow(*level, group).expanded = open[group];
        trail.push_back(level->size() - 1);
        where[group] = trail;
      } else {
        trail = where[group];
      }
      level = &(*level)[trail.back()].children;
    }
    valuePaths_[AddRow(*level, path).id] = path;
  }
  tree_->SetRows(top);
  RefreshValues();
}

bool DebugMonitorPanelView::IsShowing(const std::string& name) const {
  for (std::size_t slash = name.find('/'); slash != std::string::npos; slash = name.find('/', slash + 1)) {
    if (!IsRowOpen(name.substr(0, slash))) return false;
  }
  return true;
}

void DebugMonitorPanelView::RefreshValues() {
  for (const auto& [id, path] : valuePaths_) {
    if (!IsShowing(path)) continue;
    tree_->SetRowText(id, kivcore::debug::GetDebugInfo(path).value_or("(gone)"), 1);
  }
}

std::vector<std::string> DebugMonitorPanelView::GetRowNames() const {
  std::vector<std::string> names;
  for (const auto& [name, id] : rowIds_) names.push_back(name);
  return names;
}

bool DebugMonitorPanelView::IsRowOpen(const std::string& name) const {
  const auto it = rowIds_.find(name);
  return it != rowIds_.end() && tree_->IsRowExpanded(it->second);
}

void DebugMonitorPanelView::SetRowOpen(const std::string& name, bool open) {
  const auto it = rowIds_.find(name);
  if (it == rowIds_.end()) return;
  tree_->SetRowExpanded(it->second, open);
  RefreshValues();
}

std::string DebugMonitorPanelView::GetValueText(const std::string& name) const {
  const auto it = rowIds_.find(name);
  return it == rowIds_.end() ? std::string() : tree_->GetRowText(it->second, 1);
}

int DebugMonitorPanelView::ReadInterval() {
  auto& db = kivcore::debug::DebugDatabase::Instance();
  const std::uint64_t changes = db.GetChangeCount();
  if (changes != intervalReadAt_) {
    intervalMs_ = int(std::clamp<std::int64_t>(db.GetEntry("DebugMonitorRefreshInterval", kDefaultIntervalMs), 10, 60'000));
    intervalReadAt_ = db.GetChangeCount();
  }
  return intervalMs_;
}

void DebugMonitorPanelView::StartRefresh() { UI_StartTimer(timerId_, ReadInterval()); }
void DebugMonitorPanelView::StopRefresh() { UI_StopTimer(timerId_); }
bool DebugMonitorPanelView::IsRefreshing() const { return IsTimerRunning(timerId_); }

int DebugMonitorPanelView::GetVisibleRowCount() const {
  return int(std::count_if(rowIds_.begin(), rowIds_.end(), [this](const auto& row) { return IsShowing(row.first); }));
}

float DebugMonitorPanelView::GetRowHeight() const {
  const int first = rowIds_.empty() ? 0 : rowIds_.begin()->second;
  const float height = first ? tree_->GetRowRect(first).height : 0;
  return height > 0 ? height : 20;
}

void DebugMonitorPanelView::UI_SizeChanged(const kivcore::RectF& b) { tree_->SetFrame({0, 0, b.width, b.height}); }

void DebugMonitorPanelView::UI_DoTimerNotify(int id) {
  if (id != timerId_) return;
  SyncRows();
  RefreshValues();
  const int before = intervalMs_;
  if (ReadInterval() != before) StartRefresh();
}

}  // namespace kivworkspace::sharedui
