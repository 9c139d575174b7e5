// SPDX-License-Identifier: GPL-3.0-or-later
// The control panel: every input of the program, the presets, the curve
// colour and the buttons. Its construction also creates and prepares the
// plot window, on whose plane the document draws.
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>

#include "ColorDialog.h"
#include "PanelPress.h"
#include "PlotDocument.h"
#include "Presets.h"
#include "RgbImage.h"
#include "ui_Control_Panel.h"

class PressRun;

// The controls (Button1, EditEq1, RadioButton1, ColorIndicator, ...) come
// from the layout under their designer names.
class TControl_Panel : public QWidget, public Ui::TControl_Panel, public PanelPress {
    Q_OBJECT

public:
    explicit TControl_Panel(PlotDocument& document, QWidget* parent = nullptr);
    ~TControl_Panel() override;

    TColorDialog ColorDialog1;

    // Event handlers.
    void SetDraw2D();    // creation: make and prepare the plot window
    void Param_Curve();  // "Kresli": read the inputs and trace the curve
    void Finish();       // "konec": hide the plot window, end the process
    void Clear();        // "Vymaž": wipe the plane
    void ColorChange();  // "Barva křivky": choose the curve colour
    void Zadani();       // a preset became checked: write its texts

    TracePress CurrentPress() const override;
    void ShowPress(const TracePress& press) override;
    std::array<std::string, 4> WorldTexts() const override;
    void ShowWorldTexts(const std::array<std::string, 4>& texts) override;

    // Asked before "konec" ends the program; false: it goes on. None: it ends.
    std::function<bool()> MayEnd;

    // The edit field of an input; nullptr for InputField::None.
    QLineEdit* FieldEdit(InputField field) const;

signals:
    // A field of the formulas or the bounds changed: the variables used may.
    void TextsChanged(const TraceTexts& texts);
    // "Kresli" is about to trace these texts (before its input is held).
    void Pressing(const TraceTexts& texts);

private:
    void ReadInputs(PressRun& run);
    // A box over the plane, then the focus in the field to change (if any)
    // with its text selected.
    void ShowMessageAbout(const PressResult& result);
    void WritePreset(const CurvePreset& preset);
    void PaintIndicator(std::int32_t colour);

    PlotDocument& document_;
    RgbImage IndicatorBitmap;  // the indicator's own bitmap, made on first paint
    std::int32_t SegmentCount = 0;
    std::string EquationX;
    std::string EquationY;
};

extern TControl_Panel* Control_Panel;  // the one control panel
