#include "layout/SplitterTrackerMark2.h"

#include "layout/Frame.h"
#include "layout/LayoutManagerHostInterface.h"
#include "layout/SnapPoint.h"
#include "layout/Splitter.h"

#include <algorithm>
#include <cstdlib>

namespace kivworkspace::workspace {

struct SplitterTrackerMark2::Bar {
  Splitter* splitter;
  Frame* nearestFrame[2] = {nullptr, nullptr};  // left or top side, right or bottom side
  int count[2] = {0, 0};                         // same-orientation bars on each side
  int min = 0, max = 0;
  std::vector<Candidate> candidates;
  std::vector<Splitter*> exclude;
};

namespace {

bool Vertical(const Splitter& s) { return s.IsVertical(); }
int AxisStart(const Splitter& s) { return Vertical(s) ? s.GetLocation().left : s.GetLocation().top; }
int AxisEnd(const Splitter& s) { return AxisStart(s) + s.Length(s.GetLocation()); }

// The frame beside the bar on one side: down the same-orientation splitters, the child
// that faces the bar, or the other one where a kept placeholder hides the facing side.
Frame* NearestFrame(LayoutManagerElement* e, bool vertical, bool leftOrTopSide) {
  while (e) {
    if (Frame* f = e->AsFrame()) return f;
    Splitter* s = e->AsSplitter();
    if (!s || s->IsVertical() != vertical) return nullptr;
    const bool facingShown =
        leftOrTopSide ? s->IsRightOrBottomSubtreeVisible() : s->IsLeftOrTopSubtreeVisible();
    e = leftOrTopSide == facingShown ? s->GetRightOrBottom() : s->GetLeftOrTop();
  }
  return nullptr;
}

}  // namespace

SplitterTrackerMark2::SplitterTrackerMark2(LayoutManager& manager,
                                           const std::vector<Splitter*>& splitters)
    : manager_(manager),
      tabMinWidth_(manager.GetHostInterface()->GetTabMinWidth()),
      tabMinHeight_(manager.GetHostInterface()->GetTabMinHeight()) {
  for (Splitter* s : splitters) {
    auto bar = std::make_unique<Bar>();
    bar->splitter = s;
    bars_.push_back(std::move(bar));
  }
}

SplitterTrackerMark2::~SplitterTrackerMark2() = default;

int SplitterTrackerMark2::GetMin(std::size_t bar) const { return bars_.at(bar)->min; }
int SplitterTrackerMark2::GetMax(std::size_t bar) const { return bars_.at(bar)->max; }

void SplitterTrackerMark2::Begin(const kivcore::Point& p) {
  last_ = p;
  for (auto& bar : bars_) Prepare(*bar);
}

void SplitterTrackerMark2::WalkSide(Bar& bar, LayoutManagerElement* e, bool leftOrTopSide) {
  Splitter* s = e ? e->AsSplitter() : nullptr;
  if (!s) return;
  const bool vertical = Vertical(*bar.splitter);
  if (s->IsVertical() == vertical) {
    // A splitter with a hidden side shows no bar, but its shown side may hold some.
    if (s->IsVisible()) {
      ++bar.count[leftOrTopSide ? 0 : 1];
      bar.exclude.push_back(s);
    }
    if (s->IsLeftOrTopSubtreeVisible()) WalkSide(bar, s->GetLeftOrTop(), leftOrTopSide);
    if (s->IsRightOrBottomSubtreeVisible()) WalkSide(bar, s->GetRightOrBottom(), leftOrTopSide);
    return;
  }
  if (!s->IsVisible()) return;
  // A bar across this one: its subtree may hold a fixed size along this bar's axis.
  kivcore::Point constraint{0, 0};
  s->GetConstraintSize(constraint);
  const int along = vertical ? constraint.x : constraint.y;
  if (!s->IsStretchy(!vertical) && along != 0) bar.candidates.push_back({along, s, nullptr, leftOrTopSide});
}

void SplitterTrackerMark2::Prepare(Bar& bar) {
  Splitter& s = *bar.splitter;
  s.SetConstrained(true);
  const bool vertical = Vertical(s);
  LayoutManagerElement* sides[2] = {s.GetLeftOrTop(), s.GetRightOrBottom()};
  for (int side = 0; side < 2; ++side) {
    if (side == 0 ? s.IsLeftOrTopSubtreeVisible() : s.IsRightOrBottomSubtreeVisible())
      WalkSide(bar, sides[side], side == 0);
    bar.nearestFrame[side] = NearestFrame(sides[side], vertical, side == 0);
  }
  const int tabMin = vertical ? tabMinWidth_ : tabMinHeight_;
  bar.min = AxisStart(s) + (bar.count[0] + 1) * tabMin;
  bar.max = AxisEnd(s) - (bar.count[1] + 1) * tabMin;

  // A frame of fixed size beside the bar can snap to each of its sizes.
  for (int side = 0; side < 2; ++side) {
    Frame* frame = bar.nearestFrame[side];
    if (!frame || !sides[side] || sides[side]->IsStretchy(!vertical)) continue;
    std::vector<kivcore::Point> sizes;
    frame->GetSnapSizes(sizes);
    for (const kivcore::Point& size : sizes) {
      const int offset = vertical ? size.x : size.y + 4;
      if (offset != 0) bar.candidates.push_back({offset, nullptr, frame, side == 0});
    }
  }
  // And every other bar of its orientation lines it up.
  for (const auto& other : bars_) bar.exclude.push_back(other->splitter);
  std::vector<std::unique_ptr<SnapPoint>> adjacent;
  manager_.FindAdjacentSnapPoints(&s, vertical, AxisStart(s), AxisEnd(s), bar.exclude, adjacent);
  for (const auto& point : adjacent) bar.candidates.push_back({0, point->candidate, nullptr, true});
}

void SplitterTrackerMark2::Move(const kivcore::Point& p) {
  if (p == last_) return;
  for (auto& bar : bars_) {
    manager_.PrepareForLayout(bar->splitter);
    bar->splitter->SetConstrained(true);
  }
  Snapped snapped;
  for (auto& bar : bars_) MoveBar(*bar, p, snapped);
  last_ = p;
  manager_.GetHostInterface()->UpdateNow();
}

void SplitterTrackerMark2::MoveBar(Bar& bar, const kivcore::Point& p, Snapped& snapped) {
  Splitter& s = *bar.splitter;
  const bool vertical = Vertical(s);
  bool& done = vertical ? snapped.x : snapped.y;
  int& remembered = vertical ? snapped.atX : snapped.atY;
  int coordinate = vertical ? p.x : p.y;
  if (done) {
    coordinate = remembered;
  } else {
    bool snappedNow = false;
    if (manager_.SplitterSnappingEnabled()) {
      for (const Candidate& c : bar.candidates) {
        if ((snappedNow = Accept(bar, c, coordinate))) break;
      }
    }
    if (coordinate > bar.max) coordinate = bar.max;
    if (coordinate <= bar.min) coordinate = bar.min;
    if (snappedNow) {
      done = true;
      remembered = coordinate;
    }
  }
  const int delta = coordinate - s.GetPixelPlacement();
  if (delta == 0) return;
  s.SetPixelPlacement(coordinate);
  kivcore::Point move = vertical ? kivcore::Point{delta, 0} : kivcore::Point{0, delta};
  const bool snapping = manager_.SplitterSnappingEnabled();
  auto keeps = [&](LayoutManagerElement* child) {
    return !snapping || (child && child->IsStretchy(!vertical));
  };
  manager_.LayoutSplitterChildren(&s, true, keeps(s.GetLeftOrTop()), keeps(s.GetRightOrBottom()), &move);
}

bool SplitterTrackerMark2::Accept(const Bar& bar, const Candidate& c, int& coordinate) const {
  const bool vertical = Vertical(*bar.splitter);
  int target = 0;
  if (c.splitter && c.offset == 0) {
    target = c.splitter->GetPixelPlacement();
  } else if (c.splitter) {
    const kivcore::Rect& r = c.splitter->GetLocation();
    target = vertical ? (c.leftOrTopSide ? r.left + c.offset : r.Right() - c.offset)
                      : (c.leftOrTopSide ? r.top + c.offset : r.Bottom() - c.offset);
  } else if (c.frame) {
    LayoutManagerElement* side =
        c.leftOrTopSide ? bar.splitter->GetLeftOrTop() : bar.splitter->GetRightOrBottom();
    if (!side || !side->AllowSnapping(!vertical, c.frame)) return false;
    const kivcore::Rect r = c.frame->GetFrameLocalRect();
    target = vertical ? (c.leftOrTopSide ? r.left + c.offset : r.Right() - c.offset)
                      : (c.leftOrTopSide ? r.top + c.offset : r.Bottom() - c.offset);
  } else {
    return false;
  }
  if (std::abs(target - coordinate) >= kSnapDistance) return false;
  coordinate = target;
  return true;
}

}  // namespace kivworkspace::workspace
