#include "layout/PreviewSplitter.h"

#include "layout/Frame.h"
#include "layout/FrameDataProxy.h"
#include "layout/FrameHostProxy.h"

#include <deque>

namespace kivworkspace::workspace {

// Deques keep their elements in place as they grow and allocate in blocks.
struct PreviewSplitter::Arena {
  std::deque<PreviewSplitter> splitters;
  std::deque<FrameHostProxy> hosts;
  std::deque<Frame> frames;
  std::deque<FrameDataProxy> placeholders;
  std::vector<std::pair<const Frame*, Frame*>> frameCopies;       // source, copy
  std::vector<std::pair<const Frame*, FrameHostProxy*>> proxies;  // copy, its host
};

PreviewSplitter::PreviewSplitter(const Splitter& source)
    : Splitter(source.GetLayoutManager(), source.IsVertical()),
      ownArena_(std::make_unique<Arena>()),
      arena_(ownArena_.get()) {
  CopyChildren(source, *arena_);
}

PreviewSplitter::PreviewSplitter(const Splitter& source, Arena& arena)
    : Splitter(source.GetLayoutManager(), source.IsVertical()), arena_(&arena) {}

PreviewSplitter::~PreviewSplitter() = default;

void PreviewSplitter::CopyChildren(const Splitter& source, Arena& arena) {
  SetPlacement(source.GetPlacement());
  SetLocation(source.GetLocation());
  SetLeftOrTop(CopyChild(source.GetLeftOrTop(), arena));
  SetRightOrBottom(CopyChild(source.GetRightOrBottom(), arena));
  SetLeftOrTopVisible(source.IsLeftOrTopSubtreeVisible());
  SetRightOrBottomVisible(source.IsRightOrBottomSubtreeVisible());
}

LayoutManagerElement* PreviewSplitter::CopyChild(LayoutManagerElement* child, Arena& arena) {
  if (!child) return nullptr;
  LayoutManagerElement* copy = nullptr;
  if (Frame* f = child->AsFrame()) {
    FrameHostProxy& host = arena.hosts.emplace_back(f->GetHostInterface());
    Frame& frame = arena.frames.emplace_back(f->GetLayoutManager(), &host);
    arena.frameCopies.emplace_back(f, &frame);
    arena.proxies.emplace_back(&frame, &host);
    copy = &frame;
  } else if (Splitter* s = child->AsSplitter()) {
    // Filled only once it is in the arena: copying its children adds to the same deques.
    PreviewSplitter& splitter = arena.splitters.emplace_back(*s, arena);
    splitter.CopyChildren(*s, arena);
    copy = &splitter;
  } else {
    // A placeholder holds no space: an empty one keeps the shape of the tree.
    copy = &arena.placeholders.emplace_back(child->GetLayoutManager(), TabDataList());
  }
  copy->SetParent(this);
  return copy;
}

Frame* PreviewSplitter::FindCopyOf(const Frame* source) const {
  for (const auto& [from, copy] : arena_->frameCopies) {
    if (from == source) return copy;
  }
  return nullptr;
}

FrameHostProxy* PreviewSplitter::FindProxyOf(const Frame* copy) const {
  for (const auto& [frame, host] : arena_->proxies) {
    if (frame == copy) return host;
  }
  return nullptr;
}

void PreviewSplitter::SetManagerOfCopy(LayoutManager* manager) {
  SetLayoutManager(manager);
  for (auto& s : arena_->splitters) s.SetLayoutManager(manager);
  for (auto& f : arena_->frames) f.SetLayoutManager(manager);
  for (auto& p : arena_->placeholders) p.SetLayoutManager(manager);
}

}  // namespace kivworkspace::workspace
