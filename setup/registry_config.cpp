// The registry entries of an installation: the product registration (property-page
// class and handler, the Run value, the uninstall entry) and the mouse device of the
// chosen type, pointed at the product's driver. Every value the device part replaces
// is first recorded in the destination's SETUP.INF.
//
// Paths, value names and data are the system's interface with Windows and with the
// product's other programs, and are written exactly so.
#include "setup.h"

#include "text.h"

#include <cstdlib>
#include <cstring>

char mouseSection[FIELD_CHARS];

namespace {

constexpr char CLASS_ROOT[] = "System\\CurrentControlSet\\Services\\Class\\";
constexpr char MOUSE_CLASS[] = "System\\CurrentControlSet\\Services\\Class\\Mouse";
constexpr char CONFIG_MANAGER_ENUM[] = "Config Manager\\Enum";
constexpr char ROOT_SERIAL_DEVICE[] = "Enum\\Root\\VelmoMouse\\0000";
constexpr char BIOS_PS2_MOUSE[] = "BIOS\\*PNP0F13\\";
constexpr char ROOT_PS2_MOUSE[] = "ROOT\\*PNP0F0E\\";
constexpr char ROOT_SERIAL_MOUSE[] = "ROOT\\*PNP0F0C\\";
constexpr int KEY_PATH_CHARS = 128;

// ---- Registry helpers ------------------------------------------------------------------

HKEY CreateKey(HKEY root, const char *path)
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                        &disposition) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY OpenKey(HKEY root, const char *path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

void WriteText(HKEY key, const char *name, const char *value)
{
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value),
                   static_cast<DWORD>(std::strlen(value) + 1));
}

// A text value read whole, however long: a block of global memory that the caller
// gives back with FreeValue. A missing value reads as empty.
struct Value {
    HGLOBAL memory;
    const char *text;
};

Value ReadValue(HKEY key, const char *name)
{
    DWORD type = 0, size = 0;
    Value value = {nullptr, ""};
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size == 0)
        return value;
    value.memory = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size + 1);
    char *text = value.memory ? static_cast<char *>(GlobalLock(value.memory)) : nullptr;
    if (!text)
        return value;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(text), &size) == ERROR_SUCCESS)
        value.text = text;
    return value;
}

void FreeValue(Value *value)
{
    if (value->memory) {
        GlobalUnlock(value->memory);
        GlobalFree(value->memory);
    }
    *value = {nullptr, ""};
}

// Records the value's former content, then writes the new one.
void ReplaceValue(HKEY key, const char *name, const char *newValue)
{
    Value former = ReadValue(key, name);
    RecordPriorSetting(mouseSection, name, former.text);
    FreeValue(&former);
    WriteText(key, name, newValue);
}

// ---- Product registration ------------------------------------------------------------

