// Stacked frames driven by real events: opening and collapsing by the headers, solo mode
// (from the menu or an Alt click), the open panel kept when panels leave, heights dragged
// by the grippers, reordering by dragging headers, scrolling, the menu, dragging panels
// out of and into a stack, switching a frame between the two kinds, and the stack in a
// workspace definition.
#include "workspace/WorkspaceTestSupport.h"

#include "services/core/PropListUtils.h"
#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/testing/ScriptedAnswers.h"
#include "workspace/frames/FrameChild.h"
#include "workspace/frames/StackedWorkspaceFrame.h"
#include "workspace/definition/WorkspaceDefinition.h"

namespace kivtest {
namespace {

namespace ui_testing = kivui::testing;
using kivcore::Point;
using kivcore::Rect;

// A panel 150 high in a stack that snaps to 240.
class TallPanel : public NotePanel {
 public:
  using NotePanel::NotePanel;
  int preferred = 150;
  int GetDimension(TabPanelDimension d) const override {
    if (d == kStackedPreferredHeight) return preferred;
    if (d == kStackedMinHeight) return 60;
    return NotePanel::GetDimension(d);
  }

 private:
  void DoGetSnapSizes(std::vector<Point>& sizes) const override { sizes.push_back({0, 240}); }
};

struct TallCreator : TabCreator {
  TallCreator() : TabCreator("T") {}
  TabPanelPtr CreateTabPanel(Workspace* w, WorkspaceFrameBase* f) const override {
    return std::make_shared<TallPanel>(w, f, "T", true);
  }
};

struct Stacks : WorkspaceFixture {
  StackedWorkspaceFrame* stack = nullptr;

