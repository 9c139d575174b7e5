// SPDX-License-Identifier: GPL-3.0-or-later
// Stopping paramcurve-render from outside: --timeout, Ctrl+C (SIGINT),
// SIGTERM and SIGHUP end the trace, the picture drawn so far and its points are still
// written, and the exit status is 1 with a message saying why. A signal that
// finds the renderer waiting for a FIFO's reader ends that wait.
#include <QtTest>

#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <csignal>

#include <sys/stat.h>

#include "Expression.h"
#include "LongWork.h"
#include "PlotState.h"
#include "RendererProcess.h"

namespace {

const QString TimedOut = QStringLiteral(
    "Kreslení bylo ukončeno, uplynul čas --timeout; uloží se obrázek, jak byl nakreslen.\n");
const QString Interrupted = QStringLiteral(
    "Kreslení bylo přerušeno (Ctrl+C); uloží se obrázek, jak byl nakreslen.\n");
const QString Terminated = QStringLiteral(
    "Kreslení bylo ukončeno signálem SIGTERM; uloží se obrázek, jak byl nakreslen.\n");
const QString HungUp = QStringLiteral(
    "Kreslení bylo ukončeno signálem SIGHUP; uloží se obrázek, jak byl nakreslen.\n");

// A power that runs for seconds, polling the engine's long-work hook: a base
// within 1e-7 of 1 to an exponent near 2^31 takes seconds of rounded products
// even in the fast form.
const QString LongPower = QStringLiteral("1.0000001^2147483647");

// Whether the engine stops inside LongPower when asked to: with the cancel
// flag set from the start, the evaluation ends in EvaluationCancelled, not
// with a value.
bool EngineStopsInsideLongPower()
{
    const std::atomic<bool> cancel{true};
    LongWorkHook hook;
    hook.Cancel = &cancel;
    const LongWorkScope scope(hook);
    PlotState draw;
    try {
        EvaluateExpression(draw, LongPower.toStdString(), draw.ErrorText);
    } catch (const EvaluationCancelled&) {
        return true;
    }
    return false;
}

// Whether the process has its handler for `signal` in place yet.
bool Catches(qint64 pid, int signal)
{
    QFile status(QString("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1u;
    }
    return false;
}

int CountLines(const QByteArray& text)
{
    return int(text.count('\n'));
}

}  // namespace

class TestRenderStop : public QObject {
    Q_OBJECT

private:
    QTemporaryDir folder;
    QString Picture() const { return folder.filePath("plane.png"); }

private slots:
    void initTestCase() { QVERIFY(folder.isValid()); }
    void init() { QFile::remove(Picture()); }

    void TimeoutStopsBetweenSteps();
    void StopsInsideALongPower_data();
    void StopsInsideALongPower();
    void SignalEndsTheWaitForAReader_data();
    void SignalEndsTheWaitForAReader();
    void StopDoesNotWaitForAReader();
    void UnwritableNameIsSaidFirst();
};

// A time limit already over when the trace starts ends it at the first look,
// after the first point: one point, the axes and no segment.
void TestRenderStop::TimeoutStopsBetweenSteps()
{
    const RendererRun run = RunRenderer({"--timeout", "0.000001", "-o", Picture(), "--points", "-"});
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, 1);
    QCOMPARE(QString::fromUtf8(run.Err), TimedOut);
    QCOMPARE(CountLines(run.Out), 2);  // the header and t = 0
    QVERIFY(run.Out.startsWith("t,x,y\n0,3,0\n"));
    const QImage picture = ReadPicture(Picture());
    QCOMPARE(picture.size(), QSize(500, 500));
    QVERIFY(PixelsOf(picture, 255, 0, 0) > 0);  // the axes
    QCOMPARE(PixelsOf(picture, 0, 0, 200), 0);   // no segment
}

void TestRenderStop::StopsInsideALongPower_data()
{
    QTest::addColumn<int>("signal");  // 0: --timeout
    QTest::addColumn<QString>("message");
    QTest::newRow("--timeout") << 0 << TimedOut;
    QTest::newRow("Ctrl+C") << int(SIGINT) << Interrupted;
    QTest::newRow("SIGTERM") << int(SIGTERM) << Terminated;
    QTest::newRow("SIGHUP") << int(SIGHUP) << HungUp;
}

