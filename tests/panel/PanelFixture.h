// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh program for each test: a document, the control panel (and with it
// the plot window, its menu, readout, zoom and pan), with the message boxes
// captured instead of shown.
#pragma once

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QTest>

#include <memory>

#include "PlaneImages.h"
#include "ControlPanel.h"
#include "Dialogs.h"
#include "Draw2D.h"
#include "PlotDocument.h"
#include "PressRun.h"
#include "Program.h"
#include "StartUp.h"

struct PanelFixture;
// The fixture of the test running now, for the helpers below.
inline PanelFixture* ActiveFixture = nullptr;

struct PanelFixture {
    QList<MessageBoxRequest> Boxes;
    std::unique_ptr<PlotDocument> Document;
    std::unique_ptr<Program> Windows;

    void Start()
    {
        SetUpApplication();
        SetMessagePresenter([this](const MessageBoxRequest& box) { Boxes.append(box); });
        ColorChooser = nullptr;
        Document = std::make_unique<PlotDocument>();
        Windows = std::make_unique<Program>(*Document);
        ActiveFixture = this;
        Control_Panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(Control_Panel));
    }

    void Stop()
    {
        Windows.reset();
        Document.reset();
        ActiveFixture = nullptr;
        ColorChooser = nullptr;
        SetMessagePresenter(nullptr);
        Boxes.clear();
    }
};

// The running test's document and the plot window's menu.
inline PlotDocument& TheDocument()
{
    return *ActiveFixture->Document;
}

inline PlotMenu& TheMenu()
{
    return *ActiveFixture->Windows->Menu();
}

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
