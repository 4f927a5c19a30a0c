#include "StringManager.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>

#include "Trace.h"
#include "TypedCompare.h"

// ---------------------------------------------------------------------------
// Compiled patterns

namespace {

pcre2_code* CodeOf(void* p) { return static_cast<pcre2_code*>(p); }
pcre2_match_data* DataOf(void* p) { return static_cast<pcre2_match_data*>(p); }

// The JIT's default stack (32 KB) is small for a user's search pattern with
// much backtracking over a long value; one larger stack serves every match
// (the program matches on one thread only).
pcre2_match_context* MatchContext() {
  static pcre2_match_context* context = [] {
    pcre2_match_context* c = pcre2_match_context_create(nullptr);
    pcre2_jit_stack* stack = pcre2_jit_stack_create(32 * 1024, 1024 * 1024, nullptr);
    if (c != nullptr && stack != nullptr) pcre2_jit_stack_assign(c, nullptr, stack);
    return c;
  }();
  return context;
}

}  // namespace

TCompiledPattern::TCompiledPattern(const std::string& pattern, TLineBreaks breaks) : fPattern(pattern) {
  if (pattern.empty()) {
    throw ERegExError("TPerlRegEx.Compile() - Please specify a regular expression in RegEx first");
  }
  pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
  pcre2_set_newline(context, breaks == TLineBreaks::CrLf ? PCRE2_NEWLINE_ANYCRLF : PCRE2_NEWLINE_ANY);
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), 0, &errorCode,
                                   &errorOffset, context);
  pcre2_compile_context_free(context);
  if (code == nullptr) {
    PCRE2_UCHAR text[256];
    if (pcre2_get_error_message(errorCode, text, sizeof text) < 0) text[0] = 0;
    throw ERegExError("TPerlRegEx.Compile() - Error in regex at offset " + std::to_string(errorOffset) + ": " +
                      reinterpret_cast<const char*>(text));
  }
  // JIT is an optimisation only: where it is missing the interpreter runs.
  pcre2_jit_compile(code, PCRE2_JIT_COMPLETE);
  uint32_t captures = 0;
  pcre2_pattern_info(code, PCRE2_INFO_CAPTURECOUNT, &captures);
  fGroupCount = static_cast<int>(captures);
  fCode = code;
  fMatchData = pcre2_match_data_create_from_pattern(code, nullptr);
}

TCompiledPattern::~TCompiledPattern() {
  pcre2_match_data_free(DataOf(fMatchData));
  pcre2_code_free(CodeOf(fCode));
}

bool TCompiledPattern::Match(std::string_view text) {
  // An empty subject cannot hold a non-empty match; the null pointer of an
  // empty view must not reach the library either.
  static const char kEmpty = 0;
  const char* subject = text.empty() ? &kEmpty : text.data();
  const int rc = pcre2_match(CodeOf(fCode), reinterpret_cast<PCRE2_SPTR>(subject), text.size(), 0, PCRE2_NOTEMPTY,
                             DataOf(fMatchData), MatchContext());
  // Other negative codes (match, depth or heap limits) give no match, told
  // apart from a plain "no" by LimitHit.
  fMatched = rc > 0;
  fLimitHit = rc < 0 && rc != PCRE2_ERROR_NOMATCH;
  fLastResult = rc;
  if (fMatched && fGroupCount > 0) fSubject.assign(subject, text.size());
  return fMatched;
}

std::string TCompiledPattern::LimitReason() const {
  if (!fLimitHit) return "";
  PCRE2_UCHAR reason[256];
  if (pcre2_get_error_message(fLastResult, reason, sizeof reason) < 0) reason[0] = 0;
  return reinterpret_cast<const char*>(reason);
}

