// Tab and frame drags driven by real pointer and key events: where each drop zone puts the
// dragged panels, that the preview showed it, cancelling, the docking modifier, drags
// between windows, and random drags that must leave a sound workspace behind; and the
// alternate modifier during a splitter bar's drag.
#include "workspace/WorkspaceTestSupport.h"

#include "services/ui/app/Application.h"
#include "services/ui/events/CursorPos.h"
#include "services/ui/node/UI_NodeManager.h"
#include "workspace/drag/DropZoneOverlayWindow.h"
#include "workspace/drag/TabDragger.h"
#include "workspace/core/WorkspaceUtils.h"

#include <algorithm>
#include <random>
#include <set>

namespace kivtest {
namespace {

namespace ui_testing = kivui::testing;
using kivcore::Point;
using kivcore::Rect;

Point Centre(const Rect& r) { return {r.left + r.width / 2, r.top + r.height / 2}; }

// A window of three frames: left {A, N}, top right {B}, bottom right {C}.
struct TabDrags : WorkspaceFixture {
  WorkspaceFrame* left = nullptr;
  WorkspaceFrame* topRight = nullptr;
  WorkspaceFrame* bottomRight = nullptr;

  void SetUp() override {
    WorkspaceFixture::SetUp();
    left = main->CreateRootFrame("A", false, true);
    left->AddTab("N", false);
    topRight = main->AddTabbedFrame(left, "B", LayoutManager::kRight);
    bottomRight = main->AddTabbedFrame(topRight, "C", LayoutManager::kBottom);
    ui_testing::ProcessEvents();
  }

  TabDragger* Dragger() const { return dynamic_cast<TabDragger*>(workspace->GetTracker()); }

