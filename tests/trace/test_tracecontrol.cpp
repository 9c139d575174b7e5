// SPDX-License-Identifier: GPL-3.0-or-later
// While "Kresli" traces: Esc stops the trace and keeps what was drawn, input
// made meanwhile is carried out afterwards in order, a slow evaluation keeps
// the windows alive, and the busy cursor shows exactly as long as the trace.
#include <QtTest>

#include <QCheckBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "../panel/PanelFixture.h"
#include "HeldInput.h"
#include "LongWork.h"
#include "TracePause.h"
#include "PlaneCheck.h"
#include "PlaneImage.h"

namespace {

// A reference host that stops the trace after its `stopAfter`-th pause, as
// Esc pressed during that pause does.
class StoppingHost : public RecordingHost {
public:
    explicit StoppingHost(int stopAfter) : stopAfter_(stopAfter) {}
    void Pause() override
    {
        RecordingHost::Pause();
        if (Pauses == stopAfter_)
            throw EvaluationCancelled();
    }

private:
    int stopAfter_;
};

TraceTexts PanelTexts()
{
    TControl_Panel& panel = *Control_Panel;
    return {panel.EditEq1->text().toStdString(), panel.EditEq2->text().toStdString(),
            panel.EditX1->text().toStdString(),  panel.EditX2->text().toStdString(),
            panel.EditY1->text().toStdString(),  panel.EditY2->text().toStdString(),
            panel.EditT1->text().toStdString(),  panel.EditT2->text().toStdString(),
            panel.EditSeg->text().toStdString()};
}

void PressEscape()
{
    QTest::keyClick(Control_Panel, Qt::Key_Escape);
}

// One user action in the panel: a click on a control named by its caption, or
// "seg:<text>" typing a new segment count over the old one.
void Act(const QString& action)
{
    TControl_Panel& panel = *Control_Panel;
    if (action == "Kresli")
        QTest::mouseClick(panel.Button1, Qt::LeftButton);
    else if (action == "Vymaž")
        QTest::mouseClick(panel.Button3, Qt::LeftButton);
    else if (action == "přerušovat")
        QTest::mouseClick(panel.CheckBox2, Qt::LeftButton);
    else if (action.startsWith("seg:")) {
        QTest::keyClick(panel.EditSeg, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(panel.EditSeg, action.mid(4));
    } else
        QFAIL(qPrintable("unknown action " + action));
}

}  // namespace

class TestTraceControl : public QObject {
    Q_OBJECT

private:
    PanelFixture fixture;
    int pauses = 0;
    std::function<void()> duringPause;
    QList<bool> busyInPauses;  // the busy cursor as each pause saw it
    QList<bool> busyAtBoxes;   // and as each box saw it

    static bool Busy()
    {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        return cursor && cursor->shape() == Qt::WaitCursor;
    }

private slots:
    void init()
    {
        fixture.Start();
        pauses = 0;
        duringPause = nullptr;
        busyInPauses.clear();
        busyAtBoxes.clear();
        SetMessagePresenter([this](const MessageBoxRequest& box) {
            fixture.Boxes.append(box);
            busyAtBoxes.append(Busy() || QGuiApplication::overrideCursor());
        });
        SetTracePause([this] {
            ++pauses;
            busyInPauses.append(Busy());
            if (duringPause)
                duringPause();
        });
    }
    void cleanup()
    {
        SetTracePause(nullptr);
        fixture.Stop();
    }