void ThrowIfLimitHit(const TCompiledPattern& pattern, std::size_t textSize) {
  if (!pattern.LimitHit()) return;
  // A limit of the library (backtracking, depth, heap, the JIT stack) or its
  // memory ran out before the answer was known: answering "no" would drop a
  // settings line or miss a record without anyone knowing.
  const std::size_t shown = 200;
  const std::string& text = pattern.Pattern();
  throw ERegExError("TPerlRegEx.Match() - " + pattern.LimitReason() + " : motif " +
                        (text.size() > shown ? text.substr(0, shown) + "..." : text) + " sur un texte de " +
                        std::to_string(textSize) + " caracteres",
                    true);
}

bool ShowIfLimitReached(const ERegExError& error) {
  if (!error.LimitReached) return false;
  ShowMessage(error.Message);
  return true;
}

std::string TCompiledPattern::Group(int n) const {
  if (!fMatched || n < 0 || n > fGroupCount) return "";
  const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(DataOf(fMatchData));
  const PCRE2_SIZE from = ovector[2 * n];
  const PCRE2_SIZE to = ovector[2 * n + 1];
  if (from == PCRE2_UNSET || to < from) return "";
  if (n == 0 && fGroupCount == 0) return "";
  return fSubject.substr(from, to - from);
}

const char* ShapePattern(TShape shape) {
  switch (shape) {
    case TShape::Integer: return "^0$|^-?[1-9][0-9]*$";
    case TShape::Real: return "^-?0[\\.\\,][0-9]+$|^0$|^-?[1-9][0-9]*([\\.\\,][0-9]+)?$";
    case TShape::Digits: return "^[0-9]+$";
    case TShape::Date: return "^[0-9]{2}/[0-9]{2}/[0-9]{4}$";
    case TShape::Email: return "^.+@.+\\..+$";
    case TShape::Phone: return "^\\+?[ \\.0-9]{6}[ \\.0-9]*$";
    case TShape::Boolean: return "^true$|^false$";
    case TShape::Facture: return "^FA[0-9]{5}$";
    case TShape::Devis: return "^DE[0-9]{4}[0-9]?$";
    case TShape::Avoir: return "^AV[0-9]{3}[0-9]?$";
  }
  return "";
}

// ---------------------------------------------------------------------------
// The process-wide instance

struct TStringManager::TPatterns {
  std::array<std::unique_ptr<TCompiledPattern>, 10> Shapes;
  std::unique_ptr<TCompiledPattern> Current;  // the last pattern of RegExMatch

  TCompiledPattern& Shape(TShape shape) {
    auto& slot = Shapes[static_cast<std::size_t>(shape)];
    if (!slot) slot = std::make_unique<TCompiledPattern>(ShapePattern(shape));
    return *slot;
  }
};

namespace {

TStringManager* gInstance = nullptr;

}  // namespace

TStringManager::TStringManager() : fPatterns(std::make_unique<TPatterns>()) { gInstance = this; }

TStringManager::~TStringManager() {
  if (gInstance == this) gInstance = nullptr;
}

TStringManager& StringManager() {
  if (gInstance == nullptr) {
    // Lives until the process ends, like the one of the main window.
    static std::unique_ptr<TStringManager> fallback;
    if (!fallback) {
      fallback = std::make_unique<TStringManager>();
    } else {
      gInstance = fallback.get();
    }
  }
  return *gInstance;
}

// ---------------------------------------------------------------------------
// Splitting and substrings

