#pragma once
// The layout engine: splitter trees of frames, the layout pass, editing, drop zones.

#include "layout/DropZone.h"
#include "layout/Frame.h"
#include "layout/FrameDataProxy.h"
#include "layout/FrameHostInterface.h"
#include "layout/FrameHostProxy.h"
#include "layout/FrameZones.h"
#include "layout/LayoutManager.h"
#include "layout/LayoutManagerElement.h"
#include "layout/LayoutManagerHostInterface.h"
#include "layout/LayoutManagerV1.h"
#include "layout/PreviewSplitter.h"
#include "layout/ProxyMgrHostInterface.h"
#include "layout/SecondaryUIFrame.h"
#include "layout/SnapPoint.h"
#include "layout/Splitter.h"
#include "layout/TouchLayoutManager.h"
