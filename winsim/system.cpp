// The clock, the version and the end of the session: what the installer's driver asks
// of the system. Time passes only as the code reads it, so waits are deterministic.
#include "world.h"

using namespace winsim;

DWORD GetTickCount(void)
{
    Log("GetTickCount", {});
    World &world = TheWorld();
    const DWORD now = world.tickCount;
    world.tickCount += world.tickStep;
    return now;
}

// Bit 31 set marks the Windows 95 family; 0xC0000A04 is what Windows 98 reports.
DWORD GetVersion(void)
{
    Log("GetVersion", {});
    return TheWorld().version;
}

// Logged; the session goes on.
BOOL ExitWindowsEx(UINT flags, DWORD reserved)
{
    Log("ExitWindowsEx", {flags, reserved});
    return TRUE;
}

namespace winsim {

void SetTickCount(DWORD start, DWORD stepPerCall)
{
    TheWorld().tickCount = start;
    TheWorld().tickStep = stepPerCall;
}

void SetVersion(DWORD version)
{
    TheWorld().version = version;
}

}  // namespace winsim
