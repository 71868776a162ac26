// 16-bit arithmetic of the auto-scroll measures: differences cut to 16 bits with
// wrap-around, as signed values, computed without overflow for any 32-bit input.
#pragma once

#include "platform.h"

constexpr SHORT Difference16(LONG a, LONG b)
{
    return static_cast<SHORT>(static_cast<WORD>(static_cast<DWORD>(a) - static_cast<DWORD>(b)));
}

// The absolute value of a 16-bit value, widened first, so -32768 gives 32768.
constexpr LONG Magnitude16(SHORT value)
{
    return value < 0 ? -static_cast<LONG>(value) : value;
}
