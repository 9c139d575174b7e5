// SPDX-License-Identifier: GPL-3.0-or-later
// The variables window against the renderer: a slider moved (through the
// accessibility interface, as a screen reader moves it) redraws the last
// press to the very plane `paramcurve-render --set` draws; "Animovat" gives
// the frames of `--sweep`, moving and as a family; a sweep's frames are the
// single renders of its values; bad values and ranges are refused.
#include <QtTest>

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QCheckBox>
#include <QLineEdit>
#include <QSlider>

#include "../export/GifDecode.h"
#include "../panel/PanelFixture.h"
#include "TracePause.h"
#include "DocumentSignals.h"
#include "PressReplay.h"
#include "RendererProcess.h"
#include "PlotMenu.h"
#include "VariablesWindow.h"
#include "WorkFolder.h"

namespace {

std::size_t IndexOf(char letter)
{
    for (std::size_t i = 0; i < VariableCount; ++i) {
        if (PressVariables[i].Letter == letter)
            return i;
    }
    return VariableCount;
}

// Moves the slider as assistive technology does, and waits for the redraw.
void SetThroughAccessibility(QSlider* slider, int position)
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(slider);
    QVERIFY(accessible);
    QAccessibleValueInterface* value = accessible->valueInterface();
    QVERIFY(value);
    value->setCurrentValue(position);
}

const RecordedPress& LastPress()
{
    return TheDocument().Presses().back();
}

}  // namespace

class TestVariablesWindow : public QObject {
    Q_OBJECT

private:
    PanelFixture fixture;
    WorkFolder work;

    QImage Render(const QStringList& options, const QString& name = "render.png")
    {
        const RendererRun run = RunRenderer(options + QStringList{"-o", work.Path(name)});
        if (!run.Finished || run.ExitStatus != 0)
            qWarning("%s", run.Err.constData());
        return ReadPicture(work.Path(name));
    }

    DecodedGif RenderGif(const QStringList& options)
    {
        const RendererRun run = RunRenderer(options + QStringList{"-o", work.Path("sweep.gif")});
        QFile file(work.Path("sweep.gif"));
        file.open(QIODevice::ReadOnly);
        return DecodeGif(file.readAll());
    }

    TVariables& Window()
    {
        fixture.Windows->ShowVariables();
        return *Made();
    }

    // The variables window; null before it was made.
    TVariables* Made() { return fixture.Windows->VariablesIfMade(); }

private slots:
    void initTestCase() { QVERIFY(work.Open()); }
    void init()
    {
        QVERIFY(work.Empty());
        fixture.Start();
        SetTracePause([] {});
    }
    void cleanup()
    {
        SetTracePause(nullptr);
        fixture.Stop();
    }

    void SliderRedrawsAsTheRendererDraws_data();
    void SliderRedrawsAsTheRendererDraws();
    void EarlierCurvesStay();
    void MovesComingTogetherRedrawOnce();
    void FailingValueShowsInTheStatusLine();
    void ValueRefused_data();
    void ValueRefused();
    void RangeRefused_data();
    void RangeRefused();
    void TypedValueRedraws();
    void AnimationFramesAreTheSweeps_data();
    void AnimationFramesAreTheSweeps();
    void EscStopsTheAnimation();
    void SweepFramesAreSingleRenders_data();
    void SweepFramesAreSingleRenders();
    void RowsFollowThePanel();
    void ARangeBringsTheValueIn_data();
    void ARangeBringsTheValueIn();
    void KeepTraceGoesWithTheLesson();
    void ShownByItselfOnce();
    void PressCarriesTheValues();
    void CtrlROpensIt();
};

void TestVariablesWindow::SliderRedrawsAsTheRendererDraws_data()
{
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("shown");

    QTest::newRow("k of a Lissajous curve") << "3*sin(k*t)" << "3*cos(2*t)" << "k" << 130 << "3";
    QTest::newRow("n near zero") << "3*cos(t)" << "3*sin(n*t)" << "n" << 97 << "-0.3";
    QTest::newRow("the top of the range") << "cos(t)*r" << "sin(t)" << "r" << 200 << "10";
    QTest::newRow("a bound uses it") << "s*cos(t)" << "s*sin(t)" << "s" << 125 << "2.5";
}

