#include "TypedCompare.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

// Each shape pattern is "^" body "$" (or alternatives of that form), matched
// with the default options: "^" only at the start of the text, "$" at its end
// or before one line break that ends it. No body can match a line-break
// character, so a text has the shape exactly when the text without its final
// line break (if any) is a full match of the body. The line breaks are those
// of the newline convention "any": CR LF as one, or a single LF, CR, VT, FF or
// NEL (0x85, which is also the ellipsis of Windows-1252).

namespace {

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Parses "-"? [0-9]+ ([.,] [0-9]+)? over [0, n) without checking the leading
// zero rules, which the caller has done.
double ParseReal(const char* p, std::size_t n) {
  // Short numbers: the digits as a whole number below 2^53 divided by an
  // exact power of ten is the correctly rounded value (one rounding only).
  {
    static const double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                     1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    std::size_t k = p[0] == '-' ? 1 : 0;
    std::uint64_t m = 0;
    int digits = 0;
    int fraction = -1;
    for (; k < n && digits <= 16; ++k) {
      const char c = p[k];
      if (c == ',' || c == '.') {
        fraction = 0;
      } else {
        m = m * 10 + static_cast<std::uint64_t>(c - '0');
        ++digits;
        if (fraction >= 0) ++fraction;
      }
    }
    if (k == n && m < (1ULL << 53)) {
      const double v = fraction > 0 ? static_cast<double>(m) / kPowers[fraction] : static_cast<double>(m);
      return p[0] == '-' ? -v : v;
    }
  }
  char small[64];
  std::string large;
  char* buf = small;
  if (n > sizeof small) {
    large.assign(p, n);
    buf = large.data();
  } else {
    std::memcpy(small, p, n);
  }
  for (std::size_t k = 0; k < n; ++k) {
    if (buf[k] == ',') buf[k] = '.';
  }
  double value = 0;
  const auto res = std::from_chars(buf, buf + n, value, std::chars_format::fixed);
  if (res.ec == std::errc::result_out_of_range) {
    // Out of the double range: an integer part other than "0" overflows,
    // a fraction after "0" underflows.
    const bool negative = buf[0] == '-';
    const std::size_t first = negative ? 1 : 0;
    const bool big = buf[first] != '0';
    value = big ? std::numeric_limits<double>::infinity() : 0.0;
    if (negative) value = -value;
  }
  return value;
}

// The number shapes in one pass. Returns Text, Integer (also a real) or Real.
// Integer values are read only when wanted.
TValueKind NumberKind(std::string_view t, std::size_t core, std::int64_t* intValue) {
  std::size_t i = 0;
  const bool negative = core > 0 && t[0] == '-';
  if (negative) i = 1;
  if (i >= core) return TValueKind::Text;
  if (t[i] == '0') {
    ++i;
    if (i == core) return negative ? TValueKind::Text : TValueKind::Integer;
  } else if (t[i] >= '1' && t[i] <= '9') {
    std::int64_t v = 0;
    const std::size_t start = i;
    while (i < core && IsDigit(t[i])) {
      if (i - start < 18) v = v * 10 + (t[i] - '0');
      ++i;
    }
    if (i == core) {
      if (t.size() < 19) {
        if (intValue != nullptr) *intValue = negative ? -v : v;
        return TValueKind::Integer;
      }
      return TValueKind::Real;
    }
  } else {
    return TValueKind::Text;
  }
  // A separator and at least one digit must end the body.
  if (t[i] != ',' && t[i] != '.') return TValueKind::Text;
  ++i;
  if (i >= core) return TValueKind::Text;
  while (i < core) {
    if (!IsDigit(t[i])) return TValueKind::Text;
    ++i;
  }
  return TValueKind::Real;
}

bool DateBody(std::string_view t, std::size_t core) {
  if (core != 10) return false;
  return IsDigit(t[0]) && IsDigit(t[1]) && t[2] == '/' && IsDigit(t[3]) && IsDigit(t[4]) && t[5] == '/' &&
         IsDigit(t[6]) && IsDigit(t[7]) && IsDigit(t[8]) && IsDigit(t[9]);
}

// Two letters then between minDigits and maxDigits digits.
bool PieceBody(std::string_view t, std::size_t core, char a, char b, std::size_t minDigits,
               std::size_t maxDigits) {
  if (core < 2 + minDigits || core > 2 + maxDigits) return false;
  if (t[0] != a || t[1] != b) return false;
  for (std::size_t k = 2; k < core; ++k) {
    if (!IsDigit(t[k])) return false;
  }
  return true;
}

std::int64_t DigitsValue(std::string_view t, std::size_t from, std::size_t to) {
  std::int64_t v = 0;
  for (std::size_t k = from; k < to; ++k) v = v * 10 + (t[k] - '0');
  return v;
}

}  // namespace

std::size_t LengthBeforeFinalLineBreak(std::string_view t) {
  const std::size_t n = t.size();
  if (n == 0) return 0;
  const unsigned char c = static_cast<unsigned char>(t[n - 1]);
  if (c == '\n') return (n >= 2 && t[n - 2] == '\r') ? n - 2 : n - 1;
  if (c == '\r' || c == 0x0B || c == 0x0C || c == 0x85) return n - 1;
  return n;
}

bool TextIsInteger(std::string_view text) {
  return NumberKind(text, LengthBeforeFinalLineBreak(text), nullptr) == TValueKind::Integer;
}

bool TextIsReal(std::string_view text) {
  return NumberKind(text, LengthBeforeFinalLineBreak(text), nullptr) != TValueKind::Text;
}

