#include "services/core/OPlatformByteStream.h"

#include "services/core/detail/FileErrors.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace kivcore::filesupport {

OPlatformByteStream::OPlatformByteStream(const File& file, bool truncate) : file_(file) {
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (truncate ? O_TRUNC : 0);
  fd_ = ::open(file_.Path().c_str(), flags, 0644);
  if (fd_ < 0) detail::ThrowWriteError(file_, errno);
}

OPlatformByteStream::~OPlatformByteStream() {
  if (fd_ >= 0) ::close(fd_);
}

void OPlatformByteStream::RequireOpen() const {
  if (fd_ < 0) detail::ThrowWriteError(file_, EBADF);
}

void OPlatformByteStream::Write(const void* data, std::size_t size) {
  WriteAt(position_, data, size);
  position_ += size;
}

void OPlatformByteStream::WriteAt(std::uint64_t position, const void* data, std::size_t size) const {
  RequireOpen();
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::pwrite(fd_, bytes, size, static_cast<off_t>(position));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) detail::ThrowWriteError(file_, errno);
    bytes += n;
    size -= static_cast<std::size_t>(n);
    position += static_cast<std::uint64_t>(n);
  }
}

void OPlatformByteStream::SetSize(std::uint64_t size) {
  RequireOpen();
  if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) detail::ThrowWriteError(file_, errno);
}

void OPlatformByteStream::Sync() {
  RequireOpen();
  if (::fsync(fd_) != 0) detail::ThrowWriteError(file_, errno);
}

void OPlatformByteStream::Close() {
  if (fd_ < 0) return;
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) detail::ThrowWriteError(file_, errno);
}

}  // namespace kivcore::filesupport
