// The platform gate: the installer runs on the NT family from version 5
// (Windows 2000) on.
#pragma once

#include <windows.h>

// The decision alone: the NT platform with a major version of 5 or more.
BOOL IsSupportedPlatform(const OSVERSIONINFOA& version);

// Queries the running Windows version and decides. Unsupported as well when
// neither the extended nor the plain version query answers.
BOOL IsSupportedOsVersion();

// The version query the gate uses; tests put a stand-in here.
typedef BOOL(WINAPI* PFN_GETVERSIONEXA)(LPOSVERSIONINFOA);
extern PFN_GETVERSIONEXA g_pfnGetVersionEx;
