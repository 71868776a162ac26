// The platform's control classes: Button, Static, Edit, ListBox, ComboBox and
// ScrollBar, with the state and messages the installer uses, and how they paint.
//
// The rules follow what the platform does (checked under Wine):
// - BM_CLICK gives the button the focus, then: an automatic check box toggles, an
//   automatic radio button checks itself and unchecks the other automatic radio
//   buttons of its group (visible and enabled ones), and the parent gets
//   WM_COMMAND(id | BN_CLICKED << 16, button) after the state has changed; a radio
//   button already checked notifies again. (Wine hangs on BM_CLICK to a disabled
//   button; here a disabled button ignores it, as it ignores the mouse.)
// - BM_SETCHECK changes only that button; on a radio button it also sets WS_TABSTOP
//   when checked and clears it when unchecked. Push buttons have no check state.
// - Taking the focus does not check a radio button (the dialog manager clicks one the
//   arrow keys reach).
// - WM_SETTEXT on an edit control notifies EN_UPDATE, then EN_CHANGE; taking and
//   losing the focus notify EN_SETFOCUS and EN_KILLFOCUS. An edit control or list box
//   created with WS_BORDER gets WS_EX_CLIENTEDGE in its place.
// - A static with SS_BITMAP or SS_ICON loads its image from the module it is created
//   for (the name in its text) and takes the image's size.
// - List and combo boxes sort without regard to case (LBS_SORT, CBS_SORT); their
//   "find" messages match a prefix without regard to case, searching after the given
//   index and wrapping.
// Painting is approximate: backgrounds, frames, images and check marks; no text.
#include "world.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace winsim {
namespace {

constexpr COLORREF WHITE = 0xFFFFFF;
constexpr COLORREF BLACK = 0x000000;

DWORD ButtonType(const Window &w)
{
    return w.style & BS_TYPEMASK;
}

bool IsCheckable(DWORD type)
{
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_3STATE ||
           type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON;
}

bool IsRadio(DWORD type)
{
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

RECT ClientOf(const Window &w)
{
    return RECT{0, 0, w.client.right - w.client.left, w.client.bottom - w.client.top};
}

// Fills the client area with the brush the parent gives for `message` (WM_CTLCOLOR*).
void PaintBackground(HWND window, HDC dc, UINT message)
{
    const Window *w = FindWindowRecord(window);
    HBRUSH brush = nullptr;
    if (w->style & WS_CHILD)
        brush = reinterpret_cast<HBRUSH>(Deliver(w->parent, message, reinterpret_cast<WPARAM>(dc),
                                                 reinterpret_cast<LPARAM>(window)));
    if (!brush)
        brush = reinterpret_cast<HBRUSH>(DefProc(window, message, 0, 0));
    if ((w = FindWindowRecord(window)))
        FillRectInternal(dc, ClientOf(*w), brush);
}

void SetCheck(HWND button, UINT check)
{
    Window *w = FindWindowRecord(button);
    const DWORD type = ButtonType(*w);
    if (!IsCheckable(type))
        return;
    const UINT most = (type == BS_3STATE || type == BS_AUTO3STATE) ? BST_INDETERMINATE : BST_CHECKED;
    w->check = std::min(check, most);
    if (IsRadio(type))
        w->style = w->check ? (w->style | WS_TABSTOP) : (w->style & ~WS_TABSTOP);
    Invalidate(button, nullptr, true);
}

// Checks an automatic radio button and unchecks the others of its group.
void CheckAutoRadio(HWND button)
{
    Deliver(button, BM_SETCHECK, BST_CHECKED, 0);
    for (HWND sibling : GroupOf(button)) {
        const Window *s = FindWindowRecord(sibling);
        if (sibling != button && s && (s->style & WS_VISIBLE) && !(s->style & WS_DISABLED) &&
            ButtonType(*s) == BS_AUTORADIOBUTTON && s->windowClass && s->windowClass->proc == ButtonProc)
            Deliver(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

void PaintButton(HWND button)
{
    PAINTSTRUCT paint;
    const HDC dc = BeginPaintInternal(button, &paint);
    const Window &w = *FindWindowRecord(button);
    const DWORD type = ButtonType(w);
    const RECT client = ClientOf(w);
    const bool push = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
    PaintBackground(button, dc, push ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC);
    const Window &b = *FindWindowRecord(button);
    if (push) {
        FillSurfaceRect(dc, {client.left + 1, client.top + 1, client.right - 1, client.bottom - 1}, SysColor(COLOR_BTNFACE));
        FrameSurfaceRect(dc, client, type == BS_DEFPUSHBUTTON ? BLACK : SysColor(COLOR_3DDKSHADOW));
        FrameSurfaceRect(dc, {client.left + 1, client.top + 1, client.right - 1, client.bottom - 1},
                         SysColor(COLOR_BTNHIGHLIGHT));
    } else if (type == BS_GROUPBOX) {
        FrameSurfaceRect(dc, {client.left, client.top + 6, client.right, client.bottom}, SysColor(COLOR_BTNSHADOW));
    } else {
        // The check box or radio indicator: 13 x 13 at the left, centred in height.
        const LONG top = (client.bottom - 13) / 2;
        const RECT box = {0, top, 13, top + 13};
        FillSurfaceRect(dc, box, (b.style & WS_DISABLED) ? SysColor(COLOR_BTNFACE) : WHITE);
        FrameSurfaceRect(dc, box, SysColor(COLOR_BTNSHADOW));
        if (b.check == BST_CHECKED)
            FillSurfaceRect(dc, {4, top + 4, 9, top + 9}, BLACK);
        else if (b.check == BST_INDETERMINATE)
            FillSurfaceRect(dc, {4, top + 4, 9, top + 9}, SysColor(COLOR_BTNSHADOW));
    }
    EndPaintInternal(&paint);
}

void PaintStatic(HWND control)
{
    PAINTSTRUCT paint;
    const HDC dc = BeginPaintInternal(control, &paint);
    PaintBackground(control, dc, WM_CTLCOLORSTATIC);
    const Window &w = *FindWindowRecord(control);
    const RECT client = ClientOf(w);
    switch (w.style & SS_TYPEMASK) {
    case SS_BITMAP:
        if (w.image)
            DrawImage(dc, w.image, 0, 0);
        break;
    case SS_ICON:
        if (w.image)
            DrawIcon(dc, reinterpret_cast<HICON>(w.image), 0, 0);
        break;
    case SS_BLACKRECT:
        FillSurfaceRect(dc, client, SysColor(COLOR_WINDOWFRAME));
        break;
    case SS_GRAYRECT:
        FillSurfaceRect(dc, client, SysColor(COLOR_BTNSHADOW));
        break;
    case SS_WHITERECT:
        FillSurfaceRect(dc, client, WHITE);
        break;
    case SS_BLACKFRAME:
        FrameSurfaceRect(dc, client, SysColor(COLOR_WINDOWFRAME));
        break;
    case SS_GRAYFRAME:
        FrameSurfaceRect(dc, client, SysColor(COLOR_BTNSHADOW));
        break;
    case SS_WHITEFRAME:
        FrameSurfaceRect(dc, client, WHITE);
        break;
    default:
        break;
    }
    EndPaintInternal(&paint);
}

void PaintPlain(HWND control, UINT colourMessage)
{
    PAINTSTRUCT paint;
    const HDC dc = BeginPaintInternal(control, &paint);
    PaintBackground(control, dc, colourMessage);
    EndPaintInternal(&paint);
}

// WS_BORDER becomes WS_EX_CLIENTEDGE, as edit controls and list boxes do it.
void BorderToClientEdge(HWND window)
{
    Window *w = FindWindowRecord(window);
    if (w->style & WS_BORDER) {
        w->style &= ~WS_BORDER;
        w->exStyle |= WS_EX_CLIENTEDGE;
    }
}

LRESULT CopyOut(const std::string &text, LPARAM buffer)
{
    if (!buffer)
        return LB_ERR;
    std::memcpy(reinterpret_cast<char *>(buffer), text.c_str(), text.size() + 1);
    return static_cast<LRESULT>(text.size());
}

// The shared part of list and combo boxes: their list of strings.
struct ListMessages {
    UINT add, insert, remove, reset, setCurrent, getCurrent, getText, getTextLength, count, find, findExact;
    DWORD sortStyle;
    LRESULT error;
};
constexpr ListMessages LIST_BOX = {LB_ADDSTRING,  LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT,
                                   LB_SETCURSEL,  LB_GETCURSEL,    LB_GETTEXT,      LB_GETTEXTLEN,
                                   LB_GETCOUNT,   LB_FINDSTRING,   LB_FINDSTRINGEXACT, LBS_SORT, LB_ERR};
constexpr ListMessages COMBO_BOX = {CB_ADDSTRING,  CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT,
                                    CB_SETCURSEL,  CB_GETCURSEL,    CB_GETLBTEXT,    CB_GETLBTEXTLEN,
                                    CB_GETCOUNT,   CB_FINDSTRING,   CB_FINDSTRINGEXACT, CBS_SORT, CB_ERR};

bool HandleList(const ListMessages &m, HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result)
{
    Window &w = *FindWindowRecord(window);
    std::vector<std::string> &items = w.items;
    const auto count = static_cast<LRESULT>(items.size());
    const auto index = static_cast<LRESULT>(static_cast<int>(wParam));
    const char *text = reinterpret_cast<const char *>(lParam);
    if (message == m.add || message == m.insert) {
        const std::string item = text ? text : "";
        std::size_t at = items.size();
        if (message == m.insert) {
            if (index > count)
                return *result = m.error, true;
            at = index < 0 ? items.size() : static_cast<std::size_t>(index);
        } else if (w.style & m.sortStyle) {
            at = static_cast<std::size_t>(std::upper_bound(items.begin(), items.end(), Upper(item),
                                                           [](const std::string &a, const std::string &b) {
                                                               return a < Upper(b);
                                                           }) -
                                          items.begin());
        }
        items.insert(items.begin() + static_cast<std::ptrdiff_t>(at), item);
        if (w.currentItem >= static_cast<int>(at))
            ++w.currentItem;
        Invalidate(window, nullptr, true);
        *result = static_cast<LRESULT>(at);
    } else if (message == m.remove) {
        if (index < 0 || index >= count)
            return *result = m.error, true;
        items.erase(items.begin() + index);
        if (w.currentItem == index)
            w.currentItem = -1;
        else if (w.currentItem > index)
            --w.currentItem;
        *result = count - 1;
    } else if (message == m.reset) {
        items.clear();
        w.currentItem = -1;
        *result = 0;
    } else if (message == m.setCurrent) {
        // -1 clears the selection and answers the error value, as documented.
        if (index < 0 || index >= count) {
            if (index < 0)
                w.currentItem = -1;
            return *result = m.error, true;
        }
        w.currentItem = static_cast<int>(index);
        Invalidate(window, nullptr, true);
        *result = index;
    } else if (message == m.getCurrent) {
        *result = w.currentItem < 0 ? m.error : w.currentItem;
    } else if (message == m.getText) {
        *result = index < 0 || index >= count ? m.error : CopyOut(items[static_cast<std::size_t>(index)], lParam);
    } else if (message == m.getTextLength) {
        *result = index < 0 || index >= count ? m.error : static_cast<LRESULT>(items[static_cast<std::size_t>(index)].size());
    } else if (message == m.count) {
        *result = count;
    } else if (message == m.find || message == m.findExact) {
        *result = m.error;
        const std::string wanted = Upper(text ? text : "");
        const LRESULT start = index < 0 || index >= count ? -1 : index;
        for (LRESULT step = 1; step <= count; ++step) {
            const LRESULT i = (start + step) % count;
            const std::string item = Upper(items[static_cast<std::size_t>(i)]);
            if (message == m.findExact ? item == wanted : item.compare(0, wanted.size(), wanted) == 0) {
                *result = i;
                break;
            }
        }
    } else {
        return false;
    }
    return true;
}

void SetEditText(HWND edit, const std::string &text)
{
    Window *w = FindWindowRecord(edit);
    w->title = text;
    w->selStart = w->selEnd = 0;
    Invalidate(edit, nullptr, true);
    NotifyParent(edit, EN_UPDATE);
    NotifyParent(edit, EN_CHANGE);
}

LRESULT EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window *w = FindWindowRecord(window);
    switch (message) {
    case WM_NCCREATE:
        BorderToClientEdge(window);
        return DefProc(window, message, wParam, lParam);
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | ((w->style & ES_MULTILINE) ? DLGC_WANTALLKEYS : 0);
    case WM_SETTEXT:
        SetEditText(window, reinterpret_cast<LPCSTR>(lParam) ? reinterpret_cast<LPCSTR>(lParam) : "");
        return TRUE;
    case EM_SETSEL: {
        const auto length = static_cast<DWORD>(w->title.size());
        const int start = static_cast<int>(wParam), end = static_cast<int>(lParam);
        if (start == -1) {
            w->selStart = w->selEnd;
            return 0;
        }
        const DWORD a = std::min(static_cast<DWORD>(start), length);
        const DWORD b = end < 0 ? length : std::min(static_cast<DWORD>(end), length);
        w->selStart = std::min(a, b);
        w->selEnd = std::max(a, b);
        return 0;
    }
    case EM_GETSEL:
        if (wParam)
            *reinterpret_cast<DWORD *>(wParam) = w->selStart;
        if (lParam)
            *reinterpret_cast<DWORD *>(lParam) = w->selEnd;
        return MAKELONG(std::min<DWORD>(w->selStart, 0xFFFF), std::min<DWORD>(w->selEnd, 0xFFFF));
    case EM_LIMITTEXT:
        w->textLimit = wParam ? static_cast<DWORD>(wParam) : 0x7FFFFFFE;
        return 0;
    case WM_CHAR: {
        // Typing replaces the selection; backspace deletes it or the character before.
        std::string text = w->title;
        DWORD start = w->selStart, end = w->selEnd;
        if (wParam == VK_BACK) {
            if (start == end && start > 0)
                --start;
            text.erase(start, end - start);
        } else if (wParam >= 0x20 && text.size() - (end - start) < w->textLimit) {
            text.replace(start, end - start, 1, static_cast<char>(wParam));
            ++start;
        } else {
            return 0;
        }
        SetEditText(window, text);
        if ((w = FindWindowRecord(window)))
            w->selStart = w->selEnd = start;
        return 0;
    }
    case WM_SETFOCUS:
        NotifyParent(window, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        NotifyParent(window, EN_KILLFOCUS);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintPlain(window, WM_CTLCOLOREDIT);
        return 0;
    default:
        return DefProc(window, message, wParam, lParam);
    }
}

LRESULT ListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (HandleList(LIST_BOX, window, message, wParam, lParam, &result))
        return result;
    switch (message) {
    case WM_NCCREATE:
        BorderToClientEdge(window);
        return DefProc(window, message, wParam, lParam);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintPlain(window, WM_CTLCOLORLISTBOX);
        return 0;
    default:
        return DefProc(window, message, wParam, lParam);
    }
}

// A drop-down list's text is its selected entry.
LRESULT ComboBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (HandleList(COMBO_BOX, window, message, wParam, lParam, &result))
        return result;
    const Window &w = *FindWindowRecord(window);
    const bool list = (w.style & 0x3) == CBS_DROPDOWNLIST;
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
        if (!list)
            return DefProc(window, message, wParam, lParam);
        const std::string text = w.currentItem < 0 ? "" : w.items[static_cast<std::size_t>(w.currentItem)];
        if (message == WM_GETTEXTLENGTH)
            return static_cast<LRESULT>(text.size());
        if (!wParam || !lParam)
            return 0;
        const std::size_t count = std::min(text.size(), static_cast<std::size_t>(wParam - 1));
        std::memcpy(reinterpret_cast<char *>(lParam), text.data(), count);
        reinterpret_cast<char *>(lParam)[count] = '\0';
        return static_cast<LRESULT>(count);
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintPlain(window, WM_CTLCOLOREDIT);
        return 0;
    default:
        return DefProc(window, message, wParam, lParam);
    }
}

LRESULT ScrollBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintPlain(window, WM_CTLCOLORSCROLLBAR);
        return 0;
    default:
        return DefProc(window, message, wParam, lParam);
    }
}

