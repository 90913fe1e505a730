#include "services/core/detail/DelayService.h"

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/steady_timer.hpp>

#include <memory>
#include <thread>

namespace kivcore::threads::detail {
namespace {

class DelayService {
 public:
  DelayService() : work_(boost::asio::make_work_guard(io_)), thread_([this] { io_.run(); }) {}

  void RunAfter(std::chrono::nanoseconds delay, std::function<void()> f) {
    auto timer = std::make_shared<boost::asio::steady_timer>(io_, delay);
    timer->async_wait([timer, f = std::move(f)](const boost::system::error_code& ec) {
      if (!ec) f();
    });
  }

 private:
  boost::asio::io_context io_;
  boost::asio::executor_work_guard<boost::asio::io_context::executor_type> work_;
  std::thread thread_;
};

}  // namespace

void RunAfter(std::chrono::nanoseconds delay, std::function<void()> f) {
  // Never destroyed: threads that outlive main (an HTTP completion scheduling a retry while
  // the process exits) may still post here, so the service must outlast static destruction.
  static DelayService* const service = new DelayService();
  service->RunAfter(delay, std::move(f));
}

}  // namespace kivcore::threads::detail
