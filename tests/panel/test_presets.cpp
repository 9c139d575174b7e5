// SPDX-License-Identifier: GPL-3.0-or-later
// The presets as a user picks them, by mouse and keyboard, and "Vymaž".
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "PanelFixture.h"

namespace {

QRadioButton* Preset(int number)
{
    QRadioButton* buttons[] = {Control_Panel->RadioButton1, Control_Panel->RadioButton2,
                               Control_Panel->RadioButton3, Control_Panel->RadioButton4};
    return buttons[number - 1];
}

// The eight fields a preset writes, in its order.
QStringList PresetFields()
{
    QStringList texts;
    for (QLineEdit* field : {Control_Panel->EditEq1, Control_Panel->EditEq2, Control_Panel->EditX1,
                             Control_Panel->EditX2, Control_Panel->EditY1, Control_Panel->EditY2,
                             Control_Panel->EditT1, Control_Panel->EditT2})
        texts << field->text();
    return texts;
}

const QStringList StartTexts{"3*cos(t)", "3*sin(t)", "-4", "4", "-4", "4", "0", "2*pi"};
const QStringList Circle{"3*cos(t)", "3*sin(t)", "-4", "4", "-4", "4", "0", "6.2833"};
const QStringList Throw{"14*t*cos(80*pi/180)", "14*t*sin(80*pi/180)-5*t^2", "-0.5", "10", "-0.5", "10", "0", "3"};
const QStringList Folium{"3*t/(1+t^3)", "3*t^2/(1+t^3)", "-3", "3", "-3", "3", "-20", "20"};
const QStringList Orbit{"-1/(1+0.8*cos(t))*cos(t)", "-1/(1+0.8*cos(t))*sin(t)", "-1", "6", "-3.5", "3.5", "-pi", "pi"};

}  // namespace

class TestPresets : public QObject {
    Q_OBJECT
    PanelFixture Fixture;

private slots:
    void init() { Fixture.Start(); }
    void cleanup() { Fixture.Stop(); }

    // Each row clicks the listed radio buttons in turn and reads the fields.
    void clicks_data()
    {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("nothing at start") << QList<int>{} << StartTexts;
        QTest::newRow("checked kruznice at start") << QList<int>{1} << StartTexts;
        QTest::newRow("sikmy vrh") << QList<int>{2} << Throw;
        QTest::newRow("descartuv list") << QList<int>{3} << Folium;
        QTest::newRow("draha planety") << QList<int>{4} << Orbit;
        QTest::newRow("sikmy vrh then kruznice") << QList<int>{2, 1} << Circle;
        QTest::newRow("draha planety then sikmy vrh") << QList<int>{4, 2} << Throw;
        QTest::newRow("descartuv list then draha planety") << QList<int>{3, 4} << Orbit;
        QTest::newRow("draha planety then descartuv list") << QList<int>{4, 3} << Folium;
        QTest::newRow("draha planety twice then kruznice") << QList<int>{4, 4, 1} << Circle;
    }

    void clicks()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(QStringList, fields);
        for (int number : clicks) {
            QTest::mouseClick(Preset(number), Qt::LeftButton);
            QVERIFY(Preset(number)->isChecked());
        }
        QCOMPARE(PresetFields(), fields);
    }

    void clickOnCheckedKeepsEdits()
    {
        Control_Panel->EditEq1->setText("t");
        QTest::mouseClick(Preset(1), Qt::LeftButton);
        QCOMPARE(Control_Panel->EditEq1->text(), QString("t"));
        QTest::mouseClick(Preset(3), Qt::LeftButton);
        Control_Panel->EditEq2->setText("2*t");
        QTest::mouseClick(Preset(3), Qt::LeftButton);
        QCOMPARE(Control_Panel->EditEq2->text(), QString("2*t"));
        QTest::mouseClick(Preset(2), Qt::LeftButton);
        QTest::mouseClick(Preset(3), Qt::LeftButton);
        QCOMPARE(PresetFields(), Folium);
    }

    // The arrow keys move the check through the group, applying each preset;
    // the space bar on the checked one applies nothing.
    void keyboard()
    {
        Control_Panel->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Control_Panel));
        Preset(1)->setFocus();
        QTest::keyClick(Preset(1), Qt::Key_Down);
        QVERIFY(Preset(2)->isChecked());
        QCOMPARE(PresetFields(), Throw);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QVERIFY(Preset(3)->isChecked());
        QCOMPARE(PresetFields(), Folium);
        Control_Panel->EditX1->setText("-7");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(Control_Panel->EditX1->text(), QString("-7"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QVERIFY(Preset(2)->isChecked());
        QCOMPARE(PresetFields(), Throw);
    }

    void leavesTheRestAlone()
    {
        Control_Panel->EditSeg->setText("40");
        QTest::mouseClick(Control_Panel->CheckBox1, Qt::LeftButton);
        QTest::mouseClick(Preset(4), Qt::LeftButton);
        QCOMPARE(Control_Panel->EditSeg->text(), QString("40"));
        QVERIFY(!Control_Panel->CheckBox1->isChecked());
        QVERIFY(!Control_Panel->CheckBox2->isChecked());
        QCOMPARE(PixelsOtherThan(ToQImage(Draw2D->Plane()), 255, 255, 255), 0);
        QVERIFY(Fixture.Boxes.isEmpty());
    }

    // Zadani reads the checked state of the group, whoever calls it.
    void zadaniFollowsCheckedState()
    {
        Preset(3)->setChecked(true);
        Control_Panel->EditEq1->setText("t");
        Control_Panel->Zadani();
        QCOMPARE(PresetFields(), Folium);
    }

    void wipe()
    {
        Draw2D->SetWorld(-4, 4, -4, 4);
        const double scaleX = Draw2D->ScaleX;
        Draw2D->DrawLine({-4, 0, 0}, {4, 0, 0}, 255, 0, 0);
        Draw2D->DrawLine({-1, -1, 0}, {1, 1, 0}, 0, 0, 200);
        QVERIFY(PixelsOtherThan(ToQImage(Draw2D->Plane()), 255, 255, 255) > 400);
        Control_Panel->EditEq1->setText("t");
        QTest::mouseClick(Control_Panel->Button3, Qt::LeftButton);
        QCOMPARE(PixelsOtherThan(ToQImage(Draw2D->Plane()), 255, 255, 255), 0);
        QCOMPARE(Draw2D->ScaleX, scaleX);
        QCOMPARE(int(Draw2D->CurveB), 200);
        QCOMPARE(Control_Panel->EditEq1->text(), QString("t"));
        QCOMPARE(PixelsOtherThan(IndicatorOnScreen(), 0, 0, 200), 0);
    }
};

QTEST_MAIN(TestPresets)
#include "test_presets.moc"
