// The desktop and touch managers: static border and tabless frames around the tree.
#include "LayoutTestHosts.h"

#include "layout/LayoutManagerV1.h"
#include "layout/SecondaryUIFrame.h"
#include "layout/TouchLayoutManager.h"

#include <gtest/gtest.h>

using namespace kivtest;
using ws::Frame;
using ws::FrameZones;
using ws::LayoutManager;
using ws::LayoutManagerV1;
using ws::Splitter;
using ws::TouchLayoutManager;

namespace {

template <typename Manager>
struct Variant : ::testing::Test {
  RecordingWindowHost window;
  Manager manager{&window};
  TreeBuilder tree{manager};
};
using DesktopManager = Variant<LayoutManagerV1>;
using TouchManager = Variant<TouchLayoutManager>;

}  // namespace

TEST_F(DesktopManager, StaticTopFrameAndTheTreeBelowIt) {
  Frame* top = tree.NewFrame({0, 40});
  Frame* root = tree.NewFrame();
  manager.SetRootElement(root);
  manager.SetStaticBorderFrame(top, {0, 0, 800, 600}, LayoutManager::kTop, true);
  EXPECT_TRUE(manager.HasStaticBorderFrame(LayoutManager::kTop));
  EXPECT_FALSE(manager.HasStaticBorderFrame(LayoutManager::kLeft));
  EXPECT_EQ(tree.Host(top).rect(), (Rect{0, 0, 800, 40}));
  EXPECT_EQ(tree.Host(root).rect(), (Rect{0, 40, 800, 560}));
  EXPECT_EQ(tree.Host(root).zones().EdgeSize(1), 2) << "under a fixed bar: a splitter-like edge";

  // A resizable top bar: the tree treats the bar's lower edge as the window border, and the
  // frames right under it get no top strip.
  manager.SetStaticBorderFrameResizable(LayoutManager::kTop, true);
  manager.ReLayout(true, true, false);
  EXPECT_EQ(tree.Host(root).zones().EdgeSize(1), 0);
  EXPECT_EQ(tree.Host(root).zones()[FrameZones::kTop], Rect{});
  EXPECT_EQ(tree.Host(top).zones().EdgeSize(1), 1) << "the bar itself keeps its border";

  // Removing the bar clears its resizable mark.
  manager.SetStaticBorderFrame(nullptr, {0, 0, 800, 600}, LayoutManager::kTop, true);
  EXPECT_EQ(tree.Host(root).rect(), (Rect{0, 0, 800, 600}));
  EXPECT_EQ(tree.Host(root).zones().EdgeSize(1), 1);
}

TEST_F(DesktopManager, BordersOnEverySideAndTheTablessFrame) {
  Frame* top = tree.NewFrame({0, 30});
  Frame* bottom = tree.NewFrame({0, 20});
  Frame* left = tree.NewFrame({50, 0});
  Frame* right = tree.NewFrame({60, 0});
  Frame* tabless = tree.NewFrame();
  const Rect window{10, 10, 800, 600};
  manager.SetStaticBorderFrame(top, window, LayoutManager::kTop, false);
  manager.SetStaticBorderFrame(bottom, window, LayoutManager::kBottom, false);
  manager.SetStaticBorderFrame(left, window, LayoutManager::kLeft, false);
  manager.SetStaticBorderFrame(right, window, LayoutManager::kRight, false);
  manager.SetStaticTablessFrame(tabless, window, true);
  EXPECT_EQ(tree.Host(top).rect(), (Rect{10, 10, 800, 30}));
  EXPECT_EQ(tree.Host(bottom).rect(), (Rect{10, 590, 800, 20}));
  EXPECT_EQ(tree.Host(left).rect(), (Rect{10, 40, 50, 550}));
  EXPECT_EQ(tree.Host(right).rect(), (Rect{750, 40, 60, 550}));
  EXPECT_EQ(tree.Host(tabless).rect(), (Rect{60, 40, 690, 550}));

  manager.EnableLeftStaticBorderAsSecondTopFrame(true);
  Frame* leftBar = tree.NewFrame({0, 25});
  manager.SetStaticBorderFrame(leftBar, window, LayoutManager::kLeft, true);
  EXPECT_EQ(tree.Host(leftBar).rect(), (Rect{10, 40, 800, 25})) << "a second bar under the top";
  // In this mode the side columns are not laid out at all, the right one included.
  EXPECT_EQ(tree.Host(tabless).rect(), (Rect{10, 65, 800, 525}));
  EXPECT_EQ(tree.Host(right).placedCount(), 1);
}

