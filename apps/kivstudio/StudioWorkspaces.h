#pragma once
// kivstudio's named workspaces: its arrangements as built-in workspaces, the system
// workspaces shipped with it, and the place its preferences keep the last one used.

#include "services/core/File.h"
#include "services/core/RectT.h"
#include "workspace/manager/BuiltInWorkspaceProviderBase.h"
#include "workspace/manager/SystemWorkspaceProviderBase.h"

#include <filesystem>
#include <functional>

namespace kivstudio {

// "Cut", "Colour" and "Audio", built in the main window's current place.
class StudioBuiltIns : public kivworkspace::workspace::BuiltInWorkspaceProviderBase {
 public:
  explicit StudioBuiltIns(std::function<kivcore::Rect()> mainRect) : mainRect_(std::move(mainRect)) {}
  void GetWorkspaces(std::vector<kivcore::UTF16String>& out) override;
  std::unique_ptr<kivworkspace::workspace::WorkspaceBuilder> CreateBuilder(
      const kivcore::UTF16String& name, kivworkspace::workspace::Workspace& workspace) override;

 private:
  std::function<kivcore::Rect()> mainRect_;
};

// The workspace files installed with kivstudio ("share/kivworkspace/workspaces" beside
// its "bin" folder), or those of the source tree when it runs from a build.
class StudioSystemWorkspaces : public kivworkspace::workspace::SystemWorkspaceProviderBase {
 public:
  kivcore::UTF16String GetSystemWorkspaceFolder() override;
};

// kivstudio's own preferences file, which names the workspace to start in.
kivcore::filesupport::File StudioPreferencesFile();

// The library's shared files (workspaces, themes, scripts): installed beside kivstudio's
// folder, else in the source tree for runs from the build tree.
std::filesystem::path StudioShareFolder();

}  // namespace kivstudio
