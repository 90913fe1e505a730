#pragma once
// kivstudio's host side: the workspace, the main window with its menu bar, the "Cut"
// arrangement and the Window menu.

#include "services/core/File.h"
#include "services/core/PropList.h"
#include "workspace/windows/TopLevelWindow.h"
#include "StudioWorkspace.h"
#include "workspace/core/Workspace.h"

#include <memory>
#include <string>
#include <vector>

namespace kivworkspace::workspace {
class Manager;
class PlatformMenuHelperBase;
}
namespace kivworkspace::sharedui {
class ToolMap;
class WorkspaceSwitcherBar;
}
namespace kivworkspace::workspaceutils {
class URLImporter;
}
namespace kivui {
class UI_Container;
}

namespace kivstudio {

class MenuBar;
class StudioBuiltIns;
class StudioSystemWorkspaces;

class Studio {
 public:
  static constexpr int kMenuBarHeight = 26;
  // The Window menu's commands: 1 to n toggle the panel types.
  // The Workspace menu's commands: from kFirstWorkspaceCommand one per workspace, then these.
  static constexpr int kFirstWorkspaceCommand = 201;
  enum WorkspaceCommand {
    kNewWorkspace = 301,
    kSaveWorkspace,
    kDeleteWorkspace,
    kResetWorkspace,
    kRenameWorkspace,
    kEditWorkspaces,
  };

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
  // The Workspace menu's command for the workspace (0 when it has none).
  int WorkspaceCommandFor(const std::string& name) const;
  // Null until OpenWorkspaces.
  kivworkspace::sharedui::WorkspaceSwitcherBar* GetSwitcherBar() { return switcherBar_.get(); }
  // Makes the process-wide switcher follow this studio's workspaces again (after another
  // studio in the same process had it).
  void AttachSwitcher();

  // The File menu's commands.
  enum FileCommand { kQuit = 1, kImportFromURL = 2 };
  // Shows the File menu under the point and applies the choice.
  void ShowFileMenu(kivcore::Point global);
  // File > Import from URL...: asks for a URL and downloads it into the project's media
  // folder (Media under kivstudio's preference folder), showing the Progress panel.
  void ImportFromURL();
  kivworkspace::workspaceutils::URLImporter& GetImporter();
  // The tools of the tools tab by ID.
  kivworkspace::sharedui::ToolMap& GetToolMap() { return *toolMap_; }

 private:
  std::unique_ptr<kivworkspace::sharedui::ToolMap> toolMap_;
  std::shared_ptr<StudioWorkspace> workspace_;
  std::shared_ptr<kivworkspace::workspace::TopLevelWindow> main_;
  void RunWorkspaceCommand(int command);
  // A choice of the Workspace menu (as a menu or the Window menu's submenu).
  void ApplyWorkspaceMenuChoice(int chosen);

  std::shared_ptr<kivui::UI_Container> chrome_;
  std::shared_ptr<MenuBar> menuBar_;
  std::shared_ptr<kivworkspace::sharedui::WorkspaceSwitcherBar> switcherBar_;
  std::unique_ptr<kivworkspace::workspace::PlatformMenuHelperBase> workspaceMenu_;
  std::string arrangement_;
  std::unique_ptr<StudioBuiltIns> builtIns_;
  std::unique_ptr<StudioSystemWorkspaces> systemWorkspaces_;
  std::unique_ptr<kivworkspace::workspace::Manager> manager_;
  std::unique_ptr<kivworkspace::workspaceutils::URLImporter> importer_;
};

}  // namespace kivstudio
