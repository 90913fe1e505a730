#include "layout/FrameHostProxy.h"

namespace kivworkspace::workspace {

FrameHostProxy::FrameHostProxy(FrameHostInterface* real)
    : real_(real),
      shown_(real->IsFrameShown()),
      tabPanelGlobal_(real->GetTabPanelFrameGlobalRect()),
      local_(real->GetFrameLocalRect()),
      tabWellGlobal_(real->GetTabWellGlobalRect()) {}

void FrameHostProxy::SetSizeAndPos(const FrameZones& zones) {
  const kivcore::Rect& placed = zones[FrameZones::kWhole];
  // The change of position is measured from where the frame was: the real frame's place
  // before the first placement, the last placement after it.
  const kivcore::Rect& from = frameRect_.IsEmpty() ? local_ : frameRect_;
  const int dx = placed.left - from.left, dy = placed.top - from.top;
  tabPanelGlobal_ = tabPanelGlobal_.Offset(dx, dy);
  tabWellGlobal_ = tabWellGlobal_.Offset(dx, dy);
  local_ = {placed.left, placed.top, placed.width, placed.height};
  frameRect_ = placed;
}

}  // namespace kivworkspace::workspace
