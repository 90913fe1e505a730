#pragma once

#include "services/core/PointT.h"
#include "services/ui/events/KeyboardEvent.h"
#include "services/ui/events/ModKeys.h"
#include "services/ui/events/MouseEvent.h"
#include "services/ui/events/PointerEvent.h"

#include <functional>
#include <string>
#include <vector>

namespace kivui {
class OS_Window;
class UI_Node;
}

// Real input for tests and scripted tours: events enter the window system's event path at
// a window (as the system would send them), so hit testing, capture, focus and the hooks
// all take part. Each pointer event also moves the pointer that GetGlobalCursorPos reports.
namespace kivui::testing {

// At a global point: the event goes to the front-most window there.
void MousePressAt(kivcore::Point global, MouseEvent::Button button = MouseEvent::kPrimary,
                  ModKeys mods = kModNone);
void MouseMoveTo(kivcore::Point global);
void MouseReleaseAt(kivcore::Point global, MouseEvent::Button button = MouseEvent::kPrimary,
                    ModKeys mods = kModNone);
void ClickAt(kivcore::Point global, MouseEvent::Button button = MouseEvent::kPrimary,
             ModKeys mods = kModNone);
void DoubleClickAt(kivcore::Point global);
// Press, moves in steps, release.
void DragFromTo(kivcore::Point fromGlobal, kivcore::Point toGlobal, int steps = 8,
                ModKeys mods = kModNone);

// A pen or a finger on the screen, as the window system reports it: primary-button mouse
// events that come from that device, so the pointer hooks see them before the mouse hooks.
void PointerPressAt(kivcore::Point global, PointerEvent::Device device);
void PointerMoveTo(kivcore::Point global, PointerEvent::Device device);
void PointerReleaseAt(kivcore::Point global, PointerEvent::Device device);

// The window system closes a top-level window, as its title bar's close button does.
void CloseWindow(const OS_Window& window);

// At a point local to a node.
void ClickNode(const UI_Node& node, kivcore::PointF local,
               MouseEvent::Button button = MouseEvent::kPrimary, ModKeys mods = kModNone);
// A key press and release delivered to the node that has the keyboard focus.
void KeyClick(int key, ModKeys mods = kModNone);
void TypeText(const std::string& utf8);

// Makes GetCurrentModKeys report `mods` (or the real state again with -1).
void OverrideModKeys(int mods);

// What is left of the UI after everything that made it is gone: a line for each native
// window of a node that still exists (shown or hidden; overlays and drag cursors
// included), for a node that still holds the mouse capture and for a widget that still
// holds the window system's mouse grab. Empty when nothing is left.
// Pending deletions are carried out first.
std::vector<std::string> LeftBehind();
// The native windows of nodes that exist now (overlays and drag cursors included): each
// window's node (null when the node is gone) and whether the window is shown. Pending
// deletions are carried out first.
struct NodeWindow {
  const UI_Node* node;
  bool shown;
};
std::vector<NodeWindow> LiveNodeWindows();

// Handles pending events, including posted ones and timers due within maxMs.
void ProcessEvents(int maxMs = 0);
// Handles events until pred() holds or timeoutMs passes; returns pred().
bool WaitUntil(const std::function<bool()>& pred, int timeoutMs = 2000);

}  // namespace kivui::testing
