// SPDX-License-Identifier: GPL-3.0-or-later
// The plane as an animation: the picture it started from and, step by step,
// the part of it that changed. Frame k laid over the frames before it is the
// plane after step k.
#pragma once

#include <QImage>
#include <QRect>

#include <vector>

// One frame: the rectangle that may have changed since the frame before
// (empty when nothing did) and the plane's pixels inside it afterwards.
struct PlaneFrame {
    QRect Changed;
    QImage Pixels;  // Changed's size, the plane's format; null when Changed is empty
};

struct PlaneAnimation {
    QImage Start;  // the plane before the first frame
    std::vector<PlaneFrame> Frames;
};

// Lays a frame's pixels onto a picture of the frame before it (both RGB888;
// anything else, or a frame whose pixels do not fit its rectangle, is left out).
void ApplyFrame(QImage& picture, const PlaneFrame& frame);
