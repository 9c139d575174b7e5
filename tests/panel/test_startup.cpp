// SPDX-License-Identifier: GPL-3.0-or-later
// The state right after start-up: the panel's layout, the prepared plot
// window and the default colour.
#include <QCheckBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "PanelFixture.h"

class TestStartup : public QObject {
    Q_OBJECT
    PanelFixture Fixture;

private slots:
    void init() { Fixture.Start(); }
    void cleanup() { Fixture.Stop(); }

    void window()
    {
        QCOMPARE(Control_Panel->windowTitle(), QString("Control_Panel"));
        QCOMPARE(Control_Panel->objectName(), QString("Control_Panel"));
        // The outer frame as laid out, whatever the platform's frame takes.
        QCOMPARE(Control_Panel->frameGeometry(), QRect(7, 8, 320, 559));
        QCOMPARE(Control_Panel->font().pixelSize(), 10);
        QVERIFY(!Control_Panel->font().bold());
        QVERIFY(Fixture.Boxes.isEmpty());
    }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("geometry");
        const auto row = [](const char* name, const char* kind, const char* text, int x, int y, int w, int h) {
            QTest::newRow(name) << QString(name) << QString(kind) << QString::fromUtf8(text) << QRect(x, y, w, h);
        };
        row("Button1", "QPushButton", "Kresli", 4, 7, 65, 26);
        row("Button2", "QPushButton", "konec", 138, 7, 59, 26);
        row("StaticText5", "QLabel", "Zorné pole", 18, 226, 91, 24);
        row("EditX1", "QLineEdit", "-4", 31, 252, 106, 28);
        row("EditX2", "QLineEdit", "4", 139, 252, 110, 28);
        row("EditY1", "QLineEdit", "-4", 31, 284, 106, 28);
        row("EditY2", "QLineEdit", "4", 139, 284, 110, 28);
        row("StaticText2", "QLabel", "x", 10, 252, 13, 24);
        row("StaticText7", "QLabel", "y", 10, 284, 13, 24);
        row("CheckBox1", "QCheckBox", "ukaž osy", 13, 462, 163, 20);
        row("EditT1", "QLineEdit", "0", 31, 357, 106, 28);
        row("EditT2", "QLineEdit", "2*pi", 139, 357, 110, 28);
        row("StaticText1", "QLabel", "t", 10, 357, 10, 24);
        row("StaticText3", "QLabel", "Rovnice", 10, 46, 71, 24);
        row("StaticText4", "QLabel", "x =", 10, 65, 29, 24);
        row("StaticText6", "QLabel", "y =", 10, 91, 29, 24);
        row("EditEq1", "QLineEdit", "3*cos(t)", 36, 65, 237, 28);
        row("EditEq2", "QLineEdit", "3*sin(t)", 36, 98, 237, 28);
        row("EditSeg", "QLineEdit", "100", 31, 390, 58, 28);
        row("StaticText8", "QLabel", "počet segmentů", 115, 390, 136, 24);
        row("Button3", "QPushButton", "Vymaž", 72, 8, 65, 25);
        row("Button4", "QPushButton", "Barva křivky", 8, 424, 113, 25);
        row("RadioButton1", "QRadioButton", "kružnice", 16, 144, 105, 17);
        row("RadioButton2", "QRadioButton", "šikmý vrh", 16, 160, 137, 17);
        row("RadioButton3", "QRadioButton", "Descartův list", 16, 176, 153, 17);
        row("StaticText11", "QLabel", "Parametr", 10, 330, 81, 24);
        row("CheckBox2", "QCheckBox", "přerušovat", 13, 486, 132, 20);
        row("RadioButton4", "QRadioButton", "dráha planety", 16, 194, 153, 17);
        row("ColorIndicator", "QLabel", "", 136, 424, 81, 25);
    }

    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QFETCH(QRect, geometry);
        auto* control = Control_Panel->findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->parentWidget(), Control_Panel);
        QCOMPARE(QString(control->metaObject()->className()), kind);
        QCOMPARE(control->property("text").toString(), text);
        QCOMPARE(control->geometry(), geometry);
        if (kind == "QLabel")
            QCOMPARE(control->focusPolicy(), Qt::NoFocus);
        if (!text.isEmpty()) {
            QCOMPARE(control->font().pixelSize(), 16);
            QVERIFY(control->font().bold());
            const QString face = QFontInfo(control->font()).family().section(" [", 0, 0);  // no foundry
            QVERIFY2(face == "MS Sans Serif" || FallbackFaces().contains(face), qPrintable(face));
        }
    }

    void checkStatesAndFocus()
    {
        QVERIFY(Control_Panel->CheckBox1->isChecked());
        QVERIFY(!Control_Panel->CheckBox2->isChecked());
        QVERIFY(Control_Panel->RadioButton1->isChecked());
        QVERIFY(!Control_Panel->RadioButton2->isChecked());
        QVERIFY(!Control_Panel->RadioButton3->isChecked());
        QVERIFY(!Control_Panel->RadioButton4->isChecked());
        QCOMPARE(Control_Panel->focusWidget(), Control_Panel->Button1);
    }

    // Tab walks the table order; labels and the indicator are skipped, and
    // of the radio group only the checked button is a stop.
    void tabOrder()
    {
        Control_Panel->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Control_Panel));
        QCOMPARE(QApplication::focusWidget(), Control_Panel->Button1);
        QStringList visited;
        for (int i = 0; i < 18; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, QStringList({"Button2", "EditX1", "EditX2", "EditY1", "EditY2", "CheckBox1", "EditT1",
                                       "EditT2", "EditEq1", "EditEq2", "EditSeg", "Button3", "Button4",
                                       "RadioButton1", "CheckBox2", "Button1", "Button2", "EditX1"}));
    }

    void plotWindowPrepared()
    {
        QVERIFY(Draw2D);
        QCOMPARE(Draw2D->windowTitle(), QString("Parametric Curve"));
        QVERIFY(Draw2D->isVisible());
        QCOMPARE(ToQImage(Draw2D->Plane()).size(), QSize(500, 500));
        QCOMPARE(ToQImage(Draw2D->Plane()).format(), QImage::Format_RGB888);
        QCOMPARE(PixelsOtherThan(ToQImage(Draw2D->Plane()), 255, 255, 255), 0);
    }

    void plotStateZeroedButColour()
    {
        const PlotState& state = *Draw2D;
        for (double field : {state.ScaleX, state.ScaleY, state.OffsetX, state.OffsetY, state.X1, state.X2, state.Y1,
                             state.Y2, state.VarX, state.VarY, state.VarT, state.T1, state.T2, state.DT, state.VarR,
                             state.VarS, state.VarZ, state.VarK, state.VarN})
            QCOMPARE(field, 0.0);
        for (const WorldPoint& point : state.Points)
            QVERIFY(point.x == 0 && point.y == 0 && point.z == 0);
        QVERIFY(state.ErrorText.empty());
        QCOMPARE(int(state.CurveR), 0);
        QCOMPARE(int(state.CurveG), 0);
        QCOMPARE(int(state.CurveB), 200);
    }

    void indicatorShowsDefaultColour()
    {
        const QImage shown = IndicatorOnScreen();
        QCOMPARE(shown.size(), QSize(81, 25));
        QCOMPARE(PixelsOtherThan(shown, 0, 0, 200), 0);
    }

    void presetTableMatchesCaptions()
    {
        const QRadioButton* buttons[] = {Control_Panel->RadioButton1, Control_Panel->RadioButton2,
                                         Control_Panel->RadioButton3, Control_Panel->RadioButton4};
        for (std::size_t i = 0; i < CurvePresets.size(); ++i)
            QCOMPARE(buttons[i]->text(), QString::fromUtf8(CurvePresets[i].Caption));
        QCOMPARE(FindPreset("descartuv-list"), &CurvePresets[2]);
        QCOMPARE(FindPreset("kruznice"), &CurvePresets[0]);
        QCOMPARE(FindPreset("Kruznice"), nullptr);
        QCOMPARE(FindPreset(""), nullptr);
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
