// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColorDialog.h"

#include <QColorDialog>

#include "PlotState.h"

ColorChooserFunction ColorChooser;

ColorChoice RunColorDialog(std::int32_t current, QWidget* parent)
{
    const QColor initial(current & 0xFF, (current >> 8) & 0xFF, (current >> 16) & 0xFF);
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid())
        return {false, current};
    return {true, ColorValue(static_cast<std::uint8_t>(chosen.red()), static_cast<std::uint8_t>(chosen.green()),
                             static_cast<std::uint8_t>(chosen.blue()))};
}

bool TColorDialog::Execute()
{
    const ColorChoice choice = ColorChooser ? ColorChooser(Color) : RunColorDialog(Color, Parent);
    if (choice.Confirmed)
        Color = choice.Color;
    return choice.Confirmed;
}
