// MessageBoxA: the box is answered by the test's responder in the user's place, and
// every box shown is kept for the test to read.
//
// As on the platform the box is modal: its owner's top-level window is disabled while
// it shows, and the messages posted before it are delivered by its message loop before
// the user can answer.
#include "world.h"

#include <algorithm>
#include <stdexcept>

namespace winsim {
namespace {

std::vector<int> ButtonsOf(UINT style)
{
    switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
        return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
        return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
        return {IDYES, IDNO};
    case MB_RETRYCANCEL:
        return {IDRETRY, IDCANCEL};
    default:
        return {IDOK};
    }
}

}  // namespace

void SetMessageBoxResponder(std::function<int(const MessageBoxRequest &)> responder)
{
    TheWorld().messageBoxResponder = std::move(responder);
}

const std::vector<MessageBoxRequest> &MessageBoxesShown()
{
    return TheWorld().messageBoxes;
}

}  // namespace winsim

using namespace winsim;

// A null caption is the platform's "Error".
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    Log("MessageBoxA", {Arg(owner), type}, text);
    World &world = TheWorld();
    const MessageBoxRequest request{text ? text : "", caption ? caption : "Error", owner, type};
    world.messageBoxes.push_back(request);

    const HWND disabled = owner && FindWindowRecord(owner) ? TopLevelWindowOf(owner) : nullptr;
    const bool wasEnabled = disabled && !(FindWindowRecord(disabled)->style & WS_DISABLED);
    if (wasEnabled)
        EnableWindowInternal(disabled, false);
    PumpPostedMessages(nullptr);

    const std::vector<int> buttons = ButtonsOf(type);
    const std::size_t defaultIndex = (type & MB_DEFMASK) >> 8;
    int answer = buttons[defaultIndex < buttons.size() ? defaultIndex : 0];
    if (world.messageBoxResponder) {
        const auto responder = world.messageBoxResponder;
        answer = responder(request);
        if (std::find(buttons.begin(), buttons.end(), answer) == buttons.end())
            throw std::logic_error("winsim: the message box responder answered " + std::to_string(answer) +
                                   ", a button the box \"" + request.text + "\" does not have");
    }
    if (wasEnabled && FindWindowRecord(disabled))
        EnableWindowInternal(disabled, true);
    return answer;
}
