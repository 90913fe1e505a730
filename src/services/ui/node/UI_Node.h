#pragma once

#include "services/core/PointT.h"
#include "services/core/RectT.h"

#include <memory>
#include <string>

namespace kivui {

class Drawbot;
class OS_Window;
class UI_Container;
struct GestureEvent;
struct KeyboardEvent;
struct MouseEvent;
struct PointerEvent;

// Why the keyboard focus moved.
enum class FocusChangeReason {
  kOther = 0,
  kMouse = 1,
  kKeyboard = 2,
  kProgrammatic = 3,  // the program moved it (a panel brought to the front, a window raised)
};

// A rectangular piece of UI: it draws itself, receives input through its UI_ hooks and sits
// in a container. Nodes are shared objects (make them with std::make_shared); a container
// keeps its children alive. Positions are floats in the parent's coordinates.
class UI_Node : public std::enable_shared_from_this<UI_Node> {
 public:
  struct Impl;

  explicit UI_Node(std::string nodeId = {});
  virtual ~UI_Node();
  UI_Node(const UI_Node&) = delete;
  UI_Node& operator=(const UI_Node&) = delete;

  const std::string& GetNodeID() const { return nodeId_; }
  void SetNodeID(std::string id) { nodeId_ = std::move(id); }

  UI_Container* GetParent() const { return parent_; }
  // The native window this node is in (itself when it is one), or null while detached.
  OS_Window* GetWindow() const;
  // This node as a native window, or null: a virtual call where a dynamic_cast would compare
  // type names on every level of a walk up the tree.
  virtual OS_Window* AsWindow() { return nullptr; }
  const OS_Window* AsWindow() const { return const_cast<UI_Node*>(this)->AsWindow(); }
  // The outermost container above this node (itself when it has no parent).
  UI_Node* GetRoot();

  // Position in the parent and size.
  void SetFrame(const kivcore::RectF& frame);
  kivcore::RectF GetFrame() const;
  kivcore::RectF GetLocalBounds() const;  // (0, 0, width, height)

  kivcore::PointF UI_LocalToGlobalF(kivcore::PointF local) const;
  kivcore::PointF UI_GlobalToLocalF(kivcore::PointF global) const;
  kivcore::Point UI_LocalToGlobal(kivcore::Point local) const;
  kivcore::Point UI_GlobalToLocal(kivcore::Point global) const;
  kivcore::RectF LocalRectToGlobalF(const kivcore::RectF& local) const;
  // A point of this node in another node's coordinates (both may be in different windows).
  kivcore::PointF ConvertPointTo(kivcore::PointF local, const UI_Node& other) const;

  virtual void UI_Show(bool show);
  bool IsShown() const;  // its own flag
  // Whether it and every container above it are shown.
  virtual bool UI_AreAllParentsVisible() const;

  virtual bool UI_WantsKeyboardFocus() const { return false; }
  void UI_GainKeyboardFocus(FocusChangeReason reason = FocusChangeReason::kProgrammatic);
  // With exact false, also when the focus is on a node inside this one.
  bool UI_HasKeyboardFocus(bool exact = true) const;

  // Schedules a repaint of the whole node or of a part of it.
  virtual void UI_Invalidate();
  void UI_InvalidateRect(const kivcore::RectF& local);
  // Repaints now, before returning.
  virtual void UI_UpdateNow();

  // Timers by caller-chosen ID: UI_DoTimerNotify(id) is called every intervalMs (once when
  // repeat is false). Starting a running ID restarts it.
  void UI_StartTimer(int id, int intervalMs, bool repeat = true);
  void UI_StopTimer(int id);
  bool IsTimerRunning(int id) const;

  // While disabled the node and its children are not repainted.
  void SetUpdatesEnabled(bool enabled);
  bool GetUpdatesEnabled() const;

  void SetToolTip(const std::string& utf8);
  std::string GetToolTip() const;
  void SetEnabled(bool enabled);
  bool IsEnabled() const;

  // --- Hooks. A hook that returns bool reports whether it handled the event; mouse and
  // keyboard events not handled go on to the parent (target stays the node first hit).
  virtual void UI_SizeChanged(const kivcore::RectF& newBounds);
  virtual void UI_Draw(Drawbot& drawbot, const kivcore::RectF& dirty);
  virtual bool UI_DoMouseEvent(UI_Node* target, const MouseEvent& event);
  virtual bool UI_DoPrePointerEvent(const PointerEvent& event);
  virtual bool UI_DoGestureEvent(const GestureEvent& event);
  virtual bool UI_DoKeyboardEvent(const KeyboardEvent& event);
  // Asked as the pointer hovers: set a cursor (UI_NodeManager::SetResourceCursor) and
  // return true, or return false for the default arrow.
  virtual bool UI_DoCursor(kivcore::PointF local);
  virtual bool UI_DoContextMenu(kivcore::PointF global);
  // A press is about to activate this node's window: true when the node took focus itself.
  virtual bool UI_DoMouseActivate();
  virtual void UI_FocusChanged(FocusChangeReason reason);
  virtual void UI_DoTimerNotify(int id);
  // The input capture this node held was taken away (another capture, the window lost
  // activation, the node was hidden).
  virtual void UI_CaptureLost();
  virtual void UI_ScaleChanged(float scale);
  // After the node was enabled or disabled.
  virtual void UI_EnableChanged(bool enabled);
  // After the node was put into a container or taken out of one (null).
  virtual void UI_SetParent(UI_Container* parent);

  Impl& GetImpl() const { return *impl_; }

 protected:
  // Nodes that are native windows build their own widget (OS_Window).
  struct WindowTag {};
  UI_Node(WindowTag, std::string nodeId);

 private:
  friend class UI_Container;
  std::string nodeId_;
  UI_Container* parent_ = nullptr;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kivui
