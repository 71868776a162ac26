// Window-tree scenarios for the hook library's window queries, scroll-bar search and
// auto-scroll start. The same tables and the same driver run on winsim (host tests)
// and on real windows under Wine (a Windows test program); both must agree with the
// expectations here, case by case.
//
// A scenario is a set of windows, given in screen coordinates and created in table
// order, and probes: a window to classify, or a cursor position at which to run the
// search, find the root window, or start auto-scrolling. Windows are named; "" means
// no window and "<desktop>" the desktop window.
#pragma once

#include "kxhook.h"

#include <string>
#include <vector>

struct WindowSpec {
    std::string name;
    std::string parent;  // the parent of a WS_CHILD window, else the owner ("" for none)
    std::string className;
    DWORD style;
    int x, y, width, height;  // screen coordinates
};

// What the class queries say of one window.
struct ClassProbe {
    std::string window;
    bool vertical;    // IsScrollBarWindow(window, vertical)
    bool horizontal;  // IsScrollBarWindow(window, horizontal)
    bool excel;
    bool listOrTree;
    bool browser;
};

// DiscoverScrollTargets with the anchor at (x, y), from the image's initial state.
struct SearchProbe {
    int x, y;
    std::string vertTarget, vertScrollBar, horzTarget, horzScrollBar;
    std::string cursorName, markIconName;
};

struct RootProbe {
    int x, y;
    std::string root;  // GetRootWindowAtCursor with the cursor at (x, y)
};

// StartAutoScroll with the cursor at (x, y), after making `foreground` the foreground
// window and giving `focus` the focus; `capture` holds the mouse capture if not "".
struct StartProbe {
    std::string label;
    int x, y;
    WORD wheelMode;
    std::string foreground, focus, capture;
    bool active;
    std::string cursorName, markIconName;
    std::string focusAfter;
    bool restoresCursor;  // restoreCursor is the cursor that showed before the start
    std::string vertTarget, horzTarget;
};

struct Scenario {
    std::string name;
    std::vector<WindowSpec> windows;
    std::vector<ClassProbe> classes;
    std::vector<SearchProbe> searches;
    std::vector<RootProbe> roots;
    std::vector<StartProbe> starts;
};

// The window classes the scenarios use beyond the platform's own ("ScrollBar", "Edit",
// "#32770", "SysListView32", "SysTreeView32"); a real run registers them first.
const std::vector<std::string> &ScenarioWindowClasses();

const std::vector<Scenario> &WindowScenarios();

// What the driver needs of its platform beyond the Win32 calls themselves.
struct ScenarioPlatform {
    void (*settle)();            // let the window system catch up (pump messages)
    HCURSOR beforeCursor;        // a cursor to show before each start probe
};

// Builds the scenario's windows, runs every probe and destroys the windows. Each probe
// starts from the shared state's image values. Appends one line per mismatch to
// `failures`, each naming the scenario and the probe.
void RunWindowScenario(const Scenario &scenario, const SharedHookState &initialState, const ScenarioPlatform &platform,
                       std::vector<std::string> *failures);
