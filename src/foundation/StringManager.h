#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "DateTime.h"

// Raised when a regular expression given at run time does not compile (or is
// empty), and when a match stops on one of the library's limits (the text or
// the pattern needs more backtracking, depth or memory than allowed): such a
// match has no answer, it is neither a "yes" nor a "no". It abandons the
// operation that used the pattern; the event handler of the screen that
// started the operation catches it and shows Message.
class ERegExError {
public:
  explicit ERegExError(std::string message, bool limitReached = false)
      : Message(std::move(message)), LimitReached(limitReached) {}
  std::string Message;
  // The pattern compiled, but this match hit a limit.
  bool LimitReached;
};

// Which characters a pattern's "." refuses and "$" stops before: every line
// break the library knows (CR, LF, CR LF, vertical tab, form feed and byte
// 0x85, the "..." of Windows-1252), or CR and LF only, for texts already cut
// into lines where the others are ordinary characters.
enum class TLineBreaks { Any, CrLf };

// One regular expression, compiled once (8-bit, newline convention "any line
// break sequence" unless told otherwise, otherwise the library's default
// options: case-sensitive, "^" and "$" at the ends of the whole text, "$"
// also before a final line break) and JIT-compiled when the library can.
class TCompiledPattern {
public:
  // Throws ERegExError when the pattern is empty or does not compile.
  explicit TCompiledPattern(const std::string& pattern, TLineBreaks breaks = TLineBreaks::Any);
  ~TCompiledPattern();
  TCompiledPattern(const TCompiledPattern&) = delete;
  TCompiledPattern& operator=(const TCompiledPattern&) = delete;

  const std::string& Pattern() const { return fPattern; }
  // Unanchored search; a match of length zero does not count, so a pattern
  // that can only match the empty text never matches.
  bool Match(std::string_view text);
  // True when the last Match stopped at one of the library's limits (the
  // backtracking of a long text) instead of finding or ruling out a match:
  // its false is then no answer, and the caller says so.
  bool LimitHit() const { return fLimitHit; }
  // The library's words for the limit the last Match hit ("" when none).
  std::string LimitReason() const;
  // Number of capture groups of the pattern.
  int GroupCount() const { return fGroupCount; }
  // Group n (0 = the whole match) of the last successful Match; "" when the
  // group took no part in it or when the last Match failed.
  std::string Group(int n) const;

private:
  std::string fPattern;
  void* fCode = nullptr;
  void* fMatchData = nullptr;
  int fGroupCount = 0;
  bool fMatched = false;
  bool fLimitHit = false;
  int fLastResult = 0;
  // The subject of the last successful match, kept only when the pattern has
  // groups (so that Group can answer after the caller's text is gone).
  std::string fSubject;
};

// Throws ERegExError (LimitReached), naming the pattern, the limit and the
// text's size, when the pattern's last match hit a limit: what the string
// manager's own matches do, so that such a match is never taken for a "no".
void ThrowIfLimitHit(const TCompiledPattern& pattern, std::size_t textSize);

// For the places that take a pattern which does not compile for "nothing
// found" (a typed text with pattern characters names no record): a match
// stopped by a limit is still no answer, so its message is shown, naming the
// pattern that could not be checked. True when it was; other pattern errors
// are left to the caller.
bool ShowIfLimitReached(const ERegExError& error);

// The shapes recognised by the shape tests, with their patterns.
enum class TShape { Integer, Real, Digits, Date, Email, Phone, Boolean, Facture, Devis, Avoir };
const char* ShapePattern(TShape shape);

// Text and number routines used by every part of the program. Texts are
// Windows-1252 bytes; positions are 1-based. One process-wide instance.
class TStringManager {
public:
  // Creating an instance makes it the process-wide one.
  TStringManager();
  ~TStringManager();
  TStringManager(const TStringManager&) = delete;
  TStringManager& operator=(const TStringManager&) = delete;

  // Splitting and substrings.
  std::string GetToken(const std::string& text, int index, char sep) const;
  int CountTokens(const std::string& text, char sep) const;
  std::string MyStrCopy(const std::string& text, int fromPos, int toPos);
  int FindSubString(const std::string& sub, const std::string& text) const;
  std::string ReplaceAll(const std::string& text, const std::string& oldText, const std::string& newText) const;
  bool BeginsWith(const std::string& text, const std::string& prefix) const;
  std::string TrimChar(const std::string& text, char ch) const;
  std::string JoinStrings(const std::vector<std::string>& list, const std::string& sep) const;
  std::string EscapeNewLines(const std::string& text) const;
  std::string UnescapeNewLines(const std::string& text) const;
  std::string DateTimeToStrSep(TDateTime dateTime, char ch) const;

  // Shape tests (full-text matches, case-sensitive).
  bool IsInteger(const std::string& text);
  bool IsReal(const std::string& text);
  bool IsDigits(const std::string& text);
  bool IsDate(const std::string& text);
  bool IsEmail(const std::string& text);
  bool IsPhone(const std::string& text);
  bool IsBoolean(const std::string& text);
  bool IsFactureNumber(const std::string& text);
  bool IsDevisNumber(const std::string& text);
  bool IsAvoirNumber(const std::string& text);
  bool IsCIP(const std::string& text);
  // True when pattern matches somewhere in text with a non-empty match.
  // Throws ERegExError when the pattern is empty or does not compile, or when
  // the match hits one of the library's limits (LimitReached).
  bool RegExMatch(const std::string& pattern, const std::string& text);

  // The regular expression behind a shape test, matched as it is (IsInteger
  // adds its length rule on top). The shape tests of the typed comparison are
  // hand-written for speed and must answer exactly like these.
  bool MatchShapePattern(TShape shape, const std::string& text);
  // Compare computed with the regular expressions on every call: the
  // reference for the fast comparison, and the slow side of its benchmark.
  int CompareByPatterns(const std::string& a, const std::string& b);

  // Numbers. The program's decimal separator is ",".
  char DecimalSeparator() const { return ','; }
  std::string PointToComma(const std::string& text) const;
  std::string CommaToPoint(const std::string& text) const;
  double MyStrToFloat(const std::string& text);
  int MyStrToInt(const std::string& text);
  std::string FormatRealString(const std::string& text, char sep, int decimals);
  std::string FormatRealStringStrict(const std::string& text, char sep, int decimals);
  // The plain text of a real: the shortest general form with 15 significant
  // digits and the program's decimal separator ("7,5", "0,3", "1E-7"), as
  // amounts are written before they are formatted.
  std::string RealToText(long double value) const;

  // Comparisons.
  int Compare(const std::string& a, const std::string& b);
  int ComparePrefix(const std::string& a, const std::string& b) const;

  // INI lines. A line a pattern stops on at one of its limits throws
  // ERegExError (LimitReached).
  std::string GetIniLineType(const std::string& line);
  std::string GetIniSection(const std::string& line);
  std::string GetIniKey(const std::string& line);
  std::string GetIniValue(const std::string& line);

private:
  struct TPatterns;
  std::unique_ptr<TPatterns> fPatterns;
};

// The process-wide string manager: the last one created, or one made on first
// use when none exists (tools and tests that run without the main window).
TStringManager& StringManager();
