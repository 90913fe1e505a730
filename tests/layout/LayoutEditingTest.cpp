// Editing the layout tree, with exact results, and the Graphviz dump as a whole string.
#include "LayoutTestHosts.h"

#include "layout/FrameDataProxy.h"
#include "layout/PreviewSplitter.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace kivtest;
using ws::Frame;
using ws::FrameDataProxy;
using ws::LayoutManager;
using ws::Splitter;

namespace {

struct LayoutEditing : ::testing::Test {
  CallLog log;
  RecordingWindowHost window{&log};
  TestLayoutManager manager{&window};
  TreeBuilder tree{manager, &log};
  const Rect kWindow{0, 0, 1000, 600};

  Frame* Start() {
    Frame* f = tree.NewFrame();
    manager.SetRootFrame(f, kWindow);
    return f;
  }
  Splitter* RootSplitter() { return manager.GetRoot()->AsSplitter(); }
};

std::string Id(const void* p) { return std::to_string(reinterpret_cast<std::intptr_t>(p)); }

}  // namespace

TEST_F(LayoutEditing, AddingBesideAFrameSplitsItsPlaceInHalves) {
  Frame* first = Start();
  EXPECT_EQ(tree.Host(first).rect(), kWindow);
  Frame* right = tree.NewFrame();
  manager.AddFrame(first, LayoutManager::kRight, right);
  Splitter* s = RootSplitter();
  ASSERT_TRUE(s);
  EXPECT_TRUE(s->IsVertical());
  EXPECT_EQ(s->GetLeftOrTop(), first);
  EXPECT_EQ(s->GetRightOrBottom(), right);
  EXPECT_EQ(tree.Host(first).rect(), (Rect{0, 0, 500, 600}));
  EXPECT_EQ(tree.Host(right).rect(), (Rect{500, 0, 500, 600}));

  Frame* top = tree.NewFrame();
  manager.AddFrame(right, LayoutManager::kTop, top);
  Splitter* h = s->GetRightOrBottom()->AsSplitter();
  ASSERT_TRUE(h);
  EXPECT_FALSE(h->IsVertical());
  EXPECT_EQ(h->GetLeftOrTop(), top);
  EXPECT_EQ(h->GetRightOrBottom(), right);
  EXPECT_EQ(tree.Host(top).rect(), (Rect{500, 0, 500, 300}));
  EXPECT_EQ(tree.Host(right).rect(), (Rect{500, 300, 500, 300}));
  EXPECT_EQ(tree.Host(first).rect(), (Rect{0, 0, 500, 600})) << "the other side stays";

  // Without a target the new frame goes beside the whole tree.
  Frame* bottom = tree.NewFrame();
  manager.AddFrame(nullptr, LayoutManager::kBottom, bottom);
  EXPECT_EQ(RootSplitter()->GetRightOrBottom(), bottom);
  EXPECT_EQ(tree.Host(bottom).rect(), (Rect{0, 300, 1000, 300}));
  EXPECT_EQ(manager.CheckStructure(), "");
}

TEST_F(LayoutEditing, AnyEditFirstEndsMaximizing) {
  Frame* a = Start();
  Frame* b = tree.NewFrame();
  manager.AddFrame(a, LayoutManager::kRight, b);
  manager.SetMaximizedFrame(a);
  EXPECT_TRUE(manager.IsTheMaximizedFrame(a));
  EXPECT_FALSE(tree.Host(b).IsFrameShown());
  EXPECT_EQ(tree.Host(a).rect(), kWindow);
  EXPECT_EQ(manager.HitCheckCursor(500, 300), LayoutManager::kNoBar);
  manager.AddFrame(a, LayoutManager::kBottom, tree.NewFrame());
  EXPECT_FALSE(manager.HasMaximizedFrame());
  EXPECT_TRUE(tree.Host(b).IsFrameShown());
  EXPECT_EQ(tree.Host(b).rect(), (Rect{500, 0, 500, 600}));
}

