#pragma once

#include "layout/Splitter.h"

#include <memory>
#include <utility>
#include <vector>

namespace kivworkspace::workspace {

class Frame;
class FrameHostProxy;

// A copy of a splitter subtree for previews: its splitters are preview splitters, its
// frames new frames whose hosts are proxies of the real hosts. The top copy owns every
// element of the copy in one arena (a preview is made on every pointer move of a drag, so
// it allocates in blocks), and destroying it destroys the whole copy.
class PreviewSplitter : public Splitter {
 public:
  struct Arena;
  explicit PreviewSplitter(const Splitter& source);
  // An empty copy inside another copy's arena, filled by that copy (Arena is private to
  // the copies).
  PreviewSplitter(const Splitter& source, Arena& arena);
  ~PreviewSplitter() override;

  bool IsPreview() const override { return true; }
  // The copy of a frame of the source subtree, or null.
  Frame* FindCopyOf(const Frame* source) const;
  // The proxy host of a frame copy, or null.
  FrameHostProxy* FindProxyOf(const Frame* copy) const;
  // Points every element of the copy at manager.
  void SetManagerOfCopy(LayoutManager* manager);

 private:
  void CopyChildren(const Splitter& source, Arena& arena);
  LayoutManagerElement* CopyChild(LayoutManagerElement* child, Arena& arena);

  std::unique_ptr<Arena> ownArena_;  // set on the top copy only
  Arena* arena_;
};

}  // namespace kivworkspace::workspace
