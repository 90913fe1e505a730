// Drop zones of a frame, and previews that must leave the real tree and hosts untouched.
#include "LayoutTestHosts.h"

#include "layout/LayoutManagerV1.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace kivtest;
using ws::DropZone;
using ws::Frame;
using ws::LayoutManager;
using ws::LayoutManagerV1;

namespace {

struct DropZones : ::testing::Test {
  CallLog log;
  RecordingWindowHost window{&log};
  LayoutManagerV1 manager{&window};
  TreeBuilder tree{manager, &log};

  std::string Dump() const {
    std::ostringstream out;
    manager.DumpToGraphvis(out);
    return out.str();
  }
  std::vector<Rect> HostRects() const {
    std::vector<Rect> rects;
    for (const auto& h : tree.Hosts()) rects.push_back(h->rect());
    return rects;
  }
};

}  // namespace

TEST_F(DropZones, SixZonesWithDepthFromTheFrameSize) {
  Frame* f = tree.NewFrame();
  const std::vector<DropZone> zones = manager.GetDropZones(f, {10, 20, 100, 400}, {});
  ASSERT_EQ(zones.size(), 6u);
  const DropZone::DropType order[] = {DropZone::kTop, DropZone::kLeft, DropZone::kBottom,
                                      DropZone::kRight, DropZone::kCentre, DropZone::kTabWell};
  for (std::size_t i = 0; i < zones.size(); ++i) {
    EXPECT_EQ(zones[i].GetType(), order[i]);
    EXPECT_EQ(zones[i].GetFrame(), f);
    EXPECT_EQ(zones[i].GetLayoutManager(), &manager);
    EXPECT_EQ(zones[i].GetPositionOfFrameIfDropped(f), Rect{});
  }
  // t = min(20, 80, 50) = 20.
  EXPECT_EQ(zones[0].GetArea(), (std::vector<Point>{{10, 20}, {30, 40}, {90, 40}, {110, 20}}));
  EXPECT_EQ(zones[3].GetArea(), (std::vector<Point>{{110, 420}, {90, 400}, {90, 40}, {110, 20}}));
  EXPECT_EQ(zones[4].GetArea(),
            (std::vector<Point>{{30, 40}, {90, 40}, {90, 400}, {30, 400}, {30, 40}}));  // 60 x 360
  EXPECT_EQ(zones[5].GetArea(), (std::vector<Point>{{10, 20}, {110, 20}, {110, 420}, {10, 420}}));
  // A large frame's zones are at most 50 deep.
  EXPECT_EQ(manager.GetDropZones(f, {0, 0, 300, 200}, {})[0].GetArea()[1], (Point{40, 40}));
  EXPECT_EQ(manager.GetDropZones(f, {0, 0, 900, 700}, {})[0].GetArea()[1], (Point{50, 50}));
}

TEST_F(DropZones, ExclusionsNarrowTheZones) {
  Frame* f = tree.NewFrame();
  const std::vector<DropZone> zones = manager.GetDropZones(f, {0, 0, 300, 200}, {5, 10, 0, 10});
  // t stays 40; x moves in by 10 and the width loses 20; the top exclusion only moves the
  // tab well.
  EXPECT_EQ(zones[1].GetArea(), (std::vector<Point>{{10, 0}, {50, 40}, {50, 160}, {10, 200}}));
  EXPECT_EQ(zones[3].GetArea().front(), (Point{290, 200}));
  EXPECT_EQ(zones[5].GetArea(), (std::vector<Point>{{10, 5}, {290, 5}, {290, 200}, {10, 200}}));
}

TEST_F(DropZones, PreviewsLeaveTheRealTreeAndHostsUntouched) {
  Frame* only = tree.NewFrame();
  manager.SetRootFrame(only, {0, 0, 800, 600});
  Frame* dragged = tree.NewFrame();
  const std::string dumpBefore = Dump();
  const std::vector<Rect> rectsBefore = HostRects();
  const std::size_t callsBefore = log.calls.size();

  EXPECT_EQ(manager.PreviewAddFrame(only, LayoutManager::kRight, dragged), (Rect{400, 0, 400, 600}));
  EXPECT_EQ(manager.PreviewAddFrame(only, LayoutManager::kTop, dragged), (Rect{0, 0, 800, 300}));
  EXPECT_EQ(log.calls.size(), callsBefore) << "a real host was called: " << log.calls.back();
  EXPECT_EQ(Dump(), dumpBefore);
  EXPECT_EQ(HostRects(), rectsBefore);

  Frame* second = tree.NewFrame();
  manager.AddFrame(only, LayoutManager::kRight, second);
  const std::string dumpWithTwo = Dump();
  const std::size_t callsWithTwo = log.calls.size();
  EXPECT_EQ(manager.PreviewRemoveFrame(only, nullptr), (Rect{0, 0, 800, 600}));
  EXPECT_EQ(manager.PreviewRemoveFrame(second, only), (Rect{0, 0, 800, 600}));
  EXPECT_EQ(Dump(), dumpWithTwo);
  EXPECT_EQ(log.calls.size(), callsWithTwo);
  EXPECT_EQ(manager.GetSplitters().size(), 1u);
}
