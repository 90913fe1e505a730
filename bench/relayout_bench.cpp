// A window resized by a few pixels, its frames' widgets given their new geometry: a
// kivworkspace window of N frames (each a tabbed frame holding one panel) against the same
// balanced tree made of nested QSplitters with one widget per leaf, side by side in one
// process, offscreen, painting switched off. Also the time to build a window of N frames
// frame by frame, and to restore one from its definition.
//
// Each resize is checked: a benchmark fails when the last leaf did not move or grow.
#include "services/core/PropList.h"
#include "services/ui/node/UI_Node.h"
#include "workspace/core/TabCreator.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/core/Workspace.h"
#include "workspace/definition/WorkspaceDefinition.h"
#include "workspace/frames/WorkspaceFrame.h"

#include "OffscreenBenchmarks.h"

#include <QApplication>
#include <QSplitter>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <deque>
#include <memory>

namespace {

using namespace kivworkspace::workspace;

constexpr int kWidth = 4000, kHeight = 3000;

class BenchPanel : public TabPanel {
 public:
  BenchPanel(Workspace* w, WorkspaceFrameBase* f) : TabPanel(w, f, false, "Panel", u"Panel") {}
};

class BenchCreator : public TabCreator {
 public:
  BenchCreator() : TabCreator("Panel") {}
  TabPanelPtr CreateTabPanel(Workspace* w, WorkspaceFrameBase* f) const override { return std::make_shared<BenchPanel>(w, f); }
};

// A balanced tree of n frames: each frame in turn (breadth first) is split in two, across
// the direction of its parent's split.
std::vector<WorkspaceFrame*> BuildBalanced(TopLevelWindow& window, int n) {
  std::vector<WorkspaceFrame*> frames{window.CreateRootFrame("Panel", false, true)};
  std::deque<std::pair<WorkspaceFrame*, bool>> queue{{frames[0], true}};
  while (int(frames.size()) < n) {
    auto [target, across] = queue.front();
    queue.pop_front();
    WorkspaceFrame* added = window.AddTabbedFrame(target, "Panel", across ? LayoutManager::kRight : LayoutManager::kBottom);
    frames.push_back(added);
    queue.push_back({target, !across});
    queue.push_back({added, !across});
  }
  return frames;
}

// Whether every frame was laid out: the frames of a 4000 x 3000 window of up to 1,000
// frames are all wider and taller than a frame's widget before its first layout.
bool AllPlaced(const std::vector<WorkspaceFrame*>& frames) {
  return std::all_of(frames.begin(), frames.end(), [](WorkspaceFrame* f) {
    const kivcore::Rect r = f->GetFrameLocalRect();
    return r.width >= 60 && r.height >= 60;
  });
}

struct KivWindow {
  std::shared_ptr<Workspace> workspace = std::make_shared<Workspace>();
  std::shared_ptr<TopLevelWindow> main;
  std::vector<WorkspaceFrame*> frames;

