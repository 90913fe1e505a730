#include "workspace/PreviewSplitter.h"

#include "workspace/Frame.h"
#include "workspace/FrameDataProxy.h"
#include "workspace/FrameHostProxy.h"

namespace kivworkspace::workspace {

PreviewSplitter::PreviewSplitter(const Splitter& source)
    : Splitter(source.GetLayoutManager(), source.IsVertical()) {
  SetPlacement(source.GetPlacement());
  SetLocation(source.GetLocation());
  SetLeftOrTop(CopyChild(source.GetLeftOrTop()));
  SetRightOrBottom(CopyChild(source.GetRightOrBottom()));
  SetLeftOrTopVisible(source.IsLeftOrTopSubtreeVisible());
  SetRightOrBottomVisible(source.IsRightOrBottomSubtreeVisible());
}

PreviewSplitter::~PreviewSplitter() = default;

LayoutManagerElement* PreviewSplitter::CopyChild(LayoutManagerElement* child) {
  if (!child) return nullptr;
  LayoutManagerElement* copy = nullptr;
  if (Frame* f = child->AsFrame()) {
    auto host = std::make_unique<FrameHostProxy>(f->GetHostInterface());
    auto frame = std::make_unique<Frame>(f->GetLayoutManager(), host.get());
    copy = frame.get();
    frames_.push_back({f, std::move(host), std::move(frame)});
  } else if (Splitter* s = child->AsSplitter()) {
    others_.push_back(std::make_unique<PreviewSplitter>(*s));
    copy = others_.back().get();
  } else {
    // A placeholder holds no space: an empty one keeps the shape of the tree.
    others_.push_back(std::make_unique<FrameDataProxy>(child->GetLayoutManager(), TabDataList()));
    copy = others_.back().get();
  }
  copy->SetParent(this);
  return copy;
}

Frame* PreviewSplitter::FindCopyOf(const Frame* source) const {
  for (const FrameCopy& c : frames_) {
    if (c.source == source) return c.copy.get();
  }
  for (const auto& e : others_) {
    if (const Splitter* s = e->AsSplitter()) {
      if (Frame* found = static_cast<const PreviewSplitter*>(s)->FindCopyOf(source)) return found;
    }
  }
  return nullptr;
}

FrameHostProxy* PreviewSplitter::FindProxyOf(const Frame* copy) const {
  for (const FrameCopy& c : frames_) {
    if (c.copy.get() == copy) return c.host.get();
  }
  for (const auto& e : others_) {
    if (const Splitter* s = e->AsSplitter()) {
      if (FrameHostProxy* found = static_cast<const PreviewSplitter*>(s)->FindProxyOf(copy)) {
        return found;
      }
    }
  }
  return nullptr;
}

void PreviewSplitter::SetManagerOfCopy(LayoutManager* manager) {
  SetLayoutManager(manager);
  for (FrameCopy& c : frames_) c.copy->SetLayoutManager(manager);
  for (auto& e : others_) {
    if (Splitter* s = e->AsSplitter()) {
      static_cast<PreviewSplitter*>(s)->SetManagerOfCopy(manager);
    } else {
      e->SetLayoutManager(manager);
    }
  }
}

}  // namespace kivworkspace::workspace
