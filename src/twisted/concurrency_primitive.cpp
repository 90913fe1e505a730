#include "twisted/concurrency_primitive.h"

#include "twisted/exception_mapping.h"

#include <boost/make_shared.hpp>

namespace twisted {
namespace {

// A deferred already fired with r.
boost::shared_ptr<defer> Fired(const boost::shared_ptr<result>& r) {
  auto d = boost::make_shared<defer>();
  d->callback(r);
  return d;
}

}  // namespace

boost::shared_ptr<defer> _ConcurrencyPrimitive::run(const Work& f) {
  boost::shared_ptr<defer> d = acquire();
  const boost::shared_ptr<_ConcurrencyPrimitive> self = shared_from_this();
  d->addCallback("_ConcurrencyPrimitive1",
                 [self, f](const boost::shared_ptr<result>& r) { return execute(self, f, r); });
  return d;
}

boost::shared_ptr<result> _ConcurrencyPrimitive::execute(
    const boost::shared_ptr<_ConcurrencyPrimitive>& self, const Work& f,
    const boost::shared_ptr<result>& /*ignored*/) {
  boost::shared_ptr<failure> thrown;
  const boost::shared_ptr<result> outcome = invoke_mapping_exceptions(f, thrown);
  boost::shared_ptr<defer> d;
  if (thrown) {
    d = Fired(thrown);
  } else if (outcome && outcome->is_defer()) {
    d = boost::static_pointer_cast<defer>(outcome);
  } else if (outcome && outcome->is_failure()) {
    d = Fired(errcode_failure::create(0));
  } else {
    d = Fired(outcome);
  }
  d->addBoth("_ConcurrencyPrimitive2",
             [self](const boost::shared_ptr<result>& r) { return _releaseAndReturn(self, r); });
  return d;
}

boost::shared_ptr<result> _ConcurrencyPrimitive::_releaseAndReturn(
    const boost::shared_ptr<_ConcurrencyPrimitive>& self, const boost::shared_ptr<result>& r) {
  self->release();
  return r;
}

}  // namespace twisted
