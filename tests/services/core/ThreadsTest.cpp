#include "services/core/DelayScale.h"
#include "services/core/EventLoopThread.h"
#include "services/core/Executors.h"
#include "services/core/Gate.h"
#include "services/core/MainThread.h"
#include "services/core/ThreadID.h"
#include "services/core/ThreadPoolExecutor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <numeric>
#include <thread>

using namespace kivcore::threads;
using namespace std::chrono_literals;

namespace {

// Scales delays for the test's duration.
class ScopedDelayScale {
 public:
  explicit ScopedDelayScale(double f) : old_(GetDelayScale()) { SetDelayScaleForTesting(f); }
  ~ScopedDelayScale() { SetDelayScaleForTesting(old_); }

 private:
  double old_;
};

// Collects values from several threads and lets a test wait for a count of them.
class Recorder {
 public:
  void Add(int v) {
    std::lock_guard lock(mutex_);
    values_.push_back(v);
    if (values_.size() >= expected_) gate_.Open();
  }
  std::vector<int> WaitFor(std::size_t n) {
    {
      std::lock_guard lock(mutex_);
      expected_ = n;
      if (values_.size() >= n) gate_.Open();
    }
    EXPECT_TRUE(gate_.PassThrough(10000)) << "timed out waiting for " << n << " values";
    std::lock_guard lock(mutex_);
    return values_;
  }

 private:
  std::mutex mutex_;
  std::vector<int> values_;
  std::size_t expected_ = SIZE_MAX;
  Gate gate_;
};

}  // namespace

TEST(Gate, CreatedClosedAndPassesOnceOpen) {
  Gate gate;
  EXPECT_FALSE(gate.IsOpen());
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(gate.PassThrough(50));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);
  EXPECT_FALSE(gate.PassThrough(0));

  std::atomic<int> passed{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 4; ++i) {
    waiters.emplace_back([&] {
      if (gate.PassThrough(-1)) ++passed;
    });
  }
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(passed.load(), 0) << "a closed gate let a waiter through";
  gate.Open();
  for (auto& t : waiters) t.join();
  EXPECT_EQ(passed.load(), 4);
  EXPECT_TRUE(gate.PassThrough(0));
  gate.Close();
  EXPECT_FALSE(gate.PassThrough(10));
}

TEST(DelayedPosting, RunsInDelayOrderWithScaledDelays) {
  ScopedDelayScale fast(0.01);  // 1 s becomes 10 ms
  auto pool = CreateCPUBoundExecutor(1);
  Recorder order;
  const auto start = std::chrono::steady_clock::now();
  pool->CallAsynchronously([&] { order.Add(3); }, 3000);
  pool->CallAsynchronously([&] { order.Add(1); }, 1000);
  pool->CallAsynchronously([&] { order.Add(0); });
  pool->CallAsynchronously([&] { order.Add(2); }, 2000);
  EXPECT_EQ(order.WaitFor(4), (std::vector<int>{0, 1, 2, 3}));
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, 30ms);
  EXPECT_LT(elapsed, 3s) << "the delay scale was not applied";
}

TEST(DelayedPosting, DroppedWhenTheExecutorIsGone) {
  ScopedDelayScale fast(0.01);
  std::atomic<bool> ran{false};
  {
    auto pool = CreateCPUBoundExecutor(1);
    pool->CallAsynchronously([&] { ran = true; }, 1000);
  }
  std::this_thread::sleep_for(40ms);
  EXPECT_FALSE(ran.load());
}

TEST(Executors, KnowTheirOwnThreads) {
  auto pool = std::static_pointer_cast<ThreadPoolExecutor>(CreateCPUBoundExecutor(2));
  auto sub = CreateSubExecutor(pool, 1);
  auto loop = EventLoopThread::Create();
  EXPECT_FALSE(pool->RunsOnCurrentThread());
  EXPECT_FALSE(sub->RunsOnCurrentThread());
  EXPECT_FALSE(loop->RunsOnCurrentThread());

  Recorder seen;
  pool->CallAsynchronously([&] { seen.Add(pool->RunsOnCurrentThread() && !loop->RunsOnCurrentThread()); });
  // A sub-executor's function runs on a parent thread; both know it.
  sub->CallAsynchronously([&] { seen.Add(sub->RunsOnCurrentThread() && pool->RunsOnCurrentThread()); });
  // A plain function on the parent is not the sub-executor's.
  pool->CallAsynchronously([&] { seen.Add(!sub->RunsOnCurrentThread()); });
  loop->CallAsynchronously([&] { seen.Add(loop->RunsOnCurrentThread() && !pool->RunsOnCurrentThread()); });
  EXPECT_EQ(seen.WaitFor(4), (std::vector<int>(4, 1)));
  EXPECT_EQ(GetIOBoundExecutor(), GetIOBoundExecutor());
  EXPECT_GE(GetIOBoundExecutor()->ThreadCount(), 4u);
}

