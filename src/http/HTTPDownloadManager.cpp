#include "http/HTTPDownloadManager.h"

#include <boost/make_shared.hpp>

#include <chrono>
#include <cstring>
#include <thread>

namespace kivworkspace::http {

HTTPDownloadManager::HTTPDownloadManager(unsigned concurrency, unsigned chunkSize)
    : semaphore_(boost::make_shared<twisted::DeferredSemaphore>(static_cast<int>(concurrency))),
      concurrency_(concurrency),
      chunkSize_(chunkSize == 0 ? 1 : chunkSize),
      processor_(kivnet::http::GetGlobalRequestProcessor()) {}

boost::shared_ptr<HTTPDownloadStream> HTTPDownloadManager::NewDownload(
    const kivcore::ImmutableString& url, const kivcore::filesupport::File& output,
    const kivnet::http::HeaderMap& headers, bool start) {
  boost::shared_ptr<HTTPDownloadStream> stream(
      new HTTPDownloadStream(url, headers, output, shared_from_this()));
  {
    std::lock_guard lock(mutex_);
    active_.push_back(stream);
  }
  // Started without the manager's lock: the download's steps on other threads take it while
  // holding their own deferreds, which starting adds to.
  if (start) Start(stream);
  return stream;
}

void HTTPDownloadManager::Start(const boost::shared_ptr<HTTPDownloadStream>& stream) {
  try {
    stream->StartDownload();
  } catch (...) {
    // A download that could not start (its partial file cannot be made) is not active.
    std::lock_guard lock(mutex_);
    std::erase(active_, stream);
    throw;
  }
}

void HTTPDownloadManager::ResumeDownload(const boost::shared_ptr<HTTPDownloadStream>& stream,
                                         bool start) {
  {
    std::lock_guard lock(mutex_);
    const auto it = paused_.find(stream);
    if (it == paused_.end()) return;
    // Read first: a record that cannot be read throws to the caller and the download stays
    // paused, with its record.
    ResumeDownload(stream, it->second, false);
    paused_.erase(stream);
  }
  if (start) Start(stream);
}

boost::shared_ptr<HTTPDownloadStream> HTTPDownloadManager::ResumeFromRecord(
    const std::string& recordJSON, bool start) {
  boost::shared_ptr<HTTPDownloadStream> stream(
      new HTTPDownloadStream(boost::intrusive_ptr<kivui::utility::ProgressItem>(), shared_from_this()));
  auto buffer = boost::shared_ptr<char[]>(new char[recordJSON.size() + 1]);
  std::memcpy(buffer.get(), recordJSON.c_str(), recordJSON.size() + 1);
  ResumeDownload(stream, boost::shared_ptr<void>(buffer, buffer.get()), start);
  return stream;
}

void HTTPDownloadManager::ResumeDownload(const boost::shared_ptr<HTTPDownloadStream>& stream,
                                         const boost::shared_ptr<void>& record, bool start) {
  {
    std::lock_guard lock(mutex_);
    {
      std::lock_guard fileLock(stream->fileMutex_);
      stream->ReadResumeRecord(static_cast<const char*>(record.get()));
    }
    if (const auto item = stream->GetProgressItem()) {
      item->SetState(kivui::utility::ProgressItem::kResumed);
      item->SetStatusMessage({});
    }
    active_.push_back(stream);
  }
  if (start) Start(stream);
}

void HTTPDownloadManager::CancelAllDownloads() {
  std::vector<boost::shared_ptr<HTTPDownloadStream>> streams;
  {
    std::lock_guard lock(mutex_);
    streams = active_;
  }
  for (const auto& s : streams) s->CancelDownload();
}

void HTTPDownloadManager::DiscardPausedDownloads() {
  decltype(paused_) paused;
  {
    std::lock_guard lock(mutex_);
    paused.swap(paused_);
  }
  for (const auto& [stream, record] : paused) {
    std::lock_guard fileLock(stream->fileMutex_);
    try {
      // The record names the partial file.
      stream->ReadResumeRecord(static_cast<const char*>(record.get()));
      stream->SafeDeletePartialFile();
      stream->mTempFile = kivcore::filesupport::File();
    } catch (const std::exception&) {
      // A record that cannot be read names no file to delete.
    }
  }
}

bool HTTPDownloadManager::FlushAllDownloads() {
  CancelAllDownloads();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  for (;;) {
    {
      std::lock_guard lock(mutex_);
      if (active_.empty()) return true;
    }
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

void HTTPDownloadManager::OverrideRequestProcessor(
    const boost::shared_ptr<kivnet::http::RequestProcessor>& processor) {
  std::lock_guard lock(mutex_);
  processor_ = processor;
}

boost::shared_ptr<kivnet::http::RequestProcessor> HTTPDownloadManager::GetRequestProcessor() const {
  std::lock_guard lock(mutex_);
  return processor_;
}

std::vector<boost::shared_ptr<HTTPDownloadStream>> HTTPDownloadManager::GetActiveDownloads() const {
  std::lock_guard lock(mutex_);
  return active_;
}

std::vector<boost::shared_ptr<HTTPDownloadStream>> HTTPDownloadManager::GetPausedDownloads() const {
  std::lock_guard lock(mutex_);
  std::vector<boost::shared_ptr<HTTPDownloadStream>> out;
  for (const auto& [stream, record] : paused_) out.push_back(stream);
  return out;
}

std::string HTTPDownloadManager::GetPausedRecord(const boost::shared_ptr<HTTPDownloadStream>& stream) const {
  std::lock_guard lock(mutex_);
  const auto it = paused_.find(stream);
  return it == paused_.end() ? std::string() : std::string(static_cast<const char*>(it->second.get()));
}

void HTTPDownloadManager::PauseDownload(const boost::shared_ptr<HTTPDownloadStream>& pausedStream,
                                        const boost::shared_ptr<void>& record) {
  std::lock_guard lock(mutex_);
  paused_[pausedStream] = record;
}

void HTTPDownloadManager::RemoveDownload(const boost::shared_ptr<HTTPDownloadStream>& stream) {
  std::lock_guard lock(mutex_);
  const auto it = std::find(active_.begin(), active_.end(), stream);
  if (it == active_.end()) return;
  downloadComplete_(shared_from_this(), stream);
  // A slot may have changed the list (the mutex lets it in again): look the stream up anew.
  std::erase(active_, stream);
}

}  // namespace kivworkspace::http
