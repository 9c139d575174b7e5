// SPDX-License-Identifier: GPL-3.0-or-later
// The prepared form against EvaluatePostfix, which stays the reference: on
// random formulas over the whole language and on random raw programs, at many
// parameter values, both give the same value bit for bit, the same message
// and the same fault. Also: constant parts are really worked out beforehand,
// failing constant parts fail where they stood, and the error text protocol.
#include <QtTest>

#include <array>
#include <limits>
#include <map>
#include <random>

#include "EngineTestSupport.h"
#include "FormulaGenerator.h"
#include "PreparedProgram.h"

Q_DECLARE_METATYPE(FormulaFamily)

namespace {

struct Outcome {
    double Value = 0.0;
    std::string Message;
    std::optional<FloatFaultKind> Fault;
};

const char* FaultName(std::optional<FloatFaultKind> fault)
{
    return fault ? FloatFaultMessage(*fault) : "no fault";
}

QByteArray Describe(const Outcome& o)
{
    return Shown(o.Value) + " [" + Bytes(o.Message) + "] " + FaultName(o.Fault);
}

// An evaluation starting with an earlier, non-blocking message in the text.
template <typename Evaluate>
Outcome Run(double t, Evaluate&& evaluate)
{
    static PlotState draw;  // large: keep it off the stack
    draw.VarT = t;
    draw.VarX = 0.25;  // the other slots take part too
    draw.ErrorText = DivisionByZeroText;
    Outcome outcome;
    outcome.Fault = FaultOf([&] { outcome.Value = evaluate(draw); });
    outcome.Message = draw.ErrorText;
    return outcome;
}

bool Same(const Outcome& a, const Outcome& b)
{
    return a.Fault == b.Fault && a.Message == b.Message && (a.Fault || SameBits(a.Value, b.Value));
}

constexpr double Pi = 3.141592653589793;
// Non-finite values never reach a variable slot in the program; they are
// here because the prepared form must not differ even then.
const double ParameterValues[] = {0.0, -0.0, 1.0, -1.0, 0.5, -2.75, 3.0, 20.0, -20.0, 1e10, 1e-16, Pi / 2,
                                  Pi, 0.9999999999999999, 13.0, 1e300, std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN()};

// Compares both paths at every parameter value. Returns the outcomes of the
// reference, or an empty list after a failed comparison (reported). Tells
// whether preparation found a failure among constants or in the structure.
QList<Outcome> CompareAll(const PostfixProgram& program, const QByteArray& what, bool* failsBeforehand = nullptr)
{
    const PreparedProgram prepared = PrepareProgram(program);
    if (failsBeforehand) {
        *failsBeforehand = false;
        for (const PreparedInstruction& instruction : prepared.Code)
            *failsBeforehand = *failsBeforehand || instruction.Op == PreparedOp::FailMessage ||
                               instruction.Op == PreparedOp::FailFault;
    }
    QList<Outcome> outcomes;
    for (double t : ParameterValues) {
        const Outcome expected = Run(t, [&](PlotState& d) { return EvaluatePostfix(d, program, d.ErrorText); });
        const Outcome actual = Run(t, [&](PlotState& d) { return EvaluatePrepared(d, prepared, d.ErrorText); });
        if (!Same(actual, expected)) {
            QTest::qFail((what + " at t = " + Shown(t) + ": prepared " + Describe(actual) + ", reference " +
                          Describe(expected))
                             .constData(),
                         __FILE__, __LINE__);
            return {};
        }
        outcomes.append(expected);
    }
    return outcomes;
}

std::string OutcomeKey(const Outcome& o)
{
    if (o.Fault)
        return FloatFaultMessage(*o.Fault);
    return o.Message.empty() ? "success" : o.Message;
}

// Counted apart: a program whose failure preparation already knows.
const char KnownFailure[] = "failure known beforehand";

const char* const EvaluationMessages[] = {StructureErrorText, DivisionByZeroText, PowerBaseErrorText,
                                          LogArgumentErrorText, TangentErrorText, SqrtArgumentErrorText,
                                          ArcsinArgumentErrorText, ArccosArgumentErrorText,
                                          FactorialArgumentErrorText};

}  // namespace

