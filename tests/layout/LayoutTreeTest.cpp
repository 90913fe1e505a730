// The layout tree's nodes: splitter geometry, frame zones, frame snap sizes and the way a
// splitter combines its children.
#include "LayoutTestHosts.h"

#include <gtest/gtest.h>

using namespace kivtest;
using ws::Frame;
using ws::FrameZones;
using ws::Splitter;

namespace {

struct LayoutTree : ::testing::Test {
  RecordingWindowHost window;
  TestLayoutManager manager{&window};
  TreeBuilder tree{manager};
};

}  // namespace

TEST_F(LayoutTree, SplitterPixelArithmeticAndBarRectangle) {
  Splitter* s = tree.Split(true, tree.NewFrame(), tree.NewFrame(), 0.5f);
  s->SetLocation({100, 10, 300, 50});
  EXPECT_EQ(s->GetPixelPlacement(), 250);
  int a = 0, b = 0;
  s->GetPlacementSizes(a, b);
  EXPECT_EQ(a, 150);
  EXPECT_EQ(b, 150);
  EXPECT_EQ(s->GetDrawRect(), (Rect{248, 8, 4, 54}));  // 2 pixels beyond the location
  EXPECT_TRUE(s->ContainsPoint(248, 8));
  EXPECT_FALSE(s->ContainsPoint(252, 30));
  EXPECT_TRUE(s->ContainsRect({251, 60, 5, 5}));
  EXPECT_FALSE(s->ContainsRect({252, 30, 5, 5}));

  s->SetPlacement(-0.2f);
  EXPECT_EQ(s->GetStoredPlacement(), 0.0f);
  s->SetPlacement(1.7f);
  EXPECT_EQ(s->GetStoredPlacement(), 1.0f);

  s->SetPixelPlacement(175);
  EXPECT_FLOAT_EQ(s->GetStoredPlacement(), 0.25f);
  float f = 0;
  EXPECT_TRUE(s->CalcPlacement(40, f));
  EXPECT_FLOAT_EQ(f, -0.2f) << "CalcPlacement does not clamp";

  // A splitter of zero length keeps its placement.
  s->SetLocation({100, 10, 0, 50});
  s->SetPixelPlacement(300);
  EXPECT_FLOAT_EQ(s->GetStoredPlacement(), 0.25f);
  EXPECT_FALSE(s->CalcPlacement(300, f));
}

TEST_F(LayoutTree, EffectivePlacementMakesRoomForMinimumSizes) {
  Frame* a = tree.NewFrame({50, 0});
  Frame* b = tree.NewFrame({80, 0});
  Splitter* s = tree.Split(true, a, b, 0.1f);
  s->SetLocation({0, 0, 200, 100});
  EXPECT_FLOAT_EQ(s->GetPlacement(), 0.25f);  // 20 < 50: moved to 50 / 200
  EXPECT_EQ(s->GetPixelPlacement(), 50);
  s->SetPlacement(0.9f);
  EXPECT_FLOAT_EQ(s->GetPlacement(), 0.6f);  // right side 20 < 80: (200 - 80) / 200
  EXPECT_EQ(s->GetPixelPlacement(), 120);
  // Minimums that do not fit at all give exactly the middle, whatever is stored.
  tree.Host(a).setMinimum({150, 0});
  EXPECT_EQ(s->GetPlacement(), 0.5f);
  // With a side hidden, only the clamp applies.
  s->SetRightOrBottomVisible(false);
  EXPECT_FLOAT_EQ(s->GetPlacement(), 0.9f);
}

