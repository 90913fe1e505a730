#include "workspace/WindowTree.h"

#include "services/core/PropList.h"
#include "layout/Frame.h"
#include "layout/FrameDataProxy.h"
#include "layout/LayoutManager.h"
#include "layout/Splitter.h"

#include <string>

namespace kivworkspace::workspace {
namespace {

void WriteProxy(const TabDataList& records, kivcore::PropList& parent) {
  kivcore::PropList& proxy = parent.NewSubList("FrameProxy");
  kivcore::PropList::StringList ids;
  for (std::size_t k = 0; k < records.size(); ++k) {
    ids.push_back(records[k].first);
    proxy.SetValue("HidTabState-" + std::to_string(k), records[k].second);
  }
  proxy.SetValue("TabIDs", std::move(ids));
}

void WriteElement(const LayoutManagerElement* e, kivcore::PropList& parent) {
  if (const Splitter* s = e->AsSplitter()) {
    kivcore::PropList& list = parent.NewSubList("Splitter");
    list.SetValue("Orient", s->IsVertical());
    list.SetValue("Place", s->GetPlacement());
    list.SetValue("Sub1Vis", s->IsLeftOrTopSubtreeVisible());
    list.SetValue("Sub2Vis", s->IsRightOrBottomSubtreeVisible());
    if (s->GetLeftOrTop()) WriteElement(s->GetLeftOrTop(), list.NewSubList("Sub1"));
    if (s->GetRightOrBottom()) WriteElement(s->GetRightOrBottom(), list.NewSubList("Sub2"));
    return;
  }
  TabDataList visible, removed, hidden;
  GetLeafTabData(e, visible, removed, hidden);
  TabDataList records = visible;
  records.insert(records.end(), hidden.begin(), hidden.end());
  records.insert(records.end(), removed.begin(), removed.end());
  WriteProxy(records, parent);
}

LayoutManagerElement* ReadElement(LayoutManager& layout, const kivcore::PropList& list) {
  if (const kivcore::PropList* s = list.GetSubList("Splitter")) {
    bool vertical = false, vis1 = true, vis2 = true;
    float place = 0.5f;
    s->GetValue("Orient", vertical);
    s->GetValue("Place", place);
    s->GetValue("Sub1Vis", vis1);
    s->GetValue("Sub2Vis", vis2);
    Splitter* splitter = layout.NewSplitter(vertical);
    splitter->SetPlacement(place);
    if (const kivcore::PropList* sub = s->GetSubList("Sub1")) {
      if (LayoutManagerElement* child = ReadElement(layout, *sub)) {
        splitter->SetLeftOrTop(child);
        child->SetParent(splitter);
      }
    }
    if (const kivcore::PropList* sub = s->GetSubList("Sub2")) {
      if (LayoutManagerElement* child = ReadElement(layout, *sub)) {
        splitter->SetRightOrBottom(child);
        child->SetParent(splitter);
      }
    }
    splitter->SetLeftOrTopVisible(vis1);
    splitter->SetRightOrBottomVisible(vis2);
    return splitter;
  }
  const kivcore::PropList* proxy = list.GetSubList("FrameProxy");
  if (!proxy) proxy = list.GetSubList("Frame");
  if (!proxy) return nullptr;
  kivcore::PropList::StringList ids;
  proxy->GetValue("TabIDs", ids);
  TabDataList records;
  for (std::size_t k = 0; k < ids.size(); ++k) {
    std::string state;
    proxy->GetValue("HidTabState-" + std::to_string(k), state);
    records.emplace_back(ids[k], state);
  }
  // Adopted by the manager's placeholder list when the tree is installed.
  return new FrameDataProxy(&layout, std::move(records));
}

}  // namespace

void GetLeafTabData(const LayoutManagerElement* leaf, TabDataList& visible, TabDataList& removed,
                    TabDataList& hidden) {
  if (const Frame* f = leaf->AsFrame()) f->GetTabData(visible, removed, hidden);
  if (const FrameDataProxy* p = leaf->AsPlaceholder()) {
    if (p->HasFrame() && p->GetFrame()) p->GetFrame()->GetTabData(visible, removed, hidden);
    removed.insert(removed.end(), p->GetTabData().begin(), p->GetTabData().end());
  }
}

void WriteReanimationTree(const LayoutManager& layout, kivcore::PropList& windowList) {
  if (const LayoutManagerElement* root = layout.GetRoot()) WriteElement(root, windowList);
}

bool ReadReanimationTree(LayoutManager& layout, const kivcore::PropList& windowList) {
  LayoutManagerElement* root = ReadElement(layout, windowList);
  if (!root) return false;
  auto holder = std::make_unique<Splitter>(&layout, false);
  holder->SetLeftOrTop(root);
  root->SetParent(holder.get());
  return layout.SwapRoot(std::move(holder));
}

}  // namespace kivworkspace::workspace
