// Panels pinned to a window's sides: their place in the layout and the drop area, the
// border element's handle, minimize and expand, its menu, undocking, the definition, the
// bar toggles, a border element dropped on the main window's top edge, and a rippable
// element pulled out by its grip.
#include "workspace/WorkspaceTestSupport.h"

#include "services/core/PropListUtils.h"
#include "services/ui/testing/ScriptedAnswers.h"
#include "workspace/drag/TabDragger.h"
#include "workspace/frames/TablessWorkspaceFrame.h"
#include "workspace/frames/WorkspaceBorderElement.h"
#include "workspace/frames/WorkspaceBorderElementResizeHandle.h"
#include "workspace/definition/WorkspaceDefinition.h"
#include "workspace/core/WorkspaceUtils.h"

namespace kivtest {
namespace {

namespace ui_testing = kivui::testing;
using kivcore::Point;
using kivcore::Rect;

// "Bar" is a border element 36 high that can be collapsed; "Strip" one 48 wide that can
// be dragged out by its grip.
class BarPanel : public NotePanel, public WorkspaceBorderElement {
 public:
  BarPanel(Workspace* w, WorkspaceFrameBase* f, const std::string& type)
      : NotePanel(w, f, type, true) {}
  bool IsResizeable() const override { return GetTabType() == "Bar"; }
  bool IsRippable() const override { return GetTabType() == "Strip"; }

 private:
  void DoGetSnapSizes(std::vector<Point>& sizes) const override {
    sizes.push_back(GetTabType() == "Bar" ? Point{0, 36} : Point{48, 0});
  }
};

class BarCreator : public TabCreator {
 public:
  using TabCreator::TabCreator;
  TabPanelPtr CreateTabPanel(Workspace* w, WorkspaceFrameBase* f) const override {
    return std::make_shared<BarPanel>(w, f, GetTabType());
  }
};

struct StaticElements : WorkspaceFixture {
  WorkspaceFrame* tree = nullptr;

