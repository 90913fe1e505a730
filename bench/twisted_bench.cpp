// Deferred chains against Boost.Thread futures (.then continuations) and a plain
// std::function call chain, measured side by side in one run.
//
// Every benchmark reports items_per_second with one item per chain entry (or per member,
// per job, per hop); the console shows the time per item in the "ns/entry" counter.
#define BOOST_THREAD_VERSION 5
#include "services/core/Executors.h"
#include "twisted/twisted.h"

#include <benchmark/benchmark.h>
#include <boost/make_shared.hpp>
#include <boost/thread/future.hpp>

#include <functional>
#include <mutex>
#include <vector>

using namespace twisted;

namespace {

boost::shared_ptr<result> Increment(const boost::shared_ptr<result>& r) {
  const int* v = static_cast<const any_value&>(*r).get_if<int>();
  return any_value::create(v ? *v + 1 : 0);
}

// The same work without allocation of a new result: the floor of a chain entry.
boost::shared_ptr<result> PassOn(const boost::shared_ptr<result>& r) { return r; }

void PerEntry(benchmark::State& state, std::int64_t entriesPerIteration) {
  state.SetItemsProcessed(state.iterations() * entriesPerIteration);
  state.counters["ns/entry"] = benchmark::Counter(
      static_cast<double>(state.iterations() * entriesPerIteration),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Entries added first, then the deferred fired.
void BM_Defer_AddThenFire(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const auto start = any_value::create(0);
  for (auto _ : state) {
    auto d = boost::make_shared<defer>();
    for (int i = 0; i < n; ++i) d->addCallback("step", &PassOn);
    d->callback(start);
    benchmark::DoNotOptimize(d->done());
  }
  PerEntry(state, n);
}

// Entries added to a deferred that has fired: each runs at once.
void BM_Defer_AddToFired(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const auto start = any_value::create(0);
  for (auto _ : state) {
    auto d = boost::make_shared<defer>();
    d->callback(start);
    for (int i = 0; i < n; ++i) d->addCallback("step", &PassOn);
    benchmark::DoNotOptimize(d->done());
  }
  PerEntry(state, n);
}

// Each entry makes a new int result, as real callbacks do.
void BM_Defer_AddThenFire_NewValues(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const auto start = any_value::create(0);
  for (auto _ : state) {
    auto d = boost::make_shared<defer>();
    for (int i = 0; i < n; ++i) d->addCallback("step", &Increment);
    d->callback(start);
    benchmark::DoNotOptimize(d->done());
  }
  PerEntry(state, n);
}

// A chain of n deferreds, each entry returning the next, which is unfired until the end.
void BM_Defer_NestedReturned(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const auto start = any_value::create(0);
  std::vector<boost::shared_ptr<defer>> chain(n);
  for (auto _ : state) {
    for (auto& d : chain) d = boost::make_shared<defer>();
    for (int i = 0; i + 1 < n; ++i) {
      const boost::shared_ptr<result> next = chain[i + 1];
      chain[i]->addCallback("wait", [next](const boost::shared_ptr<result>&) { return next; });
    }
    for (int i = 0; i + 1 < n; ++i) chain[i]->callback(start);
    chain[n - 1]->callback(start);
    benchmark::DoNotOptimize(chain[0]->done());
  }
  PerEntry(state, n);
}

void BM_DeferList(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const auto start = any_value::create(0);
  std::vector<boost::shared_ptr<defer>> members(n);
  for (auto _ : state) {
    for (auto& d : members) d = boost::make_shared<defer>();
    auto list = defer_list::create(members);
    for (auto& d : members) d->callback(start);
    benchmark::DoNotOptimize(list->done());
  }
  PerEntry(state, n);
}

// Jobs through a semaphore of 4; each job's deferred is fired right after it starts.
void BM_DeferredSemaphore_Run(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  auto sem = boost::make_shared<DeferredSemaphore>(4);
  const auto value = any_value::create(0);
  for (auto _ : state) {
    for (int i = 0; i < n; ++i) {
      auto d = sem->run([&] { return boost::static_pointer_cast<result>(value); });
      benchmark::DoNotOptimize(d.get());
    }
  }
  PerEntry(state, n);
}

// One entry bound to a pool executor, fired from this thread: a round trip to the pool.
void BM_Defer_ExecutorHop(benchmark::State& state) {
  auto ex = threaded_executor::create(kivcore::threads::CreateCPUBoundExecutor(1));
  const auto start = any_value::create(0);
  for (auto _ : state) {
    auto d = boost::make_shared<defer>();
    d->addCallback("hop", &PassOn, ex);
    d->callback(start);
    benchmark::DoNotOptimize(d->done());
  }
  PerEntry(state, 1);
}

// Boost.Thread futures: n synchronous .then continuations, then the promise fulfilled.
void BM_BoostFuture_Then(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    boost::promise<int> p;
    boost::future<int> f = p.get_future();
    for (int i = 0; i < n; ++i) {
      f = f.then(boost::launch::sync, [](boost::future<int> x) { return x.get() + 1; });
    }
    p.set_value(0);
    benchmark::DoNotOptimize(f.get());
  }
  PerEntry(state, n);
}

// What the deferred's interface alone costs per entry, with no chain: the recursive mutex
// that addCallbacks takes, the shared_ptr to the deferred that it returns (taken from the
// object and released by the caller), and the reference count of the result that a
// callback receives and returns (PassOn's copy, the previous result's release).
void BM_InterfaceSynchronisationFloor(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const boost::shared_ptr<result> start = any_value::create(0);
  for (auto _ : state) {
    auto d = boost::make_shared<defer>();
    std::recursive_mutex mutex;
    boost::shared_ptr<result> current = start;
    for (int i = 0; i < n; ++i) {
      {
        std::lock_guard lock(mutex);
        benchmark::DoNotOptimize(d->shared_from_this().get());
      }
      current = PassOn(current);
      benchmark::DoNotOptimize(current.get());
    }
  }
  PerEntry(state, n);
}

// The floor: n calls through std::function.
void BM_StdFunction_Chain(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<std::function<int(int)>> chain(n, [](int x) { return x + 1; });
  for (auto _ : state) {
    int v = 0;
    for (const auto& f : chain) v = f(v);
    benchmark::DoNotOptimize(v);
  }
  PerEntry(state, n);
}

}  // namespace

BENCHMARK(BM_Defer_AddThenFire)->Arg(1)->Arg(10)->Arg(1000);
BENCHMARK(BM_Defer_AddToFired)->Arg(1)->Arg(10)->Arg(1000);
BENCHMARK(BM_Defer_AddThenFire_NewValues)->Arg(1)->Arg(10)->Arg(1000);
BENCHMARK(BM_BoostFuture_Then)->Arg(1)->Arg(10)->Arg(1000);
BENCHMARK(BM_StdFunction_Chain)->Arg(1)->Arg(10)->Arg(1000);
BENCHMARK(BM_InterfaceSynchronisationFloor)->Arg(1000);
BENCHMARK(BM_Defer_NestedReturned)->Arg(10)->Arg(1000);
BENCHMARK(BM_DeferList)->Arg(1000);
BENCHMARK(BM_DeferredSemaphore_Run)->Arg(1000);
BENCHMARK(BM_Defer_ExecutorHop);

BENCHMARK_MAIN();
