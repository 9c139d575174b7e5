#include "RenderJob.h"

#include <QIODevice>

#include <charconv>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "CurveTrace.h"
#include "OutputFile.h"
#include "PictureFile.h"
#include "PlotSurface.h"
#include "PressReplay.h"
#include "RealArith.h"
#include "RenderStop.h"
#include "TraceRecorder.h"
#include "VariableValues.h"

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

    std::vector<PointRow> Rows;

private:
    RenderStop& stop_;
};

// Shortest text that reads back as the same double, with a "." whatever the
// locale: 0.002877 typed shows as 0.002877.
void AppendReal(std::string& line, double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general);
    line.append(buffer, result.ptr);
}

std::string PointsCsv(const std::vector<PointRow>& rows)
{
    std::string csv = "t,x,y\n";
    for (const PointRow& row : rows) {
        AppendReal(csv, row.t);
        csv += ',';
        AppendReal(csv, row.x);
        csv += ',';
        AppendReal(csv, row.y);
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

// "--x1: Chybny vyraz": a message after the option of the input it is about.
QString NamedMessage(InputField input, const QString& message)
{
    const QString option = OptionOf(input);
    return option.isEmpty() ? message : option + ": " + message;
}

// Notes how a press ended; a message for one that ended early, after
// `prefix` (the value of a sweep's frame).
void NoteEnded(RenderResult& result, const PressResult& ended, const QString& prefix = {})
{
    // A fault as its box words it, after the option it came from; the
    // plane keeps what was drawn.
    if (!ended.EndedEarly())
        return;
    result.ExitStatus = RenderTraceFailed;
    result.Messages << prefix + NamedMessage(ended.Focus, QString::fromStdString(ended.Message));
}

// The one press, recorded step by step when a GIF is written. However the
// trace ends, the animation ends with the last step drawn.
void TraceOnce(PlotSurface& surface, const RenderRequest& request, RenderHost& host, GifInMemory* gif,
               RenderResult& result)
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
    const RecordedPress press{request.Press, std::nullopt, {}};
    for (const PressResult& ended : ReplayPresses(surface, std::span(&press, 1), &traceHost))
        NoteEnded(result, ended);
}

// The press once per value of the sweep, each a whole curve and one frame:
// on the plane as it stood at the start, or (family) over the values before.
// The points are those of the last value drawn. However the sweep ends, the
// animation ends with what was drawn last.
void Sweep(PlotSurface& surface, const RenderRequest& request, RenderHost& host, GifInMemory* gif,
           RenderResult& result)
{
    const RenderSweep& sweep = *request.Sweep;
    const PlaneSnapshot start = surface.Snapshot();
    PlaneChanges changes(surface);
    const QRect bounds = surface.Plane().rect();
    if (gif)
        gif->Start(changes.Picture());
    struct LastFrame {
        PlaneChanges& changes;
        GifInMemory* gif;
        QRect bounds;
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
        const std::string value = ValueText(SweepValue(sweep.Range, i));
        press.Press.Variables[sweep.Variable].Value = value;
        if (!sweep.Family && i > 0)
            surface.Restore(start);
        host.Rows.clear();
        const PressResult ended = ReplayPresses(surface, std::span(&press, 1), &host).front();
        NoteEnded(result, ended, QString(letter) + '=' + QString::fromStdString(value) + ": ");
        if (gif)
            gif->Frame(changes.Take(bounds));
    }
}

}  // namespace

RenderResult RunRender(const RenderRequest& request)
{
    // When no output can be written, that is said before the trace, which
    // may be long, rather than after it. With one output writable the trace
    // runs, and the other's failure is reported when it is written.
    RenderResult result;
    const QString pictureRefusal = OutputFileRefusal(request.OutputPath, PictureFileWhat(request.Format));
    const QString pointsRefusal
        = request.PointsPath.isEmpty() ? QString() : OutputFileRefusal(request.PointsPath, QStringLiteral("Body"));
    if (!pictureRefusal.isEmpty() && (request.PointsPath.isEmpty() || !pointsRefusal.isEmpty())) {
        result.ExitStatus = RenderNotWritten;
        result.Messages << pictureRefusal;
        if (!pointsRefusal.isEmpty())
            result.Messages << pointsRefusal;
        return result;
    }

    // The plot window as start-up leaves it: 500 x 500, white.
    PlotSurface surface;
    surface.ResizePlane(500, 500);
    surface.FillPlane(255, 255, 255);
    // Only SVG and PDF are drawn from the record.
    surface.KeepCurveRecord(request.Format == PictureFormat::Svg || request.Format == PictureFormat::Pdf);

    // A GIF is encoded as its frames are drawn, so only the file is held.
    std::optional<GifInMemory> gif;
    if (request.Format == PictureFormat::Gif) {
        GifOptions options;
        options.Plays = request.Plays;
        gif.emplace(options, PressColours(request.Press, surface.Canvas()));
    }
    std::vector<PointRow> rows;
    {
        RenderStop stop(request.TimeoutSeconds);
        RenderHost host(stop);
        try {
            if (request.Sweep)
                Sweep(surface, request, host, gif ? &*gif : nullptr, result);
            else
                TraceOnce(surface, request, host, gif ? &*gif : nullptr, result);
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
    NoteNotWritten(result, WritePictureFile(request.Format, source, request.OutputPath, options));
    if (!request.PointsPath.isEmpty()) {
        const std::string csv = PointsCsv(rows);
        const auto writeCsv = [&csv](QIODevice& device) {
            return device.write(csv.data(), static_cast<qint64>(csv.size())) == static_cast<qint64>(csv.size());
        };
        NoteNotWritten(result, WriteOutputFile(request.PointsPath, QStringLiteral("Body"), writeCsv, options));
    }
    return result;
}

