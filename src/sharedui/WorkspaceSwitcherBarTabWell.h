#pragma once

#include "services/ui/controls/UI_TabWell.h"

namespace kivworkspace::sharedui {

// The switcher's row of workspace tabs: the bar's tabs first, then the overflow list's,
// which do not fit and are offered by the overflow button. It never pans.
class WorkspaceSwitcherBarTabWell : public kivui::UI_TabWell {
 public:
  WorkspaceSwitcherBarTabWell();

  void SetNumberOfBarTabs(int count) { barTabs_ = count; }
  int GetNumberOfBarTabs() const { return barTabs_; }
  // The width of the first `count` tabs with the margins (and the overflow button when
  // tabs are left over).
  float WidthOfFirstTabs(int count) const;
  // The narrowest the well gets: its margins, the overflow button and one tab.
  float GetMinimumWidth() const;

  bool IsPanDisabled() const override { return true; }
  void ScrollFrontmostToView() override { SetPanOffset(0); }

 private:
  int barTabs_ = 0;
};

}  // namespace kivworkspace::sharedui
