// SPDX-License-Identifier: GPL-3.0-or-later
// The plane as an animation: the picture it started from and, step by step,
// the part of it that changed. Frame k laid over the frames before it is the
// plane after step k.
//
// Frames are handed on as they are made (PlaneFrameSink), so an animation of
// thousands of frames never has to be held whole: a GIF stream encodes each
// as it comes, a PlaneAnimation keeps them all where that is wanted.
#pragma once

#include <vector>

#include "PlotSurface.h"

// One frame: the rectangle that may have changed since the frame before
// (empty when nothing did) and the plane's pixels inside it afterwards.
struct PlaneFrame {
    PixelRect Changed;
    RgbImage Pixels;  // Changed's size; null when Changed is empty
};

struct PlaneAnimation {
    RgbImage Start;  // the plane before the first frame
    std::vector<PlaneFrame> Frames;
};

// Lays a frame's pixels onto a picture of the frame before it (a frame whose
// pixels do not fit its rectangle is left out).
void ApplyFrame(RgbImage& picture, const PlaneFrame& frame);

// Where the frames of an animation go as they are made: first the start
// picture, then each frame in order.
class PlaneFrameSink {
public:
    virtual ~PlaneFrameSink() = default;
    virtual void Start(const RgbImage& start) = 0;
    virtual void Frame(const PlaneFrame& frame) = 0;
};

// A sink that keeps every frame.
class PlaneAnimationKeeper : public PlaneFrameSink {
public:
    void Start(const RgbImage& start) override { Animation.Start = start; }
    void Frame(const PlaneFrame& frame) override { Animation.Frames.push_back(frame); }

    PlaneAnimation Animation;
};

// Watches a surface from its construction to its destruction and gathers
// the rectangles its drawing changed, so the part of the plane that changed
// since the last frame can be taken as the next one. The surface must
// outlive it.
class PlaneChanges : private PlaneObserver {
public:
    explicit PlaneChanges(PlotSurface& surface);
    ~PlaneChanges() override;
    PlaneChanges(const PlaneChanges&) = delete;
    PlaneChanges& operator=(const PlaneChanges&) = delete;

    // The plane as it stands: the start of an animation.
    const RgbImage& Picture() const;
    bool Any() const { return !pending_.IsEmpty(); }
    // The changed part since the last frame (clipped to the plane as it
    // stood at the start, `bounds`), and from then on nothing is pending.
    PlaneFrame Take(PixelRect bounds);

private:
    void PlaneChanged(const PixelRect& rect) override;

    PlotSurface& surface_;
    PixelRect pending_;
};
