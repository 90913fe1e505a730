// Editing a window's layout tree: adding, removing, reanimating, swapping and maximizing
// frames, replacing the tree, trackers, and the structure check and dump.
#include "layout/Frame.h"
#include "layout/FrameDataProxy.h"
#include "layout/LayoutManager.h"
#include "layout/SplitterTrackerMark2.h"
#include "layout/Splitter.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <functional>
#include <ostream>

namespace kivworkspace::workspace {

using kivcore::Rect;

namespace {

LayoutManager::TrackerFactory& GlobalTrackerFactory() {
  static LayoutManager::TrackerFactory factory;
  return factory;
}

// The nearest ancestor splitter with both sides present, and whether `from` lies on its
// left-or-top side; null when there is none below the root holder.
Splitter* NearestVisibleAncestor(LayoutManagerElement* from, const Splitter* rootHolder,
                                 bool* onLeftOrTop = nullptr) {
  LayoutManagerElement* child = from;
  for (LayoutManagerElement* p = from->GetParent(); p && p != rootHolder; p = p->GetParent()) {
    Splitter* s = p->AsSplitter();
    if (!s) break;
    if (s->IsVisible()) {
      if (onLeftOrTop) *onLeftOrTop = s->GetLeftOrTop() == child;
      return s;
    }
    child = p;
  }
  return nullptr;
}

// Links child into splitter's side that named `old`, fixing the parent pointer.
void Relink(Splitter* parent, LayoutManagerElement* old, LayoutManagerElement* child) {
  parent->ReplaceElement(old, child);
  if (child) child->SetParent(parent);
}

// Whether the side of splitter that holds child is present.
bool SideShown(const Splitter& splitter, const LayoutManagerElement* child) {
  return splitter.GetLeftOrTop() == child ? splitter.IsLeftOrTopSubtreeVisible()
                                          : splitter.IsRightOrBottomSubtreeVisible();
}

void SetSideShown(Splitter& splitter, const LayoutManagerElement* child, bool shown) {
  if (splitter.GetLeftOrTop() == child) {
    splitter.SetLeftOrTopVisible(shown);
  } else {
    splitter.SetRightOrBottomVisible(shown);
  }
}

// From `from` upward, hides the side that leads to a splitter showing nothing, the root
// holder's included, as the preparation step does. A removal made with the layout off
// (every panel of a window closed at once) may meet a save before any pass, and that save
// must write a side holding only placeholders as hidden, as a restore reads it.
void HideSidesShowingNothing(Splitter* from) {
  for (Splitter* s = from;
       s && !s->IsLeftOrTopSubtreeVisible() && !s->IsRightOrBottomSubtreeVisible();) {
    Splitter* parent = s->GetParent() ? s->GetParent()->AsSplitter() : nullptr;
    if (!parent) return;
    SetSideShown(*parent, s, false);
    s = parent;
  }
}

}  // namespace

void LayoutManager::SetTrackerFactory(TrackerFactory factory) {
  GlobalTrackerFactory() = std::move(factory);
}

// --- adding -------------------------------------------------------------------------------

void LayoutManager::AddFrame(Frame* target, InsertionType type, Frame* newFrame) {
  newFrame->SetLayoutManager(this);
  // With the layout off (a window being built frame by frame) the pass that turns it back
  // on prepares the whole tree once; preparing it for every frame added would make
  // building n frames take time in n².
  if (LayoutEnabled()) PrepareForLayout(GetRoot());
  if (maximizedFrame_) SetMaximizedFrame(nullptr);

  const bool vertical = type == kLeft || type == kRight;
  Splitter* s = NewSplitter(vertical);
  s->SetPlacement(0.5f);
  // Majorizing a splitter without a parent only prepares the tree, which step one has just
  // done; preparing twice in a row changes nothing, so it is not repeated.

  LayoutManagerElement* place = target ? static_cast<LayoutManagerElement*>(target) : GetRoot();
  Splitter* parent =
      place && place->GetParent() ? place->GetParent()->AsSplitter() : rootHolder_.get();
  if (place && !place->GetParent()) return;  // the target is in no tree
  if (place) {
    Relink(parent, place, s);
  } else {
    parent->SetLeftOrTop(s);
    s->SetParent(parent);
  }
  const bool newFirst = type == kTop || type == kLeft;
  s->SetLeftOrTop(newFirst ? newFrame : place);
  s->SetRightOrBottom(newFirst ? place : newFrame);
  newFrame->SetParent(s);
  if (place) place->SetParent(s);
  LayoutNewFrame(newFrame);
}

bool LayoutManager::LayoutNewFrame(Frame* frame) {
  if (!LayoutEnabled()) return true;
  Splitter* a = NearestVisibleAncestor(frame, rootHolder_.get());
  if (!a) {
    ReLayout(false, false, false);
    return false;
  }
  ReLayout(false, true, false);
  ReLayout(true, false, true);
  MajorizeSplitter(a);
  bool aOnLeftOrTop = true;
  Splitter* b = NearestVisibleAncestor(a, rootHolder_.get(), &aOnLeftOrTop);

  // A provisional rectangle inside A's location, replaced by the layout below.
  FitNodeToRect(frame, a->GetLocation(), containingRect_, false, true, false, nullptr);
  frame->SetConstraintSize(false);

  if (b) {
    LayoutSplitterChild(b, a, true, aOnLeftOrTop, true, false, true, nullptr);
  } else {
    FitNodeToRect(a, a->GetLocation(), containingRect_, true, true, false, nullptr);
  }
  return true;
}

// --- removing and reanimating ---------------------------------------------------------------

void LayoutManager::RemoveFrame(Frame* frame, bool keepPlaceholder, bool keepFrame) {
  if (maximizedFrame_) SetMaximizedFrame(nullptr);
  Splitter* p = frame->GetParent() ? frame->GetParent()->AsSplitter() : nullptr;
  if (!p) return;
  Splitter* visible = NearestVisibleAncestor(frame, rootHolder_.get());
  Splitter* major = visible ? FindMajorSplitter(visible) : nullptr;

  if (!keepPlaceholder) {
    LayoutManagerElement* other =
        p->GetLeftOrTop() == frame ? p->GetRightOrBottom() : p->GetLeftOrTop();
    const bool isChild = p->GetLeftOrTop() == frame || p->GetRightOrBottom() == frame;
    if (isChild && other && p != rootHolder_.get()) {
      Splitter* g = p->GetParent()->AsSplitter();
      // The sibling takes P's place shown or hidden as it was in P: placeholders alone
      // stay on a hidden side.
      const bool otherShown = SideShown(*p, other);
      Relink(g, p, other);
      SetSideShown(*g, other, otherShown);
      HideSidesShowingNothing(g);
      // P leaves the tree, so it can no longer be the splitter to lay out; a preview's
      // splitter is owned by its copy and only unlinked.
      if (major == p) {
        Splitter* otherSplitter = other->AsSplitter();
        major = otherSplitter ? FindMajorSplitter(otherSplitter) : nullptr;
      }
      if (!p->IsPreview()) DestroySplitter(p);
    } else {
      p->ReplaceElement(frame, nullptr);
      HideSidesShowingNothing(p);
    }
    frame->SetParent(nullptr);
  } else {
    TabDataList visibleTabs, removedTabs, hiddenTabs;
    frame->GetTabData(visibleTabs, removedTabs, hiddenTabs);
    std::unique_ptr<FrameDataProxy> placeholder;
    if (keepFrame) {
      placeholder = std::make_unique<FrameDataProxy>(this, frame, std::move(removedTabs));
    } else {
      TabDataList all = std::move(visibleTabs);
      all.insert(all.end(), removedTabs.begin(), removedTabs.end());
      all.insert(all.end(), hiddenTabs.begin(), hiddenTabs.end());
      placeholder = std::make_unique<FrameDataProxy>(this, std::move(all));
    }
    placeholder->SetParent(p);
    if (p->GetLeftOrTop() == frame) {
      p->SetLeftOrTop(placeholder.get());
      p->SetLeftOrTopVisible(false);
    } else {
      p->SetRightOrBottom(placeholder.get());
      p->SetRightOrBottomVisible(false);
    }
    HideSidesShowingNothing(p);
    reanimationList_.push_back(std::move(placeholder));
  }

  if (LayoutEnabled()) {
    ReLayout(false, true, false);
    if (major)
      FitNodeToRect(major, major->GetLocation(), containingRect_, true, true, false, nullptr);
  }
}

void LayoutManager::ReanimateFrame(LayoutManagerElement* placeholderElement, Frame* frame) {
  if (maximizedFrame_) SetMaximizedFrame(nullptr);
  FrameDataProxy* placeholder = placeholderElement ? placeholderElement->AsPlaceholder() : nullptr;
  Splitter* s = placeholderElement && placeholderElement->GetParent()
                    ? placeholderElement->GetParent()->AsSplitter()
                    : nullptr;
  if (!s) return;
  frame->SetLayoutManager(this);
  Relink(s, placeholderElement, frame);
  SetSideShown(*s, frame, true);
  // Show the way up to the first splitter that already showed both sides. The root holder,
  // which never shows two, ends the way: its side shows again once a frame under it does.
  LayoutManagerElement* previous = s;
  auto parentSplitter = [](Splitter* x) {
    return x->GetParent() ? x->GetParent()->AsSplitter() : nullptr;
  };
  for (Splitter* up = s->IsVisible() ? nullptr : parentSplitter(s); up; up = parentSplitter(up)) {
    const bool wasVisible = up->IsVisible();
    SetSideShown(*up, previous, true);
    if (wasVisible) break;
    previous = up;
  }
  if (placeholder) RemovePlaceholder(placeholder);
}

void LayoutManager::RemovePlaceholder(FrameDataProxy* placeholder) {
  const auto it = std::find_if(reanimationList_.begin(), reanimationList_.end(),
                               [placeholder](const auto& p) { return p.get() == placeholder; });
  if (it != reanimationList_.end()) reanimationList_.erase(it);
}

FrameDataProxy* LayoutManager::FindFrameForReanimation(const Frame* frame) const {
  for (const auto& p : reanimationList_) {
    if (p->HasFrame() && p->GetFrame() == frame) return p.get();
  }
  return nullptr;
}

FrameDataProxy* LayoutManager::FindFrameForReanimation(std::string_view tabType) const {
  for (const auto& p : reanimationList_) {
    if (p->HoldsTabType(tabType)) return p.get();
  }
  return nullptr;
}

std::vector<FrameDataProxy*> LayoutManager::GetPlaceholders() const {
  std::vector<FrameDataProxy*> out;
  for (const auto& p : reanimationList_) out.push_back(p.get());
  return out;
}

// --- swapping ------------------------------------------------------------------------------

void LayoutManager::SwapFrame(Frame* oldFrame, Frame* newFrame) {
  newFrame->SetLayoutManager(this);
  PrepareForLayout(GetRoot());
  if (maximizedFrame_) SetMaximizedFrame(nullptr);
  if (Splitter* parent = oldFrame->GetParent() ? oldFrame->GetParent()->AsSplitter() : nullptr) {
    Relink(parent, oldFrame, newFrame);
  }
  LayoutNewFrame(newFrame);
}

bool LayoutManager::SwapRoot(std::unique_ptr<Splitter> newRootHolder) {
  if (!newRootHolder || newRootHolder->IsPreview()) return false;
  // Elements of the new tree, to keep what it still uses. A preview copy's elements live in
  // the copy's arena and die with it: such a tree is refused before anything changes.
  std::vector<Splitter*> keptSplitters;
  std::vector<FrameDataProxy*> newPlaceholders;
  std::vector<LayoutManagerElement*> stack{newRootHolder->GetLeftOrTop()};
  while (!stack.empty()) {
    LayoutManagerElement* e = stack.back();
    stack.pop_back();
    if (!e) continue;
    if (FrameDataProxy* p = e->AsPlaceholder()) newPlaceholders.push_back(p);
    if (Splitter* s = e->AsSplitter()) {
      if (s->IsPreview()) return false;
      keptSplitters.push_back(s);
      stack.push_back(s->GetRightOrBottom());
      stack.push_back(s->GetLeftOrTop());
    }
  }
  std::unique_ptr<Splitter> oldRootHolder = std::move(rootHolder_);
  rootHolder_ = std::move(newRootHolder);
  rootHolder_->SetLayoutManager(this);
  std::sort(keptSplitters.begin(), keptSplitters.end(), std::less<>());
  std::vector<Splitter*> dropped;
  splitters_.ForEach([&](Splitter* s) {
    if (!std::binary_search(keptSplitters.begin(), keptSplitters.end(), s, std::less<>())) {
      dropped.push_back(s);
    }
  });
  for (Splitter* s : dropped) splitters_.Destroy(s);
  std::vector<std::unique_ptr<FrameDataProxy>> list;
  for (FrameDataProxy* p : newPlaceholders) {
    auto owned = std::find_if(reanimationList_.begin(), reanimationList_.end(),
                              [p](const auto& q) { return q.get() == p; });
    list.push_back(owned != reanimationList_.end() ? std::move(*owned)
                                                   : std::unique_ptr<FrameDataProxy>(p));
  }
  reanimationList_ = std::move(list);
  return true;
}

void LayoutManager::SetRootFrame(Frame* frame, const Rect& rect) {
  LayoutManagerElement* root = GetRoot();
  if (!root) {
    SetRootElement(frame);
  } else if (rootHolder_->IsLeftOrTopSubtreeVisible() && !GetFrames().empty()) {
    return;
  } else {
    // A root that is hidden, or that holds only placeholders, shows nothing: the frame
    // takes the window above it, and the placeholders keep their places below it so that
    // their frames can come back there.
    Splitter* s = NewSplitter(false);
    s->SetPlacement(0.5f);
    s->SetLeftOrTop(frame);
    s->SetRightOrBottom(root);
    s->SetRightOrBottomVisible(false);
    frame->SetParent(s);
    root->SetParent(s);
    SetRootElement(s);
    rootHolder_->SetLeftOrTopVisible(true);
  }
  frame->SetLayoutManager(this);
  Layout(rect, false, true, false);
}

void LayoutManager::DestroySplitter(Splitter* splitter) { splitters_.Destroy(splitter); }

// --- maximizing and trackers ------------------------------------------------------------------

void LayoutManager::SetMaximizedFrame(Frame* frame) {
  // The frames a maximized frame hid come back before another frame is maximized, and
  // maximizing it again keeps them listed.
  if (frame && frame == maximizedFrame_) return;
  if (frame && maximizedFrame_) SetMaximizedFrame(nullptr);
  if (frame) {
    maximizedFrame_ = frame;
    hiddenByMaximize_.clear();
    for (Frame* f : GetFrames()) {
      if (f != frame && f->IsFrameShown()) {
        hiddenByMaximize_.push_back(f);
        f->ShowFrame(false);
      }
    }
  } else {
    maximizedFrame_ = nullptr;
    for (Frame* f : hiddenByMaximize_) f->ShowFrame(true);
    hiddenByMaximize_.clear();
  }
  ReLayout(false, true, false);
}

void LayoutManager::AcquireTracker(const Rect& rect, std::unique_ptr<Tracker>& out) {
  out.reset();
  const std::vector<Splitter*> splitters = FindSplittersContainingRect(rect);
  if (splitters.empty()) return;
  for (Splitter* s : splitters) MajorizeSplitter(s);
  out = GlobalTrackerFactory() ? GlobalTrackerFactory()(*this, splitters)
                               : std::make_unique<SplitterTrackerMark2>(*this, splitters);
}

void LayoutManager::AcquireTracker(int x, int y, std::unique_ptr<Tracker>& out) {
  AcquireTracker(Rect{x, y, 1, 1}, out);
}

// --- structure ---------------------------------------------------------------------------------

std::string LayoutManager::CheckStructure() const {
  MeasureScope measuring(*this);
  std::vector<LayoutManagerElement*> stack;
  if (GetRoot()) {
    if (GetRoot()->GetParent() != rootHolder_.get())
      return "the root's parent is not the root holder";
    stack.push_back(GetRoot());
  }
  while (!stack.empty()) {
    LayoutManagerElement* e = stack.back();
    stack.pop_back();
    if (e->GetLayoutManager() != this) return "an element names another manager";
    Splitter* s = e->AsSplitter();
    if (!s) continue;
    (void)s->GetPlacement();
    // A side may be empty: removing a frame whose sibling is gone clears its side.
    for (LayoutManagerElement* child : {s->GetLeftOrTop(), s->GetRightOrBottom()}) {
      if (!child) continue;
      if (child->GetParent() != s) return "a child's parent pointer does not name its splitter";
      stack.push_back(child);
    }
  }
  return {};
}

void LayoutManager::AssertStructureOK() const { assert(CheckStructure().empty()); }

// Placeholders are written as dashed boxes labelled "Placeholder", so that the output stays
// valid Graphviz for any tree; an absent child gets no edge.
void LayoutManager::DumpToGraphvis(std::ostream& out) const {
  auto id = [](const LayoutManagerElement* e) {
    return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(e));
  };
  out << "digraph KIVLayoutManager {\n";
  std::vector<const LayoutManagerElement*> stack;
  if (GetRoot()) stack.push_back(GetRoot());
  while (!stack.empty()) {
    const LayoutManagerElement* e = stack.back();
    stack.pop_back();
    out << id(e) << " ";
    const Splitter* s = e->AsSplitter();
    if (!s) {
      out << (e->AsFrame() ? "[shape=box,label=\"Frame\"]"
                           : "[shape=box,style=dashed,label=\"Placeholder\"]")
          << ";\n";
      continue;
    }
    const Rect& l = s->GetLocation();
    out << "[label=\"" << (s->IsVertical() ? "V Split s:" : "--H Split-- s:")
        << s->GetPixelPlacement() << " l:" << l.left << " t:" << l.top << " b:" << l.Bottom()
        << " r:" << l.Right() << "\"];\n";
    for (const LayoutManagerElement* child : {s->GetLeftOrTop(), s->GetRightOrBottom()}) {
      if (child) out << id(e) << " -> " << id(child) << ";\n";
    }
    if (s->GetRightOrBottom()) stack.push_back(s->GetRightOrBottom());
    if (s->GetLeftOrTop()) stack.push_back(s->GetLeftOrTop());
  }
  out << "}";
}

}  // namespace kivworkspace::workspace
