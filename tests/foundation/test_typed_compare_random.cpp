// The hand-written shape tests and the typed comparison against the regular
// expressions that define them, over two million seeded random texts drawn
// near the shapes.

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "StringManager.h"
#include "TypedCompare.h"

namespace {

class TTextSource {
public:
  explicit TTextSource(std::uint64_t seed) : fEngine(seed) {}

  std::string Next() {
    switch (Below(4)) {
      case 0: return Tokens();
      case 1: return Mutated(Shaped());
      default: return Shaped();
    }
  }

private:
  std::uint64_t Below(std::uint64_t n) { return fEngine() % n; }

  std::string Digits(std::size_t n) {
    std::string s;
    for (std::size_t k = 0; k < n; ++k) s += static_cast<char>('0' + Below(10));
    return s;
  }

  std::string LineBreak() {
    static const char* const breaks[] = {"", "", "", "", "\n", "\r", "\r\n", "\n\n", "\r\n\r\n", "\n\r",
                                         "\x0b", "\x0c", "\x85", " ", "\t"};
    return breaks[Below(sizeof breaks / sizeof breaks[0])];
  }

  // Texts of the program's shapes, with sometimes a line break after them.
  std::string Shaped() {
    std::string s;
    switch (Below(8)) {
      case 0:  // integers around the 19-character limit
        if (Below(3) == 0) s += '-';
        s += Below(6) == 0 ? std::string("0") : std::to_string(1 + Below(9)) + Digits(Below(21));
        break;
      case 1:  // reals
        if (Below(3) == 0) s += '-';
        s += Below(3) == 0 ? std::string("0") : std::to_string(1 + Below(9)) + Digits(Below(6));
        s += Below(2) == 0 ? ',' : '.';
        s += Digits(Below(5));
        break;
      case 2:
        s = Digits(2) + "/" + Digits(2) + "/" + Digits(4);
        break;
      case 3:
        s = "AV" + Digits(2 + Below(4));
        break;
      case 4:
        s = "DE" + Digits(3 + Below(4));
        break;
      case 5:
        s = "FA" + Digits(4 + Below(3));
        break;
      case 6:
        s = Digits(1 + Below(20));
        break;
      default:
        s = "0";
        break;
    }
    return s + LineBreak();
  }

  // One change: a character inserted, removed or replaced.
  std::string Mutated(std::string s) {
    const std::string pick = Token();
    const std::size_t at = s.empty() ? 0 : Below(s.size() + 1);
    switch (Below(3)) {
      case 0: s.insert(at, pick); break;
      case 1:
        if (at < s.size()) s.erase(at, 1);
        break;
      default:
        if (at < s.size()) s.replace(at, 1, pick);
        break;
    }
    return s;
  }

  std::string Token() {
    static const std::string_view tokens[] = {"0",  "1",  "5",  "9",  "0",    "7",    "-",    ",",    ".",
                                              "/",  "FA", "DE", "AV", " ",    "\r",   "\n",   "\r\n", "\x0b",
                                              "\x0c", "\x85", "a", "\xE9", "+", "e",   "A",    "F",    "V",
                                              "D",  "00", "\t", std::string_view("\0", 1)};
    return std::string(tokens[Below(sizeof tokens / sizeof tokens[0])]);
  }

  std::string Tokens() {
    std::string s;
    const std::size_t n = Below(12);
    for (std::size_t k = 0; k < n; ++k) s += Token();
    return s;
  }

  std::mt19937_64 fEngine;
};

// The values of the comparison read independently of the hand-written code:
// only the characters that make the number, every other one ignored.
long long ReferenceInteger(const std::string& t, std::size_t from) {
  long long v = 0;
  for (std::size_t k = from; k < t.size(); ++k) {
    if (t[k] >= '0' && t[k] <= '9') v = v * 10 + (t[k] - '0');
  }
  return !t.empty() && t[0] == '-' ? -v : v;
}

double ReferenceReal(const std::string& t) {
  std::string s;
  for (char c : t) {
    if (c == '-' || (c >= '0' && c <= '9')) s += c;
    if (c == ',' || c == '.') s += '.';
  }
  double v = 0;
  std::from_chars(s.data(), s.data() + s.size(), v);
  return v;
}

int Sign(long long a, long long b) { return a < b ? -1 : (a > b ? 1 : 0); }

int ReferenceCompare(TStringManager& s, const std::string& a, const std::string& b) {
  if (a == b) return 0;
  auto integer = [&s](const std::string& t) { return t.size() < 19 && s.MatchShapePattern(TShape::Integer, t); };
  if (integer(a) && integer(b)) return Sign(ReferenceInteger(a, 0), ReferenceInteger(b, 0));
  if (s.MatchShapePattern(TShape::Real, a) && s.MatchShapePattern(TShape::Real, b)) {
    const double d = ReferenceReal(a) - ReferenceReal(b);
    return d > 0 ? 1 : (d < 0 ? -1 : 0);
  }
  if (s.MatchShapePattern(TShape::Date, a) && s.MatchShapePattern(TShape::Date, b)) {
    auto key = [](const std::string& t) {
      return ReferenceInteger(t.substr(6, 4), 0) * 10000 + ReferenceInteger(t.substr(3, 2), 0) * 100 +
             ReferenceInteger(t.substr(0, 2), 0);
    };
    return Sign(key(a), key(b));
  }
  for (TShape piece : {TShape::Avoir, TShape::Devis, TShape::Facture}) {
    if (s.MatchShapePattern(piece, a) && s.MatchShapePattern(piece, b)) {
      return Sign(ReferenceInteger(a, 2), ReferenceInteger(b, 2));
    }
  }
  for (std::size_t k = 0; k < a.size() && k < b.size(); ++k) {
    const unsigned char x = static_cast<unsigned char>(a[k]);
    const unsigned char y = static_cast<unsigned char>(b[k]);
    if (x != y) return x < y ? -1 : 1;
  }
  return Sign(static_cast<long long>(a.size()), static_cast<long long>(b.size()));
}

int SignOf(int n) { return n < 0 ? -1 : (n > 0 ? 1 : 0); }

std::string Shown(const std::string& t) {
  std::string out;
  for (char c : t) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u >= 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", u);
      out += buf;
    } else {
      out += c;
    }
  }
  return '"' + out + '"';
}

}  // namespace