  void SetUp() override {
    WorkspaceFixture::SetUp();
    workspace->RegisterTabCreator(std::make_unique<BarCreator>("Bar"));
    workspace->RegisterTabCreator(std::make_unique<BarCreator>("Strip"));
    tree = main->CreateRootFrame("A", false, true);
    main->AddTabbedFrame(tree, "B", LayoutManager::kRight);
    ui_testing::ProcessEvents();
  }
  Rect Global(const WorkspaceFrameBase& frame) const {
    const kivcore::RectF f = frame.GetFrame();
    const Point tl = main->UI_LocalToGlobal({int(f.left), int(f.top)});
    return {tl.x, tl.y, int(f.width), int(f.height)};
  }
  // A second tab of the type in the tree's first frame, pulled out of its well.
  void PullOutSecondTab(const std::string& type) {
    tree->AddTab(type, false);
    ui_testing::ProcessEvents();
    const Point tab = TabPoint(*tree, 1);
    ui_testing::MousePressAt(tab);
    ui_testing::MouseMoveTo({tab.x + 5, tab.y + 30});
    ui_testing::MouseMoveTo({tab.x + 5, tab.y + 80});
  }
  Rect TreeArea() const {
    Rect all;
    for (WorkspaceFrameBase* f : main->GetFrames()) all = all.IsEmpty() ? Global(*f) : all.Union(Global(*f));
    return all;
  }
};

// A strip on the left and a bar on top take their sizes off the tree's area and off the
// drop area, so the window-edge zones lie along the tree, not over the elements.
TEST_F(StaticElements, ElementsTakeTheirPlaceOutsideTheTreeAndTheDropArea) {
  main->SetStaticElement("Strip", LayoutManager::kLeft, true);
  main->SetStaticElement("Bar", LayoutManager::kTop, true);
  ui_testing::ProcessEvents();
  EXPECT_EQ(main->GetFrameCount(), 2u) << "static frames are not tree frames";
  const Rect client = main->GetGlobalClientRect();
  const Rect bar = Global(*main->GetBorderFrame(LayoutManager::kTop));
  const Rect strip = Global(*main->GetBorderFrame(LayoutManager::kLeft));
  EXPECT_EQ(bar.TopLeft(), client.TopLeft());
  EXPECT_EQ(bar.height, 36 + 4) << "the handle's strip below the bar";
  EXPECT_EQ(strip.width, 48);
  EXPECT_EQ(strip.top, bar.Bottom());
  const Rect area = main->GetDropArea();
  EXPECT_EQ(area.left, strip.Right());
  EXPECT_EQ(area.top, bar.Bottom());
  EXPECT_GE(TreeArea().left, strip.Right());
  EXPECT_GE(TreeArea().top, bar.Bottom());
  Rect left;
  main->GetEdgeDropZoneRect(DropZone::kLeft, left, true);
  EXPECT_EQ(left.left, strip.Right() - 1) << "the left edge zone starts at the tree";
  EXPECT_EQ(main->GetStaticElement(LayoutManager::kLeft)->GetTabType(), "Strip");
  EXPECT_EQ(dynamic_cast<BarPanel*>(main->GetStaticElement(LayoutManager::kTop))->GetBorderElementPosition(),
            LayoutManager::kTop);
}

// The handle: dragged up past half its height the bar collapses to a 14-pixel strip; a
// double click expands it again; the menu does both.
TEST_F(StaticElements, ABarCollapsesAndExpands) {
  main->SetStaticElement("Bar", LayoutManager::kTop, true);
  ui_testing::ProcessEvents();
  TablessWorkspaceFrame* frame = main->GetBorderFrame(LayoutManager::kTop);
  const kivui::UI_Node& handle = frame->GetResizeHandle();
  const Point grip = handle.UI_LocalToGlobal({100, 2});
  ui_testing::MousePressAt(grip);
  ui_testing::MouseMoveTo({grip.x, grip.y - 1});
  ui_testing::MouseMoveTo({grip.x, grip.y - 2});
  EXPECT_FALSE(frame->GetIsMinimized()) << "two pixels are not more than half of four";
  ui_testing::MouseMoveTo({grip.x, grip.y - 6});
  ui_testing::MouseReleaseAt({grip.x, grip.y - 6});
  ui_testing::ProcessEvents();
  EXPECT_TRUE(frame->GetIsMinimized());
  EXPECT_EQ(Global(*frame).height, 14);
  EXPECT_FALSE(frame->GetTab()->IsShown());
  EXPECT_EQ(TreeArea().top, Global(*frame).Bottom()) << "the tree takes the space back";

  ui_testing::DoubleClickAt(handle.UI_LocalToGlobal({100, 5}));
  EXPECT_FALSE(frame->GetIsMinimized());
  EXPECT_EQ(Global(*frame).height, 40);
  EXPECT_TRUE(frame->GetTab()->IsShown());
  ui_testing::DoubleClickAt(handle.UI_LocalToGlobal({100, 2}));
  EXPECT_TRUE(frame->GetIsMinimized()) << "a second double click collapses it again";
  ui_testing::DoubleClickAt(handle.UI_LocalToGlobal({100, 5}));
  EXPECT_FALSE(frame->GetIsMinimized());

  // The menu is the frame's, on its handle; the panel keeps its own clicks.
  auto answers = ui_testing::ScriptedAnswers::Install();
  answers->Command(1);  // Minimize
  ui_testing::ClickAt(frame->GetTab()->UI_LocalToGlobal({100, 10}), kivui::MouseEvent::kSecondary);
  EXPECT_TRUE(answers->GetAsked().empty());
  ui_testing::ClickAt(handle.UI_LocalToGlobal({100, 2}), kivui::MouseEvent::kSecondary);
  EXPECT_TRUE(frame->GetIsMinimized());
}

// Undock Panel from the element's menu moves its panel into a floating window and takes
// the element off the window.
TEST_F(StaticElements, UndockingMovesThePanelIntoAFloatingWindow) {
  main->SetStaticElement("Bar", LayoutManager::kTop, true);
  ui_testing::ProcessEvents();
  TabPanel* panel = main->GetStaticElement(LayoutManager::kTop);
  auto answers = ui_testing::ScriptedAnswers::Install();
  answers->Command(4);  // Undock Panel
  ui_testing::ClickAt(main->GetBorderFrame(LayoutManager::kTop)->GetResizeHandle().UI_LocalToGlobal({100, 2}),
                      kivui::MouseEvent::kSecondary);
  EXPECT_FALSE(main->HasStaticElement(LayoutManager::kTop));
  ASSERT_EQ(workspace->GetWindows().size(), 2u);
  TopLevelWindow* floating = workspace->GetWindows()[1];
  EXPECT_FALSE(floating->IsInterim());
  ASSERT_NE(floating->GetRootFrame(), nullptr);
  EXPECT_EQ(floating->GetRootFrame()->GetTabPanel(0).get(), panel);
  EXPECT_EQ(main->GetDropArea(), main->GetGlobalClientRect());
}

// The elements, and whether the top one is collapsed, survive save, restore and save.
TEST_F(StaticElements, ElementsSurviveSaveAndRestore) {
  main->SetStaticElement("Bar", LayoutManager::kTop, true);
  main->SetStaticElement("Strip", LayoutManager::kLeft, true);
  main->SetStaticElement("C", LayoutManager::kBottom, true);
  main->GetBorderFrame(LayoutManager::kTop)->SetIsMinimized(true);
  kivcore::PropList first;
  SaveWorkspace(*workspace, first, u"Bars");
  main->RemoveStaticElement(LayoutManager::kLeft, true);
  main->GetBorderFrame(LayoutManager::kTop)->SetIsMinimized(false);
  RestoreReport report;
  ASSERT_TRUE(RestoreWorkspace(*workspace, first, true, true, false, &report));
  EXPECT_TRUE(report.fallbacks.empty()) << report.fallbacks.front();
  EXPECT_EQ(main->GetStaticElement(LayoutManager::kLeft)->GetTabType(), "Strip");
  EXPECT_EQ(main->GetStaticElement(LayoutManager::kBottom)->GetTabType(), "C");
  EXPECT_FALSE(main->HasStaticElement(LayoutManager::kRight));
  EXPECT_TRUE(main->GetBorderFrame(LayoutManager::kTop)->GetIsMinimized());
  kivcore::PropList second;
  SaveWorkspace(*workspace, second, u"Bars");
  EXPECT_EQ(kivcore::proplist::utils::WritePropListXML(second, false), kivcore::proplist::utils::WritePropListXML(first, false));
}

TEST_F(StaticElements, TheBarTogglesAddAndRemoveElements) {
  WorkspaceUtils::ToggleStatusbarTabState(*workspace, "C");
  EXPECT_EQ(main->GetStaticElement(LayoutManager::kBottom)->GetTabType(), "C");
  WorkspaceUtils::ToggleStatusbarTabState(*workspace, "C");
  EXPECT_FALSE(main->HasStaticElement(LayoutManager::kBottom));
  // The tool bar's toggle shows an open panel of the type where it is instead.
  WorkspaceUtils::ToggleToolbarTabState(*workspace, "Bar");
  EXPECT_EQ(main->GetStaticElement(LayoutManager::kTop)->GetTabType(), "Bar");
  WorkspaceUtils::ToggleToolbarTabState(*workspace, "Bar");
  EXPECT_FALSE(main->HasStaticElement(LayoutManager::kTop));
}

// A border element's tab let go on the main window's top edge is pinned there; any other
// tab dropped there gets a frame across the top of the tree.
TEST_F(StaticElements, ABorderElementDroppedOnTheTopEdgeIsPinnedThere) {
  PullOutSecondTab("Bar");
  ASSERT_NE(workspace->GetTracker(), nullptr);
  Rect top;
  main->GetEdgeDropZoneRect(DropZone::kTop, top, true);
  const Point at{top.left + top.width / 2, top.top + 2};
  ui_testing::MouseMoveTo(at);
  ui_testing::MouseReleaseAt(at);
  ASSERT_TRUE(main->HasStaticElement(LayoutManager::kTop));
  EXPECT_EQ(main->GetStaticElement(LayoutManager::kTop)->GetTabType(), "Bar");
  EXPECT_EQ(Types(*tree), std::vector<std::string>{"A"});
  EXPECT_EQ(workspace->GetWindows().size(), 1u);
}

// An element already pinned on top stays there: a border element's tab dropped on the top
// edge then gets a frame across the top of the tree, as any tab does.
TEST_F(StaticElements, ADropOnTheTopEdgeKeepsTheElementPinnedThere) {
  main->SetStaticElement("Bar", LayoutManager::kTop, true);
  ui_testing::ProcessEvents();
  const TabPanel* pinned = main->GetStaticElement(LayoutManager::kTop);
  PullOutSecondTab("Bar");
  Rect top;
  main->GetEdgeDropZoneRect(DropZone::kTop, top, true);
  const Point at{top.left + top.width / 2, top.top + 2};
  ui_testing::MouseMoveTo(at);
  ui_testing::MouseReleaseAt(at);
  EXPECT_EQ(main->GetStaticElement(LayoutManager::kTop), pinned);
  WorkspaceFrame* landed = nullptr;
  for (WorkspaceFrame* f : main->GetTabbedFrames())
    if (Types(*f) == std::vector<std::string>{"Bar"}) landed = f;
  ASSERT_NE(landed, nullptr);
  EXPECT_EQ(Global(*landed).top, main->GetDropArea().top);
  EXPECT_EQ(Global(*landed).width, main->GetDropArea().width);
  EXPECT_EQ(workspace->GetWindows().size(), 1u);
}

}  // namespace
}  // namespace kivtest

