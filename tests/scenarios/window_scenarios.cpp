// The window-tree scenarios and their driver, shared by the host tests and the Wine
// test program. The driver uses only Win32 calls, so the same code runs on winsim and
// on the real window system.
#include "window_scenarios.h"

#include "auto_scroll.h"
#include "scroll_search.h"
#include "window_tests.h"

#include <cstdio>
#include <map>

namespace {

constexpr DWORD TOP = WS_POPUP | WS_VISIBLE;
constexpr DWORD CHILD = WS_CHILD | WS_VISIBLE;
constexpr DWORD VSCROLL = WS_VSCROLL;
constexpr DWORD HSCROLL = WS_HSCROLL;

const std::string LONG_CLASS = "ScrollBar" + std::string(91, 'x');

// Every kind of scroll bar, host window and special class, each on its own.
Scenario ClassScenario()
{
    return {
        "classes",
        {
            {"frame", "", "Plain", TOP, 0, 0, 1000, 560},
            {"vbar", "frame", "ScrollBar", CHILD | SBS_VERT, 10, 10, 20, 100},
            {"hbar", "frame", "ScrollBar", CHILD | SBS_HORZ, 40, 10, 100, 20},
            {"grip", "frame", "ScrollBar", CHILD | SBS_SIZEGRIP | SBS_VERT, 150, 10, 20, 20},
            {"sizebox", "frame", "ScrollBar", CHILD | SBS_SIZEBOX, 180, 10, 20, 20},
            {"hiddenbar", "frame", "ScrollBar", WS_CHILD | SBS_VERT, 210, 10, 20, 100},
            {"disabledbar", "frame", "ScrollBar", CHILD | WS_DISABLED | SBS_VERT, 240, 10, 20, 100},
            {"opus", "frame", "OpusRSB", CHILD | SBS_VERT, 270, 10, 20, 100},
            {"lego", "frame", "Lego.SCROLLBAR", CHILD, 300, 10, 100, 20},
            {"wordboth", "frame", "WordProScrollParentWndNT", CHILD | VSCROLL | HSCROLL, 410, 10, 100, 100},
            {"wordnone", "frame", "WordProScrollParentWndNT", CHILD, 520, 10, 100, 100},
            {"ipsvert", "frame", "IPSCROLLBAR", CHILD | VSCROLL, 630, 10, 100, 100},
            {"memo", "frame", "Edit", CHILD | VSCROLL | HSCROLL | ES_MULTILINE, 740, 10, 100, 100},
            {"list", "frame", "SysListView32", CHILD, 10, 150, 100, 100},
            {"tree", "frame", "SysTreeView32", CHILD, 120, 150, 100, 100},
            {"listshort", "frame", "SysListView3", CHILD, 230, 150, 100, 100},
            {"listlong", "frame", "SysListView321", CHILD, 340, 150, 100, 100},
            {"browser", "frame", "Internet Explorer_Server", CHILD, 450, 150, 100, 100},
            {"longclass", "frame", LONG_CLASS, CHILD | SBS_VERT, 560, 150, 20, 100},
            {"hiddenpane", "frame", "Plain", WS_CHILD, 600, 150, 100, 100},
            {"barinhidden", "hiddenpane", "ScrollBar", CHILD | SBS_VERT, 610, 160, 20, 50},
            {"excelb", "", "EXCELB", TOP, 0, 580, 100, 100},
            {"excelbbar", "excelb", "ScrollBar", CHILD | SBS_VERT, 80, 580, 20, 80},
            {"excelbedit", "excelb", "Edit", CHILD, 0, 580, 60, 20},
            {"excelat", "", "EXCEL@", TOP, 110, 580, 100, 100},
            {"excelatbar", "excelat", "ScrollBar", CHILD, 110, 660, 100, 20},
            {"orphanbar", "", "ScrollBar", TOP | SBS_VERT, 220, 580, 20, 100},
        },
        {
            // window, vertical, horizontal, excel, list or tree, browser
            {"frame", false, false, false, false, false},
            {"vbar", true, false, false, false, false},
            {"hbar", false, true, false, false, false},
            {"grip", false, false, false, false, false},
            {"sizebox", false, true, false, false, false},
            {"hiddenbar", false, false, false, false, false},
            {"disabledbar", false, false, false, false, false},
            {"opus", true, false, false, false, false},
            {"lego", false, true, false, false, false},
            {"wordboth", true, true, false, false, false},
            {"wordnone", false, false, false, false, false},
            {"ipsvert", true, false, false, false, false},
            {"memo", false, false, false, false, false},
            {"list", false, false, false, true, false},
            {"tree", false, false, false, true, false},
            {"listshort", false, false, false, false, false},
            {"listlong", false, false, false, false, false},
            {"browser", false, false, false, false, true},
            {"longclass", false, false, false, false, false},
            {"barinhidden", false, false, false, false, false},
            {"excelb", false, false, true, false, false},
            {"excelbbar", true, false, true, false, false},
            {"excelbedit", false, false, false, false, false},
            {"excelat", false, false, true, false, false},
            {"excelatbar", false, true, true, false, false},
            {"orphanbar", true, false, false, false, false},
            {"", false, false, false, false, false},
        },
        {},
        {},
        {},
    };
}

// Forty vertical scroll bars above and to the right of (800, 700), each nearer than the
// one before: a search that kept them all would choose the last.
std::vector<WindowSpec> CrowdedBars()
{
    std::vector<WindowSpec> bars;
    for (int i = 0; i < 40; ++i)
        bars.push_back({"bar" + std::to_string(i), "crowd", "ScrollBar", CHILD | SBS_VERT, 838 - i, 650, 2, 10});
    return bars;
}

// The search in each kind of layout; one top-level window per layout, so that no
// layout's climb reaches another's windows.
Scenario SearchScenario()
{
    Scenario s{
        "searches",
        {
            // A scroll-bar control inside an edit control.
            {"editform", "", "Plain", TOP, 0, 0, 300, 250},
            {"editor", "editform", "Edit", CHILD | ES_MULTILINE, 10, 10, 200, 200},
            {"editbar", "editor", "ScrollBar", CHILD | SBS_VERT, 190, 10, 20, 200},
            // A window with scroll bars of its own.
            {"memoform", "", "Plain", TOP, 310, 0, 300, 250},
            {"memo", "memoform", "Edit", CHILD | VSCROLL | HSCROLL | ES_MULTILINE, 320, 10, 200, 200},
            // A label over two overlapping scrolling neighbours.
            {"pane", "", "Plain", TOP, 620, 0, 300, 250},
            {"label", "pane", "Plain", CHILD, 630, 20, 100, 30},
            {"list1", "pane", "Plain", CHILD | VSCROLL, 625, 10, 200, 200},
            {"list2", "pane", "Plain", CHILD | VSCROLL, 640, 15, 200, 200},
            // A plain child of a window that scrolls itself.
            {"outer", "", "Plain", TOP | VSCROLL, 0, 260, 300, 250},
            {"inner", "outer", "Plain", CHILD, 10, 270, 200, 200},
            // Nothing to scroll at all.
            {"bare", "", "Plain", TOP, 310, 260, 300, 250},
            // Two scroll bars, A before B: neither is nearer in both measures.
            {"sheetab", "", "Plain", TOP, 620, 260, 390, 250},
            {"A", "sheetab", "ScrollBar", CHILD | SBS_VERT, 705, 350, 5, 150},
            {"B", "sheetab", "ScrollBar", CHILD | SBS_VERT, 715, 395, 5, 110},
            {"below", "sheetab", "ScrollBar", CHILD | SBS_VERT, 725, 410, 5, 90},
            {"leftof", "sheetab", "ScrollBar", CHILD | SBS_VERT, 680, 300, 10, 200},
            // The same two, B before A.
            {"sheetba", "", "Plain", TOP, 0, 520, 390, 240},
            {"B2", "sheetba", "ScrollBar", CHILD | SBS_VERT, 95, 635, 5, 105},
            {"A2", "sheetba", "ScrollBar", CHILD | SBS_VERT, 85, 590, 5, 150},
            // Equal measures, and horizontal bars around the anchor.
            {"sheettie", "", "Plain", TOP, 400, 520, 300, 240},
            {"E", "sheettie", "ScrollBar", CHILD | SBS_VERT, 485, 590, 5, 150},
            {"F", "sheettie", "ScrollBar", CHILD | SBS_VERT, 485, 590, 5, 110},
            {"G", "sheettie", "ScrollBar", CHILD, 410, 660, 70, 5},
            {"G2", "sheettie", "ScrollBar", CHILD, 410, 700, 90, 5},
            {"above", "sheettie", "ScrollBar", CHILD, 410, 600, 90, 10},
            {"crowd", "", "Plain", TOP, 710, 520, 300, 240},
        },
        {},
        {
            // x, y, vertTarget, vertScrollBar, horzTarget, horzScrollBar, cursorName, markIconName
            {200, 100, "editor", "editbar", "", "", "IDC_VER_SCROLL", "IDI_VER_MARK"},
            {400, 100, "memo", "", "memo", "", "IDC_VH_SCROLL", "IDI_VH_MARK"},
            {650, 30, "list1", "", "", "", "IDC_VER_SCROLL", "IDI_VER_MARK"},
            {50, 300, "outer", "outer", "", "", "IDC_VER_SCROLL", "IDI_VER_MARK"},
            {400, 300, "", "", "", "", "0", "0"},
            {700, 400, "sheetab", "A", "", "", "IDC_VER_SCROLL", "IDI_VER_MARK"},
            {80, 640, "sheetba", "B2", "", "", "IDC_VER_SCROLL", "IDI_VER_MARK"},
            {470, 640, "sheettie", "F", "sheettie", "G", "IDC_VH_SCROLL", "IDI_VH_MARK"},
            {800, 700, "crowd", "bar31", "", "", "IDC_VER_SCROLL", "IDI_VER_MARK"},
        },
        {},
        {},
    };
    const std::vector<WindowSpec> bars = CrowdedBars();
    s.windows.insert(s.windows.end(), bars.begin(), bars.end());
    return s;
}

// Owned windows: dialog boxes skip the neighbour search, other owned windows search
// their owner's descendants, and the root climbs through the owners.
Scenario OwnedScenario()
{
    return {
        "owned windows",
        {
            {"app", "", "Plain", TOP, 0, 0, 500, 400},
            {"appmemo", "app", "Plain", CHILD | VSCROLL, 10, 10, 480, 380},
            {"dlg", "app", "#32770", TOP, 20, 20, 200, 200},
            {"dlgbar", "dlg", "ScrollBar", CHILD | SBS_VERT, 200, 20, 20, 150},
            {"tool", "app", "Plain", TOP, 250, 20, 200, 200},
            {"toolbar", "tool", "ScrollBar", CHILD | SBS_VERT, 430, 20, 20, 150},
            {"dlg2", "dlg", "#32770", TOP, 20, 250, 200, 100},
            {"btn", "dlg2", "Plain", CHILD, 30, 260, 50, 30},
            {"loner", "", "Plain", TOP, 600, 0, 200, 200},
            {"ownedover", "app", "Plain", WS_OVERLAPPED | WS_VISIBLE, 600, 250, 200, 150},
        },
        {},
        {
            {60, 100, "dlg", "dlgbar", "", "", "IDC_VER_SCROLL", "IDI_VER_MARK"},
            {300, 100, "appmemo", "", "", "", "IDC_VER_SCROLL", "IDI_VER_MARK"},
        },
        {
            {40, 270, "app"},
            {100, 300, "app"},
            {700, 100, "loner"},
            {700, 300, "ownedover"},
            {300, 380, "app"},
            {1010, 750, "<desktop>"},
        },
        {},
    };
}

// Where auto-scrolling starts, in which mode, and what it does to focus and cursor.
Scenario StartScenario()
{
    return {
        "starts",
        {
            {"main", "", "Plain", TOP, 0, 0, 500, 400},
            {"mainmemo", "main", "Edit", CHILD | VSCROLL | ES_MULTILINE, 10, 10, 200, 150},
            {"mainlist", "main", "SysListView32", CHILD, 10, 170, 200, 150},
            {"listbar", "mainlist", "ScrollBar", CHILD | SBS_VERT, 190, 170, 20, 150},
            {"mainbrowser", "main", "Internet Explorer_Server", CHILD, 220, 10, 100, 100},
            {"mainplain", "main", "Plain", CHILD, 220, 120, 100, 100},
            {"mainpane", "main", "Plain", CHILD | VSCROLL, 330, 10, 150, 150},
            {"excel", "", "EXCEL@", TOP, 520, 0, 200, 200},
            {"lonelytool", "main", "Plain", TOP, 520, 250, 200, 150},
            {"toolchild", "lonelytool", "Plain", CHILD, 530, 260, 100, 100},
            {"hiddenowner", "", "Plain", WS_POPUP | VSCROLL, 750, 0, 200, 200},
            {"floatbar", "hiddenowner", "ScrollBar", TOP | SBS_VERT, 760, 250, 20, 150},
        },
        {},
        {},
        {},
        {
            // label, x, y, wheelMode, foreground, focus, capture,
            //   active, cursorName, markIconName, focusAfter, restoresCursor, vertTarget, horzTarget
            {"browser surface", 250, 50, 0, "main", "mainplain", "",
             false, "0", "0", "mainplain", false, "", ""},
            {"excel window", 700, 150, 0, "main", "mainmemo", "",
             true, "IDC_VH_SCROLL", "IDI_VH_MARK", "excel", false, "", ""},
            {"wheel mode 1 over an edit", 50, 50, 1, "main", "mainplain", "",
             true, "IDC_VER_SCROLL", "IDI_VER_MARK", "mainmemo", false, "", ""},
            {"wheel mode 1 over a list view", 60, 220, 1, "main", "mainplain", "",
             true, "IDC_VER_SCROLL", "IDI_VER_MARK", "mainplain", false, "mainlist", ""},
            {"visible target", 400, 50, 0, "main", "mainplain", "",
             true, "IDC_VER_SCROLL", "IDI_VER_MARK", "mainplain", false, "mainpane", ""},
            {"visible target under capture", 400, 50, 0, "main", "mainplain", "mainpane",
             true, "IDC_VER_SCROLL", "IDI_VER_MARK", "mainplain", true, "mainpane", ""},
            {"no target, root is the foreground window", 250, 150, 0, "main", "mainmemo", "",
             true, "IDC_VER_SCROLL", "IDI_VER_MARK", "mainplain", false, "", ""},
            {"no target, root is not the foreground window", 560, 300, 0, "main", "mainmemo", "",
             false, "0", "0", "toolchild", false, "", ""},
            {"hidden target", 770, 300, 0, "main", "mainmemo", "",
             false, "IDC_VER_SCROLL", "IDI_VER_MARK", "floatbar", false, "hiddenowner", ""},
        },
    };
}

// ---- The driver ----------------------------------------------------------------------

struct Tree {
    std::map<std::string, HWND> byName;

