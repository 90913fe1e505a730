#include "services/core/File.h"

#include <boost/date_time/posix_time/conversion.hpp>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kivcore::filesupport {
namespace {

void Report(std::error_code* error, std::error_code code) {
  if (error) *error = code;
}

std::error_code LastErrno() { return {errno, std::generic_category()}; }

}  // namespace

UTF16String File::GetFullPath() const { return UTF8to16(path_.string()); }
UTF16String File::GetName() const { return UTF8to16(path_.filename().string()); }
UTF16String File::GetBaseName() const { return UTF8to16(path_.stem().string()); }

UTF16String File::GetExtension(bool withDot) const {
  std::string ext = path_.extension().string();
  if (!withDot && !ext.empty()) ext.erase(0, 1);
  return UTF8to16(ext);
}

File File::GetParent() const { return File(path_.parent_path()); }

bool File::Exists() const {
  std::error_code ec;
  return std::filesystem::exists(path_, ec);
}

bool File::IsDirectory() const {
  std::error_code ec;
  return std::filesystem::is_directory(path_, ec);
}

std::optional<std::uint64_t> File::Size() const {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path_, ec);
  if (ec) return std::nullopt;
  return size;
}

boost::posix_time::ptime File::Modified() const {
  struct stat st {};
  if (::stat(path_.c_str(), &st) != 0) return boost::posix_time::not_a_date_time;
  return boost::posix_time::from_time_t(st.st_mtim.tv_sec) +
         boost::posix_time::microseconds(st.st_mtim.tv_nsec / 1000);
}

bool File::Create(std::error_code* error) const {
  const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    Report(error, LastErrno());
    return false;
  }
  ::close(fd);
  return true;
}

bool File::Delete(std::error_code* error) const {
  std::error_code ec;
  const bool removed = std::filesystem::remove(path_, ec);
  Report(error, ec);
  return removed && !ec;
}

bool File::Rename(const File& target, std::error_code* error) const {
  std::error_code ec;
  std::filesystem::rename(path_, target.path_, ec);
  Report(error, ec);
  return !ec;
}

}  // namespace kivcore::filesupport
