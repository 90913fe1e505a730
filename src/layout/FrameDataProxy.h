#pragma once

#include "layout/FrameHostInterface.h"
#include "layout/LayoutManagerElement.h"

namespace kivworkspace::workspace {

// A placeholder left in the tree where a frame was removed: it remembers the removed
// frame's tabs, or the frame itself when it stays alive hidden, so that the frame can come
// back to the same place. Owned by the manager's reanimation list.
class FrameDataProxy : public LayoutManagerElement {
 public:
  FrameDataProxy(LayoutManager* manager, TabDataList tabData)
      : LayoutManagerElement(manager), tabData_(std::move(tabData)) {}
  FrameDataProxy(LayoutManager* manager, Frame* frame)
      : LayoutManagerElement(manager), hasFrame_(true), frame_(frame) {}
  FrameDataProxy(LayoutManager* manager, Frame* frame, TabDataList tabData)
      : LayoutManagerElement(manager),
        hasFrame_(true),
        tabData_(std::move(tabData)),
        frame_(frame) {}

  FrameDataProxy* AsPlaceholder() override { return this; }

  bool HasFrame() const { return hasFrame_; }
  Frame* GetFrame() const { return frame_; }
  const TabDataList& GetTabData() const { return tabData_; }
  // True when one of the remembered tabs has this type (exact byte comparison).
  bool HoldsTabType(std::string_view type) const;

 protected:
  kivcore::Point DoGetMinimumSize() const override { return {0, 0}; }
  void DoGetSnapSizes(std::vector<kivcore::Point>&) const override {}
  void DoGetConstraintSize(kivcore::Point&) const override {}
  bool DoGetIsStretchy(bool) const override { return true; }

 private:
  bool hasFrame_ = false;
  TabDataList tabData_;
  Frame* frame_ = nullptr;
};

// The tabs a leaf of the tree stands for: a frame's panels, removed-panel records and hidden
// panels, a kept frame's (for its placeholder), or a placeholder's records. Nothing for a
// splitter.
void GetLeafTabData(const LayoutManagerElement* leaf, TabDataList& visible, TabDataList& removed,
                    TabDataList& hidden);

}  // namespace kivworkspace::workspace
