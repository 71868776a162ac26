// The mapped file system: Windows paths resolved to host folders, its test controls,
// and the KERNEL32 file, folder, disk and module-name functions on it.
//
// The rules follow what the platform does (checked under Wine):
// - A read-only file cannot be deleted (ERROR_ACCESS_DENIED) nor opened for writing,
//   but it can be renamed, and keeps its read-only attribute. (Wine running as root
//   lets root open it for writing; as any other user it refuses, as Windows does.)
// - Files report FILE_ATTRIBUTE_ARCHIVE (plus READONLY), folders FILE_ATTRIBUTE_DIRECTORY.
//   "FILE\" (a file with a trailing separator) is not found (ERROR_PATH_NOT_FOUND).
// - Missing file: ERROR_FILE_NOT_FOUND; missing folder on the way: ERROR_PATH_NOT_FOUND;
//   a drive that is not mapped: ERROR_FILE_NOT_FOUND.
// - MoveFileA fails with ERROR_ALREADY_EXISTS when the target exists (unless it is the
//   source itself, in another case: that renames to the new case). It moves folders too.
// - CreateDirectoryA makes one level: ERROR_ALREADY_EXISTS when the name is taken (by a
//   file too), ERROR_PATH_NOT_FOUND when the parent is missing.
// - GetModuleFileNameA with a buffer too small copies `size` characters unterminated,
//   returns `size` and sets ERROR_INSUFFICIENT_BUFFER. GetWindowsDirectoryA and
//   GetSystemDirectoryA with a buffer too small leave it alone and return the size
//   needed, terminator included.
// - SetCurrentDirectoryA on a missing folder fails with ERROR_FILE_NOT_FOUND (a missing
//   folder on the way: ERROR_PATH_NOT_FOUND; a file: ERROR_DIRECTORY).
// - GetDiskFreeSpaceA takes a drive root, any folder on the drive, or null for the
//   current drive; 512-byte sectors; a drive not mapped gives ERROR_PATH_NOT_FOUND.
#include "filesystem.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace winsim {
namespace {

constexpr std::uint64_t DEFAULT_FREE_BYTES = 256ull << 20;
constexpr std::uint64_t DEFAULT_TOTAL_BYTES = 1ull << 30;

[[noreturn]] void Misuse(const char *control, const char *path, const char *problem)
{
    throw std::logic_error(std::string("winsim::") + control + "(\"" + (path ? path : "(null)") + "\"): " + problem);
}

std::vector<std::string> SplitParts(const std::string &text)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : text + '\\') {
        if (c != '\\') {
            part += c;
            continue;
        }
        if (!part.empty())
            parts.push_back(part);
        part.clear();
    }
    return parts;
}

// A path taken apart: its drive and its components, "." and ".." resolved.
struct Parsed {
    char drive;
    std::vector<std::string> parts;
    bool trailingSeparator;
};

bool Parse(const char *path, Parsed *parsed)
{
    if (!path || !*path)
        return false;
    std::string text = path;
    for (char &c : text)
        if (c == '/')
            c = '\\';
    const std::string &cwd = TheWorld().currentDirectory;
    const char cwdDrive = cwd[0];
    std::vector<std::string> parts;
    std::string rest;
    if (text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':') {
        parsed->drive = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
        rest = text.substr(2);
        if ((rest.empty() || rest[0] != '\\') && parsed->drive == cwdDrive)
            parts = SplitParts(cwd.substr(2));
    } else if (text.size() >= 2 && text[0] == '\\' && text[1] == '\\') {
        return false;  // network names are not simulated
    } else {
        parsed->drive = cwdDrive;
        rest = text;
        if (rest[0] != '\\')
            parts = SplitParts(cwd.substr(2));
    }
    parsed->trailingSeparator = !rest.empty() && rest.back() == '\\';
    std::vector<std::string> given = SplitParts(rest);
    if (!given.empty() && given.back().find_first_not_of('.') != std::string::npos) {
        std::string &last = given.back();
        last.erase(last.find_last_not_of(". ") + 1);
    }
    for (const std::string &part : given) {
        if (part == "." || part.empty())
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    parsed->parts = std::move(parts);
    return true;
}

std::string Join(char drive, const std::vector<std::string> &parts)
{
    std::string path = std::string(1, drive) + ":\\";
    for (std::size_t i = 0; i < parts.size(); ++i)
        path += (i ? "\\" : "") + parts[i];
    return path;
}

// The entry of a host folder whose name matches without regard to case; an exact match
// wins, then the first in byte order (a host folder may hold names that differ in case).
bool FindEntry(const fs::path &folder, const std::string &name, std::string *stored)
{
    std::error_code error;
    bool found = false;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string entry = it->path().filename().string();
        if (entry == name) {
            *stored = entry;
            return true;
        }
        if (SameText(entry, name) && (!found || entry < *stored)) {
            *stored = entry;
            found = true;
        }
    }
    return found;
}

