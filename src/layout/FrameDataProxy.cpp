#include "layout/FrameDataProxy.h"

#include <algorithm>

namespace kivworkspace::workspace {

bool FrameDataProxy::HoldsTabType(std::string_view type) const {
  return std::any_of(tabData_.begin(), tabData_.end(),
                     [type](const auto& tab) { return tab.first == type; });
}

}  // namespace kivworkspace::workspace
