#include "layout/LayoutManagerV1.h"

#include "layout/Frame.h"
#include "layout/Splitter.h"

namespace kivworkspace::workspace {

using kivcore::Point;
using kivcore::Rect;

LayoutManagerV1::LayoutManagerV1(LayoutManagerHostInterface* host) : LayoutManager(host) {
  resizable_[kTop] = false;
}

LayoutManagerV1::LayoutManagerV1(const LayoutManager& other, LayoutManagerHostInterface* host,
                                 Splitter* rootHolder, const Rect& rect)
    : LayoutManager(other, host, rootHolder, rect), lastLayoutRect_(rect) {
  resizable_[kTop] = false;
}

std::unique_ptr<LayoutManager> LayoutManagerV1::CreateLayoutManager(
    const LayoutManager& other, LayoutManagerHostInterface* host, Splitter* rootHolder,
    const Rect& rect) const {
  if (!dynamic_cast<const LayoutManagerV1*>(&other)) return nullptr;
  return std::unique_ptr<LayoutManager>(new LayoutManagerV1(other, host, rootHolder, rect));
}

void LayoutManagerV1::PlaceStatic(Frame* frame, const Rect& r) {
  frame->SetSizeAndPos(ConstructFrameZones(r));
}

bool LayoutManagerV1::IsResizable(InsertionType side) const {
  const auto it = resizable_.find(side);
  return it != resizable_.end() && it->second;
}

void LayoutManagerV1::Layout(const Rect& rect, bool constrain, bool recompute, bool keepPixels) {
  if (!LayoutEnabled() || rect.width <= 0 || rect.height <= 0) return;
  Point delta{rect.width - lastLayoutRect_.width, rect.height - lastLayoutRect_.height};
  lastLayoutRect_ = rect;
  SetContainingRect(rect);
  inStaticLayout_ = true;
  Rect rem = rect;

  // Bars stacked from the top: the top frame, then the left one when it acts as a second top.
  auto placeAtTop = [&](Frame* f) {
    const int h = f->GetMinimumSize().y;
    PlaceStatic(f, {rem.left, rem.top, rem.width, h});
    rem.top += h;
    rem.height -= h;
  };
  if (Frame* top = GetStaticBorderFrame(kTop)) {
    placeAtTop(top);
    if (IsResizable(kTop)) SetContainingRect(rem);
  }
  if (leftAsSecondTop_) {
    if (Frame* left = GetStaticBorderFrame(kLeft)) placeAtTop(left);
  }
  if (Frame* bottom = GetStaticBorderFrame(kBottom)) {
    const int h = bottom->GetMinimumSize().y;
    PlaceStatic(bottom, {rem.left, rect.top + rect.height - h, rem.width, h});
    rem.height -= h;
  }
  if (!leftAsSecondTop_) {
    if (Frame* left = GetStaticBorderFrame(kLeft)) {
      const int w = left->GetMinimumSize().x;
      PlaceStatic(left, {rem.left, rem.top, w, rem.height});
      rem.left += w;
      rem.width -= w;
    }
    if (Frame* right = GetStaticBorderFrame(kRight)) {
      const int w = right->GetMinimumSize().x;
      PlaceStatic(right, {rect.left + rect.width - w, rem.top, w, rem.height});
      rem.width -= w;
    }
  }
  if (tablessFrame_) PlaceStatic(tablessFrame_, rem);
  inStaticLayout_ = false;

  LayoutTreeIn(rem, constrain, recompute, keepPixels, delta);
}

void LayoutManagerV1::ReLayout(bool constrain, bool recompute, bool keepPixels) {
  Layout(lastLayoutRect_, constrain, recompute, keepPixels);
}

void LayoutManagerV1::SetStaticBorderFrame(Frame* frame, const Rect& rect, InsertionType side,
                                           bool layoutNow) {
  if (frame) {
    borderFrames_[side] = frame;
  } else {
    borderFrames_.erase(side);
    resizable_[side] = false;
  }
  if (layoutNow) Layout(rect, false, true, true);
}

void LayoutManagerV1::SetStaticBorderFrameResizable(InsertionType side, bool resizable) {
  resizable_[side] = resizable;
}

bool LayoutManagerV1::HasStaticBorderFrame(InsertionType side) const {
  return GetStaticBorderFrame(side) != nullptr;
}

Frame* LayoutManagerV1::GetStaticBorderFrame(InsertionType side) const {
  const auto it = borderFrames_.find(side);
  return it == borderFrames_.end() ? nullptr : it->second;
}

void LayoutManagerV1::SetStaticTablessFrame(Frame* frame, const Rect& rect, bool layoutNow) {
  tablessFrame_ = frame;
  if (layoutNow) Layout(rect, false, true, true);
}

int LayoutManagerV1::GetEdgeSize(unsigned edge, bool isBorder) const {
  if (!inStaticLayout_ && isBorder && edge == 1 && IsResizable(kTop)) return 0;
  return LayoutManager::GetEdgeSize(edge, isBorder);
}

}  // namespace kivworkspace::workspace
