#include "workspaceutils/WorkspaceDirs.h"

#include "services/core/Dir.h"
#include "services/core/FileUtils.h"

namespace kivworkspace::workspaceutils {

using kivcore::filesupport::File;
namespace FileUtils = kivcore::filesupport::FileUtils;

void GetWorkspaceDirs(const kivcore::UTF16String& subFolder, kivcore::UTF16String& userFolder,
                      kivcore::UTF16String& archiveFolder, kivcore::UTF16String& settingsFile) {
  File base = kivcore::filesupport::Dir::PrefDir();
  if (!subFolder.empty()) {
    base = base.GetChild(subFolder);
    FileUtils::EnsureDirectoryExists(base);
  }
  const File user = base.GetChild(u"SavedWorkspaces");
  const File archive = base.GetChild(u"ArchivedWorkspaces");
  FileUtils::EnsureDirectoryExists(user);
  FileUtils::EnsureDirectoryExists(archive);
  userFolder = user.GetFullPath();
  archiveFolder = archive.GetFullPath();
  settingsFile = base.GetChild(u"WSMgrCfg").GetFullPath();
}

}  // namespace kivworkspace::workspaceutils
