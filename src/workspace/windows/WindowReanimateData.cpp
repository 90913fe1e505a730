#include "workspace/windows/WindowReanimateData.h"

#include "layout/FrameDataProxy.h"
#include "layout/Splitter.h"
#include "services/core/PropList.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/definition/WorkspaceDefinition.h"

#include <algorithm>

namespace kivworkspace::workspace {
namespace {

// The leaves of the tree, left or top first: the order the definition writes them in.
void CollectLeaves(const LayoutManagerElement* e, std::vector<const LayoutManagerElement*>& out) {
  if (!e) return;
  if (const Splitter* s = e->AsSplitter()) {
    CollectLeaves(s->GetLeftOrTop(), out);
    CollectLeaves(s->GetRightOrBottom(), out);
    return;
  }
  out.push_back(e);
}

// The tabbed frame behind a leaf: a frame of the window, or the hidden frame a placeholder
// keeps.
WorkspaceFrame* FrameOfLeaf(const TopLevelWindow& window, const LayoutManagerElement* leaf) {
  if (const Frame* f = leaf->AsFrame())
    return dynamic_cast<WorkspaceFrame*>(window.GetFrameFromLMFrame(f));
  const FrameDataProxy* p = leaf->AsPlaceholder();
  if (!p || !p->HasFrame()) return nullptr;
  for (const WorkspaceFramePtr& hidden : window.GetHiddenFrames()) {
    if (hidden->GetLMFrame() == p->GetFrame()) return hidden.get();
  }
  return nullptr;
}

}  // namespace

bool WindowReanimateData::HasPanel(const TabPanel* panel) const {
  return std::any_of(panels.begin(), panels.end(),
                     [panel](const TabPanelPtr& p) { return p.get() == panel; });
}

std::shared_ptr<WindowReanimateData> WindowReanimateData::FromWindow(TopLevelWindow& window) {
  auto data = std::make_shared<WindowReanimateData>();
  std::vector<const LayoutManagerElement*> leaves;
  CollectLeaves(window.GetLayoutManager().GetRoot(), leaves);
  for (const LayoutManagerElement* leaf : leaves) {
    TabDataList visible, removed, hidden;
    GetLeafTabData(leaf, visible, removed, hidden);
    for (const auto* list : {&visible, &removed, &hidden}) {
      for (const auto& tab : *list) data->tabTypes.insert(tab.first);
    }
  }
  kivcore::PropList definition;
  WriteWindow(window, definition, WindowForm::kReanimation);
  data->windowDefinition = definition.OutputAsXMLFragment();

  // The panels that come back as the same objects, taken out of their frames in the order
  // the record lists their states: per leaf, the open ones in tab order, then the hidden.
  for (const LayoutManagerElement* leaf : leaves) {
    WorkspaceFrame* frame = FrameOfLeaf(window, leaf);
    if (!frame) continue;
    std::vector<TabPanelPtr> open;
    for (unsigned i = 0; i < frame->GetTabCount(); ++i) {
      if (frame->GetTabPanel(i)->HideWhenClosed()) open.push_back(frame->GetTabPanel(i));
    }
    for (const TabPanelPtr& panel : open) data->panels.push_back(frame->DetachTabPanel(unsigned(frame->IndexOf(panel.get()))));
    for (auto& panel : frame->TakeHiddenTabs()) data->panels.push_back(std::move(panel));
  }
  for (const auto& panel : data->panels) {
    panel->SetFrame(nullptr);
    if (kivui::UI_Container* parent = panel->GetParent()) parent->Remove(panel.get());
  }
  return data;
}

}  // namespace kivworkspace::workspace
