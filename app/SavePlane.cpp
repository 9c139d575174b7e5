// SPDX-License-Identifier: GPL-3.0-or-later
#include "SavePlane.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeySequence>
#include <QPrinter>
#include <QShortcut>

#include <memory>

#include "Dialogs.h"
#include "Draw2D.h"
#include "LastTrace.h"
#include "ParamCurve.h"
#include "PictureFile.h"
#include "PlaneDialogs.h"
#include "PrintPlane.h"

namespace {

QAction* AddAction(TDraw2D& window, const QString& text, const char* name, const QKeySequence& shortcut,
                   void (*work)(TDraw2D&))
{
    auto* action = new QAction(text, &window);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    // Some platforms leave shortcuts out of context menus; this menu is where
    // a user learns them.
    action->setShortcutVisibleInContextMenu(true);
    window.addAction(action);
    QObject::connect(action, &QAction::triggered, &window,
                     [&window, work] { RunHandler([&window, work] { work(window); }); });
    return action;
}

void WriteChosen(TDraw2D& window, SaveWhat what, const PictureSource& source)
{
    const SaveChoice choice = ChooseSaveFile(&window, what);
    if (choice.Path.isEmpty())
        return;
    // A FIFO nobody reads is refused rather than waited for: the window
    // would hang.
    OutputFileOptions options;
    options.WaitForReader = false;
    const OutputFileResult result = WritePictureFile(FormatOfChoice(choice, what), source, choice.Path, options);
    if (!result.Ok)
        ShowErrorBox(result.Message);
}

// The window system turns the Menu key into a context menu request on its
// own; Shift+F10, the other key for it, is turned into the same request here:
// at the focused widget, where the toolkit puts a keyboard's menu.
void InstallMenuKeys(TDraw2D& window)
{
    auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), &window);
    menuKey->setContext(Qt::WindowShortcut);
    QObject::connect(menuKey, &QShortcut::activated, &window, [&window] {
        QWidget* target = window.focusWidget() ? window.focusWidget() : &window;
        const QPoint at = target->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        QContextMenuEvent request(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at));
        QCoreApplication::sendEvent(target, &request);
    });
}

}  // namespace

PlaneActions InstallSavePlane(TDraw2D& window)
{
    PlaneActions actions;
    actions.SavePicture = AddAction(window, QStringLiteral("Uložit obrázek…"), SavePlaneActionName,
                                    QKeySequence(Qt::CTRL | Qt::Key_S), SavePlane);
    actions.SaveAnimation = AddAction(window, QStringLiteral("Uložit animaci…"), SaveAnimationActionName,
                                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A), SaveAnimation);
    actions.Print = AddAction(window, QStringLiteral("Tisk…"), PrintPlaneActionName,
                              QKeySequence(Qt::CTRL | Qt::Key_P), PrintWindowPlane);

    // Enabled from the first trace on.
    LastTrace& last = LastTrace::Of(window);
    QAction* saveAnimation = actions.SaveAnimation;
    saveAnimation->setEnabled(last.Animation() != nullptr);
    QObject::connect(&last, &LastTrace::Kept, saveAnimation, [saveAnimation] { saveAnimation->setEnabled(true); });

    // Image1 and Panel1 leave their context menus to the window.
    window.setContextMenuPolicy(Qt::ActionsContextMenu);
    InstallMenuKeys(window);
    return actions;
}

void SavePlane(TDraw2D& window)
{
    // Input waits during a trace anyway; this covers an action triggered
    // from code meanwhile.
    if (TraceRunning())
        return;
    PictureSource source;
    source.Plane = &window.Plane();
    source.Record = &window.Record();
    WriteChosen(window, SaveWhat::Picture, source);
}

void SaveAnimation(TDraw2D& window)
{
    // Held while the dialog is open, whatever happens to the window's.
    const std::shared_ptr<const EncodedGif> animation = LastTrace::Of(window).Animation();
    if (TraceRunning() || !animation)
        return;
    PictureSource source;
    source.Encoded = animation.get();
    WriteChosen(window, SaveWhat::Animation, source);
}

void PrintWindowPlane(TDraw2D& window)
{
    if (TraceRunning())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Parametrická křivka"));
    if (!RunPrintDialog(printer, &window))
        return;
    const QString failed = PrintPlane(window.Record(), printer);
    if (!failed.isEmpty())
        ShowErrorBox(failed);
}
