// The layout pass with exact pixel values: constraints, window resizes, dragging, zones,
// disabled layout, hit tests and the finders.
#include "LayoutTestHosts.h"

#include <gtest/gtest.h>

using namespace kivtest;
using ws::Frame;
using ws::FrameZones;
using ws::LayoutManager;
using ws::Splitter;

namespace {

struct LayoutPass : ::testing::Test {
  CallLog log;
  RecordingWindowHost window{&log};
  TestLayoutManager manager{&window};
  TreeBuilder tree{manager, &log};

  // A vertical bar at 0.3: a stretchy frame left, a frame wanting 250 pixels right.
  Splitter* FixedRightTree(Frame*& left, Frame*& right) {
    left = tree.NewFrame();
    right = tree.NewFrame();
    tree.Host(right).setSnaps({{250, 0}});
    Splitter* s = tree.Split(true, left, right, 0.3f);
    manager.SetRootElement(s);
    return s;
  }
};

}  // namespace

TEST_F(LayoutPass, AFixedSizeFrameGetsItsSize) {
  Frame *left, *right;
  Splitter* s = FixedRightTree(left, right);
  // The first layout grows the window from nothing: the wanted size is not a step in the
  // direction of that change, so the stored placement stands.
  manager.Layout({0, 0, 1000, 500}, true, true, false);
  EXPECT_EQ(s->GetPixelPlacement(), 300);
  // Laid out again without a change of size, the fixed frame takes its 250 pixels.
  manager.ReLayout(true, true, false);
  EXPECT_EQ(s->GetPixelPlacement(), 750);
  EXPECT_TRUE(s->GetConstrained());
  EXPECT_FLOAT_EQ(s->GetStoredPlacement(), 0.75f);
  EXPECT_EQ(tree.Host(left).rect(), (Rect{0, 0, 750, 500}));
  EXPECT_EQ(tree.Host(right).rect(), (Rect{750, 0, 250, 500}));
}

TEST_F(LayoutPass, AResizeMovesAFixedFrameTowardItsSizeByAtMostTheResize) {
  Frame* left = tree.NewFrame();
  Frame* right = tree.NewFrame();
  Splitter* s = tree.Split(true, left, right, 0.8f);
  manager.SetRootElement(s);
  manager.Layout({0, 0, 1000, 500}, true, true, false);
  ASSERT_EQ(tree.Host(right).rect().width, 200);
  tree.Host(right).setSnaps({{250, 0}});  // now it wants 250
  manager.Layout({0, 0, 1040, 500}, true, true, false);
  EXPECT_EQ(tree.Host(right).rect().width, 240);
  manager.Layout({0, 0, 1100, 500}, true, true, false);
  EXPECT_EQ(tree.Host(right).rect().width, 250) << "the rest of the way, and no further";
  // Shrinking the window takes the room from the stretchy frame.
  manager.Layout({0, 0, 900, 500}, true, true, false);
  EXPECT_EQ(tree.Host(right).rect().width, 250);
  EXPECT_EQ(tree.Host(left).rect().width, 650);
}

TEST_F(LayoutPass, NothingReachesAFrameHostWhileLayoutIsDisabled) {
  Frame *left, *right;
  Splitter* s = FixedRightTree(left, right);
  window.layoutEnabled = false;
  manager.Layout({0, 0, 1000, 500}, true, true, false);
  manager.FitNodeToRect(s, {0, 0, 800, 600}, {0, 0, 800, 600}, true, true, false, nullptr);
  Point delta{10, 0};
  manager.LayoutSplitterChildren(s, true, false, false, &delta);
  manager.LayoutSplitterChild(s, left, true, true, true, false, false, nullptr);
  for (const std::string& call : log.calls) EXPECT_EQ(call.rfind("frame", 0), std::string::npos) << call;
  EXPECT_EQ(s->GetLocation(), Rect{}) << "the tree is untouched too";
  // Enabled again, the next relayout catches up.
  window.layoutEnabled = true;
  manager.Layout({0, 0, 1000, 500}, true, true, false);
  EXPECT_EQ(tree.Host(right).placedCount(), 1);
}

