// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target over the lesson reader: any bytes at all are either
// refused with a reason, or read as a lesson within the caps that, written
// again (indented and compact), reads back as the very same lesson, and
// whose indented text is written again byte for byte. Any broken invariant
// aborts. The reader is the core's alone: no Qt.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Lesson.h"
#include "LessonFormat.h"
#include "LessonKeys.h"
#include "PlotState.h"

namespace {

[[noreturn]] void Breach(const char* what)
{
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

void CheckPress(const TracePress& press)
{
    for (const PressField& field : PressFields) {
        if (!LessonTextProblem(press.Texts.*field.Text).empty())
            Breach("a text beyond what a lesson may hold was read");
    }
    for (const VariableTexts& variable : press.Variables) {
        for (const std::string* text : {&variable.Value, &variable.Low, &variable.High, &variable.Step}) {
            if (!LessonTextProblem(*text).empty())
                Breach("a variable's text beyond what a lesson may hold was read");
        }
    }
    if (!std::isfinite(press.TBefore))
        Breach("t-before is not finite");
}

void CheckWrittenAgain(const Lesson& lesson, LessonLayout layout)
{
    const std::string text = LessonText(lesson, layout);
    const LessonReading back = ReadLesson(text);
    if (!back.Ok) {
        // The one way a lesson read may not be written again as it is: a
        // file near the cap whose text grows (keys filled in, indentation).
        if (text.size() <= MaxLessonBytes)
            Breach("a lesson written could not be read back");
        return;
    }
    if (!SameLesson(back.Read, lesson))
        Breach("a lesson written read back as another one");
    if (LessonText(back.Read, layout) != text)
        Breach("a lesson read back was written differently");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const LessonReading reading = ReadLesson(bytes);
    if (!reading.Ok) {
        if (reading.Problem.empty())
            Breach("refused without a reason");
        return 0;
    }
    const Lesson& lesson = reading.Read;
    if (lesson.Drawn.size() > MaxLessonPresses)
        Breach("more presses than the cap were read");
    CheckPress(lesson.Panel);
    for (const RecordedPress& press : lesson.Drawn) {
        CheckPress(press.Press);
        if (press.StopAt && *press.StopAt > PointCapacity)
            Breach("a stop beyond the point buffer was read");
    }
    CheckWrittenAgain(lesson, LessonLayout::Indented);
    CheckWrittenAgain(lesson, LessonLayout::Compact);
    return 0;
}
