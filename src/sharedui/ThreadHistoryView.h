#pragma once

#include "services/ui/node/UI_Node.h"
#include "sharedui/ThreadSpanLanes.h"

namespace kivworkspace::sharedui {

// Draws the recorded thread activity of the last few seconds: a lane per thread (the main
// thread first), a bar per span, time running to the right up to now.
class ThreadHistoryView : public kivui::UI_Node {
 public:
  ThreadHistoryView();

  void SetSpanSeconds(int seconds) { spanSeconds_ = seconds; }
  int GetSpanSeconds() const { return spanSeconds_; }
  // The lanes drawn last.
  const ThreadSpanLanes& GetLanes() const { return lanes_; }

  void UI_Draw(kivui::Drawbot& drawbot, const kivcore::RectF& dirty) override;

 private:
  int spanSeconds_ = 10;
  ThreadSpanLanes lanes_;
};

}  // namespace kivworkspace::sharedui
