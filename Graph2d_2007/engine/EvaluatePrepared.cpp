// SPDX-License-Identifier: GPL-3.0-or-later
// The entry test of the error text, the rare path of EvaluatePrepared.
#include "EvaluateRules.h"
#include "PreparedProgram.h"

bool PreparedEntryBlocks(std::string& errorText)
{
    if (IsCompileMessage(errorText))
        return true;
    errorText.clear();
    return false;
}
