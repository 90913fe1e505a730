#pragma once
// The workspace switcher and the host's shared panels.

#include "sharedui/WorkspaceSwitcherListener.h"
#include "sharedui/WorkspaceSwitcherManager.h"
#include "sharedui/WorkspaceSwitcherDialog.h"
#include "sharedui/WorkspaceSwitcherBar.h"
#include "sharedui/WorkspaceSwitcherBarCapture.h"
#include "sharedui/WorkspaceSwitcherBarDragHandle.h"
#include "sharedui/WorkspaceSwitcherBarDragTarget.h"
#include "sharedui/WorkspaceSwitcherBarTabWell.h"
#include "sharedui/WorkspacesPopup.h"
#include "sharedui/ProgressPanel.h"
