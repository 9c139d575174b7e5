// SPDX-License-Identifier: GPL-3.0-or-later
// What assistive technology reads of both windows through the toolkit's
// accessibility interface: every control's role, Czech name and
// description; the colour indicator's colour as it changes; the plane's
// description as the plot window sets it. (That the toolkit tells a
// listening screen reader of a changed description is seen on a real
// accessibility bus, in scripts/check-atspi.sh.)
#include <QAccessible>

#include "PanelFixture.h"
#include "TracePause.h"
#include "PlaneImage.h"

namespace {

QWidget* WindowNamed(const QString& window)
{
    return window == "panel" ? static_cast<QWidget*>(Control_Panel) : static_cast<QWidget*>(Draw2D);
}

QWidget* Control(const QString& window, const QString& name)
{
    QWidget* top = WindowNamed(window);
    return top->objectName() == name ? top : top->findChild<QWidget*>(name);
}

QAccessibleInterface* Accessible(QWidget* widget)
{
    return widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
}

const QString Preset = QStringLiteral("Ukázková křivka: zapíše do polí vzorce, zorné pole a rozsah parametru ");

}  // namespace

Q_DECLARE_METATYPE(QAccessible::Role)

class TestAccess : public QObject {
    Q_OBJECT
    PanelFixture Fixture;

private slots:
    void init() { Fixture.Start(); }
    void cleanup() { Fixture.Stop(); }

