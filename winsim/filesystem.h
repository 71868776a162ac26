// winsim's mapped file system, as its file, stream and profile functions share it:
// Windows paths resolved to host paths, and the few host operations they all need.
// Only winsim's own sources include this header.
#pragma once

#include "world.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace winsim {

// Where a Windows path leads. `error` is 0 when the path maps to a host path; the file
// need not exist. Components that exist are taken in their stored case, the rest as
// given.
struct Located {
    DWORD error = 0;
    std::filesystem::path host;
    std::string key;        // the full Windows path in upper case: names the file
    std::string name;       // the last component as the caller gave it
    bool exists = false;
    bool isDirectory = false;
    bool parentExists = false;
    bool trailingSeparator = false;  // "NAME\": names a folder only
};

// Resolves a path: absolute ("C:\A"), drive-relative ("C:A"), root-relative ("\A") or
// relative to the current directory. "." and ".." are resolved; ".." stops at the root;
// trailing dots and blanks of the last component are dropped, as the platform does.
Located Locate(const char *windowsPath);

// The full Windows path of a path, without resolving it on the host ("C:\A\B").
// Empty for a path that names no drive folder.
std::string FullWindowsPath(const char *windowsPath);

// A file without write permission is read-only (the platform keeps it that way too).
bool IsReadOnly(const std::filesystem::path &host);

// Writes bytes at the host stream's position within the path's write budget
// (FailWritesAfter). False when not all of them could be written; what fits is written.
bool WriteBudgeted(std::FILE *host, const std::string &key, const char *bytes, std::size_t count);

// A host file's whole contents; false if it cannot be read.
bool ReadHostFile(const std::filesystem::path &host, std::string *bytes);

// SetCurrentDirectoryA without its log entry: the folder must exist. On failure it
// sets the last error and returns false.
bool ChangeDirectory(const char *path);

// DeleteFileA and MoveFileA without their log entries (the C runtime's remove and
// rename use them too). On failure they set the last error and return false.
bool DeleteLocatedFile(const char *path);
bool MoveLocatedFile(const char *from, const char *to);

}  // namespace winsim