class TestPrepared : public QObject {
    Q_OBJECT

private slots:
    // Each family must reach the outcomes listed, so that the comparison
    // covers every message and every fault, not only successes.
    void randomFormulas_data()
    {
        QTest::addColumn<FormulaFamily>("family");
        QTest::addColumn<unsigned>("seed");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("mustReach");
        const QStringList faults = {FloatFaultMessage(FloatFaultKind::Overflow),
                                    FloatFaultMessage(FloatFaultKind::InvalidOperation),
                                    FloatFaultMessage(FloatFaultKind::DivisionByZero)};
        QStringList domains;
        for (const char* m : EvaluationMessages)
            domains << QString::fromUtf8(m);
        domains.removeOne(StructureErrorText);
        const QStringList all = QStringList{StructureErrorText, KnownFailure} + domains + faults;
        QTest::newRow("curves") << FormulaFamily::Curves << 11u << 6000 << QStringList{"success", DivisionByZeroText};
        QTest::newRow("domains") << FormulaFamily::Domains << 12u << 8000 << domains + QStringList{KnownFailure};
        QTest::newRow("faults") << FormulaFamily::Faults << 13u << 8000 << faults + QStringList{KnownFailure};
        QTest::newRow("structure") << FormulaFamily::Structure << 14u << 6000
                                   << QStringList{StructureErrorText, KnownFailure};
        QTest::newRow("mixed") << FormulaFamily::Mixed << 15u << 12000 << all;
    }
    void randomFormulas()
    {
        QFETCH(FormulaFamily, family);
        QFETCH(unsigned, seed);
        QFETCH(int, count);
        QFETCH(QStringList, mustReach);

        FormulaGenerator generator(seed, family);
        std::map<std::string, int> reached;
        int compiled = 0;
        for (int n = 0; n < count; ++n) {
            const std::string text = generator.Next();
            PlotState draw;
            PostfixProgram program{};
            const auto literalFault = FaultOf([&] { CompileExpression(draw, text, draw.ErrorText, program); });
            if (literalFault || !draw.ErrorText.empty())
                continue;
            ++compiled;
            bool failsBeforehand = false;
            const QList<Outcome> outcomes = CompareAll(program, QByteArray::fromStdString(text), &failsBeforehand);
            if (outcomes.isEmpty())
                return;
            if (failsBeforehand)
                ++reached[KnownFailure];
            for (const Outcome& o : outcomes)
                ++reached[OutcomeKey(o)];
        }
        QVERIFY2(compiled > count / 2, "the generator makes mostly formulas that compile");
        for (const QString& outcome : mustReach)
            QVERIFY2(reached.count(outcome.toStdString()), qPrintable("never reached: " + outcome));
    }

