#pragma once

#include <QHostAddress>
#include <QTcpServer>

#include <functional>
#include <string>

#include "StatsServerData.h"

// The sample installation's statistics server: answers the requests of
// Quorix's statistics connection from a TStatsServerData, on the Qt event
// loop of the thread that creates it. Each client's bytes are gathered until
// the line has been quiet for a moment, then split into requests; every reply
// is one write.
class TStatsServer {
public:
  static constexpr int kQuietMs = 40;

  explicit TStatsServer(TStatsServerData data);
  ~TStatsServer();
  TStatsServer(const TStatsServer&) = delete;
  TStatsServer& operator=(const TStatsServer&) = delete;

  // Port 0 takes any free port (see Port()).
  bool Listen(const QHostAddress& address, quint16 port);
  quint16 Port() const { return fServer.serverPort(); }
  QString ErrorString() const { return fServer.errorString(); }

  // Receives one line per connection, request and reply.
  std::function<void(const std::string&)> Log;

private:
  void Accept();
  void Say(const std::string& line) const;

  TStatsServerData fData;
  QTcpServer fServer;
};
