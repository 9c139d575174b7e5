// SPDX-License-Identifier: GPL-3.0-or-later
// The sine and cosine of one evaluation. Private to the engine.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

#include "Expression.h"
#include "ExtendedMath.h"

// Sine and cosine within one evaluation, remembered for the last argument.
// When a program takes both (the planet orbit, or TAN) they come from one
// sincosl, as a C++ compiler forms the same formula; glibc's sincosl gives
// exactly the values of sinl and cosl, so the choice only saves time. Which
// case holds is looked up once, at the first sine or cosine, in the cells
// from there to the end cell, unless the owner knows it beforehand.
class TrigCache {
public:
    TrigCache() = default;
    explicit TrigCache(bool both) : state_(Decided), both_(both) {}

    // Whether the cells up to the end cell take both a sine and a cosine.
    static bool TakesBoth(const PostfixCell* cell, const PostfixCell* end)
    {
        bool sine = false;
        bool cosine = false;
        for (; cell != end && cell->Tag != EndTag; ++cell) {
            sine = sine || cell->Tag == CodeSin || cell->Tag == CodeTan;
            cosine = cosine || cell->Tag == CodeCos || cell->Tag == CodeTan;
        }
        return sine && cosine;
    }

    Extended Sin(double v, const PostfixCell* cell, const PostfixCell* end)
    {
        Decide(cell, end);
        return Sin(v);
    }

    Extended Cos(double v, const PostfixCell* cell, const PostfixCell* end)
    {
        Decide(cell, end);
        return Cos(v);
    }

    // For a cache constructed with its decision.
    Extended Sin(double v)
    {
        if (std::fabs(v) >= TrigLimit)
            return 0.0L;
        Select(v);
        if (!(state_ & HaveSin)) {
            if (both_)
                Both(v);
            else
                sin_ = SineExtended(v);
            state_ |= HaveSin;
        }
        return sin_;
    }

    Extended Cos(double v)
    {
        if (std::fabs(v) >= TrigLimit)
            return 0.0L;
        Select(v);
        if (!(state_ & HaveCos)) {
            if (both_)
                Both(v);
            else
                cos_ = CosineExtended(v);
            state_ |= HaveCos;
        }
        return cos_;
    }

private:
    enum : std::uint8_t { Decided = 1, Keyed = 2, HaveSin = 4, HaveCos = 8 };

    void Decide(const PostfixCell* cell, const PostfixCell* end)
    {
        if (!(state_ & Decided)) {
            both_ = TakesBoth(cell, end);
            state_ |= Decided;
        }
    }

    void Select(double v)
    {
        // Keyed by the bits: sin(-0) is -0 but sin(+0) is +0.
        const auto key = std::bit_cast<std::uint64_t>(v);
        if (!(state_ & Keyed) || key != key_) {
            key_ = key;
            state_ = (state_ & Decided) | Keyed;
        }
    }

    void Both(double v)
    {
        SineCosineExtended(v, sin_, cos_);
        state_ |= HaveSin | HaveCos;
    }

    // All a new cache sets: one small store.
    std::uint8_t state_ = 0;
    bool both_ = false;
    std::uint64_t key_;  // the bits of the last argument, when Keyed
    Extended sin_;       // when HaveSin
    Extended cos_;       // when HaveCos
};
