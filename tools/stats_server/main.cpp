// The statistics server of the sample installation, so that a new desk sees
// the hints of the piece editor: possible duplicates and public notes of a
// client, counts that shade the article search results. It is not part of
// Quorix; scripts/quorix.sh starts it beside the program.
//
//   quorix_stats_server --data FILE [--settings INI | --listen HOST:PORT] [--parent-pid PID]
//
// --settings reads "InformerIP" and "InformerPort" of the "Connexion" section,
// as Quorix does. Only an address of this machine is served: a desk whose
// settings name another server is left to that server. With --parent-pid the
// server ends when that process ends.

#include <QCoreApplication>
#include <QHostAddress>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef __linux__
#include <sys/prctl.h>
#include <unistd.h>
#endif

#include "FileUtils.h"
#include "IniManager.h"
#include "StatsServer.h"

namespace {

void Say(const std::string& line) {
  std::printf("Serveur Stats: %s\n", line.c_str());
  std::fflush(stdout);
}

int Usage() {
  std::fprintf(stderr,
               "usage: quorix_stats_server --data FILE [--settings INI | --listen HOST:PORT] [--parent-pid PID]\n");
  return 2;
}

bool LocalAddress(const std::string& host, QHostAddress& address) {
  if (host == "localhost") {
    address = QHostAddress(QHostAddress::LocalHost);
    return true;
  }
  if (!address.setAddress(QString::fromStdString(host))) return false;
  return address.isLoopback();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  std::string dataFile, settingsFile, listen;
  long parentPid = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return Usage();
    const std::string value = argv[++i];
    if (arg == "--data") {
      dataFile = value;
    } else if (arg == "--settings") {
      settingsFile = value;
    } else if (arg == "--listen") {
      listen = value;
    } else if (arg == "--parent-pid") {
      parentPid = std::strtol(value.c_str(), nullptr, 10);
    } else {
      return Usage();
    }
  }
  if (dataFile.empty() || settingsFile.empty() == listen.empty()) return Usage();

#ifdef __linux__
  if (parentPid > 0) {
    // Ends with the script that started it, even when that script is killed.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parentPid) return 0;
  }
#else
  (void)parentPid;
#endif

  std::string host;
  int port = 0;
  if (!listen.empty()) {
    const std::size_t colon = listen.rfind(':');
    if (colon == std::string::npos) return Usage();
    host = listen.substr(0, colon);
    port = std::atoi(listen.c_str() + colon + 1);
  } else {
    if (!FileExists(settingsFile)) {
      Say("pas de fichier de parametres " + settingsFile + ", rien a servir");
      return 0;
    }
    TIniManager ini(settingsFile);
    if (!ini.KeyExists("Connexion", "InformerIP") || !ini.KeyExists("Connexion", "InformerPort")) {
      Say("pas de section Connexion complete dans " + settingsFile + ", rien a servir");
      return 0;
    }
    host = ini.Get("Connexion", "InformerIP");
    port = ini.GetInt("Connexion", "InformerPort");
  }
  QHostAddress address;
  if (!LocalAddress(host, address)) {
    Say("le serveur configure (" + host + ") n'est pas sur cette machine, rien a servir");
    return 0;
  }
  if (port < 1 || port > 65535) {
    Say("port invalide " + std::to_string(port));
    return 1;
  }

  TStatsServerData data;
  int bad = 0;
  if (!data.LoadFromFile(dataFile, bad)) {
    Say("impossible de lire " + dataFile);
    return 1;
  }
  const std::size_t clients = data.ClientCount();
  const std::size_t articles = data.ArticleCount();
  TStatsServer server(std::move(data));
  server.Log = Say;
  if (!server.Listen(address, static_cast<quint16>(port))) {
    Say("impossible d'ecouter sur " + host + ":" + std::to_string(port) + " : " +
        server.ErrorString().toStdString());
    return 1;
  }
  Say("ecoute sur " + host + ":" + std::to_string(port) + " (" + std::to_string(clients) + " clients, " +
      std::to_string(articles) + " articles" + (bad ? ", " + std::to_string(bad) + " lignes ignorees" : "") +
      ")");
  return app.exec();
}
