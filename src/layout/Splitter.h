#pragma once

#include "services/core/RectT.h"
#include "layout/LayoutManagerElement.h"

#include <algorithm>
#include <cstdint>

namespace kivworkspace::workspace {

// An inner node of the layout tree: cuts its location in two along one axis. A vertical
// splitter has a vertical bar with its children side by side (axis x); a horizontal one
// has its children one above the other (axis y). Owned by the layout manager.
class Splitter : public LayoutManagerElement {
 public:
  Splitter(LayoutManager* manager, bool vertical);

  // Forgets the measurements cached for the manager's measuring epochs (when the epoch
  // counter starts again from the beginning).
  void ForgetMeasurements() const { measuredEpoch_ = 0; }

  // A splitter of a preview copy is owned by the copy it belongs to, not by its manager.
  virtual bool IsPreview() const { return false; }

  LayoutManagerElement* GetLeftOrTop() const { return leftOrTop_; }
  void SetLeftOrTop(LayoutManagerElement* e) { leftOrTop_ = e; }
  LayoutManagerElement* GetRightOrBottom() const { return rightOrBottom_; }
  void SetRightOrBottom(LayoutManagerElement* e) { rightOrBottom_ = e; }
  void SetLeftOrTopVisible(bool visible) { leftOrTopVisible_ = visible; }
  void SetRightOrBottomVisible(bool visible) { rightOrBottomVisible_ = visible; }
  bool IsVertical() const { return vertical_; }
  // Turning a splitter takes its current location as the saved one along the new axis.
  void SetVertical(bool vertical);
  bool GetConstrained() const { return constrained_; }
  void SetConstrained(bool constrained) { constrained_ = constrained; }
  const kivcore::Rect& GetLocation() const { return location_; }
  void SetLocation(const kivcore::Rect& location) { location_ = location; }
  float GetPrevPlacement() const { return prevPlacement_; }

  // A side is present when it has a child and its visible flag is set.
  bool IsLeftOrTopSubtreeVisible() const { return leftOrTop_ && leftOrTopVisible_; }
  bool IsRightOrBottomSubtreeVisible() const { return rightOrBottom_ && rightOrBottomVisible_; }
  bool IsVisible() const { return IsLeftOrTopSubtreeVisible() && IsRightOrBottomSubtreeVisible(); }

  // Store the value clamped to 0..1.
  void SetPlacement(float placement);
  void SetPlacementNormalize(float placement) { SetPlacement(placement); }
  // The stored placement moved, where needed, so that both children get their minimum.
  float GetPlacement() const;
  // The same for the given minimum sizes of the two children.
  float GetPlacementFor(const kivcore::Point& minimumA, const kivcore::Point& minimumB) const;
  float GetStoredPlacement() const { return placement_; }

  // The bar's absolute coordinate on the location.
  int GetPixelPlacement() const;
  // Nothing happens when the location has zero length.
  void SetPixelPlacement(int pixel);
  // The fraction of pixel on the location, unclamped; false when the length is 0.
  bool CalcPlacement(int pixel, float& placement) const;
  int CalcPixelPlacement(float placement, const kivcore::Rect& rect) const;
  // Sizes of the two sides for the stored placement.
  void GetPlacementSizes(int& leftOrTop, int& rightOrBottom) const;
  int GetPrevPixelPlacement() const;
  void GetPrevPlacementSizes(int& leftOrTop, int& rightOrBottom) const;
  void SavePlacementState() { SavePlacementState(GetPlacement()); }
  void SavePlacementState(float effectivePlacement);
  // Children's measurements (or minimum sizes) combined over the present sides: sizes summed
  // along the axis and the greatest across it; stretchy when either side is.
  Measurements Combine(const Measurements& a, const Measurements& b) const {
    Measurements out;
    Combine(a, b, out);
    return out;
  }
  void Combine(const Measurements& a, const Measurements& b, Measurements& out) const {
    const bool hasA = IsLeftOrTopSubtreeVisible(), hasB = IsRightOrBottomSubtreeVisible();
    if (hasA && hasB) {
      out = {Join(vertical_, a.minimum, b.minimum), Join(vertical_, a.constraint, b.constraint),
             a.stretchyX || b.stretchyX, a.stretchyY || b.stretchyY};
    } else {
      out = hasA ? a : hasB ? b : Measurements{};
    }
  }
  kivcore::Point CombineMinimums(const kivcore::Point& a, const kivcore::Point& b) const;
  // Combine(), cached for the manager's measuring epoch (see LayoutManager) so that a pass
  // over a deep tree measures each subtree once instead of once per ancestor.
  Measurements Measured() const;
  // Whether the cache holds the measurements of measuring epoch `epoch` (never of 0), and
  // what it holds.
  bool IsMeasuredIn(std::uint32_t epoch) const { return epoch != 0 && measuredEpoch_ == epoch; }
  Measurements StoredMeasurements() const {
    return {minimum_, constraint_, stretchyX_, stretchyY_};
  }
  // Keeps m as this splitter's measurements for the manager's measuring epoch `epoch`.
  void StoreMeasurements(const Measurements& m, std::uint32_t epoch) const {
    minimum_ = m.minimum;
    constraint_ = m.constraint;
    stretchyX_ = m.stretchyX;
    stretchyY_ = m.stretchyY;
    measuredEpoch_ = epoch;
  }

