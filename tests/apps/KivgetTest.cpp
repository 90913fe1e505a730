// kivget end to end, as a separate process against the loopback test server: a whole
// download, a download killed with SIGKILL and run again, Ctrl-C and SIGTERM and resume
// (from another folder too), what is refused before any request, retries told on stderr,
// and errors. Retry back-off is scaled down through KIV_DELAY_SCALE.
#include "TestHttpServer.h"
#include "Wait.h"

#include "../services/core/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

extern char** environ;

using namespace kivtest;

namespace {

constexpr std::uint64_t kSize = 3'000'000;
constexpr int kChunk = 65536;  // 46 ranges

struct RangeServer {
  std::atomic<int> ranges{0};
  std::atomic<int> delayMs{0};
  std::atomic<int> busyLeft{0};        // answer this many requests with 503 first
  std::atomic<bool> holdProbe{false};  // keep size probes waiting until this is cleared
  TestHttpServer server{[this](const HttpRequest& r) {
    HttpReply reply;
    if (r.target == "/missing") {
      reply.status = 404;
      reply.body = "not here";
      return reply;
    }
    if (busyLeft > 0) {
      --busyLeft;
      reply.status = 503;
      reply.body = "busy";
      return reply;
    }
    reply.headers = {{"ETag", "\"k1\""}};
    const auto [a, b] = TestHttpServer::ParseRange(r.headers.at("range"));
    // Bounded, so that a test that forgets to let go does not hang the server's teardown.
    for (int i = 0; b == 0 && holdProbe && i < 4000; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
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

// Starts kivget with args, in folder cwd when given, its stderr going to the file errors
// when given (so it is not a terminal), and retries waiting milliseconds instead of seconds.
pid_t Spawn(const std::vector<std::string>& args, const std::filesystem::path& errors = {},
            const std::filesystem::path& cwd = {}) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<std::string> env{"KIV_DELAY_SCALE=0.001"};
  for (char** e = environ; *e; ++e) env.emplace_back(*e);
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  if (!cwd.empty()) ::posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
  if (!errors.empty()) {
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  }
  pid_t pid = 0;
  EXPECT_EQ(::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()), 0);
  ::posix_spawn_file_actions_destroy(&actions);
  return pid;
}

int Wait(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::vector<std::string> Lines(const std::filesystem::path& file) {
  std::vector<std::string> lines;
  std::istringstream in(Slurp(file));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool Contains(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

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
  std::filesystem::path errors = dir / "stderr.txt";
  std::vector<std::string> Command() const {
    return {KIVGET_PATH, files.server.Url("/take.mov"), "-o", out.string(), "-c", "2",
            "--chunk-size", std::to_string(kChunk)};
  }
  // What the download left in dir, besides the captured stderr.
  std::set<std::string> Left() const {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) names.insert(e.path().filename().string());
    names.erase(errors.filename().string());
    return names;
  }
};

}  // namespace

TEST_F(Kivget, DownloadsAFileAndCleansUp) {
  EXPECT_EQ(Wait(Spawn(Command(), errors)), 0);
  EXPECT_TRUE(Slurp(out) == TestHttpServer::DeterministicBytes(0, kSize));
  EXPECT_EQ(Left(), std::set<std::string>{"take.mov"});
  // Off a terminal: plain progress lines, never the same line twice.
  std::vector<std::string> progress;
  for (const auto& line : Lines(errors)) {
    if (Contains(line, " bytes")) progress.push_back(line);
  }
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back(), "100.0% 3000000/3000000 bytes");
  for (std::size_t i = 1; i < progress.size(); ++i) EXPECT_NE(progress[i], progress[i - 1]);
  EXPECT_EQ(Lines(errors).back(), "kivget: saved " + out.string());
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

TEST_F(Kivget, TerminatePausesLikeInterrupt) {
  // Stopped while the size probe is on its way: the record must exist all the same.
  files.holdProbe = true;
  const pid_t pid = Spawn(Command(), errors);
  ASSERT_TRUE(WaitUntil([&] { return files.server.RequestCount() >= 1; }));
  ::kill(pid, SIGTERM);
  EXPECT_EQ(Wait(pid), 128 + SIGTERM);
  files.holdProbe = false;
  EXPECT_EQ(Lines(errors).back(), "kivget: paused; run the same command again to resume");
  EXPECT_EQ(Left(), (std::set<std::string>{"take.mov.download.bin", "take.mov.download.json"}));
  EXPECT_EQ(Wait(Spawn(Command(), errors)), 0);
  EXPECT_TRUE(Contains(Slurp(errors), "kivget: resuming from " + record.string()));
  EXPECT_TRUE(Slurp(out) == TestHttpServer::DeterministicBytes(0, kSize));
  EXPECT_EQ(Left(), std::set<std::string>{"take.mov"});
}

TEST_F(Kivget, AResumeFromAnotherFolderFinishesTheFileWhereItWasStarted) {
  const auto first = dir / "first", second = dir / "second";
  std::filesystem::create_directories(first);
  std::filesystem::create_directories(second);
  files.delayMs = 20;
  // The default output, take.mov, is relative to the first folder.
  const pid_t pid = Spawn({KIVGET_PATH, files.server.Url("/take.mov"), "-c", "2", "--chunk-size",
                           std::to_string(kChunk)},
                          errors, first);
  const auto firstRecord = first / "take.mov.download.json";
  ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(firstRecord) && CompletedInRecord(firstRecord) >= 3; }));
  ::kill(pid, SIGINT);
  EXPECT_EQ(Wait(pid), 130);
  EXPECT_TRUE(Contains(Slurp(firstRecord), "\"mOutput\":\"" + (first / "take.mov").string() + "\""))
      << "the record names full paths: " << Slurp(firstRecord);
  const int done = CompletedInRecord(firstRecord);
  files.delayMs = 0;
  const int before = files.ranges;
  EXPECT_EQ(Wait(Spawn({KIVGET_PATH, files.server.Url("/take.mov"), "-o", (first / "take.mov").string(), "-c", "2",
                        "--chunk-size", std::to_string(kChunk)},
                       errors, second)),
            0);
  EXPECT_TRUE(Contains(Slurp(errors), "kivget: resuming from")) << Slurp(errors);
  EXPECT_LE(files.ranges - before, 46 - done) << "finished ranges were fetched again";
  EXPECT_TRUE(Slurp(first / "take.mov") == TestHttpServer::DeterministicBytes(0, kSize));
  EXPECT_TRUE(std::filesystem::is_empty(second));
}