    // Raw programs, as no formula makes them: unknown tags, non-finite
    // numbers, no end cell, operators short of operands, values left over.
    void randomPrograms_data()
    {
        QTest::addColumn<unsigned>("seed");
        QTest::addColumn<int>("length");
        QTest::newRow("short") << 21u << 6;
        QTest::newRow("medium") << 22u << 20;
        QTest::newRow("no end cell") << 23u << 256;
    }
    void randomPrograms()
    {
        QFETCH(unsigned, seed);
        QFETCH(int, length);
        static const unsigned char Tags[] = {'$', '$', '$', 'T', 'T', 'X', '+', '-', '*', '/', '^', CodeNegate,
                                             CodeSin, CodeCos, CodeExp, CodeLn, CodeArctan, CodeTan, CodeSqr,
                                             CodeSqrt, CodeAbs, CodeArcsin, CodeArccos, CodeFa, EndTag, 'P', '('};
        static const double Values[] = {0.0, -0.0, 1.0, -1.0, 2.0, 3.0, 0.5, 1e-15, 1e-16, 1e308, 400.0, 3e9,
                                        2147483648.0, 13.0, std::numeric_limits<double>::infinity(),
                                        std::numeric_limits<double>::quiet_NaN()};
        std::mt19937 random(seed);
        const auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
        std::map<std::string, int> reached;
        for (int n = 0; n < 3000; ++n) {
            PostfixProgram program = FilledProgram(EndTag, 0.0);
            for (int i = 0; i < length; ++i) {
                const unsigned char tag = Tags[pick(std::size(Tags))];
                program[i] = PostfixCell{tag, tag == '$' ? Values[pick(std::size(Values))] : 0.0};
            }
            QByteArray cells;
            for (int i = 0; i < length && i < 12; ++i)
                cells += Describe(program[i]);
            const QList<Outcome> outcomes = CompareAll(program, "program " + cells);
            if (outcomes.isEmpty())
                return;
            for (const Outcome& o : outcomes)
                ++reached[OutcomeKey(o)];
        }
        QVERIFY(reached.count(StructureErrorText));
        QVERIFY(reached.count("success") || length == 256);
    }

    // Constant parts, whole or inside variable ones, cases by hand; each
    // against the reference at every parameter value.
    void chosenFormulas_data()
    {
        QTest::addColumn<QString>("text");
        for (const char* text : {
                 // presets
                 "3*cos(t)", "14*t*cos(80*pi/180)", "14*t*sin(80*pi/180)-5*t^2", "3*t^2/(1+t^3)",
                 "-1/(1+0.8*cos(t))*cos(t)", "-1/(1+0.8*cos(t))*sin(t)",
                 // wholly constant, and a constant on either side of every operator
                 "2*pi", "fa(5)+ln(10)", "2-t", "t-2", "2/t", "t/2", "2^t", "(-8)^t", "t^2", "t^3", "t^(-1)",
                 "t^0", "t^(-0)", "t^0.5", "t^(1/3)", "t^(-2)", "t^2147483647.4", "0^t", "(-0)^t",
                 // sine and cosine of one argument, shared or not
                 "sin(t)*cos(t)", "tan(t)+sin(t)", "sin(t)+cos(1)", "cos(t)+cos(t)", "sin(-t)+cos(t)",
                 // constant parts that fail: where they stand, after what runs before
                 "t+1/0", "ln(t)+1/0", "1/t+ln(0)", "t*exp(1000)", "1/t*10^(-400)", "exp(t)*2^3000000000",
                 "sqrt(t)+0.1^(-400)", "t/(1-1)", "t/0.0000000000000001", "t/0.000000000000001",
                 "tan(pi/2)+t", "arcsin(2)*t", "fa(2.5)-t", "t^3000000000", "(-t)^3000000000", "t+(-8)^(1/3)",
                 "0^(-1)+t", "fa(13)+fa(34)+t",
                 // products by constants in a row (run as one), whose result
                 // goes on into another operation; short and long constants
                 "-(5.8*(t*pi))", "(sin(-14)*(100*arccos(t)))^t", "-0.1*(t*arctan(710))", "t/(0.25*(t*100))",
                 "3*(t*0.5)+t", "t*14*0.1*3", "t*10^300*10^10", "t*(-0)*3", "t*2^(-1074)*0.5", "t*0.1*2^(-1070)",
                 "10^308*(t*10)", "(t*3)*(t*0.1)",
                 // refused structures around constant parts
                 "2(3)", "2t", "2pi", "sin(t)cos(t)", "t+", "1/0+", "(1/0)(t)", "(t)(1/0)", "sin()", "()", "+",
                 "exp(1000)t", "t(exp(1000))", "ln(t)2"})
            QTest::newRow(text) << QString(text);
    }
    void chosenFormulas()
    {
        QFETCH(QString, text);
        PlotState draw;
        PostfixProgram program{};
        CompileExpression(draw, text.toStdString(), draw.ErrorText, program);
        QCOMPARE(Bytes(draw.ErrorText), QByteArray());
        QVERIFY(!CompareAll(program, text.toUtf8()).isEmpty());
    }

