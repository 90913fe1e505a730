// A Qt host's layouts with real widgets: 40 panels (tree views, text edits, line edits and
// labels) in three windows, docked through DockHost, offscreen. Restoring a layout from its
// file over the live one (the same arrangement, or the other of two in turn: windows and
// frames rebuilt, every widget kept), switching between the two kept as named workspaces,
// and 1,000 restores in a row, to see whether the thousandth costs what the first did.
#include "qtwidgets/DockHost.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using kivworkspace::qtwidgets::DockHost;
using kivworkspace::qtwidgets::DockPlace;

constexpr int kPanels = 40;

QString Id(int i) { return QString("panel%1").arg(i); }

QWidget* MakeWidget(int i) {
  switch (i % 4) {
    case 0: {
      auto* tree = new QTreeView;
      auto* model = new QStandardItemModel(tree);
      for (int row = 0; row < 50; ++row) model->appendRow(new QStandardItem(QString("item %1").arg(row)));
      tree->setModel(model);
      return tree;
    }
    case 1: return new QTextEdit(QString("notes of panel %1").arg(i));
    case 2: return new QLineEdit(QString("field %1").arg(i));
    default: return new QLabel(QString("label %1").arg(i));
  }
}

// What the event loop does after a restore in a running application: the widgets that went
// are deleted (outside a running loop Qt leaves deferred deletes for later, and they would
// pile up from one iteration to the next), geometry and show events delivered, windows
// painted.
void Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QApplication::processEvents();
}

// Two layouts of the same 40 panels saved to files: 8 frames of 4 tabs in the main window
// and two floating windows of 2 frames of 2 tabs each, the panels dealt out in another
// order in the second.
struct Layouts {
  QTemporaryDir dir;
  std::unique_ptr<DockHost> dock;
  QString files[2];

  Layouts() {
    dock = std::make_unique<DockHost>();
    dock->mainWindow()->setGeometry(0, 0, 1600, 1000);
    dock->mainWindow()->show();
    for (int i = 0; i < kPanels; ++i)
      dock->registerPanel(Id(i), QString("Panel %1").arg(i), [i] { return MakeWidget(i); });
    for (int layout = 0; layout < 2; ++layout) {
      files[layout] = dir.filePath(QString("layout%1.xml").arg(layout));
      Deal(layout * 7);
      dock->saveLayout(files[layout]);
    }
    dock->restoreLayout(files[0]);
    Settle();
  }

  void Deal(int shift) {
    for (int i = 0; i < kPanels; ++i) dock->closePanel(Id(i));
    int next = 0;
    const auto take = [&] { return Id((next++ + shift) % kPanels); };
    const DockPlace sides[] = {DockPlace::left(), DockPlace::right(), DockPlace::top(), DockPlace::bottom()};
    for (int frame = 0; frame < 8; ++frame) {
      const QString first = take();
      dock->movePanel(first, frame == 0 ? DockPlace::left() : sides[frame % 4]);
      for (int tab = 0; tab < 3; ++tab) dock->movePanel(take(), DockPlace::tabbedWith(first));
    }
    for (int window = 0; window < 2; ++window) {
      const QString first = take();
      dock->movePanel(first, DockPlace::floating({1700, 100 + 450 * window, 600, 400}));
      dock->movePanel(take(), DockPlace::tabbedWith(first));
      const QString second = take();
      dock->movePanel(second, DockPlace::rightOf(first));
      dock->movePanel(take(), DockPlace::tabbedWith(second));
    }
    Settle();
  }
};

// Made by the first benchmark that runs, and gone before the application is.
std::unique_ptr<Layouts> layouts;

Layouts& Fixture() {
  if (!layouts) layouts = std::make_unique<Layouts>();
  return *layouts;
}

// A restore of the first layout over itself (alternate false) or of the two in turn, with
// the event loop's work that follows it.
void Restore(benchmark::State& state, bool alternate) {
  Layouts& layouts = Fixture();
  layouts.dock->restoreLayout(layouts.files[0]);
  Settle();
  bool flip = false;
  for (auto _ : state) {
    flip = alternate && !flip;
    if (!layouts.dock->restoreLayout(layouts.files[flip ? 1 : 0])) state.SkipWithError("restore failed");
    Settle();
  }
}
void BM_DockHostRestoreSame(benchmark::State& state) { Restore(state, false); }
void BM_DockHostRestoreAlternating(benchmark::State& state) { Restore(state, true); }
BENCHMARK(BM_DockHostRestoreSame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DockHostRestoreAlternating)->Unit(benchmark::kMillisecond);

// Switching between the two layouts kept as the named workspaces "First" and "Second": each
// switch saves the workspace left (an atomic write with fsync) and restores the other.
void BM_DockHostNamedSwitch(benchmark::State& state) {
  Layouts& layouts = Fixture();
  if (!layouts.dock->workspacesEnabled()) {
    layouts.dock->restoreLayout(layouts.files[0]);
    layouts.dock->enableWorkspaces("First", layouts.dir.filePath("workspaces"));
    layouts.dock->restoreLayout(layouts.files[1]);
    layouts.dock->saveWorkspaceAs("Second");
    Settle();
  }
  bool flip = false;
  for (auto _ : state) {
    flip = !flip;
    if (!layouts.dock->switchToWorkspace(flip ? "First" : "Second")) state.SkipWithError("switch failed");
    Settle();
  }
}
BENCHMARK(BM_DockHostNamedSwitch)->Unit(benchmark::kMillisecond);

// 1,000 alternating restores in a row; the counters are the mean of the first hundred and
// of the last hundred, in milliseconds, and the ratio of the two.
void BM_DockHostThousandSwitches(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  Layouts& layouts = Fixture();
  constexpr int kSwitches = 1000;
  std::vector<double> ms(kSwitches);
  for (auto _ : state) {
    for (int i = 0; i < kSwitches; ++i) {
      const auto start = Clock::now();
      layouts.dock->restoreLayout(layouts.files[(i + 1) % 2]);
      Settle();
      ms[std::size_t(i)] = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
  }
  const auto mean = [&](int from) {
    double sum = 0;
    for (int i = from; i < from + 100; ++i) sum += ms[std::size_t(i)];
    return sum / 100;
  };
  state.counters["first100_ms"] = mean(0);
  state.counters["last100_ms"] = mean(kSwitches - 100);
  state.counters["last_over_first"] = mean(kSwitches - 100) / mean(0);
}
BENCHMARK(BM_DockHostThousandSwitches)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // The offscreen platform warns on every window raise; writing that out would be measured.
  setenv("QT_LOGGING_RULES", "default.warning=false", 0);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  layouts.reset();
  return 0;
}