    void EscStopsAndHeldInputFollows_data();
    void EscStopsAndHeldInputFollows();
    void EscDuringASlowEvaluation_data();
    void EscDuringASlowEvaluation();
    void BusyCursorOnlyWhileTracing_data();
    void BusyCursorOnlyWhileTracing();
    void DirectCallDuringATraceIsIgnored();
};

void TestTraceControl::EscStopsAndHeldInputFollows_data()
{
    QTest::addColumn<int>("escAfter");        // the pause in which Esc is pressed
    QTest::addColumn<QStringList>("actions");  // made in the first pause, before Esc
    QTest::addColumn<QString>("planeAfter");   // "stopped", "white", or "traced" anew

    QTest::newRow("Esc in the first pause") << 1 << QStringList{} << "stopped";
    QTest::newRow("Esc later") << 7 << QStringList{} << "stopped";
    QTest::newRow("Vymaž waits for the stop") << 3 << QStringList{"Vymaž"} << "white";
    QTest::newRow("Vymaž, then Kresli") << 3 << QStringList{"Vymaž", "Kresli"} << "traced";
    QTest::newRow("Kresli, then Vymaž") << 3 << QStringList{"Kresli", "Vymaž"} << "white";
    QTest::newRow("typed segment count, dashed, Kresli")
        << 2 << QStringList{"Vymaž", "seg:7", "přerušovat", "Kresli"} << "traced";
}

// Esc ends the trace after the pause it came in, keeping exactly what was
// drawn, with no box; what the user did during the trace happens afterwards,
// in the order it was done.
void TestTraceControl::EscStopsAndHeldInputFollows()
{
    QFETCH(int, escAfter);
    QFETCH(QStringList, actions);
    QFETCH(QString, planeAfter);

    duringPause = [&] {
        if (pauses == 1)
            for (const QString& action : actions)
                Act(action);
        if (pauses == escAfter)
            PressEscape();
    };
    PressKresli();
    QCOMPARE(pauses, escAfter);
    QVERIFY(!TraceRunning());
    QVERIFY(fixture.Boxes.isEmpty());
    // Nothing held was carried out yet: the panel shows the trace's state.
    QCOMPARE(Control_Panel->EditSeg->text(), QString("100"));
    QVERIFY(!Control_Panel->CheckBox2->isChecked());

    auto stopped = FreshSurface();
    StoppingHost stopping(escAfter);
    QCOMPARE(RunPress(*stopped, PressOn(*stopped, StartTexts(), true), stopping).End, PressEnd::Stopped);
    QVERIFY(Draw2D->Plane() == stopped->Plane());

    QTRY_COMPARE(HeldInputCount(), std::size_t{0});
    QVERIFY(!TraceRunning());
    QVERIFY(fixture.Boxes.isEmpty());
    if (planeAfter == "stopped") {
        QCOMPARE(pauses, escAfter);
        QVERIFY(Draw2D->Plane() == stopped->Plane());
    } else if (planeAfter == "white") {
        QCOMPARE(PixelsOtherThan(ToQImage(Draw2D->Plane()), 255, 255, 255), 0);
    } else {
        // Traced anew on the wiped plane with the fields as the held input left them.
        auto traced = FreshSurface();
        RecordingHost host;
        host.DashedMode = Control_Panel->CheckBox2->isChecked();
        QVERIFY(RunPress(*traced, PressOn(*traced, PanelTexts(), true), host).Ok());
        QCOMPARE(pauses, escAfter + host.Pauses);
        QVERIFY(Draw2D->Plane() == traced->Plane());
    }
    if (actions.contains("seg:7")) {
        QCOMPARE(Control_Panel->EditSeg->text(), QString("7"));
        QVERIFY(Control_Panel->CheckBox2->isChecked());
    }
}

void TestTraceControl::EscDuringASlowEvaluation_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("axesDrawn");  // before the slow evaluation began

    // ln(1.0000001^2000000000) is about 200, through a power of 2e9 products.
    QTest::newRow("x formula") << "EditEq1" << "3*cos(t)*ln(1.0000001^2000000000)/200" << true;
    QTest::newRow("bound field") << "EditX2" << "4*ln(1.0000001^2000000000)/200" << false;
}

