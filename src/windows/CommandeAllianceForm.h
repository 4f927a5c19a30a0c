#pragma once

#include <QWidget>

#include <memory>
#include <string>

#include "DateTime.h"

class QDateEdit;
class QLabel;
class QPushButton;
class TAllianceOrder;
class TMyDatabase;
class TMyStringGrid;
class TQtGridSurface;

// The wholesaler order window "CommandeAlliance_Form": the invoices in
// progress since the picker's date, the invoices chosen among them by double
// clicks, "Go" adding up their lines per CIP code, and "Print" printing the
// list as three blocks of 44 articles per page under the title "Commande".
// Created hidden at start; the main window loads it and shows it (not
// modal). The rules are TAllianceOrder's.
class TCommandeAlliance_Form : public QWidget {
public:
  explicit TCommandeAlliance_Form(QWidget* parent = nullptr);
  ~TCommandeAlliance_Form() override;

  void FormCreate();
  // Stores the invoice header table and the folder of its line files (both
  // kept by the caller) and lists the invoices in progress.
  void Charger(TMyDatabase* factures, const std::string& lineFolder);
  // Forgets the table: the main window is about to release it.
  void Release();

  void CommandeAlliance_DateTimePickerChange();
  void CommandeAlliance_Total_StringGridDblClick();
  void CommandeAlliance_Choosen_StringGridDblClick();
  void CommandeAlliance_Go_ButtonClick();
  void CommandeAlliance_Print_ButtonClick();

  // The picker's date and time of day.
  TDateTime PickerValue() const;
  void SetPickerValue(TDateTime value);

  QLabel* FacturesEnCours_Label;
  QDateEdit* CommandeAlliance_DateTimePicker;
  TQtGridSurface* CommandeAlliance_Total_StringGrid;
  QLabel* DoubleClicPourCommander_Label;
  TQtGridSurface* CommandeAlliance_Choosen_StringGrid;
  QPushButton* CommandeAlliance_Go_Button;
  TQtGridSurface* CommandeAlliance_ArticlesList_StringGrid;
  QLabel* reduction_lignes_Label;
  QLabel* ACommander_Label;
  QPushButton* CommandeAlliance_Print_Button;
  TQtGridSurface* Buffer_StringGrid;

  // The managed grids over the four grids above.
  std::unique_ptr<TMyStringGrid> fTotalGrid;
  std::unique_ptr<TMyStringGrid> fChoosenGrid;
  std::unique_ptr<TMyStringGrid> fArticlesGrid;
  std::unique_ptr<TMyStringGrid> fBufferGrid;

private:
  std::unique_ptr<TAllianceOrder> fOrder;
  // Set while the program itself moves the picker: that is no change of the
  // user's.
  bool fSettingPicker = false;
};
