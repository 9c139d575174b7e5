// SPDX-License-Identifier: GPL-3.0-or-later
#include "Lesson.h"

bool SameLesson(const Lesson& a, const Lesson& b)
{
    if (!(a.Panel == b.Panel) || a.Drawn.size() != b.Drawn.size())
        return false;
    for (std::size_t i = 0; i < a.Drawn.size(); ++i) {
        if (!(a.Drawn[i].Press == b.Drawn[i].Press) || a.Drawn[i].StopAt != b.Drawn[i].StopAt)
            return false;
    }
    return true;
}