    HWND Find(const std::string &name) const
    {
        if (name.empty())
            return nullptr;
        if (name == "<desktop>")
            return GetDesktopWindow();
        auto found = byName.find(name);
        return found == byName.end() ? reinterpret_cast<HWND>(~static_cast<ULONG_PTR>(0)) : found->second;
    }

    std::string Name(HWND window) const
    {
        if (!window)
            return "";
        if (window == GetDesktopWindow())
            return "<desktop>";
        for (const auto &entry : byName)
            if (entry.second == window)
                return entry.first;
        char text[32];
        std::snprintf(text, sizeof text, "<%p>", static_cast<void *>(window));
        return text;
    }
};

struct Checker {
    const std::string prefix;
    std::vector<std::string> *failures;

    void Same(const char *what, const std::string &expected, const std::string &actual) const
    {
        if (expected != actual)
            failures->push_back(prefix + ": " + what + " is \"" + actual + "\", expected \"" + expected + "\"");
    }
    void Same(const char *what, bool expected, bool actual) const
    {
        Same(what, std::string(expected ? "true" : "false"), std::string(actual ? "true" : "false"));
    }
};

bool BuildTree(const Scenario &scenario, Tree *tree, std::vector<std::string> *failures)
{
    for (const WindowSpec &entry : scenario.windows) {
        HWND parent = tree->Find(entry.parent);
        POINT origin = {entry.x, entry.y};
        if ((entry.style & WS_CHILD) && parent)
            ScreenToClient(parent, &origin);
        HWND window = CreateWindowExA(0, entry.className.c_str(), entry.name.c_str(), entry.style, origin.x, origin.y,
                                      entry.width, entry.height, parent, nullptr, nullptr, nullptr);
        if (!window) {
            failures->push_back(scenario.name + ": cannot create \"" + entry.name + "\" of class " + entry.className);
            return false;
        }
        tree->byName[entry.name] = window;
    }
    return true;
}

void RunClassProbe(const ClassProbe &probe, const Tree &tree, const Checker &check)
{
    HWND window = tree.Find(probe.window);
    check.Same("IsScrollBarWindow(vertical)", probe.vertical, IsScrollBarWindow(window, TRUE));
    check.Same("IsScrollBarWindow(horizontal)", probe.horizontal, IsScrollBarWindow(window, FALSE));
    check.Same("IsExcelWindow", probe.excel, IsExcelWindow(window));
    check.Same("IsListOrTreeView", probe.listOrTree, IsListOrTreeView(window));
    check.Same("IsBrowserServerWindow", probe.browser, IsBrowserServerWindow(window));
}

void RunSearchProbe(const SearchProbe &probe, const Tree &tree, const Checker &check)
{
    shared.anchorPoint = {probe.x, probe.y};
    DiscoverScrollTargets();
    check.Same("vertTarget", probe.vertTarget, tree.Name(shared.vertTarget));
    check.Same("vertScrollBar", probe.vertScrollBar, tree.Name(shared.vertScrollBar));
    check.Same("horzTarget", probe.horzTarget, tree.Name(shared.horzTarget));
    check.Same("horzScrollBar", probe.horzScrollBar, tree.Name(shared.horzScrollBar));
    check.Same("cursorName", probe.cursorName, shared.cursorName);
    check.Same("markIconName", probe.markIconName, shared.markIconName);
}

void RunRootProbe(const RootProbe &probe, const Tree &tree, const Checker &check)
{
    check.Same("root", probe.root, tree.Name(GetRootWindowAtCursor()));
}

void RunStartProbe(const StartProbe &probe, const Tree &tree, const ScenarioPlatform &platform, const Checker &check)
{
    SetForegroundWindow(tree.Find(probe.foreground));
    SetFocus(tree.Find(probe.focus));
    if (!probe.capture.empty())
        SetCapture(tree.Find(probe.capture));
    platform.settle();
    SetCursor(platform.beforeCursor);
    check.Same("foreground before the start", probe.foreground, tree.Name(GetForegroundWindow()));
    check.Same("focus before the start", probe.focus, tree.Name(GetFocus()));
    shared.wheelMode = probe.wheelMode;

    StartAutoScroll();

    check.Same("autoScrollActive", probe.active, shared.autoScrollActive != 0);
    check.Same("anchorPoint", std::to_string(probe.x) + "," + std::to_string(probe.y),
               std::to_string(shared.anchorPoint.x) + "," + std::to_string(shared.anchorPoint.y));
    check.Same("cursorName", probe.cursorName, shared.cursorName);
    check.Same("markIconName", probe.markIconName, shared.markIconName);
    check.Same("focus after the start", probe.focusAfter, tree.Name(GetFocus()));
    check.Same("vertTarget", probe.vertTarget, tree.Name(shared.vertTarget));
    check.Same("horzTarget", probe.horzTarget, tree.Name(shared.horzTarget));
    check.Same("restoreCursor is the cursor before", probe.restoresCursor,
               shared.restoreCursor != nullptr && shared.restoreCursor == platform.beforeCursor);
    if (probe.active) {
        HCURSOR expected = LoadCursorA(moduleInstance, probe.cursorName.c_str());
        check.Same("autoScrollCursor is the mode cursor", true, expected && shared.autoScrollCursor == expected);
        check.Same("the mode cursor shows", true, GetCursor() == expected);
    } else {
        check.Same("the cursor is unchanged", true, GetCursor() == platform.beforeCursor);
    }
    if (!probe.capture.empty())
        ReleaseCapture();
}

}  // namespace

