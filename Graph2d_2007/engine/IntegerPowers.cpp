// IntPower and Factorial: the whole-number arithmetic of "^" and FA.
#include <cmath>
#include <cstdint>

#include "Expression.h"
#include "ExtendedMath.h"
#include "LongWork.h"

namespace {

// True when |r| is sure to pass the 64-bit range within `count` roundings of
// r * |x| starting from 1. Each rounded product keeps at least
// |r * x| * (1 - 2^-52) (one rounding to 64 bits, one to 53), so after k steps
// |r| >= (|x| * (1 - 2^-52))^k; the margins make the test err on "not sure".
bool OverflowIsCertain(Extended magnitude, std::uint32_t count)
{
    if (magnitude <= 1.0L)
        return false;
    const Extended growthBits = std::log2(magnitude) - 0x1p-50L;
    if (growthBits <= 0.0L)
        return false;
    return static_cast<Extended>(count) * growthBits > 1025.0L * (1.0L + 0x1p-20L);
}

}  // namespace

double IntPower(double x, std::int32_t n)
{
    // The products are formed on the magnitude; the sign of every partial
    // product is sign(x)^k, since rounding never changes a sign.
    const std::uint32_t count = n < 0 ? 0u - static_cast<std::uint32_t>(n) : static_cast<std::uint32_t>(n);
    const Extended magnitude = std::fabs(static_cast<Extended>(x));

    // An overflow that must happen somewhere in the loop is raised at once:
    // the outcome is the same fault, only sooner.
    // (Short powers are left to the loop, which is quicker than the test.)
    if (count > 2048 && OverflowIsCertain(magnitude, count))
        RaiseFloatFault(FloatFaultKind::Overflow);

    double r = 1.0;
    for (std::uint32_t k = 0; k < count; ++k) {
        // A long run lets the program around it breathe, or stop it.
        if ((k & (LongWorkPollInterval - 1)) == LongWorkPollInterval - 1)
            PollLongWork();
        const double next = StoreFast(r * magnitude);
        // The magnitude evolves by a fixed rule of r alone: once a product
        // rounds back to r (1, 0, the smallest denormals), it stays there.
        if (next == r)
            break;
        r = next;
    }
    if (std::signbit(x) && (count & 1u) != 0)
        r = -r;
    if (n < 0)
        r = StoreReal(DivideExtended(1.0L, r));
    return r;
}

std::int32_t Factorial(std::int32_t n)
{
    // 34! holds 2^32 among its factors, so from 34 on the low 32 bits are 0.
    if (n >= 34)
        return 0;
    std::uint32_t product = 1;  // unsigned: the wrap is defined
    for (std::int32_t k = 2; k <= n; ++k)
        product *= static_cast<std::uint32_t>(k);
    return static_cast<std::int32_t>(product);
}