  // Presses a tab (or the empty end of the well for the whole frame) and pulls it out of
  // the well, so the drag has started.
  void Grab(WorkspaceFrame& frame, unsigned index, bool wholeFrame = false) {
    Point at = TabPoint(frame, index);
    if (wholeFrame) {
      const kivui::UI_TabWell& well = frame.GetTabWell();
      const kivcore::RectF last = well.GetTabRect(well.GetTabCount() - 1);
      at = well.UI_LocalToGlobal({int(last.Right()) + 15, int(last.top + last.height / 2)});
    }
    ui_testing::MousePressAt(at);
    ui_testing::MouseMoveTo({at.x + 3, at.y + 10});
    ui_testing::MouseMoveTo({at.x + 6, at.y + 50});
    ASSERT_NE(Dragger(), nullptr) << "no drag from " << at.x << ", " << at.y;
    ASSERT_TRUE(Dragger()->HasDragStarted());
  }
  // Moves to the point in a few steps and returns the preview shown there.
  Rect MoveTo(Point to) {
    for (int i = 0; i < 3; ++i) ui_testing::MouseMoveTo({to.x - 2 + i, to.y});
    ui_testing::MouseMoveTo(to);
    return Dragger() ? Dragger()->GetPreviewRect() : Rect{};
  }
  // The centre of a zone of a frame's overlay as the window computes it.
  Point ZonePoint(WorkspaceFrame& frame, DropZone::DropType type) {
    for (const DropZone& z : main->GetFrameDropZones(frame))
      if (z.GetType() == type) return z.GetCentre();
    ADD_FAILURE() << "no zone " << type;
    return {};
  }
  Point EdgePoint(DropZone::DropType type) {
    Rect hit;
    main->GetEdgeDropZoneRect(type, hit, true);
    return Centre(hit);
  }
  WorkspaceFrame* FrameOf(const std::string& type) const {
    for (TopLevelWindow* w : workspace->GetWindows())
      for (WorkspaceFrame* f : w->GetTabbedFrames())
        for (unsigned i = 0; i < f->GetTabCount(); ++i)
          if (f->GetTabPanel(i)->GetTabType() == type) return f;
    return nullptr;
  }
  void ExpectNothingLeftBehind() const {
    EXPECT_EQ(workspace->GetTracker(), nullptr);
    EXPECT_EQ(kivui::UI_NodeManager::Get().GetCaptureNode(), nullptr);
    EXPECT_FALSE(kivui::UI_NodeManager::Get().AreMouseOverUpdatesSuspended());
    for (TopLevelWindow* w : workspace->GetWindows()) {
      EXPECT_EQ(w->GetDropZoneOverlay(), nullptr);
      EXPECT_FALSE(w->IsInterim());
      EXPECT_EQ(w->GetLayoutManager().CheckStructure(), "");
      if (!w->IsMain()) {
        EXPECT_NE(w->GetRootFrame(), nullptr) << "an empty floating window";
      }
    }
    EXPECT_TRUE(kivui::OS_Window::UI_FindAllWindowsMatchingID("DropZoneOverlayWindow").empty());
  }
};

// Each side of a frame and each window edge: the dragged tab gets a new frame exactly where
// the preview said, beside the frame or along the whole window.
struct DropCase {
  DropZone::DropType type;
  bool edge;
};
struct SideDrops : TabDrags, ::testing::WithParamInterface<DropCase> {};

std::string CaseName(const ::testing::TestParamInfo<DropCase>& info) {
  static const char* const names[] = {"None", "Top", "Left", "Bottom", "Right"};
  return std::string(info.param.edge ? "WindowEdge" : "Frame") + names[info.param.type];
}

TEST_P(SideDrops, LandWhereThePreviewShowed) {
  const DropCase c = GetParam();
  const Rect before = main->GetFrameGlobalRect(*bottomRight);
  Grab(*left, 0);
  const Rect preview = MoveTo(c.edge ? EdgePoint(c.type) : ZonePoint(*bottomRight, c.type));
  EXPECT_EQ(Dragger()->GetActiveDropType(), c.type);
  ASSERT_FALSE(preview.IsEmpty());
  ui_testing::MouseReleaseAt(kivui::GetGlobalCursorPos());
  ExpectNothingLeftBehind();
  WorkspaceFrame* landed = FrameOf("A");
  ASSERT_NE(landed, nullptr);
  EXPECT_EQ(landed->GetTopLevelWindow(), main.get());
  EXPECT_EQ(Types(*landed), std::vector<std::string>{"A"});
  EXPECT_EQ(main->GetFrameGlobalRect(*landed), preview);
  EXPECT_EQ(main->GetFrameCount(), 4u);
  const Rect after = main->GetFrameGlobalRect(*bottomRight);
  if (c.edge) {
    // Along the whole window: the new frame spans the window's full width or height.
    const Rect area = main->GetDropArea();
    const bool along = c.type == DropZone::kTop || c.type == DropZone::kBottom;
    EXPECT_EQ(along ? preview.width : preview.height, along ? area.width : area.height);
  } else {
    // Beside the frame: it takes half of what the frame had.
    const bool across = c.type == DropZone::kLeft || c.type == DropZone::kRight;
    EXPECT_NEAR(across ? after.width : after.height, (across ? before.width : before.height) / 2, 6);
    EXPECT_TRUE(before.Contains(Centre(preview)));
  }
  EXPECT_EQ(workspace->GetFocusedTabPanel(), landed->GetTabPanel(0).get());
}

INSTANTIATE_TEST_SUITE_P(
    EveryZone, SideDrops,
    ::testing::Values(DropCase{DropZone::kTop, false}, DropCase{DropZone::kLeft, false},
                      DropCase{DropZone::kBottom, false}, DropCase{DropZone::kRight, false},
                      DropCase{DropZone::kTop, true}, DropCase{DropZone::kLeft, true},
                      DropCase{DropZone::kBottom, true}, DropCase{DropZone::kRight, true}),
    CaseName);

// The centre adds the tab to the frame; the tab well inserts it where it is let go, and on
// its own frame's well that reorders without making a frame.
TEST_F(TabDrags, CentreAndTabWellDropsJoinTheFrame) {
  Grab(*left, 0);
  EXPECT_EQ(MoveTo(ZonePoint(*bottomRight, DropZone::kCentre)), main->GetFrameGlobalRect(*bottomRight));
  ui_testing::MouseReleaseAt(kivui::GetGlobalCursorPos());
  EXPECT_EQ(Types(*bottomRight), (std::vector<std::string>{"C", "A"}));
  EXPECT_EQ(bottomRight->GetFrontTabPanel()->GetTabType(), "A");
  ExpectNothingLeftBehind();

  // Back into the left frame's well, before its only tab.
  Grab(*bottomRight, 1);
  const Point wellStart = left->GetTabWell().UI_LocalToGlobal({16, 12});
  MoveTo(wellStart);
  EXPECT_EQ(Dragger()->GetActiveDropType(), DropZone::kTabWell);
  ui_testing::MouseReleaseAt(wellStart);
  EXPECT_EQ(Types(*left), (std::vector<std::string>{"A", "N"}));

  // Its own well: A goes after N, and the window keeps its three frames.
  Grab(*left, 0);
  const kivcore::RectF n = left->GetTabWell().GetTabRect(0);
  const Point after = left->GetTabWell().UI_LocalToGlobal({int(n.Right()) + 5, int(n.top + 12)});
  MoveTo(after);
  ui_testing::MouseReleaseAt(after);
  EXPECT_EQ(Types(*left), (std::vector<std::string>{"N", "A"}));
  EXPECT_EQ(main->GetFrameCount(), 3u);
  ExpectNothingLeftBehind();
}

// A frame dragged by its well's empty end moves with all its tabs and stays the same frame.
TEST_F(TabDrags, AFrameDragMovesAllItsTabs) {
  auto keep = std::static_pointer_cast<WorkspaceFrame>(left->shared_from_this());
  Grab(*left, 0, true);
  EXPECT_TRUE(Dragger()->IsWholeFrame());
  EXPECT_EQ(main->GetFrameCount(), 2u) << "the frame left the window as the drag started";
  const Rect preview = MoveTo(ZonePoint(*bottomRight, DropZone::kRight));
  ui_testing::MouseReleaseAt(kivui::GetGlobalCursorPos());
  EXPECT_EQ(keep->GetTopLevelWindow(), main.get());
  EXPECT_EQ(Types(*keep), (std::vector<std::string>{"A", "N"}));
  EXPECT_EQ(main->GetFrameGlobalRect(*keep), preview);
  ExpectNothingLeftBehind();
}

// A frame dragged whole onto another frame's centre brings its closed panels: its hidden
// panels and records join that frame, except a record of a type that frame has one of,
// which stays in a placeholder beside it. Each can still come back.
TEST_F(TabDrags, AFrameMergedIntoAnotherBringsItsClosedPanels) {
  left->AddTab("H", false);
  left->AddTab("C", false);
  bottomRight->AddTab("C", false);
  ui_testing::ProcessEvents();
  const TabPanelPtr hidden = left->GetTabPanel(2);
  static_cast<NotePanel&>(*left->GetTabPanel(3)).note = "left";
  static_cast<NotePanel&>(*bottomRight->GetTabPanel(1)).note = "bottom right";
  ui_testing::ClickAt(TabPoint(*left, 3, true));
  ui_testing::ClickAt(TabPoint(*left, 2, true));
  ui_testing::ClickAt(TabPoint(*bottomRight, 1, true));
  ASSERT_EQ(Types(*left), (std::vector<std::string>{"A", "N"}));
  ASSERT_TRUE(left->CanReanimateTab(hidden));
  ASSERT_TRUE(left->CanReanimateTab("C"));
  ASSERT_TRUE(bottomRight->CanReanimateTab("C"));

  Grab(*left, 0, true);
  const Rect preview = MoveTo(ZonePoint(*bottomRight, DropZone::kCentre));
  ui_testing::MouseReleaseAt(kivui::GetGlobalCursorPos());
  ExpectNothingLeftBehind();
  EXPECT_EQ(Types(*bottomRight), (std::vector<std::string>{"C", "A", "N"}));
  EXPECT_EQ(main->GetFrameCount(), 2u);
  EXPECT_EQ(main->GetFrameGlobalRect(*bottomRight), preview) << "the placeholder takes no room";

  // The hidden panel comes back as itself in the frame it joined (the Window menu's way).
  WorkspaceUtils::ToggleTabState(*workspace, hidden, false);
  EXPECT_EQ(hidden->GetFrame(), bottomRight);
  // The frame's own C record is its own; the left frame's C is beside it.
  TabPanel* own = bottomRight->ReanimateTab("C");
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(static_cast<NotePanel*>(own)->note, "bottom right");
  ASSERT_TRUE(main->CanReanimateFrame("C"));
  ASSERT_TRUE(main->ReanimateFrame("C"));
  ASSERT_EQ(main->GetFrameCount(), 3u);
  WorkspaceFrame* beside = nullptr;
  for (WorkspaceFrame* f : main->GetTabbedFrames())
    if (f != topRight && f != bottomRight) beside = f;
  ASSERT_NE(beside, nullptr);
  EXPECT_EQ(Types(*beside), std::vector<std::string>{"C"});
  EXPECT_EQ(static_cast<NotePanel&>(*beside->GetTabPanel(0)).note, "left");
}

// A floating window left without frames by a drag, its last tab or its last frame dragged
// away, is remembered when other frames of it left closed panels in its tree.
TEST_F(TabDrags, AWindowEmptiedByADragIsRememberedWithItsClosedPanels) {
  for (const bool wholeFrame : {false, true}) {
    SCOPED_TRACE(wholeFrame ? "its last frame dragged away" : "its last tab dragged away");
    auto floating = workspace->AddTopLevelWindow(false, nullptr);
    floating->SetGlobalStructureRect({1100, 120, 520, 360});
    WorkspaceFrame* closing = floating->CreateRootFrame("B", false, true);
    WorkspaceFrame* last = floating->AddTabbedFrame(closing, "C", LayoutManager::kRight);
    static_cast<NotePanel&>(*closing->GetTabPanel(0)).note = "cut list";
    floating->UI_Show(true);
    ui_testing::ProcessEvents();
    ui_testing::ClickAt(TabPoint(*closing, 0, true));
    ui_testing::ProcessEvents();
    ASSERT_EQ(floating->GetFrameCount(), 1u);

    Grab(*last, 0, wholeFrame);
    MoveTo(ZonePoint(*topRight, DropZone::kCentre));
    ui_testing::MouseReleaseAt(kivui::GetGlobalCursorPos());
    ExpectNothingLeftBehind();
    ASSERT_EQ(workspace->GetWindows().size(), 1u);
    ASSERT_TRUE(workspace->CanReanimateWindow("B"));
    ASSERT_TRUE(workspace->ReanimateWindow("B"));
    TopLevelWindow* back = workspace->GetWindows().back();
    ASSERT_NE(back->GetRootFrame(), nullptr);
    EXPECT_EQ(static_cast<NotePanel&>(*back->GetRootFrame()->GetFrontTabPanel()).note, "cut list");
    workspace->RemoveWindow(back, false);
  }
}

// Let go outside every window, the tab floats at the pointer; dragged back into the main
// window, its floating window goes away.
TEST_F(TabDrags, TearOffFloatsAndDockingBackClosesTheFloatingWindow) {
  Grab(*topRight, 0);
  const Rect mainRect = main->GetGlobalStructureRect();
  const Point outside{mainRect.Right() + 150, mainRect.top + 100};
  MoveTo(outside);
  EXPECT_EQ(Dragger()->GetActiveDropType(), DropZone::kNone);
  EXPECT_TRUE(Dragger()->GetPreviewRect().IsEmpty());
  ui_testing::MouseReleaseAt(outside);
  ExpectNothingLeftBehind();
  WorkspaceFrame* floating = FrameOf("B");
  ASSERT_NE(floating, nullptr);
  TopLevelWindow* window = floating->GetTopLevelWindow();
  ASSERT_NE(window, main.get());
  EXPECT_TRUE(window->GetGlobalStructureRect().Contains(outside));
  EXPECT_EQ(window->GetOpacity(), 1.0f);
  EXPECT_EQ(main->GetFrameCount(), 2u);

  // Its only tab goes back, between two windows, onto the left frame's centre.
  Grab(*floating, 0);
  MoveTo(ZonePoint(*left, DropZone::kCentre));
  ui_testing::MouseReleaseAt(kivui::GetGlobalCursorPos());
  EXPECT_EQ(workspace->GetWindows().size(), 1u);
  EXPECT_EQ(Types(*left), (std::vector<std::string>{"A", "N", "B"}));
  ExpectNothingLeftBehind();
}

// Escape beeps and ends the drag without docking: the tab that left its frame stays in its
// own floating window, and it has the focus.
TEST_F(TabDrags, EscapeEndsTheDragWithoutDocking) {
  const int beeps = kivui::GetMessageBeepCount();
  Grab(*left, 0);
  MoveTo(ZonePoint(*bottomRight, DropZone::kLeft));
  ASSERT_NE(main->GetDropZoneOverlay(), nullptr);
  ui_testing::KeyClick(kivui::kKeyEscape);
  EXPECT_EQ(kivui::GetMessageBeepCount(), beeps + 1);
  ExpectNothingLeftBehind();
  ui_testing::MouseReleaseAt(kivui::GetGlobalCursorPos());
  EXPECT_EQ(main->GetFrameCount(), 3u);
  WorkspaceFrame* floating = FrameOf("A");
  ASSERT_NE(floating, nullptr);
  EXPECT_NE(floating->GetTopLevelWindow(), main.get());
  EXPECT_EQ(workspace->GetFocusedTabPanel(), floating->GetTabPanel(0).get());
}

// A capture taken away by the system ends the drag like Escape.
TEST_F(TabDrags, ALostCaptureEndsTheDrag) {
  Grab(*left, 1);
  MoveTo(ZonePoint(*topRight, DropZone::kCentre));
  kivui::UI_NodeManager::Get().LoseCapture();
  ExpectNothingLeftBehind();
  EXPECT_EQ(Types(*topRight), std::vector<std::string>{"B"});
  ASSERT_NE(FrameOf("N"), nullptr);
  EXPECT_NE(FrameOf("N")->GetTopLevelWindow(), main.get());
}

// With the docking modifier held nothing is offered and the tab floats; releasing the
// modifier brings the zones back at once.
TEST_F(TabDrags, TheDockingModifierKeepsZonesAway) {
  Grab(*left, 0);
  ui_testing::OverrideModKeys(int(kivui::kModDocking));
  MoveTo(ZonePoint(*bottomRight, DropZone::kCentre));
  EXPECT_EQ(main->GetDropZoneOverlay(), nullptr);
  EXPECT_EQ(Dragger()->GetActiveDropType(), DropZone::kNone);
  ui_testing::OverrideModKeys(0);
  ui_testing::KeyClick(kivui::kKeyControl);
  EXPECT_EQ(Dragger()->GetActiveDropType(), DropZone::kCentre);
  EXPECT_NE(main->GetDropZoneOverlay(), nullptr);
  ui_testing::OverrideModKeys(int(kivui::kModDocking));
  ui_testing::KeyClick(kivui::kKeyControl);
  ui_testing::MouseReleaseAt(kivui::GetGlobalCursorPos());
  ui_testing::OverrideModKeys(-1);
  EXPECT_EQ(Types(*bottomRight), std::vector<std::string>{"C"});
  ASSERT_NE(FrameOf("A"), nullptr);
  EXPECT_NE(FrameOf("A")->GetTopLevelWindow(), main.get());
  ExpectNothingLeftBehind();
}

// The tab leaves its frame only past five pixels from the press.
TEST_F(TabDrags, TheDragStartsPastFivePixels) {
  const Point at = TabPoint(*left, 0);
  const Rect press{at.x, at.y, 1, 1};
  left->HandleTabItemAction(kTabItemDragTab, 0, &press);
  ASSERT_NE(Dragger(), nullptr);
  ui_testing::MouseMoveTo({at.x + 3, at.y + 4});
  EXPECT_FALSE(Dragger()->HasDragStarted());
  EXPECT_EQ(left->GetTabCount(), 2u);
  ui_testing::MouseMoveTo({at.x + 6, at.y});
  EXPECT_TRUE(Dragger()->HasDragStarted());
  EXPECT_EQ(left->GetTabCount(), 1u);
  ui_testing::MouseReleaseAt({at.x + 6, at.y});
  ExpectNothingLeftBehind();
}

// Random drags (random tab or frame, random zone, sometimes cancelled) over the window and
// the floating windows they make: no panel is lost or doubled, every tree stays sound and
// tiles its window, and nothing of a drag is left behind.
TEST_F(TabDrags, RandomDragsKeepTheWorkspaceSound) {
  std::mt19937 random(20261206);
  main->AddTabbedFrame(left, "H", LayoutManager::kBottom)->AddTab("S", false);
  ui_testing::ProcessEvents();
  auto panels = [&] {
    std::multiset<std::uint32_t> ids;
    for (TopLevelWindow* w : workspace->GetWindows())
      for (WorkspaceFrame* f : w->GetTabbedFrames())
        for (unsigned i = 0; i < f->GetTabCount(); ++i) ids.insert(f->GetTabPanel(i)->GetID());
    return ids;
  };
  const auto all = panels();
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::vector<WorkspaceFrame*> frames;
    for (TopLevelWindow* w : workspace->GetWindows())
      for (WorkspaceFrame* f : w->GetTabbedFrames()) frames.push_back(f);
    WorkspaceFrame* source = frames[random() % frames.size()];
    source->GetTopLevelWindow()->Raise();
    ui_testing::ProcessEvents();
    Grab(*source, unsigned(random() % source->GetTabCount()), random() % 4 == 0);
    if (HasFatalFailure()) return;
    std::vector<WorkspaceFrame*> targets = main->GetTabbedFrames();
    const int pick = int(random() % 12);
    if (pick < 4) {
      MoveTo(EdgePoint(DropZone::DropType(pick + 1)));
    } else if (pick < 10 && !targets.empty()) {
      WorkspaceFrame* target = targets[random() % targets.size()];
      MoveTo(ZonePoint(*target, DropZone::DropType(pick - 4 + 1)));
    } else {
      const Rect m = main->GetGlobalStructureRect();
      MoveTo({m.Right() + 100 + int(random() % 200), m.top + int(random() % 300)});
    }
    if (random() % 5 == 0) ui_testing::KeyClick(kivui::kKeyEscape);
    ui_testing::MouseReleaseAt(kivui::GetGlobalCursorPos());
    ExpectNothingLeftBehind();
    EXPECT_EQ(panels(), all);
    for (TopLevelWindow* w : workspace->GetWindows()) {
      long area = 0;
      const Rect client = w->GetGlobalClientRect();
      for (WorkspaceFrameBase* f : w->GetFrames()) {
        const Rect r = w->GetFrameGlobalRect(*f);
        EXPECT_TRUE(client.Contains(r.TopLeft())) << "a frame outside its window";
        area += long(r.width) * r.height;
      }
      EXPECT_LE(area, long(client.width) * client.height) << "frames overlap";
    }
    if (HasFailure()) return;
  }
}

}  // namespace
}  // namespace kivtest

