#pragma once

#include "services/core/RectT.h"
#include "services/ui/node/UI_Container.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kivui {

// A native window: a top-level main window, a floating tool window that stays above its
// owner, a frameless overlay that lets input pass through, or a child window inside
// another window. It is a container; its content is its children.
//
// A main or tool window whose widget a host put inside a window of its own (a docking area
// as the central widget of the host's main window) is embedded there: it stays one of the
// library's windows (listed, found under a point, activated, brought to the front), and
// what concerns the native window (its place, state, activation and stacking) is the host
// window's.
class OS_Window : public UI_Container {
 public:
  enum Kind {
    kMainWindow = 0,
    kToolWindow = 1,
    kOverlayWindow = 2,
    kChildWindow = 3,
  };
  enum WindowState { kNormal = 0, kMinimized = 1, kMaximized = 2 };
  enum DpiSelection { kPerMonitorDpi = 0, kSystemDpi = 1 };

  explicit OS_Window(std::string nodeId = {});
  ~OS_Window() override;
  using UI_Node::AsWindow;
  OS_Window* AsWindow() override { return this; }

  // Creates the native window: `name` is its title, `parent` its owner (tool and overlay
  // windows stay above it) or its container (child windows), `globalRect` its content
  // rectangle on screen (relative to the parent for a child window). Hidden until shown.
  void UI_CreateWindow(const std::string& name, OS_Window* parent,
                       const kivcore::Rect& globalRect, Kind kind);
  bool IsCreated() const { return created_; }
  Kind GetKind() const { return kind_; }
  OS_Window* GetOwner() const { return owner_; }
  // Hides the window and cuts it loose from its owner or parent; it stays alive and can be
  // attached to another window with Reattach.
  void UI_DetachOSWindow();
  void Reattach(OS_Window* parent);

  void SetTitle(const std::string& utf8);
  std::string GetTitle() const;

  // The window's outer rectangle on screen, title bar and borders included.
  kivcore::Rect GetGlobalStructureRect() const;
  void SetGlobalStructureRect(const kivcore::Rect& rect);
  // The content rectangle on screen.
  kivcore::Rect GetGlobalContentRect() const;

  // The scale of the screen the window is on (its device pixel ratio).
  float GetRecommendedScaleFactor() const;
  void SetDpiSelection(DpiSelection selection) { dpiSelection_ = selection; }
  DpiSelection GetDpiSelection() const { return dpiSelection_; }

  void UI_SetOpacity(float opacity);
  // A window that does not take focus is neither activated when shown nor focusable (a
  // window carried by a drag, which must leave the activation and the input capture
  // where they are). Windows take focus by default.
  void SetTakesFocus(bool takes);
  float GetOpacity() const;

  void Raise();
  void Activate();
  bool IsActive() const;

  void ShowWithState(WindowState state);
  WindowState GetWindowState() const;
  // The outer rectangle (decorations included) the window has when neither minimized nor
  // maximized.
  kivcore::Rect GetNormalRect() const;
  void SetNormalRect(const kivcore::Rect& rect);

  void UI_Show(bool show) override;

  // Asked when the user closes the window; return false to keep it open.
  virtual bool UI_DuringClose() { return true; }
  virtual void UI_ActivationChanged(bool active);

  // The window that has the keyboard focus of the system, or null.
  static OS_Window* GetActiveWindow();
  // Every created top-level window, front-most first.
  static std::vector<OS_Window*> UI_EnumerateAllWindows();
  static std::vector<OS_Window*> UI_FindAllWindowsMatchingID(std::string_view nodeId);
  // The front-most shown top-level window containing the global point, skipping windows
  // that let input pass through and `excluding`.
  static OS_Window* WindowFromPoint(kivcore::Point global, const OS_Window* excluding = nullptr);

  // --- Called by the backend.
  void BroughtToFront();

 private:
  Kind kind_ = kMainWindow;
  bool created_ = false;
  OS_Window* owner_ = nullptr;
  DpiSelection dpiSelection_ = kPerMonitorDpi;
  // Set while hidden, when the decorations' size is not known yet.
  std::optional<kivcore::Rect> pendingStructureRect_;
};

}  // namespace kivui
