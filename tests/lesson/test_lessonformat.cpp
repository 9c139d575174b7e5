// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson file's text: every key written and read back as it was, keys
// missing take the panel's start values, unknown keys are passed over, and
// each kind of bad file is refused whole with its reason; saving refuses
// what could not be read back.
#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>

#include "Lesson.h"
#include "LessonFormat.h"
#include "PlotState.h"
#include "RealText.h"

namespace {

// The reader takes bytes and gives UTF-8 as the standard library's strings.
std::string_view View(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

QByteArray Bytes(const std::string& text)
{
    return QByteArray::fromStdString(text);
}

QString Text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

// A lesson file around the members of one object of "drawn".
QByteArray WithDrawn(const QByteArray& members)
{
    return R"({"paramcurve-lesson": 1, "drawn": [{)" + members + "}]}";
}

// A press with every key away from its start value.
RecordedPress Unusual()
{
    RecordedPress press{StartPress(), 7, {}};
    TracePress& p = press.Press;
    p.Texts = {"sin(3*t)", "0,5*t^2", "-pi", "2*pi", "-1.5", "ž", "-t", "t+\"1\"\\", "1e2"};
    p.ShowAxes = false;
    p.Dashed = true;
    p.CurveR = 0xE6;
    p.CurveG = 0x0A;
    p.CurveB = 0x00;
    p.TBefore = 6.3460178506875468;
    p.Variables[0] = {"2", "-10", "10", "0.1"};        // k: a value, the range at start
    p.Variables[4] = {"0,5", "0", "1", "0.01"};        // x: value and range
    p.Variables[6] = {"0", "-pi", "pi", "pi/100"};     // z: only the range
    return press;
}

Lesson Read(std::string_view bytes)
{
    const LessonReading reading = ReadLesson(bytes);
    if (!reading.Ok)
        qWarning("refused: %s", reading.Problem.c_str());
    return reading.Read;
}

bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

class TestLessonFormat : public QObject {
    Q_OBJECT

private slots:
    void EveryKeyRoundTrips();
    void WrittenAsDocumented();
    void KeyValues_data();
    void KeyValues();
    void MissingKeysAreTheStart();
    void UnknownKeysPassedOver();
    void TextsComeBackWhole_data();
    void TextsComeBackWhole();
    void TBeforeComesBackExactly_data();
    void TBeforeComesBackExactly();
    void Refused_data();
    void Refused();
    void SaveRefusesWhatCouldNotBeRead_data();
    void SaveRefusesWhatCouldNotBeRead();
    void CompactWhenIndentedIsTooLarge();
};

void TestLessonFormat::EveryKeyRoundTrips()
{
    Lesson lesson;
    lesson.Panel = Unusual().Press;
    lesson.Panel.Texts.EquationX = "cos(t)";
    RecordedPress notStopped = Unusual();
    notStopped.StopAt.reset();
    RecordedPress stoppedAtOnce = Unusual();
    stoppedAtOnce.StopAt = 0;
    lesson.Drawn = {Unusual(), notStopped, stoppedAtOnce, RecordedPress{StartPress(), std::nullopt, {}}};

    for (const LessonLayout layout : {LessonLayout::Indented, LessonLayout::Compact}) {
        const QByteArray text = Bytes(LessonText(lesson, layout));
        const LessonReading back = ReadLesson(View(text));
        QVERIFY2(back.Ok, back.Problem.c_str());
        QVERIFY(SameLesson(back.Read, lesson));
        QCOMPARE(back.Read.Drawn[1].StopAt, std::optional<std::size_t>());
        QCOMPARE(back.Read.Drawn[2].StopAt, std::optional<std::size_t>(0));
        QCOMPARE(Bytes(LessonText(back.Read, layout)), text);
    }
}

// The keys of the README's example, in its order, the colour in lower case,
// t as its shortest text; "stopped-after" only where a press was stopped.
void TestLessonFormat::WrittenAsDocumented()
{
    Lesson lesson;
    lesson.Panel.TBefore = 0.1;
    lesson.Drawn = {Unusual()};
    const QByteArray text = Bytes(LessonText(lesson));
    QVERIFY(text.startsWith("{\n    \"paramcurve-lesson\": 1,\n    \"panel\": {\n        \"x\": \"3*cos(t)\",\n"));
    QVERIFY(text.contains("\"t-before\": \"0.1\"\n    },"));
    QVERIFY(text.contains("\"color\": \"#e60a00\""));
    QVERIFY(text.contains("\"y2\": \"ž\""));  // UTF-8 as it is
    QVERIFY(text.contains(R"("t2": "t+\"1\"\\")"));
    QVERIFY(text.endsWith("            \"stopped-after\": 7\n        }\n    ]\n}\n"));
    QCOMPARE(text.count("stopped-after"), 1);
    qsizetype at = 0;
    for (const char* key : {"\"x\"", "\"y\"", "\"x1\"", "\"x2\"", "\"y1\"", "\"y2\"", "\"t1\"", "\"t2\"",
                            "\"segments\"", "\"color\"", "\"axes\"", "\"dashed\"", "\"t-before\""}) {
        const qsizetype next = text.indexOf(key, at);
        QVERIFY2(next > at, key);
        at = next;
    }
}

void TestLessonFormat::KeyValues_data()
{
    QTest::addColumn<QByteArray>("members");
    QTest::addColumn<QString>("checked");  // which value the row is about

    QTest::newRow("a decimal comma, as typed") << QByteArray(R"("t2": "0,5")") << "t2 0,5";
    QTest::newRow("-pi, as typed") << QByteArray(R"("x1": "-pi")") << "x1 -pi";
    QTest::newRow("a text the trace will refuse is kept") << QByteArray(R"("segments": "abc")") << "segments abc";
    QTest::newRow("an escaped letter") << QByteArray(R"("x": "\u0074")") << "x t";
    QTest::newRow("colour in upper case") << QByteArray(R"("color": "#E6FF0A")") << "colour 230 255 10";
    QTest::newRow("colour in lower case") << QByteArray(R"("color": "#00ff80")") << "colour 0 255 128";
    QTest::newRow("axes off") << QByteArray(R"("axes": false)") << "axes 0";
    QTest::newRow("dashed") << QByteArray(R"("dashed": true)") << "dashed 1";
    QTest::newRow("t-before as text") << QByteArray(R"("t-before": "6.25")") << "t 6.25";
    QTest::newRow("t-before as a number") << QByteArray(R"("t-before": -2.5e-3)") << "t -0.0025";
    QTest::newRow("t-before with an exponent") << QByteArray(R"("t-before": "1e-300")") << "t 1e-300";
    QTest::newRow("stopped after 0 points") << QByteArray(R"("stopped-after": 0)") << "stop 0";
    QTest::newRow("stopped after the last point") << QByteArray(R"("stopped-after": 1733)") << "stop 1733";
    QTest::newRow("a variable's value, as typed") << QByteArray(R"("k": "0,5*pi")") << "var 0 0,5*pi";
    QTest::newRow("the value of x, apart from the formula") << QByteArray(R"("x-value": "-2", "x": "t")")
                                                            << "var 4 -2";
    QTest::newRow("a slider's range") << QByteArray(R"("n-slider": ["-1", "1", "0.01"])") << "range 1 -1 1 0.01";
}

void TestLessonFormat::KeyValues()
{
    QFETCH(QByteArray, members);
    QFETCH(QString, checked);

    const LessonReading reading = ReadLesson(View(WithDrawn(members)));
    QVERIFY2(reading.Ok, reading.Problem.c_str());
    QCOMPARE(int(reading.Read.Drawn.size()), 1);
    const RecordedPress& press = reading.Read.Drawn.front();
    const QStringList words = checked.split(' ');
    const QString& what = words[0];
    if (what == "colour") {
        QCOMPARE(int(press.Press.CurveR), words[1].toInt());
        QCOMPARE(int(press.Press.CurveG), words[2].toInt());
        QCOMPARE(int(press.Press.CurveB), words[3].toInt());
    } else if (what == "axes") {
        QCOMPARE(press.Press.ShowAxes, words[1] == "1");
    } else if (what == "dashed") {
        QCOMPARE(press.Press.Dashed, words[1] == "1");
    } else if (what == "t") {
        QCOMPARE(press.Press.TBefore, words[1].toDouble());
    } else if (what == "stop") {
        QCOMPARE(press.StopAt, std::optional<std::size_t>(words[1].toULongLong()));
    } else if (what == "var") {
        QCOMPARE(QString::fromStdString(press.Press.Variables[words[1].toUInt()].Value), words[2]);
    } else if (what == "range") {
        const VariableTexts& range = press.Press.Variables[words[1].toUInt()];
        QCOMPARE(QString::fromStdString(range.Low), words[2]);
        QCOMPARE(QString::fromStdString(range.High), words[3]);
        QCOMPARE(QString::fromStdString(range.Step), words[4]);
    } else {
        bool found = false;
        for (const PressField& field : PressFields) {
            if (what == field.LessonKey) {
                QCOMPARE(QString::fromStdString(press.Press.Texts.*field.Text), words[1]);
                found = true;
            }
        }
        QVERIFY2(found, qPrintable(what));
    }
    // The panel was not named: it is the one at start.
    QVERIFY(reading.Read.Panel == StartPress());
}

void TestLessonFormat::MissingKeysAreTheStart()
{
    const Lesson lesson = Read(R"({"paramcurve-lesson": 1, "panel": {}, "drawn": [{}, {"x": "t"}]})");
    QVERIFY(lesson.Panel == StartPress());
    QCOMPARE(int(lesson.Drawn.size()), 2);
    QVERIFY(lesson.Drawn[0].Press == StartPress());
    QVERIFY(!lesson.Drawn[0].StopAt);
    TracePress onlyX = StartPress();
    onlyX.Texts.EquationX = "t";
    QVERIFY(lesson.Drawn[1].Press == onlyX);

    // Without "panel" and "drawn": the panel at start, nothing drawn.
    const Lesson bare = Read(R"({"paramcurve-lesson": 1})");
    QVERIFY(bare.Panel == StartPress());
    QVERIFY(bare.Drawn.empty());
}

void TestLessonFormat::UnknownKeysPassedOver()
{
    const Lesson lesson = Read(R"({"paramcurve-lesson": 1, "author": "Nováková", "future": [1, {"a": null}],
        "panel": {"x": "t", "a": 5, "stopped-after": "not a press drawn"},
        "drawn": [{"y": "t", "slider-k": {"value": 3}, "segments": "4"}]})");
    QCOMPARE(lesson.Panel.Texts.EquationX, std::string("t"));
    QCOMPARE(int(lesson.Drawn.size()), 1);
    QCOMPARE(lesson.Drawn[0].Press.Texts.EquationY, std::string("t"));
    QCOMPARE(lesson.Drawn[0].Press.Texts.Segments, std::string("4"));
}

// Every byte of a text, written and read back, in the formula, a variable's
// value and a slider's range alike: the toolkit drops a byte order mark at
// the start of a string it reads, and so must not meet one unescaped.
void TestLessonFormat::TextsComeBackWhole_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("a byte order mark first") << QByteArray("\xEF\xBB\xBF" "t");
    QTest::newRow("only a byte order mark") << QByteArray("\xEF\xBB\xBF");
    QTest::newRow("two byte order marks") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF" "2*t");
    QTest::newRow("a byte order mark within") << QByteArray("sin(\xEF\xBB\xBF" "t)");
    QTest::newRow("quotes and backslashes") << QByteArray(R"("t"\\"\")");
    QTest::newRow("Czech letters and a space within") << QByteArray("žluťoučký kůň");
}

void TestLessonFormat::TextsComeBackWhole()
{
    QFETCH(QByteArray, text);
    const std::string typed = text.toStdString();
    RecordedPress press{StartPress(), std::nullopt, {}};
    press.Press.Texts.EquationX = typed;
    press.Press.Variables[0].Value = typed;
    press.Press.Variables[1].Low = typed;
    Lesson lesson;
    lesson.Panel = press.Press;
    lesson.Drawn = {press};

    for (const LessonLayout layout : {LessonLayout::Indented, LessonLayout::Compact}) {
        const LessonReading back = ReadLesson(LessonText(lesson, layout));
        QVERIFY2(back.Ok, back.Problem.c_str());
        QCOMPARE(QByteArray::fromStdString(back.Read.Panel.Texts.EquationX), text);
        const TracePress& drawn = back.Read.Drawn.front().Press;
        QCOMPARE(QByteArray::fromStdString(drawn.Texts.EquationX), text);
        QCOMPARE(QByteArray::fromStdString(drawn.Variables[0].Value), text);
        QCOMPARE(QByteArray::fromStdString(drawn.Variables[1].Low), text);
    }
}

void TestLessonFormat::TBeforeComesBackExactly_data()
{
    QTest::addColumn<double>("t");
    QTest::newRow("zero") << 0.0;
    QTest::newRow("minus zero") << -0.0;
    QTest::newRow("after the circle") << 6.3460178506875468;
    QTest::newRow("a third") << 1.0 / 3.0;
    QTest::newRow("smallest denormal") << std::numeric_limits<double>::denorm_min();
    QTest::newRow("largest") << std::numeric_limits<double>::max();
    QTest::newRow("most negative") << -std::numeric_limits<double>::max();
}

void TestLessonFormat::TBeforeComesBackExactly()
{
    QFETCH(double, t);
    Lesson lesson;
    lesson.Panel.TBefore = t;
    lesson.Drawn = {RecordedPress{StartPress(), std::nullopt, {}}};
    lesson.Drawn[0].Press.TBefore = t;
    const Lesson back = Read(LessonText(lesson));
    QVERIFY(SameBits(back.Panel.TBefore, t));
    QCOMPARE(int(back.Drawn.size()), 1);
    QVERIFY(SameBits(back.Drawn[0].Press.TBefore, t));
    // The shortest text: no digit more than reading it back needs.
    const QString text = Text(ShortestText(t));
    QVERIFY(text.size() <= 24);
    QVERIFY(SameBits(text.toDouble(), t));
}

void TestLessonFormat::Refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem");

    const QByteArray good = R"({"paramcurve-lesson": 1, "drawn": [{"x": "t"}]})";
    QTest::newRow("empty file") << QByteArray() << "soubor je prázdný";
    QTest::newRow("only a byte-order mark and spaces") << QByteArray("\xEF\xBB\xBF  \n") << "soubor je prázdný";
    QTest::newRow("truncated") << good.left(good.size() - 5)
                               << "soubor končí předčasně, je zřejmě neúplný (text v uvozovkách není uzavřen)";
    QTest::newRow("truncated after a value") << good.left(good.size() - 2)
                                             << "soubor končí předčasně, je zřejmě neúplný (v poli chybí čárka nebo ])";
    QTest::newRow("malformed: a missing comma")
        << QByteArray("{\"paramcurve-lesson\": 1,\n \"panel\": {\"x\": \"t\" \"y\": \"t\"}}")
        << "soubor není platný JSON: v objektu chybí čárka nebo } (řádek 2, znak 21)";
    QTest::newRow("malformed: a single quote") << QByteArray("{'paramcurve-lesson': 1}")
                                               << "soubor není platný JSON: v objektu chybí čárka nebo } (řádek 1, znak 2)";
    QTest::newRow("a comma before the end") << QByteArray(R"({"paramcurve-lesson": 1,})")
                                            << "soubor není platný JSON: chybí hodnota (řádek 1, znak 25)";
    QTest::newRow("two documents") << QByteArray(R"({"paramcurve-lesson": 1} {})")
                                   << "soubor není platný JSON: za koncem lekce následuje další text (řádek 1, znak 26)";
    QTest::newRow("over 1 MiB") << QByteArray(R"({"paramcurve-lesson": 1, "x": ")") + QByteArray(1024 * 1024, 'a') + "\"}"
                                << "soubor je větší než 1 MiB";
    QTest::newRow("Windows-1250, not UTF-8") << QByteArray("{\"paramcurve-lesson\": 1, \"panel\": {\"x\": \"\x9Ei\"}}")
                                             << "soubor není text v kódování UTF-8";
    QTest::newRow("a NUL byte") << QByteArray("{\"paramcurve-lesson\": 1}\0", 25)
                                << "soubor obsahuje nulový bajt, není to text";
    QTest::newRow("a picture") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                               << "soubor obsahuje nulový bajt, není to text";
    QTest::newRow("an array, not an object") << QByteArray("[1, 2]")
                                             << "není to lekce programu paramcurve (chybí objekt { … })";
    QTest::newRow("another program's JSON") << QByteArray(R"({"name": "x"})")
                                            << "není to lekce programu paramcurve (chybí klíč \"paramcurve-lesson\")";
    QTest::newRow("a newer version") << QByteArray(R"({"paramcurve-lesson": 2, "drawn": "changed"})")
                                     << "lekci zapsala novější verze programu paramcurve (lekce verze 2; tato verze umí číst verzi 1)";
    QTest::newRow("version as text") << QByteArray(R"({"paramcurve-lesson": "1"})")
                                     << "klíč \"paramcurve-lesson\" má být číslo verze, 1";
    QTest::newRow("version 0") << QByteArray(R"({"paramcurve-lesson": 0})")
                               << "klíč \"paramcurve-lesson\" má být číslo verze, 1";
    QTest::newRow("version 1.5") << QByteArray(R"({"paramcurve-lesson": 1.5})")
                                 << "klíč \"paramcurve-lesson\" má být číslo verze, 1";
    QTest::newRow("panel not an object") << QByteArray(R"({"paramcurve-lesson": 1, "panel": []})")
                                         << "\"panel\" má být objekt { … }";
    QTest::newRow("drawn not an array") << QByteArray(R"({"paramcurve-lesson": 1, "drawn": {}})")
                                        << "\"drawn\" má být pole [ … ] kreslení";
    QTest::newRow("a press not an object") << QByteArray(R"({"paramcurve-lesson": 1, "drawn": [{}, "x"]})")
                                           << "kreslení 2 v \"drawn\" má být objekt { … }";
    QTest::newRow("a number where a text is expected") << WithDrawn(R"("segments": 100)")
                                                       << "kreslení 1 v \"drawn\", klíč \"segments\": má být text v uvozovkách";
    QTest::newRow("null where a text is expected") << QByteArray(R"({"paramcurve-lesson": 1, "panel": {"x1": null}})")
                                                   << "\"panel\", klíč \"x1\": má být text v uvozovkách";
    QTest::newRow("a text where true or false is expected") << WithDrawn(R"("axes": "true")")
                                                            << "kreslení 1 v \"drawn\", klíč \"axes\": má být true nebo false";
    QTest::newRow("a colour by name") << WithDrawn(R"("color": "red")")
                                      << "kreslení 1 v \"drawn\", klíč \"color\": má být barva ve tvaru #rrggbb";
    QTest::newRow("a colour of three digits") << WithDrawn(R"("color": "#00c")")
                                              << "kreslení 1 v \"drawn\", klíč \"color\": má být barva ve tvaru #rrggbb";
    QTest::newRow("a colour not hexadecimal") << WithDrawn(R"("color": "#0000g8")")
                                              << "kreslení 1 v \"drawn\", klíč \"color\": má být barva ve tvaru #rrggbb";
    QTest::newRow("a colour as R,G,B") << WithDrawn(R"("color": "0,0,200")")
                                       << "kreslení 1 v \"drawn\", klíč \"color\": má být barva ve tvaru #rrggbb";
    QTest::newRow("a colour as a number") << WithDrawn(R"("color": 200)")
                                          << "kreslení 1 v \"drawn\", klíč \"color\": má být barva ve tvaru #rrggbb";
    const QString tProblem = "kreslení 1 v \"drawn\", klíč \"t-before\": má být konečné číslo, např. \"6.28\"";
    QTest::newRow("t-before with a comma") << WithDrawn(R"("t-before": "6,28")") << tProblem;
    QTest::newRow("t-before infinite") << WithDrawn(R"("t-before": "inf")") << tProblem;
    QTest::newRow("t-before not a number") << WithDrawn(R"("t-before": "nan")") << tProblem;
    QTest::newRow("t-before a formula") << WithDrawn(R"("t-before": "2*pi")") << tProblem;
    QTest::newRow("t-before with a space") << WithDrawn(R"("t-before": " 1")") << tProblem;
    QTest::newRow("t-before beyond a double") << WithDrawn(R"("t-before": "1e400")") << tProblem;
    QTest::newRow("t-before true") << WithDrawn(R"("t-before": true)") << tProblem;
    const QString stopProblem = "kreslení 1 v \"drawn\", klíč \"stopped-after\": má být celé číslo od 0 do 1733";
    QTest::newRow("stopped after -1") << WithDrawn(R"("stopped-after": -1)") << stopProblem;
    QTest::newRow("stopped after 2.5") << WithDrawn(R"("stopped-after": 2.5)") << stopProblem;
    QTest::newRow("stopped after more than a press holds") << WithDrawn(R"("stopped-after": 1734)") << stopProblem;
    QTest::newRow("stopped after as text") << WithDrawn(R"("stopped-after": "5")") << stopProblem;
    QTest::newRow("a variable's value as a number") << WithDrawn(R"("k": 2)")
                                                    << "kreslení 1 v \"drawn\", klíč \"k\": má být text v uvozovkách";
    const QString rangeProblem = "kreslení 1 v \"drawn\", klíč \"r-slider\": má být tři texty v hranatých "
                                 "závorkách, např. [\"-10\", \"10\", \"0.1\"]";
    QTest::newRow("a range of two texts") << WithDrawn(R"("r-slider": ["-1", "1"])") << rangeProblem;
    QTest::newRow("a range of numbers") << WithDrawn(R"("r-slider": [-1, 1, 0.1])") << rangeProblem;
    QTest::newRow("a range as one text") << WithDrawn(R"("r-slider": "-1:1:0.1")") << rangeProblem;
    QTest::newRow("a text over 10000 bytes")
        << WithDrawn(R"("x": ")" + QByteArray(5000, 't') + QByteArray(2501, 'x').replace("x", "\xC5\xBE") + "\"")
        << "kreslení 1 v \"drawn\", klíč \"x\": text je delší než 10000 bajtů";
    QTest::newRow("a tab in a text") << WithDrawn(R"("x": "t\t")")
                                     << "kreslení 1 v \"drawn\", klíč \"x\": text obsahuje řídicí znak (U+0009)";
    QTest::newRow("an escaped NUL in a text") << WithDrawn(R"("y": "\u0000")")
                                              << "kreslení 1 v \"drawn\", klíč \"y\": text obsahuje řídicí znak (U+0000)";
    QTest::newRow("half a surrogate pair") << WithDrawn(R"("x": "\ud800")")
                                           << "kreslení 1 v \"drawn\", klíč \"x\": text obsahuje neplatný znak";

    QByteArray many = R"({"paramcurve-lesson": 1, "drawn": [)";
    for (int i = 0; i < 1001; ++i)
        many += i == 0 ? "{}" : ",{}";
    QTest::newRow("1001 presses") << many + "]}" << "lekce má 1001 kreslení, dovoleno je nejvýš 1000";
    QByteArray hundredThousand = R"({"paramcurve-lesson": 1, "drawn": [{})";
    for (int i = 1; i < 100000; ++i)
        hundredThousand += ",{}";
    QTest::newRow("100,000 presses") << hundredThousand + "]}" << "lekce má 100000 kreslení, dovoleno je nejvýš 1000";
    QTest::newRow("nested 100,000 deep")
        << QByteArray(R"({"paramcurve-lesson": 1, "x": )") + QByteArray(100000, '[') + QByteArray(100000, ']') + "}"
        << "soubor není platný JSON: příliš hluboké vnoření (řádek 1, znak 1054)";
}

// Refused whole with the reason, never in part.
void TestLessonFormat::Refused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);

    const LessonReading reading = ReadLesson(View(bytes));
    QVERIFY(!reading.Ok);
    QCOMPARE(Text(reading.Problem), problem);
    QVERIFY(reading.Read.Drawn.empty());
}

void TestLessonFormat::SaveRefusesWhatCouldNotBeRead_data()
{
    QTest::addColumn<int>("presses");
    QTest::addColumn<int>("textBytes");  // of the panel's x
    QTest::addColumn<QString>("control");  // put into the panel's y
    QTest::addColumn<QString>("problem");

    QTest::newRow("1000 presses") << 1000 << 8 << "" << "";
    QTest::newRow("1001 presses") << 1001 << 8 << "" << "lekce má 1001 kreslení, dovoleno je nejvýš 1000";
    QTest::newRow("a text of 10000 bytes") << 1 << 10000 << "" << "";
    QTest::newRow("a text a QLineEdit holds, beyond the cap")
        << 1 << 32767 << "" << "\"panel\", klíč \"x\": text je delší než 10000 bajtů";
    QTest::newRow("a pasted line break") << 1 << 8 << "t\nt" << "\"panel\", klíč \"y\": text obsahuje řídicí znak (U+000a)";
}

void TestLessonFormat::SaveRefusesWhatCouldNotBeRead()
{
    QFETCH(int, presses);
    QFETCH(int, textBytes);
    QFETCH(QString, control);
    QFETCH(QString, problem);

    Lesson lesson;
    lesson.Panel.Texts.EquationX = std::string(std::size_t(textBytes), 't');
    if (!control.isEmpty())
        lesson.Panel.Texts.EquationY = control.toStdString();
    lesson.Drawn.assign(std::size_t(presses), RecordedPress{StartPress(), std::nullopt, {}});
    std::string reason;
    const std::string text = SaveableLessonText(lesson, reason);
    QCOMPARE(Text(reason), problem);
    QCOMPARE(text.empty(), !problem.isEmpty());
    if (problem.isEmpty())
        QVERIFY(SameLesson(Read(text), lesson));
}

// 1000 presses with long formulas: indented it would pass 1 MiB, compact it
// fits and reads back; longer still, it is refused rather than written.
void TestLessonFormat::CompactWhenIndentedIsTooLarge()
{
    Lesson lesson;
    RecordedPress press{StartPress(), std::nullopt, {}};
    press.Press.Texts.EquationX = std::string(860, 't');
    lesson.Drawn.assign(1000, press);
    QVERIFY(std::size_t(LessonText(lesson).size()) > MaxLessonBytes);
    QVERIFY(std::size_t(LessonText(lesson, LessonLayout::Compact).size()) <= MaxLessonBytes);
    std::string problem;
    const QByteArray text = Bytes(SaveableLessonText(lesson, problem));
    QCOMPARE(Text(problem), QString());
    QVERIFY(!text.contains('\n'));
    QVERIFY(SameLesson(Read(View(text)), lesson));

    for (std::size_t i = 0; i < 50; ++i)
        lesson.Drawn[i].Press.Texts.EquationY = std::string(9000, 't');
    QCOMPARE(Bytes(SaveableLessonText(lesson, problem)), QByteArray());
    QCOMPARE(Text(problem), QString("soubor lekce by byl větší než 1 MiB"));
}

QTEST_GUILESS_MAIN(TestLessonFormat)
#include "test_lessonformat.moc"