// A single evaluation that runs long: the engine's progress calls keep the
// event loop turning (timers, painting), Esc reaches the trace there and ends
// it inside the evaluation, and a click made meanwhile follows afterwards.
// The power must stay slow enough for the engine to poll its progress.
void TestTraceControl::EscDuringASlowEvaluation()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(bool, axesDrawn);

    Control_Panel->findChild<QLineEdit*>(field)->setText(text);
    int paintsWhileEvaluating = 0;
    bool timerRanWhileTracing = false;
    struct PaintCounter : QObject {
        std::function<void()> onPaint;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                onPaint();
            return false;
        }
    } counter;
    counter.onPaint = [&] {
        if (TraceRunning() && pauses == 0)
            ++paintsWhileEvaluating;
    };
    Draw2D->Image1->installEventFilter(&counter);
    QTimer::singleShot(0, [&] {
        timerRanWhileTracing = TraceRunning();
        QTest::mouseClick(Control_Panel->Button3, Qt::LeftButton);  // Vymaž, held
        QCoreApplication::postEvent(Control_Panel, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    });

    PressKresli();
    QVERIFY(timerRanWhileTracing);
    QCOMPARE(pauses, 0);  // stopped inside the first point's evaluation
    if (axesDrawn)
        QVERIFY(paintsWhileEvaluating > 0);  // the axes reached the screen meanwhile
    QVERIFY(fixture.Boxes.isEmpty());
    QVERIFY(!TraceRunning());
    auto expected = FreshSurface();
    if (axesDrawn)
        DrawReferenceAxes(*expected, *Draw2D);
    QVERIFY(Draw2D->Plane() == expected->Plane());

    Draw2D->Image1->removeEventFilter(&counter);
    QTRY_COMPARE(HeldInputCount(), std::size_t{0});  // then Vymaž
    QCOMPARE(PixelsOtherThan(ToQImage(Draw2D->Plane()), 255, 255, 255), 0);
}

void TestTraceControl::BusyCursorOnlyWhileTracing_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("escAfter");  // 0: no Esc
    QTest::addColumn<QString>("box");   // the box shown, if any

    QTest::newRow("whole trace") << QString() << QString() << 0 << QString();
    QTest::newRow("stopped with Esc") << QString() << QString() << 4 << QString();
    QTest::newRow("formula error box") << "EditEq1" << "1/(t-pi/2)" << 0 << "Dělení nulou\nPole: x =";
    QTest::newRow("refused field box") << "EditX1" << "2*(3" << 0 << "Chybny vyraz\nPole: x, začátek";
    QTest::newRow("fault to the default handler") << "EditSeg" << "0" << 0
                                                  << "Floating point division by zero.\nPočet segmentů je 0.";
}

// Busy in every pause; back to normal before any box and after the end.
void TestTraceControl::BusyCursorOnlyWhileTracing()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(int, escAfter);
    QFETCH(QString, box);

    if (!field.isEmpty())
        Control_Panel->findChild<QLineEdit*>(field)->setText(text);
    if (field == "EditEq1")
        Control_Panel->EditSeg->setText("4");  // t = pi/2 is the second point
    duringPause = [&] {
        if (pauses == escAfter)
            PressEscape();
    };
    QVERIFY(!QGuiApplication::overrideCursor());
    PressKresli();

    QVERIFY(!busyInPauses.contains(false));
    QCOMPARE(busyInPauses.isEmpty(), field == "EditX1" || field == "EditSeg");
    QCOMPARE(fixture.Boxes.size(), box.isEmpty() ? 0 : 1);
    if (!box.isEmpty())
        QCOMPARE(fixture.Boxes[0].text, box);
    QCOMPARE(busyAtBoxes, QList<bool>(fixture.Boxes.size(), false));
    QVERIFY(!QGuiApplication::overrideCursor());
}

// Reaching Param_Curve while a trace runs (not through held input) does nothing.
void TestTraceControl::DirectCallDuringATraceIsIgnored()
{
    Control_Panel->EditSeg->setText("4");
    duringPause = [&] {
        if (pauses == 2)
            RunHandler([] { Control_Panel->Param_Curve(); });
    };
    PressKresli();
    QCOMPARE(pauses, 6);
    QVERIFY(fixture.Boxes.isEmpty());
    QVERIFY(!QGuiApplication::overrideCursor());  // the ignored call left the cursor alone
}

QTEST_MAIN(TestTraceControl)
#include "test_tracecontrol.moc"
