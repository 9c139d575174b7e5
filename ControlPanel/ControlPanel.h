// SPDX-License-Identifier: GPL-3.0-or-later
// The control panel: every input of the program, the presets, the curve
// colour and the buttons. Its construction also creates and prepares the
// plot window.
#pragma once

#include <QImage>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <string>

#include "ColorDialog.h"
#include "CurveTrace.h"
#include "Presets.h"
#include "ui_Control_Panel.h"

// The controls (Button1, EditEq1, RadioButton1, ColorIndicator, ...) come
// from the layout under their designer names.
class TControl_Panel : public QWidget, public Ui::TControl_Panel {
    Q_OBJECT

public:
    explicit TControl_Panel(QWidget* parent = nullptr);
    ~TControl_Panel() override;

    TColorDialog ColorDialog1;

    // Event handlers.
    void SetDraw2D();    // creation: make and prepare the plot window
    void Param_Curve();  // "Kresli": read the inputs and trace the curve
    void Finish();       // "konec": hide the plot window, end the process
    void Clear();        // "Vymaž": wipe the plane
    void ColorChange();  // "Barva křivky": choose the curve colour
    void Zadani();       // a preset became checked: write its texts

    // The press "Kresli" would make now: the fields, the check boxes, the
    // curve colour, the t the last press left behind and the variables
    // window's values (0 and the default ranges while it was never made).
    TracePress CurrentPress() const;
    // Fills the panel with a press, so that "Kresli" makes it: the fields,
    // the check boxes, the curve colour (and the indicator), t and the
    // variables window's values.
    void ShowPress(const TracePress& press);
    // The edit field of an input; nullptr for InputField::None.
    QLineEdit* FieldEdit(InputField field) const;

private:
    void ReadInputs(const TracePress& press, FaultPlace& place);
    // A box over the plane, then the focus in the field to change (if any)
    // with its text selected.
    void ShowMessageAbout(const QString& text, InputField field, bool fault);
    void WritePreset(const CurvePreset& preset);
    void PaintIndicator(std::int32_t colour);

    QImage IndicatorBitmap;  // the indicator's own bitmap, made on first paint
    std::int32_t SegmentCount = 0;
    std::string EquationX;
    std::string EquationY;
};

extern TControl_Panel* Control_Panel;  // the one control panel

// The name of an input field in messages, after the panel's captions:
// "t, konec" is the right field of the row "t", "x =" the x formula.
QString InputFieldName(InputField field);

// A refusal's message with the refused field named on a line below it.
QString RefusalText(const std::string& message, InputField field);

// "MS Sans Serif" is rarely installed outside Windows: map it to the first
// installed of these sans-serif faces; the layouts give the pixel heights.
QStringList FallbackFaces();
void InstallFontFallback();
