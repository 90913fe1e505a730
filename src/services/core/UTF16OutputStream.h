#pragma once

#include "services/core/Strings.h"

namespace kivcore {

// A sink for UTF-16 text (console output, for instance).
class UTF16OutputStream {
 public:
  virtual ~UTF16OutputStream() = default;
  virtual void Write(std::u16string_view text) = 0;
  virtual void Flush() {}

  void Write(std::string_view utf8) { Write(std::u16string_view(UTF8to16(utf8))); }
  void WriteLine(std::u16string_view text) {
    Write(text);
    Write(std::u16string_view(u"\n"));
  }
  void WriteLine(std::string_view utf8) { WriteLine(std::u16string_view(UTF8to16(utf8))); }
};

// Collects what is written in memory.
class UTF16StringOutputStream : public UTF16OutputStream {
 public:
  using UTF16OutputStream::Write;
  void Write(std::u16string_view text) override { text_.append(text); }
  const UTF16String& Text() const { return text_; }

 private:
  UTF16String text_;
};

}  // namespace kivcore
