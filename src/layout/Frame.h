#pragma once

#include "services/core/RectT.h"
#include "layout/FrameHostInterface.h"
#include "layout/LayoutManagerElement.h"

namespace kivworkspace::workspace {

// A leaf of the layout tree: one docked panel frame. Owned by its host, which draws it;
// most operations forward to that host.
class Frame final : public LayoutManagerElement {
 public:
  Frame(LayoutManager* manager, FrameHostInterface* host);

  void SetSizeAndPos(const FrameZones& zones) { host_->SetSizeAndPos(zones); }
  void ShowFrame(bool show) { host_->ShowFrame(show); }
  bool IsFrameShown() const { return host_->IsFrameShown(); }
  void* GetHostData() { return host_->GetHostData(); }
  kivcore::Rect GetFrameLocalRect() const { return host_->GetFrameLocalRect(); }
  kivcore::Rect GetTabPanelFrameGlobalRect() const { return host_->GetTabPanelFrameGlobalRect(); }
  kivcore::Rect GetTabWellGlobalRect() const { return host_->GetTabWellGlobalRect(); }
  kivcore::Rect FrameRectToTabPanelRect(const kivcore::Rect& r) const {
    return host_->FrameRectToTabPanelRect(r);
  }
  kivcore::Rect FrameRectToTabWellRect(const kivcore::Rect& r) const {
    return host_->FrameRectToTabWellRect(r);
  }
  void GetTabData(TabDataList& visible, TabDataList& removed, TabDataList& hidden) const {
    host_->DoGetTabData(visible, removed, hidden);
  }
  FrameHostInterface* GetHostInterface() const { return host_; }

  // Both axes stretchy, no wanted size.
  void ClearConstraintSize();
  // Sets the wanted size from the nearest snap size (true) or the greatest (false); an axis
  // whose wanted size differs from the minimum becomes non-stretchy. Returns the frame's
  // measurements afterwards, which the preparation step reports to the parent splitter.
  Measurements SetConstraintSize(bool nearest);
  void GetNearestSnapSize(kivcore::Point& size) const;
  void GetGreatestSnapSize(kivcore::Point& size) const;

  bool AllowSnapping(bool inY, Frame* frame) const override;

  Measurements MeasureFrame() const {
    return {host_->GetMinimumSize(), constraint_, stretchyX_, stretchyY_};
  }
  bool IsStretchyInX() const { return stretchyX_; }
  bool IsStretchyInY() const { return stretchyY_; }

 protected:
  kivcore::Point DoGetMinimumSize() const override { return host_->GetMinimumSize(); }
  void DoGetSnapSizes(std::vector<kivcore::Point>& sizes) const override {
    host_->GetSnapSizes(sizes);
  }
  void DoGetConstraintSize(kivcore::Point& size) const override { size = constraint_; }
  bool DoGetIsStretchy(bool inY) const override { return inY ? stretchyY_ : stretchyX_; }
  Measurements DoMeasure() const override { return MeasureFrame(); }

 private:
  bool stretchyX_ : 1 = true;
  bool stretchyY_ : 1 = true;
  kivcore::Point constraint_{0, 0};
  FrameHostInterface* host_;
};

inline Frame* LayoutManagerElement::AsFrame() {
  return Is(Kind::kFrame) ? static_cast<Frame*>(this) : nullptr;
}

}  // namespace kivworkspace::workspace
