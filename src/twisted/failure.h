#pragma once
// The failure kinds of a callback chain. Each one turns back into the exception that
// produces it (rethrow), so a failure that crosses threads as an exception arrives as an
// equal failure of the same kind.

#include "services/core/Guid.h"
#include "services/core/Strings.h"
#include "services/net/Response.h"
#include "services/net/StatusCode.h"
#include "twisted/result.h"

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <string>

namespace twisted {

class HTTPException;

class failure : public result {
 public:
  enum FailureSubType { FailureSubType_ErrCode = 0, FailureSubType_Message = 1, FailureSubType_HTTP = 2 };

  ResultType get_type() const override { return ResultType_Failure; }
  ~failure() override = default;
  virtual FailureSubType get_sub_type() const = 0;
  // Throws the exception this failure stands for.
  [[noreturn]] virtual void rethrow() const = 0;
};

class errcode_failure : public failure {
 public:
  explicit errcode_failure(int code) : code_(code) {}
  static boost::shared_ptr<failure> create(int code);

  FailureSubType get_sub_type() const override { return FailureSubType_ErrCode; }
  // Throws the code as a plain int.
  [[noreturn]] void rethrow() const override;
  int code() const { return code_; }

 private:
  std::int32_t code_;
};

class message_failure : public failure {
 public:
  explicit message_failure(const char* message) : message_(message ? message : "") {}
  static boost::shared_ptr<failure> create(const char* message);

  FailureSubType get_sub_type() const override { return FailureSubType_Message; }
  // Throws std::runtime_error with the message.
  [[noreturn]] void rethrow() const override;
  const std::string& message() const { return message_; }

 private:
  std::string message_;
};

class http_failure : public failure {
 public:
  // Status from the response, message from its payload; a null response gives status -2
  // and an empty message.
  http_failure(const kivcore::Guid& id, const boost::shared_ptr<kivnet::Response>& response);
  http_failure(const kivcore::Guid& id, kivnet::StatusCode status, const std::string& message);
  http_failure(const kivcore::Guid& id, kivnet::StatusCode status, const kivcore::UTF16String& message);

  static boost::shared_ptr<failure> create(const kivcore::Guid& id,
                                           const boost::shared_ptr<kivnet::Response>& response);
  static boost::shared_ptr<failure> create(const kivcore::Guid& id, kivnet::StatusCode status,
                                           const kivcore::UTF16String& message);
  static boost::shared_ptr<failure> create(const HTTPException& e);

  FailureSubType get_sub_type() const override { return FailureSubType_HTTP; }
  // Throws HTTPException with the same message, status and request id.
  [[noreturn]] void rethrow() const override;

  const std::string& message() const { return message_; }
  kivnet::StatusCode status() const { return status_; }
  const kivcore::Guid& request_id() const { return id_; }

 private:
  std::string message_;
  kivnet::StatusCode status_;
  kivcore::Guid id_;
};

// Which member of a deferred list failed first, and how.
class FirstError : public errcode_failure {
 public:
  FirstError(const boost::shared_ptr<result>& failed, unsigned index)
      : errcode_failure(-1), failed_(failed), index_(index) {}

  const boost::shared_ptr<result>& failed_result() const { return failed_; }
  unsigned index() const { return index_; }

 private:
  boost::shared_ptr<result> failed_;
  std::uint32_t index_;
};

}  // namespace twisted
