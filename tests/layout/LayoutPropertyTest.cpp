// Random trees and random window sizes: after every layout the shown frames tile the
// window, every bar lies in its splitter, minimum sizes hold whenever they fit, and the
// same input gives the same output. Seeded and reproducible: a failure names its seed.
#include "LayoutTestHosts.h"

#include <gtest/gtest.h>

#include <random>

using namespace kivtest;
using ws::Frame;
using ws::LayoutManagerElement;
using ws::Splitter;

namespace {

// One random tree in its own manager.
struct RandomLayout {
  RecordingWindowHost window;
  TestLayoutManager manager{&window};
  TreeBuilder tree{manager};

  explicit RandomLayout(std::uint32_t seed) {
    std::mt19937 rng(seed);
    const int frames = std::uniform_int_distribution<int>(1, 24)(rng);
    manager.SetRootElement(Build(rng, frames));
  }

  LayoutManagerElement* Build(std::mt19937& rng, int frames) {
    if (frames == 1) return RandomFrame(rng);
    const int left = std::uniform_int_distribution<int>(1, frames - 1)(rng);
    const bool vertical = rng() % 2 == 0;
    const float placement = std::uniform_real_distribution<float>(0.0f, 1.0f)(rng);
    LayoutManagerElement* a = Build(rng, left);
    LayoutManagerElement* b = Build(rng, frames - left);
    return tree.Split(vertical, a, b, placement);
  }

  Frame* RandomFrame(std::mt19937& rng) {
    std::uniform_int_distribution<int> minimum(0, 80), snap(0, 400), pick(0, 9);
    Frame* f = tree.NewFrame({minimum(rng), minimum(rng)});
    RecordingFrameHost& host = tree.Host(f);
    if (pick(rng) < 3) host.setSnaps({{snap(rng), pick(rng) < 5 ? 0 : snap(rng)}});  // fixed size
    if (pick(rng) == 0) host.setShown(false);
    return f;
  }
};

// The frames that the last layout placed: those under present sides.
void ShownFrames(LayoutManagerElement* e, std::vector<Frame*>& out) {
  if (!e) return;
  if (Frame* f = e->AsFrame()) {
    if (f->IsFrameShown()) out.push_back(f);
    return;
  }
  Splitter* s = e->AsSplitter();
  if (s->IsLeftOrTopSubtreeVisible()) ShownFrames(s->GetLeftOrTop(), out);
  if (s->IsRightOrBottomSubtreeVisible()) ShownFrames(s->GetRightOrBottom(), out);
}

void CheckInvariants(RandomLayout& layout, const Rect& window, std::uint32_t seed, int step) {
  SCOPED_TRACE("seed " + std::to_string(seed) + ", step " + std::to_string(step));
  std::vector<Frame*> shown;
  ShownFrames(layout.manager.GetRoot(), shown);
  if (shown.empty()) return;

  // Tiling: every rectangle inside the window, no two overlapping, areas adding up.
  long long area = 0;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const Rect r = layout.tree.Host(shown[i]).rect();
    ASSERT_GE(r.width, 0);
    ASSERT_GE(r.height, 0);
    ASSERT_TRUE(r.left >= window.left && r.top >= window.top && r.Right() <= window.Right() &&
                r.Bottom() <= window.Bottom())
        << r << " outside " << window;
    area += static_cast<long long>(r.width) * r.height;
    for (std::size_t j = 0; j < i; ++j) {
      ASSERT_FALSE(r.Intersects(layout.tree.Host(shown[j]).rect())) << r << " overlaps";
    }
  }
  ASSERT_EQ(area, static_cast<long long>(window.width) * window.height) << "a gap";

  // Bars inside their splitters.
  for (Splitter* s : layout.manager.GetSplitters()) {
    const int pixel = s->GetPixelPlacement();
    ASSERT_GE(pixel, s->Origin(s->GetLocation()));
    ASSERT_LE(pixel, s->Origin(s->GetLocation()) + s->Length(s->GetLocation()));
  }

