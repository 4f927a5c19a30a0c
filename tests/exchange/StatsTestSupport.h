#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "MemoryGridSurface.h"
#include "MyStringGrid.h"
#include "StatsReplies.h"

// What the replies showed: the signal lines with their colours, and a search
// grid laid out as the piece editor's article candidates (one title row, no
// fixed column, the four result columns).
class TRecordingStatsDisplay : public TStatsDisplay {
public:
  explicit TRecordingStatsDisplay(int dataRows = 3) : Surface(4, dataRows + 1, 0, 1) {
    Grid = std::make_unique<TMyStringGrid>(&Surface);
    Grid->setTitles("Code;Designation;Prix Achat;Prix Vente");
  }
  void AfficherSignal(const std::string& text, TColor color) override { Lines.emplace_back(text, color); }
  void AfficherSignaux(const std::vector<TSignalLine>& lines) override {
    ++Batches;
    TStatsDisplay::AfficherSignaux(lines);
  }
  TMyStringGrid* SearchGrid() override { return Grid.get(); }

  // The colour of each data row (read in its "Designation" cell).
  std::vector<TColor> RowColors() const {
    std::vector<TColor> colors;
    for (int row = Grid->GetFixedRows(); row < Grid->GetRowCount(); ++row) colors.push_back(Grid->GetCellColor(1, row));
    return colors;
  }

  std::vector<std::pair<std::string, TColor>> Lines;
  // Calls that wrote lines to the panel.
  int Batches = 0;
  TMemoryGridSurface Surface;
  std::unique_ptr<TMyStringGrid> Grid;
};

// A server on 127.0.0.1 and a free port that records what each connection
// sent and answers as the test says.
class TScriptedServer {
public:
  TScriptedServer() {
    fServer.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&fServer, &QTcpServer::newConnection, &fServer, [this] {
      while (QTcpSocket* socket = fServer.nextPendingConnection()) {
        ++Connections;
        Received.emplace_back();
        const std::size_t index = Received.size() - 1;
        if (CloseAtOnce) {
          socket->close();
          socket->deleteLater();
          continue;
        }
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, index] {
          Received[index] += socket->readAll().toStdString();
          if (OnReceived) OnReceived(*socket, Received[index]);
        });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
          ++Disconnections;
          socket->deleteLater();
        });
      }
    });
  }
  quint16 Port() const { return fServer.serverPort(); }
  std::string AllReceived() const {
    std::string all;
    for (const std::string& r : Received) all += r;
    return all;
  }

  bool CloseAtOnce = false;
  // Called after each read with everything that connection has sent so far.
  std::function<void(QTcpSocket&, const std::string&)> OnReceived;
  int Connections = 0;
  int Disconnections = 0;
  std::vector<std::string> Received;

private:
  QTcpServer fServer;
};

// A settings file whose "Connexion" section names 127.0.0.1 and the port.
inline std::string ConnexionSettings(int port) {
  return "[Connexion]\r\n   InformerIP = 127.0.0.1\r\n   InformerPort = " + std::to_string(port) + "\r\n";
}

// Runs the event loop until the condition holds or a generous time has
// passed; the caller checks the result. Nothing here measures speed.
inline bool WaitUntil(const std::function<bool()>& condition, int limitMs = 20000) {
  QDeadlineTimer deadline(limitMs);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return true;
}

// Runs the event loop for a while, long enough for anything already sent to
// have been received and handled; used only to see that nothing happens.
inline void LetEventsSettle(int ms) {
  QDeadlineTimer deadline(ms);
  while (!deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
}
