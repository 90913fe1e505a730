#pragma once
// The workspace definition: a whole docking arrangement as a property list (every window
// with its place, its splitter tree, its frames with their panels and panel states, the
// panels closed but able to come back, and the records of closed floating windows), its
// writer and its reader.

#include "services/core/RectT.h"
#include "services/core/Strings.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kivcore {
class PropList;
}

namespace kivworkspace::workspace {

class PanelPool;
class TopLevelWindow;
class Workspace;

// The version every definition carries under "KIV_Wrkspce".
inline constexpr const char* kWorkspaceDefinitionVersion = "1.2";

// What a restore did besides applying the definition as written.
struct RestoreReport {
  // Each key that was missing, held another type or could not be read, with the fallback
  // taken, as "TopLevelFrame-0/SzPos: missing; the window keeps its place". Panel states
  // and closed-window records that are not property lists are listed here too.
  std::vector<std::string> fallbacks;
  // Panel types the definition names that no creator makes (each once); they were left out.
  std::vector<std::string> droppedTypes;
};

// Writes the whole workspace; the user name is written when not empty.
void SaveWorkspace(const Workspace& workspace, kivcore::PropList& definition,
                   const kivcore::UTF16String& userName);

// Rebuilds the workspace from a definition, reusing its windows and the panels whose types
// reappear. A definition without the version, or of another version, raises a kivcore
// error before anything changes. Everything else is applied as far as it can be read: keys
// that are missing or of another type fall back as documented, a panel whose state is not a
// property list opens without it, and a closed-window record that is not one is forgotten;
// each is listed in the report when one is given.
bool RestoreWorkspace(Workspace& workspace, const kivcore::PropList& definition,
                      bool applyMainPlacement, bool applyMaximized, bool forceLayout,
                      RestoreReport* report = nullptr);

// Raises the error RestoreWorkspace would refuse the definition with; returns otherwise.
void CheckWorkspaceDefinition(const kivcore::PropList& definition);

// The numbers n below `count` for which the list holds a sublist under prefix + n (n in
// decimal without leading zeros), in increasing order. A count read from a file only says
// how many entries there should be; these are the ones there are, found from the list's
// keys, so a loop over them is bounded by the file's size whatever the count says.
std::vector<std::int32_t> NumberedSubLists(const kivcore::PropList& list, std::string_view prefix,
                                           std::int32_t count);

bool IsCompatibleVersion(const kivcore::PropList& definition);
kivcore::UTF16String GetWorkspaceUserName(const kivcore::PropList& definition);
void ChangeWorkspaceUserName(kivcore::PropList& definition, const kivcore::UTF16String& name);
// Makes the first window open at the rectangle: its "SzPos" becomes the rectangle and its
// native placement goes.
void SetMainWindowGlobalRect(kivcore::PropList& definition, const kivcore::Rect& rect);

// One window. The reanimation form, kept in closed-window records, writes every frame as a
// proxy remembering all its panels.
enum class WindowForm { kNormal, kReanimation };
void WriteWindow(const TopLevelWindow& window, kivcore::PropList& list, WindowForm form);

struct WindowReadOptions {
  bool applyPlacement = true;
  bool applyMaximized = true;
  bool forceLayout = false;
};
// Rebuilds the window from its list, taking panels from the pool before making new ones.
// `where` names the list in the report ("TopLevelFrame-0").
void ReadWindow(TopLevelWindow& window, const kivcore::PropList& list, PanelPool& pool,
                const WindowReadOptions& options, RestoreReport* report,
                const std::string& where = {});

}  // namespace kivworkspace::workspace
