// 16-bit arithmetic of the auto-scroll measures: differences cut to 16 bits with
// wrap-around, as signed values, computed without overflow for any 32-bit input.
#pragma once

#include "platform.h"

constexpr SHORT Difference16(LONG a, LONG b)
{
    return static_cast<SHORT>(static_cast<WORD>(static_cast<DWORD>(a) - static_cast<DWORD>(b)));
}

// Two 16-bit values in one 32-bit message parameter, low word first.
constexpr DWORD PackWords(LONG low, LONG high)
{
    return static_cast<DWORD>(static_cast<WORD>(low)) | static_cast<DWORD>(static_cast<WORD>(high)) << 16;
}

// The absolute value of a 16-bit value, widened first, so -32768 gives 32768.
constexpr LONG Magnitude16(SHORT value)
{
    return value < 0 ? -static_cast<LONG>(value) : value;
}
