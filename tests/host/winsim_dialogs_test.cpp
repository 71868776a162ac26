// winsim's dialogs against the platform's rules (each seen under Wine with the same
// compiled templates): dialog units to pixels for the installer's pages, the controls a
// template gives, IsDialogMessageA's keys, radio groups, and message boxes answered by
// the test's responder.
#include "winsim.h"
#include "winsim_control.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int IDD_WELCOME = 101;
constexpr int IDD_END = 102;
constexpr int IDD_MOUSE_TYPE = 108;
constexpr int IDD_BROWSE = 104;
constexpr int SERIAL = 1034;
constexpr int PS2 = 1035;

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Seen> seen;

// A page class as the installer registers one: its procedure records what reaches it
// and leaves the rest to DefDlgProcA.
LRESULT PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    seen.push_back({message, wParam, lParam});
    return DefDlgProcA(window, message, wParam, lParam);
}

std::vector<Seen> Commands()
{
    std::vector<Seen> commands;
    for (const Seen &s : seen)
        if (s.message == WM_COMMAND)
            commands.push_back(s);
    return commands;
}

class WinsimDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        winsim::Reset();
        seen.clear();
        module = winsim::LoadModule(WINSIM_SETUP_RES_PATH);
        ASSERT_NE(module, nullptr);
        for (const char *name : {"SETUP_BEGIN", "SETUP_SELMOUSE", "SETUP_SELDIR", "SETUP_INSTALL", "SETUP_END"}) {
            WNDCLASSA page{};
            page.lpfnWndProc = PageProc;
            page.hInstance = module;
            page.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BTNFACE + 1));
            page.lpszClassName = name;
            ASSERT_NE(RegisterClassA(&page), 0);
        }
    }

    HWND Page(int id) { return CreateDialogParamA(module, MAKEINTRESOURCEA(id), nullptr, nullptr, 0); }

    static RECT InClient(HWND dialog, HWND control)
    {
        RECT r;
        GetWindowRect(control, &r);
        POINT a{r.left, r.top}, b{r.right, r.bottom};
        ScreenToClient(dialog, &a);
        ScreenToClient(dialog, &b);
        return RECT{a.x, a.y, b.x, b.y};
    }

    HINSTANCE module = nullptr;
};

std::string Text(const RECT &r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// Base units 7 x 13 for FONT 8 "Arial": every rectangle below is what Wine reports for
// the same control of the same compiled template.
TEST_F(WinsimDialogsTest, TemplatesBecomeThePixelsThePlatformGives)
{
    struct Case {
        int dialog;
        int control;
        const char *windowRect;  // in the dialog's client coordinates
        const char *clientSize;
    } cases[] = {
        {IDD_WELCOME, 1022, "11,16,129,250", "116x232"},  // SS_BITMAP takes the bitmap's size; static edge
        {IDD_WELCOME, 1006, "9,252,471,254", "460x0"},    // 264 x 1 units
        {IDD_WELCOME, 1, "303,263,378,286", "75x23"},
        {IDD_WELCOME, 3, "228,263,303,286", "75x23"},
        {IDD_WELCOME, 1024, "215,31,469,57", "254x26"},
        {IDD_WELCOME, -1, "168,16,200,48", "32x32"},      // the first IDC_STATIC: SS_ICON takes 32 x 32
        {IDD_MOUSE_TYPE, SERIAL, "168,65,273,81", "105x16"},
        {IDD_MOUSE_TYPE, PS2, "168,153,273,169", "105x16"},
        {IDD_END, 1, "394,265,469,288", "75x23"},
        {IDD_END, 1032, "172,117,449,133", "277x16"},
    };
    for (const Case &c : cases) {
        winsim::Reset();
        SetUp();
        HWND dialog = Page(c.dialog);
        ASSERT_NE(dialog, nullptr) << c.dialog;
        HWND control = GetDlgItem(dialog, c.control);
        ASSERT_NE(control, nullptr) << c.dialog << "/" << c.control;
        EXPECT_EQ(Text(InClient(dialog, control)), c.windowRect) << c.dialog << "/" << c.control;
        RECT client;
        GetClientRect(control, &client);
        EXPECT_EQ(std::to_string(client.right) + "x" + std::to_string(client.bottom), c.clientSize)
            << c.dialog << "/" << c.control;
    }

    // The page itself: 280 x 183 units of client area, a caption and a modal frame, at
    // the screen's corner; MapDialogRect uses the same units.
    HWND page = Page(IDD_WELCOME);
    RECT window, client, units{0, 0, 280, 183};
    GetWindowRect(page, &window);
    GetClientRect(page, &client);
    EXPECT_EQ(Text(window), "0,0,496,322");
    EXPECT_EQ(Text(client), "0,0,490,297");
    EXPECT_TRUE(MapDialogRect(page, &units));
    EXPECT_EQ(Text(units), "0,0,490,297");
    EXPECT_EQ(winsim::DialogBaseUnits(page).x, 7);
    EXPECT_EQ(winsim::DialogBaseUnits(page).y, 13);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(page, GWL_STYLE)), 0x94C000C4u);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(page, GWL_EXSTYLE)), 0x00010101u);
}

