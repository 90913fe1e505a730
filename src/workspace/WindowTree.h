#pragma once

#include "layout/FrameHostInterface.h"

namespace kivcore {
class PropList;
}

namespace kivworkspace::workspace {

class LayoutManager;
class LayoutManagerElement;

// The tabs a leaf of the tree stands for: a frame's panels, removed-panel records and hidden
// panels, or a placeholder's (and its kept frame's). Nothing for a splitter.
void GetLeafTabData(const LayoutManagerElement* leaf, TabDataList& visible, TabDataList& removed,
                    TabDataList& hidden);

// Writes the layout tree under the window list in its reanimation form: "Splitter" lists
// with "Orient", "Place", "Sub1Vis", "Sub2Vis", "Sub1" and "Sub2", and at the leaves
// "FrameProxy" lists ("TabIDs" and "HidTabState-" k) whose records are all the leaf's
// panels: visible, then hidden, then removed.
void WriteReanimationTree(const LayoutManager& layout, kivcore::PropList& windowList);

// Rebuilds a tree written in the reanimation form into the manager: its leaves become
// placeholders that remember their panels. False when the list holds no tree.
bool ReadReanimationTree(LayoutManager& layout, const kivcore::PropList& windowList);

}  // namespace kivworkspace::workspace
