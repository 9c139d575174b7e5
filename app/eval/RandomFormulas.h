// SPDX-License-Identifier: GPL-3.0-or-later
// Random lines T<TAB>FORMULA for comparing two builds of the engine:
// numbers (whole, decimal with a point or a comma, long, tiny, huge), t, pi,
// + - * /, powers to whole and fractional numbers and to t, unary minus,
// parentheses and every function; t in decimal and in C99 hexadecimal form.
// Two families in turn: about two lines in five use only what the software
// arithmetic must give bit for bit as the x87 does (numbers, t, pi,
// + - * /, sqr, sqrt, abs, fa and powers to whole numbers), the rest
// everything. The generator is its own (a 64-bit xorshift, with
// distributions written here), so a seed gives the same lines on every
// build.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>

class RandomFormulas {
public:
    explicit RandomFormulas(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15u + 0x632BE59BD9B4E019u)
    {
        for (int i = 0; i < 4; ++i)
            Next();
    }

    std::string NextLine()
    {
        const bool exact = Chance(0.4);
        std::string formula = Expression(1 + static_cast<int>(Pick(4)), exact);
        if (Chance(0.1))
            formula.insert(formula.begin(), '-');
        if (Chance(0.1)) {  // upper case here and there
            for (char& c : formula) {
                if (c >= 'a' && c <= 'z' && Chance(0.3))
                    c = static_cast<char>(c - 'a' + 'A');
            }
        }
        return Parameter() + "\t" + formula;
    }

private:
    std::uint64_t Next()
    {
        // xorshift64*
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 0x2545F4914F6CDD1Du;
    }

    double Uniform() { return static_cast<double>(Next() >> 11) * 0x1p-53; }  // [0, 1)
    bool Chance(double p) { return Uniform() < p; }
    std::uint64_t Pick(std::uint64_t n) { return Next() % n; }

    template <std::size_t N>
    const char* PickFrom(const char* const (&choices)[N])
    {
        return choices[Pick(N)];
    }

    // Concatenated in one string built forwards (GCC 12 warns, wrongly, of
    // an overlap in "(" + e).
    static std::string Joined(std::initializer_list<std::string_view> parts)
    {
        std::string joined;
        for (const std::string_view part : parts)
            joined += part;
        return joined;
    }

    static std::string Printed(const char* format, double v)
    {
        char text[64];
        std::snprintf(text, sizeof text, format, v);
        return text;
    }

    std::string Parameter()
    {
        const double kind = Uniform();
        const double sign = Chance(0.5) ? -1.0 : 1.0;
        if (kind < 0.3) {  // a short decimal
            const double v = sign * static_cast<double>(Pick(1000000)) / static_cast<double>(1 + Pick(100000));
            return Printed("%.6g", v);
        }
        if (kind < 0.5)  // every digit of a double in [-8, 8]
            return Printed("%.17g", sign * 8 * Uniform());
        if (kind < 0.7) {  // hexadecimal, over a wide range of magnitudes
            const int e = static_cast<int>(Pick(61)) - 20;
            return Printed("%a", sign * std::ldexp(Uniform(), e));
        }
        if (kind < 0.8)
            return std::to_string(static_cast<int>(Pick(41)) - 20);
        if (kind < 0.9) {
            static const char* const Edges[] = {
                "0", "-0", "1e-310", "1e300", "0x1p-1074", "0x0.0000000000001p-1022", "1.5707963267948966",
                "3.141592653589793", "-3.1415926535897931", "6.283185307179586", "1e15", "123456789.123",
                "0.5", "-0.5", "1", "-1", "2147483647.5", "0x1.fffffffffffffp+1023", "1e-5", "710", "-745"};
            return PickFrom(Edges);
        }
        double v = 0;
        do {
            const std::uint64_t bits = Next();
            std::memcpy(&v, &bits, sizeof v);
        } while (!std::isfinite(v));
        return Chance(0.5) ? Printed("%.17g", v) : Printed("%a", v);
    }

