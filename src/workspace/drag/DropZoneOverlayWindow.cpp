#include "workspace/drag/DropZoneOverlayWindow.h"

#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "workspace/drag/internal/EdgeDropZoneOverlayWindow.h"
#include "workspace/windows/TopLevelWindow.h"

#include <algorithm>
#include <cmath>

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

DropZoneOverlayWindow::DropZoneOverlayWindow(TopLevelWindow* target,
                                             TabDragger* dragger, const Rect& globalRect,
                                             std::vector<DropZone> zones)
    : globalRect_(globalRect),
      zones_(std::move(zones)),
      target_(target),
      dragger_(dragger) {
  SetNodeID("DropZoneOverlayWindow");
}

DropZoneOverlayWindow::~DropZoneOverlayWindow() = default;

void DropZoneOverlayWindow::CreateOverTarget() {
  // A frame's previews lie within the frame; an edge's span the window.
  const Rect area = zones_.size() > 1 ? globalRect_ : target_->GetGlobalClientRect();
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
  if (active_ != before) UI_Invalidate();
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
  // The preview: an outline with a tinted band inside it.
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
  // The zones: tinted, the centre only while active; outlines opaque.
  for (const DropZone& zone : zones_) {
    const bool active = zone.GetType() == active_;
    const auto polygon = local(zone.GetArea());
    if (active || zone.GetType() != DropZone::kCentre)
      FillZone(d, polygon, theme.accent.WithAlpha(active ? 150 : 45));
    FrameZone(d, polygon, active ? theme.accentText : theme.accent);
  }
}

// Outlines likewise: straight edges as one-pixel rectangles, only the short diagonals of
// the trapezoids as lines.
void DropZoneOverlayWindow::FrameZone(kivui::Drawbot& d, const std::vector<kivcore::PointF>& p,
                                      kivui::Color colour) {
  for (std::size_t i = 0; i < p.size(); ++i) {
    const kivcore::PointF a = p[i], b = p[(i + 1) % p.size()];
    if (a.x == b.x || a.y == b.y) {
      d.FillRect({std::min(a.x, b.x), std::min(a.y, b.y), std::max(std::fabs(b.x - a.x), 1.0f),
                  std::max(std::fabs(b.y - a.y), 1.0f)},
                 colour);
    } else {
      d.DrawLine(a, b, colour);
    }
  }
}

// Translucent polygons cost the raster engine time for every row they span, rectangles
// next to nothing: a zone is filled as rectangles where its shape allows, so that a frame
// a thousand pixels tall redraws in microseconds.
void DropZoneOverlayWindow::FillZone(kivui::Drawbot& d, const std::vector<kivcore::PointF>& p,
                                     kivui::Color colour) {
  float left = p.front().x, right = left, top = p.front().y, bottom = top;
  for (kivcore::PointF q : p) {
    left = std::min(left, q.x), right = std::max(right, q.x);
    top = std::min(top, q.y), bottom = std::max(bottom, q.y);
  }
  const bool rectangle = std::all_of(p.begin(), p.end(), [&](kivcore::PointF q) {
    return (q.x == left || q.x == right) && (q.y == top || q.y == bottom);
  });
  if (rectangle) return d.FillRect({left, top, right - left, bottom - top}, colour);
  // A side trapezoid along a vertical edge: p0 and p3 on the edge, p1 and p2 inside.
  const bool tall = p.size() == 4 && p[0].x == p[3].x && p[1].x == p[2].x &&
                    bottom - top > right - left;
  if (!tall) return d.FillPolygon(p, colour);
  const float y1 = std::min(p[1].y, p[2].y), y2 = std::max(p[1].y, p[2].y);
  d.FillRect({left, y1, right - left, y2 - y1}, colour);
  d.FillPolygon({p[0], p[1], {p[0].x, p[1].y}}, colour);
  d.FillPolygon({p[3], p[2], {p[3].x, p[2].y}}, colour);
}

// --- the edge kind ----------------------------------------------------------------------------

EdgeDropZoneOverlayWindow::EdgeDropZoneOverlayWindow(TopLevelWindow* target,
                                                     TabDragger* dragger, const Rect& rect,
                                                     const std::vector<Point>& polygon,
                                                     DropZone::DropType type)
    : DropZoneOverlayWindow(target, dragger, rect,
                            {DropZone(&target->GetLayoutManager(), polygon, type, nullptr)}) {
  SetActiveDropZone(type);
}

}  // namespace kivworkspace::workspace