namespace kivtest {
namespace {

// A rippable element is dragged out by its grip: it leaves the window's side and goes on
// being dragged until it is let go outside the window, where it floats.
TEST_F(StaticElements, ARippableElementIsDraggedOutByItsGrip) {
  main->SetStaticElement("Strip", LayoutManager::kLeft, true);
  ui_testing::ProcessEvents();
  TabPanel* strip = main->GetStaticElement(LayoutManager::kLeft);
  const Point grip = main->GetBorderFrame(LayoutManager::kLeft)->UI_LocalToGlobal({4, 100});
  const Rect m = main->GetGlobalStructureRect();
  const Point away{m.Right() + 120, m.top + 200};
  ui_testing::MousePressAt(grip);
  ui_testing::MouseMoveTo({grip.x + 10, grip.y});
  EXPECT_FALSE(main->HasStaticElement(LayoutManager::kLeft));
  ASSERT_NE(workspace->GetTracker(), nullptr) << "the drag goes on";
  ui_testing::MouseMoveTo(away);
  ui_testing::MouseReleaseAt(away);
  EXPECT_EQ(workspace->GetTracker(), nullptr);
  ASSERT_NE(strip->GetFrame(), nullptr);
  TopLevelWindow* floating = strip->GetFrame()->GetTopLevelWindow();
  EXPECT_NE(floating, main.get());
  EXPECT_TRUE(floating->GetGlobalStructureRect().Contains(away));
  EXPECT_EQ(workspace->GetWindows().size(), 2u);
}

// A short pull on the grip, let go or ended with Escape at once, still leaves the element
// in an ordinary floating window.
TEST_F(StaticElements, AShortPullOnTheGripLeavesAFloatingWindow) {
  for (bool escape : {false, true}) {
    SCOPED_TRACE(escape ? "Escape" : "release");
    main->SetStaticElement("Strip", LayoutManager::kLeft, true);
    ui_testing::ProcessEvents();
    TabPanel* strip = main->GetStaticElement(LayoutManager::kLeft);
    const Point grip = main->GetBorderFrame(LayoutManager::kLeft)->UI_LocalToGlobal({4, 100});
    ui_testing::MousePressAt(grip);
    ui_testing::MouseMoveTo({grip.x + 6, grip.y});
    if (escape) ui_testing::KeyClick(kivui::kKeyEscape);
    ui_testing::MouseReleaseAt({grip.x + 6, grip.y});
    EXPECT_EQ(workspace->GetTracker(), nullptr);
    EXPECT_FALSE(main->HasStaticElement(LayoutManager::kLeft));
    ASSERT_NE(strip->GetFrame(), nullptr);
    TopLevelWindow* floating = strip->GetFrame()->GetTopLevelWindow();
    ASSERT_NE(floating, main.get());
    EXPECT_FALSE(floating->IsInterim());
    EXPECT_EQ(floating->GetOpacity(), 1.0f);
    EXPECT_EQ(workspace->GetWindows().size(), 2u);
    workspace->RemoveWindow(floating, false);
  }
}

// Beside pinned elements the preview of a drop along the window's edge is still exactly
// where the frame lands.
TEST_F(StaticElements, EdgePreviewsHoldBesidePinnedElements) {
  main->SetStaticElement("Strip", LayoutManager::kLeft, true);
  main->SetStaticElement("Bar", LayoutManager::kTop, true);
  PullOutSecondTab("C");
  Rect left;
  main->GetEdgeDropZoneRect(DropZone::kLeft, left, true);
  const Point at{left.left + left.width / 2, left.top + left.height / 2};
  ui_testing::MouseMoveTo(at);
  auto* dragger = dynamic_cast<TabDragger*>(workspace->GetTracker());
  ASSERT_NE(dragger, nullptr);
  EXPECT_EQ(dragger->GetActiveDropType(), DropZone::kLeft);
  const Rect preview = dragger->GetPreviewRect();
  ui_testing::MouseReleaseAt(at);
  WorkspaceFrame* landed = nullptr;
  for (WorkspaceFrame* f : main->GetTabbedFrames())
    if (f->GetTabCount() == 1 && f->GetTabPanel(0)->GetTabType() == "C") landed = f;
  ASSERT_NE(landed, nullptr);
  EXPECT_EQ(main->GetFrameGlobalRect(*landed), preview);
  EXPECT_EQ(preview.left, main->GetDropArea().left);
  EXPECT_EQ(preview.top, main->GetDropArea().top);
}

}  // namespace
}  // namespace kivtest