void TestVariablesWindow::SliderRedrawsAsTheRendererDraws()
{
    QFETCH(QString, x);
    QFETCH(QString, y);
    QFETCH(QString, letter);
    QFETCH(int, position);
    QFETCH(QString, shown);

    Control_Panel->EditEq1->setText(x);
    Control_Panel->EditEq2->setText(y);
    QStringList bounds;
    if (letter == "s") {
        Control_Panel->EditX1->setText("-s-1");
        bounds = QStringList{"--x1", "-s-1"};
    }
    PressKresli();
    const std::size_t v = IndexOf(letter.at(0).toLatin1());
    QSlider* slider = Window().RowOf(v).Slider;
    QVERIFY(slider->isVisible());
    SetThroughAccessibility(slider, position);
    QTRY_COMPARE(QString::fromStdString(LastPress().Press.Variables[v].Value), shown);
    QCOMPARE(Window().RowOf(v).Value->text(), shown);

    const QImage rendered = Render(QStringList{"--x", x, "--y", y, "--set", letter + "=" + shown} + bounds);
    QVERIFY(!rendered.isNull());
    QVERIFY(Draw2D->Plane() == rendered);
    QVERIFY(fixture.Boxes.isEmpty());
    QCOMPARE(int(TheDocument().Presses().size()), 1);
}

void TestVariablesWindow::EarlierCurvesStay()
{
    PressKresli();  // the circle
    const RecordedPress circle = LastPress();
    Control_Panel->EditEq1->setText("k*cos(t)");
    Control_Panel->EditEq2->setText("k*sin(t)/2");
    PressKresli();
    QSlider* slider = Window().RowOf(IndexOf('k')).Slider;
    SetThroughAccessibility(slider, 120);
    QTRY_COMPARE(LastPress().Press.Variables[IndexOf('k')].Value, std::string("2"));
    SetThroughAccessibility(slider, 135);
    QTRY_COMPARE(LastPress().Press.Variables[IndexOf('k')].Value, std::string("3.5"));

    auto expected = std::make_unique<PlotSurface>();
    expected->ResizePlane(500, 500);
    expected->FillPlane(255, 255, 255);
    ReplayPresses(*expected, PressHistory{circle, LastPress()});
    QVERIFY(Draw2D->Plane() == expected->Plane());
    QCOMPARE(int(TheDocument().Presses().size()), 2);
}

void TestVariablesWindow::MovesComingTogetherRedrawOnce()
{
    Control_Panel->EditEq1->setText("3*cos(k*t)");
    PressKresli();
    QSlider* slider = Window().RowOf(IndexOf('k')).Slider;
    int redraws = 0;
    // Gone with this test, before the document it listens to.
    DocumentSignals news(TheDocument(), nullptr);
    connect(&news, &DocumentSignals::PressesChanged, this, [&] { ++redraws; });
    // Fifty moves before the event loop turns: one redraw, with the last.
    for (int position = 101; position <= 150; ++position)
        SetThroughAccessibility(slider, position);
    QTRY_COMPARE(LastPress().Press.Variables[IndexOf('k')].Value, std::string("5"));
    QTest::qWait(50);
    QCOMPARE(redraws, 1);
}

void TestVariablesWindow::FailingValueShowsInTheStatusLine()
{
    Control_Panel->EditEq1->setText("3*cos(t)/k");
    Control_Panel->EditEq2->setText("3*sin(t)");
    TVariables& window = Window();
    window.RowOf(IndexOf('k')).Value->setText("1");
    emit window.RowOf(IndexOf('k')).Value->editingFinished();
    PressKresli();
    QVERIFY(fixture.Boxes.isEmpty());
    QSlider* slider = window.RowOf(IndexOf('k')).Slider;
    SetThroughAccessibility(slider, 100);  // k = 0
    QTRY_COMPARE(LastPress().Result.End, PressEnd::FormulaError);
    QCOMPARE(window.Status->text(), QString("Dělení nulou, Pole: x ="));
    QVERIFY(fixture.Boxes.isEmpty());
    SetThroughAccessibility(slider, 110);  // k = 1 again
    QTRY_COMPARE(LastPress().Result.End, PressEnd::Completed);
    QCOMPARE(window.Status->text(), QString());
    QVERIFY(fixture.Boxes.isEmpty());
}

