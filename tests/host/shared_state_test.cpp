// The shared state's image values, the entry point and the control exports.
#include "hook_fixture.h"

#include <cstring>

namespace {

using SharedStateTest = HookTest;

TEST_F(SharedStateTest, ImageInitialisesEverySettingToOffExceptTheNames)
{
    const SharedHookState &s = InitialSharedState();
    EXPECT_EQ(s.middleButtonIndex, -1);
    EXPECT_STREQ(s.cursorName, "0");
    EXPECT_STREQ(s.markIconName, "0");
    // Everything else before the action table is zero...
    SharedHookState zeroed = s;
    std::memset(zeroed.actionTable, 0, sizeof zeroed.actionTable);
    zeroed.middleButtonIndex = 0;
    std::memset(zeroed.cursorName, 0, sizeof zeroed.cursorName);
    std::memset(zeroed.markIconName, 0, sizeof zeroed.markIconName);
    const SharedHookState allZero{};
    EXPECT_EQ(std::memcmp(&zeroed, &allZero, sizeof zeroed), 0);
    // ...and the names are zero-filled after their text.
    for (int i = 2; i < RESOURCE_NAME_CHARS; ++i)
        EXPECT_EQ(s.cursorName[i] | s.markIconName[i], 0) << i;
}

TEST_F(SharedStateTest, AttachRegistersTheWheelMessageAndLaterAttachesKeepIt)
{
    const UINT registered = RegisterWindowMessageA("MSWHEEL_ROLLMSG");
    EXPECT_GE(registered, 0xC000u);
    EXPECT_EQ(shared.wheelRollMessage, registered);
    EXPECT_EQ(moduleInstance, module);

    // Another process attaching registers the same name and stores the same number.
    RegisterWindowMessageA("SomeOtherMessage");
    ASSERT_TRUE(DllMain(module, DLL_PROCESS_ATTACH, nullptr));
    EXPECT_EQ(shared.wheelRollMessage, registered);

    // Other reasons do nothing and still succeed.
    winsim::ClearCalls();
    for (DWORD reason : {DLL_THREAD_ATTACH, DLL_THREAD_DETACH, DLL_PROCESS_DETACH})
        EXPECT_TRUE(DllMain(nullptr, reason, nullptr));
    EXPECT_TRUE(winsim::Calls().empty());
    EXPECT_EQ(moduleInstance, module);
}

// Setters that store a 16-bit field: what they keep of their argument.
struct WordSetterCase {
    const char *name;
    int (*call)(UINT value);  // returns the stored value as the export reports it
    int (*stored)();
    UINT argument;
    int expected;
};

const WordSetterCase wordSetterCases[] = {
    {"SetMiddleButtonIndex 0xFFFF", [](UINT v) { return SetMiddleButtonIndex(static_cast<int>(v)); },
     [] { return int{shared.middleButtonIndex}; }, 0xFFFF, -1},
    {"SetMiddleButtonIndex -1", [](UINT v) { return SetMiddleButtonIndex(static_cast<int>(v)); },
     [] { return int{shared.middleButtonIndex}; }, 0xFFFFFFFF, -1},
    {"SetMiddleButtonIndex 0x10005", [](UINT v) { return SetMiddleButtonIndex(static_cast<int>(v)); },
     [] { return int{shared.middleButtonIndex}; }, 0x10005, 5},
    {"SetWheelMode high bits", [](UINT v) { return static_cast<int>(SetWheelMode(v)); },
     [] { return int{shared.wheelMode}; }, 0xABCD0001, 1},
    {"SetWheelMode 0xFFFF", [](UINT v) { return static_cast<int>(SetWheelMode(v)); },
     [] { return int{shared.wheelMode}; }, 0xFFFF, 0xFFFF},
    {"SetAutoScrollDirection high bits", [](UINT v) { return static_cast<int>(SetAutoScrollDirection(v)); },
     [] { return int{shared.autoScrollDirection}; }, 0x70003, 3},
};

TEST_F(SharedStateTest, WordSettersKeepTheLow16Bits)
{
    for (const WordSetterCase &c : wordSetterCases) {
        EXPECT_EQ(c.call(c.argument), c.expected) << c.name;
        EXPECT_EQ(c.stored(), c.expected) << c.name;
    }
}

TEST_F(SharedStateTest, HandleAndFlagSettersStoreTheirArgumentUnchecked)
{
    HHOOK hooks[4] = {reinterpret_cast<HHOOK>(0x101), reinterpret_cast<HHOOK>(0x202),
                      reinterpret_cast<HHOOK>(0x303), reinterpret_cast<HHOOK>(0x404)};
    EXPECT_EQ(SetMouseHookHandle(hooks[0]), hooks[0]);
    EXPECT_EQ(SetKeyboardHookHandle(hooks[1]), hooks[1]);
    EXPECT_EQ(SetMessageHookHandle(hooks[2]), hooks[2]);
    EXPECT_EQ(SetCallWndHookHandle(hooks[3]), hooks[3]);
    EXPECT_EQ(shared.mouseHookHandle, hooks[0]);
    EXPECT_EQ(shared.keyboardHookHandle, hooks[1]);
    EXPECT_EQ(shared.messageHookHandle, hooks[2]);
    EXPECT_EQ(shared.callWndHookHandle, hooks[3]);

    HWND mark = reinterpret_cast<HWND>(0x5150), dialog = reinterpret_cast<HWND>(0x6160);
    EXPECT_EQ(SetMarkWindow(mark), mark);
    EXPECT_EQ(SetAutoScrollDlg(dialog), dialog);
    EXPECT_EQ(shared.markWindow, mark);
    EXPECT_EQ(shared.autoScrollDlg, dialog);

    // Any non-zero value is stored as given.
    EXPECT_EQ(EnableScrolling(7), 7);
    EXPECT_EQ(EnableZoomIn(-1), -1);
    EXPECT_EQ(shared.scrollingEnabled, 7);
    EXPECT_EQ(shared.zoomInEnabled, -1);
    EXPECT_EQ(EnableScrolling(0), 0);
    EXPECT_EQ(shared.scrollingEnabled, 0);
}

TEST_F(SharedStateTest, SetParentWindowLoadsTheHoverCursorEachTime)
{
    HWND first = winsim::CreateTopLevelWindow("Resident", "one");
    HWND second = winsim::CreateTopLevelWindow("Resident", "two");

    HCURSOR hover = SetParentWindow(first);
    ASSERT_NE(hover, nullptr);
    winsim::CursorInfo info{};
    ASSERT_TRUE(winsim::GetCursorInfo(hover, &info));
    EXPECT_EQ(info.module, module);
    EXPECT_EQ(info.name, "IDC_HOR_SCROLL1");
    EXPECT_EQ(info.hotX, 12);
    EXPECT_EQ(info.hotY, 1);

    EXPECT_EQ(SetParentWindow(second), hover);
    EXPECT_EQ(shared.parentWindow, second);
    EXPECT_EQ(shared.hScrollHoverCursor, hover);
    const auto loads = winsim::CallsTo("LoadCursorA");
    ASSERT_EQ(loads.size(), 2u);
    for (const winsim::Call &load : loads) {
        EXPECT_EQ(load.args[0], H(module));
        EXPECT_EQ(load.text, "IDC_HOR_SCROLL1");
    }
}

TEST_F(SharedStateTest, SetAutoScrollCursorShowsTheNamedCursorAndReturnsThePrevious)
{
    // Before any auto-scrolling the name is "0": no such cursor, the null cursor shows.
    HCURSOR before = reinterpret_cast<HCURSOR>(0x777);
    SetCursor(before);
    EXPECT_EQ(SetAutoScrollCursor(), before);
    EXPECT_EQ(GetCursor(), nullptr);

    // The direction cursors all have their hot spot at the centre.
    for (const char *name : {"IDC_VH_SCROLL", "IDC_VER_SCROLL", "IDC_HOR_SCROLL", "IDC_UP_SCROLL",
                             "IDC_DN_SCROLL", "IDC_LF_SCROLL", "IDC_RI_SCROLL"}) {
        std::strcpy(shared.cursorName, name);
        HCURSOR previous = GetCursor();
        EXPECT_EQ(SetAutoScrollCursor(), previous) << name;
        winsim::CursorInfo info{};
        ASSERT_TRUE(winsim::GetCursorInfo(GetCursor(), &info)) << name;
        EXPECT_EQ(info.name, name);
        EXPECT_EQ(info.hotX, 15) << name;
        EXPECT_EQ(info.hotY, 15) << name;
    }
}

}  // namespace