TEST_F(WinsimDialogsTest, PagesPaintTheirPicturesAndMissingClassesFailTheCreation)
{
    HWND page = Page(IDD_WELCOME);
    winsim::DeliverPostedMessages();  // the paint messages
    const winsim::Picture picture = winsim::ComposedPicture(page);
    ASSERT_EQ(picture.width, 490);
    EXPECT_EQ(picture.At(12, 17), 0x808000u);   // side.bmp's first pixel, inside the static edge
    EXPECT_EQ(picture.At(300, 5), 0xF5F5F5u);  // the page's COLOR_BTNFACE background (Wine's colour)

    UnregisterClassA("SETUP_BEGIN", module);
    SetLastError(0);
    EXPECT_EQ(Page(IDD_WELCOME), nullptr);
    EXPECT_EQ(GetLastError(), 1407u);  // ERROR_CANNOT_FIND_WND_CLASS
}

TEST_F(WinsimDialogsTest, IconsLoadOncePerName)
{
    HICON icon = LoadIconA(module, MAKEINTRESOURCEA(200));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconA(module, MAKEINTRESOURCEA(200)), icon);
    EXPECT_EQ(LoadIconA(module, MAKEINTRESOURCEA(201)), nullptr);
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);
}

TEST_F(WinsimDialogsTest, BrowseTemplateLiesWhereTheFileDialogPutsItAndItsEditGetsAClientEdge)
{
    HWND browse = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_BROWSE), nullptr, nullptr, 0);
    ASSERT_NE(browse, nullptr);
    RECT window;
    GetWindowRect(browse, &window);
    EXPECT_EQ(Text(window), "50,27,352,328");  // client origin at 30, 30 units = 53, 49
    EXPECT_FALSE(IsWindowVisible(browse));      // no WS_VISIBLE in the template
    HWND edit = GetDlgItem(browse, 1003);
    EXPECT_EQ(Text(InClient(browse, edit)), "14,31,280,51");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(edit, GWL_STYLE)), 0x50010080u);  // WS_BORDER gone ...
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(edit, GWL_EXSTYLE)), 0x00000204u);  // ... for a client edge
    EXPECT_EQ(Text(InClient(browse, GetDlgItem(browse, IDOK))), "189,75,280,98");
    // IDC_STATIC is 65535 to the dialog functions.
    EXPECT_EQ(GetDlgCtrlID(GetDlgItem(browse, -1)), 65535);
}

TEST_F(WinsimDialogsTest, PagesWithoutDialogProcedureGetNoInitDialogAndFocusTheirFirstTabStop)
{
    HWND welcome = Page(IDD_WELCOME);
    for (const Seen &s : seen)
        EXPECT_NE(s.message, static_cast<UINT>(WM_INITDIALOG));
    EXPECT_EQ(seen.front().message, static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(seen[1].message, static_cast<UINT>(WM_CREATE));
    EXPECT_TRUE(IsWindowVisible(welcome));
    EXPECT_EQ(GetForegroundWindow(), welcome);
    EXPECT_EQ(GetFocus(), GetDlgItem(welcome, 1));  // Next: the first tab stop (Back is disabled)
    EXPECT_EQ(SendMessageA(welcome, DM_GETDEFID, 0, 0), MAKELONG(1, DC_HASDEFID));

    HWND mouse = Page(IDD_MOUSE_TYPE);
    EXPECT_EQ(GetFocus(), GetDlgItem(mouse, SERIAL));
}

bool visibleAtInit = true;
INT_PTR InitProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        seen.push_back({message, wParam, lParam});
        visibleAtInit = IsWindowVisible(dialog);
    }
    return message == WM_INITDIALOG;
}

