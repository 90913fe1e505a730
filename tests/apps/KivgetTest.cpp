// kivget end to end, as a separate process against the loopback test server: a whole
// download, a download killed with SIGKILL and run again, Ctrl-C and resume, and errors.
#include "TestHttpServer.h"
#include "Wait.h"

#include "../services/core/TempDir.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

extern char** environ;

using namespace kivtest;

namespace {

constexpr std::uint64_t kSize = 3'000'000;
constexpr int kChunk = 65536;  // 46 ranges

struct RangeServer {
  std::atomic<int> ranges{0};
  std::atomic<int> delayMs{0};
  TestHttpServer server{[this](const HttpRequest& r) {
    HttpReply reply;
    if (r.target == "/missing") {
      reply.status = 404;
      reply.body = "not here";
      return reply;
    }
    reply.headers = {{"ETag", "\"k1\""}};
    const auto [a, b] = TestHttpServer::ParseRange(r.headers.at("range"));
    if (b > 0) {
      ++ranges;
      std::this_thread::sleep_for(std::chrono::milliseconds(delayMs.load()));
    }
    reply.status = 206;
    reply.headers.push_back({"Content-Range", "bytes " + std::to_string(a) + "-" + std::to_string(b) + "/" + std::to_string(kSize)});
    reply.body = TestHttpServer::DeterministicBytes(a, static_cast<std::size_t>(b - a + 1));
    return reply;
  }};
};

pid_t Spawn(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  EXPECT_EQ(::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
  return pid;
}

int Wait(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Completed ranges according to the record on disk.
int CompletedInRecord(const std::filesystem::path& record) {
  const std::string text = Slurp(record);
  int count = 0;
  for (std::size_t at = 0; (at = text.find("\"mComplete\":true", at)) != std::string::npos; ++at) ++count;
  return count;
}

struct Kivget : ::testing::Test {
  TempDir dir;
  RangeServer files;
  std::filesystem::path out = dir / "take.mov";
  std::filesystem::path record = dir / "take.mov.download.json";
  std::vector<std::string> Command() const {
    return {KIVGET_PATH, files.server.Url("/take.mov"), "-o", out.string(), "-c", "2",
            "--chunk-size", std::to_string(kChunk)};
  }
};

}  // namespace

TEST_F(Kivget, DownloadsAFileAndCleansUp) {
  EXPECT_EQ(Wait(Spawn(Command())), 0);
  EXPECT_TRUE(Slurp(out) == TestHttpServer::DeterministicBytes(0, kSize));
  EXPECT_FALSE(std::filesystem::exists(record));
  EXPECT_FALSE(std::filesystem::exists(dir / "take.mov.download.bin"));
}

TEST_F(Kivget, AKilledDownloadResumesWithoutFetchingFinishedRanges) {
  files.delayMs = 20;
  const pid_t pid = Spawn(Command());
  ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(record) && CompletedInRecord(record) >= 5; }));
  ::kill(pid, SIGKILL);
  EXPECT_EQ(Wait(pid), 128 + SIGKILL);
  const int done = CompletedInRecord(record);
  ASSERT_TRUE(std::filesystem::exists(dir / "take.mov.download.bin"));
  files.delayMs = 0;
  const int before = files.ranges;
  EXPECT_EQ(Wait(Spawn(Command())), 0);
  EXPECT_TRUE(Slurp(out) == TestHttpServer::DeterministicBytes(0, kSize)) << "not byte-exact";
  EXPECT_LE(files.ranges - before, 46 - done) << "finished ranges were fetched again";
}

TEST_F(Kivget, InterruptPausesAndTheSameCommandResumes) {
  files.delayMs = 20;
  const pid_t pid = Spawn(Command());
  ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(record) && CompletedInRecord(record) >= 3; }));
  ::kill(pid, SIGINT);
  EXPECT_EQ(Wait(pid), 130);
  ASSERT_TRUE(std::filesystem::exists(record));
  files.delayMs = 0;
  EXPECT_EQ(Wait(Spawn(Command())), 0);
  EXPECT_TRUE(Slurp(out) == TestHttpServer::DeterministicBytes(0, kSize));
}

TEST_F(Kivget, ErrorsExitNonZero) {
  EXPECT_EQ(Wait(Spawn({KIVGET_PATH, files.server.Url("/missing"), "-o", (dir / "m").string()})), 1);
  EXPECT_EQ(Wait(Spawn({KIVGET_PATH, files.server.Url("/x"), "--chunk-size", "0"})), 2);
  EXPECT_NE(Wait(Spawn({KIVGET_PATH})), 0) << "the URL is required";
}
