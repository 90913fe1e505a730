#pragma once

#include "workspace/core/TabCreator.h"
#include "workspace/core/TabPanel.h"

#include <memory>

namespace kivworkspace::sharedui {

class DebugMonitorPanelView;

// Live debug values of the program (the core library's debug information) as a tree whose
// open rows refresh on a timer while the panel is shown. The interval is the debug database
// value "DebugMonitorRefreshInterval", in milliseconds. Which rows are open is kept with the
// panel's state.
class DebugMonitorPanel : public workspace::TabPanel {
 public:
  static constexpr const char* kTabType = "DebugMonitorPanel";

  static std::unique_ptr<workspace::TabCreator> CreateTabCreator();
  static const char* GetTabType() { return kTabType; }

  DebugMonitorPanel(workspace::Workspace* workspace, workspace::WorkspaceFrameBase* frame);
  ~DebugMonitorPanel() override;

  DebugMonitorPanelView& GetView() { return *view_; }

  void DoSaveStateData(kivcore::PropList* state) const override;
  void DoLoadStateData(kivcore::PropList* state) override;
  void DoGetSnapSizes(std::vector<kivcore::Point>& sizes) const override;
  void UI_SizeChanged(const kivcore::RectF& newBounds) override;
  void UI_Show(bool show) override;

 private:
  std::shared_ptr<DebugMonitorPanelView> view_;
};

}  // namespace kivworkspace::sharedui
