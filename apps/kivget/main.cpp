// kivget: a resumable, parallel downloader.
//
//   kivget URL [-o FILE] [-c CONNECTIONS] [--chunk-size SIZE] [-H 'Name: value']...
//
// Ctrl-C or SIGTERM pauses: the resume record goes to FILE.download.json beside the partial
// file FILE.download.bin, and the same command resumes from it. The record is also
// refreshed after every completed range, so a download killed outright resumes as well.
//
// Exit codes: 0 saved, 1 the download failed, 2 the command cannot work as given (bad
// arguments, a URL that is not http or https, an output folder that cannot be written),
// 128 + the signal's number when a signal paused the download.
#include "http/HTTPDownloadManager.h"
#include "services/core/DelayScale.h"
#include "services/core/FileUtils.h"
#include "services/core/JSON.h"
#include "services/core/Strings.h"
#include "services/net/URL.h"

#include <CLI/CLI.hpp>
#include <boost/make_shared.hpp>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

namespace {

using kivcore::filesupport::File;
using kivworkspace::http::HTTPDownloadManager;
using kivworkspace::http::HTTPDownloadStream;
using Clock = std::chrono::steady_clock;

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// The signal that asked for a pause, 0 while none did.
std::atomic<int> gStopSignal{0};

// Progress lines, retry notices (from I/O threads) and the last words share stderr. Once
// the last words are out (gStderrClosed), nothing more is written.
std::mutex gStderrMutex;
bool gStderrClosed = false;

struct Options {
  std::string url;
  std::string output;
  unsigned connections = 4;
  std::string chunkSize = "4M";
  std::vector<std::string> headers;
};

// "4M", "512k", "1048576" as a byte count.
std::optional<unsigned> ParseSize(const std::string& text) {
  if (text.empty()) return std::nullopt;
  unsigned long long factor = 1;
  std::string digits = text;
  switch (std::toupper(static_cast<unsigned char>(text.back()))) {
    case 'K': factor = 1ull << 10; digits.pop_back(); break;
    case 'M': factor = 1ull << 20; digits.pop_back(); break;
    case 'G': factor = 1ull << 30; digits.pop_back(); break;
    default: break;
  }
  const auto n = kivcore::StringToNumber<std::uint64_t>(digits);
  if (!n || *n == 0 || *n * factor > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<unsigned>(*n * factor);
}

// Why the download cannot be saved at output, or nullopt. Writing is tried rather than
// read from the permission bits, which say yes to root on a read-only mount.
std::optional<std::string> OutputProblem(const std::filesystem::path& output) {
  std::error_code ec;
  const std::filesystem::path target = std::filesystem::absolute(output, ec);
  if (ec) return "cannot find the current folder: " + ec.message();
  if (std::filesystem::is_directory(target, ec)) return target.string() + " is a folder; name a file";
  const std::filesystem::path folder = target.parent_path();
  if (!std::filesystem::exists(folder, ec)) return "the folder " + folder.string() + " does not exist";
  if (!std::filesystem::is_directory(folder, ec)) return folder.string() + " is not a folder";
  std::string probe = (folder / ".kivget-XXXXXX").string();
  const int fd = ::mkstemp(probe.data());
  if (fd < 0) return "cannot write in " + folder.string() + ": " + std::strerror(errno);
  ::close(fd);
  ::unlink(probe.c_str());
  return std::nullopt;
}

std::string Memory(std::uint64_t bytes) { return kivcore::UTF16to8(kivcore::NumberToMemoryString(bytes)); }

// Progress on stderr: a bar redrawn in place on a terminal; elsewhere (a log, a pipe) a
// plain line at most once a second, and only when the figures have changed.
class ProgressPrinter {
 public:
  explicit ProgressPrinter(bool terminal) : terminal_(terminal) {}

  // final: the download has ended; its figures are shown once more unless shown already.
  void Show(const HTTPDownloadStream& stream, bool final) {
    const auto now = Clock::now();
    const std::uint64_t done = stream.GetDownloadedSize(), size = stream.GetSize();
    const bool changed = done != shownDone_ || size != shownSize_;
    if (terminal_) {
      if (!final && now - shownAt_ < std::chrono::milliseconds(200)) return;
    } else if (!changed || (!final && now - shownAt_ < std::chrono::seconds(1))) {
      return;
    }
    const double seconds = std::chrono::duration<double>(now - start_).count();
    const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0;
    const double fraction = size ? static_cast<double>(done) / static_cast<double>(size) : 0;
    const long eta = rate > 0 && size > done ? static_cast<long>(static_cast<double>(size - done) / rate) : 0;
    std::lock_guard lock(gStderrMutex);
    if (terminal_) {
      const int filled = static_cast<int>(fraction * 30);
      std::fprintf(stderr, "\r[%-30s] %5.1f%%  %s of %s  %s/s  ETA %lds   ",
                   std::string(static_cast<std::size_t>(filled), '#').c_str(), fraction * 100,
                   Memory(done).c_str(), Memory(size).c_str(),
                   Memory(static_cast<std::uint64_t>(rate)).c_str(), eta);
      barShown_ = true;
    } else {
      std::fprintf(stderr, "%.1f%% %llu/%llu bytes\n", fraction * 100, static_cast<unsigned long long>(done),
                   static_cast<unsigned long long>(size));
    }
    shownAt_ = now;
    shownDone_ = done;
    shownSize_ = size;
  }

  // Starts a line of text; on a terminal it goes below the bar. Call with gStderrMutex held.
  void BeginLine() {
    if (barShown_) std::fputc('\n', stderr);
    barShown_ = false;
  }

 private:
  const bool terminal_;
  const Clock::time_point start_ = Clock::now();
  Clock::time_point shownAt_;
  std::uint64_t shownDone_ = 0, shownSize_ = 0;
  std::atomic<bool> barShown_{false};
};

// A record is usable only with its partial file at the recorded size.
bool RecordIsUsable(const std::string& json) {
  const auto parsed = kivcore::utility::JSONParse(json);
  if (!parsed || !parsed->is_object()) return false;
  const auto& o = parsed->as_object();
  const auto temp = kivcore::utility::GetStringInObject(o, "mTempFile");
  const auto size = kivcore::utility::GetInt64InObject(o, "mSize");
  if (!temp || temp->empty() || !size) return false;
  const auto actual = File(std::filesystem::path(*temp)).Size();
  return actual && static_cast<std::int64_t>(*actual) == *size;
}

// "Name: value" lines as headers; nullopt (after saying why) for a line without a name.
std::optional<kivnet::http::HeaderMap> ParseHeaders(const std::vector<std::string>& lines) {
  kivnet::http::HeaderMap headers;
  for (const std::string& line : lines) {
    const auto colon = line.find(':');
    if (colon == std::string::npos || colon == 0) {
      std::fprintf(stderr, "kivget: -H: expected 'Name: value', got '%s'\n", line.c_str());
      return std::nullopt;
    }
    std::string value = line.substr(colon + 1);
    value.erase(0, value.find_first_not_of(' '));
    headers.emplace(kivcore::ImmutableString::CreateDynamic(line.substr(0, colon)),
                    kivcore::ImmutableString::CreateDynamic(value));
  }
  return headers;
}

int Run(const Options& options) {
  // Everything that can be checked here is, before any request is made.
  const auto chunkSize = ParseSize(options.chunkSize);
  if (!chunkSize) {
    std::fprintf(stderr, "kivget: invalid chunk size '%s'\n", options.chunkSize.c_str());
    return kExitUsage;
  }
  if (const auto problem = kivnet::http::URLProblem(options.url)) {
    std::fprintf(stderr, "kivget: '%s': %s; give an http:// or https:// URL\n", options.url.c_str(), problem->c_str());
    return kExitUsage;
  }
  const auto headers = ParseHeaders(options.headers);
  if (!headers) return kExitUsage;
  const std::string outputPath = options.output.empty() ? kivnet::http::FileNameFromURL(options.url) : options.output;
  if (const auto problem = OutputProblem(outputPath)) {
    std::fprintf(stderr, "kivget: cannot save to %s: %s\n", outputPath.c_str(), problem->c_str());
    return kExitUsage;
  }
  const File output{std::filesystem::path(outputPath)};
  const File record{std::filesystem::path(outputPath + ".download.json")};
  auto manager = boost::make_shared<HTTPDownloadManager>(options.connections, *chunkSize);

  boost::shared_ptr<HTTPDownloadStream> stream;
  if (record.Exists()) {
    const std::string json = kivcore::filesupport::FileUtils::ReadWholeFile(record);
    if (RecordIsUsable(json)) {
      std::fprintf(stderr, "kivget: resuming from %s\n", record.Path().c_str());
      stream = manager->ResumeFromRecord(json, false);
    } else {
      std::fprintf(stderr, "kivget: ignoring %s: its partial file is missing or changed\n", record.Path().c_str());
    }
  }
  if (!stream) stream = manager->NewDownload(kivcore::ImmutableString::CreateDynamic(options.url), output, *headers, false);

  const bool terminal = ::isatty(STDERR_FILENO);
  // Shared with the slots, which I/O threads may still be running when this returns.
  const auto progress = std::make_shared<ProgressPrinter>(terminal);
  struct RecordState {
    std::mutex mutex;
    bool final = false;  // the paused record is written: no refresh may overwrite it
  };
  const auto recordState = std::make_shared<RecordState>();
  // After every saved range, the record on disk follows the download.
  stream->GetStateChangedSignal().connect([recordState, record](const auto&, const boost::shared_ptr<HTTPDownloadStream>& s) {
    std::lock_guard lock(recordState->mutex);
    if (recordState->final) return;
    try {
      kivcore::filesupport::FileUtils::WriteFileAtomically(record, s->ResumeRecordJSON());
    } catch (const std::exception&) {
      // A failed refresh leaves the previous record, which is still consistent.
    }
  });
  stream->GetRetrySignal().connect([progress](const HTTPDownloadStream::RetryNotice& n) {
    std::lock_guard lock(gStderrMutex);
    if (gStderrClosed) return;
    progress->BeginLine();
    std::fprintf(stderr, "kivget: %s (attempt %d of %d); retrying in %d s\n", n.reason.c_str(), n.attempt,
                 n.attempts, n.delaySeconds);
  });
  // The last line on stderr.
  auto lastWords = [&progress](const std::string& text) {
    std::lock_guard lock(gStderrMutex);
    progress->BeginLine();
    std::fprintf(stderr, "kivget: %s\n", text.c_str());
    gStderrClosed = true;
  };
  stream->StartDownload();

  while (!stream->IsDone()) {
    if (const int signal = gStopSignal.load()) {
      {
        std::lock_guard lock(recordState->mutex);
        recordState->final = true;
      }
      const auto paused = stream->PauseDownload();
      kivcore::filesupport::FileUtils::WriteFileAtomically(record, manager->GetPausedRecord(paused));
      lastWords("paused; run the same command again to resume");
      return 128 + signal;
    }
    progress->Show(*stream, false);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (const auto failure = stream->Failed()) {
    const int status = failure->GetStatusCode();
    lastWords(options.url + ": " + (status > 0 ? "HTTP " + std::to_string(status) + " " : "") +
              failure->GetPayload().substr(0, 200));
    record.Delete();  // the partial file went with the failed stream
    return kExitFailed;
  }
  progress->Show(*stream, true);
  lastWords("saved " + output.Path().string());
  record.Delete();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  CLI::App app{"kivget: a resumable, parallel downloader"};
  app.add_option("url", options.url, "What to download (an http:// or https:// URL)")->required();
  app.add_option("-o,--output", options.output, "Where to save it (default: the URL's file name)");
  app.add_option("-c,--connections", options.connections, "Ranges fetched at once")->check(CLI::Range(1u, 64u));
  app.add_option("--chunk-size", options.chunkSize, "Bytes per range, with K, M or G (default 4M)");
  app.add_option("-H,--header", options.headers, "A request header, 'Name: value'");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? 0 : kExitUsage;  // --help exits 0
  }
  // Testing hook: scales the retry back-off (0.001 turns seconds into milliseconds).
  if (const char* scale = std::getenv("KIV_DELAY_SCALE")) {
    const double factor = std::atof(scale);
    if (factor > 0) kivcore::threads::SetDelayScaleForTesting(factor);
  }
  // Ctrl-C, and SIGTERM from kill, timeout or a service manager, pause into the record.
  struct sigaction action {};
  action.sa_handler = [](int signal) { gStopSignal = signal; };
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
  try {
    return Run(options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kivget: %s\n", e.what());
    return kExitFailed;
  }
}
