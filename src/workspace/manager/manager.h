#pragma once
// Named workspaces: the manager that keeps them as files, the host's providers of built-in
// and system workspaces, and the menus that show them.

#include "workspace/manager/BuiltInWorkspaceProviderBase.h"
#include "workspace/manager/Manager.h"
#include "workspace/manager/ManagerBase.h"
#include "workspace/manager/MenuHelperBase.h"
#include "workspace/manager/PlatformMenuHelper.h"
#include "workspace/manager/SystemWorkspaceProviderBase.h"
