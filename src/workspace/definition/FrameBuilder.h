#pragma once

#include "workspace/definition/BuilderBase.h"

#include <list>
#include <string>
#include <vector>

namespace kivworkspace::workspace {

// A tabbed frame of a built-in arrangement: its open panel types in tab order, the types
// of its closed panels (which come back through the Window menu), and its front tab.
class FrameBuilder : public BuilderBase {
 public:
  explicit FrameBuilder(const std::string& type) : visible_{type} {}
  explicit FrameBuilder(const std::list<std::string>& types)
      : visible_(types.begin(), types.end()) {}

  // An open panel (closed false) or a closed one.
  void AddTab(const std::string& type, bool closed);
  // Beyond the last tab, the last one is in front.
  void SetFrontTabIdx(const unsigned& index) { front_ = index; }
  // The panels one under another, while stacked panels are enabled.
  void SetStacked(bool stacked) { stacked_ = stacked; }

  void Build(Workspace& workspace, TopLevelWindow& window, BuildContext& context) override;

 private:
  std::vector<std::string> visible_, closed_;
  unsigned front_ = 0;
  bool stacked_ = false;
};

}  // namespace kivworkspace::workspace
