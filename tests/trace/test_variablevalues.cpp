// SPDX-License-Identifier: GPL-3.0-or-later
// The values of the variables and their sliders' ranges: how the texts are
// read and refused, the steps a slider or a sweep goes through, and a press
// that draws with its variables exactly as with the numbers written in.
#include <QtTest>

#include <cmath>
#include <limits>
#include <set>

#include "PressRun.h"
#include "Expression.h"
#include "PlaneCheck.h"
#include "RecordingHost.h"
#include "VariableValues.h"

namespace {

struct Traced {
    std::unique_ptr<PlotSurface> Surface;
    std::vector<TracedPoint> Points;
    PressResult Outcome;
};

Traced Trace(const TracePress& press)
{
    Traced traced{FreshSurface(), {}, {}};
    RecordingHost host;
    host.DashedMode = press.Dashed;
    traced.Outcome = RunPress(*traced.Surface, press, host);
    traced.Points = host.Points;
    return traced;
}

TracePress CurvePress(const char* x, const char* y)
{
    TracePress press = StartPress();
    press.Texts.EquationX = x;
    press.Texts.EquationY = y;
    return press;
}

std::size_t IndexOf(char letter)
{
    for (std::size_t i = 0; i < VariableCount; ++i) {
        if (PressVariables[i].Letter == letter)
            return i;
    }
    return VariableCount;
}

}  // namespace

class TestVariableValues : public QObject {
    Q_OBJECT

private slots:
    void ValueRead_data();
    void ValueRead();
    void ValueFaultPassesOut();
    void RangeRead_data();
    void RangeRead();
    void StepsOfARange_data();
    void StepsOfARange();
    void ValueTextReadsBack_data();
    void ValueTextReadsBack();
    void AStepAtZeroIsWrittenZero();
    void NearestStepOfAValue();
    void VariablesUsedByAFormula_data();
    void VariablesUsedByAFormula();
    void TableNamesEverySlotOnce();
    void VariableDrawsAsTheNumberWrittenIn_data();
    void VariableDrawsAsTheNumberWrittenIn();
    void BoundsUseTheVariables();
    void AllZeroDrawsAsBefore();
    void RefusedValueEndsThePressFirst();
};

void TestVariableValues::ValueRead_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("message");

    QTest::newRow("a number") << "2" << true << 2.0 << "";
    QTest::newRow("a decimal comma") << "0,5" << true << 0.5 << "";
    QTest::newRow("minus pi") << "-pi" << true << -PiValue << "";
    QTest::newRow("a function") << "sqrt(16)/2" << true << 2.0 << "";
    QTest::newRow("the variable itself") << "2*k" << false << 0.0 << VariableInValueText;
    QTest::newRow("another variable") << "z" << false << 0.0 << VariableInValueText;
    QTest::newRow("t is a variable too") << "t+1" << false << 0.0 << VariableInValueText;
    QTest::newRow("upper case variable") << "N" << false << 0.0 << VariableInValueText;
    QTest::newRow("sqrt is no variable s") << "sqrt(4)" << true << 2.0 << "";
    QTest::newRow("empty") << "" << false << 0.0 << SyntaxErrorText;
    QTest::newRow("a space") << "1 " << false << 0.0 << SyntaxErrorText;
    QTest::newRow("two points") << "1.2.3" << false << 0.0 << NumberErrorText;
    QTest::newRow("no single value") << "2(3)" << false << 0.0 << StructureErrorText;
    QTest::newRow("division by zero") << "1/0" << false << 0.0 << DivisionByZeroText;
    QTest::newRow("square root of minus one") << "sqrt(-1)" << false << 0.0 << SqrtArgumentErrorText;
}

void TestVariableValues::ValueRead()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    QFETCH(QString, message);

    PlotState state;
    state.VarK = 5;  // must not matter: a value uses no variable
    double read = -1.0;
    std::string said;
    QCOMPARE(EvaluateValue(state, text.toStdString(), read, said), ok);
    if (ok) {
        QCOMPARE(read, value);
    } else {
        QCOMPARE(QString::fromStdString(said), message);
        QCOMPARE(read, -1.0);
    }
}

