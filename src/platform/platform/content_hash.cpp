#include "platform/content_hash.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace quorvale {
namespace {

constexpr std::uint64_t kOffsetBasis = 14695981039346656037ull;
constexpr std::uint64_t kPrime = 1099511628211ull;

std::string HexDigits(std::uint64_t hash) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i, hash >>= 4) text[static_cast<std::size_t>(i)] = kDigits[hash & 0xF];
  return text;
}

// The eight bytes at `at` as a little-endian number, on any host.
std::uint64_t LittleEndianWord(const char* at) {
  std::uint64_t word = 0;
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(&word, at, sizeof word);
  } else {
    for (int byte = 7; byte >= 0; --byte) word = (word << 8) | static_cast<unsigned char>(at[byte]);
  }
  return word;
}

}  // namespace

std::string ContentHash(std::string_view bytes) {
  std::uint64_t hash = kOffsetBasis;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= kPrime;
  }
  return HexDigits(hash);
}

std::string WordContentHash(std::string_view bytes) {
  std::uint64_t hash = kOffsetBasis;
  // Each step is one-to-one in the hash so far, so a file that differs from another in
  // one word always hashes otherwise; the rotation carries the high bits, which the
  // multiplication alone never brings down, into the low ones.
  const auto step = [&hash](std::uint64_t word) { hash = std::rotl((hash ^ word) * kPrime, 29); };
  std::size_t at = 0;
  for (; at + 8 <= bytes.size(); at += 8) step(LittleEndianWord(bytes.data() + at));
  for (; at < bytes.size(); ++at) step(static_cast<unsigned char>(bytes[at]));
  return HexDigits(hash);
}

}  // namespace quorvale
