// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up shared by both programs: whole screen scale factors, the toolkit's
// Czech translation and the caption face.
#pragma once

#include <QByteArray>
#include <QString>

// Before the application object exists: the plane is drawn pixel for pixel,
// so each of its pixels must become a whole k x k block on screen. The
// screen's own factor is rounded (1.5 at 144 dpi becomes 2), and so are the
// factors given in QT_SCALE_FACTOR and QT_SCREEN_SCALE_FACTORS.
void UseWholeScaleFactors();

// Every number of a scale factor setting ("1.5", "1.5;2", "HDMI-1=1.25;DP-1=2")
// rounded to a whole one, halves up and at least 1; anything else is kept.
QByteArray WholeScaleFactors(const QByteArray& setting);

// After the application object exists: the toolkit's own texts (dialogs,
// context menus) in Czech whatever the user's locale, and the caption face
// loaded. Safe to call more than once.
void SetUpApplication();

// The toolkit's Czech translation file; empty when it is not installed.
QString CzechToolkitTranslation();
