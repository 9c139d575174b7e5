// SPDX-License-Identifier: GPL-3.0-or-later
// The functions the page's worker calls (web/PROTOCOL.md, "Worker →
// module"): numbers and UTF-8 texts in, one JSON text out, owned here and
// valid until the next call. Each is a thin mapping onto PageCore.
#include <emscripten/emscripten.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "PageCore.h"

namespace {

// Whether the page asked to stop: Module.paramcurvePollStop(), which reads
// the flag the page shares with the worker.
EM_JS(int, PageStopAsked, (), {
    return Module["paramcurvePollStop"] && Module["paramcurvePollStop"]() ? 1 : 0;
});

std::unique_ptr<PageCore> Core;
std::string Reply;

const char* Answer(const Json& value)
{
    Reply = JsonText(value);
    return Reply.c_str();
}

PageCore& TheCore()
{
    if (!Core)
        Core = std::make_unique<PageCore>([] { return PageStopAsked() != 0; });
    return *Core;
}

std::string Text(const char* text)
{
    return text ? std::string(text) : std::string();
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* pc_init()
{
    Core.reset();
    TheCore();
    return Answer(Json{{"version", PARAMCURVE_VERSION}});
}

EMSCRIPTEN_KEEPALIVE const std::uint8_t* pc_plane_pixels()
{
    return TheCore().PlanePixels();
}

EMSCRIPTEN_KEEPALIVE const char* pc_plane_changed()
{
    return Answer(TheCore().TakeChanged());
}

EMSCRIPTEN_KEEPALIVE const char* pc_press_begin(const char* panel)
{
    return Answer(TheCore().PressBegin(ParseJson(panel)));
}

EMSCRIPTEN_KEEPALIVE const char* pc_press_step()
{
    return Answer(TheCore().PressStep());
}

EMSCRIPTEN_KEEPALIVE const char* pc_press_stop()
{
    TheCore().PressStop();
    return Answer(Json::object());
}

EMSCRIPTEN_KEEPALIVE const char* pc_press_end()
{
    return Answer(TheCore().PressEnd());
}

EMSCRIPTEN_KEEPALIVE const char* pc_animate_begin(const char* letter, int keepTrace, const char* variables,
                                                   const char* panel)
{
    return Answer(TheCore().AnimateBegin(letter, keepTrace != 0, ParseJson(variables), ParseJson(panel)));
}

EMSCRIPTEN_KEEPALIVE const char* pc_animate_step()
{
    return Answer(TheCore().AnimateStep());
}

EMSCRIPTEN_KEEPALIVE const char* pc_animate_stop()
{
    TheCore().AnimateStop();
    return Answer(Json::object());
}

EMSCRIPTEN_KEEPALIVE const char* pc_animate_end()
{
    return Answer(TheCore().AnimateEnd());
}

EMSCRIPTEN_KEEPALIVE const char* pc_clear()
{
    return Answer(TheCore().Clear());
}

EMSCRIPTEN_KEEPALIVE const char* pc_open_lesson(const std::uint8_t* bytes, std::size_t length, int asSaved)
{
    return Answer(TheCore().OpenLesson(std::string_view(reinterpret_cast<const char*>(bytes), length), asSaved != 0));
}

EMSCRIPTEN_KEEPALIVE const char* pc_lesson_saved()
{
    return Answer(TheCore().LessonSaved());
}

EMSCRIPTEN_KEEPALIVE const char* pc_lesson_text(const char* panel)
{
    return Answer(TheCore().LessonText(ParseJson(panel)));
}

EMSCRIPTEN_KEEPALIVE const char* pc_svg()
{
    return Answer(TheCore().Svg());
}

EMSCRIPTEN_KEEPALIVE const char* pc_print_captions()
{
    return Answer(TheCore().PrintCaptions());
}

EMSCRIPTEN_KEEPALIVE const char* pc_gif_size()
{
    return Answer(TheCore().GifSize());
}

EMSCRIPTEN_KEEPALIVE const std::uint8_t* pc_gif_bytes()
{
    return reinterpret_cast<const std::uint8_t*>(TheCore().GifBytes().data());
}

EMSCRIPTEN_KEEPALIVE const char* pc_pen_readout(int index)
{
    return Answer(TheCore().PenReadout(index));
}

EMSCRIPTEN_KEEPALIVE const char* pc_mouse_readout(int x, int y)
{
    return Answer(TheCore().MouseReadout(x, y));
}

EMSCRIPTEN_KEEPALIVE const char* pc_zoom(int x, int y, double notches, const char* fields)
{
    return Answer(TheCore().Zoom(x, y, notches, ParseJson(fields)));
}

EMSCRIPTEN_KEEPALIVE const char* pc_pan(int drag, int fromX, int fromY, int toX, int toY, const char* fields)
{
    return Answer(TheCore().Pan(drag, fromX, fromY, toX, toY, ParseJson(fields)));
}

EMSCRIPTEN_KEEPALIVE const char* pc_original_window()
{
    return Answer(TheCore().OriginalWindow());
}

EMSCRIPTEN_KEEPALIVE const char* pc_read_value(const char* letter, const char* text)
{
    return Answer(TheCore().ReadValue(letter, Text(text)));
}

EMSCRIPTEN_KEEPALIVE const char* pc_read_range(const char* letter, const char* low, const char* high,
                                               const char* step)
{
    return Answer(TheCore().ReadRange(letter, VariableTexts{"", Text(low), Text(high), Text(step)}));
}

EMSCRIPTEN_KEEPALIVE const char* pc_slider_value(const char* letter, int index)
{
    return Answer(TheCore().SliderValue(letter, index));
}

EMSCRIPTEN_KEEPALIVE const char* pc_redraw_last(const char* variables)
{
    return Answer(TheCore().RedrawLast(ParseJson(variables)));
}

EMSCRIPTEN_KEEPALIVE const char* pc_variables_used(const char* text)
{
    return Answer(TheCore().VariablesUsed(Text(text)));
}

}  // extern "C"
