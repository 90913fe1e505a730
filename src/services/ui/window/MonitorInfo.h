#pragma once

#include "services/core/PointT.h"
#include "services/core/RectT.h"

#include <string>
#include <vector>

namespace kivcore {
class PropList;
}

namespace kivui {

// One display: its whole rectangle and the part not taken by panels and docks, in global
// coordinates.
struct MonitorInfo {
  int index = 0;
  std::string name;
  kivcore::Rect rect;
  kivcore::Rect workRect;
  float scale = 1;

  // Writes "Index", "Name", "Rect", "WorkRect" and "Scale".
  void SaveToPropList(kivcore::PropList& list) const;

  // The monitor holding the point, else the nearest one. `monitors` must not be empty.
  static const MonitorInfo& FromPoint(kivcore::Point p, const std::vector<MonitorInfo>& monitors);
  // The monitor sharing the largest area with the rectangle, else the one nearest its
  // centre.
  static const MonitorInfo& FromRect(const kivcore::Rect& r,
                                     const std::vector<MonitorInfo>& monitors);
  // The rectangle moved (and shrunk only when larger than the work area) so that it lies
  // wholly on the work area of the monitor it mostly covers.
  static kivcore::Rect EnsureRectIsVisible(const kivcore::Rect& r,
                                           const std::vector<MonitorInfo>& monitors);
};

}  // namespace kivui