bool TextIsDigits(std::string_view text) {
  const std::size_t core = LengthBeforeFinalLineBreak(text);
  if (core == 0) return false;
  for (std::size_t k = 0; k < core; ++k) {
    if (!IsDigit(text[k])) return false;
  }
  return true;
}

bool TextIsDate(std::string_view text) { return DateBody(text, LengthBeforeFinalLineBreak(text)); }

bool TextIsAvoirNumber(std::string_view text) {
  return PieceBody(text, LengthBeforeFinalLineBreak(text), 'A', 'V', 3, 4);
}

bool TextIsDevisNumber(std::string_view text) {
  return PieceBody(text, LengthBeforeFinalLineBreak(text), 'D', 'E', 4, 5);
}

bool TextIsFactureNumber(std::string_view text) {
  return PieceBody(text, LengthBeforeFinalLineBreak(text), 'F', 'A', 5, 5);
}

double RealValueOf(std::string_view text) {
  const std::size_t core = LengthBeforeFinalLineBreak(text);
  if (NumberKind(text, core, nullptr) == TValueKind::Text) return 0;
  return ParseReal(text.data(), core);
}

namespace {

// The kind of a text and its whole-number key (integers, dates, pieces);
// the double of a real is left to the caller. core is the length without
// the final line break.
TValueKind KindOf(std::string_view text, std::size_t core, std::int64_t& intKey) {
  if (core == 0) return TValueKind::Text;
  const char c0 = text[0];
  if (c0 == '-' || IsDigit(c0)) {
    const TValueKind kind = NumberKind(text, core, &intKey);
    if (kind != TValueKind::Text) return kind;
    if (DateBody(text, core)) {
      intKey = DigitsValue(text, 6, 10) * 10000 + DigitsValue(text, 3, 5) * 100 + DigitsValue(text, 0, 2);
      return TValueKind::Date;
    }
    return TValueKind::Text;
  }
  TValueKind kind = TValueKind::Text;
  if (c0 == 'A') {
    if (PieceBody(text, core, 'A', 'V', 3, 4)) kind = TValueKind::Avoir;
  } else if (c0 == 'D') {
    if (PieceBody(text, core, 'D', 'E', 4, 5)) kind = TValueKind::Devis;
  } else if (c0 == 'F') {
    if (PieceBody(text, core, 'F', 'A', 5, 5)) kind = TValueKind::Facture;
  }
  if (kind != TValueKind::Text) intKey = DigitsValue(text, 2, core);
  return kind;
}

inline bool IsNumber(TValueKind k) { return k == TValueKind::Integer || k == TValueKind::Real; }

inline int SignOf(std::int64_t a, std::int64_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

}  // namespace

int CompareTyped(std::string_view a, std::string_view b) {
  if (a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size()) == 0) return 0;
  const std::size_t coreA = LengthBeforeFinalLineBreak(a);
  std::int64_t intA = 0;
  const TValueKind x = KindOf(a, coreA, intA);
  if (x == TValueKind::Text) return CompareBytes(a, b);
  const std::size_t coreB = LengthBeforeFinalLineBreak(b);
  std::int64_t intB = 0;
  const TValueKind y = KindOf(b, coreB, intB);
  if (x == TValueKind::Integer && y == TValueKind::Integer) return SignOf(intA, intB);
  if (IsNumber(x) && IsNumber(y)) {
    const double ra = x == TValueKind::Integer ? static_cast<double>(intA) : ParseReal(a.data(), coreA);
    const double rb = y == TValueKind::Integer ? static_cast<double>(intB) : ParseReal(b.data(), coreB);
    return ra < rb ? -1 : (ra > rb ? 1 : 0);
  }
  if (x == y) return SignOf(intA, intB);
  return CompareBytes(a, b);
}

TTypedKey ClassifyValue(std::string_view text) {
  TTypedKey key;
  const std::size_t core = LengthBeforeFinalLineBreak(text);
  std::int64_t v = 0;
  key.Kind = KindOf(text, core, v);
  if (key.Kind == TValueKind::Integer) {
    key.Int = v;
    // Exact below 2^53 and correctly rounded above, like reading the text.
    key.Real = static_cast<double>(v);
  } else if (key.Kind == TValueKind::Real) {
    key.Real = ParseReal(text.data(), core);
  } else if (key.Kind != TValueKind::Text) {
    key.Int = v;
  }
  return key;
}

int CompareBytes(std::string_view a, std::string_view b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  if (n > 0) {
    const int c = std::memcmp(a.data(), b.data(), n);
    if (c != 0) return c < 0 ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

int CompareClassified(std::string_view a, const TTypedKey& ka, std::string_view b, const TTypedKey& kb) {
  if (a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size()) == 0) return 0;
  const TValueKind x = ka.Kind;
  const TValueKind y = kb.Kind;
  if (x == TValueKind::Integer && y == TValueKind::Integer) {
    return ka.Int < kb.Int ? -1 : (ka.Int > kb.Int ? 1 : 0);
  }
  const bool xNumber = x == TValueKind::Integer || x == TValueKind::Real;
  const bool yNumber = y == TValueKind::Integer || y == TValueKind::Real;
  if (xNumber && yNumber) {
    return ka.Real < kb.Real ? -1 : (ka.Real > kb.Real ? 1 : 0);
  }
  if (x == y && x != TValueKind::Text) {
    // Dates, or two pieces of the same kind: the keys are whole numbers.
    return ka.Int < kb.Int ? -1 : (ka.Int > kb.Int ? 1 : 0);
  }
  return CompareBytes(a, b);
}
