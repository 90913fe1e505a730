#pragma once
// kivstudio's host side: the workspace, the main window with its menu bar, the "Cut"
// arrangement and the Window menu.

#include "services/core/File.h"
#include "services/core/PropList.h"
#include "workspace/TopLevelWindow.h"
#include "workspace/Workspace.h"

#include <memory>
#include <string>

namespace kivstudio {

class MenuBar;

class Studio {
 public:
  static constexpr int kMenuBarHeight = 26;
  // The Window menu's commands: 1 to n toggle the panel types, these choose arrangements.
  static constexpr int kFirstArrangementCommand = 101;

  explicit Studio(const kivcore::Rect& mainRect);
  ~Studio();

  kivworkspace::workspace::Workspace& GetWorkspace() { return *workspace_; }
  kivworkspace::workspace::TopLevelWindow& GetMainWindow() { return *main_; }

  // Turns the workspace into a built-in arrangement ("Cut", "Colour", "Audio").
  void ApplyArrangement(const std::string& name);
  const std::string& GetArrangementName() const { return arrangement_; }
  // Restores the workspace saved in the file; when the file is missing or cannot be
  // restored, builds "Cut" and returns why (empty when the saved workspace came back).
  std::string Start(const kivcore::filesupport::File& saved);
  // The live workspace as a definition, named after the arrangement it started from.
  kivcore::PropList SaveDefinition() const;
  // Saves the live workspace into the file, atomically; throws a kivcore error on failure.
  void Save(const kivcore::filesupport::File& file) const;
  // Where kivstudio keeps its workspace between runs, under the preferences folder.
  static kivcore::filesupport::File SavedWorkspaceFile();
  // The first open panel of the type, anywhere in the workspace, or null.
  kivworkspace::workspace::TabPanel* FindPanel(const std::string& type) const;
  // Brings an open panel of the type to the front and focuses it, or closes it when it is
  // already there; brings a closed one back where it was.
  void TogglePanel(const std::string& type);
  // Shows the Window menu under the point and applies the choice.
  void ShowWindowMenu(kivcore::Point global);

 private:
  std::shared_ptr<kivworkspace::workspace::Workspace> workspace_;
  std::shared_ptr<kivworkspace::workspace::TopLevelWindow> main_;
  std::shared_ptr<MenuBar> menuBar_;
  std::string arrangement_;
};

}  // namespace kivstudio
