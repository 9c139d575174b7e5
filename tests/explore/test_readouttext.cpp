// SPDX-License-Identifier: GPL-3.0-or-later
// The readout's numbers: six digits with a decimal comma and "-" for the pen,
// just enough digits for the mouse, 0 below a hundredth of a pixel, the
// copied lines as shown and in full, and bounds the formula language reads
// back as the very doubles.
#include <QtTest>

#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "Expression.h"
#include "PlotState.h"
#include "ReadoutText.h"

class TestReadoutText : public QObject {
    Q_OBJECT

private slots:
    void ReadoutNumbers_data();
    void ReadoutNumbers();
    void EveryNumberReadsBack_data();
    void EveryNumberReadsBack();
    void NotReadoutNumbers_data();
    void NotReadoutNumbers();
    void PenLine();
    void ZeroBelowAHundredthOfAPixel_data();
    void ZeroBelowAHundredthOfAPixel();
    void DigitsForNeighbours_data();
    void DigitsForNeighbours();
    void DigitsUntilTheTextReadsBack();
    void CopiedExactLine_data();
    void CopiedExactLine();
    void BoundsReadBackInTheFields_data();
    void BoundsReadBackInTheFields();
};

void TestReadoutText::ReadoutNumbers_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("text");

    QTest::newRow("a half") << 2.5 << 6 << "2,5";
    QTest::newRow("six digits, rounded") << 1.2000098 << 6 << "1,20001";
    QTest::newRow("negative with the field's minus") << -3.4 << 6 << "-3,4";
    QTest::newRow("zero") << 0.0 << 6 << "0";
    QTest::newRow("negative zero keeps its sign, as %g") << -0.0 << 6 << "-0";
    QTest::newRow("whole number") << 100.0 << 6 << "100";
    QTest::newRow("two pi") << 2 * 3.141592653589793 << 6 << "6,28319";
    QTest::newRow("0.1 + 0.2 is 0,3 to six digits") << 0.1 + 0.2 << 6 << "0,3";
    QTest::newRow("rounding up to the next decade") << 9.9999996 << 6 << "10";
    QTest::newRow("largest written out") << 123456.0 << 6 << "123456";
    QTest::newRow("rounded into the exponent form") << 999999.5 << 6 << "1e6";
    QTest::newRow("a million and more") << 1234567.0 << 6 << "1,23457e6";
    QTest::newRow("negative huge") << -2.5e20 << 6 << "-2,5e20";
    QTest::newRow("largest double") << std::numeric_limits<double>::max() << 6 << "1,79769e308";
    QTest::newRow("smallest written out") << 0.0001 << 6 << "0,0001";
    QTest::newRow("small with six digits") << 0.00012345678 << 6 << "0,000123457";
    QTest::newRow("tiny") << 0.00001 << 6 << "1e-5";
    QTest::newRow("negative tiny") << -1.5e-7 << 6 << "-1,5e-7";
    QTest::newRow("smallest denormal") << std::numeric_limits<double>::denorm_min() << 6 << "4,94066e-324";
    QTest::newRow("three digits") << -1.248 << 3 << "-1,25";
    QTest::newRow("one digit") << 0.96 << 1 << "1";
    QTest::newRow("seventeen digits") << 0.1 << 17 << "0,10000000000000001";
    QTest::newRow("too many digits count as seventeen") << 0.1 << 40 << "0,10000000000000001";
    QTest::newRow("no digits count as one") << 3.7 << 0 << "4";
    QTest::newRow("two digits of a large number, written out") << 123456.0 << 2 << "120000";
}

void TestReadoutText::ReadoutNumbers()
{
    QFETCH(double, value);
    QFETCH(int, digits);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(ReadoutNumber(value, digits)), text);
}

void TestReadoutText::EveryNumberReadsBack_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("a third") << 1.0 / 3.0;
    QTest::newRow("minus two pi") << -6.283185307179586;
    QTest::newRow("huge") << 1.2345678901234567e200;
    QTest::newRow("tiny") << -9.87654321e-300;
    QTest::newRow("denormal") << 3e-320;
    QTest::newRow("largest") << std::numeric_limits<double>::max();
}

