// The layout pass on balanced trees and on degenerate chains (every splitter's right side
// is the next splitter) of 10 to 10,000 frames. Each benchmark reports the time per frame
// in the "ns/frame" counter; a linear pass keeps it flat as the tree grows.
#include "LayoutTestHosts.h"

#include "layout/LayoutManagerV1.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <deque>

using namespace kivtest;
using ws::LayoutManagerElement;
using ws::Splitter;

namespace {

// The least a frame host does for the layout: a minimum size, and the rectangle it is given.
// Measuring with it keeps the host's own costs out of the layout engine's figures.
class LeanHost : public ws::FrameHostInterface {
 public:
  void SetSizeAndPos(const ws::FrameZones& zones) override {
    rect_ = zones[ws::FrameZones::kWhole];
  }
  void ShowFrame(bool) override {}
  bool IsFrameShown() const override { return true; }
  Point GetMinimumSize() const override { return {2, 2}; }
  void GetSnapSizes(std::vector<Point>&) const override {}
  Rect FrameRectToTabPanelRect(const Rect& r) const override { return r; }
  Rect FrameRectToTabWellRect(const Rect& r) const override { return r; }
  Rect GetTabPanelFrameGlobalRect() const override { return rect_; }
  Rect GetFrameLocalRect() const override { return rect_; }
  Rect GetTabWellGlobalRect() const override { return rect_; }
  void* GetHostData() override { return this; }
  void DoGetTabData(ws::TabDataList&, ws::TabDataList&, ws::TabDataList&) const override {}

 private:
  Rect rect_;
};

// A frame with its host in one object, as a frame window holds its layout frame.
struct HostedFrame {
  explicit HostedFrame(ws::LayoutManager* m) : frame(m, &host) {}
  LeanHost host;
  ws::Frame frame;
};

// Frames with lean hosts, allocated in order.
struct BenchLayout {
  RecordingWindowHost window;
  TestLayoutManager manager{&window};
  std::deque<HostedFrame> frames;
  Splitter* dragged = nullptr;  // a bar in the middle of the tree

  BenchLayout(int frames, bool chain) {
    manager.SetRootElement(chain ? Chain(frames) : Balanced(frames, true));
    manager.Layout(Window(), true, true, false);
    dragged = manager.GetSplitters()[manager.GetSplitters().size() / 2];
  }

  // Big enough that every frame gets a few pixels.
  static Rect Window() { return {0, 0, 40000, 40000}; }

  ws::Frame* NewFrame() { return &frames.emplace_back(&manager).frame; }

  Splitter* Split(bool vertical, LayoutManagerElement* a, LayoutManagerElement* b,
                  float placement) {
    Splitter* s = manager.NewSplitter(vertical);
    s->SetLeftOrTop(a);
    s->SetRightOrBottom(b);
    a->SetParent(s);
    b->SetParent(s);
    s->SetPlacement(placement);
    return s;
  }

  LayoutManagerElement* Balanced(int count, bool vertical) {
    if (count == 1) return NewFrame();
    const int left = count / 2;
    LayoutManagerElement* a = Balanced(left, !vertical);
    LayoutManagerElement* b = Balanced(count - left, !vertical);
    return Split(vertical, a, b, static_cast<float>(left) / static_cast<float>(count));
  }

