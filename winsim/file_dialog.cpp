// GetOpenFileNameA in its older (non-Explorer) form, built from the caller's template
// (OFN_ENABLETEMPLATE) and driven by the test's responder in the user's place; and the
// user's actions in it.
//
// The rules follow what the platform does (checked under Wine, Windows 98 mode):
// - The dialog is built hidden from the template, with the caller's hook (OFN_ENABLEHOOK)
//   seeing every message of the dialog before the dialog's own handling from the start
//   of WM_INITDIALOG on (nonzero from the hook: handled). In WM_INITDIALOG the dialog
//   first sets its caption (lpstrTitle, else "Open File"), puts lpstrFile into the
//   file-name edit 1152 (EN_UPDATE, EN_CHANGE), changes the current directory to
//   lpstrInitialDir, fills the directory list 1121 ("[name]" for each folder, "[..]"
//   below the root, sorted), the drive list 1137 ("[-c-]") and the static 1088 with the
//   current directory in lower case ("c:\windows"); then the hook gets WM_INITDIALOG
//   with lParam = the OPENFILENAMEA. If the hook answers nonzero the first tab stop
//   takes the focus.
// - The modal loop delivers the posted messages; the dialog shows when its queue first
//   runs dry. The owner is disabled while the dialog runs.
// - A double click in the directory list (LBN_DBLCLK) changes into the selected folder
//   and fills the lists and 1088 again; LBN_SELCHANGE does nothing. Picking a drive
//   (CBN_SELCHANGE) changes to its root.
// - OK (IDOK): the hook gets the registered message "commdlg_FileNameOK" (nonzero
//   keeps the dialog open); then lpstrFile receives the file-name edit's text: as it is
//   with OFN_NOVALIDATE ("12345678.ABC"), else joined to the current directory
//   ("C:\WINDOWS\12345678.ABC"); nFileOffset and nFileExtension index the name and the
//   character after its last dot (0 when it has none). GetOpenFileNameA returns TRUE.
//   Cancel (IDCANCEL): FALSE, CommDlgExtendedError 0.
// - The current directory stays where the dialog left it, OFN_NOCHANGEDIR or not (Wine
//   does not restore it).
#include "filesystem.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace fs = std::filesystem;

