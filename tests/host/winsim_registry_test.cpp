// winsim's registry against the platform's rules (each seen under Wine): creating and
// opening keys, the order subkeys enumerate in, path forms, handles, and values.
#include "winsim.h"
#include "winsim_control.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class WinsimRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { winsim::Reset(); }

    static HKEY Create(HKEY parent, const char *path, DWORD *disposition = nullptr)
    {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExA(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                                  disposition),
                  ERROR_SUCCESS)
            << path;
        return key;
    }

    static std::vector<std::string> Subkeys(HKEY key)
    {
        std::vector<std::string> names;
        for (DWORD index = 0;; ++index) {
            char name[64];
            DWORD size = sizeof name;
            const LONG result = RegEnumKeyExA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr);
            if (result != ERROR_SUCCESS) {
                EXPECT_EQ(result, ERROR_NO_MORE_ITEMS);
                return names;
            }
            EXPECT_EQ(size, std::strlen(name));
            names.push_back(name);
        }
    }
};

using Names = std::vector<std::string>;

TEST_F(WinsimRegistryTest, CreateMakesTheKeysOnTheWayAndTellsWhetherItMadeTheKey)
{
    DWORD disposition = 0;
    HKEY deep = Create(HKEY_LOCAL_MACHINE, "Software\\Vendor\\Product", &disposition);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    EXPECT_TRUE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, "Software\\Vendor"));
    HKEY again = Create(HKEY_LOCAL_MACHINE, "SOFTWARE\\vendor\\PRODUCT", &disposition);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    HKEY software = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "software", 0, KEY_READ, &software), ERROR_SUCCESS);
    EXPECT_EQ(Subkeys(software), Names{"Vendor"}) << "the case of creation is kept";
    for (HKEY key : {deep, again, software})
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, "Software")) << "roots are separate";
}

TEST_F(WinsimRegistryTest, SubkeysEnumerateSortedByLowerCaseName)
{
    HKEY base = Create(HKEY_CURRENT_USER, "Base");
    for (const char *name : {"b", "A", "a2", "_x", "Z", "a", "B1", "[", "~t", "a b", "0", "Deeper"})
        RegCloseKey(Create(base, name));
    // "a" opened "A" again; "[" and "_" sort before letters, as they do in lower case.
    EXPECT_EQ(Subkeys(base), (Names{"0", "[", "_x", "A", "a b", "a2", "b", "B1", "Deeper", "Z", "~t"}));
    RegCloseKey(base);
}

TEST_F(WinsimRegistryTest, EnumerationReportsANameThatDoesNotFitAndTheEnd)
{
    HKEY base = Create(HKEY_CURRENT_USER, "Base");
    RegCloseKey(Create(base, "Deeper"));
    for (DWORD size : {0u, 1u, 6u}) {
        char name[16] = "untouched";
        DWORD given = size;
        EXPECT_EQ(RegEnumKeyExA(base, 0, name, &given, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA) << size;
        EXPECT_EQ(given, size) << "the size stays as it was";
        EXPECT_STREQ(name, "untouched");
    }
    char name[16];
    char keyClass[8] = "x";
    DWORD size = 7, classSize = sizeof keyClass;
    FILETIME written{1, 1};
    EXPECT_EQ(RegEnumKeyExA(base, 0, name, &size, nullptr, keyClass, &classSize, &written), ERROR_SUCCESS);
    EXPECT_STREQ(name, "Deeper");
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(classSize, 0u);
    EXPECT_STREQ(keyClass, "");
    size = sizeof name;
    EXPECT_EQ(RegEnumKeyExA(base, 1, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(size, sizeof name);
    RegCloseKey(base);
}

TEST_F(WinsimRegistryTest, PathFormsAndMissingKeys)
{
    HKEY base = Create(HKEY_LOCAL_MACHINE, "Base");
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(base, "\\Lead", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "\\Base", 0, KEY_READ, &key), ERROR_BAD_PATHNAME);
    RegCloseKey(Create(base, "Trail\\"));
    RegCloseKey(Create(base, "Double\\\\Inner"));
    EXPECT_TRUE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, "Base\\Trail"));
    EXPECT_TRUE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, "Base\\Double\\Inner"));
    key = base;
    EXPECT_EQ(RegOpenKeyExA(base, "Missing", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr) << "a failed open gives null";
    EXPECT_EQ(RegOpenKeyExA(base, "Missing\\Deeper", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);

    // No subkey: a new handle to the same key.
    HKEY same = nullptr;
    ASSERT_EQ(RegOpenKeyExA(base, "", 0, KEY_READ, &same), ERROR_SUCCESS);
    EXPECT_NE(same, base);
    EXPECT_EQ(Subkeys(same), (Names{"Double", "Trail"}));
    DWORD disposition = 0;
    HKEY created = Create(base, nullptr, &disposition);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY) << "what the platform reports here";
    for (HKEY k : {base, same, created})
        RegCloseKey(k);
}

