#pragma once

#include "layout/LayoutManagerHostInterface.h"

namespace kivworkspace::workspace {

// The window host of a preview manager: layout and snapping always on, nothing to redraw.
class ProxyMgrHostInterface : public LayoutManagerHostInterface {
 public:
  void SuspendRedraws(bool) override {}
  void UpdateNow() override {}
  bool GetSplitterSnappingEnabled() override { return true; }
  bool GetLayoutEnabled() override { return true; }
  int GetTabMinHeight() override { return 0; }
  int GetTabMinWidth() override { return 0; }
};

}  // namespace kivworkspace::workspace
