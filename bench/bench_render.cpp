// SPDX-License-Identifier: GPL-3.0-or-later
// paramcurve-render as a user runs it: a whole process, from its start to
// the file on disk: the PNG of the control panel's inputs at start, and the
// animated GIF of the longest trace (target: under 0.5 s and under 1 MB).
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Starts the renderer with `arguments` and waits for it; its exit status, or
// -1 when it could not be started or did not exit normally.
int RunRenderer(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    std::string program = PARAMCURVE_RENDER_PATH;
    argv.push_back(program.data());
    std::vector<std::string> copies = arguments;
    for (std::string& argument : copies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    pid_t child = 0;
    if (posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

std::string PictureInTemp(const std::string& extension)
{
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder && *folder ? folder : "/tmp") + "/bench_render_" + std::to_string(getpid()) + "."
           + extension;
}

// Runs the renderer writing a picture with the given extension; reports the
// file's size.
void Render(benchmark::State& state, std::vector<std::string> options, const std::string& extension = "png")
{
    const std::string picture = PictureInTemp(extension);
    options.push_back("-o");
    options.push_back(picture);
    for (auto _ : state) {
        const int status = RunRenderer(options);
        if (status != 0) {
            state.SkipWithError("paramcurve-render did not finish with status 0");
            break;
        }
    }
    struct stat written {};
    if (::stat(picture.c_str(), &written) == 0)
        state.counters["file_bytes"] = double(written.st_size);
    std::remove(picture.c_str());
}

// The inputs at start: circle, axes, 0 to 2*pi in 100 segments.
void BM_RenderInputsAtStart(benchmark::State& state)
{
    Render(state, {});
}
BENCHMARK(BM_RenderInputsAtStart)->Unit(benchmark::kMillisecond)->UseRealTime();

// The longest trace the renderer accepts, for comparison.
void BM_RenderMostSegments(benchmark::State& state)
{
    Render(state, {"--segments", "1731", "--points", "/dev/null"});
}
BENCHMARK(BM_RenderMostSegments)->Unit(benchmark::kMillisecond)->UseRealTime();

// The circle traced in 1731 segments, written as an animation of 1733 frames.
void BM_RenderGifMostSegments(benchmark::State& state)
{
    Render(state, {"--segments", "1731"}, "gif");
}
BENCHMARK(BM_RenderGifMostSegments)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same trace as vector graphics, for comparison.
void BM_RenderSvgMostSegments(benchmark::State& state)
{
    Render(state, {"--segments", "1731"}, "svg");
}
BENCHMARK(BM_RenderSvgMostSegments)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RenderPdfMostSegments(benchmark::State& state)
{
    Render(state, {"--segments", "1731"}, "pdf");
}
BENCHMARK(BM_RenderPdfMostSegments)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
