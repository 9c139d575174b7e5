// SPDX-License-Identifier: GPL-3.0-or-later
// IntPower as the evaluator forms it, beside the plain loop of rounded
// products it must match bit for bit, in one run:
//   - (1+1/n)^n and (1-1/n)^n, the base being what the evaluator stores for
//     "1+1/n" (target: under 0.2 s per evaluation), for n = 10^1 .. 10^9 and
//     n = 2^k - 1 up to 2^31 - 1;
//   - bases within about 1e-7 of +-1 to exponents near 2^31 (target: at
//     least twice as fast as the loop);
//   - a spread of other bases and exponents (target: never slower).
// After the runs a table gives per case the two CPU times (medians with
// repetitions), plain / fast, and whether the two results agreed to the bit
// (or in their fault).
//
//   bench_power [--benchmark_filter=...] [--benchmark_repetitions=N]
// The plain loop takes up to about ten seconds per evaluation on the longest
// cases; --benchmark_filter=Fast/ times the fast form alone.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "Expression.h"
#include "IntegerPowers.h"
#include "MedianReporter.h"

namespace {

struct Case {
    std::string Name;
    double Base;
    std::int32_t Exponent;
};

// The value the evaluator gives the formula text, e.g. "1+1/1000".
double Evaluated(const std::string& text)
{
    static PlotState draw;
    std::string error;
    const double value = EvaluateExpression(draw, text, error);
    if (!error.empty()) {
        std::fprintf(stderr, "%s: %s\n", text.c_str(), error.c_str());
        std::exit(1);
    }
    return value;
}

std::vector<Case> Cases()
{
    std::vector<Case> cases;
    std::vector<std::int64_t> exponents;
    for (std::int64_t n = 10; n <= 1000000000; n *= 10)
        exponents.push_back(n);
    for (int k = 1; k <= 31; ++k)
        exponents.push_back((std::int64_t{1} << k) - 1);
    for (const std::int64_t n : exponents) {
        for (const char* sign : {"+", "-"}) {
            const std::string number = std::to_string(n);
            cases.push_back({std::string("(1") + sign + "1/" + number + ")^" + number,
                             Evaluated(std::string("1") + sign + "1/" + number), static_cast<std::int32_t>(n)});
        }
    }
    // Bases near +-1 to exponents near 2^31: every product formed.
    const std::int32_t nearTop = 2147483647;
    cases.push_back({"1.0000001^2147483647", 1.0000001, nearTop});
    cases.push_back({"0.9999999^2147483647", 0.9999999, nearTop});
    cases.push_back({"(-1.00000005)^2147483646", -1.00000005, nearTop - 1});
    cases.push_back({"0.99999993^-2147483647", 0.99999993, -nearTop});
    cases.push_back({"1.0000000123^2000000000", 1.0000000123, 2000000000});
    cases.push_back({"0.999999^2147483647 (underflow)", 0.999999, nearTop});
    // Other bases and exponents.
    cases.push_back({"1.1^5", 1.1, 5});
    cases.push_back({"1.1^15", 1.1, 15});
    cases.push_back({"1.1^16", 1.1, 16});
    cases.push_back({"1.1^64", 1.1, 64});
    cases.push_back({"0.3^63", 0.3, 63});
    cases.push_back({"1.5^1700", 1.5, 1700});
    cases.push_back({"3.3^500", 3.3, 500});
    cases.push_back({"0.75^3000 (denormal fixed point)", 0.75, 3000});
    cases.push_back({"0.9^2000000000 (denormal fixed point)", 0.9, 2000000000});
    cases.push_back({"2^1000", 2.0, 1000});
    cases.push_back({"1.01^100000 (certain overflow)", 1.01, 100000});
    cases.push_back({"1.001^-700000", 1.001, -700000});
    cases.push_back({"0.999^1000000", 0.999, 1000000});
    cases.push_back({"1.0000001^100000", 1.0000001, 100000});
    return cases;
}

struct Outcome {
    double Value = 0.0;
    int Fault = -1;
    bool operator==(const Outcome& o) const
    {
        return Fault == o.Fault && std::memcmp(&Value, &o.Value, sizeof Value) == 0;
    }
};

template <typename F>
Outcome Run(F&& f)
{
    Outcome o;
    try {
        o.Value = f();
    } catch (const FloatFault& fault) {
        o.Fault = static_cast<int>(fault.Kind());
    }
    return o;
}

std::map<std::string, Outcome> Results;  // "Fast/..." and "Plain/..." outcomes

void Fast(benchmark::State& state, const Case& c)
{
    Outcome o;
    for (auto _ : state) {
        o = Run([&] { return IntPower(c.Base, c.Exponent); });
        benchmark::DoNotOptimize(o);
    }
    Results["Fast/" + c.Name] = o;
}

void Plain(benchmark::State& state, const Case& c)
{
    Outcome o;
    for (auto _ : state) {
        o = Run([&] { return IntPowerByLoop(c.Base, c.Exponent); });
        benchmark::DoNotOptimize(o);
    }
    Results["Plain/" + c.Name] = o;
}

// The console output, then one line per case: fast, plain, plain / fast.
class RatioReporter : public MedianReporter {
public:
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-42s %14s %14s %8s  %s\n", "case (CPU time, us)", "fast", "plain", "ratio", "same bits");
        for (const Case& c : Cases()) {
            const double fast = Time("Fast/" + c.Name);
            if (std::isnan(fast))
                continue;
            const double plain = Time("Plain/" + c.Name);
            if (std::isnan(plain)) {
                std::printf("%-42s %14.3f %14s\n", c.Name.c_str(), fast * 1000, "-");
                continue;
            }
            const bool same = Results["Fast/" + c.Name] == Results["Plain/" + c.Name];
            std::printf("%-42s %14.3f %14.3f %8.2f  %s\n", c.Name.c_str(), fast * 1000, plain * 1000,
                        plain / fast, same ? "yes" : "NO");
        }
        std::fflush(stdout);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    static const std::vector<Case> cases = Cases();
    for (const Case& c : cases) {
        benchmark::RegisterBenchmark(("Fast/" + c.Name).c_str(), Fast, c)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Plain/" + c.Name).c_str(), Plain, c)->Unit(benchmark::kMillisecond);
    }
    RatioReporter reporter;
    return RunBenchmarksWith(argc, argv, reporter);
}
