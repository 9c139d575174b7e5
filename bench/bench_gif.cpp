// SPDX-License-Identifier: GPL-3.0-or-later
// The animation of the 1731-segment circle: tracing it under the recorder,
// and encoding the recording as a GIF. Reports the GIF's size. And the GIF
// file writers alone, giflib's and ours, on one whole frame.
#include <benchmark/benchmark.h>

#include <QBuffer>

#include <cstdlib>
#include <memory>

#include <random>

#include "GifPalette.h"
#include "PressRun.h"
#include "GifWriter.h"
#include "GiflibFileWriter.h"
#include "GuiBenchmarkMain.h"
#include "OwnGifFileWriter.h"
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
        if (!encoded.Message.empty())
            state.SkipWithError(encoded.Message.c_str());
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

// One frame as the file writers take it: indices into a table.
struct IndexedFrame {
    int Width = 0, Height = 0;
    std::vector<GifColour> Colours;
    std::vector<std::uint8_t> Pixels;
};

// The plane after the whole circle: the first frame of a GIF of it.
IndexedFrame CirclePlane()
{
    const PlaneAnimation animation = RecordCircle();
    RgbImage plane = animation.Start;
    for (const PlaneFrame& frame : animation.Frames)
        ApplyFrame(plane, frame);
    GifPalette palette;
    palette.AddColours(plane, 255);
    IndexedFrame indexed{plane.Width(), plane.Height(), {}, {}};
    for (const std::uint32_t colour : palette.Colours())
        indexed.Colours.push_back(
            GifColour{std::uint8_t(colour >> 16), std::uint8_t(colour >> 8), std::uint8_t(colour)});
    for (int y = 0; y < plane.Height(); ++y) {
        for (int x = 0; x < plane.Width(); ++x)
            indexed.Pixels.push_back(palette.IndexOf(plane.Line(y) + 3 * x));
    }
    return indexed;
}

// 256 colours at random: the most codes and table clears a frame can take.
IndexedFrame Noise()
{
    IndexedFrame indexed{500, 500, std::vector<GifColour>(256), std::vector<std::uint8_t>(500 * 500)};
    std::mt19937 random(1);
    for (std::uint8_t& pixel : indexed.Pixels)
        pixel = std::uint8_t(random());
    return indexed;
}

template <typename Writer>
void WriteFrame(benchmark::State& state, const IndexedFrame& frame)
{
    std::vector<std::uint8_t> file;
    file.reserve(1 << 20);
    for (auto _ : state) {
        file.clear();
        Writer writer;
        writer.Open([&file](std::span<const std::uint8_t> bytes) {
            file.insert(file.end(), bytes.begin(), bytes.end());
            return true;
        });
        writer.PutScreen(frame.Width, frame.Height, frame.Colours);
        writer.PutImage(0, 0, frame.Width, frame.Height, {});
        for (int y = 0; y < frame.Height; ++y)
            writer.PutLine(std::span(frame.Pixels).subspan(std::size_t(y * frame.Width), std::size_t(frame.Width)));
        writer.Close();
        benchmark::DoNotOptimize(file.data());
    }
    state.counters["gif_bytes"] = double(file.size());
    state.SetItemsProcessed(state.iterations() * std::int64_t(frame.Pixels.size()));
}

void BM_GiflibWritesCircle(benchmark::State& state)
{
    WriteFrame<GiflibFileWriter>(state, CirclePlane());
}
void BM_OwnWritesCircle(benchmark::State& state)
{
    WriteFrame<OwnGifFileWriter>(state, CirclePlane());
}
void BM_GiflibWritesNoise(benchmark::State& state)
{
    WriteFrame<GiflibFileWriter>(state, Noise());
}
void BM_OwnWritesNoise(benchmark::State& state)
{
    WriteFrame<OwnGifFileWriter>(state, Noise());
}
BENCHMARK(BM_GiflibWritesCircle)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OwnWritesCircle)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GiflibWritesNoise)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OwnWritesNoise)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    return RunGuiBenchmarks(argc, argv);
}
