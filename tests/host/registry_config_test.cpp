// Registry failures the shared scenarios cannot stage on a real registry: keys that
// cannot be created.
#include "setup_fixture.h"

namespace {

constexpr char RUN[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char PAGE_CLASS[] = "CLSID\\{7A31C0D2-5E84-4B19-9C6F-2D0E8B47A153}";
constexpr char UNINSTALL[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarvik";

class RegistryConfigTest : public SetupTest {
protected:
    void SetUp() override
    {
        SetupTest::SetUp();
        std::snprintf(config.destDir, sizeof config.destDir, "C:\\VELMO");
        std::snprintf(config.productTitle, sizeof config.productTitle, "Velmo Wheel Mouse");
        std::snprintf(config.serialName, sizeof config.serialName, "Velmo Serial");
        CreateDirectoryA("C:\\VELMO", nullptr);
    }
};

TEST_F(RegistryConfigTest, ARegistrationKeyThatCannotBeCreatedIsSkipped)
{
    winsim::FailRegistryKeyCreation(HKEY_CLASSES_ROOT, PAGE_CLASS);
    serialMouse = 0;
    ConfigureRegistry(1);
    EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_CLASSES_ROOT, PAGE_CLASS));
    EXPECT_EQ(winsim::DumpRegistryKey(HKEY_LOCAL_MACHINE, RUN), "\"Tarvik\"=\"C:\\VELMO\\KXMAIN.EXE -startup\"\n");
    EXPECT_EQ(winsim::DumpRegistryKey(HKEY_LOCAL_MACHINE, UNINSTALL),
              "\"DisplayName\"=\"Velmo Wheel Mouse\"\n\"UninstallString\"=\"C:\\VELMO\\UNINSTAL.EXE\"\n");
    EXPECT_EQ(winsim::OpenRegistryHandles(), 0u);
}

TEST_F(RegistryConfigTest, ASerialDeviceThatCannotBeCreatedEndsTheDevicePart)
{
    winsim::FailRegistryKeyCreation(HKEY_LOCAL_MACHINE, "Enum\\Root\\VelmoMouse");
    ConfigureRegistry(0);
    EXPECT_STREQ(mouseSection, "Serial");
    EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\Mouse"));
    EXPECT_FALSE(winsim::FileExists("C:\\VELMO\\SETUP.INF")) << "nothing recorded";
}

TEST_F(RegistryConfigTest, WithoutConfigurationManagerEntriesASerialMouseIsCreated)
{
    ConfigureRegistry(0);
    EXPECT_TRUE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, "Enum\\Root\\VelmoMouse\\0000"));
    EXPECT_TRUE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\Mouse\\0000"));
    EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, RUN)) << "update mode registers nothing";
}

}  // namespace
