// SPDX-License-Identifier: GPL-3.0-or-later
// Random formulas over the whole formula language, for differential tests:
// numbers (whole, decimal with point or comma, tiny, huge), every variable,
// pi, the five operators, unary minus and plus, every function, parentheses,
// and, depending on the family, inputs chosen to fail: domain errors, floating-
// point faults, and structures the evaluator refuses (2+, sin(), 2(3), ...).
#pragma once

#include <random>
#include <string>

enum class FormulaFamily {
    Curves,     // the shape of the curve formulas: t, numbers, arithmetic, sine, cosine
    Domains,    // arguments near the edges of every domain test
    Faults,     // overflow, invalid rounding, underflowed reciprocal
    Structure,  // operators short of operands, values left over, empty groups
    Mixed,      // everything at once
};

class FormulaGenerator {
public:
    FormulaGenerator(unsigned seed, FormulaFamily family) : random_(seed), family_(family) {}

    std::string Next()
    {
        std::string text = Expression(family_ == FormulaFamily::Curves ? 3 : 4);
        if (Chance(0.1))
            text = (Chance(0.5) ? "-" : "+") + text;
        if (family_ == FormulaFamily::Structure || (family_ == FormulaFamily::Mixed && Chance(0.1)))
            text = Malformed(text);
        return RandomCase(text);
    }

private:
    bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }

    std::size_t Pick(std::size_t count) { return std::uniform_int_distribution<std::size_t>(0, count - 1)(random_); }

    template <std::size_t N>
    const char* PickFrom(const char* const (&choices)[N])
    {
        return choices[Pick(N)];
    }

    std::string Expression(int depth)
    {
        if (depth <= 0 || Chance(0.25))
            return Leaf();
        switch (Pick(family_ == FormulaFamily::Curves ? 3 : 4)) {
        case 0:
            return Binary(depth);
        case 1:
            return Function(depth);
        case 2:
            return "(" + Expression(depth - 1) + ")";
        default:
            return "(-" + Expression(depth - 1) + ")";
        }
    }

    std::string Binary(int depth)
    {
        static const char* const Operators[] = {"+", "-", "*", "/", "^"};
        const std::string op = PickFrom(Operators);
        if (op == "^")
            return Operand(depth - 1) + "^" + Exponent();
        return Operand(depth - 1) + op + Operand(depth - 1);
    }

    // A binary operand: a parenthesised expression unless it is a leaf or a
    // function call, so that every generated text is well formed.
    std::string Operand(int depth)
    {
        std::string e = Expression(depth);
        if (Chance(0.3) || e.find_first_of("+-*/^") == std::string::npos)
            return e;
        return "(" + e + ")";
    }

    // Exponents stay small enough that IntPower never runs for long: a
    // leaf, a number of the family, or a short expression of them.
    std::string Exponent()
    {
        static const char* const Plain[] = {"2", "3", "0.5", "t", "(-1)", "(-2)", "(1/3)", "0", "k"};
        static const char* const Wide[] = {"400", "(-400)", "1000", "(-1100)", "3000000000", "(-3000000000)",
                                           "2147483647.6", "(t*400)", "(t*t)", "t", "(-t)", "(t/2)", "0.5", "2"};
        const bool wide = family_ == FormulaFamily::Faults || family_ == FormulaFamily::Mixed;
        if (wide ? Chance(0.7) : Chance(0.8))
            return wide ? PickFrom(Wide) : PickFrom(Plain);
        return "(" + Leaf() + "+" + Leaf() + ")";
    }

    std::string Function(int depth)
    {
        static const char* const Curves[] = {"sin", "cos", "sqr"};
        static const char* const All[] = {"abs", "sin", "sqr", "sqrt", "cos", "arctan", "arcsin",
                                          "arccos", "exp", "ln", "tan", "fa"};
        const std::string name = family_ == FormulaFamily::Curves ? PickFrom(Curves) : PickFrom(All);
        std::string argument = Expression(depth - 1);
        if (name == "fa" && Chance(0.7))
            argument = PickFrom({"t", "5", "12", "13", "34", "2.5", "(-1)", "0", "t*t", "3000000000"});
        return name + "(" + argument + ")";
    }

    std::string Leaf()
    {
        static const char* const Variables[] = {"t", "t", "t", "x", "y", "k", "n", "r", "s", "z"};
        static const char* const CurveNumbers[] = {"1", "2", "3", "5", "14", "80", "180", "0.8", "0,5", "pi"};
        static const char* const DomainNumbers[] = {
            "0", "1", "2", "0.5", "0,25", "pi", "1.5707963267948966", "0.000000000000001", "0.0000000000000001",
            "0.0000000000000009", "0.9999999999999999", "1.0000000000000002", "8", "12", "2.5", "100"};
        static const char* const FaultNumbers[] = {"1000", "710", "400", "3000000000", "0.1", "10", "2",
                                                   "99999999999999999999", "1e"};
        if (Chance(0.4))
            return PickFrom(Variables);
        switch (family_) {
        case FormulaFamily::Curves:
            return PickFrom(CurveNumbers);
        case FormulaFamily::Domains:
            return PickFrom(DomainNumbers);
        case FormulaFamily::Faults: {
            std::string number = PickFrom(FaultNumbers);
            if (number == "1e")  // a literal near the top of the range, typed out
                number = "1" + std::string(300 + Pick(8), '0');
            return number;
        }
        default:
            return Chance(0.5) ? PickFrom(DomainNumbers) : PickFrom(CurveNumbers);
        }
    }

    // Text the normalizer lets through but the evaluator refuses or reports.
    std::string Malformed(const std::string& e)
    {
        switch (Pick(8)) {
        case 0:
            return e + PickFrom({"+", "-", "*", "/", "^"});  // operator short of an operand
        case 1:
            return PickFrom({"*", "/", "^"}) + e;
        case 2:
            return "(" + e + ")(" + Expression(2) + ")";  // two values left
        case 3:
            return e + "*" + PickFrom({"sin()", "()", "(*2)", "ln()", "2(3)", "2t", "2pi"});
        case 4:
            return PickFrom({"sin()", "()", "+", "fa()"});
        case 5:
            return "2" + std::string(PickFrom({"t", "pi", "(t)"})) + "+" + e;
        case 6:
            return "(" + e + ")" + PickFrom({"sin(t)", "cos(t)", "(1/0)", "(ln(0))", "(exp(1000))"});
        default:
            return e;
        }
    }

    std::string RandomCase(std::string text)
    {
        for (char& c : text) {
            if (c >= 'a' && c <= 'z' && Chance(0.2))
                c = static_cast<char>(c - 'a' + 'A');
        }
        return text;
    }

    std::mt19937 random_;
    FormulaFamily family_;
};
