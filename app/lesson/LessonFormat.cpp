// SPDX-License-Identifier: GPL-3.0-or-later
#include "LessonFormat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QStringDecoder>

#include <cmath>
#include <cstdio>

#include "LessonKeys.h"

namespace {

const QString VersionKey = QStringLiteral("paramcurve-lesson");
const QString PanelKey = QStringLiteral("panel");
const QString DrawnKey = QStringLiteral("drawn");
const QByteArray ByteOrderMark("\xEF\xBB\xBF");

LessonReading Refused(const QString& problem)
{
    LessonReading reading;
    reading.Problem = problem;
    return reading;
}

QString Quoted(const QString& key)
{
    return u'"' + key + u'"';
}

QString JsonErrorText(QJsonParseError::ParseError error)
{
    switch (error) {
    case QJsonParseError::UnterminatedObject: return QStringLiteral("v objektu chybí čárka nebo }");
    case QJsonParseError::MissingNameSeparator: return QStringLiteral("za klíčem chybí dvojtečka");
    case QJsonParseError::UnterminatedArray: return QStringLiteral("v poli chybí čárka nebo ]");
    case QJsonParseError::MissingValueSeparator: return QStringLiteral("mezi hodnotami chybí čárka");
    case QJsonParseError::IllegalValue: return QStringLiteral("neplatná hodnota");
    case QJsonParseError::TerminationByNumber: return QStringLiteral("text končí uprostřed čísla");
    case QJsonParseError::IllegalNumber: return QStringLiteral("neplatné číslo");
    case QJsonParseError::IllegalEscapeSequence: return QStringLiteral("neplatná sekvence se zpětným lomítkem");
    case QJsonParseError::IllegalUTF8String: return QStringLiteral("neplatný znak v textu");
    case QJsonParseError::UnterminatedString: return QStringLiteral("text v uvozovkách není uzavřen");
    case QJsonParseError::MissingObject: return QStringLiteral("chybí hodnota");
    case QJsonParseError::DeepNesting: return QStringLiteral("příliš hluboké vnoření");
    case QJsonParseError::DocumentTooLarge: return QStringLiteral("příliš velký dokument");
    case QJsonParseError::GarbageAtEnd: return QStringLiteral("za koncem lekce následuje další text");
    case QJsonParseError::NoError: break;
    }
    return QStringLiteral("neznámá chyba");
}

// Whether the text ends inside a string or with a bracket still open: a
// file cut short, rather than one written wrong.
bool EndsOpen(const QByteArray& json)
{
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : json) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return inString || depth > 0;
}

// Where the parser stopped, as a text editor counts: line and character.
QString JsonProblem(const QByteArray& json, const QJsonParseError& error)
{
    qsizetype offset = std::min<qsizetype>(error.offset, json.size());
    if (json.mid(offset).trimmed().isEmpty() && EndsOpen(json))
        return QStringLiteral("soubor končí předčasně, je zřejmě neúplný (%1)").arg(JsonErrorText(error.error));
    // The parser stops just past the character it could not take, except
    // at text after the end, where it stops at it.
    if (error.error != QJsonParseError::GarbageAtEnd && offset > 0)
        --offset;
    const QByteArray before = json.left(offset);
    const qsizetype lineStart = before.lastIndexOf('\n') + 1;
    const qsizetype column = QString::fromUtf8(before.mid(lineStart)).size() + 1;
    return QStringLiteral("soubor není platný JSON: %1 (řádek %2, znak %3)")
        .arg(JsonErrorText(error.error))
        .arg(before.count('\n') + 1)
        .arg(column);
}

// One press object. The keys this version does not know are passed over.
QString ReadPress(const QJsonObject& object, bool drawn, RecordedPress& press)
{
    press = RecordedPress{StartPress(), std::nullopt, {}};
    for (const LessonKey& key : LessonKeys()) {
        if (key.DrawnOnly && !drawn)
            continue;
        const auto found = object.constFind(key.Name);
        if (found == object.constEnd())
            continue;
        const QString problem = key.Read(*found, press);
        if (!problem.isEmpty())
            return QStringLiteral("klíč %1: %2").arg(Quoted(key.Name), problem);
    }
    return QString();
}

