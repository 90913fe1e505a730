#pragma once
// The library's script objects.

#include "scripting/IndicatorOverlayObj.h"
#include "scripting/IndicatorOverlayWindow.h"
#include "scripting/ScriptObjects.h"
#include "scripting/UIAutomationHelper.h"
