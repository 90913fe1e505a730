#pragma once

#include "workspace/frames/WorkspaceFrame.h"

#include <vector>

namespace kivworkspace::workspace {

class PanelPool;
class Splitter;
class TopLevelWindow;
class Workspace;

// Where an element of a built-in arrangement goes: the panels to reuse, the splitter side
// it takes, and the frames made so far (which the window adopts once the tree is built).
struct BuildContext {
  PanelPool& pool;
  Splitter* parent;
  bool leftOrTop;
  std::vector<WorkspaceFramePtr>& frames;
};

// An element of a window described in code: a splitter or a frame.
class BuilderBase {
 public:
  virtual ~BuilderBase() = default;
  // Adds the element to the window's new tree on the context's side.
  virtual void Build(Workspace& workspace, TopLevelWindow& window, BuildContext& context) = 0;
};

}  // namespace kivworkspace::workspace
