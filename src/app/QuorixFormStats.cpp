// The main window's side of the statistics server connection: where the
// answers are shown, and the opening of the connection.

#include "CltStatsSocket.h"
#include "MyStringGrid.h"
#include "QuorixForm.h"
#include "Trace.h"

namespace {

// The hints go to the piece editor's signal panel and to the search results
// grid of the main window.
class TQuorixStatsDisplay : public TStatsDisplay {
public:
  explicit TQuorixStatsDisplay(TQuorix_Form& form) : fForm(form) {}

  void AfficherSignal(const std::string& text, TColor color) override {
    // FIXME: append to the piece editor's signal panel (AfficherSignal on
    // Signaling_RichEdit) once the editor is part of the main window; until
    // then the line is only traced.
    (void)color;
    Trace("Signal : " + text);
  }

  TMyStringGrid* SearchGrid() override { return fForm.fRechercheGrid.get(); }

private:
  TQuorix_Form& fForm;
};

}  // namespace

void TQuorix_Form::ConnectStatsServer() {
  if (!fStatsDisplay) fStatsDisplay = std::make_unique<TQuorixStatsDisplay>(*this);
  fCltStatsSocket = std::make_unique<TCltStatsSocket>(*fStatsDisplay, this);
  fCltStatsSocket->ConnectStatsServer(Catalogue::Settings::File);
}
