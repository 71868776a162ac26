// The mouse line of "system.ini" and the separate mouse VXD.
//
// The [386Enh] section gets "mouse=*vmouse" as its mouse line: the first line of the
// section that contains "mouse" and is not a comment is replaced by it, and a section
// without such a line gets it as its last line. The rewritten text goes to
// "system.new"; only when it is complete does "system.ini" become "system.bak" and
// "system.new" take its place, so "system.ini" is never lost or left half-written.
//
// Lines of any length are judged whole: one reader runs a line ahead to learn what
// the line holds, a second reader copies it (or drops it for the replacement), piece
// by piece through a fixed buffer.
#include "setup.h"

#include "text.h"

#include <cstring>

namespace {

constexpr int LINE_CHARS = 120;
constexpr char SECTION_386ENH[] = "[386Enh]";
constexpr char MOUSE[] = "mouse";
constexpr char MOUSE_LINE[] = "mouse=*vmouse\n";
// Enough of the previous piece to find a text that runs across two pieces.
constexpr int CARRY = sizeof SECTION_386ENH - 2;

struct LineFacts {
    bool ended;     // it ends with a line end (the last line of a file may not)
    bool comment;   // its very first character is ";"
    bool header;    // its first non-blank character is "[": a section header
    bool enh386;    // it contains "[386Enh]" (exact case)
    bool mouse;     // it contains "mouse" (exact case)
};

bool EndsLine(const char *piece)
{
    const std::size_t length = std::strlen(piece);
    return length > 0 && piece[length - 1] == '\n';
}

// Reads one whole line and learns what it holds; false at the end of the file.
bool ScanLine(crt::FILE *in, LineFacts *facts)
{
    *facts = {};
    char window[CARRY + LINE_CHARS] = "";
    char piece[LINE_CHARS];
    bool any = false, decided = false;
    while (crt::fgets(piece, LINE_CHARS, in)) {
        if (!any)
            facts->comment = piece[0] == ';';
        any = true;
        for (const char *c = piece; *c != '\0' && !decided; ++c) {
            if (*c != ' ' && *c != '\t') {
                facts->header = *c == '[';
                decided = true;
            }
        }
        // The window is the tail of the previous piece followed by this one.
        std::size_t kept = std::strlen(window);
        if (kept > CARRY) {
            std::memmove(window, window + kept - CARRY, CARRY + 1);
            kept = CARRY;
        }
        CopyText(window + kept, LINE_CHARS, piece);
        facts->enh386 |= std::strstr(window, SECTION_386ENH) != nullptr;
        facts->mouse |= std::strstr(window, MOUSE) != nullptr;
        if (EndsLine(piece)) {
            facts->ended = true;
            break;
        }
    }
    return any;
}

// Reads the same line again and writes it out, or only reads it when `keep` is false.
bool CopyLine(crt::FILE *in, crt::FILE *out, bool keep)
{
    char piece[LINE_CHARS];
    while (crt::fgets(piece, LINE_CHARS, in)) {
        if (keep && crt::fputs(piece, out) < 0)
            return false;
        if (EndsLine(piece))
            break;
    }
    return true;
}

bool AddMouseLine(crt::FILE *out, bool afterLineEnd)
{
    return (afterLineEnd || crt::fputs("\n", out) >= 0) && crt::fputs(MOUSE_LINE, out) >= 0;
}

// Writes the rewritten text to `newPath`. False, with no file left at `newPath`, when
// the old text cannot be read whole or the new one cannot be written whole.
bool WriteRewrittenCopy(const char *iniPath, const char *newPath)
{
    crt::FILE *ahead = crt::fopen(iniPath, "rt");
    crt::FILE *behind = ahead ? crt::fopen(iniPath, "rt") : nullptr;
    crt::FILE *out = behind ? crt::fopen(newPath, "wt") : nullptr;
    bool ok = out != nullptr;
    bool armed = false;       // inside [386Enh], no mouse line seen yet
    bool lastEnded = true;
    LineFacts line;
    while (ok && ScanLine(ahead, &line)) {
        if (line.header) {
            if (armed)
                ok = AddMouseLine(out, lastEnded);  // the section ends without a mouse line
            armed = line.enh386;
            ok = ok && CopyLine(behind, out, true);
        } else if (armed && line.mouse && !line.comment) {
            ok = CopyLine(behind, out, false) && crt::fputs(MOUSE_LINE, out) >= 0;
            armed = false;
            line.ended = true;
        } else {
            ok = CopyLine(behind, out, true);
        }
        lastEnded = line.ended;
    }
    if (ok && armed)
        ok = AddMouseLine(out, lastEnded);
    if (ahead && crt::ferror(ahead))
        ok = false;
    if (behind && crt::ferror(behind))
        ok = false;
    if (ahead)
        crt::fclose(ahead);
    if (behind)
        crt::fclose(behind);
    if (out) {
        if (crt::ferror(out))
            ok = false;
        if (crt::fclose(out) != 0)
            ok = false;
        if (!ok)
            crt::remove(newPath);
    }
    return ok;
}

// Puts the new text in place, keeping the old one as system.bak; on any failure
// system.ini keeps (or gets back) its old text and system.new is removed.
void Rotate(const char *iniPath, const char *newPath, const char *backupPath)
{
    crt::remove(backupPath);  // none there on a first installation
    if (crt::rename(iniPath, backupPath) != 0) {
        crt::remove(newPath);
        return;
    }
    if (crt::rename(newPath, iniPath) != 0) {
        crt::rename(backupPath, iniPath);
        crt::remove(newPath);
    }
}

// Moves VMM32\VMOUSE.VXD below the system directory aside to VMOUSE.BAK; an existing
// VMOUSE.BAK is not replaced.
int MoveMouseVxd()
{
    char system[PATH_CHARS];
    const UINT length = GetSystemDirectoryA(system, PATH_CHARS);
    if (length == 0 || length >= PATH_CHARS)
        return -1;
    char vxd[PATH_CHARS + 24], backup[PATH_CHARS + 24];
    JoinText(vxd, system, "\\VMM32\\VMOUSE.VXD");
    JoinText(backup, system, "\\VMM32\\VMOUSE.BAK");
    return crt::rename(vxd, backup) == 0 ? 0 : -1;
}

}  // namespace

int UpdateSystemIni()
{
    char iniPath[PATH_CHARS + 16], newPath[PATH_CHARS + 16], backupPath[PATH_CHARS + 16];
    if (JoinText(iniPath, config.windowsDir, "\\system.ini") && JoinText(newPath, config.windowsDir, "\\system.new") &&
        JoinText(backupPath, config.windowsDir, "\\system.bak") && WriteRewrittenCopy(iniPath, newPath))
        Rotate(iniPath, newPath, backupPath);
    return MoveMouseVxd();
}
