#pragma once

#include <QRect>

#include <string>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class TQtGridSurface;

// The controls of the windows, each made with its object name (the
// component name, by which tests find it) and, for those that show a text,
// its Windows-1252 caption.

// A raised panel.
QFrame* NewPanel(QWidget* parent, const char* name);
// A grid surface, as every grid of the windows is.
TQtGridSurface* NewGrid(QWidget* parent, const char* name);
QLabel* NewLabel(QWidget* parent, const std::string& name, const std::string& caption, QRect geometry);
QLineEdit* NewEdit(QWidget* parent, const std::string& name, QRect geometry, const std::string& text = "");
// A push button that Enter in another control of its window never presses.
QPushButton* NewButton(QWidget* parent, const char* name, const char* caption, QRect geometry);
