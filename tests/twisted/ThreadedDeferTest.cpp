#include "Helpers.h"

#include "services/core/EventLoopThread.h"
#include "services/core/Executors.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace twisted;
using namespace kivtest;

TEST(ThreadedDefer, AnExecutorBoundCallbackRunsOnItsThreadWhileTheFirerWaits) {
  auto pool = kivcore::threads::CreateCPUBoundExecutor(1);
  auto ex = threaded_executor::create(pool);
  auto d = NewDefer();
  std::atomic<bool> onPool{false};
  std::vector<std::string> order;
  d->addCallback("on pool", [&](const boost::shared_ptr<result>& r) {
    onPool = pool->RunsOnCurrentThread();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    order.push_back("pool");
    return r;
  }, ex);
  d->addCallback("here", [&](const boost::shared_ptr<result>& r) {
    order.push_back("here");
    return r;
  });
  std::thread firer([&] { d->callback(Int(1)); order.push_back("fired"); });
  firer.join();
  EXPECT_TRUE(onPool.load());
  EXPECT_EQ(order, (std::vector<std::string>{"pool", "here", "fired"}));

  // A failure on the executor comes back to the firing thread as the same failure.
  auto loop = kivcore::threads::EventLoopThread::Create();
  auto e = NewDefer();
  e->addCallback("throws on loop", [](const boost::shared_ptr<result>&) -> boost::shared_ptr<result> {
    throw 17;
  }, eventloop_executor::create(loop));
  e->callback(Int(0));
  EXPECT_EQ(boost::static_pointer_cast<errcode_failure>(e->current_result())->code(), 17);
}

TEST(ThreadedDefer, ManyDeferredsFiredFromManyThreads) {
  constexpr int kThreads = 8, kPerThread = 500;
  std::vector<boost::shared_ptr<defer>> all(kThreads * kPerThread);
  std::atomic<int> sum{0};
  for (auto& d : all) {
    d = NewDefer();
    d->addCallback("count", [&](const boost::shared_ptr<result>& r) {
      sum += AsInt(r);
      return r;
    });
  }
  auto list = defer_list::create(all);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kPerThread; ++i) {
        auto& d = all[t * kPerThread + i];
        d->callback(Int(1));
        d->addCallback("late", Add(1));  // entries added on the firing thread after firing
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(sum.load(), kThreads * kPerThread);
  auto v = boost::dynamic_pointer_cast<defer_list_value>(list->current_result());
  ASSERT_TRUE(v);
  EXPECT_TRUE(v->success());
  for (const auto& d : all) ASSERT_EQ(AsInt(d->current_result()), 2);
}

TEST(ThreadedDefer, ASemaphoreHammeredByManyThreadsNeverExceedsItsLimit) {
  constexpr int kLimit = 3, kThreads = 8, kPerThread = 200;
  auto sem = boost::make_shared<DeferredSemaphore>(kLimit);
  auto pool = kivcore::threads::CreateCPUBoundExecutor(4);
  std::atomic<int> running{0}, peak{0}, finished{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < kPerThread; ++i) {
        sem->run([&] {
          const int now = ++running;
          for (int p = peak.load(); now > p && !peak.compare_exchange_weak(p, now);) {}
          // The work finishes later on another thread, holding its token until then.
          auto d = NewDefer();
          pool->CallAsynchronously([&, d] {
            --running;
            d->callback(Int(0));
          });
          return boost::static_pointer_cast<result>(d);
        })->addBoth("done", [&](const boost::shared_ptr<result>& r) {
          ++finished;
          return r;
        });
      }
    });
  }
  for (auto& t : threads) t.join();
  for (int i = 0; i < 1000 && finished.load() < kThreads * kPerThread; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(finished.load(), kThreads * kPerThread);
  EXPECT_LE(peak.load(), kLimit);
  EXPECT_EQ(sem->tokens(), static_cast<unsigned>(kLimit));
}
