#include "workspaceutils/WorkspaceDirs.h"

#include "services/core/Dir.h"
#include "services/core/FileUtils.h"

#include <filesystem>

namespace kivworkspace::workspaceutils {

using kivcore::filesupport::File;
namespace FileUtils = kivcore::filesupport::FileUtils;

void GetWorkspaceDirPaths(const kivcore::UTF16String& subFolder, kivcore::UTF16String& userFolder,
                          kivcore::UTF16String& archiveFolder, kivcore::UTF16String& settingsFile) {
  const std::filesystem::path prefs = kivcore::filesupport::Dir::PrefDir().Path();
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(prefs, ec);
  File base(ec ? prefs : absolute);
  if (!subFolder.empty()) base = base.GetChild(subFolder);
  userFolder = base.GetChild(u"SavedWorkspaces").GetFullPath();
  archiveFolder = base.GetChild(u"ArchivedWorkspaces").GetFullPath();
  settingsFile = base.GetChild(u"WSMgrCfg").GetFullPath();
}

void GetWorkspaceDirs(const kivcore::UTF16String& subFolder, kivcore::UTF16String& userFolder,
                      kivcore::UTF16String& archiveFolder, kivcore::UTF16String& settingsFile) {
  GetWorkspaceDirPaths(subFolder, userFolder, archiveFolder, settingsFile);
  // Their parents, the host's folder among them, are made with them.
  FileUtils::EnsureDirectoryExists(File(userFolder));
  FileUtils::EnsureDirectoryExists(File(archiveFolder));
}

}  // namespace kivworkspace::workspaceutils
