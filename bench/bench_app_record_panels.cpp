// The client and article panels of the real main window, offscreen, on a
// large installation (run it through bench/run_records_bench.sh, which makes
// the data): opening a record from its list, a keystroke in the key edit and
// in the margin coefficient, the save with the whole table written, and the
// list shown again; an article created, renamed and deleted, each with the
// list shown again.
//
//   bench_app_record_panels --data INSTALLATION [--reps N]
//
// INSTALLATION holds Data/; the benchmark writes into it (the client,
// distributor and article tables), so give it a scratch copy.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "BenchIdle.h"
#include "ArticlePanel.h"
#include "Catalogue.h"
#include "ClientPanel.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "QtGuard.h"
#include "QtText.h"
#include "RecordSave.h"
#include "QuorixForm.h"
#include "SplashLaunchForm.h"
#include "StringManager.h"
#include "TraceRecorder.h"

namespace {

// One run of the step, until the events it caused have been handled.
void Timed(TFigure& figure, const std::function<void()>& step) {
  const TMoment t = Start();
  step();
  QApplication::processEvents();
  figure.Add(t);
}

// A CIP code of the "97" range no article of the generated installation has:
// its check digit found by trying the ten.
std::string NewCip(int n) {
  const std::string six = "97" + std::to_string(1000 + n % 9000);
  for (char d = '0'; d <= '9'; ++d) {
    if (StringManager().IsCIP(six + d)) return six + d;
  }
  return six + "0";
}

}  // namespace

