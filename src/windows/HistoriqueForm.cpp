#include "HistoriqueForm.h"

#include <QHideEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>

#include "HistoryListing.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "NamedWidgets.h"
#include "QtGridSurface.h"
#include "QtText.h"

namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, int x, int y) {
  return NewButton(parent, name, caption, QRect(x, y, 90, 27));
}

TQtGridSurface* MakeTabGrid(QWidget* page, const char* name) {
  TQtGridSurface* grid = NewGrid(page, name);
  grid->SetRowSelect(true);
  // Placed rather than laid out: the grid has its width before the page is
  // first shown, and the listing's column fills it.
  grid->setGeometry(4, 4, 838, 380);
  return grid;
}

}  // namespace

THistorique_Form::THistorique_Form(QWidget* parent) : QWidget(parent) {
  setObjectName("Historique_Form");
  setWindowTitle(QStringLiteral("Historique"));
  resize(870, 480);

  Historique_PageControl = new QTabWidget(this);
  Historique_PageControl->setObjectName("Historique_PageControl");
  Historique_PageControl->setGeometry(8, 8, 854, 420);
  Supprimes_TabSheet = new QWidget();
  Supprimes_TabSheet->setObjectName("Supprimes_TabSheet");
  Imprimes_TabSheet = new QWidget();
  Imprimes_TabSheet->setObjectName("Imprimes_TabSheet");
  Historique_PageControl->addTab(Supprimes_TabSheet, ToQString("Supprimes"));
  Historique_PageControl->addTab(Imprimes_TabSheet, ToQString("Imprimes"));
  Historique_PageControl->setCurrentIndex(0);
  Historique_Supprimes_StringGrid = MakeTabGrid(Supprimes_TabSheet, "Historique_Supprimes_StringGrid");
  Historique_Imprimes_StringGrid = MakeTabGrid(Imprimes_TabSheet, "Historique_Imprimes_StringGrid");

  Historique_Purge_Button = MakeButton(this, "Historique_Purge_Button", "Purger", 8, 440);
  Historique_Restaurer_Button = MakeButton(this, "Historique_Restaurer_Button", "Restaurer", 676, 440);
  Historique_Fermer_Button = MakeButton(this, "Historique_Fermer_Button", "Fermer", 772, 440);
  Historique_Memo = new QPlainTextEdit(this);
  Historique_Memo->setObjectName("Historique_Memo");
  Historique_Memo->hide();

  connect(Historique_Purge_Button, &QPushButton::clicked, this, [this] { Historique_Purge_ButtonClick(); });
  connect(Historique_Restaurer_Button, &QPushButton::clicked, this, [this] { Historique_Restaurer_ButtonClick(); });
  connect(Historique_Fermer_Button, &QPushButton::clicked, this, [this] { Historique_Fermer_ButtonClick(); });
  FormCreate();
}

THistorique_Form::~THistorique_Form() {
  // The managed grids go before their surfaces, which the widget tree owns.
  fSupprimesGrid.reset();
  fImprimesGrid.reset();
}

void THistorique_Form::FormCreate() {
  fSupprimesGrid = std::make_unique<TMyStringGrid>(Historique_Supprimes_StringGrid);
  fImprimesGrid = std::make_unique<TMyStringGrid>(Historique_Imprimes_StringGrid);
}

void THistorique_Form::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void THistorique_Form::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (!event->spontaneous()) FormHide();
}

void THistorique_Form::FormShow() { Actualiser(); }

void THistorique_Form::FormHide() {
  fSupprimesDB.reset();
  fImprimesDB.reset();
}

void THistorique_Form::Actualiser() {
  std::string text;
  fSupprimesDB = RefreshHistoryListing(HistoryFolders::Supprimes, *fSupprimesGrid, &text);
  fImprimesDB = RefreshHistoryListing(HistoryFolders::Imprimes, *fImprimesGrid, &text);
  // The scratch list keeps the last listing written, as it was saved.
  Historique_Memo->setPlainText(ToQString(text));
}

const THistoryFolder& THistorique_Form::VisibleFolder() const {
  return Historique_PageControl->currentWidget() == Imprimes_TabSheet ? HistoryFolders::Imprimes
                                                                      : HistoryFolders::Supprimes;
}

TMyStringGrid& THistorique_Form::VisibleGrid() const {
  return Historique_PageControl->currentWidget() == Imprimes_TabSheet ? *fImprimesGrid : *fSupprimesGrid;
}

void THistorique_Form::Historique_Purge_ButtonClick() {
  PurgeHistoryFolder(VisibleFolder());
  Actualiser();
}

void THistorique_Form::Historique_Restaurer_ButtonClick() {
  const THistoryFolder& folder = VisibleFolder();
  const std::string name = SelectedHistoryFile(folder, VisibleGrid());
  // The piece opens in the main window: this one goes first.
  hide();
  if (!name.empty() && fRestaurer) fRestaurer(folder.Folder, name);
}

void THistorique_Form::Historique_Fermer_ButtonClick() { hide(); }
