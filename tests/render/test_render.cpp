// SPDX-License-Identifier: GPL-3.0-or-later
// paramcurve-render run as its own process, checked against the control
// panel: the same inputs pressed through "Kresli" give the same plane, pixel
// for pixel, and the same message.
#include <QtTest>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <cmath>
#include <vector>

#include "../panel/PanelFixture.h"
#include "TracePause.h"
#include "PlotSurface.h"
#include "RendererProcess.h"

namespace {

const QString UsageText = QStringLiteral("Použití: paramcurve-render [volby] [LEKCE.paramcurve] -o SOUBOR.png|gif|svg|pdf");

struct CsvRow {
    double t;
    double x;
    double y;
};

// The rows of a points file after its "t,x,y" header; false if it has none.
bool ParseCsv(const QByteArray& text, std::vector<CsvRow>& rows)
{
    QList<QByteArray> lines = text.split('\n');
    if (lines.isEmpty() || lines.first() != "t,x,y" || !lines.last().isEmpty())
        return false;
    lines.removeLast();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> cells = lines[i].split(',');
        if (cells.size() != 3)
            return false;
        bool okT = false, okX = false, okY = false;
        rows.push_back({cells[0].toDouble(&okT), cells[1].toDouble(&okX), cells[2].toDouble(&okY)});
        if (!okT || !okX || !okY)
            return false;
    }
    return true;
}

}  // namespace

class TestRender : public QObject {
    Q_OBJECT

private:
    PanelFixture fixture;
    QTemporaryDir folder;

    QString Picture() const { return folder.filePath("plane.png"); }

    // Checks a preset on the panel the way a user does; the one checked at
    // start fires nothing, so another is chosen first.
    void ChoosePreset(int index)
    {
        auto* button = Control_Panel->findChild<QRadioButton*>(QString("RadioButton%1").arg(index + 1));
        QVERIFY(button);
        if (button->isChecked()) {
            auto* other = Control_Panel->findChild<QRadioButton*>(QString("RadioButton%1").arg(index == 0 ? 2 : 1));
            QVERIFY(other);
            QTest::mouseClick(other, Qt::LeftButton);
        }
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(button->isChecked());
    }

    // "EditSeg=40" types 40 into EditSeg.
    void TypeFields(const QStringList& fields)
    {
        for (const QString& field : fields) {
            const qsizetype equals = field.indexOf('=');
            auto* edit = Control_Panel->findChild<QLineEdit*>(field.left(equals));
            QVERIFY2(edit, qPrintable(field));
            edit->setText(field.mid(equals + 1));
        }
    }


private slots:
    void initTestCase() { QVERIFY(folder.isValid()); }
    void init()
    {
        fixture.Start();
        SetTracePause([] {});
        QFile::remove(Picture());
    }
    void cleanup()
    {
        SetTracePause(nullptr);
        fixture.Stop();
    }

    void MatchesThePanel_data();
    void MatchesThePanel();
    void PointsOfFourSegments_data();
    void PointsOfFourSegments();
    void FoliumStopsAtDivisionByZero();
    void FaultNamesItsInput_data();
    void FaultNamesItsInput();
    void BadUsage_data();
    void BadUsage();
    void HelpDescribesEveryOption();
    void NeedsNoDisplay_data();
    void NeedsNoDisplay();
    void LiteralsShownAsTyped_data();
    void LiteralsShownAsTyped();
    void UnwritablePicture_data();
    void UnwritablePicture();
};

