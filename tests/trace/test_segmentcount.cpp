// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the segment field: a plain decimal number, rounded to the 6-byte
// real, truncated toward zero; anything else is refused.
#include <QtTest>

#include <cmath>
#include <string>

#include "PressRun.h"

Q_DECLARE_METATYPE(FloatFaultKind)
Q_DECLARE_METATYPE(std::string)

class TestSegmentCount : public QObject {
    Q_OBJECT

private slots:
    void ReadsNumbers_data();
    void ReadsNumbers();
    void RefusesText_data();
    void RefusesText();
    void FaultsBeyondRange_data();
    void FaultsBeyondRange();
    void RoundsToReal48_data();
    void RoundsToReal48();
    void Real48Limits_data();
    void Real48Limits();
};

void TestSegmentCount::ReadsNumbers_data()
{
    QTest::addColumn<std::string>("text");
    QTest::addColumn<int>("count");

    QTest::newRow("100") << std::string("100") << 100;
    QTest::newRow("1e2") << std::string("1e2") << 100;
    QTest::newRow("1E2") << std::string("1E2") << 100;
    QTest::newRow("100.9") << std::string("100.9") << 100;
    QTest::newRow("leading spaces") << std::string("   100") << 100;
    QTest::newRow("plus sign") << std::string("+5") << 5;
    QTest::newRow("minus zero") << std::string("-0") << 0;
    QTest::newRow("negative") << std::string("-5") << -5;
    QTest::newRow("negative fraction truncates up") << std::string(" -2.7") << -2;
    QTest::newRow("fraction with exponent") << std::string("1.55e1") << 15;
    QTest::newRow("exponent sign") << std::string("2500e-1") << 250;
    QTest::newRow("exponent plus") << std::string("4e+2") << 400;
    QTest::newRow("point without fraction") << std::string("5.") << 5;
    QTest::newRow("fraction without digits before") << std::string(".5") << 0;
    QTest::newRow("leading zeros") << std::string("0040") << 40;
    // 1 - 1e-14 lies within half a 40-bit unit of 1 and rounds up to it.
    QTest::newRow("rounds to 40 bits first") << std::string("0.99999999999999") << 1;
    QTest::newRow("just below 1732 rounds to it") << std::string("1731.9999999999") << 1732;
    QTest::newRow("just below 1732 beyond rounding") << std::string("1731.999") << 1731;
    QTest::newRow("below the 6-byte range is 0") << std::string("1e-39") << 0;
    QTest::newRow("below the extended range is 0") << std::string("1e-5000") << 0;
    QTest::newRow("zero with huge exponent") << std::string("0e99999") << 0;
    QTest::newRow("largest int32") << std::string("2147483647") << 2147483647;
    QTest::newRow("largest int32 with fraction") << std::string("2147483647.4") << 2147483647;
    QTest::newRow("smallest int32") << std::string("-2147483648") << int(-2147483647 - 1);
}

void TestSegmentCount::ReadsNumbers()
{
    QFETCH(std::string, text);
    QFETCH(int, count);
    std::int32_t read = 12345;
    QVERIFY(ReadSegmentCount(text, read));
    QCOMPARE(read, count);
}

void TestSegmentCount::RefusesText_data()
{
    QTest::addColumn<std::string>("text");

    QTest::newRow("100x") << std::string("100x");
    QTest::newRow("2.5x") << std::string("2.5x");
    QTest::newRow("abc") << std::string("abc");
    QTest::newRow("empty") << std::string("");
    QTest::newRow("only spaces") << std::string("   ");
    QTest::newRow("trailing space") << std::string("100 ");
    QTest::newRow("inner space") << std::string("1 0");
    QTest::newRow("sign only") << std::string("-");
    QTest::newRow("point only") << std::string(".");
    QTest::newRow("exponent without digits") << std::string("1e");
    QTest::newRow("exponent sign without digits") << std::string("1e+");
    QTest::newRow("exponent without mantissa") << std::string("e5");
    QTest::newRow("two signs") << std::string("--1");
    QTest::newRow("two points") << std::string("1.2.3");
    QTest::newRow("decimal comma") << std::string("1,5");
    QTest::newRow("hexadecimal") << std::string("0x10");
    QTest::newRow("infinity") << std::string("inf");
    QTest::newRow("nan") << std::string("nan");
    QTest::newRow("formula") << std::string("2*50");
    QTest::newRow("leading tab") << std::string("\t100");
}

