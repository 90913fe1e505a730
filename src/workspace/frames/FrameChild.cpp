#include "workspace/frames/FrameChild.h"

#include "services/ui/controls/UI_TabWell.h"
#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "services/ui/events/MouseEvent.h"
#include "services/ui/node/UI_NodeManager.h"
#include "workspace/frames/StackedWorkspaceFrame.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kivworkspace::workspace {

namespace {

// A gripper drag ends on a panel's snap height when it comes within this of it.
constexpr int kSnapDistance = 20;

kivui::UI_TabWell::Options HeaderOptions() {
  kivui::UI_TabWell::Options options;
  options.draggableTabs = false;
  // A header holds one tab: in a narrow stack it is cropped to the header, never partly
  // hidden under an overflow button whose menu would only list that same tab.
  options.croppedTabs = true;
  options.minTabWidth = 0;
  return options;
}

}  // namespace

// The strip under an open panel: dragged, it sets the panel's height (snapping to the
// panel's snap heights, within the panel's least and greatest height).
class FrameChild::Gripper : public kivui::UI_Node {
 public:
  explicit Gripper(FrameChild& child) : UI_Node("FrameChildGripper"), child_(child) {}

  bool UI_DoCursor(kivcore::PointF) override {
    if (!Adjustable()) return false;
    kivui::UI_NodeManager::Get().SetResourceCursor(kivui::kCursorHorizontalBar);
    return true;
  }
  bool UI_DoMouseEvent(kivui::UI_Node*, const kivui::MouseEvent& e) override {
    auto& manager = kivui::UI_NodeManager::Get();
    if (e.action == kivui::MouseEvent::kDown && e.button == kivui::MouseEvent::kPrimary && Adjustable()) {
      pressY_ = e.global.y;
      heightAtPress_ = child_.GetClientHeight();
      manager.BeginCapture(this);
      return true;
    }
    if (manager.GetCaptureNode() != this) return false;
    if (e.action == kivui::MouseEvent::kMove) Drag(e.global.y);
    if (e.action == kivui::MouseEvent::kUp) manager.EndCapture(this);
    return true;
  }

 private:
  bool Adjustable() const { return child_.GetPanel()->GetDimension(kStackedHeightAdjustable) == 1; }
  void Drag(float y) {
    const TabPanel& panel = *child_.GetPanel();
    float target = (y - pressY_) + float(heightAtPress_);
    std::vector<kivcore::Point> snaps;
    panel.GetSnapSizes(snaps);
    const kivcore::Point* nearest = nullptr;
    for (const kivcore::Point& s : snaps) {
      if (s.y != 0 && (!nearest || std::abs(float(s.y) - target) < std::abs(float(nearest->y) - target)))
        nearest = &s;
    }
    if (nearest && std::abs(float(nearest->y) - target) < float(kSnapDistance)) target = float(nearest->y);
    target = std::max(target, float(panel.GetDimension(kStackedMinHeight)));
    target = std::min(target, float(panel.GetDimension(kStackedMaxHeight)));
    child_.SetClientHeight(int(target));
  }
  FrameChild& child_;
  float pressY_ = 0;
  int heightAtPress_ = 0;
};

FrameChild::FrameChild(StackedWorkspaceFrame& frame, const TabPanelPtr& panel)
    : UI_Container("FrameChild"),
      frame_(frame),
      panel_(panel),
      header_(std::make_shared<kivui::UI_TabWell>(HeaderOptions())),
      container_(std::make_shared<kivui::UI_Container>("TabPanelContainer")),
      gripper_(std::make_shared<Gripper>(*this)) {
  PushBack(header_);
  PushBack(container_);
  PushBack(gripper_);
  container_->PushBack(panel);
  kivui::UI_TabItem item;
  item.id = int(panel->GetID());
  header_->AddTab(item);
  auto& cb = header_->GetCallbacks();
  cb.tabClicked = [this](int) { frame_.HeaderAction(*this, kTabItemSelect, {}); };
  cb.tabDoubleClicked = [this](int) { frame_.HeaderAction(*this, kTabItemToggleMaximize, {}); };
  cb.closeBoxClicked = [this](int) { frame_.HeaderAction(*this, kTabItemClose, {}); };
  cb.tabContextMenu = [this](int, kivcore::PointF at) { frame_.HeaderAction(*this, kTabItemContextMenu, at); };
  cb.tabDraggedOut = [this](int, kivcore::PointF from, kivcore::PointF to) { frame_.HeaderDragged(*this, from, to); };
  panel->UI_Show(false);
  container_->UI_Show(false);
  gripper_->UI_Show(false);
}

FrameChild::~FrameChild() = default;

int FrameChild::GetClientHeight() const {
  const int h = clientHeight_ < 0 ? panel_->GetDimension(kStackedPreferredHeight) : clientHeight_;
  return h < 1 ? kLeastClientHeight : h;
}

void FrameChild::SetClientHeight(int height) {
  clientHeight_ = std::max(height, kLeastClientHeight);
  frame_.FrameChildChanged(*this);
}

void FrameChild::Open() {
  if (open_) return;
  open_ = true;
  if (clientHeight_ < 0) clientHeight_ = std::max(panel_->GetDimension(kStackedPreferredHeight), kLeastClientHeight);
  frame_.FrameChildChanged(*this);
  container_->UI_Show(true);
  panel_->UI_Show(true);
  gripper_->UI_Show(true);
}

void FrameChild::Close() {
  if (!open_ || frame_.GetTabCount() < 2) return;
  open_ = false;
  container_->UI_Show(false);
  panel_->UI_Show(false);
  gripper_->UI_Show(false);
  frame_.FrameChildChanged(*this);
}

int FrameChild::GetHeight() const {
  // In the UI's logical units, as Place lays the child out.
  const int body = (open_ ? GetClientHeight() + kGripperHeight : 0) + kSeparatorHeight;
  return body + int(kivui::UI_TabWell::kTabHeight);
}

void FrameChild::Place(const kivcore::RectF& r) {
  SetFrame(r);
  const float header = kivui::UI_TabWell::kTabHeight;
  header_->SetFrame({0, 0, r.width, header});
  if (!open_) return;
  const float client = float(GetClientHeight());
  container_->SetFrame({0, header, r.width, client});
  panel_->SetFrame({0, 0, r.width, client});
  gripper_->SetFrame({0, header + client, r.width, float(kGripperHeight)});
}

void FrameChild::UI_Draw(kivui::Drawbot& d, const kivcore::RectF&) {
  const kivui::ThemeColors& theme = kivui::ThemeColors::Current();
  const kivcore::RectF b = GetLocalBounds();
  d.FillRect(b, theme.panel);
  if (open_) {
    const float grip = kivui::UI_TabWell::kTabHeight + float(GetClientHeight());
    d.FillRect({0, grip, b.width, float(kGripperHeight)}, theme.header);
  }
  d.FillRect({0, b.height - float(kSeparatorHeight), b.width, float(kSeparatorHeight)}, theme.border);
}

}  // namespace kivworkspace::workspace
