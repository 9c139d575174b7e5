// SPDX-License-Identifier: GPL-3.0-or-later
// Where the ticks stand: the step per exponent bit for bit, the first and last
// tick of each window, and the limits that keep an axis finite.
#include <QtTest>

#include <cmath>
#include <cstring>
#include <optional>

#include "FaultTesting.h"
#include "AxisScale.h"

Q_DECLARE_METATYPE(std::optional<FloatFaultKind>)

class TestAxisScale : public QObject {
    Q_OBJECT

private slots:
    void factorIsTheExtendedTenth()
    {
        int exponent = 0;
        const auto mantissa = std::frexp(AxisStepFactor, &exponent);  // in [0.5, 1)
        const auto significand = static_cast<unsigned long long>(std::ldexp(mantissa, 64));
        QCOMPARE(significand, 0xCCCCCCCCCCCCCCCDull);
        QCOMPARE(exponent, -3);  // 0.8 * 2^-3; the x87 exponent of 1.6 * 2^-4
        // The extended value nearest to 0.1, a hair above it: ten of it is
        // 2^67 + 2 units of 2^-67.
        QCOMPARE(AxisStepFactor, 0.1L);
        const unsigned __int128 ten = (unsigned __int128)significand * 10;
        QVERIFY(ten == ((unsigned __int128)1 << 67) + 2);
    }

    void stepPerExponent_data()
    {
        QTest::addColumn<int>("exponent");
        QTest::addColumn<double>("step");
        QTest::newRow("e=30") << 30 << 0x1.93e5939a08ceap+99;
        QTest::newRow("e=29") << 29 << 0x1.431e0fae6d722p+96;
        QTest::newRow("e=3") << 3 << 0x1.f400000000003p+9;
        QTest::newRow("e=2") << 2 << 0x1.9000000000002p+6;
        QTest::newRow("e=1") << 1 << 0x1.4000000000002p+3;
        QTest::newRow("e=0") << 0 << 0x1.0000000000002p+0;
        QTest::newRow("e=-1") << -1 << 0x1.999999999999dp-4;
        QTest::newRow("e=-2") << -2 << 0x1.47ae147ae147ep-7;
        QTest::newRow("e=-3") << -3 << 0x1.0624dd2f1a9fep-10;
        QTest::newRow("e=-301") << -301 << 1.0000000000000021e-301;
    }

    void stepPerExponent()
    {
        QFETCH(int, exponent);
        QFETCH(double, step);
        // A range of five units of the decade stops the descent right there.
        const double range = 5 * std::pow(10.0, exponent);
        const AxisStep found = FindAxisStep(0, range);
        QCOMPARE(found.Exponent, exponent);
        QVERIFY2(SameBits(found.Step, step), qPrintable(QString::number(found.Step, 'g', 17)));
    }

    void stepNeverGrowsBeyond1e30()
    {
        const AxisStep found = FindAxisStep(-1e300, 1e300);
        QCOMPARE(found.Exponent, 30);
        QCOMPARE(found.Step, 1e30);
    }

    void ticks_data()
    {
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<int>("exponent");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("-4..4 circle") << -4.0 << 4.0 << 0 << -3 << 2;
        QTest::newRow("-0.5..10 throw") << -0.5 << 10.0 << 0 << -1 << 8;
        QTest::newRow("-3..3") << -3.0 << 3.0 << 0 << -2 << 1;
        QTest::newRow("-1..1") << -1.0 << 1.0 << -1 << -9 << 8;
        QTest::newRow("0..3 exactly three") << 0.0 << 3.0 << -1 << 1 << 28;
        QTest::newRow("0..10") << 0.0 << 10.0 << 0 << 1 << 8;
        QTest::newRow("-5..0") << -5.0 << 0.0 << 0 << -4 << -1;
        QTest::newRow("2..7 no origin") << 2.0 << 7.0 << 0 << 1 << 5;
        QTest::newRow("0.5..0.6") << 0.5 << 0.6 << -2 << 49 << 58;
        QTest::newRow("0.001..0.005") << 0.001 << 0.005 << -3 << 1 << 3;
        QTest::newRow("1e-300..2e-300") << 1e-300 << 2e-300 << -301 << 9 << 18;
        QTest::newRow("-1e35..1e35") << -1e35 << 1e35 << 30 << -99999 << 99998;
        QTest::newRow("negative zero counts as zero") << -0.0 << 10.0 << 0 << 1 << 8;
        QTest::newRow("no tick at the last multiple below max") << 0.0 << 3.5 << 0 << 1 << 2;
    }

