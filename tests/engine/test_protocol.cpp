// SPDX-License-Identifier: GPL-3.0-or-later
// The error-text protocol between compile and evaluation calls, the entry
// test, programs that the compiler never makes, and the caller's program
// staying as it was.
#include <QtTest>

#include <limits>

#include "EngineTestSupport.h"

namespace {

PostfixProgram Compiled(const std::string& text)
{
    PlotState draw;
    std::string errorText;
    PostfixProgram program{};
    CompileExpression(draw, text, errorText, program);
    if (!errorText.empty())
        qFatal("the test formula %s does not compile", text.c_str());
    return program;
}

}  // namespace

class TestProtocol : public QObject {
    Q_OBJECT

private slots:
    // Only the two compile messages, byte for byte, keep a program from running.
    void entryTest_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<bool>("runs");
        QTest::newRow("Chybny vyraz") << QByteArray("Chybny vyraz") << false;
        QTest::newRow("Chybne cislo") << QByteArray("Chybne cislo") << false;
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("Dělení nulou") << QByteArray("Dělení nulou") << true;
        QTest::newRow("Chybný výraz") << QByteArray("Chybný výraz") << true;
        QTest::newRow("another domain message") << QByteArray("Nepřípustný argument logaritmu") << true;
        QTest::newRow("compile message with a trailing space") << QByteArray("Chybny vyraz ") << true;
        QTest::newRow("compile message in lower case") << QByteArray("chybne cislo") << true;
        QTest::newRow("any other text") << QByteArray("xyz") << true;
    }
    void entryTest()
    {
        QFETCH(QByteArray, before);
        QFETCH(bool, runs);
        PlotState draw;
        draw.VarT = 2.0;
        const PostfixProgram program = Compiled("t+1");
        draw.ErrorText = before.toStdString();
        const double result = EvaluatePostfix(draw, program, draw.ErrorText);
        if (runs) {
            COMPARE_BITS(result, 3.0);
            QCOMPARE(Bytes(draw.ErrorText), QByteArray());
        } else {
            COMPARE_BITS(result, FailedResult);
            QCOMPARE(Bytes(draw.ErrorText), before);
        }
    }

    // A blocked program is not run at all: this one would raise a fault.
    void blockedProgramDoesNotRun()
    {
        PlotState draw;
        const PostfixProgram program = Compiled("exp(1000)");
        draw.ErrorText = "Chybne cislo";
        QCOMPARE(FaultOf([&] { EvaluatePostfix(draw, program, draw.ErrorText); }), NoFault());
        QCOMPARE(Bytes(draw.ErrorText), QByteArray("Chybne cislo"));
    }

    void compileMessageBlocksUntilNextCompile()
    {
        PlotState draw;
        draw.VarT = 4.0;
        PostfixProgram good{};
        CompileExpression(draw, "t*2", draw.ErrorText, good);
        QCOMPARE(Bytes(draw.ErrorText), QByteArray());

        PostfixProgram other = good;
        CompileExpression(draw, "sin t", draw.ErrorText, other);
        QCOMPARE(Bytes(draw.ErrorText), QByteArray("Chybny vyraz"));
        QVERIFY(SameProgram(other, good));
        for (int i = 0; i < 3; ++i) {
            COMPARE_BITS(EvaluatePostfix(draw, good, draw.ErrorText), FailedResult);
            QCOMPARE(Bytes(draw.ErrorText), QByteArray("Chybny vyraz"));
        }

        CompileExpression(draw, "t+1", draw.ErrorText, other);
        QCOMPARE(Bytes(draw.ErrorText), QByteArray());
        COMPARE_BITS(EvaluatePostfix(draw, good, draw.ErrorText), 8.0);
        COMPARE_BITS(EvaluatePostfix(draw, other, draw.ErrorText), 5.0);
    }

    void evaluationMessageDoesNotBlock()
    {
        PlotState draw;
        const PostfixProgram program = Compiled("1/t");
        draw.VarT = 0.0;
        COMPARE_BITS(EvaluatePostfix(draw, program, draw.ErrorText), FailedResult);
        QCOMPARE(Bytes(draw.ErrorText), QByteArray("Dělení nulou"));
        draw.VarT = 4.0;
        COMPARE_BITS(EvaluatePostfix(draw, program, draw.ErrorText), 0.25);
        QCOMPARE(Bytes(draw.ErrorText), QByteArray());

        const PostfixProgram surplus = Compiled("2t");
        COMPARE_BITS(EvaluatePostfix(draw, surplus, draw.ErrorText), 4.0);
        QCOMPARE(Bytes(draw.ErrorText), QByteArray("Chybný výraz"));
        COMPARE_BITS(EvaluatePostfix(draw, program, draw.ErrorText), 0.25);
        QCOMPARE(Bytes(draw.ErrorText), QByteArray());
    }

    // The slot was cleared at entry; a fault leaves it empty.
    void faultLeavesSlotEmpty()
    {
        PlotState draw;
        const PostfixProgram program = Compiled("exp(1000)");
        draw.ErrorText = "Dělení nulou";
        QCOMPARE(FaultOf([&] { EvaluatePostfix(draw, program, draw.ErrorText); }),
                 std::optional(FloatFaultKind::Overflow));
        QCOMPARE(Bytes(draw.ErrorText), QByteArray());
    }

    void evaluateExpressionStopsAtCompileMessage_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("2*(3") << "2*(3" << QByteArray("Chybny vyraz");
        QTest::newRow("bad number beside a fault") << "1..2+10^(-400)" << QByteArray("Chybne cislo");
        QTest::newRow("bad order beside a fault") << ")exp(1000)(" << QByteArray("Chybny vyraz");
    }
    void evaluateExpressionStopsAtCompileMessage()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, message);
        PlotState draw;
        double result = -1.0;
        QCOMPARE(FaultOf([&] { result = EvaluateExpression(draw, text.toStdString(), draw.ErrorText); }),
                 NoFault());
        QCOMPARE(Bytes(draw.ErrorText), message);
        COMPARE_BITS(result, FailedResult);
    }

    void evaluateExpressionRecompilesOverAnOldMessage()
    {
        PlotState draw;
        draw.ErrorText = "Chybny vyraz";
        draw.VarT = 1.5;
        COMPARE_BITS(EvaluateExpression(draw, "t+1", draw.ErrorText), 2.5);
        QCOMPARE(Bytes(draw.ErrorText), QByteArray());
    }

    void callerProgramIsNeverChanged()
    {
        PlotState draw;
        draw.VarK = 1.0;
        draw.VarT = 2.0;
        draw.VarZ = 3.0;
        const PostfixProgram program = Compiled("k+t*z-sin(t)/fa(3)");
        const PostfixProgram copy = program;
        const double first = EvaluatePostfix(draw, program, draw.ErrorText);
        draw.VarT = 5.0;
        const double second = EvaluatePostfix(draw, program, draw.ErrorText);
        QVERIFY(SameProgram(program, copy));
        QVERIFY(first != second);
        COMPARE_BITS(EvaluatePostfix(draw, program, draw.ErrorText), second);
    }

    // Programs the compiler never makes: refused with "Chybný výraz" and
    // FailedResult where the fault stands (what ran before it counts), or run
    // when they are sound.
    void handmadePrograms_data()
    {
        QTest::addColumn<CellList>("code");
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<double>("expected");
        const QByteArray refused = "Chybný výraz";
        CellList longSum{{'$', 1.0}};
        for (int i = 0; i < 127; ++i)
            longSum << CellSpec{'$', 1.0} << CellSpec{'+', 0.0};
        CellList manyValues;
        for (int i = 1; i <= 255; ++i)
            manyValues << CellSpec{'$', double(i)};
        CellList noEnd;
        for (int i = 0; i < 256; ++i)
            noEnd << CellSpec{'$', 1.0};
        CellList noEndUnary{{'$', 1.0}};
        for (int i = 1; i < 256; ++i)
            noEndUnary << CellSpec{CodeNegate, 0.0};
        QTest::newRow("tag (") << CellList{{'$', 1.0}, {'(', 0.0}} << refused << FailedResult;
        QTest::newRow("tag )") << CellList{{')', 0.0}} << refused << FailedResult;
        QTest::newRow("tag P") << CellList{{'P', 0.0}} << refused << FailedResult;
        QTest::newRow("tag #") << CellList{{'#', 0.0}} << refused << FailedResult;
        QTest::newRow("tag A") << CellList{{'$', 1.0}, {'A', 0.0}} << refused << FailedResult;
        QTest::newRow("tag 0") << CellList{{0, 0.0}} << refused << FailedResult;
        QTest::newRow("tag 0xC6") << CellList{{'$', 1.0}, {0xC6, 0.0}} << refused << FailedResult;
        QTest::newRow("tag 0xD4") << CellList{{'$', 1.0}, {0xD4, 0.0}} << refused << FailedResult;
        QTest::newRow("unknown tag after a domain error") << CellList{{'$', -1.0}, {CodeSqrt, 0.0}, {'?', 0.0}}
                                                          << QByteArray("Záporný argument odmocniny") << FailedResult;
        QTest::newRow("unknown tag after good cells") << CellList{{'$', 4.0}, {CodeSqrt, 0.0}, {'?', 0.0}}
                                                      << refused << FailedResult;
        QTest::newRow("no end cell") << noEnd << refused << FailedResult;
        QTest::newRow("no end cell, unary chain") << noEndUnary << refused << FailedResult;
        QTest::newRow("not a number") << CellList{{'$', std::numeric_limits<double>::quiet_NaN()}} << refused
                                      << FailedResult;
        QTest::newRow("infinite number") << CellList{{'$', std::numeric_limits<double>::infinity()}} << refused
                                         << FailedResult;
        QTest::newRow("binary operator first") << CellList{{'+', 0.0}} << refused << FailedResult;
        QTest::newRow("binary operator on one value") << CellList{{'$', 2.0}, {'^', 0.0}} << refused << FailedResult;
        QTest::newRow("function first") << CellList{{CodeSin, 0.0}} << refused << FailedResult;
        QTest::newRow("end cell only") << CellList{} << refused << FailedResult;
        QTest::newRow("255 cells of code") << longSum << QByteArray() << 128.0;
        QTest::newRow("255 values") << manyValues << refused << 255.0;
        QTest::newRow("cells after the end are not read")
            << CellList{{'$', 2.0}, {'%', 0.0}, {'(', 0.0}, {'+', 0.0}} << QByteArray() << 2.0;
    }
    void handmadePrograms()
    {
        QFETCH(CellList, code);
        QFETCH(QByteArray, message);
        QFETCH(double, expected);
        PlotState draw;
        const PostfixProgram program = ProgramOf(code);
        const PostfixProgram copy = program;
        double result = -1.0;
        QCOMPARE(FaultOf([&] { result = EvaluatePostfix(draw, program, draw.ErrorText); }), NoFault());
        QCOMPARE(Bytes(draw.ErrorText), message);
        COMPARE_BITS(result, expected);
        QVERIFY(SameProgram(program, copy));
    }
};

QTEST_APPLESS_MAIN(TestProtocol)
#include "test_protocol.moc"
