#pragma once

#include "services/core/PointT.h"

namespace kivui {

// Where the mouse pointer is now, in global (screen) coordinates. While the input of
// kivui::testing drives the UI, it is the point of the last pointer event sent, as it would
// be for a real pointer.
kivcore::Point GetGlobalCursorPos();

}  // namespace kivui
