#pragma once
// Downloads one URL to one file: a one-byte probe for size and ETag, then fixed-size byte
// ranges, several at once under the manager's semaphore, each written at its offset in a
// partial file next to the target, renamed to the target when all have arrived. Every
// step is an entry of a deferred chain. A download can be cancelled, and paused into a
// resume record (JSON) from which a new stream fetches only the missing ranges.

#include "http/DownloadChunk.h"
#include "services/core/File.h"
#include "services/core/Guid.h"
#include "services/core/ImmutableString.h"
#include "services/core/OPlatformByteStream.h"
#include "services/net/RequestProcessor.h"
#include "services/ui/progress/ProgressCategory.h"
#include "twisted/defer.h"

#include <boost/date_time/posix_time/ptime.hpp>
#include <boost/enable_shared_from_this.hpp>
#include <boost/signals2/signal.hpp>

#include <atomic>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace kivworkspace::http {

class HTTPDownloadManager;

class HTTPDownloadStream : public boost::enable_shared_from_this<HTTPDownloadStream> {
 public:
  using Signal = boost::signals2::signal<void(const boost::shared_ptr<HTTPDownloadManager>&,
                                              const boost::shared_ptr<HTTPDownloadStream>&)>;
  using Result = boost::shared_ptr<twisted::result>;
  using Self = boost::shared_ptr<HTTPDownloadStream>;

  // A request failed in a way worth trying again (no answer, or 5xx) and waits for its
  // back-off before the next attempt.
  struct RetryNotice {
    kivcore::Guid requestId;
    int status = 0;      // 0 when no answer came
    std::string reason;  // "connection refused", "HTTP 503", ...
    int attempt = 1;     // the attempt that failed, from 1
    int attempts = 6;    // how many are made at most
    int delaySeconds = 0;
  };
  using RetrySignal = boost::signals2::signal<void(const RetryNotice&)>;

  ~HTTPDownloadStream();

  // Starts the chain; throws std::runtime_error "download already started" the second time.
  void StartDownload();
  void CancelDownload();
  // Pauses into a new stream that stands for the paused download (null without manager).
  boost::shared_ptr<HTTPDownloadStream> PauseDownload();

  bool IsDone() const { return done_; }
  bool Succeeded() const;
  boost::shared_ptr<kivnet::Response> Failed() const;
  float Progress() const;
  boost::posix_time::ptime Started() const;
  const kivcore::ImmutableString& GetURL() const { return mUrl; }
  std::uint64_t GetSize() const { return mSize; }
  std::uint64_t GetDownloadedSize() const { return mDownloadedSize; }
  const kivcore::filesupport::File& GetOutput() const { return mOutput; }
  // The progress item; null once a pause has handed it to the stream that stands for the
  // paused download.
  boost::intrusive_ptr<kivui::utility::ProgressItem> GetProgressItem() const;
  // The resume record as it stands now (taken under the file mutex while the download
  // runs), as the pause writes it.
  std::string ResumeRecordJSON() const;

  Signal& GetStateChangedSignal() { return stateChanged_; }
  Signal& GetDownloadCompleteSignal() { return downloadComplete_; }
  // Emitted on an I/O thread each time a request of this stream waits to be tried again.
  RetrySignal& GetRetrySignal() { return retry_; }

 protected:
  friend class HTTPDownloadManager;

  HTTPDownloadStream(const kivcore::ImmutableString& url, const kivnet::http::HeaderMap& headers,
                     const kivcore::filesupport::File& output,
                     const boost::shared_ptr<HTTPDownloadManager>& manager);
  HTTPDownloadStream(const boost::intrusive_ptr<kivui::utility::ProgressItem>& item,
                     const boost::shared_ptr<HTTPDownloadManager>& manager);

  void SetupProgressUI();
  std::shared_ptr<kivui::utility::ProgressCategory> GetOrCreateProgressCategory();
  // Copies a resume record into the stream (the manager holds the file mutex). The record
  // is read whole first: when it cannot be read, this throws and the stream is unchanged.
  void ReadResumeRecord(const std::string& json);

  static Result DeferRangeCallsWithThrottle(const Result& r, const Self& self);
  static Result OnSaveChunkToDisk(const Result& r, std::uint64_t start, std::uint64_t end, const Self& self);
  static Result OnSetCompleteChunk(const Result& r, std::size_t index, const Self& self);
  static Result OnUpdateProgress(const Result& r, std::uint64_t bytes, const Self& self);
  static Result OnJoinChunks(const Result& r, const Self& self);
  static Result OnFinishedDownload(const Result& r, const Self& self);
  void OnCompleted(const boost::shared_ptr<HTTPDownloadManager>& manager, const Self& self);

