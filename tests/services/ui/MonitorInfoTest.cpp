#include "services/core/PropList.h"
#include "services/ui/menu/OSMenu.h"
#include "services/ui/window/MonitorInfo.h"
#include "services/ui/window/OS_ScaledView.h"

#include <gtest/gtest.h>

#include <random>

using kivcore::Rect;
using kivui::MonitorInfo;

namespace {

// A 1920x1080 primary with a 40-pixel panel at the bottom, and a 1280x1024 monitor to its
// right whose top is 100 pixels lower.
std::vector<MonitorInfo> TwoMonitors() {
  MonitorInfo a{0, "A", {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 1};
  MonitorInfo b{1, "B", {1920, 100, 1280, 1024}, {1920, 100, 1280, 1024}, 2};
  return {a, b};
}

TEST(MonitorInfo, EnsureRectIsVisibleMovesRectanglesOntoTheMonitorTheyMostlyCover) {
  const auto monitors = TwoMonitors();
  // Off the left edge: moved right, size kept.
  EXPECT_EQ(MonitorInfo::EnsureRectIsVisible({-300, 50, 800, 600}, monitors), (Rect{0, 50, 800, 600}));
  // Into the bottom panel of A: moved up onto the work area.
  EXPECT_EQ(MonitorInfo::EnsureRectIsVisible({100, 700, 400, 400}, monitors), (Rect{100, 640, 400, 400}));
  // Mostly on B but above its top: moved down onto B, not onto A.
  EXPECT_EQ(MonitorInfo::EnsureRectIsVisible({2000, 0, 500, 300}, monitors), (Rect{2000, 100, 500, 300}));
  // Straddling, with more on B: lands wholly on B.
  EXPECT_EQ(MonitorInfo::EnsureRectIsVisible({1800, 200, 400, 300}, monitors), (Rect{1920, 200, 400, 300}));
  // Nowhere near any monitor: the nearest one takes it.
  EXPECT_EQ(MonitorInfo::EnsureRectIsVisible({9000, 9000, 200, 100}, monitors), (Rect{3000, 1024, 200, 100}));
  // Larger than the work area: shrunk to it.
  EXPECT_EQ(MonitorInfo::EnsureRectIsVisible({-10, -10, 3000, 2000}, monitors), (Rect{0, 0, 1920, 1040}));
  // Already visible: untouched.
  EXPECT_EQ(MonitorInfo::EnsureRectIsVisible({10, 10, 100, 100}, monitors), (Rect{10, 10, 100, 100}));
}

TEST(MonitorInfo, EveryRandomRectangleEndsWhollyInsideOneWorkArea) {
  const auto monitors = TwoMonitors();
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> pos(-4000, 6000), size(1, 2500);
  for (int i = 0; i < 2000; ++i) {
    const Rect r{pos(rng), pos(rng), size(rng), size(rng)};
    const Rect out = MonitorInfo::EnsureRectIsVisible(r, monitors);
    const bool inside = monitors[0].workRect.Contains(out) || monitors[1].workRect.Contains(out);
    ASSERT_TRUE(inside) << r << " -> " << out;
    ASSERT_LE(out.width, r.width);
    ASSERT_LE(out.height, r.height);
  }
}

TEST(MonitorInfo, PointAndRectangleLookups) {
  const auto monitors = TwoMonitors();
  EXPECT_EQ(MonitorInfo::FromPoint({2500, 500}, monitors).name, "B");
  EXPECT_EQ(MonitorInfo::FromPoint({1919, 5}, monitors).name, "A");
  EXPECT_EQ(MonitorInfo::FromPoint({1930, 95}, monitors).name, "B");  // in no monitor; B is nearer
  EXPECT_EQ(MonitorInfo::FromPoint({1950, 50}, monitors).name, "A");
  EXPECT_EQ(MonitorInfo::FromRect({1900, 200, 100, 100}, monitors).name, "B");

  kivcore::PropList list;
  monitors[1].SaveToPropList(list);
  Rect rect;
  std::string name;
  float scale = 0;
  ASSERT_TRUE(list.GetValue("Rect", rect) && list.GetValue("Name", name) && list.GetValue("Scale", scale));
  EXPECT_EQ(rect, monitors[1].rect);
  EXPECT_EQ(name, "B");
  EXPECT_EQ(scale, 2.0f);
}

TEST(ScaledView, DeviceConversionsRoundTripAndCoverWholePixels) {
  const kivui::OS_ScaledView view(1.5f, {10, 20});
  const kivcore::RectF r{1, 2, 3, 5};
  const kivcore::RectF device = view.ToDevice(r);
  EXPECT_EQ(device, (kivcore::RectF{16.5f, 33, 4.5f, 7.5f}));
  EXPECT_EQ(view.FromDevice(device), r);
  EXPECT_EQ(view.ToDevicePixels(r), (Rect{16, 33, 5, 8}));
  const auto m = view.ToDeviceMatrix();
  EXPECT_EQ(m[0] * r.left + m[4], device.left);
}

TEST(OSMenu, FindsCommandsInSubmenusButNotSeparatorsOrSubmenuTitles) {
  auto menu = kivui::CreateOSMenu();
  menu->AddItem(1, "Open");
  menu->AddSeparator();
  auto& recent = menu->AddSubMenu("Recent");
  recent.AddItem(7, "a.xml", false);
  EXPECT_EQ(menu->FindCommand(7)->text, "a.xml");
  EXPECT_FALSE(menu->FindCommand(7)->enabled);
  EXPECT_EQ(menu->FindCommand(0), nullptr);
  EXPECT_EQ(menu->FindCommand(2), nullptr);
}

}  // namespace
