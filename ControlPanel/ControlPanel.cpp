// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlPanel.h"

#include <QFont>
#include <QLineEdit>
#include <QPixmap>

#include <array>
#include <cstdlib>

#include "AccessibleRoles.h"
#include "CaptionFont.h"
#include "Canvas.h"
#include "Dialogs.h"
#include "Draw2D.h"
#include "OuterFrame.h"
#include "PlaneDescription.h"
#include "PlaneHistory.h"
#include "VariablesWindow.h"

TControl_Panel* Control_Panel = nullptr;

namespace {

const QRect OuterFrame(7, 8, 320, 559);

}  // namespace

TControl_Panel::TControl_Panel(QWidget* parent)
    : QWidget(parent), ColorDialog1(this)
{
    // Reachable from the start, as the plot window is made during construction.
    Control_Panel = this;
    InstallAccessibleRoles();
    setupUi(this);
    ApplyCaptionFace(*this, CaptionFaceFor(*this));
    new OuterFrameKeeper(*this, OuterFrame);
    // The plot window is the main window: closing the panel only hides it.
    setAttribute(Qt::WA_QuitOnClose, false);

    // Connected after the layout has checked RadioButton1, so no preset is
    // applied at start. toggled(true) fires only for the button that becomes
    // checked, never for a click on the one already checked.
    for (QRadioButton* button : {RadioButton1, RadioButton2, RadioButton3, RadioButton4}) {
        connect(button, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                RunHandler([this] { Zadani(); });
        });
    }
    const auto draw = [this] { RunHandler([this] { Param_Curve(); }); };
    connect(Button1, &QPushButton::clicked, this, draw);
    // Enter in any field draws, as in a form with a default button.
    for (QLineEdit* field : findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly))
        connect(field, &QLineEdit::returnPressed, this, draw);
    connect(Button2, &QPushButton::clicked, this, [this] { RunHandler([this] { Finish(); }); });
    connect(Button3, &QPushButton::clicked, this, [this] { RunHandler([this] { Clear(); }); });
    connect(Button4, &QPushButton::clicked, this, [this] { RunHandler([this] { ColorChange(); }); });

    // The variables window shows a row for each variable the formulas use.
    for (std::size_t i = 0; i < PresetFieldCount; ++i) {
        connect(FieldEdit(PressFields[i].Field), &QLineEdit::textChanged, this, [this] {
            if (VariablesWindow)
                VariablesWindow->ShowRowsFor(CurrentPress().Texts);
        });
    }

    RunHandler([this] { SetDraw2D(); });
    Button1->setFocus();
    // The focus ring shows from the start, not only after the first Tab: a
    // keyboard user must see where Enter and Space will act.
    setAttribute(Qt::WA_KeyboardFocusChange);
}

TControl_Panel::~TControl_Panel()
{
    CloseVariablesWindow();
    if (Control_Panel == this)
        Control_Panel = nullptr;
}

void TControl_Panel::SetDraw2D()
{
    Draw2D = new TDraw2D;
    Draw2D->SetPlaneSize(500, 500);
    Draw2D->FillPlane(255, 255, 255);
    Draw2D->setWindowTitle(QStringLiteral("Parametric Curve"));
    Draw2D->setVisible(true);
    Draw2D->CurveB = 200;
    Draw2D->CurveG = 0;
    Draw2D->CurveR = 0;
    PaintIndicator(ColorValue(Draw2D->CurveR, Draw2D->CurveG, Draw2D->CurveB));
    // A screen reader hears what the plane holds: the presses since the wipe.
    PlaneHistory& history = PlaneHistory::Of(*Draw2D);
    connect(&history, &PlaneHistory::Changed, Draw2D, [&history] {
        Draw2D->SetPlaneDescription(QString::fromStdString(DescribePlane(history.Presses())));
    });
}

void TControl_Panel::Finish()
{
    if (Draw2D)
        Draw2D->setVisible(false);
    // At once: the event loop is not returned to.
    std::exit(0);
}

void TControl_Panel::Clear()
{
    if (!Draw2D)
        return;
    Draw2D->FillPlane(255, 255, 255);
    Draw2D->RepaintPlane();
    PlaneHistory::Of(*Draw2D).Clear();
}

