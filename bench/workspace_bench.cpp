// Saving and restoring a workspace of three windows and 40 panels, offscreen with real
// frame widgets: the definition written, restored over the live arrangement (every panel
// reused), restored alternately with a second arrangement (windows and frames rebuilt), and
// the manager switching between the two stored as named workspaces.
#include "services/core/PropList.h"
#include "services/core/PropListUtils.h"
#include "services/ui/app/Application.h"
#include "workspace/manager/Manager.h"
#include "workspace/core/TabCreator.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/core/Workspace.h"
#include "workspace/definition/WorkspaceDefinition.h"
#include "workspace/frames/WorkspaceFrame.h"

#include "OffscreenBenchmarks.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <memory>

namespace {

using namespace kivworkspace::workspace;

class BenchPanel : public TabPanel {
 public:
  BenchPanel(Workspace* w, WorkspaceFrameBase* f, const std::string& type)
      : TabPanel(w, f, false, type, kivcore::UTF8to16(type)) {}

 private:
  void DoSaveStateData(kivcore::PropList* list) const override { list->SetValue("Zoom", 3); }
  void DoLoadStateData(kivcore::PropList* list) override { list->GetValue("Zoom", zoom_); }
  std::int32_t zoom_ = 0;
};

class BenchCreator : public TabCreator {
 public:
  using TabCreator::TabCreator;
  TabPanelPtr CreateTabPanel(Workspace* w, WorkspaceFrameBase* f) const override {
    return std::make_shared<BenchPanel>(w, f, GetTabType());
  }
};

constexpr int kTypes = 40;

std::string Type(int i) { return "Panel" + std::to_string(i); }

struct Arrangement {
  std::shared_ptr<Workspace> workspace = std::make_shared<Workspace>();
  std::shared_ptr<TopLevelWindow> main;

  Arrangement() {
    for (int i = 0; i < kTypes; ++i) workspace->RegisterTabCreator(std::make_unique<BenchCreator>(Type(i)));
    main = workspace->CreateMainTopLevelWindow({0, 0, 1600, 1000});
    main->UI_Show(true);
  }

  // Three windows holding the 40 panel types: 8 frames in the main window (rotated by
  // `shift` so that a second arrangement differs), 2 frames in each floating window.
  kivcore::PropList Build(int shift) {
    int next = 0;
    auto take = [&] { return Type((next++ + shift) % kTypes); };
    WorkspaceFrame* root = main->CreateRootFrame(take(), false, true);
    std::vector<WorkspaceFrame*> frames{root};
    for (int f = 1; f < 8; ++f)
      frames.push_back(main->AddTabbedFrame(frames[std::size_t(f / 2)], take(), LayoutManager::InsertionType(f % 4)));
    for (WorkspaceFrame* frame : frames) {
      for (int t = 0; t < 3; ++t) frame->AddTab(take(), false);
    }
    for (int w = 0; w < 2; ++w) {
      auto floating = workspace->AddTopLevelWindow(false, nullptr);
      WorkspaceFrame* first = floating->CreateRootFrame(take(), false, true);
      first->AddTab(take(), false);
      WorkspaceFrame* second = floating->AddTabbedFrame(first, take(), LayoutManager::kRight);
      second->AddTab(take(), false);
      floating->UI_Show(true);
    }
    kivcore::PropList definition;
    SaveWorkspace(*workspace, definition, u"Bench");
    return definition;
  }
};

// What the event loop does after a restore in a running application (deleting the widgets
// that went, delivering geometry and show events) is part of its cost; without it the
// posted events would pile up from one iteration to the next.
void SettleEvents() { kivui::Application::ProcessEvents(0); }

// The arrangement every benchmark starts from, and a second one that differs from it.
struct Shared {
  Arrangement arrangement;
  kivcore::PropList first, second;
  Shared() {
    second = Arrangement().Build(7);
    first = arrangement.Build(0);
  }
};

Shared& Fixture() {
  static Shared shared;
  RestoreWorkspace(*shared.arrangement.workspace, shared.first, true, true, false);
  return shared;
}

void BM_Save(benchmark::State& state) {
  Arrangement& a = Fixture().arrangement;
  for (auto _ : state) {
    kivcore::PropList definition;
    SaveWorkspace(*a.workspace, definition, u"Bench");
    benchmark::DoNotOptimize(definition);
  }
}
BENCHMARK(BM_Save)->Unit(benchmark::kMicrosecond);

void BM_SaveAsXML(benchmark::State& state) {
  Arrangement& a = Fixture().arrangement;
  for (auto _ : state) {
    kivcore::PropList definition;
    SaveWorkspace(*a.workspace, definition, u"Bench");
    benchmark::DoNotOptimize(kivcore::proplist::utils::WritePropListXML(definition, true));
  }
}
BENCHMARK(BM_SaveAsXML)->Unit(benchmark::kMicrosecond);

// Restores of the first definition (same: over itself) or of the two in turn; with the
// argument 1 the event loop's work that follows (painting included) is timed too.
void Restore(benchmark::State& state, bool alternate) {
  Shared& shared = Fixture();
  const bool withEvents = state.range(0) != 0;
  bool flip = false;
  for (auto _ : state) {
    flip = alternate && !flip;
    RestoreWorkspace(*shared.arrangement.workspace, flip ? shared.second : shared.first, true, true, false);
    if (!withEvents) state.PauseTiming();
    SettleEvents();
    if (!withEvents) state.ResumeTiming();
  }
}
void BM_RestoreSame(benchmark::State& state) { Restore(state, false); }
void BM_RestoreAlternating(benchmark::State& state) { Restore(state, true); }
BENCHMARK(BM_RestoreSame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RestoreAlternating)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Switching between two named workspaces of the manager, stored as files: the workspace
// left is saved (definition, XML, atomic write with fsync), the other read and restored
// with its panels kept alive. With the argument 1 the event loop's work is timed too.
void BM_ManagerSwitch(benchmark::State& state) {
  Shared& shared = Fixture();
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("kiv-bench-" + std::to_string(::getpid()));
  std::filesystem::remove_all(folder);
  const auto path = [&](const char* name) { return kivcore::UTF8to16((folder / name).string()); };
  {
    Manager manager(*shared.arrangement.workspace, path("SavedWorkspaces"), path("ArchivedWorkspaces"),
                    path("WSMgrCfg"), nullptr, false);
    manager.Initialize();
    manager.AddWorkspace(u"First", shared.first, false);
    manager.AddWorkspace(u"Second", shared.second, false);
    const bool withEvents = state.range(0) != 0;
    bool flip = false;
    for (auto _ : state) {
      flip = !flip;
      manager.SetCurrentWorkspace(flip ? u"First" : u"Second");
      if (!withEvents) state.PauseTiming();
      SettleEvents();
      if (!withEvents) state.ResumeTiming();
    }
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ManagerSwitch)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunOffscreenBenchmarks(argc, argv); }