    std::string Literal()
    {
        const double kind = Uniform();
        if (kind < 0.35)
            return std::to_string(Pick(Chance(0.7) ? 20 : 1001));
        if (kind < 0.6) {
            static const char* const Short[] = {"0.8", "2.5", "0,5", "0.1", "1.5", "0.25", "3.14159", "0.3",
                                                "1.0000001", "0.9999999", "123.456", "7,25", "0.05", "1.1"};
            return PickFrom(Short);
        }
        if (kind < 0.75) {  // many digits
            std::string digits = std::to_string(Pick(1000));
            digits += ".";
            for (int i = 0, n = 5 + static_cast<int>(Pick(20)); i < n; ++i)
                digits += static_cast<char>('0' + Pick(10));
            return digits;
        }
        if (kind < 0.85) {  // tiny
            std::string digits = "0.";
            digits += std::string(5 + Pick(25), '0');
            digits += std::to_string(1 + Pick(99999));
            return digits;
        }
        if (kind < 0.95) {  // large
            std::string digits = std::to_string(1 + Pick(999));
            digits += std::string(3 + Pick(25), '0');
            return digits;
        }
        if (kind < 0.99)
            return "pi";
        return Joined({"1", std::string(300 + Pick(12), '0')});  // near the top of the range, or past it
    }

    std::string Leaf() { return Chance(0.45) ? "t" : Literal(); }

    std::string Exponent(bool exact)
    {
        static const char* const Whole[] = {"2", "3", "0", "1", "4", "5", "10", "17", "(-1)", "(-2)", "(-3)",
                                            "100", "400", "1000", "(-400)", "31"};
        static const char* const Fractional[] = {"0.5", "1.5", "2.7", "0.3333", "(-0.5)", "0,25", "1.0000001",
                                                 "t", "(-t)", "(t/2)"};
        if (exact || Chance(0.5))
            return PickFrom(Whole);
        return PickFrom(Fractional);
    }

    // A base within about 2^-24 of 1 to a long whole power: the products
    // taken many at a time (PowerRuns).
    std::string NearOnePower()
    {
        static const char* const Bases[] = {"1.0000000001", "0.9999999999", "1.00000001", "0.99999999",
                                            "1.000000000000001", "0.999999999999999", "(1+t/10000000000)"};
        static const char* const Powers[] = {"100000", "65536", "(-100000)", "1000000", "31415"};
        return std::string(PickFrom(Bases)) + "^" + PickFrom(Powers);
    }

    std::string Function(int depth, bool exact)
    {
        static const char* const Exact[] = {"sqr", "sqrt", "abs", "fa"};
        static const char* const All[] = {"sqr", "sqrt", "abs", "fa", "sin", "cos", "tan", "exp",
                                          "ln", "arctan", "arcsin", "arccos", "sin", "cos"};
        const std::string name = exact ? PickFrom(Exact) : PickFrom(All);
        std::string argument = Expression(depth - 1, exact);
        if (name == "fa" && Chance(0.6))
            argument = PickFrom({"t", "5", "12", "13", "20", "34", "2.5", "0", "abs(t)"});
        return Joined({name, "(", argument, ")"});
    }

    // An operand of an operator: parenthesised unless a leaf or a call.
    std::string Operand(int depth, bool exact)
    {
        std::string e = Expression(depth, exact);
        if (e.find_first_of("+-*/^") == std::string::npos || (Chance(0.2) && e[0] != '-'))
            return e;
        return Joined({"(", e, ")"});
    }

    std::string Expression(int depth, bool exact)
    {
        if (depth <= 0 || Chance(0.2))
            return Leaf();
        switch (Pick(5)) {
        case 0:
        case 1: {
            static const char* const Operators[] = {"+", "-", "*", "/"};
            return Operand(depth - 1, exact) + PickFrom(Operators) + Operand(depth - 1, exact);
        }
        case 2:
            if (Chance(0.05))
                return NearOnePower();
            return Operand(depth - 1, exact) + "^" + Exponent(exact);
        case 3:
            return Function(depth, exact);
        default:
            return Joined({Chance(0.5) ? "(-" : "(", Expression(depth - 1, exact), ")"});
        }
    }

    std::uint64_t state_;
};