TEST(Executors, SubExecutorLimitsConcurrencyAndKeepsOrder) {
  auto pool = std::static_pointer_cast<ThreadPoolExecutor>(CreateCPUBoundExecutor(4));
  auto serial = CreateSubExecutor(pool, 1);
  auto pair = CreateSubExecutor(pool, 2);
  std::atomic<int> running{0}, peak{0};
  Recorder order;
  auto body = [&](int i) {
    const int now = ++running;
    int p = peak.load();
    while (now > p && !peak.compare_exchange_weak(p, now)) {}
    std::this_thread::sleep_for(1ms);
    --running;
    order.Add(i);
  };
  for (int i = 0; i < 20; ++i) serial->CallAsynchronously([&, i] { body(i); });
  EXPECT_EQ(order.WaitFor(20), [] {
    std::vector<int> v(20);
    std::iota(v.begin(), v.end(), 0);
    return v;
  }());
  EXPECT_EQ(peak.load(), 1);

  peak = 0;
  for (int i = 20; i < 40; ++i) pair->CallAsynchronously([&, i] { body(i); });
  order.WaitFor(40);
  pool->WaitUntilIdle();
  EXPECT_LE(peak.load(), 2);
}

TEST(Executors, AFunctionThatThrowsDoesNotStopThePool) {
  auto pool = CreateCPUBoundExecutor(1);
  Recorder after;
  pool->CallAsynchronously([] { throw std::runtime_error("boom"); });
  pool->CallAsynchronously([&] { after.Add(1); });
  EXPECT_EQ(after.WaitFor(1), std::vector<int>{1});
}

TEST(ExecuteCPUBoundTaskOnAllProcessors, RunsEveryIndexOnceAndRethrows) {
  std::vector<std::atomic<int>> hits(25);
  ExecuteCPUBoundTaskOnAllProcessors(25, [&](std::size_t i) { ++hits[i]; });
  for (auto& h : hits) EXPECT_EQ(h.load(), 1);

  std::atomic<int> finished{0};
  EXPECT_THROW(ExecuteCPUBoundTaskOnAllProcessors(10,
                                                  [&](std::size_t i) {
                                                    ++finished;
                                                    if (i == 3) throw std::runtime_error("task 3");
                                                  }),
               std::runtime_error);
  EXPECT_EQ(finished.load(), 10) << "the other tasks still ran";

  // Called from a pool thread it cannot deadlock on its own pool: the caller works too.
  Gate done;
  GetCPUBoundExecutor()->CallAsynchronously([&] {
    ExecuteCPUBoundTaskOnAllProcessors(50, [](std::size_t) {});
    done.Open();
  });
  EXPECT_TRUE(done.PassThrough(10000));
}

