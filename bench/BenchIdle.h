#pragma once

// The first seconds a user spends looking at the window after start-up: the
// event loop runs the window's idle preparation to its end, one step at a
// time, before the benchmark times anything. The longest step is reported:
// it is the longest an event may wait behind that preparation.

#include <QApplication>

#include <unistd.h>

#include "BenchFigures.h"
#include "QuorixForm.h"

inline void WaitForIdlePreparation(TQuorix_Form& main) {
  TFigure steps;
  for (int i = 0; i < 100000 && !main.IdlePreparationDone(); ++i) {
    const TMoment t = Start();
    QApplication::processEvents();
    steps.Add(t);
    ::usleep(1000);
  }
  Report("idle preparation after start-up, each step (worst: longest wait)", steps, 16);
}
