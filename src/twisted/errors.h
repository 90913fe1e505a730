#pragma once
// The exceptions of the deferred library.

#include "services/core/Guid.h"
#include "services/core/Strings.h"
#include "services/net/StatusCode.h"

#include <exception>
#include <string>

namespace twisted {

// Thrown to a caller that fires a deferred a second time.
class AlreadyCalledError : public std::exception {};

// Part of the interface; no operation of the library raises it.
class CancelledError : public std::exception {};

// An HTTP request that failed: message, status and request id.
class HTTPException : public std::exception {
 public:
  HTTPException(const kivcore::Guid& id, kivnet::StatusCode status, const std::string& message)
      : message_(message), status_(status), id_(id) {}
  HTTPException(const kivcore::Guid& id, kivnet::StatusCode status,
                const kivcore::UTF16String& message)
      : HTTPException(id, status, kivcore::UTF16to8(message)) {}

  const char* what() const noexcept override { return message_.c_str(); }
  const kivcore::Guid& GetRequestID() const { return id_; }
  kivnet::StatusCode GetStatusCode() const { return status_; }

 private:
  std::string message_;
  kivnet::StatusCode status_;
  kivcore::Guid id_;
};

}  // namespace twisted
