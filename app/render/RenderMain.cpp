// SPDX-License-Identifier: GPL-3.0-or-later
// paramcurve-render: traces a curve, or draws a lesson file, without a window
// and writes the plane as PNG, SVG or PDF, or the trace as an animated GIF.
// Needs no display.
#include <QGuiApplication>
#include <QIODevice>

#include <cstdio>
#include <optional>

#include "LessonFile.h"
#include "OutputFile.h"
#include "RenderJob.h"
#include "RenderOptions.h"
#include "RenderStop.h"
#include "StartUp.h"

namespace {

// Standard error carries the messages of the trace and of the command line
// and nothing else, so scripts can read them; Qt's own notes (such as a
// missing XDG_RUNTIME_DIR on a bare system) are left out, its errors are not.
void QuietQtNotes(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg)
        return;
    const QByteArray bytes = qFormatLogMessage(type, context, message).toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
}

void PrintError(const QString& text)
{
    const QByteArray bytes = (text + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
}

int ReportBadUsage(const QString& reason)
{
    PrintError(reason);
    PrintError(UsageLine());
    PrintError(QStringLiteral("Nápověda: paramcurve-render --help"));
    return RenderBadUsage;
}

int PrintHelp(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    const OutputFileResult written = WriteOutputFile(
        QString::fromLatin1(StandardOutputName), QStringLiteral("Nápovědu"),
        [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); });
    if (written.Ok)
        return RenderOk;
    if (!written.ReaderGone)
        PrintError(written.Message);
    return RenderNotWritten;
}

}  // namespace

int main(int argc, char* argv[])
{
    GuardStandardDescriptors();
    InstallStopSignals();

    // The text of the axes needs the font machinery of a GUI application, but
    // not a screen: always the offscreen platform, whatever the environment
    // names. The toolkit sees no arguments, so its own options (-platform,
    // -display, -reverse, …) are never taken out of ours.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Nor do a desktop's scaling and font resolution change the picture: the
    // axes' labels are measured against the screen.
    for (const char* scaling : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI",
                                "QT_USE_PHYSICAL_DPI", "QT_ENABLE_HIGHDPI_SCALING",
                                "QT_SCALE_FACTOR_ROUNDING_POLICY"})
        qunsetenv(scaling);
    qInstallMessageHandler(QuietQtNotes);
    int toolkitArgc = 1;
    QGuiApplication application(toolkitArgc, argv);
    SetUpApplication();

    QStringList arguments;
    QString problem;
    if (!DecodeArguments(argc, argv, arguments, problem))
        return ReportBadUsage(problem);
    const ParsedCommandLine parsed = ParseRenderCommandLine(arguments);
    switch (parsed.Command) {
    case RenderCommand::Help:
    case RenderCommand::Version:
    case RenderCommand::ManOptions:
        return PrintHelp(parsed.Text);
    case RenderCommand::BadUsage:
        return ReportBadUsage(parsed.Text);
    case RenderCommand::Render:
        break;
    }

    // A lesson is a file from elsewhere: read and checked whole before
    // anything is drawn or written.
    std::optional<LessonFileReading> lesson;
    if (!parsed.Request.LessonPath.isEmpty()) {
        lesson = ReadLessonFile(parsed.Request.LessonPath);
        if (!lesson->Ok) {
            PrintError(lesson->Message);
            return RenderBadUsage;
        }
    }
    const RenderResult result = RunRender(parsed.Request, lesson ? &lesson->Read : nullptr);
    for (const QString& message : result.Messages)
        PrintError(message);
    return result.ExitStatus;
}
