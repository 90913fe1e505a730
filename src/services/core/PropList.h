#pragma once
// A hierarchical property list of typed values, kept in insertion order.
//
// Each key holds one value of one of the types below; the stored type can be asked for,
// and reading a value as another type fails instead of converting. Property lists are
// values: copying one copies its sub-lists.

#include "services/core/RectT.h"
#include "services/core/Strings.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kivcore {

class PropList {
 public:
  enum class ValueType {
    None,  // no value under the key
    String,
    Text,
    Bool,
    Int,
    Flags,
    Float,
    Rect,
    IntList,
    BoolList,
    StringList,
    TextList,  // UTF-16 strings (names, paths)
    SubList,
  };
  using IntList = std::vector<std::int32_t>;
  using BoolList = std::vector<bool>;
  using StringList = std::vector<std::string>;
  using TextList = std::vector<UTF16String>;

  PropList();
  PropList(const PropList& other);
  PropList(PropList&& other) noexcept;
  PropList& operator=(const PropList& other);
  PropList& operator=(PropList&& other) noexcept;
  ~PropList();

  // Setting a key replaces its value, whatever type it had, and keeps its position.
  void SetValue(std::string_view key, const char* value);
  void SetValue(std::string_view key, std::string_view value);
  void SetValue(std::string_view key, const char16_t* value);
  void SetValue(std::string_view key, std::u16string_view value);
  void SetValue(std::string_view key, bool value);
  void SetValue(std::string_view key, std::int32_t value);
  void SetValue(std::string_view key, std::uint32_t value);
  void SetValue(std::string_view key, float value);
  void SetValue(std::string_view key, const Rect& value);
  void SetValue(std::string_view key, IntList value);
  void SetValue(std::string_view key, BoolList value);
  void SetValue(std::string_view key, StringList value);
  void SetValue(std::string_view key, TextList value);

  // Each returns false, leaving out unchanged, when the key is missing or holds another type.
  bool GetValue(std::string_view key, std::string& out) const;
  bool GetValue(std::string_view key, UTF16String& out) const;
  bool GetValue(std::string_view key, bool& out) const;
  bool GetValue(std::string_view key, std::int32_t& out) const;
  bool GetValue(std::string_view key, std::uint32_t& out) const;
  bool GetValue(std::string_view key, float& out) const;
  bool GetValue(std::string_view key, Rect& out) const;
  bool GetValue(std::string_view key, IntList& out) const;
  bool GetValue(std::string_view key, BoolList& out) const;
  bool GetValue(std::string_view key, StringList& out) const;
  bool GetValue(std::string_view key, TextList& out) const;

  ValueType GetValueType(std::string_view key) const;
  bool HasValue(std::string_view key) const { return GetValueType(key) != ValueType::None; }
  // Returns whether there was a value.
  bool RemoveValue(std::string_view key);

  // Puts a new empty sub-list under key (replacing any value) and returns it.
  PropList& NewSubList(std::string_view key);
  // The sub-list under key, or null when there is none.
  const PropList* GetSubList(std::string_view key) const;
  PropList* GetSubList(std::string_view key);

  bool IsEmpty() const { return entries_.empty(); }
  std::size_t Size() const { return entries_.size(); }
  // Keys in insertion order.
  std::vector<std::string> GetKeys() const;
  void Clear() { entries_.clear(); }

  // The list as compact XML, as stored inside other lists (panel states).
  std::string OutputAsXMLFragment() const;

  // Deep comparison; floats compare by bit pattern so that NaN equals itself.
  friend bool operator==(const PropList& a, const PropList& b);

 private:
  using Value = std::variant<std::string, UTF16String, bool, std::int32_t, std::uint32_t,
                             float, Rect, IntList, BoolList, StringList, TextList,
                             std::unique_ptr<PropList>>;
  struct Entry {
    std::string key;
    Value value;
  };

  const Value* Find(std::string_view key) const;
  void Put(std::string_view key, Value value);
  template <typename T>
  bool Read(std::string_view key, T& out) const;

  std::vector<Entry> entries_;
};

}  // namespace kivcore
