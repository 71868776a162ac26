// The registry, in memory: keys under the predefined roots, their values, handles, and
// the test controls that inspect keys and make key creation fail.
//
// The rules follow what the platform does (checked under Wine):
// - Key names match without regard to case and keep the case they were created with.
//   Subkeys enumerate sorted by name compared in lower case ("_X" and "[" before "A",
//   "A" before "a b" before "a2" before "B1"), not in creation order.
// - Paths separate with "\"; empty components ("A\\B", a trailing "\") are skipped; a
//   leading "\" fails with ERROR_BAD_PATHNAME. A null or empty subkey opens a new
//   handle to the same key (RegCreateKeyExA then reports REG_CREATED_NEW_KEY).
// - Every open gives a new handle value; a failed open or create gives null. Closing a
//   handle twice, or a handle never given, fails with ERROR_INVALID_HANDLE; closing a
//   root succeeds.
// - RegQueryValueExA: a null or empty name is the unnamed value. A missing value gives
//   ERROR_FILE_NOT_FOUND and sets the type to REG_NONE. A buffer too small gives
//   ERROR_MORE_DATA with the size needed and leaves the buffer alone; a null buffer
//   gives the size; a buffer without a size is ERROR_INVALID_PARAMETER. A string's size
//   counts its terminator.
// - RegSetValueExA adds the terminator to a string value set without one.
// - RegDeleteKeyA deletes a key without subkeys; one with subkeys fails with
//   ERROR_ACCESS_DENIED (as on Wine and NT; Windows 95 deletes the whole tree). Handles
//   still open on a deleted key stay valid. RegDeleteValueA: ERROR_FILE_NOT_FOUND for
//   a missing value.
// - RegEnumKeyExA: ERROR_NO_MORE_ITEMS past the end; ERROR_MORE_DATA when the name and
//   its terminator do not fit, leaving the buffer and the size alone; on success the
//   size is the name's length. Keys have no class: an empty one is reported.
#include "world.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace winsim {
namespace {

const HKEY ROOTS[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_DYN_DATA};

std::string Lower(const std::string &text)
{
    std::string lower = text;
    for (char &c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool IsRoot(HKEY key)
{
    for (HKEY root : ROOTS)
        if (key == root)
            return true;
    return false;
}

RegistryKey *RootKey(HKEY root)
{
    std::unique_ptr<RegistryKey> &slot = TheWorld().registryRoots[Arg(root)];
    if (!slot) {
        slot = std::make_unique<RegistryKey>();
        slot->root = root;
    }
    return slot.get();
}

// The key behind a root or an open handle; null for anything else.
RegistryKey *Resolve(HKEY key)
{
    if (IsRoot(key))
        return RootKey(key);
    World &world = TheWorld();
    std::size_t index;
    if (!HandleIndex(key, KEY_HANDLE_BASE, world.keyHandles.size(), &index) || !world.keyHandles[index].open)
        return nullptr;
    return world.keyHandles[index].key;
}

HKEY NewHandle(RegistryKey *key)
{
    World &world = TheWorld();
    world.keyHandles.push_back(KeyHandle{key, true});
    return MakeHandle<HKEY>(KEY_HANDLE_BASE, world.keyHandles.size() - 1);
}

std::vector<std::string> SplitPath(const char *path)
{
    std::vector<std::string> parts;
    std::string part;
    for (const char *c = path ? path : "";; ++c) {
        if (*c && *c != '\\') {
            part += *c;
            continue;
        }
        if (!part.empty())
            parts.push_back(part);
        part.clear();
        if (!*c)
            return parts;
    }
}

// A key's identity for FailRegistryKeyCreation: its root and its path in lower case.
std::string PathKey(HKEY root, const std::vector<std::string> &parts)
{
    char rootText[24];
    std::snprintf(rootText, sizeof rootText, "%jx", static_cast<std::uintmax_t>(Arg(root)));
    std::string path = rootText;
    for (const std::string &part : parts)
        path += "\\" + Lower(part);
    return path;
}

std::vector<std::string> PartsOf(const RegistryKey *key)
{
    std::vector<std::string> parts;
    for (; key->parent; key = key->parent)
        parts.insert(parts.begin(), key->name);
    return parts;
}

bool CreationFails(const std::string &path)
{
    for (const std::string &failing : TheWorld().failingKeyPaths)
        if (path == failing || path.rfind(failing + "\\", 0) == 0)
            return true;
    return false;
}

RegistryKey *Walk(RegistryKey *key, const std::vector<std::string> &parts)
{
    for (const std::string &part : parts) {
        const auto found = key->subkeys.find(Lower(part));
        if (found == key->subkeys.end())
            return nullptr;
        key = found->second.get();
    }
    return key;
}

RegistryValue *FindValue(RegistryKey *key, const char *name)
{
    for (RegistryValue &value : key->values)
        if (SameText(value.name, name ? name : ""))
            return &value;
    return nullptr;
}

std::string Hex(const std::vector<BYTE> &data)
{
    std::string text;
    char byte[4];
    for (std::size_t i = 0; i < data.size(); ++i) {
        std::snprintf(byte, sizeof byte, "%02x", data[i]);
        text += (i ? "," : "") + std::string(byte);
    }
    return text;
}

}  // namespace

bool RegistryKeyExists(HKEY root, const char *path)
{
    return IsRoot(root) && Walk(RootKey(root), SplitPath(path));
}

std::string DumpRegistryKey(HKEY root, const char *path)
{
    RegistryKey *key = IsRoot(root) ? Walk(RootKey(root), SplitPath(path)) : nullptr;
    if (!key)
        return "";
    std::string dump;
    for (const RegistryValue &value : key->values) {
        dump += value.name.empty() ? "@=" : "\"" + value.name + "\"=";
        const std::vector<BYTE> &data = value.data;
        if (value.type == REG_SZ)
            dump += "\"" + std::string(data.begin(), std::find(data.begin(), data.end(), 0)) + "\"";
        else if (value.type == REG_DWORD && data.size() == 4) {
            char number[16];
            std::snprintf(number, sizeof number, "dword:%08x",
                          static_cast<unsigned>(data[0] | data[1] << 8 | data[2] << 16 | data[3] << 24));
            dump += number;
        } else if (value.type == REG_BINARY)
            dump += "hex:" + Hex(data);
        else
            dump += "hex(" + std::to_string(value.type) + "):" + Hex(data);
        dump += "\n";
    }
    return dump;
}

void FailRegistryKeyCreation(HKEY root, const char *path)
{
    TheWorld().failingKeyPaths.push_back(PathKey(root, SplitPath(path)));
}

std::size_t OpenRegistryHandles()
{
    std::size_t open = 0;
    for (const KeyHandle &handle : TheWorld().keyHandles)
        open += handle.open;
    return open;
}

}  // namespace winsim

using namespace winsim;

LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD options, REGSAM access, LPSECURITY_ATTRIBUTES,
                     PHKEY result, LPDWORD disposition)
{
    Log("RegCreateKeyExA", {Arg(key), options, access}, subKey);
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    RegistryKey *base = Resolve(key);
    if (!base)
        return ERROR_INVALID_HANDLE;
    if (subKey && subKey[0] == '\\')
        return ERROR_BAD_PATHNAME;
    const std::vector<std::string> parts = SplitPath(subKey);
    std::vector<std::string> fullPath = PartsOf(base);
    fullPath.insert(fullPath.end(), parts.begin(), parts.end());
    if (CreationFails(PathKey(base->root, fullPath)))
        return ERROR_ACCESS_DENIED;
    bool created = parts.empty();
    RegistryKey *target = base;
    for (const std::string &part : parts) {
        std::unique_ptr<RegistryKey> &slot = target->subkeys[Lower(part)];
        created = !slot;
        if (!slot) {
            slot = std::make_unique<RegistryKey>();
            slot->name = part;
            slot->parent = target;
            slot->root = target->root;
        }
        target = slot.get();
    }
    *result = NewHandle(target);
    if (disposition)
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result)
{
    Log("RegOpenKeyExA", {Arg(key), options, access}, subKey);
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    RegistryKey *base = Resolve(key);
    if (!base)
        return ERROR_INVALID_HANDLE;
    if (subKey && subKey[0] == '\\')
        return ERROR_BAD_PATHNAME;
    RegistryKey *target = Walk(base, SplitPath(subKey));
    if (!target)
        return ERROR_FILE_NOT_FOUND;
    *result = NewHandle(target);
    return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size)
{
    Log("RegQueryValueExA", {Arg(key), Arg(data), size ? *size : 0}, name);
    RegistryKey *target = Resolve(key);
    if (!target)
        return ERROR_INVALID_HANDLE;
    if (data && !size)
        return ERROR_INVALID_PARAMETER;
    const RegistryValue *value = FindValue(target, name);
    if (!value) {
        if (type)
            *type = REG_NONE;
        return ERROR_FILE_NOT_FOUND;
    }
    if (type)
        *type = value->type;
    if (!size)
        return ERROR_SUCCESS;
    const DWORD needed = static_cast<DWORD>(value->data.size());
    if (data && *size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (data && needed)
        std::memcpy(data, value->data.data(), needed);
    *size = needed;
    return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY key, LPCSTR name, DWORD, DWORD type, const BYTE *data, DWORD size)
{
    Log("RegSetValueExA", {Arg(key), type, size}, name);
    RegistryKey *target = Resolve(key);
    if (!target)
        return ERROR_INVALID_HANDLE;
    std::vector<BYTE> bytes;
    if (data)
        bytes.assign(data, data + size);
    const bool text = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
    if (text && !bytes.empty() && bytes.back() != 0)
        bytes.push_back(0);
    if (RegistryValue *value = FindValue(target, name)) {
        value->type = type;
        value->data = std::move(bytes);
    } else {
        target->values.push_back(RegistryValue{name ? name : "", type, std::move(bytes)});
    }
    return ERROR_SUCCESS;
}

LONG RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD, LPSTR keyClass, LPDWORD classSize,
                   PFILETIME lastWrite)
{
    Log("RegEnumKeyExA", {Arg(key), index, nameSize ? *nameSize : 0});
    RegistryKey *target = Resolve(key);
    if (!target)
        return ERROR_INVALID_HANDLE;
    if (!name || !nameSize)
        return ERROR_INVALID_PARAMETER;
    if (index >= target->subkeys.size())
        return ERROR_NO_MORE_ITEMS;
    const std::string &found = std::next(target->subkeys.begin(), index)->second->name;
    if (*nameSize <= found.size())
        return ERROR_MORE_DATA;
    std::memcpy(name, found.c_str(), found.size() + 1);
    *nameSize = static_cast<DWORD>(found.size());
    if (keyClass && classSize && *classSize > 0)
        keyClass[0] = '\0';
    if (classSize)
        *classSize = 0;
    if (lastWrite)
        *lastWrite = FILETIME{0, 0};
    return ERROR_SUCCESS;
}

