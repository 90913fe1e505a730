#include "services/core/Guid.h"

#include <boost/uuid/string_generator.hpp>
#include <boost/uuid/uuid.hpp>
#include <boost/uuid/uuid_io.hpp>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <random>

namespace kivcore {

namespace {

// SplitMix64: a counter advanced by the golden gamma and mixed. Every state gives a
// different output, so a thread's ids never repeat, and each thread starts from its own
// state drawn from the system's entropy.
class IdGenerator {
 public:
  IdGenerator() {
    std::random_device entropy;
    state_ = (std::uint64_t(entropy()) << 32) ^ entropy();
  }
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

 private:
  std::uint64_t state_;
};

}  // namespace

Guid Guid::CreateUnique() {
  // One generator per thread: a new id costs no system call and no lock, which matters
  // because every deferred gets one. The bits of a random (version 4) UUID are set.
  thread_local IdGenerator generator;
  const std::uint64_t high = generator.Next(), low = generator.Next();
  Guid g;
  std::memcpy(g.bytes_.data(), &high, 8);
  std::memcpy(g.bytes_.data() + 8, &low, 8);
  g.bytes_[6] = std::uint8_t((g.bytes_[6] & 0x0F) | 0x40);
  g.bytes_[8] = std::uint8_t((g.bytes_[8] & 0x3F) | 0x80);
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
