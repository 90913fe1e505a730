#include "layout/FrameDataProxy.h"

#include "layout/Frame.h"
#include "layout/Splitter.h"

#include <algorithm>

namespace kivworkspace::workspace {

bool FrameDataProxy::HoldsTabType(std::string_view type) const {
  return std::any_of(tabData_.begin(), tabData_.end(),
                     [type](const auto& tab) { return tab.first == type; });
}

void GetLeafTabData(const LayoutManagerElement* leaf, TabDataList& visible, TabDataList& removed,
                    TabDataList& hidden) {
  if (const Frame* f = leaf->AsFrame()) f->GetTabData(visible, removed, hidden);
  if (const FrameDataProxy* p = leaf->AsPlaceholder()) {
    // A kept frame's placeholder repeats the frame's removed-panel records.
    if (p->HasFrame() && p->GetFrame()) {
      p->GetFrame()->GetTabData(visible, removed, hidden);
    } else {
      removed.insert(removed.end(), p->GetTabData().begin(), p->GetTabData().end());
    }
  }
}

}  // namespace kivworkspace::workspace
