#pragma once

#include "services/ui/node/UI_Node.h"
#include "services/ui/progress/ProgressCategory.h"

#include <boost/signals2/connection.hpp>

#include <memory>
#include <vector>

namespace kivui::utility {

// Shows every category of a container with its items: name, bar, status, and pause/resume
// and cancel buttons that send the user's requests to the item. Categories and items added
// or removed later, and changes of the items, are shown on the UI thread whichever thread
// reported them.
class ProgressCategoryContainerView : public UI_Node {
 public:
  static constexpr float kCategoryHeight = 24;
  static constexpr float kItemHeight = 44;

  explicit ProgressCategoryContainerView(ProgressCategoryContainer& container);
  ~ProgressCategoryContainerView() override;

  // Re-reads the categories and items at once (the view does so by itself, on the UI
  // thread, after the container reports a change).
  void Refresh();

  // Where the buttons of the n-th shown item are, in local coordinates.
  kivcore::RectF GetPauseButtonRect(int row) const;
  kivcore::RectF GetCancelButtonRect(int row) const;
  int GetShownItemCount() const { return int(rows_.size()); }
  // The n-th shown item, or null past the last.
  boost::intrusive_ptr<ProgressItem> GetShownItem(int row) const {
    return row >= 0 && row < GetShownItemCount() ? rows_[std::size_t(row)].item : nullptr;
  }

  void UI_Draw(Drawbot& drawbot, const kivcore::RectF& dirty) override;
  bool UI_DoMouseEvent(UI_Node* target, const MouseEvent& event) override;

 private:
  struct Row {
    std::shared_ptr<ProgressCategory> category;
    boost::intrusive_ptr<ProgressItem> item;  // null for a category header
    float top = 0;
  };
  void WatchItems();

  ProgressCategoryContainer& container_;
  std::vector<Row> rows_;  // items only, with their tops
  std::vector<Row> headers_;
  std::vector<boost::signals2::scoped_connection> connections_;
  boost::signals2::scoped_connection containerConnection_;
  std::shared_ptr<bool> alive_;
};

}  // namespace kivui::utility
