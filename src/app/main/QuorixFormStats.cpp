// The main window's side of the statistics server connection: where the
// answers are shown, and the opening of the connection.

#include "CltStatsSocket.h"
#include "MyStringGrid.h"
#include "PieceEditor.h"
#include "QuorixForm.h"
#include "SearchResults.h"
#include "SignalPanel.h"
#include "StatsRequests.h"

namespace {

// The hints go to the piece editor's signal panel and to the search results
// grid of the main window. A server that floods its replies would hold the
// window on the panel's writes: they are made once per pass of the loop.
class TQuorixStatsDisplay : public TStatsDisplay {
public:
  explicit TQuorixStatsDisplay(TQuorix_Form& form)
      : fForm(form), fSignals(form.PieceEditor().Signaling_RichEdit) {}

  void AfficherSignal(const std::string& text, TColor color) override {
    fForm.PieceEditor().AfficherSignal(text, color);
  }
  void AfficherSignaux(const std::vector<TSignalLine>& lines) override { fSignals.Add(lines); }

  TMyStringGrid* SearchGrid() override { return fForm.SearchResults().Grid(); }

private:
  TQuorix_Form& fForm;
  TSignalQueue fSignals;
};

// The screens' questions go to the connection while it is open.
class TSocketStatsRequests : public TStatsRequests {
public:
  explicit TSocketStatsRequests(TQuorix_Form& form) : fForm(form) {}

  void DemanderInfosClient(const std::string& code) override {
    if (TCltStatsSocket* socket = fForm.StatsSocket()) socket->DemanderInfosClient(code);
  }
  void DemanderStatsArticles(const std::string& codes) override {
    if (TCltStatsSocket* socket = fForm.StatsSocket()) socket->DemanderStatsArticles(codes);
  }

private:
  TQuorix_Form& fForm;
};

}  // namespace

void TQuorix_Form::ConnectStatsServer() {
  if (!fStatsDisplay) fStatsDisplay = std::make_unique<TQuorixStatsDisplay>(*this);
  fCltStatsSocket = std::make_unique<TCltStatsSocket>(*fStatsDisplay, this);
  fCltStatsSocket->ConnectStatsServer(Catalogue::Settings::File);
  SetStatsRequests(std::make_unique<TSocketStatsRequests>(*this));
}
