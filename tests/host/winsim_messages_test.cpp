// winsim's window classes, window procedures and message queue against the platform's
// rules (each seen under Wine): what creation and destruction send and in what order,
// DefWindowProcA, the order the queue gives messages in, and painting.
#include "winsim.h"
#include "winsim_control.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Delivery {
    std::string window;  // the window's text when the message came (creation: the class)
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Delivery &) const = default;
};
std::vector<Delivery> log;
bool validatePaint = true;
LRESULT createAnswer = 0;
BOOL ncCreateAnswer = TRUE;

std::string TextOf(HWND window)
{
    char text[32] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

LRESULT Recorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_GETTEXT && message != WM_GETTEXTLENGTH)
        log.push_back({message == WM_NCCREATE ? "?" : TextOf(window), message, wParam, lParam});
    if (message == WM_NCCREATE && !ncCreateAnswer)
        return FALSE;
    if (message == WM_CREATE && createAnswer)
        return createAnswer;
    if (message == WM_PAINT && !validatePaint)
        return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

std::vector<UINT> Messages(const std::string &window = "")
{
    std::vector<UINT> messages;
    for (const Delivery &d : log)
        if (window.empty() || d.window == window)
            messages.push_back(d.message);
    return messages;
}

class WinsimMessagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        winsim::Reset();
        log.clear();
        validatePaint = true;
        createAnswer = 0;
        ncCreateAnswer = TRUE;
        WNDCLASSA recorder{};
        recorder.lpfnWndProc = Recorder;
        recorder.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        recorder.lpszClassName = "Recorder";
        ASSERT_NE(RegisterClassA(&recorder), 0);
    }

    static HWND Make(const char *title, DWORD style, HWND parent = nullptr, int x = 10, int y = 10)
    {
        return CreateWindowExA(0, "Recorder", title, style, x, y, 100, 100, parent, nullptr, nullptr, nullptr);
    }

    // Takes every message the queue gives (PM_REMOVE) until it runs dry or `limit`.
    static std::vector<UINT> Drain(std::size_t limit = 20)
    {
        std::vector<UINT> got;
        MSG msg;
        while (got.size() < limit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            got.push_back(msg.message);
            DispatchMessageA(&msg);
        }
        return got;
    }
};

TEST_F(WinsimMessagesTest, RegisteringAClassTwiceFails)
{
    WNDCLASSA again{};
    again.lpfnWndProc = Recorder;
    again.lpszClassName = "RECORDER";  // names compare without regard to case
    SetLastError(0);
    EXPECT_EQ(RegisterClassA(&again), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
}

TEST_F(WinsimMessagesTest, CreationSendsNcCreateCreateSizeMoveThenShows)
{
    HWND window = Make("main", WS_POPUP | WS_VISIBLE);
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW, WM_SETFOCUS,
                                             WM_ERASEBKGND}));
    EXPECT_EQ(log[2].lParam, MAKELPARAM(100, 100));
    EXPECT_EQ(log[3].lParam, MAKELPARAM(10, 10));
    EXPECT_EQ(log[1].window, "main");  // DefWindowProcA's WM_NCCREATE set the text
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(Drain(), std::vector<UINT>{WM_PAINT});  // painted later, through the queue
}

TEST_F(WinsimMessagesTest, CreationFailsWhenNcCreateOrCreateRefuses)
{
    ncCreateAnswer = FALSE;
    EXPECT_EQ(Make("refused", WS_POPUP), nullptr);
    ncCreateAnswer = TRUE;
    createAnswer = -1;
    EXPECT_EQ(Make("refused", WS_POPUP), nullptr);
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_NCCREATE, WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}));
}

TEST_F(WinsimMessagesTest, UseDefaultGivesOverlappedWindowsThreeQuartersOfTheScreenAndPopupsNothing)
{
    winsim::SetScreenSize(800, 600);
    RECT r;
    GetWindowRect(CreateWindowExA(0, "Recorder", "", WS_OVERLAPPED, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr),
                  &r);
    EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}), (std::vector<LONG>{0, 0, 600, 450}));
    GetWindowRect(CreateWindowExA(0, "Recorder", "", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr),
                  &r);
    EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}), (std::vector<LONG>{0, 0, 0, 0}));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
}

