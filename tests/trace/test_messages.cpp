// SPDX-License-Identifier: GPL-3.0-or-later
// Messages that say what to fix: the box keeps the engine's or the fault's
// own text as its first line, a second line names the field or the cause,
// and the focus goes to the field to change with its text selected.
#include <QtTest>

#include <QLineEdit>

#include "../panel/PanelFixture.h"
#include "TracePause.h"
#include "RecordingHost.h"

class TestMessages : public QObject {
    Q_OBJECT

private:
    PanelFixture fixture;

private slots:
    void init()
    {
        fixture.Start();
        SetTracePause([] {});
    }
    void cleanup()
    {
        SetTracePause(nullptr);
        fixture.Stop();
    }

    void SecondLineAndFocus_data();
    void SecondLineAndFocus();
};

void TestMessages::SecondLineAndFocus_data()
{
    QTest::addColumn<QStringList>("fields");  // "EditX1=…": typed over the start texts
    QTest::addColumn<bool>("axes");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("fault");  // titled with the program's name, not "Error"

    const auto row = [](const char* name, QStringList fields, bool axes, const char* box, const char* focus,
                        bool fault) {
        QTest::newRow(name) << fields << axes << QString::fromUtf8(box) << QString(focus) << fault;
    };
    row("x does not compile", {"EditEq1=3*cos(t"}, true, "Chybny vyraz\nPole: x =", "EditEq1", false);
    row("y has a bad number", {"EditEq2=1.2.3*t"}, true, "Chybne cislo\nPole: y =", "EditEq2", false);
    row("y fails at a point", {"EditEq2=sqrt(1-t)"}, true, "Záporný argument odmocniny\nPole: y =", "EditEq2",
        false);
    row("x forms no single value", {"EditEq1=2t"}, false, "Chybný výraz\nPole: x =", "EditEq1", false);
    row("a bound is refused", {"EditY2=ln(0)"}, true, "Nepřípustný argument logaritmu\nPole: y, konec", "EditY2",
        false);
    row("no segments", {"EditSeg=0"}, true, "Floating point division by zero.\nPočet segmentů je 0.", "EditSeg",
        true);
    row("no segments and no range", {"EditSeg=0", "EditT2=0"}, false,
        "Invalid floating point operation.\nPočet segmentů je 0.", "EditSeg", true);
    row("x window of no width", {"EditX2=-4"}, true,
        "Floating point division by zero.\nZorné pole x má stejný začátek a konec.", "EditX1", true);
    row("y window of no height", {"EditY1=4"}, false,
        "Floating point division by zero.\nZorné pole y má stejný začátek a konec.", "EditY1", true);
    row("x window too narrow", {"EditX1=0", "EditX2=10^(-307)"}, false,
        "Floating point overflow.\nZorné pole x je příliš úzké.", "EditX1", true);
    row("x window reversed, with axes", {"EditX1=4", "EditX2=-4"}, true,
        "Floating point division by zero.\nZorné pole x je obrácené (začátek je větší než konec).", "EditX1", true);
    row("y window reversed, with axes", {"EditY1=4", "EditY2=-4"}, true,
        "Floating point division by zero.\nZorné pole y je obrácené (začátek je větší než konec).", "EditY1", true);
    row("x axis far outside the y window", {"EditY1=10^9", "EditY2=10^9+1"}, true,
        "Invalid floating point operation.\nOsa x (y = 0) leží příliš daleko mimo zorné pole y.", "EditY1", true);
    row("x window too wide for the axes", {"EditX1=-10^37", "EditX2=10^37"}, true,
        "Invalid floating point operation.\nZorné pole x je pro osy příliš široké (nejvýš asi 3·10^36).", "EditX1",
        true);
    row("x overflows", {"EditEq1=exp(1000)"}, true,
        "Floating point overflow.\nVýsledek vzorce x = přesáhl největší číslo (asi 1,8·10^308).", "EditEq1", true);
    row("a bound overflows", {"EditT1=-exp(1000)"}, true,
        "Floating point overflow.\nVýsledek vzorce v poli t, začátek přesáhl největší číslo (asi 1,8·10^308).",
        "EditT1", true);
    row("y divides by a power that vanished", {"EditEq2=0.1^(-400)"}, true,
        "Floating point division by zero.\nVe vzorci y = je záporná mocnina čísla tak blízkého nule, že jeho kladná "
        "mocnina je 0.",
        "EditEq2", true);
    row("x with an exponent beyond 32 bits", {"EditEq1=2^3000000000"}, true,
        "Invalid floating point operation.\nVe vzorci x = je exponent nebo argument faktoriálu mimo rozsah celých "
        "čísel (±2 147 483 647).",
        "EditEq1", true);
    row("a point too far down", {"EditEq2=-exp(100*t)"}, false,
        "Invalid floating point operation.\nBod křivky při t = 0,188496 leží příliš daleko mimo zorné pole y.",
        "EditEq2", true);
    row("a segment count beyond 32 bits", {"EditSeg=1e300"}, true,
        "Floating point overflow.\nPočet segmentů je příliš velké číslo.", "EditSeg", true);
    row("a parameter range too large", {"EditT1=-10^308", "EditT2=10^308", "EditSeg=1"}, false,
        "Floating point overflow.\nRozsah parametru t je příliš velký.", "EditT1", true);
    row("t runs past the largest number", {"EditEq1=0", "EditEq2=0", "EditT1=1,7*10^308", "EditT2=1,79*10^308",
                                           "EditSeg=1"},
        false, "Floating point overflow.\nParametr t přesáhl největší číslo (asi 1,8·10^308).", "EditT2", true);
}

void TestMessages::SecondLineAndFocus()
{
    QFETCH(QStringList, fields);
    QFETCH(bool, axes);
    QFETCH(QString, box);
    QFETCH(QString, focus);
    QFETCH(bool, fault);

    for (const QString& field : fields) {
        auto* edit = Control_Panel->findChild<QLineEdit*>(field.section('=', 0, 0));
        QVERIFY(edit);
        edit->setText(field.section('=', 1));
    }
    Control_Panel->CheckBox1->setChecked(axes);
    Control_Panel->Button1->setFocus();
    PressKresli();
    QCOMPARE(fixture.Boxes.size(), 1);
    QCOMPARE(fixture.Boxes[0].text, box);
    QCOMPARE(fixture.Boxes[0].title == QString("Error"), !fault);
    auto* edit = Control_Panel->findChild<QLineEdit*>(focus);
    QCOMPARE(Control_Panel->focusWidget(), edit);
    QCOMPARE(edit->selectedText(), edit->text());
}

QTEST_MAIN(TestMessages)
#include "test_messages.moc"
