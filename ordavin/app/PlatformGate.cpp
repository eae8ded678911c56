#include "PlatformGate.h"

#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif

PFN_GETVERSIONEXA g_pfnGetVersionEx = &::GetVersionExA;

BOOL IsSupportedPlatform(const OSVERSIONINFOA& version)
{
    // Minor version, build and service pack do not matter.
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5;
}

BOOL IsSupportedOsVersion()
{
    // The extended block first (156 bytes); systems that know only the
    // plain block (148 bytes) refuse it.
    OSVERSIONINFOEXA info = {};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    if (!g_pfnGetVersionEx(reinterpret_cast<OSVERSIONINFOA*>(&info))) {
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!g_pfnGetVersionEx(reinterpret_cast<OSVERSIONINFOA*>(&info)))
            return FALSE;
    }
    return IsSupportedPlatform(*reinterpret_cast<OSVERSIONINFOA*>(&info));
}
