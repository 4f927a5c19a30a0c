// The INI line routines of TStringManager. The section, comment and
// key/value patterns are shared by the four routines and compiled once for the
// life of the program.

#include <string>

#include "StringManager.h"

namespace {

// The key/value pattern is "^[ \t]*(.+)[ \t]*=[ \t]*(.+)[ \t]*$" without the
// blanks between the key and "=": the key group is greedy and takes those
// blanks itself in every match, so the groups are the same, but a search
// through a long run of blanks after the last "=" no longer rescans the run
// at every position (a line of 100 000 tabs after "k=v" took seconds).
struct TIniPatterns {
  TCompiledPattern Section{R"(^[ \t]*\[(.+)\][ \t]*$)"};
  TCompiledPattern Comment{R"(^\;.*$)"};
  TCompiledPattern KeyValue{R"(^[ \t]*(.+)=[ \t]*(.+)[ \t]*$)"};
};

bool IsLineBreak(char c) { return c == '\r' || c == '\n' || c == '\x0b' || c == '\x0c' || c == '\x85'; }

// Whether the key/value pattern can match at all: "." stops at a line break
// and "$" may only stand before one final line break, and the line needs an
// "=" after its first character with at least one character after it. A
// line that fails this would make the search try every way of splitting its
// leading blanks, which grows with the square of their number, for nothing.
bool CanBeKeyValue(const std::string& line) {
  std::size_t end = line.size();
  if (end >= 2 && line[end - 2] == '\r' && line[end - 1] == '\n') {
    end -= 2;
  } else if (end >= 1 && IsLineBreak(line[end - 1])) {
    end -= 1;
  }
  bool equals = false;
  for (std::size_t i = 0; i < end; ++i) {
    if (IsLineBreak(line[i])) return false;
    if (line[i] == '=' && i >= 1 && i + 1 < end) equals = true;
  }
  return equals;
}

TIniPatterns& IniPatterns() {
  static TIniPatterns patterns;
  return patterns;
}

// A line a pattern stops on at one of its limits is no line of any kind: it
// is reported by the reader, not skipped as an error line.
bool Matches(TCompiledPattern& pattern, const std::string& line) {
  const bool found = pattern.Match(line);
  ThrowIfLimitHit(pattern, line.size());
  return found;
}

}  // namespace

std::string TStringManager::GetIniLineType(const std::string& line) {
  TIniPatterns& p = IniPatterns();
  if (Matches(p.Section, line)) return "section";
  if (Matches(p.Comment, line)) return "comment";
  if (CanBeKeyValue(line) && Matches(p.KeyValue, line)) return "keyvalue";
  return "error";
}

// The three extractors look only at their own pattern; the reader classifies
// a line with GetIniLineType first, so a comment such as ";a=b" is never
// split into a key and a value.
std::string TStringManager::GetIniSection(const std::string& line) {
  TCompiledPattern& section = IniPatterns().Section;
  if (!Matches(section, line)) return "";
  return StringManager().TrimChar(section.Group(1), ' ');
}

std::string TStringManager::GetIniKey(const std::string& line) {
  TCompiledPattern& keyValue = IniPatterns().KeyValue;
  if (!CanBeKeyValue(line) || !Matches(keyValue, line)) return "";
  return StringManager().TrimChar(keyValue.Group(1), ' ');
}

std::string TStringManager::GetIniValue(const std::string& line) {
  TCompiledPattern& keyValue = IniPatterns().KeyValue;
  if (!CanBeKeyValue(line) || !Matches(keyValue, line)) return "";
  return StringManager().TrimChar(keyValue.Group(2), ' ');
}
