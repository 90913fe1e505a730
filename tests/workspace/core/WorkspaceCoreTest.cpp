#include "workspace/WorkspaceTestSupport.h"

#include "layout/Frame.h"
#include "services/core/PropList.h"
#include "workspace/core/WorkspaceUtils.h"
#include "workspace/definition/WorkspaceDefinition.h"

using namespace kivtest;
namespace ui_testing = kivui::testing;

namespace {

using WorkspaceCore = WorkspaceFixture;

TEST_F(WorkspaceCore, IdsTimeStampsAndCreators) {
  auto a = workspace->CreateTabPanel("A", nullptr);
  auto b = workspace->CreateTabPanel("B", nullptr);
  EXPECT_EQ(b->GetID(), a->GetID() + 1);
  EXPECT_EQ(a->GetTimeStamp(), 0u);  // no frame: not stamped, and Touch leaves it so
  a->Touch();
  EXPECT_EQ(a->GetTimeStamp(), 0u);
  Workspace other;
  other.RegisterTabCreator(std::make_unique<NoteCreator>("A"));
  EXPECT_EQ(other.CreateTabPanel("A", nullptr)->GetID(), 0u);

  // A second creator for a type is refused; unknown types make nothing and say false.
  TabCreator* first = const_cast<TabCreator*>(workspace->FindCreator("A"));
  EXPECT_EQ(workspace->RegisterTabCreator(std::make_unique<NoteCreator>("A")), first);
  EXPECT_EQ(workspace->CreateTabPanel("nope", nullptr), nullptr);
  EXPECT_FALSE(workspace->TabTypeHidesWhenClosed("nope"));
  EXPECT_TRUE(workspace->TabTypeHidesWhenClosed("H"));
  EXPECT_EQ(main->AddTabbedFrame(nullptr, "nope", LayoutManager::kLeft), nullptr);

  // Panels in frames are stamped; touching restamps with a larger stamp.
  WorkspaceFrame* frame = FrameWith({"A", "B"});
  TabPanelPtr p = frame->GetTabPanel(1);
  const auto stamp = p->GetTimeStamp();
  EXPECT_GT(stamp, 0u);
  p->Touch();
  EXPECT_GT(p->GetTimeStamp(), stamp);
}

TEST_F(WorkspaceCore, LayoutDisablingNestsAndNothingIsLaidOutWhileDisabled) {
  WorkspaceFrame* frame = FrameWith({"A"});
  workspace->SetLayoutEnabled(false);
  workspace->SetLayoutEnabled(false);
  workspace->SetLayoutEnabled(true);
  EXPECT_FALSE(workspace->GetLayoutEnabled());
  const kivcore::Rect before = frame->GetFrameLocalRect();
  main->SetGlobalStructureRect({100, 80, 500, 400});
  ui_testing::ProcessEvents();
  EXPECT_EQ(frame->GetFrameLocalRect(), before);
  workspace->SetLayoutEnabled(true);
  // The next size change catches up.
  main->UI_SizeChanged(main->GetLocalBounds());
  EXPECT_EQ(frame->GetFrameLocalRect(), main->GetClientRect());
}

// A window built frame by frame with the layout off, then laid out once, ends as the same
// window built with the layout on: every frame in the same place.
TEST_F(WorkspaceCore, AWindowBuiltWithTheLayoutOffEndsAsOneBuiltWithItOn) {
  const auto build = [&](bool layoutOff) {
    auto w = workspace->AddTopLevelWindow(false, nullptr);
    w->SetGlobalStructureRect({0, 0, 1200, 900});
    if (layoutOff) workspace->SetLayoutEnabled(false);
    std::vector<WorkspaceFrame*> frames{w->CreateRootFrame("A", false, true)};
    for (int i = 1; i < 23; ++i)
      frames.push_back(w->AddTabbedFrame(frames[std::size_t(i / 2)], "B", LayoutManager::InsertionType(i % 4)));
    if (layoutOff) {
      workspace->SetLayoutEnabled(true);
      workspace->ReLayoutTopLevelWindows();
    }
    std::vector<kivcore::Rect> rects;
    for (WorkspaceFrame* f : frames) rects.push_back(f->GetFrameLocalRect());
    return rects;
  };
  const auto incremental = build(false);
  const auto onePass = build(true);
  EXPECT_EQ(onePass, incremental);
  for (const kivcore::Rect& r : onePass) EXPECT_FALSE(r.IsEmpty());
}

TEST_F(WorkspaceCore, ClickingIntoAPanelFocusesItAndTheWorkspaceFollows) {
  WorkspaceFrame* left = FrameWith({"A"});
  WorkspaceFrame* right = FrameWith({"B", "C"});
  TabPanelPtr b = right->GetTabPanel(0);
  const kivcore::Rect area = right->GetTabPanelFrameGlobalRect();
  ui_testing::ClickAt({area.left + area.width / 2, area.top + area.height / 2});
  EXPECT_EQ(workspace->GetFocusedTabPanel(), b.get());
  EXPECT_TRUE(right->GetTabWell().IsActive());
  EXPECT_FALSE(left->GetTabWell().IsActive());
  EXPECT_EQ(workspace->GetLastTouchedTabPanel(), b.get());
  EXPECT_EQ(workspace->GetTabPanelFromPos({area.left, area.top}), b.get());
  // The right and bottom edges are outside the panel area.
  EXPECT_EQ(workspace->GetTabPanelFromPos({area.Right(), area.top}), nullptr);
  EXPECT_EQ(workspace->GetTabPanelFromPos({area.left, area.Bottom()}), nullptr);

  // A new tab goes where the focus is.
  TabPanel* c2 = workspace->NewTabInFocused("C");
  ASSERT_NE(c2, nullptr);
  EXPECT_EQ(c2->GetFrame(), right);
  EXPECT_EQ(workspace->GetFocusedTabPanel(), c2);
  WorkspaceFrame* added = workspace->NewFrameInFocused("A", LayoutManager::kBottom);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(main->GetFrameCount(), 3u);
}

TEST_F(WorkspaceCore, ClosingTheLastPanelOfTheMainWindowLeavesItOpenAndEmpty) {
  WorkspaceFrame* frame = FrameWith({"A"});
  ui_testing::ClickAt(TabPoint(*frame, 0, true));
  EXPECT_EQ(main->GetFrameCount(), 0u);
  EXPECT_EQ(main->GetRootFrame(), nullptr);
  EXPECT_EQ(workspace->GetMainTopLevelWindow(), main.get());
  EXPECT_TRUE(main->IsShown());
  // The closed panel's place remembers it.
  EXPECT_TRUE(main->CanReanimateFrame("A"));
  EXPECT_TRUE(main->ReanimateFrame("A"));
  EXPECT_EQ(main->GetFrameCount(), 1u);
  EXPECT_EQ(main->GetRootFrame()->GetFrontTabPanel()->GetTabType(), "A");
}

// A floating window holding one frame with the given types.
std::shared_ptr<TopLevelWindow> Floating(Workspace& w, std::initializer_list<const char*> types) {
  auto window = w.AddTopLevelWindow(false, nullptr);
  WorkspaceFrame* frame = window->CreateRootFrame(*types.begin(), false, true);
  for (auto it = types.begin() + 1; it != types.end(); ++it) frame->AddTab(*it, false);
  window->UI_Show(true);
  return window;
}

TEST_F(WorkspaceCore, AClosedFloatingWindowComesBackWithItsPanels) {
  FrameWith({"A"});
  auto floating = Floating(*workspace, {"H", "B"});
  WorkspaceFrame* frame = floating->GetRootFrame();
  TabPanelPtr hidden = frame->GetTabPanel(0);
  static_cast<NotePanel&>(*frame->GetTabPanel(1)).note = "cut list";
  workspace->SetFocusedTabPanel(hidden.get());
  workspace->RemoveWindow(floating.get(), true);
  EXPECT_EQ(workspace->GetWindows().size(), 1u);
  ASSERT_EQ(workspace->GetRemovedWindowData().size(), 1u);
  const auto& record = *workspace->GetRemovedWindowData().front();
  EXPECT_EQ(record.tabTypes, (std::set<std::string>{"B", "H"}));
  EXPECT_TRUE(record.HasPanel(hidden.get()));
  EXPECT_EQ(hidden->GetFrame(), nullptr);
  EXPECT_EQ(hidden->GetParent(), nullptr);

  EXPECT_TRUE(workspace->CanReanimateWindow("B"));
  EXPECT_TRUE(workspace->ReanimateWindow("B"));
  EXPECT_TRUE(workspace->GetRemovedWindowData().empty());
  ASSERT_EQ(workspace->GetWindows().size(), 2u);
  TopLevelWindow* back = workspace->GetWindows()[1];
  WorkspaceFrame* restored = back->GetRootFrame();
  ASSERT_NE(restored, nullptr);
  TabPanelPtr b = restored->GetFrontTabPanel();
  EXPECT_EQ(b->GetTabType(), "B");
  EXPECT_EQ(static_cast<NotePanel&>(*b).note, "cut list");  // its saved state came back
  // The panel that hides when closed comes back as the same object.
  EXPECT_TRUE(restored->ReanimateTab("H") != nullptr);
  EXPECT_EQ(restored->GetTabPanel(restored->GetTabCount() - 1), hidden);
}

TEST_F(WorkspaceCore, RemovedWindowRecordsFollowTheKeepFlagAndTheLastTouchedType) {
  auto first = Floating(*workspace, {"B"});
  workspace->RemoveWindow(first.get(), false);
  EXPECT_TRUE(workspace->GetRemovedWindowData().empty());

  auto second = Floating(*workspace, {"B", "C"});
  workspace->RemoveWindow(second.get(), true);
  auto third = Floating(*workspace, {"C"});
  third->GetRootFrame()->GetTabPanel(0)->Touch();
  workspace->RemoveWindow(third.get(), true);
  // The newer window's last-touched type C superseded the older record holding C.
  ASSERT_EQ(workspace->GetRemovedWindowData().size(), 1u);
  EXPECT_EQ(workspace->GetRemovedWindowData().front()->tabTypes, (std::set<std::string>{"C"}));
}

TEST_F(WorkspaceCore, ClosingTheLastPanelOfAFloatingWindowClosesTheWindow) {
  FrameWith({"A"});
  auto floating = Floating(*workspace, {"B"});
  WorkspaceFrame* frame = floating->GetRootFrame();
  ui_testing::ProcessEvents();
  ui_testing::ClickAt(TabPoint(*frame, 0, true));
  EXPECT_EQ(workspace->GetWindows().size(), 1u);
  EXPECT_FALSE(floating->IsShown());
  EXPECT_TRUE(workspace->CanReanimateWindow("B"));
  // The focus moved back to the main window.
  EXPECT_EQ(workspace->GetFocusedTabPanel(), main->GetRootFrame()->GetFrontTabPanel().get());
}

// A floating window that goes with its last frame takes no closed panel along: those its
// other frames left in its tree are remembered with it, and the Window menu's toggle of
// their type brings the window back with them.
TEST_F(WorkspaceCore, AWindowGoneWithItsLastFrameKeepsTheClosedPanelsOfItsOtherFrames) {
  FrameWith({"A"});
  auto floating = Floating(*workspace, {"B"});
  WorkspaceFrame* closedFirst = floating->GetRootFrame();
  WorkspaceFrame* last = floating->AddTabbedFrame(closedFirst, "O", LayoutManager::kRight);
  static_cast<NotePanel&>(*closedFirst->GetTabPanel(0)).note = "cut list";
  ui_testing::ProcessEvents();
  ui_testing::ClickAt(TabPoint(*closedFirst, 0, true));
  ui_testing::ProcessEvents();
  ASSERT_EQ(floating->GetFrameCount(), 1u);
  // The last panel leaves nothing to keep of its own (it is obliterated without state).
  ui_testing::ClickAt(TabPoint(*last, 0, true));
  EXPECT_EQ(workspace->GetWindows().size(), 1u);
  ASSERT_TRUE(workspace->CanReanimateWindow("B"));

  WorkspaceUtils::ToggleTabState(*workspace, "B", false);
  ASSERT_EQ(workspace->GetWindows().size(), 2u);
  WorkspaceFrame* back = workspace->GetWindows()[1]->GetRootFrame();
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(Types(*back), std::vector<std::string>{"B"});
  EXPECT_EQ(static_cast<NotePanel&>(*back->GetTabPanel(0)).note, "cut list");
  EXPECT_TRUE(workspace->GetRemovedWindowData().empty());
}

// The window system's close (the title bar's close button) goes through the workspace:
// the window leaves it, is remembered, and comes back where it was with the same panels.
TEST_F(WorkspaceCore, AWindowClosedByTheWindowSystemLeavesAndComesBackWhereItWas) {
  FrameWith({"A"});
  auto floating = Floating(*workspace, {"H", "B"});
  const kivcore::Rect rect{300, 200, 420, 260};
  floating->SetGlobalStructureRect(rect);
  ui_testing::ProcessEvents();
  const kivcore::Rect placed = floating->GetGlobalStructureRect();
  TabPanelPtr kept = floating->GetRootFrame()->GetTabPanel(0);

  ui_testing::CloseWindow(*floating);
  EXPECT_EQ(workspace->GetWindows().size(), 1u);
  EXPECT_FALSE(floating->IsShown());
  EXPECT_TRUE(workspace->CanReanimateWindow("B"));
  EXPECT_TRUE(workspace->CanReanimateWindow(kept));

  ASSERT_TRUE(workspace->ReanimateWindow("B"));
  ASSERT_EQ(workspace->GetWindows().size(), 2u);
  TopLevelWindow* back = workspace->GetWindows()[1];
  ui_testing::ProcessEvents();
  EXPECT_TRUE(back->IsShown());
  EXPECT_EQ(back->GetGlobalStructureRect(), placed);
  ASSERT_NE(back->GetRootFrame(), nullptr);
  EXPECT_EQ(back->GetRootFrame()->GetFrontTabPanel()->GetTabType(), "B");
  EXPECT_TRUE(back->GetRootFrame()->CanReanimateTab("H"));
  EXPECT_EQ(back->GetRootFrame()->ReanimateTab("H"), kept.get());

  // Closed again and brought back for the type of the panel that hides when closed: that
  // very panel comes back.
  ui_testing::CloseWindow(*back);
  ASSERT_TRUE(workspace->ReanimateWindow("H"));
  TopLevelWindow* again = workspace->GetWindows().back();
  ASSERT_NE(again->GetRootFrame(), nullptr);
  EXPECT_EQ(again->GetRootFrame()->GetFrontTabPanel(), kept);
}

// Closing a window closes what may close; a panel that refuses keeps the window open, and
// a window that stays is not remembered as closed.
TEST_F(WorkspaceCore, AWindowWithAPanelThatRefusesToCloseStays) {
  FrameWith({"A"});
  auto floating = Floating(*workspace, {"X", "B"});
  ui_testing::CloseWindow(*floating);
  ASSERT_EQ(workspace->GetWindows().size(), 2u);
  EXPECT_TRUE(floating->IsShown());
  WorkspaceFrame* frame = floating->GetRootFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(Types(*frame), (std::vector<std::string>{"X"}));
  EXPECT_TRUE(frame->CanReanimateTab("B"));
  EXPECT_TRUE(workspace->GetRemovedWindowData().empty());
}

// Only a window that goes supersedes the records of older closed windows: one that stays
// (a panel in it refuses to close) leaves them all, whatever its last-touched panel.
TEST_F(WorkspaceCore, AWindowThatStaysLeavesTheRecordsOfClosedWindows) {
  FrameWith({"A"});
  auto closed = Floating(*workspace, {"B"});
  static_cast<NotePanel&>(*closed->GetRootFrame()->GetTabPanel(0)).note = "first";
  ui_testing::CloseWindow(*closed);
  ASSERT_EQ(workspace->GetRemovedWindowData().size(), 1u);

  auto staying = Floating(*workspace, {"X"});
  WorkspaceFrame* frame = staying->AddTabbedFrame(staying->GetRootFrame(), "B", LayoutManager::kRight);
  ui_testing::ProcessEvents();
  frame->GetTabPanel(0)->Touch();
  ASSERT_EQ(staying->GetLastTouchedTabPanel(), frame->GetTabPanel(0).get());
  ui_testing::CloseWindow(*staying);
  EXPECT_TRUE(staying->IsShown());
  ASSERT_EQ(workspace->GetRemovedWindowData().size(), 1u);
  ASSERT_TRUE(workspace->ReanimateWindow("B"));
  WorkspaceFrame* back = workspace->GetWindows().back()->GetRootFrame();
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(static_cast<NotePanel&>(*back->GetFrontTabPanel()).note, "first");
}

// Bringing a closed window back for one panel brings back that very panel in front, also
// when the window held several panels of its type.
TEST_F(WorkspaceCore, ReanimatingAWindowForAPanelBringsThatPanelBack) {
  FrameWith({"A"});
  auto floating = Floating(*workspace, {"H", "H"});
  TabPanelPtr first = floating->GetRootFrame()->GetTabPanel(0);
  TabPanelPtr second = floating->GetRootFrame()->GetTabPanel(1);
  workspace->RemoveWindow(floating.get(), true);
  for (const TabPanelPtr& wanted : {first, second}) {
    ASSERT_TRUE(workspace->ReanimateWindow(wanted));
    TopLevelWindow* back = workspace->GetWindows().back();
    ASSERT_NE(back->GetRootFrame(), nullptr);
    EXPECT_EQ(back->GetRootFrame()->GetFrontTabPanel(), wanted);
    workspace->RemoveWindow(back, true);
  }
}

// New panels where the user is: a plain (not stacked) frame when the main window is
// empty, and nothing at all, not an empty frame, for a type no creator makes.
TEST_F(WorkspaceCore, NewPanelsWhereTheUserIsGetPlainFramesAndUnknownTypesNothing) {
  EXPECT_EQ(workspace->NewTabInFocused("nope"), nullptr);
  EXPECT_EQ(workspace->NewFrameInFocused("nope", LayoutManager::kLeft), nullptr);
  EXPECT_EQ(main->CreateRootFrame("nope", true, true), nullptr);
  EXPECT_EQ(main->GetFrameCount(), 0u);
  EXPECT_EQ(workspace->GetWindows().size(), 1u);

  TabPanel* a = workspace->NewTabInFocused("A");
  ASSERT_NE(a, nullptr);
  auto* frame = dynamic_cast<WorkspaceFrame*>(a->GetFrame());
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(main->GetRootFrame(), frame);
  EXPECT_FALSE(frame->IsStacked());
  EXPECT_EQ(frame->GetFrameLocalRect(), main->GetClientRect());  // laid out at once
}

// Every panel of the main window closed by its close box leaves a tree of placeholders and
// no focus. A new frame made where the user is then joins that tree: it is laid out, a
// saved definition holds it beside the closed panels' records, and a restore brings both.
TEST_F(WorkspaceCore, ANewFrameInAWindowOfPlaceholdersIsInTheTreeAndIsSaved) {
  WorkspaceFrame* a = FrameWith({"A"});
  WorkspaceFrame* b = FrameWith({"B"});
  ui_testing::ClickAt(TabPoint(*a, 0, true));
  ui_testing::ClickAt(TabPoint(*b, 0, true));
  ASSERT_EQ(main->GetRootFrame(), nullptr);
  ASSERT_EQ(main->GetLayoutManager().GetPlaceholders().size(), 2u);
  const TabPanel* focus = workspace->GetFocusedTabPanel();
  ASSERT_TRUE(!focus || !focus->GetFrame()) << "no panel in a frame has the focus";

  WorkspaceFrame* added = workspace->NewFrameInFocused("C", LayoutManager::kRight);
  ASSERT_NE(added, nullptr);
  ui_testing::ProcessEvents();
  EXPECT_EQ(main->GetRootFrame(), added);
  EXPECT_EQ(main->GetLayoutManager().GetFrames(), std::vector<Frame*>{added->GetLMFrame()});
  EXPECT_EQ(added->GetFrameLocalRect(), main->GetClientRect());
  auto* c = dynamic_cast<NotePanel*>(added->GetFrontTabPanel().get());
  ASSERT_NE(c, nullptr);
  c->note = "docked";
  added->AddTab("B", false);  // docked into the new frame: saved with it

  kivcore::PropList saved;
  SaveWorkspace(*workspace, saved, u"Edit");
  auto copy = std::make_shared<Workspace>();
  for (const char* type : {"A", "B", "C"}) copy->RegisterTabCreator(std::make_unique<NoteCreator>(type));
  copy->CreateMainTopLevelWindow({100, 80, 900, 600})->UI_Show(true);
  ASSERT_TRUE(RestoreWorkspace(*copy, saved, false, true, false));
  ui_testing::ProcessEvents();
  TopLevelWindow* restored = copy->GetMainTopLevelWindow();
  WorkspaceFrame* root = restored->GetRootFrame();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(Types(*root), (std::vector<std::string>{"C", "B"}));
  auto* back = dynamic_cast<NotePanel*>(root->GetTabPanel(0).get());
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->note, "docked");
  EXPECT_EQ(root->GetFrameLocalRect(), restored->GetClientRect());
  EXPECT_TRUE(restored->CanReanimateFrame("A"));
  EXPECT_TRUE(restored->CanReanimateFrame("B"));
  EXPECT_EQ(restored->GetLayoutManager().CheckStructure(), "");
}

