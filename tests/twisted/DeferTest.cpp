#include "Helpers.h"

#include <gtest/gtest.h>

#include <vector>

using namespace twisted;
using namespace kivtest;

namespace {

// A callback that records a label and passes its result on.
CallbackFunction Record(std::vector<std::string>& log, std::string label) {
  return [&log, label](const boost::shared_ptr<result>& r) {
    log.push_back(label);
    return r;
  };
}

}  // namespace

TEST(Defer, EntriesRunInOrderAndLateEntriesRunAtOnce) {
  auto d = NewDefer();
  d->addCallback("a", Add(1))->addCallback("b", Add(10));
  EXPECT_FALSE(d->done());
  d->callback(Int(100));
  EXPECT_TRUE(d->done());
  EXPECT_EQ(AsInt(d->current_result()), 111);
  d->addCallback("late", Add(1000));  // runs at once, on this thread
  EXPECT_EQ(AsInt(d->current_result()), 1111);
}

TEST(Defer, EntriesAddedByARunningCallbackRunAfterItInOrder) {
  auto d = NewDefer();
  std::vector<std::string> log;
  d->addCallback("outer", [&](const boost::shared_ptr<result>& r) {
    log.push_back("outer start");
    d->addCallback("inner1", Record(log, "inner1"));
    d->addCallback("inner2", Record(log, "inner2"));
    log.push_back("outer end");
    return r;
  });
  d->addCallback("second", Record(log, "second"));
  d->callback(Int(1));
  EXPECT_EQ(log, (std::vector<std::string>{"outer start", "outer end", "second", "inner1", "inner2"}));
}

TEST(Defer, FailuresTakeTheErrbackPathAndAValueSwitchesBack) {
  auto d = NewDefer();
  std::vector<std::string> log;
  d->addCallback("skipped", Record(log, "skipped"));
  d->addErrback("recover", [&](const boost::shared_ptr<result>& r) {
    log.push_back("recover " + Message(r));
    return Int(5);
  });
  d->addCallbacks("after", Add(1), Record(log, "wrong errback"));
  d->errback(message_failure::create("boom"));
  EXPECT_EQ(log, (std::vector<std::string>{"recover boom"}));
  EXPECT_EQ(AsInt(d->current_result()), 6);
  EXPECT_FALSE(d->failed());
}

TEST(Defer, ExceptionsBecomeFailuresAndNullResultsAreReported) {
  auto d = NewDefer();
  d->addCallback("throw int", [](const boost::shared_ptr<result>&) -> boost::shared_ptr<result> { throw 42; });
  d->addErrback("inspect", [](const boost::shared_ptr<result>& r) {
    EXPECT_EQ(boost::static_pointer_cast<errcode_failure>(r)->code(), 42);
    return Int(0);
  });
  d->addCallback("null", [](const boost::shared_ptr<result>&) { return boost::shared_ptr<result>(); });
  d->callback(Int(1));
  EXPECT_TRUE(d->failed());
  EXPECT_EQ(Message(d->current_result()), "missing deferred result");

  auto e = NewDefer();
  e->addCallback("std", [](const boost::shared_ptr<result>&) -> boost::shared_ptr<result> {
    throw std::runtime_error("x");
  });
  e->callback(Int(1));
  EXPECT_EQ(Message(e->current_result()), "x");
}

TEST(Defer, AnUnmappedExceptionLeavesTheWalkWithTheFlagCleared) {
  auto d = NewDefer();
  d->addCallback("odd", [](const boost::shared_ptr<result>&) -> boost::shared_ptr<result> {
    throw "not a std::exception";
  });
  EXPECT_THROW(d->callback(Int(1)), const char*);
  // The walk is not stuck: a new entry runs at once on the (consumed) result.
  bool ran = false;
  d->addBoth("next", [&](const boost::shared_ptr<result>& r) {
    ran = true;
    return r;
  });
  EXPECT_TRUE(ran);
}

TEST(Defer, AlreadyCalledInEveryCombination) {
  using Fire = void (*)(defer&);
  const Fire fires[] = {[](defer& d) { d.callback(Int(1)); },
                        [](defer& d) { d.errback(message_failure::create("f")); }};
  for (Fire first : fires) {
    for (Fire second : fires) {
      auto d = NewDefer();
      first(*d);
      EXPECT_THROW(second(*d), AlreadyCalledError);
    }
  }
}

TEST(Defer, ReturnedDeferredsNestThreeLevelsDeep) {
  auto outer = NewDefer(), middle = NewDefer(), inner = NewDefer();
  std::vector<std::string> log;
  middle->addCallback("middle returns inner", [&](const boost::shared_ptr<result>&) {
    log.push_back("middle");
    return boost::static_pointer_cast<result>(inner);
  });
  middle->addCallback("middle after", [&](const boost::shared_ptr<result>& r) {
    log.push_back("middle after " + std::to_string(AsInt(r)));
    return Add(100)(r);
  });
  outer->addCallback("outer returns middle", [&](const boost::shared_ptr<result>&) {
    log.push_back("outer");
    return boost::static_pointer_cast<result>(middle);
  });
  outer->addCallback("outer after", [&](const boost::shared_ptr<result>& r) {
    log.push_back("outer after " + std::to_string(AsInt(r)));
    return r;
  });
  outer->callback(Int(0));
  middle->callback(Int(0));
  EXPECT_EQ(log, (std::vector<std::string>{"outer", "middle"}));
  EXPECT_FALSE(outer->done());
  inner->callback(Int(7));
  EXPECT_EQ(log, (std::vector<std::string>{"outer", "middle", "middle after 7", "outer after 107"}));
  EXPECT_EQ(AsInt(outer->current_result()), 107);
  EXPECT_TRUE(outer->done());
}

