#include "sharedui/WorkspaceSwitcherBarTabWell.h"

#include <algorithm>
#include <cmath>

namespace kivworkspace::sharedui {

namespace {
kivui::UI_TabWell::Options SwitcherOptions() {
  kivui::UI_TabWell::Options options;
  options.closeBoxes = false;
  // Tabs keep their names whole: a tab that does not fit goes to the overflow menu rather
  // than shrinking until its name is gone.
  options.croppedTabs = false;
  options.draggableTabs = true;
  options.minTabWidth = 48;
  return options;
}
}  // namespace

WorkspaceSwitcherBarTabWell::WorkspaceSwitcherBarTabWell() : UI_TabWell(SwitcherOptions()) {
  SetNodeID("WorkspaceSwitcherBarTabWell");
}

float WorkspaceSwitcherBarTabWell::WidthOfFirstTabs(int count) const {
  const Options& o = GetOptions();
  float width = o.leftMargin + o.rightMargin;
  const std::vector<float>& natural = NaturalWidths();
  for (int i = 0; i < std::min(count, GetTabCount()); ++i) width += natural[std::size_t(i)] + kTabGap;
  if (count < GetTabCount()) width += kOverflowButtonWidth;
  return std::ceil(width);
}

void WorkspaceSwitcherBarTabWell::SetFrontTabShown(bool shown) {
  if (shown == frontShown_) return;
  frontShown_ = shown;
  UI_Invalidate();
}

void WorkspaceSwitcherBarTabWell::DrawTab(kivui::Drawbot& drawbot, const kivui::UI_TabItem& item,
                                          const kivcore::RectF& r, bool front, bool hovered,
                                          bool closeHovered) const {
  UI_TabWell::DrawTab(drawbot, item, r, front && frontShown_, hovered, closeHovered);
}

float WorkspaceSwitcherBarTabWell::GetMinimumWidth() const {
  const Options& o = GetOptions();
  return o.leftMargin + o.rightMargin + kOverflowButtonWidth + o.minTabWidth + kTabGap;
}

}  // namespace kivworkspace::sharedui
