// SPDX-License-Identifier: GPL-3.0-or-later
// Lessons in the window: a lesson opened shows the very plane the renderer
// draws from the same file, and fills the panel; a lesson saved and opened
// again gives back the plane and the panel made by hand; a file that will
// not do is named in one box and changes nothing; the actions sit on the
// plot window's menu and answer their shortcuts on both windows; the last
// five lessons are offered again.
#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>

#include <sys/stat.h>

#include "../panel/PanelFixture.h"
#include "../render/RendererProcess.h"
#include "LessonActions.h"
#include "LessonDialogs.h"
#include "LessonFile.h"
#include "TracePause.h"
#include "StartArguments.h"

namespace {

// Two curves and every way a press can end early: a formula error (dashed,
// its window from the t the circle left), a press the user stopped, a
// refused segment count, a fault after the axes, and a last one in green.
const QByteArray Overlay = R"~({
    "paramcurve-lesson": 1,
    "panel": {"x": "2*sin(t)", "segments": "17", "color": "#00a000", "dashed": true, "t-before": "1.25"},
    "drawn": [
        {"x": "3*cos(t)", "y": "3*sin(t)", "t2": "2*pi", "segments": "30"},
        {"x": "t", "y": "1/(t-2)", "x1": "-t", "x2": "t", "t1": "0", "t2": "4", "segments": "8",
         "dashed": true, "t-before": "6.492624817418789"},
        {"x": "2*cos(t)", "y": "2*sin(t)", "color": "#e60000", "segments": "30", "stopped-after": 7},
        {"segments": "x"},
        {"segments": "0", "x1": "-5", "x2": "5", "y1": "-2", "y2": "6"},
        {"x": "t", "y": "t^2/4", "t1": "-3", "t2": "3", "color": "#00a000", "axes": false}
    ]
})~";

}  // namespace

class TestLessonWindow : public QObject {
    Q_OBJECT

private:
    PanelFixture fixture;
    QTemporaryDir folder;
    QTemporaryDir config;
    PlotMenu* actions = nullptr;
    QString chosen;  // what the chooser answers
    QList<LessonDialog> asked;

