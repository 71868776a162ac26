// Plays the installer's wizard on the real window system. The program stands in for the
// installer's driver: it fills the configuration, creates the background window and
// shows the welcome, mouse-type, directory and end pages through RunPage, with the
// installer's own sources and resources linked in. An operator thread acts as the user:
// it waits for each page, photographs the screen (wizard_*.bmp beside the program),
// compares the live controls with the page's own dialog template, and presses buttons
// and keys and answers message boxes the way a user would.
#include "platform.h"

#include "checks.h"
#include "res/resource_ids.h"
#include "wizard.h"

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

constexpr char PRODUCT[] = "Velmo";
constexpr char SETUP_CAPTION[] = "Velmo Setup Program";
constexpr char PAGE_CAPTION[] = "Velmo Setup";
constexpr char BROWSE_CAPTION[] = "Browse Directory";
constexpr char TEST_DIR[] = "C:\\VELMOTEST";
constexpr char NOT_COMPLETED[] = "Velmo installation is not completed !";
constexpr DWORD WAIT_MS = 5000;  // the longest the operator waits for anything it expects
constexpr DWORD BUTTON_TYPE = 0x0F;
constexpr DWORD STATIC_TYPE = 0x1F;
constexpr COLORREF MAGENTA = RGB(255, 0, 255);
constexpr COLORREF WHITE = RGB(255, 255, 255);

using checks::Label;

// ---- The two threads -----------------------------------------------------------------

DWORD pageThread;              // runs the pages: the program's main thread
HANDLE roundStart, roundDone;  // main thread to operator, operator to main thread
HANDLE pageReady;              // set once the page of the round has had WM_PAGEINIT
const char *roundClass = "";   // the class of the page the main thread is about to show
HWND readyPage;
std::string programFolder;        // with its trailing backslash
std::string directoryExistsText;  // string-table texts of the messages, read before the pages
std::string cannotCreateText;

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Runs in the page thread after every sent message: a page is ready for its user once
// its WM_PAGEINIT has returned, that is when RunPage enters the page's loop.
LRESULT CALLBACK AfterSentMessage(int code, WPARAM wParam, LPARAM lParam)
{
    const auto *sent = reinterpret_cast<const CWPRETSTRUCT *>(lParam);
    if (code == HC_ACTION && sent->message == WM_PAGEINIT && ClassOf(sent->hwnd) == roundClass) {
        readyPage = sent->hwnd;
        SetEvent(pageReady);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

template <class Condition>
bool WaitUntil(Condition done, DWORD milliseconds = WAIT_MS)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > milliseconds)
            return false;
        Sleep(10);
    }
    return true;
}

struct DialogSearch {
    HWND owner;
    const char *caption;
    HWND found;
};

BOOL CALLBACK MatchOwnedDialog(HWND window, LPARAM data)
{
    auto *search = reinterpret_cast<DialogSearch *>(data);
    if (IsWindowVisible(window) && GetWindow(window, GW_OWNER) == search->owner && ClassOf(window) == "#32770" &&
        (!search->caption || TextOf(window) == search->caption)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible dialog of the page thread owned by `owner` (a message box or the Browse
// Directory dialog), with the caption `caption` unless that is null.
HWND FindOwnedDialog(HWND owner, const char *caption)
{
    DialogSearch search = {owner, caption, nullptr};
    EnumThreadWindows(pageThread, MatchOwnedDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

DWORD WINAPI ClickThread(void *button)
{
    SendMessageA(static_cast<HWND>(button), BM_CLICK, 0, 0);
    return 0;
}

// A click on a button, sent from a thread of its own: the sending returns once the
// page's handler has returned, which is after any message box or dialog it opened.
class Press {
public:
    explicit Press(HWND button) : thread_(CreateThread(nullptr, 0, ClickThread, button, 0, nullptr)) {}
    ~Press()
    {
        if (thread_)
            CloseHandle(thread_);
    }
    Press(const Press &) = delete;
    Press &operator=(const Press &) = delete;

    bool Handled(DWORD milliseconds = WAIT_MS) const
    {
        return thread_ && WaitForSingleObject(thread_, milliseconds) == WAIT_OBJECT_0;
    }
    // The dialog the click opened, or null once the handler has returned without one.
    HWND Dialog(HWND owner, const char *caption) const
    {
        HWND found = nullptr;
        WaitUntil([&] { return (found = FindOwnedDialog(owner, caption)) != nullptr || Handled(0); });
        return found;
    }

private:
    HANDLE thread_;
};

// Enter or Escape as the keyboard delivers them: key down and key up posted to the
// control that has the focus in the page thread (the page itself when none of its
// controls has it), so that they pass through RunPage's loop like typed keys.
void PressKey(HWND page, UINT key)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    HWND target = page;
    if (GetGUIThreadInfo(pageThread, &info) && info.hwndFocus &&
        (info.hwndFocus == page || IsChild(page, info.hwndFocus)))
        target = info.hwndFocus;
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(key, 0)) << 16;
    PostMessageA(target, WM_KEYDOWN, key, scan | 1);
    PostMessageA(target, WM_KEYUP, key, scan | 1 | static_cast<LPARAM>(0xC0000000));
}

// One line in the log for a window of the page thread, after a failed step.
BOOL CALLBACK DescribeWindow(HWND window, LPARAM)
{
    RECT frame;
    GetWindowRect(window, &frame);
    printf("   window %p class \"%s\" text \"%s\" owner %p %s (%ld,%ld)-(%ld,%ld)\n", static_cast<void *>(window),
           ClassOf(window).c_str(), TextOf(window).c_str(), static_cast<void *>(GetWindow(window, GW_OWNER)),
           IsWindowVisible(window) ? "visible" : "hidden", frame.left, frame.top, frame.right, frame.bottom);
    return TRUE;
}

// What is left open after a failed step is closed, so that the next page can come.
void Rescue(HWND page)
{
    printf("   (closing what the failed step left open)\n");
    EnumThreadWindows(pageThread, DescribeWindow, 0);
    for (int attempt = 0; attempt < 20 && page && IsWindow(page); ++attempt) {
        while (HWND dialog = FindOwnedDialog(page, nullptr)) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            if (!WaitUntil([&] { return !IsWindow(dialog); }, 500))
                break;
        }
        PostMessageA(page, WM_CLOSE, 0, 0);
        WaitUntil([&] { return !IsWindow(page); }, 500);
    }
}

// ---- The screen ----------------------------------------------------------------------

// A picture of the whole screen as the window system shows it.
class ScreenShot {
public:
    ScreenShot() : width_(GetSystemMetrics(SM_CXSCREEN)), height_(GetSystemMetrics(SM_CYSCREEN))
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        stride_ = (width_ * 3 + 3) & ~3;
        HDC screen = GetDC(nullptr);
        void *bits = nullptr;
        bitmap_ = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<const BYTE *>(bits);
        if (bitmap_) {
            HDC memory = CreateCompatibleDC(screen);
            HGDIOBJ previous = SelectObject(memory, bitmap_);
            BitBlt(memory, 0, 0, width_, height_, screen, 0, 0, SRCCOPY);
            GdiFlush();
            SelectObject(memory, previous);
            DeleteDC(memory);
        }
        ReleaseDC(nullptr, screen);
    }
    ~ScreenShot()
    {
        if (bitmap_)
            DeleteObject(bitmap_);
    }
    ScreenShot(const ScreenShot &) = delete;
    ScreenShot &operator=(const ScreenShot &) = delete;

    COLORREF At(int x, int y) const
    {
        if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_)
            return CLR_INVALID;
        const BYTE *pixel = bits_ + y * stride_ + x * 3;
        return RGB(pixel[2], pixel[1], pixel[0]);
    }
    COLORREF At(POINT point) const { return At(point.x, point.y); }

    // Written as wizard_NAME.bmp beside the program: the file dialog moves the current
    // directory.
    void Save(const char *name) const
    {
        const std::string path = programFolder + "wizard_" + name + ".bmp";
        FILE *file = bits_ ? fopen(path.c_str(), "wb") : nullptr;
        if (!file) {
            printf("   (no screenshot wizard_%s.bmp)\n", name);
            return;
        }
        BITMAPINFOHEADER header = {};
        header.biSize = sizeof header;
        header.biWidth = width_;
        header.biHeight = -height_;
        header.biPlanes = 1;
        header.biBitCount = 24;
        header.biCompression = BI_RGB;
        header.biSizeImage = static_cast<DWORD>(stride_ * height_);
        BITMAPFILEHEADER fileHeader = {};
        fileHeader.bfType = 0x4D42;  // "BM"
        fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
        fileHeader.bfSize = fileHeader.bfOffBits + header.biSizeImage;
        fwrite(&fileHeader, sizeof fileHeader, 1, file);
        fwrite(&header, sizeof header, 1, file);
        fwrite(bits_, header.biSizeImage, 1, file);
        fclose(file);
        printf("   screenshot wizard_%s.bmp\n", name);
    }

private:
    int width_, height_, stride_ = 0;
    HBITMAP bitmap_ = nullptr;
    const BYTE *bits_ = nullptr;
};