fs::path DriveFolder(char drive)
{
    const auto found = TheWorld().drives.find(drive);
    return found == TheWorld().drives.end() ? fs::path() : fs::path(found->second);
}

char CurrentDrive()
{
    return TheWorld().currentDirectory[0];
}

void DeleteScratchFoldersAtExit()
{
    DeleteScratchFolders();
}

Located LocateForControl(const char *control, const char *path)
{
    Located located = Locate(path);
    if (located.key.empty())
        Misuse(control, path,
               located.error == ERROR_FILE_NOT_FOUND ? "the drive is not mapped" : "not a path winsim can map");
    return located;
}

}  // namespace

Located Locate(const char *windowsPath)
{
    Located located;
    Parsed parsed;
    if (!Parse(windowsPath, &parsed)) {
        located.error = ERROR_PATH_NOT_FOUND;
        return located;
    }
    const fs::path folder = DriveFolder(parsed.drive);
    if (folder.empty()) {
        located.error = ERROR_FILE_NOT_FOUND;
        return located;
    }
    located.key = Upper(Join(parsed.drive, parsed.parts));
    located.trailingSeparator = parsed.trailingSeparator;
    located.host = folder;
    located.parentExists = true;
    if (parsed.parts.empty()) {
        located.exists = located.isDirectory = true;
        return located;
    }
    located.name = parsed.parts.back();
    for (std::size_t i = 0; i < parsed.parts.size(); ++i) {
        const bool last = i + 1 == parsed.parts.size();
        std::string stored;
        if (located.parentExists && FindEntry(located.host, parsed.parts[i], &stored) &&
            (last || fs::is_directory(located.host / stored))) {
            located.host /= stored;
            if (last) {
                located.exists = true;
                located.isDirectory = fs::is_directory(located.host);
            }
            continue;
        }
        if (!last)
            located.parentExists = false;
        located.host /= parsed.parts[i];
    }
    return located;
}

std::string FullWindowsPath(const char *windowsPath)
{
    Parsed parsed;
    return Parse(windowsPath, &parsed) ? Join(parsed.drive, parsed.parts) : std::string();
}

bool IsReadOnly(const fs::path &host)
{
    std::error_code error;
    const fs::perms perms = fs::status(host, error).permissions();
    return !error && (perms & fs::perms::owner_write) == fs::perms::none;
}

bool WriteBudgeted(std::FILE *host, const std::string &key, const char *bytes, std::size_t count)
{
    std::size_t allowed = count;
    const auto budget = TheWorld().writeBudgets.find(key);
    if (budget != TheWorld().writeBudgets.end()) {
        allowed = std::min(count, budget->second);
        budget->second -= allowed;
    }
    const std::size_t written = allowed ? std::fwrite(bytes, 1, allowed, host) : 0;
    const bool flushed = std::fflush(host) == 0;
    return flushed && written == count;
}