    QString Path(const QString& name) const { return folder.filePath(name); }
    QString Write(const QString& name, const QByteArray& bytes)
    {
        QFile file(Path(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return file.fileName();
    }
    const PressHistory& History() { return TheDocument().Presses(); }

private slots:
    void initTestCase()
    {
        QVERIFY(folder.isValid() && config.isValid());
        // The recent lessons go to a settings file of this test's own.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        QCoreApplication::setOrganizationName(QStringLiteral("paramcurve"));
        QCoreApplication::setApplicationName(QStringLiteral("test_lessonwindow"));
        QVERIFY(QSettings().fileName().startsWith(config.path() + '/'));
    }
    void init()
    {
        QSettings().clear();
        fixture.Start();
        actions = &TheMenu();
        chosen.clear();
        asked.clear();
        SetLessonFileChooser([this](QWidget*, LessonDialog which) {
            asked << which;
            return chosen;
        });
        SetTracePause([] {});
    }
    void cleanup()
    {
        SetTracePause(nullptr);
        SetLessonFileChooser(nullptr);
        SetUnsavedQuestion(nullptr);
        fixture.Stop();
    }

    void OpensAsTheRendererDraws_data();
    void OpensAsTheRendererDraws();
    void SavedAndOpenedIsThePlaneByHand();
    void FileThatWillNotDoChangesNothing_data();
    void FileThatWillNotDoChangesNothing();
    void EscStopsTheDrawingKeepingWhatWasDrawn();
    void EscInASlowBoundKeepsNothingOfThatPress();
    void NothingWhileATraceRuns();
    void ActionsOnBothWindows();
    void OfferedAgainNewestFirst();
    void MissingRecentLessonIsDropped();
    void StartArgumentsName_data();
    void StartArgumentsName();
    void AskedBeforeEndingOnlyWhatWouldBeLost_data();
    void AskedBeforeEndingOnlyWhatWouldBeLost();
};

void TestLessonWindow::OpensAsTheRendererDraws_data()
{
    QTest::addColumn<QByteArray>("lesson");
    QTest::addColumn<int>("exitStatus");  // of the renderer

    QTest::newRow("the press at start") << QByteArray(R"~({"paramcurve-lesson": 1, "drawn": [{}]})~") << 0;
    QTest::newRow("overlay with early ends") << Overlay << 1;
    QTest::newRow("stopped before its first point")
        << QByteArray(R"~({"paramcurve-lesson": 1, "drawn": [{"stopped-after": 0}, {"x": "-3*cos(t)", "segments": "9"}]})~")
        << 0;
    QTest::newRow("nothing drawn, only the panel")
        << QByteArray(R"~({"paramcurve-lesson": 1, "panel": {"x": "t", "axes": false}})~") << 0;
}

// Opened, the plane is the renderer's PNG of the same file; the panel is
// the lesson's, and "Kresli" goes on from its t.
void TestLessonWindow::OpensAsTheRendererDraws()
{
    QFETCH(QByteArray, lesson);
    QFETCH(int, exitStatus);

    const QString file = Write("lesson.paramcurve", lesson);
    const LessonFileReading reading = ReadLessonFile(file);
    QVERIFY2(reading.Ok, qPrintable(reading.Message));
    // Something on the plane first: opening starts from white.
    PressKresli();
    QVERIFY(OpenLesson(TheDocument(), *Control_Panel, file));
    QVERIFY(fixture.Boxes.isEmpty());  // an early end in a lesson shows no box

    const RendererRun run = RunRenderer({file, "-o", Path("lesson.png")});
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, exitStatus);
    QVERIFY(ReadPicture(Path("lesson.png")) == Draw2D->Plane());

    QVERIFY(Control_Panel->CurrentPress() == reading.Read.Panel);
    QCOMPARE(Draw2D->VarT, reading.Read.Panel.TBefore);
    QCOMPARE(History().size(), reading.Read.Drawn.size());
    for (std::size_t i = 0; i < History().size(); ++i) {
        QVERIFY(History()[i].Press == reading.Read.Drawn[i].Press);
        QCOMPARE(History()[i].StopAt, reading.Read.Drawn[i].StopAt);
    }
    QCOMPARE(RecentLessons(), QStringList{file});
}

// Made by hand (one press stopped by Esc, one with a formula error), saved,
// wiped, the panel changed: opened again, plane, panel and t are as saved.
void TestLessonWindow::SavedAndOpenedIsThePlaneByHand()
{
    SetPanelTexts({"3*cos(t)", "3*sin(t)", "-4", "4", "-4", "4", "0", "2*pi", "30"});
    PressKresli();
    SetPanelTexts({"t", "1/(t-2)", "-t", "t", "-4", "4", "0", "4", "8"});
    Control_Panel->CheckBox2->setChecked(true);
    PressKresli();
    int pauses = 0;
    SetTracePause([&pauses] {
        if (++pauses == 5)
            QTest::keyClick(Control_Panel, Qt::Key_Escape);
    });
    Draw2D->CurveR = 230;
    SetPanelTexts({"2*cos(t)", "2*sin(t)", "-4", "4", "-4", "4", "0", "2*pi", "30"});
    PressKresli();
    QTRY_VERIFY(!TraceRunning());
    SetTracePause([] {});
    QCOMPARE(fixture.Boxes.size(), 1);  // the formula error's, by hand
    QCOMPARE(int(History().size()), 3);
    QVERIFY(History()[2].StopAt);
    const QImage byHand = ToQImage(Draw2D->Plane()).copy();
    const TracePress panel = Control_Panel->CurrentPress();

    chosen = Path("hand.paramcurve");
    actions->SaveLesson->trigger();
    QCOMPARE(asked, QList<LessonDialog>{LessonDialog::Save});
    QCOMPARE(fixture.Boxes.size(), 1);
    QVERIFY(QFile::exists(chosen));

    QTest::mouseClick(Control_Panel->Button3, Qt::LeftButton);  // Vymaž
    SetPanelTexts({"t", "t", "-1", "1", "-1", "1", "0", "1", "3"});
    Control_Panel->CheckBox1->setChecked(false);
    PressKresli();
    QVERIFY(Draw2D->Plane() != byHand);

    actions->OpenLesson->trigger();
    QCOMPARE(asked.size(), 2);
    QCOMPARE(asked.back(), LessonDialog::Open);
    QCOMPARE(fixture.Boxes.size(), 1);
    QVERIFY(Draw2D->Plane() == byHand);
    QVERIFY(Control_Panel->CurrentPress() == panel);
    QCOMPARE(int(History().size()), 3);
    QCOMPARE(History()[2].StopAt, std::optional<std::size_t>(5));

    // And the renderer draws the saved file alike.
    const RendererRun run = RunRenderer({chosen, "-o", Path("hand.png")});
    QCOMPARE(run.ExitStatus, 1);
    QCOMPARE(QString::fromUtf8(run.Err), QString("Kreslení 2, \"y\": Dělení nulou\n"));
    QVERIFY(ReadPicture(Path("hand.png")) == byHand);
}

void TestLessonWindow::FileThatWillNotDoChangesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    QTest::newRow("missing") << "missing" << QByteArray() << "soubor neexistuje";
    QTest::newRow("a folder") << "folder" << QByteArray() << "je to složka";
    QTest::newRow("a FIFO, not waited for") << "fifo" << QByteArray()
                                            << "je to roura (FIFO), lekce musí být obyčejný soubor";
    QTest::newRow("a device") << "/dev/zero" << QByteArray() << "je to zařízení, lekce musí být obyčejný soubor";
    QTest::newRow("truncated") << "file" << Overlay.left(Overlay.size() / 2)
                               << "soubor končí předčasně, je zřejmě neúplný (text v uvozovkách není uzavřen)";
    QTest::newRow("over 1 MiB") << "file" << QByteArray(1024 * 1024 + 1, ' ') << "soubor je větší než 1 MiB";
    QTest::newRow("a bad press after good ones")
        << "file" << QByteArray(Overlay).replace(R"~("segments": "0")~", R"~("segments": 0)~")
        << "kreslení 5 v \"drawn\", klíč \"segments\": má být text v uvozovkách";
    QTest::newRow("a newer version") << "file" << QByteArray(R"~({"paramcurve-lesson": 7})~")
                                     << "lekci zapsala novější verze programu paramcurve (lekce verze 7; tato verze umí číst verzi 1)";
}

