#include "workspace/windows/OS_TopLevelWindow.h"

#include "services/core/DebugDatabase.h"
#include "services/core/PropList.h"
#include "services/ui/events/KeyboardEvent.h"
#include "services/ui/events/MouseEvent.h"
#include "services/ui/window/OS_MonitorInfo.h"
#include "workspace/drag/OS_Tracker.h"
#include "workspace/core/OS_Workspace.h"

namespace kivworkspace::workspace {
namespace {

// Set while a tracker ends, so that the capture it releases does not end it again.
bool endingTracker = false;
// Nesting of synchronised activation: only the outermost change updates the others.
int activationNesting = 0;

bool ReadIntList(const kivcore::PropList& list, const char* key, std::size_t size,
                 kivcore::PropList::IntList& out) {
  return list.GetValue(key, out) && out.size() == size;
}

}  // namespace

OS_TopLevelWindow::OS_TopLevelWindow(OS_Workspace* workspace)
    : OS_Window("OS_TopLevelWindow"), osWorkspace_(workspace) {}

OS_TopLevelWindow::~OS_TopLevelWindow() = default;

void OS_TopLevelWindow::ConstructOSWindow(kivui::OS_Window* parent, const kivcore::Rect& rect) {
  UI_CreateWindow("", parent, rect, parent ? kToolWindow : kMainWindow);
}

void OS_TopLevelWindow::ConstructOrphanOSWindow(const kivcore::Rect& rect) {
  UI_CreateWindow("", nullptr, rect, kToolWindow);
}

void OS_TopLevelWindow::ConstructMainOSWindow(const kivcore::Rect& rect) {
  UI_CreateWindow("", nullptr, rect, kMainWindow);
}

void OS_TopLevelWindow::SuspendRedraws(bool suspend) {
  redrawSuspension_ += suspend ? 1 : -1;
  SetUpdatesEnabled(redrawSuspension_ <= 0);
}

void OS_TopLevelWindow::UpdateNow() { UI_UpdateNow(); }

void OS_TopLevelWindow::ShowDelayed() {
  ShowWithState(delayedShowMaximized_ ? kMaximized : kNormal);
  delayedShowMaximized_ = false;
}

void OS_TopLevelWindow::ApplyDefaultWindowState() {
  WindowPlacement placement = GetWindowPlacement();
  placement.showCmd = WindowPlacement::kShowMaximized;
  placement.flags = WindowPlacement::kRestoreToMaximized;
  const auto monitors = kivui::OS_MonitorInfo::GetMonitors();
  kivcore::Rect r = monitors.empty() ? kivcore::Rect{0, 0, 1280, 800} : monitors[0].rect;
  r = {r.left + 10, r.top + 10, r.width - 20, r.height - 20};
  placement.normalPos = kivui::KIVtoWIN(r);
  ApplyPlacement(placement);
}

void OS_TopLevelWindow::ApplyWindowStateData(WindowPlacement placement) {
  if (delayVisibility_) {
    if (placement.showCmd == WindowPlacement::kShowMaximized) delayedShowMaximized_ = true;
    placement.showCmd = WindowPlacement::kHide;
    ApplyPlacement(placement);
    return;
  }
  if (placement.showCmd == WindowPlacement::kShowMinimized ||
      placement.showCmd == WindowPlacement::kMinimize) {
    placement.showCmd = WindowPlacement::kShowNormal;
  }
  if (placement.showCmd != WindowPlacement::kShowMaximized) {
    SetGlobalStructureRect(kivui::WINtoKIV(placement.normalPos));
    ApplyPlacement(placement);
    return;
  }
  // Normal first, so that un-maximizing returns to the saved normal position.
  placement.showCmd = WindowPlacement::kShowNormal;
  ApplyPlacement(placement);
  placement.showCmd = WindowPlacement::kShowMaximized;
  ApplyPlacement(placement);
}

void OS_TopLevelWindow::ApplyPlacement(const WindowPlacement& placement) {
  const kivcore::Rect normal = kivui::WINtoKIV(placement.normalPos);
  if (placement.showCmd == WindowPlacement::kShowMaximized) {
    // Maximizing keeps the rectangle the window had as the one it restores to.
    SetNormalRect(normal);
    ShowWithState(kMaximized);
    return;
  }
  switch (placement.showCmd) {
    case WindowPlacement::kHide:
      UI_Show(false);
      break;
    case WindowPlacement::kShowMinimized:
    case WindowPlacement::kMinimize:
      ShowWithState(kMinimized);
      break;
    default:
      ShowWithState(kNormal);
      break;
  }
  // After showing: only a shown window knows the size of its decorations.
  SetNormalRect(normal);
}

WindowPlacement OS_TopLevelWindow::GetWindowPlacement() const {
  WindowPlacement placement;
  switch (GetWindowState()) {
    case kMinimized:
      placement.showCmd = WindowPlacement::kShowMinimized;
      break;
    case kMaximized:
      placement.showCmd = WindowPlacement::kShowMaximized;
      break;
    default:
      placement.showCmd = WindowPlacement::kShowNormal;
      break;
  }
  placement.normalPos = kivui::KIVtoWIN(GetNormalRect());
  return placement;
}

void OS_TopLevelWindow::SaveWindowStateData(kivcore::PropList& list) const {
  const WindowPlacement p = GetWindowPlacement();
  list.SetValue("ShowCmd", std::uint32_t(p.showCmd));
  list.SetValue("MinPos", kivcore::PropList::IntList{p.minPos.x, p.minPos.y});
  list.SetValue("MaxPos", kivcore::PropList::IntList{p.maxPos.x, p.maxPos.y});
  list.SetValue("NormalPos", kivcore::PropList::IntList{p.normalPos.left, p.normalPos.top,
                                                        p.normalPos.right, p.normalPos.bottom});
}

bool OS_TopLevelWindow::RestoreWindowStateData(const kivcore::PropList& list) {
  WindowPlacement p;
  std::uint32_t showCmd = 0;
  kivcore::PropList::IntList minPos, maxPos, normal;
  if (!list.GetValue("ShowCmd", showCmd) || !ReadIntList(list, "MinPos", 2, minPos) ||
      !ReadIntList(list, "MaxPos", 2, maxPos) || !ReadIntList(list, "NormalPos", 4, normal)) {
    return false;
  }
  p.showCmd = showCmd;
  p.minPos = {minPos[0], minPos[1]};
  p.maxPos = {maxPos[0], maxPos[1]};
  p.normalPos = {normal[0], normal[1], normal[2], normal[3]};
  if (kivui::WINtoKIV(p.normalPos).IsEmpty()) return false;
  ApplyWindowStateData(p);
  return true;
}

bool OS_TopLevelWindow::UI_DoMouseEvent(kivui::UI_Node*, const kivui::MouseEvent& event) {
  OS_Tracker* tracker = osWorkspace_ ? osWorkspace_->GetTracker() : nullptr;
  if (!tracker) return false;
  if (event.action == kivui::MouseEvent::kMove) {
    if (tracker->Track(event.GlobalPoint())) EndTracker(false);
    return true;
  }
  if (event.action == kivui::MouseEvent::kUp && event.button == kivui::MouseEvent::kPrimary) {
    EndTracker(false);
    return true;
  }
  return false;
}

bool OS_TopLevelWindow::UI_DoKeyboardEvent(const kivui::KeyboardEvent& event) {
  OS_Tracker* tracker = osWorkspace_ ? osWorkspace_->GetTracker() : nullptr;
  const OS_Tracker::KeyOutcome outcome =
      tracker ? tracker->DoKeyEvent(event) : OS_Tracker::KeyOutcome::kIgnored;
  if (outcome == OS_Tracker::KeyOutcome::kIgnored) return OS_Window::UI_DoKeyboardEvent(event);
  if (outcome == OS_Tracker::KeyOutcome::kCancel) EndTracker(true);
  return true;
}

void OS_TopLevelWindow::UI_CaptureLost() {
  if (osWorkspace_ && osWorkspace_->GetTracker() && !endingTracker) EndTracker(true);
}

void OS_TopLevelWindow::EndTracker(bool cancelled) {
  endingTracker = true;
  osWorkspace_->ReleaseTracker(cancelled);
  endingTracker = false;
}

void OS_TopLevelWindow::UI_ActivationChanged(bool active) {
  OS_Window::UI_ActivationChanged(active);
  if (!OS_Workspace::IsSyncWindowActivationEnabled() || !osWorkspace_) {
    SetDrawnActive(active);
    return;
  }
  const auto windows = osWorkspace_->GetTopLevelWindows();
  // Active when the system says so, or when the window now active is one of ours.
  bool drawActive = active;
  kivui::OS_Window* now = GetActiveWindow();
  for (OS_TopLevelWindow* w : windows) drawActive |= w == now;
  ++activationNesting;
  SetDrawnActive(drawActive);
  if (activationNesting == 1) {
    for (OS_TopLevelWindow* w : windows) {
      if (w != this) w->SetDrawnActive(drawActive);
    }
  }
  --activationNesting;
}

void OS_TopLevelWindow::UI_EnableChanged(bool enabled) {
  OS_Window::UI_EnableChanged(enabled);
  if (!osWorkspace_ || GetKind() != kMainWindow) return;
  if (!kivcore::debug::DebugDatabase::Instance().GetEntry("KIV_syncWindowEnablement", false))
    return;
  for (OS_TopLevelWindow* w : osWorkspace_->GetTopLevelWindows()) {
    if (w != this && w->GetKind() == kToolWindow && w->GetOwner() == this) w->SetEnabled(enabled);
  }
}

void OS_TopLevelWindow::SetDrawnActive(bool active) {
  if (drawnActive_ == active) return;
  drawnActive_ = active;
  OnDrawnActiveChanged();
}

}  // namespace kivworkspace::workspace
