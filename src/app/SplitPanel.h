#pragma once

#include <QObject>

#include <array>
#include <memory>
#include <string>

#include "InvoiceSplit.h"

class QEvent;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class TMyDatabase;
class TQuorix_Form;
class TUpDownArrows;

// The split of an invoice ("Fonctions" > "Scinder") in the small panel
// `Scinder_Panel` under the lists: the number of new invoices, the total each
// would get, and "Scinder", which makes them. Thin handlers over the rules
// of InvoiceSplit.
class TSplitPanel : public QObject {
public:
  explicit TSplitPanel(TQuorix_Form& form);
  ~TSplitPanel() override;
  TSplitPanel(const TSplitPanel&) = delete;
  TSplitPanel& operator=(const TSplitPanel&) = delete;

  void ShowScinderControls(bool visible);
  // Loads the lines of the invoice selected in the invoice list and shows
  // what a split would give.
  void Scinder1Click();
  void Scinder_NbFact_UpDownMouseUp();
  void Scinder_ButtonClick();
  void ScinderPreview();
  // False when the split was refused before anything was made (a port that
  // is not an integer, new numbers already taken).
  bool ScinderCommit();
  // The number of new invoices, as the up-down holds it.
  void SetInvoiceCount(int n);

  QFrame* Scinder_Panel;
  QLabel* Label11;
  QLineEdit* Scinder_nbFact_Edit;
  TUpDownArrows* Scinder_NbFact_UpDown;
  QPushButton* Scinder_Button;
  std::array<QLineEdit*, kSplitMax> Scinder_Fact_Edits{};
  std::array<TUpDownArrows*, kSplitMax> Scinder_Fact_Updowns{};

  // The invoice to split with its lines, recorded by the menu command and
  // kept until the next one.
  TSplitSource splitLines;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildDesign();
  // The computation shown in the nine edits; false when there is nothing to
  // split.
  bool Compute(TSplitPlan& plan);

  TQuorix_Form& fForm;
};
