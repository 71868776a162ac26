// Runs the shared window-tree scenarios on winsim. The Wine test program runs the same
// tables on real windows; both must meet the same expectations.
#include "window_scenarios.h"

#include "hook_fixture.h"

#include <string>

namespace {

class WindowScenarioTest : public HookTest, public ::testing::WithParamInterface<std::size_t> {};

void Settle() {}

TEST_P(WindowScenarioTest, MeetsItsExpectations)
{
    const Scenario &scenario = WindowScenarios()[GetParam()];
    const ScenarioPlatform platform = {Settle, LoadCursorA(module, "IDC_SCROLL")};
    ASSERT_NE(platform.beforeCursor, nullptr);
    const SharedHookState attached = shared;
    std::vector<std::string> failures;
    RunWindowScenario(scenario, attached, platform, &failures);
    for (const std::string &failure : failures)
        ADD_FAILURE() << failure;
}

std::string ScenarioName(const ::testing::TestParamInfo<std::size_t> &info)
{
    std::string name;
    for (char c : WindowScenarios()[info.param].name)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Shared, WindowScenarioTest, ::testing::Range<std::size_t>(0, WindowScenarios().size()),
                         ScenarioName);

}  // namespace
