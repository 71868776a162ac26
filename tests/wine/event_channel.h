// The event log and command channel shared by the input test programs (the resident
// stand-in and the scroll target application) that the driver input_scenarios.py talks to.
//
// Log: every line goes to standard output, unbuffered, as
//   "<seq> t=<microseconds> <text>"
// where seq counts the program's lines from 1 and t is the performance counter in
// microseconds, so the driver can order lines and time them.
//
// Commands: the driver writes the files "<prefix>.1", "<prefix>.2", ... one after the
// other into the program's working folder (each appears whole, by a rename). A timer
// polls for the next file every few milliseconds; each line of it is logged as
// "cmd <n>: <line>" and handed to the program's handler in order, then "cmd <n> done"
// is logged and the file removed.
#pragma once

#include "platform.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

namespace channel {

inline unsigned long lineCount = 0;
inline LARGE_INTEGER counterFrequency = {};

inline void Start()
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    QueryPerformanceFrequency(&counterFrequency);
}

inline unsigned long long NowMicroseconds()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const unsigned long long ticks = static_cast<unsigned long long>(now.QuadPart);
    const unsigned long long frequency = static_cast<unsigned long long>(counterFrequency.QuadPart);
    return frequency ? ticks / frequency * 1000000ULL + ticks % frequency * 1000000ULL / frequency : 0;
}

__attribute__((format(printf, 1, 2))) inline void Log(const char *format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    // One write per line, so a line is never split by a crash or a reader.
    char line[600];
    snprintf(line, sizeof line, "%lu t=%llu %s\n", ++lineCount, NowMicroseconds(), text);
    fputs(line, stdout);
}

// The handler of one command line; returns false when the line was not understood
// (logged as "cmd <n> bad").
using CommandHandler = bool (*)(char *line);

struct CommandFiles {
    const char *prefix = "";
    CommandHandler handler = nullptr;
    unsigned long next = 1;

    // Runs the next command file if it is there; true when one ran.
    bool Poll()
    {
        char name[MAX_PATH];
        snprintf(name, sizeof name, "%s.%lu", prefix, next);
        HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        char text[8192];
        DWORD size = 0;
        const BOOL read = ReadFile(file, text, sizeof text - 1, &size, nullptr);
        CloseHandle(file);
        if (!read)
            return false;
        text[size] = '\0';
        const unsigned long number = next++;
        DeleteFileA(name);
        char *line = text;
        while (*line) {
            char *end = line + strcspn(line, "\r\n");
            const bool last = *end == '\0';
            *end = '\0';
            if (*line) {
                Log("cmd %lu: %s", number, line);
                if (!handler(line))
                    Log("cmd %lu bad", number);
            }
            if (last)
                break;
            line = end + 1;
        }
        Log("cmd %lu done", number);
        return true;
    }
};

}  // namespace channel
