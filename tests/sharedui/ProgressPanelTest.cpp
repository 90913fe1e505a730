// The progress panel in a frame: it lists the global progress items and its menu removes
// the finished ones, leaving those still running.
#include "workspace/WorkspaceTestSupport.h"

#include "services/ui/menu/OSMenu.h"
#include "services/ui/progress/ProgressCategoryContainerView.h"
#include "services/ui/testing/ScriptedAnswers.h"
#include "sharedui/ProgressPanel.h"

#include <thread>

using namespace kivtest;
using kivworkspace::sharedui::ProgressPanel;
using kivui::utility::ProgressCategoryContainer;
using kivui::utility::ProgressItem;

namespace {

struct ProgressPanels : WorkspaceFixture {
  void SetUp() override {
    WorkspaceFixture::SetUp();
    workspace->RegisterTabCreator(std::make_unique<ProgressPanel::TabCreator>());
  }
};

TEST_F(ProgressPanels, TheMenuRemovesFinishedItemsAndKeepsRunningOnes) {
  WorkspaceFrame* frame = FrameWith({ProgressPanel::kTabType});
  auto* panel = dynamic_cast<ProgressPanel*>(frame->GetTabPanel(0).get());
  ASSERT_TRUE(panel);
  EXPECT_EQ(frame->GetTabWell().GetTab(0).text, "Progress Panel");

  // Jobs that start after the panel exists are listed by the panel itself.
  auto category = ProgressCategoryContainer::Get().GetOrCreateCategory(u"Download File");
  const auto done = category->CreateItem(u"done.bin");
  const auto failed = category->CreateItem(u"failed.bin");
  const auto running = category->CreateItem(u"running.bin");
  done->SetState(ProgressItem::kCompleted);
  failed->SetState(ProgressItem::kEnded);
  EXPECT_TRUE(kivui::testing::WaitUntil([&] { return panel->GetView().GetShownItemCount() == 3; }));
  EXPECT_EQ(panel->GetView().GetFrame().width, panel->GetLocalBounds().width) << "the view fills the panel";

  // The frame's menu button, clicked; the panel's item chosen.
  kivui::UI_Node* button = nullptr;
  for (std::size_t i = 0; i < frame->GetChildCount(); ++i)
    if (frame->GetChild(i)->GetToolTip() == "Panel menu") button = frame->GetChild(i);
  ASSERT_TRUE(button);
  auto answers = kivui::testing::ScriptedAnswers::Install();
  answers->Command(int(ProgressPanel::kRemoveDoneJobsCommand));
  kivui::testing::ClickNode(*button, {5, 5});
  const kivui::OSMenu::Item* item = answers->GetAsked().back().menu->FindCommand(int(ProgressPanel::kRemoveDoneJobsCommand));
  ASSERT_TRUE(item);
  EXPECT_EQ(item->text, "Remove Done Progress Items");
  EXPECT_EQ(category->GetItems(), (std::vector<boost::intrusive_ptr<ProgressItem>>{running}));
  EXPECT_EQ(panel->GetView().GetShownItemCount(), 1);

  std::vector<kivcore::Point> snaps;
  panel->DoGetSnapSizes(snaps);
  EXPECT_EQ(snaps, (std::vector<kivcore::Point>{{360, 580}}));
  const kivcore::RectF before = panel->GetView().GetFrame();
  panel->UI_SizeChanged({0, 0, 0, 300});
  EXPECT_EQ(panel->GetView().GetFrame(), before) << "an empty panel leaves its content as it was";
  category->RemoveItem(running);
}

// A job reported from a worker thread, in a category of its own, after the panel opened
// (a second download, say): it gets its row and its buttons work; removed, its row goes.
TEST_F(ProgressPanels, AJobStartedLaterOnAnotherThreadGetsARowWithButtons) {
  auto* panel = dynamic_cast<ProgressPanel*>(FrameWith({ProgressPanel::kTabType})->GetTabPanel(0).get());
  ASSERT_TRUE(panel);
  kivui::utility::ProgressCategoryContainerView& view = panel->GetView();
  const int before = view.GetShownItemCount();
  std::shared_ptr<kivui::utility::ProgressCategory> renders;
  boost::intrusive_ptr<ProgressItem> item;
  std::thread([&] {
    renders = ProgressCategoryContainer::Get().GetOrCreateCategory(u"Render");
    item = renders->CreateItem(u"Sequence 1");
    item->SetProgress(10, 100);
  }).join();
  std::vector<ProgressItem::ProgressState> asked;
  item->AddPauseResumeHandler([&](const auto& it, ProgressItem::ProgressState& state) {
    asked.push_back(state);
    it->SetState(ProgressItem::kPaused);
  });
  ASSERT_TRUE(kivui::testing::WaitUntil([&] { return view.GetShownItemCount() == before + 1; }));
  ASSERT_EQ(view.GetShownItem(before), item);
  const kivcore::RectF pause = view.GetPauseButtonRect(before);
  kivui::testing::ClickNode(view, {pause.left + pause.width / 2, pause.top + pause.height / 2});
  EXPECT_EQ(asked, std::vector<ProgressItem::ProgressState>{ProgressItem::kRunning});
  EXPECT_EQ(item->GetState(), ProgressItem::kPaused);

  std::thread([&] { renders->RemoveItem(item); }).join();
  EXPECT_TRUE(kivui::testing::WaitUntil([&] { return view.GetShownItemCount() == before; }));
}

}  // namespace
