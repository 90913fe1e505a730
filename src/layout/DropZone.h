#pragma once

#include "services/core/PointT.h"
#include "services/core/RectT.h"

#include <vector>

namespace kivworkspace::workspace {

class Frame;
class LayoutManager;

// One place a dragged panel can be dropped: a closed polygon in global coordinates over a
// frame (or along a window edge, with no frame).
class DropZone {
 public:
  // A drop type minus 1 is the insertion type of the drop (LayoutManager::InsertionType).
  enum DropType {
    kNone = 0,
    kTop = 1,
    kLeft = 2,
    kBottom = 3,
    kRight = 4,
    kCentre = 5,
    kTabWell = 6
  };

  DropZone() = default;
  DropZone(LayoutManager* manager, const std::vector<kivcore::Point>& area, DropType type,
           Frame* frame)
      : manager_(manager), area_(area), frame_(frame), type_(type) {}

  LayoutManager* GetLayoutManager() const { return manager_; }
  std::vector<kivcore::Point> GetArea() const { return area_; }
  Frame* GetFrame() const { return frame_; }
  DropType GetType() const { return type_; }
  // The mean of the polygon's corners: a point well inside a zone of the usual shapes.
  kivcore::Point GetCentre() const {
    long x = 0, y = 0;
    for (kivcore::Point p : area_) x += p.x, y += p.y;
    const long n = area_.empty() ? 1 : long(area_.size());
    return {int(x / n), int(y / n)};
  }
  // Always empty: the rectangle a drop would give comes from the manager's previews.
  kivcore::Rect GetPositionOfFrameIfDropped(const Frame*) const { return {}; }

 private:
  LayoutManager* manager_ = nullptr;
  std::vector<kivcore::Point> area_;
  Frame* frame_ = nullptr;
  DropType type_ = kNone;
};

}  // namespace kivworkspace::workspace
