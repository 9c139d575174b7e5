// SPDX-License-Identifier: GPL-3.0-or-later
#include "RenderOptions.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "OutputFile.h"
#include "PngWriter.h"
#include "Presets.h"
#include "RealArith.h"
#include "RenderOptionTable.h"

namespace {

// What the option of each of the nine fields sets, before its start text.
QString FieldHelp(InputField field)
{
    switch (field) {
    case InputField::EquationX: return QStringLiteral("Vzorec x(t), jako pole \"x =\"");
    case InputField::EquationY: return QStringLiteral("Vzorec y(t), jako pole \"y =\"");
    case InputField::X1: return QStringLiteral("Levý okraj zorného pole");
    case InputField::X2: return QStringLiteral("Pravý okraj zorného pole");
    case InputField::Y1: return QStringLiteral("Dolní okraj zorného pole");
    case InputField::Y2: return QStringLiteral("Horní okraj zorného pole");
    case InputField::T1: return QStringLiteral("Počáteční hodnota parametru t");
    case InputField::T2: return QStringLiteral("Koncová hodnota parametru t");
    case InputField::Segments: return QStringLiteral("Počet segmentů, číslo jako v poli \"počet segmentů\"");
    case InputField::None:
    case InputField::VariableK:
    case InputField::VariableN:
    case InputField::VariableR:
    case InputField::VariableS:
    case InputField::VariableX:
    case InputField::VariableY:
    case InputField::VariableZ:
        break;
    }
    return QString();
}

}  // namespace

const std::vector<OptionEntry>& OptionTable()
{
    static const std::vector<OptionEntry> table = [] {
        std::vector<OptionEntry> entries;
        for (const PressField& field : PressFields) {
            entries.push_back({{QString::fromLatin1(field.OptionName)},
                               field.Field == InputField::Segments ? "N" : "VZOREC",
                               FieldHelp(field.Field) + " (výchozí " + QString::fromUtf8(field.StartText) + ")."});
        }
        const std::vector<OptionEntry> others{
            {{"no-axes"}, "", "Nekreslí osy (jako nezaškrtnuté \"ukaž osy\")."},
            {{"dashed"}, "", "Kreslí přerušovaně, jen každý druhý segment (\"přerušovat\")."},
            {{"color"}, "R,G,B", "Barva křivky, tři čísla 0 až 255 (výchozí 0,0,200)."},
            {{"preset"}, "JMÉNO",
             "Ukázková křivka: kruznice, sikmy-vrh, descartuv-list nebo draha-planety; "
             "ostatní volby přepíší její pole."},
            {{"o", "output"}, "SOUBOR",
             "Soubor, do kterého se uloží rovina 500 x 500. Formát určí přípona: .png obrázek, "
             ".gif animace kreslení krok po kroku, .svg a .pdf vektorový obrázek; jiná přípona "
             "nebo žádná (i -, standardní výstup) PNG."},
            {{"format"}, "FORMÁT", "Formát bez ohledu na příponu: png, gif, svg nebo pdf."},
            {{"loop"}, "N",
             "Kolikrát se animace GIF přehraje: 1 až 65536; 0 nebo bez volby stále dokola."},
            {{"scale"}, "K",
             "Zvětšení obrázku PNG: 1, 2 nebo 4 (výchozí 1); každý bod roviny bude čtverec K x K bodů, "
             "bez vyhlazení, pro pracovní list tištěný větší."},
            {{"set"}, "PROMĚNNÁ=HODNOTA",
             "Hodnota proměnné k, n, r, s, x, y nebo z (výchozí 0), jako v okně \"Proměnné\": vzorec z čísel, "
             "pi a funkcí bez proměnných, např. --set k=2 nebo --set r=pi/2. Lze zadat pro každou proměnnou "
             "jednou.",
             true},
            {{"sweep"}, "PROMĚNNÁ=OD:DO:KROK",
             "Projde hodnoty proměnné od OD do DO po KROKU (vzorce jako u --set, nejvýš 10000 hodnot) jako "
             "\"Animovat\": GIF má jeden snímek celé křivky pro každou hodnotu, PNG, SVG a PDF ukážou poslední "
             "hodnotu, --points body poslední hodnoty."},
            {{"family"}, "", "S --sweep zůstanou na rovině křivky všech hodnot (\"ponechat stopu\")."},
            {{"points"}, "SOUBOR|-",
             "Uloží i nakreslené body jako CSV se sloupci t,x,y v pořadí kreslení (u lekce body všech "
             "kreslení za sebou); - je standardní výstup."},
            {{"save-lesson"}, "SOUBOR",
             "Uloží i lekci toho, co se nakreslilo (soubor .paramcurve pro okno programu i pro tento "
             "program); skončí-li kreslení předčasně, skončí tak i v lekci."},
            {{"timeout"}, "SEKUNDY",
             "Ukončí kreslení, které trvá déle (kladné číslo nejvýš 1000000, výchozí bez omezení); "
             "obrázek se uloží, jak byl nakreslen."},
            {{"h", "help"}, "", "Vypíše tuto nápovědu."},
            {{"v", "version"}, "", "Vypíše verzi programu."},
        };
        entries.insert(entries.end(), others.begin(), others.end());
        return entries;
    }();
    return table;
}

