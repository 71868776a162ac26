// Walking the headers of a PE image, either as loaded in memory or as the bytes of
// the file, and finding the hook library's shared section in a loaded module.
#pragma once

#include "platform.h"

#include <string.h>

#include "kxhook.h"

namespace pe {

// The NT headers of an image that starts at base, or null if the signatures are wrong.
inline const IMAGE_NT_HEADERS32* NtHeaders(const BYTE* base, size_t size)
{
    if (size < sizeof(IMAGE_DOS_HEADER))
        return nullptr;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew <= 0 ||
        static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32) > size)
        return nullptr;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE ||
        nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC)
        return nullptr;
    return nt;
}

inline const IMAGE_SECTION_HEADER* FindSection(const IMAGE_NT_HEADERS32* nt, const char* name)
{
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        // Section names fill all eight bytes when they are eight characters long.
        char padded[IMAGE_SIZEOF_SHORT_NAME] = {};
        memcpy(padded, name, strnlen(name, IMAGE_SIZEOF_SHORT_NAME));
        if (memcmp(section->Name, padded, IMAGE_SIZEOF_SHORT_NAME) == 0)
            return section;
    }
    return nullptr;
}

// The hook library's shared state as mapped into this process: module base plus the
// virtual address of the section "SHARDATA". Null if the module has no such section.
inline SharedHookState* SharedStateOf(HMODULE module)
{
    const BYTE* base = reinterpret_cast<const BYTE*>(module);
    const IMAGE_NT_HEADERS32* nt = NtHeaders(base, 0x1000);
    if (!nt)
        return nullptr;
    const IMAGE_SECTION_HEADER* section = FindSection(nt, HOOK_SHARED_SECTION_NAME);
    if (!section || section->Misc.VirtualSize < sizeof(SharedHookState))
        return nullptr;
    return reinterpret_cast<SharedHookState*>(reinterpret_cast<uintptr_t>(module) +
                                              section->VirtualAddress);
}

}  // namespace pe
