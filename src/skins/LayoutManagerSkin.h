#pragma once

#include "services/ui/skin/Skin.h"

namespace kivworkspace::skins {

// The layout manager's metrics: the thickness of a frame edge on the window border and
// half the width of a splitter bar.
class LayoutManagerSkin : public kivui::Skin {
 public:
  LayoutManagerSkin(int borderSize = 1, int splitterHalfWidth = 2)
      : borderSize_(borderSize), splitterHalfWidth_(splitterHalfWidth) {}
  int GetBorderSize() const { return borderSize_; }
  int GetSplitterHalfWidth() const { return splitterHalfWidth_; }

 private:
  int borderSize_;
  int splitterHalfWidth_;
};

// Registers the built-in skin entries into the default skin set (once).
void RegisterBuiltInSkins();

}  // namespace kivworkspace::skins
