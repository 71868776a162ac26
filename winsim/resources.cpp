// Modules and their resources, read from the resource compiler's ".res" output, and
// the cursor and icon functions on top of them.
//
// A ".res" file is a run of entries, each a header (data size, header size, type and
// name as 0xFFFF + ordinal or a zero-terminated UTF-16 string, padding to 4 bytes,
// then version, flags and language fields) followed by the data, padded to 4 bytes.
#include "world.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace winsim {
namespace {

constexpr WORD RT_CURSOR_ID = 1;
constexpr WORD RT_GROUP_CURSOR_ID = 12;

std::uint32_t Read32(const std::vector<BYTE> &bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

WORD Read16(const std::vector<BYTE> &bytes, std::size_t at)
{
    return static_cast<WORD>(bytes[at] | bytes[at + 1] << 8);
}

// Reads a type or name field at `at`, ending before `end`; advances `at`.
bool ReadNameField(const std::vector<BYTE> &bytes, std::size_t &at, std::size_t end, WORD *id, std::string *name)
{
    if (at + 2 > end)
        return false;
    if (Read16(bytes, at) == 0xFFFF) {
        if (at + 4 > end)
            return false;
        *id = Read16(bytes, at + 2);
        at += 4;
        return true;
    }
    *id = 0;
    name->clear();
    for (;;) {
        if (at + 2 > end)
            return false;
        const WORD unit = Read16(bytes, at);
        at += 2;
        if (unit == 0)
            break;
        name->push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    }
    *name = Upper(*name);
    return true;
}

bool ParseRes(const std::vector<BYTE> &bytes, Module *module)
{
    std::size_t at = 0;
    while (at + 8 <= bytes.size()) {
        const std::uint32_t dataSize = Read32(bytes, at);
        const std::uint32_t headerSize = Read32(bytes, at + 4);
        if (headerSize < 16 || at + headerSize > bytes.size() || dataSize > bytes.size() - at - headerSize)
            return false;
        Resource resource{};
        std::size_t field = at + 8;
        const std::size_t headerEnd = at + headerSize;
        if (!ReadNameField(bytes, field, headerEnd, &resource.typeId, &resource.typeName) ||
            !ReadNameField(bytes, field, headerEnd, &resource.nameId, &resource.name))
            return false;
        const std::size_t data = at + headerSize;
        resource.data.assign(bytes.begin() + data, bytes.begin() + data + dataSize);
        if (dataSize != 0 || resource.typeId != 0 || !resource.typeName.empty())
            module->resources.push_back(std::move(resource));
        at = (data + dataSize + 3) & ~static_cast<std::size_t>(3);
    }
    return at >= bytes.size();
}

std::string NameKey(LPCSTR name)
{
    if (IS_INTRESOURCE(name))
        return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name));
    return Upper(name);
}

// The platform's own cursors (IDC_ARROW and the others from 32512 up): one handle
// each, the same at every load. Their images and hot spots are not simulated (0, 0).
HCURSOR SystemCursor(LPCSTR name)
{
    static const WORD known[] = {32512, 32513, 32514, 32515, 32516, 32640, 32641, 32642, 32643,
                                 32644, 32645, 32646, 32648, 32649, 32650, 32651};
    if (!IS_INTRESOURCE(name) ||
        std::find(std::begin(known), std::end(known), reinterpret_cast<ULONG_PTR>(name)) == std::end(known))
        return nullptr;
    World &world = TheWorld();
    const std::string key = "system|" + NameKey(name);
    if (auto found = world.loadedCursors.find(key); found != world.loadedCursors.end())
        return MakeHandle<HCURSOR>(CURSOR_HANDLE_BASE, found->second);
    world.cursors.push_back(Cursor{nullptr, NameKey(name), 0, 0});
    world.loadedCursors[key] = world.cursors.size() - 1;
    return MakeHandle<HCURSOR>(CURSOR_HANDLE_BASE, world.cursors.size() - 1);
}

}  // namespace

Module *FindModule(HINSTANCE instance)
{
    std::size_t index;
    if (!HandleIndex(instance, MODULE_HANDLE_BASE, TheWorld().modules.size(), &index))
        return nullptr;
    return &TheWorld().modules[index];
}

