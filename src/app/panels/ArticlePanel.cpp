#include "ArticlePanel.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>
#include <vector>

#include "Catalogue.h"
#include "DeskTables.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "NamedWidgets.h"
#include "QtText.h"
#include "RecordEditTools.h"
#include "RecordSave.h"
#include "StringManager.h"
#include "Trace.h"

namespace A = Catalogue::Articles;

namespace {

// One edit of the panel, top to bottom: its caption, the field it shows and
// writes, its width, its checks (cell types that make it white, red, light
// yellow; the barcode is only checked for what no stored text may hold) and,
// for the numbers, the decimals kept while typing and written on leaving.
struct TArticleEdit {
  QLineEdit* TArticlePanel::*Edit;
  const char* Name;
  const char* Caption;
  const char* Field;
  int Width;
  bool Checked;
  TCellType Ok, Red, Yellow;
  bool Number;
  int TypingDecimals;
  int ExitDecimals;
  void (TArticlePanel::*Change)();
  void (TArticlePanel::*Exit)();
  void (TArticlePanel::*KeyPress)(char&);
};

const TArticleEdit kEdits[] = {
    {&TArticlePanel::ArticleCodeCIPEdit, "ArticleCodeCIPEdit", "Code CIP", A::Code, 90, true, ctCIP, ctEmpty,
     ctNotCIPNorEmpty, false, 0, 0, &TArticlePanel::ArticleCodeCIPEditChange, nullptr, nullptr},
    {&TArticlePanel::ArticleDesignationEdit, "ArticleDesignationEdit", "Désignation", A::Designation, 264, true,
     ctNotEmpty, ctNoText, ctEmpty, false, 0, 0, &TArticlePanel::ArticleDesignationEditChange, nullptr, nullptr},
    {&TArticlePanel::ArticlePrixAchatEdit, "ArticlePrixAchatEdit", "Prix d'Achat", A::PrixAchat, 100, true,
     ctNonNegativeReal, ctNotReal, ctNegativeReal, true, 2, 2, &TArticlePanel::ArticlePrixAchatEditChange,
     &TArticlePanel::ArticlePrixAchatEditExit, &TArticlePanel::ArticlePrixAchatEditKeyPress},
    {&TArticlePanel::ArticlePrixVenteEdit, "ArticlePrixVenteEdit", "Prix de Vente", A::PrixVente, 100, true,
     ctNonNegativeReal, ctNotReal, ctNegativeReal, true, 2, 2, &TArticlePanel::ArticlePrixVenteEditChange,
     &TArticlePanel::ArticlePrixVenteEditExit, &TArticlePanel::ArticlePrixVenteEditKeyPress},
    {&TArticlePanel::ArticleCoeffMargeEdit, "ArticleCoeffMargeEdit", "Coeff Marge", A::Coef, 100, true,
     ctRealOfAtLeastOne, ctNotReal, ctNotRealOfAtLeastOne, true, 4, 4, &TArticlePanel::ArticleCoeffMargeEditChange,
     &TArticlePanel::ArticleCoeffMargeEditExit, &TArticlePanel::ArticleCoeffMargeEditKeyPress},
    {&TArticlePanel::ArticlePoidsEdit, "ArticlePoidsEdit", "Poids", A::Poids, 100, true, ctNonNegativeRealOrEmpty,
     ctNotReal, ctNegativeReal, true, 3, 4, &TArticlePanel::ArticlePoidsEditChange,
     &TArticlePanel::ArticlePoidsEditExit, &TArticlePanel::ArticlePoidsEditKeyPress},
    {&TArticlePanel::ArticleCodeBarreEdit, "ArticleCodeBarreEdit", A::CodeBarre, A::CodeBarre, 140, true, ctAnyText,
     ctNoText, ctNoText, false, 0, 0, nullptr, nullptr, nullptr},
};

constexpr int kCaptionLeft = 12;
constexpr int kCaptionWidth = 92;
constexpr int kEditLeft = 110;
constexpr int kRowTop = 12;
constexpr int kRowStep = 30;

std::string Text(const QLineEdit* edit) { return FromQString(edit->text()); }

// The value of a number edit, spaces aside (they do not make it red).
long double ValueOf(const QLineEdit* edit) {
  TStringManager& sm = StringManager();
  return sm.MyStrToFloat(sm.TrimChar(Text(edit), ' '));
}

// The decimal separator of the program for a typed "." or ",".
void MapDecimalKey(char& key) {
  const char sep = StringManager().DecimalSeparator();
  if (key == '.' && sep == ',') {
    key = ',';
  } else if (key == ',' && sep == '.') {
    key = '.';
  }
}

}  // namespace

