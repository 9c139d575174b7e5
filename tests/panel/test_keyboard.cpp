// SPDX-License-Identifier: GPL-3.0-or-later
// Everything from the keyboard: the focus ring shows from the start, Enter
// presses a focused button, the plane takes the focus and shows a ring of its
// own without covering a pixel, and the plot window's menu opens from the
// keyboard and lists a shortcut for every entry, each of which works.
#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QStyleOptionMenuItem>
#include <QTimer>
#include <QWindow>

#include <functional>

#include "PanelFixture.h"
#include "TracePause.h"
#include "PlaneDialogs.h"
#include "PlaneImage.h"
#include "SavePlane.h"

namespace {

const char* const EnterOnKonec = "--enter-on-konec";

void Activate(QWidget* window)
{
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

// The text a menu paints for `action`: its caption, and after a tab the
// shortcut when the menu shows it. The style option is protected; a pointer
// to the member, taken through a subclass, reaches it on any menu.
QString PaintedText(const QMenu& menu, const QAction* action)
{
    struct Peek : QMenu {
        static void Option(const QMenu& menu, QStyleOptionMenuItem* option, const QAction* action)
        {
            (menu.*(&Peek::initStyleOption))(option, action);
        }
    };
    QStyleOptionMenuItem option;
    Peek::Option(menu, &option, action);
    return option.text;
}

// Runs `open`, which is to pop up a menu, hands the menu to `look` and closes it.
bool WithPoppedMenu(const std::function<void()>& open, const std::function<void(QMenu&)>& look)
{
    bool seen = false;
    QTimer watch;
    watch.setInterval(10);
    int ticks = 0;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || !menu->isVisible()) {
            if (++ticks > 300)
                watch.stop();
            return;
        }
        watch.stop();
        seen = true;
        look(*menu);
        menu->close();
    });
    watch.start();
    open();
    // A menu opened by a queued request pops up only now.
    for (int i = 0; i < 300 && watch.isActive(); ++i)
        QTest::qWait(10);
    return seen;
}

// The child: Enter on a focused "konec" must end the process at once.
int EnterOnKonecChild(int argc, char* argv[])
{
    QApplication application(argc, argv);
    PanelFixture fixture;
    fixture.Start();
    Control_Panel->activateWindow();
    if (!QTest::qWaitForWindowActive(Control_Panel))
        return 2;
    Control_Panel->Button2->setFocus();
    QTest::keyClick(Control_Panel->Button2, Qt::Key_Return);
    return 3;  // still running: Enter did nothing
}

}  // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
    PanelFixture Fixture;
    PlotMenu* Actions = nullptr;

