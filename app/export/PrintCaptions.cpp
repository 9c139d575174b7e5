// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrintCaptions.h"

#include "PressMessages.h"
#include "VariableValues.h"

namespace {

QString Typed(const std::string& text)
{
    return QString::fromStdString(text);
}

// "; k = 2; r = pi/2" for the variables the press's formulas use: without
// them the formulas would not say which curve was drawn.
QString VariablesPart(const TracePress& press)
{
    QString part;
    const std::array<bool, VariableCount> used = VariablesUsed(press.Texts);
    for (std::size_t i = 0; i < VariableCount; ++i) {
        if (used[i])
            part += "; " + QString(QChar::fromLatin1(PressVariables[i].Letter)) + " = " + Typed(press.Variables[i].Value);
    }
    return part;
}

// Nothing for a press drawn whole; the rest say how far it got.
QString EndPart(const PressResult& result)
{
    switch (result.End) {
    case PressEnd::Completed:
        return QString();
    case PressEnd::Stopped:
        return result.PointCount == 1 ? QStringLiteral(" (zastaveno po 1 bodu)")
                                      : QStringLiteral(" (zastaveno po %1 bodech)").arg(result.PointCount);
    case PressEnd::FormulaError:
    case PressEnd::Fault:
        break;
    }
    QString line = Typed(EndedLine(result));
    if (line.endsWith(u'.'))
        line.chop(1);
    return " (skončilo dříve: " + line + ')';
}

}  // namespace

QStringList PrintCaptions(const PressHistory& presses)
{
    // Put together piece by piece, never through arg(): a text as typed may
    // hold a "%1" of its own.
    QStringList captions;
    for (std::size_t i = 0; i < presses.size(); ++i) {
        const TracePress& press = presses[i].Press;
        const TraceTexts& t = press.Texts;
        captions << QString::number(i + 1) + ". x = " + Typed(t.EquationX) + ", y = " + Typed(t.EquationY) +
                        "; zorné pole x od " + Typed(t.X1) + " do " + Typed(t.X2) + ", y od " + Typed(t.Y1) +
                        " do " + Typed(t.Y2) + "; parametr t od " + Typed(t.T1) + " do " + Typed(t.T2) +
                        "; počet segmentů " + Typed(t.Segments) + VariablesPart(press) +
                        EndPart(presses[i].Result);
    }
    return captions;
}
