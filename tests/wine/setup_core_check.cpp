// Runs the installer's registry and system.ini scenarios in the Wine prefix: the
// installer's own sources and string table are linked into this program, the cases
// fill the prefix's registry and files first and read the results back. The host
// tests run the same tables on winsim.
#include "platform.h"

#include "checks.h"
#include "setup_scenarios.h"

#include <stdio.h>

namespace {

template <typename Case>
void RunAll(const char *kind, const std::vector<Case> &cases, void (*run)(const Case &, std::vector<std::string> *))
{
    for (const Case &test : cases) {
        std::vector<std::string> failures;
        run(test, &failures);
        for (const std::string &failure : failures)
            printf("FAIL %s\n", failure.c_str());
        CHECK_TRUE((std::string(kind) + ": " + test.label).c_str(), failures.empty());
    }
}

}  // namespace

int main()
{
    checks::Start("setup_core_check");
    programInstance = GetModuleHandleA(nullptr);
    PrepareScenarioConfig("C:\\SETUPTEST");
    RunAll("registry", RegistryCases(), RunRegistryCase);
    RunAll("system.ini", SystemIniCases(), RunSystemIniCase);
    RunAll("VMOUSE.VXD", VxdCases(), RunVxdCase);
    return checks::Finish();
}
