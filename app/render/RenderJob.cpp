#include "RenderJob.h"

#include <QFile>
#include <QSaveFile>

#include <charconv>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "CurveTrace.h"
#include "PlaneFile.h"
#include "PlotSurface.h"

namespace {

struct PointRow {
    double t;
    double x;
    double y;
};

// The panel's host without its pause and repaint: nothing is on screen.
class RenderHost : public TraceHost {
public:
    explicit RenderHost(bool dashed) : dashed_(dashed) {}
    bool Dashed() override { return dashed_; }
    void Repaint() override {}
    void Pause() override {}
    void PointTraced(std::size_t, double t, const WorldPoint& point) override
    {
        Rows.push_back({t, point.x, point.y});
    }

    std::vector<PointRow> Rows;

private:
    bool dashed_;
};

// Shortest text that reads back as the same double, at most 17 digits, with a
// "." whatever the locale.
void AppendReal(std::string& line, double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, 17);
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

bool WritePoints(const QString& path, const std::string& csv)
{
    if (path == "-") {
        const bool written = std::fwrite(csv.data(), 1, csv.size(), stdout) == csv.size();
        return std::fflush(stdout) == 0 && written;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    if (file.write(csv.data(), static_cast<qint64>(csv.size())) != static_cast<qint64>(csv.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace

RenderResult RunRender(const RenderRequest& request)
{
    // The plot window as start-up leaves it: 500 x 500, white.
    PlotSurface surface;
    surface.ResizePlane(500, 500);
    surface.FillPlane(255, 255, 255);
    surface.CurveR = request.CurveR;
    surface.CurveG = request.CurveG;
    surface.CurveB = request.CurveB;

    RenderResult result;
    RenderHost host(request.Dashed);
    try {
        const TraceOutcome outcome = RunTrace(surface, request.Texts, request.ShowAxes, host);
        if (!outcome.Ok()) {
            result.ExitStatus = RenderTraceFailed;
            result.Messages << QString::fromStdString(outcome.Message);
        }
    } catch (const std::exception& fault) {
        // As the default fault box words it; the plane keeps what was drawn.
        result.ExitStatus = RenderTraceFailed;
        result.Messages << QString::fromUtf8(fault.what()) + u'.';
    }

    if (!WritePlanePng(surface.Plane(), request.OutputPath)) {
        result.ExitStatus = RenderNotWritten;
        result.Messages << PlaneNotSavedText(request.OutputPath);
    }
    if (!request.PointsPath.isEmpty() && !WritePoints(request.PointsPath, PointsCsv(host.Rows))) {
        result.ExitStatus = RenderNotWritten;
        result.Messages << QStringLiteral("Body se nepodařilo uložit do souboru %1.").arg(request.PointsPath);
    }
    return result;
}
