// The profile functions (initialisation files: "[Section]" lines and "key=value" lines)
// on the mapped file system.
//
// The rules follow what the platform does (checked under Wine):
// - A file name without a folder ("SETUP.INI") names a file in the Windows directory; a
//   name with a folder (".\SETUP.INI", "SUB\X.INI") resolves as any path does.
// - Lines are read with blanks, CR and Ctrl-Z trimmed at both ends; blank lines do not
//   count. "[Name]" starts a section (text after the last "]" is ignored; a "[" line
//   without "]" is an ordinary line). Other lines are "key=value" (split at the first
//   "=", both sides trimmed) or a bare key without a value.
// - Section and key names match without regard to case, trimmed; the first matching
//   section and, in it, the first matching key count; later duplicates are never seen.
// - Comments are nothing special: ";x=1" is a key named ";x", which no ordinary key
//   name matches; key lists leave such names out.
// - Reading: a key without "=" counts as missing; "key=" gives "" (not the default).
//   A value (or the default) in matching double or single quotes loses them; the
//   default loses its trailing blanks. The result is cut to size - 1 characters and
//   terminated; the return value is the number of characters copied. A null default
//   is "". No inline comments: "a ; b" is the value.
// - GetPrivateProfileIntA: the default when the key is missing or its value is empty;
//   otherwise the value's leading number: optional sign, then decimal, or "0x" hex,
//   "0o" octal, "0b" binary; digits stop at the first other character ("12abc" is 12,
//   "abc" is 0, "-5" is -5 as UINT), wrapping at 32 bits.
// - Lists: a null section lists the section names, a null key the key names (with a
//   value, not starting with ";") of the first matching section, each terminated, with
//   one more terminator after the last. If the list does not fit with both
//   terminators, it is cut to size - 2 characters plus a terminator and size - 2 is
//   returned. An empty key list gives the default instead.
// - Writing rewrites the whole file: blank lines are dropped, every other line is kept
//   in its order, written trimmed as "key=value" (or "key", "[Section]") with CR LF.
//   A new key goes after the last line of its section, a new section at the end of the
//   file; new names lose their leading blanks only (trailing ones stay), values are
//   trimmed. A null value deletes the key, a null key the whole section. Nothing is
//   written when nothing changes, but a read-only file still fails (ERROR_ACCESS_DENIED).
//   A missing folder fails with ERROR_PATH_NOT_FOUND; a full disk with ERROR_DISK_FULL.
#include "filesystem.h"

#include <cstring>

namespace winsim {
namespace {

struct Entry {
    std::string name;
    bool hasValue;
    std::string value;
};

// The lines before the first "[Section]" line form a section named "".
struct Section {
    bool hasHeader;
    std::string name;
    std::vector<Entry> entries;
};

using Profile = std::vector<Section>;

constexpr char CTRL_Z = 0x1A;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == CTRL_Z;
}

std::string TrimLeft(const std::string &text)
{
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start]))
        ++start;
    return text.substr(start);
}

std::string TrimRight(const std::string &text)
{
    std::size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1]))
        --end;
    return text.substr(0, end);
}

std::string Trim(const std::string &text)
{
    return TrimLeft(TrimRight(text));
}

std::string ProfilePath(const char *file)
{
    const std::string name = file ? file : "win.ini";
    const bool hasFolder = name.find_first_of("\\/") != std::string::npos || (name.size() >= 2 && name[1] == ':');
    if (hasFolder)
        return name;
    const std::string &windows = TheWorld().windowsDirectory;
    return windows + (!windows.empty() && windows.back() == '\\' ? "" : "\\") + name;
}

Profile Parse(const std::string &bytes)
{
    Profile profile{Section{false, "", {}}};
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        const std::string line = Trim(bytes.substr(start, end - start));
        start = end + 1;
        if (line.empty())
            continue;
        const std::size_t close = line.rfind(']');
        if (line[0] == '[' && close != std::string::npos) {
            profile.push_back(Section{true, Trim(line.substr(1, close - 1)), {}});
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            profile.back().entries.push_back(Entry{line, false, ""});
        else
            profile.back().entries.push_back(
                Entry{Trim(line.substr(0, equals)), true, Trim(line.substr(equals + 1))});
    }
    return profile;
}

std::string Serialize(const Profile &profile)
{
    std::string text;
    for (const Section &section : profile) {
        if (section.hasHeader)
            text += "[" + section.name + "]\r\n";
        for (const Entry &entry : section.entries)
            text += entry.name + (entry.hasValue ? "=" + entry.value : "") + "\r\n";
    }
    return text;
}

Profile Load(const std::string &path)
{
    const Located file = Locate(path.c_str());
    std::string bytes;
    if (file.error || !file.exists || file.isDirectory || !ReadHostFile(file.host, &bytes))
        return Parse("");
    return Parse(bytes);
}

Section *FindSection(Profile &profile, const char *name)
{
    for (Section &section : profile)
        if (SameText(section.name, Trim(name)))
            return &section;
    return nullptr;
}

Entry *FindEntry(Section &section, const char *name)
{
    for (Entry &entry : section.entries)
        if (SameText(entry.name, Trim(name)))
            return &entry;
    return nullptr;
}