void TestRender::MatchesThePanel_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("preset");        // radio button index, -1: none chosen
    QTest::addColumn<QStringList>("fields");  // typed into the panel after the preset
    QTest::addColumn<bool>("axes");
    QTest::addColumn<bool>("dashed");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("blank");  // refused before anything is drawn
    QTest::addColumn<QString>("option");  // named before the box's message

    const QColor blue(0, 0, 200);
    QTest::newRow("inputs at start") << QStringList{} << -1 << QStringList{} << true << false << blue << false << QString("");
    QTest::newRow("kruznice") << QStringList{"--preset", "kruznice"} << 0 << QStringList{} << true << false << blue << false << QString("");
    QTest::newRow("sikmy-vrh") << QStringList{"--preset", "sikmy-vrh"} << 1 << QStringList{} << true << false << blue << false << QString("");
    QTest::newRow("descartuv-list")
        << QStringList{"--preset", "descartuv-list"} << 2 << QStringList{} << true << false << blue << false << QString("");
    QTest::newRow("draha-planety")
        << QStringList{"--preset", "draha-planety"} << 3 << QStringList{} << true << false << blue << false << QString("");
    QTest::newRow("kruznice dashed")
        << QStringList{"--preset", "kruznice", "--dashed"} << 0 << QStringList{} << true << true << blue << false << QString("");
    QTest::newRow("draha-planety without axes in red")
        << QStringList{"--preset", "draha-planety", "--no-axes", "--color", "255,0,0"} << 3 << QStringList{}
        << false << false << QColor(255, 0, 0) << false << QString("");
    QTest::newRow("options override the preset")
        << QStringList{"--preset", "sikmy-vrh", "--t2", "2", "--segments", "40", "--x1", "-1"} << 1
        << QStringList{"EditT2=2", "EditSeg=40", "EditX1=-1"} << true << false << blue << false << QString("");
    QTest::newRow("every field given")
        << QStringList{"--x", "t", "--y", "t^2-1", "--x1", "-3", "--x2", "2", "--y1", "-2", "--y2", "5",
                       "--t1", "-2", "--t2", "2", "--segments", "17", "--color", "0,128,0"}
        << -1
        << QStringList{"EditEq1=t", "EditEq2=t^2-1", "EditX1=-3", "EditX2=2", "EditY1=-2", "EditY2=5",
                       "EditT1=-2", "EditT2=2", "EditSeg=17"}
        << true << false << QColor(0, 128, 0) << false << QString("");
    QTest::newRow("single-dash long options")
        << QStringList{"-t2", "3", "-segments", "30", "-x1", "-5"} << -1
        << QStringList{"EditT2=3", "EditSeg=30", "EditX1=-5"} << true << false << blue << false << QString("");
    QTest::newRow("folium in 40 segments")
        << QStringList{"--preset", "descartuv-list", "--segments", "40"} << 2 << QStringList{"EditSeg=40"}
        << true << false << blue << false << QString("--x");
    QTest::newRow("x formula fails to compile")
        << QStringList{"--x", "3*cos("} << -1 << QStringList{"EditEq1=3*cos("} << true << false << blue << false << QString("--x");
    QTest::newRow("segment count 0")
        << QStringList{"--segments", "0"} << -1 << QStringList{"EditSeg=0"} << true << false << blue << false << QString("");
    QTest::newRow("segment count not a number")
        << QStringList{"--segments", "abc"} << -1 << QStringList{"EditSeg=abc"} << true << false << blue << true << QString("--segments");
    QTest::newRow("bound that fails to evaluate")
        << QStringList{"--y2", "ln(0)"} << -1 << QStringList{"EditY2=ln(0)"} << true << false << blue << true << QString("--y2");
    QTest::newRow("equal bounds")
        << QStringList{"--x2", "-4"} << -1 << QStringList{"EditX2=-4"} << true << false << blue << true << QString("");
}

