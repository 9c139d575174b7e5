// SPDX-License-Identifier: GPL-3.0-or-later
#include "TracePress.h"

const PressField* FindPressField(InputField field)
{
    for (const PressField& entry : PressFields) {
        if (entry.Field == field)
            return &entry;
    }
    return nullptr;
}

const PressVariable* FindPressVariable(InputField field)
{
    for (const PressVariable& entry : PressVariables) {
        if (entry.Field == field)
            return &entry;
    }
    return nullptr;
}

TracePress StartPress()
{
    TracePress press;
    for (const PressField& field : PressFields)
        press.Texts.*field.Text = field.StartText;
    return press;
}
