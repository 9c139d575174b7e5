// SPDX-License-Identifier: GPL-3.0-or-later
// Compilation and evaluation of the preset formulas, side by side: the
// postfix program as compiled (EvaluatePostfix), the same program prepared
// once (EvaluatePrepared, the tracing loop's path), muparser on the same
// formula (double precision, constants folded), the formula written directly
// in C++ with long double intermediates ("native"), and the work the
// prepared program comes down to written directly in C++ ("floor": constants
// folded, every operation rounded to 64 bits and tested as the evaluator
// stores it; no interpreter can do less under these rules). After the runs a
// summary prints the times per formula and per preset and the ratios; the
// counter allocs_per_eval counts every operator new during the evaluations.
//
//   bench_engine [--benchmark_filter=...] [--benchmark_repetitions=N]
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "Expression.h"
#include "ExtendedMath.h"
#include "MedianReporter.h"
#include "PreparedProgram.h"

namespace {

std::atomic<long> Allocations{0};

// Constants reach the native formulas through memory, so the compiler cannot
// fold cos(80*pi/180) away: both sides do the same operations at run time.
struct Constants {
    long double Pi = PiValue;
    long double C3 = 3, C14 = 14, C80 = 80, C180 = 180, C5 = 5, C1 = 1, C08 = 0.8L;
};
Constants K;

// The folded constants of the throw, as the engine computes them (set in main).
struct FoldedConstants {
    double CosThrow = 0.0;  // cos(80*pi/180)
    double SinThrow = 0.0;  // sin(80*pi/180)
};
FoldedConstants Folded;

// One operation's result as the evaluator stores it: rounded and tested.
double R(Extended value)
{
    return StoreFast(value);
}

// A stored value as an operand: every operation is formed in extended precision.
Extended E(double value)
{
    return value;
}

using NativeFormula = double (*)(double t);

struct Formula {
    const char* Name;
    const char* Text;
    const char* MuparserText;  // muparser spells pi "_pi"
    NativeFormula Native;
    NativeFormula Floor;
    double T1, T2;  // the preset's parameter range
};

const Formula Formulas[] = {
    {"circle_x", "3*cos(t)", "3*cos(t)", [](double t) { return double(K.C3 * cosl(t)); },
     [](double t) { return R(3.0L * R(cosl(t))); }, 0, 6.2833},
    {"circle_y", "3*sin(t)", "3*sin(t)", [](double t) { return double(K.C3 * sinl(t)); },
     [](double t) { return R(3.0L * R(sinl(t))); }, 0, 6.2833},
    {"throw_x", "14*t*cos(80*pi/180)", "14*t*cos(80*_pi/180)",
     [](double t) { return double(K.C14 * t * cosl(K.C80 * K.Pi / K.C180)); },
     [](double t) { return R(E(R(14.0L * t)) * Folded.CosThrow); }, 0, 3},
    {"throw_y", "14*t*sin(80*pi/180)-5*t^2", "14*t*sin(80*_pi/180)-5*t^2",
     [](double t) {
         const long double e = t;
         return double(K.C14 * e * sinl(K.C80 * K.Pi / K.C180) - K.C5 * (e * e));
     },
     [](double t) { return R(E(R(E(R(14.0L * t)) * Folded.SinThrow)) - R(5.0L * R(E(t) * t))); },
     0, 3},
    {"folium_x", "3*t/(1+t^3)", "3*t/(1+t^3)",
     [](double t) {
         const long double e = t;
         return double(K.C3 * e / (K.C1 + e * e * e));
     },
     [](double t) { return R(E(R(3.0L * t)) / R(1.0L + R(E(R(E(t) * t)) * t))); }, -20, 20},
    {"folium_y", "3*t^2/(1+t^3)", "3*t^2/(1+t^3)",
     [](double t) {
         const long double e = t;
         return double(K.C3 * (e * e) / (K.C1 + e * e * e));
     },
     [](double t) {
         const double square = R(E(t) * t);
         return R(E(R(3.0L * square)) / R(1.0L + R(E(R(E(t) * t)) * t)));
     },
     -20, 20},
    {"planet_x", "-1/(1+0.8*cos(t))*cos(t)", "-1/(1+0.8*cos(t))*cos(t)",
     [](double t) { return double(-(K.C1 / (K.C1 + K.C08 * cosl(t)) * cosl(t))); },
     [](double t) {
         const double c = R(cosl(t));
         return -R(E(R(1.0L / R(1.0L + R(E(0.8) * c)))) * c);
     },
     -3.141592653589793, 3.141592653589793},
    {"planet_y", "-1/(1+0.8*cos(t))*sin(t)", "-1/(1+0.8*cos(t))*sin(t)",
     [](double t) { return double(-(K.C1 / (K.C1 + K.C08 * cosl(t)) * sinl(t))); },
     [](double t) {
         long double sine;
         long double cosine;
         sincosl(t, &sine, &cosine);
         const double c = R(cosine);
         return -R(E(R(1.0L / R(1.0L + R(E(0.8) * c)))) * R(sine));
     },
     -3.141592653589793, 3.141592653589793},
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

// One evaluation per iteration, t stepping through the preset's range; the
// program is compiled (and prepared) beforehand.
template <typename Run>
void Evaluations(benchmark::State& state, const Formula& f, PlotState& draw, Run&& run)
{
    const std::vector<double> steps = Steps(f);
    std::size_t i = 0;
    const long before = Allocations.load();
    for (auto _ : state) {
        draw.VarT = steps[i];
        i = i + 1 == steps.size() ? 0 : i + 1;
        benchmark::DoNotOptimize(run());
    }
    if (!draw.ErrorText.empty())
        state.SkipWithError("evaluation set a message");
    state.counters["allocs_per_eval"] =
        benchmark::Counter(double(Allocations.load() - before) / double(state.iterations()));
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
    Evaluations(state, f, draw, [&] { return EvaluatePostfix(draw, program, draw.ErrorText); });
}

void Prepared(benchmark::State& state, const Formula& f)
{
    static PlotState draw;
    PostfixProgram program{};
    CompileExpression(draw, f.Text, draw.ErrorText, program);
    if (!draw.ErrorText.empty()) {
        state.SkipWithError("formula does not compile");
        return;
    }
    const PreparedProgram prepared = PrepareProgram(program);
    Evaluations(state, f, draw, [&] { return EvaluatePrepared(draw, prepared, draw.ErrorText); });
}

void Prepare(benchmark::State& state, const Formula& f)
{
    PlotState draw;
    PostfixProgram program{};
    CompileExpression(draw, f.Text, draw.ErrorText, program);
    for (auto _ : state)
        benchmark::DoNotOptimize(PrepareProgram(program));
}

void Muparser(benchmark::State& state, const Formula& f)
{
    double t = 0.0;
    mu::Parser parser;
    try {
        parser.DefineVar("t", &t);
        parser.SetExpr(f.MuparserText);
        parser.Eval();  // parses; later calls run the byte code
    } catch (const mu::Parser::exception_type& e) {
        state.SkipWithError(e.GetMsg().c_str());
        return;
    }
    const std::vector<double> steps = Steps(f);
    std::size_t i = 0;
    for (auto _ : state) {
        t = steps[i];
        i = i + 1 == steps.size() ? 0 : i + 1;
        benchmark::DoNotOptimize(parser.Eval());
    }
}

template <NativeFormula Formula::*Kind>
void Native(benchmark::State& state, const Formula& f)
{
    const std::vector<double> steps = Steps(f);
    const NativeFormula formula = f.*Kind;
    std::size_t i = 0;
    for (auto _ : state) {
        const double t = steps[i];
        i = i + 1 == steps.size() ? 0 : i + 1;
        benchmark::DoNotOptimize(formula(t));
    }
}

// The floor, after making sure it computes what the prepared program does.
void Floor(benchmark::State& state, const Formula& f)
{
    static PlotState draw;
    PostfixProgram program{};
    CompileExpression(draw, f.Text, draw.ErrorText, program);
    const PreparedProgram prepared = PrepareProgram(program);
    for (const double t : Steps(f)) {
        draw.VarT = t;
        const double expected = EvaluatePrepared(draw, prepared, draw.ErrorText);
        const double actual = f.Floor(t);
        if (std::memcmp(&expected, &actual, sizeof expected) != 0) {
            state.SkipWithError("the floor does not compute what the prepared program does");
            return;
        }
    }
    Native<&Formula::Floor>(state, f);
}

// The console output, then one line per formula: evaluate / native.
class RatioReporter : public MedianReporter {
public:
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-9s %9s %9s %9s %9s %9s %10s %10s\n", "ns/eval", "postfix", "prepared", "muparser",
                    "native", "floor", "prep/post", "prep/mu");
        for (const Formula& f : Formulas) {
            const double postfix = Time("Evaluate/", f.Name);
            const double prepared = Time("Prepared/", f.Name);
            const double muparser = Time("Muparser/", f.Name);
            std::printf("%-9s %9.2f %9.2f %9.2f %9.2f %9.2f %10.2f %10.2f\n", f.Name, postfix, prepared, muparser,
                        Time("Native/", f.Name), Time("Floor/", f.Name), prepared / postfix, prepared / muparser);
        }
        // A preset evaluates its x and its y formula at every step.
        std::printf("\n%-9s %9s %9s %9s %10s %10s\n", "x + y", "postfix", "prepared", "muparser", "prep/post",
                    "prep/mu");
        for (std::size_t k = 0; k + 1 < std::size(Formulas); k += 2) {
            const std::string name(Formulas[k].Name, std::strcspn(Formulas[k].Name, "_"));
            const auto both = [&](const char* kind) {
                return Time(kind, Formulas[k].Name) + Time(kind, Formulas[k + 1].Name);
            };
            std::printf("%-9s %9.2f %9.2f %9.2f %10.2f %10.2f\n", name.c_str(), both("Evaluate/"),
                        both("Prepared/"), both("Muparser/"), both("Prepared/") / both("Evaluate/"),
                        both("Prepared/") / both("Muparser/"));
        }
        std::fflush(stdout);
    }

