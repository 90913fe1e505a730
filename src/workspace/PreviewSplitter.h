#pragma once

#include "workspace/Splitter.h"

#include <memory>
#include <vector>

namespace kivworkspace::workspace {

class Frame;
class FrameHostProxy;

// A copy of a splitter subtree for previews: its splitters are preview splitters, its
// frames new frames whose hosts are proxies of the real hosts. Each preview splitter owns
// the elements it made, so destroying the top copy destroys the whole copy.
class PreviewSplitter : public Splitter {
 public:
  explicit PreviewSplitter(const Splitter& source);
  ~PreviewSplitter() override;

  bool IsPreview() const override { return true; }
  // The copy of a frame of the source subtree, or null.
  Frame* FindCopyOf(const Frame* source) const;
  // The proxy host of a frame copy made by this subtree, or null.
  FrameHostProxy* FindProxyOf(const Frame* copy) const;
  // Points every element of the copy at manager.
  void SetManagerOfCopy(LayoutManager* manager);

 private:
  LayoutManagerElement* CopyChild(LayoutManagerElement* child);

  struct FrameCopy {
    const Frame* source;
    std::unique_ptr<FrameHostProxy> host;
    std::unique_ptr<Frame> copy;
  };
  std::vector<FrameCopy> frames_;
  std::vector<std::unique_ptr<LayoutManagerElement>> others_;  // splitters and placeholders
};

}  // namespace kivworkspace::workspace
