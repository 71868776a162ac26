// resource_check DLLPATH: loads the hook library and checks its resources the way the
// system and the resident application find them: the string-named cursor and icon
// groups with their images, the cursors as LoadCursorA makes them, and the string table.
#include "platform.h"

#include <stdio.h>

#include "checks.h"

namespace {

// The group directories of RT_GROUP_CURSOR and RT_GROUP_ICON as stored in the image.
#pragma pack(push, 2)
struct GroupHeader {
    WORD reserved;
    WORD type;  // 1 icons, 2 cursors
    WORD count;
};
#pragma pack(pop)

// The image a 32x32 request picks from a group, located and locked; null if missing.
const BYTE* PickImage(HMODULE module, const char* name, bool icon, DWORD* size)
{
    HRSRC group = FindResourceA(module, name, icon ? RT_GROUP_ICON : RT_GROUP_CURSOR);
    if (!CHECK_TRUE(checks::Label("%s is a string-named %s group", name, icon ? "icon" : "cursor"), group))
        return nullptr;
    auto* directory = static_cast<BYTE*>(LockResource(LoadResource(module, group)));
    if (!directory)
        return nullptr;
    const auto* header = reinterpret_cast<const GroupHeader*>(directory);
    CHECK_EQ(checks::Label("%s group type", name), icon ? 1 : 2, header->type);
    CHECK_TRUE(checks::Label("%s group has an image", name), header->count >= 1);

    const int id = LookupIconIdFromDirectoryEx(directory, icon, 32, 32, LR_DEFAULTCOLOR);
    HRSRC image = id ? FindResourceA(module, MAKEINTRESOURCEA(id), icon ? RT_ICON : RT_CURSOR) : nullptr;
    if (!CHECK_TRUE(checks::Label("%s image found (id %d)", name, id), image))
        return nullptr;
    *size = SizeofResource(module, image);
    return static_cast<const BYTE*>(LockResource(LoadResource(module, image)));
}

// An icon or cursor image is a DIB of twice the height: the colour part over the mask.
void CheckDib(const char* name, const BYTE* bits, DWORD size, int bitCount)
{
    if (!REQUIRE(checks::Label("%s image holds a bitmap header", name), size >= sizeof(BITMAPINFOHEADER)))
        return;
    BITMAPINFOHEADER header;
    memcpy(&header, bits, sizeof header);
    CHECK_EQ(checks::Label("%s header size", name), sizeof(BITMAPINFOHEADER), header.biSize);
    CHECK_EQ(checks::Label("%s width", name), 32, header.biWidth);
    CHECK_EQ(checks::Label("%s height (image and mask)", name), 64, header.biHeight);
    CHECK_EQ(checks::Label("%s bits per pixel", name), bitCount, header.biBitCount);
}

void CheckCursors(HMODULE module)
{
    struct Cursor {
        const char* name;
        int hotX, hotY, bitCount;
    };
    static const Cursor cursors[] = {
        {"IDC_VH_SCROLL", 15, 15, 1},    {"IDC_VER_SCROLL", 15, 15, 1}, {"IDC_HOR_SCROLL", 15, 15, 1},
        {"IDC_UP_SCROLL", 15, 15, 1},    {"IDC_DN_SCROLL", 15, 15, 1},  {"IDC_LF_SCROLL", 15, 15, 1},
        {"IDC_RI_SCROLL", 15, 15, 1},    {"IDC_HOR_SCROLL1", 12, 1, 4}, {"IDC_SCROLL", 17, 14, 1},
        {"IDC_SCROLL_UP", 17, 20, 1},    {"IDC_SCROLL_DOWN", 16, 9, 1}, {"IDC_SCROLL_LEFT", 22, 15, 1},
        {"IDC_SCROLL_RIGHT", 10, 15, 1},
    };
    for (const Cursor& c : cursors) {
        DWORD size = 0;
        if (const BYTE* bits = PickImage(module, c.name, false, &size)) {
            // A cursor image starts with its hot spot, then the DIB.
            if (REQUIRE(checks::Label("%s image holds a hot spot", c.name), size >= 4)) {
                const WORD* hot = reinterpret_cast<const WORD*>(bits);
                CHECK_EQ(checks::Label("%s stored hot spot x", c.name), c.hotX, hot[0]);
                CHECK_EQ(checks::Label("%s stored hot spot y", c.name), c.hotY, hot[1]);
                CheckDib(c.name, bits + 4, size - 4, c.bitCount);
            }
        }

        HCURSOR cursor = LoadCursorA(module, c.name);
        if (!CHECK_TRUE(checks::Label("LoadCursorA %s", c.name), cursor))
            continue;
        ICONINFO info = {};
        if (CHECK_TRUE(checks::Label("GetIconInfo %s", c.name), GetIconInfo(cursor, &info))) {
            CHECK_TRUE(checks::Label("%s is a cursor", c.name), !info.fIcon);
            CHECK_EQ(checks::Label("%s loaded hot spot x", c.name), c.hotX, info.xHotspot);
            CHECK_EQ(checks::Label("%s loaded hot spot y", c.name), c.hotY, info.yHotspot);
            if (info.hbmMask)
                DeleteObject(info.hbmMask);
            if (info.hbmColor)
                DeleteObject(info.hbmColor);
        }
    }
}

void CheckIcons(HMODULE module)
{
    static const char* const icons[] = {
        "IDI_VH_MARK",   "IDI_VER_MARK",  "IDI_HOR_MARK",  "IDI_VH_SCROLL", "IDI_VER_SCROLL",
        "IDI_HOR_SCROLL", "IDI_UP_SCROLL", "IDI_DN_SCROLL", "IDI_LF_SCROLL", "IDI_RI_SCROLL",
    };
    for (const char* name : icons) {
        DWORD size = 0;
        if (const BYTE* bits = PickImage(module, name, true, &size))
            CheckDib(name, bits, size, 4);
        CHECK_TRUE(checks::Label("LoadIconA %s", name), LoadIconA(module, name));
    }
}

void CheckStrings(HMODULE module)
{
    for (UINT id = 1; id <= 26; ++id) {
        char expected[16];
        if (id == 1)
            snprintf(expected, sizeof expected, "HookData");
        else if (id == 26)
            snprintf(expected, sizeof expected, "HOOKDLL.DAT");
        else
            snprintf(expected, sizeof expected, "Data%u", id - 1);
        char actual[64] = {};
        LoadStringA(module, id, actual, sizeof actual);
        CHECK_STR(checks::Label("string %u", id), expected, actual);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    checks::Start("resource_check");
    if (argc != 2) {
        printf("usage: resource_check DLLPATH\n");
        return 2;
    }
    HMODULE module = LoadLibraryA(argv[1]);
    if (!CHECK_TRUE(checks::Label("LoadLibraryA %s", argv[1]), module))
        return checks::Finish();
    CheckCursors(module);
    CheckIcons(module);
    CheckStrings(module);
    return checks::Finish();
}