TEST_F(LayoutTree, SplittersCombineTheirPresentChildren) {
  Frame* a = tree.NewFrame({30, 10});
  Frame* b = tree.NewFrame({20, 40});
  Frame* c = tree.NewFrame({5, 7});
  Splitter* inner = tree.Split(false, a, b);  // stacked: heights add up
  Splitter* outer = tree.Split(true, inner, c, 0.5f);
  EXPECT_EQ(inner->GetMinimumSize(), (Point{30, 50}));
  EXPECT_EQ(outer->GetMinimumSize(), (Point{35, 50}));
  outer->SetRightOrBottomVisible(false);
  EXPECT_EQ(outer->GetMinimumSize(), (Point{30, 50}));
  outer->SetLeftOrTopVisible(false);
  EXPECT_EQ(outer->GetMinimumSize(), (Point{0, 0}));
  outer->SetLeftOrTopVisible(true);
  outer->SetRightOrBottomVisible(true);

  // Stretchy when any present child is; snapping allowed only when every child allows it.
  tree.Host(b).setSnaps({{0, 90}});
  tree.Host(b).setRect({0, 0, 20, 90});
  b->SetConstraintSize(true);  // wants height 90: not stretchy in y
  EXPECT_FALSE(b->IsStretchy(true));
  EXPECT_TRUE(inner->IsStretchy(true));
  a->SetConstraintSize(true);
  EXPECT_FALSE(inner->AllowSnapping(true, nullptr)) << "a is stretchy in y";
  Point constraint;
  inner->GetConstraintSize(constraint);
  EXPECT_EQ(constraint, (Point{30, 100}));  // a: (30, 10) at its minimum, b: (20, 90)

  // Snap sizes of the right side are shifted by the bar position along the axis.
  tree.Host(c).setSnaps({{10, 5}});
  outer->SetLocation({0, 0, 400, 100});
  std::vector<Point> snaps;
  outer->GetSnapSizes(snaps);
  EXPECT_EQ(snaps, (std::vector<Point>{{0, 90}, {210, 5}}));
}

TEST_F(LayoutTree, ReplaceAndOrientation) {
  Frame* a = tree.NewFrame();
  Frame* b = tree.NewFrame();
  Frame* c = tree.NewFrame();
  Splitter* s = tree.Split(true, a, b);
  s->ReplaceElement(b, c);
  EXPECT_EQ(s->GetRightOrBottom(), c);
  EXPECT_EQ(c->GetParent(), nullptr) << "the new element's parent is the caller's business";
  Splitter* h = tree.Split(false, nullptr, nullptr);
  EXPECT_TRUE(s->SameOrientation(a));
  EXPECT_FALSE(s->SameOrientation(h));
  EXPECT_TRUE(s->SameOrientation(s));
}

TEST(FrameZones, EdgeSizesOutsideTheFourAreIgnored) {
  FrameZones z;
  z.SetEdgeSize(2, 7);
  z.SetEdgeSize(4, 9);
  EXPECT_EQ(z.EdgeSize(2), 7);
  EXPECT_EQ(z.EdgeSize(4), 0);
  EXPECT_TRUE(FrameZones::IsBorder(3));
  EXPECT_FALSE(FrameZones::IsBorder(4));
  FrameZones other = z;
  other.SetEdgeSize(0, 5);
  EXPECT_TRUE(z == other) << "equality compares zones only";
  other[FrameZones::kInterior] = {1, 1, 1, 1};
  EXPECT_FALSE(z == other);
}

TEST_F(LayoutTree, FrameSnapSizesAndConstraint) {
  Frame* f = tree.NewFrame({100, 50});
  RecordingFrameHost& host = tree.Host(f);
  host.setSnaps({{200, 0}, {300, 0}});
  host.setRect({0, 0, 260, 80});
  Point p;
  f->GetNearestSnapSize(p);
  EXPECT_EQ(p, (Point{300, 0}));
  host.setRect({0, 0, 250, 80});
  f->GetNearestSnapSize(p);
  EXPECT_EQ(p, (Point{200, 0})) << "a tie keeps the earlier size";

  host.setSnaps({{200, 30}, {150, 80}, {0, 0}});
  f->GetGreatestSnapSize(p);
  EXPECT_EQ(p, (Point{200, 80}));

  host.setSnaps({{250, 0}});
  f->SetConstraintSize(true);
  f->GetConstraintSize(p);
  EXPECT_EQ(p, (Point{250, 50}));
  EXPECT_FALSE(f->IsStretchyInX());
  EXPECT_TRUE(f->IsStretchyInY()) << "no preference in y: stretchy at its minimum";
  // Snapping: another frame may snap to f only where f sits at its minimum or wanted size.
  Frame* other = tree.NewFrame();
  host.setRect({0, 0, 180, 80});
  EXPECT_FALSE(f->AllowSnapping(false, other));
  host.setRect({0, 0, 250, 80});
  EXPECT_TRUE(f->AllowSnapping(false, other));
  host.setRect({0, 0, 100, 80});
  EXPECT_TRUE(f->AllowSnapping(false, other));
  EXPECT_TRUE(f->AllowSnapping(false, f));
  EXPECT_FALSE(f->AllowSnapping(true, other)) << "stretchy in y";

  host.setShown(false);
  f->SetConstraintSize(true);
  f->GetConstraintSize(p);
  EXPECT_EQ(p, (Point{0, 0}));
  EXPECT_TRUE(f->IsStretchyInX());
}