constexpr char PAGE_CLASS[] = "CLSID\\{7A31C0D2-5E84-4B19-9C6F-2D0E8B47A153}";
constexpr char PAGE_SERVER[] = "CLSID\\{7A31C0D2-5E84-4B19-9C6F-2D0E8B47A153}\\InProcServer32";
constexpr char HANDLERS[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\Mouse\\shellex\\PropertySheetHandlers";
constexpr char HANDLER[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\Mouse\\shellex\\PropertySheetHandlers\\PXMousePage";
constexpr char RUN[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char UNINSTALL[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarvik";

// A value's data: a fixed text, or the destination directory followed by a text, or
// the product title.
enum DataKind { FIXED, IN_DEST_DIR, PRODUCT_TITLE };

struct RegistrationValue {
    const char *name;  // null: the key's unnamed value
    DataKind kind;
    const char *text;
};

struct RegistrationKey {
    HKEY root;
    const char *path;
    RegistrationValue values[2];
};

const RegistrationKey REGISTRATION[] = {
    {HKEY_CLASSES_ROOT, PAGE_CLASS, {{nullptr, FIXED, "PXMouseControlPage"}}},
    {HKEY_CLASSES_ROOT, PAGE_SERVER, {{nullptr, IN_DEST_DIR, "\\KXPAGE.DLL"}, {"ThreadingModel", FIXED, "Apartment"}}},
    {HKEY_LOCAL_MACHINE, HANDLERS, {{nullptr, FIXED, "PXMousePage"}}},
    {HKEY_LOCAL_MACHINE, HANDLER, {{nullptr, FIXED, "{7A31C0D2-5E84-4B19-9C6F-2D0E8B47A153}"}}},
    {HKEY_LOCAL_MACHINE, RUN, {{"Tarvik", IN_DEST_DIR, "\\KXMAIN.EXE -startup"}}},
    {HKEY_LOCAL_MACHINE, UNINSTALL,
     {{"DisplayName", PRODUCT_TITLE, nullptr}, {"UninstallString", IN_DEST_DIR, "\\UNINSTAL.EXE"}}},
};

void RegisterProduct()
{
    for (const RegistrationKey &entry : REGISTRATION) {
        HKEY key = CreateKey(entry.root, entry.path);
        if (!key)
            continue;  // skipped; the others are still written
        for (const RegistrationValue &value : entry.values) {
            if (!value.text && value.kind != PRODUCT_TITLE)
                continue;
            char data[KEY_PATH_CHARS];
            if (value.kind == IN_DEST_DIR)
                JoinText(data, config.destDir, value.text);
            else
                CopyText(data, value.kind == PRODUCT_TITLE ? config.productTitle : value.text);
            WriteText(key, value.name, data);
        }
        RegCloseKey(key);
    }
}

// ---- Mouse device ----------------------------------------------------------------------

// Points an enumerated device and its driver key at the product's driver.
void ConfigureDevice(const char *hardwareKey, const char *section, const char *mouseName, const char *infSection)
{
    char keyPath[PATH_CHARS];
    const bool fits = JoinText(keyPath, "Enum\\", hardwareKey);
    CopyText(mouseSection, section);
    HKEY device = fits ? OpenKey(HKEY_LOCAL_MACHINE, keyPath) : nullptr;
    if (!device)
        return;
    RecordPriorSetting(section, "SubKey1", keyPath);
    ReplaceValue(device, "DeviceDesc", mouseName);
    ReplaceValue(device, "Mfg", config.manufacturer);

    // The device's driver key name, such as Mouse\0000. A device without one gets a new
    // driver key of its own.
    Value driver = ReadValue(device, "Driver");
    char driverKey[PATH_CHARS];
    if (driver.text[0] != '\0' && CopyText(driverKey, driver.text)) {
        UpdateDriverKey(driverKey, mouseName, infSection);
    } else {
        NextMouseClassKey(driverKey);
        WriteText(device, "Driver", driverKey);
        CreateDriverKey(driverKey, mouseName, infSection);
    }
    FreeValue(&driver);
    RegCloseKey(device);
}

// Creates the root-enumerated serial mouse with serial-mouse detection.
void CreateSerialDevice()
{
    HKEY device = CreateKey(HKEY_LOCAL_MACHINE, ROOT_SERIAL_DEVICE);
    CopyText(mouseSection, "Serial");
    if (!device)
        return;
    const BYTE zeros[4] = {0, 0, 0, 0};
    char driverKey[PATH_CHARS];
    WriteText(device, "Class", "Mouse");
    WriteText(device, "DeviceDesc", config.serialName);
    WriteText(device, "Mfg", config.manufacturer);
    RegSetValueExA(device, "ConfigFlags", 0, REG_BINARY, zeros, sizeof zeros);
    RegSetValueExA(device, "DetFlags", 0, REG_BINARY, zeros, sizeof zeros);
    WriteText(device, "DetFunc", "*:DETECTSERIALMOUSE");
    NextMouseClassKey(driverKey);
    WriteText(device, "Driver", driverKey);
    CreateDriverKey(driverKey, config.serialName, config.serialInfSection);
    RegCloseKey(device);
}

}  // namespace

void ConfigureRegistry(LONG registerProduct)
{
    if (registerProduct)
        RegisterProduct();

    char hardwareKey[PATH_CHARS];
    // A BIOS-enumerated PS/2 mouse is preferred to a root-enumerated one.
    const bool ps2Found = FindEnumDevice(BIOS_PS2_MOUSE, hardwareKey) || FindEnumDevice(ROOT_PS2_MOUSE, hardwareKey);
    if (ps2Found && !serialMouse) {
        ConfigureDevice(hardwareKey, "PS2", config.ps2Name, config.ps2InfSection);
        return;
    }
    const bool serialFound = FindEnumDevice(ROOT_SERIAL_MOUSE, hardwareKey);
    if (!serialMouse)
        return;  // PS/2 chosen and none enumerated: a device of the other type is never touched
    if (serialFound)
        ConfigureDevice(hardwareKey, "Serial", config.serialName, config.serialInfSection);
    else
        CreateSerialDevice();
}

bool FindEnumDevice(const char *prefix, char *hardwareKey)
{
    HKEY devices = OpenKey(HKEY_DYN_DATA, CONFIG_MANAGER_ENUM);
    if (!devices)
        return false;
    bool found = false;
    for (DWORD index = 0;; ++index) {
        char name[PATH_CHARS];
        DWORD nameSize = PATH_CHARS;
        if (RegEnumKeyExA(devices, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY device = OpenKey(devices, name);
        if (!device)
            continue;
        char value[TEXT_CHARS] = "";
        DWORD type = 0, size = TEXT_CHARS;
        const bool read = RegQueryValueExA(device, "HardWareKey", nullptr, &type, reinterpret_cast<BYTE *>(value),
                                           &size) == ERROR_SUCCESS;
        RegCloseKey(device);
        value[TEXT_CHARS - 1] = '\0';
        // A key that does not fit the hardware-key buffer is not matched.
        if (read && std::strstr(value, prefix) && std::strlen(value) < PATH_CHARS) {
            CopyText(hardwareKey, PATH_CHARS, value);
            found = true;  // the search goes on: the last match wins
        }
    }
    RegCloseKey(devices);
    return found;
}

void NextMouseClassKey(char *name)
{
    int previous = -1;
    if (HKEY mouseClass = OpenKey(HKEY_LOCAL_MACHINE, MOUSE_CLASS)) {
        for (DWORD index = 0;; ++index) {
            char instance[PATH_CHARS];
            DWORD size = PATH_CHARS;
            if (RegEnumKeyExA(mouseClass, index, instance, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            const SHORT number = static_cast<SHORT>(std::atoi(instance));
            if (number - previous > 1)
                break;  // a gap
            previous = number;
        }
        RegCloseKey(mouseClass);
    }
    wsprintfA(name, "Mouse\\%04d", previous + 1);
}

void UpdateDriverKey(const char *driverKey, const char *mouseName, const char *infSection)
{
    char path[KEY_PATH_CHARS];
    const bool fits = JoinText(path, CLASS_ROOT, driverKey);
    RecordPriorSetting(mouseSection, "SubKey2", path);
    HKEY key = fits ? OpenKey(HKEY_LOCAL_MACHINE, path) : nullptr;
    if (!key) {
        CreateDriverKey(driverKey, mouseName, infSection);
        return;
    }
    const struct {
        const char *name;
        const char *value;
    } rows[] = {
        {"MouseDriver", config.mouseDriver}, {"InfPath", config.mouseInf},   {"DriverDesc", mouseName},
        {"DriverDate", config.driverDate},   {"InfSection", infSection},
    };
    for (const auto &row : rows)
        ReplaceValue(key, row.name, row.value);
    WriteText(key, "MouseType", mouseSection);
    RegCloseKey(key);
}

void CreateDriverKey(const char *driverKey, const char *mouseName, const char *infSection)
{
    char path[KEY_PATH_CHARS];
    if (!JoinText(path, CLASS_ROOT, driverKey))
        return;
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, path);
    if (!key)
        return;
    const struct {
        const char *name;
        const char *value;
    } rows[] = {
        {"DevLoader", "*vmouse"},        {"MouseType", mouseSection},       {"MouseDriver", config.mouseDriver},
        {"InfPath", config.mouseInf},    {"DriverDesc", mouseName},         {"DriverDate", config.driverDate},
        {"InfSection", infSection},
    };
    for (const auto &row : rows)
        WriteText(key, row.name, row.value);
    RegCloseKey(key);
}