// Has the window and what it owns repainted, and gives the window system time to put
// the result on the screen.
void LetPaint(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    SendMessageA(window, WM_NULL, 0, 0);
    Sleep(150);
}

POINT ScreenPoint(HWND window, int x, int y)
{
    POINT point = {x, y};
    ClientToScreen(window, &point);
    return point;
}

int DistinctColours(const ScreenShot &shot, const RECT &area)
{
    std::vector<COLORREF> seen;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF colour = shot.At(x, y);
            bool known = false;
            for (COLORREF other : seen)
                known = known || other == colour;
            if (!known)
                seen.push_back(colour);
            if (seen.size() > 16)
                return static_cast<int>(seen.size());
        }
    return static_cast<int>(seen.size());
}

// ---- Dialog templates ----------------------------------------------------------------

struct TemplateControl {
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT units = {};  // position and size in dialog units
    WORD id = 0;
    std::string className;  // ordinal classes by their names
    std::string text;
    WORD image = 0;  // resource id of a picture static's bitmap or icon
};

struct DialogTemplate {
    DWORD style = 0;
    RECT units = {};
    std::string className;
    std::string caption;
    std::string font;
    WORD pointSize = 0;
    std::vector<TemplateControl> controls;
};

// A name or ordinal of a template: 0xFFFF and the ordinal, or a zero-terminated text.
const WORD *ReadNameOrOrdinal(const WORD *at, std::string *name, WORD *ordinal)
{
    name->clear();
    *ordinal = 0;
    if (*at == 0xFFFF) {
        *ordinal = at[1];
        return at + 2;
    }
    for (; *at; ++at)
        name->push_back(static_cast<char>(*at));
    return at + 1;
}

const char *PredefinedClass(WORD ordinal)
{
    switch (ordinal) {
    case 0x80: return "Button";
    case 0x81: return "Edit";
    case 0x82: return "Static";
    case 0x83: return "ListBox";
    case 0x84: return "ScrollBar";
    case 0x85: return "ComboBox";
    default: return "?";
    }
}

RECT Units(const WORD *at)
{
    const int x = static_cast<SHORT>(at[0]), y = static_cast<SHORT>(at[1]);
    return RECT{x, y, x + static_cast<SHORT>(at[2]), y + static_cast<SHORT>(at[3])};
}

