#pragma once

#include <cstdint>

namespace kivui {

// Modifier keys held during an event, as flags.
using ModKeys = std::uint32_t;

constexpr ModKeys kModNone = 0;
constexpr ModKeys kModShift = 1;
// The docking modifier: held while dragging a tab it keeps the drag from docking; with a
// click on a stacked frame's header it opens or collapses every panel of the stack. On
// Linux it is the Ctrl key.
constexpr ModKeys kModControl = 4;
constexpr ModKeys kModDocking = kModControl;
constexpr ModKeys kModMeta = 8;
// The alternate modifier: held while a splitter bar is dragged it inverts the snapping
// setting; with a click on a stacked frame's header it toggles solo mode; with a quick click
// on a tool button it takes the button's next tool. On Linux it is the Alt key.
constexpr ModKeys kModAlt = 16;
constexpr ModKeys kModAlternate = kModAlt;

// The modifiers held right now (tests may override them through kivui::testing).
ModKeys GetCurrentModKeys();

}  // namespace kivui