void TestVariableValues::ValueFaultPassesOut()
{
    PlotState state;
    double read = 0.0;
    std::string said;
    QVERIFY_THROWS_EXCEPTION(FloatFault, EvaluateValue(state, "exp(1000)", read, said));
}

void TestVariableValues::RangeRead_data()
{
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    QTest::addColumn<QString>("step");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("part");

    QTest::newRow("the default") << "-10" << "10" << "0.1" << true << qint64(201) << "" << 0;
    QTest::newRow("a step that does not reach the end") << "0" << "1" << "0.3" << true << qint64(4) << "" << 0;
    QTest::newRow("one value") << "0" << "1" << "5" << true << qint64(1) << "" << 0;
    QTest::newRow("formulas") << "-pi" << "pi" << "pi/4" << true << qint64(9) << "" << 0;
    QTest::newRow("ten thousand") << "0" << "9999" << "1" << true << qint64(10000) << "" << 0;
    QTest::newRow("one too many") << "0" << "10000" << "1" << false << qint64(0) << RangeCountText
                                  << int(RangePart::Step);
    QTest::newRow("a tiny step") << "-10" << "10" << "0.000001" << false << qint64(0) << RangeCountText
                                 << int(RangePart::Step);
    QTest::newRow("equal bounds") << "1" << "1" << "0.1" << false << qint64(0) << RangeOrderText
                                  << int(RangePart::High);
    QTest::newRow("backward") << "2" << "1" << "0.1" << false << qint64(0) << RangeOrderText
                              << int(RangePart::High);
    QTest::newRow("zero step") << "0" << "1" << "0" << false << qint64(0) << RangeStepText << int(RangePart::Step);
    QTest::newRow("negative step") << "0" << "1" << "-0.1" << false << qint64(0) << RangeStepText
                                   << int(RangePart::Step);
    QTest::newRow("a variable in the lower bound") << "-r" << "1" << "0.1" << false << qint64(0)
                                                   << VariableInValueText << int(RangePart::Low);
    QTest::newRow("no formula in the upper bound") << "0" << "1+" << "0.1" << false << qint64(0)
                                                   << StructureErrorText << int(RangePart::High);
    QTest::newRow("a domain error in the step") << "0" << "1" << "ln(0)" << false << qint64(0)
                                                << LogArgumentErrorText << int(RangePart::Step);
}

void TestVariableValues::RangeRead()
{
    QFETCH(QString, low);
    QFETCH(QString, high);
    QFETCH(QString, step);
    QFETCH(bool, ok);
    QFETCH(qint64, count);
    QFETCH(QString, message);
    QFETCH(int, part);

    PlotState state;
    const VariableTexts texts{"0", low.toStdString(), high.toStdString(), step.toStdString()};
    SliderRange range;
    std::string said;
    RangePart about = RangePart::Low;
    QCOMPARE(ReadSliderRange(state, texts, range, said, &about), ok);
    if (ok) {
        QCOMPARE(range.Count, count);
        // Every step is within the bounds, and one more would not be.
        QVERIFY(SweepValue(range, range.Count - 1) <= range.High);
        QVERIFY(Extended(range.Low) + Extended(range.Count) * Extended(range.Step) > Extended(range.High));
    } else {
        QCOMPARE(QString::fromStdString(said), message);
        QCOMPARE(int(about), part);
    }
}

void TestVariableValues::StepsOfARange_data()
{
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    QTest::addColumn<QString>("step");
    QTest::addColumn<qint64>("index");
    QTest::addColumn<QString>("shown");

    QTest::newRow("the start") << "-10" << "10" << "0.1" << qint64(0) << "-10";
    QTest::newRow("near zero, not a rounding's tail") << "-10" << "10" << "0.1" << qint64(97) << "-0.3";
    QTest::newRow("zero, not minus zero") << "-10" << "10" << "0.1" << qint64(100) << "0";
    QTest::newRow("the end is the upper bound") << "-10" << "10" << "0.1" << qint64(200) << "10";
    QTest::newRow("thirds stay as exact as a double") << "0" << "1" << "1/3" << qint64(1) << "0.3333333333333333";
    QTest::newRow("pi steps") << "0" << "2*pi" << "pi/2" << qint64(2) << "3.141592653589793";
    QTest::newRow("a big start keeps its small steps") << "10000000000" << "10000000000.01" << "0.00001"
                                                       << qint64(3) << "10000000000.00003";
}

