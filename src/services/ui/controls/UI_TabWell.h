#pragma once

#include "services/ui/controls/UI_TabItem.h"
#include "services/ui/node/UI_Node.h"

#include <functional>
#include <vector>

namespace kivui {

// A row of tabs drawn by the library: one front-most tab, close boxes, lock and multi-tab
// marks, reordering by dragging, and an overflow button listing the tabs that do not fit.
class UI_TabWell : public UI_Node {
 public:
  struct Options {
    bool closeBoxes = true;
    bool draggableTabs = true;   // tabs can be reordered by dragging; else drags leave at once
    bool croppedTabs = false;    // tabs shrink down to minTabWidth before overflowing
    float leftMargin = 4;
    float rightMargin = 4;
    float minTabWidth = 56;
    float maxTabWidth = 220;
  };
  struct Callbacks {
    std::function<void(int id)> tabClicked;         // a press brought the tab to the front
    std::function<void(int id)> tabDoubleClicked;
    std::function<void(int id)> closeBoxClicked;
    std::function<void(int id, int from, int to)> tabMoved;
    // The overflow button was pressed; the default lists the hidden tabs in a menu and
    // clicks the chosen one.
    std::function<void(kivcore::PointF global)> overflowClicked;
    std::function<void(int id, kivcore::PointF global)> tabContextMenu;
    // A tab is dragged out of the well (beyond the drag-out distance above or below it),
    // from the global press point to the pointer's. The well stops tracking.
    std::function<void(int id, kivcore::PointF pressGlobal, kivcore::PointF global)> tabDraggedOut;
    // The well's empty area is dragged beyond the drag threshold. When set, a press there
    // is tracked; the well stops tracking once this is called.
    std::function<void(kivcore::PointF pressGlobal, kivcore::PointF global)> wellDragged;
  };

  static constexpr float kTabHeight = 26;
  static constexpr float kCloseBoxSize = 14;
  static constexpr float kOverflowButtonWidth = 22;
  static constexpr float kDragThreshold = 4;
  static constexpr float kDragOutDistance = 20;
  static constexpr float kTabGap = 1;  // between tabs

  UI_TabWell();
  explicit UI_TabWell(Options options);
  ~UI_TabWell() override;

  Callbacks& GetCallbacks() { return callbacks_; }
  const Options& GetOptions() const { return options_; }
  void SetDraggableTabs(bool draggable) { options_.draggableTabs = draggable; }

  // Adds a tab at index (-1: at the end). The first tab becomes the front tab.
  void AddTab(UI_TabItem item, int index = -1);
  bool RemoveTab(int id);
  void RemoveAllTabs();
  // Replaces the tab with item's id (text, marks...); false when there is none.
  bool UpdateTab(const UI_TabItem& item);
  bool MoveTab(int id, int toIndex);

  int GetTabCount() const { return int(tabs_.size()); }
  const UI_TabItem& GetTab(int index) const { return tabs_.at(std::size_t(index)); }
  const UI_TabItem* FindTab(int id) const;
  int IndexOfTab(int id) const;

  void SetFrontTab(int id);
  int GetFrontTab() const { return front_; }  // -1 when empty
  // The frame holding the well has the focus: its front tab is drawn highlighted.
  void SetActive(bool active);
  bool IsActive() const { return active_; }

  void SetMargins(float left, float right);
  // Horizontal panning of tabs that do not fit (0 shows the first tab).
  void SetPanOffset(float offset);
  float GetPanOffset() const { return pan_; }
  virtual bool IsPanDisabled() const { return false; }
  // Pans so that the front tab is wholly visible.
  virtual void ScrollFrontmostToView();

  // --- Geometry in local coordinates, after the current pan.
  kivcore::RectF GetTabRect(int index) const;
  kivcore::RectF GetCloseBoxRect(int index) const;
  kivcore::RectF GetOverflowButtonRect() const;  // empty when every tab fits
  bool HasOverflow() const;
  // Tabs not wholly visible, in order.
  std::vector<int> GetOverflowTabs() const;
  // Index of the tab under the point, or -1.
  int HitTestTab(kivcore::PointF local) const;
  // Width the tabs need with nothing cropped, margins included.
  float GetPreferredWidth() const;

  void UI_Draw(Drawbot& drawbot, const kivcore::RectF& dirty) override;
  bool UI_DoMouseEvent(UI_Node* target, const MouseEvent& event) override;
  void UI_SizeChanged(const kivcore::RectF& newBounds) override;
  void UI_CaptureLost() override;

 protected:
  virtual float MeasureTabWidth(const UI_TabItem& item) const;
  virtual void DrawTab(Drawbot& drawbot, const UI_TabItem& item, const kivcore::RectF& r,
                       bool front, bool hovered, bool closeHovered) const;
  void ShowOverflowMenu(kivcore::PointF global);
  // The tabs' widths before cropping (MeasureTabWidth within the minimum and maximum).
  // Measured again only after the tabs or the UI font changed: shaping the titles is by far
  // the dearest part of a relayout, which every resize of a frame does.
  const std::vector<float>& NaturalWidths() const;

 private:
  struct Press;
  void Relayout();
  void TabsChanged() {
    measured_ = false;
    Relayout();
  }
  float AvailableRight(bool withOverflow) const;
  void OnPress(const MouseEvent& event);
  void BeginPress(int id, const MouseEvent& event);
  // The pointer has moved far enough from the press (or already had) to drag.
  bool PastDragThreshold(kivcore::PointF local) const;
  void OnDrag(const MouseEvent& event);
  void OnRelease(const MouseEvent& event);
  void EndTracking();

  Options options_;
  Callbacks callbacks_;
  std::vector<UI_TabItem> tabs_;
  std::vector<float> widths_;  // per tab, after cropping
  mutable std::vector<float> natural_;   // per tab, before cropping
  mutable std::string measuredFamily_;  // the UI font family natural_ was measured in
  mutable bool measured_ = false;
  std::string laidOutFamily_;  // the family widths_ were laid out in
  int front_ = -1;
  bool active_ = false;
  float pan_ = 0;
  int hover_ = -1;
  bool hoverClose_ = false;
  std::unique_ptr<Press> press_;
};

}  // namespace kivui
