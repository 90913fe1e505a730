#include "services/core/DebugDatabase.h"

#include "services/core/Strings.h"

#include <cstdio>

namespace kivcore::debug {
namespace {

// Converts between the value kinds; nothing when the value does not fit.
template <typename T>
std::optional<T> Convert(const DebugDatabase::Value& v) {
  if (const T* exact = std::get_if<T>(&v)) return *exact;
  if constexpr (std::is_same_v<T, double>) {
    if (const auto* i = std::get_if<std::int64_t>(&v)) return static_cast<double>(*i);
  }
  if constexpr (std::is_same_v<T, std::int64_t>) {
    if (const auto* d = std::get_if<double>(&v)) return static_cast<std::int64_t>(*d);
  }
  return std::nullopt;
}

std::optional<DebugDatabase::Value> ParseAs(const DebugDatabase::Value& like,
                                            std::string_view text) {
  if (std::holds_alternative<std::string>(like)) return std::string(text);
  if (std::holds_alternative<bool>(like)) {
    if (text == "true" || text == "1") return true;
    if (text == "false" || text == "0") return false;
    return std::nullopt;
  }
  if (std::holds_alternative<std::int64_t>(like)) {
    if (auto n = StringToNumber<std::int64_t>(text)) return *n;
    return std::nullopt;
  }
  if (auto d = StringToNumber<double>(text)) return *d;
  return std::nullopt;
}

}  // namespace

DebugDatabase& DebugDatabase::Instance() {
  static DebugDatabase instance;
  return instance;
}

template <typename T>
T DebugDatabase::Read(std::string_view name, T defaultValue) {
  std::lock_guard lock(mutex_);
  auto it = entries_.find(name);
  if (it == entries_.end()) {
    entries_.emplace(std::string(name), Entry{defaultValue, defaultValue});
    return defaultValue;
  }
  return Convert<T>(it->second.value).value_or(defaultValue);
}

double DebugDatabase::GetEntry(std::string_view name, double defaultValue) {
  return Read(name, defaultValue);
}
std::int64_t DebugDatabase::GetEntry(std::string_view name, std::int64_t defaultValue) {
  return Read(name, defaultValue);
}
bool DebugDatabase::GetEntry(std::string_view name, bool defaultValue) {
  return Read(name, defaultValue);
}
std::string DebugDatabase::GetEntry(std::string_view name, std::string_view defaultValue) {
  return Read(name, std::string(defaultValue));
}

void DebugDatabase::SetEntry(std::string_view name, Value value) {
  std::lock_guard lock(mutex_);
  auto it = entries_.find(name);
  if (it == entries_.end()) {
    entries_.emplace(std::string(name), Entry{value, value});
  } else {
    it->second.value = std::move(value);
  }
  ++changeCount_;
}

bool DebugDatabase::SetEntryFromText(std::string_view name, std::string_view text) {
  std::lock_guard lock(mutex_);
  auto it = entries_.find(name);
  if (it == entries_.end()) return false;
  auto parsed = ParseAs(it->second.defaultValue, text);
  if (!parsed) return false;
  it->second.value = std::move(*parsed);
  ++changeCount_;
  return true;
}

void DebugDatabase::ResetToDefaults() {
  std::lock_guard lock(mutex_);
  for (auto& [name, entry] : entries_) entry.value = entry.defaultValue;
  ++changeCount_;
}

std::optional<DebugDatabase::Entry> DebugDatabase::FindEntry(std::string_view name) const {
  std::lock_guard lock(mutex_);
  auto it = entries_.find(name);
  if (it == entries_.end()) return std::nullopt;
  return it->second;
}

std::vector<std::string> DebugDatabase::GetNames() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> names;
  for (const auto& [name, entry] : entries_) names.push_back(name);
  return names;
}

std::uint64_t DebugDatabase::GetChangeCount() const {
  std::lock_guard lock(mutex_);
  return changeCount_;
}

std::string DebugDatabase::ToText(const Value& value) {
  return std::visit(
      [](const auto& v) -> std::string {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, bool>) {
          return v ? "true" : "false";
        } else if constexpr (std::is_same_v<T, std::string>) {
          return v;
        } else if constexpr (std::is_same_v<T, double>) {
          char buffer[32];
          std::snprintf(buffer, sizeof buffer, "%g", v);
          return buffer;
        } else {
          return std::to_string(v);
        }
      },
      value);
}

}  // namespace kivcore::debug
