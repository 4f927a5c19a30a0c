// The settings reader against any bytes.
//
// The line classifier is checked against an independent reading of its
// patterns ("^[ \t]*\[(.+)\][ \t]*$", "^\;.*$", "^[ \t]*(.+)[ \t]*=[ \t]*(.+)[ \t]*$",
// with "." not matching a line break and "$" also before one final line
// break), the manager built from the text against the sections and pairs that
// reading gives, and the writer by reading what it wrote: the same sections
// (sections of the same name may come back in another order) with the same
// pairs, and the same text when written again.
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "IniManager.h"
#include "StringManager.h"

namespace {

bool IsLineBreak(char c) {
  return c == '\r' || c == '\n' || c == '\x0b' || c == '\x0c' || c == '\x85';
}
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string TrimSpaces(const std::string& s) {
  std::size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  std::size_t e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}

// The part of a line a pattern ending in "$" can cover: all of it, or all but
// one final line break; nullopt-like false when a line break remains inside.
bool Body(const std::string& line, std::string& body) {
  body = line;
  if (body.size() >= 2 && body.compare(body.size() - 2, 2, "\r\n") == 0)
    body.resize(body.size() - 2);
  else if (!body.empty() && IsLineBreak(body.back()))
    body.pop_back();
  for (char c : body)
    if (IsLineBreak(c)) return false;
  return true;
}

struct TLine {
  std::string Type;  // section, comment, keyvalue, error
  std::string Section, Key, Value;
};

TLine Classify(const std::string& line) {
  TLine r;
  r.Type = "error";
  std::string body;
  if (!Body(line, body)) return r;
  // Section: blanks, "[", at least one character, "]", blanks.
  std::size_t p0 = 0;
  while (p0 < body.size() && IsBlank(body[p0])) ++p0;
  std::size_t end = body.size();
  while (end > 0 && IsBlank(body[end - 1])) --end;
  if (p0 < body.size() && body[p0] == '[') {
    // The group is greedy: it ends at the last "]" followed only by blanks.
    std::size_t close = body.find_last_of(']');
    if (close != std::string::npos && close > p0 + 1) {
      bool onlyBlanks = true;
      for (std::size_t i = close + 1; i < body.size(); ++i) onlyBlanks = onlyBlanks && IsBlank(body[i]);
      if (onlyBlanks) {
        r.Type = "section";
        r.Section = TrimSpaces(body.substr(p0 + 1, close - p0 - 1));
        return r;
      }
    }
  }
  (void)end;
  if (!line.empty() && line[0] == ';') {
    r.Type = "comment";
    return r;
  }
  // Key/value: the key runs up to the last "=" that leaves a character after
  // it; the leading blanks give back one character when nothing else is left
  // for the key.
  if (body.size() >= 3) {
    std::size_t j = body.find_last_of('=', body.size() - 2);
    if (j != std::string::npos && j >= 1) {
      std::size_t p = std::min(p0, j - 1);
      std::string rest = body.substr(j + 1);
      std::size_t b = 0;
      while (b < rest.size() && IsBlank(rest[b])) ++b;
      if (b == rest.size()) b = rest.size() - 1;
      r.Type = "keyvalue";
      r.Key = TrimSpaces(body.substr(p, j - p));
      r.Value = TrimSpaces(rest.substr(b));
      return r;
    }
  }
  return r;
}

using TPairs = std::map<std::string, std::string>;
using TSection = std::pair<std::string, TPairs>;

std::string ShowSection(const TSection& s) {
  std::string out = "[" + FuzzShow(s.first) + "]";
  for (const auto& [k, v] : s.second) out += " " + FuzzShow(k) + "=" + FuzzShow(v);
  return out;
}

struct TExpectedIni {
  bool Empty = false;
  std::vector<TSection> Sections;  // in reading order
  int DuplicateKeys = 0;
};

TExpectedIni Expect(const std::string& text) {
  TExpectedIni e;
  std::vector<std::string> lines = FuzzLines(text);
  if (lines.empty()) {
    e.Empty = true;
    return e;
  }
  bool inSection = false;
  TSection current;
  for (const std::string& line : lines) {
    TLine l = Classify(line);
    if (l.Type == "section") {
      if (inSection && !current.first.empty()) e.Sections.push_back(current);
      current = TSection(l.Section, {});
      inSection = true;
    } else if (l.Type == "keyvalue" && inSection && l.Key.find_first_not_of(" \t") != std::string::npos &&
               !l.Value.empty()) {
      auto [it, fresh] = current.second.emplace(l.Key, l.Value);
      if (!fresh) {
        ++e.DuplicateKeys;
        it->second = l.Value;
      }
    }
  }
  if (inSection && !current.first.empty()) e.Sections.push_back(current);
  return e;
}

std::string Lowered(const std::string& s) {
  std::string out = s;
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool UnsignedLess(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  });
}

