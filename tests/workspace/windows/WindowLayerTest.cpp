#include "workspace/WorkspaceTestSupport.h"

#include "services/core/DebugDatabase.h"
#include "services/core/Error.h"
#include "services/core/PropList.h"
#include "services/ui/app/Application.h"
#include "services/ui/events/PointerEvent.h"
#include "services/ui/node/UI_NodeManager.h"
#include "workspace/windows/OS_OverlayWindow.h"

using namespace kivtest;
namespace ui_testing = kivui::testing;

namespace {

using Windows = WorkspaceFixture;

TEST_F(Windows, FramesTileTheClientAreaAndFollowItsSize) {
  WorkspaceFrame* a = FrameWith({"A"});
  WorkspaceFrame* b = FrameWith({"B"});
  const kivcore::Rect client = main->GetClientRect();
  const kivcore::Rect ra = a->GetFrameLocalRect(), rb = b->GetFrameLocalRect();
  EXPECT_TRUE(client.Contains(ra) && client.Contains(rb));
  EXPECT_FALSE(ra.Intersects(rb));
  EXPECT_EQ(ra.top, rb.top);
  main->SetGlobalStructureRect({100, 80, 600, 500});
  ui_testing::ProcessEvents();
  EXPECT_EQ(main->GetLayoutManager().GetContainingRect(), main->GetClientRect());
  EXPECT_EQ(b->GetFrameLocalRect().Right(), main->GetClientRect().Right());
  EXPECT_LT(main->GetClientRect().width, 900);

  // Over the bar between them the cursor offers a left-right resize.
  const kivcore::Point bar = main->UI_LocalToGlobal({a->GetFrameLocalRect().Right() + 1, 200});
  ui_testing::MouseMoveTo(bar);
  EXPECT_EQ(kivui::UI_NodeManager::Get().GetCurrentResourceCursor(), kivui::kCursorVerticalBar);
  EXPECT_EQ(main->GetFrameFromPos(main->UI_LocalToGlobal({10, 100})), a);
}

TEST_F(Windows, AFrameRemovedWithItsPlaceKeptComesBackThere) {
  WorkspaceFrame* a = FrameWith({"A"});
  WorkspaceFrame* b = FrameWith({"B"});
  const kivcore::Rect place = b->GetFrameLocalRect();
  workspace->RemoveTab(b, 0, true, true);
  EXPECT_EQ(main->GetFrameCount(), 1u);
  EXPECT_EQ(a->GetFrameLocalRect(), main->GetClientRect());
  ASSERT_TRUE(main->CanReanimateFrame("B"));
  ASSERT_TRUE(main->ReanimateFrame("B"));
  WorkspaceFrame* back = main->GetTabbedFrames().back();
  EXPECT_EQ(Types(*back), (std::vector<std::string>{"B"}));
  EXPECT_EQ(back->GetFrameLocalRect(), place);

  // A frame closed with a panel that hides comes back as the same frame and panel.
  WorkspaceFrame* h = FrameWith({"H"});
  TabPanelPtr panel = h->GetTabPanel(0);
  workspace->RemoveTab(h, 0, true, true);
  ASSERT_EQ(main->GetHiddenFrames().size(), 1u);
  EXPECT_TRUE(main->CanReanimateFrame(panel));
  EXPECT_TRUE(main->ReanimateFrame(panel));
  EXPECT_EQ(panel->GetFrame(), h);
  EXPECT_TRUE(main->GetHiddenFrames().empty());
}

TEST_F(Windows, EdgeDropZonesAndTheirExclusions) {
  const kivcore::Rect area = main->GetDropArea();
  EXPECT_EQ(area, main->GetGlobalContentRect());
  kivcore::Rect rect;
  std::vector<kivcore::Point> polygon;
  EXPECT_EQ(main->GetEdgeDropZone({area.left + 200, area.top + 6}, rect, polygon), DropZone::kTop);
  EXPECT_EQ(rect, (kivcore::Rect{area.left, area.top, area.width, 12}));
  EXPECT_EQ(polygon, (std::vector<kivcore::Point>{{area.left, area.top}, {area.left + 12, area.top + 12},
                                                   {area.Right() - 12, area.top + 12}, {area.Right(), area.top}}));
  polygon.clear();
  EXPECT_EQ(main->GetEdgeDropZone({area.left + 200, area.top + 7}, rect, polygon), DropZone::kNone);
  EXPECT_EQ(main->GetEdgeDropZone({area.left + 2, area.top + 2}, rect, polygon), DropZone::kLeft);  // corner
  EXPECT_EQ(main->GetEdgeDropZone({area.Right() - 1, area.top + 100}, rect, polygon), DropZone::kRight);
  EXPECT_EQ(main->GetEdgeDropZone({area.left + 100, area.Bottom() - 10}, rect, polygon), DropZone::kBottom);

  std::vector<int> exclusions;
  main->CalculateDropZoneExclusionsForEdges(area, exclusions);  // touches every edge
  EXPECT_EQ(exclusions, (std::vector<int>{6, 9, 9, 9}));
  exclusions.clear();
  main->CalculateDropZoneExclusionsForEdges({area.left + 50, area.top + 50, 100, 100}, exclusions);
  EXPECT_EQ(exclusions, (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(Windows, SavedPlacementsComeBackAsTheyShould) {
  auto window = workspace->AddTopLevelWindow(false, nullptr);
  WindowPlacement minimized;
  minimized.showCmd = WindowPlacement::kShowMinimized;
  minimized.normalPos = kivui::KIVtoWIN({50, 60, 400, 300});
  window->ApplyWindowStateData(minimized);
  ui_testing::ProcessEvents();
  EXPECT_EQ(window->GetWindowState(), kivui::OS_Window::kNormal);
  EXPECT_EQ(window->GetGlobalStructureRect(), (kivcore::Rect{50, 60, 400, 300}));

  WindowPlacement maximized = minimized;
  maximized.showCmd = WindowPlacement::kShowMaximized;
  window->ApplyWindowStateData(maximized);
  ui_testing::ProcessEvents();
  EXPECT_EQ(window->GetWindowState(), kivui::OS_Window::kMaximized);
  EXPECT_EQ(window->GetNormalRect(), (kivcore::Rect{50, 60, 400, 300}));

  kivcore::PropList saved;
  window->SaveWindowStateData(saved);
  std::uint32_t showCmd = 0;
  kivcore::PropList::IntList normal;
  ASSERT_TRUE(saved.GetValue("ShowCmd", showCmd) && saved.GetValue("NormalPos", normal));
  EXPECT_EQ(showCmd, 3u);
  EXPECT_EQ(normal, (kivcore::PropList::IntList{50, 60, 450, 360}));

  auto later = workspace->AddTopLevelWindow(false, nullptr);
  later->SetDelayWindowVisibility(true);
  ASSERT_TRUE(later->RestoreWindowStateData(saved));
  EXPECT_FALSE(later->IsShown());
  EXPECT_TRUE(later->GetDelayedShowMaximized());
  later->ShowDelayed();
  ui_testing::ProcessEvents();
  EXPECT_EQ(later->GetWindowState(), kivui::OS_Window::kMaximized);

  saved.RemoveValue("MaxPos");
  EXPECT_FALSE(later->RestoreWindowStateData(saved));

  main->ApplyDefaultWindowState();
  ui_testing::ProcessEvents();
  EXPECT_EQ(main->GetWindowState(), kivui::OS_Window::kMaximized);
}

TEST_F(Windows, RedrawSuspensionNests) {
  main->SuspendRedraws(true);
  main->SuspendRedraws(true);
  main->SuspendRedraws(false);
  EXPECT_FALSE(main->GetUpdatesEnabled());
  main->SuspendRedraws(false);
  EXPECT_TRUE(main->GetUpdatesEnabled());
}

// Records what the window feeds it.
struct RecordingTracker : OS_Tracker {
  std::vector<kivcore::Point>* moves;
  int* ends;
  bool* cancelled;
  bool Track(kivcore::Point p) override {
    moves->push_back(p);
    return false;
  }
  void End(bool c) override {
    ++*ends;
    *cancelled = c;
  }
};

TEST_F(Windows, ATrackerFollowsThePointerAndEndsOnReleaseOrLostCapture) {
  FrameWith({"A"});
  std::vector<kivcore::Point> moves;
  int ends = 0;
  bool cancelled = false;
  auto make = [&] {
    auto t = std::make_unique<RecordingTracker>();
    t->moves = &moves;
    t->ends = &ends;
    t->cancelled = &cancelled;
    return t;
  };
  workspace->SetTracker(make(), main.get());
  const kivcore::Point p = main->UI_LocalToGlobal({300, 300});
  ui_testing::MouseMoveTo(p);
  ui_testing::MouseReleaseAt(p);
  EXPECT_EQ(moves.back(), p);
  EXPECT_EQ(ends, 1);
  EXPECT_FALSE(cancelled);
  EXPECT_EQ(workspace->GetTracker(), nullptr);

  const int beeps = kivui::GetMessageBeepCount();
  workspace->SetTracker(make(), main.get());
  kivui::UI_NodeManager::Get().LoseCapture();
  EXPECT_EQ(ends, 2);
  EXPECT_TRUE(cancelled);
  EXPECT_EQ(kivui::GetMessageBeepCount(), beeps + 1);
  EXPECT_EQ(workspace->GetTracker(), nullptr);
}

TEST_F(Windows, SynchronisedActivationShowsAllWindowsActiveTogether) {
  auto floating = workspace->AddTopLevelWindow(false, nullptr);
  floating->UI_Show(true);
  OS_Workspace::SetIsSyncWindowActivationEnabled(false);
  floating->UI_ActivationChanged(true);
  EXPECT_TRUE(floating->IsDrawnActive());
  EXPECT_FALSE(main->IsDrawnActive());
  OS_Workspace::SetIsSyncWindowActivationEnabled(true);
  floating->UI_ActivationChanged(true);
  EXPECT_TRUE(main->IsDrawnActive());
  OS_Workspace::SetIsSyncWindowActivationEnabled(false);

  EXPECT_EQ(OS_Workspace::GetTopLevelWindowFromPos(main->UI_LocalToGlobal({5, 5})), main.get());
  EXPECT_EQ(OS_Workspace::GetTopLevelWindowFromPos({-5000, -5000}), nullptr);
}

TEST_F(Windows, AnEmptyOverlayIsAClearError) {
  OS_OverlayWindow overlay;
  try {
    overlay.Create(main.get(), {0, 0, 0, 10});
    FAIL() << "no error";
  } catch (const kivcore::config::Error& e) {
    EXPECT_EQ(e.Category(), 102);
    EXPECT_EQ(e.Code(), 21);
    EXPECT_STREQ(e.what(), "Attempted to create empty overlay window.");
  }
  overlay.Create(main.get(), {10, 10, 50, 50});
  EXPECT_TRUE(overlay.OSWindowBacked());
}

}  // namespace

namespace {

// Hands out splitter trackers and records the rectangles asked for and the points the
// trackers followed.
struct DraggingWorkspace : Workspace {
  std::vector<kivcore::Rect> asked;
  std::vector<kivcore::Point> tracked;
  std::unique_ptr<OS_Tracker> AcquireSplitterDragger(TopLevelWindow*, const kivcore::Rect& r) override {
    asked.push_back(r);
    struct Following : OS_Tracker {
      std::vector<kivcore::Point>* points;
      explicit Following(std::vector<kivcore::Point>* p) : points(p) {}
      bool Track(kivcore::Point p) override {
        points->push_back(p);
        return false;
      }
      void End(bool) override {}
    };
    return std::make_unique<Following>(&tracked);
  }
};

// An 800 x 500 main window of the workspace with two "A" frames side by side; returns the
// left one.
WorkspaceFrame* TwoFramesSideBySide(Workspace& workspace, std::shared_ptr<TopLevelWindow>& main) {
  workspace.RegisterTabCreator(std::make_unique<NoteCreator>("A"));
  main = workspace.CreateMainTopLevelWindow({0, 0, 800, 500});
  main->UI_Show(true);
  WorkspaceFrame* left = main->CreateRootFrame("A", false, true);
  main->AddTabbedFrame(left, "A", LayoutManager::kRight);
  ui_testing::ProcessEvents();
  return left;
}

// The first column of the bar at the window's height y (800 when there is none).
int FirstBarColumn(const TopLevelWindow& window, int y) {
  int x = 0;
  while (x < 800 && window.GetLayoutManager().HitCheckCursor(x, y) == LayoutManager::kNoBar) ++x;
  return x;
}

TEST(TouchBars, PenAndTouchPressesNearABarStartADragWithinTheirHitSize) {
  auto workspace = std::make_shared<DraggingWorkspace>();
  std::shared_ptr<TopLevelWindow> main;
  TwoFramesSideBySide(*workspace, main);
  const int barLeft = FirstBarColumn(*main, 200);
  ASSERT_LT(barLeft, 800);
  EXPECT_EQ(main->GetTouchHitHalfSize(true), 3);
  EXPECT_EQ(main->GetTouchHitHalfSize(false), 4);

  auto press = [&](int x, kivui::PointerEvent::Device device) {
    kivui::PointerEvent e;
    e.action = kivui::PointerEvent::kDown;
    e.device = device;
    e.global = main->UI_LocalToGlobalF({float(x), 200});
    return main->UI_DoPrePointerEvent(e);
  };
  // A pen's 6 x 6 square reaches the bar from 2 pixels left of it, not from 3.
  EXPECT_FALSE(press(barLeft - 3, kivui::PointerEvent::kPen));
  EXPECT_TRUE(press(barLeft - 2, kivui::PointerEvent::kPen));
  ASSERT_EQ(workspace->asked.size(), 1u);
  EXPECT_EQ(workspace->asked[0], (kivcore::Rect{barLeft - 5, 197, 6, 6}));
  EXPECT_TRUE(main->IsTouchDragging());
  EXPECT_NE(workspace->GetTracker(), nullptr);
  kivui::PointerEvent up;
  up.action = kivui::PointerEvent::kUp;
  EXPECT_TRUE(main->UI_DoPrePointerEvent(up));
  EXPECT_FALSE(main->IsTouchDragging());
  EXPECT_EQ(workspace->GetTracker(), nullptr);
  // A finger's 8 x 8 square reaches it from 3 pixels away.
  EXPECT_TRUE(press(barLeft - 3, kivui::PointerEvent::kTouch));
  EXPECT_TRUE(main->UI_DoPrePointerEvent(up));
  EXPECT_FALSE(press(barLeft - 4, kivui::PointerEvent::kTouch));
  EXPECT_EQ(workspace->asked.size(), 2u);

  // Through the window system: the pen's moves reach the tracker until it lifts.
  const kivcore::Point at = main->UI_LocalToGlobal({barLeft, 200});
  ui_testing::PointerPressAt(at, kivui::PointerEvent::kPen);
  ASSERT_TRUE(main->IsTouchDragging());
  for (int dx : {10, 20, 30}) ui_testing::PointerMoveTo({at.x + dx, at.y}, kivui::PointerEvent::kPen);
  ui_testing::PointerReleaseAt({at.x + 30, at.y}, kivui::PointerEvent::kPen);
  EXPECT_FALSE(main->IsTouchDragging());
  EXPECT_EQ(workspace->GetTracker(), nullptr);
  EXPECT_EQ(workspace->tracked, (std::vector<kivcore::Point>{
                                    {at.x + 10, at.y}, {at.x + 20, at.y}, {at.x + 30, at.y}}));
}

}  // namespace

namespace {

// Content filling the monitor: for the main window its menu bar stays on the monitor,
// above the content.
TEST_F(Windows, TheMainWindowsContentFillsTheMonitorBelowItsMenuBar) {
  main->SetTopChrome(std::make_shared<kivui::UI_Node>("MenuBar"), 30);
  main->CreateRootFrame("A", false, true);
  ui_testing::ProcessEvents();
  const kivcore::Rect monitor = main->GetMegaZoomMonitor(false);
  main->MegaZoom(TopLevelWindow::kZoomContentToMonitor, false, nullptr);
  ui_testing::ProcessEvents();
  const kivcore::Rect panel = main->GetFrame(0)->GetTabPanelFrameGlobalRect();
  EXPECT_EQ(panel.width, monitor.width);
  EXPECT_EQ(panel.height, monitor.height - 30);
}

TEST_F(Windows, ZoomTogglesFromTheMonitorToContentFillingIt) {
  auto floating = workspace->AddTopLevelWindow(false, nullptr);
  floating->CreateRootFrame("A", false, true);
  floating->UI_Show(true);
  ui_testing::ProcessEvents();
  const kivcore::Rect monitor = floating->GetMegaZoomMonitor(false);
  floating->MegaZoomToggle(false);
  ui_testing::ProcessEvents();
  EXPECT_EQ(floating->GetGlobalStructureRect(), monitor);
  EXPECT_TRUE(floating->IsMegaZoomedToWindow());
  floating->MegaZoomToggle(false);  // now the panel area itself covers the monitor
  ui_testing::ProcessEvents();
  // (The offscreen platform keeps windows from going above or left of the screen, so only
  // the size is compared.)
  const kivcore::Rect panel = floating->GetFrame(0)->GetTabPanelFrameGlobalRect();
  EXPECT_EQ(panel.width, monitor.width);
  EXPECT_EQ(panel.height, monitor.height);
  EXPECT_FALSE(floating->CanZoomToPreferredPanelSize());  // its panel prefers no size
}

}  // namespace

namespace {

TEST_F(Windows, WithSyncedEnablementTheMainWindowTakesItsFloatingWindowsAlong) {
  auto floating = workspace->AddTopLevelWindow(false, nullptr);
  auto& debugDb = kivcore::debug::DebugDatabase::Instance();
  main->SetEnabled(false);
  EXPECT_TRUE(floating->IsEnabled());  // off by default
  main->SetEnabled(true);
  debugDb.SetEntry("KIV_syncWindowEnablement", true);
  main->SetEnabled(false);
  EXPECT_FALSE(floating->IsEnabled());
  main->SetEnabled(true);
  EXPECT_TRUE(floating->IsEnabled());
  debugDb.SetEntry("KIV_syncWindowEnablement", false);

  // The chrome images are looked up once; without the files they stay null.
  EXPECT_TRUE(workspace->GetImage(Workspace::kCloseBoxImage).IsNull());
  kivui::UI_NodeManager::Get().GetResourceManager().AddImage("gripper", "png", kivui::Image::Filled(3, 3, {}));
  EXPECT_EQ(workspace->GetImage(Workspace::kGripperImage).Width(), 3);
}

}  // namespace

namespace {

// Counts the splitter drags the workspace hears of.
struct CountingWorkspace : Workspace {
  int begins = 0, ends = 0;
  void NotifySplitterDragBegin(TopLevelWindow*) override { ++begins; }
  void NotifySplitterDragEnd(TopLevelWindow*) override { ++ends; }
};

// A bar dragged with the mouse follows it, the workspace hears the drag begin and end, and
// Escape ends a drag where the last move left the bar.
TEST(SplitterDrags, ABarFollowsTheMouseAndEscapeLeavesItWhereItIs) {
  auto workspace = std::make_shared<CountingWorkspace>();
  std::shared_ptr<TopLevelWindow> main;
  WorkspaceFrame* left = TwoFramesSideBySide(*workspace, main);
  auto barAt = [&] { return FirstBarColumn(*main, 200); };
  const int bar = barAt();
  const int width = left->GetFrameLocalRect().width;

  ui_testing::DragFromTo(main->UI_LocalToGlobal({bar, 200}), main->UI_LocalToGlobal({bar + 100, 200}));
  EXPECT_NEAR(left->GetFrameLocalRect().width, width + 100, 2);  // the pointer holds the bar's middle
  EXPECT_NEAR(barAt(), bar + 100, 2);
  EXPECT_EQ(workspace->GetTracker(), nullptr);
  EXPECT_EQ(workspace->begins, 1);
  EXPECT_EQ(workspace->ends, 1);

  workspace->SetFocusedTabPanel(left->GetTabPanel(0).get());
  ui_testing::MousePressAt(main->UI_LocalToGlobal({bar + 100, 200}));
  ui_testing::MouseMoveTo(main->UI_LocalToGlobal({bar + 50, 200}));
  ui_testing::KeyClick(kivui::kKeyEscape);
  EXPECT_EQ(workspace->GetTracker(), nullptr);
  ui_testing::MouseMoveTo(main->UI_LocalToGlobal({bar - 100, 200}));
  ui_testing::MouseReleaseAt(main->UI_LocalToGlobal({bar - 100, 200}));
  EXPECT_NEAR(barAt(), bar + 50, 2) << "the bar stays where the last move before Escape put it";
  EXPECT_EQ(workspace->ends, 2);
}

}  // namespace
