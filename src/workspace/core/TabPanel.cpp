#include "workspace/core/TabPanel.h"

#include "services/core/PropList.h"
#include "services/ui/events/MouseEvent.h"
#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/window/OS_Window.h"
#include "workspace/core/Workspace.h"
#include "workspace/frames/WorkspaceFrame.h"

#include <climits>
#include <cmath>

namespace kivworkspace::workspace {

kivui::OS_ScaledView OS_TabPanel::GetScaledView() const {
  const kivui::OS_Window* window = GetWindow();
  return kivui::OS_ScaledView(window ? window->GetRecommendedScaleFactor() : 1.0f);
}

TabPanel::TabPanel(Workspace* workspace, WorkspaceFrameBase* frame, bool wantsKeyboardFocus,
                   std::string tabType, kivcore::UTF16String name, bool flag)
    : id_(workspace->NewUniqueID()),
      tabType_(std::move(tabType)),
      wantsFocus_(wantsKeyboardFocus),
      frame_(frame),
      workspace_(workspace),
      flag_(flag),
      name_(std::move(name)) {
  SetNodeID(tabType_);
  if (frame_) timeStamp_ = workspace_->FreshTabTimeStamp();
}

TabPanel::~TabPanel() = default;

void TabPanel::SetName(const kivcore::UTF16String& name) {
  if (name == name_) return;
  name_ = name;
  if (GetParent() && frame_) frame_->TabPanelNameChanged(*this);
}

void TabPanel::SetLabel(const kivcore::UTF16String& label) {
  if (label == label_) return;
  label_ = label;
  if (GetParent() && frame_) frame_->TabPanelLabelChanged(*this);
}

void TabPanel::SetTabColor(const ColorRGBA& color) {
  color_ = color;
  if (GetParent() && frame_) frame_->TabColorChanged(*this);
}

bool TabPanel::GetTabIndex(unsigned* index) const {
  if (!frame_ || frame_->GetTabCount() == 0) return false;
  for (unsigned i = 0; i < frame_->GetTabCount(); ++i) {
    if (frame_->GetTabPanel(i).get() == this) {
      *index = i;
      return true;
    }
  }
  return false;
}

bool TabPanel::HideWhenClosed() const { return workspace_->TabTypeHidesWhenClosed(tabType_); }
bool TabPanel::ObliterateWhenClosed() const {
  return workspace_->TabTypeObliteratesWhenClosed(tabType_);
}
bool TabPanel::SaveStateWhenObliterated() const {
  return workspace_->TabTypeSavesStateWhenObliterated(tabType_);
}

void TabPanel::Touch() {
  if (frame_) timeStamp_ = workspace_->FreshTabTimeStamp();
}

int TabPanel::GetDimension(TabPanelDimension dimension) const {
  switch (dimension) {
    case kStackedPreferredHeight:
      return 100;
    case kStackedMinHeight:
      return 1;
    case kStackedMaxHeight:
      return INT_MAX;
    case kDimension3:
      return 100;
    case kDimension4:
      return 10;
    case kDimension5:
      return INT_MAX;
    case kStackedHeightAdjustable:
      return 1;
  }
  return 100;
}

void TabPanel::InvalidateDimensions() {
  if (auto* frame = dynamic_cast<WorkspaceFrame*>(frame_)) frame->InvalidateTabPanelDimensions(this, true);
}

void TabPanel::SetLocked(bool locked) {
  if (locked == locked_) return;
  locked_ = locked;
  if (!IsLockable()) return;
  if (auto* frame = dynamic_cast<WorkspaceFrame*>(frame_)) frame->TabPanelLockedChanged(*this);
}

kivcore::RectF TabPanel::GetContentRect() const { return GetInverseScaledRect(GetLocalBounds()); }

kivcore::RectF TabPanel::GetInverseScaledRect(const kivcore::RectF& r) const {
  return GetScaledView().FromDevice(r);
}

void TabPanel::SaveStateData(kivcore::PropList* list) const {
  if (auto* frame = dynamic_cast<WorkspaceFrame*>(frame_)) {
    list->SetValue("FrameViewFlags", std::uint32_t(frame->GetStackedViewState()));
  }
  DoSaveStateData(list);
}

void TabPanel::LoadStateData(kivcore::PropList* list) { DoLoadStateData(list); }

void TabPanel::GetSnapSizes(std::vector<kivcore::Point>& sizes) const {
  const std::size_t first = sizes.size();
  DoGetSnapSizes(sizes);
  const float scale = GetScaledView().GetScale();
  for (std::size_t i = first; i < sizes.size(); ++i) {
    sizes[i] = {int(std::floor(float(sizes[i].x) * scale + 0.5f)),
                int(std::floor(float(sizes[i].y) * scale + 0.5f))};
  }
}

bool TabPanel::IsFrontmost() const {
  if (!frame_) return false;
  if (auto* frame = dynamic_cast<WorkspaceFrame*>(frame_)) {
    const int front = frame->GetFrontTabIndex();
    return front >= 0 && frame->GetTabPanel(unsigned(front)).get() == this;
  }
  return true;
}

bool TabPanel::IsContentVisible() const {
  if (!frame_ || !frame_->IsFrameShown()) return false;
  return frame_->GetFrontTabPanel().get() == this;
}

bool TabPanel::IsFocused() const { return workspace_->GetFocusedTabPanel() == this; }

bool TabPanel::UI_AreAllParentsVisible() const {
  return OS_TabPanel::UI_AreAllParentsVisible() && IsFrontmost();
}

void TabPanel::UI_Show(bool show) {
  OS_TabPanel::UI_Show(show);
  if (show && IsFrontmost()) Touch();
}

bool TabPanel::UI_DoMouseActivate() {
  if (wantsFocus_) workspace_->SetFocusedTabPanel(this);
  return true;
}

bool TabPanel::UI_DoMouseEvent(kivui::UI_Node*, const kivui::MouseEvent& event) {
  if (event.action != kivui::MouseEvent::kDown || !wantsFocus_) return false;
  if (workspace_->GetFocusedTabPanel() == this) return false;
  workspace_->SetFocusedTabPanel(this);
  return true;
}

void TabPanel::UI_FocusChanged(kivui::FocusChangeReason reason) {
  if (UI_HasKeyboardFocus()) {
    Touch();
    workspace_->TabPanelGainedFocus(this);
  }
  OS_TabPanel::UI_FocusChanged(reason);
}

}  // namespace kivworkspace::workspace
