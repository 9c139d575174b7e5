// SPDX-License-Identifier: GPL-3.0-or-later
// A lesson: what the plane shows and what the panel holds. The presses of
// "Kresli" since the last "Vymaž", oldest first, each with every input it
// read, and the panel's fields as they stand. Opening one draws the presses
// again on a white plane and then fills the panel, so the plane is pixel for
// pixel the one that was saved and "Kresli" goes on from there.
//
// Plain data, no toolkit.
#pragma once

#include <cstddef>

#include "PressHistory.h"
#include "TracePress.h"

struct Lesson {
    // The panel's fields, check boxes and colour; its TBefore is the t the
    // next "Kresli" starts from.
    TracePress Panel = StartPress();
    // What was drawn. Each press's Result is not kept in a file: drawing it
    // again works it out; a press the user stopped keeps its StopAt.
    PressHistory Drawn;
};

// What a lesson file holds is the same: the panel, and each press with
// where it was stopped. How the presses ended is not compared.
bool SameLesson(const Lesson& a, const Lesson& b);

// What a file may ask for. A file from elsewhere is read whole before
// anything changes, so these bound the memory and the time it may take.
inline constexpr std::size_t MaxLessonBytes = 1024 * 1024;  // the whole file
inline constexpr std::size_t MaxLessonPresses = 1000;       // entries of "drawn"
inline constexpr std::size_t MaxLessonTextBytes = 10000;    // each text, in UTF-8

// The version this program writes and the newest it reads.
inline constexpr int LessonVersion = 1;

// The file name extension, without its dot, and the file type.
inline constexpr char LessonExtension[] = "paramcurve";
inline constexpr char LessonMimeType[] = "application/x-paramcurve";
