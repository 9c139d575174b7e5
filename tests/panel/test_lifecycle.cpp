// SPDX-License-Identifier: GPL-3.0-or-later
// Which window ends the program: closing the plot window does, closing the
// panel does not, and "konec" ends the process at once with exit code 0.
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "PanelFixture.h"

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
};

int main(int argc, char* argv[])
{
    if (argc > 1 && qstrcmp(argv[1], PressKonec) == 0)
        return PressKonecChild(argc, argv);
    QApplication application(argc, argv);
    TestLifecycle test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_lifecycle.moc"