TEST(TypedCompareRandom, HandWrittenShapesAgreeWithThePatterns) {
  TStringManager& s = StringManager();
  TTextSource source(20261208);
  std::vector<std::string> pool;
  int failures = 0;
  const int count = 2000000;
  long long integers = 0;
  long long reals = 0;
  long long lineBreakShapes = 0;
  for (int n = 0; n < count && failures < 20; ++n) {
    const std::string t = source.Next();
    const bool integer = t.size() < 19 && s.MatchShapePattern(TShape::Integer, t);
    const bool real = s.MatchShapePattern(TShape::Real, t);
    const bool date = s.MatchShapePattern(TShape::Date, t);
    const bool avoir = s.MatchShapePattern(TShape::Avoir, t);
    const bool devis = s.MatchShapePattern(TShape::Devis, t);
    const bool facture = s.MatchShapePattern(TShape::Facture, t);
    const bool digits = s.MatchShapePattern(TShape::Digits, t);
    integers += integer;
    reals += real && !integer;
    if ((integer || real || date || avoir || devis || facture) && LengthBeforeFinalLineBreak(t) != t.size()) {
      ++lineBreakShapes;
    }
    const bool agree = s.IsInteger(t) == integer && s.IsReal(t) == real && s.IsDate(t) == date &&
                       s.IsAvoirNumber(t) == avoir && s.IsDevisNumber(t) == devis &&
                       s.IsFactureNumber(t) == facture && s.IsDigits(t) == digits;
    TValueKind expected = TValueKind::Text;
    if (integer) {
      expected = TValueKind::Integer;
    } else if (real) {
      expected = TValueKind::Real;
    } else if (date) {
      expected = TValueKind::Date;
    } else if (avoir) {
      expected = TValueKind::Avoir;
    } else if (devis) {
      expected = TValueKind::Devis;
    } else if (facture) {
      expected = TValueKind::Facture;
    }
    const TTypedKey key = ClassifyValue(t);
    bool keyAgrees = key.Kind == expected;
    if (keyAgrees && integer) keyAgrees = key.Int == ReferenceInteger(t, 0);
    if (keyAgrees && real) keyAgrees = key.Real == ReferenceReal(t) && s.MyStrToFloat(t) == key.Real;
    if (!agree || !keyAgrees) {
      ++failures;
      ADD_FAILURE() << "shapes differ for " << Shown(t) << ": pattern integer " << integer << " real " << real
                    << " date " << date << " AV " << avoir << " DE " << devis << " FA " << facture << " digits "
                    << digits << "; kind " << static_cast<int>(key.Kind);
    }
    // Compare each text with the previous one and with one drawn from the
    // pool, which holds texts of every kind, so that same-kind pairs are
    // frequent.
    const std::string& previous = pool.empty() ? t : pool.back();
    const std::string& other = pool.empty() ? t : pool[static_cast<std::size_t>(n) * 7919 % pool.size()];
    for (const std::string* b : {&previous, &other}) {
      const int fast = SignOf(CompareClassified(t, key, *b, ClassifyValue(*b)));
      const int reference = ReferenceCompare(s, t, *b);
      const int viaManager = SignOf(s.Compare(t, *b));
      const int viaLibraryPatterns = SignOf(s.CompareByPatterns(t, *b));
      if (fast != reference || viaManager != reference || viaLibraryPatterns != reference) {
        ++failures;
        ADD_FAILURE() << "Compare(" << Shown(t) << ", " << Shown(*b) << "): fast " << fast << " manager "
                      << viaManager << " reference " << reference << " library patterns " << viaLibraryPatterns;
      }
    }
    if (pool.size() < 4096) {
      pool.push_back(t);
    } else {
      pool[static_cast<std::size_t>(n) % pool.size()] = t;
    }
  }
  // The draw must really exercise the shapes, line breaks included.
  EXPECT_GT(integers, count / 10);
  EXPECT_GT(reals, count / 20);
  EXPECT_GT(lineBreakShapes, count / 20);
  EXPECT_EQ(failures, 0);
}
