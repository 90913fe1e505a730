#pragma once
// A workspace of kivws's own to restore definitions into: every panel type the definition
// names gets a creator of a plain panel that draws its type name, so a restore takes only
// the fallbacks the definition itself causes. Needs the UI application.

#include "services/core/RectT.h"
#include "workspace/manager/SystemWorkspaceProviderBase.h"
#include "workspace/definition/WorkspaceDefinition.h"

#include <memory>
#include <set>
#include <string>

namespace kivcore {
class PropList;
}
namespace kivworkspace::workspace {
class TopLevelWindow;
class Workspace;
}  // namespace kivworkspace::workspace

namespace kivws {

// System workspaces in a folder named on the command line.
class FolderSystemWorkspaces : public kivworkspace::workspace::SystemWorkspaceProviderBase {
 public:
  explicit FolderSystemWorkspaces(kivcore::UTF16String folder) : folder_(std::move(folder)) {}
  kivcore::UTF16String GetSystemWorkspaceFolder() override { return folder_; }

 private:
  kivcore::UTF16String folder_;
};

// The panel types a definition names.
struct NamedTabTypes {
  // Every type: open and closed panels of frames and placeholders, the panels pinned to a
  // window's sides, and those of closed-window records (their window definitions included).
  std::set<std::string> all;
  // The types pinned to a window's sides ("ToolBarTabType" and the like): their plain
  // panels get a size, so that a picture shows the bar.
  std::set<std::string> pinned;
};
NamedTabTypes TabTypesNamed(const kivcore::PropList& definition);

class ScratchWorkspace {
 public:
  ScratchWorkspace(const NamedTabTypes& types, const kivcore::Rect& mainRect);
  ~ScratchWorkspace();
  ScratchWorkspace(const ScratchWorkspace&) = delete;
  ScratchWorkspace& operator=(const ScratchWorkspace&) = delete;

  // Restores the definition (maximized frame included); the main window keeps its rectangle
  // unless applyMainPlacement is set. Raises what RestoreWorkspace raises.
  kivworkspace::workspace::RestoreReport Restore(const kivcore::PropList& definition,
                                                 bool applyMainPlacement);
  // Lays the main window out with content of the size and saves a picture of the content.
  void SaveMainWindowPNG(int width, int height, const std::string& path);
  // The number of windows besides the main one.
  std::size_t FloatingWindowCount() const;
  kivworkspace::workspace::Workspace& GetWorkspace() { return *workspace_; }

 private:
  std::shared_ptr<kivworkspace::workspace::Workspace> workspace_;
  std::shared_ptr<kivworkspace::workspace::TopLevelWindow> main_;
};

}  // namespace kivws
