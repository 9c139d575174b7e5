#include "RenderOptions.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <algorithm>
#include <utility>
#include <vector>

#include "Presets.h"

namespace {

const QString ProgramName = QStringLiteral("paramcurve-render");

// One option: its names, the name of its value (empty for a switch) and what
// it does. The table gives both the parser and the help text.
struct OptionEntry {
    QStringList Names;
    QString ValueName;
    QString Description;
};

const std::vector<OptionEntry>& OptionTable()
{
    static const std::vector<OptionEntry> table{
        {{"x"}, "VZOREC", "Vzorec x(t), jako pole \"x =\" (výchozí 3*cos(t))."},
        {{"y"}, "VZOREC", "Vzorec y(t), jako pole \"y =\" (výchozí 3*sin(t))."},
        {{"x1"}, "VZOREC", "Levý okraj zorného pole (výchozí -4)."},
        {{"x2"}, "VZOREC", "Pravý okraj zorného pole (výchozí 4)."},
        {{"y1"}, "VZOREC", "Dolní okraj zorného pole (výchozí -4)."},
        {{"y2"}, "VZOREC", "Horní okraj zorného pole (výchozí 4)."},
        {{"t1"}, "VZOREC", "Počáteční hodnota parametru t (výchozí 0)."},
        {{"t2"}, "VZOREC", "Koncová hodnota parametru t (výchozí 2*pi)."},
        {{"segments"}, "N", "Počet segmentů, číslo jako v poli \"počet segmentů\" (výchozí 100)."},
        {{"no-axes"}, "", "Nekreslí osy (jako nezaškrtnuté \"ukaž osy\")."},
        {{"dashed"}, "", "Kreslí přerušovaně, jen každý druhý segment (\"přerušovat\")."},
        {{"color"}, "R,G,B", "Barva křivky, tři čísla 0 až 255 (výchozí 0,0,200)."},
        {{"preset"}, "JMÉNO",
         "Ukázková křivka: kruznice, sikmy-vrh, descartuv-list nebo draha-planety; "
         "ostatní volby přepíší její pole."},
        {{"o", "output"}, "SOUBOR.png", "Soubor, do kterého se uloží obrázek (PNG, 500 x 500)."},
        {{"points"}, "SOUBOR|-",
         "Uloží i nakreslené body jako CSV se sloupci t,x,y v pořadí kreslení; - je standardní výstup."},
        {{"h", "help"}, "", "Vypíše tuto nápovědu."},
        {{"v", "version"}, "", "Vypíše verzi programu."},
    };
    return table;
}

// "-o" for the short name of an option that also has a long one, else "--x".
QString DashedName(const OptionEntry& entry, const QString& name)
{
    return name.size() == 1 && entry.Names.size() > 1 ? "-" + name : "--" + name;
}

QString OptionSynopsis(const OptionEntry& entry)
{
    QStringList names;
    for (const QString& name : entry.Names)
        names << DashedName(entry, name);
    QString synopsis = names.join(", ");
    if (!entry.ValueName.isEmpty())
        synopsis += ' ' + entry.ValueName;
    return synopsis;
}

QString HelpText()
{
    QString text = UsageLine() + "\n\n"
                   "Nakreslí parametrickou křivku stejně jako tlačítko \"Kresli\", bez okna,\n"
                   "a uloží rovinu 500 x 500 jako obrázek PNG.\n\nVolby:\n";
    qsizetype width = 0;
    for (const OptionEntry& entry : OptionTable())
        width = std::max(width, OptionSynopsis(entry).size());
    for (const OptionEntry& entry : OptionTable())
        text += "  " + OptionSynopsis(entry).leftJustified(width + 2) + entry.Description + '\n';
    text += "\nNávratový kód: 0 hotovo; 1 chyba ve vzorci, v zadání nebo chyba výpočtu\n"
            "(obrázek se uloží, jak byl nakreslen); 2 chybné použití; 3 soubor nelze zapsat.\n";
    return text;
}

// Text for a roff line: backslashes and hyphens escaped, and a leading
// period or quote kept from being read as a request.
QString RoffText(QString text)
{
    text.replace('\\', QStringLiteral("\\e")).replace('-', QStringLiteral("\\-"));
    if (text.startsWith('.') || text.startsWith('\''))
        text.prepend(QStringLiteral("\\&"));
    return text;
}

// The option table as the entries of a man page's option list, the same
// names, values and descriptions as the help text.
QString ManOptionList()
{
    QString text;
    for (const OptionEntry& entry : OptionTable()) {
        QStringList names;
        for (const QString& name : entry.Names)
            names << "\\fB" + RoffText(DashedName(entry, name)) + "\\fR";
        QString tag = names.join(", ");
        if (!entry.ValueName.isEmpty())
            tag += " \\fI" + RoffText(entry.ValueName) + "\\fR";
        text += ".TP\n" + tag + '\n' + RoffText(entry.Description) + '\n';
    }
    return text;
}

ParsedCommandLine BadUsage(QString text)
{
    ParsedCommandLine parsed;
    parsed.Command = RenderCommand::BadUsage;
    parsed.Text = std::move(text);
    return parsed;
}

// A Czech description of what the parser refused.
QString ParseFailure(const QCommandLineParser& parser, const QStringList& arguments)
{
    if (!parser.unknownOptionNames().isEmpty())
        return "Neznámá volba: " + parser.unknownOptionNames().first();
    // A value option given last has nothing to take.
    const QString last = arguments.size() > 1 ? arguments.last() : QString();
    for (const OptionEntry& entry : OptionTable()) {
        for (const QString& name : entry.Names) {
            if (!entry.ValueName.isEmpty() && (last == "-" + name || last == "--" + name))
                return "Volba " + last + " potřebuje hodnotu " + entry.ValueName;
        }
    }
    return "Chybné použití: " + parser.errorText();
}

}  // namespace

