// SPDX-License-Identifier: GPL-3.0-or-later
#include "RenderJob.h"

#include <QIODevice>

#include <algorithm>
#include <charconv>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "PressRun.h"
#include "LessonFile.h"
#include "LongWork.h"
#include "OutputFile.h"
#include "PictureFile.h"
#include "PlotSurface.h"
#include "PressReplay.h"
#include "RealArith.h"
#include "RenderStop.h"
#include "TraceRecorder.h"
#include "VariableValues.h"
#include "RealText.h"

namespace {

struct PointRow {
    double t;
    double x;
    double y;
};

// What the replay tells of each step: the points are kept for the CSV, and
// instead of the pause it looks whether the render is to stop. Nothing is on
// screen.
class RenderHost : public TraceHost {
public:
    explicit RenderHost(RenderStop& stop) : stop_(stop) {}
    bool Dashed() override { return false; }  // not asked: the press's own is used
    void Repaint() override {}
    void Pause() override { stop_.Poll(); }
    void PointTraced(std::size_t, double t, const WorldPoint& point) override
    {
        Rows.push_back({t, point.x, point.y});
    }
    void Poll() { stop_.Poll(); }

    // Of every press in order.
    std::vector<PointRow> Rows;

private:
    RenderStop& stop_;
};

std::string PointsCsv(const std::vector<PointRow>& rows)
{
    std::string csv = "t,x,y\n";
    for (const PointRow& row : rows) {
        csv += ShortestText(row.t);
        csv += ',';
        csv += ShortestText(row.x);
        csv += ',';
        csv += ShortestText(row.y);
        csv += '\n';
    }
    return csv;
}

// A failed write's message, except for a reader that went away: a pipe
// closed early (… | head) ends quietly, only the exit status tells.
void NoteNotWritten(RenderResult& result, const OutputFileResult& written)
{
    if (written.Ok)
        return;
    result.ExitStatus = RenderNotWritten;
    if (!written.ReaderGone)
        result.Messages << written.Message;
}

// "--x1: Chybny vyraz": a message after the option of the input it is about;
// in a lesson after the press and its key: "Kreslení 2, "x1": Chybny vyraz".
QString NamedMessage(const PressResult& ended, const Lesson* lesson, std::size_t index)
{
    const QString message = QString::fromStdString(ended.Message);
    if (!lesson) {
        const QString option = OptionOf(ended.Focus);
        return option.isEmpty() ? message : option + ": " + message;
    }
    QString place = QStringLiteral("Kreslení %1").arg(index + 1);
    if (const PressField* field = FindPressField(ended.Focus))
        place += QStringLiteral(", \"%1\"").arg(QString::fromLatin1(field->LessonKey));
    return place + ": " + message;
}

// Notes how a press ended; a message for one that ended early, after
// `prefix` (the value of a sweep's frame), and a fault's cause on a line of
// its own, as the window's box has it on its second line.
void NoteEnded(RenderResult& result, const PressResult& ended, const Lesson* lesson, std::size_t index,
               const QString& prefix = {})
{
    if (ended.End != PressEnd::FormulaError && ended.End != PressEnd::Fault)
        return;
    result.ExitStatus = RenderTraceFailed;
    result.Messages << prefix + NamedMessage(ended, lesson, index);
    if (!ended.Advice.empty())
        result.Messages << QString::fromStdString(ended.Advice);
}

// What was drawn, for --save-lesson: the presses as they ended, and the
// panel the lesson had, or the press of the options with the t the next
// "Kresli" would start from.
struct Drawing {
    PressHistory Drawn;
    double TAfter = 0.0;
};

// Draws the presses in order onto `surface`. A stop (the time, a signal)
// passes out as EvaluationCancelled, once the press it stopped is kept in
// `drawing` with where it stopped (ReplayStoppablePress).
void DrawPresses(PlotSurface& surface, const PressHistory& presses, TraceHost& host, const Lesson* lesson,
                 RenderResult& result, Drawing& drawing)
{
    for (std::size_t i = 0; i < presses.size(); ++i) {
        bool stopped = false;
        std::optional<RecordedPress> drawn = ReplayStoppablePress(surface, presses[i], &host, stopped);
        drawing.TAfter = surface.VarT;
        if (drawn)
            drawing.Drawn.push_back(*drawn);
        if (stopped)
            throw EvaluationCancelled();
        // A fault as its box words it, after the option it came from; the
        // plane keeps what was drawn.
        NoteEnded(result, drawn->Result, lesson, i);
    }
}

// The presses in order, recorded step by step when a GIF is written.
// However the drawing ends, the animation ends with the last step drawn.
void DrawRecorded(PlotSurface& surface, const PressHistory& presses, RenderHost& host, GifInMemory* gif,
                  const Lesson* lesson, RenderResult& result, Drawing& drawing)
{
    std::optional<TraceRecorder> recorder;
    if (gif)
        recorder.emplace(surface, host, *gif);
    TraceHost& traceHost = recorder ? static_cast<TraceHost&>(*recorder) : host;
    struct FinishRecorder {
        std::optional<TraceRecorder>& recorder;
        ~FinishRecorder()
        {
            if (recorder)
                recorder->Finish();
        }
    } finish{recorder};
    DrawPresses(surface, presses, traceHost, lesson, result, drawing);
}

// The press once per value of the sweep, each a whole curve and one frame:
// on the plane as it stood at the start, or (family) over the values before.
// The points are those of the last value drawn. However the sweep ends, the
// animation ends with what was drawn last.
void Sweep(PlotSurface& surface, const RenderRequest& request, RenderHost& host, GifInMemory* gif,
           RenderResult& result, Drawing& drawing)
{
    const RenderSweep& sweep = *request.Sweep;
    const PlaneSnapshot start = surface.Snapshot();
    PlaneChanges changes(surface);
    const PixelRect bounds = surface.Plane().Rect();
    if (gif)
        gif->Start(changes.Picture());
    struct LastFrame {
        PlaneChanges& changes;
        GifInMemory* gif;
        PixelRect bounds;
        ~LastFrame()
        {
            if (gif && (changes.Any() || gif->FrameCount() == 0))
                gif->Frame(changes.Take(bounds));
        }
    } last{changes, gif, bounds};
    const QChar letter = QChar::fromLatin1(PressVariables[sweep.Variable].Letter);
    RecordedPress press{request.Press, std::nullopt, {}};
    for (std::int64_t i = 0; i < sweep.Range.Count; ++i) {
        host.Poll();
        const std::string value = FormulaText(SweepValue(sweep.Range, i));
        press.Press.Variables[sweep.Variable].Value = value;
        if (!sweep.Family && i > 0)
            surface.Restore(start);
        host.Rows.clear();
        press.Result = ReplayPresses(surface, std::span(&press, 1), &host).front();
        NoteEnded(result, press.Result, nullptr, 0, QString(letter) + '=' + QString::fromStdString(value) + ": ");
        // The lesson of a sweep: its last value, or every value of a family.
        if (!sweep.Family)
            drawing.Drawn.clear();
        drawing.Drawn.push_back(press);
        drawing.TAfter = surface.VarT;
        if (gif)
            gif->Frame(changes.Take(bounds));
    }
}

// The colours the presses may bring, each once, in the order they come.
std::vector<std::uint32_t> LessonColours(const PressHistory& presses, const TCanvas& canvas)
{
    std::vector<std::uint32_t> colours;
    for (const RecordedPress& press : presses) {
        for (const std::uint32_t colour : PressColours(press.Press, canvas)) {
            if (std::find(colours.begin(), colours.end(), colour) == colours.end())
                colours.push_back(colour);
        }
    }
    return colours;
}

}  // namespace

