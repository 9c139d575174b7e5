// SPDX-License-Identifier: GPL-3.0-or-later
#include "EvalTiming.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "Expression.h"
#include "PreparedProgram.h"

namespace {

struct CurveFormula {
    const char* Curve;
    const char* Text;
    double T1, T2;  // the example's parameter range
};

const CurveFormula Formulas[] = {
    {"kruznice", "3*cos(t)", 0, 6.2832},
    {"kruznice", "3*sin(t)", 0, 6.2832},
    {"vrh", "14*t*cos(80*pi/180)", 0, 3},
    {"vrh", "14*t*sin(80*pi/180)-5*t^2", 0, 3},
    {"list", "3*t/(1+t^3)", -20, 20},
    {"list", "3*t^2/(1+t^3)", -20, 20},
    {"planeta", "-1/(1+0.8*cos(t))*cos(t)", -3.141592653589793, 3.141592653589793},
    {"planeta", "-1/(1+0.8*cos(t))*sin(t)", -3.141592653589793, 3.141592653589793},
};

// A thousand values over the range, stepping over the folium's pole.
std::vector<double> Steps(const CurveFormula& f)
{
    std::vector<double> steps;
    for (int i = 0; i < 1000; ++i) {
        double t = f.T1 + (f.T2 - f.T1) * (i + 0.5) / 1000;
        if (t > -1.001 && t < -0.999)
            t += 0.01;
        steps.push_back(t);
    }
    return steps;
}

volatile double Sink;

// Nanoseconds per call of `evaluate`, over rounds of all the steps until
// a quarter of a second has passed; the fastest round counts.
template <typename Evaluate>
double Time(PlotState& state, const std::vector<double>& steps, Evaluate&& evaluate)
{
    using Clock = std::chrono::steady_clock;
    double best = 1e300;
    const Clock::time_point start = Clock::now();
    do {
        const Clock::time_point before = Clock::now();
        double sum = 0;
        for (const double t : steps) {
            state.VarT = t;
            sum += evaluate();
        }
        Sink = sum;
        const double ns = std::chrono::duration<double, std::nano>(Clock::now() - before).count();
        best = std::min(best, ns / static_cast<double>(steps.size()));
    } while (Clock::now() - start < std::chrono::milliseconds(250));
    return best;
}

}  // namespace

std::string TimeExampleCurves()
{
    auto state = std::make_unique<PlotState>();
    std::string report = "ns/eval                      prepared    postfix  expression\n";
    double curve[3] = {0, 0, 0};
    char line[160];
    for (std::size_t k = 0; k < std::size(Formulas); ++k) {
        const CurveFormula& f = Formulas[k];
        const std::vector<double> steps = Steps(f);
        PostfixProgram program{};
        CompileExpression(*state, f.Text, state->ErrorText, program);
        const PreparedProgram prepared = PrepareProgram(program);
        const std::string text = f.Text;
        const double times[3] = {
            Time(*state, steps, [&] { return EvaluatePrepared(*state, prepared, state->ErrorText); }),
            Time(*state, steps, [&] { return EvaluatePostfix(*state, program, state->ErrorText); }),
            Time(*state, steps, [&] { return EvaluateExpression(*state, text, state->ErrorText); }),
        };
        std::snprintf(line, sizeof line, "%-27s %9.1f  %9.1f  %10.1f\n", f.Text, times[0], times[1], times[2]);
        report += line;
        for (int i = 0; i < 3; ++i)
            curve[i] += times[i];
        if (k % 2 == 1) {
            std::snprintf(line, sizeof line, "  %-25s %9.1f  %9.1f  %10.1f\n", (std::string(f.Curve) + " x + y").c_str(),
                          curve[0], curve[1], curve[2]);
            report += line;
            curve[0] = curve[1] = curve[2] = 0;
        }
    }
    return report;
}
