// Table storage against the sqlite3 command line, side by side on the same
// files of the large installation: loading a table with an index on every
// field, Exact, Prefix and Pattern queries, and saving, with the floor of a
// save: the same bytes written to the same disk. Figures are processor time
// beside the wall clock (bench/BenchFigures.h); a save waits for the disk,
// so its wall clock is the figure to read there.
//
//   bench_storage_tables --data DIR/Data [--reps N] [--sqlite /usr/bin/sqlite3]

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "Catalogue.h"
#include "FileUtils.h"
#include "MyDatabase.h"
#include "StringManager.h"
#include "Trace.h"

extern char** environ;

namespace {

struct TBenchConfig {
  std::string DataDir;
  std::string Sqlite = "/usr/bin/sqlite3";
  int Reps = 5;
};

// Processor time of the last sqlite3 process (user + system), ms.
double gLastChildCpu = 0;

TFigure Measure(int reps, const std::function<void()>& once) {
  TFigure figure;
  for (int i = 0; i < reps; ++i) {
    const TMoment t = Start();
    once();
    figure.Add(t);
  }
  return figure;
}

// Per-item figures: every run divided among that many items, in
// microseconds.
TFigure MeasureEach(int reps, int items, const std::function<void()>& once) {
  TFigure figure;
  for (int i = 0; i < reps; ++i) {
    const TMoment t = Start();
    once();
    figure.Add(t, items / 1000.0);
  }
  return figure;
}

std::string SqlQuote(const std::string& s) {
  std::string out = "'";
  for (char c : s) {
    if (c == '\'') out += '\'';
    out += c;
  }
  return out + "'";
}

std::string Ident(const std::string& s) { return "\"" + s + "\""; }

// Query times are processor time on both sides (this process's, and the
// user + system time sqlite3's .timer reports per statement): the machine is
// shared, and a wall clock would count the time others used the cores.

// Runs sqlite3 on an in-memory database with the script on its standard
// input; returns the wall time of the whole process in milliseconds (its
// processor time goes to gLastChildCpu) and its output.
double RunSqlite(const std::string& sqlite, const std::string& script, std::string* output) {
  char scriptName[] = "/tmp/quorix-bench-sql-XXXXXX";
  int fd = ::mkstemp(scriptName);
  if (fd < 0) return -1;
  if (::write(fd, script.data(), script.size()) != static_cast<ssize_t>(script.size())) {
    ::close(fd);
    return -1;
  }
  ::close(fd);
  char outName[] = "/tmp/quorix-bench-out-XXXXXX";
  int outFd = ::mkstemp(outName);
  ::close(outFd);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, scriptName, O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outName, O_WRONLY | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, outName, O_WRONLY | O_APPEND, 0644);
  std::vector<std::string> args = {sqlite, "-batch", ":memory:"};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const auto start = Clock::now();
  const int rc = posix_spawn(&pid, sqlite.c_str(), &actions, nullptr, argv.data(), environ);
  double elapsed = -1;
  if (rc == 0) {
    int status = 0;
    struct rusage usage;
    ::wait4(pid, &status, 0, &usage);
    elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    gLastChildCpu = (static_cast<double>(usage.ru_utime.tv_sec) + static_cast<double>(usage.ru_stime.tv_sec)) * 1e3 +
                    (static_cast<double>(usage.ru_utime.tv_usec) + static_cast<double>(usage.ru_stime.tv_usec)) * 1e-3;
  }
  posix_spawn_file_actions_destroy(&actions);
  if (output != nullptr) {
    std::ifstream in(outName, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    *output = ss.str();
  }
  ::unlink(scriptName);
  ::unlink(outName);
  return elapsed;
}

// "Run Time: real X user Y sys Z" lines of .timer, in order, in
// milliseconds: the processor time (user + system, microsecond resolution),
// or the wall clock (real, millisecond resolution).
std::vector<double> TimerLines(const std::string& output, bool processorTime) {
  std::vector<double> times;
  std::istringstream in(output);
  std::string line;
  while (std::getline(in, line)) {
    double real = 0;
    double user = 0;
    double sys = 0;
    if (std::sscanf(line.c_str(), "Run Time: real %lf user %lf sys %lf", &real, &user, &sys) == 3) {
      times.push_back((processorTime ? user + sys : real) * 1e3);
    }
  }
  return times;
}

std::string ImportScript(const std::string& file, const std::string& table, const TMyDatabase& db) {
  std::string s = ".mode csv\n.separator ;\n.import \"" + file + "\" " + table + "\n";
  for (int f = 0; f < db.FieldCount(); ++f) {
    s += "CREATE INDEX i" + std::to_string(f) + " ON " + table + "(" + Ident(db.GetFieldName(f)) + ");\n";
  }
  return s;
}

// The prefix of the field's values whose number of matches is closest to
// the wanted count: runs of equal first bytes in the sorted index.
std::string PrefixWithAbout(const TMyDatabase& db, int field, int wanted) {
  const auto& entries = db.GetFieldIndex(field).Entries;
  std::string best;
  int bestDistance = 1 << 30;
  for (std::size_t length = 3; length <= 24; ++length) {
    std::size_t runStart = 0;
    for (std::size_t i = 1; i <= entries.size(); ++i) {
      const std::string& first = db.ValueAt(field, entries[runStart].Record);
      const bool sameRun = i < entries.size() && first.size() >= length &&
                           db.ValueAt(field, entries[i].Record).compare(0, length, first, 0, length) == 0;
      if (sameRun) continue;
      const int count = static_cast<int>(i - runStart);
      if (first.size() >= length && std::abs(count - wanted) < bestDistance) {
        bestDistance = std::abs(count - wanted);
        best = first.substr(0, length);
      }
      runStart = i;
    }
  }
  return best;
}

// Exclusive upper bound of the texts beginning with prefix, in byte order.
std::string PrefixEnd(std::string prefix) {
  while (!prefix.empty() && static_cast<unsigned char>(prefix.back()) == 0xFF) prefix.pop_back();
  if (!prefix.empty()) prefix.back() = static_cast<char>(static_cast<unsigned char>(prefix.back()) + 1);
  return prefix;
}

// Many lookups of one kind in one sqlite3 statement: a probe table drives a
// correlated subquery, so each probe costs one index search, without the
// parse and prepare of a statement per lookup.
std::vector<double> SqliteRepeated(const TBenchConfig& cfg, const std::string& setup, const std::string& statement,
                                   int reps) {
  std::string script = setup + ".timer on\n";
  for (int i = 0; i < reps; ++i) script += statement;
  std::string output;
  RunSqlite(cfg.Sqlite, script, &output);
  std::vector<double> times = TimerLines(output, true);
  if (times.size() != static_cast<std::size_t>(reps)) {
    std::printf("  !! sqlite output: %s\n", output.substr(0, 300).c_str());
  }
  return times;
}

// The floor of a save: the same bytes to the same disk, a new file written
// and flushed; and the same replacement as the table's (a temporary file of
// the same folder flushed, renamed over the file, the folder flushed).
void RawWrite(const std::string& name, const std::string& bytes) {
  const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  if (fd < 0) return;
  if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) std::printf("!");
  ::fsync(fd);
  ::close(fd);
}

