// SPDX-License-Identifier: GPL-3.0-or-later
// Number literals: each is read as the 64-bit real nearest to its decimal
// value, ties to even, in one rounding. The edges of the range are checked
// with exact decimal expansions; the literals where a detour through the
// extended format would round twice are searched for and compared with the C
// library's correctly rounded strtod.
#include <QtTest>

#include <charconv>
#include <clocale>
#include <cstdint>
#include <locale.h>
#include <random>
#include <string>

#include "EngineTestSupport.h"

Q_DECLARE_METATYPE(std::string)

namespace {

// Decimal digits (most significant first) times a small factor.
std::string Times(const std::string& digits, std::uint64_t factor)
{
    std::string product(digits.size(), '0');
    unsigned __int128 carry = 0;
    for (std::size_t i = digits.size(); i-- > 0;) {
        const unsigned __int128 step = static_cast<unsigned __int128>(digits[i] - '0') * factor + carry;
        product[i] = static_cast<char>('0' + static_cast<int>(step % 10));
        carry = step / 10;
    }
    while (carry > 0) {
        product.insert(product.begin(), static_cast<char>('0' + static_cast<int>(carry % 10)));
        carry /= 10;
    }
    return product;
}

std::string Power(std::uint64_t base, int exponent)
{
    std::string digits = "1";
    for (int i = 0; i < exponent; ++i)
        digits = Times(digits, base);
    return digits;
}

// The exact decimal text of multiple * 2^-exponent, below 1: 2^-n = 5^n / 10^n.
std::string BinaryFraction(std::uint64_t multiple, int exponent)
{
    const std::string digits = Times(Power(5, exponent), multiple);
    return "0." + std::string(static_cast<std::size_t>(exponent) - digits.size(), '0') + digits;
}

// The midpoint between the largest real and 2^1024, where rounding to nearest
// starts to overflow: 2^1024 - 2^970.
std::string OverflowMidpoint()
{
    return Times(Power(2, 970), (std::uint64_t{1} << 54) - 1);
}

// The same integer minus one (its last digit is not 0).
std::string MinusOne(std::string digits)
{
    --digits.back();
    return digits;
}

double ScannedValue(const std::string& literal)
{
    unsigned char tag = 0;
    double value = -1.0;
    std::size_t length = 0;
    if (!ScanToken(literal, 1, tag, value, length) || tag != NumberTag || length != literal.size())
        return -1.0;
    return value;
}

// Correctly rounded by the C library, whatever the process's locale says.
double StrtodNearest(const std::string& literal)
{
    static const locale_t plainC = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(literal.c_str(), nullptr, plainC);
}

// The reading this program must not do: into extended, then to 64 bits.
double ThroughExtended(const std::string& literal)
{
    long double extended = 0.0L;
    std::from_chars(literal.data(), literal.data() + literal.size(), extended);
    return static_cast<double>(extended);
}

}  // namespace