// Maximizing the maximized frame again, or another frame, loses no hidden frame: ending
// the maximization shows every frame again.
TEST_F(LayoutEditing, MaximizingAgainOrAnotherFrameKeepsTheHiddenFrames) {
  Frame* a = Start();
  Frame* b = tree.NewFrame();
  Frame* c = tree.NewFrame();
  manager.AddFrame(a, LayoutManager::kRight, b);
  manager.AddFrame(b, LayoutManager::kBottom, c);
  manager.SetMaximizedFrame(a);
  manager.SetMaximizedFrame(a);
  manager.SetMaximizedFrame(c);
  EXPECT_TRUE(manager.IsTheMaximizedFrame(c));
  EXPECT_FALSE(tree.Host(a).IsFrameShown());
  EXPECT_FALSE(tree.Host(b).IsFrameShown());
  manager.AddFrame(a, LayoutManager::kLeft, tree.NewFrame());
  for (Frame* f : {a, b, c}) EXPECT_TRUE(tree.Host(f).IsFrameShown());
}

TEST_F(LayoutEditing, RemovingWithAPlaceholderKeepsTheShapeAndReanimatingRestoresIt) {
  Frame* a = Start();
  Frame* b = tree.NewFrame();
  tree.Host(b).setTabs({{"Timeline", "<proplist/>"}}, {{"Markers", "<proplist/>"}});
  manager.AddFrame(a, LayoutManager::kRight, b);
  Splitter* s = RootSplitter();
  manager.RemoveFrame(b, true, false);
  EXPECT_EQ(RootSplitter(), s) << "the shape is unchanged";
  EXPECT_FALSE(s->IsRightOrBottomSubtreeVisible());
  EXPECT_EQ(tree.Host(a).rect(), kWindow);
  ASSERT_TRUE(manager.HasAnyReanimatableFrames());
  FrameDataProxy* placeholder = manager.FindFrameForReanimation("Markers");
  ASSERT_TRUE(placeholder);
  EXPECT_FALSE(placeholder->HasFrame());
  EXPECT_EQ(placeholder->GetTabData().size(), 2u);
  EXPECT_EQ(manager.FindFrameForReanimation("Timeline"), placeholder);
  EXPECT_EQ(manager.FindFrameForReanimation("timeline"), nullptr) << "exact comparison";

  Frame* back = tree.NewFrame();
  manager.ReanimateFrame(placeholder, back);
  manager.ReLayout(true, true, false);
  EXPECT_FALSE(manager.HasAnyReanimatableFrames());
  EXPECT_EQ(s->GetRightOrBottom(), back);
  EXPECT_EQ(tree.Host(back).rect(), (Rect{500, 0, 500, 600}));
}

TEST_F(LayoutEditing, TheLastFrameOfAWindowComesBackInItsPlaceholder) {
  Frame* only = Start();
  tree.Host(only).setTabs({{"Timeline", "<proplist/>"}}, {});
  manager.RemoveFrame(only, true, false);
  FrameDataProxy* placeholder = manager.FindFrameForReanimation("Timeline");
  ASSERT_TRUE(placeholder);
  EXPECT_EQ(manager.GetRoot(), placeholder);
  Frame* back = tree.NewFrame();
  manager.ReanimateFrame(placeholder, back);
  manager.ReLayout(true, true, false);
  EXPECT_EQ(manager.GetRoot(), back);
  EXPECT_EQ(tree.Host(back).rect(), kWindow);
}

TEST_F(LayoutEditing, MeasurementsCachedBeforeTheEpochCounterStartsAgainAreNotReused) {
  // [a | [b | c]]: the outer bar's effective place depends on [b | c]'s cached minimum.
  Frame* a = Start();
  Frame* c = tree.NewFrame();
  manager.AddFrame(a, LayoutManager::kRight, c);
  Frame* b = tree.NewFrame();
  manager.AddFrame(c, LayoutManager::kLeft, b);
  manager.ReLayout(false, true, false);
  const int outerBar = manager.GetRoot()->AsSplitter()->GetPixelPlacement();

  manager.SetMeasureEpochCounterForTesting(0);  // the hit test measures in epoch 1
  ASSERT_EQ(manager.HitCheckCursor(outerBar, 300), LayoutManager::kVerticalBar);
  tree.Host(b).setMinimum({900, 0});
  manager.SetMeasureEpochCounterForTesting(0xFFFFFFFFu);  // the next epoch is 1 again
  // [b | c] now needs 900 pixels: the outer bar moves left of where it was.
  EXPECT_EQ(manager.HitCheckCursor(outerBar, 300), LayoutManager::kNoBar);
}

