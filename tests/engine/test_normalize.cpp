// SPDX-License-Identifier: GPL-3.0-or-later
// Normalization: the compact strings of accepted formulas, byte for byte, and
// the formulas refused with "Chybny vyraz".
#include <QtTest>

#include "EngineTestSupport.h"

class TestNormalize : public QObject {
    Q_OBJECT

private slots:
    void accepted_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("compact");
        QTest::newRow("lower case") << QByteArray("Sin(t)") << QByteArray("\xC8(T)");
        QTest::newRow("upper case") << QByteArray("SIN(T)") << QByteArray("\xC8(T)");
        QTest::newRow("decimal comma") << QByteArray("0,5*t") << QByteArray("0.5*T");
        QTest::newRow("circle y") << QByteArray("3*sin(t)") << QByteArray("3*\xC8(T)");
        QTest::newRow("oblique throw y") << QByteArray("14*t*sin(80*pi/180)-5*t^2")
                                         << QByteArray("14*T*\xC8(80*P/180)-5*T^2");
        QTest::newRow("planet x") << QByteArray("-1/(1+0.8*cos(t))*cos(t)")
                                  << QByteArray("\xC7" "1/(1+0.8*\xC9(T))*\xC9(T)");
        QTest::newRow("unary minus before (") << QByteArray("-(t)") << QByteArray("\xC7(T)");
        QTest::newRow("unary minus before power") << QByteArray("-t^2") << QByteArray("\xC7T^2");
        QTest::newRow("unary plus at start") << QByteArray("+t") << QByteArray("T");
        QTest::newRow("unary plus after (") << QByteArray("(+t)") << QByteArray("(T)");
        QTest::newRow("unary minus after (") << QByteArray("t^(-1)") << QByteArray("T^(\xC7" "1)");
        QTest::newRow("minus in product") << QByteArray("2*(-3)") << QByteArray("2*(\xC7" "3)");
        QTest::newRow("minus before number") << QByteArray("-2+3") << QByteArray("\xC7" "2+3");
        QTest::newRow("2*pi") << QByteArray("2*pi") << QByteArray("2*P");
        QTest::newRow("-pi") << QByteArray("-pi") << QByteArray("\xC7P");
        QTest::newRow("pi(2)") << QByteArray("pi(2)") << QByteArray("P(2)");
        QTest::newRow("two variables") << QByteArray("s*n") << QByteArray("S*N");
        QTest::newRow("S and R") << QByteArray("s-r+1") << QByteArray("S-R+1");
        QTest::newRow("all variables") << QByteArray("k+n+r+s+t+x+y+z") << QByteArray("K+N+R+S+T+X+Y+Z");
        QTest::newRow("abs") << QByteArray("abs(k)") << QByteArray("\xD0(K)");
        QTest::newRow("sqr") << QByteArray("sqr(n)") << QByteArray("\xCE(N)");
        QTest::newRow("sqrt") << QByteArray("sqrt(r)") << QByteArray("\xCF(R)");
        QTest::newRow("cos") << QByteArray("cos(s)") << QByteArray("\xC9(S)");
        QTest::newRow("arctan") << QByteArray("arctan(t)") << QByteArray("\xCC(T)");
        QTest::newRow("arcsin") << QByteArray("arcsin(x)") << QByteArray("\xD1(X)");
        QTest::newRow("arccos") << QByteArray("ArcCos(y)") << QByteArray("\xD2(Y)");
        QTest::newRow("exp") << QByteArray("exp(z)") << QByteArray("\xCA(Z)");
        QTest::newRow("ln") << QByteArray("ln(t)") << QByteArray("\xCB(T)");
        QTest::newRow("tan") << QByteArray("tan(t)") << QByteArray("\xCD(T)");
        QTest::newRow("fa") << QByteArray("fa(5)") << QByteArray("\xD3(5)");
        QTest::newRow("nested functions") << QByteArray("sqrt(abs(sin(t)))")
                                          << QByteArray("\xCF(\xD0(\xC8(T)))");
        QTest::newRow("functions side by side") << QByteArray("sin(t)cos(t)")
                                                << QByteArray("\xC8(T)\xC9(T)");
        QTest::newRow("two points pass here") << QByteArray("1.2.3") << QByteArray("1.2.3");
        QTest::newRow("double point passes here") << QByteArray("1..2") << QByteArray("1..2");
        QTest::newRow("two commas pass here") << QByteArray("1,2,3") << QByteArray("1.2.3");
        QTest::newRow("reversed parentheses") << QByteArray(")(") << QByteArray(")(");
        QTest::newRow("operator at end") << QByteArray("2+") << QByteArray("2+");
        QTest::newRow("operator at start") << QByteArray("*2") << QByteArray("*2");
        QTest::newRow("operator after (") << QByteArray("(*2)") << QByteArray("(*2)");
        QTest::newRow("empty parentheses") << QByteArray("()") << QByteArray("()");
        QTest::newRow("number before (") << QByteArray("2(3)") << QByteArray("2(3)");
        QTest::newRow("number before variable") << QByteArray("2t") << QByteArray("2T");
        QTest::newRow("number before pi") << QByteArray("2pi") << QByteArray("2P");
        QTest::newRow("empty call") << QByteArray("sin()") << QByteArray("\xC8()");
        QTest::newRow("plus alone") << QByteArray("+") << QByteArray("");
        QTest::newRow("minus alone") << QByteArray("-") << QByteArray("\xC7");
        QTest::newRow("plus, then infix plus") << QByteArray("+t+1") << QByteArray("T+1");
        QTest::newRow("minus after ) is infix") << QByteArray("(t)-1") << QByteArray("(T)-1");
    }
    void accepted()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, compact);
        QCOMPARE(Bytes(NormalizeExpression(text.toStdString())), compact);
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("empty text") << QByteArray("");
        QTest::newRow("space inside") << QByteArray("sin t");
        QTest::newRow("leading space") << QByteArray(" t");
        QTest::newRow("trailing space") << QByteArray("t ");
        QTest::newRow("tab") << QByteArray("t\t");
        QTest::newRow("run that is no name") << QByteArray("sint");
        QTest::newRow("digit after name") << QByteArray("sin2");
        QTest::newRow("operator after name") << QByteArray("sin*2");
        QTest::newRow("name at end") << QByteArray("sqrt");
        QTest::newRow("two variables in a run") << QByteArray("xy");
        QTest::newRow("exponent notation") << QByteArray("1E5");
        QTest::newRow("no constant e") << QByteArray("e^2");
        QTest::newRow("pi run too long") << QByteArray("pix");
        QTest::newRow("power then minus") << QByteArray("t^-1");
        QTest::newRow("two stars") << QByteArray("2**3");
        QTest::newRow("star slash") << QByteArray("2*/3");
        QTest::newRow("plus minus") << QByteArray("2+-3");
        QTest::newRow("double unary minus") << QByteArray("--t");
        QTest::newRow("times minus") << QByteArray("2*-3");
        QTest::newRow("operator before )") << QByteArray("(2+)");
        QTest::newRow("leading point") << QByteArray(".5");
        QTest::newRow("trailing point") << QByteArray("5.");
        QTest::newRow("point after (") << QByteArray("(.5)");
        QTest::newRow("point alone") << QByteArray(".");
        QTest::newRow("comma as leading point") << QByteArray(",5");
        QTest::newRow("unclosed") << QByteArray("sin(t");
        QTest::newRow("closed twice") << QByteArray("(t))");
        QTest::newRow("letter D") << QByteArray("d");
        QTest::newRow("letter W") << QByteArray("w+1");
        QTest::newRow("run starting with B") << QByteArray("b");
        QTest::newRow("run starting with I") << QByteArray("i(2)");
        QTest::newRow("run starting with O") << QByteArray("o");
        QTest::newRow("run starting with Q") << QByteArray("q");
        QTest::newRow("lone A") << QByteArray("a");
        QTest::newRow("lone C") << QByteArray("c");
        QTest::newRow("lone P") << QByteArray("p");
        QTest::newRow("other punctuation") << QByteArray("2;3");
        QTest::newRow("brackets") << QByteArray("[t]");
        QTest::newRow("small c caron") << QByteArray("\xC4\x8D");
        QTest::newRow("capital C caron") << QByteArray("\xC4\x8C(t)");
        QTest::newRow("raw code byte") << QByteArray("\xC8(t)");
        QTest::newRow("raw unary minus byte") << QByteArray("\xC7t");
        QTest::newRow("NUL byte") << QByteArray("t\0", 2);
        QTest::newRow("function without parentheses") << QByteArray("fa5");
    }
    void refused()
    {
        QFETCH(QByteArray, text);
        QCOMPARE(Bytes(NormalizeExpression(text.toStdString())), QByteArray("Chybny vyraz"));
    }

    // Only the counts are compared here; the order is left to the compiler.
    void parenthesisCountsOnly()
    {
        QCOMPARE(Bytes(NormalizeExpression(")t(")), QByteArray(")T("));
        QCOMPARE(Bytes(NormalizeExpression("(()")), QByteArray("Chybny vyraz"));
    }

    void longFormulaKeepsEveryByte()
    {
        std::string text = "t";
        std::string expected = "T";
        for (int i = 0; i < 2000; ++i) {
            text += "+sin(t)";
            expected += "+\xC8(T)";
        }
        QCOMPARE(Bytes(NormalizeExpression(text)), Bytes(expected));
    }
};

QTEST_APPLESS_MAIN(TestNormalize)
#include "test_normalize.moc"
