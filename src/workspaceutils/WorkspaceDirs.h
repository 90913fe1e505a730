#pragma once

#include "services/core/Strings.h"

namespace kivworkspace::workspaceutils {

// The standard places of a workspace manager's files under the user's preferences folder
// (inside subFolder when it is not empty): the folders "SavedWorkspaces" and
// "ArchivedWorkspaces", made when missing, and the settings file "WSMgrCfg" (not made).
// The paths are absolute, so a preferences folder given relative to the working folder
// names the same files however the working folder changes later.
void GetWorkspaceDirs(const kivcore::UTF16String& subFolder, kivcore::UTF16String& userFolder,
                      kivcore::UTF16String& archiveFolder, kivcore::UTF16String& settingsFile);
// The same paths, with nothing made: for tools that only look.
void GetWorkspaceDirPaths(const kivcore::UTF16String& subFolder, kivcore::UTF16String& userFolder,
                          kivcore::UTF16String& archiveFolder, kivcore::UTF16String& settingsFile);

}  // namespace kivworkspace::workspaceutils
