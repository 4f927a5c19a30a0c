#pragma once

#include <string>

// What the screens ask of the statistics server. The piece editor holds one:
// this do-nothing one until the main window opens the connection to the
// server (and in the panels' tests); the screens work the same, minus the
// hints.
class TStatsRequests {
public:
  virtual ~TStatsRequests() = default;
  // The client's possible duplicates and public notes ("Doublons;" + code,
  // then "Notes Publiques;" + code); the answers go to the message panel.
  virtual void DemanderInfosClient(const std::string& code) { (void)code; }
  // A statistic per article of the search grid; codes is the grid's "Code"
  // column joined with ";", title first ("Code;3408919;7968532").
  virtual void DemanderStatsArticles(const std::string& codes) { (void)codes; }
};
