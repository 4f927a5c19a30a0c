#include "ArticleCandidates.h"

#include "ArticleCode.h"
#include "Catalogue.h"
#include "Cp1252.h"
#include "MyDatabase.h"
#include "StringManager.h"
#include "Trace.h"

std::string LookupWord(const std::string& text) {
  TStringManager& sm = StringManager();
  return UpperCase1252(sm.GetToken(sm.TrimChar(text, ' '), 1, ' '));
}

TArticleLookup QueryArticleCandidates(TMyDatabase& articles, const std::string& field, const std::string& text) {
  std::string word = LookupWord(text);
  if (field == Catalogue::Field::Code) {
    const TArticleCode read = ReadArticleCode(text);
    if (read.WrongCheck) return TArticleLookup::Nothing;
    if (!read.Code.empty()) word = read.Code;
  }
  // An empty word would begin every article: the whole catalogue.
  if (word.empty()) return TArticleLookup::Nothing;
  try {
    articles.Query(field, word, Prefix);
    articles.QueryAdd(field, "^.+" + word + ".*$", Pattern);
  } catch (const ERegExError& e) {
    ShowMessage(e.Message);
    return TArticleLookup::Failed;
  }
  return TArticleLookup::Queried;
}