void TestVariablesWindow::ValueRefused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("fault");

    QTest::newRow("a variable") << "2*t" << "Hodnota nesmí obsahovat proměnnou" << false;
    QTest::newRow("grammar") << "2+*3" << "Chybny vyraz" << false;
    QTest::newRow("no single value") << "2(3)" << "Chybný výraz" << false;
    QTest::newRow("division by zero") << "1/0" << "Dělení nulou" << false;
    QTest::newRow("overflow") << "exp(1000)" << "Floating point overflow." << true;
}

void TestVariablesWindow::ValueRefused()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(bool, fault);

    Control_Panel->EditEq1->setText("3*cos(k*t)");
    PressKresli();
    const QImage before = ToQImage(Draw2D->Plane()).copy();
    QLineEdit* field = Window().RowOf(IndexOf('k')).Value;
    field->setText("2");
    emit field->editingFinished();
    QTRY_COMPARE(LastPress().Press.Variables[IndexOf('k')].Value, std::string("2"));
    field->setText(typed);
    emit field->editingFinished();
    QCOMPARE(fixture.Boxes.size(), 1);
    QCOMPARE(fixture.Boxes[0].text, message + "\nProměnná: k");
    QCOMPARE(fixture.Boxes[0].title == "Error", !fault);
    // The last good value stays, in the field and the next press.
    QCOMPARE(field->text(), QString("2"));
    QCOMPARE(Control_Panel->CurrentPress().Variables[IndexOf('k')].Value, std::string("2"));
    QCOMPARE(Window().RowOf(IndexOf('k')).Slider->value(), 120);
    QVERIFY(Draw2D->Plane() != before);
}

void TestVariablesWindow::RangeRefused_data()
{
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("message");  // empty: taken

    QTest::newRow("lower equals upper") << "1" << "1" << "0.1" << "Dolní mez musí být menší než horní";
    QTest::newRow("backward") << "5" << "-5" << "0.1" << "Dolní mez musí být menší než horní";
    QTest::newRow("zero step") << "0" << "1" << "0" << "Krok musí být větší než 0";
    QTest::newRow("negative step") << "0" << "1" << "-1" << "Krok musí být větší než 0";
    QTest::newRow("too many values") << "0" << "1" << "0.00001" << "Od dolní meze k horní je víc než 10000 hodnot";
    QTest::newRow("not a formula") << "0" << "1+" << "0.1" << "Chybný výraz";
    QTest::newRow("a good range") << "0" << "2*pi" << "pi/8" << "";
}

void TestVariablesWindow::RangeRefused()
{
    QFETCH(QString, low);
    QFETCH(QString, high);
    QFETCH(QString, step);
    QFETCH(QString, message);

    const TVariables::Row& row = Window().RowOf(IndexOf('k'));
    row.Low->setText(low);
    row.High->setText(high);
    row.Step->setText(step);
    emit row.Step->editingFinished();
    const VariableTexts texts = Control_Panel->CurrentPress().Variables[IndexOf('k')];
    if (message.isEmpty()) {
        QVERIFY(fixture.Boxes.isEmpty());
        QCOMPARE(texts.High, std::string("2*pi"));
        QCOMPARE(row.Slider->maximum(), 16);
        QCOMPARE(row.Slider->value(), 0);  // the value 0 is the first step
        return;
    }
    QCOMPARE(fixture.Boxes.size(), 1);
    QCOMPARE(fixture.Boxes[0].text, message + "\nProměnná: k");
    QCOMPARE(row.Low->text(), QString("-10"));
    QCOMPARE(row.High->text(), QString("10"));
    QCOMPARE(row.Step->text(), QString("0.1"));
    QVERIFY(texts == VariableTexts{});
    QCOMPARE(row.Slider->maximum(), 200);
}