namespace winsim {
namespace {

constexpr int PATH_EDIT = 1003;
constexpr int CURRENT_DIRECTORY = 1088;
constexpr int DIRECTORY_LIST = 1121;
constexpr int DRIVE_LIST = 1137;
constexpr int FILE_NAME_EDIT = 1152;
constexpr int MAX_RESPONDER_ROUNDS = 10000;

std::string Lower(std::string text)
{
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

void Fill(HWND dialog)
{
    const World &world = TheWorld();
    const std::string &cwd = world.currentDirectory;
    if (const HWND list = DialogItem(dialog, DIRECTORY_LIST)) {
        Deliver(list, LB_RESETCONTENT, 0, 0);
        if (cwd.size() > 3)
            Deliver(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("[..]"));
        const Located here = Locate(cwd.c_str());
        std::error_code error;
        for (fs::directory_iterator it(here.host, error), end; !error && it != end; it.increment(error))
            if (it->is_directory(error)) {
                const std::string entry = "[" + it->path().filename().string() + "]";
                Deliver(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
            }
    }
    if (const HWND drives = DialogItem(dialog, DRIVE_LIST)) {
        Deliver(drives, CB_RESETCONTENT, 0, 0);
        for (const auto &[letter, folder] : world.drives) {
            const std::string entry = std::string("[-") + static_cast<char>(letter - 'A' + 'a') + "-]";
            const LRESULT at = Deliver(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
            if (letter == cwd[0])
                Deliver(drives, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
        }
    }
    if (const HWND current = DialogItem(dialog, CURRENT_DIRECTORY))
        SetTextInternal(current, Lower(cwd));
}

std::string SelectedEntry(HWND control, UINT getCurrent, UINT getText, UINT getLength)
{
    const LRESULT index = Deliver(control, getCurrent, 0, 0);
    if (index < 0)
        return "";
    std::string text(static_cast<std::size_t>(std::max<LRESULT>(Deliver(control, getLength, static_cast<WPARAM>(index), 0), 0)) + 1, '\0');
    Deliver(control, getText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::strlen(text.c_str()));
    return text;
}

void EndInternal(HWND dialog, INT_PTR result)
{
    DialogInfo *info = DialogOf(dialog);
    info->ended = true;
    info->result = result;
    ShowWindowInternal(dialog, false, false);
}

void Accept(HWND dialog, OPENFILENAMEA *ofn)
{
    if ((ofn->Flags & OFN_ENABLEHOOK) && ofn->lpfnHook &&
        ofn->lpfnHook(dialog, RegisterMessageInternal(FILEOKSTRINGA), 0, reinterpret_cast<LPARAM>(ofn)))
        return;
    std::string file = GetTextInternal(DialogItem(dialog, FILE_NAME_EDIT));
    if (!(ofn->Flags & OFN_NOVALIDATE)) {
        const std::string &cwd = TheWorld().currentDirectory;
        file = cwd + (cwd.back() == '\\' ? "" : "\\") + file;
    }
    if (!ofn->lpstrFile || file.size() + 1 > ofn->nMaxFile)
        throw std::logic_error("winsim: GetOpenFileNameA with an lpstrFile too small for \"" + file +
                               "\" is not simulated");
    std::memcpy(ofn->lpstrFile, file.c_str(), file.size() + 1);
    const std::size_t name = file.find_last_of("\\:");
    ofn->nFileOffset = static_cast<WORD>(name == std::string::npos ? 0 : name + 1);
    const std::size_t dot = file.find_last_of('.');
    ofn->nFileExtension = static_cast<WORD>(dot == std::string::npos || dot < ofn->nFileOffset ? 0 : dot + 1);
    if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0) {
        const std::string title = file.substr(ofn->nFileOffset).substr(0, ofn->nMaxFileTitle - 1);
        std::memcpy(ofn->lpstrFileTitle, title.c_str(), title.size() + 1);
    }
    EndInternal(dialog, TRUE);
}

INT_PTR FileDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogInfo *info = DialogOf(dialog);
    OPENFILENAMEA *ofn = info ? info->ofn : nullptr;
    if (!ofn)
        return FALSE;
    const bool hooked = (ofn->Flags & OFN_ENABLEHOOK) && ofn->lpfnHook;
    if (message == WM_INITDIALOG) {
        info->hookActive = true;
        SetTextInternal(dialog, ofn->lpstrTitle ? ofn->lpstrTitle : "Open File");
        if (const HWND name = DialogItem(dialog, FILE_NAME_EDIT); name && ofn->lpstrFile && *ofn->lpstrFile)
            SetTextInternal(name, ofn->lpstrFile);
        if (ofn->lpstrInitialDir && *ofn->lpstrInitialDir)
            ChangeDirectory(ofn->lpstrInitialDir);
        Fill(dialog);
        return hooked ? static_cast<INT_PTR>(ofn->lpfnHook(dialog, WM_INITDIALOG, wParam, reinterpret_cast<LPARAM>(ofn)))
                      : TRUE;
    }
    if (hooked && info->hookActive && ofn->lpfnHook(dialog, message, wParam, lParam))
        return TRUE;
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        Accept(dialog, ofn);
        return TRUE;
    case IDCANCEL:
        EndInternal(dialog, FALSE);
        return TRUE;
    case DIRECTORY_LIST:
        if (HIWORD(wParam) == LBN_DBLCLK) {
            const std::string entry = SelectedEntry(DialogItem(dialog, DIRECTORY_LIST), LB_GETCURSEL, LB_GETTEXT,
                                                    LB_GETTEXTLEN);
            if (entry.size() > 2) {
                const std::string folder = entry.substr(1, entry.size() - 2);
                const std::string &cwd = TheWorld().currentDirectory;
                const std::string target = folder == ".." ? cwd + "\\.." : cwd + (cwd.back() == '\\' ? "" : "\\") + folder;
                if (ChangeDirectory(target.c_str()))
                    Fill(dialog);
            }
        }
        return TRUE;
    case DRIVE_LIST:
        if (HIWORD(wParam) == CBN_SELCHANGE) {
            const std::string entry = SelectedEntry(DialogItem(dialog, DRIVE_LIST), CB_GETCURSEL, CB_GETLBTEXT,
                                                    CB_GETLBTEXTLEN);
            if (entry.size() == 5 && ChangeDirectory((std::string(1, static_cast<char>(entry[2] - 'a' + 'A')) + ":\\").c_str()))
                Fill(dialog);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

void SetFileDialogResponder(std::function<void(HWND dialog)> responder)
{
    TheWorld().fileDialogResponder = std::move(responder);
}

void FileDialogType(HWND dialog, const char *text)
{
    TypeText(DialogItem(dialog, PATH_EDIT), text);
}

bool FileDialogOpen(HWND dialog, const char *folder)
{
    return DoubleClickListEntry(DialogItem(dialog, DIRECTORY_LIST), (std::string("[") + folder + "]").c_str());
}

bool FileDialogSelectDrive(HWND dialog, char letter)
{
    const char lower = static_cast<char>(letter >= 'A' && letter <= 'Z' ? letter - 'A' + 'a' : letter);
    return SelectComboEntry(DialogItem(dialog, DRIVE_LIST), (std::string("[-") + lower + "-]").c_str());
}

bool FileDialogMoveTo(HWND dialog, const char *windowsPath)
{
    const std::string target = FullWindowsPath(windowsPath);
    if (target.empty())
        return false;
    auto parts = [](const std::string &path) {
        std::vector<std::string> list;
        std::string part;
        for (char c : path.substr(3) + "\\") {
            if (c != '\\') {
                part += c;
            } else if (!part.empty()) {
                list.push_back(part);
                part.clear();
            }
        }
        return list;
    };
    if (Upper(target.substr(0, 1)) != Upper(TheWorld().currentDirectory.substr(0, 1))) {
        if (!FileDialogSelectDrive(dialog, target[0]))
            return false;
        DeliverPostedMessages();
    }
    const std::vector<std::string> wanted = parts(target);
    for (;;) {
        const std::vector<std::string> here = parts(TheWorld().currentDirectory);
        const bool onTheWay = here.size() <= wanted.size() &&
                              std::equal(here.begin(), here.end(), wanted.begin(),
                                         [](const std::string &a, const std::string &b) { return SameText(a, b); });
        if (onTheWay) {
            if (here.size() == wanted.size())
                return true;
            if (!FileDialogOpen(dialog, wanted[here.size()].c_str()))
                return false;
        } else if (!FileDialogOpen(dialog, "..")) {
            return false;
        }
        DeliverPostedMessages();
        if (parts(TheWorld().currentDirectory) == here)
            return false;  // the step changed nothing (the hook kept it)
    }
}

void FileDialogPress(HWND dialog, int id)
{
    ClickDialogButton(dialog, id);
}

}  // namespace winsim

using namespace winsim;

BOOL GetOpenFileNameA(OPENFILENAMEA *ofn)
{
    Log("GetOpenFileNameA", {Arg(ofn), ofn ? ofn->Flags : 0});
    World &world = TheWorld();
    world.commDlgError = 0;
    if (!ofn)
        return FALSE;
    if ((ofn->Flags & OFN_EXPLORER) || !(ofn->Flags & OFN_ENABLETEMPLATE))
        throw std::logic_error("winsim simulates GetOpenFileNameA only in its older form with the caller's template "
                               "(OFN_ENABLETEMPLATE without OFN_EXPLORER)");
    const HWND owner = ofn->hwndOwner && FindWindowRecord(ofn->hwndOwner) ? TopLevelWindowOf(ofn->hwndOwner) : nullptr;
    const bool ownerWasEnabled = owner && !(FindWindowRecord(owner)->style & WS_DISABLED);
    if (ownerWasEnabled)
        EnableWindowInternal(owner, false);
    const HWND dialog = CreateDialogInternal(ofn->hInstance, ofn->lpTemplateName, owner, FileDialogProc,
                                             reinterpret_cast<LPARAM>(ofn), false, ofn);
    if (!dialog) {
        if (ownerWasEnabled)
            EnableWindowInternal(owner, true);
        world.commDlgError = 0x0005;  // CDERR_FINDRESFAILURE
        return FALSE;
    }
    world.modalDialogs.push_back(dialog);
    auto ended = [dialog] { return !DialogOf(dialog) || DialogOf(dialog)->ended; };
    PumpPostedMessages(dialog, ended);
    if (!ended())
        ShowWindowInternal(dialog, true, true);
    for (int round = 0; !ended(); ++round) {
        PumpPostedMessages(dialog, ended);
        if (ended())
            break;
        if (round >= MAX_RESPONDER_ROUNDS)
            throw std::logic_error("winsim: the file dialog responder never closed the dialog");
        const std::uint64_t actions = world.userActions;
        const std::size_t calls = world.calls.size();
        if (world.fileDialogResponder) {
            const auto responder = world.fileDialogResponder;
            responder(dialog);
        } else {
            FileDialogPress(dialog, IDOK);
        }
        if (!ended() && world.userActions == actions && world.calls.size() == calls && world.queue.empty())
            throw std::logic_error("winsim: the file dialog waits forever: its responder took no action");
    }
    const BOOL result = DialogOf(dialog) ? static_cast<BOOL>(DialogOf(dialog)->result) : FALSE;
    world.modalDialogs.pop_back();
    DestroyWindowInternal(dialog);
    if (ownerWasEnabled && FindWindowRecord(owner)) {
        EnableWindowInternal(owner, true);
        ActivateInternal(owner);
    }
    return result;
}

DWORD CommDlgExtendedError(void)
{
    Log("CommDlgExtendedError", {});
    return TheWorld().commDlgError;
}
