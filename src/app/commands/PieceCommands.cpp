#include "PieceCommands.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

#include "Catalogue.h"
#include "Desk.h"
#include "DeskTables.h"
#include "HistoryFolders.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "PieceNumbers.h"
#include "PieceOperations.h"
#include "QtGridSurface.h"
#include "RecordLists.h"
#include "StringManager.h"
#include "Trace.h"

namespace F = Catalogue::Field;

namespace {

// Where the mark sits in the button's client area.
constexpr int kDotX = 54;
constexpr int kDotY = 45;

// One black pixel.
class TDot : public QWidget {
public:
  using QWidget::QWidget;

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
  }
};

// Runs a handler; a piece number that is no valid pattern abandons it with
// the pattern's message, as every query of a screen does.
template <class Handler>
void Guarded(Handler handler) {
  try {
    handler();
  } catch (const ERegExError& e) {
    ShowMessage(e.Message);
  }
}

}  // namespace

TPieceCommands::TPieceCommands(QToolButton* dupliquer, TDesk& desk, TDeskTables& tables, TRecordLists& lists)
    : fDupliquer(dupliquer), fDesk(desk), fTables(tables), fLists(lists) {
  fDot = new TDot(fDupliquer);
  fDot->setObjectName("Dupliquer_Dot");
  fDot->setGeometry(kDotX, kDotY, 1, 1);
  // The mark must not take the presses meant for the button.
  fDot->setAttribute(Qt::WA_TransparentForMouseEvents);
  fDot->hide();

  fDupliquer->installEventFilter(this);
  fLists.Of(kFacturesList).Surface()->Events.OnClick = [this] { Liste_Factures_StringGridClick(); };
}

// The grid outlives the commands: it must not call back into them.
TPieceCommands::~TPieceCommands() { fLists.Of(kFacturesList).Surface()->Events.OnClick = nullptr; }

bool TPieceCommands::eventFilter(QObject* watched, QEvent* event) {
  // "Dupliquer" acts on the press of any mouse button, with the keys held
  // at that moment.
  if (watched == fDupliquer && event->type() == QEvent::MouseButtonPress) {
    const auto* press = static_cast<QMouseEvent*>(event);
    Dupliquer_BitBtnMouseDown(press->button(), press->modifiers());
  }
  return QObject::eventFilter(watched, event);
}

TPieceTables TPieceCommands::Tables() const { return fTables.Pieces(); }

TMyStringGrid* TPieceCommands::ListOf(const TPieceKind& kind) const { return fLists.Of(kind).Grid(); }

TQtGridSurface* TPieceCommands::SurfaceOf(const TPieceKind& kind) const { return fLists.Of(kind).Surface(); }

void TPieceCommands::ShowList(const TPieceKind& kind) { fDesk.ShowPieceList(kind); }

std::string TPieceCommands::SelectedNumber(const TPieceKind& kind) const { return fLists.Of(kind).SelectedKey(); }

bool TPieceCommands::DotShown() const { return fDot->isVisibleTo(fDupliquer); }

// ---------------------------------------------------------------------------
// Supprimer

void TPieceCommands::SupprimerPiece(const TPieceKind& kind) {
  Guarded([&] {
    TMyDatabase* header = kind.HeaderTableOf(Tables());
    if (header == nullptr) return;
    const std::string number = SelectedNumber(kind);
    if (&kind == &PieceKinds::Facture) {
      DeleteFacture(*header, number);
      // The deleted number can be given again.
      fTables.FactureNumberBase() = kFactureNumberBase;
    } else {
      DeletePiece(kind, *header, number);
    }
    ShowList(kind);
  });
}

// ---------------------------------------------------------------------------
// Dupliquer

void TPieceCommands::Dupliquer_BitBtnMouseDown(Qt::MouseButton, Qt::KeyboardModifiers modifiers) {
  const bool special = (modifiers & Qt::ControlModifier) != 0 && (modifiers & Qt::ShiftModifier) != 0;
  for (int i = 0; i < PieceKinds::Count; ++i) {
    const TPieceKind& kind = PieceKinds::At(i);
    if (!kind.Duplicable || !ListOf(kind)->GetVisible()) continue;
    Guarded([&] {
      TMyStringGrid* list = ListOf(kind);
      TMyDatabase* header = kind.HeaderTableOf(Tables());
      const std::string source = SelectedNumber(kind);
      const std::string client = list->GetCellByName(F::CodeClient, list->GetRow());
      if (!special) {
        const std::string copy = NextPieceNumber(kind.Kind(), Tables(), fTables.FactureNumberBase());
        DuplicatePiece(kind, *header, source, copy);
        ShowList(kind);
        return;
      }
      std::string copy;
      switch (SpecialDuplicate(kind, *header, *fTables.NoFa(), *fTables.Dupli(), source, client, copy)) {
        case TSpecialDuplicate::Refused:
        case TSpecialDuplicate::Failed: return;
        case TSpecialDuplicate::Created:
        case TSpecialDuplicate::AlreadyThere: break;
      }
      ShowList(kind);
      fDesk.OpenPiece(kind.Kind(), copy);
    });
    return;
  }
}

void TPieceCommands::Liste_Factures_StringGridClick() {
  TMyStringGrid* list = fLists.Of(kFacturesList).Grid();
  TMyDatabase* dupli = fTables.Dupli();
  bool shown = false;
  // Without its table (or its field) no client is marked, and nothing is
  // said at every click.
  if (list != nullptr && dupli != nullptr && dupli->FieldExists(Catalogue::Dupli::Code)) {
    const std::string client = list->GetCellByName(F::CodeClient, list->GetRow());
    try {
      shown = HasSpecialDuplicate(*dupli, client);
    } catch (const ERegExError& e) {
      ShowIfLimitReached(e);
      shown = false;
    }
  }
  fDot->setVisible(shown);
  fDupliquer->update();
}

// ---------------------------------------------------------------------------
// Conversions

void TPieceCommands::ConvertSelected(const TPieceKind& from, const TPieceKind& to) {
  // The command works on the list the user is in: visible and holding the
  // keyboard focus.
  TQtGridSurface* surface = SurfaceOf(from);
  QWidget* focus = QApplication::focusWidget();
  const bool focused = focus != nullptr && (focus == surface || surface->isAncestorOf(focus));
  if (!ListOf(from)->GetVisible() || !focused) {
    ShowMessage(from.SelectPrompt != nullptr ? from.SelectPrompt : "");
    return;
  }
  Guarded([&] {
    const std::string number = SelectedNumber(from);
    const std::string made = NextPieceNumber(to.Kind(), Tables(), fTables.FactureNumberBase());
    if (ConvertPiece(from, to, Tables(), number, made)) ShowList(to);
  });
}

void TPieceCommands::DevisFacture1Click() { ConvertSelected(PieceKinds::Devis, PieceKinds::Facture); }

void TPieceCommands::FactureDevis1Click() { ConvertSelected(PieceKinds::Facture, PieceKinds::Devis); }

// ---------------------------------------------------------------------------
// Nettoyer

void TPieceCommands::Nettoyer1Click() {
  TMyDatabase* factures = fTables.Factures();
  if (factures == nullptr) return;
  Guarded([&] {
    RemoveOrphanLineFiles(*factures);
    ViderHistorique();
    // The special duplicates' lines go to the trash just emptied.
    if (DeleteSpecialDuplicates(*factures) > 0) fDesk.ShowList(kFacturesList);
  });
}