TArticlePanel::TArticlePanel(QWidget* parent, TDesk& desk, TDeskTables& tables, TRecordList& articles)
    : fFlow(RecordPanelKinds::Article, parent, desk, articles), fTables(tables) {
  Article_Panel = fFlow.Panel();
  BuildDesign();
}

TArticlePanel::~TArticlePanel() = default;

void TArticlePanel::BuildDesign() {
  QFrame* panel = Article_Panel;
  int top = kRowTop;
  QWidget* previous = nullptr;
  for (const TArticleEdit& e : kEdits) {
    auto* edit = new QLineEdit(panel);
    edit->setObjectName(e.Name);
    edit->setGeometry(kEditLeft, top, e.Width, 22);
    if (e.Number) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    this->*e.Edit = edit;
    const std::string name(e.Name);
    auto* label = new QLabel(ToQString(e.Caption), panel);
    label->setObjectName(QString::fromStdString(name.substr(0, name.size() - 4) + "_Label"));
    label->setGeometry(kCaptionLeft, top, kCaptionWidth, 22);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setBuddy(edit);
    if (e.Change != nullptr) {
      connect(edit, &QLineEdit::textChanged, this, [this, change = e.Change] { (this->*change)(); });
    } else {
      connect(edit, &QLineEdit::textChanged, this, [this, edit] { Check(edit); });
    }
    if (e.Number) edit->installEventFilter(this);
    if (previous != nullptr) QWidget::setTabOrder(previous, edit);
    previous = edit;
    top += kRowStep;
  }
  QFont bold = ArticleCodeCIPEdit->font();
  bold.setBold(true);
  ArticleCodeCIPEdit->setFont(bold);

  ArticleEnregistrer_Button = NewButton(panel, "ArticleEnregistrer_Button", "&Enregistrer", QRect(170, 230, 100, 30));
  ArticleAnnuler_Button = NewButton(panel, "ArticleAnnuler_Button", "&Annuler", QRect(278, 230, 100, 30));
  QWidget::setTabOrder(previous, ArticleEnregistrer_Button);
  QWidget::setTabOrder(ArticleEnregistrer_Button, ArticleAnnuler_Button);
  connect(ArticleEnregistrer_Button, &QPushButton::clicked, this, [this] { ArticleEnregistrer_ButtonClick(); });
  connect(ArticleAnnuler_Button, &QPushButton::clicked, this, [this] { ArticleAnnuler_ButtonClick(); });
}

bool TArticlePanel::eventFilter(QObject* watched, QEvent* event) {
  for (const TArticleEdit& e : kEdits) {
    QLineEdit* edit = this->*e.Edit;
    if (watched != edit || !e.Number) continue;
    if (event->type() == QEvent::KeyPress) {
      const QString typed = static_cast<QKeyEvent*>(event)->text();
      if (typed.size() != 1 || typed[0].unicode() > 0x7F) break;
      const char original = static_cast<char>(typed[0].unicode());
      char key = original;
      (this->*e.KeyPress)(key);
      if (key == original) break;
      edit->insert(QString(QChar(key)));
      return true;
    }
    // Only a move to another control of the window leaves the edit; a
    // message box or a menu over it does not, nor does closing the panel.
    if (event->type() == QEvent::FocusOut) {
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
          Article_Panel->isVisible()) {
        (this->*e.Exit)();
      }
    }
    break;
  }
  return QObject::eventFilter(watched, event);
}

TMyStringGrid* TArticlePanel::Checker() const { return fFlow.Checker(); }

