// SPDX-License-Identifier: GPL-3.0-or-later
// The plot window's menu as the program builds it, every entry installed:
// each shows a shortcut of its own, no two share one, and the entries the
// control panel answers too have the same shortcut there.
#include <QtTest>

#include <QAction>
#include <QMenu>
#include <QStandardPaths>

#include <map>

#include "../panel/PanelFixture.h"
#include "PlotMenu.h"

namespace {

// The entries of a menu's actions, submenus opened: what the user picks,
// also those hidden for now (recent lessons not there yet).
QList<QAction*> Entries(const QList<QAction*>& actions)
{
    QList<QAction*> entries;
    for (QAction* action : actions) {
        if (action->isSeparator())
            continue;
        if (action->menu())
            entries += Entries(action->menu()->actions());
        else
            entries << action;
    }
    return entries;
}

}  // namespace

class TestProgramMenu : public QObject {
    Q_OBJECT
    PanelFixture fixture;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        fixture.Start();
    }
    void cleanup() { fixture.Stop(); }

    void EveryEntryHasAShortcutOfItsOwn()
    {
        const QList<QAction*> entries = Entries(Draw2D->actions());
        QVERIFY(entries.size() >= 15);
        std::map<QString, QString> taken;
        for (QAction* entry : entries) {
            const QString shortcut = entry->shortcut().toString(QKeySequence::PortableText);
            QVERIFY2(!shortcut.isEmpty(), qPrintable(entry->text()));
            const auto [at, fresh] = taken.emplace(shortcut, entry->text());
            QVERIFY2(fresh, qPrintable(entry->text() + " and " + at->second + " share " + shortcut));
        }
        for (const char* expected : {"Ctrl+S", "Ctrl+Shift+A", "Ctrl+P", "Ctrl+O", "Ctrl+Shift+S", "Ctrl+R", "F2",
                                     "Ctrl+C", "Ctrl+Shift+C", "Ctrl+0", "Ctrl+1", "Ctrl+5"})
            QVERIFY2(taken.count(QString::fromLatin1(expected)) == 1, expected);
    }

    // The panel's shortcuts do in the panel what the menu's do, and clash
    // with nothing the panel has already.
    void PanelShortcutsAreTheMenus()
    {
        std::map<QString, QString> menu;
        for (QAction* entry : Entries(Draw2D->actions()))
            menu.emplace(entry->shortcut().toString(QKeySequence::PortableText), entry->text());
        std::map<QString, QString> panel;
        QList<QAction*> actions = Control_Panel->actions();
        for (QAction* own : Control_Panel->findChildren<QAction*>()) {
            if (!actions.contains(own))
                actions << own;
        }
        for (QAction* action : actions) {
            const QString shortcut = action->shortcut().toString(QKeySequence::PortableText);
            if (shortcut.isEmpty())
                continue;
            QVERIFY2(panel.emplace(shortcut, action->text()).second, qPrintable(shortcut));
            QVERIFY2(menu.count(shortcut) == 1, qPrintable(shortcut));
            QCOMPARE(action->text(), menu[shortcut]);
        }
        for (const char* expected : {"Ctrl+O", "Ctrl+Shift+S", "Ctrl+R"})
            QVERIFY2(panel.count(QString::fromLatin1(expected)) == 1, expected);
    }
};

QTEST_MAIN(TestProgramMenu)
#include "test_programmenu.moc"
