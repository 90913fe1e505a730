#include "http/HTTPDownloadStream.h"

#include "http/HTTPDownloadManager.h"
#include "services/core/Executors.h"
#include "services/core/JSON.h"
#include "services/core/Localizer.h"
#include "services/core/Trace.h"
#include "services/net/URL.h"
#include "twisted/defer_list.h"
#include "twisted/errors.h"

#include <boost/algorithm/string/predicate.hpp>
#include <boost/date_time/posix_time/posix_time.hpp>
#include <boost/json/serialize.hpp>
#include <boost/make_shared.hpp>

#include <bit>
#include <cstring>
#include <stdexcept>

namespace kivworkspace::http {

using kivcore::Guid;
using kivcore::ImmutableString;
using kivnet::Response;
using kivnet::http::HeaderMap;
using kivui::utility::ProgressItem;
using twisted::any_value;
using twisted::defer;
using twisted::message_failure;

namespace {

constexpr const char* kChannel = "DownloadManager";

// What the size probe hands to the chunk planner.
struct AssetMeta {
  std::uint64_t size = 0;
  std::string etag;
};

void Log(int level, const std::string& message) { kivcore::debug::Trace(kChannel, level, message); }

// headers with "RANGE" set to value (any other spelling of the name replaced).
HeaderMap WithRange(const HeaderMap& headers, const std::string& value) {
  HeaderMap copy;
  for (const auto& [name, v] : headers) {
    if (!boost::algorithm::iequals(name.view(), "RANGE")) copy.emplace(name, v);
  }
  copy.emplace(ImmutableString::CreateStatic("RANGE"), ImmutableString::CreateDynamic(value));
  return copy;
}

bool IsSuccess(int status) { return status >= 200 && status <= 299; }

// Failed requests are tried again after 2, 4, 8, 16 and 32 seconds: six attempts in all.
constexpr int kBackoffLimit = 64;
constexpr int kAttempts = 6;

// What a request of a stopped stream gets instead of being issued.
boost::shared_ptr<Response> CancelledResponse() {
  return boost::make_shared<Response>(kivnet::kStatusCancelled, std::vector<Response::Header>{}, "cancel");
}

// Records name full paths, so that a resume from another working folder finds the files.
kivcore::filesupport::File Absolute(const kivcore::filesupport::File& file) {
  if (file.IsEmpty()) return file;
  std::error_code ec;
  const auto path = std::filesystem::absolute(file.Path(), ec);
  return ec ? file : kivcore::filesupport::File(path.lexically_normal());
}

// The final handlers' first step: the response as one trace line.
void LogResponse(const std::string& label, const Guid& id, const Response& r) {
  const int status = r.GetStatusCode();
  Log(status >= 200 && status <= 399 ? 5 : 1, label + ", status_code: " + std::to_string(status) +
                                                  ", requestUID: " + id.ToString() + "\n" +
                                                  r.GetHeaderText());
}

// A response that stands for a failure of the chain (for the stream's failure record). The
// first failing range of the range list stands for the list.
boost::shared_ptr<Response> ResponseFromFailure(const twisted::failure& f) {
  if (const auto* first = dynamic_cast<const twisted::FirstError*>(&f)) {
    if (const auto member = boost::dynamic_pointer_cast<twisted::failure>(first->failed_result())) {
      return ResponseFromFailure(*member);
    }
  }
  auto r = boost::make_shared<Response>();
  if (const auto* http = dynamic_cast<const twisted::http_failure*>(&f)) {
    r->SetStatusCode(http->status());
    r->SetPayload(http->message());
  } else if (const auto* message = dynamic_cast<const twisted::message_failure*>(&f)) {
    r->SetPayload(message->message());
  } else if (const auto* code = dynamic_cast<const twisted::errcode_failure*>(&f)) {
    r->SetPayload("error " + std::to_string(code->code()));
  }
  return r;
}

twisted::CallbackFunction Bind(HTTPDownloadStream::Result (*f)(const HTTPDownloadStream::Result&,
                                                              const HTTPDownloadStream::Self&),
                               const HTTPDownloadStream::Self& self) {
  return [f, self](const HTTPDownloadStream::Result& r) { return f(r, self); };
}

}  // namespace

// --- construction --------------------------------------------------------------------------

HTTPDownloadStream::HTTPDownloadStream(const ImmutableString& url, const HeaderMap& headers,
                                       const kivcore::filesupport::File& output,
                                       const boost::shared_ptr<HTTPDownloadManager>& manager)
    : mUrl(url), mHeaders(headers), mOutput(Absolute(output)), manager_(manager) {}

HTTPDownloadStream::HTTPDownloadStream(const boost::intrusive_ptr<ProgressItem>& item,
                                       const boost::shared_ptr<HTTPDownloadManager>& manager)
    : manager_(manager), progressItem_(item) {}

HTTPDownloadStream::~HTTPDownloadStream() {
  output_.reset();
  if (!mTempFile.IsEmpty()) SafeDeletePartialFile();
}

void HTTPDownloadStream::SafeDeletePartialFile() {
  try {
    mTempFile.Delete();
  } catch (const std::exception& e) {
    Log(1, std::string("SafeDelete: Unexpected error: ") + e.what() + ", inFile: " +
               mTempFile.Path().string());
  }
}

// --- queries ---------------------------------------------------------------------------------

bool HTTPDownloadStream::Succeeded() const {
  std::lock_guard lock(fileMutex_);
  return done_ && !failure_ && !(progressItem_ && progressItem_->GetState() == ProgressItem::kEnded);
}

boost::shared_ptr<Response> HTTPDownloadStream::Failed() const {
  std::lock_guard lock(fileMutex_);
  return failure_;
}

boost::intrusive_ptr<ProgressItem> HTTPDownloadStream::GetProgressItem() const {
  std::lock_guard lock(fileMutex_);
  return progressItem_;
}

float HTTPDownloadStream::Progress() const {
  const std::uint64_t size = mSize;
  return size == 0 ? 0.0f : static_cast<float>(static_cast<double>(mDownloadedSize) / static_cast<double>(size));
}

boost::posix_time::ptime HTTPDownloadStream::Started() const {
  std::lock_guard lock(fileMutex_);
  return mStarted;
}

boost::shared_ptr<HTTPDownloadManager> HTTPDownloadStream::Manager() const {
  std::lock_guard lock(fileMutex_);
  return manager_.lock();
}

boost::shared_ptr<kivnet::http::RequestProcessor> HTTPDownloadStream::Processor() const {
  const auto manager = Manager();
  return manager ? manager->GetRequestProcessor() : kivnet::http::GetGlobalRequestProcessor();
}

// --- the resume record -------------------------------------------------------------------------

std::string HTTPDownloadStream::ResumeRecordJSON() const {
  std::lock_guard lock(fileMutex_);
  return RecordJSONLocked();
}

std::string HTTPDownloadStream::RecordJSONLocked() const {
  using namespace kivcore::utility;
  JSONArray headers;
  for (const auto& [name, value] : mHeaders) headers.push_back(JSONArray{name.str(), value.str()});
  JSONArray chunks;
  for (const DownloadChunk& c : mChunks) {
    chunks.push_back(JSONObject{{"mStartByte", c.mStartByte}, {"mEndByte", c.mEndByte}, {"mComplete", c.mComplete}});
  }
  JSONObject record;
  record["mUrl"] = mUrl.str();
  record["mHeaders"] = std::move(headers);
  record["mOutput"] = mOutput.Path().string();
  record["mStarted"] = mStarted.is_not_a_date_time() ? std::string() : boost::posix_time::to_simple_string(mStarted);
  record["mSize"] = static_cast<std::int64_t>(mSize.load());
  record["mETag"] = mETag;
  record["mDownloadedSize"] = static_cast<std::int64_t>(mDownloadedSize.load());
  record["mTempFile"] = mTempFile.Path().string();
  record["mChunks"] = std::move(chunks);
  return GetJSONUTF8String(record);
}

void HTTPDownloadStream::ReadResumeRecord(const std::string& json) {
  using namespace kivcore::utility;
  std::string error;
  const auto parsed = JSONParse(json, &error);
  if (!parsed || !parsed->is_object()) throw std::runtime_error("bad resume record: " + error);
  const JSONObject& o = parsed->as_object();
  auto text = [&](const char* key) {
    auto v = GetStringInObject(o, key);
    if (!v) throw std::runtime_error(std::string("bad resume record: no ") + key);
    return *v;
  };
  // Everything is read before anything is stored: a record that fails halfway leaves the
  // stream as it was. (Wrong JSON types throw from the accessors.)
  const std::string url = text("mUrl");
  const std::string output = text("mOutput");
  if (url.empty() || output.empty()) throw std::runtime_error("bad resume record: no URL or no output file");
  HeaderMap headers;
  if (const JSONValue* h = GetVariantInObject(o, "mHeaders"); h && h->is_array()) {
    for (const JSONValue& pair : h->as_array()) {
      const auto& a = pair.as_array();
      headers.emplace(ImmutableString::CreateDynamic(a.at(0).as_string()),
                      ImmutableString::CreateDynamic(a.at(1).as_string()));
    }
  }
  const std::string startedText = text("mStarted");
  const boost::posix_time::ptime started =
      startedText.empty() ? boost::posix_time::ptime() : boost::posix_time::time_from_string(startedText);
  const std::string etag = text("mETag");
  const std::string temp = text("mTempFile");
  std::vector<DownloadChunk> chunks;
  if (const JSONValue* c = GetVariantInObject(o, "mChunks"); c && c->is_array()) {
    for (const JSONValue& chunk : c->as_array()) {
      const JSONObject& co = chunk.as_object();
      DownloadChunk d;
      d.mStartByte = GetUInt64InObject(co, "mStartByte").value_or(0);
      d.mEndByte = GetUInt64InObject(co, "mEndByte").value_or(0);
      d.mComplete = GetBoolInObject(co, "mComplete").value_or(false);
      chunks.push_back(std::move(d));
    }
  }
  mUrl = ImmutableString::CreateDynamic(url);
  mHeaders = std::move(headers);
  mOutput = Absolute(kivcore::filesupport::File(std::filesystem::path(output)));
  mStarted = started;
  mSize = static_cast<std::uint64_t>(GetInt64InObject(o, "mSize").value_or(0));
  mETag = etag;
  mDownloadedSize = static_cast<std::uint64_t>(GetInt64InObject(o, "mDownloadedSize").value_or(0));
  mTempFile = temp.empty() ? kivcore::filesupport::File() : Absolute(kivcore::filesupport::File(std::filesystem::path(temp)));
  mChunks = std::move(chunks);
}

// --- starting and the request layer ---------------------------------------------------------

void HTTPDownloadStream::StartDownload() {
  boost::shared_ptr<defer> chain;
  {
    std::lock_guard lock(fileMutex_);
    if (chain_) throw std::runtime_error("download already started");
    Log(5, "StartDownload: " + requestId_.ToString() + ", mUrl : " + mUrl.str() + ", mOutput : " +
               mOutput.Path().string());
    if (mTempFile.IsEmpty()) {
      mTempFile = mOutput.GetParent().GetChild(mOutput.GetName() + u".download.bin");
      mTempFile.Create();
    }
    output_.reset();
    output_ = std::make_shared<kivcore::filesupport::OPlatformByteStream>(mTempFile);
    SetupProgressUI();
    chain_ = chain = boost::make_shared<defer>();
    mStarted = boost::posix_time::second_clock::universal_time();
  }
  const Self self = shared_from_this();
  chain->addCallback("getsize", [self](const Result&) { return self->ProbeSize(self); });
  chain->addCallback("getchunks", Bind(&DeferRangeCallsWithThrottle, self));
  chain->addBoth("finish", Bind(&OnFinishedDownload, self));
  // Fired without the stream's lock: its steps take the lock themselves, and a range that
  // completes on another thread holds its own deferred while it waits for the lock, so
  // holding the lock here while the chain adds to those deferreds could deadlock.
  chain->callback(boost::make_shared<any_value>());
}

void HTTPDownloadStream::DoGet(const Guid& id, const ImmutableString& url, const HeaderMap& headers,
                               FinalHandler handler, int backoff, BodySink sink) {
  const auto processor = Processor();
  const Self self = shared_from_this();
  auto completion = [self, id, url, headers, handler, backoff, sink](const Guid&, const boost::shared_ptr<Response>& response) {
    self->OnRequestDone(id, url, headers, handler, backoff, sink, response);
  };
  kivnet::http::RequestOptions options;
  options.bodySink = std::move(sink);
  bool stopped = false, started = false;
  {
    // Checked and started under the lock, so that a cancel either sees this request
    // running (and stops it by id) or keeps it from starting.
    std::lock_guard lock(fileMutex_);
    stopped = stopped_;
    if (!stopped) started = processor->StartGet(id, url, headers, options, completion);
  }
  if (stopped) {
    kivcore::threads::GetIOBoundExecutor()->CallAsynchronously([handler, id] { handler(id, CancelledResponse()); });
  } else if (!started) {
    const auto problem = kivnet::http::URLProblem(url.view());
    auto refused = boost::make_shared<Response>(kivnet::kStatusTransportFailed, std::vector<Response::Header>{},
                                                "error code 1" + (problem ? ": " + *problem : std::string()));
    handler(id, refused);
  }
}

void HTTPDownloadStream::OnRequestDone(const Guid& id, const ImmutableString& url, const HeaderMap& headers,
                                       const FinalHandler& handler, int backoff, const BodySink& sink,
                                       const boost::shared_ptr<Response>& response) {
  const auto executor = kivcore::threads::GetIOBoundExecutor();
  const int next = backoff * 2;
  const int status = response ? response->GetStatusCode() : 0;
  if (next < kBackoffLimit && response && (status == 0 || (status >= 500 && status <= 599))) {
    bool waiting = false;
    {
      std::lock_guard lock(fileMutex_);
      if (!stopped_) {
        const Self self = shared_from_this();
        waitingRetries_[id] = [self, id, url, headers, handler, next, sink] { self->DoGet(id, url, headers, handler, next, sink); };
        waiting = true;
      }
    }
    if (waiting) {
      RetryNotice notice;
      notice.requestId = id;
      notice.status = status;
      notice.reason = status == 0 ? response->GetPayload() : "HTTP " + std::to_string(status);
      notice.attempt = std::bit_width(static_cast<unsigned>(backoff));
      notice.attempts = kAttempts;
      notice.delaySeconds = next;
      Log(1, "doGET, status_code: " + std::to_string(status) + ", requestUID: " + id.ToString() + ", " +
                 notice.reason + ", retry in " + std::to_string(next) + " s");
      retry_(notice);
      executor->CallAsynchronously(
          [weak = weak_from_this(), id] {
            if (const auto self = weak.lock()) self->RunWaitingRetry(id);
          },
          static_cast<std::int64_t>(next) * 1000);
      return;
    }
  }
  executor->CallAsynchronously([handler, id, response] { handler(id, response); });
}

void HTTPDownloadStream::RunWaitingRetry(const Guid& id) {
  std::function<void()> issue;
  {
    std::lock_guard lock(fileMutex_);
    const auto it = waitingRetries_.find(id);
    if (it == waitingRetries_.end()) return;  // a cancel took it
    issue = std::move(it->second);
    waitingRetries_.erase(it);
  }
  issue();
}

// --- the size probe -------------------------------------------------------------------------

HTTPDownloadStream::Result HTTPDownloadStream::ProbeSize(const Self& self) {
  auto probe = boost::make_shared<defer>();
  const HeaderMap headers = WithRange(mHeaders, "bytes=0-0");
  {
    std::lock_guard lock(fileMutex_);
    // Cancelled before the chain got here: end with the cancel result.
    if (stopped_) return message_failure::create("cancel");
    rangeUrl_ = mUrl;
    probe_ = probe;
  }
  DoGet(requestId_, mUrl, headers,
        [self, probe, headers](const Guid& id, const boost::shared_ptr<Response>& r) {
          self->HandleGetAssetSize(probe, headers, 0, id, r);
        },
        1);
  return probe;
}

void HTTPDownloadStream::HandleGetAssetSize(const boost::shared_ptr<defer>& probe,
                                            const HeaderMap& headers, int redirects,
                                            const Guid& id, const boost::shared_ptr<Response>& r) {
  try {
    LogResponse("HandleGetAssetSize", id, *r);
    const int status = r->GetStatusCode();
    if (IsSuccess(status)) {
      std::uint64_t size = 0;
      const auto range = r->GetHeader("CONTENT-RANGE");
      const auto slash = range ? range->find('/') : std::string::npos;
      if (range && slash != std::string::npos && range->find('/', slash + 1) == std::string::npos) {
        size = std::stoull(range->substr(slash + 1));
      } else if (const auto length = r->GetHeader("Content-Length")) {
        size = std::stoull(*length);
      }
      if (size == 0) {
        probe->errback(message_failure::create("outSize <= 0"));
      } else {
        probe->callback(any_value::create(AssetMeta{size, r->GetHeader("ETag").value_or("")}));
      }
    } else if (status >= 300 && status <= 399) {
      if (redirects + 1 > 3) {
        probe->errback(message_failure::create("too many redirects"));
        return;
      }
      // Location may be relative to the URL that answered ("/file", "../b").
      ImmutableString location;
      {
        std::lock_guard lock(fileMutex_);
        const auto target = kivnet::http::ResolveURL(rangeUrl_.view(), r->GetHeader("Location").value_or(""));
        if (target) rangeUrl_ = location = ImmutableString::CreateDynamic(*target);
      }
      if (location.empty()) {
        probe->errback(message_failure::create("redirect without a usable Location"));
        return;
      }
      const HeaderMap next = WithRange(headers, "bytes=0-0");
      const Self self = shared_from_this();
      DoGet(id, location, next,
            [self, probe, next, redirects](const Guid& i, const boost::shared_ptr<Response>& resp) {
              self->HandleGetAssetSize(probe, next, redirects + 1, i, resp);
            },
            1);
    } else {
      probe->errback(twisted::http_failure::create(id, r));
    }
  } catch (const std::exception& e) {
    Log(1, std::string("HandleGetAssetSize: Unexpected error: ") + e.what() + ", requestUID: " + id.ToString());
    probe->errback(message_failure::create(e.what()));
  }
}

// --- the ranges ----------------------------------------------------------------------------------

HTTPDownloadStream::Result HTTPDownloadStream::DeferRangeCallsWithThrottle(const Result& r, const Self& self) {
  const auto manager = self->Manager();
  if (!manager) throw std::runtime_error("missing download manager");
  const auto* meta = boost::dynamic_pointer_cast<any_value>(r) ? static_cast<const any_value&>(*r).get_if<AssetMeta>() : nullptr;
  if (!meta) throw std::runtime_error("bad cast");
  const bool resuming = self->mSize != 0;
  if (resuming && self->mSize != meta->size) throw std::runtime_error("resume failed due to size mismatch");
  self->mSize = meta->size;
  const std::uint64_t chunkSize = manager->GetChunkSize();
  const std::uint64_t count = (chunkSize - 1 + meta->size) / chunkSize;

  // The chunks still to fetch, copied under the lock: a cancel may empty mChunks at any time.
  struct Pending {
    std::size_t index;
    std::uint64_t start, end;
    Guid id;
  };
  std::vector<Pending> pending;
  std::size_t total = 0;
  ImmutableString url;
  {
    std::lock_guard lock(self->fileMutex_);
    self->probe_.reset();
    if (self->stopped_ || !self->output_) return message_failure::create("cancel");
    if (resuming && self->mETag != meta->etag) throw std::runtime_error("resume failed due to ETag mismatch");
    self->mETag = meta->etag;
    if (resuming && self->mChunks.size() != count) {
      throw std::runtime_error("resume failed due to number of chunks mismatch");
    }
    if (!resuming) {
      self->output_->SetSize(meta->size);
      self->mChunks.clear();
      for (std::uint64_t start = 0; start < meta->size; start += chunkSize) {
        DownloadChunk c;
        c.mStartByte = start;
        c.mEndByte = std::min(start + chunkSize - 1, meta->size - 1);
        self->mChunks.push_back(std::move(c));
      }
    }
    for (std::size_t i = 0; i < self->mChunks.size(); ++i) {
      const DownloadChunk& c = self->mChunks[i];
      if (!c.mComplete) pending.push_back({i, c.mStartByte, c.mEndByte, c.id});
    }
    total = self->mChunks.size();
    url = self->rangeUrl_;
  }

  std::vector<boost::shared_ptr<defer>> ranges;
  for (const Pending& p : pending) {
    const std::size_t i = p.index;
    const std::uint64_t start = p.start, end = p.end;
    const Guid id = p.id;
    auto fetch = [self, i, total, start, end, id, url]() -> Result {
      auto range = boost::make_shared<defer>();
      self->DoGet(id, url,
                  WithRange(self->mHeaders, "bytes=" + std::to_string(start) + "-" + std::to_string(end)),
                  [self, range, i, total](const Guid& rid, const boost::shared_ptr<Response>& resp) {
                    self->HandleGetRangePayload(range, i, total, rid, resp);
                  },
                  1, self->RangeSink(start, end));
      return range;
    };
    auto d = manager->GetSemaphore()->run(fetch);
    d->addCallback("savechunk", [self, start, end](const Result& x) { return OnSaveChunkToDisk(x, start, end, self); });
    d->addCallback("endchunk", [self, i](const Result& x) { return OnSetCompleteChunk(x, i, self); });
    d->addCallback("feedback", [self, start, end](const Result& x) { return OnUpdateProgress(x, end - start + 1, self); });
    {
      std::lock_guard lock(self->fileMutex_);
      if (i < self->mChunks.size() && !self->mChunks[i].mComplete) self->mChunks[i].deferred = d;
    }
    ranges.push_back(d);
  }
  auto list = twisted::defer_list::create(ranges, {}, false, true, false);
  list->addCallback("joinfile", Bind(&OnJoinChunks, self));
  return list;
}

void HTTPDownloadStream::HandleGetRangePayload(const boost::shared_ptr<defer>& range, std::size_t index,
                                               std::size_t count, const Guid& id,
                                               const boost::shared_ptr<Response>& r) {
  const std::string label = "HandleGetRangePayload[" + std::to_string(index) + "/" + std::to_string(count) + "]";
  try {
    LogResponse(label, id, *r);
    if (!IsSuccess(r->GetStatusCode())) {
      range->errback(twisted::http_failure::create(id, r));
    } else if (r->GetBodySize() == 0) {
      range->errback(message_failure::create("body.empty()"));
    } else {
      // The bytes are in the partial file already (RangeSink); their count goes on.
      range->callback(any_value::create(r->GetBodySize()));
    }
  } catch (const std::exception& e) {
    Log(1, label + ": Unexpected error: " + e.what() + ", requestUID: " + id.ToString());
    range->errback(message_failure::create(e.what()));
  }
}

HTTPDownloadStream::BodySink HTTPDownloadStream::RangeSink(std::uint64_t start, std::uint64_t end) {
  std::shared_ptr<kivcore::filesupport::OPlatformByteStream> output;
  {
    std::lock_guard lock(fileMutex_);
    output = output_;
  }
  if (!output) return {};
  // Written at their place as they arrive, with no lock: ranges never overlap, and the
  // stream keeps the file open while a range writes. Bytes past the range (a server that
  // sends more) are not written; the length check of the range fails it then.
  return [output, start, end](std::uint64_t offset, const char* data, std::size_t size) {
    const std::uint64_t room = end - start + 1;
    if (offset >= room) return true;
    try {
      output->WriteAt(start + offset, data, std::size_t(std::min<std::uint64_t>(size, room - offset)));
      return true;
    } catch (const std::exception& e) {
      Log(1, std::string("RangeSink: ") + e.what());
      return false;
    }
  };
}

// The range's bytes were written as they arrived; here their count is checked. A range
// that failed, whatever it wrote, is fetched again whole and never counted done.
HTTPDownloadStream::Result HTTPDownloadStream::OnSaveChunkToDisk(const Result& r, std::uint64_t start,
                                                                 std::uint64_t end, const Self&) {
  const auto value = boost::dynamic_pointer_cast<any_value>(r);
  const std::uint64_t* received = value ? value->get_if<std::uint64_t>() : nullptr;
  if (!received) throw std::runtime_error("bad cast");
  if (*received != end - start + 1) return message_failure::create("inBodySize != inSize");
  return boost::make_shared<any_value>();
}

HTTPDownloadStream::Result HTTPDownloadStream::OnSetCompleteChunk(const Result& r, std::size_t index, const Self& self) {
  std::lock_guard lock(self->fileMutex_);
  if (index < self->mChunks.size()) {
    self->mChunks[index].mComplete = true;
    self->mChunks[index].deferred.reset();
  }
  return r;
}

HTTPDownloadStream::Result HTTPDownloadStream::OnUpdateProgress(const Result& r, std::uint64_t bytes, const Self& self) {
  self->mDownloadedSize += bytes;
  if (const auto manager = self->Manager()) {
    self->stateChanged_(manager, self);
    manager->GetStateChangedSignal()(manager, self);
  }
  const auto item = self->GetProgressItem();
  if (item && item->GetState() != ProgressItem::kEnded) {
    const std::uint64_t done = self->mDownloadedSize, size = self->mSize;
    const kivcore::UTF16String tooltip = kivcore::ReplaceInString(
        kivcore::config::Localizer::Get().Localize(
            "$$$/HTTPDownloadStream/ProgressItemToolTipDownload=Downloaded @0 of @1"),
        {kivcore::NumberToMemoryString(done), kivcore::NumberToMemoryString(size)});
    const double fraction = size == 0 ? 0.0 : std::min(0.99, static_cast<double>(done) / static_cast<double>(size));
    item->SetProgress(static_cast<float>(fraction), 1.0f, tooltip);
  }
  return r;
}

HTTPDownloadStream::Result HTTPDownloadStream::OnJoinChunks(const Result& r, const Self& self) {
  const auto list = boost::dynamic_pointer_cast<twisted::defer_list_value>(r);
  if (!list || !list->success()) throw std::runtime_error("Unexpected deferred list result");
  std::lock_guard lock(self->fileMutex_);
  try {
    if (self->output_) self->output_->Close();
    self->output_.reset();
    Log(5, "Rename: " + self->requestId_.ToString() + ", mOutput : " + self->mOutput.Path().string() +
               ", mTempFile: " + self->mTempFile.Path().string());
    std::error_code ec;
    if (!self->mTempFile.Rename(self->mOutput, &ec)) throw std::runtime_error("rename failed: " + ec.message());
    self->mTempFile = kivcore::filesupport::File();
  } catch (const std::exception&) {
    self->SafeDeletePartialFile();
    self->mTempFile = kivcore::filesupport::File();
    throw;
  }
  return r;
}

// --- the end of the chain -----------------------------------------------------------------------

HTTPDownloadStream::Result HTTPDownloadStream::OnFinishedDownload(const Result& r, const Self& self) {
  const auto manager = self->Manager();
  if (!manager) return r;
  if (r && r->is_failure()) {
    boost::shared_ptr<Response> failure;
    {
      std::lock_guard lock(self->fileMutex_);
      failure = self->failure_ = ResponseFromFailure(static_cast<const twisted::failure&>(*r));
      self->output_.reset();
    }
    const auto item = self->GetProgressItem();
    if (item && item->GetState() != ProgressItem::kEnded) {
      item->SetState(ProgressItem::kEnded);
      item->SetStatusMessage(kivcore::ReplaceInString(
          kivcore::config::Localizer::Get().Localize("$$$/HTTPDownloadStream/FileTransferJobFailed=Failed: @0"),
          {kivcore::UTF8to16(failure->GetPayload())}));
    }
  }
  self->OnCompleted(manager, self);
  manager->RemoveDownload(self);
  return r;
}

void HTTPDownloadStream::OnCompleted(const boost::shared_ptr<HTTPDownloadManager>& manager, const Self& self) {
  // A finished item is done: the progress panel drops its buttons, and "Remove Done
  // Progress Items" takes it away. A stream that was paused or cancelled meanwhile has
  // handed its item on or ended it: it is left as that made it.
  boost::intrusive_ptr<ProgressItem> item;
  {
    std::lock_guard lock(fileMutex_);
    if (!stopped_) item = progressItem_;
  }
  if (item && item->GetState() != ProgressItem::kEnded) {
    item->SetProgress(1.0f, 1.0f, {});
    item->SetState(ProgressItem::kCompleted);
  }
  done_ = true;
  if (manager) downloadComplete_(manager, self);
}

// --- cancelling and pausing ------------------------------------------------------------------------

void HTTPDownloadStream::CancelDownload() { CancelWith(Manager()); }

void HTTPDownloadStream::CancelWith(const boost::shared_ptr<HTTPDownloadManager>& manager) {
  std::vector<DownloadChunk> chunks;
  boost::shared_ptr<defer> chain, probe;
  std::unordered_map<Guid, std::function<void()>> waiting;
  {
    std::lock_guard lock(fileMutex_);
    stopped_ = true;
    chunks.swap(mChunks);
    chain.swap(chain_);
    probe.swap(probe_);
    waiting.swap(waitingRetries_);
    if (progressItem_) {
      progressItem_->SetState(ProgressItem::kEnded);
      progressItem_->SetStatusMessage(
          kivcore::config::Localizer::Get().Localize("$$$/HTTPDownloadStream/FileTransferCanceled=Canceled"));
    }
  }
  const auto processor = manager ? manager->GetRequestProcessor() : kivnet::http::GetGlobalRequestProcessor();
  // The chain waits for the size probe: cancelling the probe's deferred ends the chain with
  // the cancel result now (the chain deferred itself has fired long ago, so cancelling it
  // would do nothing). The probe and its redirects carry the stream's request id.
  if (probe) {
    try {
      probe->cancel();
    } catch (const twisted::AlreadyCalledError&) {
    }
    processor->Cancel(requestId_);
    Log(5, "TryToCancelRequest: " + requestId_.ToString());
  }
  for (DownloadChunk& c : chunks) {
    if (!c.deferred) continue;
    try {
      c.deferred->cancel();
    } catch (const twisted::AlreadyCalledError&) {
    }
    processor->Cancel(c.id);
    Log(5, "TryToCancelRequest: " + c.id.ToString());
  }
  // Requests waiting for their back-off are issued now; a stopped stream answers them at
  // once with a cancelled response, so their deferreds fire (a range gives back its slot
  // of the semaphore) and nothing keeps the stream for the rest of the wait.
  for (auto& [id, issue] : waiting) issue();
  if (chain) {
    try {
      chain->cancel();
    } catch (const twisted::AlreadyCalledError&) {
    }
  }
}

boost::shared_ptr<HTTPDownloadStream> HTTPDownloadStream::PauseDownload() {
  std::string record;
  boost::shared_ptr<HTTPDownloadManager> manager;
  boost::intrusive_ptr<ProgressItem> item;
  {
    std::lock_guard lock(fileMutex_);
    record = RecordJSONLocked();
    // From here on the chain's remaining entries report to no manager and issue no request.
    manager = manager_.lock();
    manager_.reset();
    stopped_ = true;
    output_.reset();
    mOutput = kivcore::filesupport::File();
    mTempFile = kivcore::filesupport::File();  // the partial file stays for the resume
    mSize = 0;
    mDownloadedSize = 0;
    item = progressItem_;
    // The item moves to the stream that stands for the paused download: the cancel below
    // must not mark it cancelled, and the user resumes through it.
    if (manager) progressItem_.reset();
  }
  if (item) {
    item->SetState(ProgressItem::kPaused);
    item->SetStatusMessage({});
  }
  stateChanged_.disconnect_all_slots();
  downloadComplete_.disconnect_all_slots();
  retry_.disconnect_all_slots();
  boost::shared_ptr<HTTPDownloadStream> paused;
  if (manager) {
    paused.reset(new HTTPDownloadStream(item, manager));
    auto buffer = boost::shared_ptr<char[]>(new char[record.size() + 1]);
    std::memcpy(buffer.get(), record.c_str(), record.size() + 1);
    manager->PauseDownload(paused, boost::shared_ptr<void>(buffer, buffer.get()));
    paused->SetupProgressUI();
  }
  // The manager was let go above so that the chain reports nothing more; its processor
  // still stops the ranges in flight, which the partial file no longer needs.
  CancelWith(manager);
  if (manager) manager->RemoveDownload(shared_from_this());
  return paused;
}

// --- progress UI ---------------------------------------------------------------------------------

std::shared_ptr<kivui::utility::ProgressCategory> HTTPDownloadStream::GetOrCreateProgressCategory() {
  auto category = kivui::utility::ProgressCategoryContainer::Get().GetOrCreateCategory(
      kivcore::config::Localizer::Get().Localize("$$$/HTTPDownloadStream/ProgressCategoryTitle=Download File"));
  category->SetShowCountInProgress(true);
  return category;
}

void HTTPDownloadStream::SetupProgressUI() {
  boost::intrusive_ptr<ProgressItem> item;
  {
    std::lock_guard lock(fileMutex_);
    if (!progressItem_) progressItem_ = GetOrCreateProgressCategory()->CreateItem(mOutput.GetName());
    // Once per stream: a paused stream sets up its item when it is made and again when it
    // starts, and each handler must act once per request.
    if (progressHandlersAdded_) return;
    progressHandlersAdded_ = true;
    item = progressItem_;
  }
  const boost::weak_ptr<HTTPDownloadStream> weak = weak_from_this();
  item->AddPauseResumeHandler([weak](const boost::intrusive_ptr<ProgressItem>& i, ProgressItem::ProgressState& state) {
    WeakRefToStrongRefCall_OnProgressItemPausedResume(i, state, weak);
  });
  item->AddCancelHandler([weak](const boost::intrusive_ptr<ProgressItem>& i) {
    return WeakRefToStrongRefCall_OnProgressItemCanceled(i, weak);
  });
}

// An item keeps the handlers of every stream it belonged to; only the stream that holds the
// item now answers (a paused stream has handed it on).
bool HTTPDownloadStream::WeakRefToStrongRefCall_OnProgressItemCanceled(
    const boost::intrusive_ptr<ProgressItem>& item, const boost::weak_ptr<HTTPDownloadStream>& weak) {
  const auto stream = weak.lock();
  if (!stream || stream->GetProgressItem() != item) return false;
  stream->CancelDownload();
  return true;
}

void HTTPDownloadStream::WeakRefToStrongRefCall_OnProgressItemPausedResume(
    const boost::intrusive_ptr<ProgressItem>& item, ProgressItem::ProgressState&,
    const boost::weak_ptr<HTTPDownloadStream>& weak) {
  const auto stream = weak.lock();
  if (!stream || stream->GetProgressItem() != item) return;
  if (item->GetState() != ProgressItem::kPaused) {
    stream->PauseDownload();
    return;
  }
  const auto manager = stream->Manager();
  if (!manager) return;
  try {
    manager->ResumeDownload(stream, true);
  } catch (const std::exception& e) {
    // The download stays paused (the manager keeps it and its record); the item says why.
    Log(1, std::string("ResumeDownload: ") + e.what() + ", requestUID: " + stream->requestId_.ToString());
    item->SetStatusMessage(kivcore::ReplaceInString(
        kivcore::config::Localizer::Get().Localize("$$$/HTTPDownloadStream/ResumeFailed=Cannot resume: @0"),
        {kivcore::UTF8to16(e.what())}));
  }
}

}  // namespace kivworkspace::http