TEST_F(LayoutPass, AHiddenSideLeavesTheWholeRectangleToTheOther) {
  Frame* left = tree.NewFrame();
  Frame* right = tree.NewFrame();
  tree.Host(right).setShown(false);
  Splitter* s = tree.Split(true, left, right, 0.5f);
  manager.SetRootElement(s);
  manager.Layout({0, 0, 600, 400}, true, true, false);
  EXPECT_FALSE(s->IsVisible());
  EXPECT_EQ(tree.Host(left).rect(), (Rect{0, 0, 600, 400}));
  EXPECT_EQ(tree.Host(right).placedCount(), 0);
  EXPECT_TRUE(manager.GetSplitters().empty());
  EXPECT_EQ(manager.HitCheckCursor(300, 200), LayoutManager::kNoBar);
  EXPECT_EQ(manager.GetFrames().size(), 2u) << "hidden frames are still listed";
}

TEST_F(LayoutPass, FrameZonesOnTheBorderAndInside) {
  manager.SetContainingRect({0, 0, 1000, 500});
  const FrameZones whole = manager.ConstructFrameZones({0, 0, 1000, 500});
  EXPECT_EQ(whole[FrameZones::kLeft], (Rect{0, 0, 1, 500}));
  EXPECT_EQ(whole[FrameZones::kTop], (Rect{0, 0, 1000, 1}));
  EXPECT_EQ(whole[FrameZones::kRight], (Rect{999, 0, 1, 500}));
  EXPECT_EQ(whole[FrameZones::kBottom], (Rect{0, 499, 1000, 1}));
  EXPECT_EQ(whole[FrameZones::kInterior], (Rect{1, 1, 998, 498}));
  EXPECT_EQ(whole[FrameZones::kWhole], (Rect{0, 0, 1000, 500}));
  const FrameZones inner = manager.ConstructFrameZones({100, 100, 200, 100});
  EXPECT_EQ(inner.EdgeSize(0), 2);
  EXPECT_EQ(inner[FrameZones::kLeft], (Rect{100, 100, 2, 100}));
  EXPECT_EQ(inner[FrameZones::kRight], (Rect{298, 100, 2, 100}));
  EXPECT_EQ(inner[FrameZones::kInterior], (Rect{102, 102, 196, 96}));
  // A rectangle thinner than its edges: strips clipped to it, no interior.
  const FrameZones thin = manager.ConstructFrameZones({10, 10, 3, 50});
  EXPECT_EQ(thin[FrameZones::kLeft], (Rect{10, 10, 2, 50}));
  EXPECT_EQ(thin[FrameZones::kRight], (Rect{11, 10, 2, 50}));
  EXPECT_EQ(thin[FrameZones::kInterior], Rect{});
}

TEST_F(LayoutPass, DraggingOneBarKeepsTheOthersInPlace) {
  Frame* a = tree.NewFrame();
  Splitter* right = tree.Split(true, tree.NewFrame(), tree.NewFrame(), 0.5f);
  Splitter* root = tree.Split(true, a, right, 0.5f);
  manager.SetRootElement(root);
  manager.Layout({0, 0, 1000, 400}, true, true, false);
  ASSERT_EQ(right->GetPixelPlacement(), 750);

  manager.SetUserAdjustingSplitter(true);
  root->SetPixelPlacement(400);
  manager.ReLayout(false, true, false);
  EXPECT_EQ(root->GetPixelPlacement(), 400);
  EXPECT_EQ(right->GetPixelPlacement(), 750) << "the other bar stays where it was";
  manager.SetUserAdjustingSplitter(false);

  // Without a drag the inner bar keeps its proportion instead: 350 of 600 since the drag,
  // so in 700 pixels from x 300 it lands at 300 + 408.
  root->SetPixelPlacement(300);
  manager.ReLayout(false, true, false);
  EXPECT_EQ(right->GetPixelPlacement(), 708);
}