TEST(Defer, AReturnedDeferredThatHasAValueContinuesAtOnce) {
  auto ready = NewDefer();
  ready->callback(Int(3));
  auto d = NewDefer();
  d->addCallback("return ready", [&](const boost::shared_ptr<result>&) {
    return boost::static_pointer_cast<result>(ready);
  });
  d->addCallback("add", Add(1));
  d->callback(Int(0));
  EXPECT_EQ(AsInt(d->current_result()), 4);
}

TEST(Defer, AMillionDeferredsWaitingOnEachOtherUseNoStack) {
#if defined(__SANITIZE_THREAD__)
  constexpr int kCount = 100'000;  // ThreadSanitizer's shadow memory for a million mutexes
#else
  constexpr int kCount = 1'000'000;
#endif
  std::vector<boost::shared_ptr<defer>> chain(kCount);
  for (auto& d : chain) d = NewDefer();
  // Each deferred's callback returns the next one, which is not fired yet when it runs.
  for (int i = 0; i + 1 < kCount; ++i) {
    defer* next = chain[i + 1].get();
    chain[i]->addCallback("wait", [next](const boost::shared_ptr<result>&) {
      return boost::static_pointer_cast<result>(next->shared_from_this());
    });
  }
  for (int i = 0; i + 1 < kCount; ++i) chain[i]->callback(Int(0));
  chain[0]->addCallback("last", Add(1));
  EXPECT_FALSE(chain[0]->done());
  chain[kCount - 1]->callback(Int(41));  // resumes every waiter in one walk
  EXPECT_TRUE(chain[0]->done());
  EXPECT_EQ(AsInt(chain[0]->current_result()), 42);
}

TEST(Defer, PauseHoldsEntriesUntilUnpaused) {
  auto d = NewDefer();
  d->addCallback("add", Add(1));
  d->pause();
  d->pause();
  d->callback(Int(1));
  EXPECT_EQ(AsInt(d->current_result()), 1);
  d->unpause();
  EXPECT_FALSE(d->done());
  d->unpause();
  EXPECT_EQ(AsInt(d->current_result()), 2);
}

TEST(Defer, CancelWithoutCancellerFailsAndSwallowsOneLateFiring) {
  auto d = NewDefer();
  d->cancel();
  EXPECT_EQ(Message(d->current_result()), "cancel");
  EXPECT_NO_THROW(d->callback(Int(1)));
  EXPECT_EQ(Message(d->current_result()), "cancel");
  EXPECT_THROW(d->callback(Int(1)), AlreadyCalledError);

  auto fired = NewDefer();
  fired->callback(Int(1));
  fired->cancel();  // a fired deferred ignores cancel
  EXPECT_EQ(AsInt(fired->current_result()), 1);
}

TEST(Defer, ACancellerThatFiresWithADeferredGetsThatOneCancelledToo) {
  auto other = NewDefer();
  auto d = boost::make_shared<defer>([&](const boost::shared_ptr<defer>& self) {
    self->callback(other);
  });
  d->cancel();
  EXPECT_EQ(Message(other->current_result()), "cancel");

  // A deferred that has fired and waits on another is not cancelled, nor is the other.
  auto waited = NewDefer();
  auto waiting = NewDefer();
  waiting->addCallback("wait", [&](const boost::shared_ptr<result>&) {
    return boost::static_pointer_cast<result>(waited);
  });
  waiting->callback(Int(0));
  waiting->cancel();
  EXPECT_EQ(waited->current_result(), nullptr);
  waited->callback(Int(9));
  EXPECT_EQ(AsInt(waiting->current_result()), 9);
}

TEST(Defer, ChainDeferredCopiesEntries) {
  auto source = NewDefer(), target = NewDefer();
  source->addCallback("add", Add(5));
  target->chainDeferred(source);
  target->callback(Int(1));
  EXPECT_EQ(AsInt(target->current_result()), 6);
  source->callback(Int(2));  // source keeps its own entries
  EXPECT_EQ(AsInt(source->current_result()), 7);
}

TEST(Defer, ACallbackReturningItsOwnDeferredFailsInsteadOfHanging) {
  auto d = NewDefer();
  d->addCallback("self", [&](const boost::shared_ptr<result>&) {
    return boost::static_pointer_cast<result>(d);
  });
  d->callback(Int(1));
  EXPECT_TRUE(d->failed());
  EXPECT_EQ(Message(d->current_result()), "a callback returned the deferred it belongs to");
}
