#include "StatsServer.h"

#include <QTcpSocket>
#include <QTimer>

#include <memory>

namespace {

// Bytes shown in the log: printable as they are, others as \xHH, cut short.
std::string Shown(const std::string& bytes) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (out.size() > 160) return out + "...";
    if (c >= 32 && c < 127) {
      out += static_cast<char>(c);
    } else {
      out += "\\x";
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

}  // namespace

TStatsServer::TStatsServer(TStatsServerData data) : fData(std::move(data)) {
  QObject::connect(&fServer, &QTcpServer::newConnection, &fServer, [this] { Accept(); });
}

TStatsServer::~TStatsServer() {
  // Connections still open end silently: whoever receives the log may be gone
  // already.
  Log = nullptr;
  for (QTcpSocket* socket : fServer.findChildren<QTcpSocket*>()) {
    QObject::disconnect(socket, nullptr, nullptr, nullptr);
    socket->abort();
  }
  fServer.close();
}

bool TStatsServer::Listen(const QHostAddress& address, quint16 port) { return fServer.listen(address, port); }

void TStatsServer::Say(const std::string& line) const {
  if (Log) Log(line);
}

void TStatsServer::Accept() {
  while (QTcpSocket* socket = fServer.nextPendingConnection()) {
    Say("connexion de " + socket->peerAddress().toString().toStdString());
    // The pending bytes and the quiet timer live as long as the connection.
    auto pending = std::make_shared<std::string>();
    auto* quiet = new QTimer(socket);
    quiet->setSingleShot(true);
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, pending, quiet] {
      *pending += socket->readAll().toStdString();
      quiet->start(kQuietMs);
    });
    QObject::connect(quiet, &QTimer::timeout, socket, [this, socket, pending] {
      const std::string text = std::move(*pending);
      pending->clear();
      for (const std::string& request : SplitStatsRequests(text)) {
        const std::optional<std::string> reply = fData.Answer(request);
        Say("  " + Shown(request) + "  ->  " + (reply ? Shown(*reply) : std::string("(pas de reponse)")));
        if (reply) socket->write(reply->data(), static_cast<qint64>(reply->size()));
      }
    });
    QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
      Say("deconnexion");
      socket->deleteLater();
    });
  }
}
