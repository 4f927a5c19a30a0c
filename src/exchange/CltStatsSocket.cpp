#include "CltStatsSocket.h"

#include <QTcpSocket>
#include <QTimer>

#include "IniManager.h"
#include "Trace.h"

namespace {

// The socket component's own port, replaced by the setting at start.
constexpr int kDesignPort = 1421;

}  // namespace

TCltStatsSocket::TCltStatsSocket(TStatsDisplay& display, QObject* owner)
    : fDisplay(display), fSocket(new QTcpSocket(owner)), fQuiet(std::make_unique<QTimer>()), fPort(kDesignPort) {
  fSocket->setObjectName(QStringLiteral("CltStatsSocket"));
  fSocket->setReadBufferSize(static_cast<qint64>(kReadBuffer));
  fQuiet->setSingleShot(true);
  QTcpSocket* socket = fSocket.data();
  QObject::connect(socket, &QTcpSocket::connected, socket, [this] { CltStatsSocketConnect(); });
  QObject::connect(socket, &QTcpSocket::readyRead, socket, [this] { CltStatsSocketRead(); });
  QObject::connect(socket, &QTcpSocket::errorOccurred, socket, [this] { CltStatsSocketError(); });
  // A server that answers and then closes: what it sent is handled at once.
  QObject::connect(socket, &QTcpSocket::disconnected, socket, [this] {
    // A connection closed here (abort) has nothing left to read.
    if (fSocket->isOpen()) Receive(fSocket->readAll().toStdString());
    HandlePending();
    fWaiting.Clear();
  });
  QObject::connect(fQuiet.get(), &QTimer::timeout, fQuiet.get(), [this] { HandlePending(); });
}

TCltStatsSocket::~TCltStatsSocket() {
  Close();
  delete fSocket.data();
}

void TCltStatsSocket::ConnectStatsServer(const std::string& settingsFile) {
  TIniManager ini(settingsFile);
  const char* section = "Connexion";
  fPort = ini.GetInt(section, "InformerPort");
  fHost = ini.Get(section, "InformerIP");
  Open();
}

bool TCltStatsSocket::Active() const {
  if (!fSocket) return false;
  const QAbstractSocket::SocketState state = fSocket->state();
  return state == QAbstractSocket::ConnectedState || state == QAbstractSocket::ConnectingState ||
         state == QAbstractSocket::HostLookupState;
}

void TCltStatsSocket::Open() {
  if (fClosed || !fSocket) return;
  // A port the platform cannot address fails as a refused connection would.
  if (fPort < 1 || fPort > 65535 || fHost.empty()) {
    CltStatsSocketError();
    return;
  }
  fSocket->abort();
  // Replies asked on an earlier connection will not come on this one.
  fWaiting.Clear();
  fPending.clear();
  fSocket->connectToHost(QString::fromLatin1(fHost.data(), static_cast<qsizetype>(fHost.size())),
                         static_cast<quint16>(fPort));
}

void TCltStatsSocket::Send(const std::string& text) {
  if (fClosed) return;
  if (!Active()) Open();
  if (!Active()) return;
  fWaiting.Asked(text);
  fReceivedSinceRequest = 0;
  fAllowed = kReplyAllowance + text.size();
  if (fSocket->state() == QAbstractSocket::ConnectedState) {
    fSocket->write(text.data(), static_cast<qint64>(text.size()));
    return;
  }
  // Kept until the connection is established (sent then) or fails (dropped
  // with the error event); the socket itself must not be written before.
  if (fOutbox.size() + text.size() <= kMaxPendingBytes) fOutbox += text;
}

void TCltStatsSocket::DemanderInfosClient(const std::string& code) {
  Send(std::string(StatsProtocol::Doublons) + StatsProtocol::Separator + code);
  Send(std::string(StatsProtocol::NotesPubliques) + StatsProtocol::Separator + code);
}

void TCltStatsSocket::DemanderStatsArticles(const std::string& codes) { Send(codes); }

void TCltStatsSocket::Close() {
  if (fClosed) return;
  fClosed = true;
  fQuiet->stop();
  if (fSocket) {
    QObject::disconnect(fSocket.data(), nullptr, nullptr, nullptr);
    fSocket->abort();
  }
  fPending.clear();
  fOutbox.clear();
  fWaiting.Clear();
}

void TCltStatsSocket::CltStatsSocketConnect() {
  Trace("Connexion au Serveur Stats OK");
  if (fOutbox.empty()) return;
  const std::string waiting = std::move(fOutbox);
  fOutbox.clear();
  fSocket->write(waiting.data(), static_cast<qint64>(waiting.size()));
}

void TCltStatsSocket::CltStatsSocketError() {
  fOutbox.clear();
  // Nothing is shown: the connection is left as the platform leaves it and
  // the next request opens it again.
  Trace("Socket Stats ERROR");
}

void TCltStatsSocket::CltStatsSocketRead() {
  if (fReadQueued) return;
  ReadSlice();
}

// One slice per pass: what is left is read at the next pass, after the
// window's own events.
void TCltStatsSocket::ReadSlice() {
  fReadQueued = false;
  if (fClosed || !fSocket || !fSocket->isOpen()) return;
  const QByteArray bytes = fSocket->read(static_cast<qint64>(kReadSlice));
  Receive(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  if (!fClosed && fSocket && fSocket->bytesAvailable() > 0 && !fReadQueued) {
    fReadQueued = true;
    QTimer::singleShot(0, fSocket.data(), [this] { ReadSlice(); });
  }
}

void TCltStatsSocket::Receive(const std::string& bytes) {
  if (fClosed || bytes.empty()) return;
  fReceivedSinceRequest += bytes.size();
  if (fReceivedSinceRequest > fAllowed) {
    Overflow();
    return;
  }
  if (fPending.empty()) fPendingAge.start();
  fPending += bytes;
  if (fPending.size() >= kMaxPendingBytes || fPendingAge.elapsed() >= kMaxWaitMs) {
    HandlePending();
  } else {
    fQuiet->start(kQuietMs);
  }
}

void TCltStatsSocket::Overflow() {
  Trace("Serveur Stats : plus de " + std::to_string(fAllowed) +
        " octets recus pour une demande, connexion fermee");
  fQuiet->stop();
  fPending.clear();
  fWaiting.Clear();
  fReceivedSinceRequest = 0;
  // Abort drops what the socket still buffers; the next request connects
  // again.
  if (fSocket) fSocket->abort();
}

void TCltStatsSocket::HandlePending() {
  fQuiet->stop();
  if (fPending.empty()) return;
  const std::string text = std::move(fPending);
  fPending.clear();
  HandleStatsReplies(text, fDisplay, fWaiting);
}
