// SPDX-License-Identifier: GPL-3.0-or-later
// Both axes of one window on the 500 x 500 plane, as a draw request with
// "ukaž osy" draws them. The wide windows carry ~2e5 and ~2e6 labelled
// ticks; the target for each is well under a second.
#include <benchmark/benchmark.h>

#include "GuiBenchmarkMain.h"
#include "PlotSurface.h"

namespace {

void DrawBothAxes(benchmark::State& state, double min, double max)
{
    PlotSurface surface;
    surface.ResizePlane(500, 500);
    for (auto _ : state) {
        surface.FillPlane(255, 255, 255);
        surface.SetWorld(min, max, min, max);
        surface.Canvas().SetPenWidth(1);
        surface.Canvas().SetFontHeight(10);
        surface.DrawAxisX(min, max, 0, 255, 0, 0);
        surface.DrawAxisY(min, max, 0, 255, 0, 0);
        benchmark::DoNotOptimize(surface.Plane().Bits());
    }
}

void BM_AxesCircle(benchmark::State& state) { DrawBothAxes(state, -4, 4); }
void BM_AxesWide1e35(benchmark::State& state) { DrawBothAxes(state, -1e35, 1e35); }
void BM_AxesMillionTicks(benchmark::State& state) { DrawBothAxes(state, -5e35, 5e35); }

}  // namespace

BENCHMARK(BM_AxesCircle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AxesWide1e35)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AxesMillionTicks)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return RunGuiBenchmarks(argc, argv);
}
