#pragma once
// The docking workspace: the layout engine (splitter trees of frames).

#include "workspace/DropZone.h"
#include "workspace/Frame.h"
#include "workspace/FrameDataProxy.h"
#include "workspace/FrameHostInterface.h"
#include "workspace/FrameHostProxy.h"
#include "workspace/FrameZones.h"
#include "workspace/LayoutManager.h"
#include "workspace/LayoutManagerElement.h"
#include "workspace/LayoutManagerHostInterface.h"
#include "workspace/LayoutManagerV1.h"
#include "workspace/PreviewSplitter.h"
#include "workspace/ProxyMgrHostInterface.h"
#include "workspace/SecondaryUIFrame.h"
#include "workspace/SnapPoint.h"
#include "workspace/Splitter.h"
#include "workspace/TouchLayoutManager.h"
