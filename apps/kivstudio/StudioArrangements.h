#pragma once
// kivstudio's built-in arrangements, described with workspace builders.

#include "services/core/RectT.h"

#include <string>
#include <vector>

namespace kivworkspace::workspace {
class Workspace;
}

namespace kivstudio {

// "Cut", "Colour" and "Audio", in the order the Window menu offers them.
const std::vector<std::string>& ArrangementNames();

// Turns the workspace into the named arrangement, its main window at mainRect (title bar
// and borders included). False for a name it does not know.
bool BuildArrangement(kivworkspace::workspace::Workspace& workspace, const std::string& name,
                      const kivcore::Rect& mainRect);

}  // namespace kivstudio
