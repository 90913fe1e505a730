#pragma once

#include "services/core/PropList.h"
#include "services/core/RectT.h"
#include "workspace/definition/BuilderBase.h"

#include <memory>
#include <string>
#include <vector>

namespace kivworkspace::workspace {

// A built-in arrangement described in code: a tree of splitter and frame builders per
// window. BuildWorkspace turns the workspace into it, reusing its windows and the panels
// whose types appear. A host may instead hand over a ready definition (UsePropList).
class WorkspaceBuilder {
 public:
  // `resetFlag` is the flag each window's new tree is installed with. A window here installs
  // a new tree one way only (ResetRootFrame takes no flag), so it changes nothing; it is kept
  // so that hosts can pass it where they always have. `usePropList`: see UsePropList.
  explicit WorkspaceBuilder(Workspace& workspace, bool resetFlag = true, bool usePropList = false)
      : workspace_(workspace), resetFlag_(resetFlag), usePropList_(usePropList) {}

  // A window whose tree is root, at the global rectangle (title bar and borders included),
  // with a panel of the type pinned along its top when one is given. The first window
  // described goes to the main window.
  void AddWindow(std::unique_ptr<BuilderBase> root, const kivcore::Rect& rect,
                 std::string topElementType = {});
  // Pins a panel of the type along a side (kTop, kLeft, kBottom, kRight) of the window
  // described last.
  void AddStaticElement(int side, std::string type);
  void BuildWorkspace();

  bool GetResetFlag() const { return resetFlag_; }
  // When set, the definition in the property list is what the arrangement is.
  bool UsePropList() const { return usePropList_; }
  kivcore::PropList& GetPropList() { return propList_; }

 private:
  struct WindowEntry {
    std::unique_ptr<BuilderBase> root;
    kivcore::Rect rect;
    std::vector<std::pair<int, std::string>> staticElements;
  };

  Workspace& workspace_;
  bool resetFlag_;
  bool usePropList_;
  kivcore::PropList propList_;
  std::vector<WindowEntry> windows_;
};

}  // namespace kivworkspace::workspace