void TestVariablesWindow::ARangeBringsTheValueIn_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("brought");
    QTest::addColumn<int>("position");
    QTest::newRow("above: to the upper end") << "10" << "1" << "3" << "0.5" << "3" << 4;
    QTest::newRow("below: to the lower end") << "-5" << "1" << "3" << "0.5" << "1" << 0;
    QTest::newRow("the upper end off the steps: to the last step") << "10" << "0" << "1" << "0.3" << "0.9" << 3;
    QTest::newRow("inside: stays") << "2.2" << "1" << "3" << "0.5" << "2.2" << 2;
}

// A new range that leaves the value out brings it to the range's nearer
// end, and the last press is drawn with it; one that holds it keeps it.
void TestVariablesWindow::ARangeBringsTheValueIn()
{
    QFETCH(QString, value);
    QFETCH(QString, low);
    QFETCH(QString, high);
    QFETCH(QString, step);
    QFETCH(QString, brought);
    QFETCH(int, position);
    Control_Panel->EditEq1->setText("3*cos(k*t)");
    PressKresli();
    const TVariables::Row& row = Window().RowOf(IndexOf('k'));
    row.Value->setText(value);
    emit row.Value->editingFinished();
    QTRY_COMPARE(LastPress().Press.Variables[IndexOf('k')].Value, value.toStdString());
    row.Low->setText(low);
    row.High->setText(high);
    row.Step->setText(step);
    emit row.Step->editingFinished();
    QVERIFY(fixture.Boxes.isEmpty());
    QCOMPARE(row.Value->text(), brought);
    QCOMPARE(row.Slider->value(), position);
    QCOMPARE(Control_Panel->CurrentPress().Variables[IndexOf('k')].Value, brought.toStdString());
    QTRY_COMPARE(LastPress().Press.Variables[IndexOf('k')].Value, brought.toStdString());
    QVERIFY(Draw2D->Plane() == Render({"--x", "3*cos(k*t)", "--set", "k=" + brought}));
}

// "ponechat stopu" is the panel's state: a lesson carries it both ways.
void TestVariablesWindow::KeepTraceGoesWithTheLesson()
{
    QVERIFY(!Window().KeepTrace->isChecked());
    Window().KeepTrace->setChecked(true);
    QVERIFY(Control_Panel->CurrentPress().KeepTrace);
    TracePress press = Control_Panel->CurrentPress();
    press.KeepTrace = false;
    Control_Panel->ShowPress(press);
    QVERIFY(!Window().KeepTrace->isChecked());
    press.KeepTrace = true;
    Control_Panel->ShowPress(press);
    QVERIFY(Window().KeepTrace->isChecked());
}

void TestVariablesWindow::TypedValueRedraws()
{
    Control_Panel->EditEq1->setText("3*cos(t)");
    Control_Panel->EditEq2->setText("3*sin(t)*z");
    PressKresli();
    QLineEdit* field = Window().RowOf(IndexOf('z')).Value;
    field->setText("pi/4");
    emit field->editingFinished();
    QTRY_COMPARE(LastPress().Press.Variables[IndexOf('z')].Value, std::string("pi/4"));
    // Between two steps: the slider stands at the nearer one, the value as typed.
    QCOMPARE(Window().RowOf(IndexOf('z')).Slider->value(), 108);
    QVERIFY(Draw2D->Plane() == Render({"--y", "3*sin(t)*z", "--set", "z=pi/4"}));
}

void TestVariablesWindow::AnimationFramesAreTheSweeps_data()
{
    QTest::addColumn<bool>("family");
    QTest::newRow("moving") << false;
    QTest::newRow("a family") << true;
}