void RawReplace(const std::string& target, const std::string& bytes) {
  const std::string temp = target + ".raw";
  RawWrite(temp, bytes);
  ::rename(temp.c_str(), target.c_str());
  const std::string folder = target.substr(0, target.find_last_of('/'));
  const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
}

void BenchLoadAndSave(const TBenchConfig& cfg, const std::string& file, const std::string& table, const char* title,
                      double saveTarget) {
  std::unique_ptr<TMyDatabase> db = std::make_unique<TMyDatabase>(file);
  const std::string bytes = db->SaveToText();
  std::printf("\n%s: %d records, %d fields, %zu bytes\n", title, db->RecordCount(), db->FieldCount(), bytes.size());

  const TFigure load = Measure(cfg.Reps, [&] {
    TMyDatabase t(file);
    // The indexes are sorted at their first use: every one is used here, so
    // that the figure is a load with every per-field index.
    for (int f = 0; f < t.FieldCount(); ++f) t.GetFieldIndex(f);
    if (t.RecordCount() != db->RecordCount()) std::printf("  !! record count differs\n");
  });
  std::string output;
  const std::string script = ImportScript(file, table, *db) + "SELECT count(*) FROM " + table + ";\n";
  TFigure sqliteLoad;
  for (int i = 0; i < cfg.Reps; ++i) {
    const double wall = RunSqlite(cfg.Sqlite, script, &output);
    sqliteLoad.AddMs(gLastChildCpu, wall);
  }
  const std::string count = output.substr(0, output.find('\n'));
  if (count != std::to_string(db->RecordCount())) std::printf("  !! sqlite imported %s rows\n", count.c_str());
  Report(std::string(title) + ": load + index every field", load, 0);
  Report(std::string(title) + ": the same in sqlite3", sqliteLoad, 0);
  ReportRatio(std::string(title) + ": load + index every field", load.Median(), sqliteLoad.Median(), "ms", 0.25);

  const std::string target = file + ".bench-save";
  const TFigure save = Measure(cfg.Reps, [&] { db->SaveToFile(target); });
  const TFigure text = Measure(cfg.Reps, [&] {
    std::size_t made = 0;
    db->SaveToPieces([&made](std::string_view piece) {
      made += piece.size();
      return true;
    });
    if (made != bytes.size()) std::printf("!");
  });
  const TFigure raw = Measure(cfg.Reps, [&] {
    const std::string name = target + ".new";
    RawWrite(name, bytes);
    ::unlink(name.c_str());
  });
  const TFigure replace = Measure(cfg.Reps, [&] { RawReplace(target, bytes); });
  std::string saveScript = ImportScript(file, table, *db) + ".timer on\n";
  for (int i = 0; i < cfg.Reps; ++i) saveScript += ".once " + target + "\nSELECT * FROM " + table + ";\n";
  RunSqlite(cfg.Sqlite, saveScript, &output);
  TFigure sqliteSave;
  const std::vector<double> cpu = TimerLines(output, true);
  const std::vector<double> wall = TimerLines(output, false);
  for (std::size_t i = 0; i < cpu.size() && i < wall.size(); ++i) sqliteSave.AddMs(cpu[i], wall[i]);
  Report(std::string(title) + ": save (whole table written, flushed, replaced)", save, saveTarget);
  Report(std::string(title) + ":   of which the text alone", text, 0);
  Report(std::string(title) + ":   floor: the same bytes written and flushed", raw, 0);
  Report(std::string(title) + ":   floor: the same bytes replacing the file", replace, 0);
  Report(std::string(title) + ":   sqlite3 writing the same rows", sqliteSave, 0);
  ::unlink(target.c_str());
}

