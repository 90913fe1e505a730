#include "StudioWorkspaces.h"

#include "StudioArrangements.h"
#include "services/core/Dir.h"
#include "workspace/WorkspaceBuilder.h"

#include <filesystem>

namespace kivstudio {

void StudioBuiltIns::GetWorkspaces(std::vector<kivcore::UTF16String>& out) {
  for (const std::string& name : ArrangementNames()) out.push_back(kivcore::UTF8to16(name));
}

std::unique_ptr<kivworkspace::workspace::WorkspaceBuilder> StudioBuiltIns::CreateBuilder(
    const kivcore::UTF16String& name, kivworkspace::workspace::Workspace& workspace) {
  return CreateArrangementBuilder(workspace, kivcore::UTF16to8(name), mainRect_());
}

kivcore::UTF16String StudioSystemWorkspaces::GetSystemWorkspaceFolder() {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path installed = fs::read_symlink("/proc/self/exe", ec).parent_path().parent_path() / "share" / "kivworkspace" / "workspaces";
  if (!ec && fs::is_directory(installed, ec)) return kivcore::UTF8to16(installed.string());
  return kivcore::UTF8to16(KIV_SOURCE_SHARE_DIR "/kivworkspace/workspaces");
}

kivcore::filesupport::File StudioPreferencesFile() {
  return kivcore::filesupport::Dir::PrefDir().GetChild(u"kivstudio").GetChild(u"Studio.xml");
}

}  // namespace kivstudio