void TestRender::MatchesThePanel()
{
    QFETCH(QStringList, options);
    QFETCH(int, preset);
    QFETCH(QStringList, fields);
    QFETCH(bool, axes);
    QFETCH(bool, dashed);
    QFETCH(QColor, colour);
    QFETCH(bool, blank);
    QFETCH(QString, option);

    if (preset >= 0)
        ChoosePreset(preset);
    TypeFields(fields);
    Control_Panel->CheckBox1->setChecked(axes);
    Control_Panel->CheckBox2->setChecked(dashed);
    Draw2D->CurveR = static_cast<std::uint8_t>(colour.red());
    Draw2D->CurveG = static_cast<std::uint8_t>(colour.green());
    Draw2D->CurveB = static_cast<std::uint8_t>(colour.blue());
    PressKresli();
    QVERIFY(fixture.Boxes.size() <= 1);

    const RendererRun run = RunRenderer(options + QStringList{"-o", Picture()});
    QVERIFY(run.Finished);
    if (fixture.Boxes.isEmpty()) {
        QCOMPARE(run.ExitStatus, 0);
        QCOMPARE(run.Err, QByteArray());
        QVERIFY(PixelsOf(ToQImage(Draw2D->Plane()), colour.red(), colour.green(), colour.blue()) > 0);
    } else {
        QCOMPARE(run.ExitStatus, 1);
        // The box names the field on a second line ("Pole: …"); the renderer
        // names the option instead. A fault's cause is the second line of both.
        const QString named = option.isEmpty() ? QString() : option + ": ";
        const QString box = fixture.Boxes.first().text;
        const QString cause = box.section(u'\n', 1);
        const QString expected = named + box.section(u'\n', 0, 0) + '\n'
                                 + (cause.isEmpty() || cause.startsWith("Pole: ") ? QString() : cause + '\n');
        QCOMPARE(QString::fromUtf8(run.Err), expected);
    }
    QCOMPARE(run.Out, QByteArray());

    const QImage picture = ReadPicture(Picture());
    QCOMPARE(picture.size(), QSize(500, 500));
    QVERIFY(picture == Draw2D->Plane());
    if (blank)
        QCOMPARE(PixelsOf(picture, 255, 255, 255), 500 * 500);
    else
        QCOMPARE(PixelsOf(picture, 255, 0, 0) > 0, axes || colour == QColor(255, 0, 0));
}

void TestRender::PointsOfFourSegments_data()
{
    QTest::addColumn<bool>("toStandardOutput");
    QTest::newRow("standard output") << true;
    QTest::newRow("file") << false;
}

// t 0 to 1 in 4 segments: six points, the last one step past T2, each the
// very point the panel stores.
void TestRender::PointsOfFourSegments()
{
    QFETCH(bool, toStandardOutput);
    const QString pointsFile = folder.filePath("points.csv");
    QFile::remove(pointsFile);

    TypeFields({"EditT1=0", "EditT2=1", "EditSeg=4"});
    PressKresli();
    QVERIFY(fixture.Boxes.isEmpty());

    const RendererRun run = RunRenderer({"--t1", "0", "--t2", "1", "--segments", "4", "-o", Picture(),
                                         "--points", toStandardOutput ? "-" : pointsFile});
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, 0);
    QByteArray csv = run.Out;
    if (!toStandardOutput) {
        QCOMPARE(run.Out, QByteArray());
        QFile file(pointsFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        csv = file.readAll();
    }

    std::vector<CsvRow> rows;
    QVERIFY2(ParseCsv(csv, rows), csv.constData());
    QCOMPARE(rows.size(), std::size_t{6});
    const double ts[] = {0.0, 0.25, 0.5, 0.75, 1.0, 1.25};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows[i].t, ts[i]);
        // Full precision: the text reads back as the panel's stored point.
        QCOMPARE(rows[i].x, Draw2D->Points[i].x);
        QCOMPARE(rows[i].y, Draw2D->Points[i].y);
    }
    QVERIFY(std::abs(rows[1].x - 3 * std::cos(0.25)) < 1e-15);
    QVERIFY(ReadPicture(Picture()) == Draw2D->Plane());
}

