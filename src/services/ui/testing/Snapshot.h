#pragma once

#include "services/core/RectT.h"

#include <string>

namespace kivui {
class UI_Node;
}

namespace kivui::testing {

// Renders the node (a window, a control) with its children to a PNG file. Throws a
// kivcore error when the file cannot be written.
void SaveSnapshotPNG(const UI_Node& node, const std::string& path);
// Renders what the screen shows in the global area: every visible window of the
// application drawn over the ones below it with its opacity (main windows, then floating
// windows, then overlays), as a compositing window system would show them.
void SaveScreenSnapshotPNG(const kivcore::Rect& area, const std::string& path);

}  // namespace kivui::testing
