#pragma once
// The main() of the window benchmarks: the windows are made and drawn on
// Qt's offscreen platform, so that no display is needed and nothing of the
// desktop's compositing enters the times.

#include <benchmark/benchmark.h>

#include <QApplication>

inline int RunOffscreenBenchmarks(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
