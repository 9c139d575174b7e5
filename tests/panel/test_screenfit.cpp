// SPDX-License-Identifier: GPL-3.0-or-later
// Every window on the screen's available area, from a 1024 x 768 projector
// up and at the screen's scale (the screen is the run's: see CMakeLists), and
// "Proměnné" on a lower screen too:
// the panel, the plot window and "Proměnné" with any number of rows, placed
// beside, below or over the plot window; rows that do not fit scroll, and
// the keyboard reaches every control, each scrolled into view.
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include "PanelFixture.h"
#include "ScreenPlace.h"
#include "VariablesWindow.h"

namespace {

// Formulas that use the first `count` of k n r s x y z.
TraceTexts UsingVariables(int count)
{
    std::string x = "t", y = "t";
    const char letters[] = "knrsxyz";
    for (int i = 0; i < count; ++i)
        (i < 4 ? x : y) += std::string("+") + letters[i];
    return {x, y, "-4", "4", "-4", "4", "0", "2*pi", "30"};
}

QRect Available()
{
    return Draw2D->screen()->availableGeometry();
}

// `widget`'s rectangle within the viewport of `area`, as shown.
bool ShownWithin(const QWidget* widget, const QScrollArea* area)
{
    const QRect inViewport(widget->mapTo(area->viewport(), QPoint(0, 0)), widget->size());
    return area->viewport()->rect().contains(inViewport);
}

}  // namespace

class TestScreenFit : public QObject {
    Q_OBJECT
    PanelFixture Fixture;

    TVariables& OpenVariables()
    {
        QTest::keyClick(Draw2D, Qt::Key_R, Qt::ControlModifier);
        TVariables* window = Fixture.Windows->VariablesIfMade();
        if (!window)
            qFatal("Ctrl+R made no variables window");
        if (!QTest::qWaitForWindowExposed(window))
            qFatal("the variables window was not shown");
        return *window;
    }

private slots:
    void init() { Fixture.Start(); }
    void cleanup() { Fixture.Stop(); }