// The program's own RT_DIALOG resource `id`, as the dialog manager reads it.
bool ReadDialogTemplate(int id, DialogTemplate *dialog)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const auto *start = static_cast<const BYTE *>(loaded ? LockResource(loaded) : nullptr);
    if (!start)
        return false;
    const auto *at = reinterpret_cast<const WORD *>(start);
    dialog->style = MAKELONG(at[0], at[1]);
    const WORD count = at[4];
    dialog->units = Units(at + 5);
    at += 9;
    std::string menu;
    WORD ordinal;
    at = ReadNameOrOrdinal(at, &menu, &ordinal);
    at = ReadNameOrOrdinal(at, &dialog->className, &ordinal);
    at = ReadNameOrOrdinal(at, &dialog->caption, &ordinal);
    if (dialog->style & DS_SETFONT) {
        dialog->pointSize = *at++;
        at = ReadNameOrOrdinal(at, &dialog->font, &ordinal);
    }
    for (WORD i = 0; i < count; ++i) {
        // Each item starts on a 4-byte boundary of the template.
        const size_t offset = (reinterpret_cast<const BYTE *>(at) - start + 3) & ~size_t{3};
        at = reinterpret_cast<const WORD *>(start + offset);
        TemplateControl control;
        control.style = MAKELONG(at[0], at[1]);
        control.exStyle = MAKELONG(at[2], at[3]);
        control.units = Units(at + 4);
        control.id = at[8];
        at += 9;
        WORD classOrdinal;
        at = ReadNameOrOrdinal(at, &control.className, &classOrdinal);
        if (classOrdinal)
            control.className = PredefinedClass(classOrdinal);
        at = ReadNameOrOrdinal(at, &control.text, &control.image);
        const WORD extraBytes = *at++;
        at = reinterpret_cast<const WORD *>(reinterpret_cast<const BYTE *>(at) + extraBytes);
        dialog->controls.push_back(control);
    }
    return true;
}

// What a live control shows beyond its template: its text, and whether it is disabled.
struct Expectation {
    enum Rule { TEMPLATE_TEXT, GIVEN_TEXT, ANY_TEXT, DISABLED_AS } rule;
    WORD id;
    std::string text;
    bool disabled;
};
Expectation Shows(WORD id, std::string text) { return {Expectation::GIVEN_TEXT, id, std::move(text), false}; }
Expectation AnyText(WORD id) { return {Expectation::ANY_TEXT, id, "", false}; }
Expectation DisabledAs(WORD id, bool disabled) { return {Expectation::DISABLED_AS, id, "", disabled}; }

// The template's text with the product name for "%s", as the pages put it.
std::string WithProductName(std::string text)
{
    const size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, PRODUCT);
    return text;
}

SIZE ImageSize(HWND control, DWORD staticType)
{
    BITMAP bitmap = {};
    if (staticType == SS_BITMAP) {
        auto image = reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
        if (image && GetObjectA(image, sizeof bitmap, &bitmap))
            return SIZE{bitmap.bmWidth, bitmap.bmHeight};
    } else {
        auto icon = reinterpret_cast<HICON>(SendMessageA(control, STM_GETICON, 0, 0));
        ICONINFO info = {};
        if (icon && GetIconInfo(icon, &info)) {
            // Without a colour bitmap the mask holds the AND and XOR halves one above the other.
            const bool colour = info.hbmColor != nullptr;
            GetObjectA(colour ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            return SIZE{bitmap.bmWidth, colour ? bitmap.bmHeight : bitmap.bmHeight / 2};
        }
    }
    return SIZE{0, 0};
}

bool IsClass(const TemplateControl &item, const char *name)
{
    return lstrcmpiA(item.className.c_str(), name) == 0;
}

void Mismatch(std::string *report, const char *what, const std::string &expected, const std::string &actual)
{
    *report += std::string("; ") + what + " expected " + expected + " actual " + actual;
}

std::string RectText(const RECT &r)
{
    return Label("(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom).text;
}

// One control against its template item: id, class, text, the styles that show, the
// rectangle (a picture static takes the size of its picture) and, for a picture, that
// it shows on the screen.
void CheckControl(HWND dialog, HWND control, const TemplateControl &item, const char *where, size_t index,
                  const std::vector<Expectation> &expectations, const ScreenShot &shot)
{
    std::string report;
    const WORD id = LOWORD(GetDlgCtrlID(control));
    if (id != item.id)
        Mismatch(&report, "id", std::to_string(item.id), std::to_string(id));
    const std::string className = ClassOf(control);
    if (lstrcmpiA(className.c_str(), item.className.c_str()) != 0)
        Mismatch(&report, "class", item.className, className);

    // A picture's text is its resource; a list's or combo box's text is its selection.
    const bool list = IsClass(item, "ListBox") || IsClass(item, "ComboBox");
    int textRule = item.image || list ? Expectation::ANY_TEXT : Expectation::TEMPLATE_TEXT;
    std::string expectedText = WithProductName(item.text);
    bool disabled = (item.style & WS_DISABLED) != 0;
    for (const Expectation &e : expectations) {
        if (e.id != item.id)
            continue;
        if (e.rule == Expectation::DISABLED_AS) {
            disabled = e.disabled;
        } else {
            textRule = e.rule;
            expectedText = e.text;
        }
    }
    const std::string text = TextOf(control);
    if (textRule != Expectation::ANY_TEXT && text != expectedText)
        Mismatch(&report, "text", "\"" + expectedText + "\"", "\"" + text + "\"");

    const DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(control, GWL_EXSTYLE));
    if ((style & WS_VISIBLE) != (item.style & WS_VISIBLE))
        Mismatch(&report, "visible", std::to_string((item.style & WS_VISIBLE) != 0),
                 std::to_string((style & WS_VISIBLE) != 0));
    if (((style & WS_DISABLED) != 0) != disabled)
        Mismatch(&report, "disabled", std::to_string(disabled), std::to_string((style & WS_DISABLED) != 0));
    if ((exStyle & WS_EX_STATICEDGE) != (item.exStyle & WS_EX_STATICEDGE))
        Mismatch(&report, "static edge", std::to_string((item.exStyle & WS_EX_STATICEDGE) != 0),
                 std::to_string((exStyle & WS_EX_STATICEDGE) != 0));
    const bool isButton = IsClass(item, "Button");
    const bool isStatic = IsClass(item, "Static");
    if (isButton && (style & BUTTON_TYPE) != (item.style & BUTTON_TYPE))
        Mismatch(&report, "button type", std::to_string(item.style & BUTTON_TYPE), std::to_string(style & BUTTON_TYPE));
    if (isStatic && (style & STATIC_TYPE) != (item.style & STATIC_TYPE))
        Mismatch(&report, "static type", std::to_string(item.style & STATIC_TYPE), std::to_string(style & STATIC_TYPE));

    // The dialog manager maps the position and the size each on its own.
    RECT expected = {item.units.left, item.units.top, item.units.right - item.units.left,
                     item.units.bottom - item.units.top};
    MapDialogRect(dialog, &expected);
    expected.right += expected.left;
    expected.bottom += expected.top;
    RECT actual;
    GetWindowRect(control, &actual);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&actual), 2);
    const DWORD staticType = item.style & STATIC_TYPE;
    const bool picture = isStatic && item.image && (staticType == SS_BITMAP || staticType == SS_ICON);
    if (picture) {
        const SIZE size = ImageSize(control, staticType);
        if (size.cx == 0)
            Mismatch(&report, "picture", std::to_string(item.image), "none");
        expected.right = expected.left + size.cx;
        expected.bottom = expected.top + size.cy;
    }
    // A list box shows whole items and a drop-down combo box its closed field: their
    // height may be less than the template's.
    const bool shorter = list && actual.bottom > actual.top && actual.bottom <= expected.bottom;
    if (shorter)
        actual.bottom = expected.bottom;
    if (!EqualRect(&expected, &actual))
        Mismatch(&report, "rectangle", RectText(expected), RectText(actual));
    if (picture && (style & WS_VISIBLE)) {
        RECT client;
        GetClientRect(control, &client);
        const POINT origin = ScreenPoint(control, 0, 0);
        OffsetRect(&client, origin.x, origin.y);
        const int colours = DistinctColours(shot, client);
        if (colours < 4)
            Mismatch(&report, "colours on the screen", "4 or more", std::to_string(colours));
    }

    const Label label("%s control %u (id %d \"%s\")", where, static_cast<unsigned>(index), static_cast<SHORT>(item.id),
                      item.image ? Label("#%u", item.image).text : item.text.c_str());
    if (checks::Count(report.empty()))
        printf("ok %s as its template\n", label.text);
    else
        printf("FAIL %s%s\n", label.text, report.c_str());
}

