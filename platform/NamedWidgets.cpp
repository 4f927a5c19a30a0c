#include "NamedWidgets.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "QtGridSurface.h"
#include "QtText.h"

QFrame* NewPanel(QWidget* parent, const char* name) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFrameShadow(QFrame::Raised);
  return panel;
}

TQtGridSurface* NewGrid(QWidget* parent, const char* name) {
  auto* grid = new TQtGridSurface(parent);
  grid->setObjectName(name);
  return grid;
}

QLabel* NewLabel(QWidget* parent, const std::string& name, const std::string& caption, QRect geometry) {
  auto* label = new QLabel(ToQString(caption), parent);
  label->setObjectName(QString::fromStdString(name));
  label->setGeometry(geometry);
  return label;
}

QLineEdit* NewEdit(QWidget* parent, const std::string& name, QRect geometry, const std::string& text) {
  auto* edit = new QLineEdit(ToQString(text), parent);
  edit->setObjectName(QString::fromStdString(name));
  edit->setGeometry(geometry);
  return edit;
}

QPushButton* NewButton(QWidget* parent, const char* name, const char* caption, QRect geometry) {
  auto* button = new QPushButton(ToQString(caption), parent);
  button->setObjectName(name);
  button->setGeometry(geometry);
  button->setAutoDefault(false);
  return button;
}
