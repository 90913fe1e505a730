#include "services/core/PropList.h"

#include "services/core/PropListUtils.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace kivcore {
namespace {

template <typename Value>
Value CloneValue(const Value& v) {
  return std::visit(
      [](const auto& x) -> Value {
        if constexpr (std::is_same_v<std::decay_t<decltype(x)>, std::unique_ptr<PropList>>) {
          return Value(std::in_place_type<std::unique_ptr<PropList>>, std::make_unique<PropList>(*x));
        } else {
          return x;
        }
      },
      v);
}

}  // namespace

PropList::PropList() = default;
PropList::PropList(PropList&& other) noexcept = default;
PropList& PropList::operator=(PropList&& other) noexcept = default;
PropList::~PropList() = default;

PropList::PropList(const PropList& other) {
  entries_.reserve(other.entries_.size());
  for (const Entry& e : other.entries_) entries_.push_back({e.key, CloneValue(e.value)});
}

PropList& PropList::operator=(const PropList& other) {
  if (this != &other) *this = PropList(other);
  return *this;
}

const PropList::Value* PropList::Find(std::string_view key) const {
  const auto it = std::find_if(entries_.begin(), entries_.end(),
                               [key](const Entry& e) { return e.key == key; });
  return it == entries_.end() ? nullptr : &it->value;
}

void PropList::Put(std::string_view key, Value value) {
  if (auto* existing = const_cast<Value*>(Find(key))) {
    *existing = std::move(value);
  } else {
    entries_.push_back({std::string(key), std::move(value)});
  }
}

template <typename T>
bool PropList::Read(std::string_view key, T& out) const {
  const Value* v = Find(key);
  const T* typed = v ? std::get_if<T>(v) : nullptr;
  if (!typed) return false;
  out = *typed;
  return true;
}

void PropList::SetValue(std::string_view key, const char* value) {
  Put(key, std::string(value ? value : ""));
}
void PropList::SetValue(std::string_view key, std::string_view value) { Put(key, std::string(value)); }
void PropList::SetValue(std::string_view key, const char16_t* value) {
  Put(key, UTF16String(value ? value : u""));
}
void PropList::SetValue(std::string_view key, std::u16string_view value) {
  Put(key, UTF16String(value));
}
void PropList::SetValue(std::string_view key, bool value) { Put(key, value); }
void PropList::SetValue(std::string_view key, std::int32_t value) { Put(key, value); }
void PropList::SetValue(std::string_view key, std::uint32_t value) { Put(key, value); }
void PropList::SetValue(std::string_view key, float value) { Put(key, value); }
void PropList::SetValue(std::string_view key, const Rect& value) { Put(key, value); }
void PropList::SetValue(std::string_view key, IntList value) { Put(key, std::move(value)); }
void PropList::SetValue(std::string_view key, BoolList value) { Put(key, std::move(value)); }
void PropList::SetValue(std::string_view key, StringList value) { Put(key, std::move(value)); }
void PropList::SetValue(std::string_view key, TextList value) { Put(key, std::move(value)); }

bool PropList::GetValue(std::string_view key, std::string& out) const { return Read(key, out); }
bool PropList::GetValue(std::string_view key, UTF16String& out) const { return Read(key, out); }
bool PropList::GetValue(std::string_view key, bool& out) const { return Read(key, out); }
bool PropList::GetValue(std::string_view key, std::int32_t& out) const { return Read(key, out); }
bool PropList::GetValue(std::string_view key, std::uint32_t& out) const { return Read(key, out); }
bool PropList::GetValue(std::string_view key, float& out) const { return Read(key, out); }
bool PropList::GetValue(std::string_view key, Rect& out) const { return Read(key, out); }
bool PropList::GetValue(std::string_view key, IntList& out) const { return Read(key, out); }
bool PropList::GetValue(std::string_view key, BoolList& out) const { return Read(key, out); }
bool PropList::GetValue(std::string_view key, StringList& out) const { return Read(key, out); }
bool PropList::GetValue(std::string_view key, TextList& out) const { return Read(key, out); }

PropList::ValueType PropList::GetValueType(std::string_view key) const {
  const Value* v = Find(key);
  // The variant's alternatives follow ValueType's order after None.
  return v ? static_cast<ValueType>(v->index() + 1) : ValueType::None;
}

bool PropList::RemoveValue(std::string_view key) {
  const auto it = std::find_if(entries_.begin(), entries_.end(),
                               [key](const Entry& e) { return e.key == key; });
  if (it == entries_.end()) return false;
  entries_.erase(it);
  return true;
}

PropList& PropList::NewSubList(std::string_view key) {
  auto sub = std::make_unique<PropList>();
  PropList& result = *sub;
  Put(key, std::move(sub));
  return result;
}

const PropList* PropList::GetSubList(std::string_view key) const {
  const Value* v = Find(key);
  const auto* sub = v ? std::get_if<std::unique_ptr<PropList>>(v) : nullptr;
  return sub ? sub->get() : nullptr;
}

PropList* PropList::GetSubList(std::string_view key) {
  return const_cast<PropList*>(std::as_const(*this).GetSubList(key));
}

std::vector<std::string> PropList::GetKeys() const {
  std::vector<std::string> keys;
  keys.reserve(entries_.size());
  for (const Entry& e : entries_) keys.push_back(e.key);
  return keys;
}

std::string PropList::OutputAsXMLFragment() const {
  return proplist::utils::WritePropListXML(*this, /*asFile=*/false);
}

bool operator==(const PropList& a, const PropList& b) {
  if (a.entries_.size() != b.entries_.size()) return false;
  for (std::size_t i = 0; i < a.entries_.size(); ++i) {
    const auto& x = a.entries_[i];
    const auto& y = b.entries_[i];
    if (x.key != y.key || x.value.index() != y.value.index()) return false;
    const bool same = std::visit(
        [&y](const auto& xv) {
          using T = std::decay_t<decltype(xv)>;
          const T& yv = std::get<T>(y.value);
          if constexpr (std::is_same_v<T, float>) {
            return std::bit_cast<std::uint32_t>(xv) == std::bit_cast<std::uint32_t>(yv);
          } else if constexpr (std::is_same_v<T, std::unique_ptr<PropList>>) {
            return *xv == *yv;
          } else {
            return xv == yv;
          }
        },
        x.value);
    if (!same) return false;
  }
  return true;
}

}  // namespace kivcore
