// SPDX-License-Identifier: GPL-3.0-or-later
// How large the 500 x 500 plane is shown: each of its pixels as k x k device
// pixels, k a whole number, so the plane stays crisp. As on the desktop
// (app/startup/ScreenScale.cpp), k is the largest that fits, at most the
// factor the screen asks for (its device pixel ratio, the browser's zoom
// included) rounded up, and at least 1: 150 % becomes 2 where a plane twice
// the size fits, else 1.

export const PlaneSize = 500;

// Far beyond any screen's factor; bounds the search for absurd ratios.
const LargestFactor = 64;

// `width` and `height` are the room for the plane in CSS pixels (height may
// be Infinity where the page scrolls); `ratio` is devicePixelRatio.
export function PlaneScale(width, height, ratio)
{
    const dpr = Number.isFinite(ratio) && ratio > 0 ? ratio : 1;
    // A hair above a whole number is that number.
    const limit = Math.min(Math.max(1, Math.ceil(dpr - 1e-6)), LargestFactor);
    let k = limit;
    // A CSS size is exact to a device pixel: compare in device pixels.
    while (k > 1 && (PlaneSize * k > Math.floor(width * dpr + 1e-6) || PlaneSize * k > Math.floor(height * dpr + 1e-6)))
        --k;
    return { factor: k, cssSize: PlaneSize * k / dpr };
}
