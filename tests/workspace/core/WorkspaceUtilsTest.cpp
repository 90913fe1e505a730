#include "workspace/WorkspaceTestSupport.h"

#include "services/core/MainThread.h"
#include "services/ui/dialogs/UI_Dialog.h"
#include "workspace/core/WorkspaceUtils.h"

#include <atomic>
#include <chrono>
#include <future>
#include <set>
#include <thread>

using namespace kivtest;
namespace ui_testing = kivui::testing;
namespace utils = kivworkspace::workspace::WorkspaceUtils;

namespace {

using Strings = std::vector<std::string>;

struct WorkspaceUtilsTest : WorkspaceFixture {
  TopLevelWindow* Floating(std::initializer_list<const char*> types) {
    auto window = workspace->AddTopLevelWindow(false, nullptr);
    WorkspaceFrame* frame = window->CreateRootFrame(*types.begin(), false, true);
    for (auto it = types.begin() + 1; it != types.end(); ++it) frame->AddTab(*it, false);
    window->UI_Show(true);
    ui_testing::ProcessEvents();
    return window.get();
  }
  static TopLevelWindow* WindowOf(const TabPanel* panel) {
    return panel && panel->GetFrame() ? panel->GetFrame()->GetTopLevelWindow() : nullptr;
  }
  std::string Focused() const {
    TabPanel* p = workspace->GetFocusedTabPanel();
    return p ? p->GetTabType() : "";
  }
};

template <typename Base, typename Panel>
struct Visitor : Base {
  explicit Visitor(std::function<bool(Panel&)> f) : fn(std::move(f)) {}
  bool Visit(Panel& panel) override { return fn(panel); }
  std::function<bool(Panel&)> fn;
};
using ConstVisitor = Visitor<utils::ConstTabVisitor, const TabPanel>;
using MutableVisitor = Visitor<utils::TabVisitor, TabPanel>;

TEST_F(WorkspaceUtilsTest, WalksAndFindersSeeOnlyOpenPanelsInWindowAndTabOrder) {
  WorkspaceFrame* left = FrameWith({"A", "H"});
  WorkspaceFrame* right = FrameWith({"B", "C"});
  TopLevelWindow* floating = Floating({"A", "C"});
  TabPanelPtr hidden = left->GetTabPanel(1);
  workspace->RemoveTab(left, 1, true, true);   // kept alive, hidden
  workspace->RemoveTab(right, 0, true, true);  // kept as a record

  Strings seen;
  ConstVisitor all([&](const TabPanel& p) { return seen.push_back(p.GetTabType()), true; });
  EXPECT_TRUE(utils::VisitEachTab(*workspace, all));
  EXPECT_EQ(seen, (Strings{"A", "C", "A", "C"}));
  int calls = 0;
  ConstVisitor first([&](const TabPanel&) { return ++calls, false; });
  EXPECT_FALSE(utils::VisitEachTab(*workspace, first));
  EXPECT_EQ(calls, 1);

  TabPanel* floatingC = floating->GetRootFrame()->GetTabPanel(1).get();
  EXPECT_EQ(utils::FindTabFromTabPanelID(*workspace, hidden->GetID()), nullptr);
  EXPECT_EQ(utils::FindTabFromTabPanelID(*workspace, floatingC->GetID()), floatingC);
  int index = -1;
  EXPECT_EQ(utils::FindFirstTabOfType(*floating, "C", &index), floatingC);
  EXPECT_EQ(index, 1);
  std::list<TabPanel*> panels;
  std::list<int> indices;
  utils::FindAllTabsOfType(*workspace, "C", panels, &indices);
  EXPECT_EQ(panels, (std::list<TabPanel*>{right->GetTabPanel(0).get(), floatingC}));
  EXPECT_EQ(indices, (std::list<int>{0, 1}));
  EXPECT_EQ(utils::FindTabFromID(*workspace, "C"), right->GetTabPanel(0).get());

  // A visitor may close what it visits, emptying frames on the way; CloseTab's walk nests
  // in the outer one.
  MutableVisitor closeC([&](TabPanel& p) {
    if (p.GetTabType() == "C")
      utils::CloseTab(*workspace, std::static_pointer_cast<TabPanel>(p.shared_from_this()));
    return true;
  });
  EXPECT_TRUE(utils::VisitEachTab(*workspace, closeC));
  EXPECT_EQ(utils::FindFirstTabOfType(*workspace, "C"), nullptr);
  EXPECT_FALSE(workspace->GetCreateTabPanelAssertionMode());
}

// The finders look in every frame of a window, the panels pinned to its sides included;
// the walk of the tabbed frames leaves those out.
TEST_F(WorkspaceUtilsTest, FindersSeePanelsPinnedToAWindowsSides) {
  FrameWith({"A"});
  main->SetStaticElement("C", LayoutManager::kBottom, true);
  TabPanel* pinned = main->GetStaticElement(LayoutManager::kBottom);
  ASSERT_NE(pinned, nullptr);
  int index = -1;
  EXPECT_EQ(utils::FindFirstTabOfType(*workspace, "C", &index), pinned);
  EXPECT_EQ(index, 0);
  std::list<TabPanel*> panels;
  utils::FindAllTabsOfType(*workspace, "C", panels);
  EXPECT_EQ(panels, std::list<TabPanel*>{pinned});
  EXPECT_EQ(utils::FindTabFromID(*workspace, "C"), pinned);

  Strings seen;
  ConstVisitor all([&](const TabPanel& p) { return seen.push_back(p.GetTabType()), true; });
  utils::VisitEachTab(*workspace, all);
  EXPECT_EQ(seen, Strings{"A"});
}

TEST_F(WorkspaceUtilsTest, AWalkWaitsWhileAnotherThreadHoldsTheLock) {
  FrameWith({"A", "B"});
  std::promise<void> locked;
  std::atomic<bool> released{false};
  std::thread holder([&] {
    std::lock_guard guard(utils::GetTabWalkLock());
    locked.set_value();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    released = true;
  });
  locked.get_future().wait();
  bool afterRelease = true;
  ConstVisitor check([&](const TabPanel&) { return afterRelease = afterRelease && released, true; });
  utils::VisitEachTab(*workspace, check);
  holder.join();
  EXPECT_TRUE(afterRelease);
}

TEST_F(WorkspaceUtilsTest, MaximizingFollowsThePointerAndShownQueriesMindIt) {
  WorkspaceFrame* left = FrameWith({"A", "B"});
  WorkspaceFrame* right = FrameWith({"C"});
  left->BringTabToFront(1u);
  TabPanel* a = left->GetTabPanel(0).get();
  bool front = true;
  EXPECT_TRUE(utils::TabIsShownInTLW(*main, *a, front, true));
  EXPECT_FALSE(front);

  ui_testing::ClickAt(TabPoint(*right, 0));
  const kivcore::Rect r = left->GetTabPanelFrameGlobalRect();
  ui_testing::MouseMoveTo({r.left + r.width / 2, r.top + r.height / 2});
  EXPECT_TRUE(utils::ToggleFrameMaximizationState(*workspace));
  EXPECT_EQ(main->GetMaximizedFrame(), left);
  EXPECT_EQ(Focused(), "B");
  EXPECT_FALSE(utils::TabIsShown(*workspace, "C", front));
  EXPECT_TRUE(utils::TabIsShownInTLW(*main, *right->GetTabPanel(0), front, false));
  EXPECT_TRUE(utils::TabIsShown(*workspace, "A", front) && !front);
  // The maximized frame fills the window, so the pointer is still over it: restored.
  EXPECT_TRUE(utils::ToggleFrameMaximizationState(*workspace));
  EXPECT_EQ(main->GetMaximizedFrame(), nullptr);
  EXPECT_TRUE(right->IsShown());

  TopLevelWindow* floating = Floating({"C"});
  ui_testing::MouseMoveTo(TabPoint(*floating->GetRootFrame(), 0));
  EXPECT_FALSE(utils::ToggleFrameMaximizationState(*workspace));
  EXPECT_EQ(floating->GetMaximizedFrame(), nullptr);
}

TEST_F(WorkspaceUtilsTest, ToggleByTypeFrontsThenFocusesThenClosesThenReopensInPlace) {
  WorkspaceFrame* frame = FrameWith({"A", "B"});
  WorkspaceFrame* other = FrameWith({"C"});
  ui_testing::ClickAt(TabPoint(*frame, 0));
  utils::ToggleTabState(*workspace, "B", true);  // behind A: fronted and focused
  EXPECT_EQ(frame->GetFrontTabPanel()->GetTabType(), "B");
  EXPECT_EQ(Focused(), "B");
  utils::ToggleTabState(*workspace, "B", true);  // in front and focused: closed
  EXPECT_EQ(Types(*frame), (Strings{"A"}));
  utils::ToggleTabState(*workspace, "B", true);  // back in its frame, in front and focused
  EXPECT_EQ(Types(*frame), (Strings{"A", "B"}));
  EXPECT_EQ(frame->GetFrontTabPanel()->GetTabType(), "B");
  EXPECT_EQ(Focused(), "B");

  // In front without the focus: focused when asked to, else closed.
  ui_testing::ClickAt(TabPoint(*other, 0));
  utils::ToggleTabState(*workspace, "B", true);
  EXPECT_EQ(Focused(), "B");
  ui_testing::ClickAt(TabPoint(*other, 0));
  utils::ToggleTabState(*workspace, "B", false);
  EXPECT_EQ(Types(*frame), (Strings{"A"}));

  frame->AddTab("X", true);  // refuses to close
  utils::ToggleTabState(*workspace, "X", true);
  EXPECT_EQ(Types(*frame), (Strings{"A", "X"}));

  // Hidden by a maximized frame: the layout is restored, and the panel stays open.
  main->SetMaximizedFrame(other);
  utils::ToggleTabState(*workspace, "A", true);
  EXPECT_EQ(main->GetMaximizedFrame(), nullptr);
  EXPECT_EQ(Focused(), "A");
  EXPECT_EQ(Types(*frame), (Strings{"A", "X"}));
  EXPECT_FALSE(workspace->GetCreateTabPanelAssertionMode());
}

TEST_F(WorkspaceUtilsTest, ToggleByTypeOpensAWindowAndBringsAClosedWindowBack) {
  FrameWith({"A"});
  utils::ToggleTabState(*workspace, "H", true);  // open nowhere, never closed
  ASSERT_EQ(workspace->GetWindows().size(), 2u);
  TopLevelWindow* floating = workspace->GetWindows().back();
  EXPECT_TRUE(floating->IsShown());
  EXPECT_EQ(WindowOf(workspace->GetFocusedTabPanel()), floating);

  ui_testing::CloseWindow(*floating);
  ASSERT_TRUE(workspace->CanReanimateWindow("H"));
  utils::ToggleTabState(*workspace, "H", true);
  ASSERT_EQ(workspace->GetWindows().size(), 2u);
  EXPECT_FALSE(workspace->CanReanimateWindow("H"));
  EXPECT_EQ(WindowOf(utils::FindFirstTabOfType(*workspace, "H")), workspace->GetWindows().back());
  utils::ToggleTabState(*workspace, "nope", true);
  EXPECT_EQ(workspace->GetWindows().size(), 2u);
}

TEST_F(WorkspaceUtilsTest, ToggleByPanelAndCloseTabKeepThePanelItself) {
  WorkspaceFrame* frame = FrameWith({"A", "H"});
  WorkspaceFrame* xFrame = FrameWith({"X"});
  ui_testing::ClickAt(TabPoint(*frame, 0));
  TabPanelPtr h = frame->GetTabPanel(1);
  utils::ToggleTabState(*workspace, h, true);  // behind A: fronted and focused
  EXPECT_EQ(workspace->GetFocusedTabPanel(), h.get());
  utils::ToggleTabState(*workspace, h, true);  // closed, kept hidden in its frame
  EXPECT_EQ(Types(*frame), (Strings{"A"}));
  utils::ToggleTabState(*workspace, h, true);  // back as itself
  EXPECT_EQ(frame->GetFrontTabPanel(), h);
  EXPECT_EQ(workspace->GetFocusedTabPanel(), h.get());
  ui_testing::ClickAt(TabPoint(*xFrame, 0));
  utils::ToggleTabState(*workspace, h, true);  // in front, not focused: focused
  EXPECT_EQ(workspace->GetFocusedTabPanel(), h.get());

  // A panel kept nowhere comes in a new floating window.
  TabPanelPtr loose = workspace->CreateTabPanel("B", nullptr);
  utils::ToggleTabState(*workspace, loose, true);
  ASSERT_NE(WindowOf(loose.get()), nullptr);
  EXPECT_FALSE(WindowOf(loose.get())->IsMain());

  utils::CloseTab(*workspace, xFrame->GetTabPanel(0));  // refuses
  utils::CloseTab(*workspace, frame->GetTabPanel(0));
  EXPECT_EQ(Types(*xFrame), (Strings{"X"}));
  EXPECT_EQ(utils::FindFirstTabOfType(*workspace, "A"), nullptr);
}

TEST_F(WorkspaceUtilsTest, CreateOrReanimateBringsARecordBackInItsWindowElseOpensAWindow) {
  FrameWith({"A"});
  TopLevelWindow* floating = Floating({"B", "C"});
  workspace->RemoveTab(floating->GetRootFrame(), 1, true, true);
  TabPanel* c = utils::CreateOrReanimateTab(*workspace, "C");
  EXPECT_EQ(WindowOf(c), floating);
  EXPECT_EQ(Types(*floating->GetRootFrame()), (Strings{"B", "C"}));
  EXPECT_EQ(workspace->GetWindows().size(), 2u);

  // Open already, with nothing to bring back: another one in a new window.
  TabPanel* a = utils::CreateOrReanimateTab(*workspace, "A");
  EXPECT_EQ(workspace->GetWindows().size(), 3u);
  EXPECT_EQ(WindowOf(a), workspace->GetWindows().back());
  EXPECT_EQ(utils::CreateOrReanimateTab(*workspace, "nope"), nullptr);
  EXPECT_EQ(workspace->GetWindows().size(), 3u);
}

TEST_F(WorkspaceUtilsTest, FocusCyclesThroughEveryShownPanelInLayoutOrder) {
  EXPECT_FALSE(utils::ChangeFocusTabPanel(*workspace, true));
  WorkspaceFrame* left = FrameWith({"A", "B"});
  WorkspaceFrame* right = FrameWith({"C"});
  main->AddTabbedFrame(right, "S", LayoutManager::kLeft);  // added last, laid out between
  ui_testing::ProcessEvents();
  ui_testing::ClickAt(TabPoint(*left, 0));
  auto step = [&](bool forward) {
    EXPECT_TRUE(utils::ChangeFocusTabPanel(*workspace, forward));
    return Focused();
  };
  EXPECT_EQ((Strings{step(true), step(true), step(true), step(true)}), (Strings{"B", "S", "C", "A"}));
  EXPECT_EQ((Strings{step(false), step(false)}), (Strings{"C", "S"}));

  main->SetMaximizedFrame(left);  // only its panels while it hides the others
  EXPECT_EQ((std::set<std::string>{step(true), step(true), step(true)}),
            (std::set<std::string>{"A", "B"}));
}

TEST_F(WorkspaceUtilsTest, ModalDialogsAreParentedToTheRunningModalElseTheMainWindow) {
  EXPECT_EQ(utils::GetModalDialogParentNode(), main.get());
  auto dialog = std::make_shared<kivui::UI_Dialog>("Settings", 240, 120);
  kivui::OS_Window* parent = nullptr;
  kivcore::threads::AsyncCallFromMainThread([&] {
    parent = utils::GetModalDialogParentNode();
    dialog->EndModal(kivui::UI_Dialog::kCancel);
  });
  dialog->RunModal(main.get());
  EXPECT_EQ(parent, dialog.get());
  EXPECT_EQ(utils::FindMainTopLevelWindow(), main.get());
  main.reset();
  workspace.reset();
  EXPECT_EQ(utils::FindMainTopLevelWindow(), nullptr);
}

}  // namespace
