#include "StatsServerData.h"

#include <set>
#include <string_view>

#include "FileUtils.h"

namespace {

constexpr char kSep = ';';
constexpr std::string_view kDoublons = "Doublons";
constexpr std::string_view kNotes = "Notes Publiques";
constexpr std::string_view kArticle = "Article";
constexpr std::string_view kCode = "Code";

std::string Trimmed(std::string_view s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r' || s[e - 1] == '\n')) --e;
  return std::string(s.substr(b, e - b));
}

std::vector<std::string> Fields(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(kSep, start);
    if (end == std::string::npos) {
      out.push_back(text.substr(start));
      return out;
    }
    out.push_back(text.substr(start, end - start));
    start = end + 1;
  }
}

bool RequestStartsAt(std::string_view text, std::size_t i) {
  for (std::string_view word : {kDoublons, kNotes, kCode}) {
    if (text.size() - i < word.size() || text.compare(i, word.size(), word) != 0) continue;
    const std::size_t after = i + word.size();
    if (text.size() > after && text[after] == kSep) return true;
    if (after == text.size() && word == kCode) return true;
  }
  return false;
}

}  // namespace

int TStatsServerData::LoadFromText(const std::string& text) {
  fDoublons.clear();
  fNotes.clear();
  fCounts.clear();
  int bad = 0;
  for (const std::string& line : SplitLines(text)) {
    if (line.empty() || line[0] == '#') continue;
    const std::size_t first = line.find(kSep);
    const std::size_t second = first == std::string::npos ? std::string::npos : line.find(kSep, first + 1);
    if (second == std::string::npos) {
      ++bad;
      continue;
    }
    const std::string_view kind(line.data(), first);
    const std::string key = Trimmed(std::string_view(line).substr(first + 1, second - first - 1));
    const std::string value = line.substr(second + 1);
    if (key.empty()) {
      ++bad;
    } else if (kind == kDoublons) {
      fDoublons[key].push_back(value);
    } else if (kind == kNotes) {
      fNotes[key] = value;
    } else if (kind == kArticle) {
      fCounts[key] = Trimmed(value);
    } else {
      ++bad;
    }
  }
  return bad;
}

bool TStatsServerData::LoadFromFile(const std::string& fileName, int& badLines) {
  std::string text;
  if (ReadWholeFile(fileName, text) != TReadResult::Ok) return false;
  badLines = LoadFromText(text);
  return true;
}

std::size_t TStatsServerData::ClientCount() const {
  std::set<std::string> codes;
  for (const auto& entry : fDoublons) codes.insert(entry.first);
  for (const auto& entry : fNotes) codes.insert(entry.first);
  return codes.size();
}

std::optional<std::string> TStatsServerData::Answer(const std::string& request) const {
  const std::vector<std::string> fields = Fields(request);
  const std::string& word = fields[0];
  const std::string code = fields.size() > 1 ? Trimmed(fields[1]) : std::string();
  if (word == kDoublons) {
    std::string reply(kDoublons);
    if (auto it = fDoublons.find(code); it != fDoublons.end()) {
      for (const std::string& text : it->second) reply += kSep + text;
    }
    return reply;
  }
  if (word == kNotes) {
    auto it = fNotes.find(code);
    if (it == fNotes.end()) return std::nullopt;
    return std::string(kNotes) + kSep + it->second;
  }
  if (word == kCode) {
    std::string reply(kArticle);
    for (std::size_t i = 1; i < fields.size(); ++i) {
      auto it = fCounts.find(Trimmed(fields[i]));
      reply += kSep;
      reply += it != fCounts.end() ? it->second : "0";
    }
    return reply;
  }
  return std::nullopt;
}

std::vector<std::string> SplitStatsRequests(const std::string& text) {
  std::vector<std::string> requests;
  std::size_t begin = 0;
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (RequestStartsAt(text, i)) {
      requests.push_back(text.substr(begin, i - begin));
      begin = i;
    }
  }
  if (begin < text.size()) requests.push_back(text.substr(begin));
  return requests;
}