void TestLessonWindow::FileThatWillNotDoChangesNothing()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);

    QString file = Path("bad.paramcurve");
    QFile::remove(file);
    QDir(file).removeRecursively();
    if (kind == "folder")
        QVERIFY(QDir().mkpath(file));
    else if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    else if (kind == "file")
        Write("bad.paramcurve", bytes);
    else if (kind.startsWith('/'))
        file = kind;

    PressKresli();
    Control_Panel->EditEq1->setText("sin(t)");
    const QImage plane = ToQImage(Draw2D->Plane()).copy();
    const TracePress panel = Control_Panel->CurrentPress();
    const PressHistory history = History();

    chosen = file;
    actions->OpenLesson->trigger();
    QCOMPARE(fixture.Boxes.size(), 1);
    QCOMPARE(fixture.Boxes.front().text, QString("Lekci ze souboru %1 nelze otevřít: %2.").arg(file, reason));
    QVERIFY(Draw2D->Plane() == plane);
    QVERIFY(Control_Panel->CurrentPress() == panel);
    QCOMPARE(History().size(), history.size());
    QVERIFY(RecentLessons().isEmpty());
}

// Esc while a long lesson is drawn: the presses after the one it stopped
// are not drawn, the panel is the lesson's, and saving then keeps exactly
// what the plane shows.
void TestLessonWindow::EscStopsTheDrawingKeepingWhatWasDrawn()
{
    QByteArray lesson = R"~({"paramcurve-lesson": 1, "drawn": [)~";
    for (int i = 0; i < 400; ++i)
        lesson += QByteArray(i ? "," : "") + R"~({"x": "3*cos(t)+sin(31*t)/5", "segments": "1731"})~";
    const QString file = Write("long.paramcurve", lesson + "]}");
    // Waits until the drawing lets the event loop run.
    QCoreApplication::postEvent(Control_Panel, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    QVERIFY(OpenLesson(TheDocument(), *Control_Panel, file));
    QVERIFY(fixture.Boxes.isEmpty());
    QVERIFY(!History().empty());
    QVERIFY(History().size() < 400);
    QVERIFY(History().back().StopAt);
    const QImage stopped = ToQImage(Draw2D->Plane()).copy();

    chosen = Path("stopped.paramcurve");
    actions->SaveLesson->trigger();
    const RendererRun run = RunRenderer({chosen, "-o", Path("stopped.png")});
    QCOMPARE(run.ExitStatus, 0);  // a recorded stop is no error
    QVERIFY(ReadPicture(Path("stopped.png")) == stopped);
}

// Esc while the first press still reads its bounds: nothing was drawn, so
// nothing is kept (no axes would be drawn by a press kept as stopped).
void TestLessonWindow::EscInASlowBoundKeepsNothingOfThatPress()
{
    const QString file = Write("slow.paramcurve", R"~({"paramcurve-lesson": 1,
        "drawn": [{"x2": "1.0000001^2147483647"}, {}]})~");
    QCoreApplication::postEvent(Control_Panel, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    QVERIFY(OpenLesson(TheDocument(), *Control_Panel, file));
    QVERIFY(History().empty());
    QVERIFY(!TheDocument().PlaneBeforeLast());
    QCOMPARE(PixelsOtherThan(ToQImage(Draw2D->Plane()), 255, 255, 255), 0);
}

void TestLessonWindow::NothingWhileATraceRuns()
{
    const QString file = Write("during.paramcurve", Overlay);
    chosen = file;
    Control_Panel->EditSeg->setText("5");
    int pauses = 0;
    bool opened = true;
    SetTracePause([&] {
        if (++pauses == 2) {
            opened = OpenLesson(TheDocument(), *Control_Panel, file);
            actions->OpenLesson->trigger();
            actions->SaveLesson->trigger();
        }
    });
    PressKresli();
    QVERIFY(!opened);
    QVERIFY(asked.isEmpty());
    QCOMPARE(int(History().size()), 1);
    QVERIFY(Control_Panel->CurrentPress().Texts.Segments == "5");
}

// On the plot window's context menu with their shortcuts, and the same
// shortcuts on the control panel.
void TestLessonWindow::ActionsOnBothWindows()
{
    QCOMPARE(actions->OpenLesson->text(), QString("Otevřít lekci…"));
    QCOMPARE(actions->OpenLesson->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    QCOMPARE(actions->SaveLesson->text(), QString("Uložit lekci…"));
    QCOMPARE(actions->SaveLesson->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    QCOMPARE(actions->Recent->title(), QString("Nedávné lekce"));
    const QList<QAction*> menu = Draw2D->actions();
    QVERIFY(menu.contains(actions->OpenLesson) && menu.contains(actions->SaveLesson) && menu.contains(actions->Recent->menuAction()));
    QVERIFY(!actions->Recent->menuAction()->isEnabled());  // nothing opened yet
    QVERIFY(Control_Panel->actions().contains(actions->OpenLesson) && Control_Panel->actions().contains(actions->SaveLesson));
    for (int i = 0; i < MaxRecentLessons; ++i)
        QCOMPARE(actions->RecentEntries[std::size_t(i)]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + i)));

    chosen = Write("keys.paramcurve", Overlay);
    for (QWidget* window : {static_cast<QWidget*>(Control_Panel), static_cast<QWidget*>(Draw2D)}) {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_O, Qt::ControlModifier);
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    }
    QCOMPARE(asked, (QList<LessonDialog>{LessonDialog::Open, LessonDialog::Save, LessonDialog::Open, LessonDialog::Save}));
    QCOMPARE(int(History().size()), 6);
}

