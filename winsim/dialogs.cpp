// Dialogs: building a dialog and its controls from an RT_DIALOG template of a module,
// DefDlgProcA, IsDialogMessageA, the dialog item functions, MapDialogRect, and the
// test controls for the keyboard and the dialog base units.
//
// A template is the classic DLGTEMPLATE: style, extended style, item count, position
// and size in dialog units, then menu, class (0 = none, 0xFFFF + ordinal, or a UTF-16
// string) and caption, and with DS_SETFONT a point size and a face name. Each item,
// aligned to 4 bytes, is a DLGITEMTEMPLATE: style, extended style, position and size,
// a WORD id, its class (ordinals 0x80 Button, 0x81 Edit, 0x82 Static, 0x83 ListBox,
// 0x84 ScrollBar, 0x85 ComboBox, or a name), its text (string or ordinal) and a count
// of creation bytes that follow.
//
// The rules follow what the platform does (checked under Wine):
// - Dialog units: x pixels = MulDiv(x, base x, 4), y pixels = MulDiv(y, base y, 8),
//   positions and sizes alike (MulDiv rounds halves away from zero). For FONT 8
//   "Arial" Wine measures base units of 7 x 13 (MapDialogRect on the installer's own
//   pages: 280 x 183 units are 490 x 297 pixels); a dialog without a font takes the
//   system font's 9 x 16.
// - The template's size is the client area's. Its position is the client origin's,
//   relative to the owner's client area unless DS_ABSALIGN; the window is then moved
//   into the screen (the Browse template at 30, 30 lies at 50, 27 - 352, 328).
// - DS_MODALFRAME gives WS_EX_DLGMODALFRAME; the dialog also gets WS_EX_WINDOWEDGE
//   (with a frame), WS_EX_CONTROLPARENT, DS_3DLOOK and WS_CLIPSIBLINGS. Controls get
//   WS_CHILD and WS_EX_NOPARENTNOTIFY. The dialog's default button id is that of its
//   first BS_DEFPUSHBUTTON.
// - The template's CLASS must be registered (else the dialog is not created); without
//   one the dialog is of the platform's dialog class, whose procedure is DefDlgProcA.
// - The dialog is created hidden; the controls follow in template order. Only a dialog
//   with a dialog procedure gets WM_INITDIALOG (wParam: the first tab stop); when it
//   answers nonzero the first tab stop takes the focus (an edit control has all its
//   text selected first). A template with WS_VISIBLE is then shown, activated, and its
//   first tab stop takes the focus unless the focus is already inside.
// - IsDialogMessageA takes every message for the dialog or its descendants and none
//   other. Keys: Enter sends WM_COMMAND with the focused push button if it is the
//   default-styled one, else the default id (DM_GETDEFID) with its button if that is
//   enabled, else IDOK; Escape sends WM_COMMAND IDCANCEL with the Cancel button; Tab
//   moves to the next tab stop (WM_NEXTDLGCTL); arrows move within the group, and an
//   automatic radio button they reach is clicked (BM_CLICK) unless it is checked. Other
//   messages are translated and dispatched.
// - WM_NEXTDLGCTL makes a push button that takes the focus the default-styled one and
//   gives the style back to the default id's button when the focus leaves the push
//   buttons; DM_GETDEFID keeps answering the default id.
// - DefDlgProcA: WM_ERASEBKGND fills with the WM_CTLCOLORDLG brush (the button face
//   colour by default); WM_CLOSE posts WM_COMMAND IDCANCEL with the Cancel button,
//   enabled or not. A dialog procedure answering nonzero has handled the message: the result
//   is its answer for WM_INITDIALOG and WM_CTLCOLOR*, else 0 (DWL_MSGRESULT is not
//   simulated).
// - GetDlgItem compares ids as 16-bit values (IDC_STATIC's -1 is 65535).
#include "world.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace winsim {
namespace {

constexpr WORD RT_DIALOG_ID = 5;
constexpr int SYSTEM_BASE_X = 9;
constexpr int SYSTEM_BASE_Y = 16;

struct NameOrOrdinal {
    WORD ordinal = 0;
    std::string name;
};

struct ItemTemplate {
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    WORD id;
    NameOrOrdinal windowClass;
    NameOrOrdinal text;
};

struct DialogTemplate {
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    NameOrOrdinal windowClass;
    std::string caption;
    WORD pointSize = 0;
    std::string face;
    std::vector<ItemTemplate> items;
};

class Reader {
public:
    explicit Reader(const std::vector<BYTE> &data) : data_(data) {}
    bool Word(WORD *value)
    {
        if (at_ + 2 > data_.size())
            return false;
        *value = static_cast<WORD>(data_[at_] | data_[at_ + 1] << 8);
        at_ += 2;
        return true;
    }
    bool Dword(DWORD *value)
    {
        WORD low, high;
        if (!Word(&low) || !Word(&high))
            return false;
        *value = low | static_cast<DWORD>(high) << 16;
        return true;
    }
    bool Short(short *value)
    {
        WORD word;
        if (!Word(&word))
            return false;
        *value = static_cast<short>(word);
        return true;
    }
    bool String(std::string *text)
    {
        text->clear();
        for (WORD unit; Word(&unit);) {
            if (unit == 0)
                return true;
            text->push_back(ToAnsi(unit));
        }
        return false;
    }
    bool NameOrOrd(NameOrOrdinal *value)
    {
        WORD first;
        if (!Word(&first))
            return false;
        if (first == 0)
            return true;
        if (first == 0xFFFF)
            return Word(&value->ordinal);
        at_ -= 2;
        return String(&value->name);
    }
    void Align() { at_ = (at_ + 3) & ~static_cast<std::size_t>(3); }
    bool Skip(std::size_t count)
    {
        if (at_ + count > data_.size())
            return false;
        at_ += count;
        return true;
    }

private:
    const std::vector<BYTE> &data_;
    std::size_t at_ = 0;
};

bool ParseTemplate(const std::vector<BYTE> &data, DialogTemplate *dialog)
{
    Reader in(data);
    WORD count;
    NameOrOrdinal menu;
    if (!in.Dword(&dialog->style) || !in.Dword(&dialog->exStyle) || !in.Word(&count) || !in.Short(&dialog->x) ||
        !in.Short(&dialog->y) || !in.Short(&dialog->cx) || !in.Short(&dialog->cy) || !in.NameOrOrd(&menu) ||
        !in.NameOrOrd(&dialog->windowClass) || !in.String(&dialog->caption))
        return false;
    if (dialog->style == 0xFFFF0001)
        return false;  // DLGTEMPLATEEX: not simulated
    if ((dialog->style & DS_SETFONT) && (!in.Word(&dialog->pointSize) || !in.String(&dialog->face)))
        return false;
    for (WORD i = 0; i < count; ++i) {
        ItemTemplate item{};
        WORD extra;
        in.Align();
        if (!in.Dword(&item.style) || !in.Dword(&item.exStyle) || !in.Short(&item.x) || !in.Short(&item.y) ||
            !in.Short(&item.cx) || !in.Short(&item.cy) || !in.Word(&item.id) || !in.NameOrOrd(&item.windowClass) ||
            !in.NameOrOrd(&item.text) || !in.Word(&extra) || !in.Skip(extra))
            return false;
        dialog->items.push_back(item);
    }
    return true;
}

int MulDivRound(int value, int multiplier, int divisor)
{
    const long long product = static_cast<long long>(value) * multiplier;
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor : -((-product + half) / divisor));
}

