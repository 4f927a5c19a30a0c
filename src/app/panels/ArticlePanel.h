#pragma once

#include <QObject>

#include <string>

#include "RecordPanelFlow.h"

class QEvent;
class QFrame;
class QLineEdit;
class QPushButton;
class TDesk;
class TDeskTables;
class TMyStringGrid;
class TRecordList;

// The article record panel `Article_Panel`: one article opened from the
// article list (or a new one from "Créer"), its edits checked while typing,
// the sale price and the margin coefficient kept in step with the purchase
// price, the numbers brought to their decimals, the record saved or deleted
// from the list. The save and deletion rules are those of the business layer.
class TArticlePanel : public QObject {
public:
  // Makes the panel, hidden, on the window's client area.
  TArticlePanel(QWidget* parent, TDesk& desk, TDeskTables& tables, TRecordList& articles);
  ~TArticlePanel() override;
  TArticlePanel(const TArticlePanel&) = delete;
  TArticlePanel& operator=(const TArticlePanel&) = delete;

  // Opens the article of the article list's current row; a row whose code
  // has no record opens a new article.
  void AfficherFicheArticle();
  // Selects the first row of the article list with that code (none: the row
  // stays) and opens it.
  void AfficherArticleCode(const std::string& code);
  // Deletes the article of the list's current row.
  void SupprimerArticle();
  void Hide() { fFlow.Hide(); }

  // Checks while typing; the price edits keep each other in step.
  void ArticleCodeCIPEditChange();
  void ArticleDesignationEditChange();
  void ArticlePrixAchatEditChange();
  void ArticlePrixVenteEditChange();
  void ArticleCoeffMargeEditChange();
  void ArticlePoidsEditChange();
  // Leaving a number edit writes it with its full decimals.
  void ArticlePrixAchatEditExit();
  void ArticlePrixVenteEditExit();
  void ArticleCoeffMargeEditExit();
  void ArticlePoidsEditExit();
  // A typed "." is the decimal separator.
  void ArticlePrixAchatEditKeyPress(char& key);
  void ArticlePrixVenteEditKeyPress(char& key);
  void ArticleCoeffMargeEditKeyPress(char& key);
  void ArticlePoidsEditKeyPress(char& key);

  void ArticleEnregistrer_ButtonClick();
  void ArticleAnnuler_ButtonClick();

  // The code of the list row the panel was opened from (empty for a new
  // article).
  std::string loadedArticleCode;

  // Design controls (object names are the component names).
  QFrame* Article_Panel;
  QLineEdit* ArticleCodeCIPEdit;
  QLineEdit* ArticleDesignationEdit;
  QLineEdit* ArticlePrixAchatEdit;
  QLineEdit* ArticlePrixVenteEdit;
  QLineEdit* ArticleCoeffMargeEdit;
  QLineEdit* ArticlePoidsEdit;
  QLineEdit* ArticleCodeBarreEdit;
  QPushButton* ArticleEnregistrer_Button;
  QPushButton* ArticleAnnuler_Button;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildDesign();
  void Check(QLineEdit* edit);
  void NumberChange(QLineEdit* edit);
  void NumberExit(QLineEdit* edit);
  void RecomputePrices(QLineEdit* typedIn);
  void Normalise(QLineEdit* edit, int decimals);
  void SetEditText(QLineEdit* edit, const std::string& text);
  bool IsPrice(const QLineEdit* edit) const;
  TMyStringGrid* Checker() const;

  TRecordPanelFlow fFlow;
  TDeskTables& fTables;
  // True while the panel writes a record's values into its edits: they are
  // checked but shown as stored.
  bool fFilling = false;
};