std::string TStringManager::GetToken(const std::string& text, int index, char sep) const {
  if (index < 1) return "";
  std::size_t start = 0;
  for (int k = 1; k < index; ++k) {
    const std::size_t p = text.find(sep, start);
    if (p == std::string::npos) return "";
    start = p + 1;
  }
  if (start > text.size()) return "";
  const std::size_t end = text.find(sep, start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

int TStringManager::CountTokens(const std::string& text, char sep) const {
  if (text.empty()) return 0;
  int n = 1;
  for (char c : text) {
    if (c == sep) ++n;
  }
  return n;
}

std::string TStringManager::MyStrCopy(const std::string& text, int fromPos, int toPos) {
  const long long length = static_cast<long long>(text.size());
  const std::string prefix = "String_Manager_Unit:TStringManager.MyStrCopy:";
  if (fromPos > length) Error(prefix + "Bad FromPos : " + IntToStr(fromPos) + " in " + text);
  if (fromPos > toPos) {
    Error(prefix + "FromPos " + IntToStr(fromPos) + " > ToPos : " + IntToStr(toPos) + " in " + text);
  }
  if (toPos > length) Error(prefix + "Bad ToPos : " + IntToStr(toPos) + " in " + text);
  if (toPos <= 0 || fromPos <= 0) Error(prefix + "null or negative param in " + text);
  const long long from = std::max(1LL, static_cast<long long>(std::min(fromPos, toPos)));
  const long long to = std::min(length, static_cast<long long>(std::max(fromPos, toPos)));
  if (from > to) return "";
  return text.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from + 1));
}

int TStringManager::FindSubString(const std::string& sub, const std::string& text) const {
  if (sub.empty()) return 0;
  const std::size_t p = text.find(sub);
  return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

std::string TStringManager::ReplaceAll(const std::string& text, const std::string& oldText,
                                       const std::string& newText) const {
  if (oldText.empty()) return text;
  std::string result;
  result.reserve(text.size());
  std::size_t start = 0;
  for (;;) {
    const std::size_t p = text.find(oldText, start);
    if (p == std::string::npos) break;
    result.append(text, start, p - start);
    result += newText;
    start = p + oldText.size();
  }
  result.append(text, start, std::string::npos);
  return result;
}

bool TStringManager::BeginsWith(const std::string& text, const std::string& prefix) const {
  if (text.empty() || prefix.empty() || text.size() < prefix.size()) return false;
  return text.compare(0, prefix.size(), prefix) == 0;
}

std::string TStringManager::TrimChar(const std::string& text, char ch) const {
  const std::size_t first = text.find_first_not_of(ch);
  if (first == std::string::npos) return "";
  const std::size_t last = text.find_last_not_of(ch);
  return text.substr(first, last - first + 1);
}

std::string TStringManager::JoinStrings(const std::vector<std::string>& list, const std::string& sep) const {
  std::string result;
  for (std::size_t k = 0; k < list.size(); ++k) {
    if (k > 0) result += sep;
    result += list[k];
  }
  return result;
}

std::string TStringManager::EscapeNewLines(const std::string& text) const {
  // A lone CR or LF (text typed on another system, or pasted) would split the
  // record when the line is written to a table file; it is stored like a CR LF
  // pair and so reads back as one.
  std::string result;
  result.reserve(text.size());
  for (std::size_t k = 0; k < text.size(); ++k) {
    const char c = text[k];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && k + 1 < text.size() && text[k + 1] == '\n') ++k;
      result += "\\n";
    } else {
      result += c;
    }
  }
  return result;
}

std::string TStringManager::UnescapeNewLines(const std::string& text) const {
  return ReplaceAll(text, "\\n", "\r\n");
}

std::string TStringManager::DateTimeToStrSep(TDateTime dateTime, char ch) const {
  std::string text = DateTimeToStr(dateTime);
  for (char& c : text) {
    if (c == '/' || c == ' ' || c == ':') c = ch;
  }
  return text;
}

// ---------------------------------------------------------------------------
// Shape tests

bool TStringManager::IsInteger(const std::string& text) { return TextIsInteger(text); }
bool TStringManager::IsReal(const std::string& text) { return TextIsReal(text); }
bool TStringManager::IsDigits(const std::string& text) { return TextIsDigits(text); }
bool TStringManager::IsDate(const std::string& text) { return TextIsDate(text); }
// The three shape tests below answer exactly as their patterns, in one pass
// over the text: "^.+@.+\..+$" backtracks over every "@" and "." of a long
// text (seconds for a cell of 64 KB), and a shape test never reports.
namespace {

bool IsLineBreakChar(char c) { return c == '\r' || c == '\n' || c == '\x0b' || c == '\x0c' || c == '\x85'; }

}  // namespace

