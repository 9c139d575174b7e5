// Compilation and evaluation of the preset formulas, each beside the same
// formula written directly in C++ with long double intermediates (the floor
// for this arithmetic). After the runs a summary prints the ratio
// interpreter / native per formula; the counter allocs_per_eval counts every
// operator new during the evaluations.
//
//   bench_engine [--benchmark_filter=...] [--benchmark_repetitions=N]
#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "Expression.h"

namespace {

std::atomic<long> Allocations{0};

// Constants reach the native formulas through memory, so the compiler cannot
// fold cos(80*pi/180) away: both sides do the same operations at run time.
struct Constants {
    long double Pi = PiValue;
    long double C3 = 3, C14 = 14, C80 = 80, C180 = 180, C5 = 5, C1 = 1, C08 = 0.8L;
};
Constants K;

using NativeFormula = double (*)(double t);

struct Formula {
    const char* Name;
    const char* Text;
    NativeFormula Native;
    double T1, T2;  // the preset's parameter range
};

const Formula Formulas[] = {
    {"circle_x", "3*cos(t)", [](double t) { return double(K.C3 * cosl(t)); }, 0, 6.2833},
    {"circle_y", "3*sin(t)", [](double t) { return double(K.C3 * sinl(t)); }, 0, 6.2833},
    {"throw_x", "14*t*cos(80*pi/180)",
     [](double t) { return double(K.C14 * t * cosl(K.C80 * K.Pi / K.C180)); }, 0, 3},
    {"throw_y", "14*t*sin(80*pi/180)-5*t^2",
     [](double t) {
         const long double e = t;
         return double(K.C14 * e * sinl(K.C80 * K.Pi / K.C180) - K.C5 * (e * e));
     },
     0, 3},
    {"folium_x", "3*t/(1+t^3)",
     [](double t) {
         const long double e = t;
         return double(K.C3 * e / (K.C1 + e * e * e));
     },
     -20, 20},
    {"folium_y", "3*t^2/(1+t^3)",
     [](double t) {
         const long double e = t;
         return double(K.C3 * (e * e) / (K.C1 + e * e * e));
     },
     -20, 20},
    {"planet_x", "-1/(1+0.8*cos(t))*cos(t)",
     [](double t) { return double(-(K.C1 / (K.C1 + K.C08 * cosl(t)) * cosl(t))); }, -3.141592653589793,
     3.141592653589793},
    {"planet_y", "-1/(1+0.8*cos(t))*sin(t)",
     [](double t) { return double(-(K.C1 / (K.C1 + K.C08 * cosl(t)) * sinl(t))); }, -3.141592653589793,
     3.141592653589793},
};

// Parameter values spread over the preset's range; the folium's t = -1 (its
// pole) is stepped over so that every evaluation succeeds.
std::vector<double> Steps(const Formula& f)
{
    std::vector<double> steps;
    for (int i = 0; i < 1000; ++i) {
        double t = f.T1 + (f.T2 - f.T1) * (i + 0.5) / 1000;
        if (std::fabs(t + 1) < 1e-3)
            t += 0.01;
        steps.push_back(t);
    }
    return steps;
}

void Compile(benchmark::State& state, const Formula& f)
{
    PlotState draw;
    PostfixProgram program{};
    const std::string text = f.Text;
    for (auto _ : state) {
        CompileExpression(draw, text, draw.ErrorText, program);
        benchmark::DoNotOptimize(program);
    }
}

void Evaluate(benchmark::State& state, const Formula& f)
{
    static PlotState draw;  // large: keep it off the stack
    PostfixProgram program{};
    CompileExpression(draw, f.Text, draw.ErrorText, program);
    if (!draw.ErrorText.empty()) {
        state.SkipWithError("formula does not compile");
        return;
    }
    const std::vector<double> steps = Steps(f);
    std::size_t i = 0;
    const long before = Allocations.load();
    for (auto _ : state) {
        draw.VarT = steps[i];
        i = i + 1 == steps.size() ? 0 : i + 1;
        benchmark::DoNotOptimize(EvaluatePostfix(draw, program, draw.ErrorText));
    }
    if (!draw.ErrorText.empty())
        state.SkipWithError("evaluation set a message");
    state.counters["allocs_per_eval"] =
        benchmark::Counter(double(Allocations.load() - before) / double(state.iterations()));
}

void Native(benchmark::State& state, const Formula& f)
{
    const std::vector<double> steps = Steps(f);
    std::size_t i = 0;
    for (auto _ : state) {
        const double t = steps[i];
        i = i + 1 == steps.size() ? 0 : i + 1;
        benchmark::DoNotOptimize(f.Native(t));
    }
}

// The console output, then one line per formula: evaluate / native.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            // With repetitions the median stands for the formula; otherwise the one run.
            const std::string name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                times_[name] = run.GetAdjustedCPUTime();
                medians_.insert(name);
            } else if (run.run_type == Run::RT_Iteration && !medians_.count(name)) {
                times_[name] = run.GetAdjustedCPUTime();
            }
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-10s %12s %12s %8s\n", "formula", "evaluate ns", "native ns", "ratio");
        for (const Formula& f : Formulas) {
            const std::string name = f.Name;
            const auto eval = times_.find("Evaluate/" + name);
            const auto native = times_.find("Native/" + name);
            if (eval == times_.end() || native == times_.end())
                continue;
            std::printf("%-10s %12.2f %12.2f %8.2f\n", f.Name, eval->second, native->second,
                        eval->second / native->second);
        }
        std::fflush(stdout);
    }

private:
    std::map<std::string, double> times_;
    std::set<std::string> medians_;
};

}  // namespace

void* operator new(std::size_t size)
{
    ++Allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

int main(int argc, char** argv)
{
    benchmark::DoNotOptimize(K);  // may have changed, as far as the compiler knows
    for (const Formula& f : Formulas) {
        benchmark::RegisterBenchmark((std::string("Compile/") + f.Name).c_str(), Compile, f)
            ->Unit(benchmark::kNanosecond);
        benchmark::RegisterBenchmark((std::string("Evaluate/") + f.Name).c_str(), Evaluate, f)
            ->Unit(benchmark::kNanosecond);
        benchmark::RegisterBenchmark((std::string("Native/") + f.Name).c_str(), Native, f)
            ->Unit(benchmark::kNanosecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
