#include "services/net/RequestProcessor.h"

#include "services/net/URL.h"

#include <boost/make_shared.hpp>
#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <deque>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace kivnet::http {
namespace {

// libcurl's process-wide setup, once.
void InitCurlOnce() {
  static const bool done = [] {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    return true;
  }();
  (void)done;
}

// One transfer: its easy handle and what has arrived so far.
struct Transfer {
  kivcore::Guid id;
  CURL* easy = nullptr;
  curl_slist* headerList = nullptr;
  CompletionFunction completion;
  boost::shared_ptr<Response> response = boost::make_shared<Response>();
  std::string payload;
  std::function<bool(std::uint64_t, const char*, std::size_t)> sink;
  bool sinking = false;  // decided at the first body byte: a 2xx body with a sink
  std::uint64_t received = 0;
  char error[CURL_ERROR_SIZE] = {};

  ~Transfer() {
    if (easy) curl_easy_cleanup(easy);
    if (headerList) curl_slist_free_all(headerList);
  }
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const std::size_t n = size * count;
  if (t->received == 0 && t->sink) {
    long status = 0;
    curl_easy_getinfo(t->easy, CURLINFO_RESPONSE_CODE, &status);
    t->sinking = status >= 200 && status <= 299;
  }
  if (t->sinking) {
    if (!t->sink(t->received, data, n)) return 0;  // fails the transfer
    t->received += n;
    return n;
  }
  t->received += n;
  if (t->payload.empty()) {
    // Room for the whole body at once when its length is announced.
    curl_off_t length = -1;
    if (curl_easy_getinfo(t->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK && length > 0) {
      t->payload.reserve(static_cast<std::size_t>(length));
    }
  }
  t->payload.append(data, n);
  return n;
}

// Collects "Name: value" lines; a new status line (after a 100 Continue or a followed
// redirect) starts the header block over.
std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  std::string_view line(data, size * count);
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  if (line.starts_with("HTTP/")) {
    *t->response = Response();
  } else if (const auto colon = line.find(':'); colon != std::string_view::npos) {
    std::string_view value = line.substr(colon + 1);
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
    t->response->AddHeader(std::string(line.substr(0, colon)), std::string(value));
  }
  return size * count;
}

// Why a transfer failed below HTTP, in a few words a user can act on; libcurl's own text
// for the rarer failures.
std::string TransportReason(CURL* easy, CURLcode code, const char* errorText) {
  long osError = 0;
  curl_easy_getinfo(easy, CURLINFO_OS_ERRNO, &osError);
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST: return "unknown host";
    case CURLE_COULDNT_RESOLVE_PROXY: return "unknown proxy host";
    case CURLE_COULDNT_CONNECT:
      switch (osError) {
        case ECONNREFUSED: return "connection refused";
        case ETIMEDOUT: return "connection timed out";
        case EHOSTUNREACH: return "host unreachable";
        case ENETUNREACH: return "network unreachable";
        default: return "could not connect";
      }
    case CURLE_OPERATION_TIMEDOUT: return "timed out";
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
      if (osError == ECONNRESET) return "connection reset";
      break;
    case CURLE_PARTIAL_FILE: return "connection closed before the end of the body";
    case CURLE_GOT_NOTHING: return "empty reply from server";
    default: break;
  }
  return errorText[0] ? errorText : curl_easy_strerror(code);
}

}  // namespace

class RequestProcessor::Impl {
 public:
  Impl() : multi_(curl_multi_init()), thread_([this] { Run(); }) {}

  ~Impl() {
    stopping_ = true;
    curl_multi_wakeup(multi_);
    thread_.join();
    for (auto& [easy, transfer] : running_) curl_multi_remove_handle(multi_, easy);
    running_.clear();
    curl_multi_cleanup(multi_);
  }

  bool Start(std::unique_ptr<Transfer> t) {
    if (stopping_) return false;
    std::lock_guard lock(mutex_);
    if (ids_.count(t->id)) return false;
    ids_[t->id] = true;
    pendingStarts_.push_back(std::move(t));
    curl_multi_wakeup(multi_);
    return true;
  }

  bool Cancel(const kivcore::Guid& id) {
    std::lock_guard lock(mutex_);
    if (!ids_.count(id)) return false;
    pendingCancels_.push_back(id);
    curl_multi_wakeup(multi_);
    return true;
  }

  std::size_t ActiveCount() const {
    std::lock_guard lock(mutex_);
    return ids_.size();
  }

 private:
  // The I/O thread: take new work, drive the transfers, report finished ones.
  void Run() {
    while (!stopping_) {
      TakeQueuedWork();
      int stillRunning = 0;
      curl_multi_perform(multi_, &stillRunning);
      ReportFinished();
      curl_multi_poll(multi_, nullptr, 0, 1000, nullptr);
    }
  }

