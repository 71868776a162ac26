// registry_fixture COMMAND...
//
// The registry side of the installer scenarios (setup_scenarios.py), one program run
// per step so that the dynamic-data entries are made in the same server session as
// the installer that reads them. Commands, carried out in the order given:
//
//   clear   deletes everything an installation writes (property-page class and
//           handler, Run value, uninstall entry, the Enum and Mouse class keys) and the
//           mouse devices below
//   ps2     a mouse device as Windows 98 enumerates a PS/2 mouse: a Config Manager entry
//           for BIOS\*PNP0F13\0000, its Enum key and its driver key Mouse\0000
//   serial  the same for a serial mouse: ROOT\*PNP0F0C\0000 with driver key Mouse\0001
//   dump    prints every key and value the installer may touch, one per line:
//             key<TAB>PATH
//             value<TAB>PATH<TAB>NAME<TAB>TYPE<TAB>DATA
//           PATH starts with HKCR, HKLM or HKDD; NAME is empty for a key's unnamed
//           value; TYPE is sz, binary (DATA in hex) or a type number; in DATA a
//           backslash, a tab and a line feed are escaped
//   sysdir  prints "sysdir<TAB>" and the system directory (GetSystemDirectoryA)
//
// Exit code 0 when every write succeeded; keys that are missing at "clear" are no error.
#include "platform.h"

#include <stdio.h>
#include <string.h>

