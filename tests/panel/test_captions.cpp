// SPDX-License-Identifier: GPL-3.0-or-later
// The captions of the control panel fit the room the layout gives them: in
// the intended face, Liberation Sans Bold loaded from its files, and, with
// that face withheld, in the face chosen by measuring among installed ones.
#include <QFontDatabase>
#include <QFontInfo>
#include <QTemporaryFile>

#include "CaptionFont.h"
#include "PanelFixture.h"

namespace {

QString WithoutFoundry(const QString& family)
{
    return family.section(QStringLiteral(" ["), 0, 0);
}

QString FaceOf(const QWidget& control)
{
    return WithoutFoundry(QFontInfo(control.font()).family());
}

QStringList Without(QStringList faces, const QString& withheld)
{
    faces.removeAll(withheld);
    return faces;
}

}  // namespace

class TestCaptions : public QObject {
    Q_OBJECT
    PanelFixture Fixture;

private slots:
    void init() { Fixture.Start(); }
    void cleanup()
    {
        SetCaptionFaceRule(nullptr);
        Fixture.Stop();
    }

    // Buttons, labels, check boxes and radio buttons; not the fields (their
    // text is the user's) nor the colour indicator.
    void everyCaptionMeasured()
    {
        QStringList names;
        for (const QWidget* control : CaptionControls(*Control_Panel))
            names << control->objectName();
        names.sort();
        QCOMPARE(names, QStringList({"Button1", "Button2", "Button3", "Button4", "CheckBox1", "CheckBox2",
                                     "RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4", "StaticText1",
                                     "StaticText11", "StaticText2", "StaticText3", "StaticText4", "StaticText5",
                                     "StaticText6", "StaticText7", "StaticText8"}));
    }

    void intendedFaceInUse()
    {
        QCOMPARE(IntendedFace(), QString("Liberation Sans"));
        for (const QWidget* control : CaptionControls(*Control_Panel)) {
            const QString name = control->objectName();
            QVERIFY2(FaceOf(*control) == "Liberation Sans", qPrintable(name + ": " + FaceOf(*control)));
            QVERIFY2(control->font().bold(), qPrintable(name));
            QCOMPARE(control->font().pixelSize(), 16);
            QVERIFY2(CaptionOverflow(*control, control->font()) <= 0, qPrintable(name));
        }
    }

    void loadingTheIntendedFace_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("family");
        QTest::newRow("installed files") << IntendedFaceFiles() << "Liberation Sans";
        QTest::newRow("no files") << QStringList() << "";
        QTest::newRow("missing file") << QStringList{"/nonexistent/LiberationSans-Bold.ttf"} << "";
        QTest::newRow("not a font") << QStringList{QFINDTESTDATA("test_captions.cpp")} << "";
    }

    void loadingTheIntendedFace()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, family);
        QCOMPARE(LoadIntendedFace(files), family);
    }

    // The measure against what a user sees: set in DejaVu Sans Bold, wider
    // than the layout was made for, "Zorné pole", "Parametr" and "počet
    // segmentů" are cut off and "x =" runs under its field; in Nimbus Sans,
    // whose line box is tall, the descenders of the radio buttons are cut.
    void overflowMeasured_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("fits");
        for (const char* name : {"StaticText5", "StaticText11", "StaticText8", "StaticText4", "StaticText6"}) {
            QTest::addRow("%s, Liberation Sans", name) << QString(name) << "Liberation Sans" << true;
            QTest::addRow("%s, DejaVu Sans", name) << QString(name) << "DejaVu Sans" << false;
        }
        QTest::newRow("Button4, DejaVu Sans") << "Button4" << "DejaVu Sans" << false;
        QTest::newRow("Button1, DejaVu Sans") << "Button1" << "DejaVu Sans" << true;
        QTest::newRow("RadioButton4, Liberation Sans") << "RadioButton4" << "Liberation Sans" << true;
        QTest::newRow("RadioButton4, Nimbus Sans") << "RadioButton4" << "Nimbus Sans" << false;
    }

    void overflowMeasured()
    {
        QFETCH(QString, control);
        QFETCH(QString, family);
        QFETCH(bool, fits);
        if (!QFontDatabase::hasFamily(family))
            QSKIP(qPrintable(family + " is not installed"));
        const QWidget* widget = Control_Panel->findChild<QWidget*>(control);
        QVERIFY(widget);
        QCOMPARE(CaptionOverflow(*widget, CaptionFace{family}.Font()) <= 0, fits);
    }

    void withheldFace_data()
    {
        QTest::addColumn<QStringList>("candidates");
        QTest::addColumn<QString>("family");  // empty: any
        QTest::addColumn<int>("size");        // 0: any
        const QStringList installed = InstalledSansFaces();
        QTest::newRow("installed sans-serif faces but Liberation Sans")
            << Without(installed, "Liberation Sans") << "" << 16;
        QTest::newRow("DejaVu Sans only: smaller") << QStringList{"DejaVu Sans"} << "DejaVu Sans" << 14;
        QTest::newRow("a face that is not installed passed over")
            << QStringList{"No Such Face", "DejaVu Sans"} << "DejaVu Sans" << 14;
        if (installed.contains("DejaVu Sans Condensed"))
            QTest::newRow("a narrower face fits at a larger size")
                << QStringList{"DejaVu Sans", "DejaVu Sans Condensed"} << "DejaVu Sans Condensed" << 15;
    }

    // A panel made while the intended face is withheld shows the face chosen
    // among the others: every caption fits the room it has, measured in the
    // font each control really uses.
    void withheldFace()
    {
        QFETCH(QStringList, candidates);
        QFETCH(QString, family);
        QFETCH(int, size);
        Fixture.Stop();
        CaptionFace face;
        SetCaptionFaceRule([&](const QWidget& panel) { return face = ChooseCaptionFace(panel, candidates); });
        Fixture.Start();
        QVERIFY(!face.Family.isEmpty());
        QVERIFY(WithoutFoundry(face.Family) != "Liberation Sans");
        if (!family.isEmpty())
            QCOMPARE(WithoutFoundry(face.Family), family);
        if (size)
            QCOMPARE(face.PixelSize, size);
        for (const QWidget* control : CaptionControls(*Control_Panel)) {
            const QString name = control->objectName();
            QCOMPARE(FaceOf(*control), WithoutFoundry(face.Family));
            QCOMPARE(control->font().pixelSize(), face.PixelSize);
            QVERIFY(control->font().bold());
            QVERIFY2(CaptionOverflow(*control, control->font()) <= 0, qPrintable(name));
        }
    }

    void nothingInstalledKeepsTheLayout()
    {
        const QString sheet = Control_Panel->styleSheet();
        const CaptionFace face = ChooseCaptionFace(*Control_Panel, {"No Such Face"});
        QVERIFY(face.Family.isEmpty());
        ApplyCaptionFace(*Control_Panel, face);
        QCOMPARE(Control_Panel->styleSheet(), sheet);
    }
};

QTEST_MAIN(TestCaptions)
#include "test_captions.moc"
