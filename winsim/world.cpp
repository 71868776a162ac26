// winsim's state, its reset, the call log and the last error.
#include "world.h"

#include <cctype>

namespace winsim {

World &TheWorld()
{
    static World world;
    return world;
}

void Reset()
{
    DeleteScratchFolders();
    TheWorld() = World{};
}

void SetError(DWORD error)
{
    TheWorld().lastError = error;
}

void Log(const char *api, std::vector<std::uintptr_t> args, const char *text)
{
    World &world = TheWorld();
    world.calls.push_back(Call{api, std::move(args), text ? text : ""});
    if (world.observer) {
        const Call call = world.calls.back();
        world.observer(call);
    }
}

const std::vector<Call> &Calls()
{
    return TheWorld().calls;
}

std::vector<Call> CallsTo(const std::string &api)
{
    std::vector<Call> found;
    for (const Call &call : TheWorld().calls)
        if (call.api == api)
            found.push_back(call);
    return found;
}

void ClearCalls()
{
    TheWorld().calls.clear();
}

std::uintptr_t Arg(const void *handle)
{
    return reinterpret_cast<std::uintptr_t>(handle);
}

bool SameText(const std::string &a, const std::string &b)
{
    return Upper(a) == Upper(b);
}

std::string Upper(const std::string &text)
{
    std::string upper = text;
    for (char &c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

}  // namespace winsim

using namespace winsim;

DWORD GetLastError(void)
{
    Log("GetLastError", {});
    return TheWorld().lastError;
}

void SetLastError(DWORD error)
{
    Log("SetLastError", {error});
    TheWorld().lastError = error;
}
