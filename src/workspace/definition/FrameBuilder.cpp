#include "workspace/definition/FrameBuilder.h"

#include "layout/Splitter.h"
#include "workspace/core/PanelPool.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/definition/internal/TreeAssembly.h"
#include "workspace/core/Workspace.h"

#include <algorithm>

namespace kivworkspace::workspace {

void FrameBuilder::AddTab(const std::string& type, bool closed) {
  (closed ? closed_ : visible_).push_back(type);
}

void FrameBuilder::Build(Workspace& workspace, TopLevelWindow& window, BuildContext& context) {
  const PanelSource source = [&](const std::string& type) {
    return context.pool.TakeOrMake(workspace, type);
  };
  WorkspaceFramePtr frame;
  for (const std::string& type : visible_) {
    TabPanelPtr panel = source(type);
    if (!panel) continue;  // nothing makes the type
    if (!frame) {
      frame = stacked_ && Workspace::GetStackedTabPanelsEnabled()
                  ? window.CreateStackedWorkspaceFrame(WorkspaceFrame::kStacked)
                  : window.CreateWorkspaceFrame();
      AttachChild(*context.parent, context.leftOrTop, frame->GetLMFrame());
      context.frames.push_back(frame);
    }
    frame->AddTab(panel, true);
  }
  TabDataList closed;
  for (const std::string& type : closed_) closed.emplace_back(type, std::string());
  if (!frame) {
    if (!closed.empty()) PlaceClosedPanels(window, closed, *context.parent, context.leftOrTop, source);
    return;
  }
  for (const auto& [type, state] : KeepHiddenPanels(workspace, closed, *frame, source))
    frame->AddRemovedTabData(type, state);
  frame->BringTabToFront(std::min(front_, frame->GetTabCount() - 1));
}

}  // namespace kivworkspace::workspace
