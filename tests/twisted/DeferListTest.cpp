#include "Helpers.h"

#include <gtest/gtest.h>

using namespace twisted;
using namespace kivtest;

namespace {
boost::shared_ptr<defer_list_value> ListValue(const boost::shared_ptr<defer>& d) {
  return boost::dynamic_pointer_cast<defer_list_value>(d->current_result());
}
}  // namespace

TEST(DeferList, EmptyListsFireAtOnceUnlessWaitingForOneSuccess) {
  auto empty = defer_list::create({});
  ASSERT_TRUE(ListValue(empty));
  EXPECT_TRUE(ListValue(empty)->success());
  EXPECT_FALSE(ListValue(empty)->has_value());
  auto never = defer_list::create({}, {}, /*fireOnOneCallback=*/true);
  EXPECT_EQ(never->current_result(), nullptr);
}

TEST(DeferList, RecordsEveryMemberAndConsumesErrors) {
  auto a = NewDefer(), b = NewDefer(), c = NewDefer();
  c->callback(Int(3));  // an already-fired member is recorded during create
  auto list = defer_list::create({a, b, c}, {}, false, false, /*consumeErrors=*/true);
  b->addBoth("after list", [](const boost::shared_ptr<result>& r) { return r; });
  a->callback(Int(1));
  EXPECT_EQ(list->current_result(), nullptr);
  b->errback(message_failure::create("bad"));
  auto v = ListValue(list);
  ASSERT_TRUE(v);
  EXPECT_FALSE(v->success());
  EXPECT_EQ(AsInt(v->entries()[0].second), 1);
  EXPECT_FALSE(v->entries()[1].first);
  EXPECT_EQ(Message(v->entries()[1].second), "bad");
  EXPECT_EQ(AsInt(v->entries()[2].second), 3);
  // The failing member's own chain goes on with an empty value.
  auto consumed = boost::dynamic_pointer_cast<any_value>(b->current_result());
  ASSERT_TRUE(consumed);
  EXPECT_TRUE(consumed->empty());
}

TEST(DeferList, FireOnOneCallbackAndFireOnOneErrback) {
  auto a = NewDefer(), b = NewDefer();
  auto first = defer_list::create({a, b}, {}, /*fireOnOneCallback=*/true);
  b->callback(Int(2));
  EXPECT_EQ(AsInt(first->current_result()), 2);
  EXPECT_NO_THROW(a->callback(Int(1)));  // late members are still taken

  auto x = NewDefer(), y = NewDefer(), z = NewDefer();
  auto failing = defer_list::create({x, y, z}, {}, false, /*fireOnOneErrback=*/true);
  x->callback(Int(0));
  y->errback(errcode_failure::create(7));
  auto firstError = boost::dynamic_pointer_cast<FirstError>(failing->current_result());
  ASSERT_TRUE(firstError);
  EXPECT_EQ(firstError->index(), 1u);
  EXPECT_EQ(boost::static_pointer_cast<errcode_failure>(firstError->failed_result())->code(), 7);
  // Without consumeErrors the member keeps its failure.
  EXPECT_TRUE(y->failed());
}
