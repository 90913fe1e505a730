#pragma once

#include <cstdint>

namespace kivworkspace::workspace {

class Splitter;

// One candidate bar for snapping a dragged bar. The last three fields belong to the
// splitter tracker, which fills and reads them.
struct SnapPoint {
  Splitter* dragged = nullptr;
  int offset = 0;
  Splitter* candidate = nullptr;
  std::uintptr_t data = 0;
  bool active = true;
};

}  // namespace kivworkspace::workspace