  // Minimum sizes, whenever the window holds them all.
  const Point needed = layout.manager.GetRoot()->GetMinimumSize();
  if (needed.x <= window.width && needed.y <= window.height) {
    for (Frame* f : shown) {
      const Rect r = layout.tree.Host(f).rect();
      ASSERT_GE(r.width, f->GetMinimumSize().x) << "frame " << layout.tree.Host(f).id();
      ASSERT_GE(r.height, f->GetMinimumSize().y) << "frame " << layout.tree.Host(f).id();
    }
  }
}

}  // namespace

TEST(LayoutProperties, RandomTreesTileTheWindowAfterEveryLayout) {
  constexpr std::uint32_t kTrees = 2000;
  for (std::uint32_t seed = 1; seed <= kTrees; ++seed) {
    RandomLayout layout(seed);
    RandomLayout twin(seed);  // the same input must give the same output
    std::mt19937 rng(seed * 7919u);
    std::uniform_int_distribution<int> width(1, 1600), height(1, 1000), flag(0, 1);
    for (int step = 0; step < 6; ++step) {
      const Rect window{0, 0, width(rng), height(rng)};
      const bool constrain = flag(rng), recompute = step == 0 || flag(rng),
                 keep = flag(rng) && step > 0;
      layout.manager.Layout(window, constrain, recompute, keep);
      twin.manager.Layout(window, constrain, recompute, keep);
      CheckInvariants(layout, window, seed, step);
      if (::testing::Test::HasFatalFailure()) return;
      for (std::size_t i = 0; i < layout.tree.Hosts().size(); ++i) {
        ASSERT_EQ(layout.tree.Hosts()[i]->rect(), twin.tree.Hosts()[i]->rect())
            << "seed " << seed << ": not deterministic";
      }
    }
  }
}

namespace {

// A plain recursive preparation to compare the one-walk pass with, element by element: a
// splitter saves its placement state first (measuring its children as they are then,
// uncached: no measuring scope is open), prepares its children, then sets its visible flags.
bool ReferencePreparation(LayoutManagerElement* e) {
  if (!e) return false;
  if (Frame* f = e->AsFrame()) {
    f->SetConstraintSize(true);
    return f->IsFrameShown();
  }
  Splitter* s = e->AsSplitter();
  if (!s) return false;
  s->SavePlacementState();
  s->SetConstrained(false);
  const bool a = ReferencePreparation(s->GetLeftOrTop());
  const bool b = ReferencePreparation(s->GetRightOrBottom());
  s->SetLeftOrTopVisible(a);
  s->SetRightOrBottomVisible(b);
  return s->IsLeftOrTopSubtreeVisible() || s->IsRightOrBottomSubtreeVisible();
}

// Elements of a tree in pre-order.
std::vector<LayoutManagerElement*> PreOrder(LayoutManagerElement* root) {
  std::vector<LayoutManagerElement*> out, stack{root};
  while (!stack.empty()) {
    LayoutManagerElement* e = stack.back();
    stack.pop_back();
    if (!e) continue;
    out.push_back(e);
    if (Splitter* s = e->AsSplitter()) {
      stack.push_back(s->GetRightOrBottom());
      stack.push_back(s->GetLeftOrTop());
    }
  }
  return out;
}

}  // namespace

