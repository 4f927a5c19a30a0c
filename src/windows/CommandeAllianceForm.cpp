#include "CommandeAllianceForm.h"

#include <QDateEdit>
#include <QLabel>
#include <QPushButton>

#include "AllianceOrder.h"
#include "MyStringGrid.h"
#include "NamedWidgets.h"
#include "PrintManager.h"
#include "QtGridSurface.h"
#include "QtText.h"

namespace {

// The window's own sizes of label and button.
QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption, int x, int y, int w) {
  return NewLabel(parent, name, caption, QRect(x, y, w, 17));
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, int x, int y) {
  return NewButton(parent, name, caption, QRect(x, y, 75, 25));
}

TQtGridSurface* MakeGrid(QWidget* parent, const char* name, int x, int y, int w, int h) {
  TQtGridSurface* grid = NewGrid(parent, name);
  grid->setGeometry(x, y, w, h);
  return grid;
}

}  // namespace

TCommandeAlliance_Form::TCommandeAlliance_Form(QWidget* parent) : QWidget(parent) {
  setObjectName("CommandeAlliance_Form");
  setWindowTitle(QStringLiteral("CommandeAlliance_Form"));
  resize(668, 626);

  FacturesEnCours_Label = MakeLabel(this, "FacturesEnCours_Label", "Factures en cours depuis", 8, 10, 150);
  CommandeAlliance_DateTimePicker = new QDateEdit(this);
  CommandeAlliance_DateTimePicker->setObjectName("CommandeAlliance_DateTimePicker");
  CommandeAlliance_DateTimePicker->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
  CommandeAlliance_DateTimePicker->setCalendarPopup(true);
  CommandeAlliance_DateTimePicker->setGeometry(160, 6, 110, 24);

  CommandeAlliance_Total_StringGrid = MakeGrid(this, "CommandeAlliance_Total_StringGrid", 8, 36, 652, 180);
  DoubleClicPourCommander_Label =
      MakeLabel(this, "DoubleClicPourCommander_Label", "Double clic pour Ajouter ou Enlever", 8, 220, 300);
  CommandeAlliance_Choosen_StringGrid = MakeGrid(this, "CommandeAlliance_Choosen_StringGrid", 8, 240, 652, 130);
  CommandeAlliance_Go_Button = MakeButton(this, "CommandeAlliance_Go_Button", "Go", 8, 376);
  reduction_lignes_Label = MakeLabel(this, "reduction_lignes_Label", "0/0", 96, 380, 150);
  ACommander_Label = MakeLabel(this, "ACommander_Label", "A Commander", 8, 406, 150);
  CommandeAlliance_ArticlesList_StringGrid =
      MakeGrid(this, "CommandeAlliance_ArticlesList_StringGrid", 8, 426, 652, 150);
  CommandeAlliance_Print_Button = MakeButton(this, "CommandeAlliance_Print_Button", "Print", 8, 582);
  // The page layout is built here to be printed, not to be read on screen.
  Buffer_StringGrid = MakeGrid(this, "Buffer_StringGrid", 0, 614, 668, 12);

  for (TQtGridSurface* grid : {CommandeAlliance_Total_StringGrid, CommandeAlliance_Choosen_StringGrid}) {
    grid->SetRowSelect(true);
  }
  CommandeAlliance_Total_StringGrid->Events.OnDblClick = [this] { CommandeAlliance_Total_StringGridDblClick(); };
  CommandeAlliance_Choosen_StringGrid->Events.OnDblClick = [this] { CommandeAlliance_Choosen_StringGridDblClick(); };
  connect(CommandeAlliance_Go_Button, &QPushButton::clicked, this, [this] { CommandeAlliance_Go_ButtonClick(); });
  connect(CommandeAlliance_Print_Button, &QPushButton::clicked, this,
          [this] { CommandeAlliance_Print_ButtonClick(); });
  connect(CommandeAlliance_DateTimePicker, &QDateTimeEdit::dateTimeChanged, this, [this] {
    if (!fSettingPicker) CommandeAlliance_DateTimePickerChange();
  });
  FormCreate();
}

TCommandeAlliance_Form::~TCommandeAlliance_Form() {
  // The managed grids go before their surfaces, which the widget tree owns.
  fOrder.reset();
  fTotalGrid.reset();
  fChoosenGrid.reset();
  fArticlesGrid.reset();
  fBufferGrid.reset();
}

void TCommandeAlliance_Form::FormCreate() {
  // Thirty days back from now, time of day included.
  SetPickerValue(Now() - 30);
  fTotalGrid = std::make_unique<TMyStringGrid>(CommandeAlliance_Total_StringGrid);
  fChoosenGrid = std::make_unique<TMyStringGrid>(CommandeAlliance_Choosen_StringGrid);
  fArticlesGrid = std::make_unique<TMyStringGrid>(CommandeAlliance_ArticlesList_StringGrid);
  fBufferGrid = std::make_unique<TMyStringGrid>(Buffer_StringGrid);
  // The order is printed in 12 points: the widths are measured in that size
  // and the printer takes the grid's font.
  fBufferGrid->SetFontSize(12);
  QFont font = Buffer_StringGrid->font();
  font.setPointSize(12);
  Buffer_StringGrid->setFont(font);
  fOrder = std::make_unique<TAllianceOrder>(*fTotalGrid, *fChoosenGrid, *fArticlesGrid, *fBufferGrid);
}

TDateTime TCommandeAlliance_Form::PickerValue() const {
  const QDateTime value = CommandeAlliance_DateTimePicker->dateTime();
  const QDate d = value.date();
  const QTime t = value.time();
  return EncodeDate(d.year(), d.month(), d.day()) + EncodeTime(t.hour(), t.minute(), t.second()) +
         t.msec() / 86400000.0;
}

void TCommandeAlliance_Form::SetPickerValue(TDateTime value) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, minute, second);
  fSettingPicker = true;
  CommandeAlliance_DateTimePicker->setDateTime(QDateTime(QDate(year, month, day), QTime(hour, minute, second)));
  fSettingPicker = false;
}

void TCommandeAlliance_Form::Charger(TMyDatabase* factures, const std::string& lineFolder) {
  fOrder->Charger(factures, lineFolder, PickerValue());
}

void TCommandeAlliance_Form::Release() { fOrder->Release(); }

void TCommandeAlliance_Form::CommandeAlliance_DateTimePickerChange() { fOrder->Recharger(PickerValue()); }

void TCommandeAlliance_Form::CommandeAlliance_Total_StringGridDblClick() { fOrder->Choisir(); }

void TCommandeAlliance_Form::CommandeAlliance_Choosen_StringGridDblClick() { fOrder->Enlever(); }

void TCommandeAlliance_Form::CommandeAlliance_Go_ButtonClick() {
  reduction_lignes_Label->setText(ToQString(fOrder->Go()));
}

void TCommandeAlliance_Form::CommandeAlliance_Print_ButtonClick() {
  fOrder->MettreEnPage();
  if (TPrintManager* printing = GetPrintManager()) printing->PrintGrid(fBufferGrid.get(), "Commande");
}
