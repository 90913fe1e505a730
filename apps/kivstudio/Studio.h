#pragma once
// kivstudio's host side: the workspace, the main window with its menu bar, the "Cut"
// arrangement and the Window menu.

#include "services/core/File.h"
#include "services/core/PropList.h"
#include "workspace/TopLevelWindow.h"
#include "workspace/Workspace.h"

#include <memory>
#include <string>
#include <vector>

namespace kivworkspace::workspace {
class Manager;
}

namespace kivstudio {

class MenuBar;
class StudioBuiltIns;
class StudioSystemWorkspaces;

class Studio {
 public:
  static constexpr int kMenuBarHeight = 26;
  // The Window menu's commands: 1 to n toggle the panel types.
  // The Workspace menu's commands: from kFirstWorkspaceCommand one per workspace, in the
  // menu's order, then these.
  static constexpr int kFirstWorkspaceCommand = 201;
  enum WorkspaceCommand { kSaveWorkspace = 301, kResetWorkspace, kNewWorkspace, kRenameWorkspace, kDeleteWorkspace };

  explicit Studio(const kivcore::Rect& mainRect);
  ~Studio();

  kivworkspace::workspace::Workspace& GetWorkspace() { return *workspace_; }
  kivworkspace::workspace::TopLevelWindow& GetMainWindow() { return *main_; }

  // Turns the workspace into a built-in arrangement ("Cut", "Colour", "Audio").
  void ApplyArrangement(const std::string& name);
  // The current workspace, else the arrangement last applied.
  std::string GetWorkspaceName() const;
  // The live workspace as a definition, without a name.
  kivcore::PropList SaveDefinition() const;
  // The first open panel of the type, anywhere in the workspace, or null.
  kivworkspace::workspace::TabPanel* FindPanel(const std::string& type) const;
  // Brings an open panel of the type to the front and focuses it, or closes it when it is
  // already there; brings a closed one back where it was.
  void TogglePanel(const std::string& type);
  // Shows the Window menu under the point and applies the choice.
  void ShowWindowMenu(kivcore::Point global);

  // Opens the named workspaces kept under the preference folder, puts the main window where
  // the last run left it (with placeMainWindow) and switches to the workspace that run left,
  // else to `fallback`. Returns what was left out or fallen back from, one reason each.
  std::vector<std::string> OpenWorkspaces(const std::string& fallback = "Cut", bool placeMainWindow = true);
  // Keeps the current workspace as the user left it, the manager's settings (with the main
  // window's place) and the name of the workspace to start in next time.
  void CloseWorkspaces();
  // Null until OpenWorkspaces.
  kivworkspace::workspace::Manager* GetWorkspaceManager() { return manager_.get(); }
  // The workspaces in the order the Workspace menu lists them.
  std::vector<std::string> GetWorkspaceNames() const;
  bool SwitchWorkspace(const std::string& name);
  // Shows the Workspace menu under the point and applies the choice.
  void ShowWorkspaceMenu(kivcore::Point global);

 private:
  std::shared_ptr<kivworkspace::workspace::Workspace> workspace_;
  std::shared_ptr<kivworkspace::workspace::TopLevelWindow> main_;
  void RunWorkspaceCommand(int command);
  // Shows what the manager could not write, if anything.
  void ReportWriteFailures();

  std::shared_ptr<MenuBar> menuBar_;
  std::string arrangement_;
  std::unique_ptr<StudioBuiltIns> builtIns_;
  std::unique_ptr<StudioSystemWorkspaces> systemWorkspaces_;
  std::unique_ptr<kivworkspace::workspace::Manager> manager_;
};

}  // namespace kivstudio
