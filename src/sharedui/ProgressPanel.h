#pragma once

#include "workspace/core/TabCreator.h"
#include "workspace/core/TabPanel.h"

#include <memory>

namespace kivui::utility {
class ProgressCategoryContainerView;
}

namespace kivworkspace::sharedui {

// The progress of every job that reports through a progress item (downloads among them),
// by category, with pause, resume and cancel where the item allows; the panel's menu
// removes the finished items.
class ProgressPanel : public workspace::TabPanel {
 public:
  static constexpr const char* kTabType = "ProgressPanel";
  static constexpr unsigned kRemoveDoneJobsCommand = 500;

  class TabCreator : public workspace::TabCreator {
   public:
    TabCreator() : workspace::TabCreator(kTabType) {}
    workspace::TabPanelPtr CreateTabPanel(workspace::Workspace* workspace, workspace::WorkspaceFrameBase* frame) const override;
  };

  ProgressPanel(workspace::Workspace* workspace, workspace::WorkspaceFrameBase* frame, const kivcore::UTF16String& title);

  kivui::utility::ProgressCategoryContainerView& GetView() { return *view_; }

  void PopulateFlyoutMenu(kivui::OSMenu& menu) override;
  bool DoFlyoutMenuCommand(unsigned id) override;
  void DoGetSnapSizes(std::vector<kivcore::Point>& sizes) const override;
  void UI_SizeChanged(const kivcore::RectF& newBounds) override;

 private:
  std::shared_ptr<kivui::utility::ProgressCategoryContainerView> view_;
};

}  // namespace kivworkspace::sharedui
