// SPDX-License-Identifier: GPL-3.0-or-later
// The plane's bitmap as PNG.
#pragma once

#include <QImage>
#include <QString>

class QIODevice;

// An empty string on success, otherwise the message for the user.
QString WritePng(const QImage& plane, QIODevice& device);