bool TArticlePanel::IsPrice(const QLineEdit* edit) const {
  return edit == ArticlePrixAchatEdit || edit == ArticlePrixVenteEdit || edit == ArticleCoeffMargeEdit;
}

void TArticlePanel::SetEditText(QLineEdit* edit, const std::string& text) {
  const QString q = ToQString(text);
  if (edit->text() != q) {
    edit->setText(q);
  } else {
    Check(edit);
  }
}

// ---------------------------------------------------------------------------
// Checks while typing

void TArticlePanel::Check(QLineEdit* edit) {
  if (Checker() == nullptr) return;
  for (const TArticleEdit& e : kEdits) {
    if (this->*e.Edit != edit || !e.Checked) continue;
    ColorEdit(edit, *Checker(), e.Ok, e.Red, e.Yellow);
  }
  if (edit == ArticleCodeCIPEdit) {
    try {
      MarkDuplicateKey(edit, loadedArticleCode, *fTables.Articles(), A::Code);
    } catch (const ERegExError& e) {
      // A code with pattern characters is no other article's; the save will
      // say why it cannot be kept. A search stopped on a limit is said.
      ShowIfLimitReached(e);
    }
  }
}

void TArticlePanel::ArticleCodeCIPEditChange() { Check(ArticleCodeCIPEdit); }

void TArticlePanel::ArticleDesignationEditChange() { Check(ArticleDesignationEdit); }

void TArticlePanel::ArticlePrixAchatEditChange() { NumberChange(ArticlePrixAchatEdit); }

void TArticlePanel::ArticlePrixVenteEditChange() { NumberChange(ArticlePrixVenteEdit); }

void TArticlePanel::ArticleCoeffMargeEditChange() { NumberChange(ArticleCoeffMargeEdit); }

void TArticlePanel::ArticlePoidsEditChange() { NumberChange(ArticlePoidsEdit); }

void TArticlePanel::NumberChange(QLineEdit* edit) {
  if (IsPrice(edit)) {
    for (QLineEdit* price : {ArticlePrixAchatEdit, ArticlePrixVenteEdit, ArticleCoeffMargeEdit}) Check(price);
  } else {
    Check(edit);
  }
  // A stored record is shown as it was stored.
  if (fFilling) return;
  // Only the edit being typed in drives the others; the one it writes only
  // brings its own text to its decimals.
  if (IsPrice(edit) && edit->hasFocus()) RecomputePrices(edit);
  for (const TArticleEdit& e : kEdits) {
    if (this->*e.Edit == edit) Normalise(edit, e.TypingDecimals);
  }
}

void TArticlePanel::RecomputePrices(QLineEdit* typedIn) {
  for (QLineEdit* price : {ArticlePrixAchatEdit, ArticlePrixVenteEdit, ArticleCoeffMargeEdit}) {
    if (GetEditColor(price) == clErrorRed) return;
  }
  TStringManager& sm = StringManager();
  // A computed value is written as it is stored, with all its decimals (a
  // price two, the coefficient four): it is never typed in, so never left.
  auto write = [this, &sm](QLineEdit* edit, long double value) {
    std::string text = sm.RealToText(value);
    for (const TArticleEdit& e : kEdits) {
      if (this->*e.Edit == edit && sm.IsReal(text)) text = sm.FormatRealStringStrict(text, ',', e.ExitDecimals);
    }
    edit->setText(ToQString(text));
  };
  const long double achat = ValueOf(ArticlePrixAchatEdit);
  if (typedIn == ArticlePrixVenteEdit) {
    // Without a purchase price there is no margin to speak of.
    if (achat == 0) return;
    write(ArticleCoeffMargeEdit, ValueOf(ArticlePrixVenteEdit) / achat);
  } else {
    write(ArticlePrixVenteEdit, ValueOf(ArticleCoeffMargeEdit) * achat);
  }
}

// Points become commas and extra decimals are rounded away as the number is
// typed; the caret stays where it was.
void TArticlePanel::Normalise(QLineEdit* edit, int decimals) {
  const std::string text = Text(edit);
  const std::string normalised = StringManager().FormatRealString(text, ',', decimals);
  if (normalised == text) return;
  const int caret = edit->cursorPosition();
  edit->setText(ToQString(normalised));
  edit->setCursorPosition(std::min(caret, static_cast<int>(edit->text().size())));
}

