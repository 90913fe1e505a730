#include "twisted/deferred_semaphore.h"

#include <boost/make_shared.hpp>

#include <algorithm>

namespace twisted {

DeferredSemaphore::DeferredSemaphore(int tokens)
    : tokens_(static_cast<std::uint32_t>(std::max(tokens, 0))), limit_(tokens_) {}

std::uint32_t DeferredSemaphore::tokens() const {
  std::lock_guard lock(mutex_);
  return tokens_;
}

boost::shared_ptr<defer> DeferredSemaphore::acquire() {
  const boost::weak_ptr<_ConcurrencyPrimitive> weakSelf = weak_from_this();
  auto d = boost::make_shared<defer>([weakSelf](const boost::shared_ptr<defer>& cancelled) {
    if (auto self = boost::static_pointer_cast<DeferredSemaphore>(weakSelf.lock())) {
      self->_cancelAcquire(cancelled);
    }
  });
  bool fireNow = false;
  {
    std::lock_guard lock(mutex_);
    if (tokens_ > 0) {
      --tokens_;
      fireNow = true;
    } else {
      waiting.push_back(d);
    }
  }
  if (fireNow) _fireDeferred(d);
  return d;
}

void DeferredSemaphore::release() {
  boost::shared_ptr<defer> next;
  {
    std::lock_guard lock(mutex_);
    ++tokens_;
    if (!waiting.empty()) {
      next = waiting.front();
      waiting.erase(waiting.begin());
      --tokens_;
    }
  }
  if (next) _fireDeferred(next);
}

void DeferredSemaphore::_fireDeferred(const boost::shared_ptr<defer>& d) {
  d->callback(any_value::create(shared_from_this()));
}

void DeferredSemaphore::_cancelAcquire(const boost::shared_ptr<defer>& d) {
  std::lock_guard lock(mutex_);
  waiting.erase(std::remove(waiting.begin(), waiting.end(), d), waiting.end());
}

}  // namespace twisted
