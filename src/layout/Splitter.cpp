#include "layout/Splitter.h"

#include "services/core/PixelFraction.h"
#include "layout/ChildMeasurements.h"
#include "layout/LayoutManager.h"
#include "layout/PostOrderWalk.h"

#include <algorithm>

namespace kivworkspace::workspace {

using kivcore::Point;
using kivcore::Rect;

Splitter::Splitter(LayoutManager* manager, bool vertical)
    : LayoutManagerElement(manager, Kind::kSplitter), vertical_(vertical) {}

static_assert(sizeof(void*) != 8 || sizeof(Splitter) <= 96, "a splitter should fit in 96 bytes");

void Splitter::SetPlacement(float placement) { placement_ = std::clamp(placement, 0.0f, 1.0f); }

float Splitter::GetPlacement() const {
  if (!IsVisible()) return std::clamp(placement_, 0.0f, 1.0f);
  return GetPlacementFor(MeasureChild(*leftOrTop_).minimum, MeasureChild(*rightOrBottom_).minimum);
}

float Splitter::GetPlacementFor(const Point& minimumA, const Point& minimumB) const {
  float p = placement_;
  if (IsVisible()) {
    const bool inY = AxisIsY();
    const int minA = Along(minimumA, inY);
    const int minB = Along(minimumB, inY);
    const int length = Length(location_);
    if (length < minA + minB) return 0.5f;
    const int a = CalcPixelPlacement(p, location_) - Origin(location_);
    if ((a < minA || length - a < minB) && length != 0) {
      p = a < minA ? static_cast<float>(minA) / static_cast<float>(length)
                   : static_cast<float>(length - minB) / static_cast<float>(length);
    }
  }
  return std::clamp(p, 0.0f, 1.0f);
}

int Splitter::CalcPixelPlacement(float placement, const Rect& rect) const {
  return kivcore::FractionToPixel(static_cast<float>(Length(rect)), placement,
                                  static_cast<float>(Origin(rect)));
}

int Splitter::GetPixelPlacement() const { return CalcPixelPlacement(GetPlacement(), location_); }

bool Splitter::CalcPlacement(int pixel, float& placement) const {
  const int length = Length(location_);
  if (length == 0) return false;
  placement = kivcore::PixelToFraction(
      static_cast<float>(pixel), static_cast<float>(Origin(location_)), static_cast<float>(length));
  return true;
}

void Splitter::SetPixelPlacement(int pixel) {
  float placement = 0;
  if (CalcPlacement(pixel, placement)) SetPlacement(placement);
}

void Splitter::GetPlacementSizes(int& leftOrTop, int& rightOrBottom) const {
  leftOrTop = CalcPixelPlacement(placement_, location_) - Origin(location_);
  rightOrBottom = Length(location_) - leftOrTop;
}

int Splitter::GetPrevPixelPlacement() const {
  return kivcore::FractionToPixel(static_cast<float>(prevLength_), prevPlacement_,
                                  static_cast<float>(prevOrigin_));
}

void Splitter::GetPrevPlacementSizes(int& leftOrTop, int& rightOrBottom) const {
  leftOrTop = GetPrevPixelPlacement() - prevOrigin_;
  rightOrBottom = prevLength_ - leftOrTop;
}

void Splitter::SavePlacementState(float effectivePlacement) {
  prevPlacement_ = effectivePlacement;
  prevOrigin_ = Origin(location_);
  prevLength_ = Length(location_);
}

void Splitter::SetVertical(bool vertical) {
  if (vertical == vertical_) return;
  vertical_ = vertical;
  prevOrigin_ = Origin(location_);
  prevLength_ = Length(location_);
  ForgetMeasurements();
}

Rect Splitter::GetDrawRect() const {
  Rect r = location_;
  const int pixel = GetPixelPlacement();
  if (vertical_) {
    r.left = pixel;
    r.width = 0;
  } else {
    r.top = pixel;
    r.height = 0;
  }
  if (leftOrTop_) {
    const int h = GetLayoutManager() ? GetLayoutManager()->GetSplitterHalfWidth() : 0;
    r = r.Inset(-h);
  }
  return r;
}

bool Splitter::ContainsPoint(int x, int y) const {
  return GetDrawRect().Contains(kivcore::Point{x, y});
}

bool Splitter::ContainsRect(const Rect& r) const { return GetDrawRect().Intersects(r); }

void Splitter::ReplaceElement(LayoutManagerElement* oldElement, LayoutManagerElement* newElement) {
  if (leftOrTop_ == oldElement) {
    leftOrTop_ = newElement;
  } else if (rightOrBottom_ == oldElement) {
    rightOrBottom_ = newElement;
  }
}

bool Splitter::SameOrientation(const LayoutManagerElement* other) const {
  const Splitter* s = other ? other->AsSplitter() : nullptr;
  return !s || s->vertical_ == vertical_;
}

Point Splitter::CombineMinimums(const Point& a, const Point& b) const {
  const bool hasA = IsLeftOrTopSubtreeVisible(), hasB = IsRightOrBottomSubtreeVisible();
  if (hasA && hasB) return Join(vertical_, a, b);
  return hasA ? a : hasB ? b : Point{0, 0};
}

Measurements Splitter::Combine() const {
  const bool hasA = IsLeftOrTopSubtreeVisible(), hasB = IsRightOrBottomSubtreeVisible();
  return Combine(hasA ? MeasureChild(*leftOrTop_) : Measurements{},
                 hasB ? MeasureChild(*rightOrBottom_) : Measurements{});
}

Measurements Splitter::Measured() const {
  const LayoutManager* m = GetLayoutManager();
  const std::uint32_t epoch = m ? m->GetMeasureEpoch() : 0;
  if (IsMeasuredIn(epoch)) return StoredMeasurements();
  // Outside a pass: measured in a scope of its own, so that a deep tree is still measured
  // deepest-first, each subtree once.
  if (epoch == 0) return m ? m->MeasureInScope(*this) : Combine();
  MeasureSubtree(epoch);
  return StoredMeasurements();
}

// Only the present sides, and only splitters not yet measured for the epoch, are walked.
void Splitter::MeasureSubtree(std::uint32_t epoch) const {
  // The walk changes nothing but the measurement caches, which are mutable.
  WalkPostOrder<Measurements>(
      const_cast<Splitter*>(this),
      [](Splitter* s, bool leftOrTop) -> LayoutManagerElement* {
        if (leftOrTop) return s->IsLeftOrTopSubtreeVisible() ? s->leftOrTop_ : nullptr;
        return s->IsRightOrBottomSubtreeVisible() ? s->rightOrBottom_ : nullptr;
      },
      [epoch](Splitter* s) { return s->measuredEpoch_ != epoch; },
      [](LayoutManagerElement* e) { return e ? MeasureChild(*e) : Measurements{}; },
      [epoch](Splitter* s, const Measurements& a, const Measurements& b, Measurements& out) {
        s->Combine(a, b, out);
        s->StoreMeasurements(out, epoch);
      });
}

bool Splitter::AllowSnapping(bool inY, Frame* frame) const {
  if (IsLeftOrTopSubtreeVisible() && !leftOrTop_->AllowSnapping(inY, frame)) return false;
  return !IsRightOrBottomSubtreeVisible() || rightOrBottom_->AllowSnapping(inY, frame);
}

void Splitter::DoGetSnapSizes(std::vector<Point>& sizes) const {
  if (IsLeftOrTopSubtreeVisible()) leftOrTop_->GetSnapSizes(sizes);
  if (IsRightOrBottomSubtreeVisible()) {
    std::vector<Point> right;
    rightOrBottom_->GetSnapSizes(right);
    const int shift = GetPixelPlacement();
    for (Point& p : right) Along(p, AxisIsY()) += shift;
    sizes.insert(sizes.end(), right.begin(), right.end());
  }
}

}  // namespace kivworkspace::workspace
