#pragma once
// Between Qt's strings and the library's: UTF-16 text both ways, and files named by a path.

#include "services/core/File.h"

#include <QString>

namespace kivworkspace::qtwidgets {

inline kivcore::UTF16String ToUTF16(const QString& text) {
  return {reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())};
}

inline QString FromUTF16(const kivcore::UTF16String& text) {
  return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

inline kivcore::filesupport::File FileAt(const QString& path) {
  return kivcore::filesupport::File(ToUTF16(path));
}

}  // namespace kivworkspace::qtwidgets
