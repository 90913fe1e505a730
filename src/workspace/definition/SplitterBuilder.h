#pragma once

#include "workspace/definition/BuilderBase.h"

#include <memory>

namespace kivworkspace::workspace {

// A splitter of a built-in arrangement with its two children (either may be missing).
// Vertical splitters put their children side by side.
class SplitterBuilder : public BuilderBase {
 public:
  explicit SplitterBuilder(bool vertical) : vertical_(vertical) {}
  SplitterBuilder(bool vertical, std::unique_ptr<BuilderBase> first,
                  std::unique_ptr<BuilderBase> second)
      : vertical_(vertical), first_(std::move(first)), second_(std::move(second)) {}

  // The element becomes the first (left or top) child, or the second, replacing any.
  void AddElement(std::unique_ptr<BuilderBase> element, bool first);
  // The bar's place as a fraction; without it the splitter keeps the layout's default.
  void SetSplitVal(float value);

  void Build(Workspace& workspace, TopLevelWindow& window, BuildContext& context) override;

 private:
  bool vertical_;
  std::unique_ptr<BuilderBase> first_, second_;
  bool splitValSet_ = false;
  float splitVal_ = 0.5f;
};

}  // namespace kivworkspace::workspace
