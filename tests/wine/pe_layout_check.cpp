// pe_layout_check DLLPATH: reads the hook library's file and checks what other programs
// and the loaders of Windows 95/98 rely on: the export names and ordinals, the shared
// section and its initial contents, the imported modules and the subsystem version.
#include "platform.h"

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "checks.h"
#include "kxhook.h"
#include "pe_image.h"

namespace {

struct Image {
    std::vector<BYTE> bytes;
    const IMAGE_NT_HEADERS32* nt = nullptr;

    // File offset of a virtual address, or 0 when no section holds it.
    size_t Offset(DWORD rva) const
    {
        const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
            if (rva >= section->VirtualAddress &&
                rva < section->VirtualAddress + section->SizeOfRawData)
                return section->PointerToRawData + (rva - section->VirtualAddress);
        }
        return 0;
    }

    template <class T>
    const T* At(DWORD rva, size_t count = 1) const
    {
        const size_t offset = Offset(rva);
        if (offset == 0 || offset + sizeof(T) * count > bytes.size())
            return nullptr;
        return reinterpret_cast<const T*>(bytes.data() + offset);
    }

    const char* String(DWORD rva) const
    {
        const size_t offset = Offset(rva);
        if (offset == 0 || offset >= bytes.size() ||
            memchr(bytes.data() + offset, 0, bytes.size() - offset) == nullptr)
            return nullptr;
        return reinterpret_cast<const char*>(bytes.data() + offset);
    }

    const IMAGE_DATA_DIRECTORY& Directory(int index) const
    {
        return nt->OptionalHeader.DataDirectory[index];
    }
};

bool ReadWholeFile(const char* path, std::vector<BYTE>& bytes)
{
    FILE* file = fopen(path, "rb");
    if (!file)
        return false;
    BYTE chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    fclose(file);
    return true;
}

void CheckHeaders(const Image& image)
{
    const IMAGE_FILE_HEADER& file = image.nt->FileHeader;
    const IMAGE_OPTIONAL_HEADER32& optional = image.nt->OptionalHeader;
    CHECK_EQ("machine is i386", IMAGE_FILE_MACHINE_I386, file.Machine);
    CHECK_TRUE("image is a DLL", file.Characteristics & IMAGE_FILE_DLL);
    CHECK_EQ("subsystem major version", 4, optional.MajorSubsystemVersion);
    CHECK_EQ("subsystem minor version", 0, optional.MinorSubsystemVersion);
    // Every hooked process maps the library wherever its address space allows.
    CHECK_TRUE("relocations kept", !(file.Characteristics & IMAGE_FILE_RELOCS_STRIPPED) &&
                                       image.Directory(IMAGE_DIRECTORY_ENTRY_BASERELOC).Size > 0);
}

void CheckExports(const Image& image)
{
    static const char* const expected[] = {
        "DoCallWndProcHookFunc", "DoGetMessageHookFunc",  "DoKeyboardHookFunc",
        "EnableScrolling",       "EnableZoomIn",          "MouseProc",
        "SetAutoScrollCursor",   "SetAutoScrollDirection", "SetAutoScrollDlg",
        "SetCallWndHookHandle",  "SetKeyboardHookHandle", "SetMarkWindow",
        "SetMessageHookHandle",  "SetMiddleButtonIndex",  "SetMouseHookHandle",
        "SetParentWindow",       "SetWheelMode",
    };
    constexpr DWORD count = sizeof expected / sizeof expected[0];

    const IMAGE_DATA_DIRECTORY& dir = image.Directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
    const auto* exports = image.At<IMAGE_EXPORT_DIRECTORY>(dir.VirtualAddress);
    if (!CHECK_TRUE("export directory present", exports))
        return;
    CHECK_STR("export module name", "KXHOOK32.DLL", image.String(exports->Name));
    CHECK_EQ("exported functions", count, exports->NumberOfFunctions);
    CHECK_EQ("exported names", count, exports->NumberOfNames);
    const auto* functions = image.At<DWORD>(exports->AddressOfFunctions, exports->NumberOfFunctions);
    const auto* names = image.At<DWORD>(exports->AddressOfNames, exports->NumberOfNames);
    const auto* ordinals = image.At<WORD>(exports->AddressOfNameOrdinals, exports->NumberOfNames);
    if (!REQUIRE("export tables readable", functions && names && ordinals) ||
        exports->NumberOfNames != count)
        return;

    // The name table is sorted, so name i of the list has ordinal i + 1.
    for (DWORD i = 0; i < count; ++i) {
        const DWORD ordinal = exports->Base + ordinals[i];
        CHECK_STR(checks::Label("export name %lu", i + 1), expected[i], image.String(names[i]));
        CHECK_EQ(checks::Label("ordinal of %s", expected[i]), i + 1, ordinal);
        // A forwarder's address would point into the export directory itself.
        const DWORD rva = ordinals[i] < exports->NumberOfFunctions ? functions[ordinals[i]] : 0;
        CHECK_TRUE(checks::Label("%s has code of its own", expected[i]),
                   rva != 0 && (rva < dir.VirtualAddress || rva >= dir.VirtualAddress + dir.Size));
    }
}