TEST_F(LayoutEditing, ReanimatingShowsHiddenAncestorsUpToAFullyShownOne) {
  Frame* f0 = Start();
  Frame* f1 = tree.NewFrame();
  Frame* f2 = tree.NewFrame();
  Frame* f3 = tree.NewFrame();
  manager.AddFrame(f0, LayoutManager::kRight, f1);
  manager.AddFrame(f1, LayoutManager::kBottom, f2);
  manager.AddFrame(f2, LayoutManager::kRight, f3);
  Splitter* h = f1->GetParent()->AsSplitter();
  Splitter* v2 = f2->GetParent()->AsSplitter();
  manager.RemoveFrame(f2, true, true);
  manager.RemoveFrame(f3, true, true);
  ASSERT_FALSE(h->IsRightOrBottomSubtreeVisible());
  FrameDataProxy* forF3 = manager.FindFrameForReanimation(f3);
  ASSERT_TRUE(forF3);
  EXPECT_TRUE(forF3->HasFrame());
  manager.ReanimateFrame(forF3, f3);
  EXPECT_TRUE(v2->IsRightOrBottomSubtreeVisible());
  EXPECT_FALSE(v2->IsLeftOrTopSubtreeVisible()) << "f2's placeholder stays hidden";
  EXPECT_TRUE(h->IsRightOrBottomSubtreeVisible());
  manager.ReLayout(true, true, false);
  EXPECT_EQ(tree.Host(f3).rect(), (Rect{500, 300, 500, 300}));
}

TEST_F(LayoutEditing, RemovingWithoutAPlaceholderCollapsesTheParent) {
  Frame* a = Start();
  Frame* b = tree.NewFrame();
  Frame* c = tree.NewFrame();
  manager.AddFrame(a, LayoutManager::kRight, b);
  manager.AddFrame(b, LayoutManager::kBottom, c);
  ASSERT_EQ(manager.GetSplitters().size(), 2u);
  manager.RemoveFrame(b, false, false);
  EXPECT_EQ(manager.GetSplitters().size(), 1u);
  EXPECT_EQ(RootSplitter()->GetRightOrBottom(), c);
  EXPECT_EQ(c->GetParent(), RootSplitter());
  EXPECT_EQ(b->GetParent(), nullptr);
  EXPECT_EQ(tree.Host(c).rect(), (Rect{500, 0, 500, 600}));
  EXPECT_EQ(manager.CheckStructure(), "");
}

// A placeholder that takes its removed sibling's place stays on a hidden side, also with
// the layout off, and also under the root holder: a root frame set then goes beside it, and
// reanimating shows the way up again, the root holder's side included.
TEST_F(LayoutEditing, PlaceholdersThatTakeTheirSiblingsPlaceStayHidden) {
  Frame* a = Start();
  Frame* b = tree.NewFrame();
  Frame* c = tree.NewFrame();
  tree.Host(c).setTabs({{"Scopes", "<proplist/>"}});
  manager.AddFrame(a, LayoutManager::kRight, b);
  manager.AddFrame(b, LayoutManager::kBottom, c);
  window.layoutEnabled = false;
  manager.RemoveFrame(c, true, false);
  manager.RemoveFrame(b, false, false);
  ASSERT_TRUE(RootSplitter()->GetRightOrBottom()->AsPlaceholder());
  EXPECT_FALSE(RootSplitter()->IsRightOrBottomSubtreeVisible()) << "without a layout pass";
  window.layoutEnabled = true;

  manager.RemoveFrame(a, false, false);
  ASSERT_EQ(manager.GetRoot(), manager.FindFrameForReanimation("Scopes"));
  EXPECT_FALSE(manager.GetRootHolder()->IsLeftOrTopSubtreeVisible());
  Frame* d = tree.NewFrame();
  manager.SetRootFrame(d, kWindow);
  ASSERT_EQ(d->GetParent(), manager.GetRoot());
  EXPECT_EQ(tree.Host(d).rect(), kWindow);
  EXPECT_TRUE(manager.GetRootHolder()->IsLeftOrTopSubtreeVisible());

  // Both sides placeholders: hidden up to the root holder, shown again by a reanimation.
  manager.RemoveFrame(d, true, false);
  EXPECT_FALSE(manager.GetRootHolder()->IsLeftOrTopSubtreeVisible());
  Frame* back = tree.NewFrame();
  manager.ReanimateFrame(manager.FindFrameForReanimation("Scopes"), back);
  EXPECT_TRUE(manager.GetRootHolder()->IsLeftOrTopSubtreeVisible());
  manager.ReLayout(true, true, false);
  EXPECT_EQ(tree.Host(back).rect(), kWindow);
  EXPECT_EQ(manager.CheckStructure(), "");
}

