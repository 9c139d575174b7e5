// SPDX-License-Identifier: GPL-3.0-or-later
// Which window ends the program: closing the plot window does, closing the
// panel does not, and "konec" ends the process at once with exit code 0,
// after asking when a curve is not saved.
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "PanelFixture.h"
#include "TracePause.h"

namespace {

const char* const PressKonec = "--press-konec";

// The child: starts as the program does and presses "konec". Reaching the
// end of the event loop would mean "konec" returned to it.
int PressKonecChild(int argc, char* argv[])
{
    QApplication application(argc, argv);
    SetUpApplication();
    auto* document = new PlotDocument;
    new Program(*document);
    Control_Panel->show();
    std::atexit([] { std::printf("at exit: plot window %s\n", Draw2D->isVisible() ? "visible" : "hidden"); });
    QTimer::singleShot(0, [] { QTest::mouseClick(Control_Panel->Button2, Qt::LeftButton); });
    application.exec();
    std::printf("event loop returned\n");
    return 3;
}

const char* const DrawThenKonec = "--draw-then-konec";

// The child: draws a curve, answers "Uložit lekci?" with argv[2] ("discard"
// or "cancel") and presses "konec"; prints how often it was asked.
int DrawThenKonecChild(int argc, char* argv[])
{
    QApplication application(argc, argv);
    SetUpApplication();
    SetTracePause([] {});
    const bool discard = argc > 2 && qstrcmp(argv[2], "discard") == 0;
    static int questions = 0;
    SetUnsavedQuestion([discard] {
        ++questions;
        return discard ? UnsavedChoice::Discard : UnsavedChoice::Cancel;
    });
    auto* document = new PlotDocument;
    new Program(*document);
    Control_Panel->show();
    std::atexit([] { std::printf("at exit: asked %d\n", questions); });
    QTimer::singleShot(0, [] {
        QTest::mouseClick(Control_Panel->Button1, Qt::LeftButton);
        QTest::mouseClick(Control_Panel->Button2, Qt::LeftButton);
        std::printf("konec returned: asked %d, plot window %s\n", questions,
                    Draw2D->isVisible() ? "visible" : "hidden");
        QCoreApplication::exit(5);
    });
    return application.exec();
}

}  // namespace

class TestLifecycle : public QObject {
    Q_OBJECT
    PanelFixture Fixture;

private slots:
    void init() { Fixture.Start(); }
    void cleanup() { Fixture.Stop(); }

    // The loop runs until the plot window closes, whether or not the panel
    // is still shown; closing the panel only hides it.
    void plotWindowIsTheMainWindow_data()
    {
        QTest::addColumn<bool>("closePanelFirst");
        QTest::newRow("panel closed first") << true;
        QTest::newRow("plot window closed while the panel shows") << false;
    }

    void plotWindowIsTheMainWindow()
    {
        QFETCH(bool, closePanelFirst);
        bool runningAfterPanelClosed = true;
        bool timedOut = false;
        if (closePanelFirst)
            QTimer::singleShot(0, [] { Control_Panel->close(); });
        QTimer::singleShot(50, [&] {
            runningAfterPanelClosed = Draw2D->isVisible() && Control_Panel->isVisible() != closePanelFirst;
            Draw2D->close();
        });
        QTimer::singleShot(5000, [&] {
            timedOut = true;
            QCoreApplication::quit();
        });
        QCoreApplication::exec();
        QVERIFY(runningAfterPanelClosed);
        QVERIFY(!timedOut);
        QVERIFY(!Draw2D->isVisible());
    }

    void konecEndsTheProcess()
    {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {PressKonec});
        QVERIFY(child.waitForFinished(20000));
        const QString output = QString::fromLocal8Bit(child.readAllStandardOutput());
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(output, QString("at exit: plot window hidden\n"));
    }

    // With a curve not saved, "konec" asks first: "Zahodit" ends the process
    // at once, "Zrušit" goes back to the panel with everything kept.
    void konecAsksWithACurveNotSaved_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        QTest::newRow("Zahodit") << "discard" << 0 << "at exit: asked 1\n";
        QTest::newRow("Zrušit") << "cancel" << 5
                                << "konec returned: asked 1, plot window visible\nat exit: asked 1\n";
    }

    void konecAsksWithACurveNotSaved()
    {
        QFETCH(QString, answer);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {DrawThenKonec, answer});
        QVERIFY(child.waitForFinished(20000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), exitCode);
        QCOMPARE(QString::fromLocal8Bit(child.readAllStandardOutput()), output);
    }
};

int main(int argc, char* argv[])
{
    if (argc > 1 && qstrcmp(argv[1], PressKonec) == 0)
        return PressKonecChild(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], DrawThenKonec) == 0)
        return DrawThenKonecChild(argc, argv);
    QApplication application(argc, argv);
    TestLifecycle test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_lifecycle.moc"
