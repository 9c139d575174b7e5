// SPDX-License-Identifier: GPL-3.0-or-later
// IntPower against the plain loop of rounded products that defines it:
// known powers, the early ends (certain overflow, underflow to 0 and its
// reciprocal, fixed points) with their faults, long powers with values the
// loop gave, random bases near +-1, near binade edges and with denormal
// results, and the long-work hook on long powers. Every comparison is to the
// bit, value and fault, for IntPower itself and for both ways of forming the
// products one at a time (FMA-checked where the CPU has FMA, and x87).
#include <QtTest>

#include <atomic>
#include <bit>
#include <cmath>
#include <limits>
#include <random>

#include "EngineTestSupport.h"
#include "IntegerPowers.h"
#include "LongWork.h"

namespace {

// The sanitizer build runs the loop several times slower: it gets a tenth of
// the random work, with exponents a tenth as large.
#if defined(__SANITIZE_ADDRESS__)
constexpr double WorkScale = 0.1;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr double WorkScale = 0.1;
#else
constexpr double WorkScale = 1.0;
#endif
#else
constexpr double WorkScale = 1.0;
#endif

constexpr std::int32_t IntMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t IntMin = std::numeric_limits<std::int32_t>::min();

struct Outcome {
    double Value = 0.0;
    std::optional<FloatFaultKind> Fault;
};

template <typename F>
Outcome OutcomeOf(F&& f)
{
    Outcome o;
    o.Fault = FaultOf([&] { o.Value = f(); });
    return o;
}

bool Same(const Outcome& a, const Outcome& b)
{
    return a.Fault == b.Fault && (a.Fault || SameBits(a.Value, b.Value));
}

QByteArray Described(const Outcome& o)
{
    if (o.Fault)
        return QByteArray("fault ") + FloatFaultMessage(*o.Fault);
    return Shown(o.Value) + " (" + QByteArray::number(std::bit_cast<quint64>(o.Value), 16) + ")";
}

QByteArray Described(double x, std::int32_t n)
{
    return QByteArray::number(x, 'g', 17) + " (" + QByteArray::number(std::bit_cast<quint64>(x), 16) + ")^" +
           QByteArray::number(n);
}

// The empty text when IntPower and the fast form with its other way of
// forming products one at a time (x87 where IntPower takes FMA) give
// `expected`; else what differs.
QByteArray Mismatch(double x, std::int32_t n, const Outcome& expected, bool otherWay = true)
{
    const Outcome got = OutcomeOf([&] { return IntPower(x, n); });
    if (!Same(got, expected))
        return Described(x, n) + " IntPower: " + Described(got) + ", expected " + Described(expected);
    if (otherWay && CpuHasFma()) {
        const Outcome byX87 = OutcomeOf([&] { return IntPowerFast(x, n, false); });
        if (!Same(byX87, expected))
            return Described(x, n) + " with x87 products: " + Described(byX87) + ", expected " + Described(expected);
    }
    return QByteArray();
}

QByteArray MismatchWithLoop(double x, std::int32_t n)
{
    return Mismatch(x, n, OutcomeOf([&] { return IntPowerByLoop(x, n); }));
}

// The base the evaluator stores for a formula such as "1+1/1000".
double Evaluated(const QByteArray& text)
{
    PlotState draw;
    std::string error;
    const double value = EvaluateExpression(draw, text.toStdString(), error);
    if (!error.empty())
        qFatal("%s: %s", text.constData(), error.c_str());
    return value;
}

double Ulps(double x, std::int64_t k)  // k representable steps away from x (same sign)
{
    return std::bit_cast<double>(static_cast<std::int64_t>(std::bit_cast<std::uint64_t>(x)) + k);
}

// Random bases of one kind. J counts the units of 2^-52 above 1 or of
// 2^-53 below 1 (the step of the runs).
enum class BaseKind { FewUlpsAboveOne, FewUlpsBelowOne, RunsAboveOne, RunsBelowOne, Decimal, BinadeEdge, Denormal };

double RandomBase(BaseKind kind, std::mt19937_64& random)
{
    auto below = [&](std::uint64_t limit) { return static_cast<std::int64_t>(random() % limit); };
    switch (kind) {
    case BaseKind::FewUlpsAboveOne:
        return Ulps(1.0, 1 + below(64));
    case BaseKind::FewUlpsBelowOne:
        return Ulps(1.0, -1 - below(64));
    case BaseKind::RunsAboveOne: {  // J of 2^16 .. 2^28: runs of one to thousands of products
        const std::int64_t j = std::int64_t{1} << (16 + below(12));
        return Ulps(1.0, j + below(j));
    }
    case BaseKind::RunsBelowOne: {
        const std::int64_t j = std::int64_t{1} << (16 + below(12));
        return Ulps(1.0, -j - below(j));
    }
    case BaseKind::Decimal:  // as typed: 1.0000001, 0.99999
        return Evaluated("1" + QByteArray(random() % 2 ? "+" : "-") + QByteArray::number(1 + below(100000)) + "/" +
                         QByteArray::number(std::int64_t{10} << below(7)) + "000");
    case BaseKind::BinadeEdge:  // a few ulps off 2^k
        return Ulps(std::ldexp(1.0, static_cast<int>(below(9)) - 4), below(33) - 16);
    case BaseKind::Denormal:  // 1/2 .. 1, or just above 1/2
        return random() % 2 ? 0.5 + std::ldexp(static_cast<double>(random() >> 12), -53)
                            : Ulps(0.5, 1 + below(1 << 20));
    }
    return 1.0;
}

// Exponents of one kind for a base: up to maxExponent, as many below 100 as
// from 10^6 to 10^7; or (Denormal) around where the power turns denormal.
std::int32_t RandomExponent(BaseKind kind, double x, std::int64_t maxExponent, std::mt19937_64& random)
{
    const std::uint64_t scale = std::uint64_t{2} << random() % std::bit_width(static_cast<std::uint64_t>(maxExponent));
    std::int64_t n = static_cast<std::int64_t>(random() % std::min(scale, static_cast<std::uint64_t>(maxExponent) + 1));
    if (kind == BaseKind::Denormal) {
        const double toDenormal = 1022.0 / -std::log2(std::fabs(x));
        n = std::min<std::int64_t>(maxExponent, static_cast<std::int64_t>(toDenormal * (0.9 + 0.2 * (random() % 64) / 64.0)));
    }
    return static_cast<std::int32_t>(random() % 4 == 0 ? -n : n);
}

struct PollCount {
    std::atomic<bool> Cancel{false};
    int Polls = 0;
    int CancelAt = -1;  // poll at which to set the cancel flag; -1 never
};

void CountPoll(void* context)
{
    auto* count = static_cast<PollCount*>(context);
    if (++count->Polls == count->CancelAt)
        count->Cancel = true;
}

}  // namespace