bool TStringManager::IsEmail(const std::string& text) {
  // ".+" stops at a line break, and "$" stands at most before the final one.
  const std::size_t core = LengthBeforeFinalLineBreak(text);
  std::size_t at = std::string::npos, dot = std::string::npos;
  for (std::size_t k = 0; k < core; ++k) {
    const char c = text[k];
    if (IsLineBreakChar(c)) return false;
    if (c == '@' && k >= 1 && at == std::string::npos) at = k;
    if (c == '.' && k + 2 <= core) dot = k;
  }
  // Some "@" after one character at least, then a "." after one more, then
  // one character at least: the first such "@" and the last "." that still
  // has a character after it decide.
  return at != std::string::npos && dot != std::string::npos && dot >= at + 2;
}

bool TStringManager::IsPhone(const std::string& text) {
  const std::size_t core = LengthBeforeFinalLineBreak(text);
  std::size_t k = core > 0 && text[0] == '+' ? 1 : 0;
  if (core - k < 6) return false;
  for (; k < core; ++k) {
    const char c = text[k];
    if (c != ' ' && c != '.' && (c < '0' || c > '9')) return false;
  }
  return true;
}

bool TStringManager::IsBoolean(const std::string& text) {
  const std::string_view core(text.data(), LengthBeforeFinalLineBreak(text));
  return core == "true" || core == "false";
}
bool TStringManager::IsFactureNumber(const std::string& text) { return TextIsFactureNumber(text); }
bool TStringManager::IsDevisNumber(const std::string& text) { return TextIsDevisNumber(text); }
bool TStringManager::IsAvoirNumber(const std::string& text) { return TextIsAvoirNumber(text); }

bool TStringManager::MatchShapePattern(TShape shape, const std::string& text) {
  TCompiledPattern& pattern = fPatterns->Shape(shape);
  const bool found = pattern.Match(text);
  ThrowIfLimitHit(pattern, text.size());
  return found;
}

bool TStringManager::IsCIP(const std::string& text) {
  // Blanks and control characters around the code are ignored.
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
  if (last - first != 7) return false;
  int d[7];
  for (int k = 0; k < 7; ++k) {
    const char c = text[first + static_cast<std::size_t>(k)];
    if (c < '0' || c > '9') return false;
    d[k] = c - '0';
  }
  const int sum = d[0] * 2 + d[1] * 3 + d[2] * 4 + d[3] * 5 + d[4] * 6 + d[5] * 7;
  return d[6] == (sum % 11) % 10;
}

bool TStringManager::RegExMatch(const std::string& pattern, const std::string& text) {
  if (!fPatterns->Current || fPatterns->Current->Pattern() != pattern) {
    // A pattern that fails to compile leaves no compiled pattern behind, so
    // asking for it again reports again.
    fPatterns->Current.reset();
    fPatterns->Current = std::make_unique<TCompiledPattern>(pattern);
  }
  const bool found = fPatterns->Current->Match(text);
  ThrowIfLimitHit(*fPatterns->Current, text.size());
  return found;
}

// ---------------------------------------------------------------------------
// Numbers