// The children of `dialog`, in z-order, against the items of its template, in order.
void CheckControls(HWND dialog, const DialogTemplate &dialogTemplate, const char *where,
                   const std::vector<Expectation> &expectations, const ScreenShot &shot)
{
    size_t index = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++index)
        if (index < dialogTemplate.controls.size())
            CheckControl(dialog, child, dialogTemplate.controls[index], where, index, expectations, shot);
    CHECK_EQ(Label("%s: as many controls as its template", where), dialogTemplate.controls.size(), index);

    // The dialog manager gives the controls the template's font; button 1 is on every dialog here.
    HWND button = GetDlgItem(dialog, 1);
    auto font = reinterpret_cast<HFONT>(button ? SendMessageA(button, WM_GETFONT, 0, 0) : 0);
    LOGFONTA face = {};
    if (font)
        GetObjectA(font, sizeof face, &face);
    CHECK_STR(Label("%s: font", where), dialogTemplate.font.c_str(), face.lfFaceName);
}

// ---- Pages, boxes and the background ---------------------------------------------------

// A page as the frame shows it: its class and caption, owned by the background window,
// the template's size (one pixel wider and higher, from the centring), centred on the
// screen and on top, and the controls of its template.
void CheckPage(HWND page, int dialogId, const char *name, const std::vector<Expectation> &expectations)
{
    DialogTemplate dialogTemplate;
    if (!REQUIRE(Label("%s: template %d readable", name, dialogId), ReadDialogTemplate(dialogId, &dialogTemplate)))
        return;
    LetPaint(page);
    const ScreenShot shot;
    shot.Save(name);

    CHECK_STR(Label("%s: window class", name), dialogTemplate.className.c_str(), ClassOf(page).c_str());
    CHECK_STR(Label("%s: caption", name), PAGE_CAPTION, TextOf(page).c_str());
    CHECK_EQ(Label("%s: owned by the background window", name), backgroundWindow, GetWindow(page, GW_OWNER));
    const DWORD frameStyles = WS_POPUP | WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    CHECK_EQ(Label("%s: frame styles", name), dialogTemplate.style & frameStyles,
             static_cast<DWORD>(GetWindowLongA(page, GWL_STYLE)) & frameStyles);

    RECT size = {0, 0, dialogTemplate.units.right - dialogTemplate.units.left,
                 dialogTemplate.units.bottom - dialogTemplate.units.top};
    MapDialogRect(page, &size);
    RECT client;
    GetClientRect(page, &client);
    CHECK_EQ(Label("%s: client width", name), size.right + 1, client.right);
    CHECK_EQ(Label("%s: client height", name), size.bottom + 1, client.bottom);
    RECT frame;
    GetWindowRect(page, &frame);
    CHECK_EQ(Label("%s: centred, left", name), (screenWidth - (frame.right - frame.left)) / 2, frame.left);
    CHECK_EQ(Label("%s: centred, top", name), (screenHeight - (frame.bottom - frame.top)) / 2, frame.top);
    const POINT middle = ScreenPoint(page, client.right / 2, client.bottom / 2);
    CHECK_EQ(Label("%s: on top at its middle", name), page, GetAncestor(WindowFromPoint(middle), GA_ROOT));

    CheckControls(page, dialogTemplate, name, expectations, shot);
}

bool Checked(HWND page, int id)
{
    return IsDlgButtonChecked(page, id) == BST_CHECKED;
}

struct BoxContent {
    std::string text;
    HICON icon = nullptr;
    std::vector<int> buttons;  // the visible buttons' ids
};

