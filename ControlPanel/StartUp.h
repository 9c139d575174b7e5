// Start-up shared by both programs: the toolkit's Czech translation and the
// caption face. (The program's whole scale factors: ScreenScale.h.)
#pragma once

#include <QString>

// After the application object exists: the toolkit's own texts (dialogs,
// context menus) in Czech whatever the user's locale, and the caption face
// loaded. Safe to call more than once.
void SetUpApplication();

// The toolkit's Czech translation file; empty when it is not installed.
QString CzechToolkitTranslation();