    // Constant parts are worked out beforehand: what is left to run holds no
    // operation on constants alone, and failures are kept, not run.
    void foldedWork_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("operations");  // instructions before End or a failure
        QTest::addColumn<bool>("fails");
        QTest::newRow("throw x") << "14*t*cos(80*pi/180)" << 2 << false;
        QTest::newRow("throw y") << "14*t*sin(80*pi/180)-5*t^2" << 5 << false;
        QTest::newRow("all constant") << "sqrt(fa(4)+ln(exp(2)))*pi" << 0 << false;
        QTest::newRow("inside a function") << "sin(t*(1+1))" << 2 << false;
        QTest::newRow("failing part kept") << "t+ln(1-1)" << 0 << true;
        QTest::newRow("fails after a variable part") << "exp(t)+ln(0)" << 1 << true;
        QTest::newRow("fault kept") << "sin(t)*exp(1000)" << 1 << true;
        QTest::newRow("refused structure") << "t*2+" << 1 << true;
    }
    void foldedWork()
    {
        QFETCH(QString, text);
        QFETCH(int, operations);
        QFETCH(bool, fails);
        PlotState draw;
        PostfixProgram program{};
        CompileExpression(draw, text.toStdString(), draw.ErrorText, program);
        QCOMPARE(Bytes(draw.ErrorText), QByteArray());
        const PreparedProgram prepared = PrepareProgram(program);
        int count = 0;  // operations up to the one that returns, an End or a failure
        bool failed = false;
        for (const PreparedInstruction& instruction : prepared.Code) {
            const PreparedOp op = instruction.Op;
            failed = op == PreparedOp::FailMessage || op == PreparedOp::FailFault;
            if (failed || op == PreparedOp::End || op == PreparedOp::EndConstant)
                break;
            ++count;
            if (instruction.Last)
                break;
        }
        QCOMPARE(count, operations);
        QCOMPARE(failed, fails);
    }

    // The error text at entry: a compile message blocks the run and stays;
    // anything else is cleared, also on the path of a constant result.
    void entryText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        for (const char* formula : {"3*sin(t)", "2*pi", "t+ln(0)"}) {
            const QByteArray after = QByteArray(formula) == "t+ln(0)" ? QByteArray(LogArgumentErrorText) : QByteArray();
            QTest::addRow("%s, syntax message", formula) << QString(formula) << QByteArray(SyntaxErrorText) << QByteArray(SyntaxErrorText);
            QTest::addRow("%s, number message", formula) << QString(formula) << QByteArray(NumberErrorText) << QByteArray(NumberErrorText);
            QTest::addRow("%s, structure message", formula) << QString(formula) << QByteArray(StructureErrorText) << after;
            QTest::addRow("%s, domain message", formula) << QString(formula) << QByteArray(TangentErrorText) << after;
            QTest::addRow("%s, other text", formula) << QString(formula) << QByteArray("Chybny vyrazy") << after;
        }
    }
    void entryText()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        PlotState draw;
        draw.VarT = 1.0;
        PostfixProgram program{};
        CompileExpression(draw, text.toStdString(), draw.ErrorText, program);
        const PreparedProgram prepared = PrepareProgram(program);
        draw.ErrorText = before.toStdString();
        const double value = EvaluatePrepared(draw, prepared, draw.ErrorText);
        QCOMPARE(Bytes(draw.ErrorText), after);
        if (after == SyntaxErrorText || after == NumberErrorText)
            COMPARE_BITS(value, FailedResult);
    }
};

QTEST_APPLESS_MAIN(TestPrepared)
#include "test_prepared.moc"
