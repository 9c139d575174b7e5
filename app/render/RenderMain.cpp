// paramcurve-render: traces a curve without a window and writes the plane as
// PNG. Needs no display.
#include <QGuiApplication>

#include <cstdio>

#include "ControlPanel.h"
#include "RenderJob.h"
#include "RenderOptions.h"
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

}  // namespace

int main(int argc, char* argv[])
{
    // The text of the axes needs the font machinery of a GUI application, but
    // not a screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietQtNotes);
    QGuiApplication application(argc, argv);
    SetUpApplication();

    const ParsedCommandLine parsed = ParseRenderCommandLine(QGuiApplication::arguments());
    switch (parsed.Command) {
    case RenderCommand::Help: {
        const QByteArray bytes = parsed.Text.toUtf8();
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
        return RenderOk;
    }
    case RenderCommand::BadUsage:
        PrintError(parsed.Text);
        PrintError(UsageLine());
        PrintError(QStringLiteral("Nápověda: paramcurve-render --help"));
        return RenderBadUsage;
    case RenderCommand::Render:
        break;
    }

    const RenderResult result = RunRender(parsed.Request);
    for (const QString& message : result.Messages)
        PrintError(message);
    return result.ExitStatus;
}