namespace kivtest {
namespace {

// With the main window hidden the floating window holds the drag's input; dragging its
// only tab out of it takes that window away, and the drag goes on to its drop.
TEST_F(TabDrags, TheLastTabOfTheCapturingWindowCanBeDragged) {
  topRight->DoMenuCommand(0, kCmdUndockPanel);
  ui_testing::ProcessEvents();
  WorkspaceFrame* floating = FrameOf("B");
  ASSERT_NE(floating->GetTopLevelWindow(), main.get());
  main->UI_Show(false);
  ui_testing::ProcessEvents();
  Grab(*floating, 0);
  EXPECT_EQ(workspace->GetWindows().size(), 2u) << "the emptied window went, the drag window came";
  const Point away = kivui::GetGlobalCursorPos();
  MoveTo({away.x + 30, away.y + 30});
  ui_testing::MouseReleaseAt({away.x + 30, away.y + 30});
  ExpectNothingLeftBehind();
  ASSERT_NE(FrameOf("B"), nullptr);
  EXPECT_TRUE(FrameOf("B")->GetTopLevelWindow()->IsShown());
}

// A main window emptied by dragging its frames away takes a panel dropped anywhere on it.
TEST_F(TabDrags, AnEmptiedMainWindowTakesADropAnywhere) {
  const Rect m = main->GetGlobalStructureRect();
  int offset = 0;
  for (WorkspaceFrame* frame : {left, topRight, bottomRight}) {
    Grab(*frame, 0, true);
    const Point away{m.Right() + 150 + offset, m.top + 150 + offset};
    offset += 450;
    MoveTo(away);
    ui_testing::MouseReleaseAt(away);
  }
  ASSERT_EQ(main->GetFrameCount(), 0u);
  Grab(*FrameOf("C"), 0);
  const Rect preview = MoveTo(Centre(main->GetGlobalClientRect()));
  EXPECT_EQ(preview, main->GetGlobalClientRect());
  ui_testing::MouseReleaseAt(Centre(main->GetGlobalClientRect()));
  ASSERT_NE(main->GetRootFrame(), nullptr);
  EXPECT_EQ(Types(*main->GetRootFrame()), std::vector<std::string>{"C"});
  EXPECT_EQ(main->GetFrameGlobalRect(*main->GetRootFrame()), preview);
  ExpectNothingLeftBehind();
}

}  // namespace
}  // namespace kivtest

