// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of paramcurve-render: the control panel's inputs as
// options, a preset to start from, and where and how to write the picture
// (PNG, the animation as GIF, SVG or PDF) and the points.
#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "PressRun.h"
#include "PictureWriter.h"
#include "VariableValues.h"

// --sweep: one variable run through its range, one frame per value.
struct RenderSweep {
    std::size_t Variable = 0;  // its index in PressVariables
    SliderRange Range;
    bool Family = false;       // --family: every value's curve stays
};

// One run of the renderer: the press "Kresli" would make on a fresh plot
// window, or a lesson file to draw, and where and how to write what it draws.
struct RenderRequest {
    TracePress Press;       // the panel's inputs, the start ones where no option says otherwise
    QString LessonPath;     // a lesson to draw instead of Press; empty: none
    QString SaveLessonPath; // the lesson of what was drawn is written there; empty: none
    QString OutputPath;     // the picture; "-" is standard output
    PictureFormat Format = PictureFormat::Png;
    int Plays = 0;          // how often a GIF plays; 0: forever
    int Scale = 1;          // a PNG's enlargement (PngScales)
    QString PointsPath;     // the CSV; "-" is standard output; empty: none
    double TimeoutSeconds = 0.0;  // the trace stops after this long; 0: never
    // The press is drawn once per value of the range: Press's variable then
    // holds the range's texts, and each frame's value in its place.
    std::optional<RenderSweep> Sweep;
};

// Help, Version and ManOptions each print Text on standard output. ManOptions
// (a hidden option) gives the option table as man-page markup for the manual.
enum class RenderCommand { Render, Help, Version, ManOptions, BadUsage };

struct ParsedCommandLine {
    RenderCommand Command = RenderCommand::Render;
    RenderRequest Request;
    QString Text;  // what to print, or for BadUsage what was wrong
};

// Reads the arguments (the program name first). Options given beside
// --preset override the preset's fields. The one argument that is not an
// option names a lesson file (also after "--"); it does not go with the
// options of a curve (--set and --sweep among them). The picture's format
// follows the extension of -o (.png, .gif, .svg, .pdf in any case; PNG for
// any other name), --format overrides it. A value option given twice (but
// --set, once for each variable), two outputs aimed at one file, the
// picture or the points aimed at the lesson drawn, --loop for anything but
// GIF, --scale other than 1, 2 or 4 or for anything but PNG, a --set or
// --sweep that names no variable or whose value is no formula, a range that
// is empty, backward, of a step not above 0 or of more than 10000 values,
// or --family without --sweep is bad usage.
ParsedCommandLine ParseRenderCommandLine(const QStringList& arguments);

// The arguments exactly as given: UTF-8, a leading byte-order mark kept (it
// is not taken away silently; a formula then reads "Chybny vyraz"). False
// with a Czech message naming the argument when one is not valid UTF-8, as a
// file name would otherwise change on its way to the disk.
bool DecodeArguments(int argc, const char* const* argv, QStringList& arguments, QString& problem);

// "--x1" for the bound X1 and so on; empty for InputField::None.
QString OptionOf(InputField field);

// "Použití: paramcurve-render [volby] [LEKCE.paramcurve] -o SOUBOR.png|gif|svg|pdf",
// the line shown with a usage error.
QString UsageLine();

// Reads "R,G,B", each 0 to 255. False on anything else.
bool ParseColour(const QString& text, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue);