TEST_F(LayoutPass, HitTestsFindBarsAndCrossings) {
  Splitter* left = tree.Split(false, tree.NewFrame(), tree.NewFrame(), 0.5f);
  Splitter* right = tree.Split(false, tree.NewFrame(), tree.NewFrame(), 0.5f);
  Splitter* root = tree.Split(true, left, right, 0.5f);
  manager.SetRootElement(root);
  manager.Layout({0, 0, 1000, 500}, true, true, false);
  EXPECT_EQ(manager.HitCheckCursor(500, 250), LayoutManager::kCrossing);
  EXPECT_EQ(manager.HitCheckCursor(500, 100), LayoutManager::kVerticalBar);
  EXPECT_EQ(manager.HitCheckCursor(250, 251), LayoutManager::kHorizontalBar);
  EXPECT_EQ(manager.HitCheckCursor(100, 100), LayoutManager::kNoBar);
  EXPECT_EQ(manager.HitCheckCursor(502, 100), LayoutManager::kNoBar);  // just past the bar
  EXPECT_TRUE(manager.HasSplittersWithinRect({490, 0, 20, 10}));
  EXPECT_EQ(manager.GetSplitters(), (std::vector<Splitter*>{root, left, right}));
}

TEST_F(LayoutPass, RowsColumnsAndSnapCandidates) {
  Splitter* v1 = tree.Split(true, tree.NewFrame(), tree.NewFrame(), 0.5f);
  Splitter* v2 = tree.Split(true, tree.NewFrame(), tree.NewFrame(), 0.5f);
  Splitter* root = tree.Split(true, v1, v2, 0.5f);
  Splitter* h = tree.Split(false, root, tree.NewFrame(), 0.8f);
  manager.SetRootElement(h);
  manager.Layout({0, 0, 1000, 500}, true, true, false);
  // Same top and height as v1: root and v2; h spans another height.
  EXPECT_EQ(manager.FindAllSplittersInSameRowCol(v1), (std::vector<Splitter*>{root, v2}));

  manager.SetRootElement(root);  // candidates are searched from the root element
  std::vector<std::unique_ptr<ws::SnapPoint>> points;
  manager.FindAdjacentSnapPoints(v1, true, 0, 0, {}, points);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0]->candidate, root);
  EXPECT_EQ(points[1]->candidate, v2);
  EXPECT_EQ(points[2]->candidate, v1);
  EXPECT_EQ(points[0]->dragged, v1);
  points.clear();
  manager.FindAdjacentSnapPoints(v1, true, 0, 0, {v2}, points);
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[1]->candidate, v1);
  points.clear();
  manager.FindAdjacentSnapPoints(v1, false, 0, 0, {}, points);
  EXPECT_TRUE(points.empty()) << "no horizontal bars";
}

TEST_F(LayoutPass, MajorizingChangesNoBarOnScreen) {
  Frame* f0 = tree.NewFrame();
  Frame* f1 = tree.NewFrame();
  Frame* f2 = tree.NewFrame();
  Frame* f3 = tree.NewFrame();
  Splitter* v2 = tree.Split(true, f2, f3, 0.5f);
  Splitter* v1 = tree.Split(true, f1, v2, 0.5f);
  Splitter* h = tree.Split(false, f0, v1, 0.5f);
  manager.SetRootElement(h);
  manager.Layout({0, 0, 1000, 600}, true, true, false);
  std::vector<Rect> before;
  for (const auto& host : tree.Hosts()) before.push_back(host->rect());

  EXPECT_EQ(manager.FindMajorSplitter(v2), v1);
  EXPECT_EQ(manager.FindMajorSplitter(v1), v1);
  manager.MajorizeSplitter(v2);
  EXPECT_EQ(h->GetRightOrBottom(), v2);
  EXPECT_EQ(v2->GetParent(), h);
  EXPECT_EQ(v2->GetLeftOrTop(), v1);
  EXPECT_EQ(v1->GetParent(), v2);
  EXPECT_EQ(v1->GetRightOrBottom(), f2);
  EXPECT_EQ(f2->GetParent(), v1);
  EXPECT_EQ(v2->GetLocation(), (Rect{0, 300, 1000, 300}));
  EXPECT_EQ(v2->GetPixelPlacement(), 750);
  EXPECT_EQ(v1->GetPixelPlacement(), 500);
  for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(tree.Hosts()[i]->rect(), before[i]) << i;
}
