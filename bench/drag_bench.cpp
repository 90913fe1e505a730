// One pointer move of a tab drag over a window of N frames (4000 x 3000, and a desktop
// monitor's 1600 x 1200), offscreen with real frame
// widgets: a TabDragger moved back and forth between the left and the right zone of a
// frame, so every move finds the zone, changes the active one, computes the
// preview of the drop and redraws the overlay (the event loop runs after each move). The
// frame is the largest one other than the source.
#include "services/ui/app/Application.h"
#include "workspace/core/TabCreator.h"
#include "workspace/drag/TabDragger.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/core/Workspace.h"
#include "workspace/frames/WorkspaceFrame.h"

#include "OffscreenBenchmarks.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

using namespace kivworkspace::workspace;
using kivcore::Point;
using kivcore::Rect;

class BenchCreator : public TabCreator {
 public:
  using TabCreator::TabCreator;
  TabPanelPtr CreateTabPanel(Workspace* w, WorkspaceFrameBase* f) const override {
    return std::make_shared<TabPanel>(w, f, false, GetTabType(), kivcore::UTF8to16(GetTabType()));
  }
};

Point ZoneCentre(TopLevelWindow& window, WorkspaceFrame& frame, DropZone::DropType type) {
  for (const DropZone& z : window.GetFrameDropZones(frame))
    if (z.GetType() == type) return z.GetCentre();
  return {};
}

void BM_TabDragPointerMove(benchmark::State& state) {
  auto workspace = std::make_shared<Workspace>();
  workspace->RegisterTabCreator(std::make_unique<BenchCreator>("Panel"));
  auto main = workspace->CreateMainTopLevelWindow(
      {0, 0, int(state.range(1)), int(state.range(1)) * 3 / 4});
  main->UI_Show(true);
  std::vector<WorkspaceFrame*> frames{main->CreateRootFrame("Panel", false, true)};
  for (int i = 1; i < state.range(0); ++i) {
    frames.push_back(main->AddTabbedFrame(frames[std::size_t(i) / 2], "Panel",
                                          LayoutManager::InsertionType(i % 4)));
  }
  frames[0]->AddTab("Panel", false);
  kivui::Application::ProcessEvents(0);
  // The largest frame: in a window this full many frames are squeezed to their minimum.
  WorkspaceFrame* under = *std::max_element(frames.begin() + 1, frames.end(), [&](auto* a, auto* b) {
    const Rect ra = main->GetFrameGlobalRect(*a), rb = main->GetFrameGlobalRect(*b);
    return long(ra.width) * ra.height < long(rb.width) * rb.height;
  });
  const Point left = ZoneCentre(*main, *under, DropZone::kLeft);
  const Point right = ZoneCentre(*main, *under, DropZone::kRight);
  TabDragger dragger(frames[0], false, 1);
  const Rect tab = main->GetFrameGlobalRect(*frames[0]);
  dragger.Begin({tab.left + 20, tab.top + 10});
  dragger.Track({tab.left + 40, tab.top + 80});  // the tab leaves its frame
  bool toLeft = true;
  for (auto _ : state) {
    dragger.Track(toLeft ? left : right);
    kivui::Application::ProcessEvents(0);
    toLeft = !toLeft;
  }
  if (dragger.GetActiveDropType() == DropZone::kNone) state.SkipWithError("no zone was active");
  dragger.End(true);
}

}  // namespace

// Frames, and the window's width (its height is three quarters of it).
BENCHMARK(BM_TabDragPointerMove)
    ->Name("TabDragPointerMove")
    ->ArgsProduct({{10, 100, 1000}, {4000, 1600}})
    ->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) { return RunOffscreenBenchmarks(argc, argv); }
