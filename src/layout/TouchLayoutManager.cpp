#include "layout/TouchLayoutManager.h"

#include "layout/Frame.h"
#include "layout/SecondaryUIFrame.h"
#include "layout/Splitter.h"

#include <algorithm>

namespace kivworkspace::workspace {

using kivcore::Point;
using kivcore::Rect;

namespace {

// Removes item from whichever list of the map holds it; returns whether one did.
template <typename Map, typename Item>
bool EraseFromLists(Map& lists, Item* item) {
  for (auto& [side, list] : lists) {
    const auto it = std::find(list.begin(), list.end(), item);
    if (it != list.end()) {
      list.erase(it);
      return true;
    }
  }
  return false;
}

}  // namespace

TouchLayoutManager::TouchLayoutManager(LayoutManagerHostInterface* host) : LayoutManager(host) {}

TouchLayoutManager::TouchLayoutManager(const LayoutManager& other, LayoutManagerHostInterface* host,
                                       Splitter* rootHolder, const Rect& rect)
    : LayoutManager(other, host, rootHolder, rect) {}

std::unique_ptr<LayoutManager> TouchLayoutManager::CreateLayoutManager(
    const LayoutManager& other, LayoutManagerHostInterface* host, Splitter* rootHolder,
    const Rect& rect) const {
  if (!dynamic_cast<const TouchLayoutManager*>(&other)) return nullptr;
  return std::unique_ptr<LayoutManager>(new TouchLayoutManager(other, host, rootHolder, rect));
}

void TouchLayoutManager::Layout(const Rect& rect, bool constrain, bool recompute, bool keepPixels) {
  if (!LayoutEnabled() || rect.width <= 0 || rect.height <= 0) return;
  const Rect previous = GetContainingRect();
  Point delta{rect.width - previous.width, rect.height - previous.height};
  SetContainingRect(rect);
  Rect rem = rect;
  auto place = [this](auto* element, const Rect& r) {
    element->SetSizeAndPos(ConstructFrameZones(r));
  };

  for (Frame* f : borderFrames_[kTop]) {
    const int h = f->GetMinimumSize().y;
    place(f, {rem.left, rem.top, rem.width, h});
    rem.top += h;
    rem.height -= h;
  }
  for (Frame* f : borderFrames_[kLeft]) {
    const int w = f->GetMinimumSize().x;
    place(f, {rem.left, rem.top, w, rem.height});
    rem.left += w;
    rem.width -= w;
  }
  for (Frame* f : borderFrames_[kRight]) {
    const int w = f->GetMinimumSize().x;
    place(f, {rem.Right() - w, rem.top, w, rem.height});
    rem.width -= w;
  }
  for (Frame* f : borderFrames_[kBottom]) {
    const int h = f->GetMinimumSize().y;
    place(f, {rem.left, rem.Bottom() - h, rem.width, h});
    rem.height -= h;
  }
  for (SecondaryUIFrame* f : secondaryFrames_[kLeft]) {
    const int w = f->GetMinimumSize().x;
    place(f, {rem.left, rem.top, w, rem.height});
    rem.left += w;
    rem.width -= w;
  }
  lastCentre_ = rem;
  for (Frame* f : borderFrames_[kCentre]) place(f, rem);

  LayoutTreeIn(rem, constrain, recompute, keepPixels, delta);
}

void TouchLayoutManager::SetStaticBorderFrame(Frame* frame, const Rect& rect, InsertionType side,
                                              bool layoutNow) {
  borderFrames_[side].push_back(frame);
  if (layoutNow) Layout(rect, false, true, true);
}

void TouchLayoutManager::RemoveStaticBorderFrame(Frame* frame, const Rect& rect, bool layoutNow) {
  EraseFromLists(borderFrames_, frame);
  if (layoutNow) Layout(rect, false, true, false);
}

bool TouchLayoutManager::HasStaticBorderFrame(InsertionType side) const {
  return GetStaticBorderFrame(side) != nullptr;
}

Frame* TouchLayoutManager::GetStaticBorderFrame(InsertionType side) const {
  const auto it = borderFrames_.find(side);
  return it == borderFrames_.end() || it->second.empty() ? nullptr : it->second.front();
}

std::vector<Frame*> TouchLayoutManager::GetStaticBorderFrames(InsertionType side) const {
  const auto it = borderFrames_.find(side);
  return it == borderFrames_.end() ? std::vector<Frame*>() : it->second;
}

LayoutManager::InsertionType TouchLayoutManager::GetInsertionType(const Frame* frame) const {
  for (const auto& [side, list] : borderFrames_) {
    if (std::find(list.begin(), list.end(), frame) != list.end()) return side;
  }
  return kTop;
}

void TouchLayoutManager::ChangeInsertionType(Frame* frame, InsertionType side) {
  RemoveStaticBorderFrame(frame, GetContainingRect(), false);
  SetStaticBorderFrame(frame, GetContainingRect(), side, true);
}

void TouchLayoutManager::ShowAllBorderFrames(bool show, const Rect&, const Rect&) {
  for (auto& [side, list] : borderFrames_) {
    for (Frame* f : list) f->ShowFrame(show);
  }
}

void TouchLayoutManager::SetSecondaryBorderFrame(SecondaryUIFrame* frame, const Rect& rect,
                                                 InsertionType side, bool layoutNow) {
  secondaryFrames_[side].push_back(frame);
  if (layoutNow) Layout(rect, false, true, true);
}

void TouchLayoutManager::RemoveSecondaryBorderFrame(SecondaryUIFrame* frame, const Rect& rect,
                                                    bool layoutNow) {
  EraseFromLists(secondaryFrames_, frame);
  if (layoutNow) Layout(rect, false, true, false);
}

}  // namespace kivworkspace::workspace
