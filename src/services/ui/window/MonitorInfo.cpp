#include "services/ui/window/MonitorInfo.h"

#include "services/core/PropList.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace kivui {
namespace {

std::int64_t Area(const kivcore::Rect& r) {
  return r.IsEmpty() ? 0 : std::int64_t(r.width) * r.height;
}

// Squared distance from the point to the nearest point of the rectangle.
std::int64_t DistanceSquared(kivcore::Point p, const kivcore::Rect& r) {
  const std::int64_t dx = p.x < r.left ? r.left - p.x : p.x >= r.Right() ? p.x - r.Right() + 1 : 0;
  const std::int64_t dy = p.y < r.top ? r.top - p.y : p.y >= r.Bottom() ? p.y - r.Bottom() + 1 : 0;
  return dx * dx + dy * dy;
}

// Moves [start, start + size) into [lo, hi): shrinks only when it cannot fit.
void FitSpan(int& start, int& size, int lo, int hi) {
  size = std::min(size, hi - lo);
  start = std::clamp(start, lo, hi - size);
}

}  // namespace

void MonitorInfo::SaveToPropList(kivcore::PropList& list) const {
  list.SetValue("Index", std::int32_t(index));
  list.SetValue("Name", name);
  list.SetValue("Rect", rect);
  list.SetValue("WorkRect", workRect);
  list.SetValue("Scale", scale);
}

const MonitorInfo& MonitorInfo::FromPoint(kivcore::Point p, const std::vector<MonitorInfo>& monitors) {
  const MonitorInfo* best = &monitors.front();
  std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
  for (const auto& m : monitors) {
    const std::int64_t d = DistanceSquared(p, m.rect);
    if (d < bestDistance) {
      best = &m;
      bestDistance = d;
    }
  }
  return *best;
}

const MonitorInfo& MonitorInfo::FromRect(const kivcore::Rect& r,
                                         const std::vector<MonitorInfo>& monitors) {
  const MonitorInfo* best = nullptr;
  std::int64_t bestArea = 0;
  for (const auto& m : monitors) {
    const std::int64_t area = Area(m.rect.Intersection(r));
    if (area > bestArea) {
      best = &m;
      bestArea = area;
    }
  }
  if (best) return *best;
  return FromPoint({r.left + r.width / 2, r.top + r.height / 2}, monitors);
}

kivcore::Rect MonitorInfo::EnsureRectIsVisible(const kivcore::Rect& r,
                                               const std::vector<MonitorInfo>& monitors) {
  if (monitors.empty()) return r;
  const kivcore::Rect area = FromRect(r, monitors).workRect;
  kivcore::Rect out = r;
  FitSpan(out.left, out.width, area.left, area.Right());
  FitSpan(out.top, out.height, area.top, area.Bottom());
  return out;
}

}  // namespace kivui