// Seventeen digits tell any two doubles apart, in either form.
void TestReadoutText::EveryNumberReadsBack()
{
    QFETCH(double, value);
    const std::optional<double> read = ReadReadoutNumber(ReadoutNumber(value, MaxReadoutDigits));
    QVERIFY(read.has_value());
    QCOMPARE(*read, value);
}

void TestReadoutText::NotReadoutNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("a note") << "Dál přiblížit nelze";
    QTest::newRow("two commas") << "1,2,3";
    QTest::newRow("trailing text") << "1,5 m";
}

void TestReadoutText::NotReadoutNumbers()
{
    QFETCH(QString, text);
    QVERIFY(!ReadReadoutNumber(text.toStdString()).has_value());
}

void TestReadoutText::PenLine()
{
    QCOMPARE(QString::fromStdString(PenReadoutText(2.5, 1.2000098, -3.4, ReadoutZero{})),
             QString("t = 2,5   x = 1,20001   y = -3,4"));
}

using Window = std::array<double, 4>;  // x1, x2, y1, y2 on 500 x 500 pixels
Q_DECLARE_METATYPE(Window)

void TestReadoutText::ZeroBelowAHundredthOfAPixel_data()
{
    QTest::addColumn<Window>("window");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<QString>("shown");

    // -4 .. 4: a pixel is 0.016, a hundredth of it 0.00016.
    const Window circle{-4, 4, -4, 4};
    QTest::newRow("the origin after a zoom") << circle << -3e-15 << -0.0 << "x = 0   y = 0";
    QTest::newRow("just below a hundredth") << circle << 0.000159 << -0.000159 << "x = 0   y = 0";
    QTest::newRow("just above a hundredth") << circle << 0.000161 << -0.000161 << "x = 0,000161   y = -0,000161";
    // A hundredth of a pixel is 0.0002 across, 0.04 up and down.
    QTest::newRow("y by the window's height") << Window{-5, 5, -1000, 1000} << 0.03 << 0.03 << "x = 0,03   y = 0";
    QTest::newRow("a reversed window") << Window{4, -4, 4, -4} << 1e-4 << 2e-4 << "x = 0   y = 0,0002";
    // The span 3e308 is beyond a double; a hundredth of a pixel is 6e303.
    QTest::newRow("the whole double range") << Window{-1.5e308, 1.5e308, -1.5e308, 1.5e308} << 5.9e303 << -6.1e303
                                            << "x = 0   y = -6,1e303";
}

// Pen, mouse and the line copied as shown alike; t is no coordinate, a tiny
// t is shown as it is.
void TestReadoutText::ZeroBelowAHundredthOfAPixel()
{
    QFETCH(Window, window);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(QString, shown);
    const ReadoutZero zero = ZeroOfWindow(window[0], window[1], window[2], window[3], 500, 500);
    QCOMPARE(QString::fromStdString(PenReadoutText(1e-20, x, y, zero)), "t = 1e-20   " + shown);
    QCOMPARE(QString::fromStdString(MouseReadoutText(x, 6, y, 6, zero)), shown);
    const QStringList values = shown.split("   ");
    QCOMPARE(QString::fromStdString(CopiedShownPoint(1e-20, x, y, zero)),
             "1e-20\t" + values[0].mid(4) + '\t' + values[1].mid(4));    // Without a window every value is shown.
    QVERIFY(QString::fromStdString(PenReadoutText(0, -3e-15, 0, ReadoutZero{})).contains("x = -3e-15"));
}

void TestReadoutText::DigitsForNeighbours_data()
{
    QTest::addColumn<double>("before");
    QTest::addColumn<double>("here");
    QTest::addColumn<double>("after");
    QTest::addColumn<int>("digits");

    // Pixels of 0.016 (the window -4 .. 4 on 500 pixels).
    QTest::newRow("pixels of 0.016") << -1.264 << -1.248 << -1.232 << 3;
    QTest::newRow("across a decade") << 0.99 << 1.0 << 1.01 << 3;
    QTest::newRow("whole units") << 41.0 << 42.0 << 43.0 << 2;
    QTest::newRow("units of a hundred") << 1300.0 << 1400.0 << 1500.0 << 2;
    QTest::newRow("deep zoom") << 1.000000001 << 1.000000002 << 1.000000003 << 10;
    QTest::newRow("huge values") << 1.5e20 << 1.6e20 << 1.7e20 << 2;
    QTest::newRow("neighbours one double apart") << std::nextafter(1.0, 0.0) << 1.0 << std::nextafter(1.0, 2.0)
                                                 << 17;
    QTest::newRow("the same value: as many as there are") << 2.0 << 2.0 << 2.0 << MaxReadoutDigits;
}

