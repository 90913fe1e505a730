#pragma once

#include "layout/LayoutManager.h"
#include "services/core/RectT.h"
#include "workspace/drag/Tracker.h"

#include <memory>

namespace kivworkspace::workspace {

class TopLevelWindow;

// Drags the bars of a window under a pressed point (or a touch's rectangle) through the
// layout's tracker. The workspace hears of the drag's beginning and end; Escape ends it
// where the last move left the bars.
class SplitterDragger : public Tracker {
 public:
  // `localRect` is in the window's coordinates: a 1 x 1 rectangle for a mouse press.
  SplitterDragger(TopLevelWindow* window, const kivcore::Rect& localRect);
  ~SplitterDragger() override;

  // False when there is no bar under the rectangle: nothing to drag.
  bool Begin(kivcore::Point global) override;
  bool Track(kivcore::Point global) override;
  void End(bool cancelled) override;
  KeyOutcome DoKeyEvent(const kivui::KeyboardEvent& event) override;

 private:
  TopLevelWindow* window_;
  std::unique_ptr<LayoutManager::Tracker> tracker_;
  bool adjusting_ = false;
  bool notified_ = false;
};

}  // namespace kivworkspace::workspace