bool IsAscii(const std::string& s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

std::vector<TSection> Read(const TIniManager& m, const char* what) {
  std::vector<TSection> out;
  std::string w = what;
  for (int i = 0; i < m.SectionCount(); ++i) {
    TIniSection* s = m.GetSection(i);
    FUZZ_CHECK(s != nullptr && s->fPairs != nullptr, w + ": missing section");
    TSection sec(s->fName, {});
    std::string previousKey;
    for (int k = 0; k < s->fPairs->Count(); ++k) {
      TPairOfStrings* p = s->fPairs->GetPair(k);
      FUZZ_CHECK(p != nullptr, w + ": missing pair");
      FUZZ_CHECK(k == 0 || UnsignedLess(previousKey, p->key),
                 w + ": keys not in order in section " + FuzzShow(s->fName));
      previousKey = p->key;
      FUZZ_CHECK(sec.second.emplace(p->key, p->data).second, w + ": key twice " + FuzzShow(p->key));
    }
    out.push_back(sec);
  }
  // The list is sorted by lower-cased name; names outside ASCII may follow any
  // case folding, so only the ASCII ones are checked against each other.
  std::string previous;
  bool havePrevious = false;
  for (const TSection& s : out) {
    if (!IsAscii(s.first)) continue;
    FUZZ_CHECK(!havePrevious || Lowered(previous) <= Lowered(s.first),
               w + ": sections out of order " + FuzzShow(previous) + " " + FuzzShow(s.first));
    previous = s.first;
    havePrevious = true;
  }
  return out;
}

std::vector<TSection> Sorted(std::vector<TSection> v) {
  std::sort(v.begin(), v.end());
  return v;
}

void CheckSame(const std::vector<TSection>& got, const std::vector<TSection>& expected, const std::string& what) {
  std::vector<TSection> a = Sorted(got), b = Sorted(expected);
  FUZZ_CHECK(a.size() == b.size(), what + ": " + std::to_string(a.size()) + " sections, expected " +
                                       std::to_string(b.size()));
  for (std::size_t i = 0; i < a.size(); ++i)
    FUZZ_CHECK(a[i] == b[i], what + ": section " + ShowSection(a[i]) + " expected " + ShowSection(b[i]));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzQuiet quiet;
  const std::string input(reinterpret_cast<const char*>(data), size);
  TStringManager& sm = StringManager();

  // The line classifier, line by line, against the reading above and, for
  // lines short enough for a backtracking search, against the patterns
  // themselves as they are written.
  static TCompiledPattern section(R"(^[ \t]*\[(.+)\][ \t]*$)");
  static TCompiledPattern comment(R"(^\;.*$)");
  static TCompiledPattern keyValue(R"(^[ \t]*(.+)[ \t]*=[ \t]*(.+)[ \t]*$)");
  for (const std::string& line : FuzzLines(input)) {
    TLine l = Classify(line);
    if (line.size() <= 2000) {
      std::string byPattern = section.Match(line)    ? "section"
                              : comment.Match(line)  ? "comment"
                              : keyValue.Match(line) ? "keyvalue"
                                                     : "error";
      FUZZ_CHECK(byPattern == l.Type, "line " + FuzzShow(line) + " matches " + byPattern + ", read as " + l.Type);
      if (byPattern == "section") FUZZ_CHECK(sm.TrimChar(section.Group(1), ' ') == l.Section, "section group");
      if (byPattern == "keyvalue") {
        FUZZ_CHECK(sm.TrimChar(keyValue.Group(1), ' ') == l.Key, "key group of " + FuzzShow(line));
        FUZZ_CHECK(sm.TrimChar(keyValue.Group(2), ' ') == l.Value, "value group of " + FuzzShow(line));
      }
    }
    std::string type = sm.GetIniLineType(line);
    FUZZ_CHECK(type == l.Type, "line " + FuzzShow(line) + " classified " + type + ", expected " + l.Type);
    FUZZ_CHECK(sm.GetIniSection(line) == l.Section, "section of " + FuzzShow(line) + " is " +
                                                        FuzzShow(sm.GetIniSection(line)) + " expected " +
                                                        FuzzShow(l.Section));
    if (l.Type == "keyvalue") {
      FUZZ_CHECK(sm.GetIniKey(line) == l.Key, "key of " + FuzzShow(line) + " is " + FuzzShow(sm.GetIniKey(line)) +
                                                  " expected " + FuzzShow(l.Key));
      FUZZ_CHECK(sm.GetIniValue(line) == l.Value, "value of " + FuzzShow(line) + " is " +
                                                      FuzzShow(sm.GetIniValue(line)) + " expected " +
                                                      FuzzShow(l.Value));
    }
  }
  quiet.Dialogs.Clear();

  const TExpectedIni expected = Expect(input);
  TIniManager first;
  first.LoadFromText(input);
  if (expected.Empty) {
    FUZZ_CHECK(first.HasSectionList() && first.SectionCount() == 0, "empty text changed the manager");
    FUZZ_CHECK(quiet.Dialogs.Messages.size() == 1 &&
                   quiet.Dialogs.Messages[0] == "*ERROR*Ini_Manager_Unit:LoadFromFile:Fichier ini vide",
               "empty text not reported as an empty file");
    return 0;
  }
  FUZZ_CHECK(quiet.Dialogs.Messages.size() == static_cast<std::size_t>(expected.DuplicateKeys),
             std::to_string(quiet.Dialogs.Messages.size()) + " boxes for " + std::to_string(expected.DuplicateKeys) +
                 " repeated keys");
  const std::vector<TSection> got = Read(first, "first reading");
  CheckSame(got, expected.Sections, "first reading");

  // Every pair is found again through the lookups (for a section name that
  // occurs once; which of several same-named sections answers is free).
  quiet.Dialogs.Clear();
  for (const TSection& s : got) {
    int same = 0;
    for (const TSection& t : got) same += Lowered(t.first) == Lowered(s.first) && IsAscii(t.first) ? 1 : 0;
    if (same != 1 || !IsAscii(s.first)) continue;
    FUZZ_CHECK(first.SectionExists(s.first), "SectionExists " + FuzzShow(s.first));
    for (const auto& [k, v] : s.second) {
      FUZZ_CHECK(first.KeyExists(s.first, k), "KeyExists " + FuzzShow(s.first) + " " + FuzzShow(k));
      FUZZ_CHECK(first.Get(s.first, k) == v, "Get " + FuzzShow(s.first) + " " + FuzzShow(k));
      FUZZ_CHECK(first.Get(Lowered(s.first), k) == v, "Get lower-case " + FuzzShow(s.first) + " " + FuzzShow(k));
    }
  }
  FUZZ_CHECK(quiet.Dialogs.Messages.empty(), "lookups reported " + FuzzShow(quiet.Dialogs.Messages[0]));

  const std::string saved = first.SaveToText();
  quiet.Dialogs.Clear();
  TIniManager second;
  if (!saved.empty()) second.LoadFromText(saved);
  FUZZ_CHECK(quiet.Dialogs.Messages.empty(), "reading the saved text reported " + FuzzShow(quiet.Dialogs.Messages[0]));
  CheckSame(Read(second, "reading the saved text"), got, "reading the saved text " + FuzzShow(saved));
  TIniManager third;
  std::string savedAgain = second.SaveToText();
  if (!savedAgain.empty()) third.LoadFromText(savedAgain);
  CheckSame(Read(third, "third reading"), got, "third reading");
  // Same-named sections may swap places at each reading; without them the
  // written text is stable.
  bool distinct = true;
  for (std::size_t i = 0; i < got.size(); ++i)
    for (std::size_t k = i + 1; k < got.size(); ++k)
      distinct = distinct && IsAscii(got[i].first) && Lowered(got[i].first) != Lowered(got[k].first);
  FUZZ_CHECK(!distinct || savedAgain == saved, "saved text not stable: " + FuzzShow(saved) + " then " +
                                                   FuzzShow(savedAgain));
  return 0;
}
