// SPDX-License-Identifier: GPL-3.0-or-later
// Decimal text and binary reals without the C++ library's floating-point
// conversions: the software extended format read from decimal text and
// written in scientific form, and decimal text read into a double, each
// against the library's own (glibc's strtold and printf, libstdc++'s
// from_chars) at the ties of their rounding, at the edges of the ranges and
// on long texts.
#include <QtTest>

#include <charconv>
#include <cmath>
#include <string>

#include "BigNumber.h"
#include "DecimalText.h"
#include "SoftTesting.h"

namespace {

// The exact decimal text of (2 m + 1) 2^(e - 1), the point between m 2^e and
// (m + 1) 2^e: "digits" with the point placed, e < 0.
std::string MidpointText(std::uint64_t m, int e)
{
    BigNumber n(m);
    n.ShiftLeft(1);
    n.MultiplyAdd(1, 1);
    const int places = 1 - e;  // (2m + 1) 2^-places = (2m + 1) 5^places / 10^places
    n.MultiplyByPowerOfFive(places);
    std::string digits;
    while (!n.IsZero()) {
        std::uint32_t group = n.DivideSmall(10);
        digits.insert(digits.begin(), static_cast<char>('0' + group));
    }
    if (static_cast<int>(digits.size()) <= places)
        digits.insert(0, static_cast<std::size_t>(places - static_cast<int>(digits.size()) + 1), '0');
    digits.insert(digits.size() - static_cast<std::size_t>(places), ".");
    return digits;
}

struct LibraryRead {
    std::errc Error;
    std::ptrdiff_t Length;
    long double Value;
};

LibraryRead ReadByLibrary(const std::string& text, std::chars_format format)
{
    long double value = 12345;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value, format);
    return {r.ec, r.ptr - text.data(), value};
}

// Both read `text` alike: the same outcome, the same length, the same value.
QByteArray SameReading(const std::string& text, std::chars_format format = std::chars_format::general)
{
    const LibraryRead expected = ReadByLibrary(text, format);
    SoftExtended value = 12345.0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value, format);
    const QByteArray shown = QByteArray::fromStdString(text.size() > 60 ? text.substr(0, 60) + "..." : text);
    if (r.ec != expected.Error)
        return shown + ": outcome " + QByteArray::number(int(r.ec)) + " against " + QByteArray::number(int(expected.Error));
    if (r.ptr - text.data() != expected.Length)
        return shown + ": read " + QByteArray::number(r.ptr - text.data()) + " characters";
    if (r.ec == std::errc() && !SameValue(value, expected.Value))
        return shown + ": " + Shown(value) + " against " + Shown(expected.Value);
    return {};
}

QByteArray SameDoubleReading(const std::string& text)
{
    double expected = 12345;
    const auto e = std::from_chars(text.data(), text.data() + text.size(), expected);
    double actual = 12345;
    const auto a = ReadDecimalDouble(text.data(), text.data() + text.size(), actual);
    if (e.ec != a.ec || e.ptr != a.ptr || std::memcmp(&expected, &actual, sizeof actual) != 0)
        return QByteArray::fromStdString(text.substr(0, 60)) + ": " + QByteArray::number(actual, 'g', 17) +
               " against " + QByteArray::number(expected, 'g', 17);
    return {};
}

}  // namespace