TEST_F(WinsimRegistryTest, EveryOpenIsANewHandleThatClosesOnce)
{
    HKEY first = Create(HKEY_LOCAL_MACHINE, "Key");
    HKEY second = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Key", 0, KEY_READ, &second), ERROR_SUCCESS);
    EXPECT_NE(first, second);
    EXPECT_EQ(winsim::OpenRegistryHandles(), 2u);
    EXPECT_EQ(RegCloseKey(first), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(first), ERROR_INVALID_HANDLE);
    DWORD size = 4;
    EXPECT_EQ(RegQueryValueExA(first, "x", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(winsim::OpenRegistryHandles(), 1u);
    EXPECT_EQ(RegCloseKey(second), ERROR_SUCCESS);
    EXPECT_EQ(winsim::OpenRegistryHandles(), 0u);
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS) << "closing a root is fine";
    EXPECT_EQ(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
    EXPECT_EQ(winsim::OpenRegistryHandles(), 0u);
}

TEST_F(WinsimRegistryTest, QueryingValues)
{
    HKEY key = Create(HKEY_LOCAL_MACHINE, "Values");
    const DWORD number = 0x12345678;
    const BYTE bytes[3] = {1, 2, 3};
    RegSetValueExA(key, "Str", 0, REG_SZ, reinterpret_cast<const BYTE *>("hello"), 6);
    RegSetValueExA(key, "Bare", 0, REG_SZ, reinterpret_cast<const BYTE *>("hello"), 5);  // no terminator
    RegSetValueExA(key, "Num", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&number), 4);
    RegSetValueExA(key, "Bin", 0, REG_BINARY, bytes, 3);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>("default"), 8);
    struct Case {
        const char *name;
        LONG result;
        DWORD type;
        std::string data;
    } cases[] = {
        {"str", ERROR_SUCCESS, REG_SZ, std::string("hello\0", 6)},
        {"Bare", ERROR_SUCCESS, REG_SZ, std::string("hello\0", 6)},  // the terminator is added
        {"Num", ERROR_SUCCESS, REG_DWORD, std::string("\x78\x56\x34\x12", 4)},
        {"Bin", ERROR_SUCCESS, REG_BINARY, std::string("\1\2\3", 3)},
        {nullptr, ERROR_SUCCESS, REG_SZ, std::string("default\0", 8)},
        {"", ERROR_SUCCESS, REG_SZ, std::string("default\0", 8)},
        {"Missing", ERROR_FILE_NOT_FOUND, REG_NONE, ""},
    };
    for (const Case &c : cases) {
        char data[32];
        DWORD type = 99, size = sizeof data;
        EXPECT_EQ(RegQueryValueExA(key, c.name, nullptr, &type, reinterpret_cast<BYTE *>(data), &size), c.result);
        EXPECT_EQ(type, c.type) << (c.name ? c.name : "(null)");
        if (c.result == ERROR_SUCCESS) {
            EXPECT_EQ(std::string(data, size), c.data) << (c.name ? c.name : "(null)");
        }
    }
    RegCloseKey(key);
}