TEST_F(DesktopManager, EmptyRectanglesChangeNothingAndTheFirstLayoutPassesItsSizeAsDelta) {
  Frame* left = tree.NewFrame();
  Frame* right = tree.NewFrame();
  tree.Host(right).setSnaps({{250, 0}});
  Splitter* s = tree.Split(true, left, right, 0.3f);
  manager.SetRootElement(s);
  manager.Layout({0, 0, 0, 600}, true, true, false);
  EXPECT_EQ(manager.GetLastLayoutRect(), Rect{});
  EXPECT_EQ(tree.Host(left).placedCount(), 0);
  // The first layout grows from nothing: the fixed frame is not pulled to 250 yet.
  manager.Layout({0, 0, 1000, 600}, true, true, false);
  EXPECT_EQ(s->GetPixelPlacement(), 300);
  manager.ReLayout(true, true, false);
  EXPECT_EQ(s->GetPixelPlacement(), 750);

  // The preview copy is a manager of the same kind.
  struct Copier : LayoutManagerV1 {
    using LayoutManagerV1::LayoutManagerV1;
    std::unique_ptr<LayoutManager> Copy(const LayoutManager& from, ws::LayoutManagerHostInterface* host) {
      return CreateLayoutManager(from, host, new Splitter(nullptr, false), {0, 0, 10, 10});
    }
  } copier(&window);
  auto copy = copier.Copy(manager, &window);
  ASSERT_TRUE(dynamic_cast<LayoutManagerV1*>(copy.get()));
  EXPECT_EQ(static_cast<LayoutManagerV1&>(*copy).GetLastLayoutRect(), (Rect{0, 0, 10, 10}));
}

TEST_F(DesktopManager, AMaximizedFrameGetsTheRestOfTheWindow) {
  Frame* top = tree.NewFrame({0, 40});
  Frame* a = tree.NewFrame();
  manager.SetStaticBorderFrame(top, {0, 0, 800, 600}, LayoutManager::kTop, false);
  manager.SetRootFrame(a, {0, 0, 800, 600});
  Frame* b = tree.NewFrame();
  manager.AddFrame(a, LayoutManager::kRight, b);
  manager.SetMaximizedFrame(b);
  EXPECT_EQ(tree.Host(b).rect(), (Rect{0, 40, 800, 560}));
  EXPECT_FALSE(tree.Host(a).IsFrameShown());
}

TEST_F(TouchManager, StaticFramesStackAndTheCentreGetsTheRest) {
  Frame* top1 = tree.NewFrame({0, 30});
  Frame* top2 = tree.NewFrame({0, 40});
  Frame* centre = tree.NewFrame();
  Frame* root = tree.NewFrame();
  RecordingFrameHost secondaryHost(nullptr, 99, {70, 0});
  ws::SecondaryUIFrame secondary(&secondaryHost, &manager);
  manager.SetRootElement(root);
  const Rect window{0, 0, 800, 600};
  manager.SetStaticBorderFrame(top1, window, LayoutManager::kTop, false);
  manager.SetStaticBorderFrame(top2, window, LayoutManager::kTop, false);
  manager.SetStaticBorderFrame(centre, window, LayoutManager::kCentre, false);
  manager.SetSecondaryBorderFrame(&secondary, window, LayoutManager::kLeft, true);
  EXPECT_EQ(tree.Host(top1).rect(), (Rect{0, 0, 800, 30}));
  EXPECT_EQ(tree.Host(top2).rect(), (Rect{0, 30, 800, 40}));
  EXPECT_EQ(secondaryHost.rect(), (Rect{0, 70, 70, 530}));
  EXPECT_EQ(manager.GetLastCentreFrame(), (Rect{70, 70, 730, 530}));
  EXPECT_EQ(tree.Host(centre).rect(), (Rect{70, 70, 730, 530}));
  EXPECT_EQ(tree.Host(root).rect(), (Rect{70, 70, 730, 530}));

  EXPECT_EQ(manager.GetInsertionType(top2), LayoutManager::kTop);
  EXPECT_EQ(manager.GetStaticBorderFrame(LayoutManager::kTop), top1);
  manager.ChangeInsertionType(top2, LayoutManager::kBottom);
  EXPECT_EQ(manager.GetInsertionType(top2), LayoutManager::kBottom);
  EXPECT_EQ(tree.Host(top2).rect(), (Rect{0, 560, 800, 40}));
  manager.ShowAllBorderFrames(false, window, window);
  EXPECT_FALSE(tree.Host(top1).IsFrameShown());
  EXPECT_TRUE(tree.Host(root).IsFrameShown()) << "tree frames are not border frames";
  manager.RemoveStaticBorderFrame(top1, window, true);
  EXPECT_EQ(manager.GetStaticBorderFrames(LayoutManager::kTop).size(), 0u);
}
