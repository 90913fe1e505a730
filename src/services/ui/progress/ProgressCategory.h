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

  // Emitted after an item was added or removed, on the thread that did it.
  boost::signals2::signal<void()>& ItemsChanged() { return itemsChanged_; }

 private:
  kivcore::UTF16String title_;
  bool showCount_ = false;
  mutable std::mutex mutex_;
  std::vector<boost::intrusive_ptr<ProgressItem>> items_;
  boost::signals2::signal<void()> itemsChanged_;
};

// The process's progress categories, by title.
class ProgressCategoryContainer {
 public:
  static ProgressCategoryContainer& Get();
  std::shared_ptr<ProgressCategory> GetOrCreateCategory(const kivcore::UTF16String& title);
  std::vector<std::shared_ptr<ProgressCategory>> GetCategories() const;
  // Removes the items that completed or ended (failed or cancelled) from every category.
  void RemoveDoneJobs();

  // Emitted after a category was added, or an item added to or removed from one of them,
  // on the thread that did it: a view of the container lists jobs that start after it.
  boost::signals2::signal<void()>& Changed() { return changed_; }

 private:
  mutable std::mutex mutex_;
  std::vector<std::shared_ptr<ProgressCategory>> categories_;
  boost::signals2::signal<void()> changed_;
  // Each category's ItemsChanged, passed on as Changed while the container exists.
  std::vector<boost::signals2::scoped_connection> forwards_;
};

}  // namespace kivui::utility
