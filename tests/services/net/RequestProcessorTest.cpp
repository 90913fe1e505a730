// The HTTP request processor against a local server: statuses, headers, bodies, transport
// failures as status 0 with their reasons, stalls, cancellation and many requests at once;
// and the URL checks and redirect resolution the request layer relies on.
#include "TestHttpServer.h"

#include "services/net/RequestProcessor.h"
#include "services/net/URL.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

using namespace kivtest;
using kivcore::Guid;
using kivcore::ImmutableString;
using kivnet::Response;
using kivnet::http::HeaderMap;
using kivnet::http::RequestOptions;
using kivnet::http::RequestProcessor;

namespace {

// Collects completions and waits for them.
class Completions {
 public:
  kivnet::http::CompletionFunction Callback() {
    return [this](const Guid& id, const boost::shared_ptr<Response>& r) {
      std::lock_guard lock(mutex_);
      responses_[id] = r;
      ++count_;
      arrived_.notify_all();
    };
  }
  // Waits (at most 20 s) until n completions have arrived; the response for id, or null.
  boost::shared_ptr<Response> WaitFor(const Guid& id, std::size_t n = 1) {
    std::unique_lock lock(mutex_);
    EXPECT_TRUE(arrived_.wait_for(lock, std::chrono::seconds(20), [&] { return count_ >= n; }))
        << "no completion";
    return responses_[id];
  }
  std::size_t Count() {
    std::lock_guard lock(mutex_);
    return count_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::map<Guid, boost::shared_ptr<Response>> responses_;
  std::size_t count_ = 0;
};

ImmutableString Url(const TestHttpServer& server, const std::string& path) {
  return ImmutableString::CreateDynamic(server.Url(path));
}

}  // namespace

TEST(RequestProcessor, StatusHeadersAndBody) {
  TestHttpServer server([](const HttpRequest& r) {
    HttpReply reply;
    if (r.target == "/slow") {
      reply.stallMs = 300;
      reply.body = "slow";
      return reply;
    }
    if (r.target == "/missing") {
      reply.status = 404;
      reply.body = "no such file";
      return reply;
    }
    reply.status = r.headers.count("range") ? 206 : 200;
    reply.headers = {{"ETag", "\"v1\""}, {"Content-Range", "bytes 0-0/12345"}};
    reply.body = r.headers.count("range") ? "x" : TestHttpServer::DeterministicBytes(0, 100000);
    return reply;
  });
  RequestProcessor processor;
  Completions done;
  const Guid probe = Guid::CreateUnique();
  HeaderMap headers{{ImmutableString::CreateStatic("Range"), ImmutableString::CreateStatic("bytes=0-0")}};
  ASSERT_TRUE(processor.StartGet(probe, Url(server, "/file"), headers, {}, done.Callback()));
  auto r = done.WaitFor(probe);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->GetStatusCode(), 206);
  EXPECT_EQ(r->GetHeader("etag"), "\"v1\"");
  EXPECT_EQ(r->GetHeader("CONTENT-RANGE"), "bytes 0-0/12345");
  EXPECT_EQ(r->GetPayload(), "x");
  EXPECT_NE(r->GetHeaderText().find("ETag: \"v1\"\r\n"), std::string::npos);

  Completions more;
  const Guid whole = Guid::CreateUnique(), missing = Guid::CreateUnique();
  ASSERT_TRUE(processor.StartGet(whole, Url(server, "/file"), {}, {}, more.Callback()));
  ASSERT_TRUE(processor.StartGet(missing, Url(server, "/missing"), {}, {}, more.Callback()));
  auto wholeResponse = more.WaitFor(whole, 2);
  auto missingResponse = more.WaitFor(missing, 2);
  ASSERT_TRUE(wholeResponse && missingResponse);
  EXPECT_EQ(wholeResponse->GetPayload(), TestHttpServer::DeterministicBytes(0, 100000));
  EXPECT_EQ(missingResponse->GetStatusCode(), 404);
  EXPECT_EQ(missingResponse->GetPayload(), "no such file");
  for (const char* bad : {"", "ftp://127.0.0.1/x", "ht!tp://bad url", "127.0.0.1/x", "http://"}) {
    EXPECT_FALSE(processor.StartGet(Guid::CreateUnique(), ImmutableString::CreateDynamic(bad), {}, {},
                                    more.Callback()))
        << "'" << bad << "' cannot be requested";
  }

  Completions slow;
  const Guid once = Guid::CreateUnique();
  ASSERT_TRUE(processor.StartGet(once, Url(server, "/slow"), {}, {}, slow.Callback()));
  EXPECT_FALSE(processor.StartGet(once, Url(server, "/slow"), {}, {}, slow.Callback()))
      << "an id that is running cannot start again";
  EXPECT_EQ(processor.ActiveCount(), 1u);
  auto slowResponse = slow.WaitFor(once);
  ASSERT_TRUE(slowResponse);
  EXPECT_EQ(slowResponse->GetPayload(), "slow");
  EXPECT_EQ(processor.ActiveCount(), 0u);
}

