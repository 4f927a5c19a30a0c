#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>

#include <cstdlib>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "QtDialogService.h"
#include "QtGuard.h"
#include "QtTranslations.h"
#include "StringManager.h"
#include "TestSupport.h"
#include "Trace.h"

void QuorixTestInit(int& argc, char** argv) {
  // The build lists the tests by running this program without a display.
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // Never destroyed: at exit the toolkit's own statics may already be gone.
  static TQuorixApplication* app = new TQuorixApplication(argc, argv);
  (void)app;
}

namespace {

// Closes the next modal box as soon as it is on screen and keeps what it
// showed, so a test can run the real exec() without ever blocking.
struct TBoxCloser {
  QString Title;
  QString Text;
  int ButtonCount = -1;
  bool Modal = false;

  void CloseNextBoxWith(QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [this, button] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      Title = box->windowTitle();
      Text = box->text();
      ButtonCount = static_cast<int>(box->buttons().size());
      Modal = box->isModal();
      box->button(button)->click();
    });
  }
};

class TThrowingObject : public QObject {
public:
  enum Kind { RegEx, Std };
  explicit TThrowingObject(Kind kind) : fKind(kind) {}
  bool event(QEvent* e) override {
    if (e->type() != QEvent::User) return QObject::event(e);
    if (fKind == RegEx) throw ERegExError("TPerlRegEx.Compile() - Error in regex at offset 1: missing closing parenthesis");
    throw std::runtime_error("disque plein");
  }

private:
  Kind fKind;
};

}  // namespace

TEST(QtDialogService, MessageBoxShowsTheWindows1252TextAsUnicodeWithOneOkButton) {
  auto box = TQtDialogService::CreateMessageBox("Echeance non valide, Parametrage à 30 jours");
  EXPECT_EQ(box->text(), QString::fromUtf16(u"Echeance non valide, Parametrage à 30 jours"));
  EXPECT_EQ(box->windowTitle(), QStringLiteral("Quorix"));
  EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
  EXPECT_EQ(box->textFormat(), Qt::PlainText);
}

TEST(QtDialogService, ShowMessageRunsAModalBoxUntilOkIsPressed) {
  TQtDialogService service;
  TBoxCloser closer;
  closer.CloseNextBoxWith(QMessageBox::Ok);
  service.ShowMessage("La suppression de ce client est impossible, il est present dans 3 Factures");
  EXPECT_TRUE(closer.Modal);
  EXPECT_EQ(closer.Title, QStringLiteral("Quorix"));
  EXPECT_EQ(closer.Text, QStringLiteral("La suppression de ce client est impossible, il est present dans 3 Factures"));
  EXPECT_EQ(closer.ButtonCount, 1);
}

TEST(QtDialogService, ErrorReportGoesThroughTheInstalledService) {
  TQtDialogService service;
  TDialogService* previous = SetDialogService(&service);
  TBoxCloser closer;
  closer.CloseNextBoxWith(QMessageBox::Ok);
  Error("TMyDatabase.GetFieldPos:impossible de trouver le champ Désignation");
  SetDialogService(previous);
  EXPECT_EQ(closer.Text, QString::fromUtf16(u"*ERROR*TMyDatabase.GetFieldPos:impossible de trouver le champ Désignation"));
}

TEST(QtDialogService, QuestionAnswersYesOrNo) {
  TQtDialogService service;
  TBoxCloser closer;
  closer.CloseNextBoxWith(QMessageBox::Yes);
  EXPECT_TRUE(service.AskYesNo("Continuer ?"));
  EXPECT_EQ(closer.ButtonCount, 2);
  closer.CloseNextBoxWith(QMessageBox::No);
  EXPECT_FALSE(service.AskYesNo("Continuer ?"));
}

TEST(QtTranslations, TheToolkitsDialogsSpeakFrench) {
  QTranslator* french = InstallFrenchQtTexts(*QApplication::instance());
  ASSERT_NE(french, nullptr) << "qt6-translations-l10n is not installed";
  EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print"), QStringLiteral("Imprimer"));
  auto box = TQtDialogService::CreateQuestionBox("Continuer ?");
  EXPECT_EQ(box->button(QMessageBox::No)->text().remove('&'), QStringLiteral("Non"));
  QCoreApplication::removeTranslator(french);
  delete french;
}

TEST(QtGuard, PatternErrorInAnEventHandlerIsShownAndTheLoopGoesOn) {
  struct Row {
    const char* name;
    TThrowingObject::Kind kind;
    const char* message;
  };
  const Row rows[] = {
      {"regex", TThrowingObject::RegEx,
       "TPerlRegEx.Compile() - Error in regex at offset 1: missing closing parenthesis"},
      {"library", TThrowingObject::Std, "disque plein"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TTraceCapture capture;
    TThrowingObject target(row.kind);
    QEvent event(QEvent::User);
    QApplication::sendEvent(&target, &event);
    ASSERT_EQ(capture.Boxes().size(), 1u);
    EXPECT_EQ(capture.Boxes()[0], row.message);
  }
  // The application still delivers events afterwards.
  bool ran = false;
  QTimer::singleShot(0, [&ran] { ran = true; });
  QApplication::processEvents();
  EXPECT_TRUE(ran);
}

TEST(QtGuard, RunningOutOfMemoryEndsInOneReportEvenWhenTheBoxCannotBeMadeAtFirst) {
  // The box reporting the shortage fails for want of memory the first time;
  // while it is up, an event runs short of memory again.
  struct TShortOfMemory : TRecordingDialogService {
    int Attempts = 0;
    void ShowMessage(const std::string& text) override {
      if (++Attempts == 1) throw std::bad_alloc();
      EXPECT_FALSE(RunGuarded([] { throw std::bad_alloc(); }));
      TRecordingDialogService::ShowMessage(text);
    }
  } dialogs;
  TDialogService* previous = SetDialogService(&dialogs);
  const bool done = RunGuarded([] { throw std::bad_alloc(); });
  SetDialogService(previous);
  EXPECT_FALSE(done);
  EXPECT_EQ(dialogs.Messages, std::vector<std::string>{"Memoire insuffisante pour terminer l'operation"});
}

TEST(QtGuard, RunGuardedReportsAnAbandonedAction) {
  TTraceCapture capture;
  EXPECT_TRUE(RunGuarded([] {}));
  EXPECT_FALSE(RunGuarded([] { throw ERegExError("TPerlRegEx.Compile() - Please specify a regular expression in RegEx first"); }));
  ASSERT_EQ(capture.Boxes().size(), 1u);
  EXPECT_EQ(capture.Boxes()[0], "TPerlRegEx.Compile() - Please specify a regular expression in RegEx first");
}
