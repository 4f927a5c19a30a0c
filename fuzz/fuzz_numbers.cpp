// The number, shape and comparison routines against any bytes.
//
// Input: one control byte, then up to three texts separated by NUL bytes (no
// text of the program holds a NUL: every reader stops at one).
//
// Checked for any texts: the hand-written shape tests answer like their
// patterns; MyStrToFloat reads what the real shape accepts and reports the
// rest; FormatRealStringStrict gives exactly the decimals asked for, close to
// the value; the typed comparison is antisymmetric, reflexive, agrees with
// equality within one kind, is transitive within one kind, and its fast form
// and its pattern form agree with it; ComparePrefix; tokens; substrings.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "StringManager.h"
#include "TypedCompare.h"

namespace {

int Sign(long long v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

const char* KindName(TValueKind k) {
  switch (k) {
    case TValueKind::Text: return "Text";
    case TValueKind::Integer: return "Integer";
    case TValueKind::Real: return "Real";
    case TValueKind::Date: return "Date";
    case TValueKind::Avoir: return "Avoir";
    case TValueKind::Devis: return "Devis";
    case TValueKind::Facture: return "Facture";
  }
  return "?";
}

void CheckShapes(TStringManager& sm, const std::string& s) {
  struct {
    TShape Shape;
    bool (*Fast)(std::string_view);
    const char* Name;
  } const rows[] = {
      {TShape::Real, TextIsReal, "Real"},           {TShape::Digits, TextIsDigits, "Digits"},
      {TShape::Date, TextIsDate, "Date"},           {TShape::Avoir, TextIsAvoirNumber, "Avoir"},
      {TShape::Devis, TextIsDevisNumber, "Devis"},  {TShape::Facture, TextIsFactureNumber, "Facture"},
  };
  for (const auto& row : rows)
    FUZZ_CHECK(row.Fast(s) == sm.MatchShapePattern(row.Shape, s),
               std::string("shape ") + row.Name + " of " + FuzzShow(s));
  FUZZ_CHECK(TextIsInteger(s) == sm.IsInteger(s), "shape Integer of " + FuzzShow(s));
  FUZZ_CHECK(sm.IsReal(s) == TextIsReal(s), "IsReal of " + FuzzShow(s));
  FUZZ_CHECK(!sm.IsInteger(s) || sm.MatchShapePattern(TShape::Integer, s), "IsInteger without its pattern");
  // The other shape tests only have to survive.
  (void)sm.IsEmail(s);
  (void)sm.IsPhone(s);
  (void)sm.IsBoolean(s);
  (void)sm.IsCIP(s);
  (void)sm.IsDigits(s);
  (void)sm.IsDate(s);
}

void CheckNumbers(TStringManager& sm, TFuzzQuiet& quiet, const std::string& s, int decimals, char sep) {
  quiet.Dialogs.Clear();
  double v = sm.MyStrToFloat(s);
  const bool real = sm.IsReal(sm.PointToComma(s));
  if (real) {
    FUZZ_CHECK(quiet.Dialogs.Messages.empty(), "MyStrToFloat reported a real " + FuzzShow(s));
    double expected = RealValueOf(s);
    FUZZ_CHECK(v == expected, "MyStrToFloat of " + FuzzShow(s));
  } else {
    FUZZ_CHECK(v == 0 && quiet.Dialogs.Messages.size() == 1, "MyStrToFloat of a non-real " + FuzzShow(s));
  }
  (void)sm.MyStrToInt(s);
  (void)sm.FormatRealString(s, sep, decimals);

  quiet.Dialogs.Clear();
  std::string f = sm.FormatRealStringStrict(s, sep, decimals);
  if (!real) {
    FUZZ_CHECK(f.empty() && quiet.Dialogs.Messages.size() == 1, "FormatRealStringStrict of a non-real " + FuzzShow(s));
    return;
  }
  // Amounts of the desk stay far below 10^15; beyond, the general number form
  // may switch to an exponent, which the routine reports.
  if (!std::isfinite(v) || std::fabs(v) >= 1e15) return;
  const std::string what = "FormatRealStringStrict(" + FuzzShow(s) + ", " + std::string(1, sep) + ", " +
                           std::to_string(decimals) + ") = " + FuzzShow(f);
  FUZZ_CHECK(quiet.Dialogs.Messages.empty(), what + " reported " + FuzzShow(quiet.Dialogs.Messages.empty() ? "" : quiet.Dialogs.Messages[0]));
  FUZZ_CHECK(sm.IsReal(f), what + ": not a real");
  std::size_t at = f.find(sep);
  const char other = sep == ',' ? '.' : ',';
  FUZZ_CHECK(f.find(other) == std::string::npos, what + ": wrong separator");
  if (decimals == 0) {
    FUZZ_CHECK(at == std::string::npos, what + ": decimals");
  } else {
    FUZZ_CHECK(at != std::string::npos && f.size() - at - 1 == static_cast<std::size_t>(decimals), what + ": decimals");
  }
  double back = sm.MyStrToFloat(f);
  double tolerance = 0.5 * std::pow(10.0, -decimals) + std::fabs(v) * 1e-14;
  FUZZ_CHECK(std::fabs(back - v) <= tolerance, what + ": too far from the value");
}

void CheckCompare(TStringManager& sm, const std::string& a, const std::string& b) {
  const std::string what = "Compare(" + FuzzShow(a) + ", " + FuzzShow(b) + ")";
  int ab = sm.Compare(a, b);
  int ba = sm.Compare(b, a);
  FUZZ_CHECK(Sign(ab) == -Sign(ba), what + " not antisymmetric");
  TTypedKey ka = ClassifyValue(a), kb = ClassifyValue(b);
  FUZZ_CHECK(Sign(CompareClassified(a, ka, b, kb)) == Sign(ab), what + " differs from CompareClassified");
  FUZZ_CHECK(Sign(sm.CompareByPatterns(a, b)) == Sign(ab), what + " differs from the patterns' comparison");
  if (ka.Kind == kb.Kind) {
    switch (ka.Kind) {
      case TValueKind::Text:
        FUZZ_CHECK((ab == 0) == (a == b), what + " zero for different texts");
        break;
      case TValueKind::Integer:
        // An integer has one way of being written ("$" lets one final line
        // break follow it).
        FUZZ_CHECK((ab == 0) == (a.substr(0, LengthBeforeFinalLineBreak(a)) == b.substr(0, LengthBeforeFinalLineBreak(b))),
                   what + std::string(" zero for different integers of kind ") + KindName(ka.Kind));
        break;
      case TValueKind::Real:
        FUZZ_CHECK((ab == 0) == (sm.MyStrToFloat(a) == sm.MyStrToFloat(b)), what + " zero for different reals");
        break;
      default:
        break;
    }
  }

  int pab = sm.ComparePrefix(a, b);
  int pba = sm.ComparePrefix(b, a);
  FUZZ_CHECK(Sign(pab) == -Sign(pba), "ComparePrefix(" + FuzzShow(a) + ", " + FuzzShow(b) + ") not antisymmetric");
  bool prefix = !a.empty() && !b.empty() && (a.compare(0, b.size(), b) == 0 || b.compare(0, a.size(), a) == 0);
  if (prefix || a == b)
    FUZZ_CHECK(pab == 0, "ComparePrefix of prefixes not 0");
  else
    FUZZ_CHECK(Sign(pab) == Sign(CompareBytes(a, b)), "ComparePrefix differs from the byte order");
}

void CheckTransitive(TStringManager& sm, const std::string& a, const std::string& b, const std::string& c) {
  TTypedKey ka = ClassifyValue(a), kb = ClassifyValue(b), kc = ClassifyValue(c);
  if (ka.Kind != kb.Kind || kb.Kind != kc.Kind) return;
  int ab = Sign(sm.Compare(a, b)), bc = Sign(sm.Compare(b, c)), ac = Sign(sm.Compare(a, c));
  if (ab <= 0 && bc <= 0)
    FUZZ_CHECK(ac <= 0, "Compare not transitive on " + FuzzShow(a) + " " + FuzzShow(b) + " " + FuzzShow(c));
  if (ab >= 0 && bc >= 0)
    FUZZ_CHECK(ac >= 0, "Compare not transitive on " + FuzzShow(a) + " " + FuzzShow(b) + " " + FuzzShow(c));
}

void CheckTexts(TStringManager& sm, const std::string& s, int from, int to) {
  int count = sm.CountTokens(s, ';');
  int separators = 0;
  for (char c : s) separators += c == ';' ? 1 : 0;
  FUZZ_CHECK(count == (s.empty() ? 0 : separators + 1), "CountTokens of " + FuzzShow(s));
  if (s.size() < 2000) {
    std::vector<std::string> tokens;
    for (int i = 1; i <= count; ++i) tokens.push_back(sm.GetToken(s, i, ';'));
    FUZZ_CHECK(sm.JoinStrings(tokens, ";") == s, "tokens of " + FuzzShow(s) + " do not join back");
    FUZZ_CHECK(sm.GetToken(s, count + 1, ';').empty(), "token after the last of " + FuzzShow(s));
  }
  // The substring is the clamped range, whatever the positions.
  const int length = static_cast<int>(s.size());
  int lo = std::max(1, std::min(from, to));
  int hi = std::min(length, std::max(from, to));
  std::string expected = lo <= hi ? s.substr(static_cast<std::size_t>(lo - 1), static_cast<std::size_t>(hi - lo + 1)) : "";
  FUZZ_CHECK(sm.MyStrCopy(s, from, to) == expected,
             "MyStrCopy(" + FuzzShow(s) + ", " + std::to_string(from) + ", " + std::to_string(to) + ")");
  if (s.find_first_of("\r\n") == std::string::npos)
    FUZZ_CHECK(sm.EscapeNewLines(sm.UnescapeNewLines(s)) == s, "line breaks of " + FuzzShow(s));
  (void)sm.TrimChar(s, ' ');
  (void)sm.FindSubString(s.substr(0, s.size() / 2), s);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  TFuzzQuiet quiet;
  TStringManager& sm = StringManager();
  const std::uint8_t control = data[0];
  std::vector<std::string> texts(1);
  for (std::size_t i = 1; i < size; ++i) {
    if (data[i] == 0 && texts.size() < 3)
      texts.emplace_back();
    else
      texts.back() += static_cast<char>(data[i]);
  }
  const int decimals = control % 7;
  const char sep = (control & 0x80) ? '.' : ',';
  for (const std::string& t : texts) {
    CheckShapes(sm, t);
    CheckNumbers(sm, quiet, t, decimals, sep);
    CheckCompare(sm, t, t);
    FUZZ_CHECK(sm.Compare(t, t) == 0, "Compare(a, a) not 0 for " + FuzzShow(t));
    CheckTexts(sm, t, static_cast<int>(control % 11) - 2, static_cast<int>((control >> 3) % 13) - 2);
  }
  for (std::size_t i = 0; i < texts.size(); ++i)
    for (std::size_t k = i + 1; k < texts.size(); ++k) CheckCompare(sm, texts[i], texts[k]);
  if (texts.size() == 3) {
    CheckTransitive(sm, texts[0], texts[1], texts[2]);
    CheckTransitive(sm, texts[0], texts[2], texts[1]);
    CheckTransitive(sm, texts[1], texts[0], texts[2]);
  }
  return 0;
}
