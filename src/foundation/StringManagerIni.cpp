// The INI line routines of TStringManager. They keep their own compiled
// patterns, shared by the four routines and compiled once for the life of the
// program.

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <string>

#include "StringManager.h"

namespace {

// One compiled INI pattern. Lines are Windows-1252 bytes, so the pattern is
// compiled without UTF: every byte is one character.
class TIniPattern {
public:
  explicit TIniPattern(const char* pattern) {
    // Any line-break sequence ends a line, as for every other pattern of the
    // program; no other option is changed.
    pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
    if (context != nullptr) pcre2_set_newline(context, PCRE2_NEWLINE_ANY);
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    fCode = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern), PCRE2_ZERO_TERMINATED, 0, &errorCode,
                          &errorOffset, context);
    if (context != nullptr) pcre2_compile_context_free(context);
    if (fCode != nullptr) {
      // The JIT is an optimisation only; without it the interpreter runs.
      pcre2_jit_compile(fCode, PCRE2_JIT_COMPLETE);
    }
  }
  ~TIniPattern() {
    if (fCode != nullptr) pcre2_code_free(fCode);
  }
  TIniPattern(const TIniPattern&) = delete;
  TIniPattern& operator=(const TIniPattern&) = delete;

  // Searches the line; a match of length zero does not count. On a match
  // with groups, group1 and group2 receive the captured texts.
  bool Match(const std::string& line, std::string* group1 = nullptr, std::string* group2 = nullptr) const {
    if (fCode == nullptr) return false;
    pcre2_match_data* data = pcre2_match_data_create_from_pattern(fCode, nullptr);
    if (data == nullptr) return false;
    int rc = pcre2_match(fCode, reinterpret_cast<PCRE2_SPTR>(line.data()), line.size(), 0, PCRE2_NOTEMPTY, data,
                         nullptr);
    bool found = false;
    if (rc > 0) {
      PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
      found = ovector[1] > ovector[0];
      if (found) {
        Group(line, ovector, rc, 1, group1);
        Group(line, ovector, rc, 2, group2);
      }
    }
    pcre2_match_data_free(data);
    return found;
  }

private:
  static void Group(const std::string& line, const PCRE2_SIZE* ovector, int count, int index, std::string* out) {
    if (out == nullptr) return;
    out->clear();
    if (index >= count) return;
    PCRE2_SIZE start = ovector[2 * index];
    PCRE2_SIZE end = ovector[2 * index + 1];
    if (start == PCRE2_UNSET || end < start) return;
    out->assign(line, start, end - start);
  }

  pcre2_code* fCode = nullptr;
};

// The section, comment and key/value patterns shared by the four routines.
class TIniPatterns {
public:
  TIniPatterns()
      : fSection(R"(^[ \t]*\[(.+)\][ \t]*$)"),
        fComment(R"(^\;.*$)"),
        fKeyValue(R"(^[ \t]*(.+)[ \t]*=[ \t]*(.+)[ \t]*$)") {}

  const TIniPattern& Section() const { return fSection; }
  const TIniPattern& Comment() const { return fComment; }
  const TIniPattern& KeyValue() const { return fKeyValue; }

private:
  TIniPattern fSection;
  TIniPattern fComment;
  TIniPattern fKeyValue;
};

const TIniPatterns& IniPatterns() {
  static const TIniPatterns patterns;
  return patterns;
}

}  // namespace

std::string TStringManager::GetIniLineType(const std::string& line) {
  const TIniPatterns& p = IniPatterns();
  if (p.Section().Match(line)) return "section";
  if (p.Comment().Match(line)) return "comment";
  if (p.KeyValue().Match(line)) return "keyvalue";
  return "error";
}

// The three extractors look only at their own pattern; the reader classifies
// a line with GetIniLineType first, so a comment such as ";a=b" is never
// split into a key and a value.
std::string TStringManager::GetIniSection(const std::string& line) {
  std::string name;
  if (!IniPatterns().Section().Match(line, &name)) return "";
  return StringManager().TrimChar(name, ' ');
}

std::string TStringManager::GetIniKey(const std::string& line) {
  std::string key;
  if (!IniPatterns().KeyValue().Match(line, &key)) return "";
  return StringManager().TrimChar(key, ' ');
}

std::string TStringManager::GetIniValue(const std::string& line) {
  std::string key;
  std::string value;
  if (!IniPatterns().KeyValue().Match(line, &key, &value)) return "";
  return StringManager().TrimChar(value, ' ');
}
