// Check helpers for the Windows test programs run under Wine.
//
// Each check prints one line, "ok <what>" or "FAIL <what> expected <e> actual <a>",
// and counts failures; Finish() prints a closing line and gives the exit code.
// Output is unbuffered so that a crash leaves every line printed before it.
#pragma once

#include "platform.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <type_traits>

namespace checks {

inline int failures = 0;
inline int total = 0;

inline void Start(const char* program)
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    printf("== %s\n", program);
}

// Values are compared and printed as 64-bit integers: signed types keep their sign,
// pointers and handles become their address.
template <class T>
long long AsNumber(T value)
{
    if constexpr (std::is_pointer_v<T>)
        return static_cast<long long>(reinterpret_cast<uintptr_t>(value));
    else
        return static_cast<long long>(value);
}

// Every value here is at most 32 bits wide; -1 prints as 0xFFFFFFFF.
inline unsigned long Hex(long long value)
{
    return static_cast<unsigned long>(value & 0xFFFFFFFF);
}

inline bool Count(bool good)
{
    ++total;
    if (!good)
        ++failures;
    return good;
}

template <class E, class A>
bool Equal(const char* what, E expected, A actual)
{
    const long long e = AsNumber(expected);
    const long long a = AsNumber(actual);
    if (Count(e == a))
        printf("ok %s = %lld (0x%lX)\n", what, a, Hex(a));
    else
        printf("FAIL %s expected %lld (0x%lX) actual %lld (0x%lX)\n", what, e, Hex(e), a, Hex(a));
    return e == a;
}

inline bool Text(const char* what, const char* expected, const char* actual)
{
    const bool good = actual != nullptr && strcmp(expected, actual) == 0;
    if (Count(good))
        printf("ok %s = \"%s\"\n", what, actual);
    else
        printf("FAIL %s expected \"%s\" actual %s%s%s\n", what, expected, actual ? "\"" : "",
               actual ? actual : "(null)", actual ? "\"" : "");
    return good;
}

inline bool True(const char* what, bool condition)
{
    if (Count(condition))
        printf("ok %s\n", what);
    else
        printf("FAIL %s expected true actual false\n", what);
    return condition;
}

// A precondition of later checks: silent when it holds, a failure when it does not.
inline bool Require(const char* what, bool condition)
{
    Count(condition);
    if (!condition)
        printf("FAIL %s\n", what);
    return condition;
}

// Closes the program's output; the result is its exit code.
inline int Finish()
{
    printf("== %d checks, %d failed\n", total, failures);
    return failures == 0 ? 0 : 1;
}

// Labels built on the fly ("cursor IDC_SCROLL hot spot x"); one buffer per call site
// is enough because each label is used before the next is made.
struct Label {
    char text[160];
    template <class... Args>
    explicit Label(const char* format, Args... args)
    {
        snprintf(text, sizeof text, format, args...);
    }
    operator const char*() const { return text; }
};

}  // namespace checks

#define CHECK_EQ(what, expected, actual) ::checks::Equal((what), (expected), (actual))
#define CHECK_STR(what, expected, actual) ::checks::Text((what), (expected), (actual))
#define CHECK_TRUE(what, condition) ::checks::True((what), static_cast<bool>(condition))
#define REQUIRE(what, condition) ::checks::Require((what), static_cast<bool>(condition))
