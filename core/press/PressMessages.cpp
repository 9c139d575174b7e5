// SPDX-License-Identifier: GPL-3.0-or-later
#include "PressMessages.h"

std::string InputFieldName(InputField field)
{
    const PressField* entry = FindPressField(field);
    return entry ? entry->MessageName : "";
}

std::string RefusalText(const std::string& message, InputField field)
{
    if (const PressVariable* variable = FindPressVariable(field))
        return message + "\nProměnná: " + variable->Letter;
    const std::string name = InputFieldName(field);
    return name.empty() ? message : message + "\nPole: " + name;
}

std::string EndedText(const PressResult& result)
{
    switch (result.End) {
    case PressEnd::FormulaError:
        return RefusalText(result.Message, result.Focus);
    case PressEnd::Fault:
        return result.Advice.empty() ? result.Message : result.Message + '\n' + result.Advice;
    case PressEnd::Completed:
    case PressEnd::Stopped:
        break;
    }
    return {};
}

std::string EndedLine(const PressResult& result)
{
    if (result.End == PressEnd::Fault && !result.Advice.empty())
        return result.Message + ' ' + result.Advice;
    if (result.End != PressEnd::FormulaError && result.End != PressEnd::Fault)
        return {};
    std::string line = RefusalText(result.Message, result.Focus);
    if (const auto newline = line.find('\n'); newline != std::string::npos)
        line.replace(newline, 1, ", ");
    return line;
}
