// SPDX-License-Identifier: GPL-3.0-or-later
// "Kresli" through the real control panel: texts typed into the fields, a
// click on Button1, the pause replaced, the boxes captured.
#include <QtTest>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "../panel/PanelFixture.h"
#include "TracePause.h"
#include "PlaneCheck.h"

class TestParamCurve : public QObject {
    Q_OBJECT

private:
    PanelFixture fixture;
    int pauses = 0;
    std::function<void()> duringPause;  // runs in the pause after each step


private slots:
    void init()
    {
        fixture.Start();
        pauses = 0;
        duringPause = nullptr;
        SetTracePause([this] {
            QVERIFY(TraceRunning());
            ++pauses;
            if (duringPause)
                duringPause();
        });
    }
    void cleanup()
    {
        SetTracePause(nullptr);
        fixture.Stop();
    }

    void DrawsWhatTheTraceDraws_data();
    void DrawsWhatTheTraceDraws();
    void RefusalFocusesTheField_data();
    void RefusalFocusesTheField();
    void EnterInAFieldDraws_data();
    void EnterInAFieldDraws();
    void EnterAfterARefusal();
    void FormulaErrorInTheErrorBox();
    void FaultToTheDefaultHandler();
    void DashedBoxReadEveryStep();
    void PressDuringATraceWaits();
    void CloseWaitsForTheTrace();
};

void TestParamCurve::DrawsWhatTheTraceDraws_data()
{
    QTest::addColumn<bool>("axes");
    QTest::addColumn<bool>("dashed");
    QTest::addColumn<int>("points");

    QTest::newRow("inputs at start") << true << false << 102;
    QTest::newRow("no axes, dashed") << false << true << 102;
}

// The panel hands its texts and check states in: its plane equals the one
// the trace draws on a fresh surface from the same inputs.
void TestParamCurve::DrawsWhatTheTraceDraws()
{
    QFETCH(bool, axes);
    QFETCH(bool, dashed);
    QFETCH(int, points);

    Control_Panel->CheckBox1->setChecked(axes);
    Control_Panel->CheckBox2->setChecked(dashed);
    PressKresli();
    QCOMPARE(pauses, points);
    QVERIFY(fixture.Boxes.isEmpty());
    QVERIFY(!TraceRunning());

    auto expected = FreshSurface();
    RecordingHost host;
    host.DashedMode = dashed;
    QVERIFY(RunPress(*expected, PressOn(*expected, StartTexts(), axes), host).Ok());
    QVERIFY(Draw2D->Plane() == expected->Plane());
    QVERIFY(PixelsOtherThan(ToQImage(Draw2D->Plane()), 255, 255, 255) > 0);
}

void TestParamCurve::RefusalFocusesTheField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("name");  // the field as the box names it

    const auto row = [](const char* tag, const char* field, const char* text, const char* message, const char* name) {
        QTest::newRow(tag) << QString(field) << QString(text) << QString::fromUtf8(message) << QString::fromUtf8(name);
    };
    row("EditX1", "EditX1", "2*(3", "Chybny vyraz", "x, začátek");
    row("EditX2", "EditX2", "1.2.3", "Chybne cislo", "x, konec");
    row("EditY1", "EditY1", "ln(-1)", "Nepřípustný argument logaritmu", "y, začátek");
    row("EditY2", "EditY2", "1/0", "Dělení nulou", "y, konec");
    row("EditT1", "EditT1", "arcsin(2)", "Nepřípustný argument arcsin", "t, začátek");
    row("EditT2", "EditT2", "pi pi", "Chybny vyraz", "t, konec");
    row("EditSeg not a number", "EditSeg", "100x", "Počet segmentů není číslo", "počet segmentů");
    row("EditSeg too many", "EditSeg", "1732", "Počet segmentů musí být číslo od 1 do 1731", "počet segmentů");
    row("EditSeg negative", "EditSeg", "-40", "Počet segmentů musí být číslo od 1 do 1731", "počet segmentů");
}

// The box shows the engine's message and, on the line below, which field
// it is about; the field gets the focus with its text selected.
void TestParamCurve::RefusalFocusesTheField()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QString, name);

    auto* edit = Control_Panel->findChild<QLineEdit*>(field);
    QVERIFY(edit);
    edit->setText(text);
    Control_Panel->Button1->setFocus();
    PressKresli();

    QCOMPARE(fixture.Boxes.size(), 1);
    QCOMPARE(fixture.Boxes[0].title, QString("Error"));
    QCOMPARE(fixture.Boxes[0].icon, QMessageBox::Critical);
    QCOMPARE(fixture.Boxes[0].text, message + QString::fromUtf8("\nPole: ") + name);
    QCOMPARE(Control_Panel->focusWidget(), edit);
    QCOMPARE(edit->selectedText(), text);
    QCOMPARE(pauses, 0);
    QCOMPARE(PixelsOtherThan(ToQImage(Draw2D->Plane()), 255, 255, 255), 0);  // axes are on, yet nothing drawn
}

void TestParamCurve::EnterInAFieldDraws_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("key");

    for (const char* field : {"EditEq1", "EditEq2", "EditX1", "EditX2", "EditY1", "EditY2", "EditT1", "EditT2", "EditSeg"})
        QTest::newRow(field) << QString(field) << int(Qt::Key_Return);
    QTest::newRow("EditEq2, keypad Enter") << QString("EditEq2") << int(Qt::Key_Enter);
}