void TestSegmentCount::RefusesText()
{
    QFETCH(std::string, text);
    std::int32_t read = 777;
    QVERIFY(!ReadSegmentCount(text, read));
    QCOMPARE(read, 777);  // untouched
}

void TestSegmentCount::FaultsBeyondRange_data()
{
    QTest::addColumn<std::string>("text");
    QTest::addColumn<FloatFaultKind>("kind");

    QTest::newRow("2147483648") << std::string("2147483648") << FloatFaultKind::InvalidOperation;
    QTest::newRow("-2147483649") << std::string("-2147483649") << FloatFaultKind::InvalidOperation;
    QTest::newRow("1e10") << std::string("1e10") << FloatFaultKind::InvalidOperation;
    QTest::newRow("1e38 fits the 6-byte real") << std::string("1e38") << FloatFaultKind::InvalidOperation;
    QTest::newRow("1e39 beyond the 6-byte real") << std::string("1e39") << FloatFaultKind::Overflow;
    QTest::newRow("-1e39") << std::string("-1e39") << FloatFaultKind::Overflow;
    QTest::newRow("beyond extended") << std::string("1e5000") << FloatFaultKind::Overflow;
    QTest::newRow("huge exponent digits") << std::string("1e99999999999999999999")
                                          << FloatFaultKind::Overflow;
}

void TestSegmentCount::FaultsBeyondRange()
{
    QFETCH(std::string, text);
    QFETCH(FloatFaultKind, kind);
    std::int32_t read = 0;
    try {
        ReadSegmentCount(text, read);
        QFAIL("no fault raised");
    } catch (const FloatFault& fault) {
        QCOMPARE(fault.Kind(), kind);
    }
}

void TestSegmentCount::RoundsToReal48_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rounded");

    const double unit = std::ldexp(1.0, -39);  // 40-bit unit at 1
    QTest::newRow("exact stays") << 1.0 + unit << 1.0 + unit;
    QTest::newRow("tie to even down") << 1.0 + unit / 2 << 1.0;
    QTest::newRow("tie to even up") << 1.0 + 3 * unit / 2 << 1.0 + 2 * unit;
    QTest::newRow("above half rounds up") << 1.0 + unit * 0.75 << 1.0 + unit;
    QTest::newRow("negative") << -(1.0 + unit * 0.75) << -(1.0 + unit);
    QTest::newRow("zero") << 0.0 << 0.0;
    QTest::newRow("largest") << std::ldexp(2.0 - unit, 126) << std::ldexp(2.0 - unit, 126);
    QTest::newRow("smallest") << std::ldexp(1.0, -128) << std::ldexp(1.0, -128);
    QTest::newRow("below smallest") << std::ldexp(1.5, -129) << 0.0;
    QTest::newRow("one third") << 1.0 / 3.0 << 733007751851.0 / 2199023255552.0;
}

void TestSegmentCount::RoundsToReal48()
{
    QFETCH(double, value);
    QFETCH(double, rounded);
    QCOMPARE(static_cast<double>(RoundToReal48(value)), rounded);
}

void TestSegmentCount::Real48Limits_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<FloatFaultKind>("kind");

    const double unit = std::ldexp(1.0, -39);
    QTest::newRow("2^127") << std::ldexp(1.0, 127) << FloatFaultKind::Overflow;
    QTest::newRow("rounds up to 2^127") << std::ldexp(2.0 - unit / 4, 126) << FloatFaultKind::Overflow;
    QTest::newRow("negative beyond") << -std::ldexp(1.0, 130) << FloatFaultKind::Overflow;
}

void TestSegmentCount::Real48Limits()
{
    QFETCH(double, value);
    QFETCH(FloatFaultKind, kind);
    try {
        RoundToReal48(value);
        QFAIL("no fault raised");
    } catch (const FloatFault& fault) {
        QCOMPARE(fault.Kind(), kind);
    }
}

QTEST_APPLESS_MAIN(TestSegmentCount)
#include "test_segmentcount.moc"
