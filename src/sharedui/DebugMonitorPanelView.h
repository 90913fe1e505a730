#pragma once

#include "services/ui/node/UI_Container.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kivui {
class UI_MultiColumnTree;
struct UI_MultiColumnTreeRow;
}

namespace kivworkspace::sharedui {

// The debug monitor's tree: one group row per level of the debug information's paths and
// one row per value, whose value text is refreshed while its group is open.
class DebugMonitorPanelView : public kivui::UI_Container {
 public:
  DebugMonitorPanelView();
  ~DebugMonitorPanelView() override;

  kivui::UI_MultiColumnTree& GetTree() { return *tree_; }

  // Rebuilds the rows when the registered paths changed, keeping which groups are open.
  void SyncRows();
  // Sets the value text of every row whose groups are open.
  void RefreshValues();

  // Rows by name (a group's path, or a value's full path) and whether they are open.
  std::vector<std::string> GetRowNames() const;
  bool IsRowOpen(const std::string& name) const;
  void SetRowOpen(const std::string& name, bool open);
  // The value text a row shows now.
  std::string GetValueText(const std::string& name) const;

  // The refresh timer runs while the view is shown; its interval in milliseconds.
  void StartRefresh();
  void StopRefresh();
  bool IsRefreshing() const;
  int GetRefreshIntervalMs() const { return intervalMs_; }

  int GetVisibleRowCount() const;
  float GetRowHeight() const;

  void UI_SizeChanged(const kivcore::RectF& newBounds) override;
  void UI_DoTimerNotify(int id) override;

 private:
  int ReadInterval();
  // Whether every group above the row is open.
  bool IsShowing(const std::string& name) const;
  kivui::UI_MultiColumnTreeRow& AddRow(std::vector<kivui::UI_MultiColumnTreeRow>& rows, const std::string& name);

  std::shared_ptr<kivui::UI_MultiColumnTree> tree_;
  std::vector<std::string> paths_;     // the debug information shown
  std::map<std::string, int> rowIds_;  // by row name
  std::map<int, std::string> valuePaths_;  // value rows' ids to their paths
  const int timerId_;
  int intervalMs_ = 0;
  std::uint64_t intervalReadAt_ = ~std::uint64_t(0);  // the debug database's change count then
};

}  // namespace kivworkspace::sharedui
