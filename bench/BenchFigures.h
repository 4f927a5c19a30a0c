#pragma once

// Timings of the benchmarks. Each step is timed on two clocks: the processor
// time of the thread that does all the work, which is what the targets are
// read against (the machine is shared, and the wall clock also counts the
// time other programs held the processor), and the wall clock beside it.
// A step's runs are reported as their median and their worst, with the
// step's target.
//
// With QUORIX_BENCH_ROWS set in the environment every report is also printed
// as one tab-separated line starting with "@row" (or "@ratio" for the
// comparisons with sqlite3), which bench/run_all.sh gathers into its table.

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using Clock = std::chrono::steady_clock;

// Processor time of the calling thread, in milliseconds.
inline double CpuMs() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Milliseconds of wall clock since a moment: for steps timed once and for
// the waiting loops of a benchmark.
inline double Ms(Clock::time_point from) {
  return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

// A moment on both clocks.
struct TMoment {
  Clock::time_point Wall = Clock::now();
  double Cpu = CpuMs();
};
inline TMoment Start() { return TMoment{}; }

struct TFigure {
  std::vector<double> Runs;      // processor time, ms
  std::vector<double> WallRuns;  // wall clock, ms
  // One run from the moment given to now, divided among that many steps.
  void Add(const TMoment& from, double divide = 1) {
    Runs.push_back((CpuMs() - from.Cpu) / divide);
    WallRuns.push_back(std::chrono::duration<double, std::milli>(Clock::now() - from.Wall).count() / divide);
  }
  static double MedianOf(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
  }
  static double MaxOf(const std::vector<double>& v) { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }
  double Median() const { return MedianOf(Runs); }
  double Max() const { return MaxOf(Runs); }
  double WallMedian() const { return MedianOf(WallRuns); }
  double WallMax() const { return MaxOf(WallRuns); }
  // A run measured elsewhere (a child process, a timer's report).
  void AddMs(double cpuMs, double wallMs) {
    Runs.push_back(cpuMs);
    WallRuns.push_back(wallMs);
  }
};

// Times one call of the step.
template <class F>
TFigure TimeOnce(F&& step) {
  TFigure figure;
  const TMoment t = Start();
  step();
  figure.Add(t);
  return figure;
}

inline bool BenchRows() { return std::getenv("QUORIX_BENCH_ROWS") != nullptr; }

// target: the step's target in the figure's unit (0: none, shown as "-").
// The figures are milliseconds unless the unit says otherwise ("us" for a
// figure multiplied by 1000).
inline void Report(const std::string& what, const TFigure& f, double target, const char* unit = "ms") {
  char goal[32] = "-";
  if (target > 0) std::snprintf(goal, sizeof goal, "< %g %s", target, unit);
  std::printf("%-62s cpu median %9.3f  worst %9.3f   wall median %9.3f  worst %9.3f %s  (%zu runs, target %s)%s\n",
              what.c_str(), f.Median(), f.Max(), f.WallMedian(), f.WallMax(), unit, f.Runs.size(), goal,
              target > 0 && (f.Median() > target || f.Max() > target) ? "  OVER" : "");
  if (BenchRows()) {
    std::printf("@row\t%s\t%.3f\t%.3f\t%.3f\t%.3f\t%s\t%s\n", what.c_str(), f.Median(), f.Max(), f.WallMedian(),
                f.WallMax(), unit, goal);
  }
  std::fflush(stdout);
}

// A comparison with sqlite3 on the same work: the two processor-time
// medians and their ratio, against the target ratio (0: none).
inline void ReportRatio(const std::string& what, double ours, double sqlite, const char* unit, double targetRatio) {
  const double ratio = sqlite > 0 ? ours / sqlite : 0;
  char goal[32] = "-";
  if (targetRatio > 0) std::snprintf(goal, sizeof goal, "<= %.2fx", targetRatio);
  std::printf("%-62s quorix %9.3f %s   sqlite3 %9.3f %s   ratio %.3f  (target %s)%s\n", what.c_str(), ours, unit,
              sqlite, unit, ratio, goal, targetRatio > 0 && ratio > targetRatio ? "  OVER" : "");
  if (BenchRows()) std::printf("@ratio\t%s\t%.3f\t%.3f\t%s\t%.3f\t%s\n", what.c_str(), ours, sqlite, unit, ratio, goal);
  std::fflush(stdout);
}
