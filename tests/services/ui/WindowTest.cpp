#include "UITestNodes.h"

#include "services/ui/events/ModKeys.h"
#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/testing/Input.h"
#include "services/ui/testing/Snapshot.h"
#include "services/ui/window/OS_MonitorInfo.h"

#include <gtest/gtest.h>

#include <filesystem>

using kivtest::MakeWindow;
using kivtest::RecordingNode;
using kivui::OS_Window;
namespace testing_ui = kivui::testing;

namespace {

TEST(Windows, TheFrontMostShownWindowAtAPointIsFound) {
  auto back = MakeWindow("back", {100, 100, 300, 300});
  auto front = MakeWindow("front", {200, 200, 300, 300});
  EXPECT_EQ(OS_Window::WindowFromPoint({250, 250}), front.get());
  EXPECT_EQ(OS_Window::WindowFromPoint({150, 150}), back.get());
  EXPECT_EQ(OS_Window::WindowFromPoint({50, 50}), nullptr);
  EXPECT_EQ(OS_Window::WindowFromPoint({250, 250}, front.get()), back.get());

  back->Raise();
  EXPECT_EQ(OS_Window::WindowFromPoint({250, 250}), back.get());
  back->UI_Show(false);
  EXPECT_EQ(OS_Window::WindowFromPoint({250, 250}), front.get());

  // Events at a point go to the window found there.
  back->UI_Show(true);
  testing_ui::ClickAt({250, 250});
  EXPECT_FALSE(back->log.mouse.empty());
  EXPECT_TRUE(front->log.mouse.empty());

  const auto all = OS_Window::UI_EnumerateAllWindows();
  EXPECT_EQ(all.front(), back.get());
  EXPECT_EQ(OS_Window::UI_FindAllWindowsMatchingID("front"), (std::vector<OS_Window*>{front.get()}));
  front.reset();
  EXPECT_TRUE(OS_Window::UI_FindAllWindowsMatchingID("front").empty());
}

TEST(Windows, OverlaysLetInputThroughAndKeepTheirOpacity) {
  auto below = MakeWindow("below", {0, 0, 400, 400});
  auto overlay = MakeWindow("overlay", {50, 50, 200, 200}, OS_Window::kOverlayWindow);
  overlay->UI_SetOpacity(0.6f);
  EXPECT_FLOAT_EQ(overlay->GetOpacity(), 0.6f);
  overlay->UI_SetOpacity(3);
  EXPECT_FLOAT_EQ(overlay->GetOpacity(), 1.0f);
  EXPECT_EQ(overlay->GetKind(), OS_Window::kOverlayWindow);
  EXPECT_EQ(OS_Window::WindowFromPoint({100, 100}), below.get());
  testing_ui::ClickAt({100, 100});
  EXPECT_FALSE(below->log.mouse.empty());
  EXPECT_TRUE(overlay->log.mouse.empty());
}

TEST(Windows, ToolWindowsDetachAndReattach) {
  auto owner = MakeWindow("owner", {0, 0, 400, 400});
  auto tool = std::make_shared<kivtest::RecordingWindow>("tool");
  tool->UI_CreateWindow("Tool", owner.get(), {500, 100, 200, 150}, OS_Window::kToolWindow);
  tool->UI_Show(true);
  EXPECT_EQ(tool->GetOwner(), owner.get());
  EXPECT_EQ(tool->GetGlobalContentRect(), (kivcore::Rect{500, 100, 200, 150}));
  EXPECT_EQ(tool->GetTitle(), "Tool");
  tool->UI_DetachOSWindow();
  EXPECT_EQ(tool->GetOwner(), nullptr);
  EXPECT_EQ(OS_Window::WindowFromPoint({550, 150}), nullptr);
  tool->Reattach(owner.get());
  EXPECT_EQ(OS_Window::WindowFromPoint({550, 150}), tool.get());
}

TEST(Windows, StructureRectangleStateAndScale) {
  auto window = MakeWindow("state", {40, 30, 500, 400});
  window->SetGlobalStructureRect({60, 70, 300, 200});
  EXPECT_EQ(window->GetGlobalStructureRect(), (kivcore::Rect{60, 70, 300, 200}));
  EXPECT_EQ(window->GetWindowState(), OS_Window::kNormal);
  window->ShowWithState(OS_Window::kMaximized);
  testing_ui::ProcessEvents();
  EXPECT_EQ(window->GetWindowState(), OS_Window::kMaximized);
  window->SetNormalRect({10, 20, 200, 100});
  window->ShowWithState(OS_Window::kNormal);
  testing_ui::ProcessEvents();
  EXPECT_EQ(window->GetGlobalStructureRect(), (kivcore::Rect{10, 20, 200, 100}));
  EXPECT_EQ(window->GetNormalRect(), (kivcore::Rect{10, 20, 200, 100}));
  EXPECT_GE(window->GetRecommendedScaleFactor(), 1.0f);
}

TEST(Windows, MonitorsComeFromTheScreensAndOffScreenRectanglesAreBroughtBack) {
  const auto monitors = kivui::OS_MonitorInfo::GetMonitors();
  ASSERT_FALSE(monitors.empty());
  const kivcore::Rect screen = monitors[0].workRect;
  const kivcore::Rect away{screen.Right() + 500, screen.Bottom() + 500, 200, 100};
  const kivcore::Rect back = kivui::OS_MonitorInfo::EnsureRectIsVisible(away);
  EXPECT_TRUE(screen.Contains(back)) << back;
  EXPECT_EQ(back.width, 200);
}

// Sets the vertical-bar cursor over its left half only.
class BarNode : public RecordingNode {
 public:
  BarNode() : RecordingNode("bar") {}
  bool UI_DoCursor(kivcore::PointF local) override {
    if (local.x >= 50) return false;
    kivui::UI_NodeManager::Get().SetResourceCursor(kivui::kCursorVerticalBar);
    return true;
  }
};

TEST(NodeManager, CursorsSettingsResourcesAndModifiers) {
  auto window = MakeWindow("cursor", {0, 0, 100, 100});
  auto bar = std::make_shared<BarNode>();
  bar->SetFrame({0, 0, 100, 100});
  window->PushBack(bar);
  testing_ui::ProcessEvents();
  auto& manager = kivui::UI_NodeManager::Get();
  testing_ui::MouseMoveTo({20, 20});
  EXPECT_EQ(manager.GetCurrentResourceCursor(), kivui::kCursorVerticalBar);
  // Outside a cursor query the cursor applies everywhere until reset.
  manager.SetResourceCursor(kivui::kCursorDragTab);
  EXPECT_EQ(manager.GetCurrentResourceCursor(), kivui::kCursorDragTab);
  manager.ResetCursor();
  EXPECT_EQ(manager.GetCurrentResourceCursor(), kivui::kCursorArrow);

  EXPECT_EQ(manager.GetCustomSettingInt("WORKSPACE_SPLITTER_SIZE_TOUCH", 8), 8);  // unset
  manager.SetCustomSetting("WORKSPACE_SPLITTER_SIZE_PEN", "x9");
  EXPECT_EQ(manager.GetCustomSettingInt("WORKSPACE_SPLITTER_SIZE_PEN", 5), 5);  // not a number
  manager.SetCustomSetting("WORKSPACE_SPLITTER_SIZE_PEN", "12");
  EXPECT_EQ(manager.GetCustomSettingInt("WORKSPACE_SPLITTER_SIZE_PEN", 5), 12);
  EXPECT_FALSE(manager.GetCustomSetting("NO_SUCH_SETTING"));

  auto& resources = manager.GetResourceManager();
  EXPECT_TRUE(resources.GetImage("no-such-image").IsNull());
  const auto dir = std::filesystem::temp_directory_path() / "kivui-resources";
  std::filesystem::create_directories(dir / "images");
  const auto red = kivui::Image::Filled(4, 3, kivui::Color::RGB(255, 0, 0));
  resources.AddImage("made", "png", red);
  EXPECT_EQ(resources.GetImage("made").Width(), 4);
  // Files in a search folder's images subfolder are found by name.
  auto canvas = MakeWindow("canvas", {0, 0, 8, 6});
  testing_ui::SaveSnapshotPNG(*canvas, (dir / "images" / "snap.png").string());
  resources.AddSearchFolder(dir.string());
  const auto snap = resources.GetImage("snap", "png");
  ASSERT_FALSE(snap.IsNull());
  EXPECT_EQ(snap.Width(), 8);
  std::filesystem::remove_all(dir);

  testing_ui::OverrideModKeys(kivui::kModDocking);
  EXPECT_EQ(kivui::GetCurrentModKeys(), kivui::kModControl);
  testing_ui::OverrideModKeys(-1);
}

TEST(Snapshot, AnUnwritablePathIsAClearError) {
  auto window = MakeWindow("snap", {0, 0, 10, 10});
  try {
    testing_ui::SaveSnapshotPNG(*window, "/nonexistent-dir/x.png");
    FAIL() << "no error";
  } catch (const std::exception& e) {
    EXPECT_NE(std::string(e.what()).find("/nonexistent-dir/x.png"), std::string::npos);
  }
}

}  // namespace
