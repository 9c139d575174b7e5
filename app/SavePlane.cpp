#include "SavePlane.h"

#include <QAction>
#include <QFileDialog>
#include <QKeySequence>

#include <utility>

#include "Dialogs.h"
#include "Draw2D.h"
#include "ParamCurve.h"
#include "PlaneFile.h"

namespace {

SaveFileChooser& Chooser()
{
    static SaveFileChooser chooser;
    return chooser;
}

QString AskForFile(QWidget* parent)
{
    QFileDialog dialog(parent, QStringLiteral("Uložit obrázek"), QString(),
                       QStringLiteral("Obrázky PNG (*.png)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("png"));  // "krivka" saves as "krivka.png"
    dialog.selectFile(QStringLiteral("krivka.png"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

}  // namespace

void SetSaveFileChooser(SaveFileChooser chooser)
{
    Chooser() = std::move(chooser);
}

QAction* InstallSavePlane(TDraw2D& window)
{
    auto* action = new QAction(QStringLiteral("Uložit obrázek…"), &window);
    action->setObjectName(QString::fromLatin1(SavePlaneActionName));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    action->setShortcutContext(Qt::WindowShortcut);
    // Image1 and Panel1 leave their context menus to the window.
    window.addAction(action);
    window.setContextMenuPolicy(Qt::ActionsContextMenu);
    QObject::connect(action, &QAction::triggered, &window,
                     [&window] { RunHandler([&window] { SavePlane(window); }); });
    return action;
}

void SavePlane(TDraw2D& window)
{
    // Input waits during a trace anyway; this covers an action triggered
    // from code meanwhile.
    if (TraceRunning())
        return;
    const QString path = Chooser() ? Chooser()(&window) : AskForFile(&window);
    if (path.isEmpty())
        return;
    // A FIFO nobody reads is refused rather than waited for: the window
    // would hang.
    OutputFileOptions options;
    options.WaitForReader = false;
    const OutputFileResult result = WritePlanePng(window.Plane(), path, options);
    if (!result.Ok)
        ShowErrorBox(result.Message);
}