private slots:
    void init()
    {
        Fixture.Start();
        Actions = &TheMenu();
        SetTracePause([] {});
    }
    void cleanup()
    {
        SetTracePause(nullptr);
        SetSaveFileChooser(nullptr);
        SetPrintPreview(nullptr);
        Fixture.Stop();
    }

    // "Kresli" has the focus at start and is drawn with the ring: it looks
    // different once the focus moves on, and so does the button it moves to.
    void focusRingFromTheStart()
    {
        Activate(Control_Panel);
        QCOMPARE(QApplication::focusWidget(), Control_Panel->Button1);
        const QImage kresliFocused = Control_Panel->Button1->grab().toImage();
        const QImage vymazPlain = Control_Panel->Button3->grab().toImage();
        Control_Panel->Button3->setFocus();
        QVERIFY(kresliFocused != Control_Panel->Button1->grab().toImage());
        QVERIFY(vymazPlain != Control_Panel->Button3->grab().toImage());
    }

    void enterPressesTheButton_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("effect");
        for (const auto& [name, key] : {std::pair{"Enter", Qt::Key_Return}, std::pair{"keypad Enter", Qt::Key_Enter}}) {
            QTest::addRow("Kresli, %s", name) << "Button1" << int(key) << "traced";
            QTest::addRow("Vymaž, %s", name) << "Button3" << int(key) << "wiped";
            QTest::addRow("Barva křivky, %s", name) << "Button4" << int(key) << "colour asked";
        }
    }

    void enterPressesTheButton()
    {
        QFETCH(QString, button);
        QFETCH(int, key);
        QFETCH(QString, effect);
        Activate(Control_Panel);
        SetPanelTexts({"3*cos(t)", "3*sin(t)", "-4", "4", "-4", "4", "0", "6.2833", "4"});
        Draw2D->FillPlane(0, 0, 0);  // so that a wipe shows
        int colourAsked = 0;
        ColorChooser = [&](std::int32_t current) {
            ++colourAsked;
            return ColorChoice{false, current};
        };
        auto* target = Control_Panel->findChild<QPushButton*>(button);
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key));
        const int white = ToQImage(Draw2D->Plane()).width() * ToQImage(Draw2D->Plane()).height() -
                          PixelsOtherThan(ToQImage(Draw2D->Plane()), 255, 255, 255);
        const bool curveDrawn = PixelsOtherThan(ToQImage(Draw2D->Plane()), 0, 0, 0) > 0 &&
                                PixelsOtherThan(ToQImage(Draw2D->Plane()), 255, 255, 255) > 0;
        QCOMPARE(curveDrawn, effect == "traced");
        QCOMPARE(white == ToQImage(Draw2D->Plane()).width() * ToQImage(Draw2D->Plane()).height(), effect == "wiped");
        QCOMPARE(colourAsked, effect == "colour asked" ? 1 : 0);
        QVERIFY(Fixture.Boxes.isEmpty());
    }

    // "konec" ends the process, so it is pressed in a child.
    void enterOnKonecEnds()
    {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {EnterOnKonec});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
    }

    // Activated from the keyboard, the plot window gives the plane the focus
    // (the pen's readout over it, which the window's keys step), where a
    // screen reader reads its name and description.
    void planeTakesTheFocus()
    {
        Activate(Draw2D);
        QWidget* readout = Draw2D->focusProxy();
        QVERIFY(readout);
        QCOMPARE(readout->parentWidget(), Draw2D->Image1->parentWidget());
        const auto onThePlane = [&] {
            return QApplication::focusWidget() == readout || QApplication::focusWidget() == Draw2D->Image1;
        };
        QVERIFY(onThePlane());
        // Tab stays on the plane: its readout or the image under it.
        for (int tab = 0; tab < 3; ++tab) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY(onThePlane());
        }
    }

    void planeFocusRing_data()
    {
        QTest::addColumn<bool>("focused");
        QTest::newRow("plane focused") << true;
        QTest::newRow("panel focused") << false;
    }

    // The ring lies right of and below the panel (and on its bevel); the
    // plane's pixels on screen stay exactly the plane's.
    void planeFocusRing()
    {
        QFETCH(bool, focused);
        SetPanelTexts({"3*cos(t)", "3*sin(t)", "-4", "4", "-4", "4", "0", "6.2833", "20"});
        PressKresli();
        Activate(focused ? static_cast<QWidget*>(Draw2D) : Control_Panel);
        const QImage window = Draw2D->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QColor highlight = Draw2D->palette().color(QPalette::Highlight);
        const QRect panel = Draw2D->Panel1->geometry();
        const QColor expected = focused ? highlight : QColor(Qt::white);
        for (const QPoint at : {QPoint(panel.right() + 1, 0), QPoint(panel.right() + 1, panel.height() / 2),
                                QPoint(panel.width() / 2, panel.bottom() + 1),
                                QPoint(panel.right() + 1, panel.bottom() + 1)})
            QCOMPARE(window.pixelColor(at), expected);
        const QRect shown = Draw2D->Image1->visibleRegion().boundingRect();
        const QImage plane = Draw2D->Image1->grab(shown).toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(plane, ToQImage(Draw2D->Plane()).copy(shown).convertToFormat(QImage::Format_RGB32));
    }

    void menuFromTheKeyboard_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("Shift+F10") << "Shift+F10";
        QTest::newRow("Menu key") << "Menu";
    }

    // Over the plane, with the window's entries.
    void menuFromTheKeyboard()
    {
        QFETCH(QString, key);
        Activate(Draw2D);
        QWidget* plane = Draw2D->Image1;
        const auto press = [&] {
            if (key == "Shift+F10") {
                QTest::keyClick(plane, Qt::Key_F10, Qt::ShiftModifier);
            } else {
                // What the window system sends the window for the Menu key.
                QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(), QCursor::pos());
                QCoreApplication::sendEvent(Draw2D->windowHandle(), &request);
            }
        };
        QRect where;
        QList<QAction*> entries;
        QVERIFY(WithPoppedMenu(press, [&](QMenu& menu) {
            where = menu.geometry();
            entries = menu.actions();
        }));
        QCOMPARE(entries, Draw2D->actions());
        QCOMPARE(entries.first(), Actions->SavePicture);
        const QRect planeOnScreen(plane->mapToGlobal(QPoint(0, 0)), plane->size());
        QVERIFY2(planeOnScreen.contains(where.topLeft()), qPrintable(QString("%1,%2").arg(where.x()).arg(where.y())));
    }

    void menuShowsShortcuts_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("painted");
        QTest::newRow("picture") << SavePlaneActionName << "Uložit obrázek…\tCtrl+S";
        QTest::newRow("animation") << SaveAnimationActionName << "Uložit animaci…\tCtrl+Shift+A";
        QTest::newRow("print") << PrintPlaneActionName << "Tisk…\tCtrl+P";
    }

    void menuShowsShortcuts()
    {
        QFETCH(QString, action);
        QFETCH(QString, painted);
        Activate(Draw2D);
        QString text;
        const auto press = [] { QTest::keyClick(Draw2D->Image1, Qt::Key_F10, Qt::ShiftModifier); };
        QVERIFY(WithPoppedMenu(press, [&](QMenu& menu) {
            text = PaintedText(menu, Draw2D->findChild<QAction*>(action));
        }));
        QCOMPARE(text, painted);
    }

    void shortcutsWork_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("asked");
        QTest::newRow("Ctrl+S") << int(Qt::Key_S) << int(Qt::ControlModifier) << "picture";
        QTest::newRow("Ctrl+Shift+A") << int(Qt::Key_A) << int(Qt::ControlModifier | Qt::ShiftModifier)
                                      << "animation";
        QTest::newRow("Ctrl+P") << int(Qt::Key_P) << int(Qt::ControlModifier) << "print";
    }

    // After a trace, each shortcut opens its dialog (answered here: cancelled).
    void shortcutsWork()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, asked);
        SetPanelTexts({"3*cos(t)", "3*sin(t)", "-4", "4", "-4", "4", "0", "6.2833", "4"});
        PressKresli();
        QStringList dialogs;
        SetSaveFileChooser([&](QWidget*, SaveWhat what) {
            dialogs << (what == SaveWhat::Animation ? "animation" : "picture");
            return SaveChoice{};
        });
        SetPrintPreview([&](QPrinter&, const PagePainter&, QWidget*) {
            dialogs << "print";
            return false;
        });
        Activate(Draw2D);
        QTest::keyClick(Draw2D->Image1, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(dialogs, QStringList{asked});
    }
};

int main(int argc, char* argv[])
{
    if (argc > 1 && qstrcmp(argv[1], EnterOnKonec) == 0)
        return EnterOnKonecChild(argc, argv);
    QApplication application(argc, argv);
    TestKeyboard test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_keyboard.moc"
