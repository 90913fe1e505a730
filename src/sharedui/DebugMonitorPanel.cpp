#include "sharedui/DebugMonitorPanel.h"

#include "services/core/Localizer.h"
#include "services/core/PropList.h"
#include "sharedui/DebugMonitorPanelView.h"

#include <cmath>

namespace kivworkspace::sharedui {
namespace {

class DebugMonitorTabCreator : public workspace::TabCreator {
 public:
  DebugMonitorTabCreator() : workspace::TabCreator(DebugMonitorPanel::kTabType) {}
  workspace::TabPanelPtr CreateTabPanel(workspace::Workspace* workspace, workspace::WorkspaceFrameBase* frame) const override {
    return std::make_shared<DebugMonitorPanel>(workspace, frame);
  }
  bool HidesWhenClosed() const override { return true; }
};

constexpr const char* kIsOpenKey = "IsOpen";

}  // namespace

std::unique_ptr<workspace::TabCreator> DebugMonitorPanel::CreateTabCreator() {
  return std::make_unique<DebugMonitorTabCreator>();
}

DebugMonitorPanel::DebugMonitorPanel(workspace::Workspace* workspace, workspace::WorkspaceFrameBase* frame)
    : TabPanel(workspace, frame, true, kTabType,
               kivcore::config::Localizer::Get().Localize("$$$/kivworkspace/sharedui/DebugMonitorPanel/Title=Debug Monitor")),
      view_(std::make_shared<DebugMonitorPanelView>()) {
  SetShowCloseControl();
  PushBack(view_);
}

DebugMonitorPanel::~DebugMonitorPanel() = default;

void DebugMonitorPanel::DoSaveStateData(kivcore::PropList* state) const {
  for (const std::string& name : view_->GetRowNames()) state->NewSubList(name).SetValue(kIsOpenKey, view_->IsRowOpen(name));
}

void DebugMonitorPanel::DoLoadStateData(kivcore::PropList* state) {
  view_->SyncRows();
  for (const std::string& name : view_->GetRowNames()) {
    const kivcore::PropList* row = state->GetSubList(name);
    bool open = false;
    if (row && row->GetValue(kIsOpenKey, open)) view_->SetRowOpen(name, open);
  }
}

void DebugMonitorPanel::DoGetSnapSizes(std::vector<kivcore::Point>& sizes) const {
  const float rowHeight = view_->GetRowHeight();
  // The header and every visible row, each row with its spacing.
  const float height = rowHeight + float(view_->GetVisibleRowCount()) * (rowHeight + 1.5f);
  sizes.push_back({400, int(std::floor(height))});
}

void DebugMonitorPanel::UI_SizeChanged(const kivcore::RectF& newBounds) {
  TabPanel::UI_SizeChanged(newBounds);
  view_->SetFrame({0, 0, newBounds.width, newBounds.height});
}

void DebugMonitorPanel::UI_Show(bool show) {
  TabPanel::UI_Show(show);
  if (show) {
    view_->StartRefresh();
  } else {
    view_->StopRefresh();
  }
}

}  // namespace kivworkspace::sharedui
