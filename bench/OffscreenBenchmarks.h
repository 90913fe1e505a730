#pragma once
// The main function of the benchmarks that need the UI framework: offscreen, quiet.

#include "services/ui/app/Application.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

inline int RunOffscreenBenchmarks(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // The offscreen platform warns on every window raise; writing that out would be measured.
  setenv("QT_LOGGING_RULES", "default.warning=false", 0);
  kivui::Application app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
