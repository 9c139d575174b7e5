// SPDX-License-Identifier: GPL-3.0-or-later
// A plain unsigned big integer for exact conversions between decimal text
// and binary reals: only the few operations those need, schoolbook. Private
// to the engine.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

class BigNumber {
public:
    BigNumber() = default;
    explicit BigNumber(std::uint64_t value)
    {
        while (value != 0) {
            limbs_.push_back(static_cast<std::uint32_t>(value));
            value >>= 32;
        }
    }

    bool IsZero() const { return limbs_.empty(); }

    // this = this * factor + addend
    void MultiplyAdd(std::uint32_t factor, std::uint32_t addend)
    {
        std::uint64_t carry = addend;
        for (std::uint32_t& limb : limbs_) {
            const std::uint64_t v = std::uint64_t{limb} * factor + carry;
            limb = static_cast<std::uint32_t>(v);
            carry = v >> 32;
        }
        if (carry != 0)
            limbs_.push_back(static_cast<std::uint32_t>(carry));
        Trim();
    }

    void MultiplyByPowerOfFive(int exponent)
    {
        constexpr std::uint32_t FiveTo13 = 1220703125;
        for (; exponent >= 13; exponent -= 13)
            MultiplyAdd(FiveTo13, 0);
        std::uint32_t rest = 1;
        for (; exponent > 0; --exponent)
            rest *= 5;
        MultiplyAdd(rest, 0);
    }

    void ShiftLeft(int bits)
    {
        if (IsZero() || bits <= 0)
            return;
        const int words = bits / 32;
        const int shift = bits % 32;
        limbs_.insert(limbs_.begin(), static_cast<std::size_t>(words), 0);
        if (shift != 0) {
            std::uint32_t carry = 0;
            for (std::size_t i = static_cast<std::size_t>(words); i < limbs_.size(); ++i) {
                const std::uint32_t limb = limbs_[i];
                limbs_[i] = (limb << shift) | carry;
                carry = limb >> (32 - shift);
            }
            if (carry != 0)
                limbs_.push_back(carry);
        }
    }

    int BitLength() const
    {
        if (IsZero())
            return 0;
        return static_cast<int>(32 * (limbs_.size() - 1)) + static_cast<int>(std::bit_width(limbs_.back()));
    }

    bool Bit(int index) const
    {
        const auto word = static_cast<std::size_t>(index / 32);
        return word < limbs_.size() && ((limbs_[word] >> (index % 32)) & 1) != 0;
    }

    // Whether any of the lowest `bits` bits is set.
    bool LowBitsSet(int bits) const
    {
        for (std::size_t i = 0; i < limbs_.size() && static_cast<int>(32 * i) < bits; ++i) {
            const int left = bits - static_cast<int>(32 * i);
            const std::uint32_t mask = left >= 32 ? ~std::uint32_t{0} : (std::uint32_t{1} << left) - 1;
            if ((limbs_[i] & mask) != 0)
                return true;
        }
        return false;
    }

    void ShiftRight(int bits)
    {
        const auto words = static_cast<std::size_t>(bits / 32);
        const int shift = bits % 32;
        if (words >= limbs_.size()) {
            limbs_.clear();
            return;
        }
        limbs_.erase(limbs_.begin(), limbs_.begin() + static_cast<std::ptrdiff_t>(words));
        if (shift != 0) {
            for (std::size_t i = 0; i < limbs_.size(); ++i) {
                const std::uint32_t next = i + 1 < limbs_.size() ? limbs_[i + 1] : 0;
                limbs_[i] = (limbs_[i] >> shift) | (next << (32 - shift));
            }
        }
        Trim();
    }

    friend int Compare(const BigNumber& a, const BigNumber& b)
    {
        if (a.limbs_.size() != b.limbs_.size())
            return a.limbs_.size() < b.limbs_.size() ? -1 : 1;
        for (std::size_t i = a.limbs_.size(); i-- > 0;) {
            if (a.limbs_[i] != b.limbs_[i])
                return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
        }
        return 0;
    }

    // this -= other, for other <= this.
    void Subtract(const BigNumber& other)
    {
        std::int64_t borrow = 0;
        for (std::size_t i = 0; i < limbs_.size(); ++i) {
            std::int64_t v = std::int64_t{limbs_[i]} - borrow - (i < other.limbs_.size() ? other.limbs_[i] : 0);
            borrow = v < 0 ? 1 : 0;
            if (v < 0)
                v += std::int64_t{1} << 32;
            limbs_[i] = static_cast<std::uint32_t>(v);
        }
        Trim();
    }

    // this = this / divisor, returning the remainder.
    std::uint32_t DivideSmall(std::uint32_t divisor)
    {
        std::uint64_t rest = 0;
        for (std::size_t i = limbs_.size(); i-- > 0;) {
            const std::uint64_t v = (rest << 32) | limbs_[i];
            limbs_[i] = static_cast<std::uint32_t>(v / divisor);
            rest = v % divisor;
        }
        Trim();
        return static_cast<std::uint32_t>(rest);
    }

    // The quotient of a / b when it is below 2^64, and the remainder left
    // in a: binary long division over the quotient's 64 bits.
    friend std::uint64_t DivideToWord(BigNumber& a, const BigNumber& b)
    {
        BigNumber r = a;
        r.ShiftRight(64);
        std::uint64_t q = 0;
        for (int bit = 63; bit >= 0; --bit) {
            r.ShiftLeft(1);
            if (a.Bit(bit))
                r.SetLowBit();
            q <<= 1;
            if (Compare(r, b) >= 0) {
                r.Subtract(b);
                q |= 1;
            }
        }
        a = r;
        return q;
    }

private:
    void Trim()
    {
        while (!limbs_.empty() && limbs_.back() == 0)
            limbs_.pop_back();
    }

    void SetLowBit()
    {
        if (limbs_.empty())
            limbs_.push_back(1);
        else
            limbs_[0] |= 1;
    }

    std::vector<std::uint32_t> limbs_;  // least significant first, no leading zero limbs
};
