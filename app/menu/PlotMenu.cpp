// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlotMenu.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>

#include <utility>

#include "Dialogs.h"
#include "DocumentSignals.h"
#include "Draw2D.h"
#include "LessonActions.h"
#include "OutputFile.h"
#include "PlaneZoom.h"
#include "PositionReadout.h"
#include "SavePlane.h"
#include "TracePause.h"

namespace {

// "krivky.paramcurve (~/Dokumenty)": the name first, where to find it after.
QString RecentEntryText(int number, const QString& path)
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

// The one way an entry is made: its shortcut works in the window (and in
// the panel, for the shared ones) and shows in the menu, which is where a
// user learns it; its work runs as an event handler, and not at all while
// a trace runs (input waits then anyway; this covers an entry triggered
// from code meanwhile).
QAction* MakeAction(QObject* parent, const QString& text, const char* name, QKeySequence shortcut,
                    std::function<void()> work)
{
    auto* action = new QAction(text, parent);
    if (name)
        action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setShortcutVisibleInContextMenu(true);
    if (work) {
        QObject::connect(action, &QAction::triggered, parent, [work = std::move(work)] {
            if (!TraceRunning())
                RunHandler(work);
        });
    }
    return action;
}

}  // namespace

PlotMenu::PlotMenu(TDraw2D& window, QWidget& panel, PanelPress& press, PlotDocument& document,
                   const PlaneExplorer& explorer, std::function<void()> showVariables)
    : QObject(&window), window_(window), panel_(panel), press_(press), document_(document)
{
    auto* news = new DocumentSignals(document_, this);

    SavePicture = AddEntry(QStringLiteral("Uložit obrázek…"), SavePlaneActionName, QKeySequence(Qt::CTRL | Qt::Key_S),
                           [this] { SavePlane(window_); });
    SaveAnimation = AddEntry(QStringLiteral("Uložit animaci…"), SaveAnimationActionName,
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A),
                             [this] { ::SaveAnimation(window_, document_); });
    // Enabled from the first trace on.
    SaveAnimation->setEnabled(document_.LastAnimation() != nullptr);
    connect(news, &DocumentSignals::AnimationKept, SaveAnimation, [this] { SaveAnimation->setEnabled(true); });
    Print = AddEntry(QStringLiteral("Tisk…"), PrintPlaneActionName, QKeySequence(Qt::CTRL | Qt::Key_P),
                     [this] { PrintWindowPlane(window_, document_); });

    AddSeparator();
    OpenLesson = AddEntry(
        QStringLiteral("Otevřít lekci…"), OpenLessonActionName, QKeySequence(Qt::CTRL | Qt::Key_O),
        [this] {
            OpenChosenLesson(document_, press_, &window_);
            ShowRecentLessons();
        },
        true);
    SaveLesson = AddEntry(
        QStringLiteral("Uložit lekci…"), SaveLessonActionName, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
        [this] {
            ::SaveLesson(document_, press_, &window_);
            ShowRecentLessons();
        },
        true);
    AddRecentLessons();

    AddSeparator();
    PositionReadout& readout = *explorer.Readout;
    ShowPosition = AddEntry(QStringLiteral("Ukazovat polohu"), ShowPositionActionName, QKeySequence(Qt::Key_F2),
                            nullptr);
    ShowPosition->setCheckable(true);
    ShowPosition->setChecked(readout.On());
    connect(ShowPosition, &QAction::toggled, &readout, [&readout](bool on) {
        RunHandler([&] {
            readout.SetOn(on);
            RememberReadout(on);
        });
    });
    // A step key turns the readout on: the entry shows it, and keeps it.
    connect(&readout, &PositionReadout::OnChanged, ShowPosition, [this](bool on) { ShowPosition->setChecked(on); });

    // As the readout shows the point, for a spreadsheet; and in full.
    const auto copy = [&readout](QString (PositionReadout::*text)() const) {
        return [&readout, text] {
            const QString line = (readout.*text)();
            if (!line.isEmpty())
                QGuiApplication::clipboard()->setText(line);
        };
    };
    CopyPosition = AddEntry(QStringLiteral("Kopírovat polohu"), CopyPositionActionName,
                            QKeySequence(Qt::CTRL | Qt::Key_C), copy(&PositionReadout::CopyShownText));
    CopyExactPosition = AddEntry(QStringLiteral("Kopírovat polohu přesně"), CopyExactPositionActionName,
                                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), copy(&PositionReadout::CopyExactText));
    const auto updateCopy = [this, &readout] {
        for (QAction* entry : {CopyPosition, CopyExactPosition})
            entry->setEnabled(readout.PenIndex().has_value());
    };
    updateCopy();
    connect(news, &DocumentSignals::PenMoved, this, updateCopy);
    connect(news, &DocumentSignals::PressesChanged, this, updateCopy);

    PlaneZoom& zoom = *explorer.Zoom;
    OriginalWindow = AddEntry(QStringLiteral("Původní zorné pole"), OriginalWindowActionName,
                              QKeySequence(Qt::CTRL | Qt::Key_0), [&zoom] { zoom.ReturnToOriginal(); });
    OriginalWindow->setEnabled(zoom.CanReturn());
    connect(&zoom, &PlaneZoom::CanReturnChanged, OriginalWindow, &QAction::setEnabled);

    Variables = AddEntry(QStringLiteral("Proměnné…"), VariablesActionName, QKeySequence(Qt::CTRL | Qt::Key_R),
                         std::move(showVariables), true);

    // Image1 and Panel1 leave their context menus to the window.
    window_.setContextMenuPolicy(Qt::ActionsContextMenu);
    AddMenuKeys();
}