void TestReadoutText::DigitsForNeighbours()
{
    QFETCH(double, before);
    QFETCH(double, here);
    QFETCH(double, after);
    QFETCH(int, digits);
    QCOMPARE(DistinctDigits(before, here, after), digits);
    // Fewer digits do not tell them apart, these do.
    if (digits < MaxReadoutDigits) {
        QVERIFY(ReadoutNumber(here, digits) != ReadoutNumber(before, digits));
        QVERIFY(ReadoutNumber(here, digits) != ReadoutNumber(after, digits));
    }
    if (digits > 1) {
        const std::string fewer = ReadoutNumber(here, digits - 1);
        QVERIFY(fewer == ReadoutNumber(before, digits - 1) || fewer == ReadoutNumber(after, digits - 1));
    }
}

// The text must also stand for a value of the same pixel: here one within
// 0.001 of the value, which three digits of 1.2345 are not.
void TestReadoutText::DigitsUntilTheTextReadsBack()
{
    const double here = 1.2345;
    const auto near = [here](double read) { return std::fabs(read - here) < 0.001; };
    QCOMPARE(DistinctDigits(1.1, here, 1.4), 2);
    QCOMPARE(DistinctDigits(1.1, here, 1.4, near), 4);
    QCOMPARE(DistinctDigits(1.1, here, 1.4, [](double) { return false; }), MaxReadoutDigits);
}

void TestReadoutText::CopiedExactLine_data()
{
    QTest::addColumn<double>("t");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<QString>("line");
    QTest::newRow("the circle's last point")
        << 6.346017691439578 << 2.9940801579541634 << 0.18837236213859906
        << "6.346017691439578;2.9940801579541634;0.18837236213859906";
    QTest::newRow("whole numbers") << 0.0 << 3.0 << -0.0 << "0;3;-0";
    QTest::newRow("tiny and huge") << 1e-05 << -2.5e+20 << 0.1 << "1e-05;-2.5e+20;0.1";
    QTest::newRow("the origin after a zoom, kept") << 0.5 << -3e-15 << 0.0 << "0.5;-3e-15;0";
}

// Shortest texts that read back as the same doubles, as the renderer's
// --points writes them, with a point whatever the locale.
void TestReadoutText::CopiedExactLine()
{
    QFETCH(double, t);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(QString, line);
    QCOMPARE(QString::fromStdString(CopiedExactPoint(t, x, y)), line);
    const QStringList parts = line.split(';');
    QCOMPARE(parts.size(), 3);
    QCOMPARE(parts[0].toDouble(), t);
    QCOMPARE(parts[1].toDouble(), x);
    QCOMPARE(parts[2].toDouble(), y);
}

void TestReadoutText::BoundsReadBackInTheFields_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");  // empty: not checked, only read back

    QTest::newRow("whole") << -4.0 << "-4";
    QTest::newRow("a half") << 2.5 << "2.5";
    QTest::newRow("a tenth") << 0.1 << "0.1";
    QTest::newRow("tiny, without an exponent") << 0.00001 << "0.00001";
    QTest::newRow("huge, without an exponent") << 1e20 << "100000000000000000000";
    QTest::newRow("a zoomed bound") << -2.2028799999999995 << "-2.2028799999999995";
    QTest::newRow("a third") << 1.0 / 3.0 << "";
    QTest::newRow("near the largest") << 1.5e300 << "";
    QTest::newRow("near the smallest") << -2.2250738585072014e-300 << "";
}

// Typed into a bound field, the text is the same double again.
void TestReadoutText::BoundsReadBackInTheFields()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    const std::string bound = FormulaText(value);
    if (!text.isEmpty())
        QCOMPARE(QString::fromStdString(bound), text);
    PlotState state;
    std::string error;
    const double read = EvaluateExpression(state, bound, error);
    QVERIFY2(error.empty(), error.c_str());
    QCOMPARE(read, value);
}

QTEST_APPLESS_MAIN(TestReadoutText)
#include "test_readouttext.moc"
