// The one door to the Win32 platform.
//
// The cross build (mingw-w64, i686) sees the real <windows.h>; the host build sees
// winsim, our own declarations and simulation of the calls the product makes.
// No other file of the product includes either header.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <stdio.h>
// Places a variable in a named image section that every process mapping the
// module shares (read, write, shared).
#define PLATFORM_SHARED_SECTION(name) __attribute__((section(name), shared))
// The C runtime's text streams and file functions, as the product calls them:
// crt::fopen and so on. On the host they work on winsim's mapped file system.
namespace crt {
using ::FILE;
using ::fopen;
using ::fgets;
using ::fputs;
using ::fclose;
using ::ferror;
using ::rename;
using ::remove;
}  // namespace crt
#else
#include "winsim.h"
// The host build is one process: an ordinary variable is all the sharing there is.
#define PLATFORM_SHARED_SECTION(name)
namespace crt = winsim::crt;
#endif