QAction* PlotMenu::AddEntry(const QString& text, const char* name, QKeySequence shortcut, std::function<void()> work,
                            bool inPanelToo)
{
    QAction* action = MakeAction(&window_, text, name, shortcut, std::move(work));
    window_.addAction(action);
    if (inPanelToo)
        panel_.addAction(action);
    return action;
}

void PlotMenu::AddSeparator()
{
    auto* separator = new QAction(&window_);
    separator->setSeparator(true);
    window_.addAction(separator);
}

void PlotMenu::AddRecentLessons()
{
    Recent = new QMenu(QStringLiteral("Nedávné lekce"), &window_);
    Recent->setObjectName(QString::fromLatin1(RecentLessonsMenuName));
    for (int i = 0; i < MaxRecentLessons; ++i) {
        QAction* entry = MakeAction(Recent, QString(), nullptr, QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + i)), [this, i] {
            const QString path = RecentEntries[std::size_t(i)]->data().toString();
            if (!path.isEmpty())
                ::OpenLesson(document_, press_, path);
            ShowRecentLessons();
        });
        Recent->addAction(entry);
        // In the submenu the shortcut works on the plot window; on the
        // panel it needs the action itself.
        panel_.addAction(entry);
        RecentEntries[std::size_t(i)] = entry;
    }
    // Another copy of the program may have changed the list meanwhile.
    connect(Recent, &QMenu::aboutToShow, this, [this] { ShowRecentLessons(); });
    window_.addAction(Recent->menuAction());
    ShowRecentLessons();
}

void PlotMenu::ShowRecentLessons()
{
    const QStringList recent = ::RecentLessons();
    for (std::size_t i = 0; i < RecentEntries.size(); ++i) {
        QAction* entry = RecentEntries[i];
        const bool shown = qsizetype(i) < recent.size();
        entry->setVisible(shown);
        entry->setData(shown ? recent[qsizetype(i)] : QString());
        entry->setText(shown ? RecentEntryText(int(i) + 1, recent[qsizetype(i)]) : QString());
        entry->setStatusTip(shown ? DisplayedPath(recent[qsizetype(i)]) : QString());
    }
    Recent->menuAction()->setEnabled(!recent.isEmpty());
}

// The window system turns the Menu key into a context menu request on its
// own; Shift+F10, the other key for it, is turned into the same request here:
// at the focused widget, where the toolkit puts a keyboard's menu.
void PlotMenu::AddMenuKeys()
{
    auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), &window_);
    menuKey->setContext(Qt::WindowShortcut);
    connect(menuKey, &QShortcut::activated, &window_, [this] {
        QWidget* target = window_.focusWidget() ? window_.focusWidget() : &window_;
        const QPoint at = target->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        QContextMenuEvent request(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at));
        QCoreApplication::sendEvent(target, &request);
    });
}
