// The window's side of a tab drag: its drop-zone overlay and the following of the pointer
// by a drag window.
#include "services/core/Error.h"
#include "services/ui/controls/UI_TabWell.h"
#include "services/ui/window/OS_MonitorInfo.h"
#include "workspace/drag/internal/EdgeDropZoneOverlayWindow.h"
#include "workspace/drag/internal/FrameDropZoneOverlayWindow.h"
#include "workspace/drag/TabDragger.h"
#include "workspace/windows/TopLevelWindow.h"

namespace kivworkspace::workspace {

using kivcore::Point;
using kivcore::Rect;

EdgeDropZoneOverlayWindow* TopLevelWindow::GetEdgeDropZoneOverlay() const {
  return dynamic_cast<EdgeDropZoneOverlayWindow*>(overlay_.get());
}

FrameDropZoneOverlayWindow* TopLevelWindow::GetFrameDropZoneOverlay() const {
  return dynamic_cast<FrameDropZoneOverlayWindow*>(overlay_.get());
}

bool TopLevelWindow::AllowsEdgeDrops(const TabDragger& dragger) const {
  // Along this window's own edges a drop must change something: not when its only frame
  // is the one being dragged.
  return dragger.GetSourceWindow() != this || GetFrameCount() != 1 ||
         (!dragger.IsWholeFrame() && dragger.GetSourceTabCount() >= 2);
}

std::vector<DropZone> TopLevelWindow::GetFrameDropZones(WorkspaceFrame& frame) const {
  const Rect global = GetFrameGlobalRect(frame);
  std::vector<int> exclusions;
  CalculateDropZoneExclusionsForEdges(global, exclusions);
  return layout_->GetDropZones(frame.GetLMFrame(), global, exclusions);
}

DropZoneOverlayWindow* TopLevelWindow::CreateDropZoneOverlay(TabDragger* dragger, Point global,
                                                             WorkspaceFrame* frame) {
  DropZoneOverlayPtr overlay;
  if (GetFrameCount() == 0) {
    overlay = CreateWholeAreaOverlay(dragger);
  } else {
    if (AllowsEdgeDrops(*dragger)) overlay = CreateEdgeDropZoneOverlay(dragger, global);
    if (!overlay && frame) overlay = CreateFrameDropZoneOverlay(dragger, global, frame);
  }
  DestroyDropZoneOverlay();
  overlay_ = std::move(overlay);
  return overlay_.get();
}

DropZoneOverlayPtr TopLevelWindow::CreateEdgeDropZoneOverlay(TabDragger* dragger, Point global) {
  Rect rect;
  std::vector<Point> polygon;
  const DropZone::DropType type = GetEdgeDropZone(global, rect, polygon);
  if (type == DropZone::kNone) return nullptr;
  return ShowOverTarget(std::make_shared<EdgeDropZoneOverlayWindow>(this, dragger,
                                                                    rect, polygon, type));
}

DropZoneOverlayPtr TopLevelWindow::CreateFrameDropZoneOverlay(TabDragger* dragger, Point,
                                                              WorkspaceFrame* frame) {
  if (!frame || !frame->AcceptsTabDrop()) return nullptr;
  return ShowOverTarget(std::make_shared<FrameDropZoneOverlayWindow>(
      this, dragger, frame, GetFrameGlobalRect(*frame), GetFrameDropZones(*frame)));
}

DropZoneOverlayPtr TopLevelWindow::CreateWholeAreaOverlay(TabDragger* dragger) {
  const Rect a = GetDropArea();
  const std::vector<Point> polygon{a.TopLeft(), {a.Right(), a.top}, {a.Right(), a.Bottom()}, {a.left, a.Bottom()}};
  return ShowOverTarget(std::make_shared<EdgeDropZoneOverlayWindow>(this, dragger, a,
                                                                    polygon, DropZone::kCentre));
}

DropZoneOverlayPtr TopLevelWindow::ShowOverTarget(DropZoneOverlayPtr overlay) {
  try {
    overlay->CreateOverTarget();
  } catch (const kivcore::config::Error&) {
    return nullptr;  // no overlay: the drag goes on without zones here
  }
  return overlay;
}

void TopLevelWindow::DestroyDropZoneOverlay() {
  if (!overlay_) return;
  DropZoneOverlayPtr overlay = std::move(overlay_);
  overlay->UI_SetOpacity(0);
  overlay->UI_Show(false);
}

void TopLevelWindow::SetDragPosition(Point global, bool wholeFrame) {
  WorkspaceFrame* frame = GetRootFrame();
  if (!frame) return;
  const kivui::UI_TabWell& well = frame->GetTabWell();
  kivcore::RectF grip = well.GetLocalBounds();
  const int front = frame->GetFrontTabIndex();
  if (!wholeFrame && front >= 0) grip = well.GetTabRect(front);
  const Point centre =
      well.UI_LocalToGlobal({int(grip.left + grip.width / 2), int(grip.top + grip.height / 2)});
  Rect r = GetGlobalStructureRect().Offset(global.x - centre.x, global.y - centre.y);
  const Rect monitor = kivui::OS_MonitorInfo::FromPoint(global).rect;
  if (r.top < monitor.top) r.top = monitor.top;
  SetGlobalStructureRect(r);
}

}  // namespace kivworkspace::workspace