QString DrawnPlace(qsizetype index)
{
    return QStringLiteral("kreslení %1 v %2").arg(index + 1).arg(Quoted(DrawnKey));
}

QString ReadBody(const QJsonObject& root, Lesson& lesson)
{
    const QJsonValue panel = root.value(PanelKey);
    if (!panel.isUndefined()) {
        if (!panel.isObject())
            return QStringLiteral("%1 má být objekt { … }").arg(Quoted(PanelKey));
        RecordedPress read;
        const QString problem = ReadPress(panel.toObject(), false, read);
        if (!problem.isEmpty())
            return Quoted(PanelKey) + QStringLiteral(", ") + problem;
        lesson.Panel = read.Press;
    }
    const QJsonValue drawn = root.value(DrawnKey);
    if (drawn.isUndefined())
        return QString();
    if (!drawn.isArray())
        return QStringLiteral("%1 má být pole [ … ] kreslení").arg(Quoted(DrawnKey));
    const QJsonArray presses = drawn.toArray();
    if (static_cast<std::size_t>(presses.size()) > MaxLessonPresses)
        return QStringLiteral("lekce má %1 kreslení, dovoleno je nejvýš %2").arg(presses.size()).arg(MaxLessonPresses);
    lesson.Drawn.reserve(static_cast<std::size_t>(presses.size()));
    for (qsizetype i = 0; i < presses.size(); ++i) {
        if (!presses[i].isObject())
            return DrawnPlace(i) + QStringLiteral(" má být objekt { … }");
        RecordedPress press;
        const QString problem = ReadPress(presses[i].toObject(), true, press);
        if (!problem.isEmpty())
            return DrawnPlace(i) + QStringLiteral(", ") + problem;
        lesson.Drawn.push_back(std::move(press));
    }
    return QString();
}

// The version is looked at before anything else: a newer one may have
// changed what the rest means.
QString VersionProblem(const QJsonObject& root)
{
    const QJsonValue version = root.value(VersionKey);
    if (version.isUndefined())
        return QStringLiteral("není to lekce programu paramcurve (chybí klíč %1)").arg(Quoted(VersionKey));
    const double number = version.toDouble(0.0);
    if (!version.isDouble() || number < 1 || number != std::floor(number))
        return QStringLiteral("klíč %1 má být číslo verze, %2").arg(Quoted(VersionKey)).arg(LessonVersion);
    if (number > LessonVersion)
        return QStringLiteral("lekci zapsala novější verze programu paramcurve (lekce verze %1; "
                              "tato verze umí číst verzi %2)")
            .arg(ShortestReal(number))
            .arg(LessonVersion);
    return QString();
}

// JSON of the few kinds of value a lesson holds, strings with every byte
// but the quote, the backslash and the controls as it is (UTF-8), and a
// slider's range as an array of texts on one line.
void AppendValue(QByteArray& out, const QJsonValue& value, const char* separator = ", ")
{
    if (value.isArray()) {
        out += '[';
        const QJsonArray items = value.toArray();
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (i > 0)
                out += separator;
            AppendValue(out, items[i], separator);
        }
        out += ']';
    } else if (value.isBool()) {
        out += value.toBool() ? "true" : "false";
    } else if (value.isDouble()) {
        out += QByteArray::number(value.toInteger());
    } else {
        out += '"';
        const QByteArray bytes = value.toString().toUtf8();
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            const char byte = bytes[i];
            const auto code = static_cast<unsigned char>(byte);
            if (bytes.mid(i, 3) == ByteOrderMark) {
                // The toolkit drops a byte order mark at the start of a
                // string as it reads it; escaped, it is kept.
                out += "\\ufeff";
                i += 2;
            } else if (code == '"' || code == '\\') {
                out += '\\';
                out += byte;
            } else if (code < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", code);
                out += escaped;
            } else {
                out += byte;
            }
        }
        out += '"';
    }
}

class JsonWriter {
public:
    explicit JsonWriter(LessonLayout layout) : indented_(layout == LessonLayout::Indented) {}

