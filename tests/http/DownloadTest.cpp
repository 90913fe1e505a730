// Downloads against the fault-injecting loopback server: whole files byte for byte,
// the size probe, redirects (relative ones too), retries with back-off, bad ranges, pause
// and resume (from the progress item too, and with a record that cannot be read), a
// changed ETag, the concurrency limit and cancelling (during the size probe and its
// back-off too).
#include "TestHttpServer.h"
#include "Wait.h"

#include "http/HTTPDownloadManager.h"
#include "services/core/DelayScale.h"
#include "services/core/FileUtils.h"
#include "services/core/JSON.h"
#include "services/core/Trace.h"
#include "../services/core/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <algorithm>
#include <mutex>
#include <set>
#include <thread>

using namespace kivtest;
using kivcore::ImmutableString;
using kivcore::filesupport::File;
using kivworkspace::http::HTTPDownloadManager;
using kivworkspace::http::HTTPDownloadStream;

namespace {

// A file served with Range and ETag, plus switches for faults.
struct FileServer {
  std::atomic<std::uint64_t> size{1'000'003};
  std::mutex mutex;
  std::string etag = "\"v1\"";
  std::atomic<int> rangeRequests{0};
  std::atomic<int> failuresLeft{0};   // answer this many requests with 503 first
  std::atomic<int> redirects{0};      // hops before /file
  std::atomic<bool> relativeRedirects{false};  // Location "hop2", "/file" instead of full URLs
  std::atomic<bool> holdProbe{false};  // keep size probes waiting until this is cleared
  std::atomic<int> probes{0};
  std::atomic<bool> ignoreRange{false};
  std::atomic<bool> noContentRange{false};
  std::atomic<bool> noLength{false};     // the probe's answer carries no size at all
  std::atomic<bool> shortRanges{false};  // ranges answered with one byte too few
  std::atomic<int> delayMs{0};        // before each range reply
  std::atomic<int> resetsLeft{0};     // reset this many range replies halfway
  std::atomic<int> rangesInFlight{0};
  std::vector<std::uint64_t> requestedStarts;  // guarded by mutex
  std::atomic<int> peakRanges{0};
  TestHttpServer server{[this](const HttpRequest& r) { return Reply(r); }};