TEST_F(WinsimDialogsTest, DialogProcedureGetsInitDialogWhileTheDialogIsHidden)
{
    HWND browse = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_BROWSE), nullptr, InitProc, 1234);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].lParam, 1234);
    EXPECT_EQ(reinterpret_cast<HWND>(seen[0].wParam), GetDlgItem(browse, 1003));  // first tab stop
    EXPECT_FALSE(visibleAtInit);
    EXPECT_EQ(GetFocus(), GetDlgItem(browse, 1003));  // WM_INITDIALOG answered TRUE
}

// The keys as IsDialogMessageA takes them from the queue (each seen under Wine on the
// mouse-type page).
TEST_F(WinsimDialogsTest, EnterAndEscapeBecomeCommandsForTheDefaultAndCancelButtons)
{
    HWND page = Page(IDD_MOUSE_TYPE);
    HWND next = GetDlgItem(page, 1), cancel = GetDlgItem(page, 2);
    struct Case {
        const char *label;
        int focus;
        UINT message;
        WPARAM key;
        std::vector<std::pair<WPARAM, HWND>> commands;
    } cases[] = {
        {"Enter on a radio button", SERIAL, WM_KEYDOWN, VK_RETURN, {{1, next}}},
        {"Enter with the focus on Cancel, set by SetFocus", 2, WM_KEYDOWN, VK_RETURN, {{1, next}}},
        {"Escape", SERIAL, WM_KEYDOWN, VK_ESCAPE, {{IDCANCEL, cancel}}},
        {"Enter posted to the dialog itself", 0, WM_KEYDOWN, VK_RETURN, {{1, next}}},
        {"key up", SERIAL, WM_KEYUP, VK_RETURN, {}},
        {"a letter", SERIAL, WM_KEYDOWN, 'A', {}},
    };
    for (const Case &c : cases) {
        HWND target = c.focus ? GetDlgItem(page, c.focus) : page;
        SetFocus(target);
        seen.clear();
        PostMessageA(target, c.message, c.key, 0);
        MSG msg;
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << c.label;
        EXPECT_TRUE(IsDialogMessageA(page, &msg)) << c.label;
        std::vector<std::pair<WPARAM, HWND>> commands;
        for (const Seen &s : Commands())
            commands.push_back({s.wParam, reinterpret_cast<HWND>(s.lParam)});
        EXPECT_EQ(commands, c.commands) << c.label;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_PAINT)
            IsDialogMessageA(page, &msg);  // the WM_CHAR a letter gives
    }
}

TEST_F(WinsimDialogsTest, EnterWithoutDefaultIdSendsIdOk)
{
    // A page procedure built on DefWindowProcA answers no DM_GETDEFID.
    WNDCLASSA plain{};
    plain.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        seen.push_back({m, wp, lp});
        return DefWindowProcA(w, m, wp, lp);
    };
    plain.hInstance = module;
    plain.lpszClassName = "SETUP_END";
    UnregisterClassA("SETUP_END", module);
    ASSERT_NE(RegisterClassA(&plain), 0);
    HWND page = Page(IDD_END);
    seen.clear();
    winsim::PressKey(page, VK_RETURN);
    winsim::DeliverPostedMessages();  // no modal dialog: plain dispatch
    EXPECT_TRUE(Commands().empty());  // the key went to the control, not through IsDialogMessageA
    MSG msg{page, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_TRUE(IsDialogMessageA(page, &msg));
    ASSERT_EQ(Commands().size(), 1u);
    EXPECT_EQ(Commands()[0].wParam, static_cast<WPARAM>(IDOK));
    EXPECT_EQ(reinterpret_cast<HWND>(Commands()[0].lParam), GetDlgItem(page, IDOK));
}

