// SPDX-License-Identifier: GPL-3.0-or-later
// The tempo of a trace in the real window: the time from a click on "Kresli"
// to the moment segment 100 of the circle (the inputs at start) is on screen.
//
// Needs a running paramcurve with its inputs at start on $DISPLAY (see
// bench/tempo.sh, which starts one under Xvfb) and xdotool for the clicks.
// Each iteration wipes the plane with "Vymaž", clicks "Kresli" and polls two
// pixels of the plot window with XGetImage: one that segment 1 covers first
// and one that segment 100 covers first. Which pixels those are, the
// benchmark learns by tracing the same inputs on a plane of its own.
//
// Reported: the manual time is click -> segment 100, the click's time taken
// just before xdotool starts (its start-up, a few milliseconds, included);
// "step_ms" is (segment 100 - segment 1) / 99, one step with its pause.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "PlaneQt.h"
#include "PressRun.h"
#include "PlotSurface.h"

// Last: Xlib defines macros (None, Bool, ...) that clash with names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int MeasuredSegment = 100;

// Layout of the control panel (forms/Control_Panel.ui): button centres in its
// client area.
constexpr int KresliX = 4 + 65 / 2, KresliY = 7 + 26 / 2;
constexpr int VymazX = 72 + 65 / 2, VymazY = 8 + 25 / 2;

struct Pixel {
    int x = -1;
    int y = -1;
    QRgb colour = 0;
};

// Records the plane at the repaints of steps 0, 1, MeasuredSegment - 1 and
// MeasuredSegment.
class SnapshotHost : public TraceHost {
public:
    QImage Start, First, Before, At;
    bool Dashed() override { return false; }
    void Repaint() override
    {
        if (step_ == 0)
            Start = ToQImage(plane_->Plane()).copy();
        if (step_ == 1)
            First = ToQImage(plane_->Plane()).copy();
        if (step_ == MeasuredSegment - 1)
            Before = ToQImage(plane_->Plane()).copy();
        if (step_ == MeasuredSegment)
            At = ToQImage(plane_->Plane()).copy();
    }
    void Pause() override { ++step_; }
    explicit SnapshotHost(PlotSurface& plane) : plane_(&plane) {}

private:
    PlotSurface* plane_;
    int step_ = 0;
};

// A pixel white before `later` and not white in it.
std::optional<Pixel> FirstNewPixel(const QImage& before, const QImage& later)
{
    for (int y = 0; y < later.height(); ++y) {
        for (int x = 0; x < later.width(); ++x) {
            const QRgb was = before.pixel(x, y);
            const QRgb now = later.pixel(x, y);
            if ((was & 0xFFFFFF) == 0xFFFFFF && (now & 0xFFFFFF) != 0xFFFFFF)
                return Pixel{x, y, now & 0xFFFFFF};
        }
    }
    return std::nullopt;
}

struct Expected {
    Pixel first;  // covered by segment 1
    Pixel last;   // covered by segment MeasuredSegment
};

Expected TraceOffscreen()
{
    PlotSurface plane;
    plane.ResizePlane(500, 500);
    plane.FillPlane(255, 255, 255);
    plane.CurveB = 200;
    SnapshotHost host(plane);
    const TraceTexts texts{"3*cos(t)", "3*sin(t)", "-4", "4", "-4", "4", "0", "2*pi", "100"};
    if (!RunPress(plane, PressOn(plane, texts, true), host).Ok() || host.At.isNull()) {
        std::fprintf(stderr, "the offscreen trace failed\n");
        std::exit(2);
    }
    const auto first = FirstNewPixel(host.Start, host.First);
    const auto last = FirstNewPixel(host.Before, host.At);
    if (!first || !last) {
        std::fprintf(stderr, "no pixel to poll\n");
        std::exit(2);
    }
    return {*first, *last};
}

Window FindByName(Display* display, Window window, const char* name)
{
    char* title = nullptr;
    if (XFetchName(display, window, &title) && title) {
        const bool match = std::strcmp(title, name) == 0;
        XFree(title);
        if (match)
            return window;
    }
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i)
        found = FindByName(display, children[i], name);
    if (children)
        XFree(children);
    return found;
}

struct ScreenView {
    Display* display = nullptr;
    Window root = 0;
    int planeX = 0, planeY = 0;  // root position of the plane's (0, 0)
    int panelX = 0, panelY = 0;  // root position of the panel's client area
};

