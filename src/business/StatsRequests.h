#pragma once

#include <string>

// What the screens ask of the statistics server. The main window holds one;
// until the connection to the server is built in, this do-nothing one stands
// in, and the screens work the same, minus the hints.
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
