#pragma once
// HTTP GET requests on one I/O thread (libcurl's multi interface). Requests are started
// and cancelled from any thread by id; every started request reports exactly once, on the
// I/O thread, with its response. A request that fails below HTTP (refused, reset, timed
// out, stalled) reports status 0 with a short reason as payload ("connection refused",
// "unknown host", "timed out", ...); a cancelled one reports kStatusCancelled.

#include "services/core/Guid.h"
#include "services/core/ImmutableString.h"
#include "services/net/Response.h"

#include <boost/function.hpp>
#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace kivnet::http {

using HeaderMap = std::multimap<kivcore::ImmutableString, kivcore::ImmutableString>;

struct RequestOptions {
  // A transfer that receives no byte for this long fails (status 0).
  int stallTimeoutMs = 30000;
  int connectTimeoutMs = 30000;
  // Redirects are reported as they are (3xx) unless this is set.
  bool followRedirects = false;
  // HTTPS peers are verified against the system's certificate authorities, or against
  // the authorities in this PEM file instead when one is named.
  std::string certificateAuthorityFile;
  // When set, the body of a successful (2xx) response goes here as it arrives, on the
  // request layer's thread, instead of into the response's payload; offset counts the body
  // bytes before data. Returning false fails the transfer. The response's body size counts
  // the bytes either way.
  std::function<bool(std::uint64_t offset, const char* data, std::size_t size)> bodySink;
};

using CompletionFunction =
    boost::function<void(const kivcore::Guid& requestId, const boost::shared_ptr<Response>& response)>;

class RequestProcessor {
 public:
  RequestProcessor();
  ~RequestProcessor();
  RequestProcessor(const RequestProcessor&) = delete;
  RequestProcessor& operator=(const RequestProcessor&) = delete;

  // Starts a GET; false (and no completion) when it cannot start: a URL that is not an
  // absolute http or https URL (see URLProblem), an id that is already running, or a
  // processor that is shutting down.
  bool StartGet(const kivcore::Guid& requestId, const kivcore::ImmutableString& url,
                const HeaderMap& headers, const RequestOptions& options,
                CompletionFunction completion);
  // Stops a running request, which then reports kStatusCancelled. False when no such
  // request runs.
  bool Cancel(const kivcore::Guid& requestId);
  // Requests started and not yet finished or cancelled.
  std::size_t ActiveCount() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

// The process's shared request processor.
boost::shared_ptr<RequestProcessor> GetGlobalRequestProcessor();

}  // namespace kivnet::http
