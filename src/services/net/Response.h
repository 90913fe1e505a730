#pragma once

#include "services/net/StatusCode.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kivnet {

// What came back for one HTTP request: status, headers in arrival order and the body.
class Response {
 public:
  using Header = std::pair<std::string, std::string>;

  Response() = default;
  Response(StatusCode status, std::vector<Header> headers, std::string payload)
      : status_(status), headers_(std::move(headers)), payload_(std::move(payload)) {}

  StatusCode GetStatusCode() const { return status_; }
  const std::vector<Header>& GetHeaders() const { return headers_; }
  // The first header of that name, compared without regard to case.
  std::optional<std::string> GetHeader(std::string_view name) const;
  // "Name: value" lines, each ended by CRLF.
  std::string GetHeaderText() const;
  const std::string& GetPayload() const { return payload_; }

  void SetStatusCode(StatusCode status) { status_ = status; }
  void AddHeader(std::string name, std::string value) {
    headers_.emplace_back(std::move(name), std::move(value));
  }
  void SetPayload(std::string payload) { payload_ = std::move(payload); }
  // Moves the body out (a range's bytes go to the disk without another copy).
  std::string TakePayload() { return std::move(payload_); }
  // How many body bytes arrived (in the payload, or given to a body sink).
  std::uint64_t GetBodySize() const { return bodySize_; }
  void SetBodySize(std::uint64_t size) { bodySize_ = size; }

 private:
  StatusCode status_ = kStatusTransportFailed;
  std::vector<Header> headers_;
  std::string payload_;
  std::uint64_t bodySize_ = 0;
};

}  // namespace kivnet
