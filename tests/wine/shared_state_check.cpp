// shared_state_check DLLPATH: settings made through the exports in one process are seen
// by a second process that maps the same library.
//
// The first process loads the library, makes its settings through the exports (called
// by name, checking that each pops its own arguments), and starts a copy of itself:
//   shared_state_check DLLPATH --read FIELD=VALUE ...
// which loads the library too and checks each named field of the shared section
// against the value given. The first keeps the library loaded until the copy ends.
#include "platform.h"

#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "checks.h"
#include "kxhook.h"
#include "pe_image.h"

namespace {

struct Field {
    const char* name;
    size_t offset;
    size_t size;
};

#define FIELD(member) {#member, offsetof(SharedHookState, member), sizeof(SharedHookState::member)}
const Field fields[] = {
    FIELD(mouseHookHandle), FIELD(keyboardHookHandle), FIELD(messageHookHandle),
    FIELD(callWndHookHandle), FIELD(parentWindow), FIELD(autoScrollDlg),
    FIELD(wheelRollMessage), FIELD(wheelMode), FIELD(markWindow),
    FIELD(hScrollHoverCursor), FIELD(middleButtonIndex), FIELD(autoScrollDirection),
    FIELD(scrollingEnabled), FIELD(zoomInEnabled),
};
#undef FIELD

const Field* FindField(const char* name, size_t length)
{
    for (const Field& field : fields)
        if (strlen(field.name) == length && strncmp(field.name, name, length) == 0)
            return &field;
    return nullptr;
}

// The raw bits of a field, as the 16- or 32-bit value it holds.
DWORD ReadField(const SharedHookState* state, const Field& field)
{
    DWORD value = 0;
    memcpy(&value, reinterpret_cast<const BYTE*>(state) + field.offset, field.size);
    return value;
}

// Checks "FIELD=HEX" pairs against the state; used by both processes.
void CheckFields(const SharedHookState* state, int count, char** pairs, const char* who)
{
    for (int i = 0; i < count; ++i) {
        const char* equals = strchr(pairs[i], '=');
        const Field* field = equals ? FindField(pairs[i], equals - pairs[i]) : nullptr;
        if (!REQUIRE(checks::Label("%s: unknown field in \"%s\"", who, pairs[i]), field))
            continue;
        const DWORD expected = strtoul(equals + 1, nullptr, 16);
        CHECK_EQ(checks::Label("%s sees %s", who, field->name), expected, ReadField(state, *field));
    }
}

HMODULE LoadHookLibrary(const char* path, SharedHookState** state)
{
    HMODULE module = LoadLibraryA(path);
    if (!CHECK_TRUE(checks::Label("LoadLibraryA %s", path), module))
        return nullptr;
    *state = pe::SharedStateOf(module);
    if (!CHECK_TRUE("shared section found through the section headers", *state))
        return nullptr;
    return module;
}

// Calls a one-argument export by name and checks that it removed its argument from
// the stack (stdcall); returns what it returned.
DWORD CallExport(HMODULE module, const char* name, DWORD argument)
{
    FARPROC function = GetProcAddress(module, name);
    if (!REQUIRE(checks::Label("GetProcAddress %s", name), function))
        return 0;
    DWORD result;
    LONG stackChange;
    // esi holds the stack pointer across the call: callee-saved in every convention.
    asm volatile(
        "movl %%esp, %%esi\n\t"
        "pushl %[argument]\n\t"
        "call *%[function]\n\t"
        "movl %%esp, %%edx\n\t"
        "subl %%esi, %%edx\n\t"
        "movl %%esi, %%esp\n\t"
        : "=a"(result), "=d"(stackChange)
        : [function] "r"(function), [argument] "r"(argument)
        : "ecx", "esi", "memory", "cc");
    CHECK_EQ(checks::Label("%s leaves the stack as it found it", name), 0, stackChange);
    return result;
}

int Reader(const char* dllPath, int count, char** pairs)
{
    SharedHookState* state = nullptr;
    if (!LoadHookLibrary(dllPath, &state))
        return checks::Finish();
    CHECK_EQ("second process: RegisterWindowMessageA(\"MSWHEEL_ROLLMSG\") agrees",
             RegisterWindowMessageA("MSWHEEL_ROLLMSG"), state->wheelRollMessage);
    CheckFields(state, count, pairs, "second process");
    return checks::Finish();
}

int Writer(const char* selfPath, const char* dllPath)
{
    SharedHookState* state = nullptr;
    HMODULE module = LoadHookLibrary(dllPath, &state);
    if (!module)
        return checks::Finish();

    const UINT rollMessage = RegisterWindowMessageA("MSWHEEL_ROLLMSG");
    CHECK_EQ("wheelRollMessage is the registered MSWHEEL_ROLLMSG", rollMessage, state->wheelRollMessage);
    CHECK_TRUE("wheelRollMessage is a registered message number",
               state->wheelRollMessage >= 0xC000 && state->wheelRollMessage <= 0xFFFF);

    CHECK_EQ("SetWheelMode(0x10001) returns", 1u, CallExport(module, "SetWheelMode", 0x10001));
    CHECK_EQ("SetMiddleButtonIndex(0xFFFF) returns", -1,
             static_cast<int>(CallExport(module, "SetMiddleButtonIndex", 0xFFFF)));
    CHECK_EQ("SetMiddleButtonIndex(0xFFFF) stores", -1, state->middleButtonIndex);
    CHECK_EQ("SetMiddleButtonIndex(23) returns", 23u, CallExport(module, "SetMiddleButtonIndex", 23));
    CHECK_EQ("EnableScrolling(1) returns", 1u, CallExport(module, "EnableScrolling", 1));
    CHECK_EQ("EnableZoomIn(1) returns", 1u, CallExport(module, "EnableZoomIn", 1));
    CHECK_EQ("SetAutoScrollDirection(0x70003) returns", 3u,
             CallExport(module, "SetAutoScrollDirection", 0x70003));

    // Fake handles and windows: the library stores them without a look.
    struct Stored {
        const char* exportName;
        DWORD value;
    };
    static const Stored stored[] = {
        {"SetMouseHookHandle", 0x00A10011},   {"SetKeyboardHookHandle", 0x00A20022},
        {"SetMessageHookHandle", 0x00A30033}, {"SetCallWndHookHandle", 0x00A40044},
        {"SetMarkWindow", 0x00A50055},        {"SetAutoScrollDlg", 0x00A60066},
    };
    for (const Stored& s : stored)
        CHECK_EQ(checks::Label("%s returns its argument", s.exportName), s.value,
                 CallExport(module, s.exportName, s.value));

    HWND window = CreateWindowExA(0, "STATIC", "shared state check", WS_POPUP, 0, 0, 1, 1, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    CHECK_TRUE("own window created", window);
    const DWORD hoverCursor = CallExport(module, "SetParentWindow", reinterpret_cast<DWORD>(window));
    CHECK_TRUE("SetParentWindow returns a cursor", hoverCursor);
    CHECK_EQ("SetParentWindow returns IDC_HOR_SCROLL1", LoadCursorA(module, "IDC_HOR_SCROLL1"),
             reinterpret_cast<HCURSOR>(hoverCursor));

    char buffer[64];
    std::string expected;
    auto expect = [&](const char* field, DWORD value) {
        snprintf(buffer, sizeof buffer, " %s=%lx", field, value);
        expected += buffer;
    };
    expect("wheelRollMessage", rollMessage);
    expect("wheelMode", 1);
    expect("middleButtonIndex", 23);
    expect("scrollingEnabled", 1);
    expect("zoomInEnabled", 1);
    expect("autoScrollDirection", SCROLL_RIGHT);
    expect("mouseHookHandle", stored[0].value);
    expect("keyboardHookHandle", stored[1].value);
    expect("messageHookHandle", stored[2].value);
    expect("callWndHookHandle", stored[3].value);
    expect("markWindow", stored[4].value);
    expect("autoScrollDlg", stored[5].value);
    expect("parentWindow", reinterpret_cast<DWORD>(window));
    expect("hScrollHoverCursor", hoverCursor);

    // This process's own view first, through the same list.
    std::string own = expected;
    char* pairs[32];
    int count = 0;
    for (char* token = strtok(own.data(), " "); token && count < 32; token = strtok(nullptr, " "))
        pairs[count++] = token;
    CheckFields(state, count, pairs, "first process");

    std::string command = std::string("\"") + selfPath + "\" \"" + dllPath + "\" --read" + expected;
    printf("   starting: %s\n", command.c_str());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    if (CHECK_TRUE("second process started", CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0,
                                                            nullptr, nullptr, &startup, &process))) {
        CHECK_EQ("second process ended in time", WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 60000));
        DWORD exitCode = 1;
        GetExitCodeProcess(process.hProcess, &exitCode);
        CHECK_EQ("second process passed", 0u, exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CHECK_EQ("wheelRollMessage unchanged after the second process", rollMessage, state->wheelRollMessage);

    DestroyWindow(window);
    FreeLibrary(module);
    return checks::Finish();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && strcmp(argv[2], "--read") == 0) {
        checks::Start("shared_state_check (second process)");
        return Reader(argv[1], argc - 3, argv + 3);
    }
    checks::Start("shared_state_check");
    if (argc != 2) {
        printf("usage: shared_state_check DLLPATH\n");
        return 2;
    }
    char selfPath[MAX_PATH];
    GetModuleFileNameA(nullptr, selfPath, sizeof selfPath);
    return Writer(selfPath, argv[1]);
}
