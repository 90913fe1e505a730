#include "UITestNodes.h"

#include "services/core/MainThread.h"
#include "services/ui/progress/ProgressCategoryContainerView.h"
#include "services/ui/testing/Input.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using kivui::utility::ProgressItem;
namespace testing_ui = kivui::testing;

namespace {

TEST(ProgressView, ButtonsSendPauseResumeAndCancelToTheItem) {
  kivui::utility::ProgressCategoryContainer container;
  auto downloads = container.GetOrCreateCategory(u"Downloads");
  auto item = downloads->CreateItem(u"footage.mov");
  item->SetProgress(25, 100, u"25 of 100 MB");
  int cancels = 0;
  std::vector<ProgressItem::ProgressState> seen;
  item->AddCancelHandler([&](const auto&) { ++cancels; return true; });
  item->AddPauseResumeHandler([&](const auto& it, ProgressItem::ProgressState& state) {
    seen.push_back(state);
    it->SetState(state == ProgressItem::kPaused ? ProgressItem::kResumed : ProgressItem::kPaused);
  });

  auto window = kivtest::MakeWindow("progress", {0, 0, 400, 200});
  auto view = std::make_shared<kivui::utility::ProgressCategoryContainerView>(container);
  view->SetFrame({0, 0, 400, 200});
  window->PushBack(view);
  testing_ui::ProcessEvents();
  ASSERT_EQ(view->GetShownItemCount(), 1);

  const auto center = [&](const kivcore::RectF& r) {
    return view->UI_LocalToGlobal({int(r.left + r.width / 2), int(r.top + r.height / 2)});
  };
  testing_ui::ClickAt(center(view->GetPauseButtonRect(0)));
  EXPECT_EQ(item->GetState(), ProgressItem::kPaused);
  testing_ui::ClickAt(center(view->GetPauseButtonRect(0)));
  EXPECT_EQ(item->GetState(), ProgressItem::kResumed);
  EXPECT_EQ(seen, (std::vector<ProgressItem::ProgressState>{ProgressItem::kRunning, ProgressItem::kPaused}));
  testing_ui::ClickAt(center(view->GetCancelButtonRect(0)));
  EXPECT_EQ(cancels, 1);
}

TEST(ProgressView, ChangesFromWorkerThreadsAreShownOnTheUIThread) {
  kivui::utility::ProgressCategoryContainer container;
  auto item = container.GetOrCreateCategory(u"Renders")->CreateItem(u"Sequence 1");
  auto window = kivtest::MakeWindow("progress-threads", {0, 0, 300, 100});
  auto view = std::make_shared<kivui::utility::ProgressCategoryContainerView>(container);
  window->PushBack(view);
  std::atomic<int> notified{0};
  auto connection = item->Changed().connect([&](const ProgressItem&) { ++notified; });
  std::thread worker([&] {
    for (int i = 1; i <= 10; ++i) item->SetProgress(float(i), 10);
  });
  worker.join();
  EXPECT_EQ(notified.load(), 10);
  EXPECT_FLOAT_EQ(item->GetProgress(), 1.0f);
  // The view's redraw requests were posted to the main thread and run there; a view that
  // is gone by then ignores them.
  item->SetProgress(5, 10);
  view.reset();
  window.reset();
  testing_ui::ProcessEvents(20);
}

}  // namespace

namespace {

TEST(MainThreadQueue, CallsPostedFromOtherThreadsRunInTheEventLoopOnTheMainThread) {
  std::atomic<bool> ran{false}, onMain{false};
  std::thread worker([&] {
    kivcore::threads::AsyncCallFromMainThread([&] {
      onMain = kivcore::threads::IsMainThread();
      ran = true;
    });
  });
  worker.join();
  EXPECT_FALSE(ran.load());  // not before the event loop runs
  ASSERT_TRUE(testing_ui::WaitUntil([&] { return ran.load(); }));
  EXPECT_TRUE(onMain.load());
}

}  // namespace