RenderResult RunRender(const RenderRequest& request, const Lesson* lesson)
{
    // When no output can be written, that is said before the trace, which
    // may be long, rather than after it. With one output writable the trace
    // runs, and the others' failures are reported when they are written.
    RenderResult result;
    QStringList refusals;
    bool anyWritable = false;
    const std::pair<QString, QString> outputs[] = {
        {request.OutputPath, PictureFileWhat(request.Format)},
        {request.PointsPath, QStringLiteral("Body")},
        {request.SaveLessonPath, LessonWhat()},
    };
    for (const auto& [path, what] : outputs) {
        if (path.isEmpty())
            continue;
        const QString refusal = OutputFileRefusal(path, what);
        anyWritable = anyWritable || refusal.isEmpty();
        if (!refusal.isEmpty())
            refusals << refusal;
    }
    if (!anyWritable) {
        result.ExitStatus = RenderNotWritten;
        result.Messages << refusals;
        return result;
    }

    // The plot window as start-up leaves it: 500 x 500, white.
    PlotSurface surface;
    surface.ResizePlane(500, 500);
    surface.FillPlane(255, 255, 255);
    // Only SVG and PDF are drawn from the record.
    surface.KeepCurveRecord(request.Format == PictureFormat::Svg || request.Format == PictureFormat::Pdf);

    const PressHistory presses = lesson ? lesson->Drawn : PressHistory{RecordedPress{request.Press, std::nullopt, {}}};
    Drawing drawing;
    // A GIF is encoded as its frames are drawn, so only the file is held.
    std::optional<GifInMemory> gif;
    if (request.Format == PictureFormat::Gif) {
        GifOptions options;
        options.Plays = request.Plays;
        // A lesson's panel too: a lesson saved from the options holds their
        // press as its panel even when it drew nothing, and gives the same file.
        PressHistory coloured = presses;
        if (lesson)
            coloured.push_back(RecordedPress{lesson->Panel, std::nullopt, {}});
        gif.emplace(options, LessonColours(coloured, surface.Canvas()));
    }
    std::vector<PointRow> rows;
    {
        RenderStop stop(request.TimeoutSeconds);
        RenderHost host(stop);
        try {
            if (request.Sweep)
                Sweep(surface, request, host, gif ? &*gif : nullptr, result, drawing);
            else
                DrawRecorded(surface, presses, host, gif ? &*gif : nullptr, lesson, result, drawing);
        } catch (const EvaluationCancelled&) {
            result.ExitStatus = RenderTraceFailed;
            result.Messages << stop.Reason();
        } catch (const std::exception& fault) {
            result.ExitStatus = RenderTraceFailed;
            result.Messages << QString::fromUtf8(fault.what()) + u'.';
        }
        rows = std::move(host.Rows);
    }
    EncodedGif encoded;
    if (gif)
        encoded = gif->Finish();

    OutputFileOptions options;
    options.Cancel = &StopFlag();
    PictureSource source;
    source.Plane = &surface.Plane();
    source.Record = &surface.Record();
    source.Encoded = gif ? &encoded : nullptr;
    source.PngScale = request.Scale;
    NoteNotWritten(result, WritePictureFile(request.Format, source, request.OutputPath, options));
    if (!request.PointsPath.isEmpty()) {
        const std::string csv = PointsCsv(rows);
        const auto writeCsv = [&csv](QIODevice& device) {
            return device.write(csv.data(), static_cast<qint64>(csv.size())) == static_cast<qint64>(csv.size());
        };
        NoteNotWritten(result, WriteOutputFile(request.PointsPath, QStringLiteral("Body"), writeCsv, options));
    }
    if (!request.SaveLessonPath.isEmpty()) {
        Lesson drawn;
        drawn.Panel = lesson ? lesson->Panel : request.Press;
        if (!lesson)
            drawn.Panel.TBefore = drawing.TAfter;
        drawn.Drawn = std::move(drawing.Drawn);
        NoteNotWritten(result, WriteLessonFile(request.SaveLessonPath, drawn, options));
    }
    return result;
}

