// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up shared by both programs: the toolkit's Czech translation and the
// caption face. (The program's whole scale factors: ScreenScale.h.)
#pragma once

#include <QString>

// After the application object exists: the toolkit's own texts (dialogs,
// context menus), numbers and dates in Czech whatever the user's locale
// (ToolkitCzech.h), the settings' names, and the caption face loaded. Safe
// to call more than once.
void SetUpApplication();

// The toolkit's Czech translation file; empty when it is not installed.
QString CzechToolkitTranslation();
