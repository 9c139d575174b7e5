// SPDX-License-Identifier: GPL-3.0-or-later
// The plot window keeps the presses since the last "Vymaž", each with how it
// ended; drawn again on the window (all anew, or the last one in place) they
// give the plane the presses gave by hand.
#include <QtTest>

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>

#include "../panel/PanelFixture.h"
#include "LongWork.h"
#include "TracePause.h"
#include "PlaneCheck.h"
#include "PressReplay.h"
#include "WindowReplay.h"

Q_DECLARE_METATYPE(PressEnd)

class TestWindowReplay : public QObject {
    Q_OBJECT

private:
    PanelFixture fixture;
    int pauses = 0;
    int escAfter = -1;  // the pause in which Esc is pressed

    const PressHistory& History() { return TheDocument().Presses(); }

private slots:
    void init()
    {
        fixture.Start();
        pauses = 0;
        escAfter = -1;
        SetTracePause([this] {
            ++pauses;
            if (pauses == escAfter)
                QTest::keyClick(Control_Panel, Qt::Key_Escape);
        });
    }
    void cleanup()
    {
        SetTracePause(nullptr);
        fixture.Stop();
    }

    void PanelAtStartIsTheStartPress();
    void ShowPressFillsThePanel();
    void KresliRecordsHowItEnded_data();
    void KresliRecordsHowItEnded();
    void VymazClearsTheHistory();
    void DrawnAnewGivesThePlaneByHand();
    void LastPressRedrawnInPlace();
    void NothingWhileATraceRuns();
};

void TestWindowReplay::PanelAtStartIsTheStartPress()
{
    QVERIFY(Control_Panel->CurrentPress() == StartPress());
    for (const PressField& field : PressFields) {
        QLineEdit* edit = Control_Panel->FieldEdit(field.Field);
        QVERIFY2(edit, field.WidgetName);
        QCOMPARE(edit->objectName(), QString::fromLatin1(field.WidgetName));
    }
    QVERIFY(History().empty());
}

void TestWindowReplay::ShowPressFillsThePanel()
{
    TracePress press = StartPress();
    press.Texts.EquationX = "sin(3*t)";
    press.Texts.X1 = "-pi";
    press.Texts.Segments = "17";
    press.ShowAxes = false;
    press.Dashed = true;
    press.CurveR = 12;
    press.CurveG = 34;
    press.CurveB = 56;
    press.TBefore = 1.25;
    Control_Panel->ShowPress(press);
    QVERIFY(Control_Panel->CurrentPress() == press);
    QCOMPARE(Control_Panel->EditEq1->text(), QString("sin(3*t)"));
    QCOMPARE(IndicatorOnScreen().pixel(5, 5), qRgb(12, 34, 56));
}

void TestWindowReplay::KresliRecordsHowItEnded_data()
{
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("segments");
    QTest::addColumn<int>("esc");
    QTest::addColumn<bool>("recorded");
    QTest::addColumn<PressEnd>("end");
    QTest::addColumn<int>("points");

    QTest::newRow("a whole trace") << "3*cos(t)" << "10" << -1 << true << PressEnd::Completed << 12;
    QTest::newRow("a formula error") << "1/(t-pi/5)" << "10" << -1 << true << PressEnd::FormulaError << 2;
    QTest::newRow("a fault: zero segments") << "3*cos(t)" << "0" << -1 << true << PressEnd::Fault << 0;
    QTest::newRow("stopped by Esc") << "3*cos(t)" << "10" << 4 << true << PressEnd::Stopped << 4;
    QTest::newRow("a refused segment count draws nothing") << "3*cos(t)" << "x" << -1 << false
                                                           << PressEnd::Completed << 0;
}

void TestWindowReplay::KresliRecordsHowItEnded()
{
    QFETCH(QString, x);
    QFETCH(QString, segments);
    QFETCH(int, esc);
    QFETCH(bool, recorded);
    QFETCH(PressEnd, end);
    QFETCH(int, points);

    Control_Panel->EditEq1->setText(x);
    Control_Panel->EditT2->setText("pi");
    Control_Panel->EditSeg->setText(segments);
    escAfter = esc;
    const TracePress press = Control_Panel->CurrentPress();
    PressKresli();
    QTRY_VERIFY(!TraceRunning());
    if (!recorded) {
        QVERIFY(History().empty());
        return;
    }
    QCOMPARE(int(History().size()), 1);
    const RecordedPress& record = History().front();
    QVERIFY(record.Press == press);
    QCOMPARE(record.Result.End, end);
    QCOMPARE(int(record.Result.PointCount), points);
    QCOMPARE(record.StopAt.has_value(), end == PressEnd::Stopped);
    if (record.StopAt)
        QCOMPARE(int(*record.StopAt), points);
    // The plane before the press is kept: here, white.
    QVERIFY(TheDocument().PlaneBeforeLast());
    QCOMPARE(CountNotWhite(ToQImage(TheDocument().PlaneBeforeLast()->Plane)), 0);
}

