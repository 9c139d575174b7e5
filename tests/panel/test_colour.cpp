// SPDX-License-Identifier: GPL-3.0-or-later
// "Barva křivky": the colour dialog answered through its seam and for real.
#include <QColorDialog>
#include <QPushButton>
#include <QTimer>

#include "PanelFixture.h"

namespace {

// Answers the next dialogs in turn and records the colour each opened with.
struct ScriptedChooser {
    QList<ColorChoice> Answers;
    QList<std::int32_t> OpenedWith;

    void Install()
    {
        ColorChooser = [this](std::int32_t current) {
            OpenedWith.append(current);
            return Answers.takeFirst();
        };
    }
};

void PressColourButton()
{
    QTest::mouseClick(Control_Panel->Button4, Qt::LeftButton);
}

}  // namespace

class TestColour : public QObject {
    Q_OBJECT
    PanelFixture Fixture;

private slots:
    void init() { Fixture.Start(); }
    void cleanup() { Fixture.Stop(); }

    void split_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("red");
        QTest::addColumn<int>("green");
        QTest::addColumn<int>("blue");
        QTest::newRow("black") << 0x000000 << 0 << 0 << 0;
        QTest::newRow("red is the low byte") << 0x0000FF << 255 << 0 << 0;
        QTest::newRow("green is the middle byte") << 0x00FF00 << 0 << 255 << 0;
        QTest::newRow("blue is the high byte") << 0xFF0000 << 0 << 0 << 255;
        QTest::newRow("one two three") << 0x030201 << 1 << 2 << 3;
        QTest::newRow("mixed") << 0x123456 << 0x56 << 0x34 << 0x12;
        QTest::newRow("borrow boundaries") << 0x80FF7F << 0x7F << 0xFF << 0x80;
        QTest::newRow("green and blue full") << 0xFFFF00 << 0 << 255 << 255;
        QTest::newRow("white") << 0xFFFFFF << 255 << 255 << 255;
    }

    void split()
    {
        QFETCH(int, value);
        QFETCH(int, red);
        QFETCH(int, green);
        QFETCH(int, blue);
        ScriptedChooser chooser{{{true, value}}, {}};
        chooser.Install();
        PressColourButton();
        QCOMPARE(int(Draw2D->CurveR), red);
        QCOMPARE(int(Draw2D->CurveG), green);
        QCOMPARE(int(Draw2D->CurveB), blue);
        QCOMPARE(PixelsOtherThan(IndicatorOnScreen(), red, green, blue), 0);
        QCOMPARE(Control_Panel->ColorDialog1.Color, value);
    }

    // The dialog opens on the curve's colour; a cancel leaves it shown.
    void cancelKeepsTheCurveColour()
    {
        ScriptedChooser chooser{{{false, 0x00FF00}}, {}};
        chooser.Install();
        PressColourButton();
        QCOMPARE(chooser.OpenedWith, QList<std::int32_t>{ColorValue(0, 0, 200)});
        QCOMPARE(PixelsOtherThan(IndicatorOnScreen(), 0, 0, 200), 0);
        QCOMPARE(int(Draw2D->CurveR), 0);
        QCOMPARE(int(Draw2D->CurveG), 0);
        QCOMPARE(int(Draw2D->CurveB), 200);
    }

    void confirmThenCancel()
    {
        ScriptedChooser chooser{{{true, 0x00FF00}, {false, 0xFF0000}, {true, 0x0000FF}}, {}};
        chooser.Install();
        PressColourButton();
        QCOMPARE(int(Draw2D->CurveR), 0);
        QCOMPARE(int(Draw2D->CurveG), 255);
        QCOMPARE(int(Draw2D->CurveB), 0);
        QCOMPARE(PixelsOtherThan(IndicatorOnScreen(), 0, 255, 0), 0);
        PressColourButton();
        QCOMPARE(int(Draw2D->CurveG), 255);
        QCOMPARE(PixelsOtherThan(IndicatorOnScreen(), 0, 255, 0), 0);
        PressColourButton();
        QCOMPARE(chooser.OpenedWith, QList<std::int32_t>({ColorValue(0, 0, 200), 0x00FF00, 0x00FF00}));
        QCOMPARE(int(Draw2D->CurveR), 255);
        QCOMPARE(int(Draw2D->CurveG), 0);
        QCOMPARE(PixelsOtherThan(IndicatorOnScreen(), 255, 0, 0), 0);
    }

    // The real dialog opens with the curve's colour, also one a lesson
    // brought; its answer counts.
    void realDialog()
    {
        QColor openedWith;
        bool panelFontsKept = true;
        const auto answer = [&](QColor pick) {
            QTimer::singleShot(0, [&, pick] {
                auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
                if (!dialog)
                    return;
                openedWith = dialog->currentColor();
                // The panel's control fonts stay on the panel.
                for (const QWidget* control : dialog->findChildren<QWidget*>())
                    panelFontsKept = panelFontsKept && control->font().pixelSize() != 16;
                if (pick.isValid()) {
                    dialog->setCurrentColor(pick);
                    dialog->accept();
                } else {
                    dialog->reject();
                }
            });
        };
        answer(QColor(10, 20, 30));
        PressColourButton();
        QCOMPARE(openedWith, QColor(0, 0, 200));
        QCOMPARE(int(Draw2D->CurveR), 10);
        QCOMPARE(int(Draw2D->CurveG), 20);
        QCOMPARE(int(Draw2D->CurveB), 30);
        answer(QColor());
        PressColourButton();
        QCOMPARE(openedWith, QColor(10, 20, 30));
        QCOMPARE(int(Draw2D->CurveB), 30);
        QCOMPARE(PixelsOtherThan(IndicatorOnScreen(), 10, 20, 30), 0);
        TracePress lesson = Control_Panel->CurrentPress();
        lesson.CurveR = 200;
        lesson.CurveG = 100;
        lesson.CurveB = 0;
        Control_Panel->ShowPress(lesson);
        answer(QColor());
        PressColourButton();
        QCOMPARE(openedWith, QColor(200, 100, 0));
        QVERIFY(panelFontsKept);
    }
};

QTEST_MAIN(TestColour)
#include "test_colour.moc"
