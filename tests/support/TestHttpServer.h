#pragma once
// An HTTP server on 127.0.0.1 for tests, with faults on request: every reply comes from a
// handler the test gives, and a reply can reset the connection after some bytes, stall,
// or send a body shorter than its Content-Length. It counts the requests it has seen and
// the most that were open at once.

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kivtest {

struct HttpRequest {
  std::string target;                          // path and query
  std::map<std::string, std::string> headers;  // names in lower case
};

struct HttpReply {
  int status = 200;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  // Faults.
  long resetAfterBodyBytes = -1;  // close the connection after this many body bytes
  int stallMs = 0;                // wait this long after the headers before the body
  long declaredLength = -1;       // Content-Length to announce instead of the body's size
};

class TestHttpServer {
 public:
  using Handler = std::function<HttpReply(const HttpRequest&)>;

  explicit TestHttpServer(Handler handler);
  ~TestHttpServer();
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  std::uint16_t Port() const;
  // "http://127.0.0.1:port" + path.
  std::string Url(const std::string& path) const;
  int RequestCount() const { return requests_; }
  int PeakConcurrentRequests() const { return peak_; }

  // The first and last byte of a "bytes=a-b" Range header value.
  static std::pair<std::uint64_t, std::uint64_t> ParseRange(const std::string& value);
  // A body where every byte is a function of its offset, so a misplaced byte shows.
  static std::string DeterministicBytes(std::uint64_t offset, std::size_t length);

 private:
  class Impl;
  // The counters come first: the server's threads, started with impl_, count at once.
  std::atomic<int> requests_{0};
  std::atomic<int> open_{0};
  std::atomic<int> peak_{0};
  std::unique_ptr<Impl> impl_;
  friend class Impl;
};

}  // namespace kivtest
