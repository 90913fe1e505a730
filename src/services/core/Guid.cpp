#include "services/core/Guid.h"

#include <boost/uuid/random_generator.hpp>
#include <boost/uuid/string_generator.hpp>
#include <boost/uuid/uuid.hpp>
#include <boost/uuid/uuid_io.hpp>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace kivcore {

Guid Guid::CreateUnique() {
  // One generator per thread (they are not thread-safe), each a Mersenne Twister seeded
  // once from the system's entropy: a new id costs no system call, which matters because
  // every deferred gets one.
  thread_local boost::uuids::random_generator_mt19937 generator;
  const boost::uuids::uuid id = generator();
  Guid g;
  std::copy(id.begin(), id.end(), g.bytes_.begin());
  return g;
}

std::optional<Guid> Guid::FromString(std::string_view text) {
  if (text.size() != 36) return std::nullopt;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    const char c = text[i];
    if (dash ? c != '-' : !std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
  }
  const boost::uuids::uuid id = boost::uuids::string_generator()(text.begin(), text.end());
  Guid g;
  std::copy(id.begin(), id.end(), g.bytes_.begin());
  return g;
}

bool Guid::IsNull() const {
  return std::all_of(bytes_.begin(), bytes_.end(), [](std::uint8_t b) { return b == 0; });
}

std::string Guid::ToString() const {
  boost::uuids::uuid id;
  std::copy(bytes_.begin(), bytes_.end(), id.begin());
  return boost::uuids::to_string(id);
}

std::size_t Guid::Hash() const {
  std::uint64_t a = 0, b = 0;
  std::memcpy(&a, bytes_.data(), 8);
  std::memcpy(&b, bytes_.data() + 8, 8);
  return static_cast<std::size_t>(a ^ (b * 0x9E3779B97F4A7C15ull));
}

}  // namespace kivcore