// At t = -1 the x formula divides by zero: status 1, the box's message, and
// the picture and points as far as the trace got.
void TestRender::FoliumStopsAtDivisionByZero()
{
    const RendererRun run
        = RunRenderer({"--preset", "descartuv-list", "--segments", "40", "-o", Picture(), "--points", "-"});
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, 1);
    QCOMPARE(QString::fromUtf8(run.Err), QString("--x: Dělení nulou\n"));

    std::vector<CsvRow> rows;
    QVERIFY(ParseCsv(run.Out, rows));
    QCOMPARE(rows.size(), std::size_t{19});
    QCOMPARE(rows.front().t, -20.0);
    QCOMPARE(rows.back().t, -2.0);

    const QImage picture = ReadPicture(Picture());
    QCOMPARE(picture.size(), QSize(500, 500));
    // The segment from t = -3 to t = -2 starts on the point of t = -3.
    PlotSurface mapping;
    mapping.ResizePlane(500, 500);
    mapping.SetWorld(-3, 3, -3, 3);
    const double x = 3 * -3.0 / (1 + -27.0);
    const double y = 3 * 9.0 / (1 + -27.0);
    QCOMPARE(picture.pixel(mapping.ScreenX(x), mapping.ScreenY(y)) & 0xFFFFFF, qRgb(0, 0, 200) & 0xFFFFFF);
}

// A floating-point fault is named by the option whose input it came from,
// like a formula's message; the trace's own arithmetic has no option.
void TestRender::FaultNamesItsInput_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("message");

    QTest::newRow("x formula") << QStringList{"--x", "exp(1000)*t"}
                               << "--x: Floating point overflow.\n"
                                  "Výsledek vzorce x = přesáhl největší číslo (asi 1,8·10^308).";
    QTest::newRow("y formula, last point")
        << QStringList{"--y", "exp(1000*t)", "--t1", "-10", "--t2", "1", "--segments", "10"}
        << "--y: Floating point overflow.\nVýsledek vzorce y = přesáhl největší číslo (asi 1,8·10^308).";
    QTest::newRow("drawing a point too far")
        << QStringList{"--y", "exp(100*t)"}
        << "Invalid floating point operation.\nBod křivky při t = 0,188496 leží příliš daleko mimo zorné pole y.";
    QTest::newRow("x power") << QStringList{"--x", "10^400"}
                             << "--x: Floating point overflow.\n"
                                "Výsledek vzorce x = přesáhl největší číslo (asi 1,8·10^308).";
    QTest::newRow("bound") << QStringList{"--x1", "exp(1000)"}
                           << "--x1: Floating point overflow.\n"
                              "Výsledek vzorce v poli x, začátek přesáhl největší číslo (asi 1,8·10^308).";
    QTest::newRow("last bound") << QStringList{"--t2", "-exp(1000)"}
                                << "--t2: Floating point overflow.\n"
                                   "Výsledek vzorce v poli t, konec přesáhl největší číslo (asi 1,8·10^308).";
    QTest::newRow("segment count") << QStringList{"--segments", "1e300"}
                                   << "--segments: Floating point overflow.\nPočet segmentů je příliš velké číslo.";
    QTest::newRow("step") << QStringList{"--t1", "-10^308", "--t2", "10^308", "--segments", "1"}
                          << "Floating point overflow.\nRozsah parametru t je příliš velký.";
    QTest::newRow("step of no segments") << QStringList{"--segments", "0"}
                                         << "Floating point division by zero.\nPočet segmentů je 0.";
    QTest::newRow("axes") << QStringList{"--x1", "-10^37", "--x2", "10^37"}
                          << "Invalid floating point operation.\n"
                             "Zorné pole x je pro osy příliš široké (nejvýš asi 3·10^36).";
}

void TestRender::FaultNamesItsInput()
{
    QFETCH(QStringList, options);
    QFETCH(QString, message);
    const RendererRun run = RunRenderer(options << "-o" << Picture());
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, 1);
    QCOMPARE(QString::fromUtf8(run.Err), message + u'\n');
    // What was drawn before the fault is written.
    QCOMPARE(ReadPicture(Picture()).size(), QSize(500, 500));
}

