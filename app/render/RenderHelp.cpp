// SPDX-License-Identifier: GPL-3.0-or-later
// The help text and the manual page's option list, both made from the option
// table.
#include <algorithm>

#include "RenderOptionTable.h"
#include "RenderOptions.h"

namespace {

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

// The words of `text` in lines of at most `width` characters (a longer word
// stands alone), every line after the first indented by `indent`.
QString Wrapped(const QString& text, qsizetype indent, qsizetype width)
{
    QString wrapped;
    qsizetype lineLength = 0;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (lineLength > 0 && lineLength + 1 + word.size() > width) {
            wrapped += '\n' + QString(indent, u' ');
            lineLength = 0;
        } else if (lineLength > 0) {
            wrapped += ' ';
            ++lineLength;
        }
        wrapped += word;
        lineLength += word.size();
    }
    return wrapped;
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

}  // namespace

QString HelpText()
{
    QString text = UsageLine() + "\n\n" +
                   Wrapped("Nakreslí parametrickou křivku stejně jako tlačítko \"Kresli\", bez okna, a uloží "
                           "rovinu 500 x 500: jako obrázek PNG, jako animaci GIF, která ukazuje kreslení krok "
                           "po kroku jako okno (snímek po každém kroku na 50 ms, poslední na 2 s), nebo "
                           "vektorově jako SVG nebo PDF. Formát určí přípona souboru nebo volba --format.",
                           0, 79) +
                   "\n\n" +
                   Wrapped("S lekcí (soubor .paramcurve z \"Uložit lekci…\" nebo z --save-lesson) nakreslí "
                           "všechna její kreslení po řadě, tak jak je ukáže okno po otevření lekce; animace "
                           "GIF ukáže každé kreslení krok po kroku. Volby křivky (--x až --segments, "
                           "--no-axes, --dashed, --color, --preset) se s lekcí nezadávají. Chyba ve vzorci "
                           "některého kreslení se vypíše s jeho pořadím a klíčem, např. Kreslení 2, \"x\": "
                           "Dělení nulou; kreslení, které uživatel zastavil, skončí na stejném místě a chybou "
                           "není.",
                           0, 79) +
                   "\n\nVolby:\n";
    qsizetype width = 0;
    for (const OptionEntry& entry : OptionTable())
        width = std::max(width, OptionSynopsis(entry).size());
    // Descriptions in a column beside the names, within 80 columns.
    const qsizetype column = 2 + width + 2;
    for (const OptionEntry& entry : OptionTable())
        text += "  " + OptionSynopsis(entry).leftJustified(width + 2) +
                Wrapped(entry.Description, column, 79 - column) + '\n';
    text += "\n" +
            Wrapped("Soubory: symbolický odkaz se sleduje a zapíše se jeho cíl. Obyčejný soubor se zapíše "
                    "celý, nebo vůbec ne (přes dočasný soubor ve stejné složce); nový dostane obvyklá "
                    "práva, přepsaný si ponechá svá. Do roury a znakového zařízení (/dev/null, "
                    "/dev/stdout) se píše přímo. Složku, soket ani blokové zařízení program nezapíše. "
                    "Obrázek, body a lekci nelze zapsat do téhož souboru. Ctrl+C, SIGTERM a SIGHUP ukončí kreslení "
                    "jako --timeout.",
                    0, 79) +
            "\n\n" +
            Wrapped("Návratový kód: 0 hotovo; 1 chyba ve vzorci, v zadání nebo chyba výpočtu, --timeout, "
                    "Ctrl+C, SIGTERM nebo SIGHUP (obrázek se uloží, jak byl nakreslen, animace končí posledním "
                    "nakresleným krokem); 2 chybné použití nebo lekce, kterou nelze přečíst (nic se nezapíše); "
                    "3 soubor nelze zapsat.",
                    0, 79) +
            '\n';
    return text;
}

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

