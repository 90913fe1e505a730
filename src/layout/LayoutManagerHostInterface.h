#pragma once

namespace kivworkspace::workspace {

// What the layout engine asks of the window that owns a layout manager.
class LayoutManagerHostInterface {
 public:
  virtual ~LayoutManagerHostInterface() = default;
  virtual void SuspendRedraws(bool suspend) = 0;
  virtual void UpdateNow() = 0;
  virtual bool GetSplitterSnappingEnabled() = 0;
  // Every layout step is skipped while this is false.
  virtual bool GetLayoutEnabled() = 0;
  virtual int GetTabMinHeight() = 0;
  virtual int GetTabMinWidth() = 0;
};

}  // namespace kivworkspace::workspace
