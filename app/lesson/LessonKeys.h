// SPDX-License-Identifier: GPL-3.0-or-later
// The keys of one press in a lesson file: the nine fields under their lesson
// keys, the colour, both check boxes, the t the press starts with and, for a
// press that was drawn, where the user stopped it. The "panel" object and
// each object of "drawn" have the same keys. A further input (a variable)
// is one more entry of the table and nothing else changes.
#pragma once

#include <QJsonValue>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

#include "PressHistory.h"

struct LessonKey {
    QString Name;
    // Only in the objects of "drawn"; in "panel" it is an unknown key.
    bool DrawnOnly = false;
    // Puts the value into the press. Empty: done; else why the value will
    // not do, in Czech, e.g. "má být text v uvozovkách".
    std::function<QString(const QJsonValue& value, RecordedPress& press)> Read;
    // The value for the file; none leaves the key out (a press that was not
    // stopped has no "stopped-after").
    std::function<std::optional<QJsonValue>(const RecordedPress& press)> Write;
};

// In the order they are written: the fields in the panel's order first.
const std::vector<LessonKey>& LessonKeys();

// Why a field's text cannot be in a lesson file (too long, a control
// character), or empty. Saving refuses what reading would refuse.
QString LessonTextProblem(const QString& text);

// "#0000c8": lower case, as written.
QString LessonColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// The shortest text that reads back as the same double ("6.346018...").
QString ShortestReal(double value);
