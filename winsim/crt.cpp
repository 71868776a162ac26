// The C runtime's text streams (crt::fopen and friends) on the mapped file system.
//
// The rules follow the platform's C runtime (checked under Wine's msvcrt):
// - Modes: "r", "w", "a", each with "+" for update, "t" (text, the default) or "b"
//   (binary) in any order after the first letter; other letters after it are ignored;
//   any other first letter fails.
// - Text mode, reading: CR LF reads as "\n"; a lone CR and a lone LF read as they are;
//   a Ctrl-Z (0x1A) ends the file: neither it nor anything after it is ever returned.
// - Text mode, writing: "\n" is written as CR LF; everything else as it is (a Ctrl-Z too).
// - fgets reads up to size - 1 characters, stopping after a "\n"; it returns null at the
//   end of the file when nothing was read, and for a size below 2 (then the buffer is
//   left alone).
// - Writes go through a 4096-byte buffer: a write that fails (disk full) shows in the
//   fputs that fills the buffer or in fclose, which return EOF; ferror is non-zero
//   after it.
// - Opening a missing file for reading, a read-only file for writing or updating, a
//   folder, or a file in a missing folder gives null.
// - fputs on a stream opened only for reading returns EOF and sets the error; fgets on
//   one opened only for writing returns null and does not.
// - rename fails when the target exists; remove fails on read-only files and folders.
//   Both return 0 on success and -1 on failure.
#include "filesystem.h"

namespace winsim::crt {

struct FILE {
    std::FILE *host = nullptr;
    std::string key;
    bool text = true;
    bool canRead = false;
    bool canWrite = false;
    bool error = false;
    bool atEnd = false;       // a Ctrl-Z or the end of the file was read
    bool lastWrote = false;   // the host position must be re-established before reading
    bool lastRead = false;    // ... or before writing
    std::string pending;      // written, not yet handed to the file
};

namespace {

constexpr std::size_t BUFFER_SIZE = 4096;
constexpr int CTRL_Z = 0x1A;

bool Flush(FILE *stream)
{
    if (stream->pending.empty())
        return true;
    const bool written = WriteBudgeted(stream->host, stream->key, stream->pending.data(), stream->pending.size());
    stream->pending.clear();
    if (!written) {
        SetError(ERROR_DISK_FULL);
        stream->error = true;
    }
    return written;
}

// Turning from writing to reading or back needs a positioning call in between.
void TurnTo(FILE *stream, bool reading)
{
    if (reading ? stream->lastWrote : stream->lastRead) {
        if (reading)
            Flush(stream);
        std::fseek(stream->host, 0, SEEK_CUR);
        stream->atEnd = false;  // positioning clears the end-of-file state, as in C
    }
    stream->lastRead = reading;
    stream->lastWrote = !reading;
}

int GetChar(FILE *stream)
{
    if (stream->atEnd)
        return EOF;
    const int c = std::fgetc(stream->host);
    if (c == EOF || (stream->text && c == CTRL_Z)) {
        if (std::ferror(stream->host))
            stream->error = true;
        stream->atEnd = true;
        return EOF;
    }
    if (stream->text && c == '\r') {
        const int next = std::fgetc(stream->host);
        if (next == '\n')
            return '\n';
        if (next != EOF)
            std::ungetc(next, stream->host);
    }
    return c;
}

}  // namespace

FILE *fopen(const char *path, const char *mode)
{
    Log("fopen", {}, path);
    if (!mode || (mode[0] != 'r' && mode[0] != 'w' && mode[0] != 'a'))
        return nullptr;
    bool update = false, text = true;
    for (const char *c = mode + 1; *c; ++c) {
        if (*c == '+')
            update = true;
        else if (*c == 'b')
            text = false;
        else if (*c == 't')
            text = true;
    }
    const bool reading = mode[0] == 'r';
    const Located file = Locate(path);
    if (file.error || !file.parentExists || file.trailingSeparator || file.isDirectory)
        return nullptr;
    if (reading && !file.exists)
        return nullptr;
    if ((update || !reading) && file.exists && IsReadOnly(file.host))
        return nullptr;

    std::string hostMode = std::string(1, mode[0]) + (update ? "+b" : "b");
    std::FILE *host = std::fopen(file.host.c_str(), hostMode.c_str());
    if (!host)
        return nullptr;
    FILE *stream = new FILE{};
    stream->host = host;
    stream->key = file.key;
    stream->text = text;
    stream->canRead = reading || update;
    stream->canWrite = !reading || update;
    ++TheWorld().openStreams;
    return stream;
}

char *fgets(char *buffer, int size, FILE *stream)
{
    Log("fgets", {static_cast<std::uintptr_t>(size)});
    if (!stream || size < 2)
        return nullptr;
    if (!stream->canRead)
        return nullptr;
    TurnTo(stream, true);
    int count = 0;
    while (count < size - 1) {
        const int c = GetChar(stream);
        if (c == EOF)
            break;
        buffer[count++] = static_cast<char>(c);
        if (c == '\n')
            break;
    }
    if (count == 0)
        return nullptr;
    buffer[count] = '\0';
    return buffer;
}

int fputs(const char *text, FILE *stream)
{
    Log("fputs", {}, text);
    if (!stream)
        return EOF;
    if (!stream->canWrite) {
        stream->error = true;
        return EOF;
    }
    TurnTo(stream, false);
    for (const char *c = text; *c; ++c) {
        if (stream->text && *c == '\n')
            stream->pending += '\r';
        stream->pending += *c;
        if (stream->pending.size() >= BUFFER_SIZE && !Flush(stream))
            return EOF;
    }
    return 0;
}

int fclose(FILE *stream)
{
    Log("fclose", {});
    if (!stream)
        return EOF;
    const bool flushed = Flush(stream);
    const bool closed = std::fclose(stream->host) == 0;
    delete stream;
    if (TheWorld().openStreams > 0)
        --TheWorld().openStreams;
    return flushed && closed ? 0 : EOF;
}

int ferror(FILE *stream)
{
    Log("ferror", {});
    return stream && stream->error ? 1 : 0;
}

int rename(const char *from, const char *to)
{
    Log("rename", {}, from);
    return MoveLocatedFile(from, to) ? 0 : -1;
}

int remove(const char *path)
{
    Log("remove", {}, path);
    return DeleteLocatedFile(path) ? 0 : -1;
}

}  // namespace winsim::crt

namespace winsim {

std::size_t OpenStreams()
{
    return TheWorld().openStreams;
}

}  // namespace winsim