// The manager prepares in one walk that saves each splitter's state after its children
// are prepared; it must leave every splitter and frame exactly as the plain recursive
// preparation does, also when frames were shown, hidden or given other minimum sizes since the last layout
// (so that the sizes before and after the preparation differ).
TEST(LayoutProperties, PreparationLeavesWhatARecursivePreparationLeaves) {
  for (std::uint32_t seed = 1; seed <= 1500; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    RandomLayout layout(seed), reference(seed);
    std::mt19937 rng(seed * 104729u);
    std::uniform_int_distribution<int> width(1, 1600), height(1, 1000), pick(0, 3), minimum(0, 120);
    const Rect window{0, 0, width(rng), height(rng)};
    layout.manager.Layout(window, true, true, false);
    reference.manager.Layout(window, true, true, false);
    for (std::size_t i = 0; i < layout.tree.Hosts().size(); ++i) {
      const bool toggle = pick(rng) == 0;
      const Point m{minimum(rng), minimum(rng)};
      const bool resize = pick(rng) == 0;
      for (RandomLayout* l : {&layout, &reference}) {
        RecordingFrameHost& host = *l->tree.Hosts()[i];
        if (toggle) host.setShown(!host.IsFrameShown());
        if (resize) host.setMinimum(m);
      }
    }
    layout.manager.PrepareForLayout(layout.manager.GetRoot());
    ReferencePreparation(reference.manager.GetRoot());

    const auto mine = PreOrder(layout.manager.GetRoot());
    const auto theirs = PreOrder(reference.manager.GetRoot());
    ASSERT_EQ(mine.size(), theirs.size());
    for (std::size_t i = 0; i < mine.size(); ++i) {
      if (const Splitter* s = mine[i]->AsSplitter()) {
        const Splitter* d = theirs[i]->AsSplitter();
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(s->GetPrevPlacement(), d->GetPrevPlacement()) << "splitter " << i;
        EXPECT_EQ(s->GetPrevPixelPlacement(), d->GetPrevPixelPlacement()) << "splitter " << i;
        EXPECT_EQ(s->IsLeftOrTopSubtreeVisible(), d->IsLeftOrTopSubtreeVisible())
            << "splitter " << i;
        EXPECT_EQ(s->IsRightOrBottomSubtreeVisible(), d->IsRightOrBottomSubtreeVisible())
            << "splitter " << i;
        EXPECT_EQ(s->GetConstrained(), d->GetConstrained()) << "splitter " << i;
      } else if (const Frame* f = mine[i]->AsFrame()) {
        const Frame* d = theirs[i]->AsFrame();
        ASSERT_NE(d, nullptr);
        Point a, b;
        f->GetConstraintSize(a);
        d->GetConstraintSize(b);
        EXPECT_EQ(a, b) << "frame " << i;
        EXPECT_EQ(f->IsStretchyInX(), d->IsStretchyInX()) << "frame " << i;
        EXPECT_EQ(f->IsStretchyInY(), d->IsStretchyInY()) << "frame " << i;
      }
    }
    if (::testing::Test::HasFailure()) return;
  }
}

// Trees as deep as they have frames, along either side: the pass, the measurements and the
// hit test walk them without running out of stack, and the frames still tile the window.
TEST(LayoutProperties, DeepChainsAlongEitherSide) {
  for (const bool alongRight : {true, false}) {
    SCOPED_TRACE(alongRight ? "right-or-bottom chain" : "left-or-top chain");
    RecordingWindowHost window;
    TestLayoutManager manager{&window};
    TreeBuilder tree{manager};
    // Deeper along the right, where the walks loop; along the left the preparation recurses.
    const int frames = alongRight ? 30000 : 3000;
    LayoutManagerElement* tail = tree.NewFrame({1, 1});
    for (int i = 1; i < frames; ++i) {
      Frame* f = tree.NewFrame({1, 1});
      tail = alongRight ? tree.Split(i % 2 == 0, f, tail, 0.5f)
                        : tree.Split(i % 2 == 0, tail, f, 0.5f);
    }
    manager.SetRootElement(tail);
    const Rect rect{0, 0, 40000, 40000};
    manager.Layout(rect, true, true, false);
    manager.Layout(rect, true, true, false);  // the second pass reads what the first left

    long long area = 0;
    int belowMinimum = 0;
    for (const auto& host : tree.Hosts()) {
      area += static_cast<long long>(host->rect().width) * host->rect().height;
      belowMinimum += host->rect().width < 1 || host->rect().height < 1;
    }
    EXPECT_EQ(area, static_cast<long long>(rect.width) * rect.height);
    EXPECT_EQ(belowMinimum, 0);
    const Splitter* root = manager.GetRoot()->AsSplitter();
    const Rect bar = root->GetDrawRect();
    EXPECT_NE(manager.HitCheckCursor(bar.left + 1, bar.top + 1), ws::LayoutManager::kNoBar);
  }
}
