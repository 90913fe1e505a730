#pragma once
// The errors file operations raise, shared by the file helpers of the core library.

#include "services/core/Error.h"
#include "services/core/File.h"

#include <cstring>

namespace kivcore::filesupport::detail {

[[noreturn]] inline void ThrowReadError(const File& file, int err) {
  config::ThrowError(1, "$$$/kivcore/File/Error/CannotRead=The file \"@0\" could not be read: @1",
                     config::kCoreErrorCategory, config::kCannotReadFile, 1, file.GetFullPath(),
                     std::string(std::strerror(err)));
}

[[noreturn]] inline void ThrowWriteError(const File& file, const UTF16String& reason) {
  config::ThrowError(1,
                     "$$$/kivcore/File/Error/CannotWrite=The file \"@0\" could not be written: @1",
                     config::kCoreErrorCategory, config::kCannotWriteFile, 1, file.GetFullPath(),
                     reason);
}

[[noreturn]] inline void ThrowWriteError(const File& file, int err) {
  ThrowWriteError(file, UTF8to16(std::strerror(err)));
}

}  // namespace kivcore::filesupport::detail
