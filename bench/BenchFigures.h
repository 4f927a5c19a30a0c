#pragma once

// Timings of the application benchmarks: the runs of one step, their median
// and maximum, reported against the step's target.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::time_point from) {
  return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

struct TFigure {
  std::vector<double> Runs;
  void Add(double ms) { Runs.push_back(ms); }
  double Median() const {
    std::vector<double> v = Runs;
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
  }
  double Max() const { return Runs.empty() ? 0 : *std::max_element(Runs.begin(), Runs.end()); }
};

inline void Report(const char* what, const TFigure& f, double target) {
  std::printf("%-58s median %7.2f ms  max %7.2f ms  (%zu runs, target %.0f ms)%s\n", what, f.Median(), f.Max(),
              f.Runs.size(), target, f.Median() <= target ? "" : "  OVER");
}
