// SPDX-License-Identifier: GPL-3.0-or-later
// The software extended format against the x87, bit for bit: sums,
// differences, products, quotients and roots at the ties of their rounding,
// across the denormals of the format and at the edges of its range; the
// store to double at its ties and among the double denormals; the whole-
// number roundings; the comparisons; and millions of random operands.
#include <QtTest>

#include <cfloat>
#include <cmath>
#include <limits>

#include "SoftElementary.h"
#include "SoftTesting.h"

namespace {

constexpr long double LeastNormal = 0x1p-16382L;
constexpr long double LeastDenormal = 0x1p-16445L;
constexpr long double Largest = LDBL_MAX;
const long double NaN = std::numeric_limits<long double>::quiet_NaN();
constexpr long double Infinity = std::numeric_limits<long double>::infinity();

long double X87(char op, long double a, long double b)
{
    switch (op) {
    case '+':
        return a + b;
    case '-':
        return a - b;
    case '*':
        return a * b;
    case '/':
        return a / b;
    default:
        return sqrtl(a);
    }
}

SoftExtended Soft(char op, SoftExtended a, SoftExtended b)
{
    switch (op) {
    case '+':
        return a + b;
    case '-':
        return a - b;
    case '*':
        return a * b;
    case '/':
        return a / b;
    default:
        return std::sqrt(a);
    }
}

bool SameDouble(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

class TestSoftExtended : public QObject {
    Q_OBJECT

private slots:
    void constants()
    {
        // Literals are read at compile time by the long double arithmetic
        // of the target (x87 here, binary128 in WebAssembly).
        constexpr SoftExtended tolerance = 1e-15L;
        QVERIFY(SameValue(tolerance, 1e-15L));
        constexpr SoftExtended factor = 0xC.CCCCCCCCCCCCCCDp-7L;
        QVERIFY(SameValue(factor, 0xC.CCCCCCCCCCCCCCDp-7L));
        constexpr SoftExtended least = LeastDenormal;
        QVERIFY(SameValue(least, LeastDenormal));
        constexpr SoftExtended negativeZero = -0.0L;
        QVERIFY(SameValue(negativeZero, -0.0L));
        constexpr SoftExtended largest = Largest;
        QVERIFY(SameValue(largest, Largest));
        QVERIFY(SameValue(std::numeric_limits<SoftExtended>::max(), Largest));
        QVERIFY(SameValue(std::numeric_limits<SoftExtended>::min(), LeastNormal));
        QVERIFY(SameValue(std::numeric_limits<SoftExtended>::denorm_min(), LeastDenormal));
        QVERIFY(SameValue(std::numeric_limits<SoftExtended>::epsilon(), LDBL_EPSILON));
        QVERIFY(SameValue(SoftExtended(-2147483648), -2147483648.0L));
        QVERIFY(SameValue(SoftExtended(std::numeric_limits<std::uint64_t>::max()), 18446744073709551615.0L));
        QVERIFY(SameValue(SoftExtended(std::numeric_limits<std::int64_t>::min()), -0x1p63L));
    }

    void arithmetic_data()
    {
        QTest::addColumn<char>("op");
        QTest::addColumn<long double>("a");
        QTest::addColumn<long double>("b");
        const long double ulpOfOne = 0x1p-63L;
        QTest::newRow("sum: tie to even, down") << '+' << 1.0L << 0x1p-64L;
        QTest::newRow("sum: tie to even, up") << '+' << (1.0L + ulpOfOne) << 0x1p-64L;
        QTest::newRow("sum: just above the tie") << '+' << 1.0L << (0x1p-64L + 0x1p-120L);
        QTest::newRow("sum: just below the tie") << '+' << 1.0L << (0x1p-64L - 0x1p-120L);
        QTest::newRow("sum: a tie carries into the next binade") << '+' << (2.0L - ulpOfOne) << 0x1p-64L;
        QTest::newRow("sum: far smaller addend") << '+' << 1.0L << 0x1p-300L;
        QTest::newRow("difference: far smaller subtrahend") << '-' << 1.0L << 0x1p-300L;
        QTest::newRow("difference: borrow to a tie") << '-' << 0x1p64L << 0.5L;
        QTest::newRow("difference: cancels to a denormal") << '-' << (LeastNormal + LeastDenormal) << LeastNormal;
        QTest::newRow("difference: one bit lost, sticky below") << '-' << 1.0L << (0x1p-65L + 0x1p-130L);
        QTest::newRow("difference: x - x is +0") << '-' << 3.5L << 3.5L;
        QTest::newRow("sum: -0 + -0 is -0") << '+' << -0.0L << -0.0L;
        QTest::newRow("sum: -0 + +0 is +0") << '+' << -0.0L << 0.0L;
        QTest::newRow("sum: x + 0 keeps a denormal") << '+' << 3 * LeastDenormal << 0.0L;
        QTest::newRow("sum: two denormals") << '+' << 5 * LeastDenormal << 7 * LeastDenormal;
        QTest::newRow("sum: denormals reach the least normal") << '+' << (LeastNormal - LeastDenormal) << LeastDenormal;
        QTest::newRow("sum: overflow") << '+' << Largest << Largest;
        QTest::newRow("sum: a tie past the largest") << '+' << Largest << 0x1p16319L;
        QTest::newRow("sum: below the tie past the largest") << '+' << Largest << 0x1p16318L;
        QTest::newRow("sum: inf - inf") << '+' << Infinity << -Infinity;
        QTest::newRow("sum: inf + 1") << '+' << Infinity << 1.0L;
        QTest::newRow("sum: NaN") << '+' << NaN << 1.0L;
        QTest::newRow("product: a tie to even stays") << '*' << (1.0L + 0x1p-32L) << (1.0L + 0x1p-32L);
        QTest::newRow("product: just above the tie") << '*' << (1.0L + 0x1p-32L) << (1.0L + 0x1p-32L + ulpOfOne);
        QTest::newRow("product: 2^64 - 1 squared") << '*' << 18446744073709551615.0L << 18446744073709551615.0L;
        QTest::newRow("product: into the denormals") << '*' << 0x1p-8200L << 0x1p-8230L;
        QTest::newRow("product: a tie on the denormal grid") << '*' << 3 * 0x1p-16440L << 0x1.8p-5L;
        QTest::newRow("product: half the least denormal") << '*' << LeastDenormal << 0.5L;
        QTest::newRow("product: over half the least denormal") << '*' << LeastDenormal << (0.5L + 0x1p-60L);
        QTest::newRow("product: far below the denormals") << '*' << 0x1p-10000L << 0x1p-10000L;
        QTest::newRow("product: a denormal operand") << '*' << 12345 * LeastDenormal << 0x1.23456789abcdefp+70L;
        QTest::newRow("product: overflow") << '*' << 0x1p16000L << 0x1p400L;
        QTest::newRow("product: rounds up to the least normal")
            << '*' << (LeastNormal - LeastDenormal) << (1.0L + 0x1p-62L);
        QTest::newRow("product: -0 * 5") << '*' << -0.0L << 5.0L;
        QTest::newRow("product: inf * 0") << '*' << Infinity << 0.0L;
        QTest::newRow("quotient: one third") << '/' << 1.0L << 3.0L;
        QTest::newRow("quotient: remainder just below half") << '/' << 18446744073709551615.0L << 18446744073709551613.0L;
        QTest::newRow("quotient: onto the denormal grid") << '/' << 0x1p-16440L << 3.0L;
        QTest::newRow("quotient: below half the least denormal") << '/' << LeastDenormal << 2.5L;
        QTest::newRow("quotient: overflow") << '/' << Largest << 0.5L;
        QTest::newRow("quotient: by zero") << '/' << 1.0L << 0.0L;
        QTest::newRow("quotient: -1 by +0") << '/' << -1.0L << 0.0L;
        QTest::newRow("quotient: 0 / 0") << '/' << 0.0L << 0.0L;
        QTest::newRow("quotient: by a denormal") << '/' << 1.0L << 7 * LeastDenormal;
        QTest::newRow("quotient: inf / inf") << '/' << Infinity << Infinity;
        QTest::newRow("quotient: 1 / inf") << '/' << -1.0L << Infinity;
        QTest::newRow("root: 2") << 's' << 2.0L << 0.0L;
        QTest::newRow("root: of the least denormal") << 's' << LeastDenormal << 0.0L;
        QTest::newRow("root: of an odd power of two") << 's' << 0x1p-16383L << 0.0L;
        QTest::newRow("root: of the largest") << 's' << Largest << 0.0L;
        QTest::newRow("root: of a square") << 's' << 0x1.fffffffep+62L * 0x1.fffffffep+62L << 0.0L;
        QTest::newRow("root: just below a whole square") << 's' << 18446744073709551615.0L << 0.0L;
        QTest::newRow("root: -0") << 's' << -0.0L << 0.0L;
        QTest::newRow("root: -1") << 's' << -1.0L << 0.0L;
        QTest::newRow("root: inf") << 's' << Infinity << 0.0L;
    }

    void arithmetic()
    {
        QFETCH(char, op);
        QFETCH(long double, a);
        QFETCH(long double, b);
        const long double expected = X87(op, a, b);
        const SoftExtended actual = Soft(op, SoftOf(a), SoftOf(b));
        QVERIFY2(SameValue(actual, expected), Shown(actual) + " is not " + Shown(expected));
        QVERIFY(SameDouble(static_cast<double>(actual), static_cast<double>(expected)) || std::isnan(expected));
    }

    void toDouble_data()
    {
        QTest::addColumn<long double>("value");
        QTest::newRow("tie to even, down") << (1.0L + 0x1p-53L);
        QTest::newRow("tie to even, up") << (1.0L + 3 * 0x1p-53L);
        QTest::newRow("just above the tie") << (1.0L + 0x1p-53L + 0x1p-63L);
        QTest::newRow("just below the tie") << (1.0L + 0x1p-53L - 0x1p-64L);
        QTest::newRow("negative tie") << -(1.0L + 0x1p-53L);
        QTest::newRow("largest double") << static_cast<long double>(DBL_MAX);
        QTest::newRow("tie above the largest double") << (DBL_MAX + 0x1p970L);
        QTest::newRow("below the tie above the largest") << (DBL_MAX + 0x1p969L);
        QTest::newRow("past the doubles") << 0x1p1100L;
        QTest::newRow("least denormal") << 0x1p-1074L;
        QTest::newRow("half the least denormal") << 0x1p-1075L;
        QTest::newRow("over half the least denormal") << (0x1p-1075L + 0x1p-1130L);
        QTest::newRow("three halves of the least denormal") << 3 * 0x1p-1075L;
        QTest::newRow("five halves of the least denormal") << 5 * 0x1p-1075L;
        QTest::newRow("denormal tie far down the grid") << (0x1p-1060L + 0x1p-1075L);
        QTest::newRow("rounds up to the least normal") << (0x1p-1022L - 0x1p-1076L);
        QTest::newRow("largest denormal") << (0x1p-1022L - 0x1p-1074L);
        QTest::newRow("an extended denormal") << LeastDenormal;
        QTest::newRow("-0") << -0.0L;
        QTest::newRow("inf") << -Infinity;
    }

    void toDouble()
    {
        QFETCH(long double, value);
        const double expected = static_cast<double>(value);
        const double actual = static_cast<double>(SoftOf(value));
        QVERIFY2(SameDouble(actual, expected), QByteArray::number(actual, 'g', 17) + " is not " +
                                                   QByteArray::number(expected, 'g', 17));
        // And back: every double is an extended value.
        QVERIFY(SameValue(SoftExtended(expected), static_cast<long double>(expected)));
    }

    void wholeNumbers_data()
    {
        QTest::addColumn<long double>("value");
        for (const long double v :
             {0.5L, 1.5L, 2.5L, -0.5L, -2.5L, 0.49999999999999999995L, 0.75L, -0.25L, 2147483647.5L, -2147483648.5L,
              2147483648.4L, -2147483649.5L, 0x1p62L + 0.5L, 0x1p63L - 0.5L, 0x1p63L, 0x1p64L - 1, 1e-4940L,
              -1e-4940L, 1e300L, -0.0L, 123456.78125L, -7.0L}) {
            QTest::newRow(Shown(v).constData()) << v;
        }
    }

    void wholeNumbers()
    {
        QFETCH(long double, value);
        const SoftExtended soft = SoftOf(value);
        QVERIFY(SameValue(std::floor(soft), floorl(value)));
        QVERIFY(SameValue(std::ceil(soft), ceill(value)));
        QVERIFY(SameValue(std::trunc(soft), truncl(value)));
        QVERIFY(SameValue(std::nearbyint(soft), nearbyintl(value)));
        QVERIFY(SameValue(std::fmod(soft, SoftExtended(2.0)), fmodl(value, 2.0L)));
        int softExponent = 0;
        int x87Exponent = 0;
        QVERIFY(SameValue(std::frexp(soft, &softExponent), frexpl(value, &x87Exponent)));
        QCOMPARE(softExponent, x87Exponent);
        if (fabsl(value) < 0x1p63L) {
            QCOMPARE(static_cast<long long>(soft), static_cast<long long>(value));
            QCOMPARE(static_cast<long long>(std::nearbyint(soft)), static_cast<long long>(nearbyintl(value)));
        }
    }

    void scaling_data()
    {
        QTest::addColumn<long double>("value");
        QTest::addColumn<int>("exponent");
        QTest::newRow("exact") << 1.75L << 100;
        QTest::newRow("into the denormals, a tie") << 0x1.8p-16380L << -65;
        QTest::newRow("below the least denormal") << 1.0L << -16447;
        QTest::newRow("overflow") << 1.5L << 16384;
        QTest::newRow("a denormal up") << 3 * LeastDenormal << 100;
    }

    void scaling()
    {
        QFETCH(long double, value);
        QFETCH(int, exponent);
        QVERIFY(SameValue(std::ldexp(SoftOf(value), exponent), ldexpl(value, exponent)));
        QVERIFY(SameValue(soft_extended::ScaleByPower(SoftOf(value), SoftExtended(exponent)),
                          X87Scale(value, exponent)));
    }

    void comparisons_data()
    {
        QTest::addColumn<long double>("a");
        QTest::addColumn<long double>("b");
        QTest::newRow("+0 and -0") << 0.0L << -0.0L;
        QTest::newRow("NaN and 1") << NaN << 1.0L;
        QTest::newRow("denormal and 0") << LeastDenormal << 0.0L;
        QTest::newRow("-1 and -2") << -1.0L << -2.0L;
        QTest::newRow("inf and largest") << Infinity << Largest;
        QTest::newRow("neighbours") << 1.0L << (1.0L + 0x1p-63L);
        QTest::newRow("equal") << -3.25L << -3.25L;
        QTest::newRow("-denormal and +denormal") << -LeastDenormal << LeastDenormal;
    }

    void comparisons()
    {
        QFETCH(long double, a);
        QFETCH(long double, b);
        const SoftExtended x = SoftOf(a);
        const SoftExtended y = SoftOf(b);
        for (int swap = 0; swap < 2; ++swap) {
            const SoftExtended& p = swap ? y : x;
            const SoftExtended& q = swap ? x : y;
            const long double& u = swap ? b : a;
            const long double& v = swap ? a : b;
            QCOMPARE(p < q, u < v);
            QCOMPARE(p <= q, u <= v);
            QCOMPARE(p > q, u > v);
            QCOMPARE(p >= q, u >= v);
            QCOMPARE(p == q, u == v);
            QCOMPARE(p != q, u != v);
        }
    }

    // Millions of random operands, every operation against the x87.
    void randomOperands()
    {
        RandomExtended random(20261208);
        const char ops[] = {'+', '-', '*', '/', 's'};
        long failures = 0;
        QByteArray first;
        for (int i = 0; i < 2000000; ++i) {
            const long double a = random.Value();
            const long double b = i % 4 == 0 ? random.Near(a) : random.Value();
            const SoftExtended x = SoftOf(a);
            const SoftExtended y = SoftOf(b);
            for (const char op : ops) {
                const long double expected = X87(op, op == 's' ? fabsl(a) : a, b);
                const SoftExtended actual = Soft(op, op == 's' ? std::fabs(x) : x, y);
                const double expectedDouble = static_cast<double>(expected);
                const double actualDouble = static_cast<double>(actual);
                const bool same = SameValue(actual, expected) &&
                                  (SameDouble(actualDouble, expectedDouble) || std::isnan(expected)) &&
                                  (x < y) == (a < b) && (x == y) == (a == b);
                if (!same && failures++ == 0)
                    first = QByteArray(1, op) + " of " + Shown(a) + " and " + Shown(b) + ": " + Shown(actual) +
                            " is not " + Shown(expected);
            }
            if (i % 16 == 0) {  // the remainder takes longer: a sample
                const long double expected = fmodl(a, b);
                const SoftExtended actual = std::fmod(x, y);
                if (!SameValue(actual, expected) && failures++ == 0)
                    first = "fmod of " + Shown(a) + " and " + Shown(b) + ": " + Shown(actual);
            }
            if (fabsl(a) < 0x1p63L && static_cast<long long>(x) != static_cast<long long>(a) && failures++ == 0)
                first = "whole part of " + Shown(a);
        }
        QVERIFY2(failures == 0, (QByteArray::number(failures) + " failures, the first: " + first).constData());
    }

    // Pairs of doubles, the evaluator's operands: exact results, sums and
    // differences near a power of two, products of few bits, every exponent
    // of the doubles.
    void randomDoublePairs()
    {
        RandomExtended random(41);
        long failures = 0;
        QByteArray first;
        const auto randomDouble = [&] {
            const int exponent = static_cast<int>(random.Next() % 2) ? static_cast<int>(random.Next() % 21) - 10
                                                                  : static_cast<int>(random.Next() % 2100) - 1050;
            std::uint64_t significand = random.Next() >> 11;
            if (random.Next() % 4 == 0)
                significand &= ~((std::uint64_t{1} << (random.Next() % 53)) - 1);  // few bits
            const double v = std::ldexp(static_cast<double>(significand | (std::uint64_t{1} << 52)), exponent - 52);
            return random.Next() % 2 ? -v : v;
        };
        for (int i = 0; i < 1000000; ++i) {
            const double a = randomDouble();
            double b = randomDouble();
            switch (i % 5) {
            case 0:  // close to a, or to -a
                b = std::nextafter(a, random.Next() % 2 ? 0.0 : 1e308) * (random.Next() % 2 ? 1 : -1);
                break;
            case 1:  // a power of two
                b = std::ldexp(1.0, std::ilogb(a) - static_cast<int>(random.Next() % 70)) * (random.Next() % 2 ? 1 : -1);
                break;
            default:
                break;
            }
            for (const char op : {'+', '-', '*', '/'}) {
                const long double expected = X87(op, a, b);
                const SoftExtended actual = Soft(op, a, b);
                if (!(SameValue(actual, expected) &&
                      SameDouble(static_cast<double>(actual), static_cast<double>(expected))) &&
                    failures++ == 0)
                    first = QByteArray(1, op) + " of " + QByteArray::number(a, 'a', 13) + " and " +
                            QByteArray::number(b, 'a', 13) + ": " + Shown(actual) + " is not " + Shown(expected);
            }
        }
        QVERIFY2(failures == 0, (QByteArray::number(failures) + " failures, the first: " + first).constData());
    }

    // Quotients of doubles within 2^-50 units of a tie of the 64-bit
    // rounding, made so: for an odd b of 53 bits and a small odd c, the odd
    // n = c / b mod 2^65 makes b n = A 2^65 + c, so A / b 2^65 = n - c / b:
    // A (53 bits) over b lies c / 2b units from a tie.
    void quotientsNearTies()
    {
        using U128 = unsigned __int128;
        RandomExtended random(43);
        const U128 mask = (U128{1} << 65) - 1;
        int tried = 0;
        for (int i = 0; tried < 20000; ++i) {
            const std::uint64_t b = (random.Next() >> 11) | (std::uint64_t{1} << 52) | 1;
            U128 inverse = b;  // Newton's steps, 3 bits good to 96 and more
            for (int k = 0; k < 6; ++k)
                inverse *= 2 - U128{b} * inverse;
            const std::int64_t c = static_cast<std::int64_t>(random.Next() % 8) * 2 - 7;
            const U128 n = (static_cast<U128>(static_cast<__int128>(c)) * inverse) & mask;
            if ((n >> 64) == 0)
                continue;  // the quotient would have fewer bits
            const U128 product = U128{b} * n - static_cast<U128>(static_cast<__int128>(c));
            const auto a = static_cast<std::uint64_t>(product >> 65);
            if (a >> 53 != 0)
                continue;
            ++tried;
            const double x = std::ldexp(static_cast<double>(a), static_cast<int>(random.Next() % 40) - 20);
            const double y = std::ldexp(static_cast<double>(b), static_cast<int>(random.Next() % 40) - 20);
            const long double expected = static_cast<long double>(x) / y;
            const SoftExtended actual = SoftExtended(x) / SoftExtended(y);
            QVERIFY2(SameValue(actual, expected), (QByteArray::number(x, 'a', 13) + " / " + QByteArray::number(y, 'a', 13) +
                                                   ": " + Shown(actual) + " is not " + Shown(expected))
                                                      .constData());
        }
    }

    void randomDoubles()
    {
        RandomExtended random(7);
        long failures = 0;
        for (int i = 0; i < 1000000; ++i) {
            const std::uint64_t bits = random.Next();
            double d = 0;
            std::memcpy(&d, &bits, sizeof d);
            if (!SameValue(SoftExtended(d), static_cast<long double>(d)))
                ++failures;
        }
        QCOMPARE(failures, 0L);
    }
};

QTEST_APPLESS_MAIN(TestSoftExtended)
#include "test_softextended.moc"
