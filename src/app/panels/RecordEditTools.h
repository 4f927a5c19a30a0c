#pragma once

#include <string>

#include "CellTypes.h"
#include "GridSurface.h"

class QLineEdit;
class QRadioButton;
class QWidget;
class TMyDatabase;
class TMyStringGrid;

// Tools the record panels share (piece editor, client, article): edits
// coloured by the cell types of the grids, duplicate keys, payment terms.

// An edit's background in the validation palette, and the colour it shows
// (white until coloured).
void SetEditColor(QWidget* edit, TColor color);
TColor GetEditColor(const QWidget* edit);

// Tests the edit's text, trimmed of spaces, with the cell types: white when
// okType holds, light yellow when yellowType holds, red when redType holds,
// the last that holds winning; when none holds the colour stays. A text
// holding ";", a line break or NUL is red whatever the types. The checker
// is any managed grid (the types that read reference lists use its copies).
void ColorEdit(QLineEdit* edit, TMyStringGrid& checker, TCellType okType, TCellType redType, TCellType yellowType);

// Turns the edit red when its text is not the key the record was opened
// under and the table already has a record with that key.
void MarkDuplicateKey(QLineEdit* edit, const std::string& loadedKey, TMyDatabase& table, const std::string& keyField);

// The payment term of three radio buttons ("30Jours", "Comptant",
// "Quinzaine", or empty when none is checked), and the button a stored term
// checks (the thirty days for an empty or unknown one).
std::string GetEcheance(const QRadioButton* trenteJours, const QRadioButton* comptant, const QRadioButton* quinzaine);
void SetEcheance(const std::string& term, QRadioButton* trenteJours, QRadioButton* comptant, QRadioButton* quinzaine);
