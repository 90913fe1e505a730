#pragma once
// kivstudio's host side: the workspace, the main window with its menu bar, the "Cut"
// arrangement and the Window menu.

#include "workspace/TopLevelWindow.h"
#include "workspace/Workspace.h"

#include <memory>
#include <string>

namespace kivstudio {

class MenuBar;

class Studio {
 public:
  static constexpr int kMenuBarHeight = 26;

  explicit Studio(const kivcore::Rect& mainRect);
  ~Studio();

  kivworkspace::workspace::Workspace& GetWorkspace() { return *workspace_; }
  kivworkspace::workspace::TopLevelWindow& GetMainWindow() { return *main_; }

  // The editing arrangement: bins and viewers over the timeline, tools and mixer beside it.
  void BuildCutArrangement();
  // The first open panel of the type, anywhere in the workspace, or null.
  kivworkspace::workspace::TabPanel* FindPanel(const std::string& type) const;
  // Closes an open panel of the type, or brings a closed one back where it was.
  void TogglePanel(const std::string& type);
  // Shows the Window menu under the point and applies the choice.
  void ShowWindowMenu(kivcore::Point global);

 private:
  std::shared_ptr<kivworkspace::workspace::Workspace> workspace_;
  std::shared_ptr<kivworkspace::workspace::TopLevelWindow> main_;
  std::shared_ptr<MenuBar> menuBar_;
};

}  // namespace kivstudio