    void controls_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QAccessible::Role>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        const auto row = [](const char* window, const char* control, QAccessible::Role role, const QString& name,
                            const QString& description) {
            QTest::addRow("%s %s", window, control) << QString(window) << QString(control) << role << name
                                                    << description;
        };
        using A = QAccessible;
        row("panel", "Control_Panel", A::Window, "Control_Panel",
            "Ovládací panel: vzorce křivky, zorné pole, parametr, počet segmentů, ukázkové křivky, barva a "
            "tlačítka Kresli, Vymaž a konec; Enter v poli kreslí");
        row("panel", "Button1", A::Button, "Kresli",
            "Přečte všechna pole a nakreslí křivku; klávesa Esc kreslení zastaví");
        row("panel", "Button2", A::Button, "konec", "Ukončí program");
        row("panel", "Button3", A::Button, "Vymaž", "Vymaže rovinu na bílo; pole a barva zůstanou");
        row("panel", "Button4", A::Button, "Barva křivky", "Otevře výběr barvy křivky");
        row("panel", "EditEq1", A::EditableText, "x =", "Vzorec x(t), například 3*cos(t)");
        row("panel", "EditEq2", A::EditableText, "y =", "Vzorec y(t), například 3*sin(t)");
        row("panel", "EditX1", A::EditableText, "Zorné pole x, začátek",
            "Levý okraj zorného pole, vzorec, například -4");
        row("panel", "EditX2", A::EditableText, "Zorné pole x, konec",
            "Pravý okraj zorného pole, vzorec, například 4");
        row("panel", "EditY1", A::EditableText, "Zorné pole y, začátek",
            "Dolní okraj zorného pole, vzorec, například -4");
        row("panel", "EditY2", A::EditableText, "Zorné pole y, konec",
            "Horní okraj zorného pole, vzorec, například 4");
        row("panel", "EditT1", A::EditableText, "Parametr t, začátek",
            "Počáteční hodnota parametru t, vzorec, například 0");
        row("panel", "EditT2", A::EditableText, "Parametr t, konec",
            "Koncová hodnota parametru t, vzorec, například 2*pi");
        row("panel", "EditSeg", A::EditableText, "počet segmentů", "Počet segmentů křivky, celé číslo od 1 do 1731");
        row("panel", "CheckBox1", A::CheckBox, "ukaž osy", "Před kreslením nakreslí obě osy s desetinným dělením");
        row("panel", "CheckBox2", A::CheckBox, "přerušovat", "Kreslí jen každý druhý segment");
        row("panel", "RadioButton1", A::RadioButton, "kružnice", Preset + "kružnice");
        row("panel", "RadioButton2", A::RadioButton, "šikmý vrh", Preset + "šikmého vrhu");
        row("panel", "RadioButton3", A::RadioButton, "Descartův list", Preset + "Descartova listu");
        row("panel", "RadioButton4", A::RadioButton, "dráha planety", Preset + "dráhy planety");
        row("panel", "ColorIndicator", A::Graphic, "Barva křivky", "R 0, G 0, B 200");
        row("panel", "StaticText3", A::StaticText, "Rovnice", "Nadpis vzorců křivky");
        row("panel", "StaticText4", A::StaticText, "x =", "Popis vzorce x(t)");
        row("panel", "StaticText6", A::StaticText, "y =", "Popis vzorce y(t)");
        row("panel", "StaticText5", A::StaticText, "Zorné pole", "Nadpis polí zorného pole");
        row("panel", "StaticText2", A::StaticText, "x", "Řádek x zorného pole");
        row("panel", "StaticText7", A::StaticText, "y", "Řádek y zorného pole");
        row("panel", "StaticText11", A::StaticText, "Parametr", "Nadpis polí parametru t");
        row("panel", "StaticText1", A::StaticText, "t", "Řádek parametru t");
        row("panel", "StaticText8", A::StaticText, "počet segmentů", "Popis pole počet segmentů");
        row("plot", "Draw2D", A::Window, "Parametric Curve",
            "Okno s rovinou, na kterou se kreslí křivka; nabídka s uložením a tiskem se otevře klávesou Menu "
            "nebo Shift+F10");
        row("plot", "Panel1", A::Border, "Rámeček roviny", "Vyvýšený rámeček kolem roviny");
        row("plot", "Image1", A::Graphic, "Rovina", "Prázdná rovina 500 x 500 bodů.");
    }

    void controls()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QAccessible::Role, role);
        QFETCH(QString, name);
        QFETCH(QString, description);
        QAccessibleInterface* accessible = Accessible(Control(window, control));
        QVERIFY(accessible);
        QCOMPARE(accessible->role(), role);
        QCOMPARE(accessible->text(QAccessible::Name), name);
        QCOMPARE(accessible->text(QAccessible::Description), description);
    }

    // A control added to a window without a row above fails here.
    void everyControlHasARow()
    {
        QStringList listed;
        for (const char* window : {"panel", "plot"}) {
            for (const QWidget* child : WindowNamed(window)->findChildren<QWidget*>())
                listed << QString(window) + ' ' + child->objectName();
        }
        listed.sort();
        QStringList expected;
        for (const char* name : {"Button1", "Button2", "Button3", "Button4", "CheckBox1", "CheckBox2",
                                 "ColorIndicator", "EditEq1", "EditEq2", "EditSeg", "EditT1", "EditT2", "EditX1",
                                 "EditX2", "EditY1", "EditY2", "RadioButton1", "RadioButton2", "RadioButton3",
                                 "RadioButton4", "StaticText1", "StaticText11", "StaticText2", "StaticText3",
                                 "StaticText4", "StaticText5", "StaticText6", "StaticText7", "StaticText8"})
            expected << QString("panel ") + name;
        expected << "plot Image1" << "plot Panel1";
        // The position readout's two labels and the recent lessons' menu,
        // whose names the readout's and the lessons' tests check.
        expected << "plot PenReadout" << "plot MouseReadout" << "plot RecentLessonsMenu";
        expected.sort();
        QCOMPARE(listed, expected);
    }

    // The names of the panel's nine fields are the ones the panel's captions
    // give them, and no two inputs share one.
    void inputNamesDistinct()
    {
        QStringList names;
        for (const QLineEdit* field : Control_Panel->findChildren<QLineEdit*>())
            names << Accessible(const_cast<QLineEdit*>(field))->text(QAccessible::Name);
        QCOMPARE(names.size(), 9);
        names.removeDuplicates();
        QCOMPARE(names.size(), 9);
    }

    void indicatorDescribesTheColour_data()
    {
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("description");
        QTest::newRow("green confirmed") << true << 0x00FF00 << "R 0, G 255, B 0";
        QTest::newRow("red is the low byte") << true << 0x0000FF << "R 255, G 0, B 0";
        QTest::newRow("one two three") << true << 0x030201 << "R 1, G 2, B 3";
        QTest::newRow("white") << true << 0xFFFFFF << "R 255, G 255, B 255";
        // The dialog opens on the curve's colour, which a cancel leaves.
        QTest::newRow("cancelled at first") << false << 0x00FF00 << "R 0, G 0, B 200";
    }

    void indicatorDescribesTheColour()
    {
        QFETCH(bool, confirmed);
        QFETCH(int, chosen);
        QFETCH(QString, description);
        ColorChooser = [&](std::int32_t) { return ColorChoice{confirmed, chosen}; };
        QTest::mouseClick(Control_Panel->Button4, Qt::LeftButton);
        QAccessibleInterface* indicator = Accessible(Control_Panel->ColorIndicator);
        QCOMPARE(indicator->text(QAccessible::Description), description);
        QCOMPARE(indicator->text(QAccessible::Name), QString("Barva křivky"));
    }

    // The hook the plot window offers for what the plane holds, read back
    // through the interface.
    void planeDescriptionSet()
    {
        const QString text = QStringLiteral("Kružnice 3*cos(t), 3*sin(t), 100 segmentů");
        Draw2D->SetPlaneDescription(text);
        QCOMPARE(Draw2D->PlaneDescription(), text);
        QAccessibleInterface* plane = Accessible(Draw2D->Image1);
        QCOMPARE(plane->text(QAccessible::Description), text);
        QCOMPARE(plane->text(QAccessible::Name), QString("Rovina"));
    }

    // What the plane holds follows the presses: each one's formulas, window,
    // segment count and how it ended; "Vymaž" empties it again.
    void planeDescribesThePresses()
    {
        SetTracePause([] {});
        SetPanelTexts({"3*t/(1+t^3)", "3*t^2/(1+t^3)", "-3", "3", "-3", "3", "-20", "20", "40"});
        PressKresli();
        QAccessibleInterface* plane = Accessible(Draw2D->Image1);
        QCOMPARE(plane->text(QAccessible::Description),
                 QString("Rovina 500 x 500 bodů, 1 křivka. 1. x = 3*t/(1+t^3), y = 3*t^2/(1+t^3); zorné pole x od -3 "
                         "do 3, y od -3 do 3; t od -20 do 20; počet segmentů 40; s osami; skončila předčasně po 19 "
                         "bodech: Dělení nulou."));
        QTest::mouseClick(Control_Panel->Button3, Qt::LeftButton);
        QCOMPARE(plane->text(QAccessible::Description), QString("Prázdná rovina 500 x 500 bodů."));
        SetTracePause(nullptr);
    }

    // Focusable controls say so, and the plane is one of them.
    void focusableState_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("focusable");
        QTest::newRow("Kresli") << "panel" << "Button1" << true;
        QTest::newRow("a field") << "panel" << "EditEq1" << true;
        QTest::newRow("a label") << "panel" << "StaticText4" << false;
        QTest::newRow("the indicator") << "panel" << "ColorIndicator" << false;
        QTest::newRow("the plane") << "plot" << "Image1" << true;
    }

    void focusableState()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(bool, focusable);
        QCOMPARE(bool(Accessible(Control(window, control))->state().focusable), focusable);
    }
};

QTEST_MAIN(TestAccess)
#include "test_access.moc"
