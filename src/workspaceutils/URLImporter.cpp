#include "workspaceutils/URLImporter.h"

#include "http/HTTPDownloadManager.h"
#include "http/HTTPDownloadStream.h"
#include "services/core/File.h"
#include "services/core/ImmutableString.h"
#include "services/core/Localizer.h"
#include "services/net/URL.h"
#include "services/ui/dialogs/Dialogs.h"

#include <boost/make_shared.hpp>

#include <stdexcept>
#include <system_error>

namespace kivworkspace::workspaceutils {
namespace {

std::string Text(std::string_view key) { return kivcore::config::Localizer::Get().LocalizeUTF8(key); }

// Whether neither the file nor the downloader's partial file for it exists.
bool IsFree(const std::filesystem::path& file) {
  std::error_code ec;
  return !std::filesystem::exists(file, ec) && !std::filesystem::exists(file.string() + ".download.bin", ec);
}

}  // namespace

URLImporter::URLImporter(std::filesystem::path folder, unsigned connections, unsigned chunkSize)
    : folder_(std::move(folder)), manager_(boost::make_shared<http::HTTPDownloadManager>(connections, chunkSize)) {}

// Nothing is left half-imported: running downloads stop, paused ones lose their partial files.
URLImporter::~URLImporter() {
  manager_->FlushAllDownloads();
  manager_->DiscardPausedDownloads();
}

std::filesystem::path URLImporter::FreeName(const std::string& url) const {
  const std::filesystem::path name = kivnet::http::FileNameFromURL(url);
  std::filesystem::path candidate = folder_ / name;
  for (int n = 1; !IsFree(candidate); ++n)
    candidate = folder_ / (name.stem().string() + "-" + std::to_string(n) + name.extension().string());
  return candidate;
}

boost::shared_ptr<http::HTTPDownloadStream> URLImporter::Import(const std::string& url) {
  if (const auto problem = kivnet::http::URLProblem(url)) throw std::invalid_argument(*problem);
  std::error_code ec;
  std::filesystem::create_directories(folder_, ec);
  if (ec) throw std::invalid_argument("cannot make the folder " + folder_.string() + ": " + ec.message());
  const kivcore::filesupport::File output{FreeName(url)};
  return manager_->NewDownload(kivcore::ImmutableString::CreateDynamic(url), output, {}, true);
}

boost::shared_ptr<http::HTTPDownloadStream> URLImporter::AskAndImport(kivui::OS_Window* parent) {
  const std::string title = Text("$$$/kivworkspace/workspaceutils/ImportFromURL/Title=Import from URL");
  const auto url = kivui::SimpleInputBox(
      title, Text("$$$/kivworkspace/workspaceutils/ImportFromURL/Prompt=The address (http:// or https://) of the file to import:"),
      {}, parent);
  if (!url || url->empty()) return nullptr;
  try {
    return Import(*url);
  } catch (const std::exception& e) {
    kivui::ShowCaution(title, "Cannot import " + *url + ": " + e.what() + ".", parent);
    return nullptr;
  }
}

}  // namespace kivworkspace::workspaceutils
