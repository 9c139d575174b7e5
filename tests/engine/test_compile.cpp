// SPDX-License-Identifier: GPL-3.0-or-later
// Compilation: ScanToken, the programs of formulas cell by cell, the compile
// messages with the caller's program left untouched, and the capacity limits.
#include <QtTest>

#include "EngineTestSupport.h"

Q_DECLARE_METATYPE(std::string)

namespace {

constexpr int Neg = CodeNegate;
constexpr int Sin = CodeSin;
constexpr int Cos = CodeCos;

CellSpec Num(double v)
{
    return {'$', v};
}

CellSpec Op(int tag)
{
    return {tag, 0.0};
}

// The whole program, all 256 cells: the code, then end cells ("%", 0).
void VerifyProgram(const PostfixProgram& program, const CellList& code)
{
    for (std::size_t i = 0; i < program.size(); ++i) {
        const PostfixCell expected = i < std::size_t(code.size())
                                         ? PostfixCell{static_cast<unsigned char>(code[i].Tag), code[i].Value}
                                         : PostfixCell{EndTag, 0.0};
        const bool same = program[i].Tag == expected.Tag && SameBits(program[i].Value, expected.Value);
        QVERIFY2(same, ("cell " + QByteArray::number(qulonglong(i + 1)) + " is " + Describe(program[i])
                        + ", expected " + Describe(expected))
                           .constData());
    }
}

std::string Repeated(const std::string& piece, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += piece;
    return text;
}

}  // namespace

class TestCompile : public QObject {
    Q_OBJECT

private slots:
    void scanToken_data()
    {
        QTest::addColumn<QByteArray>("compact");
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("found");
        QTest::addColumn<int>("tag");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("length");
        QTest::newRow("number at start") << QByteArray("3*T") << 1 << true << int('$') << 3.0 << 1;
        QTest::newRow("operator") << QByteArray("3*T") << 2 << true << int('*') << 0.0 << 1;
        QTest::newRow("variable") << QByteArray("3*T") << 3 << true << int('T') << 0.0 << 1;
        QTest::newRow("past the end") << QByteArray("3*T") << 4 << false << 0 << 0.0 << 0;
        QTest::newRow("empty string") << QByteArray("") << 1 << false << 0 << 0.0 << 0;
        QTest::newRow("position 0") << QByteArray("3") << 0 << false << 0 << 0.0 << 0;
        QTest::newRow("longest run of digits") << QByteArray("12.5+1") << 1 << true << int('$') << 12.5 << 4;
        QTest::newRow("inside a number") << QByteArray("12.5+1") << 3 << true << int('$') << 0.5 << 2;
        QTest::newRow("last number") << QByteArray("12.5+1") << 6 << true << int('$') << 1.0 << 1;
        QTest::newRow("decimal to nearest real") << QByteArray("0.1") << 1 << true << int('$') << 0.1 << 3;
        QTest::newRow("leading zeros") << QByteArray("007.250") << 1 << true << int('$') << 7.25 << 7;
        QTest::newRow("two points") << QByteArray("1.2.3*T") << 1 << true << int('#') << 0.0 << 5;
        QTest::newRow("double point") << QByteArray("1..2") << 1 << true << int('#') << 0.0 << 4;
        QTest::newRow("function code") << QByteArray("\xC8(T)") << 1 << true << int(CodeSin) << 0.0 << 1;
        QTest::newRow("unary minus code") << QByteArray("\xC7T") << 1 << true << int(CodeNegate) << 0.0 << 1;
        QTest::newRow("pi") << QByteArray("2*P") << 3 << true << int('P') << 0.0 << 1;
        QTest::newRow("largest real") << QByteArray("17976931348623157" + QByteArray(292, '0')) << 1 << true
                                      << int('$') << 1.7976931348623157e308 << 309;
        QTest::newRow("below every real") << QByteArray("0." + QByteArray(5000, '0') + "1") << 1 << true
                                          << int('$') << 0.0 << 5003;
    }
    void scanToken()
    {
        QFETCH(QByteArray, compact);
        QFETCH(int, position);
        QFETCH(bool, found);
        QFETCH(int, tag);
        QFETCH(double, value);
        QFETCH(int, length);
        unsigned char gotTag = 0;
        double gotValue = -1.0;
        std::size_t gotLength = 0;
        QCOMPARE(ScanToken(compact.toStdString(), std::size_t(position), gotTag, gotValue, gotLength), found);
        if (found) {
            QCOMPARE(int(gotTag), tag);
            COMPARE_BITS(gotValue, value);
            QCOMPARE(int(gotLength), length);
        }
    }

