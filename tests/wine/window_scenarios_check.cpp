// Runs the shared window-tree scenarios on real windows: the library's own window
// queries, scroll-bar search and auto-scroll start, linked from its sources, against
// the platform's window system. The host tests run the same tables on winsim.
#include "platform.h"

#include "checks.h"
#include "window_scenarios.h"

#include <stdio.h>

namespace {

// Lets the window system settle: messages of the new windows, focus and activation.
void Pump()
{
    for (int round = 0; round < 3; ++round) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

bool RegisterScenarioClasses()
{
    for (const std::string &name : ScenarioWindowClasses()) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = name.c_str();
        if (!RegisterClassA(&windowClass)) {
            printf("FAIL cannot register class %s (error %lu)\n", name.c_str(), GetLastError());
            return false;
        }
    }
    // The list and tree view classes come with the common controls library.
    return LoadLibraryA("comctl32.dll") != nullptr;
}

}  // namespace

int main()
{
    checks::Start("window_scenarios_check");
    REQUIRE("scenario window classes registered", RegisterScenarioClasses());
    // The library's sources are linked into this program: it is the library's module.
    DllMain(GetModuleHandleA(nullptr), DLL_PROCESS_ATTACH, nullptr);
    const SharedHookState attached = shared;
    const ScenarioPlatform platform = {Pump, LoadCursorA(moduleInstance, "IDC_SCROLL")};
    REQUIRE("the library's cursors load", platform.beforeCursor != nullptr);

    for (const Scenario &scenario : WindowScenarios()) {
        std::vector<std::string> failures;
        const DWORD start = GetTickCount();
        RunWindowScenario(scenario, attached, platform, &failures);
        printf("   %s: %lu ms\n", scenario.name.c_str(), GetTickCount() - start);
        for (const std::string &failure : failures)
            printf("FAIL %s\n", failure.c_str());
        CHECK_TRUE(scenario.name.c_str(), failures.empty());
    }
    return checks::Finish();
}