void TestRender::BadUsage_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("reason");  // the whole first line

    QTest::newRow("unknown option") << QStringList{"--sharpness", "3"} << "Neznámá volba: --sharpness";
    QTest::newRow("unknown option with a value") << QStringList{"--sharpness=3"} << "Neznámá volba: --sharpness";
    QTest::newRow("unknown preset") << QStringList{"--preset", "elipsa"} << "Neznámá ukázková křivka: elipsa";
    QTest::newRow("two colour parts") << QStringList{"--color", "1,2"}
                                      << "Barva musí být R,G,B, tři čísla od 0 do 255: 1,2";
    QTest::newRow("colour above 255") << QStringList{"--color", "0,0,256"}
                                      << "Barva musí být R,G,B, tři čísla od 0 do 255: 0,0,256";
    QTest::newRow("negative colour") << QStringList{"--color", "-1,0,0"}
                                     << "Barva musí být R,G,B, tři čísla od 0 do 255: -1,0,0";
    QTest::newRow("colour not numbers") << QStringList{"--color", "red"}
                                        << "Barva musí být R,G,B, tři čísla od 0 do 255: red";
    QTest::newRow("missing value") << QStringList{"--x1"} << "Volba --x1 potřebuje hodnotu VZOREC";
    QTest::newRow("missing value, single dash") << QStringList{"-x1"} << "Volba -x1 potřebuje hodnotu VZOREC";
    QTest::newRow("a second file") << QStringList{"a.paramcurve", "circle"} << "Nadbytečný argument: circle";
    QTest::newRow("stray dash") << QStringList{"-"} << "Nadbytečný argument: -";
    QTest::newRow("a second file after --") << QStringList{"--", "a.paramcurve", "--x"} << "Nadbytečný argument: --x";
    QTest::newRow("switch with a value") << QStringList{"--dashed=yes"} << "Volba --dashed nemá hodnotu";
    QTest::newRow("output twice") << QStringList{"-o", "other.png"} << "Volba -o je zadána dvakrát";
    QTest::newRow("output twice, long name") << QStringList{"--output=other.png"}
                                             << "Volba --output je zadána dvakrát";
    QTest::newRow("formula twice") << QStringList{"--x", "t", "--x", "2*t"} << "Volba --x je zadána dvakrát";
    QTest::newRow("empty points") << QStringList{"--points", ""} << "Volba --points potřebuje SOUBOR nebo -";
    QTest::newRow("timeout 0") << QStringList{"--timeout", "0"}
                               << "Volba --timeout potřebuje počet sekund, kladné číslo nejvýš 1000000: 0";
    QTest::newRow("negative timeout") << QStringList{"--timeout", "-1"}
                                      << "Volba --timeout potřebuje počet sekund, kladné číslo nejvýš 1000000: -1";
    QTest::newRow("timeout not a number") << QStringList{"--timeout", "nan"}
                                          << "Volba --timeout potřebuje počet sekund, kladné číslo nejvýš 1000000: nan";
    QTest::newRow("timeout with an exponent")
        << QStringList{"--timeout", "1e3"} << "Volba --timeout potřebuje počet sekund, kladné číslo nejvýš 1000000: 1e3";
    QTest::newRow("timeout too long")
        << QStringList{"--timeout", "1000001"}
        << "Volba --timeout potřebuje počet sekund, kladné číslo nejvýš 1000000: 1000001";
    QTest::newRow("unknown format") << QStringList{"--format", "tiff"}
                                    << "Neznámý formát: tiff; zvolte png, gif, svg nebo pdf";
    QTest::newRow("format twice") << QStringList{"--format", "gif", "--format", "png"}
                                  << "Volba --format je zadána dvakrát";
    QTest::newRow("loop for a PNG") << QStringList{"--loop", "3"} << "Volba --loop platí jen pro animaci GIF";
    QTest::newRow("loop for an SVG by --format") << QStringList{"--format", "svg", "--loop", "3"}
                                                 << "Volba --loop platí jen pro animaci GIF";
    QTest::newRow("loop not a number") << QStringList{"--format", "gif", "--loop", "x"}
                                       << "Volba --loop potřebuje počet přehrání, celé číslo od 0 do 65536: x";
    QTest::newRow("loop too many") << QStringList{"--format", "gif", "--loop", "65537"}
                                   << "Volba --loop potřebuje počet přehrání, celé číslo od 0 do 65536: 65537";
    QTest::newRow("negative loop") << QStringList{"--format", "gif", "--loop", "-1"}
                                   << "Volba --loop potřebuje počet přehrání, celé číslo od 0 do 65536: -1";
    QTest::newRow("scale 3") << QStringList{"--scale", "3"} << "Volba --scale potřebuje zvětšení 1, 2 nebo 4: 3";
    QTest::newRow("scale with a sign") << QStringList{"--scale", "+2"}
                                       << "Volba --scale potřebuje zvětšení 1, 2 nebo 4: +2";
    QTest::newRow("scale 2x") << QStringList{"--scale", "2x"} << "Volba --scale potřebuje zvětšení 1, 2 nebo 4: 2x";
    QTest::newRow("scale for a GIF") << QStringList{"--format", "gif", "--scale", "2"}
                                     << "Volba --scale platí jen pro obrázek PNG";
    QTest::newRow("scale 1 for an SVG") << QStringList{"--format", "svg", "--scale", "1"}
                                        << "Volba --scale platí jen pro obrázek PNG";
    // The toolkit's own options are not taken out of the command line.
    QTest::newRow("toolkit -platform") << QStringList{"-platform", "xcb"} << "Neznámá volba: -platform";
    QTest::newRow("toolkit -reverse") << QStringList{"-reverse"} << "Neznámá volba: -reverse";
    QTest::newRow("toolkit -display") << QStringList{"-display", ":0"} << "Neznámá volba: -display";
    QTest::newRow("control characters shown escaped") << QStringList{"--preset", "a\x1b[2Jb"}
                                                       << "Neznámá ukázková křivka: a\\u001b[2Jb";
}

