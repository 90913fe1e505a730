#include "layout/LayoutManager.h"

#include "services/ui/skin/SkinManager.h"
#include "skins/LayoutManagerSkin.h"
#include "layout/ChildMeasurements.h"
#include "layout/Frame.h"
#include "layout/FrameDataProxy.h"
#include "layout/PostOrderWalk.h"
#include "layout/Splitter.h"

#include <boost/container/small_vector.hpp>

#include <algorithm>
#include <cstdlib>

namespace kivworkspace::workspace {

using kivcore::Point;
using kivcore::Rect;

namespace {

const skins::LayoutManagerSkin* DefaultLayoutSkin() {
  return kivui::SkinManager::Get().GetDefaultSet().Find<skins::LayoutManagerSkin>();
}

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

// --- construction ---------------------------------------------------------------------

LayoutManager::LayoutManager(LayoutManagerHostInterface* host)
    : host_(host),
      rootHolder_(std::make_unique<Splitter>(this, /*vertical=*/false)),
      borderSize_(GetDefaultBorderSize()),
      splitterHalfWidth_(GetDefaultSplitterHalfWidth()) {}

LayoutManager::LayoutManager(const LayoutManager& other, LayoutManagerHostInterface* host,
                             Splitter* rootHolder, const Rect& containingRect)
    : host_(host),
      rootHolder_(rootHolder),
      containingRect_(containingRect),
      borderSize_(other.borderSize_),
      splitterHalfWidth_(other.splitterHalfWidth_) {
  if (rootHolder_ && rootHolder_->GetLayoutManager()) rootHolder_->SetLayoutManager(this);
}

LayoutManager::~LayoutManager() = default;

std::unique_ptr<LayoutManager> LayoutManager::CreateLayoutManager(const LayoutManager&,
                                                                  LayoutManagerHostInterface*,
                                                                  Splitter*, const Rect&) const {
  return nullptr;
}

int LayoutManager::GetDefaultBorderSize() {
  const auto* skin = DefaultLayoutSkin();
  return skin ? skin->GetBorderSize() : 1;
}

int LayoutManager::GetDefaultSplitterHalfWidth() {
  const auto* skin = DefaultLayoutSkin();
  return skin ? skin->GetSplitterHalfWidth() : 2;
}

LayoutManager::MeasureScope::MeasureScope(const LayoutManager& m, bool fresh)
    : manager_(m), outermost_(m.measureEpoch_ == 0), fresh_(fresh) {
  if (outermost_ || fresh_) m.measureEpoch_ = m.NextMeasureEpoch();
  if (fresh_) after_ = m.NextMeasureEpoch();
}

LayoutManager::MeasureScope::~MeasureScope() {
  if (outermost_) {
    manager_.measureEpoch_ = 0;
  } else if (fresh_) {
    manager_.measureEpoch_ = after_;
  }
}

Measurements LayoutManager::MeasureInScope(const Splitter& splitter) const {
  MeasureScope measuring(*this);
  return splitter.Measure();
}

std::uint32_t LayoutManager::NextMeasureEpoch() const {
  if (++nextMeasureEpoch_ == 0) {
    splitters_.ForEach([](const Splitter* s) { s->ForgetMeasurements(); });
    rootHolder_->ForgetMeasurements();
    nextMeasureEpoch_ = 1;
  }
  return nextMeasureEpoch_;
}

// --- the tree -------------------------------------------------------------------------

LayoutManagerElement* LayoutManager::GetRoot() const { return rootHolder_->GetLeftOrTop(); }

void LayoutManager::SetRootElement(LayoutManagerElement* element) {
  rootHolder_->SetLeftOrTop(element);
  if (element) element->SetParent(rootHolder_.get());
}

Splitter* LayoutManager::NewSplitter(bool vertical) { return splitters_.Create(this, vertical); }

// --- virtual operations ---------------------------------------------------------------

void LayoutManager::Layout(const Rect&, bool, bool, bool) {}

void LayoutManager::LayoutTreeIn(const Rect& rect, bool constrain, bool recompute, bool keepPixels,
                                 Point delta) {
  if (Frame* maximized = GetMaximizedFrame()) {
    maximized->SetSizeAndPos(maximized->GetLayoutManager()->ConstructFrameZones(rect));
  } else if (GetRoot()) {
    // One scope for both steps: the fit reads what the preparation measured.
    MeasureScope measuring(*this);
    if (recompute) PrepareForLayout(GetRoot());
    const bool resized = delta.x != 0 || delta.y != 0;
    FitNodeToRect(GetRoot(), rect, rect, constrain, true, keepPixels, resized ? &delta : nullptr);
  }
}

void LayoutManager::ReLayout(bool constrain, bool recompute, bool keepPixels) {
  Layout(containingRect_, constrain, recompute, keepPixels);
}

int LayoutManager::GetEdgeSize(unsigned, bool isBorder) const {
  return isBorder ? borderSize_ : splitterHalfWidth_;
}

// --- the pass -------------------------------------------------------------------------

bool LayoutManager::PrepareForLayout(LayoutManagerElement* element) {
  if (!element) return false;
  // Within one preparation a splitter's sizes are read only before its own flags change,
  // so a cache for the duration gives the same answers, in linear time. What each splitter
  // measures after its flags changed is kept for the scope around the preparation.
  MeasureScope measuring(*this, /*fresh=*/true);
  const bool shown = Prepare(element, measuring.EpochAfter()).shown;
  // The root holder's side follows the tree as every splitter's side does: hidden while
  // nothing under it shows (a tree of placeholders), so that a root frame set then goes
  // beside them instead of being refused, and a save writes what a restore reads.
  if (element == GetRoot()) rootHolder_->SetLeftOrTopVisible(shown);
  return shown;
}

// A post-order walk, right-or-bottom child first (WalkPostOrder): the fit then visits the
// tree in the exact reverse order (pre-order, left-or-top first), so that on a tree larger
// than the cache it begins with what the preparation touched last.
//
// A splitter saves the placement it had before the preparation: its own fields are not
// touched by its children's preparation, and the children report the minimum sizes they
// had before theirs, so saving it after them gives the same answer as saving it first,
// without a separate walk to measure the tree as it was.
LayoutManager::Prepared LayoutManager::Prepare(LayoutManagerElement* element,
                                               std::uint32_t epochAfter) {
  return WalkPostOrder<Prepared>(
      element,
      [](Splitter* s, bool leftOrTop) {
        return leftOrTop ? s->GetLeftOrTop() : s->GetRightOrBottom();
      },
      [](Splitter* s) {
        s->SetConstrained(false);
        return true;
      },
      [this](LayoutManagerElement* e) { return PrepareLeaf(e); },
      [this, epochAfter](Splitter* s, const Prepared& a, const Prepared& b, Prepared& out) {
        FinishPreparing(s, a, b, epochAfter, out);
      });
}

LayoutManager::Prepared LayoutManager::PrepareLeaf(LayoutManagerElement* element) {
  if (!element) return {};
  if (Frame* f = element->AsFrame()) {
    // The constraint step leaves the minimum size as it was.
    Prepared out{{}, f->SetConstraintSize(true), f->IsFrameShown()};
    out.minimumBefore = out.measured.minimum;
    return out;
  }
  return {element->GetMinimumSize(), element->Measure(), false};  // a placeholder shows nothing
}

void LayoutManager::FinishPreparing(Splitter* s, const Prepared& a, const Prepared& b,
                                    std::uint32_t epochAfter, Prepared& out) {
  s->SavePlacementState(s->GetPlacementFor(a.minimumBefore, b.minimumBefore));
  out.minimumBefore = s->CombineMinimums(a.minimumBefore, b.minimumBefore);
  s->SetLeftOrTopVisible(a.shown);
  s->SetRightOrBottomVisible(b.shown);
  out.shown = a.shown || b.shown;
  s->Combine(a.measured, b.measured, out.measured);
  s->StoreMeasurements(out.measured, epochAfter);
}

// The flags that stay the same along a pass, and the edge sizes: GetEdgeSize answers from
// its two arguments and the manager's state, which a pass does not change, so each of its
// eight answers is asked once per pass instead of four times per frame.
struct LayoutManager::FitPass {
  bool constrain;
  bool leftGoverns;
  bool adjusting;
  int edges[2][4];  // [is border][edge]
};

// An element with the rectangle, keepPixels flag and delta it is to be fitted with.
struct LayoutManager::FitStep {
  LayoutManagerElement* element;
  Rect rect;
  Point delta;
  bool hasDelta;
  bool keepPixels;
};

LayoutManager::FitPass LayoutManager::MakeFitPass(bool constrain, bool leftGoverns) const {
  FitPass pass{constrain, leftGoverns, GetUserAdjustingSplitter(), {}};
  for (unsigned i = 0; i < 4; ++i) {
    pass.edges[0][i] = GetEdgeSize(i, false);
    pass.edges[1][i] = GetEdgeSize(i, true);
  }
  return pass;
}

// The walk keeps the second child of each splitter on an explicit stack instead of the
// call stack: a tree may be as deep as it has frames, and a chain's right-hand spine then
// needs no stack at all. Children are fitted in the same order as a recursion would.
void LayoutManager::FitNodeToRect(LayoutManagerElement* element, Rect rect, Rect /*outer*/,
                                  bool constrain, bool leftGoverns, bool keepPixels, Point* delta) {
  if (!element || !LayoutEnabled()) return;
  MeasureScope measuring(*this);
  const FitPass pass = MakeFitPass(constrain, leftGoverns);
  boost::container::small_vector<FitStep, 32> pending;
  FitStep step{element, rect, delta ? *delta : Point{}, delta != nullptr, keepPixels};
  for (;;) {
    if (!LayoutEnabled()) return;
    bool descended = false;
    if (Frame* f = step.element->AsFrame()) {
      f->SetSizeAndPos(ConstructFrameZones(pass, step.rect));
    } else if (Splitter* s = step.element->AsSplitter()) {
      descended = FitSplitter(pass, s, step, pending);
    }  // a placeholder takes no space
    if (descended) continue;
    if (pending.empty()) return;
    step = pending.back();
    pending.pop_back();
  }
}

namespace {

// The halves of a location cut at a bar's pixel.
void SplitAt(const Splitter* s, const Rect& r, int pixel, Rect& leftOrTop, Rect& rightOrBottom) {
  if (s->IsVertical()) {
    leftOrTop = {r.left, r.top, pixel - r.left, r.height};
    rightOrBottom = {pixel, r.top, r.width - (pixel - r.left), r.height};
  } else {
    leftOrTop = {r.left, r.top, r.width, pixel - r.top};
    rightOrBottom = {r.left, pixel, r.width, r.height - (pixel - r.top)};
  }
}

}  // namespace

void LayoutManager::SplitLocation(const Splitter* s, Rect& leftOrTop, Rect& rightOrBottom) const {
  const Rect& r = s->GetLocation();
  leftOrTop = rightOrBottom = r;
  if (s->IsVisible()) SplitAt(s, r, s->GetPixelPlacement(), leftOrTop, rightOrBottom);
}

// The children's steps are written in place, field by field: copying a whole step that was
// just written field by field stalls the processor on store forwarding (the copies cost
// 4 % of the pass).
template <typename Pending>
bool LayoutManager::FitSplitter(const FitPass& pass, Splitter* s, FitStep& step, Pending& pending) {
  const Rect before = s->GetLocation();
  s->SetLocation(step.rect);
  if (before.width == 0 && before.height == 0) s->SavePlacementState();

  const bool hasA = s->IsLeftOrTopSubtreeVisible(), hasB = s->IsRightOrBottomSubtreeVisible();
  const bool inY = s->AxisIsY();
  if (!hasA && !hasB) return false;
  if (!hasB || !hasA) {  // the present child gets the whole rectangle
    step.element = hasA ? s->GetLeftOrTop() : s->GetRightOrBottom();
    // The right-or-bottom side moves the other way along the axis.
    if (!hasA) Along(step.delta, inY) = -Along(step.delta, inY);
    return true;
  }
  FitStep& b = pending.emplace_back();
  b.element = s->GetRightOrBottom();
  b.delta.x = step.delta.x;
  b.delta.y = step.delta.y;
  Along(b.delta, inY) = -Along(b.delta, inY);
  b.hasDelta = step.hasDelta;
  b.keepPixels = step.keepPixels;
  step.element = s->GetLeftOrTop();
  const int pixel = PlaceBar(pass, s, step, b);
  SplitAt(s, s->GetLocation(), pixel, step.rect, b.rect);
  return true;
}

int LayoutManager::PlaceBar(const FitPass& pass, Splitter* s, FitStep& a, FitStep& b) {
  const bool inY = s->AxisIsY();
  const bool keepPixels = a.keepPixels;
  // Everything below asks the children the same questions; ask once.
  const Measurements ma = MeasureChild(*a.element), mb = MeasureChild(*b.element);
  bool childDeltas = false;
  if (keepPixels || (pass.adjusting && (ma.Stretchy(inY) || mb.Stretchy(inY)))) {
    s->SetPixelPlacement(s->GetPrevPixelPlacement());
    s->SetConstrained(true);
  } else if (pass.constrain) {
    ConstrainSplitter(s, pass.leftGoverns, a.hasDelta ? &a.delta : nullptr, ma, mb);
    childDeltas = a.hasDelta;
  }
  const int pixel =
      s->CalcPixelPlacement(s->GetPlacementFor(ma.minimum, mb.minimum), s->GetLocation());
  if (childDeltas) {
    // Each child's delta along the axis is the change of its size.
    int prevA = 0, prevB = 0;
    s->GetPrevPlacementSizes(prevA, prevB);
    const int newA = pixel - s->Origin(s->GetLocation());
    Along(a.delta, inY) = newA - prevA;
    Along(b.delta, inY) = s->Length(s->GetLocation()) - newA - prevB;
  }

  // While a bar is dragged, bars keep their pixels only along rows or columns of the same
  // orientation; elsewhere the flag passes unchanged.
  if (pass.adjusting) {
    const bool sameAsParent = s->SameOrientation(s->GetParent());
    a.keepPixels = keepPixels && sameAsParent && s->SameOrientation(a.element);
    b.keepPixels = keepPixels && sameAsParent && s->SameOrientation(b.element);
  }
  return pixel;
}

void LayoutManager::ConstrainSplitter(Splitter* s, bool leftGoverns, const Point* delta,
                                      const Measurements& a, const Measurements& b) {
  if (s->GetConstrained()) return;
  const bool inY = s->AxisIsY();
  const int d = delta ? Along(*delta, inY) : 0;
  if (delta && d == 0) return;

  const Rect& r = s->GetLocation();
  const int length = s->Length(r);
  const bool stretchyA = a.Stretchy(inY), stretchyB = b.Stretchy(inY);
  if (stretchyA && stretchyB) return;

  int oldA = 0, oldB = 0;
  s->GetPrevPlacementSizes(oldA, oldB);
  const int cA = Along(a.constraint, inY), cB = Along(b.constraint, inY);
  const int fixA = stretchyA ? 0 : cA, minA = stretchyA ? cA : 0;
  const int fixB = stretchyB ? 0 : cB, minB = stretchyB ? cB : 0;

  // Targets (0: none) and the side that governs.
  int targetA = 0, targetB = 0;
  bool aGoverns = true;
  if (fixA != 0 && fixB != 0) {
    targetA = fixA;
    targetB = fixB;
    aGoverns = leftGoverns;
  } else if (fixA != 0) {
    targetA = fixA;
  } else if (fixB != 0) {
    targetB = fixB;
    aGoverns = false;
  } else if (minA + minB <= length) {
    targetA = s->CalcPixelPlacement(s->GetPrevPlacement(), r) - s->Origin(r);
    if (length < targetA + minB) targetA = minA + (length - minB - minA) / 2;
  } else if (leftGoverns) {
    targetA = minA;
  } else {
    targetB = minB;
    aGoverns = false;
  }

  // During a resize the governing side may change with the direction of the change.
  const int diffA = targetA != 0 ? targetA - oldA : 0;
  const int diffB = targetB != 0 ? targetB - oldB : 0;
  if (delta) {
    if (!aGoverns) {
      aGoverns = !(diffA != 0 && std::abs(diffA - d) <= std::abs(diffA));
    } else {
      aGoverns = diffB != 0 && std::abs(diffB - d) <= std::abs(diffB);
    }
  }
  if (targetA == 0 && targetB == 0) return;
  if ((aGoverns ? targetA : targetB) == 0) aGoverns = !aGoverns;

  const int target = aGoverns ? targetA : targetB;
  int newSize = target;
  if (delta) {
    const int previous = aGoverns ? oldA : oldB;
    const int wanted = target - previous;
    int step = 0;
    if (d != 0 && wanted != 0 && Sign(d) == Sign(wanted)) {
      step = Sign(d) * std::min(std::abs(d), std::abs(wanted));
    }
    newSize = previous + step;
  }
  if (newSize == length) return;
  const int sizeA = aGoverns ? newSize : length - newSize;
  s->SetPixelPlacement(s->Origin(r) + sizeA);
  s->SetPlacement(s->GetPlacementFor(a.minimum, b.minimum));
  s->SetConstrained(true);
}

FrameZones LayoutManager::ConstructFrameZones(const Rect& rect) const {
  const Rect& c = containingRect_;
  return FrameZones::Split(
      rect,
      {GetEdgeSize(0, rect.left == c.left), GetEdgeSize(1, rect.top == c.top),
       GetEdgeSize(2, rect.Right() == c.Right()), GetEdgeSize(3, rect.Bottom() == c.Bottom())});
}

FrameZones LayoutManager::ConstructFrameZones(const FitPass& pass, const Rect& rect) const {
  const Rect& c = containingRect_;
  return FrameZones::Split(
      rect, {pass.edges[rect.left == c.left][0], pass.edges[rect.top == c.top][1],
             pass.edges[rect.Right() == c.Right()][2], pass.edges[rect.Bottom() == c.Bottom()][3]});
}

// --- laying out halves and majorizing --------------------------------------------------

void LayoutManager::LayoutSplitterChild(Splitter* s, LayoutManagerElement* child, bool constrain,
                                        bool isLeftOrTop, bool leftGoverns, bool keepPixels,
                                        bool updateNow, Point* delta) {
  if (!LayoutEnabled()) return;
  Rect rectA, rectB;
  SplitLocation(s, rectA, rectB);
  Point negated;
  Point* childDelta = delta;
  if (!isLeftOrTop && delta) {
    negated = *delta;
    Along(negated, s->AxisIsY()) = -Along(negated, s->AxisIsY());
    childDelta = &negated;
  }
  FitNodeToRect(child, isLeftOrTop ? rectA : rectB, containingRect_, constrain, leftGoverns,
                keepPixels, childDelta);
  if (updateNow) host_->UpdateNow();
}

void LayoutManager::LayoutSplitterChildren(Splitter* s, bool constrain, bool keepPixelsLeftOrTop,
                                           bool keepPixelsRightOrBottom, Point* delta) {
  if (LayoutEnabled()) {
    LayoutSplitterChild(s, s->GetLeftOrTop(), constrain, true, false, keepPixelsLeftOrTop, false,
                        delta);
  }
  if (LayoutEnabled()) {
    LayoutSplitterChild(s, s->GetRightOrBottom(), constrain, false, true, keepPixelsRightOrBottom,
                        false, delta);
  }
  host_->UpdateNow();
}

Splitter* LayoutManager::FindMajorSplitter(Splitter* s) const {
  Splitter* major = s;
  for (LayoutManagerElement* p = s->GetParent(); p && p != rootHolder_.get(); p = p->GetParent()) {
    Splitter* ps = p->AsSplitter();
    if (!ps || ps->IsVertical() != s->IsVertical()) break;
    major = ps;
  }
  return major;
}

void LayoutManager::MajorizeSplitter(Splitter* s) {
  PrepareForLayout(GetRoot());
  Splitter* major = FindMajorSplitter(s);
  if (major == s) return;
  LayoutManagerElement* top = major->GetParent();
  const Rect majorLocation = major->GetLocation();
  PrepareForLayout(major);

  // Rotate s upward until its parent is the major splitter's parent.
  while (s->GetParent() != top) {
    Splitter* q = s->GetParent()->AsSplitter();
    Splitter* g = q->GetParent()->AsSplitter();
    if (q->GetLeftOrTop() == s) {
      LayoutManagerElement* moved = s->GetRightOrBottom();
      q->SetLeftOrTop(moved);
      if (moved) moved->SetParent(q);
      s->SetRightOrBottom(q);
    } else {
      LayoutManagerElement* moved = s->GetLeftOrTop();
      q->SetRightOrBottom(moved);
      if (moved) moved->SetParent(q);
      s->SetLeftOrTop(q);
    }
    g->ReplaceElement(q, s);
    s->SetParent(g);
    q->SetParent(s);
    const Rect sLocation = s->GetLocation();
    s->SetLocation(q->GetLocation());
    q->SetLocation(sLocation);
  }
  if (LayoutEnabled()) {
    FitNodeToRect(s, majorLocation, containingRect_, true, true, true, nullptr);
    PrepareForLayout(s);
  }
}

// --- finders and hit tests -------------------------------------------------------------

template <typename Visit>
void LayoutManager::ForEachVisibleSplitter(Visit&& visit) const {
  // An explicit stack: degenerate trees can be deeper than the call stack allows.
  std::vector<LayoutManagerElement*> stack;
  if (GetRoot()) stack.push_back(GetRoot());
  while (!stack.empty()) {
    LayoutManagerElement* e = stack.back();
    stack.pop_back();
    Splitter* s = e->AsSplitter();
    if (!s) continue;
    if (s->IsVisible()) visit(s);
    if (s->GetRightOrBottom()) stack.push_back(s->GetRightOrBottom());
    if (s->GetLeftOrTop()) stack.push_back(s->GetLeftOrTop());
  }
}

std::vector<Splitter*> LayoutManager::GetSplitters() const {
  std::vector<Splitter*> out;
  ForEachVisibleSplitter([&](Splitter* s) { out.push_back(s); });
  return out;
}

std::vector<Frame*> LayoutManager::GetFrames() const {
  std::vector<Frame*> out;
  std::vector<LayoutManagerElement*> stack;
  if (GetRoot()) stack.push_back(GetRoot());
  while (!stack.empty()) {
    LayoutManagerElement* e = stack.back();
    stack.pop_back();
    if (Frame* f = e->AsFrame()) {
      out.push_back(f);
    } else if (Splitter* s = e->AsSplitter()) {
      if (s->GetRightOrBottom()) stack.push_back(s->GetRightOrBottom());
      if (s->GetLeftOrTop()) stack.push_back(s->GetLeftOrTop());
    }
  }
  return out;
}

std::vector<Splitter*> LayoutManager::FindSplittersContainingRect(const Rect& rect) const {
  std::vector<Splitter*> out;
  if (maximizedFrame_) return out;
  MeasureScope measuring(*this);
  ForEachVisibleSplitter([&](Splitter* s) {
    if (s->ContainsRect(rect)) out.push_back(s);
  });
  return out;
}

bool LayoutManager::HasSplittersWithinRect(const Rect& rect) const {
  return !FindSplittersContainingRect(rect).empty();
}

LayoutManager::CursorType LayoutManager::HitCheckCursor(int x, int y) const {
  const std::vector<Splitter*> hits = FindSplittersContainingRect(Rect{x, y, 1, 1});
  if (hits.empty()) return kNoBar;
  if (hits.size() > 1) return kCrossing;
  return hits.front()->IsVertical() ? kVerticalBar : kHorizontalBar;
}

std::vector<Splitter*> LayoutManager::FindAllSplittersInSameRowCol(Splitter* splitter) const {
  const Rect& span = splitter->GetLocation();
  const bool vertical = splitter->IsVertical();
  std::vector<Splitter*> out;
  ForEachVisibleSplitter([&](Splitter* s) {
    if (s == splitter) return;
    const Rect& l = s->GetLocation();
    const bool same = vertical ? (l.top == span.top && l.height == span.height)
                               : (l.left == span.left && l.width == span.width);
    if (same) out.push_back(s);
  });
  return out;
}

// The walk begins at the root element, not at the root holder: the holder never has its
// right-or-bottom side, so a walk from it would stop at once and offer the splitter
// tracker no candidate. From the root it follows the bars of the given orientation along
// the right-or-bottom spine, descending into left-or-top splitters, which are the bars a
// dragged bar of that orientation can line up with.
void LayoutManager::FindAdjacentSnapPoints(Splitter* dragged, bool vertical, int, int,
                                           const std::vector<Splitter*>& exclude,
                                           std::vector<std::unique_ptr<SnapPoint>>& out) const {
  std::vector<Splitter*> pending;
  if (GetRoot() && GetRoot()->AsSplitter()) pending.push_back(GetRoot()->AsSplitter());
  while (!pending.empty()) {
    Splitter* node = pending.back();
    pending.pop_back();
    while (node && node->IsVisible() && node->IsVertical() == vertical &&
           std::find(exclude.begin(), exclude.end(), node) == exclude.end()) {
      out.push_back(std::make_unique<SnapPoint>(SnapPoint{dragged, 0, node, 0, true}));
      Splitter* left = node->GetLeftOrTop()->AsSplitter();
      if (left && left->IsLeftOrTopSubtreeVisible()) pending.push_back(left);
      Splitter* right = node->GetRightOrBottom()->AsSplitter();
      node = right && right->IsRightOrBottomSubtreeVisible() ? right : nullptr;
    }
  }
}

}  // namespace kivworkspace::workspace