void TestVariableValues::StepsOfARange()
{
    QFETCH(QString, low);
    QFETCH(QString, high);
    QFETCH(QString, step);
    QFETCH(qint64, index);
    QFETCH(QString, shown);

    PlotState state;
    SliderRange range;
    std::string said;
    QVERIFY(ReadSliderRange(state, {"0", low.toStdString(), high.toStdString(), step.toStdString()}, range, said));
    QCOMPARE(QString::fromStdString(FormulaText(SweepValue(range, index))), shown);
    // The steps rise strictly all the way and stay as near LOW + i * STEP
    // as the rounding of the doubles that stand for the decimals allows.
    for (std::int64_t i = 0; i < range.Count; ++i) {
        const double value = SweepValue(range, i);
        QVERIFY(value <= range.High);
        if (i > 0)
            QVERIFY(value > SweepValue(range, i - 1));
        const Extended exact = Extended(range.Low) + Extended(i) * Extended(range.Step);
        const Extended gathered = (Extended(i + 1) * Extended(range.Step) + std::fabs(Extended(range.Low))) * 0x1p-52L;
        const Extended halfUlp = std::fabs(Extended(value)) * 0x1p-53L;
        QVERIFY(std::fabs(Extended(value) - exact) <= gathered + halfUlp);
    }
}

void TestVariableValues::ValueTextReadsBack_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("a tenth") << 0.1 << "0.1";
    QTest::newRow("a sum's rounding kept") << 0.1 + 0.2 << "0.30000000000000004";
    QTest::newRow("negative") << -10.0 << "-10";
    QTest::newRow("minus zero") << -0.0 << "-0";
    QTest::newRow("small, without an exponent") << 1e-5 << "0.00001";
    QTest::newRow("large, without an exponent") << 1e20 << "100000000000000000000";
    QTest::newRow("pi") << PiValue << "3.141592653589793";
    QTest::newRow("the largest double") << std::numeric_limits<double>::max() << "";
    QTest::newRow("the smallest denormal") << std::numeric_limits<double>::denorm_min() << "";
}

// A slider's step at zero shows and gives 0, never -0, also from a range
// that starts at -0.
void TestVariableValues::AStepAtZeroIsWrittenZero()
{
    const SliderRange range{-0.0, 1.0, 0.5, 3};
    QCOMPARE(FormulaText(SweepValue(range, 0)), std::string("0"));
    QVERIFY(!std::signbit(SweepValue(range, 0)));
    const SliderRange through{-1.0, 1.0, 0.5, 5};
    QCOMPARE(FormulaText(SweepValue(through, 2)), std::string("0"));
}

void TestVariableValues::ValueTextReadsBack()
{
    QFETCH(double, value);
    QFETCH(QString, text);

    const std::string shown = FormulaText(value);
    if (!text.isEmpty())
        QCOMPARE(QString::fromStdString(shown), text);
    // The engine reads it back as the very same double.
    PlotState state;
    double read = -1.0;
    std::string said;
    QVERIFY2(EvaluateValue(state, shown, read, said), said.c_str());
    QCOMPARE(read, value);
    QCOMPARE(std::signbit(read), std::signbit(value));
}

void TestVariableValues::NearestStepOfAValue()
{
    const SliderRange range{-10.0, 10.0, 0.1, 201};
    QCOMPARE(NearestStep(range, -10.0), qint64(0));
    QCOMPARE(NearestStep(range, -100.0), qint64(0));
    QCOMPARE(NearestStep(range, 0.0), qint64(100));
    QCOMPARE(NearestStep(range, 0.26), qint64(103));
    QCOMPARE(NearestStep(range, 0.24), qint64(102));
    QCOMPARE(NearestStep(range, 10.0), qint64(200));
    QCOMPARE(NearestStep(range, 1e300), qint64(200));
    for (std::int64_t i = 0; i < range.Count; ++i)
        QCOMPARE(NearestStep(range, SweepValue(range, i)), i);
}