    // Where the window goes, for frames as this program's windows have them.
    void placement_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("anchor");
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QPoint>("topLeft");
        QTest::addColumn<int>("heightCut");
        const QRect plot(327, 6, 547, 590);
        QTest::newRow("beside on a wide screen") << QRect(0, 0, 1600, 1000) << plot << QSize(460, 590)
                                                 << QPoint(878, 6) << 0;
        QTest::newRow("below where beside is too narrow") << QRect(0, 0, 1280, 1300) << plot << QSize(460, 590)
                                                          << QPoint(327, 600) << 0;
        QTest::newRow("over, at the right edge hiding less")
            << QRect(0, 0, 1280, 1024) << plot << QSize(460, 590) << QPoint(820, 6) << 0;
        QTest::newRow("over, at the left edge hiding less")
            << QRect(0, 0, 1024, 768) << plot << QSize(460, 590) << QPoint(0, 6) << 0;
        QTest::newRow("over, moved up to fit") << QRect(0, 0, 1024, 768) << plot << QSize(460, 766)
                                               << QPoint(0, 2) << 0;
        QTest::newRow("too tall: top kept, rows cut") << QRect(0, 0, 1024, 768) << plot << QSize(460, 900)
                                                      << QPoint(0, 0) << 132;
        QTest::newRow("a bar on top and at the left") << QRect(64, 28, 960, 740) << QRect(327, 28, 547, 590)
                                                      << QSize(460, 590) << QPoint(64, 28) << 0;
    }

    void placement()
    {
        QFETCH(QRect, available);
        QFETCH(QRect, anchor);
        QFETCH(QSize, frame);
        QFETCH(QPoint, topLeft);
        QFETCH(int, heightCut);
        const ScreenPlace place = PlaceBeside(anchor, frame, available, 4);
        QCOMPARE(place.TopLeft, topLeft);
        QCOMPARE(place.HeightCut, heightCut);
    }

    // A window that grew while shown, or was moved partly off, comes back on.
    void fitWithin_data()
    {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QPoint>("topLeft");
        QTest::addColumn<int>("heightCut");
        QTest::newRow("within stays") << QRect(100, 100, 400, 300) << QPoint(100, 100) << 0;
        QTest::newRow("off the bottom right") << QRect(900, 600, 400, 300) << QPoint(624, 468) << 0;
        QTest::newRow("off the top left") << QRect(-50, -20, 400, 300) << QPoint(0, 0) << 0;
        QTest::newRow("taller than the area") << QRect(100, 300, 400, 1000) << QPoint(100, 0) << 232;
    }

    void fitWithin()
    {
        QFETCH(QRect, frame);
        QFETCH(QPoint, topLeft);
        QFETCH(int, heightCut);
        const ScreenPlace place = FitWithin(frame, QRect(0, 0, 1024, 768));
        QCOMPARE(place.TopLeft, topLeft);
        QCOMPARE(place.HeightCut, heightCut);
    }

    // With 0 to 7 rows, opened at once or grown after opening, every window
    // lies on the screen and Tab goes through every row's controls and on to
    // "ponechat stopu", each seen in the rows' view when it has the focus.
    void everyWindowOnScreen_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("rowsBefore");  // -1: the rows are there when it opens
        for (int rows = 0; rows <= 7; ++rows)
            QTest::addRow("%d rows", rows) << rows << -1;
        QTest::newRow("1 row grown to 7") << 7 << 1;
        QTest::newRow("7 rows shrunk to 2") << 2 << 7;
    }

    void everyWindowOnScreen()
    {
        QFETCH(int, rows);
        QFETCH(int, rowsBefore);
        SetPanelTexts(UsingVariables(rowsBefore < 0 ? rows : rowsBefore));
        TVariables& window = OpenVariables();
        if (rowsBefore >= 0)
            SetPanelTexts(UsingVariables(rows));

        const QRect available = Available();
        // Below 1024 x 768 only "Proměnné" is made to fit.
        QList<const QWidget*> windows{&window};
        if (available.width() >= 1024 && available.height() >= 768)
            windows << Control_Panel << Draw2D;
        for (const QWidget* each : windows)
            QVERIFY2(available.contains(each->frameGeometry()),
                     qPrintable(QStringLiteral("%1 at %2,%3 %4x%5 is off %6x%7")
                                    .arg(each->windowTitle())
                                    .arg(each->frameGeometry().x())
                                    .arg(each->frameGeometry().y())
                                    .arg(each->frameGeometry().width())
                                    .arg(each->frameGeometry().height())
                                    .arg(available.width())
                                    .arg(available.height())));
        // "ponechat stopu" and the status line inside the window.
        QVERIFY(window.rect().contains(window.KeepTrace->geometry()));
        QVERIFY(window.rect().contains(window.Status->geometry()));
        QVERIFY(window.RowArea->geometry().bottom() < window.KeepTrace->geometry().top());

        // Tab from the first row's value through all the rows.
        QList<QWidget*> expected;
        for (std::size_t i = 0; i < VariableCount; ++i) {
            const TVariables::Row& row = window.RowOf(i);
            if (row.Box->isVisible())
                expected << row.Value << row.Slider << row.Low << row.High << row.Step << row.Animate;
        }
        QCOMPARE(expected.size(), rows * 6);
        expected << window.KeepTrace;
        expected.first()->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), expected.first());
        // Forwards with Tab, then back with Shift+Tab.
        QList<QWidget*> order = expected;
        for (int i = expected.size() - 2; i >= 0; --i)
            order << expected[i];
        for (int i = 0; i < order.size(); ++i) {
            if (i > 0)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                                i < expected.size() ? Qt::NoModifier : Qt::ShiftModifier);
            QCOMPARE(QApplication::focusWidget(), order[i]);
            if (window.RowList->isAncestorOf(order[i]))
                QVERIFY2(ShownWithin(order[i], window.RowArea),
                         qPrintable(QStringLiteral("step %1 of Tab: a control out of view").arg(i)));
        }
        // Scrolling exactly when the rows are taller than their view, and
        // that when the whole window would not fit on the screen.
        const bool scrolls = window.RowArea->viewport()->height() < window.RowList->height();
        QCOMPARE(window.RowArea->verticalScrollBar()->isVisible(), scrolls);
        const int wholeHeight = window.frameGeometry().height() - window.RowArea->height() + window.RowList->height();
        QCOMPARE(scrolls, wholeHeight > available.height());
    }
};

QTEST_MAIN(TestScreenFit)
#include "test_screenfit.moc"
