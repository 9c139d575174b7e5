// SPDX-License-Identifier: GPL-3.0-or-later
// The animation of the 1731-segment circle: tracing it under the recorder,
// and encoding the recording as a GIF. Reports the GIF's size.
#include <benchmark/benchmark.h>

#include <QBuffer>

#include <cstdlib>
#include <memory>

#include "PressRun.h"
#include "GifWriter.h"
#include "GuiBenchmarkMain.h"
#include "PlotSurface.h"
#include "SilentHost.h"
#include "TraceRecorder.h"

namespace {

PlaneAnimation RecordCircle()
{
    auto surface = std::make_unique<PlotSurface>();
    surface->ResizePlane(500, 500);
    surface->FillPlane(255, 255, 255);
    surface->CurveB = 200;
    SilentHost host;
    TraceRecorder recorder(*surface, host);
    const TraceTexts texts{"3*cos(t)", "3*sin(t)", "-4", "4", "-4", "4", "0", "2*pi", "1731"};
    RunPress(*surface, PressOn(*surface, texts, true), recorder);
    return recorder.Finish();
}

// Trace and recording together: what the recorder adds to a trace.
void BM_RecordTrace(benchmark::State& state)
{
    std::size_t frames = 0;
    for (auto _ : state) {
        const PlaneAnimation animation = RecordCircle();
        frames = animation.Frames.size();
        benchmark::DoNotOptimize(animation.Frames.data());
    }
    state.counters["frames"] = double(frames);
}
BENCHMARK(BM_RecordTrace)->Unit(benchmark::kMillisecond)->UseRealTime();

// The trace recorded as the window records it, each frame encoded as it is
// taken; also the worst case, chords across the whole plane at every step.
void RecordAndEncode(benchmark::State& state, const TraceTexts& texts)
{
    qint64 bytes = 0;
    for (auto _ : state) {
        auto surface = std::make_unique<PlotSurface>();
        surface->ResizePlane(500, 500);
        surface->FillPlane(255, 255, 255);
        surface->CurveB = 200;
        SilentHost host;
        const TracePress press = PressOn(*surface, texts, true);
        GifInMemory gif(GifOptions{}, PressColours(press, surface->Canvas()));
        TraceRecorder recorder(*surface, host, gif);
        RunPress(*surface, press, recorder);
        recorder.Finish();
        const EncodedGif encoded = gif.Finish();
        if (!encoded.Message.isEmpty())
            state.SkipWithError(qPrintable(encoded.Message));
        bytes = encoded.Bytes.size();
    }
    state.counters["gif_bytes"] = double(bytes);
}
void BM_RecordAndEncodeCircle(benchmark::State& state)
{
    RecordAndEncode(state, TraceTexts{"3*cos(t)", "3*sin(t)", "-4", "4", "-4", "4", "0", "2*pi", "1731"});
}
void BM_RecordAndEncodeChords(benchmark::State& state)
{
    RecordAndEncode(state, TraceTexts{"3.9*cos(pi*t)", "3.9*cos(pi*t)*cos(t/500)", "-4", "4", "-4", "4", "0",
                                      "1731", "1731"});
}
BENCHMARK(BM_RecordAndEncodeCircle)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RecordAndEncodeChords)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EncodeGif(benchmark::State& state)
{
    const PlaneAnimation animation = RecordCircle();
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        const QString message = WriteGif(animation, GifOptions{}, buffer);
        if (!message.isEmpty())
            state.SkipWithError(qPrintable(message));
        bytes = buffer.size();
    }
    state.counters["frames"] = double(animation.Frames.size());
    state.counters["gif_bytes"] = double(bytes);
}
BENCHMARK(BM_EncodeGif)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    return RunGuiBenchmarks(argc, argv);
}