namespace kivtest {
namespace {

// A panel that wants to be 300 wide.
class WidePanel : public NotePanel {
 public:
  using NotePanel::NotePanel;

 private:
  void DoGetSnapSizes(std::vector<Point>& sizes) const override { sizes.push_back({300, 0}); }
};

struct WideCreator : TabCreator {
  WideCreator() : TabCreator("W") {}
  TabPanelPtr CreateTabPanel(Workspace* w, WorkspaceFrameBase* f) const override {
    return std::make_shared<WidePanel>(w, f, "W", true);
  }
};

using BarDrags = WorkspaceFixture;

// Beside a frame of fixed width a dragged bar snaps to where the frame gets that width;
// while Alt is held the moves do not snap, and once it is let go they snap again.
TEST_F(BarDrags, AltInvertsSnappingWhileItIsHeld) {
  workspace->RegisterTabCreator(std::make_unique<WideCreator>());
  WorkspaceFrame* wide = main->CreateRootFrame("W", false, true);
  main->AddTabbedFrame(wide, "A", LayoutManager::kRight);
  ui_testing::ProcessEvents();
  std::vector<Point> snaps;
  wide->GetSnapSizes(snaps);
  ASSERT_EQ(snaps.size(), 1u);
  const int snap = snaps[0].x;
  const int y = 200;
  auto bar = [&] {
    int x = 0;
    while (x < 900 && main->GetLayoutManager().HitCheckCursor(x, y) == LayoutManager::kNoBar) ++x;
    return main->UI_LocalToGlobal({x + 1, y});
  };
  auto at = [&](int width) {
    return main->UI_LocalToGlobal({wide->GetFrameLocalRect().left + width, y});
  };
  ui_testing::DragFromTo(bar(), at(snap + 100), 4);
  ASSERT_NEAR(wide->GetFrameLocalRect().width, snap + 100, 1);

  ui_testing::MousePressAt(bar());
  ui_testing::OverrideModKeys(int(kivui::kModAlt));
  for (int to : {snap + 60, snap + 30, snap + 15}) ui_testing::MouseMoveTo(at(to));
  EXPECT_NEAR(wide->GetFrameLocalRect().width, snap + 15, 1) << "no snapping while Alt is held";
  ui_testing::OverrideModKeys(int(kivui::kModNone));
  ui_testing::MouseMoveTo(at(snap + 14));
  ui_testing::MouseReleaseAt(at(snap + 14));
  ui_testing::OverrideModKeys(-1);
  EXPECT_EQ(wide->GetFrameLocalRect().width, snap);
  EXPECT_EQ(workspace->GetTracker(), nullptr);
}

}  // namespace
}  // namespace kivtest
