// The registry and system.ini scenarios of the installer, and their driver. The
// driver uses only Win32 calls and the C runtime's file functions, so the same code
// runs on winsim and on the real platform.
#include "setup_scenarios.h"

#include "text.h"

#include <cstdio>
#include <cstring>

namespace {

// ---- Registry ---------------------------------------------------------------------------

const HKEY DYN = HKEY_DYN_DATA;
const HKEY HKLM = HKEY_LOCAL_MACHINE;
const HKEY HKCR = HKEY_CLASSES_ROOT;

const std::string ENUM_CM = "Config Manager\\Enum";
const std::string CLASS = "System\\CurrentControlSet\\Services\\Class\\";
const std::string MOUSE_CLASS = CLASS + "Mouse";
const std::string PAGE_CLASS = "CLSID\\{7A31C0D2-5E84-4B19-9C6F-2D0E8B47A153}";
const std::string HANDLERS =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\Mouse\\shellex\\PropertySheetHandlers";
const std::string RUN = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string UNINSTALL = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarvik";
const std::string VELMO_DEVICE = "Enum\\Root\\VelmoMouse\\0000";
const std::string ABSENT = "<absent>";
const std::string NO_KEY = "<no key>";

// Where the cases live; everything below is removed before each case.
const std::vector<std::pair<HKEY, std::string>> CASE_KEYS = {
    {DYN, ENUM_CM}, {HKLM, "Enum"}, {HKLM, MOUSE_CLASS}, {HKCR, PAGE_CLASS}, {HKLM, HANDLERS}, {HKLM, UNINSTALL},
};

// An enumerated device: its Config Manager entry and its Enum key.
std::vector<RegistryValue> Device(const std::string &entry, const std::string &hardwareKey, const std::string &desc,
                                  const std::string &mfg, const std::string &driver)
{
    std::vector<RegistryValue> values = {{DYN, ENUM_CM + "\\" + entry, "HardWareKey", hardwareKey}};
    const std::string key = "Enum\\" + hardwareKey;
    values.push_back({HKLM, key, "Class", "Mouse"});
    if (desc != ABSENT)
        values.push_back({HKLM, key, "DeviceDesc", desc});
    if (mfg != ABSENT)
        values.push_back({HKLM, key, "Mfg", mfg});
    if (driver != ABSENT)
        values.push_back({HKLM, key, "Driver", driver});
    return values;
}

// A driver key of the Mouse class as Windows leaves it.
std::vector<RegistryValue> DriverKey(const std::string &instance, const std::string &desc)
{
    const std::string key = MOUSE_CLASS + "\\" + instance;
    return {{HKLM, key, "DevLoader", "*vmouse"},     {HKLM, key, "MouseDriver", "*vmouse"},
            {HKLM, key, "InfPath", "MSMOUSE.INF"},   {HKLM, key, "DriverDesc", desc},
            {HKLM, key, "DriverDate", " 7-11-1995"}, {HKLM, key, "InfSection", "PS2_Inst"}};
}

std::vector<RegistryValue> Join(std::initializer_list<std::vector<RegistryValue>> parts)
{
    std::vector<RegistryValue> all;
    for (const auto &part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The product's own driver data, as the cases' configuration gives it.
std::vector<RegistryValue> ConfiguredDriverKey(const std::string &instance, const std::string &type,
                                               const std::string &name, const std::string &infSection,
                                               const std::string &devLoader = "*vmouse")
{
    const std::string key = MOUSE_CLASS + "\\" + instance;
    return {{HKLM, key, "DevLoader", devLoader},      {HKLM, key, "MouseType", type},
            {HKLM, key, "MouseDriver", "VELMO.VXD"},  {HKLM, key, "InfPath", "VELMO.INF"},
            {HKLM, key, "DriverDesc", name},           {HKLM, key, "DriverDate", "12-11-1998"},
            {HKLM, key, "InfSection", infSection}};
}

const std::string PS2_NAME = "Velmo PS/2 Wheel Mouse";
const std::string SERIAL_NAME = "Velmo Serial Wheel Mouse";
const std::string MFG = "Velmo Inc.";
const std::string STANDARD_PS2 = "Standard PS/2 Port Mouse";
const std::string STANDARD_MFG = "(Standard mouse types)";
const std::string BIOS_KEY = "BIOS\\*PNP0F13\\0000";
const std::string DEST = "C:\\SETUPTEST\\DEST";

std::vector<RegistryValue> Registered()
{
    return {{HKCR, PAGE_CLASS, "", "PXMouseControlPage"},
            {HKCR, PAGE_CLASS + "\\InProcServer32", "", DEST + "\\KXPAGE.DLL"},
            {HKCR, PAGE_CLASS + "\\InProcServer32", "ThreadingModel", "Apartment"},
            {HKLM, HANDLERS, "", "PXMousePage"},
            {HKLM, HANDLERS + "\\PXMousePage", "", "{7A31C0D2-5E84-4B19-9C6F-2D0E8B47A153}"},
            {HKLM, RUN, "Tarvik", DEST + "\\KXMAIN.EXE -startup"},
            {HKLM, UNINSTALL, "DisplayName", "Velmo Wheel Mouse"},
            {HKLM, UNINSTALL, "UninstallString", DEST + "\\UNINSTAL.EXE"}};
}

std::vector<RegistryValue> NotRegistered()
{
    return {{HKCR, PAGE_CLASS, "", NO_KEY}, {HKLM, HANDLERS, "", NO_KEY}, {HKLM, RUN, "Tarvik", ABSENT},
            {HKLM, UNINSTALL, "", NO_KEY}};
}

// The records of a PS/2 device configured over Windows' standard values.
std::vector<PriorRecord> StandardPs2Records(const std::string &hardwareKey, const std::string &instance)
{
    return {{"PS2", "SubKey1", "Enum\\" + hardwareKey},
            {"PS2", "DeviceDesc", STANDARD_PS2},
            {"PS2", "Mfg", STANDARD_MFG},
            {"PS2", "SubKey2", MOUSE_CLASS + "\\" + instance},
            {"PS2", "MouseDriver", "*vmouse"},
            {"PS2", "InfPath", "MSMOUSE.INF"},
            {"PS2", "DriverDesc", STANDARD_PS2},
            {"PS2", "DriverDate", "7-11-1995"},  // profile values lose their leading blanks
            {"PS2", "InfSection", "PS2_Inst"}};
}

std::vector<RegistryValue> Ps2Configured(const std::string &hardwareKey, const std::string &instance)
{
    return Join({{{HKLM, "Enum\\" + hardwareKey, "DeviceDesc", PS2_NAME},
                  {HKLM, "Enum\\" + hardwareKey, "Mfg", MFG},
                  {HKLM, "Enum\\" + hardwareKey, "Driver", "Mouse\\" + instance}},
                 ConfiguredDriverKey(instance, "PS2", PS2_NAME, "PS2_Inst")});
}

std::vector<RegistryValue> Untouched(const std::string &hardwareKey, const std::string &driver)
{
    return {{HKLM, "Enum\\" + hardwareKey, "DeviceDesc", STANDARD_PS2},
            {HKLM, "Enum\\" + hardwareKey, "Mfg", STANDARD_MFG},
            {HKLM, "Enum\\" + hardwareKey, "Driver", driver}};
}

std::vector<RegistryCase> MakeRegistryCases()
{
    const std::string longDesc = "A description of two hundred characters: " + std::string(158, 'x');
    const std::string longHardwareKey = "BIOS\\*PNP0F13\\" + std::string(70, '0');
    std::vector<RegistryCase> cases = {
        {"serial chosen, only a BIOS PS/2 mouse enumerated", 1, 1, 1,
         Join({Device("00000001", BIOS_KEY, STANDARD_PS2, STANDARD_MFG, "Mouse\\0000"),
               DriverKey("0000", STANDARD_PS2)}),
         Join({Untouched(BIOS_KEY, "Mouse\\0000"),
               {{HKLM, VELMO_DEVICE, "Class", "Mouse"},
                {HKLM, VELMO_DEVICE, "DeviceDesc", SERIAL_NAME},
                {HKLM, VELMO_DEVICE, "Mfg", MFG},
                {HKLM, VELMO_DEVICE, "ConfigFlags", "hex:00,00,00,00"},
                {HKLM, VELMO_DEVICE, "DetFlags", "hex:00,00,00,00"},
                {HKLM, VELMO_DEVICE, "DetFunc", "*:DETECTSERIALMOUSE"},
                {HKLM, VELMO_DEVICE, "Driver", "Mouse\\0001"},
                {HKLM, MOUSE_CLASS + "\\0000", "DriverDesc", STANDARD_PS2}},
               ConfiguredDriverKey("0001", "Serial", SERIAL_NAME, "Serial_Inst"), Registered()}),
         {{"Serial", "SubKey1", ""}, {"PS2", "SubKey1", ""}}},

        {"PS/2 chosen without an enumerated PS/2 mouse, update mode", 0, 0, 1,
         Device("00000001", "ROOT\\*PNP0F0C\\0000", "Serial Mouse", STANDARD_MFG, "Mouse\\0000"),
         Join({{{HKLM, "Enum\\ROOT\\*PNP0F0C\\0000", "DeviceDesc", "Serial Mouse"},
                {HKLM, "Enum\\ROOT\\*PNP0F0C\\0000", "Driver", "Mouse\\0000"},
                {HKLM, VELMO_DEVICE, "", NO_KEY},
                {HKLM, MOUSE_CLASS, "", NO_KEY}},
               NotRegistered()}),
         {{"PS2", "SubKey1", ""}, {"Serial", "SubKey1", ""}}},

        {"a BIOS PS/2 mouse is preferred to a root-enumerated one", 0, 1, 1,
         Join({Device("00000001", "ROOT\\*PNP0F0E\\0000", STANDARD_PS2, STANDARD_MFG, "Mouse\\0000"),
               Device("00000002", BIOS_KEY, STANDARD_PS2, STANDARD_MFG, "Mouse\\0001"), DriverKey("0000", STANDARD_PS2),
               DriverKey("0001", STANDARD_PS2)}),
         Join({Ps2Configured(BIOS_KEY, "0001"), Untouched("ROOT\\*PNP0F0E\\0000", "Mouse\\0000"),
               {{HKLM, MOUSE_CLASS + "\\0000", "MouseDriver", "*vmouse"}}, Registered()}),
         StandardPs2Records(BIOS_KEY, "0001")},

        {"of two matching devices the later one is configured", 0, 1, 1,
         Join({Device("00000001", BIOS_KEY, STANDARD_PS2, STANDARD_MFG, "Mouse\\0000"),
               Device("00000002", "BIOS\\*PNP0F13\\0001", STANDARD_PS2, STANDARD_MFG, "Mouse\\0001"),
               DriverKey("0000", STANDARD_PS2), DriverKey("0001", STANDARD_PS2)}),
         Join({Ps2Configured("BIOS\\*PNP0F13\\0001", "0001"), Untouched(BIOS_KEY, "Mouse\\0000")}),
         StandardPs2Records("BIOS\\*PNP0F13\\0001", "0001")},

        {"the prefix may stand in the middle of the hardware key", 0, 1, 1,
         Join({Device("00000001", "PCI\\BIOS\\*PNP0F13\\0000", STANDARD_PS2, STANDARD_MFG, "Mouse\\0000"),
               DriverKey("0000", STANDARD_PS2)}),
         Ps2Configured("PCI\\BIOS\\*PNP0F13\\0000", "0000"), StandardPs2Records("PCI\\BIOS\\*PNP0F13\\0000", "0000")},

        {"serial twice without an enumerated serial mouse: a new driver key each time", 1, 1, 2,
         DriverKey("0000", STANDARD_PS2),
         Join({{{HKLM, VELMO_DEVICE, "Driver", "Mouse\\0002"}, {HKLM, MOUSE_CLASS + "\\0000", "DriverDesc", STANDARD_PS2}},
               ConfiguredDriverKey("0001", "Serial", SERIAL_NAME, "Serial_Inst"),
               ConfiguredDriverKey("0002", "Serial", SERIAL_NAME, "Serial_Inst")}),
         {{"Serial", "SubKey1", ""}, {"Serial", "DeviceDesc", ""}}},

        {"two installations into one directory keep the first records", 0, 1, 2,
         Join({Device("00000001", BIOS_KEY, STANDARD_PS2, STANDARD_MFG, "Mouse\\0000"), DriverKey("0000", STANDARD_PS2)}),
         Ps2Configured(BIOS_KEY, "0000"), StandardPs2Records(BIOS_KEY, "0000")},

        {"the update mode writes only the device part", 0, 0, 1,
         Join({Device("00000001", BIOS_KEY, STANDARD_PS2, STANDARD_MFG, "Mouse\\0000"), DriverKey("0000", STANDARD_PS2)}),
         Join({Ps2Configured(BIOS_KEY, "0000"), NotRegistered()}), StandardPs2Records(BIOS_KEY, "0000")},

        {"missing DeviceDesc and Mfg are recorded empty, then what the first run wrote", 0, 1, 2,
         Join({Device("00000001", BIOS_KEY, ABSENT, ABSENT, "Mouse\\0000"), DriverKey("0000", STANDARD_PS2)}),
         Ps2Configured(BIOS_KEY, "0000"),
         {{"PS2", "SubKey1", "Enum\\" + BIOS_KEY}, {"PS2", "DeviceDesc", PS2_NAME}, {"PS2", "Mfg", MFG},
          {"PS2", "MouseDriver", "*vmouse"}}},

        {"a device without a driver key name gets a new driver key", 0, 1, 1,
         Join({Device("00000001", BIOS_KEY, STANDARD_PS2, STANDARD_MFG, ABSENT), DriverKey("0000", STANDARD_PS2)}),
         Join({{{HKLM, "Enum\\" + BIOS_KEY, "Driver", "Mouse\\0001"},
                {HKLM, "Enum\\" + BIOS_KEY, "DeviceDesc", PS2_NAME},
                {HKLM, MOUSE_CLASS + "\\0000", "DriverDesc", STANDARD_PS2}},
               ConfiguredDriverKey("0001", "PS2", PS2_NAME, "PS2_Inst")}),
         {{"PS2", "SubKey1", "Enum\\" + BIOS_KEY}, {"PS2", "DeviceDesc", STANDARD_PS2}, {"PS2", "SubKey2", ""}}},

        {"a long former value is recorded whole", 0, 1, 1,
         Join({Device("00000001", BIOS_KEY, longDesc, STANDARD_MFG, "Mouse\\0000"), DriverKey("0000", longDesc)}),
         Ps2Configured(BIOS_KEY, "0000"),
         {{"PS2", "DeviceDesc", longDesc}, {"PS2", "DriverDesc", longDesc}}},

        {"a hardware key longer than its buffer is not matched", 0, 1, 1,
         Join({Device("00000001", longHardwareKey, STANDARD_PS2, STANDARD_MFG, "Mouse\\0000"),
               DriverKey("0000", STANDARD_PS2)}),
         {{HKLM, "Enum\\" + longHardwareKey, "DeviceDesc", STANDARD_PS2}, {HKLM, MOUSE_CLASS + "\\0000", "MouseType", ABSENT}},
         {{"PS2", "SubKey1", ""}}},

        {"the first gap among the Mouse class instances is taken", 1, 0, 1,
         Join({DriverKey("0000", STANDARD_PS2), DriverKey("0001", STANDARD_PS2), DriverKey("0003", STANDARD_PS2)}),
         Join({{{HKLM, VELMO_DEVICE, "Driver", "Mouse\\0002"}}, ConfiguredDriverKey("0002", "Serial", SERIAL_NAME, "Serial_Inst")}),
         {}},

        {"a first instance 0001 leaves Mouse\\0000 free", 1, 0, 1, DriverKey("0001", STANDARD_PS2),
         Join({{{HKLM, VELMO_DEVICE, "Driver", "Mouse\\0000"}}, ConfiguredDriverKey("0000", "Serial", SERIAL_NAME, "Serial_Inst")}),
         {}},
    };
    return cases;
}

// ---- system.ini ----------------------------------------------------------------------

std::string Crlf(const std::string &lines)
{
    std::string out;
    for (char c : lines) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

const std::string WINDOWS95_INI = Crlf(
    "[boot]\n"
    "oemfonts.fon=vgaoem.fon\n"
    "shell=Explorer.exe\n"
    "mouse.drv=mouse.drv\n"
    "\n"
    "[keyboard]\n"
    "keyboard.dll=\n"
    "\n"
    "[386Enh]\n"
    "ebios=*ebios\n"
    "woafont=dosapp.fon\n"
    "; mouse=msmouse.vxd was here\n"
    "Mouse=old\n"
    "mouse=*vmouse, msmouse.vxd\n"
    "keyboard=*vkd\n"
    "\n"
    "[drivers]\n"
    "wavemapper=msacm.drv\n");

std::string Replaced(std::string text, const std::string &from, const std::string &to)
{
    const std::size_t at = text.find(from);
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

const std::string WINDOWS95_RESULT = Replaced(WINDOWS95_INI, "mouse=*vmouse, msmouse.vxd", "mouse=*vmouse");

std::vector<SystemIniCase> MakeSystemIniCases()
{
    const std::string longComment = "woafont=" + std::string(150, 'f') + "\r\n";
    const std::string longMouse = "mouse=" + std::string(140, 'm') + ",mouse2.vxd\r\n";
    const std::string noSection = Crlf("[boot]\nshell=Explorer.exe\nmouse.drv=mouse.drv\n");
    return {
        {"a usual Windows 95 file: only the mouse line changes", WINDOWS95_INI, "<none>", 1, WINDOWS95_RESULT,
         WINDOWS95_INI},
        {"a file without [386Enh] is copied and rotated", noSection, "<none>", 1, noSection, noSection},
        {"running twice: system.bak holds the first run's result", WINDOWS95_INI, "old backup", 2, WINDOWS95_RESULT,
         WINDOWS95_RESULT},
        {"lines of any length are judged and written whole",
         Crlf("[386Enh]\n") + longComment + longMouse + Crlf("keyboard=*vkd\n"), "<none>", 1,
         Crlf("[386Enh]\n") + longComment + Crlf("mouse=*vmouse\nkeyboard=*vkd\n"),
         Crlf("[386Enh]\n") + longComment + longMouse + Crlf("keyboard=*vkd\n")},
        {"a section without a mouse line gets one; other sections are left alone",
         Crlf("[386Enh]\nebios=*ebios\n\n[drivers]\nmouse=mouse.drv\n"), "<none>", 1,
         Crlf("[386Enh]\nebios=*ebios\n\nmouse=*vmouse\n[drivers]\nmouse=mouse.drv\n"),
         Crlf("[386Enh]\nebios=*ebios\n\n[drivers]\nmouse=mouse.drv\n")},
        {"the last section without a mouse line and without a final line end", "[boot]\r\n[386Enh]\r\nebios=*ebios",
         "<none>", 1, "[boot]\r\n[386Enh]\r\nebios=*ebios\r\nmouse=*vmouse\r\n", "[boot]\r\n[386Enh]\r\nebios=*ebios"},
        {"line ends of LF alone become CR LF and Ctrl-Z ends the text",
         "[386Enh]\nmouse=x\nlast=1\n\x1aignored\r\n", "<none>", 1, "[386Enh]\r\nmouse=*vmouse\r\nlast=1\r\n",
         "[386Enh]\nmouse=x\nlast=1\n\x1aignored\r\n"},
        {"a comment with blanks before its semicolon counts as a line", Crlf("[386Enh]\n  ; mouse=a\nmouse=b\n"),
         "<none>", 1, Crlf("[386Enh]\nmouse=*vmouse\nmouse=b\n"), Crlf("[386Enh]\n  ; mouse=a\nmouse=b\n")},
        {"a second [386Enh] section arms the search again", Crlf("[386Enh]\nmouse=a\nmouse=b\n[386Enh]\nmouse=c\n"),
         "<none>", 1, Crlf("[386Enh]\nmouse=*vmouse\nmouse=b\n[386Enh]\nmouse=*vmouse\n"),
         Crlf("[386Enh]\nmouse=a\nmouse=b\n[386Enh]\nmouse=c\n")},
    };
}

std::vector<VxdCase> MakeVxdCases()
{
    return {
        {"VMOUSE.VXD is moved aside", true, false, 0, "<none>", "vxd"},
        {"an existing VMOUSE.BAK is not replaced", true, true, -1, "vxd", "bak"},
        {"no VMOUSE.VXD", false, false, -1, "<none>", "<none>"},
    };
}

// ---- The driver ------------------------------------------------------------------------

struct Checker {
    std::string prefix;
    std::vector<std::string> *failures;
    void Same(const std::string &what, const std::string &expected, const std::string &actual) const
    {
        if (expected != actual)
            failures->push_back(prefix + ": " + what + " is \"" + actual + "\", expected \"" + expected + "\"");
    }
};

void DeleteTree(HKEY root, const std::string &path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    std::vector<std::string> children;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD size = sizeof name;
        if (RegEnumKeyExA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        children.push_back(name);
    }
    RegCloseKey(key);
    for (const std::string &child : children)
        DeleteTree(root, path + "\\" + child);
    RegDeleteKeyA(root, path.c_str());
}

void Put(const RegistryValue &value)
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(value.root, value.path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &key, &disposition) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, value.name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>(value.data.c_str()),
                   static_cast<DWORD>(value.data.size() + 1));
    RegCloseKey(key);
}

std::string Get(HKEY root, const std::string &path, const std::string &name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return NO_KEY;
    BYTE data[1024] = {};
    DWORD type = 0, size = sizeof data - 1;
    const LONG result = RegQueryValueExA(key, name.c_str(), nullptr, &type, data, &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return ABSENT;
    if (type == REG_BINARY) {
        std::string hex = "hex:";
        for (DWORD i = 0; i < size; ++i) {
            char byte[4];
            std::snprintf(byte, sizeof byte, "%s%02x", i ? "," : "", data[i]);
            hex += byte;
        }
        return hex;
    }
    return reinterpret_cast<const char *>(data);
}

std::string ScriptPath()
{
    return std::string(config.destDir) + "\\SETUP.INF";
}

// Whole-file bytes through the C runtime in binary mode ("<none>" for no file).
std::string ReadBytes(const std::string &path)
{
    crt::FILE *file = crt::fopen(path.c_str(), "rb");
    if (!file)
        return "<none>";
    std::string bytes;
    char piece[256];
    while (crt::fgets(piece, sizeof piece, file))
        bytes += piece;
    crt::fclose(file);
    return bytes;
}

void WriteBytes(const std::string &path, const std::string &bytes)
{
    crt::remove(path.c_str());
    if (bytes == "<none>")
        return;
    crt::FILE *file = crt::fopen(path.c_str(), "wb");
    if (!file)
        return;
    crt::fputs(bytes.c_str(), file);
    crt::fclose(file);
}

std::string Shown(const std::string &bytes)
{
    std::string shown;
    for (char c : bytes) {
        if (c == '\r')
            shown += "\\r";
        else if (c == '\n')
            shown += "\\n";
        else if (c == '\x1a')
            shown += "^Z";
        else
            shown += c;
    }
    return shown;
}

std::string scenarioRoot;

}  // namespace

const std::vector<RegistryCase> &RegistryCases()
{
    static const std::vector<RegistryCase> cases = MakeRegistryCases();
    return cases;
}

const std::vector<SystemIniCase> &SystemIniCases()
{
    static const std::vector<SystemIniCase> cases = MakeSystemIniCases();
    return cases;
}

const std::vector<VxdCase> &VxdCases()
{
    static const std::vector<VxdCase> cases = MakeVxdCases();
    return cases;
}

void PrepareScenarioConfig(const char *root)
{
    scenarioRoot = root;
    CreateDirectoryA(root, nullptr);
    JoinText(config.destDir, root, "\\DEST");
    JoinText(config.windowsDir, root, "\\WIN");
    CreateDirectoryA(config.destDir, nullptr);
    CreateDirectoryA(config.windowsDir, nullptr);
    CopyText(config.productTitle, "Velmo Wheel Mouse");
    CopyText(config.manufacturer, MFG.c_str());
    CopyText(config.mouseDriver, "VELMO.VXD");
    CopyText(config.mouseInf, "VELMO.INF");
    CopyText(config.driverDate, "12-11-1998");
    CopyText(config.ps2InfSection, "PS2_Inst");
    CopyText(config.serialInfSection, "Serial_Inst");
    CopyText(config.ps2Name, PS2_NAME.c_str());
    CopyText(config.serialName, SERIAL_NAME.c_str());
}

void RunRegistryCase(const RegistryCase &test, std::vector<std::string> *failures)
{
    for (const auto &[root, path] : CASE_KEYS)
        DeleteTree(root, path);
    DeleteTree(HKLM, VELMO_DEVICE);
    {
        HKEY run = nullptr;
        if (RegOpenKeyExA(HKLM, RUN.c_str(), 0, KEY_ALL_ACCESS, &run) == ERROR_SUCCESS) {
            RegDeleteValueA(run, "Tarvik");
            RegCloseKey(run);
        }
    }
    DeleteFileA(ScriptPath().c_str());
    for (const RegistryValue &value : test.before)
        Put(value);

    serialMouse = test.serialMouse;
    for (int run = 0; run < test.runs; ++run)
        ConfigureRegistry(test.registerProduct);

    const Checker check{"registry / " + test.label, failures};
    for (const RegistryValue &value : test.after) {
        const std::string where = value.path + (value.name.empty() ? "" : " " + value.name);
        if (value.data == NO_KEY) {
            HKEY key = nullptr;
            const bool exists = RegOpenKeyExA(value.root, value.path.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS;
            if (exists)
                RegCloseKey(key);
            check.Same(value.path + " exists", "no", exists ? "yes" : "no");
        } else {
            check.Same(where, value.data, Get(value.root, value.path, value.name));
        }
    }
    for (const PriorRecord &record : test.records) {
        char text[1024] = "";
        GetPrivateProfileStringA(record.section.c_str(), record.key.c_str(), "", text, sizeof text,
                                 ScriptPath().c_str());
        check.Same("record [" + record.section + "] " + record.key, record.value, text);
    }
}

void RunSystemIniCase(const SystemIniCase &test, std::vector<std::string> *failures)
{
    const std::string dir = config.windowsDir;
    WriteBytes(dir + "\\system.new", "<none>");
    WriteBytes(dir + "\\system.ini", test.systemIni);
    WriteBytes(dir + "\\system.bak", test.systemBak);
    for (int run = 0; run < test.runs; ++run)
        UpdateSystemIni();
    const Checker check{"system.ini / " + test.label, failures};
    check.Same("system.ini", Shown(test.expectedIni), Shown(ReadBytes(dir + "\\system.ini")));
    check.Same("system.bak", Shown(test.expectedBak), Shown(ReadBytes(dir + "\\system.bak")));
    check.Same("system.new", "<none>", ReadBytes(dir + "\\system.new"));
}

void RunVxdCase(const VxdCase &test, std::vector<std::string> *failures)
{
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string folder = std::string(system) + "\\VMM32";
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteBytes(folder + "\\VMOUSE.VXD", test.vxd ? "vxd" : "<none>");
    WriteBytes(folder + "\\VMOUSE.BAK", test.backup ? "bak" : "<none>");
    WriteBytes(std::string(config.windowsDir) + "\\system.ini", "[386Enh]\r\n");
    const int result = UpdateSystemIni();
    const Checker check{"VMOUSE.VXD / " + test.label, failures};
    check.Same("result", std::to_string(test.result), std::to_string(result));
    check.Same("VMOUSE.VXD", test.vxdAfter, ReadBytes(folder + "\\VMOUSE.VXD"));
    check.Same("VMOUSE.BAK", test.backupAfter, ReadBytes(folder + "\\VMOUSE.BAK"));
    WriteBytes(folder + "\\VMOUSE.VXD", "<none>");
    WriteBytes(folder + "\\VMOUSE.BAK", "<none>");
}