void TestVariablesWindow::AnimationFramesAreTheSweeps()
{
    QFETCH(bool, family);

    Control_Panel->EditEq1->setText("3*cos(t)");
    Control_Panel->EditEq2->setText("n*sin(t)");
    Control_Panel->EditSeg->setText("40");
    PressKresli();
    TVariables& window = Window();
    const TVariables::Row& row = window.RowOf(IndexOf('n'));
    row.Low->setText("-2");
    row.High->setText("3");
    row.Step->setText("0.5");
    emit row.Step->editingFinished();
    window.KeepTrace->setChecked(family);
    int pauses = 0;
    SetTracePause([&] { ++pauses; });
    QTest::mouseClick(row.Animate, Qt::LeftButton);
    QTRY_VERIFY(!TraceRunning());
    QCOMPARE(pauses, 10);  // between the 11 frames

    const std::shared_ptr<const EncodedGif> kept = TheDocument().LastAnimation();
    QVERIFY(kept);
    QVERIFY2(kept->Message.empty(), kept->Message.c_str());
    const DecodedGif shown = DecodeGif(kept->Bytes);
    QVERIFY2(shown.Error.isEmpty(), qPrintable(shown.Error));
    QStringList options{"--x", "3*cos(t)", "--y", "n*sin(t)", "--segments", "40", "--sweep", "n=-2:3:0.5"};
    if (family)
        options << "--family";
    const DecodedGif swept = RenderGif(options);
    QCOMPARE(shown.Frames.size(), std::size_t(11));
    QCOMPARE(swept.Frames.size(), std::size_t(11));
    for (std::size_t i = 0; i < 11; ++i)
        QVERIFY2(shown.Frames[i] == swept.Frames[i], qPrintable(QString("frame %1").arg(i)));
    QCOMPARE(shown.Delays.front(), 5);
    QCOMPARE(shown.Delays.back(), 200);

    // The history holds what the plane shows; the slider the last value.
    const PressHistory& history = TheDocument().Presses();
    QCOMPARE(int(history.size()), family ? 11 : 1);
    QCOMPARE(history.back().Press.Variables[IndexOf('n')].Value, std::string("3"));
    QCOMPARE(row.Value->text(), QString("3"));
    QCOMPARE(row.Slider->value(), 10);
    auto replayed = std::make_unique<PlotSurface>();
    replayed->ResizePlane(500, 500);
    replayed->FillPlane(255, 255, 255);
    ReplayPresses(*replayed, history);
    QVERIFY(replayed->Plane() == Draw2D->Plane());
}

void TestVariablesWindow::EscStopsTheAnimation()
{
    Control_Panel->EditEq1->setText("3*cos(k*t)");
    Control_Panel->EditSeg->setText("20");
    PressKresli();
    int pauses = 0;
    SetTracePause([&] {
        if (++pauses == 4)
            QTest::keyClick(Made(), Qt::Key_Escape);
    });
    QTest::mouseClick(Window().RowOf(IndexOf('k')).Animate, Qt::LeftButton);
    QTRY_VERIFY(!TraceRunning());
    QCOMPARE(pauses, 4);
    const DecodedGif shown = DecodeGif(TheDocument().LastAnimation()->Bytes);
    QCOMPARE(shown.Frames.size(), std::size_t(4));
    QCOMPARE(LastPress().Press.Variables[IndexOf('k')].Value, std::string("-9.7"));
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestVariablesWindow::SweepFramesAreSingleRenders_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("values");  // of the frames, as --set takes them

    QTest::newRow("decimal steps") << QStringList{"--x", "3*sin(k*t)", "--sweep", "k=0:1:0.25"}
                                   << QStringList{"0", "0.25", "0.5", "0.75", "1"};
    QTest::newRow("a step that misses the end") << QStringList{"--y", "r*sin(t)", "--sweep", "r=-1:1:0.7"}
                                                << QStringList{"-1", "-0.3", "0.4"};
    QTest::newRow("pi steps") << QStringList{"--x", "3*cos(t+z)", "--sweep", "z=0:pi:pi/2"}
                              << QStringList{"0", "1.5707963267948966", "3.141592653589793"};
}

