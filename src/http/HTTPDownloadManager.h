#pragma once
// The entry point for downloads: creates download streams, keeps the running and the
// paused ones, shares one concurrency limit and one chunk size among all of them, and
// forwards their progress and completion through two signals.

#include "http/HTTPDownloadStream.h"
#include "twisted/deferred_semaphore.h"

#include <map>

namespace kivworkspace::http {

class HTTPDownloadManager : public boost::enable_shared_from_this<HTTPDownloadManager> {
 public:
  using Signal = HTTPDownloadStream::Signal;

  // concurrency: range requests in flight at once across all streams; chunkSize in bytes.
  HTTPDownloadManager(unsigned concurrency, unsigned chunkSize);

  boost::shared_ptr<HTTPDownloadStream> NewDownload(const kivcore::ImmutableString& url,
                                                    const kivcore::filesupport::File& output,
                                                    const kivnet::http::HeaderMap& headers,
                                                    bool start);
  // Resumes a paused download (a stream that PauseDownload returned); others are ignored.
  // A record that cannot be read throws, and the download stays paused.
  void ResumeDownload(const boost::shared_ptr<HTTPDownloadStream>& stream, bool start);
  // A stream for a resume record read from elsewhere (a file of a previous run), added to
  // the active downloads. Throws what reading the record throws.
  boost::shared_ptr<HTTPDownloadStream> ResumeFromRecord(const std::string& recordJSON, bool start);
  void CancelAllDownloads();
  // Forgets every paused download and deletes its partial file (a host closing with
  // downloads paused that it will not resume).
  void DiscardPausedDownloads();
  // Cancels everything and waits, at most 60 seconds, until no download is active; returns
  // whether none is.
  bool FlushAllDownloads();
  void OverrideRequestProcessor(const boost::shared_ptr<kivnet::http::RequestProcessor>& processor);

  Signal& GetStateChangedSignal() { return stateChanged_; }
  Signal& GetDownloadCompleteSignal() { return downloadComplete_; }

  unsigned GetChunkSize() const { return chunkSize_; }
  unsigned GetConcurrency() const { return concurrency_; }
  std::vector<boost::shared_ptr<HTTPDownloadStream>> GetActiveDownloads() const;
  std::vector<boost::shared_ptr<HTTPDownloadStream>> GetPausedDownloads() const;
  // The resume record (JSON) of a paused download; empty for a stream that is not paused.
  std::string GetPausedRecord(const boost::shared_ptr<HTTPDownloadStream>& stream) const;

 protected:
  friend class HTTPDownloadStream;

  void PauseDownload(const boost::shared_ptr<HTTPDownloadStream>& pausedStream,
                     const boost::shared_ptr<void>& record);
  void RemoveDownload(const boost::shared_ptr<HTTPDownloadStream>& stream);
  void ResumeDownload(const boost::shared_ptr<HTTPDownloadStream>& stream,
                      const boost::shared_ptr<void>& record, bool start);
  boost::shared_ptr<twisted::DeferredSemaphore> GetSemaphore() const { return semaphore_; }
  boost::shared_ptr<kivnet::http::RequestProcessor> GetRequestProcessor() const;

 private:
  // Starts the download; when starting throws, it leaves the active list and the error
  // goes to the caller.
  void Start(const boost::shared_ptr<HTTPDownloadStream>& stream);

  boost::shared_ptr<twisted::DeferredSemaphore> semaphore_;
  unsigned concurrency_;
  unsigned chunkSize_;
  Signal stateChanged_;
  Signal downloadComplete_;
  mutable std::recursive_mutex mutex_;
  std::vector<boost::shared_ptr<HTTPDownloadStream>> active_;
  std::map<boost::shared_ptr<HTTPDownloadStream>, boost::shared_ptr<void>> paused_;
  boost::shared_ptr<kivnet::http::RequestProcessor> processor_;
};

}  // namespace kivworkspace::http
