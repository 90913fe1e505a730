#pragma once

#include <boost/shared_ptr.hpp>

#include <filesystem>
#include <memory>
#include <string>

namespace kivui {
class OS_Window;
}
namespace kivworkspace::http {
class HTTPDownloadManager;
class HTTPDownloadStream;
}

namespace kivworkspace::workspaceutils {

// Imports files the user names by URL into a folder. Each goes through the library's
// downloader in parallel ranges and shows in the progress panel under "Download File",
// where it can be paused, resumed and cancelled. A name already taken in the folder gets a
// number ("clip-1.mov").
class URLImporter {
 public:
  static constexpr unsigned kConnections = 4;
  static constexpr unsigned kChunkSize = 4u << 20;

  explicit URLImporter(std::filesystem::path folder, unsigned connections = kConnections, unsigned chunkSize = kChunkSize);
  // Cancels the downloads still running and waits for them to stop; paused ones are
  // dropped with their partial files.
  ~URLImporter();
  URLImporter(const URLImporter&) = delete;
  URLImporter& operator=(const URLImporter&) = delete;

  // Asks for the URL, then imports it. Null when the user cancels, or when the URL or the
  // folder is refused, which the user is told with the reason.
  boost::shared_ptr<http::HTTPDownloadStream> AskAndImport(kivui::OS_Window* parent = nullptr);
  // Starts downloading url into the folder. Throws std::invalid_argument, with the reason,
  // for a URL that cannot be requested or a folder that cannot be written.
  boost::shared_ptr<http::HTTPDownloadStream> Import(const std::string& url);

  const std::filesystem::path& GetFolder() const { return folder_; }
  http::HTTPDownloadManager& GetManager() { return *manager_; }

 private:
  std::filesystem::path FreeName(const std::string& url) const;

  std::filesystem::path folder_;
  boost::shared_ptr<http::HTTPDownloadManager> manager_;
};

}  // namespace kivworkspace::workspaceutils
