#pragma once

#include "services/core/PointT.h"
#include "services/ui/window/NativeRect.h"

namespace kivworkspace::workspace {

// A window's native placement: how it is shown and where it goes when restored.
struct WindowPlacement {
  enum ShowCommand : unsigned {
    kHide = 0,
    kShowNormal = 1,
    kShowMinimized = 2,
    kShowMaximized = 3,
    kMinimize = 6,
  };
  enum Flags : unsigned { kRestoreToMaximized = 2 };

  unsigned showCmd = kShowNormal;
  unsigned flags = 0;
  kivcore::Point minPos{-1, -1};
  kivcore::Point maxPos{-1, -1};
  kivui::NativeRect normalPos;
};

}  // namespace kivworkspace::workspace
