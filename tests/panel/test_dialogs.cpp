// SPDX-License-Identifier: GPL-3.0-or-later
// The error box, the default fault handler and its title, and a fault that
// leaves a handler of the panel.
#include <QAbstractButton>
#include <QPushButton>
#include <QTimer>

#include "PanelFixture.h"
#include "RealArith.h"

Q_DECLARE_METATYPE(QMessageBox::Icon)

class TestDialogs : public QObject {
    Q_OBJECT
    PanelFixture Fixture;

private slots:
    void cleanup() { Fixture.Stop(); }

    void applicationTitle_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::newRow("windows path") << "C:\\x\\PARAMCURVE.EXE" << "Paramcurve";
        QTest::newRow("unix path") << "/usr/bin/paramcurve" << "paramcurve";
        QTest::newRow("cut before the first dot") << "a.b.c" << "a";
        QTest::newRow("first letter kept") << "Abc" << "Abc";
        QTest::newRow("rest lower-cased") << "/opt/ParamCurve" << "Paramcurve";
        QTest::newRow("dot in a folder") << "/home/a.b/PLOT" << "Plot";
        QTest::newRow("mixed separators") << "C:\\x/y\\Graf2D.Exe" << "Graf2d";
        QTest::newRow("czech letters") << "/bin/ŠIKMÝ.exe" << "Šikmý";
        QTest::newRow("single letter") << "X" << "X";
        QTest::newRow("leading dot") << "/bin/.hidden" << "";
        QTest::newRow("empty") << "" << "";
    }

    void applicationTitle()
    {
        QFETCH(QString, path);
        QFETCH(QString, title);
        QCOMPARE(ApplicationTitle(path), title);
    }

    void boxes_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("formula error") << -1 << "Error" << QString::fromUtf8("Dělení nulou");
        QTest::newRow("division by zero") << int(FloatFaultKind::DivisionByZero) << "test_dialogs"
                                          << "Floating point division by zero.";
        QTest::newRow("invalid operation") << int(FloatFaultKind::InvalidOperation) << "test_dialogs"
                                           << "Invalid floating point operation.";
        QTest::newRow("overflow") << int(FloatFaultKind::Overflow) << "test_dialogs"
                                  << "Floating point overflow.";
    }

    void boxes()
    {
        QFETCH(int, kind);
        QFETCH(QString, title);
        QFETCH(QString, text);
        QList<MessageBoxRequest> boxes;
        SetMessagePresenter([&boxes](const MessageBoxRequest& box) { boxes.append(box); });
        if (kind < 0)
            ShowErrorBox(QString::fromUtf8("Dělení nulou"));
        else
            RunHandler([kind] { RaiseFloatFault(FloatFaultKind(kind)); });
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].title, title);
        QCOMPARE(boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(boxes[0].text, text);
    }

    void runHandlerStopsAtTheFault()
    {
        QList<MessageBoxRequest> boxes;
        SetMessagePresenter([&boxes](const MessageBoxRequest& box) { boxes.append(box); });
        int steps = 0;
        RunHandler([&steps] {
            ++steps;
            StoreReal(1e4000L);
            ++steps;
        });
        QCOMPARE(steps, 1);
        RunHandler([] { throw 42; });
        RunHandler([&steps] { ++steps; });
        QCOMPARE(steps, 2);
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes[0].text, QString("Floating point overflow."));
        QCOMPARE(boxes[1].text, QString("Unknown exception."));
    }

    // Without a presenter the box is a real modal QMessageBox with one OK.
    void realBox()
    {
        SetMessagePresenter(nullptr);
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int buttons = 0;
        bool okCancels = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->buttons().size();
            okCancels = box->escapeButton() == box->button(QMessageBox::Ok);
            QTest::keyClick(box, Qt::Key_Return);
        });
        ShowErrorBox(QString::fromUtf8("Nedefinovaný tangens"));
        QCOMPARE(title, QString("Error"));
        QCOMPARE(text, QString::fromUtf8("Nedefinovaný tangens"));
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(buttons, 1);
        QVERIFY(okCancels);
    }

    // "Uložit lekci?" answered from the keyboard: Enter saves (the default),
    // Esc cancels, and a button's mnemonic-free text is the answer named.
    void unsavedQuestion_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("button");  // clicked instead of a key when set
        QTest::addColumn<int>("choice");
        QTest::newRow("Enter") << int(Qt::Key_Return) << QString() << int(UnsavedChoice::Save);
        QTest::newRow("Esc") << int(Qt::Key_Escape) << QString() << int(UnsavedChoice::Cancel);
        QTest::newRow("Zahodit") << 0 << QString::fromUtf8("Zahodit") << int(UnsavedChoice::Discard);
        QTest::newRow("Zrušit") << 0 << QString::fromUtf8("Zrušit") << int(UnsavedChoice::Cancel);
        QTest::newRow("Uložit") << 0 << QString::fromUtf8("Uložit") << int(UnsavedChoice::Save);
    }

    void unsavedQuestion()
    {
        QFETCH(int, key);
        QFETCH(QString, button);
        QFETCH(int, choice);
        SetUnsavedQuestion(nullptr);
        QString text;
        QStringList buttons;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            text = box->text();
            for (QAbstractButton* each : box->buttons())
                buttons << each->text();
            if (key) {
                QTest::keyClick(box, Qt::Key(key));
                return;
            }
            for (QAbstractButton* each : box->buttons())
                if (each->text() == button)
                    each->click();
        });
        const UnsavedChoice answer = AskSaveLesson();
        QCOMPARE(text, QString::fromUtf8("Uložit lekci?"));
        buttons.sort();
        QCOMPARE(buttons, (QStringList{QString::fromUtf8("Uložit"), QString::fromUtf8("Zahodit"),
                                       QString::fromUtf8("Zrušit")}));
        QCOMPARE(int(answer), choice);
    }

    // A fault inside a panel handler is shown, the handler stops there, and
    // the panel goes on working.
    void faultInPanelHandler()
    {
        Fixture.Start();
        ColorChooser = [](std::int32_t) -> ColorChoice { RaiseFloatFault(FloatFaultKind::Overflow); };
        QTest::mouseClick(Control_Panel->Button4, Qt::LeftButton);
        QCOMPARE(Fixture.Boxes.size(), 1);
        QCOMPARE(Fixture.Boxes[0].title, QString("test_dialogs"));
        QCOMPARE(Fixture.Boxes[0].text, QString("Floating point overflow."));
        QCOMPARE(PixelsOtherThan(IndicatorOnScreen(), 0, 0, 200), 0);
        Draw2D->FillPlane(0, 0, 0);
        QTest::mouseClick(Control_Panel->Button3, Qt::LeftButton);
        QCOMPARE(PixelsOtherThan(ToQImage(Draw2D->Plane()), 255, 255, 255), 0);
        ColorChooser = [](std::int32_t) { return ColorChoice{true, 0x00FF00}; };
        QTest::mouseClick(Control_Panel->Button4, Qt::LeftButton);
        QCOMPARE(int(Draw2D->CurveG), 255);
        QCOMPARE(Fixture.Boxes.size(), 1);
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