LRESULT StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window *w = FindWindowRecord(window);
    const DWORD type = w->style & SS_TYPEMASK;
    switch (message) {
    case WM_NCCREATE: {
        const auto *create = reinterpret_cast<const CREATESTRUCTA *>(lParam);
        if ((type == SS_BITMAP || type == SS_ICON) && create && create->lpszName) {
            LPCSTR name = create->lpszName;
            if (!IS_INTRESOURCE(name) && name[0] == '#')
                name = MAKEINTRESOURCEA(std::atoi(name + 1));
            if (type == SS_BITMAP) {
                w->image = LoadBitmapInternal(create->hInstance, name);
                if (GdiObject *bitmap = FindGdiObject(w->image))
                    bitmap->stock = true;  // the control's own: not the program's to delete
            } else {
                w->image = LoadIconInternal(create->hInstance, name);
            }
            return TRUE;
        }
        return DefProc(window, message, wParam, lParam);
    }
    case WM_CREATE: {
        int width = 0, height = 0;
        if (type == SS_BITMAP && FindGdiObject(w->image)) {
            width = FindGdiObject(w->image)->pixels.width;
            height = FindGdiObject(w->image)->pixels.height;
        } else if (type == SS_ICON && w->image) {
            width = height = 32;
        }
        if (width && !(w->style & (SS_CENTERIMAGE | SS_REALSIZECONTROL)))
            PlaceWindow(window, {w->rect.left, w->rect.top, w->rect.left + width, w->rect.top + height});
        return 0;
    }
    case STM_SETIMAGE:
    case STM_SETICON: {
        const HGDIOBJ previous = w->image;
        w->image = reinterpret_cast<HGDIOBJ>(message == STM_SETICON ? wParam : lParam);
        Invalidate(window, nullptr, true);
        return reinterpret_cast<LRESULT>(previous);
    }
    case STM_GETIMAGE:
    case STM_GETICON:
        return reinterpret_cast<LRESULT>(w->image);
    case WM_SETTEXT:
        Invalidate(window, nullptr, true);
        return DefProc(window, message, wParam, lParam);
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintStatic(window);
        return 0;
    default:
        return DefProc(window, message, wParam, lParam);
    }
}

}  // namespace

