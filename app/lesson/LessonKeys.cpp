// SPDX-License-Identifier: GPL-3.0-or-later
#include "LessonKeys.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QStringDecoder>

#include <charconv>
#include <cmath>
#include <string>

#include "Lesson.h"
#include "PlotState.h"
#include "RealText.h"

namespace {

const QString NotText = QStringLiteral("má být text v uvozovkách");

// The press's text as the toolkit's string, every character kept: the
// toolkit's own conversion drops a byte order mark at the start.
QString Text(const std::string& utf8)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())));
}
const QString NotSwitch = QStringLiteral("má být true nebo false");

// A field: the text as typed, whatever it says; the trace judges it.
LessonKey FieldKey(const PressField& field)
{
    const auto member = field.Text;
    return {QString::fromLatin1(field.LessonKey), false,
            [member](const QJsonValue& value, RecordedPress& press) {
                if (!value.isString())
                    return NotText;
                const QString problem = LessonTextProblem(value.toString());
                if (problem.isEmpty())
                    press.Press.Texts.*member = value.toString().toStdString();
                return problem;
            },
            [member](const RecordedPress& press) -> std::optional<QJsonValue> {
                return QJsonValue(Text(press.Press.Texts.*member));
            }};
}

LessonKey SwitchKey(const char* name, bool TracePress::*member)
{
    return {QString::fromLatin1(name), false,
            [member](const QJsonValue& value, RecordedPress& press) {
                if (!value.isBool())
                    return NotSwitch;
                press.Press.*member = value.toBool();
                return QString();
            },
            [member](const RecordedPress& press) -> std::optional<QJsonValue> {
                return QJsonValue(press.Press.*member);
            }};
}

QString ReadColour(const QJsonValue& value, RecordedPress& press)
{
    static const QRegularExpression pattern(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
    const QString text = value.toString();
    if (!value.isString() || !pattern.match(text).hasMatch())
        return QStringLiteral("má být barva ve tvaru #rrggbb");
    press.Press.CurveR = static_cast<std::uint8_t>(text.mid(1, 2).toUInt(nullptr, 16));
    press.Press.CurveG = static_cast<std::uint8_t>(text.mid(3, 2).toUInt(nullptr, 16));
    press.Press.CurveB = static_cast<std::uint8_t>(text.mid(5, 2).toUInt(nullptr, 16));
    return QString();
}

// Written as text, so that every double comes back exactly, -0 included;
// a number is taken too, as a script may well write one.
QString ReadTBefore(const QJsonValue& value, RecordedPress& press)
{
    const QString problem = QStringLiteral("má být konečné číslo, např. \"6.28\"");
    double t = 0.0;
    if (value.isDouble()) {
        t = value.toDouble();
    } else if (value.isString()) {
        const std::string text = value.toString().toStdString();
        const char* end = text.data() + text.size();
        const auto [stop, error] = std::from_chars(text.data(), end, t, std::chars_format::general);
        if (text.empty() || error != std::errc() || stop != end)
            return problem;
    } else {
        return problem;
    }
    if (!std::isfinite(t))
        return problem;
    press.Press.TBefore = t;
    return QString();
}

// A press can have drawn no more points than its buffer holds.
QString ReadStoppedAfter(const QJsonValue& value, RecordedPress& press)
{
    const double points = value.toDouble(-1.0);
    if (!value.isDouble() || points < 0 || points > double(PointCapacity) || points != std::floor(points))
        return QStringLiteral("má být celé číslo od 0 do %1").arg(PointCapacity);
    press.StopAt = static_cast<std::size_t>(points);
    return QString();
}

// A variable's value as typed; left out while it is the default "0".
LessonKey VariableKey(std::size_t index)
{
    return {QString::fromLatin1(PressVariables[index].LessonKey), false,
            [index](const QJsonValue& value, RecordedPress& press) {
                if (!value.isString())
                    return NotText;
                const QString problem = LessonTextProblem(value.toString());
                if (problem.isEmpty())
                    press.Press.Variables[index].Value = value.toString().toStdString();
                return problem;
            },
            [index](const RecordedPress& press) -> std::optional<QJsonValue> {
                const std::string& text = press.Press.Variables[index].Value;
                if (text == VariableTexts{}.Value)
                    return std::nullopt;
                return QJsonValue(Text(text));
            }};
}

// A variable's slider range as three texts, [low, high, step]; left out
// while it is the default.
LessonKey RangeKey(std::size_t index)
{
    return {QString::fromLatin1(PressVariables[index].RangeKey), false,
            [index](const QJsonValue& value, RecordedPress& press) {
                const QString shape = QStringLiteral("má být tři texty v hranatých závorkách, např. [\"-10\", \"10\", \"0.1\"]");
                if (!value.isArray() || value.toArray().size() != 3)
                    return shape;
                std::string* targets[] = {&press.Press.Variables[index].Low, &press.Press.Variables[index].High,
                                          &press.Press.Variables[index].Step};
                const QJsonArray parts = value.toArray();
                for (qsizetype i = 0; i < 3; ++i) {
                    if (!parts[i].isString())
                        return shape;
                    const QString problem = LessonTextProblem(parts[i].toString());
                    if (!problem.isEmpty())
                        return problem;
                }
                for (qsizetype i = 0; i < 3; ++i)
                    *targets[i] = parts[i].toString().toStdString();
                return QString();
            },
            [index](const RecordedPress& press) -> std::optional<QJsonValue> {
                const VariableTexts& texts = press.Press.Variables[index];
                const VariableTexts defaults;
                if (texts.Low == defaults.Low && texts.High == defaults.High && texts.Step == defaults.Step)
                    return std::nullopt;
                return QJsonValue(QJsonArray{Text(texts.Low), Text(texts.High), Text(texts.Step)});
            }};
}

}  // namespace

