#include "sharedui/ThreadPanel.h"

#include "services/core/Localizer.h"
#include "services/ui/controls/UI_Button.h"
#include "services/ui/controls/UI_Popup.h"
#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "sharedui/ThreadActivity.h"
#include "sharedui/ThreadHistoryView.h"
#include "sharedui/ThreadPanelCommands.h"

namespace kivworkspace::sharedui {
namespace {

constexpr int kRefreshTimer = 1;
constexpr int kRefreshIntervalMs = 100;
constexpr float kControlsHeight = 28;

}  // namespace

ThreadPanel::TabCreator::TabCreator() : workspace::TabCreator(kTabType), commands_(std::make_unique<ThreadPanelCommands>()) {}

ThreadPanel::TabCreator::~TabCreator() = default;

workspace::TabPanelPtr ThreadPanel::TabCreator::CreateTabPanel(workspace::Workspace* workspace,
                                                              workspace::WorkspaceFrameBase* frame) const {
  return std::make_shared<ThreadPanel>(workspace, frame);
}

ThreadPanel::ThreadPanel(workspace::Workspace* workspace, workspace::WorkspaceFrameBase* frame)
    : TabPanel(workspace, frame, true, kTabType,
               kivcore::config::Localizer::Get().Localize("$$$/kivworkspace/sharedui/ThreadPanel/Title=Threads")),
      pause_(std::make_shared<kivui::UI_Button>("Pause")),
      span_(std::make_shared<kivui::UI_Popup>()),
      history_(std::make_shared<ThreadHistoryView>()) {
  SetShowCloseControl();
  pause_->SetToggle(true);
  pause_->onClick = [this] { RefreshOnUIThread(); };
  span_->SetItems({{5, "Last 5 s"}, {10, "Last 10 s"}, {30, "Last 30 s"}, {60, "Last 60 s"}});
  span_->SetSelectedID(history_->GetSpanSeconds());
  span_->onSelectionChanged = [this](int seconds) {
    history_->SetSpanSeconds(seconds);
    history_->UI_Invalidate();
  };
  PushBack(pause_);
  PushBack(span_);
  PushBack(history_);
}

ThreadPanel::~ThreadPanel() = default;

void ThreadPanel::RefreshOnUIThread() {
  const std::uint64_t changes = ThreadActivity::Get().GetChangeCount();
  if (pause_->IsSelected() || changes == shownChanges_) return;
  shownChanges_ = changes;
  history_->UI_Invalidate();
}

void ThreadPanel::UI_Show(bool show) {
  TabPanel::UI_Show(show);
  if (show) {
    UI_StartTimer(kRefreshTimer, kRefreshIntervalMs);
  } else {
    UI_StopTimer(kRefreshTimer);
  }
}

void ThreadPanel::UI_DoTimerNotify(int id) {
  if (id == kRefreshTimer) RefreshOnUIThread();
}

void ThreadPanel::UI_SizeChanged(const kivcore::RectF& b) {
  TabPanel::UI_SizeChanged(b);
  pause_->SetFrame({6, 3, 70, kControlsHeight - 6});
  span_->SetFrame({82, 3, 110, kControlsHeight - 6});
  history_->SetFrame({0, kControlsHeight, b.width, std::max(0.0f, b.height - kControlsHeight)});
}

void ThreadPanel::UI_Draw(kivui::Drawbot& d, const kivcore::RectF&) {
  d.FillRect(GetLocalBounds(), kivui::ThemeColors::Current().panel);
}

void ThreadPanel::DoGetSnapSizes(std::vector<kivcore::Point>& sizes) const { sizes.push_back({480, 220}); }

}  // namespace kivworkspace::sharedui