Q_DECLARE_METATYPE(BaseKind)

class TestIntPower : public QObject {
    Q_OBJECT

private slots:
    void knownPowers_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("n");
        // (1+1/n)^n and (1-1/n)^n with the bases the formulas give.
        QList<qint64> exponents;
        for (qint64 n = 10; n <= 10000000; n *= 10)
            exponents << n;
        for (int k = 1; k <= 23; ++k)
            exponents << (qint64{1} << k) - 1;
        for (const qint64 n : exponents) {
            for (const char* sign : {"+", "-"}) {
                const QByteArray text = QByteArray("1") + sign + "1/" + QByteArray::number(n);
                QTest::newRow("(" + text + ")^" + QByteArray::number(n)) << Evaluated(text) << int(n);
                if (n <= 100000)
                    QTest::newRow("(" + text + ")^-" + QByteArray::number(n)) << Evaluated(text) << int(-n);
            }
        }
        QTest::newRow("1.0000001^10000000") << 1.0000001 << 10000000;
        QTest::newRow("(-0.9999999)^-9999999") << -0.9999999 << -9999999;
        // Certain overflow, overflow on the way, reciprocals too large or of 0.
        QTest::newRow("1.5^2000000000") << 1.5 << 2000000000;
        QTest::newRow("1.0001^7100000") << 1.0001 << 7100000;
        QTest::newRow("1.0001^7097829") << 1.0001 << 7097829;
        QTest::newRow("10^-400") << 10.0 << -400;
        QTest::newRow("2^min") << 2.0 << IntMin;
        QTest::newRow("(2-ulp)^1024") << Ulps(2.0, -1) << 1024;
        QTest::newRow("(2-ulp)^1025") << Ulps(2.0, -1) << 1025;
        QTest::newRow("max^2") << std::numeric_limits<double>::max() << 2;
        QTest::newRow("0.5^-1074") << 0.5 << -1074;
        QTest::newRow("0.3^-5000 reciprocal of 0") << 0.3 << -5000;
        QTest::newRow("0.9999^-8000000 reciprocal of a fixed point") << 0.9999 << -8000000;
        QTest::newRow("0.999^-1000000") << 0.999 << -1000000;
        // Underflow to 0 and to the denormal fixed points.
        QTest::newRow("0.4^5000") << 0.4 << 5000;
        QTest::newRow("(-0.4)^5001 is -0") << -0.4 << 5001;
        QTest::newRow("(0.5+ulp)^2000") << Ulps(0.5, 1) << 2000;
        QTest::newRow("0.75^2000000000 sticks") << 0.75 << 2000000000;
        QTest::newRow("(-0.9)^2000000001 sticks") << -0.9 << 2000000001;
        QTest::newRow("0.7^1990") << 0.7 << 1990;
        QTest::newRow("0.9999^7500000") << 0.9999 << 7500000;
        QTest::newRow("smallest normal^100") << std::numeric_limits<double>::min() << 100;
        QTest::newRow("denormal^300") << 1e-310 << 300;
        // Fixed points and exact powers.
        QTest::newRow("1^max") << 1.0 << IntMax;
        QTest::newRow("(-1)^min") << -1.0 << IntMin;
        QTest::newRow("(-1)^max") << -1.0 << IntMax;
        QTest::newRow("0^max") << 0.0 << IntMax;
        QTest::newRow("0^-64") << 0.0 << -64;
        QTest::newRow("(1-2^-53)^10000000") << Ulps(1.0, -1) << 10000000;
        QTest::newRow("(1+2^-52)^10000000") << Ulps(1.0, 1) << 10000000;
        QTest::newRow("3^40 exact, then rounded") << 3.0 << 40;
        QTest::newRow("1.5^1000 ties") << 1.5 << 1000;
        QTest::newRow("1.25^3000 ties") << 1.25 << 3000;
        QTest::newRow("nan^100") << std::numeric_limits<double>::quiet_NaN() << 100;
        QTest::newRow("inf^100") << std::numeric_limits<double>::infinity() << 100;
        QTest::newRow("inf^0") << std::numeric_limits<double>::infinity() << 0;
    }
    void knownPowers()
    {
        QFETCH(double, x);
        QFETCH(int, n);
        const QByteArray mismatch = MismatchWithLoop(x, n);
        QVERIFY2(mismatch.isEmpty(), mismatch.constData());
    }

    // Powers too long for the loop within a test: the values the loop gave
    // (about a minute of products for all of them), and powers of 1 + 2^-52
    // and 1 - 2^-53 whose values the arithmetic tells: while r stays below
    // 1.5, r * (1 + 2^-52) rounds to r + 2^-52, and from 1/2 + 2^-12 up to 1,
    // r * (1 - 2^-53) rounds to r - 2^-53.
    void longPowers_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("n");
        QTest::addColumn<double>("expected");
        QTest::addColumn<bool>("everyProduct");  // no runs: seconds, and as slow as the loop by x87
        struct Family {
            int N;
            double Plus, Minus;  // (1+1/N)^N, (1-1/N)^N
        };
        const Family families[] = {
            {100000000, 0x1.5bf0a8709a86ep+1, 0x1.78b5632373563p-2},
            {1000000000, 0x1.5bf0aa91572bcp+1, 0x1.78b5641263367p-2},
            {33554431, 0x1.5bf0a85a48fcap+1, 0x1.78b56304a122p-2},
            {67108863, 0x1.5bf0a885c6e5p+1, 0x1.78b56333b8401p-2},
            {134217727, 0x1.5bf0a870088d9p+1, 0x1.78b5637a59ef4p-2},
            {268435455, 0x1.5bf0a890a5accp+1, 0x1.78b5636e95553p-2},
            {536870911, 0x1.5bf0a8a0f5818p+1, 0x1.78b56368b20bdp-2},
            {1073741823, 0x1.5bf0a8a91bb72p+1, 0x1.78b56365bebbbp-2},
            {2147483647, 0x1.5bf0a8ad22478p+1, 0x1.78b5636439f7p-2},
        };
        for (const Family& f : families) {
            const QByteArray n = QByteArray::number(f.N);
            QTest::newRow("(1+1/" + n + ")^" + n) << Evaluated("1+1/" + n) << f.N << f.Plus << false;
            QTest::newRow("(1-1/" + n + ")^" + n) << Evaluated("1-1/" + n) << f.N << f.Minus << false;
        }
        QTest::newRow("1.0000001^2000000000") << 1.0000001 << 2000000000 << 0x1.73f51dbbf8e76p+288 << true;
        QTest::newRow("(1+2^-52)^max") << Ulps(1.0, 1) << IntMax << 1.0 + IntMax * 0x1p-52 << false;
        QTest::newRow("(1-2^-53)^max") << Ulps(1.0, -1) << IntMax << 1.0 - IntMax * 0x1p-53 << false;
        QTest::newRow("(-1+2^-53)^-max") << -Ulps(1.0, -1) << -IntMax
                                         << static_cast<double>(-1.0L / (1.0L - IntMax * 0x1p-53L)) << false;
    }
    void longPowers()
    {
        QFETCH(double, x);
        QFETCH(int, n);
        QFETCH(double, expected);
        QFETCH(bool, everyProduct);
        if (everyProduct && WorkScale < 1.0)
            QSKIP("seconds of products; left to the build without sanitizers");
        const QByteArray mismatch = Mismatch(x, n, Outcome{expected, std::nullopt}, !everyProduct);
        QVERIFY2(mismatch.isEmpty(), mismatch.constData());
    }

    void randomPowers_data()
    {
        QTest::addColumn<BaseKind>("kind");
        QTest::addColumn<qint64>("maxExponent");
        QTest::addColumn<double>("products");  // the loop's share of the test's time
        QTest::addColumn<quint64>("seed");
        QTest::newRow("a few ulps above 1") << BaseKind::FewUlpsAboveOne << qint64{20000000} << 5e7 << quint64{1};
        QTest::newRow("a few ulps below 1") << BaseKind::FewUlpsBelowOne << qint64{20000000} << 5e7 << quint64{2};
        QTest::newRow("runs above 1") << BaseKind::RunsAboveOne << qint64{20000000} << 5e7 << quint64{3};
        QTest::newRow("runs below 1") << BaseKind::RunsBelowOne << qint64{20000000} << 5e7 << quint64{4};
        QTest::newRow("decimal near 1") << BaseKind::Decimal << qint64{20000000} << 5e7 << quint64{5};
        QTest::newRow("near binade edges") << BaseKind::BinadeEdge << qint64{5000} << 1e7 << quint64{6};
        QTest::newRow("denormal results") << BaseKind::Denormal << qint64{20000000} << 5e7 << quint64{7};
        QTest::newRow("short powers") << BaseKind::Decimal << qint64{100} << 2e5 << quint64{8};
    }
    void randomPowers()
    {
        QFETCH(BaseKind, kind);
        QFETCH(qint64, maxExponent);
        QFETCH(double, products);
        QFETCH(quint64, seed);
        std::mt19937_64 random(seed);
        const auto largest = std::max<qint64>(100, static_cast<qint64>(maxExponent * WorkScale));
        double formed = 0.0;
        int powers = 0;
        while (formed < products * WorkScale) {
            double x = RandomBase(kind, random);
            if (random() % 2)
                x = -x;
            const std::int32_t n = RandomExponent(kind, x, largest, random);
            const QByteArray mismatch = MismatchWithLoop(x, n);
            QVERIFY2(mismatch.isEmpty(), mismatch.constData());
            formed += std::abs(static_cast<double>(n));
            ++powers;
        }
        QVERIFY(powers > 10);
    }

    // A long power polls the long-work hook while it works, however it forms
    // its products, and stops when the flag is set.
    void longWorkHook_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("minimumPolls");
        QTest::newRow("products one at a time") << 1.0000001 << 50000000 << 40;
        QTest::newRow("runs") << Evaluated("1+1/2147483647") << IntMax << 2;
        QTest::newRow("denormal products") << 0.99999 << 80000000 << 1;
    }
    void longWorkHook()
    {
        QFETCH(double, x);
        QFETCH(int, n);
        QFETCH(int, minimumPolls);
        PollCount count;
        LongWorkHook hook;
        hook.Cancel = &count.Cancel;
        hook.Progress = CountPoll;
        hook.Context = &count;
        {
            LongWorkScope scope(hook);
            const double withHook = IntPower(x, n);
            QVERIFY(SameBits(withHook, IntPower(x, n)));
        }
        QVERIFY2(count.Polls >= minimumPolls, QByteArray::number(count.Polls).constData());

        PollCount cancelling;
        cancelling.CancelAt = 1;
        hook.Cancel = &cancelling.Cancel;
        hook.Context = &cancelling;
        LongWorkScope scope(hook);
        QVERIFY_THROWS_EXCEPTION(EvaluationCancelled, IntPower(x, n));
        QCOMPARE(cancelling.Polls, 1);
    }
};

QTEST_GUILESS_MAIN(TestIntPower)
#include "test_intpower.moc"
