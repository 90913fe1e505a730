#pragma once
// One piece of long-running work shown to the user (a download, a render): its state,
// progress, texts, and the user's cancel and pause/resume requests. Qt-free and
// thread-safe: the work reports from its own threads, the view reads on the UI thread.

#include "services/core/Strings.h"

#include <boost/intrusive_ptr.hpp>
#include <boost/signals2/signal.hpp>
#include <boost/smart_ptr/intrusive_ref_counter.hpp>

#include <functional>
#include <mutex>
#include <vector>

namespace kivui::utility {

class ProgressItem : public boost::intrusive_ref_counter<ProgressItem, boost::thread_safe_counter> {
 public:
  enum ProgressState {
    kRunning = 0,
    kPaused = 1,
    kResumed = 2,  // running again after a pause
    kCompleted = 3,
    kEnded = 4,  // ended by failure or cancellation
  };
  using CancelHandler = std::function<bool(const boost::intrusive_ptr<ProgressItem>&)>;
  using PauseResumeHandler =
      std::function<void(const boost::intrusive_ptr<ProgressItem>&, ProgressState&)>;

  explicit ProgressItem(kivcore::UTF16String name);

  kivcore::UTF16String GetName() const;
  ProgressState GetState() const;
  void SetState(ProgressState state);
  // value out of maximum.
  void SetProgress(float value, float maximum, kivcore::UTF16String tooltip = {});
  float GetProgress() const;  // value / maximum, 0 when maximum is 0
  kivcore::UTF16String GetTooltip() const;
  kivcore::UTF16String GetStatusMessage() const;
  void SetStatusMessage(kivcore::UTF16String message);
  bool IsInProgress() const;

  void AddCancelHandler(CancelHandler handler);
  void AddPauseResumeHandler(PauseResumeHandler handler);
  // The user asks to cancel: every handler is asked; true when one of them handled it.
  bool RequestCancel();
  // The user asks to pause or resume: handlers see the current state.
  void RequestPauseResume();

  // Emitted after every change, on the thread that made it.
  boost::signals2::signal<void(const ProgressItem&)>& Changed() { return changed_; }

 private:
  void Notify() { changed_(*this); }

  mutable std::mutex mutex_;
  kivcore::UTF16String name_;
  ProgressState state_ = kRunning;
  float value_ = 0;
  float maximum_ = 1;
  kivcore::UTF16String tooltip_;
  kivcore::UTF16String status_;
  std::vector<CancelHandler> cancelHandlers_;
  std::vector<PauseResumeHandler> pauseResumeHandlers_;
  boost::signals2::signal<void(const ProgressItem&)> changed_;
};

}  // namespace kivui::utility
