// SPDX-License-Identifier: GPL-3.0-or-later
// The renderer's options as one table: the command line is read by it, and
// both the help text and the manual page's option list are made from it.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

inline constexpr char RenderProgramName[] = "paramcurve-render";

// One option: its names, the name of its value (empty for a switch), what
// it does, and whether it may be given more than once.
struct OptionEntry {
    QStringList Names;
    QString ValueName;
    QString Description;
    bool Repeatable = false;
};

const std::vector<OptionEntry>& OptionTable();

// What --help prints: the usage, what the program does, every option, the
// rules for files and the exit statuses.
QString HelpText();

// The option table as the entries of a man page's option list, the same
// names, values and descriptions as the help text.
QString ManOptionList();
