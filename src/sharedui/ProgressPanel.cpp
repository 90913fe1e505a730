#include "sharedui/ProgressPanel.h"

#include "services/core/Localizer.h"
#include "services/ui/menu/OSMenu.h"
#include "services/ui/progress/ProgressCategoryContainerView.h"

namespace kivworkspace::sharedui {

namespace {
kivcore::UTF16String Text(std::string_view key) { return kivcore::config::Localizer::Get().Localize(key); }
}  // namespace

workspace::TabPanelPtr ProgressPanel::TabCreator::CreateTabPanel(workspace::Workspace* workspace,
                                                                workspace::WorkspaceFrameBase* frame) const {
  return std::make_shared<ProgressPanel>(workspace, frame,
                                         Text("$$$/kivworkspace/sharedui/ProgressPanel/ProgressPanel=Progress Panel"));
}

ProgressPanel::ProgressPanel(workspace::Workspace* workspace, workspace::WorkspaceFrameBase* frame,
                             const kivcore::UTF16String& title)
    : TabPanel(workspace, frame, false, kTabType, title),
      view_(std::make_shared<kivui::utility::ProgressCategoryContainerView>(kivui::utility::ProgressCategoryContainer::Get())) {
  SetShowCloseControl();
  PushBack(view_);
}

void ProgressPanel::PopulateFlyoutMenu(kivui::OSMenu& menu) {
  menu.AddItem(int(kRemoveDoneJobsCommand),
               kivcore::UTF16to8(Text("$$$/kivworkspace/sharedui/ProgressPanel/FlyoutMenu/RemoveDoneJobs=Remove Done Progress Items")));
}

bool ProgressPanel::DoFlyoutMenuCommand(unsigned id) {
  if (id != kRemoveDoneJobsCommand) return false;
  kivui::utility::ProgressCategoryContainer::Get().RemoveDoneJobs();
  view_->Refresh();
  return true;
}

void ProgressPanel::DoGetSnapSizes(std::vector<kivcore::Point>& sizes) const { sizes.push_back({360, 580}); }

void ProgressPanel::UI_SizeChanged(const kivcore::RectF& newBounds) {
  TabPanel::UI_SizeChanged(newBounds);
  if (newBounds.width > 0 && newBounds.height > 0) view_->SetFrame({0, 0, newBounds.width, newBounds.height});
}

}  // namespace kivworkspace::sharedui
