// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenScale.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Far beyond any screen's factor; bounds the search for absurd requests.
constexpr int LargestFactor = 64;

bool FitsAt(const QRect& frame, int k, const QRect& available)
{
    const int left = std::max(frame.x() * k, available.x());
    const int top = std::max(frame.y() * k, available.y());
    return left + frame.width() * k <= available.x() + available.width() &&
           top + frame.height() * k <= available.y() + available.height();
}

struct ScreenRequest {
    double Requested = 1;
    QRect Available;  // in the screen's own pixels, from its top-left corner
};

std::vector<ScreenRequest> ProbeScreens(int argc, char* argv[])
{
    // The probe must not consume the toolkit's options the real application
    // object is still to read, so it gets copies.
    std::vector<QByteArray> copies(argv, argv + argc);
    std::vector<char*> arguments;
    for (QByteArray& copy : copies)
        arguments.push_back(copy.data());
    arguments.push_back(nullptr);
    int count = argc;

    // A session manager would take the probe for the program and register it.
    const QByteArray sessionManager = qgetenv("SESSION_MANAGER");
    qunsetenv("SESSION_MANAGER");
    // The factors as asked for, unrounded.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    const QByteArray rounding = qgetenv("QT_SCALE_FACTOR_ROUNDING_POLICY");
    qputenv("QT_SCALE_FACTOR_ROUNDING_POLICY", "PassThrough");

    std::vector<ScreenRequest> screens;
    {
        QGuiApplication probe(count, arguments.data());
        for (const QScreen* screen : QGuiApplication::screens()) {
            // Logical sizes times the factor give the screen's own pixels.
            const double factor = screen->devicePixelRatio();
            const QRect whole = screen->geometry();
            const QRect available = screen->availableGeometry();
            screens.push_back({factor, QRect(qRound((available.x() - whole.x()) * factor),
                                             qRound((available.y() - whole.y()) * factor),
                                             qRound(available.width() * factor),
                                             qRound(available.height() * factor))});
        }
    }

    if (!sessionManager.isNull())
        qputenv("SESSION_MANAGER", sessionManager);
    if (rounding.isNull())
        qunsetenv("QT_SCALE_FACTOR_ROUNDING_POLICY");
    else
        qputenv("QT_SCALE_FACTOR_ROUNDING_POLICY", rounding);
    return screens;
}

}  // namespace

int FittingScaleFactor(double requested, const QRect& available, const QList<QRect>& frames)
{
    if (!std::isfinite(requested) || requested <= 1)
        return 1;
    // A hair above a whole number is that number: 96.0001 dpi is still 1.
    const int limit = int(std::min<double>(std::ceil(requested - 1e-6), LargestFactor));
    for (int k = limit; k > 1; --k) {
        if (std::all_of(frames.begin(), frames.end(), [&](const QRect& frame) { return FitsAt(frame, k, available); }))
            return k;
    }
    return 1;
}

QList<QRect> LaidOutFrames()
{
    // forms/Control_Panel.ui and forms/Draw2D.ui; the windows keep their
    // outer frames there (OuterFrame.h), so their sizes include the frames.
    return {QRect(7, 8, 320, 559), QRect(327, 6, 545, 560)};
}

void UseFittingScaleFactors(int argc, char* argv[])
{
    const std::vector<ScreenRequest> screens = ProbeScreens(argc, argv);
    if (screens.empty())
        return;
    QStringList factors;
    bool scaled = false;
    for (const ScreenRequest& screen : screens) {
        const int factor = FittingScaleFactor(screen.Requested, screen.Available, LaidOutFrames());
        factors << QString::number(factor);
        scaled = scaled || factor > 1;
    }

    // The chosen factor replaces the user's and the screen's own (from its
    // density): it already holds both.
    qunsetenv("QT_SCALE_FACTOR");
    if (!scaled) {
        // To the toolkit, factors of 1 alone are no factors: it would take
        // each screen's own again.
        qunsetenv("QT_SCREEN_SCALE_FACTORS");
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
        return;
    }
    qputenv("QT_SCREEN_SCALE_FACTORS", factors.join(u';').toLatin1());
    // Unrounded, the screen's density adds nothing to the fonts' resolution
    // either: text grows with the windows, by the same whole factor.
    qputenv("QT_SCALE_FACTOR_ROUNDING_POLICY", "PassThrough");
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
}