  void TakeQueuedWork() {
    std::deque<std::unique_ptr<Transfer>> starts;
    std::vector<kivcore::Guid> cancels;
    {
      std::lock_guard lock(mutex_);
      starts.swap(pendingStarts_);
      cancels.swap(pendingCancels_);
    }
    for (auto& t : starts) {
      curl_multi_add_handle(multi_, t->easy);
      running_.emplace(t->easy, std::move(t));
    }
    for (const kivcore::Guid& id : cancels) {
      for (auto it = running_.begin(); it != running_.end(); ++it) {
        if (it->second->id == id) {
          std::unique_ptr<Transfer> t = std::move(it->second);
          running_.erase(it);
          curl_multi_remove_handle(multi_, t->easy);
          t->response->SetStatusCode(kStatusCancelled);
          t->response->SetPayload("cancelled");
          Report(*t);
          break;
        }
      }
    }
  }

  void ReportFinished() {
    int left = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi_, &left)) {
      if (msg->msg != CURLMSG_DONE) continue;
      auto it = running_.find(msg->easy_handle);
      if (it == running_.end()) continue;
      std::unique_ptr<Transfer> t = std::move(it->second);
      running_.erase(it);
      curl_multi_remove_handle(multi_, t->easy);
      Complete(*t, msg->data.result);
    }
  }

  // Hands the response to the completion, once per request, outside the lock.
  void Report(Transfer& t) {
    {
      std::lock_guard lock(mutex_);
      if (!ids_.erase(t.id)) return;
    }
    if (t.completion) t.completion(t.id, t.response);
  }

  void Complete(Transfer& t, CURLcode result) {
    if (result == CURLE_OK) {
      long status = 0;
      curl_easy_getinfo(t.easy, CURLINFO_RESPONSE_CODE, &status);
      t.response->SetStatusCode(static_cast<StatusCode>(status));
      t.response->SetPayload(std::move(t.payload));
      t.response->SetBodySize(t.received);
    } else {
      t.response->SetStatusCode(kStatusTransportFailed);
      t.response->SetPayload(TransportReason(t.easy, result, t.error));
    }
    Report(t);
  }

  CURLM* multi_;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::unordered_map<kivcore::Guid, bool> ids_;  // started, not finished or cancelled
  std::deque<std::unique_ptr<Transfer>> pendingStarts_;
  std::vector<kivcore::Guid> pendingCancels_;
  std::unordered_map<CURL*, std::unique_ptr<Transfer>> running_;  // I/O thread only
  std::thread thread_;
};

RequestProcessor::RequestProcessor() {
  InitCurlOnce();
  impl_ = std::make_unique<Impl>();
}

RequestProcessor::~RequestProcessor() = default;

bool RequestProcessor::StartGet(const kivcore::Guid& requestId, const kivcore::ImmutableString& url,
                                const HeaderMap& headers, const RequestOptions& options,
                                CompletionFunction completion) {
  if (URLProblem(url.view())) return false;
  auto t = std::make_unique<Transfer>();
  t->id = requestId;
  t->completion = std::move(completion);
  t->sink = options.bodySink;
  t->easy = curl_easy_init();
  if (!t->easy) return false;
  for (const auto& [name, value] : headers) {
    t->headerList = curl_slist_append(t->headerList, (name.str() + ": " + value.str()).c_str());
  }
  CURL* e = t->easy;
  curl_easy_setopt(e, CURLOPT_URL, url.c_str());
  curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(e, CURLOPT_HTTPHEADER, t->headerList);
  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &OnBody);
  curl_easy_setopt(e, CURLOPT_WRITEDATA, t.get());
  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &OnHeader);
  curl_easy_setopt(e, CURLOPT_HEADERDATA, t.get());
  curl_easy_setopt(e, CURLOPT_ERRORBUFFER, t->error);
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
  // Larger reads mean fewer body callbacks for large ranges.
  curl_easy_setopt(e, CURLOPT_BUFFERSIZE, 512L * 1024);
  curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, options.followRedirects ? 1L : 0L);
  if (!options.certificateAuthorityFile.empty()) {
    curl_easy_setopt(e, CURLOPT_CAINFO, options.certificateAuthorityFile.c_str());
    curl_easy_setopt(e, CURLOPT_CAPATH, nullptr);
  }
  curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(options.connectTimeoutMs));
  // A stall: less than one byte per second for the stall time (whole seconds, at least 1).
  curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, std::max(1L, static_cast<long>(options.stallTimeoutMs / 1000)));
  return impl_->Start(std::move(t));
}

bool RequestProcessor::Cancel(const kivcore::Guid& requestId) { return impl_->Cancel(requestId); }

std::size_t RequestProcessor::ActiveCount() const { return impl_->ActiveCount(); }

boost::shared_ptr<RequestProcessor> GetGlobalRequestProcessor() {
  static const auto processor = boost::make_shared<RequestProcessor>();
  return processor;
}

}  // namespace kivnet::http
