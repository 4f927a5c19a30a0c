// A statistics server that floods: after one client code it answers with
// megabytes of "Doublons" or "Notes Publiques" replies. The connection runs
// on the event loop of the window, so what matters is the longest time the
// loop is held by one pass (keys and paints wait that long), how long the
// flood goes on, and how often the signal panel is written. The panel is
// written by the window's own code, two ways: one line at a time (every line
// appended, the oldest beyond 100 dropped, the last scrolled into view), and
// through the queue the window uses, which writes the lines of a pass in one
// edit. Run with QT_QPA_PLATFORM=offscreen. Two servers: one that sends a
// single reply of 250 KB (some 5 000 duplicates: as much as a request may
// bring) and one that sends without end (16 MB here).
//
//   bench_app_stats_flood [megabytes]

#include <QApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "BenchFigures.h"
#include "CltStatsSocket.h"
#include "SignalPanel.h"
#include "StatsReplies.h"
#include "StringManager.h"

namespace {

class TPanelDisplay : public TStatsDisplay {
public:
  explicit TPanelDisplay(bool queued) : fQueued(queued), fQueue(&fPanel) {
    fPanel.resize(400, 120);
    fPanel.setReadOnly(true);
    QObject::connect(fPanel.document(), &QTextDocument::contentsChanged, &fPanel, [this] { ++Writes; });
  }
  void AfficherSignal(const std::string& text, TColor color) override {
    ++Lines;
    AppendSignal(&fPanel, text, color);
  }
  void AfficherSignaux(const std::vector<TSignalLine>& lines) override {
    if (!fQueued) {
      TStatsDisplay::AfficherSignaux(lines);
      return;
    }
    Lines += static_cast<long>(lines.size());
    fQueue.Add(lines);
  }
  TMyStringGrid* SearchGrid() override { return nullptr; }
  int Kept() const { return fPanel.document()->blockCount(); }
  long Lines = 0;
  long Writes = 0;

private:
  bool fQueued;
  QTextEdit fPanel;
  TSignalQueue fQueue;
};

struct TFloodFigures {
  double LongestPassMs = 0;
  double FloodMs = 0;
  long Lines = 0;
  long Writes = 0;
  int Kept = 0;
};

TFloodFigures Flood(const std::string& word, std::size_t bytes, bool queued) {
  QTcpServer server;
  server.listen(QHostAddress::LocalHost, 0);
  std::string reply = word;
  while (reply.size() < std::min<std::size_t>(bytes, 64 * 1024) - 50) {
    reply += ";0105   PHARMACIE DU FLEUVE (DAKAR, meme pays)";
  }
  QObject::connect(&server, &QTcpServer::newConnection, &server, [&] {
    QTcpSocket* socket = server.nextPendingConnection();
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, &reply, bytes] {
      socket->readAll();
      for (std::size_t sent = 0; sent < bytes; sent += reply.size()) {
        socket->write(reply.data(), static_cast<qint64>(reply.size()));
      }
    });
  });
  const std::string settings = "/tmp/bench_exchange_flood.ini";
  std::ofstream(settings) << "[Connexion]\r\n   InformerIP = 127.0.0.1\r\n   InformerPort = " << server.serverPort()
                          << "\r\n";

  TPanelDisplay display(queued);
  TCltStatsSocket client(display);
  client.ConnectStatsServer(settings);
  // A heartbeat at every pass measures how long the loop was held.
  QElapsedTimer beat;
  beat.start();
  TFloodFigures figures;
  QTimer heartbeat;
  QObject::connect(&heartbeat, &QTimer::timeout, &heartbeat, [&] {
    figures.LongestPassMs = std::max(figures.LongestPassMs, beat.nsecsElapsed() / 1e6);
    beat.restart();
  });
  heartbeat.start(0);
  QElapsedTimer waitConnected;
  waitConnected.start();
  while (client.Socket()->state() != QAbstractSocket::ConnectedState && waitConnected.elapsed() < 5000) {
    QApplication::processEvents();
  }
  figures.LongestPassMs = 0;
  const auto start = Clock::now();
  client.DemanderInfosClient("0101");
  // Until the flood is over: nothing more for a second.
  long lines = -1;
  auto quietSince = Clock::now();
  while (Ms(quietSince) < 1000 && Ms(start) < 120000) {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    if (display.Lines != lines || client.Socket()->bytesAvailable() > 0) {
      lines = display.Lines;
      quietSince = Clock::now();
    }
  }
  figures.FloodMs = Ms(start) - 1000;
  figures.Lines = display.Lines;
  figures.Writes = display.Writes;
  figures.Kept = display.Kept();
  client.Close();
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  TStringManager strings;
  const std::size_t megabytes = argc > 1 ? static_cast<std::size_t>(std::atoi(argv[1])) : 16;
  std::printf("a statistics server answering one client code (signal panel of 100 lines)\n");
  for (const bool queued : {false, true}) {
    std::printf(" %s\n", queued ? "the panel written once per pass (now)" : "the panel written line by line (before)");
    for (const std::size_t bytes : {std::size_t(250) << 10, megabytes << 20}) {
      for (const char* word : {"Doublons", "Notes Publiques"}) {
        const TFloodFigures f = Flood(word, bytes, queued);
        std::printf("  %6zu KB of %-16s longest pass %8.1f ms, all handled in %8.1f ms, %ld lines, %ld panel writes, "
                    "%d kept\n",
                    bytes >> 10, word, f.LongestPassMs, f.FloodMs, f.Lines, f.Writes, f.Kept);
      }
    }
  }
  return 0;
}
