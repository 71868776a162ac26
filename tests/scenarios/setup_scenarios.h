// Scenarios for the installer's registry configuration and "system.ini" update. The
// same tables and driver run on winsim (host tests) and in a Wine prefix (a Windows
// test program linking the installer's sources); both must give the expected results.
//
// A registry case fills the registry (and the destination's SETUP.INF) first, runs
// ConfigureRegistry one or more times, then reads back values and prior-setting
// records. A system.ini case writes the file's bytes, runs UpdateSystemIni and reads
// back the bytes of system.ini and system.bak.
#pragma once

#include "setup.h"

#include <string>
#include <vector>

// A registry value: root, key path, value name ("" for the unnamed value) and data.
// Data "<absent>" expects no such value; "<no key>" expects no such key; a text of
// the form "hex:00,00" is binary data.
struct RegistryValue {
    HKEY root;
    std::string path;
    std::string name;
    std::string data;
};

// A record in the destination's SETUP.INF; value "" expects none (or an empty one).
struct PriorRecord {
    std::string section;
    std::string key;
    std::string value;
};

struct RegistryCase {
    std::string label;
    LONG serialMouse;
    LONG registerProduct;
    int runs;
    std::vector<RegistryValue> before;
    std::vector<RegistryValue> after;
    std::vector<PriorRecord> records;
};

struct SystemIniCase {
    std::string label;
    std::string systemIni;       // bytes before ("<none>": no file)
    std::string systemBak;       // bytes of an existing system.bak ("<none>": no file)
    int runs;
    std::string expectedIni;     // bytes after
    std::string expectedBak;     // bytes after ("<none>": no file)
};

struct VxdCase {
    std::string label;
    bool vxd, backup;             // VMM32\VMOUSE.VXD and VMM32\VMOUSE.BAK before
    int result;                   // of UpdateSystemIni
    std::string vxdAfter, backupAfter;  // contents after ("<none>": no file)
};

const std::vector<RegistryCase> &RegistryCases();
const std::vector<SystemIniCase> &SystemIniCases();
const std::vector<VxdCase> &VxdCases();

// The installation configuration every case runs with (destDir, windowsDir and the
// driver data). `root` is a folder that the cases may fill, such as "C:\SETUPTEST".
void PrepareScenarioConfig(const char *root);

// Each appends one line per mismatch to `failures`.
void RunRegistryCase(const RegistryCase &test, std::vector<std::string> *failures);
void RunSystemIniCase(const SystemIniCase &test, std::vector<std::string> *failures);
void RunVxdCase(const VxdCase &test, std::vector<std::string> *failures);
