#include "workspace/DropZoneOverlayWindow.h"

#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "workspace/EdgeDropZoneOverlayWindow.h"
#include "workspace/FrameDropZoneOverlayWindow.h"
#include "workspace/TopLevelWindow.h"
#include "workspace/WorkspaceFrame.h"

namespace kivworkspace::workspace {

using kivcore::Point;
using kivcore::Rect;

namespace {

// Even-odd crossing test; points on the left or top edge count as inside.
bool PolygonContains(const std::vector<Point>& polygon, Point p) {
  bool inside = false;
  const std::size_t n = polygon.size();
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const Point a = polygon[i], b = polygon[j];
    if ((a.y > p.y) == (b.y > p.y)) continue;
    const double x = a.x + double(p.y - a.y) * double(b.x - a.x) / double(b.y - a.y);
    if (double(p.x) < x) inside = !inside;
  }
  return inside;
}

}  // namespace

DropZoneOverlayWindow::DropZoneOverlayWindow(Workspace* workspace, TopLevelWindow* target,
                                             TabDragger* dragger, const Rect& globalRect,
                                             std::vector<DropZone> zones)
    : globalRect_(globalRect),
      workspace_(workspace),
      zones_(std::move(zones)),
      target_(target),
      dragger_(dragger) {
  SetNodeID("DropZoneOverlayWindow");
}

DropZoneOverlayWindow::~DropZoneOverlayWindow() = default;

void DropZoneOverlayWindow::CreateOverTarget() {
  const Rect area = target_->GetGlobalClientRect();
  origin_ = area.TopLeft();
  Create(target_, area);
}

DropZone::DropType DropZoneOverlayWindow::DropZoneFromPoint(Point global) {
  active_ = DropZone::kNone;
  for (const DropZone& zone : zones_) {
    if (!PolygonContains(zone.GetArea(), global)) continue;
    active_ = zone.GetType();
    break;
  }
  return active_;
}

void DropZoneOverlayWindow::SetPreviewRect(const Rect& global) {
  if (global == preview_) return;
  preview_ = global;
  UI_Invalidate();
}

void DropZoneOverlayWindow::DropPerformed() {
  dropped_ = true;
  UI_Invalidate();
}

void DropZoneOverlayWindow::UI_Draw(kivui::Drawbot& d, const kivcore::RectF&) {
  if (dropped_) return;
  const kivui::ThemeColors& theme = kivui::ThemeColors::Current();
  const auto local = [this](const std::vector<Point>& area) {
    std::vector<kivcore::PointF> out;
    out.reserve(area.size());
    for (Point p : area) out.push_back({float(p.x - origin_.x), float(p.y - origin_.y)});
    return out;
  };
  if (!preview_.IsEmpty()) {
    const kivcore::RectF r{float(preview_.left - origin_.x), float(preview_.top - origin_.y),
                           float(preview_.width), float(preview_.height)};
    d.FillRect(r, theme.accent.WithAlpha(70));
    d.FrameRect(r, theme.accent, 2);
  }
  for (const DropZone& zone : zones_) {
    const bool active = zone.GetType() == active_;
    const auto polygon = local(zone.GetArea());
    d.FillPolygon(polygon, theme.accent.WithAlpha(active ? 150 : 45));
    d.FramePolygon(polygon, theme.accentText.WithAlpha(active ? 220 : 90));
  }
}

// --- the two kinds ---------------------------------------------------------------------------

EdgeDropZoneOverlayWindow::EdgeDropZoneOverlayWindow(Workspace* workspace, TopLevelWindow* target,
                                                     TabDragger* dragger, const Rect& rect,
                                                     const std::vector<Point>& polygon,
                                                     DropZone::DropType type)
    : DropZoneOverlayWindow(workspace, target, dragger, rect,
                            {DropZone(&target->GetLayoutManager(), polygon, type, nullptr)}) {
  SetActiveDropZone(type);
}

FrameDropZoneOverlayWindow::FrameDropZoneOverlayWindow(Workspace* workspace,
                                                       TopLevelWindow* target, TabDragger* dragger,
                                                       WorkspaceFrame* frame,
                                                       const Rect& frameGlobal,
                                                       const std::vector<int>& exclusions)
    : DropZoneOverlayWindow(
          workspace, target, dragger, frameGlobal,
          target->GetLayoutManager().GetDropZones(frame->GetLMFrame(), frameGlobal, exclusions)),
      frame_(frame) {}

}  // namespace kivworkspace::workspace
