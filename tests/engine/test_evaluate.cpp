// SPDX-License-Identifier: GPL-3.0-or-later
// Evaluation: values bit for bit, domain messages, floating-point faults, the
// end check, programs short of operands or malformed, IntPower and Factorial.
//
// Reference values of the elementary functions are the 64-bit reals nearest
// to the exact results, worked out apart from this program.
#include <QtTest>

#include <cmath>
#include <limits>

#include "EngineTestSupport.h"

namespace {

struct Outcome {
    double Value = 0.0;
    std::string Message;
    std::optional<FloatFaultKind> Fault;
};

Outcome Run(const QString& text, double t = 0.0)
{
    PlotState draw;
    draw.VarT = t;
    Outcome outcome;
    outcome.Fault = FaultOf([&] { outcome.Value = EvaluateExpression(draw, text.toStdString(), draw.ErrorText); });
    outcome.Message = draw.ErrorText;
    return outcome;
}

constexpr std::int32_t IntMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t IntMin = std::numeric_limits<std::int32_t>::min();
const QByteArray NoMessage;

}  // namespace

class TestEvaluate : public QObject {
    Q_OBJECT

private slots:
    void values_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("t");
        QTest::addColumn<double>("expected");
        QTest::newRow("1/10^(-15)") << "1/10^(-15)" << 0.0 << 999999999999999.9;
        QTest::newRow("1/1e-15 as typed") << "1/0.000000000000001" << 0.0 << 999999999999999.9;
        QTest::newRow("1e-15 as a base") << "0.000000000000001^(-1)" << 0.0 << 999999999999999.9;
        QTest::newRow("0^0") << "0^0" << 0.0 << 1.0;
        QTest::newRow("0^0.5") << "0^0.5" << 0.0 << 0.0;
        QTest::newRow("tiny base, fractional exponent") << "0.0000000000000009^0.5" << 0.0 << 0.0;
        QTest::newRow("tiny negative base") << "(-0.0000000000000009)^0.5" << 0.0 << 0.0;
        QTest::newRow("(-2)^3") << "(-2)^3" << 0.0 << -8.0;
        QTest::newRow("2^(-2)") << "2^(-2)" << 0.0 << 0.25;
        QTest::newRow("2^3^2 is 64") << "2^3^2" << 0.0 << 64.0;
        QTest::newRow("-t^2 is -(t^2)") << "-t^2" << 3.0 << -9.0;
        QTest::newRow("(-t)^2") << "(-t)^2" << 3.0 << 9.0;
        QTest::newRow("-2+3") << "-2+3" << 0.0 << 1.0;
        QTest::newRow("8-2-1") << "8-2-1" << 0.0 << 5.0;
        QTest::newRow("8/2/2") << "8/2/2" << 0.0 << 2.0;
        QTest::newRow("rounded sum") << "0.1+0.2" << 0.0 << 0.30000000000000004;
        QTest::newRow("integer power rounds each product") << "1.1^7" << 0.0 << 1.9487171000000014;
        QTest::newRow("negative integer power") << "t^(-1)" << 4.0 << 0.25;
        QTest::newRow("2^1023") << "2^1023" << 0.0 << std::ldexp(1.0, 1023);
        QTest::newRow("real power") << "2^(1/2)" << 0.0 << 1.4142135623730951;
        QTest::newRow("10^0.5") << "10^0.5" << 0.0 << 3.1622776601683795;
        QTest::newRow("1.5^2.5") << "1.5^2.5" << 0.0 << 2.7556759606310752;
        QTest::newRow("2^0.25") << "2^0.25" << 0.0 << 1.189207115002721;
        QTest::newRow("ln(10^(-15))") << "ln(10^(-15))" << 0.0 << -34.538776394910684;
        QTest::newRow("ln(1e-15) as typed") << "ln(0.000000000000001)" << 0.0 << -34.538776394910684;
        QTest::newRow("ln(10)") << "ln(10)" << 0.0 << 2.302585092994046;
        QTest::newRow("ln(0.5)") << "ln(0.5)" << 0.0 << -0.6931471805599453;
        QTest::newRow("ln(3)") << "ln(3)" << 0.0 << 1.0986122886681098;
        QTest::newRow("exp(-1)") << "exp(-1)" << 0.0 << 0.36787944117144233;
        QTest::newRow("exp(2)") << "exp(2)" << 0.0 << 7.38905609893065;
        QTest::newRow("exp(0.5)") << "exp(0.5)" << 0.0 << 1.6487212707001282;
        QTest::newRow("exp(100)") << "exp(100)" << 0.0 << 2.6881171418161356e+43;
        QTest::newRow("exp(709)") << "exp(709)" << 0.0 << 8.218407461554972e+307;
        QTest::newRow("exp(-700)") << "exp(-700)" << 0.0 << 9.85967654375977e-305;
        QTest::newRow("exp(-745) is the smallest denormal") << "exp(-745)" << 0.0 << 4.9406564584124654e-324;
        QTest::newRow("exp(-100000) underflows silently") << "exp(-100000)" << 0.0 << 0.0;
        QTest::newRow("sin(1)") << "sin(1)" << 0.0 << 0.8414709848078965;
        QTest::newRow("sin(-0.5)") << "sin(-0.5)" << 0.0 << -0.479425538604203;
        QTest::newRow("sin(pi)") << "sin(pi)" << 0.0 << 1.2246467991473532e-16;
        QTest::newRow("sin(1000000)") << "sin(1000000)" << 0.0 << -0.34999350217129294;
        QTest::newRow("sin(2^62)") << "sin(2^62)" << 0.0 << -0.7029224436192089;
        QTest::newRow("sin(2^63) is 0") << "sin(2^63)" << 0.0 << 0.0;
        QTest::newRow("sin(10^19) is 0") << "sin(10^19)" << 0.0 << 0.0;
        QTest::newRow("sin(-2^63) is 0") << "sin(-2^63)" << 0.0 << 0.0;
        QTest::newRow("cos(1)") << "cos(1)" << 0.0 << 0.5403023058681398;
        QTest::newRow("cos(pi)") << "cos(pi)" << 0.0 << -1.0;
        QTest::newRow("cos(100)") << "cos(100)" << 0.0 << 0.8623188722876839;
        QTest::newRow("cos(2^63) is 0") << "cos(2^63)" << 0.0 << 0.0;
        QTest::newRow("tan(pi/4)") << "tan(pi/4)" << 0.0 << 0.9999999999999999;
        QTest::newRow("tan(1)") << "tan(1)" << 0.0 << 1.5574077246549023;
        QTest::newRow("tan(-1.2)") << "tan(-1.2)" << 0.0 << -2.5721516221263188;
        QTest::newRow("arctan(1)") << "arctan(1)" << 0.0 << 0.7853981633974483;
        QTest::newRow("arctan(-1)") << "arctan(-1)" << 0.0 << -0.7853981633974483;
        QTest::newRow("arctan(10)") << "arctan(10)" << 0.0 << 1.4711276743037347;
        QTest::newRow("arctan(0.5)") << "arctan(0.5)" << 0.0 << 0.4636476090008061;
        QTest::newRow("arcsin(1)") << "arcsin(1)" << 0.0 << 1.5707963267948966;
        QTest::newRow("arcsin(-1)") << "arcsin(-1)" << 0.0 << -1.5707963267948966;
        QTest::newRow("arcsin(0.5)") << "arcsin(0.5)" << 0.0 << 0.5235987755982989;
        QTest::newRow("arcsin(0.1)") << "arcsin(0.1)" << 0.0 << 0.1001674211615598;
        QTest::newRow("arcsin(-0.75)") << "arcsin(-0.75)" << 0.0 << -0.848062078981481;
        QTest::newRow("arccos(-1)") << "arccos(-1)" << 0.0 << 3.141592653589793;
        QTest::newRow("arccos(1)") << "arccos(1)" << 0.0 << 0.0;
        QTest::newRow("arccos(0.5)") << "arccos(0.5)" << 0.0 << 1.0471975511965979;
        QTest::newRow("arccos(-0.3)") << "arccos(-0.3)" << 0.0 << 1.8754889808102941;
        QTest::newRow("sqrt(2)") << "sqrt(2)" << 0.0 << 1.4142135623730951;
        QTest::newRow("sqrt(0)") << "sqrt(0)" << 0.0 << 0.0;
        QTest::newRow("sqr(t)") << "sqr(t)" << -1.5 << 2.25;
        QTest::newRow("abs(t)") << "abs(t)" << -2.5 << 2.5;
        QTest::newRow("negation") << "-(t)" << 2.5 << -2.5;
        QTest::newRow("negation of zero") << "-t" << 0.0 << -0.0;
        QTest::newRow("fa(5)") << "fa(5)" << 0.0 << 120.0;
        QTest::newRow("fa(0)") << "fa(0)" << 0.0 << 1.0;
        QTest::newRow("fa(1)") << "fa(1)" << 0.0 << 1.0;
        QTest::newRow("fa(12)") << "fa(12)" << 0.0 << 479001600.0;
        QTest::newRow("fa(13) wraps") << "fa(13)" << 0.0 << 1932053504.0;
        QTest::newRow("fa(17) wraps negative") << "fa(17)" << 0.0 << -288522240.0;
        QTest::newRow("fa(2147483647)") << "fa(2147483647)" << 0.0 << 0.0;
        QTest::newRow("x is never assigned") << "x+1" << 0.0 << 1.0;
        QTest::newRow("pi") << "pi" << 0.0 << 3.141592653589793;
        QTest::newRow("surplus value consumed") << "2(3)+" << 0.0 << 5.0;
        QTest::newRow("oblique throw y at t=0") << "14*t*sin(80*pi/180)-5*t^2" << 0.0 << 0.0;
        QTest::newRow("circle x at t=0") << "3*cos(t)" << 0.0 << 3.0;
    }
    void values()
    {
        QFETCH(QString, text);
        QFETCH(double, t);
        QFETCH(double, expected);
        const Outcome outcome = Run(text, t);
        QVERIFY(!outcome.Fault);
        QCOMPARE(Bytes(outcome.Message), NoMessage);
        COMPARE_BITS(outcome.Value, expected);
    }

    void domainErrors_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("t");
        QTest::addColumn<QByteArray>("message");
        const QByteArray division = "Dělení nulou";
        const QByteArray base = "Nepřípustný základ reálné mocniny";
        const QByteArray log = "Nepřípustný argument logaritmu";
        const QByteArray factorial = "Nepřípustný argument faktoriálu";
        QTest::newRow("1/0") << "1/0" << 0.0 << division;
        QTest::newRow("1/10^(-16)") << "1/10^(-16)" << 0.0 << division;
        QTest::newRow("divisor just below 1e-15") << "1/0.0000000000000009" << 0.0 << division;
        QTest::newRow("1/t at t=0") << "1/t" << 0.0 << division;
        QTest::newRow("folium at t=-1") << "3*t/(1+t^3)" << -1.0 << division;
        QTest::newRow("0^(-1)") << "0^(-1)" << 0.0 << base;
        QTest::newRow("tiny base, negative exponent") << "0.0000000000000009^(-2)" << 0.0 << base;
        QTest::newRow("tiny base before exponent rounding") << "0^(-3000000000)" << 0.0 << base;
        QTest::newRow("(-8)^(1/3)") << "(-8)^(1/3)" << 0.0 << base;
        QTest::newRow("negative base -1e-15") << "(-0.000000000000001)^0.5" << 0.0 << base;
        QTest::newRow("ln(0)") << "ln(0)" << 0.0 << log;
        QTest::newRow("ln(10^(-16))") << "ln(10^(-16))" << 0.0 << log;
        QTest::newRow("ln(-1)") << "ln(-1)" << 0.0 << log;
        QTest::newRow("sqrt(-1)") << "sqrt(-1)" << 0.0 << QByteArray("Záporný argument odmocniny");
        QTest::newRow("tan(pi/2)") << "tan(pi/2)" << 0.0 << QByteArray("Nedefinovaný tangens");
        QTest::newRow("tan(2^63)") << "tan(2^63)" << 0.0 << QByteArray("Nedefinovaný tangens");
        QTest::newRow("arcsin(1.5)") << "arcsin(1.5)" << 0.0 << QByteArray("Nepřípustný argument arcsin");
        QTest::newRow("arcsin(-1.0000001)") << "arcsin(-1.0000001)" << 0.0
                                            << QByteArray("Nepřípustný argument arcsin");
        QTest::newRow("arccos(2)") << "arccos(2)" << 0.0 << QByteArray("Nepřípustný argument arccos");
        QTest::newRow("fa(2.5)") << "fa(2.5)" << 0.0 << factorial;
        QTest::newRow("fa(-1)") << "fa(-1)" << 0.0 << factorial;
        QTest::newRow("fa of a huge negative") << "fa(-3000000000)" << 0.0 << factorial;
        QTest::newRow("error stops the program") << "1/0+10^(-400)" << 0.0 << division;
        QTest::newRow("error before a missing operand") << "1/0*" << 0.0 << division;
    }
    void domainErrors()
    {
        QFETCH(QString, text);
        QFETCH(double, t);
        QFETCH(QByteArray, message);
        const Outcome outcome = Run(text, t);
        QVERIFY(!outcome.Fault);
        QCOMPARE(Bytes(outcome.Message), message);
        COMPARE_BITS(outcome.Value, FailedResult);
    }

    void faults_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<FloatFaultKind>>("fault");
        const auto overflow = std::optional(FloatFaultKind::Overflow);
        const auto invalid = std::optional(FloatFaultKind::InvalidOperation);
        const auto division = std::optional(FloatFaultKind::DivisionByZero);
        QTest::newRow("10^(-400) forms 10^400 first") << "10^(-400)" << overflow;
        QTest::newRow("2^3000000000") << "2^3000000000" << invalid;
        QTest::newRow("exponent rounding before base test") << "(-8)^3000000000.5" << invalid;
        QTest::newRow("0^3000000000") << "0^3000000000" << invalid;
        QTest::newRow("exponent rounding to 2^31") << "2^2147483647.5" << invalid;
        QTest::newRow("2^2000000000") << "2^2000000000" << overflow;
        QTest::newRow("2^1024") << "2^1024" << overflow;
        QTest::newRow("2^(-1074) forms 2^1074 first") << "2^(-1074)" << overflow;
        QTest::newRow("reciprocal of an underflowed power") << "0.5^(-1100)" << division;
        QTest::newRow("exp(1000)") << "exp(1000)" << overflow;
        QTest::newRow("real power beyond range") << "10^400.5" << overflow;
        QTest::newRow("sum") << "10^308+10^308" << overflow;
        QTest::newRow("difference") << "-10^308-10^308" << overflow;
        QTest::newRow("product") << "10^200*10^200" << overflow;
        QTest::newRow("quotient") << "10^308/0.01" << overflow;
        QTest::newRow("square") << "sqr(10^200)" << overflow;
        QTest::newRow("fa(3000000000)") << "fa(3000000000)" << invalid;
        QTest::newRow("fa(2147483647.5)") << "fa(2147483647.5)" << invalid;
        QTest::newRow("literal beyond range") << ("1" + QString(309, '0')) << overflow;
    }
    void faults()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<FloatFaultKind>, fault);
        const Outcome outcome = Run(text);
        QCOMPARE(outcome.Fault, fault);
        QCOMPARE(Bytes(outcome.Message), NoMessage);
    }

    // Two or more values at the end: "Chybný výraz", and the top value.
    void endCheck_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("t");
        QTest::addColumn<double>("top");
        QTest::newRow("2(3)") << "2(3)" << 0.0 << 3.0;
        QTest::newRow("2t") << "2t" << 1.25 << 1.25;
        QTest::newRow("2pi") << "2pi" << 0.0 << 3.141592653589793;
        QTest::newRow("sin(t)cos(t) at 0") << "sin(t)cos(t)" << 0.0 << 1.0;
        QTest::newRow("sin(t)cos(t) at 1") << "sin(t)cos(t)" << 1.0 << 0.5403023058681398;
        QTest::newRow("three values") << "1(2)(3)" << 0.0 << 3.0;
        QTest::newRow("pi(2)") << "pi(2)" << 0.0 << 2.0;
    }
    void endCheck()
    {
        QFETCH(QString, text);
        QFETCH(double, t);
        QFETCH(double, top);
        const Outcome outcome = Run(text, t);
        QCOMPARE(Bytes(outcome.Message), QByteArray("Chybný výraz"));
        COMPARE_BITS(outcome.Value, top);
    }

    // An operator short of operands, or an end with no value, is refused where
    // it stands: "Chybný výraz" and FailedResult.
    void missingOperands_data()
    {
        QTest::addColumn<QString>("text");
        for (const char* text : {"2+", "*2", "(*2)", "sin()", "()", "+", "-", "t^()", "sqrt()*2", "2*(*3)"})
            QTest::newRow(text) << QString(text);
    }
    void missingOperands()
    {
        QFETCH(QString, text);
        const Outcome outcome = Run(text, 1.0);
        QVERIFY(!outcome.Fault);
        QCOMPARE(Bytes(outcome.Message), QByteArray("Chybný výraz"));
        COMPARE_BITS(outcome.Value, FailedResult);
    }

    void variables_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("K") << "k" << 1.5;
        QTest::newRow("N") << "n" << 2.5;
        QTest::newRow("R") << "r" << 3.5;
        QTest::newRow("S") << "s" << 4.5;
        QTest::newRow("T") << "t" << 5.5;
        QTest::newRow("X") << "x" << 6.5;
        QTest::newRow("Y") << "y" << 7.5;
        QTest::newRow("Z") << "z" << 8.5;
    }
    void variables()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        PlotState draw;
        draw.VarK = 1.5;
        draw.VarN = 2.5;
        draw.VarR = 3.5;
        draw.VarS = 4.5;
        draw.VarT = 5.5;
        draw.VarX = 6.5;
        draw.VarY = 7.5;
        draw.VarZ = 8.5;
        COMPARE_BITS(EvaluateExpression(draw, text.toStdString(), draw.ErrorText), expected);
        QCOMPARE(Bytes(draw.ErrorText), NoMessage);
    }

    // The presets against the same formulas in plain C++.
    void presets_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("formula");
        const char* texts[] = {"3*cos(t)", "3*sin(t)", "14*t*cos(80*pi/180)", "14*t*sin(80*pi/180)-5*t^2",
                               "3*t/(1+t^3)", "3*t^2/(1+t^3)", "-1/(1+0.8*cos(t))*cos(t)",
                               "-1/(1+0.8*cos(t))*sin(t)"};
        for (int i = 0; i < 8; ++i)
            QTest::newRow(texts[i]) << QString(texts[i]) << i;
    }
    void presets()
    {
        QFETCH(QString, text);
        QFETCH(int, formula);
        const double pi = 3.141592653589793;
        for (double t : {-2.5, -0.75, 0.0, 0.3, 1.0, 2.75, 6.2833}) {
            const double native[] = {3 * std::cos(t), 3 * std::sin(t), 14 * t * std::cos(80 * pi / 180),
                                     14 * t * std::sin(80 * pi / 180) - 5 * t * t, 3 * t / (1 + t * t * t),
                                     3 * t * t / (1 + t * t * t), -1 / (1 + 0.8 * std::cos(t)) * std::cos(t),
                                     -1 / (1 + 0.8 * std::cos(t)) * std::sin(t)};
            const Outcome outcome = Run(text, t);
            QCOMPARE(Bytes(outcome.Message), NoMessage);
            QVERIFY2(std::fabs(outcome.Value - native[formula]) <= 1e-13 * (1 + std::fabs(native[formula])),
                     (Shown(outcome.Value) + " against " + Shown(native[formula])).constData());
        }
    }

    // A formula that takes both the sine and the cosine of one argument gets
    // them together; each must be what the formula with one of them gives.
    void sineAndCosineTogether()
    {
        PlotState draw;
        PostfixProgram sine{}, cosine{}, both{}, bothReversed{}, tangent{};
        CompileExpression(draw, "sin(t)", draw.ErrorText, sine);
        CompileExpression(draw, "cos(t)", draw.ErrorText, cosine);
        CompileExpression(draw, "cos(t)sin(t)", draw.ErrorText, both);
        CompileExpression(draw, "sin(t)cos(t)", draw.ErrorText, bothReversed);
        CompileExpression(draw, "tan(t)", draw.ErrorText, tangent);
        QCOMPARE(Bytes(draw.ErrorText), NoMessage);
        int checked = 0;
        for (int i = -3000; i <= 3000; ++i) {
            for (double t : {i * 0.00731, std::ldexp(1.0 + i * 1e-4, i / 50), -0.0, 0.0}) {
                draw.VarT = t;
                const double s = EvaluatePostfix(draw, sine, draw.ErrorText);
                const double c = EvaluatePostfix(draw, cosine, draw.ErrorText);
                COMPARE_BITS(EvaluatePostfix(draw, both, draw.ErrorText), s);
                COMPARE_BITS(EvaluatePostfix(draw, bothReversed, draw.ErrorText), c);
                const double tan = EvaluatePostfix(draw, tangent, draw.ErrorText);
                if (draw.ErrorText.empty())
                    QVERIFY(std::fabs(tan - s / c) <= 1e-14 * (1 + std::fabs(tan)));
                ++checked;
            }
        }
        QCOMPARE(checked, 4 * 6001);
    }

    void intPower_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("n");
        QTest::addColumn<double>("expected");
        QTest::addColumn<std::optional<FloatFaultKind>>("fault");
        const auto none = NoFault();
        const auto overflow = std::optional(FloatFaultKind::Overflow);
        const auto division = std::optional(FloatFaultKind::DivisionByZero);
        QTest::newRow("2^10") << 2.0 << 10 << 1024.0 << none;
        QTest::newRow("2^-2") << 2.0 << -2 << 0.25 << none;
        QTest::newRow("(-2)^3") << -2.0 << 3 << -8.0 << none;
        QTest::newRow("0^0") << 0.0 << 0 << 1.0 << none;
        QTest::newRow("0^5") << 0.0 << 5 << 0.0 << none;
        QTest::newRow("(-0)^3 is -0") << -0.0 << 3 << -0.0 << none;
        QTest::newRow("(-0)^2 is +0") << -0.0 << 2 << 0.0 << none;
        QTest::newRow("1^max") << 1.0 << IntMax << 1.0 << none;
        QTest::newRow("(-1)^max") << -1.0 << IntMax << -1.0 << none;
        QTest::newRow("(-1)^min") << -1.0 << IntMin << 1.0 << none;
        QTest::newRow("each product rounded 1.1^7") << 1.1 << 7 << 1.9487171000000014 << none;
        QTest::newRow("each product rounded 1.1^13") << 1.1 << 13 << 3.4522712143931042 << none;
        QTest::newRow("each product rounded 0.9^31") << 0.9 << 31 << 0.03815204244769462 << none;
        QTest::newRow("each product rounded 3.3^11") << 3.3 << 11 << 505421.065137268 << none;
        QTest::newRow("each product rounded 0.3^5") << 0.3 << 5 << 0.00243 << none;
        QTest::newRow("0.5^1074 smallest denormal") << 0.5 << 1074 << 4.9406564584124654e-324 << none;
        QTest::newRow("0.5^1075 ties to 0") << 0.5 << 1075 << 0.0 << none;
        QTest::newRow("(-0.5)^1075 is -0") << -0.5 << 1075 << -0.0 << none;
        QTest::newRow("0.75^2000000000 sticks") << 0.75 << 2000000000 << 1e-323 << none;
        QTest::newRow("(-0.75)^2000000001 sticks") << -0.75 << 2000000001 << -1e-323 << none;
        QTest::newRow("0.9^2000000000 sticks") << 0.9 << 2000000000 << 2.5e-323 << none;
        QTest::newRow("2^-1022") << 2.0 << -1022 << 2.2250738585072014e-308 << none;
        QTest::newRow("2^1024") << 2.0 << 1024 << 0.0 << overflow;
        QTest::newRow("10^-400") << 10.0 << -400 << 0.0 << overflow;
        QTest::newRow("1.5^2000000000") << 1.5 << 2000000000 << 0.0 << overflow;
        QTest::newRow("2^min") << 2.0 << IntMin << 0.0 << overflow;
        QTest::newRow("0.5^-1074 reciprocal too large") << 0.5 << -1074 << 0.0 << overflow;
        QTest::newRow("0.5^-1100 reciprocal of 0") << 0.5 << -1100 << 0.0 << division;
        QTest::newRow("0^-1") << 0.0 << -1 << 0.0 << division;
    }
    void intPower()
    {
        QFETCH(double, x);
        QFETCH(int, n);
        QFETCH(double, expected);
        QFETCH(std::optional<FloatFaultKind>, fault);
        double result = 0.0;
        QCOMPARE(FaultOf([&] { result = IntPower(x, n); }), fault);
        if (!fault)
            COMPARE_BITS(result, expected);
    }

    void factorial_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("expected");
        QTest::newRow("0") << 0 << 1;
        QTest::newRow("1") << 1 << 1;
        QTest::newRow("2") << 2 << 2;
        QTest::newRow("5") << 5 << 120;
        QTest::newRow("12") << 12 << 479001600;
        QTest::newRow("13") << 13 << 1932053504;
        QTest::newRow("17") << 17 << -288522240;
        QTest::newRow("20") << 20 << -2102132736;
        QTest::newRow("25") << 25 << 2076180480;
        QTest::newRow("31") << 31 << 738197504;
        QTest::newRow("32") << 32 << IntMin;
        QTest::newRow("33") << 33 << IntMin;
        QTest::newRow("34") << 34 << 0;
        QTest::newRow("35") << 35 << 0;
        QTest::newRow("max") << IntMax << 0;
        QTest::newRow("negative") << -1 << 1;
        QTest::newRow("min") << IntMin << 1;
    }
    void factorial()
    {
        QFETCH(int, n);
        QFETCH(int, expected);
        QCOMPARE(Factorial(n), expected);
    }

    // A recursive or linear product would take seconds per call here.
    void factorialOfLargeArgumentsIsQuick()
    {
        std::int64_t sum = 0;
        for (std::int32_t n = IntMax; n > IntMax - 1000000; --n)
            sum += Factorial(n);
        QCOMPARE(sum, std::int64_t(0));
    }
};

QTEST_APPLESS_MAIN(TestEvaluate)
#include "test_evaluate.moc"
