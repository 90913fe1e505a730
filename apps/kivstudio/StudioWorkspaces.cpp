#include "StudioWorkspaces.h"

#include "StudioArrangements.h"
#include "services/core/Dir.h"
#include "workspace/definition/WorkspaceBuilder.h"

#include <filesystem>

namespace kivstudio {

void StudioBuiltIns::GetWorkspaces(std::vector<kivcore::UTF16String>& out) {
  for (const std::string& name : ArrangementNames()) out.push_back(kivcore::UTF8to16(name));
}

std::unique_ptr<kivworkspace::workspace::WorkspaceBuilder> StudioBuiltIns::CreateBuilder(
    const kivcore::UTF16String& name, kivworkspace::workspace::Workspace& workspace) {
  return CreateArrangementBuilder(workspace, kivcore::UTF16to8(name), mainRect_());
}

std::filesystem::path StudioShareFolder() {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path installed = fs::read_symlink("/proc/self/exe", ec).parent_path().parent_path() / "share" / "kivworkspace";
  if (!ec && fs::is_directory(installed / "workspaces", ec)) return installed;
  return fs::path(KIV_SOURCE_SHARE_DIR) / "kivworkspace";
}

kivcore::UTF16String StudioSystemWorkspaces::GetSystemWorkspaceFolder() {
  return (StudioShareFolder() / "workspaces").u16string();
}

kivcore::filesupport::File StudioPreferencesFile() {
  return kivcore::filesupport::Dir::PrefDir().GetChild(u"kivstudio").GetChild(u"Studio.xml");
}

}  // namespace kivstudio
