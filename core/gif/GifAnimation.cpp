// SPDX-License-Identifier: GPL-3.0-or-later
#include "GifAnimation.h"

#include "GifPalette.h"

EncodedGif EncodeAnimation(const PlaneAnimation& animation, const GifOptions& options)
{
    // Every colour in the order first met, starting with the start
    // picture's: the table the whole animation needs, where it fits one.
    GifPalette palette;
    bool fits = palette.AddColours(animation.Start, MaxGifColours);
    for (const PlaneFrame& frame : animation.Frames) {
        if (fits && !frame.Changed.IsEmpty())
            fits = palette.AddColours(frame.Pixels, MaxGifColours);
    }
    GifInMemory gif(options, fits ? palette.Colours() : std::vector<std::uint32_t>{});
    gif.Start(animation.Start);
    for (const PlaneFrame& frame : animation.Frames)
        gif.Frame(frame);
    return gif.Finish();
}