class TestLiterals : public QObject {
    Q_OBJECT

private slots:
    void nearestReal_data()
    {
        QTest::addColumn<std::string>("literal");
        QTest::addColumn<double>("expected");
        const double smallest = 0x0.0000000000001p-1022;
        QTest::newRow("0.002877 read once") << std::string("0.002877") << 0x1.791819d2391d5p-9;
        QTest::newRow("tie at 2^53+1 goes down to even") << std::string("9007199254740993") << 0x1p53;
        QTest::newRow("tie at 2^53+3 goes up to even") << std::string("9007199254740995") << 0x1.0000000000002p53;
        QTest::newRow("just above a tie goes up")
            << std::string("9007199254740993.0000000001") << 0x1.0000000000001p53;
        QTest::newRow("just below a tie goes down")
            << std::string("9007199254740994.9999999999") << 0x1.0000000000001p53;
        QTest::newRow("largest real, exact")
            << Times(Power(2, 971), (std::uint64_t{1} << 53) - 1) << 0x1.fffffffffffffp1023;
        QTest::newRow("just below the overflow midpoint")
            << MinusOne(OverflowMidpoint()) << 0x1.fffffffffffffp1023;
        QTest::newRow("smallest normal real") << BinaryFraction(1, 1022) << 0x1p-1022;
        QTest::newRow("largest subnormal") << BinaryFraction((std::uint64_t{1} << 52) - 1, 1074)
                                           << 0x0.fffffffffffffp-1022;
        QTest::newRow("smallest subnormal") << BinaryFraction(1, 1074) << smallest;
        QTest::newRow("half the smallest ties to 0") << BinaryFraction(1, 1075) << 0.0;
        QTest::newRow("just above half the smallest") << BinaryFraction(1, 1075) + "1" << smallest;
        QTest::newRow("3/2 of the smallest ties up to even") << BinaryFraction(3, 1075) << 2 * smallest;
        QTest::newRow("5/2 of the smallest ties down to even") << BinaryFraction(5, 1075) << 2 * smallest;
    }
    void nearestReal()
    {
        QFETCH(std::string, literal);
        QFETCH(double, expected);
        COMPARE_BITS(ScannedValue(literal), expected);
    }

    void beyondTheRange_data()
    {
        QTest::addColumn<std::string>("literal");
        QTest::newRow("the overflow midpoint ties away from the largest real") << OverflowMidpoint();
        QTest::newRow("just above the overflow midpoint") << OverflowMidpoint() + ".000001";
        QTest::newRow("2^1024") << Power(2, 1024);
    }
    void beyondTheRange()
    {
        QFETCH(std::string, literal);
        QCOMPARE(FaultOf([&] { ScannedValue(literal); }), std::optional(FloatFaultKind::Overflow));
    }

    // Literals of one shape (digits before the point, zeros after it, further
    // digits) drawn at random until enough of them round differently through
    // extended; every literal drawn must read as strtod reads it.
    void doubleRoundingCases_data()
    {
        QTest::addColumn<int>("integerDigits");
        QTest::addColumn<int>("zeros");
        QTest::addColumn<int>("fractionDigits");
        QTest::newRow("0.00dddd") << 0 << 2 << 4;
        QTest::newRow("0.dddddd") << 0 << 0 << 6;
        QTest::newRow("0.00000 and nine digits") << 0 << 5 << 9;
        QTest::newRow("seventeen fraction digits") << 0 << 0 << 17;
        QTest::newRow("d and sixteen fraction digits") << 1 << 0 << 16;
        QTest::newRow("near 1e-300") << 0 << 300 << 12;
        QTest::newRow("300-digit integers") << 300 << 0 << 0;
    }
    void doubleRoundingCases()
    {
        QFETCH(int, integerDigits);
        QFETCH(int, zeros);
        QFETCH(int, fractionDigits);
        std::mt19937_64 random(20240612);
        const auto digit = [&random](bool nonZero) {
            return static_cast<char>(nonZero ? '1' + random() % 9 : '0' + random() % 10);
        };
        const int wanted = 20;
        int found = 0;
        for (int drawn = 0; drawn < 400000 && found < wanted; ++drawn) {
            std::string literal;
            for (int i = 0; i < integerDigits; ++i)
                literal += digit(i == 0);
            if (integerDigits == 0)
                literal = "0";
            if (zeros + fractionDigits > 0) {
                literal += '.' + std::string(static_cast<std::size_t>(zeros), '0');
                for (int i = 0; i < fractionDigits; ++i)
                    literal += digit(i == fractionDigits - 1);
            }
            const double nearest = StrtodNearest(literal);
            const double scanned = ScannedValue(literal);
            QVERIFY2(SameBits(scanned, nearest),
                     (QByteArray::fromStdString(literal) + " read as " + Shown(scanned)).constData());
            if (!SameBits(ThroughExtended(literal), nearest))
                ++found;
        }
        QVERIFY2(found == wanted, QByteArray::number(found).constData());
    }
};

QTEST_APPLESS_MAIN(TestLiterals)
#include "test_literals.moc"
