#include "twisted/failure.h"

#include "twisted/errors.h"

#include <stdexcept>

namespace twisted {

boost::shared_ptr<failure> errcode_failure::create(int code) {
  return boost::shared_ptr<failure>(new errcode_failure(code));
}

void errcode_failure::rethrow() const { throw static_cast<int>(code_); }

boost::shared_ptr<failure> message_failure::create(const char* message) {
  return boost::shared_ptr<failure>(new message_failure(message));
}

void message_failure::rethrow() const { throw std::runtime_error(message_); }

http_failure::http_failure(const kivcore::Guid& id,
                           const boost::shared_ptr<kivnet::Response>& response)
    : message_(response ? response->GetPayload() : std::string()),
      status_(response ? response->GetStatusCode() : kivnet::kStatusNoResponse),
      id_(id) {}

http_failure::http_failure(const kivcore::Guid& id, kivnet::StatusCode status,
                           const std::string& message)
    : message_(message), status_(status), id_(id) {}

http_failure::http_failure(const kivcore::Guid& id, kivnet::StatusCode status,
                           const kivcore::UTF16String& message)
    : http_failure(id, status, kivcore::UTF16to8(message)) {}

boost::shared_ptr<failure> http_failure::create(
    const kivcore::Guid& id, const boost::shared_ptr<kivnet::Response>& response) {
  return boost::shared_ptr<failure>(new http_failure(id, response));
}

boost::shared_ptr<failure> http_failure::create(const kivcore::Guid& id,
                                                kivnet::StatusCode status,
                                                const kivcore::UTF16String& message) {
  return boost::shared_ptr<failure>(new http_failure(id, status, message));
}

boost::shared_ptr<failure> http_failure::create(const HTTPException& e) {
  return boost::shared_ptr<failure>(
      new http_failure(e.GetRequestID(), e.GetStatusCode(), std::string(e.what())));
}

void http_failure::rethrow() const { throw HTTPException(id_, status_, message_); }

}  // namespace twisted