namespace {

ParsedCommandLine BadUsage(QString text)
{
    ParsedCommandLine parsed;
    parsed.Command = RenderCommand::BadUsage;
    parsed.Text = std::move(text);
    return parsed;
}

const OptionEntry* FindOption(const QString& name)
{
    for (const OptionEntry& entry : OptionTable()) {
        if (entry.Names.contains(name))
            return &entry;
    }
    return nullptr;
}

// The options as given, by each option's last name in the table, and the
// arguments that are no option.
struct GivenOptions {
    std::map<QString, QString> Values;
    std::map<QString, QStringList> Repeated;
    QStringList Switches;
    QStringList Files;
};

// Each option as "--name", "-name", "--name=value" or "-name=value"; a value
// option takes the next argument whatever it looks like, so "--x1 -4" is the
// bound -4. Everything after "--" is a file. False with the reason for
// anything else.
bool ReadOptions(const QStringList& arguments, GivenOptions& given, QString& problem)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--")) {
            given.Files << arguments.mid(i + 1);
            break;
        }
        if (argument == QLatin1String("-")) {
            problem = "Nadbytečný argument: " + DisplayedPath(argument);
            return false;
        }
        if (!argument.startsWith(u'-')) {
            given.Files << argument;
            continue;
        }
        const qsizetype dashes = argument.startsWith(QLatin1String("--")) ? 2 : 1;
        const qsizetype equals = argument.indexOf(u'=');
        const QString spelled = equals < 0 ? argument : argument.left(equals);
        const OptionEntry* entry = FindOption(spelled.mid(dashes));
        if (!entry) {
            problem = "Neznámá volba: " + DisplayedPath(spelled);
            return false;
        }
        const QString key = entry->Names.last();
        if (entry->ValueName.isEmpty()) {
            if (equals >= 0) {
                problem = "Volba " + spelled + " nemá hodnotu";
                return false;
            }
            given.Switches << key;
            continue;
        }
        QString value;
        if (equals >= 0) {
            value = argument.mid(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            problem = "Volba " + spelled + " potřebuje hodnotu " + entry->ValueName;
            return false;
        }
        if (entry->Repeatable) {
            given.Repeated[key] << value;
            continue;
        }
        if (given.Values.count(key) != 0) {
            problem = "Volba " + spelled + " je zadána dvakrát";
            return false;
        }
        given.Values[key] = value;
    }
    return true;
}

// A value of --timeout: a plain decimal number of seconds.
bool ParseTimeout(const QString& text, double& seconds)
{
    static const QRegularExpression number(QStringLiteral("^[0-9]+([.,][0-9]+)?$"));
    if (!number.match(text).hasMatch())
        return false;
    QString decimal = text;
    decimal.replace(u',', u'.');
    bool ok = false;
    seconds = decimal.toDouble(&ok);
    return ok && seconds > 0.0 && seconds <= 1e6;
}

// A value of --loop: plain digits, 0 (forever) to MaxGifPlays.
bool ParsePlays(const QString& text, int& plays)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,6}$"));
    if (!digits.match(text).hasMatch())
        return false;
    plays = text.toInt();
    return plays <= MaxGifPlays;
}

// A value of --scale: one of PngScales, as plain digits.
bool ParseScale(const QString& text, int& scale)
{
    for (const int offered : PngScales) {
        if (text == QString::number(offered)) {
            scale = offered;
            return true;
        }
    }
    return false;
}

