#pragma once

#include <cstdint>

namespace kivui {

// Modifier keys held during an event, as flags.
using ModKeys = std::uint32_t;

constexpr ModKeys kModNone = 0;
constexpr ModKeys kModShift = 1;
constexpr ModKeys kModAlt = 2;
// The docking modifier: held while dragging a tab it keeps the drag from docking. On Linux
// it is the Ctrl key.
constexpr ModKeys kModControl = 4;
constexpr ModKeys kModDocking = kModControl;
constexpr ModKeys kModMeta = 8;

// The modifiers held right now (tests may override them through kivui::testing).
ModKeys GetCurrentModKeys();

}  // namespace kivui
