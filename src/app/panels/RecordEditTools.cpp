#include "RecordEditTools.h"

#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>
#include <QVariant>

#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "PaymentTerms.h"
#include "QtPainterSurface.h"
#include "QtText.h"
#include "StringManager.h"

namespace {
constexpr const char* kColorProperty = "quorixColor";
}

void SetEditColor(QWidget* edit, TColor color) {
  if (edit == nullptr) return;
  edit->setProperty(kColorProperty, QVariant::fromValue<quint32>(color));
  QPalette p = edit->palette();
  p.setColor(QPalette::Base, ToQColor(color));
  edit->setPalette(p);
}

TColor GetEditColor(const QWidget* edit) {
  if (edit == nullptr) return clValidWhite;
  const QVariant v = edit->property(kColorProperty);
  return v.isValid() ? v.value<quint32>() : clValidWhite;
}

void ColorEdit(QLineEdit* edit, TMyStringGrid& checker, TCellType okType, TCellType redType, TCellType yellowType) {
  if (edit == nullptr) return;
  const std::string text = StringManager().TrimChar(FromQString(edit->text()), ' ');
  bool set = false;
  TColor color = GetEditColor(edit);
  if (checker.CheckType(text, okType)) {
    color = clValidWhite;
    set = true;
  }
  if (checker.CheckType(text, yellowType)) {
    color = clWarningYellow;
    set = true;
  }
  // Whatever its own types say, a stored text must not hold what would cut
  // its record.
  if (checker.CheckType(text, redType) || checker.CheckType(text, ctFieldBreak)) {
    color = clErrorRed;
    set = true;
  }
  if (set) SetEditColor(edit, color);
}

void MarkDuplicateKey(QLineEdit* edit, const std::string& loadedKey, TMyDatabase& table, const std::string& keyField) {
  if (edit == nullptr) return;
  const std::string text = FromQString(edit->text());
  if (text == loadedKey) return;
  table.Query(keyField, text, Exact);
  if (table.QueryResultCount() > 0) SetEditColor(edit, clErrorRed);
}

std::string GetEcheance(const QRadioButton* trenteJours, const QRadioButton* comptant, const QRadioButton* quinzaine) {
  if (trenteJours != nullptr && trenteJours->isChecked()) return EcheanceWord(TEcheance::TrenteJours);
  if (comptant != nullptr && comptant->isChecked()) return EcheanceWord(TEcheance::Comptant);
  if (quinzaine != nullptr && quinzaine->isChecked()) return EcheanceWord(TEcheance::Quinzaine);
  return std::string();
}

void SetEcheance(const std::string& term, QRadioButton* trenteJours, QRadioButton* comptant, QRadioButton* quinzaine) {
  QRadioButton* button = trenteJours;
  switch (EcheanceOf(term)) {
    case TEcheance::Comptant: button = comptant; break;
    case TEcheance::Quinzaine: button = quinzaine; break;
    case TEcheance::TrenteJours: break;
  }
  if (button != nullptr) button->setChecked(true);
}
