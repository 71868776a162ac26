// Bounded text in fixed buffers: copies and appends that never write past the buffer
// and say whether the whole text fitted.
#pragma once

// Copies `source` into `target` (room for `size` characters, terminator included).
// Returns false, with the copy cut to size - 1 characters, when it did not fit.
inline bool CopyText(char *target, int size, const char *source)
{
    int i = 0;
    for (; i < size - 1 && source[i] != '\0'; ++i)
        target[i] = source[i];
    target[i] = '\0';
    return source[i] == '\0';
}

template <int size> bool CopyText(char (&target)[size], const char *source)
{
    return CopyText(target, size, source);
}

// Appends `source` to the text in `target`; false, with the result cut, when it did
// not fit.
inline bool AppendText(char *target, int size, const char *source)
{
    int length = 0;
    while (length < size - 1 && target[length] != '\0')
        ++length;
    return CopyText(target + length, size - length, source);
}

template <int size> bool AppendText(char (&target)[size], const char *source)
{
    return AppendText(target, size, source);
}

// Joins up to three texts into `target`; false (target emptied) when they do not fit.
template <int size> bool JoinText(char (&target)[size], const char *a, const char *b, const char *c = "")
{
    if (CopyText(target, a) && AppendText(target, b) && AppendText(target, c))
        return true;
    target[0] = '\0';
    return false;
}

inline char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline bool SameTextIgnoringCase(const char *a, const char *b)
{
    for (; UpperAscii(*a) == UpperAscii(*b); ++a, ++b)
        if (*a == '\0')
            return true;
    return false;
}
