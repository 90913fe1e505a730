#pragma once

#include "services/core/RectT.h"
#include "services/core/Strings.h"
#include "services/scripting/ScriptClassDefinition.h"
#include "services/scripting/ScriptObject.h"

#include <atomic>
#include <memory>
#include <vector>

namespace kivworkspace::scripting {

class IndicatorOverlayWindow;

// The script class "IndicatorOverlay": a small window that points at a control of the
// user interface, named by its automation path ("OS_TopLevelWindow/.../NodeID"). Made
// hidden; "show" opens the window at the control's edge given by the direction, "hide"
// closes it. Everything that touches the UI runs on the UI thread; calls from a script
// thread wait for it at most 10 s. Held by intrusive_ptr (as the bridge holds it).
class IndicatorOverlayObj : public kivscripting::ScriptObject {
 public:
  enum Direction : unsigned { kAnchorRightEdge = 0, kAnchorLeftEdge = 1, kAnchorTopEdge = 2, kAnchorBottomEdge = 3 };
  static constexpr int kUIThreadTimeoutMs = 10000;

  IndicatorOverlayObj(const kivcore::UTF16String& text, unsigned direction, const kivcore::UTF16String& ctrlPath);
  ~IndicatorOverlayObj() override;

  // Whether the path named a control: what the script constructor reports.
  bool IsAnchored() const { return anchor_.Right() > 0 && anchor_.Bottom() > 0; }
  const kivcore::RectF& GetAnchor() const { return anchor_; }
  const kivcore::UTF16String& GetControlPath() const { return ctrlPath_; }
  const kivcore::UTF16String& GetText() const { return text_; }
  unsigned GetDirection() const { return direction_; }

  // Opens the window; false when the overlay points nowhere or the UI thread did not take
  // the call in time (the window then never opens).
  bool Show();
  // Closes the window, if shown; always true. With no window it returns at once, without
  // waiting for the UI thread.
  bool Hide();
  IndicatorOverlayWindow* GetWindow() const { return window_.get(); }
  // Closes and releases the window on the calling thread.
  void ReleaseWindow();

  // Every overlay that exists, oldest first.
  static const std::vector<IndicatorOverlayObj*>& GetLiveInstances();
  static kivscripting::ScriptClassDefinition Definition();

 private:
  void OpenWindow();

  kivcore::RectF anchor_{0, 0, 0, 0};
  kivcore::UTF16String ctrlPath_;
  kivcore::UTF16String text_;
  unsigned direction_ = 0;
  std::unique_ptr<IndicatorOverlayWindow> window_;  // UI thread only
  // Whether window_ is set, for the script thread to read.
  std::atomic<bool> shown_{false};
};

}  // namespace kivworkspace::scripting
