// SPDX-License-Identifier: GPL-3.0-or-later
// The folder a file dialog was last used in, remembered per purpose ("save",
// later "lesson", ...) across runs in the program's settings
// (~/.config/paramcurve/paramcurve.conf), so each dialog opens where the
// user left it.
#pragma once

#include <QString>

// The folder of the last file chosen for `purpose`; empty when none was, or
// when that folder no longer exists (the dialog then opens where it would
// have anyway).
QString LastFolder(const char* purpose);

// Remembers the folder of `file` (a file chosen in a dialog, existing or
// about to be written; a folder itself counts as the folder) for `purpose`.
void RememberFolder(const char* purpose, const QString& file);

// The settings' names, set at start-up where the application has none yet.
inline constexpr char SettingsOrganization[] = "paramcurve";
inline constexpr char SettingsApplication[] = "paramcurve";
