#pragma once

#include "services/core/PointT.h"
#include "services/core/RectT.h"
#include "services/core/Strings.h"
#include "layout/FrameZones.h"

#include <utility>
#include <vector>

namespace kivworkspace::workspace {

// One (tab type, saved state as an XML fragment) pair per tab.
using TabDataList = std::vector<std::pair<kivcore::UTF8String, kivcore::UTF8String>>;

// What the layout engine asks of the UI object that draws a frame.
class FrameHostInterface {
 public:
  virtual ~FrameHostInterface() = default;
  // Place the frame's window at zone 5 and lay out its edges and content from the others.
  virtual void SetSizeAndPos(const FrameZones& zones) = 0;
  virtual void ShowFrame(bool show) = 0;
  virtual bool IsFrameShown() const = 0;
  virtual kivcore::Point GetMinimumSize() const = 0;
  // Preferred whole-frame sizes; a component of 0 means no preference on that axis.
  virtual void GetSnapSizes(std::vector<kivcore::Point>& sizes) const = 0;
  virtual kivcore::Rect FrameRectToTabPanelRect(const kivcore::Rect& frameRect) const = 0;
  virtual kivcore::Rect FrameRectToTabWellRect(const kivcore::Rect& frameRect) const = 0;
  virtual kivcore::Rect GetTabPanelFrameGlobalRect() const = 0;
  // The frame's current rectangle in window coordinates.
  virtual kivcore::Rect GetFrameLocalRect() const = 0;
  virtual kivcore::Rect GetTabWellGlobalRect() const = 0;
  // The host object itself, for callers that know its type.
  virtual void* GetHostData() = 0;
  // What the frame holds: its panels in tab order, its removed-panel records and its
  // hidden panels.
  virtual void DoGetTabData(TabDataList& visible, TabDataList& removed,
                            TabDataList& hidden) const = 0;
};

}  // namespace kivworkspace::workspace
