// SPDX-License-Identifier: GPL-3.0-or-later
// The writer is chosen when the library is built: the browser has no giflib,
// and PARAMCURVE_OWN_GIF puts our own through the desktop's tests.
#include "GifFileWriter.h"

#if defined(__EMSCRIPTEN__) || defined(PARAMCURVE_OWN_GIF)
#include "OwnGifFileWriter.h"
using ChosenGifFileWriter = OwnGifFileWriter;
#else
#include "GiflibFileWriter.h"
using ChosenGifFileWriter = GiflibFileWriter;
#endif

std::unique_ptr<GifFileWriter> MakeGifFileWriter()
{
    return std::make_unique<ChosenGifFileWriter>();
}
