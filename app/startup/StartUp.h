// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up shared by both programs: the toolkit's Czech translation and the
// caption face. (The program's whole scale factors: ScreenScale.h.)
#pragma once

#include <QString>
#include <QStringList>

// After the application object exists: the toolkit's own texts (dialogs,
// context menus), numbers and dates in Czech whatever the user's locale
// (ToolkitCzech.h), the settings' names, and the caption face loaded. Safe
// to call more than once.
void SetUpApplication();

// The toolkit's Czech translation file; empty when it is not installed.
QString CzechToolkitTranslation();

// "MS Sans Serif" is rarely installed outside Windows: map it to the first
// installed of these sans-serif faces; the layouts give the pixel heights.
QStringList FallbackFaces();
void InstallFontFallback();