// With the layout off (a window's panels closed together), the frames closed on one side
// leave it hidden all the way up at once, as a layout pass leaves it: a save before any
// pass writes what a restore reads.
TEST_F(LayoutEditing, ASideLeftWithOnlyPlaceholdersIsHiddenUpwardWithTheLayoutOff) {
  Frame* a = Start();
  Frame* x = tree.NewFrame();
  Frame* c = tree.NewFrame();
  manager.AddFrame(a, LayoutManager::kTop, x);
  manager.AddFrame(a, LayoutManager::kRight, c);
  Splitter* below = RootSplitter()->GetRightOrBottom()->AsSplitter();
  ASSERT_TRUE(below);
  window.layoutEnabled = false;
  manager.RemoveFrame(a, true, false);
  manager.RemoveFrame(c, true, false);
  EXPECT_FALSE(below->IsLeftOrTopSubtreeVisible());
  EXPECT_FALSE(below->IsRightOrBottomSubtreeVisible());
  EXPECT_FALSE(RootSplitter()->IsRightOrBottomSubtreeVisible()) << "without a layout pass";
  EXPECT_TRUE(RootSplitter()->IsLeftOrTopSubtreeVisible());
  EXPECT_TRUE(manager.GetRootHolder()->IsLeftOrTopSubtreeVisible());

  // The last frame closed too: hidden up to the root holder.
  manager.RemoveFrame(x, true, false);
  EXPECT_FALSE(RootSplitter()->IsLeftOrTopSubtreeVisible());
  EXPECT_FALSE(manager.GetRootHolder()->IsLeftOrTopSubtreeVisible());
  window.layoutEnabled = true;
  EXPECT_EQ(manager.CheckStructure(), "");
}

TEST_F(LayoutEditing, TheEarlierRemovedPlaceholderWins) {
  Frame* a = Start();
  Frame* b = tree.NewFrame();
  Frame* c = tree.NewFrame();
  tree.Host(b).setTabs({{"Scopes", "1"}});
  tree.Host(c).setTabs({{"Scopes", "2"}});
  manager.AddFrame(a, LayoutManager::kRight, b);
  manager.AddFrame(a, LayoutManager::kBottom, c);
  manager.RemoveFrame(c, true, false);
  manager.RemoveFrame(b, true, false);
  ASSERT_TRUE(manager.FindFrameForReanimation("Scopes"));
  EXPECT_EQ(manager.FindFrameForReanimation("Scopes")->GetTabData().front().second, "2");
}

TEST_F(LayoutEditing, SwapFrameTakesTheOldPlace) {
  Frame* a = Start();
  Frame* b = tree.NewFrame();
  manager.AddFrame(a, LayoutManager::kRight, b);
  Frame* replacement = tree.NewFrame();
  manager.SwapFrame(b, replacement);
  EXPECT_EQ(RootSplitter()->GetRightOrBottom(), replacement);
  EXPECT_EQ(tree.Host(replacement).rect(), (Rect{500, 0, 500, 600}));
  EXPECT_EQ(b->GetParent(), RootSplitter()) << "the old frame's pointers are left alone";
}