void TestVariablesWindow::SweepFramesAreSingleRenders()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, values);

    const DecodedGif swept = RenderGif(options);
    QVERIFY2(swept.Error.isEmpty(), qPrintable(swept.Error));
    QCOMPARE(swept.Frames.size(), std::size_t(values.size()));
    const QString letter = options[3].left(1);
    QStringList single = options.mid(0, 2);
    for (qsizetype i = 0; i < values.size(); ++i) {
        const QImage frame = Render(single + QStringList{"--set", letter + "=" + values[i]});
        QVERIFY2(swept.Frames[std::size_t(i)] == frame, qPrintable(values[i]));
    }
    // PNG of a sweep: the last frame; its points: the last value's.
    const RendererRun run = RunRenderer(options + QStringList{"-o", work.Path("last.png"), "--points", "-"});
    QCOMPARE(run.ExitStatus, 0);
    QVERIFY(ReadPicture(work.Path("last.png")) == swept.Frames.back());
    const RendererRun lastOnly = RunRenderer(single + QStringList{"--set", letter + "=" + values.back(), "-o",
                                                                  work.Path("x.png"), "--points", "-"});
    QCOMPARE(run.Out, lastOnly.Out);
}

void TestVariablesWindow::RowsFollowThePanel()
{
    TVariables& window = Window();
    QVERIFY(window.NoVariables->isVisible());
    const int empty = window.height();
    Control_Panel->EditEq1->setText("k*cos(n*t)");
    Control_Panel->EditT2->setText("2*pi*z");
    for (std::size_t i = 0; i < VariableCount; ++i) {
        const char letter = PressVariables[i].Letter;
        QCOMPARE(window.RowOf(i).Box->isVisible(), letter == 'k' || letter == 'n' || letter == 'z');
    }
    QVERIFY(!window.NoVariables->isVisible());
    QVERIFY(window.height() > empty);
    // In order, one under the other, all inside the window.
    QVERIFY(window.RowOf(IndexOf('k')).Box->y() < window.RowOf(IndexOf('n')).Box->y());
    QVERIFY(window.RowOf(IndexOf('n')).Box->y() < window.RowOf(IndexOf('z')).Box->y());
    QVERIFY(window.rect().contains(window.Status->geometry()));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (control->isVisible() && !control->accessibleName().isEmpty())
            QVERIFY(window.rect().contains(QRect(control->mapTo(&window, QPoint(0, 0)), control->size())));
    }
}

void TestVariablesWindow::ShownByItselfOnce()
{
    PressKresli();
    QVERIFY(!Made() || !Made()->isVisible());
    Control_Panel->EditEq1->setText("3*cos(k*t)");
    PressKresli();
    QVERIFY(Made() && Made()->isVisible());
    Made()->close();
    PressKresli();
    QVERIFY(!Made()->isVisible());
}

void TestVariablesWindow::PressCarriesTheValues()
{
    // Never changed: the defaults.
    QVERIFY(Control_Panel->CurrentPress().Variables == TracePress{}.Variables);
    Control_Panel->ShowPress(StartPress());
    QVERIFY(Control_Panel->CurrentPress().Variables == TracePress{}.Variables);
    TracePress press = StartPress();
    press.Variables[IndexOf('y')] = VariableTexts{"1.5", "0", "2", "0.5"};
    Control_Panel->ShowPress(press);
    QVERIFY(Control_Panel->CurrentPress() == press);
    // The window, made now or already there, shows them.
    for (int made = 0; made < 2; ++made) {
        if (made)
            Control_Panel->ShowPress(press);
        QCOMPARE(Window().RowOf(IndexOf('y')).Value->text(), QString("1.5"));
        QCOMPARE(Window().RowOf(IndexOf('y')).Slider->value(), 3);
        QCOMPARE(Window().RowOf(IndexOf('y')).Slider->maximum(), 4);
        Control_Panel->ShowPress(StartPress());
    }
}

void TestVariablesWindow::CtrlROpensIt()
{
    QTest::keyClick(Control_Panel, Qt::Key_R, Qt::ControlModifier);
    QVERIFY(Made() && Made()->isVisible());
    Made()->close();
    Draw2D->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Draw2D));
    QTest::keyClick(Draw2D, Qt::Key_R, Qt::ControlModifier);
    QVERIFY(Made()->isVisible());
    auto* action = Draw2D->findChild<QAction*>(VariablesActionName);
    QVERIFY(action);
    QCOMPARE(action->text(), QString("Proměnné…"));
    QCOMPARE(action->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    QVERIFY(Draw2D->actions().contains(action));
}

QTEST_MAIN(TestVariablesWindow)
#include "test_variableswindow.moc"
