#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// The answers of the sample statistics server, read from a text file of
// Windows-1252 lines (CR LF or LF), one fact per line, fields separated by
// ";":
//
//   Doublons;<client code>;<text of one possible duplicate>
//   Notes Publiques;<client code>;<the client's public note>
//   Article;<CIP code>;<count>
//
// A client may have several "Doublons" lines (one answer field each) and one
// note (a later line replaces it; the note is the rest of the line, ";"
// included). Empty lines and lines beginning with "#" are ignored, and so are
// lines of any other kind.
class TStatsServerData {
public:
  // Replaces the answers by those of the text; returns the number of lines
  // not understood.
  int LoadFromText(const std::string& text);
  // False when the file cannot be read.
  bool LoadFromFile(const std::string& fileName, int& badLines);

  // The reply to one request, or nothing for a request the server does not
  // answer (unknown word, a client without a note):
  //   "Doublons;" + code        -> "Doublons" + ";" + each duplicate text
  //   "Notes Publiques;" + code -> "Notes Publiques;" + the note
  //   "Code;" + codes           -> "Article" + ";" + the count of each code
  //                                ("0" for an article without one)
  std::optional<std::string> Answer(const std::string& request) const;

  std::size_t ClientCount() const;
  std::size_t ArticleCount() const { return fCounts.size(); }

private:
  std::map<std::string, std::vector<std::string>> fDoublons;
  std::map<std::string, std::string> fNotes;
  std::map<std::string, std::string> fCounts;
};

// Requests carry no terminator: where a client sent several at once, the
// texts of each. A request begins wherever "Doublons;", "Notes Publiques;"
// or "Code;" appears, or where "Code" ends the text.
std::vector<std::string> SplitStatsRequests(const std::string& text);
