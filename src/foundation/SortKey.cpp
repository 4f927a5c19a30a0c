#include "SortKey.h"

#include <bit>
#include <cstring>

std::uint64_t BytesAt(std::string_view text, std::size_t offset) {
  if constexpr (std::endian::native == std::endian::little) {
    if (offset >= text.size()) return 0;
    std::uint64_t bytes = 0;
    std::memcpy(&bytes, text.data() + offset, text.size() - offset < 8 ? text.size() - offset : 8);
    return __builtin_bswap64(bytes);
  }
  std::uint64_t prefix = 0;
  for (std::size_t i = offset; i < offset + 8; ++i) {
    prefix <<= 8;
    if (i < text.size()) prefix |= static_cast<unsigned char>(text[i]);
  }
  return prefix;
}

TSortKey SortKeyOf(std::string_view value) {
  const TTypedKey typed = ClassifyValue(value);
  if (typed.Kind == TValueKind::Text) return BytesKeyOf(value);
  TSortKey key;
  key.Kind = typed.Kind;
  key.Int = typed.Int;
  key.Real = typed.Real;
  return key;
}

TSortKey BytesKeyOf(std::string_view value) {
  TSortKey key;
  key.Int = static_cast<std::int64_t>(BytesAt(value, 0));
  key.Real = std::bit_cast<double>(BytesAt(value, 8));
  std::uint32_t tail = 0;
  for (std::size_t i = 16; i < 19; ++i) {
    tail <<= 8;
    if (i < value.size()) tail |= static_cast<unsigned char>(value[i]);
  }
  key.Tail = (tail << 8) | static_cast<std::uint32_t>(value.size() < 255 ? value.size() : 255);
  return key;
}


std::uint64_t TypedRankOf(const TSortKey& key) {
  switch (key.Kind) {
    case TValueKind::Text:
      return 0;
    case TValueKind::Integer:
    case TValueKind::Real: {
      // The double's bits, turned so that they order as the numbers do;
      // never 0, and -0 is 0.
      const double x = key.Real == 0 ? 0.0 : key.Real;
      const auto bits = std::bit_cast<std::uint64_t>(x);
      constexpr std::uint64_t kSign = std::uint64_t(1) << 63;
      return (bits & kSign) != 0 ? ~bits : bits | kSign;
    }
    default:
      return static_cast<std::uint64_t>(key.Int) + 1;
  }
}
