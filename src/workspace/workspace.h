#pragma once
// The docking workspace: the layout engine (splitter trees of frames).

#include "workspace/Frame.h"
#include "workspace/FrameDataProxy.h"
#include "workspace/FrameHostInterface.h"
#include "workspace/FrameZones.h"
#include "workspace/LayoutManager.h"
#include "workspace/LayoutManagerElement.h"
#include "workspace/LayoutManagerHostInterface.h"
#include "workspace/SnapPoint.h"
#include "workspace/Splitter.h"
