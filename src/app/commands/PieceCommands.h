#pragma once

#include <QObject>

#include <string>

#include "PieceKinds.h"

class QEvent;
class QToolButton;
class QWidget;
class TDesk;
class TDeskTables;
class TMyStringGrid;
class TQtGridSurface;
class TRecordLists;

// The operations of the main window on whole pieces: "Supprimer" in the
// piece lists, "Dupliquer" (Ctrl+Shift for the special duplicate, marked by
// a dot on the button for the clients who had one), "Devis --> Facture",
// "Facture --> Devis" and "Nettoyer" in the "Fonctions" menu. Thin handlers
// over the rules of PieceOperations; the lists are shown again afterwards.
//
// Created with the window's design, before its grids are wrapped, so that the
// invoice list's click handler is in place.
class TPieceCommands : public QObject {
public:
  TPieceCommands(QToolButton* dupliquer, TDesk& desk, TDeskTables& tables, TRecordLists& lists);
  ~TPieceCommands() override;
  TPieceCommands(const TPieceCommands&) = delete;
  TPieceCommands& operator=(const TPieceCommands&) = delete;

  // "Supprimer" in the list of a piece kind: the piece of the selected row.
  void SupprimerPiece(const TPieceKind& kind);
  void Dupliquer_BitBtnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
  void Liste_Factures_StringGridClick();
  void DevisFacture1Click();
  void FactureDevis1Click();
  void Nettoyer1Click();

  // The mark on "Dupliquer": shown while the selected invoice's client has
  // had a special duplicate.
  bool DotShown() const;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void ConvertSelected(const TPieceKind& from, const TPieceKind& to);
  TPieceTables Tables() const;
  TMyStringGrid* ListOf(const TPieceKind& kind) const;
  TQtGridSurface* SurfaceOf(const TPieceKind& kind) const;
  void ShowList(const TPieceKind& kind);
  // The key cell of the list's selected row.
  std::string SelectedNumber(const TPieceKind& kind) const;

  QToolButton* fDupliquer;
  TDesk& fDesk;
  TDeskTables& fTables;
  TRecordLists& fLists;
  QWidget* fDot = nullptr;
};
