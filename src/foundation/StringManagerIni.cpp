// The INI line routines of TStringManager. The section, comment and
// key/value patterns are shared by the four routines and compiled once for the
// life of the program.

#include <string>

#include "StringManager.h"

namespace {

struct TIniPatterns {
  TCompiledPattern Section{R"(^[ \t]*\[(.+)\][ \t]*$)"};
  TCompiledPattern Comment{R"(^\;.*$)"};
  TCompiledPattern KeyValue{R"(^[ \t]*(.+)[ \t]*=[ \t]*(.+)[ \t]*$)"};
};

TIniPatterns& IniPatterns() {
  static TIniPatterns patterns;
  return patterns;
}

}  // namespace

std::string TStringManager::GetIniLineType(const std::string& line) {
  TIniPatterns& p = IniPatterns();
  if (p.Section.Match(line)) return "section";
  if (p.Comment.Match(line)) return "comment";
  if (p.KeyValue.Match(line)) return "keyvalue";
  return "error";
}

// The three extractors look only at their own pattern; the reader classifies
// a line with GetIniLineType first, so a comment such as ";a=b" is never
// split into a key and a value.
std::string TStringManager::GetIniSection(const std::string& line) {
  TCompiledPattern& section = IniPatterns().Section;
  if (!section.Match(line)) return "";
  return StringManager().TrimChar(section.Group(1), ' ');
}

std::string TStringManager::GetIniKey(const std::string& line) {
  TCompiledPattern& keyValue = IniPatterns().KeyValue;
  if (!keyValue.Match(line)) return "";
  return StringManager().TrimChar(keyValue.Group(1), ' ');
}

std::string TStringManager::GetIniValue(const std::string& line) {
  TCompiledPattern& keyValue = IniPatterns().KeyValue;
  if (!keyValue.Match(line)) return "";
  return StringManager().TrimChar(keyValue.Group(2), ' ');
}
