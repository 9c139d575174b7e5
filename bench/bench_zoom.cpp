// SPDX-License-Identifier: GPL-3.0-or-later
// One zoom of the plot window: a notch of the wheel over the plane, which
// writes the new window into the fields and draws the 1731-segment circle
// with its axes again (target: at most 16 ms). The notches go in and out in
// turn, so the window stays an ordinary one. Each redraw is timed on its own:
// the median and the worst are reported, of the wall time and of the CPU time.
#include <QApplication>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "Draw2D.h"
#include "GuiBenchmarkMain.h"
#include "PlotDocument.h"
#include "Program.h"
#include "PlaneImage.h"
#include "PlaneZoom.h"
#include "ScreenScale.h"
#include "StartUp.h"
#include "WindowReplay.h"

namespace {

PlotDocument* Document = nullptr;  // the program's

// Wall time, and the thread's own CPU time, which a busy machine does not
// stretch: on shared cores the worst wall time is mostly time spent waiting.
struct RedrawTimes {
    std::vector<double> Wall;
    std::vector<double> Cpu;
};

double ThreadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Runs `redraw` once, timed both ways.
template <typename Redraw>
void TimeOne(benchmark::State& state, RedrawTimes& times, Redraw&& redraw)
{
    const double cpuStart = ThreadCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    redraw();
    const auto end = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(end - start).count();
    state.SetIterationTime(seconds);
    times.Wall.push_back(seconds * 1000);
    times.Cpu.push_back((ThreadCpuSeconds() - cpuStart) * 1000);
}

void ReportSorted(benchmark::State& state, std::vector<double>& milliseconds, const char* median, const char* worst)
{
    std::sort(milliseconds.begin(), milliseconds.end());
    state.counters[median] = milliseconds[milliseconds.size() / 2];
    state.counters[worst] = milliseconds.back();
}

void ReportTimes(benchmark::State& state, RedrawTimes& times)
{
    if (times.Wall.empty())
        return;
    ReportSorted(state, times.Wall, "median_ms", "worst_ms");
    ReportSorted(state, times.Cpu, "median_cpu_ms", "worst_cpu_ms");
}

// The circle at start, with 1731 segments and its axes, drawn on the window.
void DrawCircle()
{
    RecordedPress press{StartPress(), std::nullopt, {}};
    press.Press.Texts.Segments = "1731";
    DrawPressesAnew(*Document, PressHistory{press});
}

// A real wheel event on the plane, as the window system delivers it.
void TurnWheel(QPoint pixel, int delta)
{
    QWidget* plane = Draw2D->Image1;
    const QPointF position(pixel.x() + 0.5, pixel.y() + 0.5);
    QWheelEvent event(position, plane->mapToGlobal(position), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(plane, &event);
}

void BM_ZoomRedraw(benchmark::State& state)
{
    DrawCircle();
    RedrawTimes times;
    int notch = 120;
    std::size_t points = 0;
    for (auto _ : state) {
        TimeOne(state, times, [notch] { TurnWheel(QPoint(260, 240), notch); });
        notch = -notch;
        points = Document->Presses().front().Result.PointCount;
        QCoreApplication::processEvents();  // the held input and the repaint queued
    }
    state.counters["points"] = double(points);
    ReportTimes(state, times);
}
BENCHMARK(BM_ZoomRedraw)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);

// The same redraw without the wheel: DrawPressesAnew alone.
void BM_DrawPressesAnew(benchmark::State& state)
{
    DrawCircle();
    const PressHistory presses = Document->Presses();
    RedrawTimes times;
    for (auto _ : state) {
        TimeOne(state, times, [&presses] { DrawPressesAnew(*Document, presses); });
        QCoreApplication::processEvents();
    }
    ReportTimes(state, times);
}
BENCHMARK(BM_DrawPressesAnew)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    UseFittingScaleFactors(argc, argv);
    QApplication application(argc, argv);
    SetUpApplication();
    PlotDocument document;
    Document = &document;
    Program program(document);  // the panel and the plot window, shown
    program.Panel().show();
    return RunBenchmarks(argc, argv);
}
