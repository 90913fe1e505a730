#pragma once

#include "workspace/core/TabCreator.h"
#include "workspace/core/TabPanel.h"

#include <cstdint>
#include <memory>

namespace kivui {
class UI_Button;
class UI_Popup;
}

namespace kivworkspace::sharedui {

class ThreadHistoryView;
class ThreadPanelCommands;

// What the program's threads did lately, one lane per thread, and the commands that set
// them to work (thread.*), registered while the panel's tab creator is.
class ThreadPanel : public workspace::TabPanel {
 public:
  static constexpr const char* kTabType = "ThreadPanel";

  class TabCreator : public workspace::TabCreator {
   public:
    TabCreator();
    ~TabCreator() override;
    workspace::TabPanelPtr CreateTabPanel(workspace::Workspace* workspace, workspace::WorkspaceFrameBase* frame) const override;
    bool HidesWhenClosed() const override { return true; }

   private:
    std::unique_ptr<ThreadPanelCommands> commands_;
  };

  static const char* GetTabType() { return kTabType; }

  ThreadPanel(workspace::Workspace* workspace, workspace::WorkspaceFrameBase* frame);
  ~ThreadPanel() override;

  ThreadHistoryView& GetHistoryView() { return *history_; }
  kivui::UI_Button& GetPauseBox() { return *pause_; }
  kivui::UI_Popup& GetSpanList() { return *span_; }

  // Redraws the history when activity was recorded since the last time, unless paused.
  void RefreshOnUIThread();

  void UI_Show(bool show) override;
  void UI_SizeChanged(const kivcore::RectF& newBounds) override;
  void UI_Draw(kivui::Drawbot& drawbot, const kivcore::RectF& dirty) override;
  void UI_DoTimerNotify(int id) override;
  void DoGetSnapSizes(std::vector<kivcore::Point>& sizes) const override;

 private:
  std::shared_ptr<kivui::UI_Button> pause_;
  std::shared_ptr<kivui::UI_Popup> span_;
  std::shared_ptr<ThreadHistoryView> history_;
  std::uint64_t shownChanges_ = ~std::uint64_t(0);
};

}  // namespace kivworkspace::sharedui
