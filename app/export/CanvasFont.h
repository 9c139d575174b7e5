// SPDX-License-Identifier: GPL-3.0-or-later
// The toolkit face of the canvas's texts: what the plane's glyph table was
// made from (tools/glyphs) and what the vector replay of an axis writes its
// numbers in, so both lay texts out alike.
#pragma once

#include <QFont>

// "MS Sans Serif" where installed, else DejaVu Sans, else the default sans
// serif; `pixelHeight` pixels high (at least 1), unantialiased, unkerned.
QFont CanvasFont(int pixelHeight);
