// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson file's text, version 1: UTF-8 JSON.
//
//   {
//       "paramcurve-lesson": 1,
//       "panel": { the keys of one press (LessonKeys.h) },
//       "drawn": [ { the same keys, one object per press, oldest first } ]
//   }
//
// A key missing from an object takes the value the panel has at start; a
// missing "panel" is the panel at start and a missing "drawn" draws nothing.
// Unknown keys are ignored, as a later version may add some. A file is
// refused whole, with the reason, when it is larger than MaxLessonBytes, not
// UTF-8, holds a NUL byte, is not JSON, is of a newer version, has a value
// of the wrong type or shape, more than MaxLessonPresses presses or a text
// longer than MaxLessonTextBytes. A leading byte-order mark is skipped.
// The JSON is read as LessonJson.h says.
#pragma once

#include <string>
#include <string_view>

#include "Lesson.h"

struct LessonReading {
    bool Ok = false;
    Lesson Read;          // when Ok
    std::string Problem;  // otherwise: the reason, in Czech (UTF-8), without the file's name
};

LessonReading ReadLesson(std::string_view bytes);

enum class LessonLayout { Indented, Compact };

// The file's text: indented for a reader, or compact when that would not
// fit into MaxLessonBytes. Nothing is checked here (SaveableLessonText);
// a text that is not UTF-8 is written as ValidUtf8 (Utf8Text.h) makes it.
std::string LessonText(const Lesson& lesson, LessonLayout layout = LessonLayout::Indented);

// The text to save, indented if it fits, else compact; empty with the
// reason in `problem` when the lesson could not be read back as it is
// (too many presses, a text too long, too large a file).
std::string SaveableLessonText(const Lesson& lesson, std::string& problem);
