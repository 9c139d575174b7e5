// SPDX-License-Identifier: GPL-3.0-or-later
// One redraw of the last press for a slider move, on the real plot window:
// the plane put back as it stood before the press and the press drawn
// again with the next value, 1731 segments with the axes on, in the
// circle's window and in the window -1e35 .. 1e35 (200,000 ticks an axis).
// Target: at most 16 ms (60 a second). Each iteration is timed alone; the
// counters give the median and the worst of them.
#include <QApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "ControlPanel.h"
#include "GuiBenchmarkMain.h"
#include "Draw2D.h"
#include "PlotDocument.h"
#include "ScreenScale.h"
#include "StartUp.h"
#include "WindowReplay.h"

namespace {

TracePress SliderPress(const char* x, const char* y, const char* low, const char* high)
{
    TracePress press = StartPress();
    press.Texts = TraceTexts{x, y, low, high, low, high, "0", "2*pi", "1731"};
    return press;
}

void Redraw(benchmark::State& state, const TracePress& start)
{
    TDraw2D window;
    window.SetPlaneSize(500, 500);
    window.FillPlane(255, 255, 255);
    window.show();
    PlotDocument document(window);
    RecordedPress last{start, std::nullopt, {}};
    RedrawLastPress(document, last);  // the press the slider then moves
    std::vector<double> times;
    int step = 0;
    for (auto _ : state) {
        // k from 1 to 5 and back, as a slider is dragged to and fro.
        last.Press.Variables[0].Value = std::to_string(1 + (step++ % 40) / 10.0);
        const auto begin = std::chrono::steady_clock::now();
        RedrawLastPress(document, last);
        QCoreApplication::processEvents();  // the repaint on screen
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        state.SetIterationTime(seconds);
        times.push_back(seconds * 1e3);
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["worst_ms"] = times.back();
    state.counters["points"] = double(document.Presses().back().Result.PointCount);
}

void BM_RedrawCircleWindow(benchmark::State& state)
{
    Redraw(state, SliderPress("3*cos(k*t)", "3*sin(2*t)", "-4", "4"));
}
void BM_RedrawWindow1e35(benchmark::State& state)
{
    Redraw(state, SliderPress("9*10^34*cos(k*t)", "9*10^34*sin(2*t)", "-10^35", "10^35"));
}

}  // namespace

BENCHMARK(BM_RedrawCircleWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(300);
BENCHMARK(BM_RedrawWindow1e35)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(300);

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    UseFittingScaleFactors(argc, argv);
    QApplication application(argc, argv);
    SetUpApplication();
    return RunBenchmarks(argc, argv);
}
