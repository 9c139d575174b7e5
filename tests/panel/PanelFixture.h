// A fresh control panel (and with it a fresh plot window) for each test, with
// the message boxes captured instead of shown.
#pragma once

#include <QImage>
#include <QLabel>
#include <QList>
#include <QTest>

#include "ControlPanel.h"
#include "Dialogs.h"
#include "Draw2D.h"
#include "StartUp.h"

struct PanelFixture {
    QList<MessageBoxRequest> Boxes;

    void Start()
    {
        SetUpApplication();
        SetMessagePresenter([this](const MessageBoxRequest& box) { Boxes.append(box); });
        ColorChooser = nullptr;
        new TControl_Panel;
        Control_Panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(Control_Panel));
    }

    void Stop()
    {
        delete Control_Panel;
        delete Draw2D;
        Draw2D = nullptr;
        ColorChooser = nullptr;
        SetMessagePresenter(nullptr);
        Boxes.clear();
    }
};

// Number of pixels of `image` that differ from (r, g, b).
inline int PixelsOtherThan(const QImage& image, int r, int g, int b)
{
    int count = 0;
    const QRgb wanted = qRgb(r, g, b);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) != (wanted & 0xFFFFFF);
    return count;
}

// The indicator as it is shown on screen.
inline QImage IndicatorOnScreen()
{
    return Control_Panel->ColorIndicator->grab().toImage();
}