namespace {

std::string Replaced(std::string text, char from, char to) {
  for (char& c : text) {
    if (c == from) c = to;
  }
  return text;
}

// The text brought to the separator sep: "," turns points into commas, "."
// commas into points; any other separator leaves the text as it is.
std::string BroughtTo(const std::string& text, char sep) {
  if (sep == ',') return Replaced(text, '.', ',');
  if (sep == '.') return Replaced(text, ',', '.');
  return text;
}

// x * 10^decimals rounded half-to-even in extended precision, divided back
// and rounded to a double.
double RoundToDecimals(double x, int decimals) {
  const long double scale = std::pow(10.0L, static_cast<long double>(decimals));
  const long double product = static_cast<long double>(x) * scale;
  if (!std::isfinite(product)) return x;
  // The default rounding mode of the floating-point unit is to nearest, ties
  // to even, which is what nearbyint applies.
  const long double rounded = std::nearbyint(product);
  return static_cast<double>(rounded / scale);
}

// The shortest general form with 15 significant digits: fixed notation
// while the value is at least 0.00001 and has at most 15 integer digits,
// otherwise mantissa and exponent ("1,5E20", "1E-7"); no trailing zeros.
std::string GeneralForm(long double x, char sep) {
  if (x == 0 || std::isnan(x)) return "0";
  if (std::isinf(x)) return x < 0 ? "-INF" : "INF";
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 14);
  const std::string sci(buf, res.ptr);
  // sci is "-d.dddddddddddddde+XX".
  const std::size_t e = sci.find('e');
  const bool negative = sci[0] == '-';
  std::string digits;
  for (std::size_t k = negative ? 1 : 0; k < e; ++k) {
    if (sci[k] != '.') digits += sci[k];
  }
  int exponent = 0;
  std::from_chars(sci.data() + e + (sci[e + 1] == '+' ? 2 : 1), sci.data() + sci.size(), exponent);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string out = negative ? "-" : "";
  if (exponent >= 15 || exponent < -5) {
    out += digits[0];
    if (digits.size() > 1) {
      out += sep;
      out.append(digits, 1, std::string::npos);
    }
    out += 'E';
    out += std::to_string(exponent);
    return out;
  }
  if (exponent < 0) {
    out += '0';
    out += sep;
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out += digits;
    return out;
  }
  const std::size_t intDigits = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= intDigits) {
    out += digits;
    out.append(intDigits - digits.size(), '0');
  } else {
    out.append(digits, 0, intDigits);
    out += sep;
    out.append(digits, intDigits, std::string::npos);
  }
  return out;
}

}  // namespace

std::string TStringManager::PointToComma(const std::string& text) const { return Replaced(text, '.', ','); }

std::string TStringManager::RealToText(long double value) const { return GeneralForm(value, DecimalSeparator()); }

std::string TStringManager::CommaToPoint(const std::string& text) const { return Replaced(text, ',', '.'); }

double TStringManager::MyStrToFloat(const std::string& text) {
  const std::string t = BroughtTo(text, DecimalSeparator());
  if (!TextIsReal(t)) {
    Error("TStringManager.MyStrToFloat : " + t + " is not a real");
    return 0;
  }
  return RealValueOf(t);
}

int TStringManager::MyStrToInt(const std::string& text) {
  TTypedKey key = ClassifyValue(text);
  if (key.Kind != TValueKind::Integer) {
    Warning("TStringManager.MyStrToInt : " + text + " is not an integer");
    return 0;
  }
  // Up to 18 digits are integers; beyond the 32-bit range the value is
  // held at the nearest end rather than wrapped.
  if (key.Int > INT_MAX) return INT_MAX;
  if (key.Int < INT_MIN) return INT_MIN;
  return static_cast<int>(key.Int);
}

std::string TStringManager::FormatRealString(const std::string& text, char sep, int decimals) {
  const std::string t = BroughtTo(text, sep);
  if (decimals < 0) decimals = 0;
  if (TextIsReal(t) && CountTokens(t, sep) > 1) {
    const std::string fraction = GetToken(t, 2, sep);
    const std::size_t fractionLength = LengthBeforeFinalLineBreak(fraction);
    if (fractionLength > static_cast<std::size_t>(decimals)) {
      return GeneralForm(RoundToDecimals(RealValueOf(t), decimals), sep == '.' ? '.' : DecimalSeparator());
    }
  }
  return t;
}

