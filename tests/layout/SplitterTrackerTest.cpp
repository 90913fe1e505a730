// Dragging bars with the layout's own tracker: limits that keep every frame a tab wide,
// both bars of a crossing moving together, and snapping to a fixed-size frame's sizes.
#include "LayoutTestHosts.h"

#include "layout/SplitterTrackerMark2.h"

#include <gtest/gtest.h>

using namespace kivtest;
using ws::Frame;
using ws::LayoutManager;
using ws::Splitter;
using ws::SplitterTrackerMark2;

namespace {

struct SplitterTracking : ::testing::Test {
  RecordingWindowHost window;
  TestLayoutManager manager{&window};
  TreeBuilder tree{manager};
  const Rect kWindow{0, 0, 600, 400};

  Frame* Start() {
    Frame* f = tree.NewFrame();
    manager.SetRootFrame(f, kWindow);
    return f;
  }
  std::unique_ptr<LayoutManager::Tracker> Grab(Point p) {
    std::unique_ptr<LayoutManager::Tracker> tracker;
    manager.AcquireTracker(p.x, p.y, tracker);
    if (tracker) tracker->Begin(p);
    return tracker;
  }
  static Point Drag(LayoutManager::Tracker& tracker, Point from, Point to) {
    for (int i = 1; i <= 4; ++i)
      tracker.Move({from.x + (to.x - from.x) * i / 4, from.y + (to.y - from.y) * i / 4});
    tracker.End();
    return to;
  }
};

// A bar between two frames of a 600-pixel window stays 40 pixels (a tab) from each edge,
// and the frames follow it.
TEST_F(SplitterTracking, ABarStaysATabFromEveryEdge) {
  Frame* a = Start();
  Frame* b = tree.NewFrame();
  manager.AddFrame(a, LayoutManager::kRight, b);
  Splitter* s = manager.GetRoot()->AsSplitter();
  const Point bar{s->GetPixelPlacement(), 200};
  ASSERT_EQ(manager.HitCheckCursor(bar.x, bar.y), LayoutManager::kVerticalBar);
  auto tracker = Grab(bar);
  ASSERT_TRUE(tracker);
  auto* mark2 = dynamic_cast<SplitterTrackerMark2*>(tracker.get());
  ASSERT_TRUE(mark2);
  EXPECT_EQ(mark2->GetMin(0), 40);
  EXPECT_EQ(mark2->GetMax(0), 560);
  Drag(*tracker, bar, {5, 200});
  EXPECT_EQ(s->GetPixelPlacement(), 40);
  EXPECT_LE(tree.Host(a).rect().Right(), 40);
  EXPECT_GE(tree.Host(b).rect().left, 40) << "the frames follow the bar";
  auto again = Grab({40, 200});
  ASSERT_TRUE(again);
  Drag(*again, {40, 200}, {599, 200});
  EXPECT_EQ(s->GetPixelPlacement(), 560);
  EXPECT_EQ(tree.Host(b).rect().Right(), 600);
}

// At a crossing the horizontal bar and the vertical bar under the pointer move together.
TEST_F(SplitterTracking, BothBarsOfACrossingMoveTogether) {
  Frame* a = Start();
  Frame* b = tree.NewFrame();
  manager.AddFrame(a, LayoutManager::kRight, b);
  manager.AddFrame(nullptr, LayoutManager::kBottom, tree.NewFrame());
  const Point crossing{manager.GetRoot()->AsSplitter()->GetLeftOrTop()->AsSplitter()->GetPixelPlacement(),
                       manager.GetRoot()->AsSplitter()->GetPixelPlacement()};
  ASSERT_EQ(manager.HitCheckCursor(crossing.x, crossing.y), LayoutManager::kCrossing);
  auto tracker = Grab(crossing);
  ASSERT_TRUE(tracker);
  Drag(*tracker, crossing, {crossing.x - 100, crossing.y + 50});
  EXPECT_NEAR(tree.Host(a).rect().Right(), crossing.x - 100, 3);
  EXPECT_NEAR(tree.Host(a).rect().Bottom(), crossing.y + 50, 3);
}

// A frame of fixed width beside the bar draws the bar to where the frame gets its width:
// from 15 pixels away it jumps there, from 25 it does not; without snapping it never does.
TEST_F(SplitterTracking, ABarSnapsToAFixedWidthFrameBesideIt) {
  Frame* a = Start();
  Frame* b = tree.NewFrame();
  manager.AddFrame(a, LayoutManager::kRight, b);
  tree.Host(a).setSnaps({{200, 0}});
  manager.Layout(kWindow, false, true, false);
  Splitter* s = manager.GetRoot()->AsSplitter();
  auto place = [&](int to) {
    const Point from{s->GetPixelPlacement(), 200};
    auto tracker = Grab(from);
    if (!tracker) return -1;
    Drag(*tracker, from, {to, 200});
    return tree.Host(a).rect().width;
  };
  place(300);
  EXPECT_EQ(place(200 + 15), 200);
  place(300);
  EXPECT_NE(place(200 + 25), 200);
  window.snapping = false;
  place(300);
  EXPECT_NE(place(200 + 5), 200);
}

}  // namespace

namespace {

// A frame closed but kept as a placeholder hides its side of a splitter: the frame beside
// the bar is found past it, so the bar still snaps to that frame's size.
TEST_F(SplitterTracking, ABarSnapsToTheFrameBehindAPlaceholder) {
  Frame* a = Start();
  Frame* kept = tree.NewFrame();
  manager.AddFrame(a, LayoutManager::kRight, kept);
  Frame* d = tree.NewFrame();
  manager.AddFrame(kept, LayoutManager::kLeft, d);
  Frame* c = tree.NewFrame();
  manager.AddFrame(d, LayoutManager::kLeft, c);
  // ((a | c) | (d | kept)): d closes, leaving ((a | c) | (placeholder | kept)).
  manager.RemoveFrame(d, true, true);
  tree.Host(kept).setSnaps({{180, 0}});
  manager.Layout(kWindow, false, true, false);
  Splitter* root = manager.GetRoot()->AsSplitter();
  ASSERT_NE(root, nullptr);
  ASSERT_FALSE(root->GetRightOrBottom()->AsSplitter()->IsVisible());
  const Point bar{root->GetPixelPlacement(), 200};
  auto tracker = Grab(bar);
  ASSERT_TRUE(tracker);
  Drag(*tracker, bar, {600 - 180 + 12, 200});
  EXPECT_EQ(tree.Host(kept).rect().width, 180);
}

}  // namespace