void BenchArticleQueries(const TBenchConfig& cfg, const std::string& file) {
  using namespace Catalogue;
  TMyDatabase db(file);
  const int code = db.GetFieldPos(Articles::Code);
  const int designation = db.GetFieldPos(Articles::Designation);
  const int n = db.RecordCount();
  std::mt19937 rng(11);
  std::printf("\nArticle queries\n");

  // Exact on Code: the same codes for both.
  const int probes = std::min(n, 20000);
  std::vector<std::string> codes;
  for (int i = 0; i < probes; ++i) codes.push_back(db.ValueAt(code, static_cast<int>(rng() % static_cast<unsigned>(n))));
  long long found = 0;
  const TFigure exact = MeasureEach(cfg.Reps, probes, [&] {
    for (const std::string& c : codes) {
      db.Query(Articles::Code, c, Exact);
      found += db.QueryResultCount();
    }
  });
  if (found != static_cast<long long>(codes.size()) * cfg.Reps) std::printf("  !! exact found %lld\n", found);
  std::string setup = ImportScript(file, "articles", db) + "CREATE TABLE probes(code TEXT);\nBEGIN;\n";
  for (const std::string& c : codes) setup += "INSERT INTO probes VALUES(" + SqlQuote(c) + ");\n";
  setup += "COMMIT;\n";
  std::vector<double> sqliteExact = SqliteRepeated(
      cfg, setup,
      "SELECT sum((SELECT count(*) FROM articles a WHERE a." + Ident(Articles::Code) + " = p.code)) FROM probes p;\n",
      cfg.Reps);
  for (double& t : sqliteExact) t *= 1000.0 / static_cast<double>(codes.size());
  Report("Exact lookup on the articles' Code, per query", exact, 0, "us");
  ReportRatio("Exact lookup on the articles' Code", exact.Median(), TFigure::MedianOf(sqliteExact), "us", 0.3);

  // Prefix on Designation: the prefixes whose match counts come closest to
  // 2000 and to 4000 (the generated names make runs of about 1000 and 3000).
  for (const int wanted : {2000, 4000}) {
    const std::string prefix = PrefixWithAbout(db, designation, wanted);
    db.Query(Articles::Designation, prefix, Prefix);
    const int matches = db.QueryResultCount();
    const int loops = 2000;
    const TFigure prefixQuery = MeasureEach(cfg.Reps, loops, [&] {
      for (int i = 0; i < loops; ++i) db.Query(Articles::Designation, prefix, Prefix);
    });
    std::vector<double> sqlitePrefix = SqliteRepeated(
        cfg, ImportScript(file, "articles", db),
        "WITH RECURSIVE r(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM r WHERE i < " + std::to_string(loops) +
            ") SELECT sum((SELECT count(*) FROM articles WHERE " + Ident(Articles::Designation) + " >= " +
            SqlQuote(prefix) + " AND " + Ident(Articles::Designation) + " < " + SqlQuote(PrefixEnd(prefix)) +
            " AND r.i > 0)) FROM r;\n",
        cfg.Reps);
    for (double& t : sqlitePrefix) t *= 1000.0 / loops;
    const std::string what = "Prefix on the Designation, " + std::to_string(matches) + " matches";
    Report(what + ", per query", prefixQuery, 0, "us");
    ReportRatio(what, prefixQuery.Median(), TFigure::MedianOf(sqlitePrefix), "us", 0);
  }

  // Pattern on Designation: a full walk with the regular expression.
  const std::string pattern = "GEL.*B/30";
  const TFigure patternQuery = Measure(cfg.Reps, [&] { db.Query(Articles::Designation, pattern, Pattern); });
  std::vector<double> sqlitePattern = SqliteRepeated(
      cfg, ImportScript(file, "articles", db),
      "SELECT count(*) FROM articles WHERE " + Ident(Articles::Designation) + " REGEXP " + SqlQuote(pattern) + ";\n",
      cfg.Reps);
  Report("Pattern \"" + pattern + "\" on the Designation", patternQuery, 0);
  ReportRatio("Pattern \"" + pattern + "\" on the Designation", patternQuery.Median(), TFigure::MedianOf(sqlitePattern),
              "ms", 0);
}

