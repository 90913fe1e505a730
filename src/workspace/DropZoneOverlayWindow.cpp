#include "workspace/DropZoneOverlayWindow.h"

#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "workspace/EdgeDropZoneOverlayWindow.h"
#include "workspace/FrameDropZoneOverlayWindow.h"
#include "workspace/TopLevelWindow.h"
#include "workspace/WorkspaceFrame.h"

#include <algorithm>

namespace kivworkspace::workspace {

using kivcore::Point;
using kivcore::Rect;

namespace {

constexpr float kPreviewBand = 10;

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
  const DropZone::DropType before = active_;
  active_ = DropZone::kNone;
  for (const DropZone& zone : zones_) {
    if (!PolygonContains(zone.GetArea(), global)) continue;
    active_ = zone.GetType();
    break;
  }
  if (active_ != before) InvalidateGlobal(globalRect_);
  return active_;
}

void DropZoneOverlayWindow::SetPreviewRect(const Rect& global) {
  if (global == preview_) return;
  InvalidateGlobal(preview_);
  preview_ = global;
  InvalidateGlobal(preview_);
}

void DropZoneOverlayWindow::InvalidateGlobal(const Rect& global) {
  if (global.IsEmpty()) return;
  // The outline is drawn half outside the rectangle.
  UI_InvalidateRect({float(global.left - origin_.x - 2), float(global.top - origin_.y - 2),
                     float(global.width + 4), float(global.height + 4)});
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
  // The preview: an outline with a tinted band inside it. Filling the whole rectangle
  // would cost a blend of every pixel of half a window on each zone change.
  if (!preview_.IsEmpty()) {
    const kivcore::RectF r{float(preview_.left - origin_.x), float(preview_.top - origin_.y),
                           float(preview_.width), float(preview_.height)};
    const float band = std::min({kPreviewBand, r.width / 2, r.height / 2});
    const kivui::Color tint = theme.accent.WithAlpha(90);
    d.FillRect({r.left, r.top, r.width, band}, tint);
    d.FillRect({r.left, r.Bottom() - band, r.width, band}, tint);
    d.FillRect({r.left, r.top + band, band, r.height - 2 * band}, tint);
    d.FillRect({r.Right() - band, r.top + band, band, r.height - 2 * band}, tint);
    d.FrameRect(r, theme.accent, 2);
  }
  // The zones: the side trapezoids tinted, the centre only outlined unless it is active.
  for (const DropZone& zone : zones_) {
    const bool active = zone.GetType() == active_;
    const auto polygon = local(zone.GetArea());
    if (active || zone.GetType() != DropZone::kCentre)
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