TEST_F(LayoutEditing, SetRootFrameOverAHiddenRoot) {
  Frame* a = Start();
  manager.RemoveFrame(a, true, true);  // the only frame: its placeholder is the root
  ASSERT_TRUE(manager.GetRoot()->AsPlaceholder());
  Frame* b = tree.NewFrame();
  manager.SetRootFrame(b, kWindow);
  Splitter* s = RootSplitter();
  ASSERT_TRUE(s);
  EXPECT_FALSE(s->IsVertical());
  EXPECT_EQ(s->GetLeftOrTop(), b);
  EXPECT_TRUE(s->GetRightOrBottom()->AsPlaceholder());
  EXPECT_EQ(tree.Host(b).rect(), kWindow);
  // With a shown root, SetRootFrame changes nothing.
  Frame* c = tree.NewFrame();
  manager.SetRootFrame(c, kWindow);
  EXPECT_EQ(manager.GetRoot(), s);
  EXPECT_EQ(c->GetParent(), nullptr);
}

// Every frame closed with its records kept: the root is a splitter of placeholders, its own
// side still marked shown. A new root frame joins the tree above them and takes the window.
TEST_F(LayoutEditing, SetRootFrameOverATreeOfPlaceholdersJoinsTheTree) {
  Frame* a = Start();
  Frame* b = tree.NewFrame();
  manager.AddFrame(a, LayoutManager::kRight, b);
  Splitter* old = RootSplitter();
  manager.RemoveFrame(a, true, false);
  manager.RemoveFrame(b, true, false);
  ASSERT_EQ(manager.GetRoot(), old);
  ASSERT_TRUE(manager.GetFrames().empty());

  Frame* c = tree.NewFrame();
  manager.SetRootFrame(c, kWindow);
  Splitter* s = RootSplitter();
  ASSERT_TRUE(s);
  ASSERT_NE(s, old);
  EXPECT_EQ(s->GetLeftOrTop(), c);
  EXPECT_EQ(s->GetRightOrBottom(), old);
  EXPECT_EQ(c->GetParent(), s);
  EXPECT_FALSE(s->IsRightOrBottomSubtreeVisible());
  EXPECT_EQ(manager.GetFrames(), std::vector<Frame*>{c});
  EXPECT_EQ(tree.Host(c).rect(), kWindow);
  EXPECT_EQ(manager.CheckStructure(), "");

  // The placeholders still bring their frames back to their places.
  Frame* back = tree.NewFrame();
  manager.ReanimateFrame(manager.GetPlaceholders().front(), back);
  manager.ReLayout(false, true, false);
  EXPECT_TRUE(s->IsVisible());
  EXPECT_EQ(back->GetParent(), old);
  EXPECT_EQ(manager.GetFrames().size(), 2u);
}

TEST_F(LayoutEditing, TrackersAreMadeForTheBarsUnderThePoint) {
  struct Recorder : LayoutManager::Tracker {
    explicit Recorder(std::vector<Splitter*> s) : splitters(std::move(s)) {}
    void Begin(const Point&) override {}
    void Move(const Point&) override {}
    void End() override {}
    std::vector<Splitter*> splitters;
  };
  LayoutManager::SetTrackerFactory([](LayoutManager&, const std::vector<Splitter*>& splitters) {
    return std::make_unique<Recorder>(splitters);
  });
  Frame* a = Start();
  manager.AddFrame(a, LayoutManager::kRight, tree.NewFrame());
  manager.AddFrame(a, LayoutManager::kBottom, tree.NewFrame());
  std::unique_ptr<LayoutManager::Tracker> tracker;
  manager.AcquireTracker(500, 300, tracker);  // the crossing of both bars
  ASSERT_TRUE(tracker);
  EXPECT_EQ(static_cast<Recorder&>(*tracker).splitters.size(), 2u);
  manager.AcquireTracker(100, 100, tracker);
  EXPECT_FALSE(tracker) << "no bar: the holder is emptied";
  LayoutManager::SetTrackerFactory(nullptr);
}