TEST_F(Kivget, WhatCannotWorkIsRefusedBeforeAnyRequest) {
  const std::string url = files.server.Url("/take.mov");
  const auto refused = [&](const std::vector<std::string>& args, const std::string& message) {
    std::vector<std::string> command{KIVGET_PATH};
    command.insert(command.end(), args.begin(), args.end());
    EXPECT_EQ(Wait(Spawn(command, errors)), 2) << args[0];
    const auto lines = Lines(errors);
    EXPECT_EQ(lines.size(), 1u) << Slurp(errors);
    EXPECT_TRUE(!lines.empty() && Contains(lines.back(), message)) << Slurp(errors);
  };
  refused({"ht!tp://bad url", "-o", out.string()}, "'ht!tp://bad url': malformed URL");
  refused({"ftp://127.0.0.1/take.mov", "-o", out.string()}, "unsupported scheme 'ftp'");
  refused({url, "-o", (dir / "none" / "take.mov").string()}, "the folder " + (dir / "none").string() + " does not exist");
  // Nobody may create files in /proc, not even root.
  refused({url, "-o", "/proc/take.mov"}, "cannot write in /proc");
  refused({url, "-o", dir.path().string()}, "is a folder");
  refused({url, "-H", "no colon"}, "expected 'Name: value'");
  refused({url, "--chunk-size", "0"}, "invalid chunk size");
  EXPECT_EQ(Wait(Spawn({KIVGET_PATH}, errors)), 2) << "the URL is required";
  EXPECT_EQ(files.server.RequestCount(), 0);
  EXPECT_TRUE(Left().empty());
}

TEST_F(Kivget, EachRetryIsToldAndTheLastReasonEndsIt) {
  // Nothing listens on port 1.
  const std::string nowhere = "http://127.0.0.1:1/take.mov";
  EXPECT_EQ(Wait(Spawn({KIVGET_PATH, nowhere, "-o", out.string()}, errors)), 1);
  const std::vector<std::string> expected{
      "kivget: connection refused (attempt 1 of 6); retrying in 2 s",
      "kivget: connection refused (attempt 2 of 6); retrying in 4 s",
      "kivget: connection refused (attempt 3 of 6); retrying in 8 s",
      "kivget: connection refused (attempt 4 of 6); retrying in 16 s",
      "kivget: connection refused (attempt 5 of 6); retrying in 32 s",
      "kivget: " + nowhere + ": connection refused"};
  EXPECT_EQ(Lines(errors), expected) << "and no progress lines while nothing moves";
  EXPECT_TRUE(Left().empty());

  // The .invalid top-level domain never resolves.
  EXPECT_EQ(Wait(Spawn({KIVGET_PATH, "http://no-such-host.invalid/take.mov", "-o", out.string()}, errors)), 1);
  EXPECT_EQ(Lines(errors).front(), "kivget: unknown host (attempt 1 of 6); retrying in 2 s");
  EXPECT_EQ(Lines(errors).back(), "kivget: http://no-such-host.invalid/take.mov: unknown host");

  // A busy server that recovers.
  files.busyLeft = 2;
  EXPECT_EQ(Wait(Spawn(Command(), errors)), 0);
  const auto lines = Lines(errors);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "kivget: HTTP 503 (attempt 1 of 6); retrying in 2 s");
  EXPECT_EQ(lines[1], "kivget: HTTP 503 (attempt 2 of 6); retrying in 4 s");
  EXPECT_EQ(lines.back(), "kivget: saved " + out.string());
  EXPECT_TRUE(Slurp(out) == TestHttpServer::DeterministicBytes(0, kSize));
}

TEST_F(Kivget, ErrorsExitNonZero) {
  EXPECT_EQ(Wait(Spawn({KIVGET_PATH, files.server.Url("/missing"), "-o", (dir / "m").string()}, errors)), 1);
  EXPECT_EQ(Lines(errors).back(), "kivget: " + files.server.Url("/missing") + ": HTTP 404 not here");
}