    void ticks()
    {
        QFETCH(double, min);
        QFETCH(double, max);
        const AxisStep step = FindAxisStep(min, max);
        QTEST(int(step.Exponent), "exponent");
        const TickRange ticks = FindTicks(min, max, step.Step);
        QTEST(int(ticks.First), "first");
        QTEST(int(ticks.Last), "last");
        QCOMPARE(FirstTick(min, step.Step), ticks.First);
    }

    void lastTickRule()
    {
        // Tick j is drawn when (j + 1) * step <= max, so just below a multiple
        // the last tick is two steps short of it.
        const double step = FindAxisStep(-4, 4).Step;
        for (int n = 3; n <= 40; ++n) {
            const TickRange ticks = FindTicks(-4, n, step);
            const long double next = (long double)(ticks.Last + 1) * step;
            const long double beyond = (long double)(ticks.Last + 2) * step;
            QVERIFY(next <= n);
            QVERIFY(beyond > n);
        }
    }

    void faults_data()
    {
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<std::optional<FloatFaultKind>>("stepFault");
        QTest::addColumn<std::optional<FloatFaultKind>>("tickFault");
        const auto none = std::optional<FloatFaultKind>();
        const auto zero = std::optional(FloatFaultKind::DivisionByZero);
        const auto invalid = std::optional(FloatFaultKind::InvalidOperation);
        QTest::newRow("reversed") << 4.0 << -4.0 << zero << none;
        QTest::newRow("equal") << 1.0 << 1.0 << invalid << none;
        QTest::newRow("index beyond 32 bits right") << 3e39 << 3.00001e39 << none << invalid;
        QTest::newRow("index beyond 32 bits left") << -3.00001e39 << -3e39 << none << invalid;
        QTest::newRow("last index at the 32-bit edge") << 2.1e39 << 2.147483646e39 << none << invalid;
        QTest::newRow("a million ticks") << -5e35 << 5e35 << none << none;
        QTest::newRow("beyond a million ticks") << -5.01e35 << 5.01e35 << none << invalid;
        QTest::newRow("the widest window") << -1.7e308 << 1.7e308 << none << invalid;
    }

    void faults()
    {
        QFETCH(double, min);
        QFETCH(double, max);
        AxisStep step;
        QTEST(FaultOf([&] { step = FindAxisStep(min, max); }), "stepFault");
        QFETCH(std::optional<FloatFaultKind>, stepFault);
        if (stepFault)
            return;
        QTEST(FaultOf([&] { FindTicks(min, max, step.Step); }), "tickFault");
    }

    void aMillionTicksIsTheLimit()
    {
        const TickRange ticks = FindTicks(-5e35, 5e35, 1e30);
        QVERIFY(ticks.Count() <= MaxAxisTicks);
        QVERIFY(ticks.Count() > MaxAxisTicks - 10);
    }

    void reversedRangeDescendsToZero()
    {
        // 354 reductions take the step from 1e30 to 0; the 353rd is still not 0.
        long double step = 1e30;
        for (int i = 0; i < 353; ++i)
            step = static_cast<double>(step * AxisStepFactor);
        QVERIFY(step > 0);
        QCOMPARE(static_cast<double>(step * AxisStepFactor), 0.0);
    }
};

QTEST_MAIN(TestAxisScale)
#include "test_axisscale.moc"
