// Drop zones of a frame, and previews of an insertion or a removal on a copy of the tree.
#include "layout/Frame.h"
#include "layout/FrameHostProxy.h"
#include "layout/LayoutManager.h"
#include "layout/PreviewSplitter.h"
#include "layout/ProxyMgrHostInterface.h"

#include <algorithm>

namespace kivworkspace::workspace {

using kivcore::Point;
using kivcore::Rect;

std::vector<DropZone> LayoutManager::GetDropZones(Frame* frame, const Rect& frameRect,
                                                  const std::vector<int>& exclusions) const {
  auto ex = [&](std::size_t i) { return i < exclusions.size() ? exclusions[i] : 0; };
  Rect r = frame->FrameRectToTabPanelRect(frameRect);
  const int t = static_cast<int>(
      std::min({0.2 * static_cast<double>(r.width), 0.2 * static_cast<double>(r.height), 50.0}));
  // The top exclusion is left out here: the tab well sits at the top.
  r.left += ex(1);
  r.width -= ex(1) + ex(3);
  r.height -= ex(2);
  const int x = r.left, y = r.top, w = r.width, h = r.height;

  Rect well = frame->FrameRectToTabWellRect(frameRect);
  well.top += ex(0);
  well.height -= ex(0);
  well.left += ex(1);
  well.width -= ex(1) + ex(3);

  auto* self = const_cast<LayoutManager*>(this);
  using P = std::vector<Point>;
  return {
      DropZone(self, P{{x, y}, {x + t, y + t}, {x + w - t, y + t}, {x + w, y}}, DropZone::kTop,
               frame),
      DropZone(self, P{{x, y}, {x + t, y + t}, {x + t, y + h - t}, {x, y + h}}, DropZone::kLeft,
               frame),
      DropZone(self, P{{x, y + h}, {x + t, y + h - t}, {x + w - t, y + h - t}, {x + w, y + h}},
               DropZone::kBottom, frame),
      DropZone(self, P{{x + w, y + h}, {x + w - t, y + h - t}, {x + w - t, y + t}, {x + w, y}},
               DropZone::kRight, frame),
      DropZone(self,
               P{{x + t, y + t},
                 {x + w - t, y + t},
                 {x + w - t, y + h - t},
                 {x + t, y + h - t},
                 {x + t, y + t}},
               DropZone::kCentre, frame),
      DropZone(self,
               P{{well.left, well.top},
                 {well.Right(), well.top},
                 {well.Right(), well.Bottom()},
                 {well.left, well.Bottom()}},
               DropZone::kTabWell, frame),
  };
}

// A copy of the tree in a preview manager of the same kind; destroying it destroys both.
struct LayoutManager::PreviewCopy {
  ProxyMgrHostInterface host;
  std::unique_ptr<LayoutManager> manager;
  PreviewSplitter* tree = nullptr;
};

std::unique_ptr<LayoutManager::PreviewCopy> LayoutManager::MakePreviewCopy() const {
  auto preview = std::make_unique<PreviewCopy>();
  MeasureScope measuring(*this);  // the copy reads every splitter's effective placement
  auto tree = std::make_unique<PreviewSplitter>(*rootHolder_);
  // Laid out in the rectangle the real tree occupies, which leaves out the static frames
  // of the concrete managers (their containing rect may include them).
  preview->manager = CreateLayoutManager(*this, &preview->host, tree.get(), TreeRect());
  if (!preview->manager) return nullptr;
  preview->tree = tree.release();  // now the preview manager's root holder
  preview->tree->SetManagerOfCopy(preview->manager.get());
  return preview;
}

Rect LayoutManager::TreeRect() const {
  const LayoutManagerElement* root = GetRoot();
  if (const Splitter* s = root ? root->AsSplitter() : nullptr) return s->GetLocation();
  if (const Frame* f = root ? root->AsFrame() : nullptr) return f->GetFrameLocalRect();
  return containingRect_;
}

Rect LayoutManager::PreviewAddFrame(Frame* target, InsertionType type, Frame* dragged) const {
  const std::unique_ptr<PreviewCopy> preview = MakePreviewCopy();
  if (!preview) return {};
  Frame* targetCopy = target ? preview->tree->FindCopyOf(target) : nullptr;
  if (target && !targetCopy) return {};
  FrameHostProxy draggedHost(dragged->GetHostInterface());
  Frame temporary(preview->manager.get(), &draggedHost);
  preview->manager->AddFrame(targetCopy, type, &temporary);
  return draggedHost.GetFrameRect();
}

Rect LayoutManager::PreviewRemoveFrame(Frame* removed, Frame* neighbour) const {
  const std::unique_ptr<PreviewCopy> preview = MakePreviewCopy();
  if (!preview) return {};
  Frame* removedCopy = preview->tree->FindCopyOf(removed);
  if (!removedCopy) return {};
  Frame* neighbourCopy = neighbour ? preview->tree->FindCopyOf(neighbour) : nullptr;
  if (!neighbour) {
    if (const Splitter* p =
            removedCopy->GetParent() ? removedCopy->GetParent()->AsSplitter() : nullptr) {
      LayoutManagerElement* other =
          p->GetLeftOrTop() == removedCopy ? p->GetRightOrBottom() : p->GetLeftOrTop();
      neighbourCopy = other ? other->AsFrame() : nullptr;
    }
  }
  preview->manager->RemoveFrame(removedCopy, false, false);
  FrameHostProxy* proxy = neighbourCopy ? preview->tree->FindProxyOf(neighbourCopy) : nullptr;
  return proxy ? proxy->GetFrameRect() : Rect{};
}

}  // namespace kivworkspace::workspace