BoxContent ReadBox(HWND box)
{
    BoxContent content;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string className = ClassOf(child);
        const DWORD style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
        if (lstrcmpiA(className.c_str(), "Static") == 0) {
            if ((style & STATIC_TYPE) == SS_ICON)
                content.icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
            else if (!TextOf(child).empty())
                content.text = TextOf(child);
        } else if (lstrcmpiA(className.c_str(), "Button") == 0 && (style & WS_VISIBLE)) {
            content.buttons.push_back(GetDlgCtrlID(child));
        }
    }
    return content;
}

// Checks a message box of the installer (caption, text, icon, buttons: OK, or OK and
// Cancel) and presses `answer`.
bool AnswerBox(HWND box, const char *what, const char *text, LPCSTR icon, bool okCancel, int answer,
               const char *screenshot = nullptr)
{
    if (!REQUIRE(Label("%s: message box shown", what), box))
        return false;
    if (screenshot) {
        LetPaint(box);
        ScreenShot().Save(screenshot);
    }
    const BoxContent content = ReadBox(box);
    CHECK_STR(Label("%s: box caption", what), SETUP_CAPTION, TextOf(box).c_str());
    CHECK_STR(Label("%s: box text", what), text, content.text.c_str());
    CHECK_EQ(Label("%s: box icon", what), LoadIconA(nullptr, icon), content.icon);
    const std::vector<int> buttons = okCancel ? std::vector<int>{IDOK, IDCANCEL} : std::vector<int>{IDOK};
    CHECK_TRUE(Label("%s: box buttons are %s", what, okCancel ? "OK and Cancel" : "OK only"),
               content.buttons == buttons);
    SendMessageA(GetDlgItem(box, answer), BM_CLICK, 0, 0);
    return REQUIRE(Label("%s: box closed by its button", what), WaitUntil([&] { return !IsWindow(box); }));
}

bool PageEnds(HWND page, const char *what)
{
    return CHECK_TRUE(Label("%s: the page ends", what), WaitUntil([&] { return !IsWindow(page); }));
}

// Presses a button whose handling must open nothing.
bool Click(HWND page, int id, const char *what)
{
    Press press(GetDlgItem(page, id));
    if (HWND box = press.Dialog(page, nullptr)) {
        printf("FAIL %s: unexpected dialog \"%s\"\n", what, ReadBox(box).text.c_str());
        checks::Count(false);
        return false;
    }
    return REQUIRE(Label("%s: handled", what), press.Handled());
}

// Next on the directory page, answered with the form message (string 33); the page stays.
bool RefusedDestination(HWND page, const char *what)
{
    Press next(GetDlgItem(page, IDC_NEXT));
    if (!AnswerBox(next.Dialog(page, SETUP_CAPTION), what, cannotCreateText.c_str(), IDI_EXCLAMATION,
                   false, IDOK))
        return false;
    if (!REQUIRE(Label("%s: handled", what), next.Handled()))
        return false;
    return CHECK_TRUE(Label("%s: the page stays, with no further box", what),
                      IsWindow(page) && !FindOwnedDialog(page, nullptr));
}

// The background window: class, whole screen, top-most; on the screen the gradient
// from RGB(0, 0, 255) in the top row down to RGB(0, 0, 1) in the bottom row, and the
// title and banner pictures drawn over it without their magenta pixels.
void CheckBackground(const ScreenShot &shot)
{
    CHECK_STR("background: window class", "SetupMain", ClassOf(backgroundWindow).c_str());
    RECT frame;
    GetWindowRect(backgroundWindow, &frame);
    const RECT screen = {0, 0, screenWidth, screenHeight};
    CHECK_TRUE(Label("background: covers the screen, %s", RectText(frame).c_str()), EqualRect(&frame, &screen));
    CHECK_TRUE("background: top-most", GetWindowLongA(backgroundWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);

    // A column right of the pages, from the top row of the client area to its bottom.
    RECT client;
    GetClientRect(backgroundWindow, &client);
    const int column = client.right * 7 / 8;
    std::vector<COLORREF> rows;
    for (int y = 0; y < client.bottom; ++y)
        rows.push_back(shot.At(ScreenPoint(backgroundWindow, column, y)));
    CHECK_EQ("background: top row", RGB(0, 0, 255), rows.front());
    CHECK_EQ("background: bottom row", RGB(0, 0, 1), rows.back());
    int bands = 1, wrong = -1;
    for (size_t y = 0; y < rows.size(); ++y) {
        const bool blueOnly = GetRValue(rows[y]) == 0 && GetGValue(rows[y]) == 0;
        const bool falling = y == 0 || GetBValue(rows[y]) == GetBValue(rows[y - 1]) ||
                             GetBValue(rows[y]) + 1 == GetBValue(rows[y - 1]);
        if (y > 0 && rows[y] != rows[y - 1])
            ++bands;
        if (wrong < 0 && !(blueOnly && falling))
            wrong = static_cast<int>(y);
    }
    CHECK_EQ("background: gradient rows falling one step of blue at a time (first wrong row)", -1, wrong);
    CHECK_EQ("background: gradient bands", 255, bands);

    // Every pixel of the two pictures: as in the bitmap, or the gradient of its row where
    // the bitmap is magenta.
    struct Picture {
        const char *name;
        int id;
        POINT origin;
    };
    const Picture pictures[] = {{"title", IDB_TITLE, {20, 10}}, {"banner", IDB_BANNER, {20, screenHeight - 60}}};
    for (const Picture &picture : pictures) {
        HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(picture.id));
        if (!REQUIRE(Label("background: %s bitmap loads", picture.name), bitmap))
            continue;
        BITMAP size = {};
        GetObjectA(bitmap, sizeof size, &size);
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        int white = 0, keyed = 0, mismatches = 0;
        std::string first;
        for (int y = 0; y < size.bmHeight; ++y) {
            for (int x = 0; x < size.bmWidth; ++x) {
                const COLORREF own = GetPixel(memory, x, y);
                const POINT at = ScreenPoint(backgroundWindow, picture.origin.x + x, picture.origin.y + y);
                const COLORREF expected = own == MAGENTA ? rows[picture.origin.y + y] : own;
                white += own == WHITE;
                keyed += own == MAGENTA;
                if (shot.At(at) != expected && mismatches++ == 0)
                    first = Label(" (first at %d,%d: expected 0x%06lX actual 0x%06lX)", x, y, expected,
                                  shot.At(at)).text;
            }
        }
        SelectObject(memory, previous);
        DeleteDC(memory);
        DeleteObject(bitmap);
        CHECK_TRUE(Label("background: %s has white lettering and a magenta ground", picture.name),
                   white > 0 && keyed > 0);
        CHECK_EQ(Label("background: %s pixels differing from the keyed picture%s", picture.name, first.c_str()), 0,
                 mismatches);
    }
}