void CheckSharedSection(const Image& image)
{
    const IMAGE_SECTION_HEADER* section = pe::FindSection(image.nt, HOOK_SHARED_SECTION_NAME);
    if (!CHECK_TRUE("section SHARDATA present", section))
        return;
    const DWORD flags = section->Characteristics;
    CHECK_TRUE("SHARDATA readable", flags & IMAGE_SCN_MEM_READ);
    CHECK_TRUE("SHARDATA writable", flags & IMAGE_SCN_MEM_WRITE);
    CHECK_TRUE("SHARDATA shared", flags & IMAGE_SCN_MEM_SHARED);
    CHECK_TRUE("SHARDATA not executable", !(flags & IMAGE_SCN_MEM_EXECUTE));
    CHECK_TRUE("SHARDATA virtual size covers the state",
               section->Misc.VirtualSize >= sizeof(SharedHookState));
    // No tail left to the loader's zero fill: every field has its bytes in the file.
    if (!CHECK_TRUE("SHARDATA raw size covers the state",
                    section->SizeOfRawData >= sizeof(SharedHookState) &&
                        section->PointerToRawData + sizeof(SharedHookState) <= image.bytes.size()))
        return;

    SharedHookState inFile;
    memcpy(&inFile, image.bytes.data() + section->PointerToRawData, sizeof inFile);

    CHECK_EQ("initial middleButtonIndex", -1, inFile.middleButtonIndex);
    CHECK_STR("initial cursorName", "0", inFile.cursorName);
    CHECK_STR("initial markIconName", "0", inFile.markIconName);

    // Apart from those three and the action table, the whole state starts zero.
    SharedHookState zeroed;
    memset(&zeroed, 0, sizeof zeroed);
    zeroed.middleButtonIndex = -1;
    strcpy(zeroed.cursorName, "0");
    strcpy(zeroed.markIconName, "0");
    memcpy(zeroed.actionTable, inFile.actionTable, sizeof zeroed.actionTable);
    const BYTE* want = reinterpret_cast<const BYTE*>(&zeroed);
    const BYTE* have = reinterpret_cast<const BYTE*>(&inFile);
    size_t firstDifference = sizeof inFile;
    for (size_t i = 0; i < sizeof inFile; ++i) {
        if (want[i] != have[i]) {
            firstDifference = i;
            break;
        }
    }
    CHECK_EQ("offset of the first unexpected byte (none: the size of the state)", sizeof inFile,
             firstDifference);

    struct Row {
        int index;
        ActionStep steps[3];
    };
    static const Row rows[] = {
        {0, {{WM_KEYDOWN, VK_BACK, 1}, {WM_KEYUP, VK_BACK, 0xC0000001}, {0, 0, 0}}},
        {5, {{WM_KEYDOWN, VK_ESCAPE, 1}, {WM_KEYUP, VK_ESCAPE, 0x80000001}, {0, 0, 0}}},
        {24, {{1124, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
    };
    for (const Row& row : rows) {
        for (int s = 0; s < 3; ++s) {
            const ActionStep& want = row.steps[s];
            const ActionStep& have = inFile.actionTable[row.index].steps[s];
            CHECK_EQ(checks::Label("action %d step %d message", row.index, s), want.message, have.message);
            CHECK_EQ(checks::Label("action %d step %d wParam", row.index, s), want.wParam, have.wParam);
            CHECK_EQ(checks::Label("action %d step %d lParam", row.index, s), want.lParam, have.lParam);
        }
    }
}

void CheckImports(const Image& image)
{
    const IMAGE_DATA_DIRECTORY& dir = image.Directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
    std::vector<std::string> modules;
    for (DWORD at = dir.VirtualAddress;; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* descriptor = image.At<IMAGE_IMPORT_DESCRIPTOR>(at);
        if (!descriptor || descriptor->Name == 0)
            break;
        const char* name = image.String(descriptor->Name);
        modules.push_back(name ? name : "(unreadable)");
        // Listed for the log, so that a function missing on the old systems shows up.
        const DWORD thunks = descriptor->OriginalFirstThunk ? descriptor->OriginalFirstThunk
                                                            : descriptor->FirstThunk;
        for (DWORD t = thunks;; t += sizeof(DWORD)) {
            const DWORD* thunk = image.At<DWORD>(t);
            if (!thunk || *thunk == 0)
                break;
            if (*thunk & IMAGE_ORDINAL_FLAG32)
                printf("   imports %s #%lu\n", modules.back().c_str(), *thunk & 0xFFFF);
            else if (const char* function = image.String(*thunk + 2))
                printf("   imports %s!%s\n", modules.back().c_str(), function);
        }
    }
    CHECK_EQ("imported modules", 2u, modules.size());
    for (const char* want : {"KERNEL32.dll", "USER32.dll"}) {
        bool found = false;
        for (const std::string& have : modules)
            found = found || _stricmp(have.c_str(), want) == 0;
        CHECK_TRUE(checks::Label("imports %s", want), found);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    checks::Start("pe_layout_check");
    if (argc != 2) {
        printf("usage: pe_layout_check DLLPATH\n");
        return 2;
    }
    Image image;
    if (!CHECK_TRUE(checks::Label("read %s", argv[1]), ReadWholeFile(argv[1], image.bytes)))
        return checks::Finish();
    image.nt = pe::NtHeaders(image.bytes.data(), image.bytes.size());
    if (!CHECK_TRUE("32-bit PE headers", image.nt))
        return checks::Finish();

    CheckHeaders(image);
    CheckExports(image);
    CheckSharedSection(image);
    CheckImports(image);
    return checks::Finish();
}