// Six lessons opened or saved: the last five, newest first, each on its
// Ctrl+number; opening one again puts it first.
void TestLessonWindow::OfferedAgainNewestFirst()
{
    QStringList files;
    for (int i = 1; i <= 6; ++i) {
        files << Write(QString("l%1.paramcurve").arg(i),
                       QString(R"~({"paramcurve-lesson": 1, "panel": {"segments": "%1"}})~").arg(i).toUtf8());
        if (i == 6) {
            chosen = Path("saved & kept.paramcurve");
            actions->SaveLesson->trigger();
            files.back() = chosen;
        } else {
            QVERIFY(OpenLesson(TheDocument(), *Control_Panel, files.back()));
        }
    }
    QCOMPARE(::RecentLessons(), (QStringList{files[5], files[4], files[3], files[2], files[1]}));
    QVERIFY(actions->Recent->menuAction()->isEnabled());
    QCOMPARE(actions->RecentEntries[0]->text(), QString("&1 saved && kept.paramcurve (%1)").arg(folder.path()));
    for (QAction* entry : actions->RecentEntries)
        QVERIFY(entry->isVisible());

    Control_Panel->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Control_Panel));
    QTest::keyClick(Control_Panel, Qt::Key_4, Qt::ControlModifier);
    QCOMPARE(Control_Panel->EditSeg->text(), QString("3"));
    QCOMPARE(::RecentLessons().first(), files[2]);
    QVERIFY(fixture.Boxes.isEmpty());
    // Kept for the next start of the program.
    QCOMPARE(QSettings().value("RecentLessons").toStringList(), ::RecentLessons());
}

