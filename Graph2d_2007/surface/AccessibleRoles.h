// SPDX-License-Identifier: GPL-3.0-or-later
// Roles for the program's own widget classes. Assistive technology sees a
// plain widget as a bare area (a "filler" through AT-SPI): the two top-level
// windows are windows (a screen reader announces them by their titles), the
// plane an image. Names and descriptions come from the layouts.
#pragma once

// Safe to call more than once; the windows' constructors call it.
void InstallAccessibleRoles();