  HttpReply Reply(const HttpRequest& r) {
    HttpReply reply;
    if (r.target.rfind("/hop", 0) == 0) {
      const int hop = std::stoi(r.target.substr(4));
      reply.status = 302;
      const std::string next = hop + 1 < redirects ? "hop" + std::to_string(hop + 1) : "/file";
      reply.headers = {{"Location", relativeRedirects ? next : server.Url(next[0] == '/' ? next : "/" + next)}};
      return reply;
    }
    if (const auto range = r.headers.find("range"); range != r.headers.end() && range->second == "bytes=0-0") {
      ++probes;
      // Bounded, so that a test that forgets to let go does not hang the server's teardown.
      for (int i = 0; holdProbe && i < 4000; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (failuresLeft > 0) {
      --failuresLeft;
      reply.status = 503;
      reply.body = "busy";
      return reply;
    }
    std::string etagNow;
    {
      std::lock_guard lock(mutex);
      etagNow = etag;
    }
    reply.headers.push_back({"ETag", etagNow});
    const auto range = r.headers.find("range");
    if (range == r.headers.end() || ignoreRange) {
      reply.body = TestHttpServer::DeterministicBytes(0, size);
      return reply;
    }
    const auto [a, b] = TestHttpServer::ParseRange(range->second);
    const bool isRange = a != 0 || b != 0;
    if (isRange) {
      ++rangeRequests;
      {
        std::lock_guard lock(mutex);
        requestedStarts.push_back(a);
      }
      const int now = ++rangesInFlight;
      for (int p = peakRanges.load(); now > p && !peakRanges.compare_exchange_weak(p, now);) {}
      if (delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
      --rangesInFlight;
    }
    reply.status = 206;
    if (noLength && !isRange) {
      reply.declaredLength = -1;
      reply.body.clear();
      reply.headers.push_back({"X-Note", "no size"});
    }
    if (!noContentRange && !(noLength && !isRange)) {
      reply.headers.push_back({"Content-Range", "bytes " + std::to_string(a) + "-" + std::to_string(b) + "/" + std::to_string(size)});
    }
    reply.body = TestHttpServer::DeterministicBytes(a, static_cast<std::size_t>(std::min<std::uint64_t>(b, size - 1) - a + 1));
    if (isRange && shortRanges) reply.body.pop_back();
    if (noLength && !isRange) reply.body.clear();
    if (isRange && resetsLeft > 0) {
      --resetsLeft;
      reply.resetAfterBodyBytes = static_cast<long>(reply.body.size() / 2);
    }
    return reply;
  }

  ImmutableString Url(const std::string& path = "/file") const {
    return ImmutableString::CreateDynamic(server.Url(path));
  }
};

std::string FailureText(const boost::shared_ptr<HTTPDownloadStream>& s) {
  return s->Failed() ? s->Failed()->GetPayload() : std::string();
}

// A manager whose record store a test can write to, as a pause does.
struct RecordStoreManager : HTTPDownloadManager {
  using HTTPDownloadManager::HTTPDownloadManager;
  using HTTPDownloadManager::PauseDownload;
};

boost::shared_ptr<void> RecordBuffer(const std::string& json) {
  auto buffer = boost::shared_ptr<char[]>(new char[json.size() + 1]);
  std::memcpy(buffer.get(), json.c_str(), json.size() + 1);
  return boost::shared_ptr<void>(buffer, buffer.get());
}

struct Downloads : ::testing::Test {
  TempDir dir;
  FileServer files;
  boost::shared_ptr<HTTPDownloadManager> manager = boost::make_shared<HTTPDownloadManager>(4, 65536);

  // Ranges of a failed download still run to their end, those still queued at the
  // semaphore too: let them finish while the server is there, so that nothing is left in
  // flight when the manager goes. A stream lives until its last range is done; between
  // two ranges the processor may be idle for a moment.
  void TearDown() override {
    files.delayMs = 0;
    for (const auto& s : downloads) EXPECT_TRUE(WaitUntil([&] { return s.expired(); }));
    EXPECT_TRUE(WaitUntil([] { return kivnet::http::GetGlobalRequestProcessor()->ActiveCount() == 0; }));
  }

  std::vector<boost::weak_ptr<HTTPDownloadStream>> downloads;

  boost::shared_ptr<HTTPDownloadStream> Download(const std::string& name, const std::string& path = "/file") {
    auto s = manager->NewDownload(files.Url(path), File(dir / name), {}, true);
    downloads.push_back(s);
    EXPECT_TRUE(WaitUntil([&] { return s->IsDone(); })) << "the download did not end";
    return s;
  }
};

}  // namespace

TEST_F(Downloads, AWholeFileArrivesByteForByte) {
  std::vector<float> progress;
  std::mutex mutex;
  auto s = manager->NewDownload(files.Url(), File(dir / "clip.mov"), {}, false);
  // Ranges finish on the I/O executor's threads: the count is shared between them.
  std::atomic<int> stateChanges{0};
  manager->GetStateChangedSignal().connect([&](auto&, auto&) { ++stateChanges; });
  s->StartDownload();
  s->GetProgressItem()->Changed().connect([&](const kivui::utility::ProgressItem& item) {
    std::lock_guard lock(mutex);
    progress.push_back(item.GetProgress());
  });
  ASSERT_TRUE(WaitUntil([&] { return s->IsDone(); }));
  EXPECT_TRUE(s->Succeeded()) << FailureText(s);
  EXPECT_TRUE(Slurp(dir / "clip.mov") == TestHttpServer::DeterministicBytes(0, files.size));
  EXPECT_FALSE(File(dir / "clip.mov.download.bin").Exists());
  EXPECT_EQ(files.rangeRequests.load(), 16);  // ceil(1,000,003 / 65,536)
  EXPECT_EQ(stateChanges.load(), 16);
  EXPECT_FLOAT_EQ(s->Progress(), 1.0f);
  std::lock_guard lock(mutex);
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back(), 1.0f);
  // Full only at the end (the completion reports it, then the item's state).
  while (!progress.empty() && progress.back() == 1.0f) progress.pop_back();
  for (float p : progress) EXPECT_LE(p, 0.99f);
  EXPECT_EQ(s->GetProgressItem()->GetState(), kivui::utility::ProgressItem::kCompleted) << "the finished item is done";
  EXPECT_THROW(s->StartDownload(), std::runtime_error);
  EXPECT_TRUE(manager->GetActiveDownloads().empty());
}

TEST_F(Downloads, SizeFromContentLengthAndEmptyFiles) {
  files.noContentRange = true;  // the probe's answer has only Content-Length: 1
  auto s = Download("a.bin");
  EXPECT_EQ(FailureText(s), "") << "size 1 from Content-Length";
  files.size = 0;
  files.noContentRange = false;
  auto empty = Download("b.bin");
  EXPECT_FALSE(empty->Succeeded());
  EXPECT_EQ(FailureText(empty), "outSize <= 0");
}

TEST_F(Downloads, ThreeRedirectsAreFollowedAndFourAreTooMany) {
  files.size = 5000;
  files.redirects = 3;
  auto ok = Download("ok.bin", "/hop0");
  EXPECT_TRUE(ok->Succeeded()) << FailureText(ok);
  EXPECT_TRUE(Slurp(dir / "ok.bin") == TestHttpServer::DeterministicBytes(0, 5000));
  files.redirects = 4;
  auto tooMany = Download("no.bin", "/hop0");
  EXPECT_EQ(FailureText(tooMany), "too many redirects");
  // Relative to the URL that answered: "hop1" from /hop0, then "/file".
  files.relativeRedirects = true;
  files.redirects = 3;
  auto relative = Download("rel.bin", "/hop0");
  EXPECT_TRUE(relative->Succeeded()) << FailureText(relative);
  EXPECT_TRUE(Slurp(dir / "rel.bin") == TestHttpServer::DeterministicBytes(0, 5000));
}

TEST_F(Downloads, FailuresAreRetriedWithBackOffThenGiveUp) {
  const double oldScale = kivcore::threads::GetDelayScale();
  kivcore::threads::SetDelayScaleForTesting(0.002);  // 2 s becomes 4 ms
  files.size = 1000;
  files.failuresLeft = 5;  // the probe is retried five times and then succeeds
  auto t0 = std::chrono::steady_clock::now();
  auto ok = Download("retried.bin");
  const auto took = std::chrono::steady_clock::now() - t0;
  EXPECT_TRUE(ok->Succeeded()) << FailureText(ok);
  EXPECT_GE(took, std::chrono::milliseconds(124)) << "2+4+8+16+32 s scaled";
  files.failuresLeft = 6;  // one more than the retries
  auto failed = Download("failed.bin");
  ASSERT_TRUE(failed->Failed());
  EXPECT_EQ(failed->Failed()->GetStatusCode(), 503);
  kivcore::threads::SetDelayScaleForTesting(oldScale);
}

TEST_F(Downloads, ARangeOfTheWrongLengthFailsTheDownload) {
  files.ignoreRange = true;  // 200 with the whole body for every range
  auto s = Download("whole.bin");
  EXPECT_EQ(FailureText(s), "inBodySize != inSize");
  EXPECT_FALSE(File(dir / "whole.bin").Exists());
}

TEST_F(Downloads, APausedDownloadResumesWithTheMissingRangesOnly) {
  files.delayMs = 30;
  auto s = manager->NewDownload(files.Url(), File(dir / "big.bin"), {}, true);
  ASSERT_TRUE(WaitUntil([&] { return s->GetDownloadedSize() >= 4 * 65536; }));
  auto paused = s->PauseDownload();
  ASSERT_TRUE(paused);
  EXPECT_EQ(manager->GetPausedDownloads(), (std::vector<boost::shared_ptr<HTTPDownloadStream>>{paused}));
  ASSERT_TRUE(WaitUntil([&] { return manager->GetActiveDownloads().empty(); }));
  EXPECT_TRUE(File(dir / "big.bin.download.bin").Exists()) << "the partial file is kept";
  const auto record = kivcore::utility::JSONParse(manager->GetPausedRecord(paused));
  ASSERT_TRUE(record);
  std::set<std::uint64_t> completeStarts;
  for (const auto& c : record->as_object().at("mChunks").as_array()) {
    if (c.as_object().at("mComplete").as_bool()) {
      completeStarts.insert(c.as_object().at("mStartByte").to_number<std::uint64_t>());
    }
  }
  ASSERT_FALSE(completeStarts.empty());
  {
    std::lock_guard lock(files.mutex);
    files.requestedStarts.clear();
  }

  files.delayMs = 0;
  manager->ResumeDownload(paused, true);
  ASSERT_TRUE(WaitUntil([&] { return paused->IsDone(); }));
  EXPECT_TRUE(paused->Succeeded()) << FailureText(paused);
  std::lock_guard lock(files.mutex);
  for (const std::uint64_t start : files.requestedStarts) {
    EXPECT_FALSE(completeStarts.count(start)) << "the finished range at " << start << " was fetched again";
  }
  EXPECT_TRUE(Slurp(dir / "big.bin") == TestHttpServer::DeterministicBytes(0, files.size));
}

TEST_F(Downloads, TheProgressItemPausesAndResumesAndAnUnreadableRecordStaysPaused) {
  auto records = boost::make_shared<RecordStoreManager>(4, 65536);
  manager = records;
  files.delayMs = 30;
  auto s = manager->NewDownload(files.Url(), File(dir / "p.bin"), {}, true);
  ASSERT_TRUE(WaitUntil([&] { return s->GetDownloadedSize() >= 2 * 65536; }));
  const auto item = s->GetProgressItem();
  item->RequestPauseResume();  // the progress panel's pause button
  ASSERT_EQ(manager->GetPausedDownloads().size(), 1u);
  const auto paused = manager->GetPausedDownloads().front();
  ASSERT_TRUE(WaitUntil([&] { return manager->GetActiveDownloads().empty(); }));
  EXPECT_EQ(paused->GetProgressItem(), item) << "the item moves to the paused download";
  EXPECT_EQ(item->GetState(), kivui::utility::ProgressItem::kPaused) << "not cancelled by the old stream";
  EXPECT_EQ(kivcore::UTF16to8(item->GetStatusMessage()), "");

  // A record that cannot be read: the error reaches the caller, the download stays paused.
  const std::string good = manager->GetPausedRecord(paused);
  for (const char* bad : {"{\"mUrl\": 42}", "not json", "{}"}) {
    records->PauseDownload(paused, RecordBuffer(bad));
    EXPECT_THROW(manager->ResumeDownload(paused, true), std::exception) << bad;
    EXPECT_EQ(manager->GetPausedDownloads().size(), 1u) << bad;
    EXPECT_TRUE(manager->GetActiveDownloads().empty()) << bad;
  }
  // From the panel: nothing escapes to the UI, and the item says why it stays paused.
  item->RequestPauseResume();
  EXPECT_EQ(manager->GetPausedDownloads().size(), 1u);
  EXPECT_EQ(item->GetState(), kivui::utility::ProgressItem::kPaused);
  EXPECT_EQ(kivcore::UTF16to8(item->GetStatusMessage()).rfind("Cannot resume: ", 0), 0u)
      << kivcore::UTF16to8(item->GetStatusMessage());

  records->PauseDownload(paused, RecordBuffer(good));
  files.delayMs = 0;
  item->RequestPauseResume();  // the progress panel's resume button
  ASSERT_TRUE(WaitUntil([&] { return paused->IsDone(); }));
  EXPECT_TRUE(paused->Succeeded()) << FailureText(paused);
  EXPECT_TRUE(manager->GetPausedDownloads().empty());
  EXPECT_EQ(item->GetProgress(), 1.0f);
  EXPECT_TRUE(Slurp(dir / "p.bin") == TestHttpServer::DeterministicBytes(0, files.size));
}

TEST_F(Downloads, AChangedETagStopsTheResumeAndKeepsThePartialFile) {
  files.delayMs = 30;
  auto s = manager->NewDownload(files.Url(), File(dir / "e.bin"), {}, true);
  ASSERT_TRUE(WaitUntil([&] { return s->GetDownloadedSize() >= 65536; }));
  auto paused = s->PauseDownload();
  ASSERT_TRUE(WaitUntil([&] { return manager->GetActiveDownloads().empty(); }));
  {
    std::lock_guard lock(files.mutex);
    files.etag = "\"v2\"";
  }
  manager->ResumeDownload(paused, true);
  ASSERT_TRUE(WaitUntil([&] { return paused->IsDone(); }));
  EXPECT_EQ(FailureText(paused), "resume failed due to ETag mismatch");
  EXPECT_TRUE(File(dir / "e.bin.download.bin").Exists());
}

TEST_F(Downloads, TheConcurrencyLimitHoldsAcrossDownloads) {
  manager = boost::make_shared<HTTPDownloadManager>(2, 65536);
  files.delayMs = 10;
  std::vector<boost::shared_ptr<HTTPDownloadStream>> streams;
  for (int i = 0; i < 3; ++i) streams.push_back(manager->NewDownload(files.Url(), File(dir / ("c" + std::to_string(i))), {}, true));
  for (auto& s : streams) ASSERT_TRUE(WaitUntil([&] { return s->IsDone(); }));
  for (auto& s : streams) EXPECT_TRUE(s->Succeeded()) << FailureText(s);
  EXPECT_EQ(files.peakRanges.load(), 2) << "range requests in flight at once, across all three";
}

TEST_F(Downloads, CancellingLeavesNoPartialFile) {
  files.delayMs = 50;
  auto s = manager->NewDownload(files.Url(), File(dir / "x.bin"), {}, true);
  ASSERT_TRUE(WaitUntil([&] { return s->GetDownloadedSize() > 0; }));
  s->CancelDownload();
  ASSERT_TRUE(WaitUntil([&] { return s->IsDone(); }));
  EXPECT_FALSE(s->Succeeded());
  s.reset();
  ASSERT_TRUE(WaitUntil([&] { return manager->GetActiveDownloads().empty(); }));
  EXPECT_TRUE(WaitUntil([&] { return !File(dir / "x.bin.download.bin").Exists(); }, 10));
  EXPECT_FALSE(File(dir / "x.bin").Exists());
  EXPECT_TRUE(manager->FlushAllDownloads());
}

// A download whose partial file cannot be made fails to start with the error, and is not
// left among the active downloads (where a flush would wait for it).
TEST_F(Downloads, ADownloadThatCannotStartIsNotActive) {
  EXPECT_ANY_THROW(manager->NewDownload(files.Url(), File(dir / "missing" / "x.bin"), {}, true));
  EXPECT_TRUE(manager->GetActiveDownloads().empty());
  EXPECT_TRUE(manager->FlushAllDownloads());
}

TEST_F(Downloads, CancelStopsTheSizeProbeAndItsBackOffAtOnce) {
  // The probe is on its way: the server holds it.
  files.holdProbe = true;
  auto held = manager->NewDownload(files.Url(), File(dir / "held.bin"), {}, true);
  ASSERT_TRUE(WaitUntil([&] { return files.probes >= 1; }));
  held->GetProgressItem()->RequestCancel();  // the progress panel's cancel button
  EXPECT_TRUE(WaitUntil([&] { return held->IsDone(); }, 10)) << "the chain still waits for the probe";
  EXPECT_EQ(FailureText(held), "cancel");
  EXPECT_TRUE(manager->GetActiveDownloads().empty());
  files.holdProbe = false;
  const boost::weak_ptr<HTTPDownloadStream> heldWeak = held;
  held.reset();
  EXPECT_TRUE(WaitUntil([&] { return heldWeak.expired(); }, 10));
  EXPECT_FALSE(File(dir / "held.bin.download.bin").Exists());
  EXPECT_FALSE(File(dir / "held.bin").Exists()) << "the download went on after the cancel";
  EXPECT_EQ(files.rangeRequests.load(), 0);

  // The probe failed and waits 200 s (scaled) for its next attempt: flushing ends it now,
  // with nothing left waiting that holds the stream or its partial file.
  const double oldScale = kivcore::threads::GetDelayScale();
  kivcore::threads::SetDelayScaleForTesting(100);
  files.failuresLeft = 1000;
  auto waiting = manager->NewDownload(files.Url(), File(dir / "waiting.bin"), {}, false);
  std::atomic<int> retries{0};
  waiting->GetRetrySignal().connect([&](const HTTPDownloadStream::RetryNotice& n) {
    EXPECT_EQ(n.reason, "HTTP 503");
    EXPECT_EQ(n.attempt, 1);
    EXPECT_EQ(n.delaySeconds, 2);
    ++retries;
  });
  waiting->StartDownload();
  ASSERT_TRUE(WaitUntil([&] { return retries == 1; }));
  const int requests = files.server.RequestCount();
  EXPECT_TRUE(manager->FlushAllDownloads());
  EXPECT_TRUE(waiting->IsDone());
  EXPECT_EQ(FailureText(waiting), "cancel");
  const boost::weak_ptr<HTTPDownloadStream> waitingWeak = waiting;
  waiting.reset();
  EXPECT_TRUE(WaitUntil([&] { return waitingWeak.expired(); }, 10)) << "the back-off still holds the stream";
  EXPECT_FALSE(File(dir / "waiting.bin.download.bin").Exists());
  EXPECT_EQ(files.server.RequestCount(), requests) << "a cancelled request was tried again";
  kivcore::threads::SetDelayScaleForTesting(oldScale);
  files.failuresLeft = 0;
}

TEST_F(Downloads, AResetRangeIsFetchedAgainAndA404Fails) {
  const double oldScale = kivcore::threads::GetDelayScale();
  kivcore::threads::SetDelayScaleForTesting(0.001);
  files.resetsLeft = 3;
  auto s = Download("reset.bin");
  EXPECT_TRUE(s->Succeeded()) << FailureText(s);
  EXPECT_TRUE(Slurp(dir / "reset.bin") == TestHttpServer::DeterministicBytes(0, files.size));
  EXPECT_EQ(files.rangeRequests.load(), 16 + 3);
  kivcore::threads::SetDelayScaleForTesting(oldScale);

  TestHttpServer missing([](const HttpRequest&) {
    HttpReply reply;
    reply.status = 404;
    reply.body = "gone";
    return reply;
  });
  auto m = manager->NewDownload(ImmutableString::CreateDynamic(missing.Url("/x")), File(dir / "x"), {}, true);
  ASSERT_TRUE(WaitUntil([&] { return m->IsDone(); }));
  ASSERT_TRUE(m->Failed());
  EXPECT_EQ(m->Failed()->GetStatusCode(), 404);
  EXPECT_EQ(m->GetProgressItem()->GetState(), kivui::utility::ProgressItem::kEnded);
  EXPECT_EQ(kivcore::UTF16to8(m->GetProgressItem()->GetStatusMessage()), "Failed: gone");
}

TEST_F(Downloads, ProgressAndErrorsGoToTheTraceChannel) {
  std::vector<std::string> lines;
  std::mutex mutex;
  kivcore::debug::SetTraceLevel("DownloadManager", 5);
  kivcore::debug::SetTraceSink([&](const std::string& line) {
    std::lock_guard lock(mutex);
    lines.push_back(line);
  });
  files.size = 100;
  auto s = Download("t.bin");
  kivcore::debug::SetTraceSink(nullptr);
  kivcore::debug::SetTraceLevel("DownloadManager", 0);
  std::lock_guard lock(mutex);
  auto has = [&](const std::string& piece) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(piece) != std::string::npos; });
  };
  EXPECT_TRUE(has("> <DownloadManager> <5> StartDownload: "));
  EXPECT_TRUE(has("HandleGetAssetSize, status_code: 206, requestUID: "));
  EXPECT_TRUE(has("HandleGetRangePayload[0/1], status_code: 206"));
  EXPECT_TRUE(has("> <DownloadManager> <5> Rename: "));
}

TEST_F(Downloads, ShortRangesAndAProbeWithoutASizeFail) {
  files.shortRanges = true;
  auto s = Download("short.bin");
  EXPECT_EQ(FailureText(s), "inBodySize != inSize");
  files.shortRanges = false;
  files.noLength = true;  // no Content-Range, and a Content-Length of 0
  auto unknown = Download("unknown.bin");
  EXPECT_EQ(FailureText(unknown), "outSize <= 0");
}