// ---- The rounds ----------------------------------------------------------------------

std::string DestDirShown(HWND page)
{
    return TextOf(GetDlgItem(page, IDC_DEST_DIR));
}

// The Browse Directory dialog opened from the directory page: it shows destDir in its
// edit box with the focus and all text selected; `typed` is typed over it and the
// dialog closed with `button`.
bool Browse(HWND page, const char *typed, int button, bool checkDialog)
{
    const std::string before = config.destDir;
    Press browse(GetDlgItem(page, IDC_BROWSE));
    HWND dialog = browse.Dialog(page, nullptr);
    if (!REQUIRE("browse: Browse Directory dialog shown", dialog))
        return false;
    // Given no title, the platform's file dialog may put its own default title over the
    // template's caption: noted, not judged.
    const std::string caption = TextOf(dialog);
    if (checkDialog && caption != BROWSE_CAPTION)
        printf("   note: the Browse Directory dialog is captioned \"%s\", not \"%s\"\n", caption.c_str(),
               BROWSE_CAPTION);
    HWND edit = GetDlgItem(dialog, IDC_DEST_DIR);
    CHECK_TRUE(Label("browse: the edit box shows destDir \"%s\"", before.c_str()),
               WaitUntil([&] { return TextOf(edit) == before; }));
    if (checkDialog) {
        DialogTemplate dialogTemplate;
        if (REQUIRE("browse: template readable", ReadDialogTemplate(IDD_BROWSE, &dialogTemplate))) {
            LetPaint(dialog);
            const ScreenShot shot;
            shot.Save("browse");
            // The file dialog fills the current directory and the hidden file name itself.
            CheckControls(dialog, dialogTemplate, "browse",
                          {Shows(IDC_DEST_DIR, before), AnyText(IDC_BROWSE_CURRENT_DIR), AnyText(IDC_BROWSE_FILE_NAME)},
                          shot);
            GUITHREADINFO info = {};
            info.cbSize = sizeof info;
            GetGUIThreadInfo(pageThread, &info);
            CHECK_EQ("browse: the edit box has the focus", edit, info.hwndFocus);
            const DWORD selection = static_cast<DWORD>(SendMessageA(edit, EM_GETSEL, 0, 0));
            CHECK_TRUE("browse: all of the edit box selected",
                       LOWORD(selection) == 0 && static_cast<size_t>(HIWORD(selection)) == before.size());
        }
    }
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed));
    SendMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
    if (!REQUIRE("browse: dialog closed", WaitUntil([&] { return !IsWindow(dialog); })))
        return false;
    return REQUIRE("browse: handled", browse.Handled());
}

std::string TestPath(const char *below)
{
    return std::string(TEST_DIR) + below;
}

void SetDestDir(const std::string &path)
{
    lstrcpynA(config.destDir, path.c_str(), PATH_CHARS);
}

struct Round {
    const char *name;
    const char *className;
    WNDPROC procedure;
    int dialogId;
    void (*prepare)();        // the wizard state the driver sets before the page
    bool (*play)(HWND page);  // the user, on the operator thread
    SHORT result;             // expected page result; -1 when the page sets none
    void (*after)();          // what holds once the page has ended
};

void Nothing() {}

