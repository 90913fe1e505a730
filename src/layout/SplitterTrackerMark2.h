#pragma once

#include "layout/LayoutManager.h"

#include <memory>
#include <vector>

namespace kivworkspace::workspace {

class Frame;
class Splitter;

// Drags the bars under the pointer together (both at a crossing): each stays within limits
// that leave every frame on its sides at least a tab wide (or high), snaps to where a
// neighbouring frame of fixed size gets one of its snap sizes or lines up with another bar,
// and only the two halves of each moved bar are laid out again.
class SplitterTrackerMark2 : public LayoutManager::Tracker {
 public:
  // Within this many pixels of a snap position a bar jumps to it.
  static constexpr int kSnapDistance = 20;

  SplitterTrackerMark2(LayoutManager& manager, const std::vector<Splitter*>& splitters);
  ~SplitterTrackerMark2() override;

  void Begin(const kivcore::Point& p) override;
  void Move(const kivcore::Point& p) override;
  void End() override {}

  // The range a bar may take along its axis (for tests and the cursor).
  int GetMin(std::size_t bar) const;
  int GetMax(std::size_t bar) const;

 private:
  // A place a bar may snap to: a bar's coordinate, or an edge of a frame or of another
  // bar's location plus an offset.
  struct Candidate {
    int offset = 0;
    const Splitter* splitter = nullptr;
    Frame* frame = nullptr;
    bool leftOrTopSide = true;
  };
  struct Bar;
  // One move's snapping, shared by the bars moved together.
  struct Snapped {
    bool x = false, y = false;
    int atX = 0, atY = 0;
  };

  void Prepare(Bar& bar);
  void WalkSide(Bar& bar, LayoutManagerElement* e, bool leftOrTopSide);
  void MoveBar(Bar& bar, const kivcore::Point& p, Snapped& snapped);
  bool Accept(const Bar& bar, const Candidate& c, int& coordinate) const;

  LayoutManager& manager_;
  std::vector<std::unique_ptr<Bar>> bars_;
  kivcore::Point last_{};  // where the last move left the bars
  int tabMinWidth_, tabMinHeight_;
};

}  // namespace kivworkspace::workspace
