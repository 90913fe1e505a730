#include "workspace/WindowReanimateData.h"

#include "services/core/PropList.h"
#include "services/core/PropListUtils.h"
#include "layout/FrameDataProxy.h"
#include "layout/Splitter.h"
#include "workspace/TopLevelWindow.h"
#include "workspace/WindowTree.h"

#include <algorithm>

namespace kivworkspace::workspace {
namespace {

// Every tab an element of the tree stands for: a frame's panels, hidden panels and
// removed-panel records, and a placeholder's remembered tabs (and its kept frame's).
void CollectTabData(const LayoutManagerElement* e, TabDataList& out) {
  if (!e) return;
  if (const Splitter* s = e->AsSplitter()) {
    CollectTabData(s->GetLeftOrTop(), out);
    CollectTabData(s->GetRightOrBottom(), out);
    return;
  }
  TabDataList visible, removed, hidden;
  GetLeafTabData(e, visible, removed, hidden);
  for (auto* list : {&visible, &removed, &hidden})
    out.insert(out.end(), list->begin(), list->end());
}

}  // namespace

bool WindowReanimateData::HasPanel(const TabPanel* panel) const {
  return std::any_of(panels.begin(), panels.end(),
                     [panel](const TabPanelPtr& p) { return p.get() == panel; });
}

std::shared_ptr<WindowReanimateData> WindowReanimateData::FromWindow(TopLevelWindow& window) {
  auto data = std::make_shared<WindowReanimateData>();
  LayoutManager& layout = window.GetLayoutManager();
  TabDataList all;
  CollectTabData(layout.GetRoot(), all);
  for (const auto& [type, state] : all) data->tabTypes.insert(type);

  kivcore::PropList definition;
  WriteReanimationTree(layout, definition);
  const kivcore::Rect r = window.GetGlobalStructureRect();
  definition.SetValue("SzPos", kivcore::PropList::IntList{r.left, r.top, r.width, r.height});
  data->windowDefinition = definition.OutputAsXMLFragment();

  // The panels that come back as the same objects, taken out of their frames.
  std::vector<WorkspaceFrame*> frames = window.GetTabbedFrames();
  for (const auto& hidden : window.GetHiddenFrames()) frames.push_back(hidden.get());
  for (WorkspaceFrame* frame : frames) {
    for (int i = int(frame->GetTabCount()) - 1; i >= 0; --i) {
      if (frame->GetTabPanel(unsigned(i))->HideWhenClosed())
        data->panels.push_back(frame->DetachTabPanel(unsigned(i)));
    }
  }
  for (WorkspaceFrame* frame : frames) {
    for (auto& panel : frame->TakeHiddenTabs()) data->panels.push_back(std::move(panel));
  }
  for (const auto& panel : data->panels) {
    panel->SetFrame(nullptr);
    if (kivui::UI_Container* parent = panel->GetParent()) parent->Remove(panel.get());
  }
  return data;
}

}  // namespace kivworkspace::workspace
