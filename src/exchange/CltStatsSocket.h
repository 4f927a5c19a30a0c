#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QTcpSocket>

#include <memory>
#include <string>

#include "Catalogue.h"
#include "StatsReplies.h"

class QTimer;

// The connection to the in-house statistics server ("Serveur Stats"), kept
// by the main window from the end of its loading to its close. It asks for a
// client's possible duplicates and public notes, and for a count per article
// of a search; the answers go to the display as hints.
//
// Everything runs on the user-interface thread: the socket never blocks and
// its connect, read and error events arrive through the event loop. A failure
// is traced and nothing is shown; the next request opens the connection
// again. There is no retry timer and no keep-alive.
class TCltStatsSocket {
public:
  // Replies carry no terminator: bytes are gathered until the line has been
  // quiet this long (or the server closes), so that a reply cut over several
  // reads is handled whole.
  static constexpr int kQuietMs = 40;
  // Gathered bytes older than this, or more than this many, are handled
  // without waiting for quiet, so a server that never pauses cannot hold
  // the hints back for ever or fill the memory.
  static constexpr int kMaxWaitMs = 500;
  static constexpr std::size_t kMaxPendingBytes = std::size_t(4) * 1024 * 1024;
  // What one pass of the event loop reads at most, so that a flood leaves
  // the window its keys and paints between the slices; the socket buffers
  // no more than a few slices, the system holding back the rest.
  static constexpr std::size_t kReadSlice = std::size_t(64) * 1024;
  static constexpr std::size_t kReadBuffer = 4 * kReadSlice;
  // What the server may send after a request, beyond the request's own
  // length (an article search's counts are about as long as its codes):
  // more is no answer but a fault, and the connection is closed.
  static constexpr std::size_t kReplyAllowance = std::size_t(256) * 1024;

  // The socket is named "CltStatsSocket" and made a child of owner (the main
  // window), where the toolkit's object tree shows it.
  explicit TCltStatsSocket(TStatsDisplay& display, QObject* owner = nullptr);
  ~TCltStatsSocket();
  TCltStatsSocket(const TCltStatsSocket&) = delete;
  TCltStatsSocket& operator=(const TCltStatsSocket&) = delete;

  // Reads "InformerPort" and "InformerIP" of the "Connexion" section (missing
  // keys show the settings reader's boxes and give 0 and an empty host) and
  // starts opening the connection.
  void ConnectStatsServer(const std::string& settingsFile = Catalogue::Settings::File);
  // Sends "Doublons;" + code, then "Notes Publiques;" + code.
  void DemanderInfosClient(const std::string& code);
  // Sends the search grid's "Code" column as joined by the caller ("Code;...").
  void DemanderStatsArticles(const std::string& codes);
  // Closes the connection; no event is handled afterwards.
  void Close();

  // Socket events.
  void CltStatsSocketConnect();
  void CltStatsSocketRead();
  void CltStatsSocketError();

  // Bytes received: gathered and handled once the line is quiet, each reply
  // only when a request waits for it.
  void Receive(const std::string& bytes);

  // Connected, or on its way (looking the host up, connecting).
  bool Active() const;
  const std::string& Host() const { return fHost; }
  int Port() const { return fPort; }
  QTcpSocket* Socket() const { return fSocket.data(); }

private:
  void Open();
  void Send(const std::string& text);
  void HandlePending();
  void ReadSlice();
  // Closes a connection whose server sent more than it was asked for.
  void Overflow();

  TStatsDisplay& fDisplay;
  // Deleted by this object, or by its owner if that goes first.
  QPointer<QTcpSocket> fSocket;
  std::unique_ptr<QTimer> fQuiet;
  std::string fHost;
  int fPort = 0;
  std::string fPending;
  // Requests made while the connection is being established, sent once it is.
  std::string fOutbox;
  QElapsedTimer fPendingAge;
  TStatsWaiting fWaiting;
  // Bytes received since the last request, and what the server may send.
  std::size_t fReceivedSinceRequest = 0;
  std::size_t fAllowed = kReplyAllowance;
  bool fReadQueued = false;
  bool fClosed = false;
};
