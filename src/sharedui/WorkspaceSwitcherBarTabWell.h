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
  // Whether the front tab is drawn as the current workspace's. Off while the current
  // workspace has no tab (it is not shown, or there is none): the well always has a front
  // tab, which then is only the one a click last went to.
  void SetFrontTabShown(bool shown);

  bool IsPanDisabled() const override { return true; }
  void ScrollFrontmostToView() override { SetPanOffset(0); }

 protected:
  void DrawTab(kivui::Drawbot& drawbot, const kivui::UI_TabItem& item, const kivcore::RectF& r,
               bool front, bool hovered, bool closeHovered) const override;

 private:
  int barTabs_ = 0;
  bool frontShown_ = true;
};

}  // namespace kivworkspace::sharedui
