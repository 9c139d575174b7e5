// SPDX-License-Identifier: GPL-3.0-or-later
// A double as C99 hexadecimal text, exactly as glibc's printf("%a") writes
// it, on every build (musl's %a writes denormals otherwise).
#pragma once

#include <string>

// 0x1.8p+1, -0x0p+0, 0x0.0000000000001p-1022, inf, -nan.
std::string HexFloatText(double value);
