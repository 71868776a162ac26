// LZ32 on winsim: LZOpenFileA, LZCopy and LZClose on the mapped file system, with our
// own expander of the compressed files that the old compression tool writes.
//
// The compressed format:
// - A 14-byte header: the magic "SZDD" 0x88 0xF0 0x27 0x33, the algorithm byte 'A', the
//   last character of the original name (mscompress leaves it 0), and the expanded
//   length (32 bits, little-endian).
// - Then LZSS data in groups: a flag byte whose bits, lowest first, say what each of
//   the next (up to) eight items is: 1 a literal byte, 0 a two-byte reference. A
//   reference `lo hi` copies (hi & 0x0F) + 3 bytes from position lo | (hi & 0xF0) << 4
//   of a 4096-byte ring. Every byte put out is also written to the ring; the ring starts
//   filled with blanks and its write position at 4096 - 16. A reference is copied one
//   byte at a time, so it may overlap the bytes it puts out.
//
// What the platform does (checked under Wine's lz32, against files from mscompress and
// hand-made ones; msexpand agrees on every one of them):
// - OF_READ detects the header. Fewer than 14 bytes, or a magic that differs in any
//   byte: a plain file, copied unchanged by LZCopy. The magic with an algorithm byte
//   other than 'A': LZOpenFileA succeeds, but LZCopy writes nothing and returns 0.
// - The expanded length in the header is never consulted: the data is expanded until it
//   ends. A file cut short gives what its complete items give; a reference cut in half
//   is dropped. LZCopy returns the number of bytes written then, not an error.
// - A name that cannot be opened is tried again as its compressed name: the last
//   character replaced by "_" when the part after the first dot of the file name has
//   3 characters or more, "_" appended when it has fewer, "._" appended when there is no
//   dot ("A.TXT" -> "A.TX_", "A.B" -> "A.B_", "A" -> "A._", "A.B.C" -> "A.B._"). This holds
//   for OF_CREATE too: a read-only target gives a new file under its compressed name.
// - Failures return -1 and set only nErrCode (and the last error): OF_READ always
//   reports ERROR_FILE_NOT_FOUND (a missing folder too); OF_CREATE reports the second
//   attempt's error (ERROR_PATH_NOT_FOUND for a missing folder, ERROR_ACCESS_DENIED for a
//   read-only file). On success cBytes, nErrCode and szPathName (the full path of the
//   file opened) are set; fFixedDisk is left alone.
// - LZCopy from a handle that is not open: LZERROR_READ for an LZ handle, 0 with nothing
//   written for anything else (-1 from a failed open among them). A target that is not
//   open for writing, or a write that fails (a full disk), gives LZERROR_WRITE; what
//   fitted stays written. A source is read once: a second LZCopy from it returns 0.
// - LZClose of a handle that is not open does nothing.
//
// Where winsim differs: the platform gives expanded sources LZ handles from 0x400 up
// (reused after LZClose, at most 16 open) and other files their file handles; winsim
// numbers every handle from 0x400 up and never reuses one, so a stale handle is always
// seen as not open (and gives LZERROR_READ as a source). A source's bytes are read when
// it is opened; a handle opened OF_WRITE or OF_READWRITE is a target only (as a source
// it copies nothing).
#include "filesystem.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace winsim {
namespace {

constexpr INT FIRST_HANDLE = 0x400;
constexpr WORD SHARE_MODES = 0x0070;  // OF_SHARE_*: accepted, not simulated
constexpr WORD ACCESS_MODES = 0x0003;

constexpr std::size_t HEADER_SIZE = 14;
constexpr unsigned char MAGIC[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
constexpr std::size_t ALGORITHM_OFFSET = 8;
constexpr char ALGORITHM_A = 'A';

constexpr std::size_t RING_SIZE = 4096;
constexpr std::size_t RING_START = RING_SIZE - 16;
constexpr std::size_t MIN_MATCH = 3;

// Expands the LZSS data that starts at `start` until the data ends. Every read is
// checked against the end of the data and every ring index is taken modulo the ring,
// so no input can reach outside either.
std::string Expand(const std::string &data, std::size_t start)
{
    std::array<char, RING_SIZE> ring;
    ring.fill(' ');
    std::size_t write = RING_START;
    std::string out;
    out.reserve(data.size() * 2);
    const auto put = [&](char c) {
        out += c;
        ring[write] = c;
        write = (write + 1) % RING_SIZE;
    };
    const auto byte = [&](std::size_t at) { return static_cast<unsigned>(static_cast<unsigned char>(data[at])); };

    std::size_t at = start;
    const std::size_t end = data.size();
    while (at < end) {
        const unsigned flags = byte(at++);
        for (unsigned bit = 0; bit < 8 && at < end; ++bit) {
            if (flags & (1u << bit)) {
                put(data[at++]);
                continue;
            }
            if (end - at < 2)
                return out;  // half a reference: dropped
            const unsigned low = byte(at);
            const unsigned high = byte(at + 1);
            at += 2;
            std::size_t from = low | (high & 0xF0) << 4;
            const std::size_t length = (high & 0x0F) + MIN_MATCH;
            for (std::size_t i = 0; i < length; ++i) {
                put(ring[from]);
                from = (from + 1) % RING_SIZE;
            }
        }
    }
    return out;
}

// The name the platform tries when a name cannot be opened.
std::string CompressedName(const std::string &path)
{
    const std::size_t nameStart = path.find_last_of("\\/:") + 1;  // npos + 1 == 0
    const std::size_t dot = path.find('.', nameStart);
    if (dot == std::string::npos)
        return path + "._";
    if (path.size() - dot - 1 < 3)
        return path + "_";
    return path.substr(0, path.size() - 1) + "_";
}

DWORD OpenSource(const char *path, LzFile *file)
{
    const Located located = Locate(path);
    if (located.error || !located.parentExists || !located.exists || located.isDirectory ||
        located.trailingSeparator || !ReadHostFile(located.host, &file->bytes))
        return ERROR_FILE_NOT_FOUND;
    const std::string &bytes = file->bytes;
    const bool header =
        bytes.size() >= HEADER_SIZE && std::memcmp(bytes.data(), MAGIC, sizeof MAGIC) == 0;
    file->compressed = header && bytes[ALGORITHM_OFFSET] == ALGORITHM_A;
    file->unknownAlgorithm = header && !file->compressed;
    return 0;
}

DWORD OpenTarget(const char *path, bool create, LzFile *file)
{
    const Located located = Locate(path);
    if (located.error)
        return located.error;
    if (!located.parentExists || located.trailingSeparator)
        return ERROR_PATH_NOT_FOUND;
    if (!create && !located.exists)
        return ERROR_FILE_NOT_FOUND;
    if (located.isDirectory || (located.exists && IsReadOnly(located.host)))
        return ERROR_ACCESS_DENIED;
    if (create) {
        std::FILE *host = std::fopen(located.host.c_str(), "wb");
        if (!host)
            return ERROR_ACCESS_DENIED;
        std::fclose(host);
    }
    file->target = true;
    file->host = located.host.string();
    file->key = located.key;
    return 0;
}

DWORD OpenAs(const char *path, WORD mode, LzFile *file)
{
    *file = LzFile{};
    if (mode & OF_CREATE)
        return OpenTarget(path, true, file);
    if ((mode & ACCESS_MODES) != OF_READ)
        return OpenTarget(path, false, file);
    return OpenSource(path, file);
}

// Writes bytes at the target's position through the mapped file system's write budget.
bool WriteTarget(LzFile *target, const std::string &bytes)
{
    std::FILE *host = std::fopen(target->host.c_str(), "r+b");
    if (!host)
        return false;
    bool written = std::fseek(host, static_cast<long>(target->position), SEEK_SET) == 0 &&
                   WriteBudgeted(host, target->key, bytes.data(), bytes.size());
    const long end = std::ftell(host);
    if (end >= 0)
        target->position = static_cast<std::size_t>(end);
    written = std::fclose(host) == 0 && written;
    return written;
}

std::uintptr_t HandleArg(INT handle)
{
    return static_cast<std::uintptr_t>(static_cast<std::intptr_t>(handle));
}

}  // namespace

std::size_t OpenLzFiles()
{
    return TheWorld().lzFiles.size();
}

}  // namespace winsim

