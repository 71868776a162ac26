// The hook tests' fixture and helpers.
#include "hook_fixture.h"

#include <ostream>

namespace {
// Captured before any test runs: the shared state is constant-initialised from the image.
const SharedHookState initialState = shared;
}

const SharedHookState &InitialSharedState()
{
    return initialState;
}

void HookTest::SetUp()
{
    winsim::Reset();
    shared = initialState;
    module = winsim::LoadModule(KXHOOK_RES_PATH);
    ASSERT_NE(module, nullptr) << "cannot read " << KXHOOK_RES_PATH;
    ASSERT_TRUE(DllMain(module, DLL_PROCESS_ATTACH, nullptr));
    winsim::ClearCalls();
}

std::vector<Effect> Effects()
{
    static const char *const effectApis[] = {"PostMessageA", "SendMessageA", "keybd_event", "WinExec"};
    std::vector<Effect> effects;
    for (const winsim::Call &call : winsim::Calls())
        for (const char *api : effectApis)
            if (call.api == api)
                effects.push_back(Effect{call.api, call.args, call.text});
    return effects;
}

std::ostream &operator<<(std::ostream &out, const Effect &effect)
{
    out << effect.api << "(";
    for (std::size_t i = 0; i < effect.args.size(); ++i)
        out << (i ? ", " : "") << "0x" << std::hex << effect.args[i] << std::dec;
    if (!effect.text.empty())
        out << ", \"" << effect.text << "\"";
    return out << ")";
}

std::uintptr_t H(const void *handle)
{
    return winsim::Arg(handle);
}