const Round ROUNDS[] = {
    {"welcome", "SETUP_BEGIN", BeginPageProc, IDD_WELCOME, Nothing,
     [](HWND page) {
         CheckBackground(ScreenShot());  // as the first, dissolving paint left it
         CheckPage(page, IDD_WELCOME, "welcome", {});
         return Click(page, IDC_NEXT, "welcome: Next") && PageEnds(page, "welcome: Next");
     },
     PAGE_NEXT, Nothing},

    {"mouse type, Back", "SETUP_SELMOUSE", MouseTypePageProc, IDD_MOUSE_TYPE,
     [] { serialMouse = 1; backEnabled = 1; },
     [](HWND page) {
         CheckPage(page, IDD_MOUSE_TYPE, "mouse_type", {DisabledAs(IDC_BACK, false)});
         CHECK_TRUE("mouse type: Serial Mouse checked at first", Checked(page, IDC_SERIAL_MOUSE));
         CHECK_TRUE("mouse type: PS/2 Mouse not checked", !Checked(page, IDC_PS2_MOUSE));
         return Click(page, IDC_BACK, "mouse type: Back") && PageEnds(page, "mouse type: Back");
     },
     PAGE_BACK, Nothing},

    {"mouse type, PS/2 and Next", "SETUP_SELMOUSE", MouseTypePageProc, IDD_MOUSE_TYPE, Nothing,
     [](HWND page) {
         CHECK_TRUE("mouse type again: Back enabled", IsWindowEnabled(GetDlgItem(page, IDC_BACK)));
         if (!Click(page, IDC_PS2_MOUSE, "mouse type: PS/2 Mouse"))
             return false;
         CHECK_TRUE("mouse type: PS/2 Mouse checked by the click", Checked(page, IDC_PS2_MOUSE));
         CHECK_TRUE("mouse type: Serial Mouse unchecked by the click", !Checked(page, IDC_SERIAL_MOUSE));
         CHECK_EQ("mouse type: serialMouse at once", 0, serialMouse);
         return Click(page, IDC_NEXT, "mouse type: Next") && PageEnds(page, "mouse type: Next");
     },
     PAGE_NEXT, [] { CHECK_EQ("mouse type: serialMouse after Next", 0, serialMouse); }},

    // Update mode: no Back; Escape works as Cancel.
    {"mouse type, update mode, Escape", "SETUP_SELMOUSE", MouseTypePageProc, IDD_MOUSE_TYPE,
     [] { backEnabled = 0; },
     [](HWND page) {
         CheckPage(page, IDD_MOUSE_TYPE, "mouse_type_update_mode", {DisabledAs(IDC_BACK, true)});
         CHECK_TRUE("mouse type shown again: PS/2 Mouse checked", Checked(page, IDC_PS2_MOUSE));
         CHECK_TRUE("mouse type shown again: Serial Mouse unchecked", !Checked(page, IDC_SERIAL_MOUSE));
         PressKey(page, VK_ESCAPE);
         HWND box = nullptr;
         WaitUntil([&] { return (box = FindOwnedDialog(page, SETUP_CAPTION)) != nullptr; });
         return AnswerBox(box, "mouse type: Escape", NOT_COMPLETED, IDI_EXCLAMATION, false, IDOK, "not_completed") &&
                PageEnds(page, "mouse type: Escape");
     },
     PAGE_CANCEL,
     [] {
         CHECK_EQ("mouse type: Cancel keeps the choice", 0, serialMouse);
         backEnabled = 1;
     }},

    {"welcome, Enter", "SETUP_BEGIN", BeginPageProc, IDD_WELCOME, Nothing,
     [](HWND page) {
         PressKey(page, VK_RETURN);
         return PageEnds(page, "welcome: Enter");
     },
     PAGE_NEXT, Nothing},

    {"welcome, Cancel", "SETUP_BEGIN", BeginPageProc, IDD_WELCOME, Nothing,
     [](HWND page) {
         Press cancel(GetDlgItem(page, IDC_CANCEL));
         return AnswerBox(cancel.Dialog(page, SETUP_CAPTION), "welcome: Cancel", NOT_COMPLETED, IDI_EXCLAMATION,
                          false, IDOK) &&
                REQUIRE("welcome: Cancel handled", cancel.Handled()) && PageEnds(page, "welcome: Cancel");
     },
     PAGE_CANCEL, Nothing},

    {"directory, new", "SETUP_SELDIR", DirectoryPageProc, IDD_DIRECTORY, [] { SetDestDir(TEST_DIR); },
     [](HWND page) {
         CheckPage(page, IDD_DIRECTORY, "directory", {Shows(IDC_DEST_DIR, TEST_DIR)});
         return Click(page, IDC_NEXT, "directory new: Next") && PageEnds(page, "directory new: Next");
     },
     PAGE_NEXT, [] { CHECK_TRUE("directory new: created", DirectoryExists(TEST_DIR)); }},

    {"directory, existing", "SETUP_SELDIR", DirectoryPageProc, IDD_DIRECTORY, Nothing,
     [](HWND page) {
         CHECK_STR("directory existing: shown", TEST_DIR, DestDirShown(page).c_str());
         {
             Press next(GetDlgItem(page, IDC_NEXT));
             if (!AnswerBox(next.Dialog(page, SETUP_CAPTION), "directory existing: Next, Cancel",
                            directoryExistsText.c_str(), IDI_QUESTION, true, IDCANCEL, "directory_exists"))
                 return false;
             if (!REQUIRE("directory existing: Cancel handled", next.Handled()))
                 return false;
             CHECK_TRUE("directory existing: the page stays, with no further box",
                        IsWindow(page) && !FindOwnedDialog(page, nullptr));
         }
         Press next(GetDlgItem(page, IDC_NEXT));
         return AnswerBox(next.Dialog(page, SETUP_CAPTION), "directory existing: Next, OK",
                          directoryExistsText.c_str(), IDI_QUESTION, true, IDOK) &&
                REQUIRE("directory existing: OK handled", next.Handled()) && PageEnds(page, "directory existing: OK");
     },
     PAGE_NEXT, Nothing},

    // A destination without a drive, then Browse: Cancel keeps destDir, OK takes the typed path.
    {"directory, no drive, Browse", "SETUP_SELDIR", DirectoryPageProc, IDD_DIRECTORY, [] { SetDestDir("X"); },
     [](HWND page) {
         CHECK_STR("directory no drive: shown", "X", DestDirShown(page).c_str());
         if (!RefusedDestination(page, "directory no drive: Next"))
             return false;
         CHECK_STR("directory no drive: destDir", "X", config.destDir);
         if (!Browse(page, "C:\\NOT_TAKEN", IDCANCEL, true))
             return false;
         CHECK_STR("browse Cancel: destDir unchanged", "X", config.destDir);
         CHECK_STR("browse Cancel: the page shows it", "X", DestDirShown(page).c_str());
         const std::string typed = "c:\\velmotest\\sub";  // a lower-case drive is accepted
         if (!Browse(page, typed.c_str(), IDOK, false))
             return false;
         CHECK_STR("browse OK: destDir is the typed path", typed.c_str(), config.destDir);
         CHECK_STR("browse OK: the page shows it", typed.c_str(), DestDirShown(page).c_str());
         return Click(page, IDC_NEXT, "directory typed: Next") && PageEnds(page, "directory typed: Next");
     },
     PAGE_NEXT, [] { CHECK_TRUE("directory typed: created", DirectoryExists(TestPath("\\SUB").c_str())); }},

    // Only the last part of a path is created: a missing parent is refused. Back then.
    {"directory, missing parent, Back", "SETUP_SELDIR", DirectoryPageProc, IDD_DIRECTORY,
     [] { SetDestDir(TestPath("\\MISSING\\DEEP")); },
     [](HWND page) {
         if (!RefusedDestination(page, "directory missing parent: Next"))
             return false;
         CHECK_TRUE("directory missing parent: nothing created", !DirectoryExists(TestPath("\\MISSING").c_str()));
         return Click(page, IDC_BACK, "directory: Back") && PageEnds(page, "directory: Back");
     },
     PAGE_BACK,
     [] {
         CHECK_STR("directory: destDir keeps the refused path", TestPath("\\MISSING\\DEEP").c_str(), config.destDir);
     }},

    {"directory, Cancel", "SETUP_SELDIR", DirectoryPageProc, IDD_DIRECTORY, Nothing,
     [](HWND page) {
         Press cancel(GetDlgItem(page, IDC_CANCEL));
         return AnswerBox(cancel.Dialog(page, SETUP_CAPTION), "directory: Cancel", NOT_COMPLETED, IDI_EXCLAMATION,
                          false, IDOK) &&
                REQUIRE("directory: Cancel handled", cancel.Handled()) && PageEnds(page, "directory: Cancel");
     },
     PAGE_CANCEL, Nothing},

    // Escape, No and Finish go through the page's queue in this order: were Escape to
    // end the page, it would end before No was chosen.
    {"end, No", "SETUP_END", EndPageProc, IDD_END, [] { restartNow = 1; },
     [](HWND page) {
         CheckPage(page, IDD_END, "end", {});
         CHECK_TRUE("end: Yes checked at first", Checked(page, IDC_RESTART_NOW));
         CHECK_TRUE("end: No not checked", !Checked(page, IDC_RESTART_LATER));
         PressKey(page, VK_ESCAPE);
         PostMessageA(GetDlgItem(page, IDC_RESTART_LATER), BM_CLICK, 0, 0);
         PostMessageA(GetDlgItem(page, IDC_FINISH), BM_CLICK, 0, 0);
         return PageEnds(page, "end: Escape, No, Finish");
     },
     -1, [] { CHECK_EQ("end: No and Finish clear restartNow", 0, restartNow); }},

    {"end, Enter", "SETUP_END", EndPageProc, IDD_END, [] { restartNow = 1; },
     [](HWND page) {
         CHECK_TRUE("end again: Yes checked", Checked(page, IDC_RESTART_NOW));
         PressKey(page, VK_RETURN);
         return PageEnds(page, "end: Enter");
     },
     -1, [] { CHECK_EQ("end: Enter with Yes keeps restartNow", 1, restartNow); }},
};