namespace {

constexpr char DYN_ENUM[] = "Config Manager\\Enum";

struct Root {
    HKEY key;
    const char *name;
};
const Root HKCR = {HKEY_CLASSES_ROOT, "HKCR"};
const Root HKLM = {HKEY_LOCAL_MACHINE, "HKLM"};
const Root HKDD = {HKEY_DYN_DATA, "HKDD"};

// The keys an installation writes, and the device keys of the fixtures, below which
// everything is the installer's or ours.
const struct {
    Root root;
    const char *path;
} OWNED_KEYS[] = {
    {HKCR, "CLSID\\{7A31C0D2-5E84-4B19-9C6F-2D0E8B47A153}"},
    {HKLM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\Mouse"},
    {HKLM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarvik"},
    {HKLM, "Enum"},
    {HKLM, "System\\CurrentControlSet\\Services\\Class\\Mouse"},
    {HKDD, "Config Manager\\Enum\\C1A40010"},
    {HKDD, "Config Manager\\Enum\\C1A40020"},
    {HKDD, "Config Manager\\Enum\\C1A40030"},
};
constexpr char RUN[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

struct Value {
    const char *name;
    const char *data;
};

// A fixture device: its Config Manager entry, its Enum key and its driver key.
struct Device {
    const char *entry;        // name below Config Manager\Enum
    const char *hardwareKey;  // below HKLM\Enum
    Value device[5];
    const char *driverKey;  // below Services\Class
    Value driver[7];
};

const Device PS2 = {
    "C1A40010",
    "BIOS\\*PNP0F13\\0000",
    {{"Class", "Mouse"},
     {"HardwareID", "*PNP0F13"},
     {"DeviceDesc", "Standard PS/2 Port Mouse"},
     {"Mfg", "(Standard mouse types)"},
     {"Driver", "Mouse\\0000"}},
    "Mouse\\0000",
    {{"DevLoader", "*vmouse"},
     {"MouseDriver", "mouse.drv"},
     {"InfPath", "MOUSE.INF"},
     {"DriverDesc", "Standard PS/2 Port Mouse"},
     {"DriverDate", " 5-11-1998"},
     {"InfSection", "PS2_Inst.Std"},
     {"ProviderName", "Standard"}},
};

const Device SERIAL = {
    "C1A40020",
    "ROOT\\*PNP0F0C\\0000",
    {{"Class", "Mouse"},
     {"HardwareID", "*PNP0F0C"},
     {"DeviceDesc", "Standard Serial Mouse"},
     {"Mfg", "(Standard serial types)"},
     {"Driver", "Mouse\\0001"}},
    "Mouse\\0001",
    {{"DevLoader", "*vmouse"},
     {"MouseDriver", "sermouse.drv"},
     {"InfPath", "SERMOUSE.INF"},
     {"DriverDesc", "Standard Serial Mouse"},
     {"DriverDate", " 6-20-1998"},
     {"InfSection", "Ser_Inst.Std"},
     {"ProviderName", "Serial"}},
};

// Another device that Windows enumerates, which no mouse search may take.
constexpr char KEYBOARD_ENTRY[] = "C1A40030";
constexpr char KEYBOARD_HARDWARE_KEY[] = "BIOS\\*PNP0303\\0000";

int failures = 0;

void Fail(const char *what, const char *path, LONG status)
{
    printf("FAIL %s %s: error %ld\n", what, path, static_cast<long>(status));
    ++failures;
}

void DeleteTree(HKEY root, const char *path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;  // nothing there
    char child[256];
    for (;;) {
        DWORD size = sizeof child;
        if (RegEnumKeyExA(key, 0, child, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        char below[512];
        snprintf(below, sizeof below, "%s\\%s", path, child);
        const int before = failures;
        DeleteTree(root, below);
        if (failures != before)
            break;
    }
    RegCloseKey(key);
    const LONG status = RegDeleteKeyA(root, path);
    if (status != ERROR_SUCCESS)
        Fail("delete", path, status);
}

void Clear()
{
    for (const auto &owned : OWNED_KEYS)
        DeleteTree(owned.root.key, owned.path);
    HKEY run = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, RUN, 0, KEY_ALL_ACCESS, &run) == ERROR_SUCCESS) {
        RegDeleteValueA(run, "Tarvik");
        RegCloseKey(run);
    }
}

void WriteKey(HKEY root, const char *path, const Value *values, int count)
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    const LONG status = RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                                        &disposition);
    if (status != ERROR_SUCCESS) {
        Fail("create", path, status);
        return;
    }
    for (int i = 0; i < count; ++i) {
        const LONG written = RegSetValueExA(key, values[i].name, 0, REG_SZ,
                                            reinterpret_cast<const BYTE *>(values[i].data),
                                            static_cast<DWORD>(strlen(values[i].data) + 1));
        if (written != ERROR_SUCCESS)
            Fail("write", values[i].name, written);
    }
    RegCloseKey(key);
}

void WriteEntry(const char *entry, const char *hardwareKey)
{
    char path[256];
    snprintf(path, sizeof path, "%s\\%s", DYN_ENUM, entry);
    const Value values[] = {{"HardWareKey", hardwareKey}, {"Problem", "0"}};
    WriteKey(HKEY_DYN_DATA, path, values, 2);
}

void WriteDevice(const Device &device)
{
    char path[256];
    snprintf(path, sizeof path, "Enum\\%s", device.hardwareKey);
    WriteKey(HKEY_LOCAL_MACHINE, path, device.device, 5);
    snprintf(path, sizeof path, "System\\CurrentControlSet\\Services\\Class\\%s", device.driverKey);
    WriteKey(HKEY_LOCAL_MACHINE, path, device.driver, 7);
    WriteEntry(device.entry, device.hardwareKey);
    WriteEntry(KEYBOARD_ENTRY, KEYBOARD_HARDWARE_KEY);
}

void PrintEscaped(const char *text, DWORD length)
{
    for (DWORD i = 0; i < length && text[i] != '\0'; ++i) {
        switch (text[i]) {
        case '\\': fputs("\\\\", stdout); break;
        case '\t': fputs("\\t", stdout); break;
        case '\n': fputs("\\n", stdout); break;
        default: putchar(text[i]);
        }
    }
}

void DumpTree(const Root &root, const char *path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root.key, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    printf("key\t%s\\%s\n", root.name, path);
    for (DWORD index = 0;; ++index) {
        char name[256];
        BYTE data[1024];
        DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
        if (RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
            break;
        printf("value\t%s\\%s\t%s\t", root.name, path, name);
        if (type == REG_SZ) {
            fputs("sz\t", stdout);
            PrintEscaped(reinterpret_cast<const char *>(data), dataSize);
        } else {
            if (type == REG_BINARY)
                fputs("binary\t", stdout);
            else
                printf("%lu\t", static_cast<unsigned long>(type));
            for (DWORD i = 0; i < dataSize; ++i)
                printf("%02x", data[i]);
        }
        putchar('\n');
    }
    for (DWORD index = 0;; ++index) {
        char child[256];
        DWORD size = sizeof child;
        if (RegEnumKeyExA(key, index, child, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        char below[512];
        snprintf(below, sizeof below, "%s\\%s", path, child);
        DumpTree(root, below);
    }
    RegCloseKey(key);
}

void Dump()
{
    for (const auto &owned : OWNED_KEYS)
        if (owned.root.key != HKEY_DYN_DATA)
            DumpTree(owned.root, owned.path);
    DumpTree(HKLM, RUN);
    DumpTree(HKDD, DYN_ENUM);
}

}  // namespace

int main(int argc, char **argv)
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "clear") == 0) {
            Clear();
        } else if (strcmp(argv[i], "ps2") == 0) {
            WriteDevice(PS2);
        } else if (strcmp(argv[i], "serial") == 0) {
            WriteDevice(SERIAL);
        } else if (strcmp(argv[i], "dump") == 0) {
            Dump();
        } else if (strcmp(argv[i], "sysdir") == 0) {
            char system[MAX_PATH] = "";
            GetSystemDirectoryA(system, MAX_PATH);
            printf("sysdir\t%s\n", system);
        } else {
            printf("FAIL unknown command %s\n", argv[i]);
            return 2;
        }
    }
    return failures == 0 ? 0 : 1;
}
