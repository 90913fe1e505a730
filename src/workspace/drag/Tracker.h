#pragma once

#include "workspace/drag/OS_Tracker.h"

namespace kivworkspace::workspace {

class Workspace;

// The common base of the workspace's drags: the flags every drag keeps (whether it wants
// key and idle events, whether it is tracking, whether it was cancelled), and the
// suspension of the UI's mouse-over updates for as long as the drag lives, so that nothing
// under the pointer lights up while something is dragged over it.
class Tracker : public OS_Tracker {
 public:
  enum Flag : unsigned {
    kWantsKeyEvents = 1,
    kWantsIdleEvents = 2,
    kTracking = 4,
    kCancelled = 8,
  };

  // Only the wants-key and wants-idle bits of `flags` are taken.
  Tracker(Workspace* workspace, unsigned flags);
  ~Tracker() override;
  Tracker(const Tracker&) = delete;
  Tracker& operator=(const Tracker&) = delete;

  Workspace* GetWorkspace() const { return workspace_; }
  bool WantsKeyEvents() const { return (flags_ & kWantsKeyEvents) != 0; }
  bool WantsIdleEvents() const { return (flags_ & kWantsIdleEvents) != 0; }
  bool IsTracking() const { return (flags_ & kTracking) != 0; }
  bool HasBeenCancelled() const { return (flags_ & kCancelled) != 0; }

  // Marks the drag cancelled and beeps.
  void Cancel() override;

 protected:
  // The drag owns the pointer from Begin to End.
  void SetTracking(bool tracking);

 private:
  Workspace* workspace_;
  unsigned flags_;
};

}  // namespace kivworkspace::workspace