// The reason, the usage line and the hint, all Czech and nothing else.
void TestRender::BadUsage()
{
    QFETCH(QStringList, options);
    QFETCH(QString, reason);

    // The faulty option goes last, where a missing value shows.
    const RendererRun run = RunRenderer(QStringList{"-o", Picture()} + options);
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, 2);
    QCOMPARE(QString::fromUtf8(run.Err), reason + '\n' + UsageText + "\nNápověda: paramcurve-render --help\n");
    QCOMPARE(run.Out, QByteArray());
    QVERIFY(!QFile::exists(Picture()));

    // Without -o there is nowhere to write the picture.
    const RendererRun noOutput = RunRenderer({"--preset", "kruznice"});
    QVERIFY(noOutput.Finished);
    QCOMPARE(noOutput.ExitStatus, 2);
    QVERIFY(QString::fromUtf8(noOutput.Err).contains(UsageText));
}

void TestRender::HelpDescribesEveryOption()
{
    const RendererRun run = RunRenderer({"--help"});
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, 0);
    QCOMPARE(run.Err, QByteArray());
    const QString help = QString::fromUtf8(run.Out);
    QVERIFY(help.startsWith(UsageText + '\n'));

    const QStringList expected{"--x VZOREC ", "--y VZOREC ", "--x1 VZOREC ", "--x2 VZOREC ",
                               "--y1 VZOREC ", "--y2 VZOREC ", "--t1 VZOREC ", "--t2 VZOREC ",
                               "--segments N ", "--no-axes ", "--dashed ", "--color R,G,B ",
                               "--preset JMÉNO ", "-o, --output SOUBOR ", "--format FORMÁT ", "--loop N ", "--scale K ", "--points SOUBOR|- ",
                               "--set PROMĚNNÁ=HODNOTA ", "--sweep PROMĚNNÁ=OD:DO:KROK ", "--family ", "--save-lesson SOUBOR ", "--timeout SEKUNDY ", "-h, --help ", "-v, --version ", "kruznice", "sikmy-vrh", "descartuv-list", "draha-planety"};
    for (const QString& text : expected)
        QVERIFY2(help.contains(text), qPrintable(text));
    // Every option line carries a description after its names.
    const QStringList lines = help.split('\n');
    int optionLines = 0;
    for (const QString& line : lines) {
        if (line.startsWith("  -")) {
            ++optionLines;
            QVERIFY2(line.simplified().count(' ') >= 3, qPrintable(line));
        }
    }
    QCOMPARE(optionLines, 25);
}