void BenchInvoiceQueries(const TBenchConfig& cfg, const std::string& file) {
  using namespace Catalogue;
  TMyDatabase db(file);
  const int key = db.GetFieldPos(Factures::NumFacture);
  const int n = db.RecordCount();
  std::mt19937 rng(12);
  std::printf("\nInvoice header queries\n");
  std::vector<std::string> numbers;
  for (int i = 0; i < std::min(n, 20000); ++i) numbers.push_back(db.ValueAt(key, static_cast<int>(rng() % static_cast<unsigned>(n))));
  const TFigure exact = MeasureEach(cfg.Reps, static_cast<int>(numbers.size()), [&] {
    for (const std::string& v : numbers) db.Query(Factures::NumFacture, v, Exact);
  });
  std::string setup = ImportScript(file, "factures", db) + "CREATE TABLE probes(v TEXT);\nBEGIN;\n";
  for (const std::string& v : numbers) setup += "INSERT INTO probes VALUES(" + SqlQuote(v) + ");\n";
  setup += "COMMIT;\n";
  std::vector<double> sqliteExact = SqliteRepeated(
      cfg, setup,
      "SELECT sum((SELECT count(*) FROM factures f WHERE f." + Ident(Factures::NumFacture) + " = p.v)) FROM probes p;\n",
      cfg.Reps);
  for (double& t : sqliteExact) t *= 1000.0 / static_cast<double>(numbers.size());
  Report("Exact lookup on the invoices' Num Facture, per query", exact, 0, "us");
  ReportRatio("Exact lookup on the invoices' Num Facture", exact.Median(), TFigure::MedianOf(sqliteExact), "us", 0.3);

  const std::string pattern = "^FA0.*";
  const TFigure cleanUp = Measure(cfg.Reps, [&] { db.Query(Factures::NumFacture, pattern, Pattern); });
  std::vector<double> sqlitePattern = SqliteRepeated(
      cfg, ImportScript(file, "factures", db),
      "SELECT count(*) FROM factures WHERE " + Ident(Factures::NumFacture) + " REGEXP " + SqlQuote(pattern) + ";\n",
      cfg.Reps);
  Report("Pattern \"" + pattern + "\" on the Num Facture", cleanUp, 0);
  ReportRatio("Pattern \"" + pattern + "\" on the Num Facture", cleanUp.Median(), TFigure::MedianOf(sqlitePattern), "ms", 0);
}

}  // namespace

int main(int argc, char** argv) {
  TBenchConfig cfg;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    if (a == "--data") cfg.DataDir = argv[i + 1];
    if (a == "--reps") cfg.Reps = std::max(1, std::atoi(argv[i + 1]));
    if (a == "--sqlite") cfg.Sqlite = argv[i + 1];
  }
  if (cfg.DataDir.empty()) {
    std::fprintf(stderr, "usage: %s --data DIR/Data [--reps N] [--sqlite PATH]\n", argv[0]);
    return 2;
  }
  if (::access(cfg.Sqlite.c_str(), X_OK) != 0) {
    std::fprintf(stderr, "sqlite3 not found at %s\n", cfg.Sqlite.c_str());
    return 2;
  }
  TStringManager strings;
  // Tables are read from the generated data folder, named as the program
  // names them.
  auto fileOf = [&](const char* path) {
    return cfg.DataDir + "/" + std::string(path).substr(std::string(Catalogue::DataFolderSlash).size());
  };
  std::printf("== Table storage against sqlite3, %d runs each ==\n", cfg.Reps);
  BenchLoadAndSave(cfg, fileOf(Catalogue::Articles::File), "articles", "Articles", 0);
  BenchLoadAndSave(cfg, fileOf(Catalogue::Factures::File), "factures", "Invoice headers", 25);
  BenchArticleQueries(cfg, fileOf(Catalogue::Articles::File));
  BenchInvoiceQueries(cfg, fileOf(Catalogue::Factures::File));
  return 0;
}