// The user: for every round, waits for the page, plays its part and reports back.
DWORD WINAPI Operator(void *)
{
    for (const Round &round : ROUNDS) {
        WaitForSingleObject(roundStart, INFINITE);
        const bool shown = WaitForSingleObject(pageReady, WAIT_MS) == WAIT_OBJECT_0;
        HWND page = shown ? readyPage : FindWindowA(round.className, nullptr);
        if (!REQUIRE(Label("%s: page shown", round.name), shown) || !round.play(page))
            Rescue(page);
        SetEvent(roundDone);
    }
    return 0;
}

// Waits for `event` while serving the thread's windows.
bool WaitServing(HANDLE event, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= milliseconds)
            return false;
        const DWORD woken = MsgWaitForMultipleObjects(1, &event, FALSE, milliseconds - spent, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0)
            return true;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void RemoveTree(const std::string &path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + "\\" + name);
            else
                DeleteFileA((path + "\\" + name).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

}  // namespace

int main()
{
    checks::Start("wizard_pages_check");
    const DWORD programStart = GetTickCount();

    // What the driver sets up before the first page.
    programInstance = GetModuleHandleA(nullptr);
    screenWidth = GetSystemMetrics(SM_CXSCREEN);
    screenHeight = GetSystemMetrics(SM_CYSCREEN);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    programFolder.assign(path, strrchr(path, '\\') ? strrchr(path, '\\') + 1 - path : 0);
    lstrcpyA(config.productName, PRODUCT);
    lstrcpyA(config.setupCaption, SETUP_CAPTION);
    config.minimumSpaceKB = 1024;
    GetWindowsDirectoryA(config.windowsDir, PATH_CHARS);
    RemoveTree(TEST_DIR);
    REQUIRE("test folder absent at the start", !DirectoryExists(TEST_DIR));
    char text[TEXT_CHARS] = "";
    LoadStringA(programInstance, IDS_DIRECTORY_EXISTS, text, sizeof text);
    directoryExistsText = text;
    LoadStringA(programInstance, IDS_CANNOT_CREATE_DIRECTORY, text, sizeof text);
    cannotCreateText = text;

    const DWORD backgroundStart = GetTickCount();
    if (!REQUIRE("background window created", CreateBackgroundWindow()))
        return checks::Finish();
    printf("   background window with its first, dissolving paint: %lu ms\n", GetTickCount() - backgroundStart);

    pageThread = GetCurrentThreadId();
    roundStart = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    roundDone = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    pageReady = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, AfterSentMessage, nullptr, pageThread);
    if (!REQUIRE("hook on the page thread", hook))
        return checks::Finish();
    HANDLE operatorThread = CreateThread(nullptr, 0, Operator, nullptr, 0, nullptr);

    const DWORD pagesStart = GetTickCount();
    for (const Round &round : ROUNDS) {
        printf("-- %s\n", round.name);
        const DWORD start = GetTickCount();
        round.prepare();
        roundClass = round.className;
        ResetEvent(pageReady);
        SetEvent(roundStart);
        const SHORT result = RunPage(round.className, round.procedure, round.dialogId);
        if (!REQUIRE(Label("%s: the operator finished", round.name), WaitServing(roundDone, 30000)))
            break;
        if (round.result >= 0)
            CHECK_EQ(Label("%s: page result", round.name), round.result, result);
        round.after();
        printf("   %s: %lu ms\n", round.name, GetTickCount() - start);
    }
    printf("   all pages: %lu ms\n", GetTickCount() - pagesStart);

    WaitForSingleObject(operatorThread, 1000);
    UnhookWindowsHookEx(hook);
    DestroyWindow(backgroundWindow);
    RemoveTree(TEST_DIR);
    printf("   whole program: %lu ms\n", GetTickCount() - programStart);
    return checks::Finish();
}
