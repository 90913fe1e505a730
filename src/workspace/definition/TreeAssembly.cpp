#include "workspace/definition/internal/TreeAssembly.h"

#include "layout/FrameDataProxy.h"
#include "layout/Splitter.h"
#include "services/core/PropList.h"
#include "services/core/PropListUtils.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/core/Workspace.h"

#include <algorithm>

namespace kivworkspace::workspace {

void AttachChild(Splitter& parent, bool leftOrTop, LayoutManagerElement* child) {
  if (leftOrTop) {
    parent.SetLeftOrTop(child);
  } else {
    parent.SetRightOrBottom(child);
  }
  if (child) child->SetParent(&parent);
}

TabDataList KeepHiddenPanels(Workspace& workspace, const TabDataList& records,
                             WorkspaceFrame& frame, const PanelSource& source) {
  TabDataList removed;
  for (const auto& [type, state] : records) {
    if (!workspace.TabTypeHidesWhenClosed(type)) {
      removed.emplace_back(type, state);
      continue;
    }
    TabPanelPtr panel = source(type);
    if (!panel) continue;
    panel->SetFrame(nullptr);
    if (!state.empty()) {
      kivcore::PropList parsed = kivcore::proplist::utils::ReadPropList(state);
      panel->LoadStateData(&parsed);
    }
    frame.CacheTabData(panel, true);
  }
  return removed;
}

void PlaceClosedPanels(TopLevelWindow& window, const TabDataList& records, Splitter& parent,
                       bool leftOrTop, const PanelSource& source) {
  Workspace& workspace = *window.GetWorkspace();
  LayoutManager& layout = window.GetLayoutManager();
  const bool hides = std::any_of(records.begin(), records.end(), [&](const auto& r) {
    return workspace.TabTypeHidesWhenClosed(r.first);
  });
  FrameDataProxy* placeholder = nullptr;
  if (hides) {
    // Panels that hide when closed live on in a hidden frame that the placeholder holds;
    // the placeholder also remembers the other records, as one made by closing a frame.
    WorkspaceFramePtr hidden = window.CreateWorkspaceFrame();
    TabDataList removed = KeepHiddenPanels(workspace, records, *hidden, source);
    hidden->SetRemovedTabData(removed);
    hidden->UI_Show(false);
    window.AddHiddenFrame(hidden);
    placeholder = new FrameDataProxy(&layout, hidden->GetLMFrame(), std::move(removed));
  } else {
    placeholder = new FrameDataProxy(&layout, records);
  }
  // The manager adopts the placeholder when the tree is installed.
  AttachChild(parent, leftOrTop, placeholder);
  if (leftOrTop) {
    parent.SetLeftOrTopVisible(false);
  } else {
    parent.SetRightOrBottomVisible(false);
  }
}

}  // namespace kivworkspace::workspace