  static bool WeakRefToStrongRefCall_OnProgressItemCanceled(
      const boost::intrusive_ptr<kivui::utility::ProgressItem>& item,
      const boost::weak_ptr<HTTPDownloadStream>& weak);
  static void WeakRefToStrongRefCall_OnProgressItemPausedResume(
      const boost::intrusive_ptr<kivui::utility::ProgressItem>& item,
      kivui::utility::ProgressItem::ProgressState& state,
      const boost::weak_ptr<HTTPDownloadStream>& weak);

 private:
  using FinalHandler = std::function<void(const kivcore::Guid&, const boost::shared_ptr<kivnet::Response>&)>;

  Result ProbeSize(const Self& self);
  void HandleGetAssetSize(const boost::shared_ptr<twisted::defer>& probe,
                          const kivnet::http::HeaderMap& headers, int redirects,
                          const kivcore::Guid& id, const boost::shared_ptr<kivnet::Response>& response);
  void HandleGetRangePayload(const boost::shared_ptr<twisted::defer>& range, std::size_t index,
                             std::size_t count, const kivcore::Guid& id,
                             const boost::shared_ptr<kivnet::Response>& response);
  // Issues a GET through the manager's processor, retrying transport failures and 5xx
  // after 2, 4, 8, 16 and 32 seconds; the final handler runs on the I/O-bound executor.
  // Once the stream is stopped nothing is issued: the handler gets a cancelled response.
  // A body sink, when given, takes a successful body as it arrives (a retry gives it the
  // whole body again from offset 0).
  using BodySink = decltype(kivnet::http::RequestOptions::bodySink);
  void DoGet(const kivcore::Guid& id, const kivcore::ImmutableString& url,
             const kivnet::http::HeaderMap& headers, FinalHandler handler, int backoff, BodySink sink = {});
  // Writes a range's body into the partial file at the range's place as it arrives (null
  // once the stream has no file).
  BodySink RangeSink(std::uint64_t start, std::uint64_t end);
  // The retry wrapper: a request of DoGet has completed.
  void OnRequestDone(const kivcore::Guid& id, const kivcore::ImmutableString& url,
                     const kivnet::http::HeaderMap& headers, const FinalHandler& handler, int backoff,
                     const BodySink& sink, const boost::shared_ptr<kivnet::Response>& response);
  // The back-off of request id has passed: issue it again (unless a cancel took it).
  void RunWaitingRetry(const kivcore::Guid& id);
  boost::shared_ptr<kivnet::http::RequestProcessor> Processor() const;
  // The manager, if it still exists and the stream still reports to it (guarded: pausing
  // lets it go while chain functions run on other threads).
  boost::shared_ptr<HTTPDownloadManager> Manager() const;
  // Cancels, stopping running requests through manager's processor (when there is one).
  void CancelWith(const boost::shared_ptr<HTTPDownloadManager>& manager);
  void SafeDeletePartialFile();
  std::string RecordJSONLocked() const;

  // The resume record.
  kivcore::ImmutableString mUrl;
  kivnet::http::HeaderMap mHeaders;
  kivcore::filesupport::File mOutput;
  boost::posix_time::ptime mStarted;
  std::atomic<std::uint64_t> mSize{0};
  std::string mETag;
  std::atomic<std::uint64_t> mDownloadedSize{0};
  std::vector<DownloadChunk> mChunks;
  kivcore::filesupport::File mTempFile;

  // Where the ranges are fetched: the URL the size probe ended at after redirects.
  kivcore::ImmutableString rangeUrl_;
  boost::shared_ptr<twisted::defer> chain_;
  // Guarded by the file mutex:
  // - the size probe's deferred while the chain waits for it, so that a cancel can end it;
  boost::shared_ptr<twisted::defer> probe_;
  // - set by a cancel or a pause: no request is issued or retried after it;
  bool stopped_ = false;
  // - requests waiting for their back-off, by request id, with what issues them again. Only
  //   the stream holds these (the delayed call names the stream weakly), so a cancel that
  //   takes them lets the stream go at once instead of after the wait;
  std::unordered_map<kivcore::Guid, std::function<void()>> waitingRetries_;
  // - whether this stream's pause/resume and cancel handlers are on the progress item.
  bool progressHandlersAdded_ = false;
  kivcore::Guid requestId_ = kivcore::Guid::CreateUnique();
  std::atomic<bool> done_{false};
  boost::shared_ptr<kivnet::Response> failure_;
  boost::weak_ptr<HTTPDownloadManager> manager_;
  Signal stateChanged_;
  Signal downloadComplete_;
  RetrySignal retry_;
  // Shared with the ranges' body sinks, which write into it on the request layer's thread.
  std::shared_ptr<kivcore::filesupport::OPlatformByteStream> output_;
  mutable std::recursive_mutex fileMutex_;
  boost::intrusive_ptr<kivui::utility::ProgressItem> progressItem_;
};

}  // namespace kivworkspace::http
