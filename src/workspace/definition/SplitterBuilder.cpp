#include "workspace/definition/SplitterBuilder.h"

#include "layout/Splitter.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/definition/internal/TreeAssembly.h"

namespace kivworkspace::workspace {

void SplitterBuilder::AddElement(std::unique_ptr<BuilderBase> element, bool first) {
  (first ? first_ : second_) = std::move(element);
}

void SplitterBuilder::SetSplitVal(float value) {
  splitVal_ = value;
  splitValSet_ = true;
}

void SplitterBuilder::Build(Workspace& workspace, TopLevelWindow& window, BuildContext& context) {
  Splitter* splitter = window.GetLayoutManager().NewSplitter(vertical_);
  AttachChild(*context.parent, context.leftOrTop, splitter);
  for (const bool first : {true, false}) {
    const std::unique_ptr<BuilderBase>& child = first ? first_ : second_;
    if (!child) continue;
    BuildContext inner{context.pool, splitter, first, context.frames};
    child->Build(workspace, window, inner);
  }
  if (splitValSet_) splitter->SetPlacement(splitVal_);
}

}  // namespace kivworkspace::workspace
