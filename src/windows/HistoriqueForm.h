#pragma once

#include <QWidget>

#include <functional>
#include <memory>
#include <string>

class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class TMyDatabase;
class TMyStringGrid;
class TQtGridSurface;
struct THistoryFolder;

// The history window "Historique": the files of the trash (deleted pieces)
// and of the printed archive (copies of printed pieces) in two tabs, listed
// again each time the window is shown; "Restaurer" makes a new piece of the
// selected file through the restore callback, "Purger" empties the folder of
// the visible tab, "Fermer" hides the window. Created hidden at start.
class THistorique_Form : public QWidget {
public:
  // Called with the folder (its final "/" included) and the file name.
  using TRestoreCallback = std::function<void(const std::string& folder, const std::string& name)>;

  explicit THistorique_Form(QWidget* parent = nullptr);
  ~THistorique_Form() override;

  void SetCallbackRestaurer(TRestoreCallback callback) { fRestaurer = std::move(callback); }
  // Rewrites both listing tables from the folders and fills both grids.
  void Actualiser();

  void FormCreate();
  void FormShow();
  void FormHide();
  void Historique_Purge_ButtonClick();
  void Historique_Restaurer_ButtonClick();
  void Historique_Fermer_ButtonClick();

  QTabWidget* Historique_PageControl;
  QWidget* Supprimes_TabSheet;
  QWidget* Imprimes_TabSheet;
  TQtGridSurface* Historique_Supprimes_StringGrid;
  TQtGridSurface* Historique_Imprimes_StringGrid;
  QPushButton* Historique_Purge_Button;
  QPushButton* Historique_Restaurer_Button;
  QPushButton* Historique_Fermer_Button;
  QPlainTextEdit* Historique_Memo;

  std::unique_ptr<TMyStringGrid> fSupprimesGrid;
  std::unique_ptr<TMyStringGrid> fImprimesGrid;

protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

private:
  // The folder and grid of the visible tab.
  const THistoryFolder& VisibleFolder() const;
  TMyStringGrid& VisibleGrid() const;

  TRestoreCallback fRestaurer;
  // The two listing tables, held while the window is shown.
  std::unique_ptr<TMyDatabase> fSupprimesDB;
  std::unique_ptr<TMyDatabase> fImprimesDB;
};
