#pragma once
// A deferred: a result that is not there yet, with a chain of callback/errback pairs that
// run in order once it is fired. A function may return another deferred; the chain then
// waits for it and goes on with its result. Functions may be bound to an executor, which
// decides on which thread their body runs while the walk stays on the firing thread.

#include "services/core/Guid.h"
#include "twisted/entry_queue.h"
#include "twisted/executor.h"
#include "twisted/failure.h"
#include "twisted/result.h"

#include <boost/enable_shared_from_this.hpp>
#include <boost/function.hpp>
#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <mutex>
#include <string>

namespace kivcore::threads {
class OpenOnceGate;
}

namespace twisted {

class defer;

using CallbackFunction =
    boost::function<boost::shared_ptr<result>(const boost::shared_ptr<result>&)>;

// One entry of a chain.
struct both_callbacks {
  std::string name;  // a label for debugging only
  CallbackFunction callback;
  CallbackFunction errback;
  boost::shared_ptr<twisted::executor> executor;
  // Set only in the continuation entry that a waiting deferred puts on the one it waits for.
  boost::shared_ptr<defer> chainee{};
};

class defer : public result, public boost::enable_shared_from_this<defer> {
 public:
  using Canceller = boost::function<void(const boost::shared_ptr<defer>&)>;

  explicit defer(const Canceller& canceller = Canceller());
  ~defer() override;
  ResultType get_type() const override { return ResultType_Defer; }

  // Fire the deferred; a second firing throws AlreadyCalledError (once after a cancel
  // without canceller it is silently dropped instead).
  void callback(const boost::shared_ptr<result>& r);
  void errback(const boost::shared_ptr<failure>& f);

  // Appends an entry; runs it at once when the deferred has fired. An empty eb acts as
  // passthru. Returns this deferred.
  boost::shared_ptr<defer> addCallbacks(const char* name, const CallbackFunction& cb,
                                        const CallbackFunction& eb,
                                        const boost::shared_ptr<executor>& ex = {});
  boost::shared_ptr<defer> addCallback(const char* name, const CallbackFunction& cb,
                                       const boost::shared_ptr<executor>& ex = {});
  boost::shared_ptr<defer> addErrback(const char* name, const CallbackFunction& eb,
                                      const boost::shared_ptr<executor>& ex = {});
  boost::shared_ptr<defer> addBoth(const char* name, const CallbackFunction& f,
                                   const boost::shared_ptr<executor>& ex = {});
  static boost::shared_ptr<result> passthru(const boost::shared_ptr<result>& r) { return r; }

  // Copies d's entries onto this deferred and marks d as waiting on it.
  boost::shared_ptr<defer> chainDeferred(const boost::shared_ptr<defer>& d);

  void cancel();
  void pause();
  void unpause();

  // Fired, every entry run, and the result is not a deferred.
  bool done() const;
  bool failed() const;

  const kivcore::Guid& id() const { return id_; }
  // The current result (null before firing); meant for inspection once done().
  boost::shared_ptr<result> current_result() const;

 protected:
  void _startRunCallbacks(const boost::shared_ptr<result>& r);
  // Walks the chain; the caller holds this deferred's mutex.
  void _runCallbacks();
  boost::shared_ptr<result> callbackWithExecutor(const both_callbacks& entry,
                                                 const CallbackFunction& f,
                                                 const boost::shared_ptr<result>& r);
  static void ExecuteStatic(const CallbackFunction& f, const boost::shared_ptr<result>& in,
                            const boost::shared_ptr<kivcore::threads::OpenOnceGate>& gate,
                            boost::shared_ptr<result>& out,
                            boost::shared_ptr<failure>& failureOut);

  // Whether the deferred has been fired; read under mutex_.
  bool isCalled() const { return called_; }

  mutable std::recursive_mutex mutex_;

 private:
  // Runs this deferred's entries until they are used up or it must wait; returns the
  // deferred the walk continues with (a continuation's target), or null.
  boost::shared_ptr<defer> runEntries();
  // After an entry returned deferred r: takes r's result when it is ready (true), or
  // makes this deferred wait on r (false).
  bool takeOrWaitFor(const boost::shared_ptr<defer>& r);
  bool hasEntries() const { return !callbacks_.empty(); }

  // Entries not run yet; each stays in place while its function runs.
  using EntryQueue = entry_queue<both_callbacks>;
  EntryQueue callbacks_;
  bool called_ = false;
  std::uint32_t paused_ = 0;
  Canceller canceller_;
  boost::shared_ptr<result> result_;
  bool suppressAlreadyCalled_ = false;
  boost::shared_ptr<defer> chainedTo_;
  kivcore::Guid id_;
  bool runningCallbacks_ = false;
};

}  // namespace twisted