void TestVariableValues::VariablesUsedByAFormula_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("used");

    QTest::newRow("none") << "3*cos(t)" << "";
    QTest::newRow("one") << "sin(k*t)" << "k";
    QTest::newRow("in either case") << "N*t+n" << "n";
    QTest::newRow("several") << "r*(t-sin(t))+s*x+y*z" << "rsxyz";
    QTest::newRow("letters of function names are none") << "sqrt(sqr(abs(t)))+arctan(exp(ln(t)))" << "";
    QTest::newRow("pi is none") << "pi*t" << "";
    QTest::newRow("a formula the engine cannot read uses none") << "k *t" << "";
    QTest::newRow("unbalanced") << "(k" << "";
}

void TestVariableValues::VariablesUsedByAFormula()
{
    QFETCH(QString, formula);
    QFETCH(QString, used);

    const std::array<bool, VariableCount> found = VariablesUsedBy(formula.toStdString());
    QString letters;
    for (std::size_t i = 0; i < VariableCount; ++i) {
        if (found[i])
            letters += QChar::fromLatin1(PressVariables[i].Letter);
    }
    QCOMPARE(letters, used);
}

void TestVariableValues::TableNamesEverySlotOnce()
{
    std::vector<double PlotState::*> slotsSeen;
    std::set<std::string> keys;
    PlotState state;
    for (const PressVariable& variable : PressVariables) {
        for (double PlotState::*seen : slotsSeen)
            QVERIFY(seen != variable.Slot);
        slotsSeen.push_back(variable.Slot);
        keys.insert(variable.LessonKey);
        keys.insert(variable.RangeKey);
        QCOMPARE(FindPressVariable(variable.Field), &variable);
        // x and y are the formulas' keys already.
        const bool formulaLetter = variable.Letter == 'x' || variable.Letter == 'y';
        QCOMPARE(std::string(variable.LessonKey), std::string(1, variable.Letter) + (formulaLetter ? "-value" : ""));
        QCOMPARE(std::string(variable.RangeKey), std::string(1, variable.Letter) + "-slider");
        // The letter is the one the engine reads into that slot.
        state.*variable.Slot = 7.0;
        const std::string formula(1, variable.Letter);
        QCOMPARE(EvaluateExpression(state, formula, state.ErrorText), 7.0);
        state.*variable.Slot = 0.0;
        QCOMPARE(EvaluateExpression(state, formula, state.ErrorText), 0.0);
    }
    QCOMPARE(slotsSeen.size(), VariableCount);
    QCOMPARE(keys.size(), 2 * VariableCount);
    QCOMPARE(FindPressVariable(InputField::X1), nullptr);
    QVERIFY(StartPress().Variables == (std::array<VariableTexts, VariableCount>{}));
    QCOMPARE(StartPress().Variables[0].Value, std::string("0"));
    QCOMPARE(StartPress().Variables[0].Step, std::string("0.1"));
}

void TestVariableValues::VariableDrawsAsTheNumberWrittenIn_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    QTest::addColumn<QString>("written");

    QTest::newRow("k in a cosine") << "k" << "2" << "3*cos(k*t)" << "3*sin(t)" << "2";
    QTest::newRow("y a fraction") << "y" << "0.3" << "3*sin(t)" << "3*cos(y*t)" << "0.3";
    QTest::newRow("n in a bound-free power") << "n" << "3" << "t^n/50" << "cos(t)" << "3";
    QTest::newRow("r of a cycloid") << "r" << "1.5" << "r*(t-sin(t))-4" << "r*(1-cos(t))" << "1.5";
    QTest::newRow("x negative") << "x" << "-1.25" << "x*t" << "cos(t)" << "(-1.25)";
    QTest::newRow("z from a formula") << "z" << "pi/4" << "3*cos(t+z)" << "3*sin(t)" << "(pi/4)";
}