bool ReadHostFile(const fs::path &host, std::string *bytes)
{
    std::ifstream in(host, std::ios::binary);
    if (!in)
        return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool DeleteLocatedFile(const char *path)
{
    const Located file = Locate(path);
    DWORD error = file.error;
    if (!error && !file.parentExists)
        error = ERROR_PATH_NOT_FOUND;
    else if (!error && file.trailingSeparator)
        error = ERROR_INVALID_NAME;
    else if (!error && !file.exists)
        error = ERROR_FILE_NOT_FOUND;
    else if (!error && (file.isDirectory || IsReadOnly(file.host)))
        error = ERROR_ACCESS_DENIED;
    std::error_code removeError;
    if (!error && !fs::remove(file.host, removeError))
        error = ERROR_ACCESS_DENIED;
    if (error)
        SetError(error);
    return !error;
}

bool MoveLocatedFile(const char *from, const char *to)
{
    const Located source = Locate(from);
    const Located target = Locate(to);
    DWORD error = source.error;
    if (!error && !source.parentExists)
        error = ERROR_PATH_NOT_FOUND;
    else if (!error && !source.exists)
        error = ERROR_FILE_NOT_FOUND;
    else if (!error && target.error)
        error = target.error;
    else if (!error && !target.parentExists)
        error = ERROR_PATH_NOT_FOUND;
    else if (!error && target.trailingSeparator && !source.isDirectory)
        error = ERROR_DIRECTORY;
    else if (!error && target.exists && target.host != source.host)
        error = ERROR_ALREADY_EXISTS;
    if (!error) {
        // The same file named in another case is renamed to that case.
        const fs::path destination = target.exists ? target.host.parent_path() / target.name : target.host;
        std::error_code renameError;
        fs::rename(source.host, destination, renameError);
        if (renameError)
            error = ERROR_ACCESS_DENIED;
    }
    if (error)
        SetError(error);
    return !error;
}

bool ChangeDirectory(const char *path)
{
    const Located folder = Locate(path);
    DWORD error = folder.error;
    if (!error && !folder.parentExists)
        error = ERROR_PATH_NOT_FOUND;
    else if (!error && !folder.exists)
        error = ERROR_FILE_NOT_FOUND;
    else if (!error && !folder.isDirectory)
        error = ERROR_DIRECTORY;
    if (error) {
        SetError(error);
        return false;
    }
    TheWorld().currentDirectory = FullWindowsPath(path);
    return true;
}

void DeleteScratchFolders()
{
    World &world = TheWorld();
    for (const std::string &folder : world.scratchFolders) {
        std::error_code error;
        fs::remove_all(folder, error);
    }
    world.scratchFolders.clear();
}

// ---- Test controls -------------------------------------------------------------------

void MapDrive(char letter, const std::string &hostFolder)
{
    fs::create_directories(hostFolder);
    TheWorld().drives[static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))] = hostFolder;
}

std::string MapScratchDrive(char letter)
{
    static bool cleanupRegistered = false;
    if (!cleanupRegistered) {
        std::atexit(DeleteScratchFoldersAtExit);
        cleanupRegistered = true;
    }
    std::string pattern = (fs::temp_directory_path() / "winsim-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("winsim::MapScratchDrive: cannot make a folder in " +
                                 fs::temp_directory_path().string());
    TheWorld().scratchFolders.push_back(pattern);
    MapDrive(letter, pattern);
    return pattern;
}

std::string HostPath(const char *windowsPath)
{
    const Located located = Locate(windowsPath);
    return located.key.empty() ? std::string() : located.host.string();
}

void SetCurrentDirectoryForTest(const char *windowsPath)
{
    const std::string full = FullWindowsPath(windowsPath);
    if (full.empty())
        Misuse("SetCurrentDirectoryForTest", windowsPath, "not a path winsim can map");
    TheWorld().currentDirectory = full;
}

void SetWindowsDirectory(const char *windowsPath)
{
    TheWorld().windowsDirectory = windowsPath;
}

void SetSystemDirectory(const char *windowsPath)
{
    TheWorld().systemDirectory = windowsPath;
}