TEST_F(WorkspaceCore, ObliteratedPanelsAreAnnouncedAndKeepStateOnlyWhenAsked) {
  struct Counting : Workspace {
    std::vector<std::string> obliterated;
    void NotifyObliterating(TabPanel* p) override { obliterated.push_back(p->GetTabType()); }
  };
  auto counting = std::make_shared<Counting>();
  for (const char* type : {"A", "O", "S"}) counting->RegisterTabCreator(std::make_unique<NoteCreator>(type));
  auto window = counting->CreateMainTopLevelWindow({0, 0, 600, 400});
  WorkspaceFrame* frame = window->CreateRootFrame("A", false, true);
  frame->AddTab("O", false);
  frame->AddTab("S", false);
  counting->RemoveTab(frame, 2, true, true);
  counting->RemoveTab(frame, 1, true, true);
  EXPECT_EQ(counting->obliterated, (std::vector<std::string>{"S", "O"}));
  EXPECT_TRUE(frame->CanReanimateTab("S"));
  EXPECT_FALSE(frame->CanReanimateTab("O"));
}

TEST_F(WorkspaceCore, DockProgressIsShownOnlyWhenThePercentageChanges) {
  struct Dock : Workspace {
    int calls = 0;
    bool shown = false;
    void DoSetDockProgress(bool show, int, int) override {
      ++calls;
      shown = show;
    }
  } dock;
  dock.DrawDockProgress(5, 10);
  dock.DrawDockProgress(5, 10);
  EXPECT_EQ(dock.calls, 1);
  EXPECT_TRUE(dock.shown);
  dock.DrawDockProgress(10, 10);
  EXPECT_EQ(dock.calls, 2);
  EXPECT_FALSE(dock.shown);  // done: no progress shown
}

}  // namespace
