#include "services/core/FileUtils.h"

#include "services/core/OPlatformByteStream.h"
#include "services/core/detail/FileErrors.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <random>

namespace kivcore::filesupport::FileUtils {
namespace fs = std::filesystem;

std::vector<File> ContainedFiles(const File& folder) {
  std::vector<File> files;
  std::error_code ec;
  for (fs::directory_iterator it(folder.Path(), ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (it->is_regular_file(typeError)) files.emplace_back(it->path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

File UniqueFileName(const File& folder, std::u16string_view base, std::u16string_view extension) {
  return UniqueFileName(folder, {}, base, extension);
}

File UniqueFileName(const File& folder, const std::vector<File>& alsoFreeIn, std::u16string_view base,
                    std::u16string_view extension) {
  const std::string stem = UTF16to8(base) + "-";
  const std::string ext = UTF16to8(extension);
  for (unsigned n = 1;; ++n) {
    const std::string name = stem + std::to_string(n) + ext;
    File candidate(folder.Path() / name);
    if (candidate.Exists()) continue;
    if (std::none_of(alsoFreeIn.begin(), alsoFreeIn.end(), [&](const File& other) { return File(other.Path() / name).Exists(); }))
      return candidate;
  }
}

File BuildPathSpec(const File& folder, std::u16string_view name) { return folder.GetChild(name); }

bool CreateNewFile(const File& file) { return file.Create(); }

bool EnsureDirectoryExists(const File& folder) {
  std::error_code ec;
  fs::create_directories(folder.Path(), ec);
  return folder.IsDirectory();
}

bool Remove(const File& fileOrFolder) {
  std::error_code ec;
  fs::remove_all(fileOrFolder.Path(), ec);
  return !ec && !fileOrFolder.Exists();
}

bool Copy(const File& from, const File& to, bool overwrite) {
  std::error_code ec;
  const auto options = overwrite ? fs::copy_options::overwrite_existing : fs::copy_options::none;
  return fs::copy_file(from.Path(), to.Path(), options, ec) && !ec;
}

bool ClearReadOnly(const File& file) {
  std::error_code ec;
  fs::permissions(file.Path(), fs::perms::owner_write, fs::perm_options::add, ec);
  return !ec;
}

std::string ReadWholeFile(const File& file) {
  const int fd = ::open(file.Path().c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) detail::ThrowReadError(file, errno);
  std::string bytes;
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int err = errno;
      ::close(fd);
      detail::ThrowReadError(file, err);
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return bytes;
}

namespace {

constexpr std::string_view kTemporaryMark = ".tmp-";

File TemporaryNameFor(const File& file) {
  // A random suffix keeps concurrent writers of the same file from sharing a temporary.
  thread_local std::mt19937_64 random{std::random_device{}()};
  return File(file.Path().string() + std::string(kTemporaryMark) + std::to_string(random()));
}

std::string FolderOf(const File& file) {
  return file.GetParent().IsEmpty() ? std::string(".") : file.GetParent().Path().string();
}

void WriteAll(int fd, std::string_view bytes, const File& file) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int err = errno;
      ::close(fd);
      detail::ThrowWriteError(file, err);
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  if (::fsync(fd) != 0) {
    const int err = errno;
    ::close(fd);
    detail::ThrowWriteError(file, err);
  }
}

// Writes the bytes into a file that has no name until it is complete: a process killed
// while writing leaves nothing behind. Returns false when the file system cannot make
// unnamed files or name one, so the caller falls back to a named temporary.
bool WriteUnnamedThenRename(const File& file, std::string_view bytes) {
  const int fd = ::open(FolderOf(file).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) return false;
    detail::ThrowWriteError(file, errno);
  }
  WriteAll(fd, bytes, file);
  // Give the complete file a temporary name, then move it over the target. Only a kill
  // between these two calls can leave the temporary; RemoveStaleTemporaries clears it.
  const File temp = TemporaryNameFor(file);
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  const bool linked = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.Path().c_str(), AT_SYMLINK_FOLLOW) == 0;
  ::close(fd);
  // Without /proc the unnamed file cannot be given a name; the caller writes a named one.
  if (!linked) return false;
  std::error_code ec;
  if (!temp.Rename(file, &ec)) {
    temp.Delete();
    detail::ThrowWriteError(file, ec.value());
  }
  return true;
}

void WriteNamedThenRename(const File& file, std::string_view bytes) {
  const File temp = TemporaryNameFor(file);
  try {
    OPlatformByteStream out(temp, /*truncate=*/true);
    out.Write(bytes.data(), bytes.size());
    out.Sync();
    out.Close();
  } catch (const config::Error& e) {
    temp.Delete();
    // Name the file the caller asked for, with the reason the temporary file failed.
    detail::ThrowWriteError(file, e.Replacements().size() > 1 ? e.Replacements()[1] : UTF16String());
  }
  std::error_code ec;
  if (!temp.Rename(file, &ec)) {
    temp.Delete();
    detail::ThrowWriteError(file, ec.value());
  }
}

}  // namespace

void WriteFileAtomically(const File& file, std::string_view bytes) {
  if (!WriteUnnamedThenRename(file, bytes)) WriteNamedThenRename(file, bytes);
  // Make the rename itself durable.
  if (const int dir = ::open(FolderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

bool IsTemporaryName(const File& file) {
  const std::string name = file.Path().filename().string();
  const std::size_t mark = name.rfind(kTemporaryMark);
  if (mark == std::string::npos || mark == 0) return false;
  const std::string_view digits = std::string_view(name).substr(mark + kTemporaryMark.size());
  return !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int RemoveStaleTemporaries(const File& folder, std::u16string_view ofName) {
  const std::string prefix = UTF16to8(ofName) + std::string(kTemporaryMark);
  int removed = 0;
  for (const File& file : ContainedFiles(folder)) {
    if (!IsTemporaryName(file) || (!ofName.empty() && !file.Path().filename().string().starts_with(prefix))) continue;
    if (file.Delete()) ++removed;
  }
  return removed;
}

}  // namespace kivcore::filesupport::FileUtils
