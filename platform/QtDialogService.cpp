#include "QtDialogService.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

#include <cstdio>

#include "QtText.h"

namespace {

QWidget* BoxParent() {
  // Boxes belong to the window the user is working in, so they stay above it.
  return QApplication::activeWindow();
}

}  // namespace

std::unique_ptr<QMessageBox> TQtDialogService::CreateMessageBox(const std::string& text, QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(parent);
  box->setObjectName("MessageBox");
  box->setWindowTitle(QString::fromLatin1(kApplicationName));
  box->setIcon(QMessageBox::NoIcon);
  // Messages are plain text even when they contain "<" (patterns, file names).
  box->setTextFormat(Qt::PlainText);
  // A message quoting a huge value shows its beginning only.
  box->setText(text.size() > kMaxDrawnChars ? ToQDrawnString(text) + QStringLiteral(" ...") : ToQString(text));
  box->setStandardButtons(QMessageBox::Ok);
  box->setDefaultButton(QMessageBox::Ok);
  box->setWindowModality(Qt::ApplicationModal);
  return box;
}

std::unique_ptr<QMessageBox> TQtDialogService::CreateQuestionBox(const std::string& text, QWidget* parent) {
  auto box = CreateMessageBox(text, parent);
  box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  box->setDefaultButton(QMessageBox::No);
  return box;
}

void TQtDialogService::ShowMessage(const std::string& text) {
  if (QApplication::instance() == nullptr) {
    // Without an application object no box can be shown; keep the text.
    std::fprintf(stderr, "%s\n", text.c_str());
    return;
  }
  auto box = CreateMessageBox(text, BoxParent());
  box->exec();
}

bool TQtDialogService::AskYesNo(const std::string& text) {
  if (QApplication::instance() == nullptr) return false;
  auto box = CreateQuestionBox(text, BoxParent());
  return box->exec() == QMessageBox::Yes;
}

std::string TQtDialogService::AskOpenFileName(const std::string& folder) {
  if (QApplication::instance() == nullptr) return std::string();
  // Paths are exchanged as the file system spells them, not as display text.
  const QString chosen = QFileDialog::getOpenFileName(BoxParent(), QString::fromLatin1(kApplicationName),
                                                      QFile::decodeName(QByteArray::fromStdString(folder)));
  if (chosen.isEmpty()) return std::string();
  return QFile::encodeName(chosen).toStdString();
}
