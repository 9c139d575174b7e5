// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrintCaptions.h"

#include "PressCaptions.h"

QStringList PrintCaptions(const PressHistory& presses)
{
    QStringList captions;
    for (const std::string& caption : PressCaptions(presses))
        captions << QString::fromStdString(caption);
    return captions;
}