void TControl_Panel::ColorChange()
{
    if (ColorDialog1.Execute() && Draw2D) {
        const std::int32_t v = ColorDialog1.Color;
        Draw2D->CurveB = static_cast<std::uint8_t>(v / 65536);
        Draw2D->CurveG = static_cast<std::uint8_t>((v - Draw2D->CurveB * 65536) / 256);
        Draw2D->CurveR = static_cast<std::uint8_t>(v % 256);
    }
    // The dialog's own colour, also after a cancel.
    PaintIndicator(ColorDialog1.Color);
}

void TControl_Panel::Zadani()
{
    // By checked state, not by sender; the group has exactly one checked.
    const std::array<QRadioButton*, 4> buttons{RadioButton1, RadioButton2, RadioButton3, RadioButton4};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i]->isChecked())
            WritePreset(CurvePresets[i]);
    }
}

void TControl_Panel::WritePreset(const CurvePreset& preset)
{
    // The eight fields in the order of the table: formulas, window, range.
    for (std::size_t i = 0; i < PresetFieldCount; ++i)
        FieldEdit(PressFields[i].Field)->setText(QString::fromUtf8(preset.Texts[i]));
}

QLineEdit* TControl_Panel::FieldEdit(InputField field) const
{
    const PressField* entry = FindPressField(field);
    return entry ? findChild<QLineEdit*>(QString::fromLatin1(entry->WidgetName)) : nullptr;
}

TracePress TControl_Panel::CurrentPress() const
{
    TracePress press;
    for (const PressField& field : PressFields)
        press.Texts.*field.Text = FieldEdit(field.Field)->text().toStdString();
    press.ShowAxes = CheckBox1->isChecked();
    press.Dashed = CheckBox2->isChecked();
    if (VariablesWindow)
        press.Variables = VariablesWindow->Texts();
    if (Draw2D) {
        press.CurveR = Draw2D->CurveR;
        press.CurveG = Draw2D->CurveG;
        press.CurveB = Draw2D->CurveB;
        press.TBefore = Draw2D->VarT;
    }
    return press;
}

void TControl_Panel::ShowPress(const TracePress& press)
{
    for (const PressField& field : PressFields)
        FieldEdit(field.Field)->setText(QString::fromStdString(press.Texts.*field.Text));
    CheckBox1->setChecked(press.ShowAxes);
    CheckBox2->setChecked(press.Dashed);
    // The window is made only when there is something for it to show.
    if (VariablesWindow || press.Variables != TracePress{}.Variables)
        EnsureVariablesWindow().ShowTexts(press.Variables);
    if (Draw2D) {
        Draw2D->CurveR = press.CurveR;
        Draw2D->CurveG = press.CurveG;
        Draw2D->CurveB = press.CurveB;
        Draw2D->VarT = press.TBefore;
    }
    PaintIndicator(ColorValue(press.CurveR, press.CurveG, press.CurveB));
}

void TControl_Panel::PaintIndicator(std::int32_t colour)
{
    if (IndicatorBitmap.isNull())
        IndicatorBitmap = QImage(ColorIndicator->size(), QImage::Format_RGB888);
    {
        TCanvas canvas(IndicatorBitmap);
        canvas.SetPenColor(colour);
        canvas.SetBrushColor(colour);
        canvas.Rectangle(0, 0, IndicatorBitmap.width(), IndicatorBitmap.height());
    }
    ColorIndicator->setPixmap(QPixmap::fromImage(IndicatorBitmap));
    // A screen reader cannot see the box: it reads the colour as numbers.
    ColorIndicator->setAccessibleDescription(QStringLiteral("R %1, G %2, B %3")
                                                 .arg(colour & 0xFF)
                                                 .arg((colour >> 8) & 0xFF)
                                                 .arg((colour >> 16) & 0xFF));
}

QString InputFieldName(InputField field)
{
    const PressField* entry = FindPressField(field);
    return entry ? QString::fromUtf8(entry->MessageName) : QString();
}

QString RefusalText(const std::string& message, InputField field)
{
    const QString text = QString::fromStdString(message);
    if (const PressVariable* variable = FindPressVariable(field))
        return text + QStringLiteral("\nProměnná: ") + QChar::fromLatin1(variable->Letter);
    const QString name = InputFieldName(field);
    return name.isEmpty() ? text : text + QStringLiteral("\nPole: ") + name;
}

QStringList FallbackFaces()
{
    return {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
            QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")};
}

void InstallFontFallback()
{
    // Faces with Arial's widths come closest to the fixed control sizes; DejaVu
    // Sans, wider, is the one sure to be installed.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), FallbackFaces());
}