LONG RegDeleteKeyA(HKEY key, LPCSTR subKey)
{
    Log("RegDeleteKeyA", {Arg(key)}, subKey);
    RegistryKey *base = Resolve(key);
    if (!base)
        return ERROR_INVALID_HANDLE;
    if (!subKey || !subKey[0] || subKey[0] == '\\')
        return ERROR_BAD_PATHNAME;
    RegistryKey *target = Walk(base, SplitPath(subKey));
    if (!target || !target->parent)
        return ERROR_FILE_NOT_FOUND;
    if (!target->subkeys.empty())
        return ERROR_ACCESS_DENIED;
    auto &siblings = target->parent->subkeys;
    const auto found = siblings.find(Lower(target->name));
    TheWorld().deletedKeys.push_back(std::move(found->second));
    siblings.erase(found);
    return ERROR_SUCCESS;
}

LONG RegDeleteValueA(HKEY key, LPCSTR name)
{
    Log("RegDeleteValueA", {Arg(key)}, name);
    RegistryKey *target = Resolve(key);
    if (!target)
        return ERROR_INVALID_HANDLE;
    for (auto value = target->values.begin(); value != target->values.end(); ++value) {
        if (SameText(value->name, name ? name : "")) {
            target->values.erase(value);
            return ERROR_SUCCESS;
        }
    }
    return ERROR_FILE_NOT_FOUND;
}

LONG RegCloseKey(HKEY key)
{
    Log("RegCloseKey", {Arg(key)});
    if (IsRoot(key))
        return ERROR_SUCCESS;
    World &world = TheWorld();
    std::size_t index;
    if (!HandleIndex(key, KEY_HANDLE_BASE, world.keyHandles.size(), &index) || !world.keyHandles[index].open)
        return ERROR_INVALID_HANDLE;
    world.keyHandles[index].open = false;
    return ERROR_SUCCESS;
}