// Wine: WM_CLOSE -> owned windows wholly, then WM_DESTROY parents first (a, a1, b, b1),
// then WM_NCDESTROY children first.
TEST_F(WinsimMessagesTest, CloseDestroysOwnedWindowsFirstThenTheTreeInThePlatformsOrder)
{
    HWND main = Make("main", WS_POPUP | WS_VISIBLE);
    HWND a = Make("a", WS_CHILD | WS_VISIBLE, main);
    HWND b = Make("b", WS_CHILD | WS_VISIBLE, main);
    Make("a1", WS_CHILD | WS_VISIBLE, a);
    Make("b1", WS_CHILD | WS_VISIBLE, b);
    Make("owned", WS_POPUP, main);
    PostMessageA(a, WM_USER, 0, 0);
    log.clear();
    SendMessageA(main, WM_CLOSE, 0, 0);
    std::vector<std::pair<std::string, UINT>> order;
    for (const Delivery &d : log)
        order.push_back({d.window, d.message});
    const std::vector<std::pair<std::string, UINT>> expected = {
        {"main", WM_CLOSE},     {"owned", WM_DESTROY}, {"owned", WM_NCDESTROY}, {"main", WM_DESTROY},
        {"a", WM_DESTROY},      {"a1", WM_DESTROY},    {"b", WM_DESTROY},       {"b1", WM_DESTROY},
        {"a1", WM_NCDESTROY},   {"a", WM_NCDESTROY},   {"b1", WM_NCDESTROY},    {"b", WM_NCDESTROY},
        {"main", WM_NCDESTROY},
    };
    EXPECT_EQ(order, expected);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_TRUE(winsim::PostedMessages().empty());  // the message for a went with it
}

TEST_F(WinsimMessagesTest, DefWindowProcKeepsTheTextAndCutsItToTheBuffer)
{
    HWND window = Make("main", WS_POPUP);
    char buffer[4];
    EXPECT_EQ(GetWindowTextA(window, buffer, sizeof buffer), 3);
    EXPECT_STREQ(buffer, "mai");
    EXPECT_EQ(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0), 4);
    EXPECT_TRUE(SetWindowTextA(window, "renamed"));
    EXPECT_EQ(TextOf(window), "renamed");
    EXPECT_EQ(Messages().back(), static_cast<UINT>(WM_SETTEXT));

    // Windows of no registered class (other programs' windows) answer 0 and keep their
    // text without a procedure.
    HWND foreign = winsim::CreateTopLevelWindow("Foreign", "title");
    EXPECT_EQ(SendMessageA(foreign, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_EQ(TextOf(foreign), "title");
}

// Wine: posted messages in order (thread messages among them), then WM_QUIT, then
// WM_PAINT; a WM_PAINT that is not validated comes again.
TEST_F(WinsimMessagesTest, QueueGivesPostedMessagesThenQuitThenPaint)
{
    HWND window = Make("main", WS_POPUP | WS_VISIBLE);
    Drain();
    InvalidateRect(window, nullptr, TRUE);
    PostMessageA(window, WM_USER + 1, 0, 0);
    PostQuitMessage(7);
    PostMessageA(window, WM_USER + 2, 0, 0);
    PostMessageA(nullptr, WM_USER + 3, 0, 0);
    EXPECT_EQ(Drain(), (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_USER + 3, WM_QUIT, WM_PAINT}));

    validatePaint = false;
    InvalidateRect(window, nullptr, FALSE);
    EXPECT_EQ(Drain(5), std::vector<UINT>(5, WM_PAINT));

    validatePaint = true;
    PostMessageA(window, WM_USER + 4, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 4));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 4));
    DispatchMessageA(&msg);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));  // the paint still due
    DispatchMessageA(&msg);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WinsimMessagesTest, GetMessageEndsWithQuitAndAsksTheIdleResponderWhenEmpty)
{
    HWND window = Make("main", WS_POPUP);
    int idleCalls = 0;
    winsim::SetIdleResponder([&] {
        ++idleCalls;
        if (idleCalls == 1)
            PostMessageA(window, WM_USER, 0, 0);
        else
            PostQuitMessage(3);
    });
    MSG msg;
    EXPECT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_EQ(idleCalls, 2);

    winsim::SetIdleResponder({});
    EXPECT_THROW(GetMessageA(&msg, nullptr, 0, 0), std::logic_error);  // would wait forever
}

