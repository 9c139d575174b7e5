// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh control panel (and with it a fresh plot window) for each test, with
// the message boxes captured instead of shown.
#pragma once

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QTest>

#include "ControlPanel.h"
#include "CurveTrace.h"
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

// Types the nine texts into the panel's fields.
inline void SetPanelTexts(const TraceTexts& texts)
{
    TControl_Panel& panel = *Control_Panel;
    const std::pair<QLineEdit*, const std::string*> fields[] = {
        {panel.EditEq1, &texts.EquationX}, {panel.EditEq2, &texts.EquationY}, {panel.EditX1, &texts.X1},
        {panel.EditX2, &texts.X2},         {panel.EditY1, &texts.Y1},         {panel.EditY2, &texts.Y2},
        {panel.EditT1, &texts.T1},         {panel.EditT2, &texts.T2},         {panel.EditSeg, &texts.Segments}};
    for (const auto& [edit, text] : fields)
        edit->setText(QString::fromStdString(*text));
}

// "Kresli", clicked as a user does.
inline void PressKresli()
{
    QTest::mouseClick(Control_Panel->Button1, Qt::LeftButton);
}

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
