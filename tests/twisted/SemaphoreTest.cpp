#include "Helpers.h"

#include <gtest/gtest.h>

using namespace twisted;
using namespace kivtest;

TEST(DeferredSemaphore, RunsAtMostLimitAtOnceInCallOrder) {
  auto sem = boost::make_shared<DeferredSemaphore>(2);
  std::vector<boost::shared_ptr<defer>> work(5);
  std::vector<int> started;
  std::vector<boost::shared_ptr<defer>> results;
  for (int i = 0; i < 5; ++i) {
    work[i] = NewDefer();
    results.push_back(sem->run([&, i] {
      started.push_back(i);
      return boost::static_pointer_cast<result>(work[i]);
    }));
  }
  EXPECT_EQ(started, (std::vector<int>{0, 1}));
  EXPECT_EQ(sem->tokens(), 0u);
  work[1]->callback(Int(11));
  EXPECT_EQ(started, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(AsInt(results[1]->current_result()), 11);
  work[0]->callback(Int(10));
  work[2]->callback(Int(12));
  EXPECT_EQ(started, (std::vector<int>{0, 1, 2, 3, 4}));
  work[3]->errback(message_failure::create("x"));
  work[4]->callback(Int(14));
  EXPECT_EQ(sem->tokens(), 2u);
  EXPECT_EQ(Message(results[3]->current_result()), "x");
}

TEST(DeferredSemaphore, OutcomesOfTheWorkFunction) {
  auto sem = boost::make_shared<DeferredSemaphore>(1);
  auto thrown = sem->run([]() -> boost::shared_ptr<result> { throw 5; });
  EXPECT_EQ(boost::static_pointer_cast<errcode_failure>(thrown->current_result())->code(), 5);
  // A returned failure reaches the caller as error code 0.
  auto returned = sem->run([] { return boost::static_pointer_cast<result>(message_failure::create("lost")); });
  EXPECT_EQ(boost::static_pointer_cast<errcode_failure>(returned->current_result())->code(), 0);
  auto value = sem->run([] { return Int(3); });
  EXPECT_EQ(AsInt(value->current_result()), 3);
  EXPECT_EQ(sem->tokens(), 1u) << "every outcome gives the token back";
}

TEST(DeferredSemaphore, ACancelledAcquireLeavesTheQueueAndIsNeverFed) {
  auto sem = boost::make_shared<DeferredSemaphore>(1);
  auto holder = sem->acquire();
  auto cancelled = sem->acquire();
  auto next = sem->acquire();
  cancelled->cancel();
  EXPECT_EQ(Message(cancelled->current_result()), "cancel");
  EXPECT_EQ(sem->tokens(), 0u) << "cancelling does not touch the tokens";
  sem->release();
  EXPECT_EQ(Message(cancelled->current_result()), "cancel");
  ASSERT_TRUE(next->done());
  EXPECT_TRUE(boost::dynamic_pointer_cast<any_value>(next->current_result()));
  sem->release();
  sem->release();
  EXPECT_EQ(sem->tokens(), 2u) << "release may raise the tokens above the limit";
}
