#include "Helpers.h"

#include <gtest/gtest.h>

using namespace twisted;
using namespace kivtest;

TEST(Results, KindsAndValues) {
  EXPECT_EQ(any_value().result_type(), typeid(void));
  EXPECT_TRUE(any_value().is_result());
  EXPECT_EQ(any_value::create(std::string("x"))->result_type(), typeid(std::string));

  defer_list_value none(0);
  EXPECT_FALSE(none.has_value());
  EXPECT_TRUE(none.success());
  defer_list_value three(3);
  three.entries() = {{true, Int(1)}, {false, message_failure::create("f")}, {true, Int(2)}};
  EXPECT_TRUE(three.has_value());
  EXPECT_FALSE(three.success());
  EXPECT_EQ(three.result_type(), typeid(defer_list_value));
  EXPECT_TRUE(NewDefer()->is_defer());
  EXPECT_TRUE(errcode_failure::create(1)->is_failure());
}

TEST(Failures, HTTPFailureFromResponsesAndExceptions) {
  const kivcore::Guid id = kivcore::Guid::CreateUnique();
  auto none = boost::static_pointer_cast<http_failure>(http_failure::create(id, boost::shared_ptr<kivnet::Response>()));
  EXPECT_EQ(none->status(), -2);
  EXPECT_EQ(none->message(), "");
  EXPECT_EQ(none->get_sub_type(), failure::FailureSubType_HTTP);

  auto response = boost::make_shared<kivnet::Response>(kivnet::kStatusNotFound,
                                                       std::vector<kivnet::Response::Header>{},
                                                       "no such file");
  auto notFound = boost::static_pointer_cast<http_failure>(http_failure::create(id, response));
  EXPECT_EQ(notFound->status(), 404);
  EXPECT_EQ(notFound->message(), "no such file");
  EXPECT_EQ(notFound->request_id(), id);

  auto utf16 = boost::static_pointer_cast<http_failure>(
      http_failure::create(id, kivnet::kStatusServiceUnavailable, u"busy \u00e9"));
  EXPECT_EQ(utf16->message(), "busy \xc3\xa9");
}

// Every failure kind survives rethrow() and the mapping back into a failure unchanged.
TEST(Failures, RethrowAndMappingAreInverse) {
  const kivcore::Guid id = kivcore::Guid::CreateUnique();
  auto roundTrip = [](const boost::shared_ptr<failure>& f) {
    boost::shared_ptr<failure> back;
    invoke_mapping_exceptions([&]() -> int { f->rethrow(); return 0; }, back);
    return back;
  };
  auto code = boost::dynamic_pointer_cast<errcode_failure>(roundTrip(errcode_failure::create(42)));
  ASSERT_TRUE(code);
  EXPECT_EQ(code->code(), 42);
  EXPECT_EQ(code->get_sub_type(), failure::FailureSubType_ErrCode);

  EXPECT_EQ(Message(roundTrip(message_failure::create("x"))), "x");

  auto http = boost::dynamic_pointer_cast<http_failure>(
      roundTrip(http_failure::create(id, kivnet::kStatusNotFound, u"gone")));
  ASSERT_TRUE(http);
  EXPECT_EQ(http->status(), 404);
  EXPECT_EQ(http->message(), "gone");
  EXPECT_EQ(http->request_id(), id);

  // A FirstError comes back as a plain error code -1.
  auto first = roundTrip(boost::shared_ptr<failure>(new FirstError(Int(1), 2)));
  ASSERT_TRUE(boost::dynamic_pointer_cast<errcode_failure>(first));
  EXPECT_FALSE(boost::dynamic_pointer_cast<FirstError>(first));
  EXPECT_EQ(boost::static_pointer_cast<errcode_failure>(first)->code(), -1);

  EXPECT_THROW(errcode_failure::create(42)->rethrow(), int);
  try {
    message_failure::create("x")->rethrow();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "x");
  }
}