LRESULT ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window *w = FindWindowRecord(window);
    const DWORD type = ButtonType(*w);
    switch (message) {
    case WM_GETDLGCODE:
        if (type == BS_PUSHBUTTON)
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        if (type == BS_DEFPUSHBUTTON)
            return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        if (IsRadio(type))
            return DLGC_BUTTON | DLGC_RADIOBUTTON;
        if (type == BS_GROUPBOX)
            return DLGC_STATIC;
        return DLGC_BUTTON;
    case BM_GETCHECK:
        return IsCheckable(type) ? w->check : 0;
    case BM_SETCHECK:
        SetCheck(window, static_cast<UINT>(wParam));
        return 0;
    case BM_GETSTATE:
        return (IsCheckable(type) ? w->check : 0) | (TheWorld().focus == window ? 0x0008 : 0);
    case BM_SETSTYLE:
        w->style = (w->style & ~BS_TYPEMASK) | (wParam & BS_TYPEMASK);
        Invalidate(window, nullptr, true);
        return 0;
    case BM_CLICK:
        ClickButtonInternal(window);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        Invalidate(window, nullptr, true);
        return 0;
    case WM_SETTEXT:
        Invalidate(window, nullptr, true);
        return DefProc(window, message, wParam, lParam);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintButton(window);
        return 0;
    default:
        return DefProc(window, message, wParam, lParam);
    }
}

