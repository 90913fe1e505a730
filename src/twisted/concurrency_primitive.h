#pragma once
// The base of primitives that hand out the right to run work (DeferredSemaphore).

#include "twisted/defer.h"

#include <boost/enable_shared_from_this.hpp>
#include <boost/function.hpp>

#include <vector>

namespace twisted {

class _ConcurrencyPrimitive : public boost::enable_shared_from_this<_ConcurrencyPrimitive> {
 public:
  using Work = boost::function<boost::shared_ptr<result>()>;

  virtual ~_ConcurrencyPrimitive() = default;
  // A deferred that fires once the caller holds the primitive.
  virtual boost::shared_ptr<defer> acquire() = 0;
  virtual void release() = 0;

  // Acquires, runs f, waits for the deferred f returns (if any), releases, and fires the
  // returned deferred with f's outcome. Entries the caller adds to it run after the
  // release. A failure f returns reaches the caller as error code 0.
  boost::shared_ptr<defer> run(const Work& f);

 protected:
  static boost::shared_ptr<result> execute(const boost::shared_ptr<_ConcurrencyPrimitive>& self,
                                           const Work& f,
                                           const boost::shared_ptr<result>& ignored);
  static boost::shared_ptr<result> _releaseAndReturn(
      const boost::shared_ptr<_ConcurrencyPrimitive>& self, const boost::shared_ptr<result>& r);

  // Acquirers not served yet, oldest first.
  std::vector<boost::shared_ptr<defer>> waiting;
};

}  // namespace twisted
