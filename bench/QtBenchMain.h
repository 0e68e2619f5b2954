#pragma once
// The main of a benchmark program that needs widgets: a QApplication (offscreen unless a
// platform is chosen) around the registered benchmarks.

#include <benchmark/benchmark.h>

#include <QApplication>

inline int runQtBenchmarks(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
