#pragma once
// Named tuning values with defaults, changeable at run time (from the console, for
// instance). Readers that cache a value compare GetChangeCount() with the count they saw.

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kivcore::debug {

class DebugDatabase {
 public:
  using Value = std::variant<bool, std::int64_t, double, std::string>;
  struct Entry {
    Value value;
    Value defaultValue;
  };

  static DebugDatabase& Instance();

  // The value of name. The first read of a name registers defaultValue as its default and
  // value; later reads return the current value converted to the default's type (a value
  // that cannot be converted reads as the default).
  double GetEntry(std::string_view name, double defaultValue);
  std::int64_t GetEntry(std::string_view name, std::int64_t defaultValue);
  bool GetEntry(std::string_view name, bool defaultValue);
  std::string GetEntry(std::string_view name, std::string_view defaultValue);
  // Without this, a string literal would pick the bool overload.
  std::string GetEntry(std::string_view name, const char* defaultValue) {
    return GetEntry(name, std::string_view(defaultValue));
  }

  // Sets a value (registering the name when new) and counts the change.
  void SetEntry(std::string_view name, Value value);
  // Sets a value from text, converted to the type of the entry's default; false when the
  // name is unknown or the text does not fit that type.
  bool SetEntryFromText(std::string_view name, std::string_view text);
  // Puts every value back to its default.
  void ResetToDefaults();

  std::optional<Entry> FindEntry(std::string_view name) const;
  std::vector<std::string> GetNames() const;
  std::uint64_t GetChangeCount() const;
  static std::string ToText(const Value& value);

 private:
  DebugDatabase() = default;
  template <typename T>
  T Read(std::string_view name, T defaultValue);

  mutable std::mutex mutex_;
  std::map<std::string, Entry, std::less<>> entries_;
  std::uint64_t changeCount_ = 0;
};

}  // namespace kivcore::debug