TEST(RequestProcessor, TransportFailuresCompleteWithStatusZero) {
  TestHttpServer server([](const HttpRequest& r) {
    HttpReply reply;
    reply.body = TestHttpServer::DeterministicBytes(0, 50000);
    if (r.target == "/reset") reply.resetAfterBodyBytes = 1000;
    if (r.target == "/short") reply.declaredLength = 60000;
    if (r.target == "/stall") reply.stallMs = 3000;
    return reply;
  });
  RequestProcessor processor;
  Completions done;
  RequestOptions quick;
  quick.stallTimeoutMs = 1000;
  const Guid reset = Guid::CreateUnique(), shortBody = Guid::CreateUnique(),
             stall = Guid::CreateUnique(), refused = Guid::CreateUnique(),
             unknownHost = Guid::CreateUnique();
  ASSERT_TRUE(processor.StartGet(reset, Url(server, "/reset"), {}, quick, done.Callback()));
  ASSERT_TRUE(processor.StartGet(shortBody, Url(server, "/short"), {}, quick, done.Callback()));
  ASSERT_TRUE(processor.StartGet(stall, Url(server, "/stall"), {}, quick, done.Callback()));
  // Port 1 on loopback: nothing listens there.
  ASSERT_TRUE(processor.StartGet(refused, ImmutableString::CreateStatic("http://127.0.0.1:1/"), {},
                                 quick, done.Callback()));
  // The .invalid top-level domain never resolves.
  ASSERT_TRUE(processor.StartGet(unknownHost, ImmutableString::CreateStatic("http://no-such-host.invalid/"),
                                 {}, quick, done.Callback()));
  for (const Guid& id : {reset, shortBody, stall, refused, unknownHost}) {
    auto r = done.WaitFor(id, 5);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->GetStatusCode(), kivnet::kStatusTransportFailed);
    EXPECT_FALSE(r->GetPayload().empty()) << "the reason";
  }
  EXPECT_EQ(done.WaitFor(refused, 5)->GetPayload(), "connection refused");
  EXPECT_EQ(done.WaitFor(unknownHost, 5)->GetPayload(), "unknown host");
  EXPECT_EQ(done.WaitFor(stall, 5)->GetPayload(), "timed out");
}

TEST(URL, ProblemsAndRedirectTargets) {
  using kivnet::http::ResolveURL;
  using kivnet::http::URLProblem;
  EXPECT_EQ(URLProblem("http://example.com/a?b#c"), std::nullopt);
  EXPECT_EQ(URLProblem("HTTPS://example.com:8443/"), std::nullopt);
  EXPECT_EQ(URLProblem("ftp://example.com/file"), "unsupported scheme 'ftp'");
  EXPECT_EQ(URLProblem("ht!tp://bad url"), "malformed URL");
  EXPECT_EQ(URLProblem("example.com/file"), "malformed URL");

  const std::string base = "http://h:8080/dir/sub/file?q=1";
  EXPECT_EQ(ResolveURL(base, "other"), "http://h:8080/dir/sub/other");
  EXPECT_EQ(ResolveURL(base, "../up"), "http://h:8080/dir/up");
  EXPECT_EQ(ResolveURL(base, "/root?x=2"), "http://h:8080/root?x=2");
  EXPECT_EQ(ResolveURL(base, "//cdn.example/x"), "http://cdn.example/x");
  EXPECT_EQ(ResolveURL(base, "https://elsewhere/y"), "https://elsewhere/y");
  EXPECT_EQ(ResolveURL("not a url", "/x"), std::nullopt);

  using kivnet::http::FileNameFromURL;
  EXPECT_EQ(FileNameFromURL("http://h/clips/take.mov?token=1#t=3"), "take.mov");
  EXPECT_EQ(FileNameFromURL("http://h/clips/"), "index.html");
  EXPECT_EQ(FileNameFromURL("http://h"), "index.html") << "a host is no file name";
}

TEST(RequestProcessor, CancelledRequestsReportCancelledOnce) {
  TestHttpServer server([](const HttpRequest&) {
    HttpReply reply;
    reply.body = "late";
    reply.stallMs = 1500;
    return reply;
  });
  RequestProcessor processor;
  Completions done;
  const Guid cancelled = Guid::CreateUnique(), kept = Guid::CreateUnique();
  ASSERT_TRUE(processor.StartGet(cancelled, Url(server, "/a"), {}, {}, done.Callback()));
  ASSERT_TRUE(processor.StartGet(kept, Url(server, "/b"), {}, {}, done.Callback()));
  // Give both time to reach the server, then cancel one of them.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_TRUE(processor.Cancel(cancelled));
  auto cancelledResponse = done.WaitFor(cancelled);
  ASSERT_TRUE(cancelledResponse);
  EXPECT_EQ(cancelledResponse->GetStatusCode(), kivnet::kStatusCancelled);
  auto keptResponse = done.WaitFor(kept, 2);
  ASSERT_TRUE(keptResponse);
  EXPECT_EQ(keptResponse->GetPayload(), "late");
  EXPECT_FALSE(processor.Cancel(cancelled)) << "it has reported already";
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(done.Count(), 2u);
}

TEST(RequestProcessor, ManyRequestsAtOnce) {
  TestHttpServer server([](const HttpRequest& r) {
    HttpReply reply;
    reply.body = r.target;
    return reply;
  });
  RequestProcessor processor;
  Completions done;
  std::vector<Guid> ids;
  for (int i = 0; i < 40; ++i) {
    ids.push_back(Guid::CreateUnique());
    ASSERT_TRUE(processor.StartGet(ids.back(), Url(server, "/r" + std::to_string(i)), {}, {}, done.Callback()));
  }
  for (int i = 0; i < 40; ++i) {
    auto r = done.WaitFor(ids[i], 40);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->GetPayload(), "/r" + std::to_string(i));
  }
  EXPECT_EQ(server.RequestCount(), 40);
}
