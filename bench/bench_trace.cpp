// SPDX-License-Identifier: GPL-3.0-or-later
// A whole trace of 1731 segments with axes, the pause and the repaint left
// out: what each step costs beyond its 50 ms pause.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "PressRun.h"
#include "GuiBenchmarkMain.h"
#include "PlotSurface.h"
#include "SilentHost.h"

namespace {

TraceTexts CircleTexts(const char* segments)
{
    return TraceTexts{"3*cos(t)", "3*sin(t)", "-4", "4", "-4", "4", "0", "2*pi", segments};
}

void BM_TraceWithAxes(benchmark::State& state)
{
    auto surface = std::make_unique<PlotSurface>();
    surface->ResizePlane(500, 500);
    surface->FillPlane(255, 255, 255);
    surface->CurveB = 200;
    SilentHost host;
    const TraceTexts texts = CircleTexts("1731");
    std::size_t points = 0;
    for (auto _ : state) {
        const PressResult outcome = RunPress(*surface, PressOn(*surface, texts, true), host);
        points = outcome.PointCount;
        benchmark::DoNotOptimize(surface->Plane().Bits());
    }
    // One step per evaluated point; its time is what a trace adds to the pauses.
    state.counters["points"] = double(points);
    state.counters["per_step"] = benchmark::Counter(double(points) * double(state.iterations()),
                                                    benchmark::Counter::kIsRate |
                                                        benchmark::Counter::kInvert);
}
BENCHMARK(BM_TraceWithAxes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    return RunGuiBenchmarks(argc, argv);
}