  LayoutManagerElement* Chain(int count) {
    LayoutManagerElement* tail = NewFrame();
    for (int i = 1; i < count; ++i) {
      tail = Split(i % 2 == 0, NewFrame(), tail, 1.0f / static_cast<float>(i + 1));
    }
    return tail;
  }
};

void PerFrame(benchmark::State& state) {
  const auto frames = state.range(0);
  state.SetItemsProcessed(state.iterations() * frames);
  state.counters["ns/frame"] =
      benchmark::Counter(static_cast<double>(state.iterations() * frames),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

template <bool Chain>
void BM_FullLayout(benchmark::State& state) {
  BenchLayout b(static_cast<int>(state.range(0)), Chain);
  for (auto _ : state) b.manager.Layout(BenchLayout::Window(), true, true, false);
  PerFrame(state);
}

// One step of a bar drag: the bar moves a pixel, the rest keeps its pixels.
template <bool Chain>
void BM_ReLayoutWhileDragging(benchmark::State& state) {
  BenchLayout b(static_cast<int>(state.range(0)), Chain);
  b.manager.SetUserAdjustingSplitter(true);
  int step = 0;
  for (auto _ : state) {
    b.dragged->SetPixelPlacement(b.dragged->GetPixelPlacement() + ((step++ & 1) ? 1 : -1));
    b.manager.ReLayout(false, true, true);
  }
  b.manager.SetUserAdjustingSplitter(false);
  PerFrame(state);
}

template <bool Chain>
void BM_HitCheckCursor(benchmark::State& state) {
  BenchLayout b(static_cast<int>(state.range(0)), Chain);
  const Rect bar = b.dragged->GetDrawRect();
  for (auto _ : state)
    benchmark::DoNotOptimize(b.manager.HitCheckCursor(bar.left + 1, bar.top + 1));
  PerFrame(state);
}

// One pointer move during a tab drag over a desktop window that enters a frame: its drop
// zones and the preview of a drop on the side under the pointer (what the dragger does).
// With `allSides` a preview on each of the four sides instead, as drags once did.
template <bool allSides>
void BM_DragPointerMove(benchmark::State& state) {
  RecordingWindowHost window;
  ws::LayoutManagerV1 manager(&window);
  TreeBuilder tree(manager);
  const int frames = static_cast<int>(state.range(0));
  ws::Frame* first = tree.NewFrame();
  manager.SetRootFrame(first, {0, 0, 4000, 3000});
  std::vector<ws::Frame*> all{first};
  for (int i = 1; i < frames; ++i) {
    ws::Frame* target = all[static_cast<std::size_t>(i) / 2];
    ws::Frame* f = tree.NewFrame();
    manager.AddFrame(target, static_cast<ws::LayoutManager::InsertionType>(i % 4), f);
    all.push_back(f);
  }
  ws::Frame* dragged = tree.NewFrame();
  ws::Frame* under = all[all.size() / 2];
  const Rect rect = tree.Host(under).rect();
  for (auto _ : state) {
    benchmark::DoNotOptimize(manager.GetDropZones(under, rect, {}));
    for (int side = 0; side < (allSides ? 4 : 1); ++side) {
      benchmark::DoNotOptimize(manager.PreviewAddFrame(
          under, static_cast<ws::LayoutManager::InsertionType>(side), dragged));
    }
  }
}

}  // namespace

BENCHMARK(BM_DragPointerMove<false>)->Name("DragPointerMove")->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK(BM_DragPointerMove<true>)->Name("DragPointerMove/fourPreviews")->Arg(10)->Arg(100)->Arg(1000);

#define KIV_LAYOUT_SIZES ->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)
BENCHMARK(BM_FullLayout<false>)->Name("FullLayout/balanced") KIV_LAYOUT_SIZES;
BENCHMARK(BM_FullLayout<true>)->Name("FullLayout/chain") KIV_LAYOUT_SIZES;
BENCHMARK(BM_ReLayoutWhileDragging<false>)->Name("ReLayoutWhileDragging/balanced") KIV_LAYOUT_SIZES;
BENCHMARK(BM_ReLayoutWhileDragging<true>)->Name("ReLayoutWhileDragging/chain") KIV_LAYOUT_SIZES;
BENCHMARK(BM_HitCheckCursor<false>)->Name("HitCheckCursor/balanced") KIV_LAYOUT_SIZES;
BENCHMARK(BM_HitCheckCursor<true>)->Name("HitCheckCursor/chain") KIV_LAYOUT_SIZES;

// KIV_LAYOUT_ITERATIONS=N runs only the full layouts, N iterations each, so that a tool that
// counts instructions or simulated cache misses for the whole process (callgrind,
// cachegrind) can be run at two values of N and the difference taken per iteration.
int main(int argc, char** argv) {
  if (const char* fixed = std::getenv("KIV_LAYOUT_ITERATIONS")) {
    const auto iterations = std::strtoll(fixed, nullptr, 10);
    benchmark::ClearRegisteredBenchmarks();
    for (const int frames : {1000, 10000}) {
      benchmark::RegisterBenchmark("FullLayout/balanced/fixed", BM_FullLayout<false>)
          ->Arg(frames)
          ->Iterations(iterations);
    }
  }
  // KIV_LAYOUT_FRAMES=a,b,... adds full layouts of those sizes (to see where the time per
  // frame changes with the size of the tree).
  if (const char* sizes = std::getenv("KIV_LAYOUT_FRAMES")) {
    for (char* p = const_cast<char*>(sizes); *p != '\0';) {
      const auto frames = std::strtoll(p, &p, 10);
      if (frames > 0) {
        benchmark::RegisterBenchmark("FullLayout/balanced", BM_FullLayout<false>)->Arg(frames);
        benchmark::RegisterBenchmark("FullLayout/chain", BM_FullLayout<true>)->Arg(frames);
      }
      if (*p != '\0') ++p;
    }
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
