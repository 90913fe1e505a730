#include "workspace/definition/WorkspaceBuilder.h"

#include "layout/Splitter.h"
#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/window/OS_MonitorInfo.h"
#include "workspace/core/PanelPool.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/windows/internal/WindowRecycler.h"
#include "workspace/core/Workspace.h"

namespace kivworkspace::workspace {

void WorkspaceBuilder::AddWindow(std::unique_ptr<BuilderBase> root, const kivcore::Rect& rect,
                                 std::string topElementType) {
  windows_.push_back({std::move(root), rect, {}});
  if (!topElementType.empty()) AddStaticElement(LayoutManager::kTop, std::move(topElementType));
}

void WorkspaceBuilder::AddStaticElement(int side, std::string type) {
  if (!windows_.empty()) windows_.back().staticElements.emplace_back(side, std::move(type));
}

void WorkspaceBuilder::BuildWorkspace() {
  kivui::UI_NodeManager::FocusChangeGroup focusGroup;
  PanelPool pool = workspace_.GatherPanels();
  WindowRecycler windows(workspace_);
  for (const WindowEntry& entry : windows_) {
    TopLevelWindow& window = windows.Next();
    LayoutManager& layout = window.GetLayoutManager();
    window.DestroyHiddenFrames();
    const kivcore::Rect rect = kivui::OS_MonitorInfo::EnsureRectIsVisible(entry.rect);
    window.UI_Show(true);
    window.SetGlobalStructureRect(rect);

    auto holder = std::make_unique<Splitter>(&layout, false);
    std::vector<WorkspaceFramePtr> frames;
    BuildContext context{pool, holder.get(), true, frames};
    if (entry.root) entry.root->Build(workspace_, window, context);
    window.ResetRootFrame(std::move(holder), frames);
    for (const auto& [side, type] : entry.staticElements)
      window.SetStaticElement(type, LayoutManager::InsertionType(side), true);
    // The split values place the bars: no pixel position of an earlier tree is kept.
    layout.Layout(window.GetClientRect(), false, true, false);
    if (!window.IsMain() && window.GetFrameCount() == 0) windows.GiveBack(window);
  }
  windows.RemoveUnused();
  workspace_.ReleasePanels(pool);
}

}  // namespace kivworkspace::workspace