class TestSoftText : public QObject {
    Q_OBJECT

private slots:
    void fromChars_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("format");
        const int general = int(std::chars_format::general);
        for (const char* text :
             {"0", "-0", "1", "0.1", "123.456e7", "2.5", "1e-4951", "3.6451995318824746025e-4951",
              "1.8225997659412373012e-4951", "1.8225997659412373013e-4951", "1.18973149535723176502e+4932",
              "1.18973149535723176508e+4932", "1.19e4932", "1e-5000", "9e999999999", "inf", "-Infinity", "nan",
              "nan(123)", "1e", "1e+", ".5", "5.", ".", "-", "+1", " 1", "0.000000000000000000000000000001",
              "18446744073709551615", "18446744073709551616.5", "36893488147419103233", "1E5", "1.e3",
              "3.3621031431120935063e-4932", "3.3621031431120935062e-4932", "3.3621031431120935061e-4932",
              "3.36210314311209350624e-4932", "0.1e-4931"}) {
            QTest::newRow(text) << QByteArray(text) << general;
        }
        QTest::newRow("fixed stops at the exponent") << QByteArray("1.5e3") << int(std::chars_format::fixed);
        QTest::newRow("scientific needs an exponent") << QByteArray("1.5") << int(std::chars_format::scientific);
        QTest::newRow("scientific") << QByteArray("1.5e-3") << int(std::chars_format::scientific);
        QTest::newRow("2000 digits") << QByteArray(2000, '7') << general;
        QTest::newRow("20000 digits after the point") << ("0." + QByteArray(20000, '3')) << general;
        QTest::newRow("15000 digits, the last non-zero")
            << ("1." + QByteArray(14998, '0') + "1") << general;
    }

    void fromChars()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, format);
        const QByteArray problem = SameReading(text.toStdString(), std::chars_format(format));
        QVERIFY2(problem.isEmpty(), problem.constData());
    }

    // The exact decimal of a point halfway between two neighbouring values,
    // and the texts just above and below it: ties to even, and the side a
    // last digit thousands of places down decides.
    void fromCharsHalfway()
    {
        RandomExtended random(11);
        for (int i = 0; i < 200; ++i) {
            const std::uint64_t m = random.Next() | (std::uint64_t{1} << 63);
            int e = -static_cast<int>(random.Next() % 200) - 64;
            if (i % 50 == 0)
                e = -16445;  // among the denormals: m is then the value's whole grid count
            const std::string tie = MidpointText(i % 50 == 0 ? m >> (random.Next() % 64) : m, e);
            std::string below = tie;
            below.back() = '4';  // the expansion ends in 5
            below += "999999999";
            // An odd multiple of 2^-16445: a denormal, exactly.
            std::vector<std::string> texts = {tie, tie + "0000001", below};
            if (i % 10 == 0)
                texts.push_back(MidpointText(m >> (random.Next() % 64 + 1), -16444));
            for (const std::string& text : texts) {
                const QByteArray problem = SameReading(text);
                QVERIFY2(problem.isEmpty(), problem.constData());
            }
        }
    }

    void toChars_data()
    {
        QTest::addColumn<long double>("value");
        QTest::addColumn<int>("precision");
        QTest::newRow("tie to even, down") << 0.125L << 1;
        QTest::newRow("tie to even, up") << 0.375L << 1;
        QTest::newRow("2.5 to 2") << 2.5L << 0;
        QTest::newRow("9.5 carries to 1e+01") << 9.5L << 0;
        QTest::newRow("99.96 carries") << 99.96L << 2;
        QTest::newRow("zero") << 0.0L << 3;
        QTest::newRow("negative zero") << -0.0L << 0;
        QTest::newRow("exponent of three digits") << 1e300L << 5;
        QTest::newRow("exponent of four digits") << 1e-4000L << 17;
        QTest::newRow("least denormal") << 0x1p-16445L << 20;
        QTest::newRow("largest") << LDBL_MAX << 25;
        QTest::newRow("more digits than exact") << 0.1L << 70;
        QTest::newRow("inf") << -std::numeric_limits<long double>::infinity() << 3;
    }

    void toChars()
    {
        QFETCH(long double, value);
        QFETCH(int, precision);
        char expected[200];
        char actual[200];
        const auto e = std::to_chars(expected, expected + sizeof expected, value, std::chars_format::scientific, precision);
        const auto a = std::to_chars(actual, actual + sizeof actual, SoftOf(value), std::chars_format::scientific, precision);
        QCOMPARE(QByteArray(actual, int(a.ptr - actual)), QByteArray(expected, int(e.ptr - expected)));
    }

    void toCharsRandom()
    {
        RandomExtended random(3);
        for (int i = 0; i < 20000; ++i) {
            const long double value = random.Value();
            const int precision = static_cast<int>(random.Next() % 22);
            char expected[128];
            char actual[128];
            const auto e = std::to_chars(expected, expected + sizeof expected, value, std::chars_format::scientific,
                                         precision);
            const auto a = std::to_chars(actual, actual + sizeof actual, SoftOf(value), std::chars_format::scientific,
                                         precision);
            QCOMPARE(QByteArray(actual, int(a.ptr - actual)), QByteArray(expected, int(e.ptr - expected)));
        }
    }

    // What the engine reads literals with where the library cannot.
    void readDouble_data()
    {
        QTest::addColumn<QByteArray>("text");
        for (const char* text :
             {"0", "1", "0.1", "2.2250738585072011e-308", "2.2250738585072014e-308", "4.9406564584124654e-324",
              "2.4703282292062327e-324", "2.4703282292062328e-324", "1.7976931348623157e308",
              "1.7976931348623158e308", "1.7976931348623159e308", "1e-400", "1e400", "9007199254740993",
              "9007199254740993.0000000000000000001", "123456789012345678901234567890", "0.5e", "nan", "-inf"}) {
            QTest::newRow(text) << QByteArray(text);
        }
    }

    void readDouble()
    {
        QFETCH(QByteArray, text);
        const QByteArray problem = SameDoubleReading(text.toStdString());
        QVERIFY2(problem.isEmpty(), problem.constData());
    }

    void readDoubleRandom()
    {
        RandomExtended random(17);
        for (int i = 0; i < 20000; ++i) {
            std::string text = std::to_string(random.Next() % 1000000);
            if (random.Next() % 2)
                text += "." + std::to_string(random.Next());
            text += "e" + std::to_string(static_cast<int>(random.Next() % 700) - 350);
            const QByteArray problem = SameDoubleReading(text);
            QVERIFY2(problem.isEmpty(), problem.constData());
            if (i % 4 != 0)
                continue;
            // The halfway points between doubles, exactly and a little off.
            const std::uint64_t m = (random.Next() >> 11) | (std::uint64_t{1} << 52);
            const std::string tie = MidpointText(m, -static_cast<int>(random.Next() % 1100) - 1);
            for (const std::string& t : {tie, tie + "1"}) {
                const QByteArray p = SameDoubleReading(t);
                QVERIFY2(p.isEmpty(), p.constData());
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestSoftText)
#include "test_softtext.moc"