// The first option given that sets an input of the press ("--x1",
// "--preset", …), or empty.
QString CurveOptionGiven(const GivenOptions& given)
{
    QStringList curve;
    for (const PressField& field : PressFields)
        curve << QString::fromLatin1(field.OptionName);
    curve << QStringLiteral("preset") << QStringLiteral("color") << QStringLiteral("sweep");
    for (const QString& name : curve) {
        if (given.Values.count(name) != 0)
            return "--" + name;
    }
    if (given.Repeated.count(QStringLiteral("set")) != 0)
        return QStringLiteral("--set");
    for (const char* name : {"no-axes", "dashed", "family"}) {
        if (given.Switches.contains(QLatin1String(name)))
            return "--" + QString::fromLatin1(name);
    }
    return QString();
}

// The variable a --set or --sweep names before its "=": one of k n r s x y
// z, in either case. False with the reason.
bool ReadVariableName(const QString& option, const QString& given, const QString& shape, std::size_t& index,
                      QString& rest, QString& problem)
{
    const qsizetype equals = given.indexOf(u'=');
    const QString name = equals < 0 ? QString() : given.left(equals).toLower();
    if (name == QLatin1String("t")) {
        problem = "Volba " + option + ": t je parametr křivky, ne proměnná; proměnné jsou k, n, r, s, x, y a z";
        return false;
    }
    for (std::size_t i = 0; i < VariableCount; ++i) {
        if (name.size() == 1 && name[0] == QChar::fromLatin1(PressVariables[i].Letter)) {
            index = i;
            rest = given.mid(equals + 1);
            return true;
        }
    }
    problem = "Volba " + option + " potřebuje " + shape + " s proměnnou k, n, r, s, x, y nebo z: " +
              DisplayedPath(given);
    return false;
}

// A value as the window reads it; false with the engine's message or the
// fault's, after the option and what was given.
bool ReadValue(const QString& option, const QString& given, const QString& text, double& value, QString& problem)
{
    PlotState scratch;
    std::string message;
    try {
        if (EvaluateValue(scratch, text.toStdString(), value, message))
            return true;
    } catch (const FloatFault& fault) {
        message = FaultText(fault);
    }
    problem = "Volba " + option + ": " + DisplayedPath(given) + ": " + QString::fromStdString(message);
    return false;
}

// Every --set: one value per variable, kept as typed.
bool ReadSets(const QStringList& sets, TracePress& press, std::array<bool, VariableCount>& seen, QString& problem)
{
    for (const QString& given : sets) {
        std::size_t index = 0;
        QString text;
        if (!ReadVariableName("--set", given, "PROMĚNNÁ=HODNOTA", index, text, problem))
            return false;
        if (seen[index]) {
            problem = "Volba --set: proměnná " + QString(QChar::fromLatin1(PressVariables[index].Letter)) +
                      " je zadána dvakrát";
            return false;
        }
        seen[index] = true;
        double value = 0.0;
        if (!ReadValue("--set", given, text, value, problem))
            return false;
        press.Variables[index].Value = text.toStdString();
    }
    return true;
}

// --sweep PROMĚNNÁ=OD:DO:KROK, read as the window reads a slider's range;
// the press carries the range, and the first value until the frames begin.
bool ReadSweep(const QString& given, bool familySet, const std::array<bool, VariableCount>& set, TracePress& press,
               std::optional<RenderSweep>& sweep, QString& problem)
{
    std::size_t index = 0;
    QString range;
    if (!ReadVariableName("--sweep", given, "PROMĚNNÁ=OD:DO:KROK", index, range, problem))
        return false;
    const QStringList parts = range.split(u':');
    if (parts.size() != 3) {
        problem = "Volba --sweep potřebuje PROMĚNNÁ=OD:DO:KROK: " + DisplayedPath(given);
        return false;
    }
    VariableTexts& texts = press.Variables[index];
    if (set[index]) {
        problem = "Volba --sweep: proměnná " + QString(QChar::fromLatin1(PressVariables[index].Letter)) +
                  " je zadána i volbou --set";
        return false;
    }
    texts.Low = parts[0].toStdString();
    texts.High = parts[1].toStdString();
    texts.Step = parts[2].toStdString();
    PlotState scratch;
    RenderSweep read;
    read.Variable = index;
    read.Family = familySet;
    std::string message;
    try {
        if (!ReadSliderRange(scratch, texts, read.Range, message))
            problem = "Volba --sweep: " + DisplayedPath(given) + ": " + QString::fromStdString(message);
    } catch (const FloatFault& fault) {
        problem = "Volba --sweep: " + DisplayedPath(given) + ": " + QString::fromStdString(FaultText(fault));
    }
    if (!problem.isEmpty())
        return false;
    texts.Value = FormulaText(SweepValue(read.Range, 0));
    sweep = read;
    return true;
}

}  // namespace

