#pragma once
// kivstudio's built-in arrangements, described with workspace builders.

#include "services/core/RectT.h"

#include <memory>
#include <string>
#include <vector>

namespace kivworkspace::workspace {
class Workspace;
class WorkspaceBuilder;
}

namespace kivstudio {

// "Cut", "Colour" and "Audio", in the order the Window menu offers them.
const std::vector<std::string>& ArrangementNames();

// A builder of the named arrangement, its main window at mainRect; null for a name it does
// not know.
std::unique_ptr<kivworkspace::workspace::WorkspaceBuilder> CreateArrangementBuilder(
    kivworkspace::workspace::Workspace& workspace, const std::string& name, const kivcore::Rect& mainRect);

// Turns the workspace into the named arrangement, its main window at mainRect (title bar
// and borders included). False for a name it does not know.
bool BuildArrangement(kivworkspace::workspace::Workspace& workspace, const std::string& name,
                      const kivcore::Rect& mainRect);

}  // namespace kivstudio