std::string Unquoted(const std::string &value)
{
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

// The value of a key, unquoted; false when the key is missing or has no "=".
bool LookUp(Profile &profile, const char *sectionName, const char *keyName, std::string *value)
{
    Section *section = FindSection(profile, sectionName);
    Entry *entry = section ? FindEntry(*section, keyName) : nullptr;
    if (!entry || !entry->hasValue)
        return false;
    *value = Unquoted(entry->value);
    return true;
}

DWORD CopyText(const std::string &text, LPSTR buffer, DWORD size)
{
    if (size == 0)
        return 0;
    const std::size_t count = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<DWORD>(count);
}

DWORD CopyList(const std::vector<std::string> &names, LPSTR buffer, DWORD size)
{
    std::string list;
    for (const std::string &name : names)
        list += name + '\0';
    if (size == 0)
        return 0;
    if (list.size() + 2 <= size) {
        std::memcpy(buffer, list.data(), list.size());
        buffer[list.size()] = '\0';
        return static_cast<DWORD>(list.size());
    }
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    std::memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = '\0';
    return size - 2;
}

UINT ParseNumber(const std::string &text)
{
    std::size_t at = 0;
    while (at < text.size() && static_cast<unsigned char>(text[at]) <= ' ')
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        negative = text[at++] == '-';
    unsigned base = 10;
    if (at + 1 < text.size() && text[at] == '0') {
        const char kind = text[at + 1];
        base = kind == 'x' ? 16 : kind == 'o' ? 8 : kind == 'b' ? 2 : 10;
        if (base != 10)
            at += 2;
    }
    UINT value = 0;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        const unsigned digit = c >= '0' && c <= '9'   ? static_cast<unsigned>(c - '0')
                               : c >= 'a' && c <= 'z' ? static_cast<unsigned>(c - 'a' + 10)
                               : c >= 'A' && c <= 'Z' ? static_cast<unsigned>(c - 'A' + 10)
                                                      : 99;
        if (digit >= base)
            break;
        value = value * base + digit;
    }
    return negative ? 0u - value : value;
}

// Applies one write to the profile; false when it changes nothing.
bool Change(Profile &profile, const char *sectionName, const char *keyName, const char *value)
{
    Section *section = FindSection(profile, sectionName);
    if (!keyName) {
        if (!section)
            return false;
        profile.erase(profile.begin() + (section - profile.data()));
        return true;
    }
    Entry *entry = section ? FindEntry(*section, keyName) : nullptr;
    if (!value) {
        if (!entry)
            return false;
        section->entries.erase(section->entries.begin() + (entry - section->entries.data()));
        return true;
    }
    const std::string trimmed = Trim(value);
    if (entry) {
        if (entry->hasValue && entry->value == trimmed)
            return false;
        entry->hasValue = true;
        entry->value = trimmed;
        return true;
    }
    if (!section) {
        profile.push_back(Section{true, TrimLeft(sectionName), {}});
        section = &profile.back();
    }
    section->entries.push_back(Entry{TrimLeft(keyName), true, trimmed});
    return true;
}

}  // namespace
}  // namespace winsim

using namespace winsim;

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                               LPCSTR file)
{
    Log("GetPrivateProfileStringA", {size}, section);
    Profile profile = Load(ProfilePath(file));
    if (!section) {
        std::vector<std::string> names;
        for (const Section &s : profile)
            if (!s.name.empty())
                names.push_back(s.name);
        return CopyList(names, buffer, size);
    }
    if (!key) {
        std::vector<std::string> names;
        if (Section *found = FindSection(profile, section))
            for (const Entry &entry : found->entries)
                if (entry.hasValue && !entry.name.empty() && entry.name[0] != ';')
                    names.push_back(entry.name);
        if (const DWORD copied = CopyList(names, buffer, size))
            return copied;
    } else {
        std::string value;
        if (LookUp(profile, section, key, &value))
            return CopyText(value, buffer, size);
    }
    return CopyText(Unquoted(TrimRight(defaultValue ? defaultValue : "")), buffer, size);
}

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR file)
{
    Log("GetPrivateProfileIntA", {static_cast<std::uintptr_t>(defaultValue)}, section);
    if (!section || !key)
        return static_cast<UINT>(defaultValue);
    Profile profile = Load(ProfilePath(file));
    std::string value;
    if (!LookUp(profile, section, key, &value) || value.empty())
        return static_cast<UINT>(defaultValue);
    return ParseNumber(value);
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file)
{
    Log("WritePrivateProfileStringA", {}, section);
    if (!section)
        return !key && !value;  // all null: the platform's "flush the cache", a success
    const std::string path = ProfilePath(file);
    const Located located = Locate(path.c_str());
    DWORD error = located.error;
    if (!error && !located.parentExists)
        error = ERROR_PATH_NOT_FOUND;
    else if (!error && (located.isDirectory || (located.exists && IsReadOnly(located.host))))
        error = ERROR_ACCESS_DENIED;
    if (error) {
        SetError(error);
        return FALSE;
    }
    Profile profile = Load(path);
    if (!Change(profile, section, key, value))
        return TRUE;
    const std::string text = Serialize(profile);
    std::FILE *host = std::fopen(located.host.c_str(), "wb");
    if (!host) {
        SetError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    const bool written = WriteBudgeted(host, located.key, text.data(), text.size());
    const bool closed = std::fclose(host) == 0;
    if (!written || !closed) {
        SetError(ERROR_DISK_FULL);
        return FALSE;
    }
    return TRUE;
}
