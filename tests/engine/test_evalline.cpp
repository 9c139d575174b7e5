// SPDX-License-Identifier: GPL-3.0-or-later
// paramcurve-eval's lines: t read in decimal and hexadecimal form (against
// glibc's strtod), values written as glibc's printf("%a") writes them, and
// whole lines with their messages and faults.
#include <QtTest>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "EvalLine.h"
#include "HexFloatText.h"
#include "ParameterText.h"
#include "PlotState.h"
#include "SoftTesting.h"

class TestEvalLine : public QObject {
    Q_OBJECT

private slots:
    void hexFloatText()
    {
        RandomExtended random(23);
        const double specials[] = {0.0, -0.0, 1.0, -3.0, 0x1p-1074, -0x1p-1074, 0x1.8p-1070, 0x1p-1023, 0x1p-1022,
                                   0x1.fffffffffffffp+1023, 0.1, std::numeric_limits<double>::infinity()};
        for (int i = 0; i < 200000; ++i) {
            double v = 0;
            if (i < static_cast<int>(std::size(specials))) {
                v = specials[i];
            } else {
                std::uint64_t bits = random.Next();
                if (i % 3 == 0)
                    bits &= 0x800FFFFFFFFFFFFFu;  // denormal
                std::memcpy(&v, &bits, sizeof v);
                if (std::isnan(v))
                    continue;
            }
            char expected[64];
            std::snprintf(expected, sizeof expected, "%a", v);
            QCOMPARE(QByteArray::fromStdString(HexFloatText(v)), QByteArray(expected));
        }
    }

    void readParameter_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("valid");
        for (const char* text :
             {"2.5", "-0", "+1e3", ".5", "5.", "0x1.8p+1", "0X.8P-2", "-0x10", "0x1p-1074", "0x1p-1075", "0x3p-1075",
              "0x1.00000000000008p+0", "0x1.00000000000018p+0", "0x1.000000000000080000000000000000001p0",
              "0x0.0000000000001p-1022", "0x1.fffffffffffff7p+1023", "4.9406564584124654e-324",
              "2.4703282292062328e-324", "1e-400", "1.7976931348623157e308", "0.1000000000000000055511151231257827",
              "0x123456789abcdef0123456789p-100"}) {
            QTest::newRow(text) << QByteArray(text) << true;
        }
        for (const char* text : {"", "inf", "nan", "-inf", "1e400", "0x1p1024", "0x1.fffffffffffff8p+1023", " 1", "1 ", "1,5", "0x", "0x1p",
                                 "0x1p+", "1e", "--1", "+-1", ".", "0xg", "1.2.3", "t"}) {
            QTest::newRow(text[0] ? text : "empty") << QByteArray(text) << false;
        }
    }

    void readParameter()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, valid);
        double value = 0;
        QCOMPARE(ReadParameter(text.toStdString(), value), valid);
        if (valid) {
            const double expected = std::strtod(text.constData(), nullptr);
            QVERIFY2(std::memcmp(&value, &expected, sizeof value) == 0,
                     (QByteArray::number(value, 'g', 17) + " against " + QByteArray::number(expected, 'g', 17)).constData());
        }
    }

    void readParameterRandom()
    {
        RandomExtended random(29);
        for (int i = 0; i < 100000; ++i) {
            const std::uint64_t bits = random.Next();
            double v = 0;
            std::memcpy(&v, &bits, sizeof v);
            if (!std::isfinite(v))
                continue;
            char text[64];
            std::snprintf(text, sizeof text, i % 2 ? "%a" : "%.17g", v);
            double read = 1;
            QVERIFY(ReadParameter(text, read));
            QVERIFY2(std::memcmp(&read, &v, sizeof v) == 0, text);
        }
    }

    void evaluateLine_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("a value") << QByteArray("2\tt*t+1") << QByteArray("0x1.4p+2\t\t-");
        QTest::newRow("hexadecimal t") << QByteArray("0x1.8p+1\t2*t") << QByteArray("0x1.8p+2\t\t-");
        QTest::newRow("decimal comma in the formula") << QByteArray("1\t2,5*t") << QByteArray("0x1.4p+1\t\t-");
        QTest::newRow("negative zero") << QByteArray("-0\tt") << QByteArray("-0x0p+0\t\t-");
        QTest::newRow("a denormal") << QByteArray("0x1p-1074\tt") << QByteArray("0x0.0000000000001p-1022\t\t-");
        QTest::newRow("other variables are 0") << QByteArray("5\tt+x+y+k+n+r+s+z") << QByteArray("0x1.4p+2\t\t-");
        QTest::newRow("domain message") << QByteArray("0\t1/t") << QByteArray("0x0p+0\tDělení nulou\t-");
        QTest::newRow("compile message") << QByteArray("1\t") << QByteArray("0x0p+0\tChybny vyraz\t-");
        QTest::newRow("structure message, top value")
            << QByteArray("1\t(2)(3)") << QByteArray("0x1.8p+1\tChybný výraz\t-");
        QTest::newRow("overflow") << QByteArray("0\texp(1000)") << QByteArray("0x0p+0\t\tOVERFLOW");
        QTest::newRow("division by zero") << QByteArray("0\t0.001^(-200)") << QByteArray("0x0p+0\t\tDIVZERO");
        QTest::newRow("invalid") << QByteArray("0\t2^3000000000") << QByteArray("0x0p+0\t\tINVALID");
        QTest::newRow("malformed t") << QByteArray("x\tt") << QByteArray("0x0p+0\tChybné t\t-");
        QTest::newRow("no tab") << QByteArray("1 t") << QByteArray("0x0p+0\tChybné t\t-");
        QTest::newRow("a second tab is the formula's")
            << QByteArray("1\tt\t") << QByteArray("0x0p+0\tChybny vyraz\t-");
        QTest::newRow("a carriage return is the formula's")
            << QByteArray("1\tt\r") << QByteArray("0x0p+0\tChybny vyraz\t-");
    }

    void evaluateLine()
    {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, expected);
        auto state = std::make_unique<PlotState>();
        state->VarK = 7;  // a slot left over from before is not read
        state->ErrorText = "Chybny vyraz";
        QCOMPARE(QByteArray::fromStdString(EvaluateLine(line.toStdString(), *state)), expected);
    }
};

QTEST_APPLESS_MAIN(TestEvalLine)
#include "test_evalline.moc"