  // The bar rectangle, grown by the manager's splitter half width.
  kivcore::Rect GetDrawRect() const;
  bool ContainsPoint(int x, int y) const;
  bool ContainsRect(const kivcore::Rect& r) const;

  void ReplaceElement(LayoutManagerElement* oldElement, LayoutManagerElement* newElement);
  bool SameOrientation(const LayoutManagerElement* other) const;

  bool AllowSnapping(bool inY, Frame* frame) const override;

  // Origin and length of a rectangle along this splitter's axis.
  int Origin(const kivcore::Rect& r) const { return vertical_ ? r.left : r.top; }
  int Length(const kivcore::Rect& r) const { return vertical_ ? r.width : r.height; }
  // The in-y flag for questions along this splitter's axis.
  bool AxisIsY() const { return !vertical_; }

 protected:
  kivcore::Point DoGetMinimumSize() const override { return Measured().minimum; }
  void DoGetSnapSizes(std::vector<kivcore::Point>& sizes) const override;
  void DoGetConstraintSize(kivcore::Point& size) const override { size = Measured().constraint; }
  bool DoGetIsStretchy(bool inY) const override { return Measured().Stretchy(inY); }
  Measurements DoMeasure() const override { return Measured(); }

 private:
  // Sizes summed along the axis (x for a vertical splitter) and the greatest across it.
  static kivcore::Point Join(bool vertical, const kivcore::Point& p, const kivcore::Point& q) {
    return vertical ? kivcore::Point{p.x + q.x, std::max(p.y, q.y)}
                    : kivcore::Point{std::max(p.x, q.x), p.y + q.y};
  }
  // Combine() of the children's own measurements.
  Measurements Combine() const;
  // Stores Combine() for the epoch in every splitter of the subtree that lacks it.
  void MeasureSubtree(std::uint32_t epoch) const;
  // Laid out so that a splitter fits in 96 bytes (the flags first, in the padding after the
  // element's kind): a pass over 10,000 frames then keeps its splitters and frames within
  // a 2 MiB cache.
  bool vertical_ : 1;
  bool constrained_ : 1 = false;
  bool leftOrTopVisible_ : 1 = true;
  bool rightOrBottomVisible_ : 1 = true;
  mutable bool stretchyX_ : 1 = false;
  mutable bool stretchyY_ : 1 = false;
  float placement_ = 0.5f;
  float prevPlacement_ = 0.5f;
  kivcore::Rect location_;
  // The previous location, along the axis: only that part is ever read.
  int prevOrigin_ = 0;
  int prevLength_ = 0;
  // The last Measured() result and its epoch (0: none).
  mutable kivcore::Point minimum_;
  mutable kivcore::Point constraint_;
  mutable std::uint32_t measuredEpoch_ = 0;
  LayoutManagerElement* leftOrTop_ = nullptr;
  LayoutManagerElement* rightOrBottom_ = nullptr;
};

inline Splitter* LayoutManagerElement::AsSplitter() {
  return Is(Kind::kSplitter) ? static_cast<Splitter*>(this) : nullptr;
}

}  // namespace kivworkspace::workspace