// A lesson deleted since: one box, and it is no longer offered.
void TestLessonWindow::MissingRecentLessonIsDropped()
{
    const QString kept = Write("kept.paramcurve", Overlay);
    const QString gone = Write("gone.paramcurve", Overlay);
    QVERIFY(OpenLesson(TheDocument(), *Control_Panel, kept));
    QVERIFY(OpenLesson(TheDocument(), *Control_Panel, gone));
    QVERIFY(QFile::remove(gone));
    const QImage plane = ToQImage(Draw2D->Plane()).copy();
    actions->ShowRecentLessons();  // opened from here rather than from the menu

    actions->RecentEntries[0]->trigger();
    QCOMPARE(fixture.Boxes.size(), 1);
    QCOMPARE(fixture.Boxes.front().text, QString("Lekci ze souboru %1 nelze otevřít: soubor neexistuje.\n"
                                                 "Lekce byla odebrána z nedávných lekcí.").arg(gone));
    QCOMPARE(::RecentLessons(), QStringList{kept});
    QVERIFY(!actions->RecentEntries[1]->isVisible());
    QVERIFY(Draw2D->Plane() == plane);
    actions->RecentEntries[0]->trigger();
    QCOMPARE(fixture.Boxes.size(), 1);  // the one kept opens
}

void TestLessonWindow::StartArgumentsName_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("lesson");
    QTest::addColumn<QStringList>("notes");

    QTest::newRow("none") << QStringList{} << "" << QStringList{};
    QTest::newRow("a lesson, as the desktop passes it") << QStringList{"/home/u/a b.paramcurve"}
                                                        << "/home/u/a b.paramcurve" << QStringList{};
    QTest::newRow("two files: the first") << QStringList{"a.paramcurve", "b.paramcurve"} << "a.paramcurve"
                                          << QStringList{"paramcurve: otevírá se jen jedna lekce, b.paramcurve se pomíjí"};
    QTest::newRow("an unknown option") << QStringList{"--zoom", "a.paramcurve"} << "a.paramcurve"
                                       << QStringList{"paramcurve: neznámá volba --zoom se pomíjí"};
    QTest::newRow("a name after --") << QStringList{"--", "-x.paramcurve"} << "-x.paramcurve" << QStringList{};
    QTest::newRow("an empty argument") << QStringList{""} << ""
                                       << QStringList{"paramcurve: prázdný argument se pomíjí"};
}

void TestLessonWindow::StartArgumentsName()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, lesson);
    QFETCH(QStringList, notes);
    const StartArguments start = ReadStartArguments(QStringList{"paramcurve"} + arguments);
    QCOMPARE(start.LessonPath, lesson);
    QCOMPARE(start.Notes, notes);
}