TEST_F(LayoutEditing, DumpOfOneSplitIsExact) {
  Frame* a = Start();
  Frame* b = tree.NewFrame();
  manager.AddFrame(a, LayoutManager::kRight, b);
  const Splitter* s = RootSplitter();
  std::ostringstream out;
  manager.DumpToGraphvis(out);
  const std::string expected = "digraph KIVLayoutManager {\n" + Id(s) +
                               " [label=\"V Split s:500 l:0 t:0 b:600 r:1000\"];\n" + Id(s) +
                               " -> " + Id(a) + ";\n" + Id(s) + " -> " + Id(b) + ";\n" + Id(a) +
                               " [shape=box,label=\"Frame\"];\n" + Id(b) +
                               " [shape=box,label=\"Frame\"];\n}";
  EXPECT_EQ(out.str(), expected);
}

TEST_F(LayoutEditing, SwapRootInstallsANewTreeAndAdoptsItsPlaceholders) {
  Frame* a = Start();
  Frame* b = tree.NewFrame();
  manager.AddFrame(a, LayoutManager::kRight, b);
  manager.RemoveFrame(b, true, false);  // an old placeholder, dropped with the old tree
  ASSERT_TRUE(manager.HasAnyReanimatableFrames());

  auto holder = std::make_unique<Splitter>(&manager, false);
  Frame* c = tree.NewFrame();
  auto* placeholder = new FrameDataProxy(&manager, ws::TabDataList{{"Inspector", "<proplist/>"}});
  Splitter* root = tree.Split(false, c, placeholder);
  root->SetRightOrBottomVisible(false);
  holder->SetLeftOrTop(root);
  root->SetParent(holder.get());
  manager.SwapRoot(std::move(holder));  // adopts the placeholder

  EXPECT_EQ(manager.GetRoot(), root);
  EXPECT_EQ(manager.GetPlaceholders(), (std::vector<FrameDataProxy*>{placeholder}));
  EXPECT_EQ(manager.FindFrameForReanimation("Inspector"), placeholder);
  EXPECT_EQ(manager.CheckStructure(), "");
  manager.Layout(kWindow, true, true, false);
  EXPECT_EQ(tree.Host(c).rect(), kWindow);
  EXPECT_TRUE(manager.GetSplitters().empty()) << "the old root splitter is gone";
}

// A preview copy's elements belong to the copy's arena: a tree that holds any is refused
// and the manager keeps its own tree, whole.
TEST_F(LayoutEditing, SwapRootRefusesATreeOfAPreviewCopy) {
  Frame* a = Start();
  Frame* b = tree.NewFrame();
  manager.AddFrame(a, LayoutManager::kRight, b);
  Splitter* root = RootSplitter();

  auto copy = std::make_unique<ws::PreviewSplitter>(*manager.GetRootHolder());
  EXPECT_FALSE(manager.SwapRoot(std::move(copy)));

  ws::PreviewSplitter inner(*root);
  auto holder = std::make_unique<Splitter>(&manager, false);
  holder->SetLeftOrTop(&inner);
  EXPECT_FALSE(manager.SwapRoot(std::move(holder)));

  EXPECT_EQ(manager.GetRoot(), root);
  EXPECT_EQ(manager.GetFrames(), (std::vector<Frame*>{a, b}));
  EXPECT_EQ(manager.CheckStructure(), "");
  manager.Layout(kWindow, true, true, false);
  EXPECT_EQ(tree.Host(a).rect(), (Rect{0, 0, 500, 600}));
}

// Splitters with an empty side are legal: a definition may lack a side, and removing a
// frame whose sibling is gone clears its side. The structure check and its assertion
// accept them, and the tree still lays out.
TEST_F(LayoutEditing, SplittersWithAnEmptySideAreLegal) {
  Frame* a = Start();
  Frame* b = tree.NewFrame();
  manager.AddFrame(a, LayoutManager::kRight, b);
  Splitter* s = RootSplitter();
  s->SetRightOrBottom(nullptr);  // as a definition without its second side reads
  b->SetParent(nullptr);
  EXPECT_EQ(manager.CheckStructure(), "");
  manager.AssertStructureOK();  // aborts a debug build when it disagrees
  manager.Layout(kWindow, true, true, false);
  EXPECT_EQ(tree.Host(a).rect(), kWindow);

  manager.RemoveFrame(a, false, false);
  EXPECT_EQ(s->GetLeftOrTop(), nullptr);
  EXPECT_EQ(manager.CheckStructure(), "");
  manager.AssertStructureOK();
  manager.Layout(kWindow, true, true, false);
}