    void Open(char bracket)
    {
        text_ += bracket;
        ++depth_;
        first_ = true;
    }
    void Close(char bracket)
    {
        --depth_;
        if (!first_)
            NewLine();
        text_ += bracket;
        first_ = false;
    }
    // The next member or element: a comma after the one before, and the
    // name when there is one.
    void Next(const QString& name = QString())
    {
        if (!first_)
            text_ += ',';
        first_ = false;
        NewLine();
        if (!name.isNull()) {
            AppendValue(text_, QJsonValue(name));
            text_ += indented_ ? ": " : ":";
        }
    }
    void Value(const QJsonValue& value) { AppendValue(text_, value, indented_ ? ", " : ","); }
    void Press(const RecordedPress& press, bool drawn)
    {
        Open('{');
        for (const LessonKey& key : LessonKeys()) {
            if (key.DrawnOnly && !drawn)
                continue;
            if (const std::optional<QJsonValue> value = key.Write(press)) {
                Next(key.Name);
                Value(*value);
            }
        }
        Close('}');
    }
    QByteArray Text() const { return indented_ ? text_ + '\n' : text_; }

private:
    void NewLine()
    {
        if (indented_)
            text_ += '\n' + QByteArray(4 * depth_, ' ');
    }

    bool indented_;
    QByteArray text_;
    int depth_ = 0;
    bool first_ = true;
};

}  // namespace

LessonReading ReadLesson(const QByteArray& bytes)
{
    if (static_cast<std::size_t>(bytes.size()) > MaxLessonBytes)
        return Refused(QStringLiteral("soubor je větší než 1 MiB"));
    QByteArray json = bytes;
    if (json.startsWith(ByteOrderMark))
        json.remove(0, 3);
    if (json.contains('\0'))
        return Refused(QStringLiteral("soubor obsahuje nulový bajt, není to text"));
    QStringDecoder decoder(QStringDecoder::Utf8);
    (void)QString(decoder.decode(json));
    if (decoder.hasError())
        return Refused(QStringLiteral("soubor není text v kódování UTF-8"));
    if (json.trimmed().isEmpty())
        return Refused(QStringLiteral("soubor je prázdný"));

    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return Refused(JsonProblem(json, error));
    if (!document.isObject())
        return Refused(QStringLiteral("není to lekce programu paramcurve (chybí objekt { … })"));
    const QJsonObject root = document.object();
    QString problem = VersionProblem(root);
    LessonReading reading;
    if (problem.isEmpty())
        problem = ReadBody(root, reading.Read);
    if (!problem.isEmpty())
        return Refused(problem);
    reading.Ok = true;
    return reading;
}

QByteArray LessonText(const Lesson& lesson, LessonLayout layout)
{
    JsonWriter writer(layout);
    writer.Open('{');
    writer.Next(VersionKey);
    writer.Value(QJsonValue(LessonVersion));
    writer.Next(PanelKey);
    writer.Press(RecordedPress{lesson.Panel, std::nullopt, {}}, false);
    writer.Next(DrawnKey);
    writer.Open('[');
    for (const RecordedPress& press : lesson.Drawn) {
        writer.Next();
        writer.Press(press, true);
    }
    writer.Close(']');
    writer.Close('}');
    return writer.Text();
}

QByteArray SaveableLessonText(const Lesson& lesson, QString& problem)
{
    problem.clear();
    if (lesson.Drawn.size() > MaxLessonPresses) {
        problem = QStringLiteral("lekce má %1 kreslení, dovoleno je nejvýš %2").arg(lesson.Drawn.size()).arg(MaxLessonPresses);
        return QByteArray();
    }
    QByteArray text = LessonText(lesson);
    if (static_cast<std::size_t>(text.size()) > MaxLessonBytes)
        text = LessonText(lesson, LessonLayout::Compact);
    if (static_cast<std::size_t>(text.size()) > MaxLessonBytes) {
        problem = QStringLiteral("soubor lekce by byl větší než 1 MiB");
        return QByteArray();
    }
    // What is written must read back as this very lesson.
    const LessonReading back = ReadLesson(text);
    if (!back.Ok)
        problem = back.Problem;
    else if (!SameLesson(back.Read, lesson))
        problem = QStringLiteral("lekci nelze zapsat tak, aby se přečetla stejná");
    return problem.isEmpty() ? text : QByteArray();
}
