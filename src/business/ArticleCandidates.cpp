#include "ArticleCandidates.h"

#include "Cp1252.h"
#include "MyDatabase.h"
#include "StringManager.h"
#include "Trace.h"

std::string LookupWord(const std::string& text) {
  TStringManager& sm = StringManager();
  return UpperCase1252(sm.GetToken(sm.TrimChar(text, ' '), 1, ' '));
}

bool QueryArticleCandidates(TMyDatabase& articles, const std::string& field, const std::string& text) {
  const std::string word = LookupWord(text);
  try {
    articles.Query(field, word, Prefix);
    articles.QueryAdd(field, "^.+" + word + ".*$", Pattern);
  } catch (const ERegExError& e) {
    ShowMessage(e.Message);
    return false;
  }
  return true;
}
