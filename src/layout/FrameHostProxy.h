#pragma once

#include "layout/FrameHostInterface.h"

namespace kivworkspace::workspace {

// Stands in for a real frame host in a preview tree: it records where the preview put the
// frame and never touches the real host's window.
class FrameHostProxy : public FrameHostInterface {
 public:
  explicit FrameHostProxy(FrameHostInterface* real);

  // Stores zone 5 and moves the stored rectangles with the frame.
  void SetSizeAndPos(const FrameZones& zones) override;
  void ShowFrame(bool show) override { shown_ = show; }
  bool IsFrameShown() const override { return shown_; }
  kivcore::Point GetMinimumSize() const override { return {0, 0}; }
  void GetSnapSizes(std::vector<kivcore::Point>&) const override {}
  kivcore::Rect FrameRectToTabPanelRect(const kivcore::Rect& r) const override {
    return real_->FrameRectToTabPanelRect(r);
  }
  kivcore::Rect FrameRectToTabWellRect(const kivcore::Rect& r) const override {
    return real_->FrameRectToTabWellRect(r);
  }
  kivcore::Rect GetTabPanelFrameGlobalRect() const override { return tabPanelGlobal_; }
  kivcore::Rect GetFrameLocalRect() const override { return local_; }
  kivcore::Rect GetTabWellGlobalRect() const override { return tabWellGlobal_; }
  void* GetHostData() override { return nullptr; }
  void DoGetTabData(TabDataList&, TabDataList&, TabDataList&) const override {}

  // The rectangle the preview gave the frame (empty until it was placed).
  const kivcore::Rect& GetFrameRect() const { return frameRect_; }
  FrameHostInterface* GetRealHost() const { return real_; }

 private:
  FrameHostInterface* real_;
  bool shown_;
  kivcore::Rect frameRect_;
  kivcore::Rect tabPanelGlobal_;
  kivcore::Rect local_;
  kivcore::Rect tabWellGlobal_;
};

}  // namespace kivworkspace::workspace