    void scanTokenLiteralBeyondRange_data()
    {
        QTest::addColumn<QByteArray>("literal");
        QTest::newRow("10^309") << QByteArray("1" + QByteArray(309, '0'));
        QTest::newRow("just above the largest real") << QByteArray("17976931348623159" + QByteArray(292, '0'));
        QTest::newRow("beyond the extended range") << QByteArray("9" + QByteArray(5000, '0') + ".5");
    }
    void scanTokenLiteralBeyondRange()
    {
        QFETCH(QByteArray, literal);
        unsigned char tag = 0;
        double value = 0.0;
        std::size_t length = 0;
        QCOMPARE(FaultOf([&] { ScanToken(literal.toStdString(), 1, tag, value, length); }),
                 std::optional(FloatFaultKind::Overflow));
    }

    void programs_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<CellList>("code");
        const double pi = 3.141592653589793;
        QTest::newRow("worked example 3*sin(t)")
            << "3*sin(t)" << CellList{Num(3), Op('T'), Op(Sin), Op('*')};
        QTest::newRow("worked example oblique throw")
            << "14*t*sin(80*pi/180)-5*t^2"
            << CellList{Num(14), Op('T'), Op('*'), Num(80), Num(pi), Op('*'), Num(180), Op('/'),
                        Op(Sin), Op('*'), Num(5), Op('T'), Num(2), Op('^'), Op('*'), Op('-')};
        QTest::newRow("-t^2") << "-t^2" << CellList{Op('T'), Num(2), Op('^'), Op(Neg)};
        QTest::newRow("-(t)") << "-(t)" << CellList{Op('T'), Op(Neg)};
        QTest::newRow("(-t)^2") << "(-t)^2" << CellList{Op('T'), Op(Neg), Num(2), Op('^')};
        QTest::newRow("t^(-1)") << "t^(-1)" << CellList{Op('T'), Num(1), Op(Neg), Op('^')};
        QTest::newRow("2^3^2 groups from the left")
            << "2^3^2" << CellList{Num(2), Num(3), Op('^'), Num(2), Op('^')};
        QTest::newRow("-2+3") << "-2+3" << CellList{Num(2), Op(Neg), Num(3), Op('+')};
        QTest::newRow("-2*3") << "-2*3" << CellList{Num(2), Num(3), Op('*'), Op(Neg)};
        QTest::newRow("2*pi") << "2*pi" << CellList{Num(2), Num(pi), Op('*')};
        QTest::newRow("0,5*t") << "0,5*t" << CellList{Num(0.5), Op('T'), Op('*')};
        QTest::newRow("planet x")
            << "-1/(1+0.8*cos(t))*cos(t)"
            << CellList{Num(1), Num(1), Num(0.8), Op('T'), Op(Cos), Op('*'), Op('+'), Op('/'),
                        Op('T'), Op(Cos), Op('*'), Op(Neg)};
        QTest::newRow("planet y")
            << "-1/(1+0.8*cos(t))*sin(t)"
            << CellList{Num(1), Num(1), Num(0.8), Op('T'), Op(Cos), Op('*'), Op('+'), Op('/'),
                        Op('T'), Op(Sin), Op('*'), Op(Neg)};
        QTest::newRow("circle x") << "3*cos(t)" << CellList{Num(3), Op('T'), Op(Cos), Op('*')};
        QTest::newRow("oblique throw x")
            << "14*t*cos(80*pi/180)"
            << CellList{Num(14), Op('T'), Op('*'), Num(80), Num(pi), Op('*'), Num(180), Op('/'),
                        Op(Cos), Op('*')};
        QTest::newRow("folium x") << "3*t/(1+t^3)"
                                  << CellList{Num(3), Op('T'), Op('*'), Num(1), Op('T'), Num(3), Op('^'),
                                              Op('+'), Op('/')};
        QTest::newRow("folium y") << "3*t^2/(1+t^3)"
                                  << CellList{Num(3), Op('T'), Num(2), Op('^'), Op('*'), Num(1), Op('T'),
                                              Num(3), Op('^'), Op('+'), Op('/')};
        QTest::newRow("8-2-1 groups from the left") << "8-2-1" << CellList{Num(8), Num(2), Op('-'), Num(1), Op('-')};
        QTest::newRow("8/2/2 groups from the left") << "8/2/2" << CellList{Num(8), Num(2), Op('/'), Num(2), Op('/')};
        QTest::newRow("power above product") << "2*3^2" << CellList{Num(2), Num(3), Num(2), Op('^'), Op('*')};
        QTest::newRow("product above sum") << "1+2*3" << CellList{Num(1), Num(2), Num(3), Op('*'), Op('+')};
        QTest::newRow("function binds tightest") << "sin(t)^2" << CellList{Op('T'), Op(Sin), Num(2), Op('^')};
        QTest::newRow("functions side by side")
            << "sin(t)cos(t)" << CellList{Op('T'), Op(Sin), Op('T'), Op(Cos)};
        QTest::newRow("nested functions") << "sqrt(abs(t))" << CellList{Op('T'), Op(CodeAbs), Op(CodeSqrt)};
        QTest::newRow("every variable") << "k*n*r*s*t*x*y*z"
                                        << CellList{Op('K'), Op('N'), Op('*'), Op('R'), Op('*'), Op('S'), Op('*'),
                                                    Op('T'), Op('*'), Op('X'), Op('*'), Op('Y'), Op('*'), Op('Z'),
                                                    Op('*')};
        QTest::newRow("pi(2)") << "pi(2)" << CellList{Num(pi), Num(2)};
        QTest::newRow("2+") << "2+" << CellList{Num(2), Op('+')};
        QTest::newRow("*2") << "*2" << CellList{Num(2), Op('*')};
        QTest::newRow("(*2)") << "(*2)" << CellList{Num(2), Op('*')};
        QTest::newRow("2(3)") << "2(3)" << CellList{Num(2), Num(3)};
        QTest::newRow("2t") << "2t" << CellList{Num(2), Op('T')};
        QTest::newRow("2pi") << "2pi" << CellList{Num(2), Num(pi)};
        QTest::newRow("sin()") << "sin()" << CellList{Op(Sin)};
        QTest::newRow("() has no code") << "()" << CellList{};
        QTest::newRow("+ has no code") << "+" << CellList{};
        QTest::newRow("decimal literal") << "12.375" << CellList{Num(12.375)};
    }
    void programs()
    {
        QFETCH(QString, text);
        QFETCH(CellList, code);
        PlotState draw;
        std::string errorText = "left over";
        PostfixProgram program = FilledProgram('Q', 42.0);
        CompileExpression(draw, text.toStdString(), errorText, program);
        QCOMPARE(QByteArray::fromStdString(errorText), QByteArray());
        VerifyProgram(program, code);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("1.2.3") << "1.2.3" << QByteArray("Chybne cislo");
        QTest::newRow("1..2") << "1..2" << QByteArray("Chybne cislo");
        QTest::newRow("1,2,3") << "1,2,3" << QByteArray("Chybne cislo");
        QTest::newRow("bad number after good code") << "t*(1+2.0.1)" << QByteArray("Chybne cislo");
        QTest::newRow(")( from the compiler") << ")(" << QByteArray("Chybny vyraz");
        QTest::newRow(")t( from the compiler") << ")t(" << QByteArray("Chybny vyraz");
        QTest::newRow("sin t from the normalizer") << "sin t" << QByteArray("Chybny vyraz");
        QTest::newRow("empty text") << "" << QByteArray("Chybny vyraz");
        QTest::newRow("unbalanced") << "2*(3" << QByteArray("Chybny vyraz");
        QTest::newRow("diacritics") << QString::fromUtf8("\u010D") << QByteArray("Chybny vyraz");
    }
    void failures()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, message);
        PlotState draw;
        std::string errorText;
        const PostfixProgram before = FilledProgram('Q', 42.0);
        PostfixProgram program = before;
        CompileExpression(draw, text.toStdString(), errorText, program);
        QCOMPARE(Bytes(errorText), message);
        QVERIFY(SameProgram(program, before));
    }

    // The slot is written on every return, so an old message never survives.
    void slotWrittenOnEveryReturn()
    {
        PlotState draw;
        PostfixProgram program{};
        CompileExpression(draw, "1..2", draw.ErrorText, program);
        QCOMPARE(Bytes(draw.ErrorText), QByteArray("Chybne cislo"));
        CompileExpression(draw, ")(", draw.ErrorText, program);
        QCOMPARE(Bytes(draw.ErrorText), QByteArray("Chybny vyraz"));
        CompileExpression(draw, "3*sin(t)", draw.ErrorText, program);
        QCOMPARE(Bytes(draw.ErrorText), QByteArray());
        VerifyProgram(program, CellList{Num(3), Op('T'), Op(Sin), Op('*')});
    }

    void literalBeyondRangeIsAFault()
    {
        PlotState draw;
        std::string errorText;
        const PostfixProgram before = FilledProgram('Q', 42.0);
        PostfixProgram program = before;
        const std::string text = "t+1" + std::string(309, '0');
        QCOMPARE(FaultOf([&] { CompileExpression(draw, text, errorText, program); }),
                 std::optional(FloatFaultKind::Overflow));
        QVERIFY(SameProgram(program, before));
    }

    // 255 cells of code fill the program up to its end cell; one more is refused.
    void capacity_data()
    {
        QTest::addColumn<std::string>("text");
        QTest::addColumn<bool>("fits");
        QTest::newRow("255 cells of code") << ("t" + Repeated("+t", 127)) << true;
        QTest::newRow("256 cells of code") << ("-t" + Repeated("+t", 127)) << false;
        QTest::newRow("far too long") << ("t" + Repeated("+t", 5000)) << false;
        QTest::newRow("255 open parentheses") << (Repeated("(", 255) + "t" + Repeated(")", 255)) << true;
        QTest::newRow("256 open parentheses") << (Repeated("(", 256) + "t" + Repeated(")", 256)) << false;
        QTest::newRow("255 pending entries")
            << (Repeated("-(", 127) + "(t)" + Repeated(")", 127)) << true;
        QTest::newRow("256 pending entries")
            << (Repeated("-(", 128) + "t" + Repeated(")", 128)) << false;
        QTest::newRow("255 pending with operators")
            << (Repeated("t+(", 127) + "(t)" + Repeated(")", 127)) << true;
    }
    void capacity()
    {
        QFETCH(std::string, text);
        QFETCH(bool, fits);
        PlotState draw;
        std::string errorText = "left over";
        const PostfixProgram before = FilledProgram('Q', 42.0);
        PostfixProgram program = before;
        CompileExpression(draw, text, errorText, program);
        if (fits) {
            QCOMPARE(Bytes(errorText), QByteArray());
            QCOMPARE(int(program[255].Tag), int(EndTag));
        } else {
            QCOMPARE(Bytes(errorText), QByteArray("Chybny vyraz"));
            QVERIFY(SameProgram(program, before));
        }
    }

    void fullProgramHasItsEndCellLast()
    {
        PlotState draw;
        std::string errorText;
        PostfixProgram program{};
        CompileExpression(draw, "t" + Repeated("+t", 127), errorText, program);
        QCOMPARE(int(program[0].Tag), int('T'));
        QCOMPARE(int(program[253].Tag), int('T'));
        QCOMPARE(int(program[254].Tag), int('+'));
        QCOMPARE(int(program[255].Tag), int(EndTag));
    }
};

QTEST_APPLESS_MAIN(TestCompile)
#include "test_compile.moc"
