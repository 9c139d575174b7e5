// SPDX-License-Identifier: GPL-3.0-or-later
// The last lessons opened or saved, newest first, kept in the user's
// settings (QSettings: ~/.config/paramcurve/paramcurve.conf), so they are
// offered again after a restart.
#pragma once

#include <QString>
#include <QStringList>

inline constexpr int MaxRecentLessons = 5;

// Names the settings for the program ("paramcurve"/"paramcurve") unless
// the application already named them (a test does).
void UseProgramSettings();

// At most MaxRecentLessons absolute names, newest first.
QStringList RecentLessons();

// Puts the lesson first; an older entry for it goes.
void RememberRecentLesson(const QString& path);

// Takes the lesson off the list (it no longer exists).
void ForgetRecentLesson(const QString& path);
