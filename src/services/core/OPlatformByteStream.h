#pragma once
// A file opened for writing at any offset. Writes go to the current position, which the
// caller moves with Seek; the stream is not thread-safe (callers hold their own lock).

#include "services/core/File.h"

#include <cstddef>
#include <cstdint>

namespace kivcore::filesupport {

class OPlatformByteStream {
 public:
  // Opens or creates the file; truncate empties it. Throws config::Error on failure.
  explicit OPlatformByteStream(const File& file, bool truncate = false);
  ~OPlatformByteStream();
  OPlatformByteStream(const OPlatformByteStream&) = delete;
  OPlatformByteStream& operator=(const OPlatformByteStream&) = delete;

  const File& GetFile() const { return file_; }
  bool IsOpen() const { return fd_ >= 0; }
  std::uint64_t Tell() const { return position_; }

  void Seek(std::uint64_t position) { position_ = position; }
  // Writes all of data at the current position and moves past it. Throws on failure.
  void Write(const void* data, std::size_t size);
  // Writes at a position without moving the stream's own: threads may write at distinct
  // places at once.
  void WriteAt(std::uint64_t position, const void* data, std::size_t size) const;
  // Grows or shrinks the file. Throws on failure.
  void SetSize(std::uint64_t size);
  // Flushes written data to the disk. Throws on failure.
  void Sync();
  // Closes the file; further writes throw. Throws when the close reports an error.
  void Close();

 private:
  void RequireOpen() const;

  File file_;
  int fd_ = -1;
  std::uint64_t position_ = 0;
};

}  // namespace kivcore::filesupport