void TestVariableValues::VariableDrawsAsTheNumberWrittenIn()
{
    QFETCH(QString, letter);
    QFETCH(QString, value);
    QFETCH(QString, x);
    QFETCH(QString, y);
    QFETCH(QString, written);

    TracePress withVariable = CurvePress(qPrintable(x), qPrintable(y));
    withVariable.Variables[IndexOf(letter.at(0).toLatin1())].Value = value.toStdString();
    TracePress withNumber = CurvePress(qPrintable(QString(x).replace(letter, written)),
                                       qPrintable(QString(y).replace(letter, written)));
    const Traced a = Trace(withVariable);
    const Traced b = Trace(withNumber);
    QVERIFY(a.Outcome.Ok());
    QVERIFY(b.Outcome.Ok());
    QCOMPARE(a.Points.size(), b.Points.size());
    for (std::size_t i = 0; i < a.Points.size(); ++i) {
        QCOMPARE(a.Points[i].x, b.Points[i].x);
        QCOMPARE(a.Points[i].y, b.Points[i].y);
    }
    QVERIFY(a.Surface->Plane() == b.Surface->Plane());
    QVERIFY(CountNotWhite(ToQImage(a.Surface->Plane())) > 500);
}

void TestVariableValues::BoundsUseTheVariables()
{
    TracePress press = CurvePress("r*cos(t)", "r*sin(t)");
    press.Texts.X1 = "-r-1";
    press.Texts.X2 = "r+1";
    press.Texts.Y1 = "-s";
    press.Texts.Y2 = "s";
    press.Variables[IndexOf('r')].Value = "3";
    press.Variables[IndexOf('s')].Value = "4";
    const Traced traced = Trace(press);
    QVERIFY(traced.Outcome.Ok());
    QCOMPARE(traced.Surface->X1, -4.0);
    QCOMPARE(traced.Surface->X2, 4.0);
    QCOMPARE(traced.Surface->Y1, -4.0);
    QCOMPARE(traced.Surface->VarR, 3.0);
    QVERIFY(traced.Surface->Plane() == Trace(CurvePress("3*cos(t)", "3*sin(t)")).Surface->Plane());
}

// A press whose variables all read "0" draws what a press drew before there
// were variables: the road without them, pixel for pixel and point for point.
void TestVariableValues::AllZeroDrawsAsBefore()
{
    TracePress press = CurvePress("3*cos(t)+k+n+r+s+x+y+z", "3*sin(t)");
    press.Texts.X1 = "-4+z";
    const Traced now = Trace(press);

    // The same arithmetic with the zeros written as numbers.
    TracePress plain = CurvePress("3*cos(t)+0+0+0+0+0+0+0", "3*sin(t)");
    plain.Texts.X1 = "-4+0";
    const Traced before = Trace(plain);
    QVERIFY(now.Outcome.Ok());
    QVERIFY(before.Outcome.Ok());
    QVERIFY(now.Surface->Plane() == before.Surface->Plane());
    QCOMPARE(now.Points.size(), before.Points.size());
    for (std::size_t i = 0; i < before.Points.size(); ++i)
        QCOMPARE(now.Points[i].x, before.Points[i].x);
}

void TestVariableValues::RefusedValueEndsThePressFirst()
{
    TracePress press = StartPress();
    press.Texts.X1 = "1+";  // would be refused too, but the values come first
    press.Variables[IndexOf('s')].Value = "1/0";
    press.Variables[IndexOf('z')].Value = "t";
    Traced traced = Trace(press);
    QCOMPARE(QString::fromStdString(traced.Outcome.Message), QString(DivisionByZeroText));
    QCOMPARE(traced.Outcome.Focus, InputField::VariableS);
    QCOMPARE(CountNotWhite(ToQImage(traced.Surface->Plane())), 0);

    press.Variables[IndexOf('s')].Value = "2";
    traced = Trace(press);
    QCOMPARE(QString::fromStdString(traced.Outcome.Message), QString(VariableInValueText));
    QCOMPARE(traced.Outcome.Focus, InputField::VariableZ);
    QCOMPARE(traced.Surface->VarS, 2.0);
}

QTEST_MAIN(TestVariableValues)
#include "test_variablevalues.moc"
