#pragma once
// The docking workspace on the UI framework: the workspace, its windows, frames and panels.

#include "layout/layout.h"
#include "workspace/OS_OverlayWindow.h"
#include "workspace/OS_TabDragger.h"
#include "workspace/OS_TopLevelWindow.h"
#include "workspace/OS_Tracker.h"
#include "workspace/OS_Workspace.h"
#include "workspace/PanelPool.h"
#include "workspace/TabCreator.h"
#include "workspace/TabPanel.h"
#include "workspace/TopLevelWindow.h"
#include "workspace/WindowReanimateData.h"
#include "workspace/WindowRecycler.h"
#include "workspace/Workspace.h"
#include "workspace/WorkspaceDefinition.h"
#include "workspace/WorkspaceFrame.h"
#include "workspace/WorkspaceFrameBase.h"