void PutFile(const char *windowsPath, const std::string &bytes)
{
    const Located file = LocateForControl("PutFile", windowsPath);
    if (file.isDirectory)
        Misuse("PutFile", windowsPath, "a folder is there");
    fs::create_directories(file.host.parent_path());
    const bool readOnly = file.exists && IsReadOnly(file.host);
    if (readOnly)
        fs::permissions(file.host, fs::perms::owner_write, fs::perm_options::add);
    std::ofstream out(file.host, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        Misuse("PutFile", windowsPath, "the host file cannot be written");
    if (readOnly)
        SetReadOnly(windowsPath, true);
}

std::optional<std::string> FileBytes(const char *windowsPath)
{
    const Located file = Locate(windowsPath);
    std::string bytes;
    if (file.error || !file.exists || file.isDirectory || !ReadHostFile(file.host, &bytes))
        return std::nullopt;
    return bytes;
}

bool FileExists(const char *windowsPath)
{
    const Located file = Locate(windowsPath);
    return !file.error && file.exists && !file.isDirectory;
}

bool DirectoryExists(const char *windowsPath)
{
    const Located file = Locate(windowsPath);
    return !file.error && file.exists && file.isDirectory;
}

void SetReadOnly(const char *windowsPath, bool readOnly)
{
    const Located file = LocateForControl("SetReadOnly", windowsPath);
    if (!file.exists || file.isDirectory)
        Misuse("SetReadOnly", windowsPath, "no file is there");
    const fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(file.host, readOnly ? write : fs::perms::owner_write,
                    readOnly ? fs::perm_options::remove : fs::perm_options::add);
}

void FailWritesAfter(const char *windowsPath, std::size_t bytes)
{
    const std::string full = FullWindowsPath(windowsPath);
    if (full.empty())
        Misuse("FailWritesAfter", windowsPath, "not a path winsim can map");
    TheWorld().writeBudgets[Upper(full)] = bytes;
}

void SetDiskSpace(char letter, std::uint64_t freeBytes, std::uint64_t totalBytes)
{
    TheWorld().diskSpace[static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))] =
        DiskSpace{freeBytes, std::max(freeBytes, totalBytes)};
}

void SetModuleFileName(HMODULE module, const char *windowsPath)
{
    TheWorld().moduleFileNames[Arg(module)] = windowsPath;
}

}  // namespace winsim

using namespace winsim;

BOOL DeleteFileA(LPCSTR path)
{
    Log("DeleteFileA", {}, path);
    return DeleteLocatedFile(path);
}

BOOL MoveFileA(LPCSTR from, LPCSTR to)
{
    Log("MoveFileA", {}, from);
    return MoveLocatedFile(from, to);
}

BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES security)
{
    Log("CreateDirectoryA", {Arg(security)}, path);
    const Located folder = Locate(path);
    DWORD error = folder.error;
    if (!error && !folder.parentExists)
        error = ERROR_PATH_NOT_FOUND;
    else if (!error && folder.exists)
        error = ERROR_ALREADY_EXISTS;
    std::error_code createError;
    if (!error && !fs::create_directory(folder.host, createError))
        error = ERROR_ACCESS_DENIED;
    if (error)
        SetError(error);
    return !error;
}

DWORD GetFileAttributesA(LPCSTR path)
{
    Log("GetFileAttributesA", {}, path);
    const Located file = Locate(path);
    DWORD error = file.error;
    if (!error && (!file.parentExists || (file.exists && file.trailingSeparator && !file.isDirectory)))
        error = ERROR_PATH_NOT_FOUND;
    else if (!error && !file.exists)
        error = ERROR_FILE_NOT_FOUND;
    if (error) {
        SetError(error);
        return INVALID_FILE_ATTRIBUTES;
    }
    if (file.isDirectory)
        return FILE_ATTRIBUTE_DIRECTORY;
    return FILE_ATTRIBUTE_ARCHIVE | (IsReadOnly(file.host) ? FILE_ATTRIBUTE_READONLY : 0);
}

