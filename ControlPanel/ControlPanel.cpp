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
#include "DocumentSignals.h"
#include "Draw2D.h"
#include "OuterFrame.h"
#include "PlaneDescription.h"
#include "PlaneQt.h"

TControl_Panel* Control_Panel = nullptr;

namespace {

const QRect OuterFrame(7, 8, 320, 559);

}  // namespace

TControl_Panel::TControl_Panel(PlotDocument& document, QWidget* parent)
    : QWidget(parent), ColorDialog1(this), document_(document)
{
    // Reachable from the start, as the plot window is made during construction.
    Control_Panel = this;
    SetAccessibleRole(*this, QAccessible::Window);
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
        connect(FieldEdit(PressFields[i].Field), &QLineEdit::textChanged, this,
                [this] { emit TextsChanged(CurrentPress().Texts); });
    }

    RunHandler([this] { SetDraw2D(); });
    Button1->setFocus();
    // The focus ring shows from the start, not only after the first Tab: a
    // keyboard user must see where Enter and Space will act.
    setAttribute(Qt::WA_KeyboardFocusChange);
}

TControl_Panel::~TControl_Panel()
{
    if (Control_Panel == this)
        Control_Panel = nullptr;
}

void TControl_Panel::SetDraw2D()
{
    Draw2D = new TDraw2D;
    document_.AttachPlane(*Draw2D);
    Draw2D->SetPlaneSize(500, 500);
    Draw2D->FillPlane(255, 255, 255);
    Draw2D->setWindowTitle(QStringLiteral("Parametric Curve"));
    Draw2D->setVisible(true);
    document_.SetColour(0, 0, 200);
    PaintIndicator(document_.Colour());
    // A screen reader hears what the plane holds: the presses since the wipe.
    auto* news = new DocumentSignals(document_, Draw2D);
    connect(news, &DocumentSignals::PressesChanged, Draw2D, [this] {
        Draw2D->SetPlaneDescription(QString::fromStdString(DescribePlane(document_.Presses())));
    });
    // The indicator shows the colour the next press draws in, however it came.
    connect(news, &DocumentSignals::NextPressChanged, this, [this] { PaintIndicator(document_.Colour()); });
}

void TControl_Panel::Finish()
{
    // Curves not saved as a lesson are offered for saving first.
    if (MayEnd && !MayEnd())
        return;
    if (Draw2D)
        Draw2D->setVisible(false);
    // At once: the event loop is not returned to.
    std::exit(0);
}

void TControl_Panel::Clear()
{
    if (!Draw2D)
        return;
    document_.Wipe();
    Draw2D->RepaintPlane();
}

void TControl_Panel::ColorChange()
{
    // Opened on the curve's colour, whatever it was last chosen or opened with.
    if (document_.HasPlane())
        ColorDialog1.Color = document_.Colour();
    if (ColorDialog1.Execute() && Draw2D) {
        const std::int32_t v = ColorDialog1.Color;
        const auto blue = static_cast<std::uint8_t>(v / 65536);
        const auto green = static_cast<std::uint8_t>((v - blue * 65536) / 256);
        const auto red = static_cast<std::uint8_t>(v % 256);
        document_.SetColour(red, green, blue);
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
    press.Variables = document_.Variables();
    press.KeepTrace = document_.KeepTrace();
    if (document_.HasPlane()) {
        const std::int32_t colour = document_.Colour();
        press.CurveR = std::uint8_t(colour & 0xFF);
        press.CurveG = std::uint8_t((colour >> 8) & 0xFF);
        press.CurveB = std::uint8_t((colour >> 16) & 0xFF);
        press.TBefore = document_.NextT();
    }
    return press;
}

void TControl_Panel::ShowPress(const TracePress& press)
{
    for (const PressField& field : PressFields)
        FieldEdit(field.Field)->setText(QString::fromStdString(press.Texts.*field.Text));
    CheckBox1->setChecked(press.ShowAxes);
    CheckBox2->setChecked(press.Dashed);
    document_.SetVariables(press.Variables);
    document_.SetKeepTrace(press.KeepTrace);
    if (document_.HasPlane()) {
        document_.SetNextT(press.TBefore);
        document_.SetColour(press.CurveR, press.CurveG, press.CurveB);
    }
    PaintIndicator(ColorValue(press.CurveR, press.CurveG, press.CurveB));
}

namespace {

constexpr std::array<InputField, 4> WorldFields{InputField::X1, InputField::X2, InputField::Y1, InputField::Y2};

}  // namespace

std::array<std::string, 4> TControl_Panel::WorldTexts() const
{
    std::array<std::string, 4> texts;
    for (std::size_t i = 0; i < WorldFields.size(); ++i)
        texts[i] = FieldEdit(WorldFields[i])->text().toStdString();
    return texts;
}

void TControl_Panel::ShowWorldTexts(const std::array<std::string, 4>& texts)
{
    for (std::size_t i = 0; i < WorldFields.size(); ++i)
        FieldEdit(WorldFields[i])->setText(QString::fromStdString(texts[i]));
}

void TControl_Panel::PaintIndicator(std::int32_t colour)
{
    if (IndicatorBitmap.IsNull())
        IndicatorBitmap = RgbImage(ColorIndicator->width(), ColorIndicator->height());
    {
        TCanvas canvas(IndicatorBitmap);
        canvas.SetPenColor(colour);
        canvas.SetBrushColor(colour);
        canvas.Rectangle(0, 0, IndicatorBitmap.Width(), IndicatorBitmap.Height());
    }
    ColorIndicator->setPixmap(QPixmap::fromImage(ToQImage(IndicatorBitmap)));
    // A screen reader cannot see the box: it reads the colour as numbers.
    ColorIndicator->setAccessibleDescription(QStringLiteral("R %1, G %2, B %3")
                                                 .arg(colour & 0xFF)
                                                 .arg((colour >> 8) & 0xFF)
                                                 .arg((colour >> 16) & 0xFF));
}
