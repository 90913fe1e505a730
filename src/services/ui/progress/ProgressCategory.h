#pragma once

#include "services/ui/progress/ProgressItem.h"

#include <memory>
#include <mutex>
#include <vector>

namespace kivui::utility {

// A titled group of progress items (all downloads, for instance).
class ProgressCategory {
 public:
  explicit ProgressCategory(kivcore::UTF16String title) : title_(std::move(title)) {}

  const kivcore::UTF16String& GetTitle() const { return title_; }
  // Whether the view shows how many items are in progress.
  void SetShowCountInProgress(bool show) { showCount_ = show; }
  bool GetShowCountInProgress() const { return showCount_; }

  boost::intrusive_ptr<ProgressItem> CreateItem(kivcore::UTF16String name);
  void RemoveItem(const boost::intrusive_ptr<ProgressItem>& item);
  std::vector<boost::intrusive_ptr<ProgressItem>> GetItems() const;
  std::size_t CountInProgress() const;

 private:
  kivcore::UTF16String title_;
  bool showCount_ = false;
  mutable std::mutex mutex_;
  std::vector<boost::intrusive_ptr<ProgressItem>> items_;
};

// The process's progress categories, by title.
class ProgressCategoryContainer {
 public:
  static ProgressCategoryContainer& Get();
  std::shared_ptr<ProgressCategory> GetOrCreateCategory(const kivcore::UTF16String& title);
  std::vector<std::shared_ptr<ProgressCategory>> GetCategories() const;
  // Removes the items that completed or ended (failed or cancelled) from every category.
  void RemoveDoneJobs();

 private:
  mutable std::mutex mutex_;
  std::vector<std::shared_ptr<ProgressCategory>> categories_;
};

}  // namespace kivui::utility
