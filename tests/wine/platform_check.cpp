// platform_check: the rig's first program. Confirms that the prefix presents itself as
// Windows 98 (4.10, the Windows 95 family), since the library and its callers take the
// code paths of that family.
#include "platform.h"

#include "checks.h"

int main()
{
    checks::Start("platform_check");

    const DWORD version = GetVersion();
    CHECK_TRUE("GetVersion bit 31 set (Windows 95 family)", version & 0x80000000);
    CHECK_EQ("GetVersion major", 4, LOBYTE(LOWORD(version)));
    CHECK_EQ("GetVersion minor", 10, HIBYTE(LOWORD(version)));

    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (CHECK_TRUE("GetVersionExA", GetVersionExA(&info)))
        CHECK_EQ("platform id", VER_PLATFORM_WIN32_WINDOWS, info.dwPlatformId);

    return checks::Finish();
}
