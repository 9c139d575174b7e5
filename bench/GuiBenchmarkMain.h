// SPDX-License-Identifier: GPL-3.0-or-later
// The main function of a benchmark program that draws on the plane: text
// needs a GUI application, not a display, so the offscreen platform is used
// unless the environment names another. Programs that need the windows make
// their own application and call RunBenchmarks.
#pragma once

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>

// Runs the benchmarks the command line selects, once the application exists.
inline int RunBenchmarks(int& argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

inline int RunGuiBenchmarks(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    return RunBenchmarks(argc, argv);
}
