#pragma once
// A shared, never-changing 8-bit string: copies share one buffer, and a static string is
// used in place without any allocation. Used for URLs and header names and values.

#include <compare>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace kivcore {

class ImmutableString {
 public:
  ImmutableString() = default;

  // text must outlive every copy (a literal or other static storage); nothing is copied.
  static ImmutableString CreateStatic(const char* text);
  // Copies text once into a buffer shared by every copy of the result.
  static ImmutableString CreateDynamic(std::string_view text);

  std::string_view view() const { return view_; }
  std::string str() const { return std::string(view_); }
  // Always NUL-terminated.
  const char* c_str() const { return view_.empty() ? "" : view_.data(); }
  std::size_t size() const { return view_.size(); }
  bool empty() const { return view_.empty(); }

  friend bool operator==(const ImmutableString& a, const ImmutableString& b) {
    return a.view_ == b.view_;
  }
  friend std::strong_ordering operator<=>(const ImmutableString& a, const ImmutableString& b) {
    return a.view_.compare(b.view_) <=> 0;
  }
  friend std::ostream& operator<<(std::ostream& os, const ImmutableString& s) {
    return os << s.view_;
  }

 private:
  std::shared_ptr<const std::string> owned_;  // null for static text
  std::string_view view_;
};

}  // namespace kivcore
