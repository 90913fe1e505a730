#include "twisted/executor.h"

#include <boost/make_shared.hpp>

namespace twisted {

boost::shared_ptr<executor> eventloop_executor::create(
    const std::shared_ptr<kivcore::threads::AsyncEventLoopAdaptor>& loop) {
  return boost::make_shared<eventloop_executor>(loop);
}

boost::shared_ptr<executor> threaded_executor::create(
    const std::shared_ptr<kivcore::threads::AsyncThreadedExecutor>& pool) {
  return boost::make_shared<threaded_executor>(pool);
}

}  // namespace twisted
