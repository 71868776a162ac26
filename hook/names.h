// Fixed-size names: comparisons and bounded copies without a C runtime (the library
// is mapped into every hooked process and brings no runtime along).
#pragma once

constexpr char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Exact comparison.
constexpr bool NamesEqual(const char *a, const char *b)
{
    for (; *a == *b; ++a, ++b)
        if (*a == '\0')
            return true;
    return false;
}

// Comparison without regard to ASCII case.
constexpr bool NamesEqualIgnoringCase(const char *a, const char *b)
{
    for (; AsciiUpper(*a) == AsciiUpper(*b); ++a, ++b)
        if (*a == '\0')
            return true;
    return false;
}

// Copies at most size - 1 characters and always terminates the copy.
template <int size> void CopyName(char (&target)[size], const char *source)
{
    int i = 0;
    for (; i < size - 1 && source[i] != '\0'; ++i)
        target[i] = source[i];
    target[i] = '\0';
}
