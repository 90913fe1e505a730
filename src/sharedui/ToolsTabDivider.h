#pragma once

#include "services/ui/node/UI_Node.h"

namespace kivworkspace::sharedui {

// A thin line between groups of a tools tab's items or controls, across its narrow side.
class ToolsTabDivider : public kivui::UI_Node {
 public:
  explicit ToolsTabDivider(std::string nodeId) : UI_Node(std::move(nodeId)) {}
  void UI_Draw(kivui::Drawbot& drawbot, const kivcore::RectF& dirty) override;
};

}  // namespace kivworkspace::sharedui