const std::vector<std::string> &ScenarioWindowClasses()
{
    static const std::vector<std::string> classes = {
        "Plain", "OpusRSB", "Lego.SCROLLBAR", "IPSCROLLBAR", "WordProScrollParentWndNT", "SysListView3",
        "SysListView321", "Internet Explorer_Server", "EXCELB", "EXCEL@", LONG_CLASS,
    };
    return classes;
}

const std::vector<Scenario> &WindowScenarios()
{
    static const std::vector<Scenario> scenarios = {ClassScenario(), SearchScenario(), OwnedScenario(),
                                                    StartScenario()};
    return scenarios;
}

void RunWindowScenario(const Scenario &scenario, const SharedHookState &initialState, const ScenarioPlatform &platform,
                       std::vector<std::string> *failures)
{
    Tree tree;
    if (BuildTree(scenario, &tree, failures)) {
        platform.settle();
        for (const ClassProbe &probe : scenario.classes) {
            shared = initialState;
            RunClassProbe(probe, tree, Checker{scenario.name + " / class of \"" + probe.window + "\"", failures});
        }
        for (const SearchProbe &probe : scenario.searches) {
            shared = initialState;
            SetCursorPos(probe.x, probe.y);
            platform.settle();
            RunSearchProbe(probe, tree,
                           Checker{scenario.name + " / search at " + std::to_string(probe.x) + "," +
                                       std::to_string(probe.y),
                                   failures});
        }
        for (const RootProbe &probe : scenario.roots) {
            shared = initialState;
            SetCursorPos(probe.x, probe.y);
            platform.settle();
            RunRootProbe(probe, tree,
                         Checker{scenario.name + " / root at " + std::to_string(probe.x) + "," +
                                     std::to_string(probe.y),
                                 failures});
        }
        for (const StartProbe &probe : scenario.starts) {
            shared = initialState;
            SetCursorPos(probe.x, probe.y);
            RunStartProbe(probe, tree, platform, Checker{scenario.name + " / start: " + probe.label, failures});
        }
    }
    // Top-level windows take their children and owned windows with them.
    for (const WindowSpec &entry : scenario.windows)
        if (entry.parent.empty())
            DestroyWindow(tree.Find(entry.name));
    platform.settle();
}
