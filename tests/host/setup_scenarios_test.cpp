// Runs the installer's shared registry and system.ini scenarios on winsim. The Wine
// test program runs the same tables in a real prefix.
#include "setup_scenarios.h"

#include "setup_fixture.h"

namespace {

class SetupScenarioTest : public SetupTest {
protected:
    void SetUp() override
    {
        SetupTest::SetUp();
        CreateDirectoryA("C:\\WINDOWS", nullptr);
        CreateDirectoryA("C:\\WINDOWS\\SYSTEM", nullptr);
        PrepareScenarioConfig("C:\\SETUPTEST");
    }

    template <typename Case>
    void RunAll(const std::vector<Case> &cases, void (*run)(const Case &, std::vector<std::string> *))
    {
        for (const Case &test : cases) {
            std::vector<std::string> failures;
            run(test, &failures);
            for (const std::string &failure : failures)
                ADD_FAILURE() << failure;
        }
        EXPECT_EQ(winsim::OpenRegistryHandles(), 0u) << "every key opened was closed";
        EXPECT_EQ(winsim::GlobalBlocksInUse(), 0u) << "every block of memory was given back";
    }
};

TEST_F(SetupScenarioTest, Registry)
{
    RunAll(RegistryCases(), RunRegistryCase);
}

TEST_F(SetupScenarioTest, SystemIni)
{
    RunAll(SystemIniCases(), RunSystemIniCase);
}

TEST_F(SetupScenarioTest, MouseVxd)
{
    RunAll(VxdCases(), RunVxdCase);
}

}  // namespace
