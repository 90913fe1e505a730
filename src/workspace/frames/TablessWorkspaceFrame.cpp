#include "workspace/frames/TablessWorkspaceFrame.h"

#include "services/core/Localizer.h"
#include "services/ui/controls/UI_TablessDragger.h"
#include "services/ui/events/MouseEvent.h"
#include "services/ui/menu/OSMenu.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/core/Workspace.h"
#include "workspace/frames/WorkspaceBorderElement.h"
#include "workspace/frames/WorkspaceBorderElementResizeHandle.h"
#include "workspace/core/WorkspaceUtils.h"

#include <cmath>

namespace kivworkspace::workspace {

namespace {

constexpr float kGripWidth = 8;

enum ContextCommand : int { kMinimize = 1, kExpand, kClose, kUndock };

std::string Text(const std::string& key) {
  return kivcore::UTF16to8(kivcore::config::Localizer::Get().Localize(key));
}

kivcore::RectF ToF(const kivcore::Rect& r) {
  return {float(r.left), float(r.top), float(r.width), float(r.height)};
}

}  // namespace

TablessWorkspaceFrame::TablessWorkspaceFrame(TopLevelWindow* window)
    : WorkspaceFrameBase(window),
      handle_(std::make_shared<WorkspaceBorderElementResizeHandle>(this)),
      dragger_(std::make_shared<kivui::UI_TablessDragger>()) {
  SetNodeID("TablessWorkspaceFrame");
  PushBack(dragger_);
  dragger_->UI_Show(false);
  dragger_->dragStarted = [this](kivcore::PointF from, kivcore::PointF) {
    const kivcore::Rect at{int(std::lround(from.x)), int(std::lround(from.y)), 1, 1};
    HandleTabItemAction(kTabItemDragTab, 0, &at);
  };
  // A press on the handle of a collapsed element expands it.
  handle_->onClick = [this] {
    if (GetIsMinimized()) SetIsMinimized(false);
  };
}

TablessWorkspaceFrame::~TablessWorkspaceFrame() = default;

void TablessWorkspaceFrame::AddTab(const TabPanelPtr& panel) {
  if (!panel) return;
  if (tab_) DetachTabPanel(0);
  tab_ = panel;
  panel->SetFrame(this);
  PushBack(panel);
  panel->UI_Show(true);
  const WorkspaceBorderElement* element = GetBorderElement();
  rippable_ = element && element->IsRippable();
  dragger_->UI_Show(rippable_);
  UpdateLayout();
}

void TablessWorkspaceFrame::AddTab(const std::string& type) {
  Workspace* workspace = GetWorkspace();
  if (TabPanelPtr panel = workspace ? workspace->CreateTabPanel(type, this) : nullptr) AddTab(panel);
}

TabPanelPtr TablessWorkspaceFrame::DetachTabPanel(unsigned index) {
  if (index != 0 || !tab_) return nullptr;
  TabPanelPtr panel = std::move(tab_);
  panel->UI_Show(false);
  Remove(panel.get());
  panel->SetFrame(nullptr);
  hiddenByMinimize_ = false;
  rippable_ = false;
  dragger_->UI_Show(false);
  return panel;
}

WorkspaceBorderElement* TablessWorkspaceFrame::GetBorderElement() const {
  return dynamic_cast<WorkspaceBorderElement*>(tab_.get());
}

bool TablessWorkspaceFrame::IsResizeableElement() const {
  const WorkspaceBorderElement* element = GetBorderElement();
  return element && element->IsResizeable();
}

kivcore::Rect TablessWorkspaceFrame::GetTabPanelRect() const {
  kivcore::Rect content = GetFrameZoneRect(FrameZones::kInterior);
  if (IsResizeableElement() && !GetIsMinimized()) content.height -= GetSplitterSize();
  if (rippable_) {
    content.left += int(kGripWidth);
    content.width -= int(kGripWidth);
  }
  return content;
}

kivcore::Point TablessWorkspaceFrame::GetMinimumSize() const {
  if (!tab_) return {0, 0};
  std::vector<kivcore::Point> sizes;
  tab_->GetSnapSizes(sizes);
  kivcore::Point size = sizes.empty() ? kivcore::Point{0, 0} : sizes.front();
  if (!IsResizeableElement()) return size;
  const int s = GetSplitterSize();
  if (GetIsMinimized()) return {size.x, s};
  return {size.x + s, size.y + s};
}

void TablessWorkspaceFrame::GetSnapSizes(std::vector<kivcore::Point>& sizes) const {
  if (tab_) tab_->GetSnapSizes(sizes);
}

int TablessWorkspaceFrame::GetSplitterSize() const {
  if (!IsResizeableElement()) return 0;
  const TopLevelWindow* window = GetTopLevelWindow();
  const int h = window ? window->GetLayoutManager().GetSplitterHalfWidth() : 2;
  const float scale = GetScaleMatrix().GetScale();
  return GetIsMinimized() ? int(std::floor(float(2 * h + 10) * scale))
                          : int(std::floor(float(2 * h) / scale));
}

bool TablessWorkspaceFrame::GetIsMinimized() const {
  const WorkspaceBorderElement* element = GetBorderElement();
  return element && element->GetIsMinimized();
}

void TablessWorkspaceFrame::SetIsMinimized(bool minimized) {
  WorkspaceBorderElement* element = GetBorderElement();
  if (!element || element->GetIsMinimized() == minimized) return;
  element->SetIsMinimized(minimized);
  handle_->SetFlag(element->GetIsMinimized());
  if (TopLevelWindow* window = GetTopLevelWindow())
    window->GetLayoutManager().ReLayout(false, true, false);
}

void TablessWorkspaceFrame::ShowSplitter() {
  if (handle_->GetParent() != this) PushBack(handle_);
  handle_->UI_Show(true);
}

void TablessWorkspaceFrame::HideSplitter() {
  if (handle_->GetParent() == this) Remove(handle_.get());
  handle_->UI_Show(false);
}

bool TablessWorkspaceFrame::IsSplitterShown() const {
  return handle_->GetParent() == this && handle_->IsShown();
}

void TablessWorkspaceFrame::ResizeBorderElement(float amount) {
  accumulatedDrag_ += amount;
  const float half = float(GetSplitterSize() / 2);
  if (accumulatedDrag_ < -half) {
    accumulatedDrag_ = 0;
    if (!GetIsMinimized()) SetIsMinimized(true);
  } else if (accumulatedDrag_ > half) {
    accumulatedDrag_ = 0;
    if (GetIsMinimized()) SetIsMinimized(false);
  }
}

void TablessWorkspaceFrame::UpdateLayout() {
  const bool minimized = GetIsMinimized();
  if (IsResizeableElement()) {
    ShowSplitter();
    const kivcore::Rect interior = GetFrameZoneRect(FrameZones::kInterior);
    const int s = GetSplitterSize();
    // Collapsed, the element is all handle; expanded, the handle is its bottom strip.
    handle_->SetFrame(ToF(minimized ? interior
                                    : kivcore::Rect{interior.left, interior.Bottom() - s,
                                                    interior.width, s}));
    handle_->SetFlag(minimized);
  } else {
    HideSplitter();
  }
  const kivcore::Rect content = GetTabPanelRect();
  if (rippable_) {
    dragger_->SetFrame({float(content.left) - kGripWidth, float(content.top), kGripWidth,
                        float(content.height)});
  }
  if (!tab_) return;
  if (minimized) {
    if (tab_->IsShown()) tab_->UI_Show(false);
    hiddenByMinimize_ = true;
    return;
  }
  tab_->SetFrame(ToF(content));
  if (hiddenByMinimize_) tab_->UI_Show(true);
  hiddenByMinimize_ = false;
}

void TablessWorkspaceFrame::HandleTabItemAction(TabItemAction, unsigned, const kivcore::Rect* rect) {
  Undock(rect ? rect->TopLeft() : UI_LocalToGlobal({0, 0}), true);
}

void TablessWorkspaceFrame::Undock(kivcore::Point global, bool drag) {
  TopLevelWindow* window = GetTopLevelWindow();
  Workspace* workspace = GetWorkspace();
  if (!tab_ || !window || !workspace) return;
  auto keep = shared_from_this();
  if (WorkspaceBorderElement* element = GetBorderElement()) {
    element->ConvertToRegularTab();
    HideSplitter();
  }
  const kivcore::Rect interior = GetFrameZoneRect(FrameZones::kInterior);
  const kivcore::Point tl = UI_LocalToGlobal(interior.TopLeft());
  kivcore::Rect target{tl.x, tl.y, interior.width, interior.height};
  kivcore::Point snap{0, 0};
  GetLMFrame()->GetGreatestSnapSize(snap);
  if (snap.x > 0) target.width = snap.x;
  if (snap.y > 0) target.height = snap.y;
  const int side = window->GetStaticElementSide(*this);
  TabPanelPtr panel = DetachTabPanel(0);
  auto floating = workspace->CreateDragSrcWindow(std::vector<TabPanelPtr>{panel}, target);
  if (side >= 0) window->RemoveStaticElement(LayoutManager::InsertionType(side), true);
  floating->SetToGlobalTabSize(target);
  if (drag) {
    // The drag carries the window on as its drag window and ends it, docked or floating;
    // a window that no drag took is an ordinary floating window at once.
    const kivcore::Rect at{global.x, global.y, 1, 1};
    floating->GetRootFrame()->HandleTabItemAction(kTabItemDragGroup, 0, &at);
    if (workspace->GetTracker() || !floating->IsInterim()) return;
  }
  workspace->MakeWindowPermanent(floating);
  workspace->SetFocusedTabPanel(panel.get());
}

void TablessWorkspaceFrame::DoContextMenu(kivcore::Point global) {
  const bool minimized = GetIsMinimized();
  auto menu = kivui::CreateOSMenu();
  const std::string prefix = "$$$/kivworkspace/workspace/WorkspaceFrame/FrameFlyoutMenuItem/";
  if (!minimized) menu->AddItem(kMinimize, Text(prefix + "Minimize=Minimize"));
  if (minimized) menu->AddItem(kExpand, Text(prefix + "Expand=Expand"));
  menu->AddSeparator();
  menu->AddItem(kClose, Text(prefix + "ClosePanel=Close Panel"));
  menu->AddItem(kUndock, Text(prefix + "UndockPanel=Undock Panel"));
  switch (kivui::ContextMenu(*menu, global)) {
    case kMinimize:
      return SetIsMinimized(true);
    case kExpand:
      return SetIsMinimized(false);
    case kClose: {
      const WorkspaceBorderElement* element = GetBorderElement();
      if (element && element->GetBorderElementPosition() == LayoutManager::kTop && GetWorkspace())
        WorkspaceUtils::ToggleToolbarTabState(*GetWorkspace(), tab_->GetTabType());
      return;
    }
    case kUndock:
      return Undock(global, false);
    default:
      return;
  }
}

bool TablessWorkspaceFrame::UI_DoMouseEvent(kivui::UI_Node* target, const kivui::MouseEvent& e) {
  if (!IsResizeableElement() || e.action != kivui::MouseEvent::kDown) return false;
  // The panel's own controls keep their clicks while the element is open.
  if (target != this && target != handle_.get() && !GetIsMinimized()) return false;
  if (e.IsContextClick()) {
    DoContextMenu({int(std::lround(e.global.x)), int(std::lround(e.global.y))});
    return true;
  }
  if (e.button == kivui::MouseEvent::kPrimary && e.IsDoubleClick()) {
    SetIsMinimized(!GetIsMinimized());
    return true;
  }
  return false;
}

}  // namespace kivworkspace::workspace
