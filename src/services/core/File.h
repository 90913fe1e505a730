#pragma once
// A path to a file or folder, with the operations the library needs on it. Paths are
// UTF-16 at the interface and UTF-8 on disk.

#include "services/core/Strings.h"

#include <boost/date_time/posix_time/ptime.hpp>

#include <compare>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>

namespace kivcore::filesupport {

class File {
 public:
  File() = default;
  explicit File(std::filesystem::path path) : path_(std::move(path)) {}
  explicit File(std::u16string_view path) : path_(UTF16to8(path)) {}
  explicit File(const UTF16String& path) : File(std::u16string_view(path)) {}

  const std::filesystem::path& Path() const { return path_; }
  bool IsEmpty() const { return path_.empty(); }

  UTF16String GetFullPath() const;
  // The last component with its extension ("UserWorkspace-1.xml").
  UTF16String GetName() const;
  // The name without its extension.
  UTF16String GetBaseName() const;
  // ".xml" with the dot, "xml" without; empty when there is none.
  UTF16String GetExtension(bool withDot) const;
  File GetParent() const;
  // A file or folder of this name inside this folder.
  File GetChild(std::u16string_view name) const { return File(path_ / UTF16to8(name)); }

  bool Exists() const;
  bool IsDirectory() const;
  std::optional<std::uint64_t> Size() const;
  // Last modification time in UTC, to the microsecond; not_a_date_time when missing.
  boost::posix_time::ptime Modified() const;

  // Creates an empty file; false when it already exists or cannot be made.
  bool Create(std::error_code* error = nullptr) const;
  // Deletes a file or an empty folder; false when nothing was deleted.
  bool Delete(std::error_code* error = nullptr) const;
  // Moves this file to target, replacing a file there.
  bool Rename(const File& target, std::error_code* error = nullptr) const;

  friend bool operator==(const File&, const File&) = default;
  friend auto operator<=>(const File& a, const File& b) { return a.path_ <=> b.path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace kivcore::filesupport