TEST(MainThread, CallsRunOnTheRegisteredThreadThroughItsQueue) {
  RegisterMainThread();
  EXPECT_TRUE(IsMainThread());
  std::thread([] { EXPECT_FALSE(IsMainThread()); }).join();

  std::vector<int> ran;
  std::thread poster([&] {
    AsyncCallFromMainThread([&] { ran.push_back(IsMainThread() ? 1 : -1); });
    EXPECT_FALSE(GetMainThreadAdaptor()->RunsOnCurrentThread());
  });
  poster.join();
  EXPECT_TRUE(ran.empty()) << "main-thread calls wait for the main loop";
  EXPECT_EQ(GetDefaultMainRunLoop().RunPending(), 1u);
  EXPECT_EQ(ran, std::vector<int>{1});

  {
    ScopedDelayScale fast(0.01);
    AsyncCallFromMainThread([&] { ran.push_back(2); }, 500);
    EXPECT_TRUE(GetDefaultMainRunLoop().RunUntil([&] { return ran.size() == 2; }, 5s));
  }

  // A queue plugged in (as the UI backend does) receives the calls instead.
  struct CountingQueue : MainThreadQueue {
    std::vector<boost::function<void()>> posted;
    void Post(boost::function<void()> f) override { posted.push_back(std::move(f)); }
  };
  auto queue = std::make_shared<CountingQueue>();
  SetMainThreadQueue(queue);
  AsyncCallFromMainThread([&] { ran.push_back(3); });
  SetMainThreadQueue(nullptr);
  ASSERT_EQ(queue->posted.size(), 1u);
  EXPECT_EQ(GetDefaultMainRunLoop().RunPending(), 0u);
  queue->posted.front()();
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
}

TEST(EventLoopThread, RunsInOrderAndFinishesQueuedWorkOnDestruction) {
  std::vector<int> order;
  {
    auto loop = EventLoopThread::Create();
    for (int i = 0; i < 100; ++i) loop->CallAsynchronously([&order, i] { order.push_back(i); });
  }
  ASSERT_EQ(order.size(), 100u);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(order[i], i);
}

TEST(Executors, MayBeReleasedByTheirOwnFunctions) {
  Gate done;
  {
    auto pool = CreateCPUBoundExecutor(2);
    auto sub = CreateSubExecutor(pool, 1);
    // The last references go away inside a function running on the pool.
    sub->CallAsynchronously([sub, pool, &done]() mutable {
      sub.reset();
      pool.reset();
      done.Open();
    });
  }
  EXPECT_TRUE(done.PassThrough(10000));
  auto loop = EventLoopThread::Create();
  Gate loopDone;
  loop->CallAsynchronously([held = loop, &loopDone]() mutable {
    held.reset();
    loopDone.Open();
  });
  loop.reset();
  EXPECT_TRUE(loopDone.PassThrough(10000));
}

// A function on the pool that waits for another function it gave the same pool (as a
// deferred's callback handed to another executor does) still finishes when the pool's last
// reference goes meanwhile: the pool runs what it was given before its threads end.
TEST(Executors, ReleasingAPoolLetsItsWaitingFunctionsFinish) {
  auto pool = CreateCPUBoundExecutor(2);
  AsyncThreadedExecutor* raw = pool.get();
  Gate go, queued, inner;
  std::atomic<bool> innerRan{false};
  raw->CallAsynchronously([&] {
    raw->CallAsynchronously([&] { go.PassThrough(10000); });   // keeps the other thread busy
    raw->CallAsynchronously([&] { innerRan = true; inner.Open(); });  // queued behind it
    queued.Open();
    inner.PassThrough(-1);
  });
  ASSERT_TRUE(queued.PassThrough(10000));
  Gate releasing, destroyed;
  std::thread releaser([&, last = std::move(pool)]() mutable {
    releasing.Open();
    last.reset();
    destroyed.Open();
  });
  ASSERT_TRUE(releasing.PassThrough(10000));
  EXPECT_FALSE(destroyed.PassThrough(100)) << "the destructor waits for the running function";
  go.Open();
  const bool finished = destroyed.PassThrough(10000);
  if (!finished) inner.Open();  // ends the deadlock so that the test can report it
  releaser.join();
  EXPECT_TRUE(finished) << "the destructor waited for a function that could never run";
  EXPECT_TRUE(innerRan);
}

// Items posted while every slot is busy are each run once: two slots finishing at the same
// time must not both start the one item left.
TEST(Executors, ASubExecutorRunsEachItemOnceWhenItsSlotsFinishTogether) {
  auto pool = std::static_pointer_cast<ThreadPoolExecutor>(CreateCPUBoundExecutor(4));
  auto pair = CreateSubExecutor(pool, 2);
  std::atomic<int> runs{0};
  for (int round = 0; round < 2000; ++round) {
    for (int i = 0; i < 3; ++i) pair->CallAsynchronously([&] { ++runs; });
    pool->WaitUntilIdle();
  }
  EXPECT_EQ(runs.load(), 6000);
}
