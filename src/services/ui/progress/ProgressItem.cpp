#include "services/ui/progress/ProgressItem.h"

namespace kivui::utility {

ProgressItem::ProgressItem(kivcore::UTF16String name) : name_(std::move(name)) {}

kivcore::UTF16String ProgressItem::GetName() const {
  std::lock_guard lock(mutex_);
  return name_;
}

ProgressItem::ProgressState ProgressItem::GetState() const {
  std::lock_guard lock(mutex_);
  return state_;
}

void ProgressItem::SetState(ProgressState state) {
  {
    std::lock_guard lock(mutex_);
    state_ = state;
  }
  Notify();
}

void ProgressItem::SetProgress(float value, float maximum, kivcore::UTF16String tooltip) {
  {
    std::lock_guard lock(mutex_);
    value_ = value;
    maximum_ = maximum;
    tooltip_ = std::move(tooltip);
  }
  Notify();
}

float ProgressItem::GetProgress() const {
  std::lock_guard lock(mutex_);
  return maximum_ == 0 ? 0.0f : value_ / maximum_;
}

kivcore::UTF16String ProgressItem::GetTooltip() const {
  std::lock_guard lock(mutex_);
  return tooltip_;
}

kivcore::UTF16String ProgressItem::GetStatusMessage() const {
  std::lock_guard lock(mutex_);
  return status_;
}

void ProgressItem::SetStatusMessage(kivcore::UTF16String message) {
  {
    std::lock_guard lock(mutex_);
    status_ = std::move(message);
  }
  Notify();
}

bool ProgressItem::IsInProgress() const {
  std::lock_guard lock(mutex_);
  return state_ != kCompleted && state_ != kEnded && value_ < maximum_;
}

void ProgressItem::AddCancelHandler(CancelHandler handler) {
  std::lock_guard lock(mutex_);
  cancelHandlers_.push_back(std::move(handler));
}

void ProgressItem::AddPauseResumeHandler(PauseResumeHandler handler) {
  std::lock_guard lock(mutex_);
  pauseResumeHandlers_.push_back(std::move(handler));
}

bool ProgressItem::RequestCancel() {
  std::vector<CancelHandler> handlers;
  {
    std::lock_guard lock(mutex_);
    handlers = cancelHandlers_;
  }
  bool handled = false;
  const boost::intrusive_ptr<ProgressItem> self(this);
  for (const auto& h : handlers) handled = h(self) || handled;
  return handled;
}

void ProgressItem::RequestPauseResume() {
  std::vector<PauseResumeHandler> handlers;
  ProgressState state;
  {
    std::lock_guard lock(mutex_);
    handlers = pauseResumeHandlers_;
    state = state_;
  }
  const boost::intrusive_ptr<ProgressItem> self(this);
  for (const auto& h : handlers) h(self, state);
}

}  // namespace kivui::utility
