// One pointer move of a tab drag over a window of N frames, offscreen with real frame
// widgets: a TabDragger moved back and forth between the left and the right zone of the
// frame in the middle, so every move finds the zone, changes the active one, computes the
// preview of the drop and redraws the overlay (the event loop runs after each move).
#include "services/ui/app/Application.h"
#include "workspace/TabCreator.h"
#include "workspace/TabDragger.h"
#include "workspace/TopLevelWindow.h"
#include "workspace/Workspace.h"
#include "workspace/WorkspaceFrame.h"

#include <benchmark/benchmark.h>

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
  const Rect global = window.GetFrameGlobalRect(frame);
  std::vector<int> exclusions;
  window.CalculateDropZoneExclusionsForEdges(global, exclusions);
  for (const DropZone& z : window.GetLayoutManager().GetDropZones(frame.GetLMFrame(), global, exclusions)) {
    if (z.GetType() != type) continue;
    long x = 0, y = 0;
    for (Point p : z.GetArea()) x += p.x, y += p.y;
    return {int(x / long(z.GetArea().size())), int(y / long(z.GetArea().size()))};
  }
  return {};
}

void BM_TabDragPointerMove(benchmark::State& state) {
  auto workspace = std::make_shared<Workspace>();
  workspace->RegisterTabCreator(std::make_unique<BenchCreator>("Panel"));
  auto main = workspace->CreateMainTopLevelWindow({0, 0, 4000, 3000});
  main->UI_Show(true);
  std::vector<WorkspaceFrame*> frames{main->CreateRootFrame("Panel", false, true)};
  for (int i = 1; i < state.range(0); ++i) {
    frames.push_back(main->AddTabbedFrame(frames[std::size_t(i) / 2], "Panel",
                                          LayoutManager::InsertionType(i % 4)));
  }
  frames[0]->AddTab("Panel", false);
  kivui::Application::ProcessEvents(0);
  WorkspaceFrame* under = frames[frames.size() / 2];
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
  if (dragger.GetPreviewRect().IsEmpty()) state.SkipWithError("no preview was shown");
  dragger.End(true);
}

}  // namespace

BENCHMARK(BM_TabDragPointerMove)->Name("TabDragPointerMove")->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("QT_LOGGING_RULES", "default.warning=false", 0);
  kivui::Application app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