std::string TStringManager::FormatRealStringStrict(const std::string& text, char sep, int decimals) {
  std::string t = BroughtTo(text, sep);
  if (!TextIsReal(t)) {
    Error("TStringManager.FormatRealStringStrict:Parametre n'est pas un reel : " + t);
    return "";
  }
  // The result is a number text: a final line break of the input is dropped.
  t.resize(LengthBeforeFinalLineBreak(t));
  if (decimals < 0) decimals = 0;
  const char outSep = sep == '.' ? '.' : DecimalSeparator();
  if (decimals == 0) return GeneralForm(std::nearbyint(RealValueOf(t)), outSep);
  if (TextIsInteger(t)) return t + sep + std::string(static_cast<std::size_t>(decimals), '0');
  const std::string integerPart = GetToken(t, 1, sep);
  const std::string fraction = GetToken(t, 2, sep);
  const std::size_t wanted = static_cast<std::size_t>(decimals);
  if (fraction.size() > wanted) {
    const double x = RoundToDecimals(RealValueOf(t), decimals);
    const std::string general = BroughtTo(GeneralForm(x, outSep), sep);
    if (TextIsReal(general)) return FormatRealStringStrict(general, sep, decimals);
    // Too large or too small for the fixed notation of the general form:
    // write the digits out instead of refusing a valid number.
    char buf[512];
    const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimals);
    if (res.ec != std::errc()) return general;
    return BroughtTo(std::string(buf, res.ptr), sep);
  }
  if (fraction.size() == wanted) return t;
  return integerPart + sep + fraction + std::string(wanted - fraction.size(), '0');
}

// ---------------------------------------------------------------------------
// Comparisons

int TStringManager::Compare(const std::string& a, const std::string& b) { return CompareTyped(a, b); }

int TStringManager::ComparePrefix(const std::string& a, const std::string& b) const {
  if (BeginsWith(a, b) || BeginsWith(b, a)) return 0;
  return CompareBytes(a, b);
}

int TStringManager::CompareByPatterns(const std::string& a, const std::string& b) {
  if (a == b) return 0;
  auto isInteger = [this](const std::string& t) { return t.size() < 19 && MatchShapePattern(TShape::Integer, t); };
  auto sign = [](auto x, auto y) { return x < y ? -1 : (x > y ? 1 : 0); };
  // The values are read from the digits, the final line break ignored.
  auto digits = [](const std::string& t, std::size_t from) {
    long long v = 0;
    bool negative = false;
    for (std::size_t k = from; k < t.size(); ++k) {
      if (t[k] == '-') negative = true;
      if (t[k] >= '0' && t[k] <= '9') v = v * 10 + (t[k] - '0');
    }
    return negative ? -v : v;
  };
  if (isInteger(a) && isInteger(b)) return sign(digits(a, 0), digits(b, 0));
  if (MatchShapePattern(TShape::Real, a) && MatchShapePattern(TShape::Real, b)) {
    auto value = [](const std::string& t) {
      std::string s;
      for (char c : t) {
        if (c == ',') c = '.';
        if (c == '-' || c == '.' || (c >= '0' && c <= '9')) s += c;
      }
      double v = 0;
      const auto res = std::from_chars(s.data(), s.data() + s.size(), v);
      if (res.ec == std::errc::result_out_of_range) {
        const bool negative = s[0] == '-';
        v = s[negative ? 1 : 0] != '0' ? HUGE_VAL : 0.0;
        if (negative) v = -v;
      }
      return v;
    };
    const double d = value(a) - value(b);
    return d > 0 ? 1 : (d < 0 ? -1 : 0);
  }
  if (MatchShapePattern(TShape::Date, a) && MatchShapePattern(TShape::Date, b)) {
    auto date = [](const std::string& t) {
      auto n = [&t](std::size_t from, std::size_t to) {
        long long v = 0;
        for (std::size_t k = from; k < to; ++k) v = v * 10 + (t[k] - '0');
        return v;
      };
      return n(6, 10) * 10000 + n(3, 5) * 100 + n(0, 2);
    };
    return sign(date(a), date(b));
  }
  for (TShape piece : {TShape::Avoir, TShape::Devis, TShape::Facture}) {
    if (MatchShapePattern(piece, a) && MatchShapePattern(piece, b)) return sign(digits(a, 2), digits(b, 2));
  }
  const int c = CompareBytes(a, b);
  return c;
}