// Only the read-only attribute is kept; the others are accepted and forgotten.
BOOL SetFileAttributesA(LPCSTR path, DWORD attributes)
{
    Log("SetFileAttributesA", {attributes}, path);
    const Located file = Locate(path);
    DWORD error = file.error;
    if (!error && !file.parentExists)
        error = ERROR_PATH_NOT_FOUND;
    else if (!error && !file.exists)
        error = ERROR_FILE_NOT_FOUND;
    if (error) {
        SetError(error);
        return FALSE;
    }
    if (!file.isDirectory)
        SetReadOnly(path, attributes & FILE_ATTRIBUTE_READONLY);
    return TRUE;
}

BOOL GetDiskFreeSpaceA(LPCSTR root, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector, LPDWORD freeClusters,
                       LPDWORD totalClusters)
{
    Log("GetDiskFreeSpaceA", {}, root);
    char drive = CurrentDrive();
    if (root) {
        const Located folder = Locate(root);
        if (folder.error || !folder.exists || !folder.isDirectory || DriveFolder(folder.key[0]).empty()) {
            SetError(folder.error && folder.error != ERROR_FILE_NOT_FOUND ? folder.error : ERROR_PATH_NOT_FOUND);
            return FALSE;
        }
        drive = folder.key[0];
    } else if (DriveFolder(drive).empty()) {
        SetError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    const auto set = TheWorld().diskSpace.find(drive);
    const DiskSpace space =
        set != TheWorld().diskSpace.end() ? set->second : DiskSpace{DEFAULT_FREE_BYTES, DEFAULT_TOTAL_BYTES};
    constexpr std::uint64_t SECTOR = 512;
    std::uint64_t sectors = 8;
    while (space.totalBytes / (SECTOR * sectors) > 0xFFFFFFFFull)
        sectors *= 2;
    *sectorsPerCluster = static_cast<DWORD>(sectors);
    *bytesPerSector = static_cast<DWORD>(SECTOR);
    *freeClusters = static_cast<DWORD>(space.freeBytes / (SECTOR * sectors));
    *totalClusters = static_cast<DWORD>(space.totalBytes / (SECTOR * sectors));
    return TRUE;
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size)
{
    Log("GetModuleFileNameA", {Arg(module), size});
    const auto found = TheWorld().moduleFileNames.find(Arg(module));
    if (found == TheWorld().moduleFileNames.end()) {
        SetError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    const std::string &name = found->second;
    if (name.size() < size) {
        std::memcpy(buffer, name.c_str(), name.size() + 1);
        return static_cast<DWORD>(name.size());
    }
    std::memcpy(buffer, name.data(), size);
    SetError(ERROR_INSUFFICIENT_BUFFER);
    return size;
}

namespace {

UINT CopyDirectory(const std::string &folder, LPSTR buffer, UINT size)
{
    if (!buffer || size <= folder.size())
        return static_cast<UINT>(folder.size() + 1);
    std::memcpy(buffer, folder.c_str(), folder.size() + 1);
    return static_cast<UINT>(folder.size());
}

}  // namespace

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size)
{
    Log("GetWindowsDirectoryA", {size});
    return CopyDirectory(TheWorld().windowsDirectory, buffer, size);
}

UINT GetSystemDirectoryA(LPSTR buffer, UINT size)
{
    Log("GetSystemDirectoryA", {size});
    return CopyDirectory(TheWorld().systemDirectory, buffer, size);
}

// As GetWindowsDirectoryA: a buffer too small is left alone and the size needed,
// terminator included, is returned.
DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer)
{
    Log("GetCurrentDirectoryA", {size});
    return CopyDirectory(TheWorld().currentDirectory, buffer, size);
}

// The folder must exist; the path is kept as given (made full), in the caller's case.
BOOL SetCurrentDirectoryA(LPCSTR path)
{
    Log("SetCurrentDirectoryA", {}, path);
    return ChangeDirectory(path);
}