  explicit KivWindow(int n) {
    workspace->RegisterTabCreator(std::make_unique<BenchCreator>());
    main = workspace->CreateMainTopLevelWindow({0, 0, kWidth, kHeight});
    main->UI_Show(true);
    frames = BuildBalanced(*main, n);
    kivui::Application::ProcessEvents();
    main->SetUpdatesEnabled(false);
  }
  ~KivWindow() {
    main.reset();
    workspace.reset();
    kivui::Application::ProcessEvents();
  }
};

// The same tree of nested splitters, one plain widget per leaf.
QWidget* BuildSplitters(int n, bool horizontal, std::vector<QWidget*>& leaves) {
  if (n == 1) {
    leaves.push_back(new QWidget);
    return leaves.back();
  }
  auto* splitter = new QSplitter(horizontal ? Qt::Horizontal : Qt::Vertical);
  splitter->setChildrenCollapsible(false);
  splitter->addWidget(BuildSplitters(n - n / 2, !horizontal, leaves));
  splitter->addWidget(BuildSplitters(n / 2, !horizontal, leaves));
  return splitter;
}

// Alternately 3 pixels narrower and back, each resize delivered before the next.
template <typename Resize, typename Leaf>
void ResizeLoop(benchmark::State& state, Resize resize, Leaf leaf) {
  int step = 0;
  for (auto _ : state) {
    const QRect before = leaf();
    resize(++step % 2 ? -3 : 0);
    QCoreApplication::processEvents();
    if (leaf() == before) {
      state.SkipWithError("the last leaf kept its geometry");
      break;
    }
  }
}

void BM_KivworkspaceRelayout(benchmark::State& state) {
  KivWindow window(int(state.range(0)));
  kivui::UI_Node* leaf = window.frames.back()->GetFrontTabPanel().get();
  ResizeLoop(
      state, [&](int d) { window.main->SetGlobalStructureRect({0, 0, kWidth + d, kHeight + d}); },
      [&] {
        const kivcore::RectF r = leaf->LocalRectToGlobalF(leaf->GetLocalBounds());
        return QRect(int(r.left), int(r.top), int(r.width), int(r.height));
      });
}

void BM_QSplitterRelayout(benchmark::State& state) {
  std::vector<QWidget*> leaves;
  QWidget top;
  auto* layoutRoot = BuildSplitters(int(state.range(0)), true, leaves);
  layoutRoot->setParent(&top);
  top.setGeometry(0, 0, kWidth, kHeight);
  layoutRoot->setGeometry(0, 0, kWidth, kHeight);
  top.show();
  QCoreApplication::processEvents();
  top.setUpdatesEnabled(false);
  ResizeLoop(
      state,
      [&](int d) {
        top.resize(kWidth + d, kHeight + d);
        layoutRoot->resize(kWidth + d, kHeight + d);
      },
      [&] { return QRect(leaves.back()->mapTo(&top, QPoint(0, 0)), leaves.back()->size()); });
}

// An empty workspace with a main window that does not paint, for one iteration; its
// teardown is not timed.
struct EmptyWindow {
  benchmark::State& state;
  std::shared_ptr<Workspace> workspace = std::make_shared<Workspace>();
  std::shared_ptr<TopLevelWindow> main;

  explicit EmptyWindow(benchmark::State& s) : state(s) {
    workspace->RegisterTabCreator(std::make_unique<BenchCreator>());
    main = workspace->CreateMainTopLevelWindow({0, 0, kWidth, kHeight});
    main->SetUpdatesEnabled(false);
    main->UI_Show(true);
  }
  ~EmptyWindow() {
    state.PauseTiming();
    main.reset();
    workspace.reset();
    kivui::Application::ProcessEvents();
    state.ResumeTiming();
  }
};

// Building a window of n frames, frame by frame: with the layout on throughout, or (as a
// builder can do) with the workspace's layout off while the frames are added and one pass
// at the end. Painting is not measured.
void BuildWindow(benchmark::State& state, bool onePass) {
  for (auto _ : state) {
    EmptyWindow window(state);
    if (onePass) window.workspace->SetLayoutEnabled(false);
    const auto frames = BuildBalanced(*window.main, int(state.range(0)));
    if (onePass) {
      window.workspace->SetLayoutEnabled(true);
      window.workspace->ReLayoutTopLevelWindows();
    }
    if (!AllPlaced(frames)) state.SkipWithError("a frame was not laid out");
  }
}

// Restoring a window of n frames from its definition into a workspace without windows of
// that arrangement: the reader builds the splitter tree apart and lays it out once.
void BM_RestoreWindow(benchmark::State& state) {
  kivcore::PropList definition;
  {
    KivWindow source(int(state.range(0)));
    SaveWorkspace(*source.workspace, definition, u"Bench");
  }
  for (auto _ : state) {
    EmptyWindow window(state);
    RestoreWorkspace(*window.workspace, definition, true, true, false);
    if (int(window.main->GetTabbedFrames().size()) != state.range(0)) state.SkipWithError("frames missing after the restore");
  }
}

void BM_BuildWindow(benchmark::State& state) { BuildWindow(state, false); }
void BM_BuildWindowOnePass(benchmark::State& state) { BuildWindow(state, true); }

}  // namespace

BENCHMARK(BM_KivworkspaceRelayout)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QSplitterRelayout)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildWindow)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildWindowOnePass)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RestoreWindow)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return RunOffscreenBenchmarks(argc, argv); }