int main(int argc, char** argv) {
  TQuorixApplication app(argc, argv);
  std::string data;
  int reps = 7;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--data") data = argv[i + 1];
    if (arg == "--reps") reps = std::max(1, std::atoi(argv[i + 1]));
  }
  if (data.empty() || !std::filesystem::exists(data + "/Data")) {
    std::fprintf(stderr, "usage: bench_app_record_panels --data INSTALLATION [--reps N]\n");
    return 2;
  }
  std::filesystem::current_path(data);
  // Message boxes are recorded, never shown.
  TRecordingDialogService dialogs;
  SetDialogService(&dialogs);

  auto form = std::make_unique<TQuorix_Form>(nullptr);
  TQuorix_Form& main = *form;
  main.setWindowState(Qt::WindowNoState);
  main.resize(1280, 800);
  main.activateWindow();
  QApplication::setActiveWindow(&main);
  QApplication::processEvents();
  WaitForIdlePreparation(main);
  TClientPanel& client = main.ClientPanel();
  TArticlePanel& article = main.ArticlePanel();
  std::printf("%d articles, %d clients\n", main.Tables().Articles()->RecordCount(),
              main.Tables().Clients()->RecordCount());

  // A keystroke: the last character typed, then taken back.
  auto keystrokes = [](QLineEdit* edit, Qt::Key key, TFigure& figure) {
    edit->setFocus();
    edit->end(false);
    QApplication::processEvents();
    Timed(figure, [&] { QTest::keyClick(edit, key); });
    Timed(figure, [&] { QTest::keyClick(edit, Qt::Key_Backspace); });
  };

  TFigure clientOpen, clientFill, clientKey, clientSave, clientList;
  TFigure articleOpen, articleFill, articleKey, coefKey, articleSave, articleList, articleSequence;
  TFigure articleCreate, articleRename, articleDelete;
  main.ShowArticles();
  main.ShowClients();
  for (int rep = 0; rep < reps; ++rep) {
    main.ShowClients();
    main.Lists().Of(kClientsList).Grid()->SetRow(100 + rep);
    Timed(clientOpen, [&] { main.AfficherFicheClient(); });
    // The panel filled, the list it leaves already hidden.
    Timed(clientFill, [&] { main.AfficherFicheClient(); });
    keystrokes(client.ClientCodeClientEdit, Qt::Key_9, clientKey);
    client.ClientFaxEdit->setText(QString::number(rep));
    Timed(clientSave, [&] {
      QTest::mouseClick(client.ClientEnregistrer_Button, Qt::LeftButton);
    });
    if (!main.Lists().Of(kClientsList).Grid()->GetVisible()) std::fprintf(stderr, "the client was not saved\n");
    Timed(clientList, [&] { main.ShowClients(); });

    main.ShowArticles();
    main.Lists().Of(kArticlesList).Grid()->SetRow(1000 + rep);
    Timed(articleOpen, [&] { main.AfficherFicheArticle(); });
    Timed(articleFill, [&] { main.AfficherFicheArticle(); });
    keystrokes(article.ArticleCodeCIPEdit, Qt::Key_9, articleKey);
    keystrokes(article.ArticleCoeffMargeEdit, Qt::Key_7, coefKey);
    Timed(articleSave, [&] {
      QTest::mouseClick(article.ArticleEnregistrer_Button, Qt::LeftButton);
    });
    if (!main.Lists().Of(kArticlesList).Grid()->GetVisible()) std::fprintf(stderr, "the article was not saved\n");
    Timed(articleList, [&] { main.ShowArticles(); });

    // The save sequence on its own: the record written and the table saved.
    TRecordToSave record;
    record.Kind = &RecordKinds::Article;
    record.Table = main.Tables().Articles();
    const std::string code = main.Lists().Of(kArticlesList).Grid()->GetCellByName(Catalogue::Field::Code, 2000 + rep);
    record.LoadedKey = code;
    record.Values = {{Catalogue::Field::Code, code}, {Catalogue::Field::Coef, std::to_string(rep)}};
    Timed(articleSequence, [&] { SaveRecordSequence(record); });

    // The designations repeat (about five articles share one), so the list
    // sorted by them has equal texts: a new article, a renamed one and a
    // deleted one each take one of several equal designations.
    TMyStringGrid& articles = *main.Lists().Of(kArticlesList).Grid();
    main.ShowArticles();
    const std::string taken = articles.GetCellByName(Catalogue::Field::Designation, 5000 + 11 * rep);
    main.Creer_BitBtnClick();
    article.ArticleCodeCIPEdit->setText(QString::fromStdString(NewCip(rep)));
    article.ArticleDesignationEdit->setText(ToQString(taken));
    Timed(articleCreate, [&] { QTest::mouseClick(article.ArticleEnregistrer_Button, Qt::LeftButton); });
    if (!articles.GetVisible()) std::fprintf(stderr, "the new article was not saved\n");

    articles.SetRow(3000 + rep);
    main.AfficherFicheArticle();
    const std::string other = articles.GetCellByName(Catalogue::Field::Designation, 7000 + 13 * rep);
    article.ArticleDesignationEdit->setText(ToQString(other));
    Timed(articleRename, [&] { QTest::mouseClick(article.ArticleEnregistrer_Button, Qt::LeftButton); });
    if (!articles.GetVisible()) std::fprintf(stderr, "the renamed article was not saved\n");

    articles.SetRow(4000 + rep);
    Timed(articleDelete, [&] { main.Supprimer_BitBtnClick(); });
  }

  std::printf("\n");
  Report("opening a client from the list", clientOpen, 16);
  Report("  the panel filled, the list already hidden", clientFill, 16);
  Report("a keystroke in the client code", clientKey, 16);
  Report("saving the client, then the list shown again", clientSave, 100);
  Report("  the client list shown again alone", clientList, 100);
  Report("opening an article from the list", articleOpen, 16);
  Report("  the panel filled, the list already hidden", articleFill, 16);
  Report("a keystroke in the CIP code", articleKey, 16);
  Report("a keystroke in the margin coefficient", coefKey, 16);
  Report("saving the article, then the list shown again", articleSave, 50);
  Report("  the article list shown again alone", articleList, 100);
  Report("  the save sequence alone (record written, table saved)", articleSequence, 100);
  Report("creating an article of a designation taken, list shown again", articleCreate, 50);
  Report("renaming an article to a designation taken, list shown again", articleRename, 50);
  Report("deleting an article, then the list shown again", articleDelete, 50);
  for (const std::string& m : dialogs.Messages) std::printf("message: %s\n", m.c_str());
  form->close();
  form.reset();
  SetDialogService(nullptr);
  return 0;
}