using namespace winsim;

INT LZOpenFileA(LPSTR path, OFSTRUCT *info, WORD mode)
{
    Log("LZOpenFileA", {mode}, path);
    mode = static_cast<WORD>(mode & ~SHARE_MODES);
    LzFile file;
    std::string opened = path ? path : "";
    DWORD error = OpenAs(path, mode, &file);
    if (error && path) {
        opened = CompressedName(path);
        error = OpenAs(opened.c_str(), mode, &file);
    }
    if (error) {
        if (info)
            info->nErrCode = static_cast<WORD>(error);
        SetError(error);
        return -1;
    }
    if (info) {
        const std::string full = FullWindowsPath(opened.c_str());
        info->cBytes = sizeof(OFSTRUCT);
        info->nErrCode = 0;
        const std::size_t length = std::min(full.size(), sizeof info->szPathName - 1);
        std::memcpy(info->szPathName, full.data(), length);
        info->szPathName[length] = '\0';
    }
    World &world = TheWorld();
    const INT handle = FIRST_HANDLE + world.lzHandlesMade++;
    world.lzFiles[handle] = std::move(file);
    return handle;
}

LONG LZCopy(INT source, INT target)
{
    Log("LZCopy", {HandleArg(source), HandleArg(target)});
    auto &files = TheWorld().lzFiles;
    const auto from = files.find(source);
    if (from == files.end()) {
        SetError(ERROR_INVALID_HANDLE);
        return source >= FIRST_HANDLE ? LZERROR_READ : 0;
    }
    const auto to = files.find(target);
    if (to == files.end() || !to->second.target) {
        SetError(ERROR_INVALID_HANDLE);
        return LZERROR_WRITE;
    }
    LzFile &in = from->second;
    std::string bytes;
    if (!in.target && !in.unknownAlgorithm && in.position < in.bytes.size()) {
        bytes = in.compressed ? Expand(in.bytes, HEADER_SIZE) : in.bytes.substr(in.position);
        in.position = in.bytes.size();
    }
    if (!WriteTarget(&to->second, bytes))
        return LZERROR_WRITE;
    return static_cast<LONG>(bytes.size());
}

void LZClose(INT handle)
{
    Log("LZClose", {HandleArg(handle)});
    TheWorld().lzFiles.erase(handle);
}
