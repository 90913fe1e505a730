#include "workspace/drag/TabDragger.h"

#include "services/ui/events/KeyboardEvent.h"
#include "services/ui/events/ModKeys.h"
#include "services/ui/node/UI_NodeManager.h"
#include "workspace/drag/internal/EdgeDropZoneOverlayWindow.h"
#include "workspace/core/internal/ScIncDec.h"
#include "workspace/frames/WorkspaceBorderElement.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/core/Workspace.h"
#include "workspace/frames/WorkspaceFrame.h"

#include <algorithm>
#include <cmath>

namespace kivworkspace::workspace {

using kivcore::Point;
using kivcore::Rect;

namespace {

// The pointer must move further than this from the press before the tab leaves its frame.
constexpr double kDragStartDistance = 5.0;
// A drag window is at most this big, so that it does not hide where it can be dropped.
constexpr int kMaxDragWindowWidth = 400;
constexpr int kMaxDragWindowHeight = 300;

}  // namespace

TabDragger::TabDragger(WorkspaceFrame* source, bool wholeFrame, unsigned tabIndex)
    : Tracker(source->GetWorkspace(), kWantsKeyEvents),
      source_(std::static_pointer_cast<WorkspaceFrame>(source->shared_from_this())),
      tabIndex_(tabIndex),
      wholeFrame_(wholeFrame) {
  if (TopLevelWindow* window = source->GetTopLevelWindow())
    sourceWindow_ = std::static_pointer_cast<TopLevelWindow>(window->shared_from_this());
}

TabDragger::~TabDragger() {
  if (IsTracking()) End(true);
}

TopLevelWindow* TabDragger::GetSourceWindow() const { return sourceWindow_.lock().get(); }

bool TabDragger::Begin(Point global) {
  TabPanelPtr panel = source_->GetTabPanel(tabIndex_);
  if (!panel && wholeFrame_) panel = source_->GetFrontTabPanel();
  if (!panel) return false;
  draggedPanel_ = panel;
  press_ = current_ = global;
  sourceTabCount_ = source_->GetTabCount();
  AdoptCarrierWindow();
  GetWorkspace()->NotifyTabDragBegin(draggedPanel_.get());
  notified_ = true;
  SetTracking(true);
  return true;
}

bool TabDragger::Track(Point global) {
  current_ = global;
  Move(global);
  return false;
}

OS_Tracker::KeyOutcome TabDragger::DoKeyEvent(const kivui::KeyboardEvent& event) {
  if (event.key == kivui::kKeyEscape)
    return event.action == kivui::KeyboardEvent::kDown ? KeyOutcome::kCancel : KeyOutcome::kHandled;
  Move(current_);
  return KeyOutcome::kHandled;
}

void TabDragger::Move(Point global) {
  if (dropping_ > 0 || !IsTracking()) return;
  FindTarget(global);
  Rect edgeRect;
  std::vector<Point> edgePolygon;
  const bool edgeHit = targetWindow_ && targetWindow_->AllowsEdgeDrops(*this) &&
                       targetWindow_->GetEdgeDropZone(global, edgeRect, edgePolygon) != DropZone::kNone;
  if (!started_) {
    if (std::hypot(double(global.x - press_.x), double(global.y - press_.y)) <= kDragStartDistance)
      return;
    ShowDragCursor(wholeFrame_);
    started_ = true;
  }
  // The docking modifier keeps every zone away: the panels will float where they are let go.
  const bool docking = (kivui::GetCurrentModKeys() & kivui::kModDocking) == 0;
  // A drag that starts on an edge zone of its own window stays docked until it leaves it.
  if (!undocked_ && (!edgeHit || !docking)) {
    Undock();
    FindTarget(global);
  }
  UpdateDropZones(global, docking && edgeHit, docking);
  if (dragWindow_) dragWindow_->SetDragPosition(global, wholeFrame_);
}

void TabDragger::FindTarget(Point global) {
  auto* window = dynamic_cast<TopLevelWindow*>(kivui::OS_Window::WindowFromPoint(global, dragWindow_.get()));
  if (window && (window->GetWorkspace() != GetWorkspace() || !window->AcceptsTabs() ||
                 window->IsInterim()))
    window = nullptr;
  targetWindow_ = window;
  targetFrame_ = window ? dynamic_cast<WorkspaceFrame*>(window->GetFrameFromPos(global)) : nullptr;
}

void TabDragger::Undock() {
  undocked_ = true;
  Workspace* workspace = GetWorkspace();
  TopLevelWindow* window = source_->GetTopLevelWindow();
  const auto keepWindow = window ? window->shared_from_this() : nullptr;
  const Rect sourceRect = window ? window->GetFrameGlobalRect(*source_) : Rect{};
  const Rect rect{sourceRect.left, sourceRect.top,
                  std::clamp(sourceRect.width, 200, kMaxDragWindowWidth),
                  std::clamp(sourceRect.height, 120, kMaxDragWindowHeight)};
  // A window giving up a frame leaves its maximized state.
  if (window && window->GetMaximizedFrame() && (wholeFrame_ || source_->GetTabCount() == 1))
    window->SetMaximizedFrame(nullptr);
  if (wholeFrame_) {
    if (window) window->RemoveFrame(source_.get(), false);
    dragWindow_ = workspace->CreateDragSrcWindow(source_, rect);
  } else {
    dragWindow_ = workspace->CreateDragSrcWindow(std::vector<TabPanelPtr>{}, rect);
  }
  // A floating source window left without frames goes now; the drag's input must not go
  // with it.
  const bool windowGoes = window && !window->IsMain() &&
                          (wholeFrame_ ? window->GetFrameCount() == 0
                                       : window->GetFrameCount() == 1 && source_->GetTabCount() == 1);
  if (windowGoes) workspace->MoveTrackerCapture(window, dragWindow_.get());
  if (wholeFrame_) {
    // A window that goes is remembered when it still holds closed panels.
    if (window && !window->GetRootFrame() && !window->IsMain())
      workspace->RemoveWindow(window, window->HasReanimatableFrames());
  } else {
    // Takes the frame out when it empties, and a floating window it leaves empty.
    workspace->RemoveTab(source_.get(), source_->IndexOf(draggedPanel_.get()), false, false);
    dragWindow_->GetRootFrame()->AddTab(draggedPanel_, false);
  }
  KeepKeysComing();
}

void TabDragger::AdoptCarrierWindow() {
  // A window made only to carry this frame into the drag (a panel torn off its window's
  // side) is the drag window from the start: it follows the pointer, and the end of the
  // drag docks its frame or makes it an ordinary floating window.
  std::shared_ptr<TopLevelWindow> window = sourceWindow_.lock();
  if (!wholeFrame_ || !window || !window->IsInterim() || window->GetRootFrame() != source_.get())
    return;
  dragWindow_ = std::move(window);
  undocked_ = true;
  KeepKeysComing();
}

void TabDragger::KeepKeysComing() {
  // Keys must still reach the drag (Escape) when the focus left with the panels.
  if (kivui::UI_NodeManager::Get().GetFocusNode()) return;
  if (TopLevelWindow* main = GetWorkspace()->GetMainTopLevelWindow()) main->UI_GainKeyboardFocus();
}

void TabDragger::UpdateDropZones(Point global, bool edgeHit, bool docking) {
  TopLevelWindow* window = docking ? targetWindow_ : nullptr;
  if (overlayWindow_.lock().get() != window) DestroyOverlay();
  if (!window) return SetActiveType(DropZone::kNone);
  DropZoneOverlayWindow* overlay = window->GetDropZoneOverlay();
  // An overlay answers only inside its area; an edge hit replaces a frame's zones.
  if (overlay && (!overlay->GetGlobalRect().Contains(global) ||
                  (edgeHit && !window->GetEdgeDropZoneOverlay()))) {
    DestroyOverlay();
    overlay = nullptr;
  }
  if (!overlay && (targetFrame_ || edgeHit || window->GetFrameCount() == 0)) {
    // The frame this drag is about to empty offers nothing.
    WorkspaceFrame* frame = targetFrame_;
    if (frame == source_.get() && !undocked_ && (wholeFrame_ || frame->GetTabCount() <= 1))
      frame = nullptr;
    overlay = window->CreateDropZoneOverlay(this, global, frame);
    // New zones: the preview is computed afresh.
    activeType_ = DropZone::kNone;
    preview_ = {};
    if (overlay) {
      overlayWindow_ = std::static_pointer_cast<TopLevelWindow>(window->shared_from_this());
      overlay->UI_Show(true);
      overlay->BringToTop();
    }
  }
  DropZone::DropType type = DropZone::kNone;
  if (overlay)
    type = overlay->GetZoneCount() >= 2 ? overlay->DropZoneFromPoint(global) : overlay->GetActiveDropZone();
  if (type == DropZone::kTabWell && targetFrame_)
    insertionIndex_ = targetFrame_->GetInsertionIndex(global);
  SetActiveType(type);
}

void TabDragger::SetActiveType(DropZone::DropType type) {
  if (type == activeType_) return;
  activeType_ = type;
  preview_ = ComputePreview();
  if (TopLevelWindow* window = overlayWindow_.lock().get()) {
    if (DropZoneOverlayWindow* overlay = window->GetDropZoneOverlay()) overlay->SetPreviewRect(preview_);
  }
}

Rect TabDragger::ComputePreview() const {
  TopLevelWindow* window = targetWindow_;
  if (!window || activeType_ == DropZone::kNone) return {};
  LayoutManager& layout = window->GetLayoutManager();
  if (!layout.GetRoot()) return window->GetGlobalClientRect();
  const bool edge = window->GetEdgeDropZoneOverlay() != nullptr;
  if (activeType_ == DropZone::kCentre || activeType_ == DropZone::kTabWell)
    return targetFrame_ && !edge ? window->GetFrameGlobalRect(*targetFrame_) : Rect{};
  WorkspaceFrame* carrier = dragWindow_ ? dragWindow_->GetRootFrame() : source_.get();
  Frame* target = edge || !targetFrame_ ? nullptr : targetFrame_->GetLMFrame();
  const Rect local = layout.PreviewAddFrame(
      target, LayoutManager::InsertionType(activeType_ - 1), carrier->GetLMFrame());
  const Point tl = window->UI_LocalToGlobal(local.TopLeft());
  return {tl.x, tl.y, local.width, local.height};
}

std::vector<TabPanelPtr> TabDragger::TakeCarriedPanels() {
  std::vector<TabPanelPtr> panels;
  WorkspaceFrame* carrier = dragWindow_ ? dragWindow_->GetRootFrame() : nullptr;
  while (carrier && carrier->GetTabCount() > 0) panels.push_back(carrier->DetachTabPanel(0));
  return panels;
}

WorkspaceFramePtr TabDragger::TakeCarriedFrame() {
  auto frame = std::static_pointer_cast<WorkspaceFrame>(dragWindow_->GetRootFrame()->shared_from_this());
  dragWindow_->RemoveFrame(frame.get(), false);
  return frame;
}

bool TabDragger::Drop() {
  TopLevelWindow* window = targetWindow_;
  if (!window || activeType_ == DropZone::kNone) return false;
  const bool edge = window->GetEdgeDropZoneOverlay() != nullptr;
  WorkspaceFrame* target = edge ? nullptr : targetFrame_;
  const DropZone::DropType type = activeType_;
  const bool empty = window->GetFrameCount() == 0;
  if ((type == DropZone::kCentre || type == DropZone::kTabWell) && !target && !empty) return false;
  if (!undocked_) Undock();
  if (!dragWindow_ || !dragWindow_->GetRootFrame()) return false;
  const auto keepTarget = window->shared_from_this();
  const ScIncDec dropping(dropping_);
  if (type == DropZone::kTop && edge && window->IsMain() && !wholeFrame_ &&
      dynamic_cast<WorkspaceBorderElement*>(draggedPanel_.get()) &&
      !window->HasStaticElement(LayoutManager::kTop)) {
    // A border element let go on the main window's top edge is pinned there. An element
    // already pinned there stays: the dropped one then docks along the edge as any tab.
    window->SetStaticElement(TakeCarriedPanels().front(), LayoutManager::kTop, true);
  } else if (empty) {
    // A window without frames takes what is dropped anywhere on it as its root frame.
    window->AddTabbedFrame(nullptr, TakeCarriedFrame(), LayoutManager::kTop);
  } else if (type == DropZone::kCentre || type == DropZone::kTabWell) {
    unsigned at = type == DropZone::kCentre ? target->GetTabCount()
                                             : std::min(insertionIndex_, target->GetTabCount());
    if (wholeFrame_) {
      // A whole frame brings its closed panels along.
      window->MergeFrame(*target, TakeCarriedFrame(), at);
    } else {
      for (const TabPanelPtr& panel : TakeCarriedPanels()) target->AddTab(panel, at++, false);
    }
    target->BringTabToFront(draggedPanel_.get());
  } else {
    const auto side = LayoutManager::InsertionType(type - 1);
    if (wholeFrame_) {
      window->AddTabbedFrame(target, TakeCarriedFrame(), side);
    } else {
      window->AddTabbedFrame(target, TakeCarriedPanels(), side);
    }
  }
  if (DropZoneOverlayWindow* overlay = window->GetDropZoneOverlay()) overlay->DropPerformed();
  return true;
}

void TabDragger::DestroyOverlay() {
  if (TopLevelWindow* window = overlayWindow_.lock().get()) window->DestroyDropZoneOverlay();
  overlayWindow_.reset();
}

void TabDragger::FinishDragWindow(bool docked) {
  if (!dragWindow_) return;
  const std::shared_ptr<TopLevelWindow> window = std::move(dragWindow_);
  WorkspaceFrame* root = window->GetRootFrame();
  if (docked || !root || root->GetTabCount() == 0) {
    if (root) window->RemoveFrame(root, false);
    GetWorkspace()->RemoveWindow(window.get(), false);
    return;
  }
  GetWorkspace()->MakeWindowPermanent(window);
}

void TabDragger::End(bool cancelled) {
  const bool wasTracking = IsTracking();
  SetTracking(false);
  RestoreCursor();
  bool docked = false;
  if (wasTracking && started_ && !cancelled) {
    FindTarget(current_);
    docked = Drop();
  }
  DestroyOverlay();
  FinishDragWindow(docked);
  Workspace* workspace = GetWorkspace();
  if (draggedPanel_ && draggedPanel_->GetFrame()) {
    if (TabPanelPtr front = draggedPanel_->GetFrame()->GetFrontTabPanel())
      workspace->SetFocusedTabPanel(front.get());
  }
  if (notified_) workspace->NotifyTabDragEnd(draggedPanel_.get());
  notified_ = false;
}

}  // namespace kivworkspace::workspace