TEST_F(WinsimRegistryTest, QueryingIntoASmallOrNoBufferGivesTheSizeNeeded)
{
    HKEY key = Create(HKEY_LOCAL_MACHINE, "Values");
    RegSetValueExA(key, "Str", 0, REG_SZ, reinterpret_cast<const BYTE *>("hello"), 6);
    for (DWORD given : {0u, 1u, 5u}) {
        char data[8] = "ZZZZZZZ";
        DWORD type = 99, size = given;
        EXPECT_EQ(RegQueryValueExA(key, "Str", nullptr, &type, reinterpret_cast<BYTE *>(data), &size), ERROR_MORE_DATA);
        EXPECT_EQ(size, 6u) << given;
        EXPECT_EQ(type, REG_SZ);
        EXPECT_STREQ(data, "ZZZZZZZ") << "the buffer is left alone";
    }
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Str", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 6u);
    char data[8];
    EXPECT_EQ(RegQueryValueExA(key, "Str", nullptr, nullptr, reinterpret_cast<BYTE *>(data), nullptr),
              ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

TEST_F(WinsimRegistryTest, ControlsDumpValuesAndFailTheCreationOfAKeyAndItsSubkeys)
{
    HKEY key = Create(HKEY_LOCAL_MACHINE, "Enum\\Root\\Mouse");
    const DWORD number = 42;
    const BYTE zeros[4] = {0, 0, 0, 0};
    RegSetValueExA(key, "Class", 0, REG_SZ, reinterpret_cast<const BYTE *>("Mouse"), 6);
    RegSetValueExA(key, "Count", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&number), 4);
    RegSetValueExA(key, "ConfigFlags", 0, REG_BINARY, zeros, 4);
    RegSetValueExA(key, nullptr, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE *>("a\0"), 3);
    RegSetValueExA(key, "class", 0, REG_SZ, reinterpret_cast<const BYTE *>("Other"), 6);  // replaces "Class"
    RegCloseKey(key);
    EXPECT_EQ(winsim::DumpRegistryKey(HKEY_LOCAL_MACHINE, "enum\\root\\mouse"),
              "\"Class\"=\"Other\"\n\"Count\"=dword:0000002a\n\"ConfigFlags\"=hex:00,00,00,00\n@=hex(7):61,00,00\n");
    EXPECT_EQ(winsim::DumpRegistryKey(HKEY_LOCAL_MACHINE, "Missing"), "");

    winsim::FailRegistryKeyCreation(HKEY_LOCAL_MACHINE, "Enum\\Root");
    HKEY made = nullptr;
    for (const char *path : {"Enum\\Root", "ENUM\\ROOT\\Mouse", "Enum\\Root\\New\\Deeper"})
        EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &made, nullptr),
                  ERROR_ACCESS_DENIED)
            << path;
    EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, "Enum\\Root\\New"));
    RegCloseKey(Create(HKEY_LOCAL_MACHINE, "Enum\\RootSibling"));
    HKEY enumKey = Create(HKEY_LOCAL_MACHINE, "Enum");
    EXPECT_EQ(RegCreateKeyExA(enumKey, "Root\\Other", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &made, nullptr),
              ERROR_ACCESS_DENIED)
        << "relative to an open key too";
    ASSERT_EQ(RegOpenKeyExA(enumKey, "Root\\Mouse", 0, KEY_READ, &made), ERROR_SUCCESS) << "opening still works";
    RegCloseKey(made);
    RegCloseKey(enumKey);
}

TEST_F(WinsimRegistryTest, RegistryCallsAreLoggedWithTheirName)
{
    winsim::ClearCalls();
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet", 0, KEY_READ, &key);
    ASSERT_EQ(winsim::CallsTo("RegOpenKeyExA").size(), 1u);
    EXPECT_EQ(winsim::CallsTo("RegOpenKeyExA")[0].text, "System\\CurrentControlSet");
    EXPECT_EQ(winsim::CallsTo("RegOpenKeyExA")[0].args[0], winsim::Arg(HKEY_LOCAL_MACHINE));
}

}  // namespace
