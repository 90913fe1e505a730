#pragma once
// The docking workspace on the UI framework: the workspace and its panels, frames, windows,
// dragging, and definitions with their builders. The named-workspace manager has an
// umbrella of its own, "workspace/manager/manager.h".

#include "layout/layout.h"
#include "workspace/core/TabCreator.h"
#include "workspace/core/TabPanel.h"
#include "workspace/core/Workspace.h"
#include "workspace/core/WorkspaceUtils.h"
#include "workspace/definition/FrameBuilder.h"
#include "workspace/definition/SplitterBuilder.h"
#include "workspace/definition/WorkspaceBuilder.h"
#include "workspace/definition/WorkspaceDefinition.h"
#include "workspace/drag/TabDragger.h"
#include "workspace/frames/StackedWorkspaceFrame.h"
#include "workspace/frames/TablessWorkspaceFrame.h"
#include "workspace/frames/WorkspaceBorderElement.h"
#include "workspace/frames/WorkspaceFrame.h"
#include "workspace/windows/TopLevelWindow.h"