// The first evaluation of x runs for seconds inside one power; the stop
// reaches into it. The axes were drawn, no point was.
void TestRenderStop::StopsInsideALongPower()
{
    QFETCH(int, signal);
    QFETCH(QString, message);
    if (!EngineStopsInsideLongPower())
        QSKIP("this power no longer runs long enough to be stopped inside");

    QStringList arguments{"--x", "t+" + LongPower, "-o", Picture(), "--points", "-"};
    RendererSetup setup;
    if (signal == 0) {
        arguments << "--timeout" << "0.3";
    } else {
        setup.Started = [signal](QProcess& process) {
            const qint64 pid = process.processId();
            QDeadlineTimer deadline(30000);
            while (!Catches(pid, signal) && !deadline.hasExpired())
                QTest::qSleep(5);
            QVERIFY(Catches(pid, signal));
            ::kill(pid_t(pid), signal);
        };
    }
    const RendererRun run = RunRenderer(arguments, setup);
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, 1);
    QCOMPARE(QString::fromUtf8(run.Err), message);
    QCOMPARE(run.Out, QByteArray("t,x,y\n"));
    const QImage picture = ReadPicture(Picture());
    QCOMPARE(picture.size(), QSize(500, 500));
    QVERIFY(PixelsOf(picture, 255, 0, 0) > 0);
}

void TestRenderStop::SignalEndsTheWaitForAReader_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("Ctrl+C") << int(SIGINT);
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

// Done drawing, the renderer waits for a reader of its FIFO; the first stop
// signal ends the wait (as "timeout" sends it), the FIFO stays.
void TestRenderStop::SignalEndsTheWaitForAReader()
{
    QFETCH(int, signal);
    const QString fifo = folder.filePath("fifo");
    QFile::remove(fifo);
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    bool sawTheWait = false;
    RendererSetup setup;
    setup.Started = [&](QProcess& process) {
        const qint64 pid = process.processId();
        QDeadlineTimer deadline(30000);
        while (!sawTheWait && !deadline.hasExpired()) {
            QFile wchan(QString("/proc/%1/wchan").arg(pid));
            sawTheWait = wchan.open(QIODevice::ReadOnly) && wchan.readAll() == "wait_for_partner";
            QTest::qSleep(5);
        }
        ::kill(pid_t(pid), sawTheWait ? signal : SIGKILL);
    };
    const RendererRun run = RunRenderer({"-o", fifo}, setup);
    if (!sawTheWait)
        QSKIP("the kernel does not show where the process waits");
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, 3);
    QCOMPARE(QString::fromUtf8(run.Err), QString("Obrázek se nepodařilo uložit do souboru %1: zápis byl přerušen.\n").arg(fifo));
    QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
}

// Stopped during the trace, the renderer does not go on to wait for a FIFO's
// reader (the stop signal is spent): the FIFO is refused at once and stays.
void TestRenderStop::StopDoesNotWaitForAReader()
{
    if (!EngineStopsInsideLongPower())
        QSKIP("this power no longer runs long enough to be stopped inside");
    const QString fifo = folder.filePath("unread");
    QFile::remove(fifo);
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    RendererSetup setup;
    setup.Started = [](QProcess& process) {
        const qint64 pid = process.processId();
        QDeadlineTimer deadline(30000);
        while (!Catches(pid, SIGTERM) && !deadline.hasExpired())
            QTest::qSleep(5);
        ::kill(pid_t(pid), SIGTERM);
    };
    const RendererRun run = RunRenderer({"--x", "t+" + LongPower, "-o", fifo}, setup);
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, 3);
    QCOMPARE(QString::fromUtf8(run.Err),
             Terminated + QString("Obrázek se nepodařilo uložit do souboru %1: z roury nikdo nečte.\n").arg(fifo));
    QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
}

// With nothing that can be written, the renderer says so before the trace:
// a trace of seconds per point does not run at all.
void TestRenderStop::UnwritableNameIsSaidFirst()
{
    const QString missing = folder.filePath("no-such-folder/plane.png");
    const RendererRun run = RunRenderer({"--x", "t+" + LongPower, "-o", missing, "--points", folder.path()});
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, 3);
    QCOMPARE(QString::fromUtf8(run.Err),
             QString("Obrázek se nepodařilo uložit do souboru %1: složka neexistuje.\n"
                     "Body se nepodařilo uložit do souboru %2: je to složka.\n")
                 .arg(missing, folder.path()));
}

QTEST_GUILESS_MAIN(TestRenderStop)
#include "test_renderstop.moc"