TEST_F(WinsimDialogsTest, IsDialogMessageTakesEverythingForTheDialogAndNothingElse)
{
    HWND page = Page(IDD_MOUSE_TYPE);
    HWND other = winsim::CreateTopLevelWindow("Other", "other");
    MSG forControl{GetDlgItem(page, SERIAL), WM_USER + 5, 0, 0, 0, {0, 0}};
    MSG forThread{nullptr, WM_USER + 6, 0, 0, 0, {0, 0}};
    MSG forOther{other, WM_USER + 6, 0, 0, 0, {0, 0}};
    EXPECT_TRUE(IsDialogMessageA(page, &forControl));
    EXPECT_FALSE(IsDialogMessageA(page, &forThread));
    EXPECT_FALSE(IsDialogMessageA(page, &forOther));
}

TEST_F(WinsimDialogsTest, TabWalksTheTabStopsAndTheDefaultStyleFollowsThePushButtons)
{
    HWND page = Page(IDD_MOUSE_TYPE);
    auto styleOf = [&](int id) { return GetWindowLongA(GetDlgItem(page, id), GWL_STYLE) & BS_TYPEMASK; };
    struct Step {
        int focusAfter;
        DWORD nextStyle;
        DWORD cancelStyle;
    } steps[] = {
        {1, BS_DEFPUSHBUTTON, BS_PUSHBUTTON},     // PS/2 has no tab stop: on to Next
        {2, BS_PUSHBUTTON, BS_DEFPUSHBUTTON},     // Cancel takes the default style ...
        {3, BS_PUSHBUTTON, BS_PUSHBUTTON},        // ... and Back after it
        {SERIAL, BS_DEFPUSHBUTTON, BS_PUSHBUTTON},  // round again: back to Next's
    };
    for (const Step &step : steps) {
        winsim::PressKey(page, VK_TAB);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_PAINT)
            IsDialogMessageA(page, &msg);
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), step.focusAfter);
        EXPECT_EQ(static_cast<DWORD>(styleOf(1)), step.nextStyle) << step.focusAfter;
        EXPECT_EQ(static_cast<DWORD>(styleOf(2)), step.cancelStyle) << step.focusAfter;
        EXPECT_EQ(SendMessageA(page, DM_GETDEFID, 0, 0), MAKELONG(1, DC_HASDEFID));
    }
}

TEST_F(WinsimDialogsTest, AutomaticRadioButtonsKeepOneCheckedPerGroup)
{
    HWND page = Page(IDD_MOUSE_TYPE);
    HWND serial = GetDlgItem(page, SERIAL), ps2 = GetDlgItem(page, PS2);
    auto state = [&] { return std::make_pair(IsDlgButtonChecked(page, SERIAL), IsDlgButtonChecked(page, PS2)); };
    using State = std::pair<UINT, UINT>;
    EXPECT_EQ(state(), State(0, 0));

    seen.clear();
    SendMessageA(ps2, BM_CLICK, 0, 0);
    EXPECT_EQ(state(), State(0, 1));
    ASSERT_EQ(Commands().size(), 1u);  // after the state changed, with the button
    EXPECT_EQ(Commands()[0].wParam, MAKEWPARAM(PS2, BN_CLICKED));
    EXPECT_EQ(reinterpret_cast<HWND>(Commands()[0].lParam), ps2);
    EXPECT_EQ(GetFocus(), ps2);
    EXPECT_TRUE(GetWindowLongA(ps2, GWL_STYLE) & WS_TABSTOP);  // the checked one is the tab stop
    EXPECT_FALSE(GetWindowLongA(serial, GWL_STYLE) & WS_TABSTOP);

    winsim::ClickButton(serial);
    EXPECT_EQ(state(), State(1, 0));
    seen.clear();
    winsim::ClickButton(serial);  // already checked: notifies again
    EXPECT_EQ(Commands().size(), 1u);

    SendMessageA(ps2, BM_SETCHECK, BST_CHECKED, 0);  // only that button
    EXPECT_EQ(state(), State(1, 1));
    CheckRadioButton(page, SERIAL, PS2, SERIAL);
    EXPECT_EQ(state(), State(1, 0));
    CheckDlgButton(page, PS2, BST_CHECKED);
    EXPECT_EQ(state(), State(1, 1));

    // Push buttons have no check state.
    SendDlgItemMessageA(page, 1, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendDlgItemMessageA(page, 1, BM_GETCHECK, 0, 0), 0);

    // A disabled button ignores the click.
    CheckRadioButton(page, SERIAL, PS2, SERIAL);
    EnableWindow(ps2, FALSE);
    seen.clear();
    winsim::ClickButton(ps2);
    EXPECT_EQ(state(), State(1, 0));
    EXPECT_TRUE(Commands().empty());
}

