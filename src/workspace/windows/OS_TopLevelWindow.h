#pragma once

#include "services/ui/window/OS_Window.h"
#include "layout/LayoutManagerHostInterface.h"
#include "workspace/windows/WindowPlacement.h"

namespace kivcore {
class PropList;
}

namespace kivworkspace::workspace {

class OS_Workspace;

// The native side of a top-level window: its native window, redraw suspension, saved
// placement, synchronised activation, and the input of a drag in progress (pointer moves,
// the release and a lost capture end the workspace's tracker).
class OS_TopLevelWindow : public LayoutManagerHostInterface, public kivui::OS_Window {
 public:
  explicit OS_TopLevelWindow(OS_Workspace* workspace);
  ~OS_TopLevelWindow() override;

  OS_Workspace* GetOSWorkspace() const { return osWorkspace_; }

  // A floating window owned by `parent` (a tool window), one without an owner, or the
  // application's main window.
  void ConstructOSWindow(kivui::OS_Window* parent, const kivcore::Rect& rect);
  void ConstructOrphanOSWindow(const kivcore::Rect& rect);
  void ConstructMainOSWindow(const kivcore::Rect& rect);

  // Nests: two suspensions need two resumptions.
  void SuspendRedraws(bool suspend) override;
  int GetRedrawSuspension() const { return redrawSuspension_; }
  void UpdateNow() override;

  void SetDelayWindowVisibility(bool delay) { delayVisibility_ = delay; }
  bool GetDelayWindowVisibility() const { return delayVisibility_; }
  void SetDelayedShowMaximized(bool delayed) { delayedShowMaximized_ = delayed; }
  bool GetDelayedShowMaximized() const { return delayedShowMaximized_; }
  // Shows a window restored with delayed visibility, maximized when it was saved so.
  void ShowDelayed();

  // Maximized, restoring to the first monitor less a 10-pixel margin.
  void ApplyDefaultWindowState();
  void ApplyWindowStateData(WindowPlacement placement);
  WindowPlacement GetWindowPlacement() const;
  // The placement under "ShowCmd", "MinPos", "MaxPos" and "NormalPos".
  void SaveWindowStateData(kivcore::PropList& list) const;
  // False (and nothing applied) when a key is missing or malformed.
  bool RestoreWindowStateData(const kivcore::PropList& list);

  // Whether the window shows as active: itself active, or, with synchronised activation,
  // any window of its workspace.
  bool IsDrawnActive() const { return drawnActive_; }

  bool UI_DoMouseEvent(kivui::UI_Node* target, const kivui::MouseEvent& event) override;
  // Keys during a drag go to the workspace's tracker first.
  bool UI_DoKeyboardEvent(const kivui::KeyboardEvent& event) override;
  void UI_CaptureLost() override;
  void UI_ActivationChanged(bool active) override;
  // With the debug setting "KIV_syncWindowEnablement" on, enabling or disabling the main
  // window does the same to the floating windows it owns.
  void UI_EnableChanged(bool enabled) override;

 protected:
  virtual void OnDrawnActiveChanged() { UI_Invalidate(); }

 private:
  void ApplyPlacement(const WindowPlacement& placement);
  void SetDrawnActive(bool active);
  void EndTracker(bool cancelled);

  OS_Workspace* osWorkspace_;
  int redrawSuspension_ = 0;
  bool delayVisibility_ = false;
  bool delayedShowMaximized_ = false;
  bool drawnActive_ = false;
};

}  // namespace kivworkspace::workspace
