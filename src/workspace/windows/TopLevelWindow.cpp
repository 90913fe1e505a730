#include "workspace/windows/TopLevelWindow.h"

#include "services/core/PropListUtils.h"
#include "services/ui/controls/UI_TabWell.h"
#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "services/ui/events/ModKeys.h"
#include "services/ui/events/MouseEvent.h"
#include "services/ui/events/PointerEvent.h"
#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/window/OS_MonitorInfo.h"
#include "layout/FrameDataProxy.h"
#include "layout/Splitter.h"
#include "workspace/frames/StackedWorkspaceFrame.h"
#include "workspace/core/Workspace.h"

#include <algorithm>
#include <cmath>

namespace kivworkspace::workspace {
namespace {

// Turns the layout back on after frames were removed with it off, and lays the window out
// once: what is left (a panel that refused to close keeps its window) fills the window at
// once. A caller further out that keeps the layout off lays every window out itself.
void ResumeLayout(Workspace& workspace, LayoutManager& layout) {
  workspace.SetLayoutEnabled(true);
  if (workspace.GetLayoutEnabled()) layout.ReLayout(false, true, false);
}

}  // namespace

TopLevelWindow::TopLevelWindow(Workspace* workspace, bool interim)
    : OS_TopLevelWindow(workspace),
      workspace_(workspace),
      interim_(interim),
      layout_(std::make_unique<LayoutManagerV1>(this)) {
  SetNodeID("TopLevelWindow");
}

TopLevelWindow::~TopLevelWindow() {
  // Frames outlive the manager that points at their layout leaves only as nodes; cut them
  // loose first.
  RemoveAll();
  hiddenFrames_.clear();
}

void TopLevelWindow::SetTopChrome(std::shared_ptr<kivui::UI_Node> chrome, int height) {
  if (topChrome_) Remove(topChrome_.get());
  topChrome_ = std::move(chrome);
  topInset_ = topChrome_ ? height : 0;
  if (topChrome_) PushBack(topChrome_);
  UI_SizeChanged(GetLocalBounds());
}

kivcore::Rect TopLevelWindow::GetClientRect() const {
  const kivcore::RectF b = GetLocalBounds();
  return {0, topInset_, int(b.width), std::max(0, int(b.height) - topInset_)};
}

bool TopLevelWindow::GetSplitterSnappingEnabled() {
  const bool snapping = workspace_->GetSplitterSnappingEnabled();
  return (kivui::GetCurrentModKeys() & kivui::kModAlternate) ? !snapping : snapping;
}

bool TopLevelWindow::GetLayoutEnabled() { return workspace_->GetLayoutEnabled(); }
int TopLevelWindow::GetTabMinHeight() { return int(kivui::UI_TabWell::kTabHeight); }
int TopLevelWindow::GetTabMinWidth() { return std::int16_t(workspace_->GetTabMinWidth()); }

// --- frames ---------------------------------------------------------------------------------

WorkspaceFramePtr TopLevelWindow::CreateWorkspaceFrame(unsigned stackedViewFlags) {
  return std::make_shared<WorkspaceFrame>(this, stackedViewFlags);
}

WorkspaceFramePtr TopLevelWindow::CreateStackedWorkspaceFrame(unsigned stackedViewFlags) {
  return std::make_shared<StackedWorkspaceFrame>(this, stackedViewFlags);
}

WorkspaceFramePtr TopLevelWindow::CreateFrameForViewFlags(unsigned flags) {
  return flags < 8 && (flags & WorkspaceFrame::kStacked) ? CreateStackedWorkspaceFrame(flags)
                                                         : CreateWorkspaceFrame(flags);
}

WorkspaceFrame* TopLevelWindow::ToggleStackedFrame(bool stacked, WorkspaceFrame* frame) {
  if (!frame || frame->GetTopLevelWindow() != this) return frame;
  const bool isStacked = dynamic_cast<StackedWorkspaceFrame*>(frame) != nullptr;
  if (isStacked == stacked) return frame;
  kivui::UI_NodeManager::FocusChangeGroup focusGroup;
  auto keep = std::static_pointer_cast<WorkspaceFrame>(frame->shared_from_this());
  const unsigned flags = stacked ? (frame->GetStackedViewState() | WorkspaceFrame::kStacked)
                                 : (frame->GetStackedViewState() & ~unsigned(WorkspaceFrame::kStacked));
  WorkspaceFramePtr replacement = CreateFrameForViewFlags(flags);
  const int front = frame->GetFrontTabIndex();
  const bool maximized = GetMaximizedFrame() == frame;
  std::vector<TabPanelPtr> panels;
  while (frame->GetTabCount() > 0) panels.push_back(frame->DetachTabPanel(0));
  AdoptFrame(replacement);
  for (const TabPanelPtr& panel : panels) replacement->AddTab(panel, false);
  replacement->SetRemovedTabData(frame->GetRemovedTabs());
  for (const TabPanelPtr& hidden : frame->TakeHiddenTabs()) replacement->CacheTabData(hidden, true);
  if (front >= 0) replacement->BringTabToFront(unsigned(front));
  layout_->SwapFrame(frame->GetLMFrame(), replacement->GetLMFrame());
  ForgetFrame(frame);
  if (maximized) SetMaximizedFrame(replacement.get());
  return replacement.get();
}

unsigned TopLevelWindow::DefaultFrameViewFlags() {
  return Workspace::GetStackedTabPanelsEnabled() ? 0u : 8u;
}

WorkspaceFrame* TopLevelWindow::AdoptFrame(const WorkspaceFramePtr& frame) {
  PushBack(frame);  // the frame takes this window (and its layout manager) as it joins
  frame->UI_Show(true);
  return frame.get();
}

WorkspaceFrame* TopLevelWindow::AddTabbedFrame(WorkspaceFrameBase* target,
                                               const std::vector<TabPanelPtr>& panels,
                                               InsertionType side) {
  kivui::UI_NodeManager::FocusChangeGroup focusGroup;
  WorkspaceFramePtr frame = CreateWorkspaceFrame();
  frame->AddTabs(panels);
  return AddTabbedFrame(target, frame, side);
}

WorkspaceFrame* TopLevelWindow::AddTabbedFrame(WorkspaceFrameBase* target,
                                               const WorkspaceFramePtr& frame,
                                               InsertionType side) {
  AdoptFrame(frame);
  if (!layout_->GetRoot()) {
    layout_->SetRootFrame(frame->GetLMFrame(), GetClientRect());
  } else {
    layout_->AddFrame(target ? target->GetLMFrame() : nullptr, side, frame->GetLMFrame());
  }
  return frame.get();
}

WorkspaceFrame* TopLevelWindow::AddTabbedFrame(WorkspaceFrameBase* target, const std::string& type,
                                               InsertionType side) {
  TabPanelPtr panel = workspace_->CreateTabPanel(type, nullptr);
  if (!panel) return nullptr;
  return AddTabbedFrame(target, std::vector<TabPanelPtr>{panel}, side);
}

void TopLevelWindow::MergeFrame(WorkspaceFrame& target, const WorkspaceFramePtr& frame,
                                unsigned index) {
  while (frame->GetTabCount() > 0) target.AddTab(frame->DetachTabPanel(0), index++, false);
  target.TakeClosedPanels(*frame);
  if (!frame->HasRemovedTabProxy()) return;
  // Put in the tree and closed at once with the layout off, so that nothing moves; the
  // relayout then gives target its place back whole.
  const bool maximized = GetMaximizedFrame() == &target;
  workspace_->SetLayoutEnabled(false);
  AddTabbedFrame(&target, frame, LayoutManager::kRight);
  RemoveFrame(frame.get(), true);
  workspace_->SetLayoutEnabled(true);
  if (maximized) SetMaximizedFrame(&target);
  layout_->ReLayout(false, true, false);
}

WorkspaceFrame* TopLevelWindow::CreateRootFrame(const std::string& type, bool focus,
                                                bool layout) {
  // No frame at all rather than an empty one when nothing makes panels of the type.
  TabPanelPtr panel = workspace_->CreateTabPanel(type, nullptr);
  if (!panel) return nullptr;
  return CreateRootFrame(panel, focus, layout);
}

WorkspaceFrame* TopLevelWindow::CreateRootFrame(const TabPanelPtr& panel, bool focus,
                                                bool layout) {
  WorkspaceFramePtr frame = CreateWorkspaceFrame();
  SetRootFrame(frame, layout);
  frame->AddTab(panel, focus);
  return frame.get();
}

void TopLevelWindow::SetRootFrame(const WorkspaceFramePtr& frame, bool layout) {
  AdoptFrame(frame);
  if (!layout) {
    layout_->SetRootElement(frame->GetLMFrame());
    return;
  }
  layout_->SetRootFrame(frame->GetLMFrame(), GetClientRect());
}

void TopLevelWindow::ResetRootFrame(std::unique_ptr<Splitter> rootHolder,
                                    const std::vector<WorkspaceFramePtr>& frames) {
  SetMaximizedFrame(nullptr);
  layout_->SwapRoot(std::move(rootHolder));
  for (WorkspaceFrameBase* old : GetFrames()) {
    if (std::none_of(frames.begin(), frames.end(),
                     [old](const WorkspaceFramePtr& f) { return f.get() == old; }))
      Remove(old);
  }
  for (const WorkspaceFramePtr& frame : frames) {
    if (frame->GetParent() != this) AdoptFrame(frame);
  }
}

void TopLevelWindow::ForgetFrame(WorkspaceFrameBase* frame) {
  // Focus inside the frame goes with it; the workspace moves it to another panel.
  Remove(frame);
}

void TopLevelWindow::RemoveFrame(WorkspaceFrameBase* frame, bool keep) {
  auto* tabbed = dynamic_cast<WorkspaceFrame*>(frame);
  const bool hasHidden = tabbed && tabbed->HasHiddenTabs();
  if (GetMaximizedFrame() == frame) SetMaximizedFrame(nullptr);
  auto self = std::static_pointer_cast<WorkspaceFrameBase>(frame->shared_from_this());
  layout_->RemoveFrame(frame->GetLMFrame(), keep, keep && hasHidden);
  if (keep && hasHidden) {
    frame->UI_Show(false);
    hiddenFrames_.push_back(std::static_pointer_cast<WorkspaceFrame>(self));
  }
  ForgetFrame(frame);
  layout_->ReLayout(false, true, false);
}

WorkspaceFrame* TopLevelWindow::ReanimateInto(FrameDataProxy* placeholder,
                                              const WorkspaceFramePtr& frame) {
  AdoptFrame(frame);
  layout_->ReanimateFrame(placeholder, frame->GetLMFrame());
  return frame.get();
}

bool TopLevelWindow::ReanimateFrame(const TabPanelPtr& panel) {
  auto it = std::find_if(hiddenFrames_.begin(), hiddenFrames_.end(),
                         [&](const WorkspaceFramePtr& f) { return f->CanReanimateTab(panel); });
  if (it == hiddenFrames_.end()) return false;
  FrameDataProxy* placeholder = layout_->FindFrameForReanimation((*it)->GetLMFrame());
  if (!placeholder) return false;
  WorkspaceFramePtr frame = *it;
  hiddenFrames_.erase(it);
  ReanimateInto(placeholder, frame);
  frame->ReanimateTab(panel);
  if (!layout_->LayoutNewFrame(frame->GetLMFrame())) UI_Invalidate();
  return true;
}

bool TopLevelWindow::ReanimateFrame(const std::string& type) {
  FrameDataProxy* placeholder = layout_->FindFrameForReanimation(type);
  if (!placeholder) return false;
  WorkspaceFramePtr frame;
  if (placeholder->HasFrame()) {
    auto it = std::find_if(
        hiddenFrames_.begin(), hiddenFrames_.end(),
        [&](const WorkspaceFramePtr& f) { return f->GetLMFrame() == placeholder->GetFrame(); });
    if (it != hiddenFrames_.end()) {
      frame = *it;
      hiddenFrames_.erase(it);
    }
  }
  if (!frame) {
    unsigned flags = DefaultFrameViewFlags();
    for (const auto& [tabType, state] : placeholder->GetTabData()) {
      if (tabType != type || state.empty()) continue;
      try {
        kivcore::PropList list = kivcore::proplist::utils::ReadPropList(state);
        list.GetValue("FrameViewFlags", flags);
      } catch (const std::exception&) {
      }
      break;
    }
    // A frame that was a stack comes back as one.
    frame = CreateFrameForViewFlags(flags);
    frame->SetRemovedTabData(placeholder->GetTabData());
  }
  ReanimateInto(placeholder, frame);
  frame->ReanimateTab(type);
  if (!layout_->LayoutNewFrame(frame->GetLMFrame())) {
    UI_Invalidate();
    layout_->ReLayout(false, true, false);
  }
  return true;
}

bool TopLevelWindow::CanReanimateFrame(const std::string& type) const {
  return layout_->FindFrameForReanimation(type) != nullptr;
}

bool TopLevelWindow::CanReanimateFrame(const TabPanelPtr& panel) const {
  return std::any_of(hiddenFrames_.begin(), hiddenFrames_.end(),
                     [&](const WorkspaceFramePtr& f) { return f->CanReanimateTab(panel); });
}

void TopLevelWindow::DestroyHiddenFrames() {
  for (const auto& frame : hiddenFrames_) frame->DestroyHiddenTabs();
  hiddenFrames_.clear();
}

std::vector<WorkspaceFrameBase*> TopLevelWindow::GetFrames() const {
  std::vector<WorkspaceFrameBase*> frames;
  for (std::size_t i = 0; i < GetChildCount(); ++i) {
    auto* f = dynamic_cast<WorkspaceFrameBase*>(GetChild(i));
    if (f && !IsStaticFrame(*f)) frames.push_back(f);
  }
  return frames;
}

std::vector<WorkspaceFrame*> TopLevelWindow::GetTabbedFrames() const {
  std::vector<WorkspaceFrame*> frames;
  for (WorkspaceFrameBase* f : GetFrames()) {
    if (auto* t = dynamic_cast<WorkspaceFrame*>(f)) frames.push_back(t);
  }
  return frames;
}

WorkspaceFrameBase* TopLevelWindow::GetFrame(unsigned index) const {
  const auto frames = GetFrames();
  return index < frames.size() ? frames[index] : nullptr;
}

WorkspaceFrame* TopLevelWindow::GetRootFrame() const {
  const LayoutManagerElement* root = layout_->GetRoot();
  if (!root) return nullptr;
  if (const Frame* f = root->AsFrame())
    return dynamic_cast<WorkspaceFrame*>(GetFrameFromLMFrame(f));
  // Under a splitter: the first frame in tree order.
  const auto frames = layout_->GetFrames();
  return frames.empty() ? nullptr
                        : dynamic_cast<WorkspaceFrame*>(GetFrameFromLMFrame(frames.front()));
}

WorkspaceFrameBase* TopLevelWindow::GetFrameFromLMFrame(const Frame* frame) const {
  for (WorkspaceFrameBase* f : GetFrames()) {
    if (f->GetLMFrame() == frame) return f;
  }
  return nullptr;
}

WorkspaceFrameBase* TopLevelWindow::GetFrameFromPos(kivcore::Point global) const {
  for (WorkspaceFrameBase* f : GetFrames()) {
    if (f->IsShown() && GetFrameGlobalRect(*f).Contains(global)) return f;
  }
  return nullptr;
}

kivcore::Rect TopLevelWindow::GetFrameGlobalRect(const WorkspaceFrameBase& frame) const {
  const kivcore::Rect local = frame.GetFrameLocalRect();
  const kivcore::Point tl = UI_LocalToGlobal(local.TopLeft());
  return {tl.x, tl.y, local.width, local.height};
}

TabPanel* TopLevelWindow::GetLastTouchedTabPanel() const {
  TabPanel* best = nullptr;
  for (WorkspaceFrame* frame : GetTabbedFrames()) {
    TabPanelPtr front = frame->GetFrontTabPanel();
    if (front && front->GetTimeStamp() > (best ? best->GetTimeStamp() : 0)) best = front.get();
  }
  return best;
}

void TopLevelWindow::RemoveTabPanels(bool applyPolicy) {
  workspace_->SetLayoutEnabled(false);
  for (WorkspaceFrame* frame : GetTabbedFrames()) {
    auto keep = frame->shared_from_this();
    for (int i = int(frame->GetTabCount()) - 1; i >= 0; --i) {
      TabPanelPtr panel = frame->GetTabPanel(unsigned(i));
      // Closing by the user's hand leaves the panels that refuse to close where they are.
      if (applyPolicy && !panel->AllowClose()) continue;
      panel->NotifyTopLevelWindowIsClosing();
      bool keepState = applyPolicy;
      if (applyPolicy && panel->ObliterateWhenClosed()) {
        workspace_->NotifyObliterating(panel.get());
        keepState = panel->SaveStateWhenObliterated();
      }
      if (keepState) frame->CacheTabData(panel, panel->HideWhenClosed());
      frame->DetachTabPanel(unsigned(i));
    }
    if (frame->GetTabCount() == 0)
      RemoveFrame(frame, frame->HasHiddenTabs() || frame->HasRemovedTabProxy());
  }
  ResumeLayout(*workspace_, *layout_);
}

void TopLevelWindow::DestroyTabPanels() {
  workspace_->SetLayoutEnabled(false);
  for (WorkspaceFrame* frame : GetTabbedFrames()) {
    auto keep = frame->shared_from_this();
    while (frame->GetTabCount() > 0) frame->DetachTabPanel(frame->GetTabCount() - 1);
    frame->DestroyHiddenTabs();
    RemoveFrame(frame, false);
  }
  DestroyHiddenFrames();
  ResumeLayout(*workspace_, *layout_);
}

void TopLevelWindow::SetMaximizedFrame(WorkspaceFrameBase* frame) {
  layout_->SetMaximizedFrame(frame ? frame->GetLMFrame() : nullptr);
}

WorkspaceFrameBase* TopLevelWindow::GetMaximizedFrame() const {
  const Frame* f = layout_->GetMaximizedFrame();
  return f ? GetFrameFromLMFrame(f) : nullptr;
}

// --- edge drop zones --------------------------------------------------------------------------

kivcore::Rect TopLevelWindow::GetDropArea() const {
  kivcore::Rect area = GetGlobalClientRect();
  auto sizeOf = [this](InsertionType side) {
    const Frame* f = layout_->GetStaticBorderFrame(side);
    return f ? f->GetFrameLocalRect() : kivcore::Rect{};
  };
  if (layout_->HasStaticBorderFrame(LayoutManager::kTop)) {
    const int h = sizeOf(LayoutManager::kTop).height;
    area.top += h;
    area.height -= h;
  }
  if (layout_->HasStaticBorderFrame(LayoutManager::kLeft)) {
    const kivcore::Rect r = sizeOf(LayoutManager::kLeft);
    if (layout_->GetEnableLeftStaticBorderAsSecondTopFrame()) {
      area.top += r.height;
      area.height -= r.height;
    } else {
      area.left += r.width;
      area.width -= r.width;
    }
  }
  if (layout_->HasStaticBorderFrame(LayoutManager::kBottom))
    area.height -= sizeOf(LayoutManager::kBottom).height;
  if (layout_->HasStaticBorderFrame(LayoutManager::kRight))
    area.width -= sizeOf(LayoutManager::kRight).width;
  return area;
}

void TopLevelWindow::GetEdgeDropZoneRect(DropZone::DropType type, kivcore::Rect& out,
                                         bool hitTest) const {
  const kivcore::Rect a = GetDropArea();
  const int x = a.left, y = a.top, w = a.width, h = a.height;
  switch (type) {
    case DropZone::kTop:
      out = hitTest ? kivcore::Rect{x, y, w, 7} : kivcore::Rect{x, y, w, 12};
      break;
    case DropZone::kLeft:
      out = hitTest ? kivcore::Rect{x - 1, y, 11, h} : kivcore::Rect{x - 1, y, 21, h};
      break;
    case DropZone::kBottom:
      out = hitTest ? kivcore::Rect{x, y + h - 10, w, 11} : kivcore::Rect{x, y + h - 20, w, 21};
      break;
    case DropZone::kRight:
      out = hitTest ? kivcore::Rect{x + w - 10, y, 11, h} : kivcore::Rect{x + w - 20, y, 21, h};
      break;
    default:
      out = {};
      break;
  }
}

DropZone::DropType TopLevelWindow::GetEdgeDropZone(kivcore::Point pos, kivcore::Rect& rect,
                                                   std::vector<kivcore::Point>& polygon) const {
  for (DropZone::DropType type :
       {DropZone::kLeft, DropZone::kTop, DropZone::kRight, DropZone::kBottom}) {
    kivcore::Rect hit;
    GetEdgeDropZoneRect(type, hit, true);
    if (!hit.Contains(pos)) continue;
    GetEdgeDropZoneRect(type, rect, false);
    const int x = rect.left, y = rect.top, w = rect.width, h = rect.height;
    const bool horizontal = type == DropZone::kTop || type == DropZone::kBottom;
    const int t = horizontal ? h : w;
    switch (type) {
      case DropZone::kTop:
        polygon.insert(polygon.end(), {{x, y}, {x + t, y + t}, {x + w - t, y + t}, {x + w, y}});
        break;
      case DropZone::kLeft:
        polygon.insert(polygon.end(), {{x, y}, {x + t, y + t}, {x + t, y + h - t}, {x, y + h}});
        break;
      case DropZone::kBottom:
        polygon.insert(polygon.end(),
                       {{x, y + h}, {x + t, y + h - t}, {x + w - t, y + h - t}, {x + w, y + h}});
        break;
      default:
        polygon.insert(polygon.end(),
                       {{x + w, y + h}, {x + w - t, y + h - t}, {x + w - t, y + t}, {x + w, y}});
        break;
    }
    return type;
  }
  return DropZone::kNone;
}

void TopLevelWindow::CalculateDropZoneExclusionsForEdges(const kivcore::Rect& f,
                                                         std::vector<int>& out) const {
  const std::size_t base = out.size();
  out.insert(out.end(), {0, 0, 0, 0});
  kivcore::Rect e;
  auto store = [&](int index, int value) {
    if (value > 0) out[base + std::size_t(index)] = value - 1;
  };
  GetEdgeDropZoneRect(DropZone::kTop, e, true);
  store(LayoutManager::kTop, e.top + e.height - f.top);
  GetEdgeDropZoneRect(DropZone::kLeft, e, true);
  store(LayoutManager::kLeft, e.left + e.width - f.left);
  GetEdgeDropZoneRect(DropZone::kBottom, e, true);
  store(LayoutManager::kBottom, f.top + f.height - e.top);
  GetEdgeDropZoneRect(DropZone::kRight, e, true);
  store(LayoutManager::kRight, f.left + f.width - e.left);
}

// --- zoom ---------------------------------------------------------------------------------------

kivcore::Rect TopLevelWindow::GetMegaZoomMonitor(bool) const {
  return kivui::OS_MonitorInfo::FromRect(GetGlobalStructureRect()).rect;
}

kivcore::Rect TopLevelWindow::GetGlobalClientRect() const {
  const kivcore::Rect local = GetClientRect();
  const kivcore::Point tl = UI_LocalToGlobal(local.TopLeft());
  return {tl.x, tl.y, local.width, local.height};
}

kivcore::Point TopLevelWindow::GetSingleWorkspaceFramePreferredTabSize() const {
  if (!HasSingleWorkspaceFrame()) return {0, 0};
  WorkspaceFrameBase* frame = GetFrame(0);
  kivcore::Point snap{0, 0};
  frame->GetLMFrame()->GetGreatestSnapSize(snap);
  if (snap.x == 0 || snap.y == 0) return {0, 0};
  frame->ConvertFrameToTabSize(snap);
  return snap;
}

bool TopLevelWindow::CanZoomToPreferredPanelSize() const {
  if (IsMain()) return false;
  const kivcore::Point size = GetSingleWorkspaceFramePreferredTabSize();
  return size.x != 0 || size.y != 0;
}

bool TopLevelWindow::IsMegaZoomedToWindow() const {
  if (IsMain() && GetWindowState() == kMaximized) return true;
  return GetGlobalStructureRect() == GetMegaZoomMonitor(false);
}

bool TopLevelWindow::IsMegaZoomedToPreferredSize() const {
  const kivcore::Point size = GetSingleWorkspaceFramePreferredTabSize();
  if (size.x == 0 || !HasSingleWorkspaceFrame()) return false;
  const kivcore::Rect panel = GetFrame(0)->GetTabPanelFrameGlobalRect();
  return panel.width == size.x && panel.height == size.y;
}

void TopLevelWindow::MegaZoom(MegaZoomType type, bool flag, const kivcore::Rect* monitorRect) {
  const kivcore::Rect monitor = monitorRect ? *monitorRect : GetMegaZoomMonitor(flag);
  const kivcore::Rect window = GetGlobalStructureRect();
  switch (type) {
    case kZoomToMonitor:
      SetGlobalStructureRect(monitor);
      break;
    case kZoomContentToMonitor: {
      kivcore::Rect content = GetGlobalClientRect();
      if (HasSingleWorkspaceFrame() && !GetFrame(0)->GetTabPanelFrameGlobalRect().IsEmpty()) {
        content = GetFrame(0)->GetTabPanelFrameGlobalRect();
      }
      // The main window's menu bar stays on the monitor, above the content.
      kivcore::Rect target = monitor;
      if (IsMain()) {
        target.top += topInset_;
        target.height -= topInset_;
      }
      SetGlobalStructureRect({window.left + target.left - content.left,
                              window.top + target.top - content.top,
                              window.width + target.width - content.width,
                              window.height + target.height - content.height});
      break;
    }
    case kZoomToPreferredSize: {
      const kivcore::Point size = GetSingleWorkspaceFramePreferredTabSize();
      if (IsMain() || size.x == 0 || size.y == 0) break;
      const kivcore::Rect panel = GetFrame(0)->GetTabPanelFrameGlobalRect();
      const int w = window.width + size.x - panel.width, h = window.height + size.y - panel.height;
      SetGlobalStructureRect(
          {monitor.left + (monitor.width - w) / 2, monitor.top + (monitor.height - h) / 2, w, h});
      break;
    }
  }
}

void TopLevelWindow::MegaZoomToggle(bool flag) {
  const kivcore::Rect monitor = GetMegaZoomMonitor(flag);
  const kivcore::Rect window = GetGlobalStructureRect();
  MegaZoomType type = kZoomToMonitor;
  if (IsMegaZoomedToWindow()) {
    type = kZoomContentToMonitor;
  } else if (window.Intersection(monitor) == monitor && !IsMegaZoomedToPreferredSize()) {
    type = CanZoomToPreferredPanelSize() ? kZoomToPreferredSize : kZoomToMonitor;
  }
  MegaZoom(type, flag, nullptr);
}

void TopLevelWindow::SetToGlobalTabSize(const kivcore::Rect& tabRect) {
  // The window grows around the panel area by what its frame and chrome take.
  const kivcore::Rect content = GetGlobalContentRect();
  kivcore::Rect panel = content;
  if (HasSingleWorkspaceFrame()) panel = GetFrame(0)->GetTabPanelFrameGlobalRect();
  if (panel.IsEmpty()) panel = content;
  const int extraW = content.width - panel.width, extraH = content.height - panel.height;
  const kivcore::Rect structure = GetGlobalStructureRect();
  SetGlobalStructureRect({tabRect.left - (panel.left - structure.left),
                          tabRect.top - (panel.top - structure.top),
                          tabRect.width + extraW + (structure.width - content.width),
                          tabRect.height + extraH + (structure.height - content.height)});
}

void TopLevelWindow::Activate(bool) { OS_Window::Activate(); }

// --- UI hooks
// -------------------------------------------------------------------------------------

void TopLevelWindow::UI_SizeChanged(const kivcore::RectF& newBounds) {
  const kivcore::Rect rect = GetClientRect();
  if (topChrome_) topChrome_->SetFrame({0, 0, newBounds.width, float(topInset_)});
  layout_->Layout(rect, !(rect == layout_->GetContainingRect()), true, false);
  OS_TopLevelWindow::UI_SizeChanged(newBounds);
}

bool TopLevelWindow::UI_DoCursor(kivcore::PointF local) {
  const int x = int(std::lround(local.x)), y = int(std::lround(local.y));
  switch (layout_->HitCheckCursor(x, y)) {
    case LayoutManager::kVerticalBar:
      kivui::UI_NodeManager::Get().SetResourceCursor(kivui::kCursorVerticalBar);
      return true;
    case LayoutManager::kHorizontalBar:
      kivui::UI_NodeManager::Get().SetResourceCursor(kivui::kCursorHorizontalBar);
      return true;
    case LayoutManager::kCrossing:
      kivui::UI_NodeManager::Get().SetResourceCursor(kivui::kCursorCrossing);
      return true;
    default:
      return false;
  }
}

int TopLevelWindow::GetTouchHitHalfSize(bool pen) const {
  // The configured sizes are read once and kept.
  static const int touchSize =
      kivui::UI_NodeManager::Get().GetCustomSettingInt("WORKSPACE_SPLITTER_SIZE_TOUCH", 8);
  static const int penSize =
      kivui::UI_NodeManager::Get().GetCustomSettingInt("WORKSPACE_SPLITTER_SIZE_PEN", 6);
  return int(std::ceil(GetRecommendedScaleFactor() * float(pen ? penSize : touchSize) * 0.5f));
}

bool TopLevelWindow::UI_DoPrePointerEvent(const kivui::PointerEvent& e) {
  if (touchDrag_) {
    // Moves go on as the mouse moves the system makes of them, which the tracker follows.
    if (e.action != kivui::PointerEvent::kUp && e.action != kivui::PointerEvent::kCancel)
      return false;
    touchDrag_ = false;
    workspace_->ReleaseTracker(false);
    return true;
  }
  if (e.action != kivui::PointerEvent::kDown) return false;
  const kivcore::PointF local = UI_GlobalToLocalF(e.global);
  const int x = int(local.x), y = int(local.y);
  const int h = GetTouchHitHalfSize(e.device == kivui::PointerEvent::kPen);
  const kivcore::Rect hit{x - h, y - h, 2 * h, 2 * h};
  if (!layout_->HasSplittersWithinRect(hit)) return false;
  const SplitterDragStart start = BeginSplitterDrag(hit, {int(e.global.x), int(e.global.y)});
  if (start == SplitterDragStart::kNoDragger) return false;
  touchDrag_ = start == SplitterDragStart::kStarted;
  return true;
}

TopLevelWindow::SplitterDragStart TopLevelWindow::BeginSplitterDrag(const kivcore::Rect& hit,
                                                                     kivcore::Point global) {
  std::unique_ptr<OS_Tracker> tracker = workspace_->AcquireSplitterDragger(this, hit);
  if (!tracker) return SplitterDragStart::kNoDragger;
  OS_Tracker* raw = tracker.get();
  workspace_->SetTracker(std::move(tracker), this);
  if (raw->Begin(global)) return SplitterDragStart::kStarted;
  workspace_->ReleaseTracker(false);
  return SplitterDragStart::kCancelled;
}

bool TopLevelWindow::UI_DoMouseEvent(kivui::UI_Node* target, const kivui::MouseEvent& e) {
  if (e.action == kivui::MouseEvent::kDown && e.button == kivui::MouseEvent::kPrimary &&
      !workspace_->GetTracker()) {
    const kivcore::PointF local = UI_GlobalToLocalF(e.global);
    const int x = int(std::lround(local.x)), y = int(std::lround(local.y));
    if (layout_->HitCheckCursor(x, y) != LayoutManager::kNoBar &&
        BeginSplitterDrag({x, y, 1, 1}, {int(e.global.x), int(e.global.y)}) ==
            SplitterDragStart::kStarted)
      return true;
  }
  return OS_TopLevelWindow::UI_DoMouseEvent(target, e);
}

bool TopLevelWindow::UI_DuringClose() {
  // The main window's close is the application's; a floating window leaves the workspace,
  // which remembers it so that it can come back, or stays when a panel refuses to close.
  if (IsMain()) return true;
  return workspace_->ChildRequestRemove(shared_from_this());
}

void TopLevelWindow::UI_Draw(kivui::Drawbot& d, const kivcore::RectF&) {
  // What shows between frames is the bars.
  d.FillRect(GetLocalBounds(), kivui::ThemeColors::Current().window);
}

}  // namespace kivworkspace::workspace