void TestLessonWindow::AskedBeforeEndingOnlyWhatWouldBeLost_data()
{
    QTest::addColumn<QString>("before");  // what was done before ending
    QTest::addColumn<bool>("konec");      // "konec" rather than closing the plot window
    QTest::addColumn<int>("answer");      // UnsavedChoice
    QTest::addColumn<QString>("file");    // what the save dialog gives; empty: cancelled
    QTest::addColumn<bool>("questioned");
    QTest::addColumn<bool>("ends");

    const int save = int(UnsavedChoice::Save), discard = int(UnsavedChoice::Discard),
              cancel = int(UnsavedChoice::Cancel);
    // "konec" that ends leaves the process: its rows are test_lifecycle's.
    QTest::newRow("nothing drawn") << "nothing" << false << cancel << "" << false << true;
    QTest::newRow("drawn, Zrušit") << "drawn" << false << cancel << "" << true << false;
    QTest::newRow("drawn, konec, Zrušit") << "drawn" << true << cancel << "" << true << false;
    QTest::newRow("drawn, Zahodit") << "drawn" << false << discard << "" << true << true;
    QTest::newRow("drawn, Uložit") << "drawn" << false << save << "kept.paramcurve" << true << true;
    QTest::newRow("drawn, Uložit, file dialog cancelled") << "drawn" << false << save << "" << true << false;
    QTest::newRow("drawn, konec, Uložit, file dialog cancelled") << "drawn" << true << save << "" << true << false;
    QTest::newRow("drawn, Uložit into a folder that is not there")
        << "drawn" << false << save << "no/such/folder/x.paramcurve" << true << false;
    QTest::newRow("saved") << "saved" << false << cancel << "" << false << true;
    QTest::newRow("saved, then drawn") << "saved, then drawn" << false << cancel << "" << true << false;
    QTest::newRow("opened") << "opened" << false << cancel << "" << false << true;
    QTest::newRow("wiped") << "wiped" << false << cancel << "" << false << true;
}

// "konec" and closing the plot window ask "Uložit lekci?" only when presses
// differ from those last saved or opened; the program ends only after
// "Zahodit" or a save that wrote the file.
void TestLessonWindow::AskedBeforeEndingOnlyWhatWouldBeLost()
{
    QFETCH(QString, before);
    QFETCH(bool, konec);
    QFETCH(int, answer);
    QFETCH(QString, file);
    QFETCH(bool, questioned);
    QFETCH(bool, ends);

    const QString lesson = Write("open.paramcurve", R"~({"paramcurve-lesson": 1, "drawn": [{}]})~");
    if (before != "nothing" && before != "opened")
        PressKresli();
    if (before.startsWith("saved")) {
        chosen = Path("saved.paramcurve");
        actions->SaveLesson->trigger();
        QVERIFY(QFile::exists(chosen));
    }
    if (before == "saved, then drawn")
        PressKresli();
    if (before == "opened")
        QVERIFY(OpenLesson(TheDocument(), *Control_Panel, lesson));
    if (before == "wiped")
        QTest::mouseClick(Control_Panel->Button3, Qt::LeftButton);

    int questions = 0;
    SetUnsavedQuestion([&] {
        ++questions;
        return UnsavedChoice(answer);
    });
    chosen = file.isEmpty() ? QString() : Path(file);
    asked.clear();
    if (konec)
        QTest::mouseClick(Control_Panel->Button2, Qt::LeftButton);  // returns only when it does not end
    // Here after "konec": it did not end the process.
    const bool ended = !konec && Draw2D->close();

    QCOMPARE(questions, questioned ? 1 : 0);
    QCOMPARE(ended, ends);
    QCOMPARE(Draw2D->isVisible(), !ends);
    // The save dialog opens only for "Uložit"; what it wrote opens as the plane.
    QCOMPARE(asked.size(), questioned && answer == int(UnsavedChoice::Save) ? 1 : 0);
    const bool written = !chosen.isEmpty() && QFile::exists(chosen);
    QCOMPARE(written, questioned && answer == int(UnsavedChoice::Save) && ends);
    if (written) {
        const LessonFileReading reading = ReadLessonFile(chosen);
        QVERIFY(reading.Ok);
        QCOMPARE(reading.Read.Drawn.size(), History().size());
        QVERIFY(!TheDocument().Unsaved());
    }
    if (!ends)
        QCOMPARE(TheDocument().Unsaved(), true);
}

QTEST_MAIN(TestLessonWindow)
#include "test_lessonwindow.moc"