QRgb ReadPixel(const ScreenView& screen, const Pixel& pixel)
{
    XImage* image = XGetImage(screen.display, screen.root, screen.planeX + pixel.x, screen.planeY + pixel.y, 1, 1,
                              AllPlanes, ZPixmap);
    if (!image)
        return 0;
    const unsigned long value = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return static_cast<QRgb>(value & 0xFFFFFF);
}

void RunXdotool(std::vector<std::string> arguments, bool wait)
{
    static std::vector<pid_t> running;
    arguments.insert(arguments.begin(), "xdotool");
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, "xdotool", nullptr, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start xdotool\n");
        std::exit(2);
    }
    running.push_back(child);
    if (!wait)
        return;
    for (pid_t pid : running)
        waitpid(pid, nullptr, 0);
    running.clear();
}

void MoveTo(const ScreenView& screen, int x, int y)
{
    RunXdotool({"mousemove", std::to_string(screen.panelX + x), std::to_string(screen.panelY + y)}, true);
}

// Without waiting: xdotool lingers for about 0.1 s after its click.
void ClickNow()
{
    RunXdotool({"click", "1"}, false);
}

// Polls until `pixel` shows its colour (or, with `white`, shows white);
// false after `limit`.
bool WaitFor(const ScreenView& screen, const Pixel& pixel, bool white, Clock::duration limit, Clock::time_point& when)
{
    const QRgb wanted = white ? 0xFFFFFF : pixel.colour;
    const Clock::time_point end = Clock::now() + limit;
    while (Clock::now() < end) {
        if (ReadPixel(screen, pixel) == wanted) {
            when = Clock::now();
            return true;
        }
        // Leaves the two cores to the program and the X server most of the time.
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
}

ScreenView OpenScreen()
{
    ScreenView screen;
    screen.display = XOpenDisplay(nullptr);
    if (!screen.display) {
        std::fprintf(stderr, "cannot open the display\n");
        std::exit(2);
    }
    screen.root = DefaultRootWindow(screen.display);
    const Window plot = FindByName(screen.display, screen.root, "Parametric Curve");
    const Window panel = FindByName(screen.display, screen.root, "Control_Panel");
    if (!plot || !panel) {
        std::fprintf(stderr, "paramcurve's windows are not on this display\n");
        std::exit(2);
    }
    Window child = 0;
    // Image1 sits at (1, 1) inside the plot window's raised panel.
    XTranslateCoordinates(screen.display, plot, screen.root, 1, 1, &screen.planeX, &screen.planeY, &child);
    XTranslateCoordinates(screen.display, panel, screen.root, 0, 0, &screen.panelX, &screen.panelY, &child);
    return screen;
}

void BM_TraceTempo(benchmark::State& state)
{
    const Expected expected = TraceOffscreen();
    const ScreenView screen = OpenScreen();
    double stepSum = 0.0;
    for (auto _ : state) {
        Clock::time_point when;
        MoveTo(screen, VymazX, VymazY);
        ClickNow();
        if (!WaitFor(screen, expected.first, true, std::chrono::seconds(30), when) ||
            !WaitFor(screen, expected.last, true, std::chrono::seconds(1), when)) {
            state.SkipWithError("the plane was not wiped");
            break;
        }
        MoveTo(screen, KresliX, KresliY);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const Clock::time_point click = Clock::now();
        ClickNow();
        Clock::time_point first, last;
        if (!WaitFor(screen, expected.first, false, std::chrono::seconds(5), first) ||
            !WaitFor(screen, expected.last, false, std::chrono::seconds(30), last)) {
            state.SkipWithError("the trace did not appear where expected");
            break;
        }
        const double toLast = std::chrono::duration<double>(last - click).count();
        const double step = std::chrono::duration<double, std::milli>(last - first).count() / (MeasuredSegment - 1);
        std::fprintf(stderr, "click -> segment %d: %.4f s, step %.3f ms\n", MeasuredSegment, toLast, step);
        state.SetIterationTime(toLast);
        stepSum += step;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));  // let the trace end
    }
    state.counters["step_ms"] = stepSum / double(state.iterations());
    XCloseDisplay(screen.display);
}
BENCHMARK(BM_TraceTempo)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    // The offscreen trace needs a GUI application for its text, not a window;
    // the screen is read through Xlib on $DISPLAY.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