// ---------------------------------------------------------------------------
// Leaving and keys

void TArticlePanel::NumberExit(QLineEdit* edit) {
  TStringManager& sm = StringManager();
  for (const TArticleEdit& e : kEdits) {
    if (this->*e.Edit != edit) continue;
    // A text that is no number is reported and emptied, and shows red.
    const std::string strict =
        sm.FormatRealStringStrict(sm.TrimChar(Text(edit), sm.DecimalSeparator()), ',', e.ExitDecimals);
    if (strict != Text(edit)) {
      // Written as it stands: the decimals kept while typing are fewer than
      // those written on leaving (the weight).
      const QSignalBlocker blocker(edit);
      edit->setText(ToQString(strict));
    }
  }
  if (IsPrice(edit)) {
    for (QLineEdit* price : {ArticlePrixAchatEdit, ArticlePrixVenteEdit, ArticleCoeffMargeEdit}) Check(price);
  } else {
    Check(edit);
  }
}

void TArticlePanel::ArticlePrixAchatEditExit() { NumberExit(ArticlePrixAchatEdit); }

void TArticlePanel::ArticlePrixVenteEditExit() { NumberExit(ArticlePrixVenteEdit); }

void TArticlePanel::ArticleCoeffMargeEditExit() { NumberExit(ArticleCoeffMargeEdit); }

void TArticlePanel::ArticlePoidsEditExit() { NumberExit(ArticlePoidsEdit); }

void TArticlePanel::ArticlePrixAchatEditKeyPress(char& key) { MapDecimalKey(key); }

void TArticlePanel::ArticlePrixVenteEditKeyPress(char& key) { MapDecimalKey(key); }

void TArticlePanel::ArticleCoeffMargeEditKeyPress(char& key) { MapDecimalKey(key); }

void TArticlePanel::ArticlePoidsEditKeyPress(char& key) { MapDecimalKey(key); }

// ---------------------------------------------------------------------------
// Opening

void TArticlePanel::AfficherFicheArticle() {
  if (!fFlow.Open(loadedArticleCode)) return;
  TMyDatabase& articles = fFlow.Table();

  // Every value is read before the code's handler runs a query of its own.
  std::vector<std::string> values;
  const bool found = articles.QueryResultCount() == 1;
  for (const TArticleEdit& e : kEdits) {
    if (found) {
      values.push_back(articles.GetQueryResultString(e.Field, 0));
    } else {
      values.push_back(e.Number ? "0" : "");
    }
  }
  fFilling = true;
  for (std::size_t i = 0; i < std::size(kEdits); ++i) SetEditText(this->*kEdits[i].Edit, values[i]);
  fFilling = false;
  ArticleCodeCIPEdit->setFocus();
}

void TArticlePanel::AfficherArticleCode(const std::string& code) {
  fFlow.SelectKey(code);
  AfficherFicheArticle();
}

// ---------------------------------------------------------------------------
// Saving and deleting

void TArticlePanel::ArticleEnregistrer_ButtonClick() {
  // A save from the keyboard leaves the edit being typed in as a click would.
  for (const TArticleEdit& e : kEdits) {
    if (e.Number && (this->*e.Edit)->hasFocus()) (this->*e.Exit)();
  }
  TRecordToSave article;
  article.Kind = &RecordKinds::Article;
  article.Table = fTables.Articles();
  article.LoadedKey = loadedArticleCode;
  for (const TArticleEdit& e : kEdits) {
    if (GetEditColor(this->*e.Edit) == clErrorRed) article.RedEdit = true;
    article.Values.emplace_back(e.Field, Text(this->*e.Edit));
  }
  fFlow.Save(article, SaveRecordSequence);
}

void TArticlePanel::ArticleAnnuler_ButtonClick() { fFlow.Cancel(); }

void TArticlePanel::SupprimerArticle() {
  fFlow.Delete([this](const std::string& code) { return DeleteArticleSequence(*fTables.Articles(), code); });
}
