// SPDX-License-Identifier: GPL-3.0-or-later
// The real-arithmetic helpers: storing extended values, checked division and
// the two conversions to 32-bit integers, with their faults.
#include <QtTest>

#include <cmath>
#include <limits>
#include <optional>

#include "FaultTesting.h"
#include "RealArith.h"

Q_DECLARE_METATYPE(std::optional<FloatFaultKind>)

class TestRealArith : public QObject {
    Q_OBJECT

private slots:
    void messages()
    {
        QCOMPARE(QString(FloatFault(FloatFaultKind::DivisionByZero).what()),
                 QString("Floating point division by zero"));
        QCOMPARE(QString(FloatFault(FloatFaultKind::InvalidOperation).what()),
                 QString("Invalid floating point operation"));
        QCOMPARE(QString(FloatFault(FloatFaultKind::Overflow).what()),
                 QString("Floating point overflow"));
    }

    void storeReal_data()
    {
        QTest::addColumn<long double>("value");
        QTest::addColumn<double>("expected");
        QTest::addColumn<bool>("overflows");
        const long double big = std::numeric_limits<double>::max();
        QTest::newRow("exact") << 1.5L << 1.5 << false;
        QTest::newRow("rounds to nearest") << (1.0L + 0x1p-60L) << 1.0 << false;
        QTest::newRow("tie to even down") << (1.0L + 0x1p-53L) << 1.0 << false;
        QTest::newRow("tie to even up") << (1.0L + 3 * 0x1p-53L) << (1.0 + 0x1p-51) << false;
        QTest::newRow("largest double") << big << std::numeric_limits<double>::max() << false;
        QTest::newRow("beyond range") << big * 2.0L << 0.0 << true;
        QTest::newRow("negative beyond range") << -big * 2.0L << 0.0 << true;
        QTest::newRow("underflow is silent") << 1e-4000L << 0.0 << false;
        QTest::newRow("denormal is kept") << 0x1p-1070L << 0x1p-1070 << false;
    }
    void storeReal()
    {
        QFETCH(long double, value);
        QFETCH(double, expected);
        QFETCH(bool, overflows);
        std::optional<FloatFaultKind> fault = FaultOf([&] {
            const double stored = StoreReal(value);
            QCOMPARE(stored, expected);
        });
        if (overflows)
            QCOMPARE(fault, std::optional(FloatFaultKind::Overflow));
        else
            QVERIFY(!fault);
    }

    void divide()
    {
        QCOMPARE(DivideExtended(1.0L, 4.0L), 0.25L);
        QCOMPARE(FaultOf([] { DivideExtended(1.0L, 0.0L); }),
                 std::optional(FloatFaultKind::DivisionByZero));
        QCOMPARE(FaultOf([] { DivideExtended(-1.0L, -0.0L); }),
                 std::optional(FloatFaultKind::DivisionByZero));
        QCOMPARE(FaultOf([] { DivideExtended(0.0L, 0.0L); }),
                 std::optional(FloatFaultKind::InvalidOperation));
    }

    void roundToInt32_data()
    {
        QTest::addColumn<long double>("value");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("invalid");
        QTest::newRow("312.5 to even") << 312.5L << 312 << false;
        QTest::newRow("-187.5 to even") << -187.5L << -188 << false;
        QTest::newRow("313.5 to even") << 313.5L << 314 << false;
        QTest::newRow("just above a half") << 312.50000000000003L << 313 << false;
        QTest::newRow("-0.5 to zero") << -0.5L << 0 << false;
        QTest::newRow("int max") << 2147483647.0L << 2147483647 << false;
        QTest::newRow("int max + 0.4") << 2147483647.4L << 2147483647 << false;
        QTest::newRow("int max + 0.5 rounds to 2^31") << 2147483647.5L << 0 << true;
        QTest::newRow("int min") << -2147483648.0L << int(-2147483647 - 1) << false;
        QTest::newRow("int min - 0.5 to even") << -2147483648.5L << int(-2147483647 - 1) << false;
        QTest::newRow("int min - 0.6") << -2147483648.6L << 0 << true;
        QTest::newRow("far out") << 6.25e9L << 0 << true;
        QTest::newRow("nan") << std::numeric_limits<long double>::quiet_NaN() << 0 << true;
    }
    void roundToInt32()
    {
        QFETCH(long double, value);
        QFETCH(int, expected);
        QFETCH(bool, invalid);
        std::int32_t result = 0;
        const std::optional<FloatFaultKind> fault = FaultOf([&] { result = RoundToInt32(value); });
        if (invalid) {
            QCOMPARE(fault, std::optional(FloatFaultKind::InvalidOperation));
        } else {
            QVERIFY(!fault);
            QCOMPARE(result, expected);
        }
    }

    void truncToInt32_data()
    {
        QTest::addColumn<long double>("value");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("invalid");
        QTest::newRow("100.9") << 100.9L << 100 << false;
        QTest::newRow("-100.9") << -100.9L << -100 << false;
        QTest::newRow("int max + 0.9") << 2147483647.9L << 2147483647 << false;
        QTest::newRow("2^31") << 2147483648.0L << 0 << true;
        QTest::newRow("int min - 0.9") << -2147483648.9L << int(-2147483647 - 1) << false;
        QTest::newRow("int min - 1") << -2147483649.0L << 0 << true;
    }
    void truncToInt32()
    {
        QFETCH(long double, value);
        QFETCH(int, expected);
        QFETCH(bool, invalid);
        std::int32_t result = 0;
        const std::optional<FloatFaultKind> fault = FaultOf([&] { result = TruncToInt32(value); });
        if (invalid) {
            QCOMPARE(fault, std::optional(FloatFaultKind::InvalidOperation));
        } else {
            QVERIFY(!fault);
            QCOMPARE(result, expected);
        }
    }
};

QTEST_APPLESS_MAIN(TestRealArith)
#include "test_realarith.moc"
