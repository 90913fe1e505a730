#include "twisted/defer.h"

#include "twisted/OpenOnceGate.h"
#include "twisted/errors.h"
#include "twisted/exception_mapping.h"

#include <boost/bind/bind.hpp>
#include <boost/container/small_vector.hpp>
#include <boost/make_shared.hpp>

#include <stdexcept>
#include <vector>

namespace twisted {
namespace {

using kivcore::threads::OpenOnceGate;

// Opens the gate when the last copy of the function that carries it goes away, so a
// waiter is released even when an executor drops the function without running it.
class GateOpener {
 public:
  explicit GateOpener(boost::shared_ptr<OpenOnceGate> gate) : gate_(std::move(gate)) {}
  GateOpener(const GateOpener&) = delete;
  GateOpener& operator=(const GateOpener&) = delete;
  ~GateOpener() { gate_->Open(); }

 private:
  boost::shared_ptr<OpenOnceGate> gate_;
};

const char kMissingResult[] = "missing deferred result";
const char kReturnedItself[] = "a callback returned the deferred it belongs to";

}  // namespace

defer::defer(const Canceller& canceller)
    : canceller_(canceller), id_(kivcore::Guid::CreateUnique()) {}

defer::~defer() = default;

void defer::callback(const boost::shared_ptr<result>& r) { _startRunCallbacks(r); }

void defer::errback(const boost::shared_ptr<failure>& f) { _startRunCallbacks(f); }

void defer::_startRunCallbacks(const boost::shared_ptr<result>& r) {
  std::lock_guard lock(mutex_);
  if (called_) {
    if (!suppressAlreadyCalled_) throw AlreadyCalledError();
    suppressAlreadyCalled_ = false;  // the late firing after a cancel is dropped, once
    return;
  }
  called_ = true;
  result_ = r;
  _runCallbacks();
}

boost::shared_ptr<defer> defer::addCallbacks(const char* name, const CallbackFunction& cb,
                                             const CallbackFunction& eb,
                                             const boost::shared_ptr<executor>& ex) {
  std::lock_guard lock(mutex_);
  // An empty errback is kept empty and acts as passthru when it runs (see runEntries),
  // which spares a function copy per entry.
  // Built where it will lie, each field constructed once: no temporary entry to move.
  callbacks_.emplace_back(name ? name : "", cb, eb, ex);
  if (called_) _runCallbacks();
  return shared_from_this();
}

boost::shared_ptr<defer> defer::addCallback(const char* name, const CallbackFunction& cb,
                                            const boost::shared_ptr<executor>& ex) {
  return addCallbacks(name, cb, CallbackFunction(), ex);
}

boost::shared_ptr<defer> defer::addErrback(const char* name, const CallbackFunction& eb,
                                           const boost::shared_ptr<executor>& ex) {
  return addCallbacks(name, CallbackFunction(&passthru), eb, ex);
}

boost::shared_ptr<defer> defer::addBoth(const char* name, const CallbackFunction& f,
                                        const boost::shared_ptr<executor>& ex) {
  return addCallbacks(name, f, f, ex);
}

boost::shared_ptr<defer> defer::chainDeferred(const boost::shared_ptr<defer>& d) {
  std::vector<both_callbacks> entries;
  {
    std::lock_guard lock(d->mutex_);
    d->chainedTo_ = shared_from_this();
    d->callbacks_.for_each([&](const both_callbacks& e) { entries.push_back(e); });
  }
  for (const both_callbacks& e : entries) {
    addCallbacks(e.name.c_str(), e.callback, e.errback, e.executor);
  }
  return shared_from_this();
}

void defer::cancel() {
  std::lock_guard lock(mutex_);
  if (called_) return;
  if (canceller_) {
    canceller_(shared_from_this());
  } else {
    suppressAlreadyCalled_ = true;
  }
  if (!called_) {
    errback(message_failure::create("cancel"));
  } else if (result_ && result_->is_defer()) {
    boost::static_pointer_cast<defer>(result_)->cancel();
  }
}

void defer::pause() {
  std::lock_guard lock(mutex_);
  ++paused_;
}

void defer::unpause() {
  std::lock_guard lock(mutex_);
  if (paused_ > 0) --paused_;
  if (paused_ == 0 && called_) _runCallbacks();
}

bool defer::done() const {
  std::lock_guard lock(mutex_);
  return result_ && !result_->is_defer() && !hasEntries();
}

bool defer::failed() const {
  std::lock_guard lock(mutex_);
  return done() && result_->is_failure();
}

boost::shared_ptr<result> defer::current_result() const {
  std::lock_guard lock(mutex_);
  return result_;
}

// The walk is iterative: when an entry's function returns a deferred that is not ready,
// the waiting deferred puts a continuation entry on it and the walk moves on; when the
// continuation runs, its target is pushed onto `chain` instead of being called
// recursively, so any depth of deferreds waiting on each other uses constant stack.
// Each member's mutex is held while its entries run (the fired deferred's is already held
// by the caller), so entries added from other threads never race with the walk.
void defer::_runCallbacks() {
  if (runningCallbacks_) return;  // the walk further up the stack picks up new entries
  boost::container::small_vector<boost::shared_ptr<defer>, 4> chain{shared_from_this()};
  while (!chain.empty()) {
    defer* current = chain.back().get();  // kept alive by `chain` until popped
    std::unique_lock lock(current->mutex_);
    if (current->paused_ > 0) return;
    current->chainedTo_.reset();
    boost::shared_ptr<defer> continuation = current->runEntries();
    if (continuation) {
      chain.push_back(std::move(continuation));
    } else {
      lock.unlock();  // before the pop, which may destroy `current`
      chain.pop_back();
    }
  }
}

boost::shared_ptr<defer> defer::runEntries() {
  while (hasEntries()) {
    // The entry is used where it lies (entries added meanwhile go behind it and never move
    // it) and removed however its function ends.
    both_callbacks& entry = callbacks_.front();
    struct PopOnExit {
      EntryQueue& queue;
      ~PopOnExit() { queue.pop_front(); }
    } pop{callbacks_};

    if (entry.chainee) {
      // Hand this result to the deferred that waits for it.
      boost::shared_ptr<defer> waiter = std::move(entry.chainee);
      std::lock_guard waiterLock(waiter->mutex_);
      waiter->result_ = std::move(result_);
      result_.reset();
      --waiter->paused_;
      return waiter;
    }
    const bool isFailure = result_ && result_->is_failure();
    if (isFailure && !entry.errback) continue;  // an empty errback is passthru

    struct RunningFlag {
      bool& flag;
      explicit RunningFlag(bool& f) : flag(f) { flag = true; }
      ~RunningFlag() { flag = false; }
    };
    boost::shared_ptr<failure> failed;
    boost::shared_ptr<result> next;
    {
      RunningFlag running(runningCallbacks_);
      next = invoke_mapping_exceptions(
          [&] { return callbackWithExecutor(entry, isFailure ? entry.errback : entry.callback, result_); },
          failed);
    }
    result_ = failed ? boost::shared_ptr<result>(std::move(failed)) : std::move(next);

    if (result_->is_defer() && !takeOrWaitFor(boost::static_pointer_cast<defer>(result_))) {
      return nullptr;  // this deferred now waits; its continuation resumes it
    }
  }
  return nullptr;
}

bool defer::takeOrWaitFor(const boost::shared_ptr<defer>& r) {
  if (r.get() == this) {
    // Waiting for itself would never end.
    result_ = message_failure::create(kReturnedItself);
    return true;
  }
  std::lock_guard lock(r->mutex_);
  if (r->result_ && !r->result_->is_defer() && r->paused_ == 0) {
    result_ = std::move(r->result_);
    r->result_.reset();
    return true;
  }
  ++paused_;
  chainedTo_ = r;
  r->callbacks_.emplace_back().chainee = shared_from_this();
  return false;
}

boost::shared_ptr<result> defer::callbackWithExecutor(const both_callbacks& entry,
                                                      const CallbackFunction& f,
                                                      const boost::shared_ptr<result>& r) {
  boost::shared_ptr<result> out;
  if (!entry.executor || entry.executor->can_execute_here()) {
    out = f(r);
  } else {
    auto gate = boost::make_shared<OpenOnceGate>();
    auto opener = boost::make_shared<GateOpener>(gate);
    boost::shared_ptr<failure> failureOut;
    entry.executor->execute([f, r, gate, opener, &out, &failureOut] {
      ExecuteStatic(f, r, gate, out, failureOut);
    });
    gate->Wait();
    if (failureOut) failureOut->rethrow();
  }
  if (!out) throw std::runtime_error(kMissingResult);
  return out;
}

void defer::ExecuteStatic(const CallbackFunction& f, const boost::shared_ptr<result>& in,
                          const boost::shared_ptr<OpenOnceGate>& gate,
                          boost::shared_ptr<result>& out, boost::shared_ptr<failure>& failureOut) {
  GateOpener openOnExit(gate);  // opens on return and on unwinding alike
  boost::shared_ptr<failure> failed;
  boost::shared_ptr<result> r = invoke_mapping_exceptions([&] { return f(in); }, failed);
  out = std::move(r);
  failureOut = std::move(failed);
}

}  // namespace twisted