TEST_F(WinsimDialogsTest, ArrowKeysMoveWithinTheGroupAndCheckTheRadioButtonReached)
{
    HWND page = Page(IDD_MOUSE_TYPE);
    seen.clear();
    winsim::PressKey(page, VK_DOWN);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_PAINT)
        IsDialogMessageA(page, &msg);
    EXPECT_EQ(GetFocus(), GetDlgItem(page, PS2));
    EXPECT_EQ(IsDlgButtonChecked(page, PS2), BST_CHECKED);
    ASSERT_EQ(Commands().size(), 1u);
    EXPECT_EQ(Commands()[0].wParam, MAKEWPARAM(PS2, BN_CLICKED));
}

TEST_F(WinsimDialogsTest, DialogItemTextAndCloseOfAPage)
{
    HWND page = Page(IDD_WELCOME);
    EXPECT_TRUE(SetDlgItemTextA(page, 1024, " This program will install Corvane into your computer."));
    char buffer[12];
    EXPECT_EQ(GetDlgItemTextA(page, 1024, buffer, sizeof buffer), 11u);  // cut to size - 1
    EXPECT_STREQ(buffer, " This progr");
    EXPECT_FALSE(SetDlgItemTextA(page, 999, "x"));
    EXPECT_EQ(GetDlgItem(page, 999), nullptr);

    // DefDlgProcA's WM_CLOSE posts IDCANCEL, even while Cancel is disabled.
    EnableWindow(GetDlgItem(page, IDCANCEL), FALSE);
    SendMessageA(page, WM_CLOSE, 0, 0);
    const std::vector<MSG> posted = winsim::PostedMessages();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].message, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(posted[0].wParam, static_cast<WPARAM>(IDCANCEL));
    EXPECT_EQ(reinterpret_cast<HWND>(posted[0].lParam), GetDlgItem(page, IDCANCEL));
    EXPECT_TRUE(IsWindow(page));
}

TEST_F(WinsimDialogsTest, MessageBoxesAreAnsweredByTheResponderWhileTheOwnerIsDisabled)
{
    HWND page = Page(IDD_WELCOME);
    bool ownerEnabledDuringBox = true;
    winsim::SetMessageBoxResponder([&](const winsim::MessageBoxRequest &box) {
        ownerEnabledDuringBox = IsWindowEnabled(page);
        return box.text.find("exist") != std::string::npos ? IDNO : IDOK;
    });
    EXPECT_EQ(MessageBoxA(page, "The specified directory is already exist !", "Setup", MB_YESNO | MB_ICONQUESTION),
              IDNO);
    EXPECT_FALSE(ownerEnabledDuringBox);
    EXPECT_TRUE(IsWindowEnabled(page));
    EXPECT_EQ(MessageBoxA(nullptr, "Done", nullptr, MB_OK), IDOK);

    const std::vector<winsim::MessageBoxRequest> &shown = winsim::MessageBoxesShown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].caption, "Setup");
    EXPECT_EQ(shown[0].owner, page);
    EXPECT_EQ(shown[0].style, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(shown[1].caption, "Error");  // the platform's caption for null

    // An answer the box cannot give is the test's mistake.
    winsim::SetMessageBoxResponder([](const winsim::MessageBoxRequest &) { return IDCANCEL; });
    EXPECT_THROW(MessageBoxA(nullptr, "x", "y", MB_YESNO), std::logic_error);
}

TEST_F(WinsimDialogsTest, MessageBoxWithoutResponderGivesItsDefaultButtonAfterDeliveringPostedMessages)
{
    HWND page = Page(IDD_WELCOME);
    PostMessageA(page, WM_USER + 9, 0, 0);
    seen.clear();
    EXPECT_EQ(MessageBoxA(page, "a", "b", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxA(page, "a", "b", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](const Seen &s) { return s.message == WM_USER + 9; }))
        << "the box's loop delivers what was posted before it";
}

}  // namespace