std::string UnitsKey(const std::string &face, int pointSize)
{
    return Upper(face) + "|" + std::to_string(pointSize);
}

std::pair<int, int> UnitsFor(const DialogTemplate &dialog)
{
    if (!(dialog.style & DS_SETFONT))
        return {SYSTEM_BASE_X, SYSTEM_BASE_Y};
    World &world = TheWorld();
    if (world.dialogBaseUnits.empty())
        world.dialogBaseUnits[UnitsKey("Arial", 8)] = {7, 13};
    const auto found = world.dialogBaseUnits.find(UnitsKey(dialog.face, dialog.pointSize));
    if (found == world.dialogBaseUnits.end())
        throw std::logic_error("winsim: no dialog base units for FONT " + std::to_string(dialog.pointSize) + " \"" +
                               dialog.face + "\": measure them on the platform and give them to SetDialogBaseUnits");
    return found->second;
}

const char *ControlClassName(WORD ordinal)
{
    static const char *const names[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
    return ordinal >= 0x80 && ordinal <= 0x85 ? names[ordinal - 0x80] : nullptr;
}

bool IsPushButton(HWND window)
{
    return Deliver(window, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
}

bool Usable(HWND window)
{
    const Window *w = FindWindowRecord(window);
    return w && (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED);
}

// The default-button style follows the focus among the push buttons.
void FollowDefaultButton(HWND dialog, HWND focus)
{
    DialogInfo *info = DialogOf(dialog);
    if (!info)
        return;
    HWND target = focus;
    if (!target || !IsPushButton(target)) {
        target = info->defId ? DialogItem(dialog, info->defId) : nullptr;
        if (!target || !IsPushButton(target))
            return;
    }
    for (HWND child : ChildWindows(dialog))
        if (child != target && (Deliver(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
            Deliver(child, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    if (!(Deliver(target, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
        Deliver(target, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void SetDefaultId(HWND dialog, int id)
{
    DialogInfo *info = DialogOf(dialog);
    if (const HWND old = info->defId ? DialogItem(dialog, info->defId) : nullptr)
        if (Deliver(old, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)
            Deliver(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    info->defId = id;
    if (const HWND now = DialogItem(dialog, id))
        if (Deliver(now, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON)
            Deliver(now, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void HandleReturn(HWND dialog)
{
    const HWND focus = TheWorld().focus;
    if (focus && IsDescendant(dialog, focus) && (Deliver(focus, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)) {
        Deliver(dialog, WM_COMMAND, MAKEWPARAM(FindWindowRecord(focus)->id, BN_CLICKED), reinterpret_cast<LPARAM>(focus));
        return;
    }
    const LRESULT defId = Deliver(dialog, DM_GETDEFID, 0, 0);
    if (HIWORD(defId) == DC_HASDEFID) {
        const HWND button = DialogItem(dialog, LOWORD(defId));
        if (!button || !(FindWindowRecord(button)->style & WS_DISABLED))
            Deliver(dialog, WM_COMMAND, MAKEWPARAM(LOWORD(defId), BN_CLICKED), reinterpret_cast<LPARAM>(button));
        return;
    }
    Deliver(dialog, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(DialogItem(dialog, IDOK)));
}

}  // namespace

DialogInfo *DialogOf(HWND window)
{
    Window *w = FindWindowRecord(window);
    return w ? w->dialog.get() : nullptr;
}

HWND DialogItem(HWND dialog, int id)
{
    for (HWND child : ChildWindows(dialog))
        if (static_cast<WORD>(FindWindowRecord(child)->id) == static_cast<WORD>(id))
            return child;
    return nullptr;
}

std::vector<HWND> GroupOf(HWND control)
{
    const Window *w = FindWindowRecord(control);
    if (!w || !(w->style & WS_CHILD))
        return {control};
    const std::vector<HWND> siblings = ChildWindows(w->parent);
    const std::size_t at = static_cast<std::size_t>(std::find(siblings.begin(), siblings.end(), control) - siblings.begin());
    std::size_t start = at;
    while (start > 0 && !(FindWindowRecord(siblings[start])->style & WS_GROUP))
        --start;
    std::size_t end = start + 1;
    while (end < siblings.size() && !(FindWindowRecord(siblings[end])->style & WS_GROUP))
        ++end;
    return std::vector<HWND>(siblings.begin() + static_cast<std::ptrdiff_t>(start),
                             siblings.begin() + static_cast<std::ptrdiff_t>(end));
}

// The next (or previous) visible, enabled tab stop after `control`, wrapping; with no
// control, the first (or last) one. The control itself when it is the only one.
HWND NextTabItem(HWND dialog, HWND control, bool previous)
{
    std::vector<HWND> order = ChildWindows(dialog);
    if (previous)
        std::reverse(order.begin(), order.end());
    auto isStop = [](HWND window) { return Usable(window) && (FindWindowRecord(window)->style & WS_TABSTOP); };
    const auto at = std::find(order.begin(), order.end(), control);
    if (at == order.end()) {
        const auto first = std::find_if(order.begin(), order.end(), isStop);
        return first == order.end() ? nullptr : *first;
    }
    const std::size_t from = static_cast<std::size_t>(at - order.begin());
    for (std::size_t step = 1; step <= order.size(); ++step)
        if (isStop(order[(from + step) % order.size()]))
            return order[(from + step) % order.size()];
    return control;
}

HWND NextGroupItem(HWND dialog, HWND control, bool previous)
{
    if (!control || !IsDescendant(dialog, control)) {
        const std::vector<HWND> children = ChildWindows(dialog);
        if (children.empty())
            return nullptr;
        control = children.front();
    }
    std::vector<HWND> group = GroupOf(control);
    if (previous)
        std::reverse(group.begin(), group.end());
    const std::size_t at = static_cast<std::size_t>(std::find(group.begin(), group.end(), control) - group.begin());
    for (std::size_t step = 1; step < group.size(); ++step) {
        const HWND candidate = group[(at + step) % group.size()];
        if (Usable(candidate))
            return candidate;
    }
    return control;
}

HWND CreateDialogInternal(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC proc, LPARAM param, bool show,
                          OPENFILENAMEA *ofn)
{
    World &world = TheWorld();
    const Module *module = FindModule(instance);
    const Resource *resource = module ? FindResourceEntry(*module, RT_DIALOG_ID, templateName) : nullptr;
    DialogTemplate dialog;
    if (!resource || !ParseTemplate(resource->data, &dialog)) {
        SetError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const auto [baseX, baseY] = UnitsFor(dialog);

    DWORD style = dialog.style | DS_3DLOOK;
    DWORD exStyle = dialog.exStyle | WS_EX_CONTROLPARENT;
    if (style & DS_MODALFRAME)
        exStyle |= WS_EX_DLGMODALFRAME;
    if ((exStyle & WS_EX_DLGMODALFRAME) || (style & (WS_DLGFRAME | WS_THICKFRAME)))
        exStyle |= WS_EX_WINDOWEDGE;
    if (!(style & WS_CHILD))
        style |= WS_CLIPSIBLINGS;
    const RECT frame = FrameOf(style, exStyle);
    const int width = MulDivRound(dialog.cx, baseX, 4) + frame.left + frame.right;
    const int height = MulDivRound(dialog.cy, baseY, 8) + frame.top + frame.bottom;
    int x = MulDivRound(dialog.x, baseX, 4), y = MulDivRound(dialog.y, baseY, 8);
    if (!(style & WS_CHILD)) {
        if (style & DS_CENTER) {
            x = (world.screenWidth - width) / 2;
            y = (world.screenHeight - height) / 2;
        } else {
            if (!(style & DS_ABSALIGN) && FindWindowRecord(owner)) {
                x += FindWindowRecord(owner)->client.left;
                y += FindWindowRecord(owner)->client.top;
            }
            x -= frame.left;
            y -= frame.top;
            x = std::max(0, std::min(x, static_cast<int>(world.screenWidth) - width));
            y = std::max(0, std::min(y, static_cast<int>(world.screenHeight) - height));
        }
    }

    auto info = std::make_shared<DialogInfo>();
    info->proc = proc;
    info->baseX = baseX;
    info->baseY = baseY;
    info->ofn = ofn;
    world.pendingDialog = info;
    const std::string className = dialog.windowClass.name.empty() ? "#32770" : dialog.windowClass.name;
    if (!FindClass(className.c_str(), instance)) {
        SetError(1407);  // ERROR_CANNOT_FIND_WND_CLASS: the template's CLASS is not registered
        return nullptr;
    }
    const HWND window = CreateWindowInternal(exStyle, className.c_str(), dialog.caption.c_str(), style & ~WS_VISIBLE, x,
                                             y, width, height, owner, nullptr, instance, nullptr);
    world.pendingDialog.reset();
    if (!window)
        return nullptr;

    for (const ItemTemplate &item : dialog.items) {
        const char *itemClass = item.windowClass.ordinal ? ControlClassName(item.windowClass.ordinal)
                                                         : item.windowClass.name.c_str();
        const char *text = item.text.ordinal ? MAKEINTRESOURCEA(item.text.ordinal) : item.text.name.c_str();
        const HWND control = itemClass
                                 ? CreateWindowInternal(item.exStyle | WS_EX_NOPARENTNOTIFY, itemClass, text,
                                                        item.style | WS_CHILD, MulDivRound(item.x, baseX, 4),
                                                        MulDivRound(item.y, baseY, 8), MulDivRound(item.cx, baseX, 4),
                                                        MulDivRound(item.cy, baseY, 8), window,
                                                        reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(item.id)),
                                                        instance, nullptr)
                                 : nullptr;
        if (!control) {
            if (dialog.style & DS_NOFAILCREATE)
                continue;
            DestroyWindowInternal(window);
            return nullptr;
        }
        if (!info->defId && SameText(itemClass, "Button") && (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            info->defId = item.id;
    }

    if (proc) {
        HWND focus = NextTabItem(window, nullptr, false);
        if (!focus)
            focus = NextGroupItem(window, nullptr, false);
        if (Deliver(window, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), param) && FindWindowRecord(window) &&
            (!(style & DS_CONTROL) || (style & WS_VISIBLE))) {
            focus = NextTabItem(window, nullptr, false);
            if (!focus)
                focus = NextGroupItem(window, nullptr, false);
            if (focus) {
                if (Deliver(focus, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
                    Deliver(focus, EM_SETSEL, 0, -1);
                SetFocusInternal(focus);
            } else if (!(style & WS_CHILD)) {
                SetFocusInternal(window);
            }
        }
    }
    if (FindWindowRecord(window) && show && (dialog.style & WS_VISIBLE))
        ShowWindowInternal(window, true, true);
    return FindWindowRecord(window) ? window : nullptr;
}

LRESULT DefDlgProcInternal(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogInfo *info = DialogOf(dialog);
    if (!info)
        return DefProc(dialog, message, wParam, lParam);
    if (info->proc) {
        const INT_PTR result = info->proc(dialog, message, wParam, lParam);
        if (result || !FindWindowRecord(dialog)) {
            const bool answers = message == WM_INITDIALOG || (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
            return answers ? result : 0;
        }
    }
    switch (message) {
    case WM_ERASEBKGND: {
        auto brush = reinterpret_cast<HBRUSH>(Deliver(dialog, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(dialog)));
        if (!brush)
            brush = SysColorBrush(COLOR_BTNFACE);
        const Window &w = *FindWindowRecord(dialog);
        FillRectInternal(reinterpret_cast<HDC>(wParam),
                         RECT{0, 0, w.client.right - w.client.left, w.client.bottom - w.client.top}, brush);
        return 1;
    }
    case DM_GETDEFID:
        return info->defId ? MAKELONG(info->defId, DC_HASDEFID) : 0;
    case DM_SETDEFID:
        SetDefaultId(dialog, static_cast<int>(wParam));
        return TRUE;
    case WM_NEXTDLGCTL: {
        const HWND target = lParam ? reinterpret_cast<HWND>(wParam)
                                   : NextTabItem(dialog, TheWorld().focus, wParam != 0);
        if (target && FindWindowRecord(target)) {
            if (!lParam && (Deliver(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL))
                Deliver(target, EM_SETSEL, 0, -1);
            SetFocusInternal(target);
            FollowDefaultButton(dialog, target);
        }
        return 0;
    }
    case WM_CLOSE: {
        World &world = TheWorld();
        world.queue.push_back(MSG{dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                                  reinterpret_cast<LPARAM>(DialogItem(dialog, IDCANCEL)), ++world.messageTime,
                                  world.cursorPos});
        return 0;
    }
    default:
        return DefProc(dialog, message, wParam, lParam);
    }
}

bool IsDialogMessageInternal(HWND dialog, MSG *msg)
{
    if (!FindWindowRecord(dialog) || !msg || !msg->hwnd || (msg->hwnd != dialog && !IsDescendant(dialog, msg->hwnd)))
        return false;
    if (msg->message == WM_KEYDOWN) {
        const auto code = static_cast<UINT>(Deliver(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg)));
        if (!(code & DLGC_WANTALLKEYS)) {
            switch (msg->wParam) {
            case VK_TAB:
                if (code & DLGC_WANTTAB)
                    break;
                Deliver(dialog, WM_NEXTDLGCTL, 0, 0);
                return true;
            case VK_LEFT:
            case VK_UP:
            case VK_RIGHT:
            case VK_DOWN: {
                if (code & DLGC_WANTARROWS)
                    break;
                const bool previous = msg->wParam == VK_LEFT || msg->wParam == VK_UP;
                const HWND next = NextGroupItem(dialog, msg->hwnd, previous);
                if (next && Deliver(next, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg)) ==
                                (DLGC_BUTTON | DLGC_RADIOBUTTON)) {
                    SetFocusInternal(next);
                    if ((FindWindowRecord(next)->style & BS_TYPEMASK) == BS_AUTORADIOBUTTON &&
                        Deliver(next, BM_GETCHECK, 0, 0) != BST_CHECKED)
                        Deliver(next, BM_CLICK, 1, 0);
                } else {
                    Deliver(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), 1);
                }
                return true;
            }
            case VK_ESCAPE:
                Deliver(dialog, WM_COMMAND, IDCANCEL, reinterpret_cast<LPARAM>(DialogItem(dialog, IDCANCEL)));
                return true;
            case VK_RETURN:
                HandleReturn(dialog);
                return true;
            default:
                break;
            }
        }
    }
    TranslateInternal(*msg);
    DispatchInternal(*msg);
    return true;
}

// ---- Test controls --------------------------------------------------------------------

void PressKey(HWND dialog, BYTE virtualKey)
{
    World &world = TheWorld();
    ++world.userActions;
    const HWND target = world.focus && IsDescendant(dialog, world.focus) ? world.focus : dialog;
    world.queue.push_back(MSG{target, WM_KEYDOWN, virtualKey, 1, ++world.messageTime, world.cursorPos});
    world.queue.push_back(MSG{target, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001u), ++world.messageTime,
                              world.cursorPos});
}

DialogUnits DialogBaseUnits(HWND dialog)
{
    const DialogInfo *info = DialogOf(dialog);
    return info ? DialogUnits{info->baseX, info->baseY} : DialogUnits{0, 0};
}

void SetDialogBaseUnits(const char *face, int pointSize, int x, int y)
{
    World &world = TheWorld();
    if (world.dialogBaseUnits.empty())
        world.dialogBaseUnits[UnitsKey("Arial", 8)] = {7, 13};
    world.dialogBaseUnits[UnitsKey(face, pointSize)] = {x, y};
}

}  // namespace winsim

using namespace winsim;

HWND CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC dialogProc, LPARAM param)
{
    Log("CreateDialogParamA",
        {Arg(instance), IS_INTRESOURCE(templateName) ? reinterpret_cast<ULONG_PTR>(templateName) : 0, Arg(owner),
         static_cast<std::uintptr_t>(param)},
        IS_INTRESOURCE(templateName) ? nullptr : templateName);
    return CreateDialogInternal(instance, templateName, owner, dialogProc, param, true, nullptr);
}

LRESULT DefDlgProcA(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    Log("DefDlgProcA", {Arg(dialog), message, wParam, static_cast<std::uintptr_t>(lParam)});
    return DefDlgProcInternal(dialog, message, wParam, lParam);
}

// Marks the dialog's end for its modal loop and hides it; the loop destroys it.
BOOL EndDialog(HWND dialog, INT_PTR result)
{
    Log("EndDialog", {Arg(dialog), static_cast<std::uintptr_t>(result)});
    DialogInfo *info = DialogOf(dialog);
    if (!info)
        return FALSE;
    info->ended = true;
    info->result = result;
    ShowWindowInternal(dialog, false, false);
    return TRUE;
}

BOOL IsDialogMessageA(HWND dialog, MSG *msg)
{
    Log("IsDialogMessageA", {Arg(dialog), msg ? Arg(msg->hwnd) : 0, msg ? msg->message : 0, msg ? msg->wParam : 0});
    return IsDialogMessageInternal(dialog, msg);
}

BOOL MapDialogRect(HWND dialog, RECT *rect)
{
    Log("MapDialogRect", {Arg(dialog)});
    const DialogInfo *info = DialogOf(dialog);
    if (!info || !rect)
        return FALSE;
    rect->left = MulDivRound(rect->left, info->baseX, 4);
    rect->right = MulDivRound(rect->right, info->baseX, 4);
    rect->top = MulDivRound(rect->top, info->baseY, 8);
    rect->bottom = MulDivRound(rect->bottom, info->baseY, 8);
    return TRUE;
}

// Sets no error when nothing has the id (as Wine).
HWND GetDlgItem(HWND dialog, int id)
{
    Log("GetDlgItem", {Arg(dialog), static_cast<std::uintptr_t>(id)});
    return DialogItem(dialog, id);
}

int GetDlgCtrlID(HWND window)
{
    Log("GetDlgCtrlID", {Arg(window)});
    const Window *w = FindWindowRecord(window);
    return w && (w->style & WS_CHILD) ? w->id : 0;
}

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text)
{
    Log("SetDlgItemTextA", {Arg(dialog), static_cast<std::uintptr_t>(id)}, text);
    const HWND item = DialogItem(dialog, id);
    if (!item)
        return FALSE;
    SetTextInternal(item, text ? text : "");
    return TRUE;
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size)
{
    Log("GetDlgItemTextA", {Arg(dialog), static_cast<std::uintptr_t>(id), static_cast<std::uintptr_t>(size)});
    const HWND item = DialogItem(dialog, id);
    if (!buffer || size <= 0)
        return 0;
    if (!item) {
        buffer[0] = '\0';
        return 0;
    }
    const std::string text = GetTextInternal(item);
    const std::size_t count = std::min(text.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<UINT>(count);
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    Log("SendDlgItemMessageA", {Arg(dialog), static_cast<std::uintptr_t>(id), message, wParam,
                                static_cast<std::uintptr_t>(lParam)});
    const HWND item = DialogItem(dialog, id);
    return item ? Deliver(item, message, wParam, lParam) : 0;
}

// Every child whose id lies in the range is checked or unchecked with BM_SETCHECK.
BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId)
{
    Log("CheckRadioButton", {Arg(dialog), static_cast<std::uintptr_t>(firstId), static_cast<std::uintptr_t>(lastId),
                             static_cast<std::uintptr_t>(checkId)});
    for (HWND child : ChildWindows(dialog)) {
        const Window *w = FindWindowRecord(child);
        const int id = static_cast<WORD>(w->id);
        if (id >= firstId && id <= lastId)
            Deliver(child, BM_SETCHECK, id == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    return TRUE;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check)
{
    Log("CheckDlgButton", {Arg(dialog), static_cast<std::uintptr_t>(id), check});
    const HWND item = DialogItem(dialog, id);
    if (!item)
        return FALSE;
    Deliver(item, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id)
{
    Log("IsDlgButtonChecked", {Arg(dialog), static_cast<std::uintptr_t>(id)});
    const HWND item = DialogItem(dialog, id);
    return item ? static_cast<UINT>(Deliver(item, BM_GETCHECK, 0, 0)) : 0;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous)
{
    Log("GetNextDlgTabItem", {Arg(dialog), Arg(control), static_cast<std::uintptr_t>(previous)});
    return NextTabItem(dialog, control, previous);
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous)
{
    Log("GetNextDlgGroupItem", {Arg(dialog), Arg(control), static_cast<std::uintptr_t>(previous)});
    return NextGroupItem(dialog, control, previous);
}