void ClickButtonInternal(HWND button)
{
    for (HWND up = button; FindWindowRecord(up); up = FindWindowRecord(up)->parent) {
        if (FindWindowRecord(up)->style & WS_DISABLED)
            return;
        if (!(FindWindowRecord(up)->style & WS_CHILD))
            break;
    }
    World &world = TheWorld();
    const HWND capture = world.capture;
    world.capture = button;  // as the mouse holds it between button down and up
    SetFocusInternal(button);
    if (FindWindowRecord(button) && FindWindowRecord(button)->proc == ButtonProc) {
        Window &w = *FindWindowRecord(button);
        switch (ButtonType(w)) {
        case BS_AUTOCHECKBOX:
            Deliver(button, BM_SETCHECK, w.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
            break;
        case BS_AUTO3STATE:
            Deliver(button, BM_SETCHECK, (w.check + 1) % 3, 0);
            break;
        case BS_AUTORADIOBUTTON:
            CheckAutoRadio(button);
            break;
        default:
            break;
        }
    }
    if (world.capture == button)
        world.capture = capture;
    NotifyParent(button, BN_CLICKED);
}

void RegisterSystemClasses()
{
    World &world = TheWorld();
    if (!world.classes.empty())
        return;
    const struct {
        const char *name;
        WNDPROC proc;
    } systemClasses[] = {
        {"Button", ButtonProc},       {"Edit", EditProc},           {"Static", StaticProc},
        {"ListBox", ListBoxProc},     {"ScrollBar", ScrollBarProc}, {"ComboBox", ComboBoxProc},
        {"#32770", DefDlgProcInternal},
    };
    for (const auto &c : systemClasses)
        world.classes.push_back(std::make_unique<WindowClass>(
            WindowClass{c.name, 0, c.proc, nullptr, nullptr, nullptr, nullptr, world.nextAtom++, true}));
}

// ---- Test controls --------------------------------------------------------------------

void ClickButton(HWND button)
{
    ++TheWorld().userActions;
    ClickButtonInternal(button);
}

void ClickDialogButton(HWND dialog, int id)
{
    for (HWND child : ChildWindows(dialog))
        if (static_cast<WORD>(FindWindowRecord(child)->id) == static_cast<WORD>(id)) {
            ClickButton(child);
            return;
        }
}

void TypeText(HWND edit, const char *text)
{
    ++TheWorld().userActions;
    SetFocusInternal(edit);
    SetTextInternal(edit, text ? text : "");
}

bool DoubleClickListEntry(HWND list, const char *entry)
{
    ++TheWorld().userActions;
    const LRESULT index = Deliver(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entry));
    if (index < 0)
        return false;
    SetFocusInternal(list);
    Deliver(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    NotifyParent(list, LBN_SELCHANGE);
    if (FindWindowRecord(list))
        NotifyParent(list, LBN_DBLCLK);
    return true;
}

bool SelectComboEntry(HWND combo, const char *entry)
{
    ++TheWorld().userActions;
    const LRESULT index = Deliver(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entry));
    if (index < 0)
        return false;
    Deliver(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    NotifyParent(combo, CBN_SELCHANGE);
    return true;
}

}  // namespace winsim
