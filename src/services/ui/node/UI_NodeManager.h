#pragma once

#include "services/ui/node/ResourceManager.h"

#include <boost/signals2/signal.hpp>

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kivui {

class OS_Window;
class UI_Node;
enum class FocusChangeReason;

// Resource cursors by number.
enum ResourceCursor : int {
  kCursorArrow = 0,
  kCursorVerticalBar = 10,    // over a vertical bar: resize left and right
  kCursorHorizontalBar = 11,  // over a horizontal bar: resize up and down
  kCursorCrossing = 12,       // where bars cross: resize both ways
  kCursorResizeHandle = 17,   // a border element's resize handle, flag set
  kCursorDragTab = 19,        // dragging a tab
  kCursorDragFrame = 20,      // dragging a whole frame
  kCursorPointingHand = 21,
  kCursorForbidden = 22,
};

// Process-wide UI state: input capture, keyboard focus, cursors, settings, resources and
// the modal window. UI thread only.
class UI_NodeManager {
 public:
  static UI_NodeManager& Get();

  // --- Input capture: the capturing node receives every mouse event until it ends the
  // capture. A capture that is taken away is reported to the node (UI_CaptureLost) and
  // through CaptureLost().
  void BeginCapture(UI_Node* node);
  void EndCapture(UI_Node* node);
  // Hands the capture of `from` to another node without telling `from` it was lost: the
  // input goes on to the same handler through a node that outlives `from`.
  void TransferCapture(UI_Node* from, UI_Node* to);
  UI_Node* GetCaptureNode() const { return capture_; }
  // Takes the capture away from its node as the system would (window deactivated, node
  // hidden or destroyed).
  void LoseCapture();
  boost::signals2::signal<void(UI_Node*)>& CaptureLost() { return captureLost_; }

  // --- Keyboard focus. Within a group, focus may move many times; the nodes are told once,
  // when the outermost group ends, and only if the focus ended on another node.
  UI_Node* GetFocusNode() const { return focus_; }
  void BeginFocusChangeGroup();
  void EndFocusChangeGroup();
  boost::signals2::signal<void(UI_Node* lost, UI_Node* gained)>& FocusChanged() {
    return focusChanged_;
  }
  class FocusChangeGroup {
   public:
    FocusChangeGroup() { Get().BeginFocusChangeGroup(); }
    ~FocusChangeGroup() { Get().EndFocusChangeGroup(); }
    FocusChangeGroup(const FocusChangeGroup&) = delete;
    FocusChangeGroup& operator=(const FocusChangeGroup&) = delete;
  };

  // --- Mouse-over updates (enter, leave and hover moves) are not delivered while suspended.
  // Suspensions nest.
  void SuspendMouseOverUpdates(bool suspend);
  bool AreMouseOverUpdatesSuspended() const { return mouseOverSuspended_ > 0; }

  // --- Cursors. Inside UI_DoCursor this sets the hovered node's cursor; elsewhere (during a
  // capture, typically) it overrides the cursor everywhere until ResetCursor().
  void SetResourceCursor(int number);
  void ResetCursor();
  int GetCurrentResourceCursor() const { return cursor_; }

  // --- Named settings a host or user configures, such as "WORKSPACE_SPLITTER_SIZE_TOUCH"
  // and "WORKSPACE_SPLITTER_SIZE_PEN" (the bar hit width for touch and pen input). None is
  // set at start.
  std::optional<std::string> GetCustomSetting(std::string_view name) const;
  int GetCustomSettingInt(std::string_view name, int fallback) const;
  void SetCustomSetting(std::string_view name, std::string value);

  ResourceManager& GetResourceManager() { return resources_; }

  // A timer ID no other caller of this function gets, clear of the small fixed IDs nodes
  // use for their own timers.
  int GetUniqueTimerID() { return nextTimerId_++; }

  // The window running modally (a dialog), or null.
  OS_Window* GetModalWindow() const { return modal_; }

  // --- Called by the backend.
  void SetModalWindow(OS_Window* window) { modal_ = window; }
  void NodeFocused(UI_Node* node, FocusChangeReason reason);
  void NodeGoingAway(UI_Node* node);
  void NodeHidden(UI_Node* node);
  bool InCursorQuery() const { return cursorQuery_ != nullptr; }
  void SetCursorQueryNode(UI_Node* node) { cursorQuery_ = node; }

 private:
  UI_NodeManager();
  void DeliverFocusChange(UI_Node* lost, UI_Node* gained, FocusChangeReason reason);

  UI_Node* capture_ = nullptr;
  UI_Node* focus_ = nullptr;
  UI_Node* focusAtGroupStart_ = nullptr;
  FocusChangeReason groupReason_;
  int focusGroupDepth_ = 0;
  int mouseOverSuspended_ = 0;
  int cursor_ = kCursorArrow;
  int nextTimerId_ = 1000;
  bool overrideCursor_ = false;
  UI_Node* cursorQuery_ = nullptr;
  OS_Window* modal_ = nullptr;
  std::map<std::string, std::string, std::less<>> settings_;
  ResourceManager resources_;
  boost::signals2::signal<void(UI_Node*)> captureLost_;
  boost::signals2::signal<void(UI_Node*, UI_Node*)> focusChanged_;
};

}  // namespace kivui