const Resource *FindResourceEntry(const Module &module, WORD typeId, LPCSTR name)
{
    for (const Resource &resource : module.resources) {
        if (resource.typeId != typeId)
            continue;
        if (IS_INTRESOURCE(name) ? resource.name.empty() && resource.nameId == reinterpret_cast<ULONG_PTR>(name)
                                 : !resource.name.empty() && resource.name == Upper(name))
            return &resource;
    }
    return nullptr;
}

HINSTANCE LoadModule(const char *resPath)
{
    std::FILE *file = std::fopen(resPath, "rb");
    if (!file)
        return nullptr;
    std::vector<BYTE> bytes;
    BYTE buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    std::fclose(file);

    Module module;
    if (!ParseRes(bytes, &module))
        return nullptr;
    World &world = TheWorld();
    world.modules.push_back(std::move(module));
    return MakeHandle<HINSTANCE>(MODULE_HANDLE_BASE, world.modules.size() - 1);
}

bool GetCursorInfo(HCURSOR cursor, CursorInfo *info)
{
    std::size_t index;
    if (!HandleIndex(cursor, CURSOR_HANDLE_BASE, TheWorld().cursors.size(), &index))
        return false;
    const Cursor &c = TheWorld().cursors[index];
    *info = CursorInfo{c.module, c.name, c.hotX, c.hotY};
    return true;
}

}  // namespace winsim

using namespace winsim;

// Loads a cursor group by name or ordinal from a module. As on the platform, loading
// the same cursor again gives the same handle. The first image of the group is used.
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name)
{
    Log("LoadCursorA", {Arg(instance), IS_INTRESOURCE(name) ? reinterpret_cast<ULONG_PTR>(name) : 0},
        IS_INTRESOURCE(name) ? nullptr : name);
    World &world = TheWorld();
    if (!instance)
        return SystemCursor(name);
    const Module *module = FindModule(instance);
    if (!module)
        return nullptr;
    const std::string key = std::to_string(Arg(instance)) + "|" + NameKey(name);
    if (auto found = world.loadedCursors.find(key); found != world.loadedCursors.end())
        return MakeHandle<HCURSOR>(CURSOR_HANDLE_BASE, found->second);

    const Resource *group = FindResourceEntry(*module, RT_GROUP_CURSOR_ID, name);
    // Group: reserved, type, count, then 14-byte entries whose last word is the image id.
    if (!group || group->data.size() < 6 + 14 || Read16(group->data, 4) == 0)
        return nullptr;
    const WORD imageId = Read16(group->data, 6 + 12);
    const Resource *image = FindResourceEntry(*module, RT_CURSOR_ID, MAKEINTRESOURCEA(imageId));
    if (!image || image->data.size() < 4)
        return nullptr;

    world.cursors.push_back(Cursor{instance, NameKey(name), Read16(image->data, 0), Read16(image->data, 2)});
    world.loadedCursors[key] = world.cursors.size() - 1;
    return MakeHandle<HCURSOR>(CURSOR_HANDLE_BASE, world.cursors.size() - 1);
}

HCURSOR SetCursor(HCURSOR cursor)
{
    Log("SetCursor", {Arg(cursor)});
    HCURSOR previous = TheWorld().currentCursor;
    TheWorld().currentCursor = cursor;
    return previous;
}

HCURSOR GetCursor(void)
{
    Log("GetCursor", {});
    return TheWorld().currentCursor;
}

// From an icon group (RT_GROUP_ICON) of the module; loading the same icon again gives
// the same handle. A null instance gives the platform's icons (IDI_APPLICATION, ...).
HICON LoadIconA(HINSTANCE instance, LPCSTR name)
{
    Log("LoadIconA", {Arg(instance), IS_INTRESOURCE(name) ? reinterpret_cast<ULONG_PTR>(name) : 0},
        IS_INTRESOURCE(name) ? nullptr : name);
    if (!instance && (!IS_INTRESOURCE(name) || reinterpret_cast<ULONG_PTR>(name) < 32512 ||
                      reinterpret_cast<ULONG_PTR>(name) > 32518))
        return nullptr;
    return LoadIconInternal(instance, name);
}
