// SPDX-License-Identifier: GPL-3.0-or-later
// std::bit_cast where the C++ library lacks it (the WebAssembly build's
// libc++ 14): the compiler's builtin, which the library's own is made of.
#pragma once

#include <bit>
#include <version>

#if !defined(__cpp_lib_bit_cast)
namespace std {
template <class To, class From>
    requires(sizeof(To) == sizeof(From))
constexpr To bit_cast(const From& from) noexcept
{
    return __builtin_bit_cast(To, from);
}
}  // namespace std
#endif