void TestWindowReplay::VymazClearsTheHistory()
{
    Control_Panel->EditSeg->setText("5");
    PressKresli();
    PressKresli();
    QCOMPARE(int(History().size()), 2);
    QTest::mouseClick(Control_Panel->Button3, Qt::LeftButton);
    QVERIFY(History().empty());
    QVERIFY(!TheDocument().PlaneBeforeLast());
}

// Two presses by hand, one stopped, one with a formula error, a third in
// another colour: wiped and drawn again from the history, the plane is the
// same, and so is the history.
void TestWindowReplay::DrawnAnewGivesThePlaneByHand()
{
    SetPanelTexts({"3*cos(t)", "3*sin(t)", "-4", "4", "-4", "4", "0", "2*pi", "30"});
    PressKresli();
    SetPanelTexts({"t", "1/(t-2)", "-t", "t", "-4", "4", "0", "4", "8"});  // the window from the t left behind
    Control_Panel->CheckBox2->setChecked(true);
    PressKresli();
    Draw2D->CurveR = 230;
    escAfter = pauses + 5;
    SetPanelTexts({"2*cos(t)", "2*sin(t)", "-4", "4", "-4", "4", "0", "2*pi", "30"});
    PressKresli();
    QTRY_VERIFY(!TraceRunning());
    const QImage byHand = ToQImage(Draw2D->Plane()).copy();
    const PressHistory history = History();
    QCOMPARE(int(history.size()), 3);
    QCOMPARE(history[1].Result.End, PressEnd::FormulaError);
    QCOMPARE(history[2].Result.End, PressEnd::Stopped);
    const double t = Draw2D->VarT;

    QTest::mouseClick(Control_Panel->Button3, Qt::LeftButton);
    const int pausesBefore = pauses;
    const WindowReplay replay = DrawPressesAnew(TheDocument(), history);
    QVERIFY(replay.Ran);
    QVERIFY(!replay.Stopped);
    QCOMPARE(pauses, pausesBefore);  // at once
    QVERIFY(Draw2D->Plane() == byHand);
    QCOMPARE(int(History().size()), 3);
    for (std::size_t i = 0; i < history.size(); ++i) {
        QVERIFY(History()[i].Press == history[i].Press);
        QCOMPARE(History()[i].Result.End, history[i].Result.End);
        QCOMPARE(History()[i].Result.PointCount, history[i].Result.PointCount);
    }
    QCOMPARE(Draw2D->VarT, t);
    QVERIFY(fixture.Boxes.size() == 1);  // only the one the formula error showed by hand
}

// The last press changed (as a slider does): the earlier curves stay, the
// last one is drawn anew over the plane as it stood before it.
void TestWindowReplay::LastPressRedrawnInPlace()
{
    SetPanelTexts({"3*cos(t)", "3*sin(t)", "-4", "4", "-4", "4", "0", "2*pi", "30"});
    PressKresli();
    SetPanelTexts({"t", "t", "-4", "4", "-4", "4", "-3", "3", "10"});
    PressKresli();
    RecordedPress changed = History().back();
    changed.Press.Texts.EquationY = "-t";
    QVERIFY(RedrawLastPress(TheDocument(), changed).Ran);
    QCOMPARE(int(History().size()), 2);
    QCOMPARE(History().back().Press.Texts.EquationY, std::string("-t"));

    auto expected = FreshSurface();
    ReplayPresses(*expected, PressHistory{History().front(), changed});
    QVERIFY(Draw2D->Plane() == expected->Plane());
    // The rising diagonal is gone, the falling one drawn, the circle kept.
    QCOMPARE(ToQImage(Draw2D->Plane()).pixel(Draw2D->ScreenX(1.5), Draw2D->ScreenY(1.5)), qRgb(255, 255, 255));
    QCOMPARE(ToQImage(Draw2D->Plane()).pixel(Draw2D->ScreenX(1.5), Draw2D->ScreenY(-1.5)), CurveColour);
}

void TestWindowReplay::NothingWhileATraceRuns()
{
    Control_Panel->EditSeg->setText("5");
    bool ran = true;
    SetTracePause([&] {
        ++pauses;
        if (pauses == 2)
            ran = DrawPressesAnew(TheDocument(), PressHistory{}).Ran;
    });
    PressKresli();
    QVERIFY(!ran);
    QCOMPARE(int(History().size()), 1);
}

QTEST_MAIN(TestWindowReplay)
#include "test_windowreplay.moc"