const std::vector<LessonKey>& LessonKeys()
{
    static const std::vector<LessonKey> keys = [] {
        std::vector<LessonKey> table;
        for (const PressField& field : PressFields)
            table.push_back(FieldKey(field));
        table.push_back({QStringLiteral("color"), false, ReadColour, [](const RecordedPress& press) {
                             const TracePress& p = press.Press;
                             return std::optional<QJsonValue>(LessonColour(p.CurveR, p.CurveG, p.CurveB));
                         }});
        table.push_back(SwitchKey("axes", &TracePress::ShowAxes));
        table.push_back(SwitchKey("dashed", &TracePress::Dashed));
        table.push_back({QStringLiteral("t-before"), false, ReadTBefore, [](const RecordedPress& press) {
                             return std::optional<QJsonValue>(ShortestReal(press.Press.TBefore));
                         }});
        for (std::size_t i = 0; i < VariableCount; ++i) {
            table.push_back(VariableKey(i));
            table.push_back(RangeKey(i));
        }
        table.push_back({QStringLiteral("stopped-after"), true, ReadStoppedAfter,
                         [](const RecordedPress& press) -> std::optional<QJsonValue> {
                             if (!press.StopAt)
                                 return std::nullopt;
                             return QJsonValue(static_cast<qint64>(*press.StopAt));
                         }});
        return table;
    }();
    return keys;
}

QString LessonTextProblem(const QString& text)
{
    if (static_cast<std::size_t>(text.toUtf8().size()) > MaxLessonTextBytes)
        return QStringLiteral("text je delší než %1 bajtů").arg(MaxLessonTextBytes);
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return QStringLiteral("text obsahuje řídicí znak (U+%1)").arg(uint(c.unicode()), 4, 16, QLatin1Char('0'));
    }
    if (!text.isValidUtf16())
        return QStringLiteral("text obsahuje neplatný znak");
    return QString();
}

QString LessonColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return QStringLiteral("#%1%2%3")
        .arg(uint(red), 2, 16, QLatin1Char('0'))
        .arg(uint(green), 2, 16, QLatin1Char('0'))
        .arg(uint(blue), 2, 16, QLatin1Char('0'));
}

QString ShortestReal(double value)
{
    return QString::fromStdString(ShortestText(value));
}
