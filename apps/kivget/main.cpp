// kivget: a resumable, parallel downloader.
//
//   kivget URL [-o FILE] [-c CONNECTIONS] [--chunk-size SIZE] [-H 'Name: value']...
//
// Ctrl-C pauses: the resume record goes to FILE.download.json beside the partial file
// FILE.download.bin, and the same command resumes from it. The record is also refreshed
// after every completed range, so a download killed outright resumes as well.
#include "http/HTTPDownloadManager.h"
#include "services/core/FileUtils.h"
#include "services/core/JSON.h"
#include "services/core/Strings.h"

#include <CLI/CLI.hpp>
#include <boost/make_shared.hpp>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

namespace {

using kivcore::filesupport::File;
using kivworkspace::http::HTTPDownloadManager;
using kivworkspace::http::HTTPDownloadStream;
using Clock = std::chrono::steady_clock;

std::atomic<bool> gInterrupted{false};

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

std::string DefaultOutput(const std::string& url) {
  std::string path = url.substr(0, url.find_first_of("?#"));
  const auto slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const auto scheme = url.find("://");
  if (name.empty() || (scheme != std::string::npos && slash <= scheme + 2)) name = "index.html";
  return name;
}

std::string Memory(std::uint64_t bytes) { return kivcore::UTF16to8(kivcore::NumberToMemoryString(bytes)); }

// One line of progress: a bar on a terminal, plain text otherwise.
void ShowProgress(const HTTPDownloadStream& stream, Clock::time_point start, bool terminal) {
  const std::uint64_t done = stream.GetDownloadedSize(), size = stream.GetSize();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0;
  const double fraction = size ? static_cast<double>(done) / static_cast<double>(size) : 0;
  const long eta = rate > 0 && size > done ? static_cast<long>(static_cast<double>(size - done) / rate) : 0;
  char line[256];
  if (terminal) {
    const int filled = static_cast<int>(fraction * 30);
    std::snprintf(line, sizeof line, "\r[%-30s] %5.1f%%  %s of %s  %s/s  ETA %lds   ",
                  std::string(static_cast<std::size_t>(filled), '#').c_str(), fraction * 100,
                  Memory(done).c_str(), Memory(size).c_str(),
                  Memory(static_cast<std::uint64_t>(rate)).c_str(), eta);
  } else {
    std::snprintf(line, sizeof line, "%.1f%% %llu/%llu bytes\n", fraction * 100,
                  static_cast<unsigned long long>(done), static_cast<unsigned long long>(size));
  }
  std::fputs(line, stderr);
}

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

kivnet::http::HeaderMap ParseHeaders(const std::vector<std::string>& lines) {
  kivnet::http::HeaderMap headers;
  for (const std::string& line : lines) {
    const auto colon = line.find(':');
    if (colon == std::string::npos || colon == 0) throw CLI::ValidationError("-H", "expected 'Name: value', got '" + line + "'");
    std::string value = line.substr(colon + 1);
    value.erase(0, value.find_first_not_of(' '));
    headers.emplace(kivcore::ImmutableString::CreateDynamic(line.substr(0, colon)),
                    kivcore::ImmutableString::CreateDynamic(value));
  }
  return headers;
}

int Run(const Options& options) {
  const auto chunkSize = ParseSize(options.chunkSize);
  if (!chunkSize) {
    std::fprintf(stderr, "kivget: invalid chunk size '%s'\n", options.chunkSize.c_str());
    return 2;
  }
  const std::string outputPath = options.output.empty() ? DefaultOutput(options.url) : options.output;
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
  if (!stream) stream = manager->NewDownload(kivcore::ImmutableString::CreateDynamic(options.url), output,
                                             ParseHeaders(options.headers), false);
  // After every saved range, the record on disk follows the download.
  stream->GetStateChangedSignal().connect([record](const auto&, const boost::shared_ptr<HTTPDownloadStream>& s) {
    try {
      kivcore::filesupport::FileUtils::WriteFileAtomically(record, s->ResumeRecordJSON());
    } catch (const std::exception&) {
      // A failed refresh leaves the previous record, which is still consistent.
    }
  });
  stream->StartDownload();

  const bool terminal = ::isatty(STDERR_FILENO);
  const auto start = Clock::now();
  auto lastShown = Clock::time_point();
  while (!stream->IsDone()) {
    if (gInterrupted) {
      const auto paused = stream->PauseDownload();
      kivcore::filesupport::FileUtils::WriteFileAtomically(record, manager->GetPausedRecord(paused));
      std::fprintf(stderr, "\nkivget: paused; run the same command again to resume\n");
      return 130;
    }
    if (Clock::now() - lastShown > std::chrono::milliseconds(terminal ? 200 : 2000)) {
      ShowProgress(*stream, start, terminal);
      lastShown = Clock::now();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (const auto failure = stream->Failed()) {
    std::fprintf(stderr, "%skivget: %s: %s%s\n", terminal ? "\n" : "", options.url.c_str(),
                 failure->GetStatusCode() > 0 ? ("HTTP " + std::to_string(failure->GetStatusCode()) + " ").c_str() : "",
                 failure->GetPayload().substr(0, 200).c_str());
    record.Delete();  // the partial file went with the failed stream
    return 1;
  }
  ShowProgress(*stream, start, terminal);
  std::fprintf(stderr, "%skivget: saved %s\n", terminal ? "\n" : "", output.Path().c_str());
  record.Delete();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  CLI::App app{"kivget: a resumable, parallel downloader"};
  app.add_option("url", options.url, "What to download")->required();
  app.add_option("-o,--output", options.output, "Where to save it (default: the URL's file name)");
  app.add_option("-c,--connections", options.connections, "Ranges fetched at once")->check(CLI::Range(1u, 64u));
  app.add_option("--chunk-size", options.chunkSize, "Bytes per range, with K, M or G (default 4M)");
  app.add_option("-H,--header", options.headers, "A request header, 'Name: value'");
  CLI11_PARSE(app, argc, argv);
  std::signal(SIGINT, [](int) { gInterrupted = true; });
  try {
    return Run(options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kivget: %s\n", e.what());
    return 1;
  }
}
