#pragma once

#include "services/core/PointT.h"

namespace kivui {
struct KeyboardEvent;
}

namespace kivworkspace::workspace {

// A drag in progress (a tab, a splitter bar), driven by the top-level window that holds the
// input capture: it sees every pointer move and the release, and is cancelled when the
// capture is lost. The native side only adds the warning beep of a cancelled drag.
class OS_Tracker {
 public:
  // What a key pressed or released during the drag did.
  enum class KeyOutcome { kIgnored, kHandled, kCancel };

  virtual ~OS_Tracker() = default;

  // The drag starts at a global position; false when it was cancelled at once.
  virtual bool Begin(kivcore::Point /*global*/) { return true; }
  // The pointer moved to a global position; returns true when the drag is finished.
  virtual bool Track(kivcore::Point global) = 0;
  // The drag ends: dropped (cancelled false) or abandoned.
  virtual void End(bool cancelled) = 0;
  // Abandons the drag with the exclamation beep.
  virtual void Cancel();
  // A key pressed or released during the drag; kCancel ends the drag as cancelled.
  virtual KeyOutcome DoKeyEvent(const kivui::KeyboardEvent&) { return KeyOutcome::kIgnored; }
};

}  // namespace kivworkspace::workspace