  void SetUp() override {
    Workspace::SetStackedTabPanelsEnabled(true);
    WorkspaceFixture::SetUp();
    workspace->RegisterTabCreator(std::make_unique<TallCreator>());
    WorkspaceFramePtr frame = main->CreateStackedWorkspaceFrame(WorkspaceFrame::kStacked);
    main->SetRootFrame(frame);
    stack = static_cast<StackedWorkspaceFrame*>(frame.get());
    for (const char* type : {"T", "A", "B"}) stack->AddTab(type, false);
    ui_testing::ProcessEvents();
  }
  void TearDown() override {
    WorkspaceFixture::TearDown();
    Workspace::SetStackedTabPanelsEnabled(false);
  }
  FrameChild& Child(unsigned i) const { return *stack->GetFrameChild(i); }
  Point Header(unsigned i) const {
    return Child(i).GetHeader().UI_LocalToGlobal({30, int(kivui::UI_TabWell::kTabHeight / 2)});
  }
  WorkspaceFrame* FrameOf(const std::string& type) const {
    for (WorkspaceFrame* f : main->GetTabbedFrames())
      for (unsigned i = 0; i < f->GetTabCount(); ++i)
        if (f->GetTabPanel(i)->GetTabType() == type) return f;
    return nullptr;
  }
  std::vector<bool> OpenStates() const {
    std::vector<bool> open;
    for (unsigned i = 0; i < stack->GetTabCount(); ++i) open.push_back(stack->GetStackedTabIsOpen(i));
    return open;
  }
};

// Every added panel opens under its header, one under the other; the only panel of a
// stack cannot be collapsed; heights below 20 read and store as 20.
TEST_F(Stacks, PanelsStackUnderTheirHeaders) {
  EXPECT_EQ(stack->GetStackedViewState(), unsigned(WorkspaceFrame::kStacked));
  EXPECT_EQ(OpenStates(), (std::vector<bool>{true, true, true}));
  const int header = int(kivui::UI_TabWell::kTabHeight);
  EXPECT_EQ(Child(0).GetFrame().top, 0);
  EXPECT_EQ(Child(0).GetFrame().height, header + 150 + FrameChild::kGripperHeight + FrameChild::kSeparatorHeight);
  EXPECT_EQ(Child(1).GetFrame().top, Child(0).GetFrame().Bottom());
  EXPECT_EQ(stack->GetTabPanel(0)->GetFrame(), stack);
  EXPECT_EQ(stack->GetTabPanel(0)->GetLocalBounds().height, 150);
  stack->SetStackedTabClientHeight(1, 5);
  EXPECT_EQ(stack->GetStackedTabClientHeight(1), 20);

  auto single = main->CreateStackedWorkspaceFrame(9);
  EXPECT_EQ(single->GetStackedViewState(), 7u) << "flags of 8 or more: stacked, solo, small tabs";
  main->AddTabbedFrame(stack, single, LayoutManager::kRight);
  single->AddTab("C", false);
  auto* lone = static_cast<StackedWorkspaceFrame*>(single.get());
  lone->SetStackedTabIsOpen(0, false);
  lone->ToggleAllChildren(false);
  EXPECT_TRUE(lone->GetStackedTabIsOpen(0)) << "the only panel stays open";
}

// A click on an open header fronts and collapses it, the next opens it again; with the
// docking modifier a click collapses or opens them all.
TEST_F(Stacks, HeaderClicksOpenAndCollapse) {
  ui_testing::ClickAt(Header(1));
  EXPECT_EQ(stack->GetFrontTabIndex(), 1);
  EXPECT_EQ(OpenStates(), (std::vector<bool>{true, false, true}));
  EXPECT_EQ(Child(2).GetFrame().top, Child(1).GetFrame().Bottom());
  EXPECT_EQ(Child(1).GetFrame().height, kivui::UI_TabWell::kTabHeight + FrameChild::kSeparatorHeight);
  EXPECT_FALSE(stack->GetTabPanel(1)->IsShown());
  ui_testing::ClickAt(Header(1));
  EXPECT_EQ(OpenStates(), (std::vector<bool>{true, true, true}));
  EXPECT_TRUE(stack->GetTabPanel(1)->IsShown());
  ui_testing::ClickAt(Header(0), kivui::MouseEvent::kPrimary, kivui::kModControl);
  EXPECT_EQ(OpenStates(), (std::vector<bool>{false, false, false}));
  ui_testing::ClickAt(Header(2), kivui::MouseEvent::kPrimary, kivui::kModControl);
  EXPECT_EQ(OpenStates(), (std::vector<bool>{true, true, true}));
}

// In a stack too narrow for a header's tab, the tab is cropped to the header instead of
// going partly under an overflow button, and shows no close box once too narrow for a
// title beside it: a click on its middle toggles the panel, and no header offers a menu.
TEST_F(Stacks, HeadersOfANarrowStackCropTheirTabAndOfferNoOverflowMenu) {
  main->SetGlobalStructureRect({100, 80, 50, 600});
  ui_testing::ProcessEvents();
  const kivui::UI_TabWell& header = Child(1).GetHeader();
  ASSERT_LT(header.GetLocalBounds().width, 60.0f) << "narrower than a tab's usual least width";
  EXPECT_TRUE(header.GetOverflowButtonRect().IsEmpty());
  const kivcore::RectF tab = header.GetTabRect(0);
  EXPECT_LE(tab.Right(), header.GetLocalBounds().width);
  auto answers = ui_testing::ScriptedAnswers::Install();
  answers->Cancel();  // for a menu, were one to open
  EXPECT_TRUE(header.GetCloseBoxRect(0).IsEmpty()) << "too narrow for a title beside a close box";
  ui_testing::ClickAt(header.UI_LocalToGlobal({int(tab.left + tab.width / 2), int(tab.top + tab.height / 2)}));
  EXPECT_TRUE(answers->GetAsked().empty()) << "a click on the header opened a menu";
  EXPECT_EQ(OpenStates(), (std::vector<bool>{true, false, true}));
}

// Solo from the menu: only the front panel stays open, and fronting another swaps them.
// An Alt click on a header toggles solo too, fronting and focusing that header's panel.
TEST_F(Stacks, SoloKeepsOnlyTheFrontPanelOpen) {
  auto answers = ui_testing::ScriptedAnswers::Install();
  answers->Command(kCmdStackedSolo);
  ui_testing::ClickAt(Header(2), kivui::MouseEvent::kSecondary);
  EXPECT_TRUE(stack->IsStackedSolo());
  stack->BringTabToFront(2u);
  EXPECT_EQ(OpenStates(), (std::vector<bool>{false, false, true}));
  stack->BringTabToFront(0u);
  EXPECT_EQ(OpenStates(), (std::vector<bool>{true, false, false}));

  ui_testing::ClickAt(Header(1), kivui::MouseEvent::kPrimary, kivui::kModAlt);
  EXPECT_FALSE(stack->IsStackedSolo());
  EXPECT_EQ(stack->GetFrontTabIndex(), 1);
  EXPECT_EQ(OpenStates(), (std::vector<bool>{true, true, false}));
  EXPECT_EQ(workspace->GetFocusedTabPanel(), stack->GetTabPanel(1).get());
  ui_testing::ClickAt(Header(2), kivui::MouseEvent::kPrimary, kivui::kModAlt);
  EXPECT_TRUE(stack->IsStackedSolo());
  EXPECT_EQ(OpenStates(), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(workspace->GetFocusedTabPanel(), stack->GetTabPanel(2).get());
}

// A stack whose open panel leaves opens its front panel instead; two panels may both be
// collapsed, but the only panel of a stack is open.
TEST_F(Stacks, AStackKeepsAnOpenPanelWhenItsOpenOneLeaves) {
  stack->BringTabToFront(0u);
  stack->SetStackedTabIsOpen(1, false);
  stack->SetStackedTabIsOpen(2, false);
  workspace->RemoveTab(stack, 0, true, true);
  EXPECT_EQ(OpenStates(), (std::vector<bool>{true, false}));
  EXPECT_TRUE(stack->GetTabPanel(0)->IsShown());
  stack->SetStackedTabIsOpen(0, false);
  ASSERT_EQ(OpenStates(), (std::vector<bool>{false, false}));
  workspace->RemoveTab(stack, 1, true, true);
  EXPECT_EQ(OpenStates(), std::vector<bool>{true});
  EXPECT_TRUE(stack->GetTabPanel(0)->IsShown());
}

// The gripper drags a panel's height, snapping to its snap height within 20 and never
// under its least height.
TEST_F(Stacks, GrippersDragHeights) {
  const kivcore::RectF c = Child(0).GetFrame();
  const Point grip = Child(0).UI_LocalToGlobal({50, int(kivui::UI_TabWell::kTabHeight) + 150 + 1});
  ui_testing::DragFromTo(grip, {grip.x, grip.y + 40}, 4);
  EXPECT_EQ(stack->GetStackedTabClientHeight(0), 190);
  EXPECT_EQ(Child(1).GetFrame().top, c.Bottom() + 40) << "the panels below move down";
  const Point grip2 = Child(0).UI_LocalToGlobal({50, int(kivui::UI_TabWell::kTabHeight) + 190 + 1});
  ui_testing::DragFromTo(grip2, {grip2.x, grip2.y + 35}, 4);
  EXPECT_EQ(stack->GetStackedTabClientHeight(0), 240) << "225 is within 20 of the snap height";
  const Point grip3 = Child(0).UI_LocalToGlobal({50, int(kivui::UI_TabWell::kTabHeight) + 240 + 1});
  ui_testing::DragFromTo(grip3, {grip3.x, grip3.y - 230}, 4);
  EXPECT_EQ(stack->GetStackedTabClientHeight(0), 60) << "not under the panel's least height";
}

// A header dragged down past the next one moves its panel down, collapsed (the press
// itself collapsed it, as a click does), and it stays below that open panel however many
// moves the pointer makes on the way.
TEST_F(Stacks, DraggingAHeaderReorders) {
  TabPanel* first = stack->GetTabPanel(0).get();
  for (int moves : {9, 10, 12}) {
    SCOPED_TRACE(std::to_string(moves) + " moves");
    const Point from = Header(0);
    ui_testing::DragFromTo(from, {from.x, from.y + 60}, moves);
    EXPECT_EQ(stack->GetTabPanel(1).get(), first);
    EXPECT_FALSE(stack->GetStackedTabIsOpen(1));
    EXPECT_EQ(stack->GetFrontTabIndex(), 1);
    EXPECT_EQ(workspace->GetTracker(), nullptr);
    stack->MoveTabPanel(1, 0);
    stack->ToggleAllChildren(true);
    ui_testing::ProcessEvents();
  }
}

// A header moves only once the pointer went more than 6 up or down from the press; drawn
// sideways into the scroll bar's strip it is still in the stack, not dragged out of it.
TEST_F(Stacks, AHeaderDragReordersPastSixPixelsWithinTheWholeStack) {
  TabPanel* second = stack->GetTabPanel(1).get();
  const Point press = Child(1).GetHeader().UI_LocalToGlobal({30, 4});
  ui_testing::MousePressAt(press);
  ui_testing::MouseMoveTo({press.x, press.y - 5});
  EXPECT_EQ(stack->GetTabPanel(1).get(), second) << "5 pixels up are not a reorder yet";
  ui_testing::MouseMoveTo({press.x, press.y - 8});
  EXPECT_EQ(stack->GetTabPanel(0).get(), second);
  const Point strip = Child(0).UI_LocalToGlobal({int(Child(0).GetFrame().width) + 5, 10});
  ui_testing::MouseMoveTo(strip);
  EXPECT_EQ(workspace->GetTracker(), nullptr) << "the scroll bar's strip is part of the stack";
  ui_testing::MouseReleaseAt(strip);
  EXPECT_EQ(stack->GetTabCount(), 3u);
  EXPECT_EQ(main->GetFrameCount(), 1u);
  EXPECT_EQ(kivui::UI_NodeManager::Get().GetCaptureNode(), nullptr);
}

// A stack taller than its frame scrolls, never past its ends.
TEST_F(Stacks, ATallStackScrollsWithinItsEnds) {
  for (int i = 0; i < 4; ++i) stack->AddTab("T", false);
  ui_testing::ProcessEvents();
  const int top = int(Child(0).GetFrame().top);
  stack->SetScrollPosition(-100);
  EXPECT_EQ(Child(0).GetFrame().top, top - 100);
  stack->SetScrollPosition(-100000);
  const kivcore::RectF last = Child(stack->GetTabCount() - 1).GetFrame();
  EXPECT_EQ(int(last.Bottom()), stack->GetFrameRect().height) << "the last panel ends at the bottom";
  stack->SetScrollPosition(50);
  EXPECT_EQ(Child(0).GetFrame().top, 0) << "nothing above the first panel";
}

// Out of the stack sideways a header drag becomes a tab drag; a panel dropped on the
// stack's centre joins it.
TEST_F(Stacks, PanelsAreDraggedOutOfAndIntoAStack) {
  WorkspaceFrame* other = main->AddTabbedFrame(stack, "C", LayoutManager::kRight);
  ui_testing::ProcessEvents();
  TabPanel* a = stack->GetTabPanel(1).get();
  const Point from = Header(1);
  const Rect target = main->GetFrameGlobalRect(*other);
  const Point centre{target.left + target.width / 2, target.top + target.height / 2};
  ui_testing::MousePressAt(from);
  ui_testing::MouseMoveTo({from.x, from.y + 30});
  ui_testing::MouseMoveTo({centre.x, from.y + 30});
  ASSERT_NE(workspace->GetTracker(), nullptr) << "a tab drag took over";
  ui_testing::MouseMoveTo(centre);
  ui_testing::MouseReleaseAt(centre);
  EXPECT_EQ(a->GetFrame(), other);
  EXPECT_EQ(stack->GetTabCount(), 2u);

  const Point tab = TabPoint(*other, 1);
  ui_testing::MousePressAt(tab);
  ui_testing::MouseMoveTo({tab.x, tab.y + 40});
  const Rect s = main->GetFrameGlobalRect(*stack);
  const Point middle{s.left + s.width / 2, s.top + s.height / 2};
  ui_testing::MouseMoveTo(middle);
  ui_testing::MouseReleaseAt(middle);
  EXPECT_EQ(a->GetFrame(), stack);
  EXPECT_EQ(stack->GetTabCount(), 3u);
  EXPECT_TRUE(stack->GetStackedTabIsOpen(2));
}

// "Stacked Panel Group" turns a tabbed frame into a stack and back, keeping its panels.
TEST_F(Stacks, TheMenuSwitchesAFrameBetweenTabsAndAStack) {
  WorkspaceFrame* tabbed = main->AddTabbedFrame(stack, "C", LayoutManager::kRight);
  tabbed->AddTab("N", false);
  ui_testing::ProcessEvents();
  tabbed->DoMenuCommand(0, kCmdStacked);
  StackedWorkspaceFrame* now = nullptr;
  for (WorkspaceFrame* f : main->GetTabbedFrames())
    if (f != stack) now = dynamic_cast<StackedWorkspaceFrame*>(f);
  ASSERT_NE(now, nullptr);
  EXPECT_EQ(Types(*now), (std::vector<std::string>{"C", "N"}));
  EXPECT_EQ(main->GetFrameCount(), 2u);
  now->DoMenuCommand(0, kCmdStacked);
  WorkspaceFrame* back = nullptr;
  for (WorkspaceFrame* f : main->GetTabbedFrames())
    if (f != stack) back = f;
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(dynamic_cast<StackedWorkspaceFrame*>(back), nullptr);
  EXPECT_EQ(Types(*back), (std::vector<std::string>{"C", "N"}));
}

// Heights and open states go into the definition and come back; a second save is the same.
TEST_F(Stacks, StacksSurviveSaveAndRestore) {
  stack->SetStackedTabClientHeight(0, 210);
  stack->SetStackedTabIsOpen(1, false);
  kivcore::PropList first;
  SaveWorkspace(*workspace, first, u"Stacks");
  stack->SetStackedTabIsOpen(1, true);
  RestoreReport report;
  ASSERT_TRUE(RestoreWorkspace(*workspace, first, true, true, false, &report));
  EXPECT_TRUE(report.fallbacks.empty()) << report.fallbacks.front();
  auto* again = dynamic_cast<StackedWorkspaceFrame*>(main->GetRootFrame());
  ASSERT_NE(again, nullptr);
  stack = again;
  EXPECT_EQ(again->GetStackedTabClientHeight(0), 210);
  EXPECT_EQ(OpenStates(), (std::vector<bool>{true, false, true}));
  kivcore::PropList second;
  SaveWorkspace(*workspace, second, u"Stacks");
  EXPECT_EQ(kivcore::proplist::utils::WritePropListXML(second, false),
            kivcore::proplist::utils::WritePropListXML(first, false));
}

// The open states come back exactly as saved, and so does the front panel, which the
// restore fronts without opening or closing anything: a front panel collapsed by a click
// stays collapsed, and a solo stack whose panels a Control click opened keeps them open.
TEST_F(Stacks, OpenStatesComeBackAsSavedWhateverTheFrontPanel) {
  // Save, restore over the same workspace and save again: the same definition.
  auto roundTrip = [&] {
    kivcore::PropList first, second;
    SaveWorkspace(*workspace, first, u"Stacks");
    RestoreWorkspace(*workspace, first, true, true, false);
    ui_testing::ProcessEvents();
    stack = dynamic_cast<StackedWorkspaceFrame*>(main->GetRootFrame());
    SaveWorkspace(*workspace, second, u"Stacks");
    return stack && kivcore::proplist::utils::WritePropListXML(second, false) ==
                        kivcore::proplist::utils::WritePropListXML(first, false);
  };
  ui_testing::ClickAt(Header(1));
  ASSERT_EQ(OpenStates(), (std::vector<bool>{true, false, true}));
  ASSERT_TRUE(roundTrip());
  EXPECT_EQ(stack->GetFrontTabIndex(), 1);
  EXPECT_EQ(OpenStates(), (std::vector<bool>{true, false, true})) << "the front panel stays collapsed";

  auto answers = ui_testing::ScriptedAnswers::Install();
  answers->Command(kCmdStackedSolo);
  ui_testing::ClickAt(Header(1), kivui::MouseEvent::kSecondary);
  ASSERT_TRUE(stack->IsStackedSolo());
  ui_testing::ClickAt(Header(0), kivui::MouseEvent::kPrimary, kivui::kModControl);
  ASSERT_EQ(OpenStates(), (std::vector<bool>{true, true, true}));
  ASSERT_TRUE(roundTrip());
  EXPECT_TRUE(stack->IsStackedSolo());
  EXPECT_EQ(stack->GetFrontTabIndex(), 1);
  EXPECT_EQ(OpenStates(), (std::vector<bool>{true, true, true})) << "a solo stack keeps its open panels";
}

// A stack closed panel by panel keeps its place; restored from a definition and reopened,
// it comes back as a stack.
TEST_F(Stacks, AClosedStackComesBackAsAStack) {
  WorkspaceFrame* other = main->AddTabbedFrame(stack, "C", LayoutManager::kRight);
  ASSERT_NE(other, nullptr);
  auto keep = stack->shared_from_this();
  while (stack->GetTabCount() > 0) workspace->RemoveTab(stack, 0, true, true);
  EXPECT_EQ(main->GetFrameCount(), 1u);
  kivcore::PropList definition;
  SaveWorkspace(*workspace, definition, u"Closed");
  ASSERT_TRUE(RestoreWorkspace(*workspace, definition, true, true, false));
  ASSERT_TRUE(main->ReanimateFrame("A"));
  WorkspaceFrame* back = FrameOf("A");
  ASSERT_NE(back, nullptr);
  EXPECT_NE(dynamic_cast<StackedWorkspaceFrame*>(back), nullptr);
}

// A panel whose heights changed says so, and the stack takes its new preferred height.
TEST_F(Stacks, APanelsNewHeightIsTakenWhenItSaysSo) {
  auto* tall = dynamic_cast<TallPanel*>(stack->GetTabPanel(0).get());
  ASSERT_NE(tall, nullptr);
  tall->preferred = 90;
  EXPECT_EQ(stack->GetStackedTabClientHeight(0), 150) << "not before it says so";
  tall->InvalidateDimensions();
  EXPECT_EQ(stack->GetStackedTabClientHeight(0), 90);
  EXPECT_EQ(tall->GetLocalBounds().height, 90);
  EXPECT_FALSE(stack->InvalidateTabPanelDimensions(nullptr, true));
}

// A header dragged to the top edge of a scrolled stack scrolls it back.
TEST_F(Stacks, AHeaderDraggedToTheTopScrollsTheStack) {
  for (int i = 0; i < 4; ++i) stack->AddTab("T", false);
  ui_testing::ProcessEvents();
  stack->SetScrollPosition(-300);
  unsigned shown = 0;  // a header in view, below the top band
  while (shown + 1 < stack->GetTabCount() && Child(shown).GetFrame().top < 40) ++shown;
  const Point from = Header(shown);
  const Point top = stack->UI_LocalToGlobal({40, stack->GetFrameRect().top + 3});
  ui_testing::MousePressAt(from);
  ui_testing::MouseMoveTo({from.x, from.y - 10});
  ui_testing::MouseMoveTo(top);
  ui_testing::MouseMoveTo({top.x, top.y + 1});
  ui_testing::MouseReleaseAt(top);
  EXPECT_GT(stack->GetScrollOffset(), -300);
  EXPECT_EQ(kivui::UI_NodeManager::Get().GetCaptureNode(), nullptr);
}

}  // namespace
}  // namespace kivtest
