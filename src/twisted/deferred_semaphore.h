#pragma once
// Lets at most N pieces of asynchronous work run at once; the rest wait, first come,
// first served.

#include "twisted/concurrency_primitive.h"

#include <cstdint>
#include <mutex>

namespace twisted {

class DeferredSemaphore : public _ConcurrencyPrimitive {
 public:
  explicit DeferredSemaphore(int tokens);

  // Fires at once when a token is free, else when one is given back; cancelling a waiting
  // acquire takes it out of the queue (it fails with "cancel").
  boost::shared_ptr<defer> acquire() override;
  // Gives a token back, to the oldest waiter if there is one. May raise the free tokens
  // above the limit.
  void release() override;

  std::uint32_t tokens() const;
  std::uint32_t limit() const { return limit_; }

 protected:
  void _fireDeferred(const boost::shared_ptr<defer>& d);
  void _cancelAcquire(const boost::shared_ptr<defer>& d);

 private:
  std::uint32_t tokens_;
  std::uint32_t limit_;
  mutable std::recursive_mutex mutex_;
};

}  // namespace twisted
