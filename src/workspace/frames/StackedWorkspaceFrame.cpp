#include "workspace/frames/StackedWorkspaceFrame.h"

#include "services/core/DebugDatabase.h"
#include "services/ui/controls/UI_ScrollBar.h"
#include "services/ui/controls/UI_TabWell.h"
#include "services/ui/events/ModKeys.h"
#include "services/ui/events/MouseEvent.h"
#include "services/ui/node/UI_NodeManager.h"
#include "workspace/frames/FrameChild.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/core/Workspace.h"

#include <algorithm>
#include <cmath>

namespace kivworkspace::workspace {

namespace {

// One wheel notch scrolls the stack by this much.
constexpr int kWheelStep = 40;
// A header dragged down moves past its lower neighbour after this part of a header.
constexpr float kReorderFactor = 1.1f;
// A header dragged this near the view's top or bottom scrolls the stack by a step.
constexpr int kAutoScrollBand = 10;
constexpr int kAutoScrollStep = 20;

unsigned StackedFlags(unsigned flags) { return flags >= 8 ? 7u : flags; }

// How far the pointer must move up or down from the press before a header drag reorders.
double ReorderThreshold() {
  return kivcore::debug::DebugDatabase::Instance().GetEntry("StackedPanel_MoveMinMouseMoveThresh",
                                                            6.0);
}

}  // namespace

StackedWorkspaceFrame::StackedWorkspaceFrame(TopLevelWindow* window, unsigned stackedViewFlags)
    : WorkspaceFrame(window, StackedFlags(stackedViewFlags)),
      childContainer_(std::make_shared<kivui::UI_Container>("FrameChildContainer")),
      emptyRegion_(std::make_shared<kivui::UI_Node>("StackedPanelEmptyRegion")),
      scrollBar_(std::make_shared<kivui::UI_ScrollBar>(true)) {
  SetNodeID("StackedWorkspaceFrame");
  SetStackedViewState(StackedFlags(stackedViewFlags), true);
  ShowTabbedChrome(false);
  PushBack(childContainer_);
  PushBack(emptyRegion_);
  PushBack(scrollBar_);
  scrollBar_->onValueChanged = [this](int value) { SetScrollPosition(-value); };
}

StackedWorkspaceFrame::~StackedWorkspaceFrame() = default;

// --- panels --------------------------------------------------------------------------------

unsigned StackedWorkspaceFrame::GetTabCount() const { return unsigned(childContainer_->GetChildCount()); }

FrameChild* StackedWorkspaceFrame::GetFrameChild(unsigned index) const {
  return static_cast<FrameChild*>(childContainer_->GetChild(index));
}

int StackedWorkspaceFrame::ChildIndex(const FrameChild& child) const {
  return childContainer_->IndexOf(&child);
}

bool StackedWorkspaceFrame::HasOpenChild() const {
  for (unsigned i = 0; i < GetTabCount(); ++i)
    if (GetFrameChild(i)->IsOpen()) return true;
  return false;
}

int StackedWorkspaceFrame::GetFrontTabIndex() const {
  const unsigned count = GetTabCount();
  return count == 0 ? 0 : int(std::min(front_, count - 1));
}

TabPanelPtr StackedWorkspaceFrame::GetTabPanel(unsigned index) const {
  const FrameChild* child = GetFrameChild(index);
  return child ? child->GetPanel() : nullptr;
}

int StackedWorkspaceFrame::IndexOf(const TabPanel* panel) const {
  for (unsigned i = 0; i < GetTabCount(); ++i)
    if (GetFrameChild(i)->GetPanel().get() == panel) return int(i);
  return -1;
}

kivui::UI_TabWell* StackedWorkspaceFrame::GetTabWellOf(const TabPanel& panel) const {
  const int index = IndexOf(&panel);
  return index < 0 ? nullptr : &GetFrameChild(unsigned(index))->GetHeader();
}

void StackedWorkspaceFrame::AddTab(const TabPanelPtr& panel, unsigned index, bool focus) {
  if (!panel) return;
  index = std::min(index, GetTabCount());
  panel->SetFrame(this);
  childContainer_->Insert(index, std::make_shared<FrameChild>(*this, panel));
  SyncTab(*panel);
  UpdateForTabContainerChanges();
  BringTabToFront(index);
  TopLevelWindow* window = GetTopLevelWindow();
  if (focus && window && !window->IsInterim() && GetWorkspace())
    GetWorkspace()->SetFocusedTabPanel(panel.get());
  panel->NotifyOrientationChanged(false);
  panel->NotifyStackedStateChanged(true);
}

TabPanelPtr StackedWorkspaceFrame::DetachTabPanel(unsigned index) {
  FrameChild* child = GetFrameChild(index);
  if (!child) return nullptr;
  TabPanelPtr panel = child->GetPanel();
  if (reorder_.child == child) EndReorder();
  const bool hadFocus = panel->UI_HasKeyboardFocus(false);
  const bool wasOpen = child->IsOpen();
  panel->UI_Show(false);
  panel->SetFrame(nullptr);
  if (kivui::UI_Container* parent = panel->GetParent()) parent->Remove(panel.get());
  childContainer_->Remove(child);
  if (GetTabCount() > 0) {
    SetFrontTabIndex(unsigned(GetFrontTabIndex()));
    // The stack's open panel went: the front one opens in its place. The only panel of a
    // stack is always open.
    if ((wasOpen && !HasOpenChild()) || GetTabCount() == 1) GetFrameChild(front_)->Open();
  }
  UpdateForTabContainerChanges();
  if (hadFocus && GetTabCount() > 0 && GetWorkspace())
    GetWorkspace()->SetFocusedTabPanel(GetFrontTabPanel().get());
  return panel;
}

void StackedWorkspaceFrame::MoveTabPanel(unsigned from, unsigned to) {
  if (from >= GetTabCount() || to >= GetTabCount() || from == to) return;
  childContainer_->Move(GetFrameChild(from), to);
  if (front_ == from) front_ = to;
  LayoutFrameChildren(false);
}

// --- front panel, opening and closing ---------------------------------------------------------

void StackedWorkspaceFrame::SetFrontTabIndex(unsigned index) {
  if (index >= GetTabCount()) return;
  for (unsigned i = 0; i < GetTabCount(); ++i) {
    FrameChild& child = *GetFrameChild(i);
    if (i != index && (IsStackedSolo() || !child.IsOpen())) child.GetHeader().SetFrontTab(-1);
  }
  front_ = index;
  kivui::UI_TabWell& header = GetFrameChild(index)->GetHeader();
  header.SetFrontTab(header.GetTab(0).id);
}

void StackedWorkspaceFrame::BringTabToFront(unsigned index) {
  BringTabToFrontNoToggle(index);
  if (FrameChild* child = GetFrameChild(front_)) child->Open();
}

void StackedWorkspaceFrame::BringTabToFrontNoToggle(unsigned index) {
  if (index >= GetTabCount()) return;
  SetFrontTabIndex(index);
  if (IsStackedSolo()) CloseAllChildrenExcept(int(front_));
}

void StackedWorkspaceFrame::CloseAllChildrenExcept(int index) {
  for (unsigned i = 0; i < GetTabCount(); ++i)
    if (int(i) != index) GetFrameChild(i)->Close();
}

void StackedWorkspaceFrame::ToggleAllChildren(bool open) {
  for (unsigned i = 0; i < GetTabCount(); ++i) {
    if (open) GetFrameChild(i)->Open();
    else GetFrameChild(i)->Close();
  }
}

int StackedWorkspaceFrame::GetStackedTabClientHeight(unsigned index) const {
  const FrameChild* child = GetFrameChild(index);
  return child ? child->GetClientHeight() : 0;
}

void StackedWorkspaceFrame::SetStackedTabClientHeight(unsigned index, unsigned height) {
  if (FrameChild* child = GetFrameChild(index)) child->SetClientHeight(int(std::min(height, 1u << 20)));
}

bool StackedWorkspaceFrame::GetStackedTabIsOpen(unsigned index) const {
  const FrameChild* child = GetFrameChild(index);
  return child && child->IsOpen();
}

void StackedWorkspaceFrame::SetStackedTabIsOpen(unsigned index, bool open) {
  FrameChild* child = GetFrameChild(index);
  if (!child) return;
  if (open) child->Open();
  else child->Close();
}

bool StackedWorkspaceFrame::IsTabPanelVisible(const TabPanel* panel, bool* open) const {
  const int index = IndexOf(panel);
  if (index < 0) return false;
  const FrameChild& child = *GetFrameChild(unsigned(index));
  if (open) *open = child.IsOpen();
  const kivcore::RectF c = child.GetFrame();
  const kivcore::RectF f = childContainer_->GetLocalBounds();
  return c.top < f.Bottom() && c.Bottom() > f.top && c.width > 0 && c.height > 0;
}

// --- layout and scrolling ------------------------------------------------------------------

void StackedWorkspaceFrame::FrameChildChanged(FrameChild&) { LayoutFrameChildren(false); }

void StackedWorkspaceFrame::UpdateLayout() {
  WorkspaceFrame::UpdateLayout();
  const kivcore::Rect r = GetFrameRect();
  childContainer_->SetFrame({float(r.left), float(r.top), float(r.width), float(r.height)});
  LayoutFrameChildren(false);
}

void StackedWorkspaceFrame::UpdateForTabContainerChanges() {
  UpdateLayout();
  UI_Invalidate();
}

void StackedWorkspaceFrame::LayoutFrameChildren(bool leaveScrollBar) {
  const kivcore::RectF area = childContainer_->GetLocalBounds();
  int total = 0;
  for (unsigned i = 0; i < GetTabCount(); ++i) total += GetFrameChild(i)->GetHeight();
  // The stack never leaves empty space below it while it is scrolled.
  if (offset_ + total < int(area.height)) offset_ = std::min(0, int(area.height) - total);
  const float width = std::max(0.0f, area.width - float(kivui::UI_ScrollBar::GetDefaultSize()));
  float y = float(offset_);
  for (unsigned i = 0; i < GetTabCount(); ++i) {
    FrameChild& child = *GetFrameChild(i);
    const float h = float(child.GetHeight());
    child.Place({0, y, width, h});
    y += h;
  }
  const float bottom = float(offset_ + total);
  emptyRegion_->UI_Show(bottom < area.height);
  if (bottom < area.height) emptyRegion_->SetFrame({area.left, bottom, width, area.height - bottom});
  if (leaveScrollBar) return;
  const kivcore::Rect r = GetFrameRect();
  const int bar = kivui::UI_ScrollBar::GetDefaultSize();
  scrollBar_->SetFrame({float(r.Right() - bar), float(r.top), float(bar), float(r.height)});
  scrollBar_->SetRange(0, std::max(0, total - int(area.height)));
  scrollBar_->SetPageStep(std::max(1, int(area.height)));
  scrollBar_->SetValue(-offset_);
}

void StackedWorkspaceFrame::SetScrollPosition(int offset) {
  offset = std::min(offset, 0);
  if (offset == offset_) return;
  offset_ = offset;
  LayoutFrameChildren(false);
}

void StackedWorkspaceFrame::ScrollIntoView(const FrameChild& child) {
  const kivcore::RectF c = child.GetFrame();
  const kivcore::RectF f = childContainer_->GetLocalBounds();
  if (c.top < f.Bottom() && c.Bottom() > f.top && c.width > 0 && c.height > 0) return;
  const int top = int(c.top) - offset_;
  offset_ = c.top < 20 ? -top : -(top - 20);
  LayoutFrameChildren(true);
}

// --- headers and menus ---------------------------------------------------------------------

void StackedWorkspaceFrame::HeaderAction(FrameChild& child, TabItemAction action,
                                         kivcore::PointF global) {
  const int index = ChildIndex(child);
  Workspace* workspace = GetWorkspace();
  if (index < 0 || !workspace) return;
  auto keep = shared_from_this();
  if (action == kTabItemSelect) {
    SaveLastTabPanel();
    const kivui::ModKeys mods = kivui::GetCurrentModKeys();
    if (mods & kivui::kModControl) return ToggleAllChildren(!child.IsOpen());
    if (mods & kivui::kModAlternate) {
      SetStackedViewComponentState(kSolo, !IsStackedSolo());
      BringTabToFront(unsigned(index));
      workspace->SetFocusedTabPanel(child.GetPanel().get());
      return;
    }
    const bool wasOpen = child.IsOpen();
    BringTabToFront(unsigned(index));
    workspace->SetFocusedTabPanel(child.GetPanel().get());
    // A click on a header toggles its panel.
    if (wasOpen) child.Close();
    return;
  }
  if (action == kTabItemToggleMaximize) child.Open();
  const kivcore::Rect at{int(global.x), int(global.y), 1, 1};
  HandleTabItemAction(action, unsigned(index), &at);
}

void StackedWorkspaceFrame::HandleTabItemAction(TabItemAction action, unsigned index,
                                                const kivcore::Rect* rect) {
  if (action == kTabItemHide) {
    const TabPanelPtr panel = GetTabPanel(index);
    if (panel && panel->UI_HasKeyboardFocus(false)) UI_GainKeyboardFocus();
    return;
  }
  if (action == kTabItemContextMenu) {
    if (rect && GetTabPanel(index)) DoTabMenu(int(index), true, *rect);
    return;
  }
  WorkspaceFrame::HandleTabItemAction(action, index, rect);
}

bool StackedWorkspaceFrame::DoFlyoutMenuCommand(int, unsigned command) {
  if (int(command) != kCmdStackedSolo) return false;
  SetStackedViewComponentState(kSolo, !IsStackedSolo());
  if (IsStackedSolo()) CloseAllChildrenExcept(GetFrontTabIndex());
  UpdateViewForStackedFrame();
  return true;
}

void StackedWorkspaceFrame::UpdateViewForStackedFrame() { LayoutFrameChildren(false); }

bool StackedWorkspaceFrame::InvalidateTabPanelDimensions(const TabPanel* panel, bool askNow) {
  const int index = panel ? IndexOf(panel) : -1;
  if (index < 0) return false;
  FrameChild& child = *GetFrameChild(unsigned(index));
  if (!askNow) {
    child.ForgetClientHeight();
    return true;
  }
  child.SetClientHeight(panel->GetDimension(kStackedPreferredHeight));
  UpdateForTabContainerChanges();
  return true;
}

// --- reordering by the headers ---------------------------------------------------------------

void StackedWorkspaceFrame::HeaderDragged(FrameChild& child, kivcore::PointF pressGlobal,
                                          kivcore::PointF global) {
  const kivcore::Point press{int(std::lround(pressGlobal.x)), int(std::lround(pressGlobal.y))};
  reorder_ = {&child, press, press.y, false};
  kivui::UI_NodeManager::Get().BeginCapture(this);
  ContinueReorder({int(std::lround(global.x)), int(std::lround(global.y))});
}

void StackedWorkspaceFrame::EndReorder() {
  reorder_ = {};
  kivui::UI_NodeManager::Get().EndCapture(this);
}

void StackedWorkspaceFrame::ContinueReorder(kivcore::Point global) {
  FrameChild* child = reorder_.child;
  const int index = child ? ChildIndex(*child) : -1;
  if (index < 0) return;
  // Out of the stack sideways (the scroll bar's strip is part of it): the panel is dragged
  // on to dock elsewhere.
  const kivcore::Point view = childContainer_->UI_LocalToGlobal({0, 0});
  const kivcore::RectF area = childContainer_->GetLocalBounds();
  if (global.x < view.x || global.x >= view.x + int(area.width)) {
    const kivcore::Point press = reorder_.press;
    EndReorder();
    return ContinueTabDrag(kTabItemDragTab, unsigned(index), {float(press.x), float(press.y)},
                           {float(global.x), float(global.y)});
  }
  // Whether the pointer goes up or down decides which way the header may move, so that a
  // header just moved below an open neighbour does not jump back over it.
  const int dy = global.y - reorder_.lastY;
  reorder_.lastY = global.y;
  if (!reorder_.started) {
    if (double(std::abs(global.y - reorder_.press.y)) <= ReorderThreshold()) return;
    reorder_.started = true;
  }
  // Near the view's top or bottom edge the stack scrolls a step, to reach what is hidden.
  if (global.y < view.y + kAutoScrollBand) {
    SetScrollPosition(offset_ + kAutoScrollStep);
  } else if (global.y >= view.y + int(area.height) - kAutoScrollBand) {
    SetScrollPosition(offset_ - kAutoScrollStep);
  }
  const int top = child->UI_LocalToGlobal({0, 0}).y;
  const int header = int(kReorderFactor * kivui::UI_TabWell::kTabHeight);
  int to = index;
  if (dy < 0 && global.y < top && index > 0) to = index - 1;
  if (dy > 0 && global.y > top + header && unsigned(index) + 1 < GetTabCount()) to = index + 1;
  if (to == index) return;
  MoveTabPanel(unsigned(index), unsigned(to));
  BringTabToFrontNoToggle(unsigned(to));
  child->Close();
}

bool StackedWorkspaceFrame::UI_DoMouseEvent(kivui::UI_Node* target, const kivui::MouseEvent& e) {
  if (reorder_.child && kivui::UI_NodeManager::Get().GetCaptureNode() == this) {
    if (e.action == kivui::MouseEvent::kMove)
      ContinueReorder({int(std::lround(e.global.x)), int(std::lround(e.global.y))});
    if (e.action == kivui::MouseEvent::kUp) EndReorder();
    return true;
  }
  if (e.action == kivui::MouseEvent::kWheel) {
    SetScrollPosition(offset_ + int(e.wheelDelta * float(kWheelStep)));
    return true;
  }
  return WorkspaceFrame::UI_DoMouseEvent(target, e);
}

void StackedWorkspaceFrame::UI_CaptureLost() {
  reorder_ = {};
  WorkspaceFrame::UI_CaptureLost();
}

}  // namespace kivworkspace::workspace
