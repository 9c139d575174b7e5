// SPDX-License-Identifier: GPL-3.0-or-later
#include "LessonActions.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>

#include "ControlPanel.h"
#include "Dialogs.h"
#include "Draw2D.h"
#include "LessonDialogs.h"
#include "LessonFile.h"
#include "LessonFormat.h"
#include "ParamCurve.h"
#include "PlaneHistory.h"
#include "WindowReplay.h"

namespace {

QAction* AddAction(TDraw2D& window, QWidget* panel, const QString& text, const char* name, QKeySequence shortcut,
                   void (*work)(TDraw2D&))
{
    auto* action = new QAction(text, &window);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    window.addAction(action);
    if (panel)
        panel->addAction(action);
    QObject::connect(action, &QAction::triggered, &window,
                     [&window, work] { RunHandler([&window, work] { work(window); }); });
    return action;
}

// "krivky.paramcurve (~/Dokumenty)": the name first, where to find it after.
QString EntryText(int number, const QString& path)
{
    const QFileInfo file(path);
    QString folder = QDir::toNativeSeparators(file.absolutePath());
    const QString home = QDir::homePath();
    if (folder == home || folder.startsWith(home + u'/'))
        folder = u'~' + folder.mid(home.size());
    QString text = QStringLiteral("%1 (%2)").arg(DisplayedPath(file.fileName()), DisplayedPath(folder));
    text.replace(u'&', QStringLiteral("&&"));
    return QStringLiteral("&%1 ").arg(number) + text;
}

// The entries after the list as it is now: one per lesson, the rest hidden
// (and so their shortcuts off).
void ShowRecentEntries(TDraw2D& window)
{
    auto* menu = window.findChild<QMenu*>(QString::fromLatin1(RecentLessonsMenuName));
    if (!menu)
        return;
    const QStringList recent = RecentLessons();
    const QList<QAction*> entries = menu->actions();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        QAction* entry = entries[i];
        const bool shown = i < recent.size();
        entry->setVisible(shown);
        entry->setData(shown ? recent[i] : QString());
        entry->setText(shown ? EntryText(int(i) + 1, recent[i]) : QString());
        entry->setStatusTip(shown ? DisplayedPath(recent[i]) : QString());
    }
    menu->menuAction()->setEnabled(!recent.isEmpty());
}

QMenu* AddRecentMenu(TDraw2D& window, QWidget* panel, LessonActions& actions)
{
    auto* menu = new QMenu(QStringLiteral("Nedávné lekce"), &window);
    menu->setObjectName(QString::fromLatin1(RecentLessonsMenuName));
    for (int i = 0; i < MaxRecentLessons; ++i) {
        auto* entry = new QAction(menu);
        entry->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + i)));
        entry->setShortcutContext(Qt::WindowShortcut);
        menu->addAction(entry);
        // In the submenu the shortcut works on the plot window; on the
        // panel it needs the action itself.
        if (panel)
            panel->addAction(entry);
        QObject::connect(entry, &QAction::triggered, &window, [&window, entry] {
            RunHandler([&window, entry] {
                const QString path = entry->data().toString();
                if (!path.isEmpty())
                    OpenLesson(window, path);
            });
        });
        actions.RecentEntries[std::size_t(i)] = entry;
    }
    // Another copy of the program may have changed the list meanwhile.
    QObject::connect(menu, &QMenu::aboutToShow, &window, [&window] { ShowRecentEntries(window); });
    window.addAction(menu->menuAction());
    return menu;
}

}  // namespace

LessonActions InstallLessonActions(TDraw2D& window, QWidget* panel)
{
    auto* separator = new QAction(&window);
    separator->setSeparator(true);
    window.addAction(separator);

    LessonActions actions;
    actions.Open = AddAction(window, panel, QStringLiteral("Otevřít lekci…"), OpenLessonActionName,
                             QKeySequence(Qt::CTRL | Qt::Key_O), OpenChosenLesson);
    actions.Save = AddAction(window, panel, QStringLiteral("Uložit lekci…"), SaveLessonActionName,
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), SaveLesson);
    actions.Recent = AddRecentMenu(window, panel, actions);
    ShowRecentEntries(window);
    window.setContextMenuPolicy(Qt::ActionsContextMenu);
    return actions;
}

bool OpenLesson(TDraw2D& window, const QString& path)
{
    if (TraceRunning())
        return false;
    const LessonFileReading reading = ReadLessonFile(path);
    if (!reading.Ok) {
        QString message = reading.Message;
        if (reading.Missing && RecentLessons().contains(QDir::cleanPath(QFileInfo(path).absoluteFilePath()))) {
            ForgetRecentLesson(path);
            ShowRecentEntries(window);
            message += QStringLiteral("\nLekce byla odebrána z nedávných lekcí.");
        }
        ShowErrorBox(message);
        return false;
    }
    if (!DrawPressesAnew(window, reading.Read.Drawn).Ran)
        return false;
    // Also after Esc: the panel is the lesson's, the plane as far as drawn.
    if (Control_Panel)
        Control_Panel->ShowPress(reading.Read.Panel);
    RememberRecentLesson(path);
    ShowRecentEntries(window);
    return true;
}

void OpenChosenLesson(TDraw2D& window)
{
    if (TraceRunning())
        return;
    const QString path = ChooseLessonFile(&window, LessonDialog::Open);
    if (!path.isEmpty())
        OpenLesson(window, path);
}

void SaveLesson(TDraw2D& window)
{
    if (TraceRunning() || !Control_Panel)
        return;
    // Said before the dialog rather than after it.
    std::string problem;
    if (SaveableLessonText(Lesson{Control_Panel->CurrentPress(), PlaneHistory::Of(window).Presses()}, problem).empty()) {
        ShowErrorBox(QStringLiteral("Lekci nelze uložit: %1.").arg(QString::fromStdString(problem)));
        return;
    }
    const QString path = ChooseLessonFile(&window, LessonDialog::Save);
    if (path.isEmpty())
        return;
    const Lesson lesson{Control_Panel->CurrentPress(), PlaneHistory::Of(window).Presses()};
    // A FIFO nobody reads is refused rather than waited for.
    OutputFileOptions options;
    options.WaitForReader = false;
    const OutputFileResult written = WriteLessonFile(path, lesson, options);
    if (!written.Ok) {
        ShowErrorBox(written.Message);
        return;
    }
    // Only what can be opened again is offered again (not /dev/null).
    if (QFileInfo(path).isFile()) {
        RememberRecentLesson(path);
        ShowRecentEntries(window);
    }
}
