#pragma once

#include "layout/FrameHostInterface.h"
#include "layout/LayoutManagerElement.h"

namespace kivworkspace::workspace {

// A leaf that is not a docked frame: a secondary border element of a touch window.
class SecondaryUIFrame : public LayoutManagerElement {
 public:
  SecondaryUIFrame(FrameHostInterface* host, LayoutManager* manager)
      : LayoutManagerElement(manager), host_(host) {}

  void SetSizeAndPos(const FrameZones& zones) {
    if (host_) host_->SetSizeAndPos(zones);
  }
  FrameHostInterface* GetHostInterface() const { return host_; }

 protected:
  kivcore::Point DoGetMinimumSize() const override {
    return host_ ? host_->GetMinimumSize() : kivcore::Point{0, 0};
  }
  void DoGetSnapSizes(std::vector<kivcore::Point>& sizes) const override {
    if (host_) host_->GetSnapSizes(sizes);
  }
  void DoGetConstraintSize(kivcore::Point&) const override {}
  bool DoGetIsStretchy(bool) const override { return false; }

 private:
  FrameHostInterface* host_;
};

}  // namespace kivworkspace::workspace
