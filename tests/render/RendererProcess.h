// SPDX-License-Identifier: GPL-3.0-or-later
// Runs paramcurve-render as a separate process, as a user would, and keeps
// what it printed and how it ended.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTest>

#include <functional>

#include "PlaneImages.h"

struct RendererRun {
    bool Finished = false;  // ended by itself within a minute, not by a signal
    int ExitStatus = -1;
    QByteArray Out;
    QByteArray Err;
};

// How the renderer is started, beyond its arguments.
struct RendererSetup {
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    QString StandardOutputFile;     // standard output goes there instead of a pipe
    bool CloseOutputEarly = false;  // nobody reads standard output: its pipe is closed at once
    std::function<void(QProcess&)> Started;  // runs once the process is up
    std::function<void()> InChild;           // runs in the child just before it starts the program
};

inline RendererRun RunProgram(const QString& program, const QStringList& arguments, const RendererSetup& setup)
{
    QProcess process;
    process.setProcessEnvironment(setup.Environment);
    if (!setup.StandardOutputFile.isEmpty())
        process.setStandardOutputFile(setup.StandardOutputFile, QIODevice::Append);
    if (setup.InChild)
        process.setChildProcessModifier(setup.InChild);
    process.start(program, arguments);
    RendererRun run;
    if (!process.waitForStarted(60000))
        return run;
    if (setup.CloseOutputEarly)
        process.closeReadChannel(QProcess::StandardOutput);
    if (setup.Started)
        setup.Started(process);
    // Started may have waited for the end already.
    const bool ended = process.state() == QProcess::NotRunning || process.waitForFinished(60000);
    run.Finished = ended && process.exitStatus() == QProcess::NormalExit;
    run.ExitStatus = process.exitCode();
    if (!setup.CloseOutputEarly)
        run.Out = process.readAllStandardOutput();
    run.Err = process.readAllStandardError();
    return run;
}

inline RendererRun RunRenderer(const QStringList& arguments, const RendererSetup& setup = {})
{
    return RunProgram(QStringLiteral(PARAMCURVE_RENDER_PATH), arguments, setup);
}

// The renderer started by `script` in /bin/sh, for what a QProcess cannot
// hand over (bytes that are not UTF-8, a closed descriptor): "$0" is the
// renderer, "$@" the further arguments.
inline RendererRun RunRendererInShell(const QString& script, const QStringList& arguments = {},
                                      const RendererSetup& setup = {})
{
    return RunProgram(QStringLiteral("/bin/sh"),
                      QStringList{"-c", script, QStringLiteral(PARAMCURVE_RENDER_PATH)} + arguments, setup);
}

// The PNG as the plane's own format, so it compares with Plane() directly.
inline QImage ReadPicture(const QString& path)
{
    return QImage(path).convertToFormat(QImage::Format_RGB888);
}

// Number of pixels of `image` in exactly the colour r, g, b.
inline int PixelsOf(const QImage& image, int r, int g, int b)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == (qRgb(r, g, b) & 0xFFFFFF);
    return count;
}
