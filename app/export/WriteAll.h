// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a finished file's bytes to a device in one go.
#pragma once

#include <QByteArray>
#include <QIODevice>

inline bool WriteAll(QIODevice& device, const QByteArray& bytes)
{
    return device.write(bytes) == bytes.size();
}
