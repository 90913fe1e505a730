#pragma once
// The user's workspace commands and the standard places of workspace files.

#include "workspaceutils/WorkspaceDirs.h"
#include "workspaceutils/WorkspaceCommands.h"
#include "workspaceutils/URLImporter.h"
