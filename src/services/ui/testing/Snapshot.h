#pragma once

#include <string>

namespace kivui {
class UI_Node;
}

namespace kivui::testing {

// Renders the node (a window, a control) with its children to a PNG file. Throws a
// kivcore error when the file cannot be written.
void SaveSnapshotPNG(const UI_Node& node, const std::string& path);

}  // namespace kivui::testing
