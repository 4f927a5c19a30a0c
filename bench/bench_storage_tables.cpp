// Table storage against the sqlite3 command line, side by side on the same
// files: loading a table with an index on every field, Exact, Prefix and
// Pattern queries, and saving. Every figure is the median of several runs,
// printed with the smallest and largest run so that machine noise shows.
// Loads are shown in wall-clock and in processor time, saves in wall-clock
// (they wait for the disk), queries in processor time.
//
//   bench_storage_tables --data DIR/Data [--reps N] [--sqlite /usr/bin/sqlite3] [--label TEXT]

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

#include "Catalogue.h"
#include "FileUtils.h"
#include "MyDatabase.h"
#include "StringManager.h"
#include "Trace.h"

extern char** environ;

namespace {

using TClock = std::chrono::steady_clock;

double SecondsSince(TClock::time_point start) {
  return std::chrono::duration<double>(TClock::now() - start).count();
}

// Processor time of this process: on a shared machine it moves far less
// than the wall clock when other work competes for the cores.
double CpuNow() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Processor time of the last sqlite3 process (user + system).
double gLastChildCpu = 0;

struct TStats {
  double Median = 0;
  double Min = 0;
  double Max = 0;
};

TStats StatsOf(std::vector<double> v) {
  TStats s;
  if (v.empty()) return s;
  std::sort(v.begin(), v.end());
  s.Min = v.front();
  s.Max = v.back();
  const std::size_t n = v.size();
  s.Median = n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
  return s;
}

TStats Measure(int reps, const std::function<double()>& once) {
  std::vector<double> runs;
  for (int i = 0; i < reps; ++i) runs.push_back(once());
  return StatsOf(runs);
}

std::string Fmt(double x, const char* unit) {
  char buf[64];
  if (std::string(unit) == "ms") {
    std::snprintf(buf, sizeof buf, "%.1f ms", x * 1e3);
  } else {
    std::snprintf(buf, sizeof buf, "%.3f us", x * 1e6);
  }
  return buf;
}

std::string Range(const TStats& s, const char* unit) {
  return Fmt(s.Median, unit) + "  [" + Fmt(s.Min, unit) + " .. " + Fmt(s.Max, unit) + "]";
}

void Row(const std::string& what, const TStats& ours, const TStats& sqlite, const char* unit) {
  const double ratio = sqlite.Median > 0 ? ours.Median / sqlite.Median : 0;
  std::printf("  %-44s quorix %-36s sqlite %-36s ratio %.3f\n", what.c_str(), Range(ours, unit).c_str(),
              Range(sqlite, unit).c_str(), ratio);
}

void RowOurs(const std::string& what, const TStats& ours, const char* unit) {
  std::printf("  %-44s quorix %s\n", what.c_str(), Range(ours, unit).c_str());
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
// input; returns the wall time of the whole process and its output.
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
  const auto start = TClock::now();
  const int rc = posix_spawn(&pid, sqlite.c_str(), &actions, nullptr, argv.data(), environ);
  double elapsed = -1;
  if (rc == 0) {
    int status = 0;
    struct rusage usage;
    ::wait4(pid, &status, 0, &usage);
    elapsed = SecondsSince(start);
    gLastChildCpu = static_cast<double>(usage.ru_utime.tv_sec) + static_cast<double>(usage.ru_utime.tv_usec) * 1e-6 +
                    static_cast<double>(usage.ru_stime.tv_sec) + static_cast<double>(usage.ru_stime.tv_usec) * 1e-6;
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

// "Run Time: real X user Y sys Z" lines of .timer, in order: the processor
// time (user + system, microsecond resolution), or the wall clock (real,
// millisecond resolution).
std::vector<double> TimerLines(const std::string& output, bool processorTime) {
  std::vector<double> times;
  std::istringstream in(output);
  std::string line;
  while (std::getline(in, line)) {
    double real = 0;
    double user = 0;
    double sys = 0;
    if (std::sscanf(line.c_str(), "Run Time: real %lf user %lf sys %lf", &real, &user, &sys) == 3) {
      times.push_back(processorTime ? user + sys : real);
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

struct TBenchConfig {
  std::string DataDir;
  std::string Sqlite = "/usr/bin/sqlite3";
  std::string Label;
  int Reps = 5;
};

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

void BenchLoadAndSave(const TBenchConfig& cfg, const std::string& file, const std::string& table, const char* title) {
  std::printf("\n%s (%s)\n", title, file.c_str());
  std::unique_ptr<TMyDatabase> db = std::make_unique<TMyDatabase>(file);
  std::printf("  %d records, %d fields, %lld bytes; index orders:", db->RecordCount(), db->FieldCount(),
              static_cast<long long>(db->SaveToText().size()));
  for (int f = 0; f < db->FieldCount(); ++f) {
    const TIndexOrder o = db->GetFieldIndex(f).Order;
    std::printf(" %s=%s", db->GetFieldName(f).c_str(),
                o == TIndexOrder::Bytes ? "bytes" : o == TIndexOrder::Typed ? "typed" : "mixed");
  }
  std::printf("\n");

  std::vector<double> cpuOurs;
  const TStats load = Measure(cfg.Reps, [&] {
    const auto start = TClock::now();
    const double cpu = CpuNow();
    TMyDatabase t(file);
    // The indexes are sorted at their first use: every one is used here, so
    // that the figure is a load with every per-field index.
    for (int f = 0; f < t.FieldCount(); ++f) t.GetFieldIndex(f);
    const double s = SecondsSince(start);
    cpuOurs.push_back(CpuNow() - cpu);
    if (t.RecordCount() != db->RecordCount()) std::printf("  !! record count differs\n");
    return s;
  });
  std::string output;
  const std::string script = ImportScript(file, table, *db) + "SELECT count(*) FROM " + table + ";\n";
  std::vector<double> cpuSqlite;
  const TStats sqliteLoad = Measure(cfg.Reps, [&] {
    const double s = RunSqlite(cfg.Sqlite, script, &output);
    cpuSqlite.push_back(gLastChildCpu);
    return s;
  });
  const std::string count = output.substr(0, output.find('\n'));
  if (count != std::to_string(db->RecordCount())) std::printf("  !! sqlite imported %s rows\n", count.c_str());
  const TStats sqliteStart = Measure(cfg.Reps, [&] { return RunSqlite(cfg.Sqlite, "SELECT 1;\n", nullptr); });
  Row("load + index every field (wall clock)", load, sqliteLoad, "ms");
  Row("load + index every field (processor time)", StatsOf(cpuOurs), StatsOf(cpuSqlite), "ms");
  RowOurs("(sqlite3 process start alone)", sqliteStart, "ms");

  const std::string target = file + ".bench-save";
  const TStats save = Measure(cfg.Reps, [&] {
    const auto start = TClock::now();
    db->SaveToFile(target);
    return SecondsSince(start);
  });
  const TStats text = Measure(cfg.Reps, [&] {
    const auto start = TClock::now();
    const std::string bytes = db->SaveToText();
    const double s = SecondsSince(start);
    if (bytes.empty()) std::printf("!");
    return s;
  });
  std::string saveScript = ImportScript(file, table, *db) + ".timer on\n";
  for (int i = 0; i < cfg.Reps; ++i) saveScript += ".once " + target + "\nSELECT * FROM " + table + ";\n";
  RunSqlite(cfg.Sqlite, saveScript, &output);
  std::vector<double> sqliteSaves = TimerLines(output, false);
  Row("save (atomic write + fsync)", save, StatsOf(sqliteSaves), "ms");
  RowOurs("(the same without the file: text only)", text, "ms");
  ::unlink(target.c_str());
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

void BenchArticleQueries(const TBenchConfig& cfg, const std::string& file) {
  using namespace Catalogue;
  std::printf("\nArticle queries (%s)\n", file.c_str());
  TMyDatabase db(file);
  TStringManager& strings = StringManager();
  const int code = db.GetFieldPos(Articles::Code);
  const int designation = db.GetFieldPos(Articles::Designation);
  const int n = db.RecordCount();
  std::mt19937 rng(11);

  // Exact on Code: the same codes for both.
  const int probes = std::min(n, 20000);
  std::vector<std::string> codes;
  for (int i = 0; i < probes; ++i) codes.push_back(db.ValueAt(code, static_cast<int>(rng() % static_cast<unsigned>(n))));
  long long found = 0;
  const TStats exact = Measure(cfg.Reps, [&] {
    const double cpuStart = CpuNow();
    for (const std::string& c : codes) {
      db.Query(Articles::Code, c, Exact);
      found += db.QueryResultCount();
    }
    return (CpuNow() - cpuStart) / static_cast<double>(codes.size());
  });
  if (found != static_cast<long long>(codes.size()) * cfg.Reps) std::printf("  !! exact found %lld\n", found);
  // The walk that the index search replaces, on a few codes.
  const TStats walk = Measure(cfg.Reps, [&] {
    const double cpuStart = CpuNow();
    for (int i = 0; i < 5; ++i) db.Query(Articles::Code, "^" + codes[static_cast<std::size_t>(i)] + "$", Pattern);
    return (CpuNow() - cpuStart) / 5;
  });
  std::string setup = ImportScript(file, "articles", db) + "CREATE TABLE probes(code TEXT);\nBEGIN;\n";
  for (const std::string& c : codes) setup += "INSERT INTO probes VALUES(" + SqlQuote(c) + ");\n";
  setup += "COMMIT;\n";
  std::vector<double> sqliteExact = SqliteRepeated(
      cfg, setup,
      "SELECT sum((SELECT count(*) FROM articles a WHERE a." + Ident(Articles::Code) + " = p.code)) FROM probes p;\n",
      cfg.Reps);
  for (double& t : sqliteExact) t /= static_cast<double>(codes.size());
  Row("Exact on Code (index search), per query", exact, StatsOf(sqliteExact), "us");
  RowOurs("(the same as a pattern walk, per query)", walk, "ms");

  // Prefix on Designation: the prefixes whose match counts come closest to
  // 2000 and to 4000 (the generated names make runs of about 1000 and 3000).
  for (const int wanted : {n >= 50000 ? 2000 : 200, n >= 50000 ? 4000 : 400}) {
    const std::string prefix = PrefixWithAbout(db, designation, wanted);
    db.Query(Articles::Designation, prefix, Prefix);
    const int matches = db.QueryResultCount();
    const int loops = 2000;
    const TStats prefixQuery = Measure(cfg.Reps, [&] {
      const double cpuStart = CpuNow();
      for (int i = 0; i < loops; ++i) db.Query(Articles::Designation, prefix, Prefix);
      return (CpuNow() - cpuStart) / loops;
    });
    const TFieldIndex& index = db.GetFieldIndex(designation);
    const int last = static_cast<int>(index.Entries.size()) - 1;
    int width = 0;
    const TStats bounds = Measure(cfg.Reps, [&] {
      const double cpuStart = CpuNow();
      for (int i = 0; i < loops * 10; ++i) {
        const auto range = db.DichotomicFindFirst(&index, prefix, 0, last);
        width += range.second - range.first;
      }
      return (CpuNow() - cpuStart) / (loops * 10);
    });
    std::vector<double> sqlitePrefix = SqliteRepeated(
        cfg, ImportScript(file, "articles", db),
        "WITH RECURSIVE r(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM r WHERE i < " + std::to_string(loops) +
            ") SELECT sum((SELECT count(*) FROM articles WHERE " + Ident(Articles::Designation) + " >= " +
            SqlQuote(prefix) + " AND " + Ident(Articles::Designation) + " < " + SqlQuote(PrefixEnd(prefix)) +
            " AND r.i > 0)) FROM r;\n",
        cfg.Reps);
    for (double& t : sqlitePrefix) t /= loops;
    Row("Prefix on Designation, " + std::to_string(matches) + " matches", prefixQuery, StatsOf(sqlitePrefix), "us");
    RowOurs("(DichotomicFindFirst bounds alone)", bounds, "us");
  }

  // Pattern on Designation: a full walk with the regular expression.
  const std::string pattern = "GEL.*B/30";
  db.Query(Articles::Designation, pattern, Pattern);
  const int patternMatches = db.QueryResultCount();
  const TStats patternQuery = Measure(cfg.Reps, [&] {
    const double cpuStart = CpuNow();
    db.Query(Articles::Designation, pattern, Pattern);
    return (CpuNow() - cpuStart);
  });
  std::vector<double> sqlitePattern = SqliteRepeated(
      cfg, ImportScript(file, "articles", db),
      "SELECT count(*) FROM articles WHERE " + Ident(Articles::Designation) + " REGEXP " + SqlQuote(pattern) + ";\n",
      cfg.Reps);
  Row("Pattern \"" + pattern + "\" (" + std::to_string(patternMatches) + " matches)", patternQuery,
      StatsOf(sqlitePattern), "ms");
  (void)strings;
}

void BenchInvoiceQueries(const TBenchConfig& cfg, const std::string& file) {
  using namespace Catalogue;
  std::printf("\nInvoice header queries (%s)\n", file.c_str());
  TMyDatabase db(file);
  const int key = db.GetFieldPos(Factures::NumFacture);
  const int n = db.RecordCount();
  std::mt19937 rng(12);
  std::vector<std::string> numbers;
  for (int i = 0; i < std::min(n, 20000); ++i) numbers.push_back(db.ValueAt(key, static_cast<int>(rng() % static_cast<unsigned>(n))));
  const TStats exact = Measure(cfg.Reps, [&] {
    const double cpuStart = CpuNow();
    for (const std::string& v : numbers) db.Query(Factures::NumFacture, v, Exact);
    return (CpuNow() - cpuStart) / static_cast<double>(numbers.size());
  });
  std::string setup = ImportScript(file, "factures", db) + "CREATE TABLE probes(v TEXT);\nBEGIN;\n";
  for (const std::string& v : numbers) setup += "INSERT INTO probes VALUES(" + SqlQuote(v) + ");\n";
  setup += "COMMIT;\n";
  std::vector<double> sqliteExact = SqliteRepeated(
      cfg, setup,
      "SELECT sum((SELECT count(*) FROM factures f WHERE f." + Ident(Factures::NumFacture) + " = p.v)) FROM probes p;\n",
      cfg.Reps);
  for (double& t : sqliteExact) t /= static_cast<double>(numbers.size());
  Row("Exact on Num Facture, per query", exact, StatsOf(sqliteExact), "us");

  const std::string pattern = "^FA0.*";
  const TStats cleanUp = Measure(cfg.Reps, [&] {
    const double cpuStart = CpuNow();
    db.Query(Factures::NumFacture, pattern, Pattern);
    return (CpuNow() - cpuStart);
  });
  std::vector<double> sqlitePattern = SqliteRepeated(
      cfg, ImportScript(file, "factures", db),
      "SELECT count(*) FROM factures WHERE " + Ident(Factures::NumFacture) + " REGEXP " + SqlQuote(pattern) + ";\n",
      cfg.Reps);
  Row("Pattern \"" + pattern + "\" on Num Facture", cleanUp, StatsOf(sqlitePattern), "ms");
}

}  // namespace

int main(int argc, char** argv) {
  TBenchConfig cfg;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    if (a == "--data") cfg.DataDir = argv[i + 1];
    if (a == "--reps") cfg.Reps = std::max(1, std::atoi(argv[i + 1]));
    if (a == "--sqlite") cfg.Sqlite = argv[i + 1];
    if (a == "--label") cfg.Label = argv[i + 1];
  }
  if (cfg.DataDir.empty()) {
    std::fprintf(stderr, "usage: %s --data DIR/Data [--reps N] [--sqlite PATH] [--label TEXT]\n", argv[0]);
    return 2;
  }
  if (::access(cfg.Sqlite.c_str(), X_OK) != 0) {
    std::fprintf(stderr, "sqlite3 not found at %s\n", cfg.Sqlite.c_str());
    return 2;
  }
  // Tables are read from the generated data folder, named as the program
  // names them.
  auto fileOf = [&](const char* path) {
    return cfg.DataDir + "/" + std::string(path).substr(std::string(Catalogue::DataFolderSlash).size());
  };
  const std::string articles = fileOf(Catalogue::Articles::File);
  const std::string factures = fileOf(Catalogue::Factures::File);
  std::printf("== Table storage benchmark %s: median [min .. max] of %d runs; ratio = quorix / sqlite ==\n",
              cfg.Label.c_str(), cfg.Reps);
  std::printf("   (loads: wall clock and processor time; saves: wall clock; queries: processor time)\n");
  BenchLoadAndSave(cfg, articles, "articles", "Articles");
  BenchLoadAndSave(cfg, factures, "factures", "Invoice headers");
  BenchArticleQueries(cfg, articles);
  BenchInvoiceQueries(cfg, factures);
  return 0;
}
