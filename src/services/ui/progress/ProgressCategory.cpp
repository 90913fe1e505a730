#include "services/ui/progress/ProgressCategory.h"

#include <algorithm>

namespace kivui::utility {

boost::intrusive_ptr<ProgressItem> ProgressCategory::CreateItem(kivcore::UTF16String name) {
  boost::intrusive_ptr<ProgressItem> item(new ProgressItem(std::move(name)));
  {
    std::lock_guard lock(mutex_);
    items_.push_back(item);
  }
  itemsChanged_();
  return item;
}

void ProgressCategory::RemoveItem(const boost::intrusive_ptr<ProgressItem>& item) {
  {
    std::lock_guard lock(mutex_);
    const auto end = std::remove(items_.begin(), items_.end(), item);
    if (end == items_.end()) return;
    items_.erase(end, items_.end());
  }
  itemsChanged_();
}

std::vector<boost::intrusive_ptr<ProgressItem>> ProgressCategory::GetItems() const {
  std::lock_guard lock(mutex_);
  return items_;
}

std::size_t ProgressCategory::CountInProgress() const {
  std::lock_guard lock(mutex_);
  return static_cast<std::size_t>(
      std::count_if(items_.begin(), items_.end(), [](const auto& i) { return i->IsInProgress(); }));
}

ProgressCategoryContainer& ProgressCategoryContainer::Get() {
  static ProgressCategoryContainer instance;
  return instance;
}

std::shared_ptr<ProgressCategory> ProgressCategoryContainer::GetOrCreateCategory(
    const kivcore::UTF16String& title) {
  std::shared_ptr<ProgressCategory> created;
  {
    std::lock_guard lock(mutex_);
    for (const auto& c : categories_) {
      if (c->GetTitle() == title) return c;
    }
    created = std::make_shared<ProgressCategory>(title);
    forwards_.emplace_back(created->ItemsChanged().connect([this] { changed_(); }));
    categories_.push_back(created);
  }
  changed_();
  return created;
}

std::vector<std::shared_ptr<ProgressCategory>> ProgressCategoryContainer::GetCategories() const {
  std::lock_guard lock(mutex_);
  return categories_;
}

}  // namespace kivui::utility

namespace kivui::utility {

void ProgressCategoryContainer::RemoveDoneJobs() {
  for (const auto& category : GetCategories()) {
    for (const auto& item : category->GetItems()) {
      const ProgressItem::ProgressState state = item->GetState();
      if (state == ProgressItem::kCompleted || state == ProgressItem::kEnded) category->RemoveItem(item);
    }
  }
}

}  // namespace kivui::utility