TEST_F(WinsimMessagesTest, TranslateMessagePostsTheCharacterOfAKey)
{
    HWND window = Make("main", WS_POPUP);
    MSG key{window, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    EXPECT_TRUE(TranslateMessage(&key));
    MSG up{window, WM_KEYUP, 'A', 0, 0, {0, 0}};
    EXPECT_TRUE(TranslateMessage(&up));
    MSG other{window, WM_USER, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(TranslateMessage(&other));
    const std::vector<MSG> posted = winsim::PostedMessages();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(posted[0].wParam, static_cast<WPARAM>('a'));
}

TEST_F(WinsimMessagesTest, BeginPaintGivesTheInvalidRectangleErasesAndValidates)
{
    HWND window = Make("main", WS_POPUP | WS_VISIBLE);
    HWND child = Make("child", WS_CHILD | WS_VISIBLE, window, 50, 50);
    Drain();
    log.clear();
    const RECT area{40, 40, 60, 70};
    InvalidateRect(window, &area, TRUE);  // reaches the child under it too
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, window);  // parents before children
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    EXPECT_NE(dc, nullptr);
    EXPECT_EQ((std::vector<LONG>{paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right, paint.rcPaint.bottom}),
              (std::vector<LONG>{40, 40, 60, 70}));
    EXPECT_FALSE(paint.fErase);  // the class brush erased it
    EXPECT_EQ(Messages(), std::vector<UINT>{WM_ERASEBKGND});
    EndPaint(window, &paint);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, child);
    DispatchMessageA(&msg);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(winsim::DCsInUse(), 0u);

    // UpdateWindow paints at once; hidden windows get no WM_PAINT.
    InvalidateRect(window, nullptr, FALSE);
    log.clear();
    UpdateWindow(window);
    EXPECT_EQ(Messages("main"), std::vector<UINT>{WM_PAINT});
    ShowWindow(window, SW_HIDE);
    InvalidateRect(window, nullptr, FALSE);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WinsimMessagesTest, SetWindowPosMovesChildrenAlongAndFramesShrinkTheClientArea)
{
    HWND top = CreateWindowExA(0, "Recorder", "top", WS_POPUP | WS_CAPTION, 100, 100, 50, 60, nullptr, nullptr,
                               nullptr, nullptr);
    HWND child = Make("child", WS_CHILD | WS_VISIBLE, top, 5, 5);
    RECT client, r;
    GetClientRect(top, &client);
    EXPECT_EQ(client.right, 44);  // a 3-pixel frame and a 19-pixel caption, as Wine gives
    EXPECT_EQ(client.bottom, 35);
    GetWindowRect(child, &r);
    EXPECT_EQ(r.left, 100 + 3 + 5);
    EXPECT_EQ(r.top, 100 + 22 + 5);
    POINT p{0, 0};
    ClientToScreen(top, &p);
    EXPECT_EQ(p.x, 103);
    EXPECT_EQ(p.y, 122);

    log.clear();
    EXPECT_TRUE(SetWindowPos(top, HWND_TOPMOST, 10, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW));
    GetWindowRect(child, &r);
    EXPECT_EQ(r.left, 10 + 3 + 5);
    EXPECT_EQ(r.top, 20 + 22 + 5);
    EXPECT_TRUE(GetWindowLongA(top, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(IsWindowVisible(top));
    EXPECT_EQ(GetForegroundWindow(), top);
    EXPECT_EQ(Messages("top").front(), static_cast<UINT>(WM_MOVE));

    // A topmost window stays above a later one.
    HWND later = Make("later", WS_POPUP | WS_VISIBLE, nullptr, 10, 20);
    EXPECT_EQ(WindowFromPoint(POINT{12, 22}), top);
    SetWindowPos(later, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(WindowFromPoint(POINT{12, 22}), later);
}

}  // namespace