// Enter in a field traces once, as a click on "Kresli" does; an Enter that
// reaches a field while the trace runs starts nothing.
void TestParamCurve::EnterInAFieldDraws()
{
    QFETCH(QString, field);
    QFETCH(int, key);

    SetPanelTexts({"t", "0", "-4", "4", "-4", "4", "0", "1", "4"});
    auto* edit = Control_Panel->findChild<QLineEdit*>(field);
    QVERIFY(edit);
    edit->setFocus();
    duringPause = [&] {
        if (pauses == 2)
            QTest::keyClick(edit, Qt::Key(key));
    };
    QTest::keyClick(edit, Qt::Key(key));
    QCOMPARE(pauses, 6);
    QVERIFY(fixture.Boxes.isEmpty());
    QVERIFY(PixelsOtherThan(ToQImage(Draw2D->Plane()), 255, 255, 255) > 0);
    duringPause = nullptr;
    QTest::keyClick(edit, Qt::Key(key));
    QCOMPARE(pauses, 12);
}

// After a refusal the focus is in the refused field: mended there, Enter
// traces.
void TestParamCurve::EnterAfterARefusal()
{
    SetPanelTexts({"t", "0", "-4", "4", "-4", "4", "0", "pi pi", "4"});
    Control_Panel->EditEq2->setFocus();
    QTest::keyClick(Control_Panel->EditEq2, Qt::Key_Return);
    QCOMPARE(fixture.Boxes.size(), 1);
    QCOMPARE(fixture.Boxes[0].text, QString::fromUtf8("Chybny vyraz\nPole: t, konec"));
    QCOMPARE(pauses, 0);
    QCOMPARE(Control_Panel->focusWidget(), Control_Panel->EditT2);

    QTest::keyClicks(Control_Panel->EditT2, "1");  // replaces the selected text
    QCOMPARE(Control_Panel->EditT2->text(), QString("1"));
    QTest::keyClick(Control_Panel->EditT2, Qt::Key_Return);
    QCOMPARE(fixture.Boxes.size(), 1);
    QCOMPARE(pauses, 6);
}

void TestParamCurve::FormulaErrorInTheErrorBox()
{
    SetPanelTexts({"3*t/(1+t^3)", "3*t^2/(1+t^3)", "-3", "3", "-3", "3", "-20", "20", "40"});
    PressKresli();
    QCOMPARE(pauses, 19);
    QCOMPARE(fixture.Boxes.size(), 1);
    QCOMPARE(fixture.Boxes[0].title, QString("Error"));
    QCOMPARE(fixture.Boxes[0].text, QString("Dělení nulou\nPole: x ="));
    QCOMPARE(Draw2D->VarT, -1.0);
}

void TestParamCurve::FaultToTheDefaultHandler()
{
    Control_Panel->EditSeg->setText("0");
    PressKresli();
    QCOMPARE(fixture.Boxes.size(), 1);
    QCOMPARE(fixture.Boxes[0].text, QString("Floating point division by zero.\nPočet segmentů je 0."));
    QVERIFY(fixture.Boxes[0].title != QString("Error"));
    QCOMPARE(pauses, 0);
    QVERIFY(!TraceRunning());
    auto axesOnly = FreshSurface();
    DrawReferenceAxes(*axesOnly, *Draw2D);
    QVERIFY(Draw2D->Plane() == axesOnly->Plane());
}

void TestParamCurve::DashedBoxReadEveryStep()
{
    SetPanelTexts({"t", "0", "-4", "4", "-4", "4", "0", "1", "4"});
    Control_Panel->CheckBox1->setChecked(false);
    duringPause = [this] {
        if (pauses == 3)  // after the step of point 2
            Control_Panel->CheckBox2->setChecked(true);
    };
    PressKresli();
    QCOMPARE(pauses, 6);
    // Segments 1 and 2 solid, 3 drawn, 4 skipped, 5 drawn.
    const QImage plane = ToQImage(Draw2D->Plane());
    for (int column : {250, 270, 290, 312, 327})
        QCOMPARE(plane.pixel(column, 250), CurveColour);
    for (int column : {297, 311, 328})
        QCOMPARE(plane.pixel(column, 250), qRgb(255, 255, 255));
}

// A click on "Kresli" mid-trace waits for the trace to end, then traces again:
// two traces one after the other, never one inside the other.
void TestParamCurve::PressDuringATraceWaits()
{
    SetPanelTexts({"t", "0", "-4", "4", "-4", "4", "0", "1", "4"});
    duringPause = [this] {
        if (pauses == 2)
            PressKresli();
    };
    PressKresli();
    QCOMPARE(pauses, 6);
    QTRY_COMPARE(pauses, 12);
    QTest::qWait(50);
    QCOMPARE(pauses, 12);
    QVERIFY(fixture.Boxes.isEmpty());
    QVERIFY(!TraceRunning());
}

void TestParamCurve::CloseWaitsForTheTrace()
{
    SetPanelTexts({"t", "0", "-4", "4", "-4", "4", "0", "1", "4"});
    bool closedMidTrace = true;
    duringPause = [&] {
        if (pauses == 2)
            closedMidTrace = Control_Panel->close();
        QVERIFY(Control_Panel->isVisible());
    };
    PressKresli();
    QCOMPARE(pauses, 6);
    QVERIFY(!closedMidTrace);
    QVERIFY(Control_Panel->isVisible());
    QTRY_VERIFY(!Control_Panel->isVisible());  // carried out once the trace has ended
    QVERIFY(Draw2D->isVisible());
}

QTEST_MAIN(TestParamCurve)
#include "test_paramcurve.moc"
