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

struct RendererRun {
    bool Finished = false;
    int ExitStatus = -1;
    QByteArray Out;
    QByteArray Err;
};

inline RendererRun RunRenderer(const QStringList& arguments,
                               const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(PARAMCURVE_RENDER_PATH), arguments);
    RendererRun run;
    run.Finished = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
    run.ExitStatus = process.exitCode();
    run.Out = process.readAllStandardOutput();
    run.Err = process.readAllStandardError();
    return run;
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
