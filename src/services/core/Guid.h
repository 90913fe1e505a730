#pragma once
// A 128-bit unique identifier (random, version 4), comparable, hashable and printable.

#include <array>
#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace kivcore {

class Guid {
 public:
  // The null identifier (all zero).
  Guid() = default;

  static Guid CreateUnique();
  // Parses the 36-character form "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx".
  static std::optional<Guid> FromString(std::string_view text);

  bool IsNull() const;
  // Lower-case 36-character form.
  std::string ToString() const;
  std::size_t Hash() const;

  friend bool operator==(const Guid&, const Guid&) = default;
  friend std::strong_ordering operator<=>(const Guid&, const Guid&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Guid& g) { return os << g.ToString(); }

 private:
  std::array<std::uint8_t, 16> bytes_{};
};

namespace utility {
using kivcore::Guid;
}

}  // namespace kivcore

template <>
struct std::hash<kivcore::Guid> {
  std::size_t operator()(const kivcore::Guid& g) const noexcept { return g.Hash(); }
};