QString UsageLine()
{
    return "Použití: " + QString::fromLatin1(RenderProgramName) + " [volby] [LEKCE.paramcurve] -o SOUBOR.png|gif|svg|pdf";
}

bool ParseColour(const QString& text, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue)
{
    const QStringList parts = text.split(',');
    if (parts.size() != 3)
        return false;
    int values[3];
    for (int i = 0; i < 3; ++i) {
        const QString part = parts[i].trimmed();
        bool ok = false;
        values[i] = part.toInt(&ok, 10);
        // toInt accepts a sign; a colour byte is plain digits.
        if (!ok || part.isEmpty() || !part[0].isDigit() || values[i] < 0 || values[i] > 255)
            return false;
    }
    red = static_cast<std::uint8_t>(values[0]);
    green = static_cast<std::uint8_t>(values[1]);
    blue = static_cast<std::uint8_t>(values[2]);
    return true;
}

ParsedCommandLine ParseRenderCommandLine(const QStringList& arguments)
{
    // Not in the table, so not in the help: the build runs it for the manual.
    if (arguments.size() == 2 && arguments[1] == QLatin1String("--man-options")) {
        ParsedCommandLine parsed;
        parsed.Command = RenderCommand::ManOptions;
        parsed.Text = ManOptionList();
        return parsed;
    }
    GivenOptions given;
    QString problem;
    if (!ReadOptions(arguments, given, problem))
        return BadUsage(problem);
    const QStringList& switches = given.Switches;
    const auto isSet = [&given](const char* name) { return given.Values.count(QString::fromLatin1(name)) != 0; };
    const auto value = [&given](const char* name) {
        const auto found = given.Values.find(QString::fromLatin1(name));
        return found == given.Values.end() ? QString() : found->second;
    };

    ParsedCommandLine parsed;
    if (switches.contains(QLatin1String("help"))) {
        parsed.Command = RenderCommand::Help;
        parsed.Text = HelpText();
        return parsed;
    }
    if (switches.contains(QLatin1String("version"))) {
        parsed.Command = RenderCommand::Version;
        parsed.Text = QString::fromLatin1(RenderProgramName) + ' ' + QStringLiteral(PARAMCURVE_VERSION) + '\n';
        return parsed;
    }

    RenderRequest& request = parsed.Request;
    if (given.Files.size() > 1)
        return BadUsage("Nadbytečný argument: " + DisplayedPath(given.Files[1]));
    if (!given.Files.isEmpty()) {
        request.LessonPath = given.Files.front();
        // The lesson holds every input of every press.
        if (const QString curve = CurveOptionGiven(given); !curve.isEmpty())
            return BadUsage("Lekci nelze kreslit s volbou " + curve + "; lekce určuje všechna pole sama");
    }
    TracePress& press = request.Press;
    press = StartPress();
    if (isSet("preset")) {
        const CurvePreset* preset = FindPreset(value("preset").toStdString());
        if (!preset)
            return BadUsage("Neznámá ukázková křivka: " + DisplayedPath(value("preset")));
        ApplyPreset(press.Texts, *preset);
    }
    for (const PressField& field : PressFields) {
        if (isSet(field.OptionName))
            press.Texts.*field.Text = value(field.OptionName).toStdString();
    }

    std::array<bool, VariableCount> set{};
    const auto sets = given.Repeated.find(QStringLiteral("set"));
    if (sets != given.Repeated.end() && !ReadSets(sets->second, press, set, problem))
        return BadUsage(problem);
    const bool family = switches.contains(QLatin1String("family"));
    if (isSet("sweep") && !ReadSweep(value("sweep"), family, set, press, request.Sweep, problem))
        return BadUsage(problem);
    if (family && !request.Sweep)
        return BadUsage("Volba --family platí jen s volbou --sweep");

    press.ShowAxes = !switches.contains(QLatin1String("no-axes"));
    press.Dashed = switches.contains(QLatin1String("dashed"));
    if (isSet("color") && !ParseColour(value("color"), press.CurveR, press.CurveG, press.CurveB))
        return BadUsage("Barva musí být R,G,B, tři čísla od 0 do 255: " + DisplayedPath(value("color")));
    if (isSet("timeout") && !ParseTimeout(value("timeout"), request.TimeoutSeconds))
        return BadUsage("Volba --timeout potřebuje počet sekund, kladné číslo nejvýš 1000000: "
                        + DisplayedPath(value("timeout")));

    request.OutputPath = value("output");
    if (request.OutputPath.isEmpty())
        return BadUsage("Chybí soubor obrázku: -o SOUBOR");
    // By the extension, and PNG for any other name, as "-" and /dev/stdout
    // always were.
    request.Format = PictureFormatOfPath(request.OutputPath).value_or(PictureFormat::Png);
    if (isSet("format")) {
        const std::optional<PictureFormat> format = PictureFormatNamed(value("format"));
        if (!format)
            return BadUsage("Neznámý formát: " + DisplayedPath(value("format")) + "; zvolte png, gif, svg nebo pdf");
        request.Format = *format;
    }
    if (isSet("loop")) {
        if (!ParsePlays(value("loop"), request.Plays))
            return BadUsage("Volba --loop potřebuje počet přehrání, celé číslo od 0 do 65536: "
                            + DisplayedPath(value("loop")));
        if (request.Format != PictureFormat::Gif)
            return BadUsage("Volba --loop platí jen pro animaci GIF");
    }
    if (isSet("scale")) {
        if (!ParseScale(value("scale"), request.Scale))
            return BadUsage("Volba --scale potřebuje zvětšení 1, 2 nebo 4: " + DisplayedPath(value("scale")));
        if (request.Format != PictureFormat::Png)
            return BadUsage("Volba --scale platí jen pro obrázek PNG");
    }
    request.PointsPath = value("points");
    if (isSet("points") && request.PointsPath.isEmpty())
        return BadUsage("Volba --points potřebuje SOUBOR nebo -");
    if (isSet("points") && SameOutputFile(request.OutputPath, request.PointsPath))
        return BadUsage("Obrázek a body nelze zapsat do téhož souboru: " + DisplayedPath(request.PointsPath));
    request.SaveLessonPath = value("save-lesson");
    if (isSet("save-lesson")) {
        if (request.SaveLessonPath.isEmpty())
            return BadUsage("Volba --save-lesson potřebuje SOUBOR");
        if (SameOutputFile(request.OutputPath, request.SaveLessonPath))
            return BadUsage("Obrázek a lekci nelze zapsat do téhož souboru: " + DisplayedPath(request.SaveLessonPath));
        if (isSet("points") && SameOutputFile(request.PointsPath, request.SaveLessonPath))
            return BadUsage("Body a lekci nelze zapsat do téhož souboru: " + DisplayedPath(request.SaveLessonPath));
    }
    // The lesson is read whole before anything is written, but a picture
    // over it would still lose it; writing it again (--save-lesson) is fine.
    if (!request.LessonPath.isEmpty()) {
        for (const QString& output : {request.OutputPath, request.PointsPath}) {
            if (!output.isEmpty() && SameOutputFile(request.LessonPath, output))
                return BadUsage("Do souboru lekce, která se kreslí, nelze zapsat obrázek ani body: "
                                + DisplayedPath(output));
        }
    }
    return parsed;
}

bool DecodeArguments(int argc, const char* const* argv, QStringList& arguments, QString& problem)
{
    arguments.clear();
    for (int i = 0; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        // A fresh decoder each time: the mark is kept at the start of every
        // argument, and an error in one does not stick to the next.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        const QString text = decoder.decode(bytes);
        if (i > 0 && (decoder.hasError() || text.toUtf8() != bytes)) {
            QString shown;
            for (const char byte : bytes) {
                const auto code = static_cast<unsigned char>(byte);
                shown += code >= 0x20 && code < 0x7F ? QString(QChar(code))
                                                     : QStringLiteral("\\x%1").arg(code, 2, 16, QLatin1Char('0'));
            }
            problem = "Argument není platný text v kódování UTF-8: " + shown;
            return false;
        }
        arguments << text;
    }
    return true;
}

QString OptionOf(InputField field)
{
    const PressField* entry = FindPressField(field);
    return entry ? "--" + QString::fromLatin1(entry->OptionName) : QString();
}
