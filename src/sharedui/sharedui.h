#pragma once
// The workspace switcher and the host's shared panels.

#include "sharedui/WorkspaceSwitcherListener.h"
#include "sharedui/WorkspaceSwitcherManager.h"
#include "sharedui/WorkspaceSwitcherDialog.h"