TraceTexts PanelStartTexts()
{
    TraceTexts texts;
    texts.EquationX = "3*cos(t)";
    texts.EquationY = "3*sin(t)";
    texts.X1 = "-4";
    texts.X2 = "4";
    texts.Y1 = "-4";
    texts.Y2 = "4";
    texts.T1 = "0";
    texts.T2 = "2*pi";
    texts.Segments = "100";
    return texts;
}

QString UsageLine()
{
    return "Použití: " + ProgramName + " [volby] -o SOUBOR.png";
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
    QCommandLineParser parser;
    // "-x1" is the option x1, never -x with the value 1.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionEntry& entry : OptionTable()) {
        QCommandLineOption option(entry.Names, entry.Description);
        if (!entry.ValueName.isEmpty())
            option.setValueName(entry.ValueName);
        parser.addOption(option);
    }
    // Not in the table, so not in the help: the build runs it for the manual.
    parser.addOption(QCommandLineOption(QStringLiteral("man-options")));
    if (!parser.parse(arguments))
        return BadUsage(ParseFailure(parser, arguments));

    ParsedCommandLine parsed;
    if (parser.isSet("help")) {
        parsed.Command = RenderCommand::Help;
        parsed.Text = HelpText();
        return parsed;
    }
    if (parser.isSet("version")) {
        parsed.Command = RenderCommand::Version;
        parsed.Text = ProgramName + ' ' + QStringLiteral(PARAMCURVE_VERSION) + '\n';
        return parsed;
    }
    if (parser.isSet("man-options")) {
        parsed.Command = RenderCommand::ManOptions;
        parsed.Text = ManOptionList();
        return parsed;
    }
    if (!parser.positionalArguments().isEmpty())
        return BadUsage("Nadbytečný argument: " + parser.positionalArguments().first());

    RenderRequest& request = parsed.Request;
    request.Texts = PanelStartTexts();
    if (parser.isSet("preset")) {
        const CurvePreset* preset = FindPreset(parser.value("preset").toStdString());
        if (!preset)
            return BadUsage("Neznámá ukázková křivka: " + parser.value("preset"));
        request.Texts.EquationX = preset->x;
        request.Texts.EquationY = preset->y;
        request.Texts.X1 = preset->X1;
        request.Texts.X2 = preset->X2;
        request.Texts.Y1 = preset->Y1;
        request.Texts.Y2 = preset->Y2;
        request.Texts.T1 = preset->T1;
        request.Texts.T2 = preset->T2;
    }

    const std::pair<const char*, std::string*> fields[] = {
        {"x", &request.Texts.EquationX}, {"y", &request.Texts.EquationY},
        {"x1", &request.Texts.X1},       {"x2", &request.Texts.X2},
        {"y1", &request.Texts.Y1},       {"y2", &request.Texts.Y2},
        {"t1", &request.Texts.T1},       {"t2", &request.Texts.T2},
        {"segments", &request.Texts.Segments},
    };
    for (const auto& [name, text] : fields) {
        if (parser.isSet(name))
            *text = parser.value(name).toStdString();
    }

    request.ShowAxes = !parser.isSet("no-axes");
    request.Dashed = parser.isSet("dashed");
    if (parser.isSet("color")
        && !ParseColour(parser.value("color"), request.CurveR, request.CurveG, request.CurveB))
        return BadUsage("Barva musí být R,G,B, tři čísla od 0 do 255: " + parser.value("color"));

    request.OutputPath = parser.value("output");
    if (request.OutputPath.isEmpty())
        return BadUsage("Chybí soubor obrázku: -o SOUBOR.png");
    request.PointsPath = parser.value("points");
    if (parser.isSet("points") && request.PointsPath.isEmpty())
        return BadUsage("Volba --points potřebuje SOUBOR nebo -");
    return parsed;
}