void TestRender::NeedsNoDisplay_data()
{
    QTest::addColumn<QString>("platform");  // empty: not set
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("other");     // NAME=VALUE, or empty
    QTest::newRow("nothing set") << "" << "" << "";
    QTest::newRow("xcb without a display") << "xcb" << "" << "";
    QTest::newRow("xcb with a display that is not there") << "xcb" << ":97531" << "";
    QTest::newRow("wayland") << "wayland" << "" << "";
    QTest::newRow("no such platform") << "nonsense" << "" << "";
    QTest::newRow("scaled desktop") << "" << "" << "QT_SCALE_FACTOR=3";
    QTest::newRow("screens scaled") << "" << "" << "QT_SCREEN_SCALE_FACTORS=2";
    QTest::newRow("font resolution") << "" << "" << "QT_FONT_DPI=300";
}

// The renderer always draws offscreen, whatever the environment names, and
// the same picture.
void TestRender::NeedsNoDisplay()
{
    QFETCH(QString, platform);
    QFETCH(QString, display);
    QFETCH(QString, other);
    RendererSetup setup;
    setup.Environment.remove("QT_QPA_PLATFORM");
    setup.Environment.remove("DISPLAY");
    setup.Environment.remove("WAYLAND_DISPLAY");
    if (!platform.isEmpty())
        setup.Environment.insert("QT_QPA_PLATFORM", platform);
    if (!display.isEmpty())
        setup.Environment.insert("DISPLAY", display);
    if (!other.isEmpty())
        setup.Environment.insert(other.section('=', 0, 0), other.section('=', 1));
    const RendererRun run = RunRenderer({"-o", Picture()}, setup);
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, 0);
    QCOMPARE(run.Err, QByteArray());

    PressKresli();
    QVERIFY(ReadPicture(Picture()) == Draw2D->Plane());
}

void TestRender::UnwritablePicture_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing folder") << folder.filePath("missing/plane.png") << "složka neexistuje";
    QTest::newRow("a folder") << folder.path() << "je to složka";
    QTest::newRow("no files here") << QString("/proc/paramcurve-plane.png") << "do této složky nelze ukládat soubory";
}

void TestRender::UnwritablePicture()
{
    QFETCH(QString, path);
    QFETCH(QString, reason);
    const RendererRun run = RunRenderer({"-o", path});
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, 3);
    QCOMPARE(QString::fromUtf8(run.Err),
             QString("Obrázek se nepodařilo uložit do souboru %1: %2.\n").arg(path, reason));
    QVERIFY(!QFileInfo(path).isFile());
}

void TestRender::LiteralsShownAsTyped_data()
{
    QTest::addColumn<QString>("literal");
    // 0.002877 read through extended and then rounded again was one unit off,
    // and showed as 0.0028770000000000002.
    QTest::newRow("0.002877") << "0.002877";
    QTest::newRow("0.1") << "0.1";
    QTest::newRow("decimal comma") << "123456,789";
}

// The points show a constant x as the shortest text that reads back as it.
void TestRender::LiteralsShownAsTyped()
{
    QFETCH(QString, literal);
    const RendererRun run = RunRenderer({"--x", literal, "--segments", "2", "-o", Picture(), "--points", "-"});
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, 0);
    const QList<QByteArray> lines = run.Out.split('\n');
    QCOMPARE(lines.size(), 6);  // header, four points, the empty end
    QString expected = literal;
    expected.replace(',', '.');
    for (int i = 1; i <= 4; ++i)
        QCOMPARE(QString(lines[i].split(',')[1]), expected);
}

QTEST_MAIN(TestRender)
#include "test_render.moc"