    double Time(const char* kind, const char* formula) const
    {
        return MedianReporter::Time(std::string(kind) + formula);
    }
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
    {
        PlotState draw;
        Folded.CosThrow = EvaluateExpression(draw, "cos(80*pi/180)", draw.ErrorText);
        Folded.SinThrow = EvaluateExpression(draw, "sin(80*pi/180)", draw.ErrorText);
    }
    for (const Formula& f : Formulas) {
        benchmark::RegisterBenchmark((std::string("Compile/") + f.Name).c_str(), Compile, f)
            ->Unit(benchmark::kNanosecond);
        benchmark::RegisterBenchmark((std::string("Prepare/") + f.Name).c_str(), Prepare, f)
            ->Unit(benchmark::kNanosecond);
        benchmark::RegisterBenchmark((std::string("Evaluate/") + f.Name).c_str(), Evaluate, f)
            ->Unit(benchmark::kNanosecond);
        benchmark::RegisterBenchmark((std::string("Prepared/") + f.Name).c_str(), Prepared, f)
            ->Unit(benchmark::kNanosecond);
        benchmark::RegisterBenchmark((std::string("Muparser/") + f.Name).c_str(), Muparser, f)
            ->Unit(benchmark::kNanosecond);
        benchmark::RegisterBenchmark((std::string("Native/") + f.Name).c_str(), Native<&Formula::Native>, f)
            ->Unit(benchmark::kNanosecond);
        benchmark::RegisterBenchmark((std::string("Floor/") + f.Name).c_str(), Floor, f)
            ->Unit(benchmark::kNanosecond);
    }
    RatioReporter reporter;
    return RunBenchmarksWith(argc, argv, reporter);
}
