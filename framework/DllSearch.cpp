#include "DllSearch.h"

#include <cstring>

namespace {

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

typedef BOOL(WINAPI* PFN_SETDEFAULTDLLDIRECTORIES)(DWORD);
typedef BOOL(WINAPI* PFN_SETDLLDIRECTORYA)(LPCSTR);

// What the shell link object, the folder browser, ShellExecuteA, COM and
// MCI load by name on demand and that is not a known DLL on every version;
// a library missing on an older system is simply not loaded.
const char* const kShellOnDemand[] = {
    "uxtheme.dll",  "version.dll", "userenv.dll", "setupapi.dll", "apphelp.dll", "propsys.dll",
    "dwmapi.dll",   "cryptbase.dll", "oleacc.dll", "clbcatq.dll", "comres.dll",  "linkinfo.dll",
    "ntshrui.dll",  "mpr.dll",     "profapi.dll", "ntmarta.dll", "msimg32.dll", "mcicda.dll",
};

FARPROC KernelProc(LPCSTR pszName)
{
    HMODULE hKernel = ::GetModuleHandleA("kernel32.dll");
    return hKernel ? ::GetProcAddress(hKernel, pszName) : nullptr;
}

}  // namespace

HMODULE LoadSystemLibrary(LPCSTR pszName)
{
    char szPath[MAX_PATH];
    UINT cchDir = ::GetSystemDirectoryA(szPath, MAX_PATH);
    size_t cchName = strlen(pszName);
    if (cchDir == 0 || cchDir >= MAX_PATH || cchDir + 1 + cchName >= MAX_PATH)
        return nullptr;
    szPath[cchDir] = '\\';
    memcpy(szPath + cchDir + 1, pszName, cchName + 1);
    // Without the flag, the library's own imports would be searched in the
    // program's folder first.
    return ::LoadLibraryExA(szPath, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

DllSearchPlan PlanDllSearch(DWORD dwMajor, DWORD dwMinor, BOOL bHasSetDefaultDllDirectories)
{
    // On Vista (6.0) the shell link object can no longer be created once
    // the search is restricted, so the shortcut would be lost there.
    BOOL bVista = dwMajor == 6 && dwMinor == 0;
    DllSearchPlan plan;
    plan.bSystemOnly = bHasSetDefaultDllDirectories && !bVista;
    plan.bPreload = !plan.bSystemOnly;
    plan.bPreloadComCtl = dwMajor < 5 || (dwMajor == 5 && dwMinor == 0);
    return plan;
}

void NarrowDllSearch()
{
    // From XP SP1 on; Wine keeps the current directory in its search even
    // then (an empty directory counts as none there).
    if (PFN_SETDLLDIRECTORYA pfnSetDllDirectory =
            reinterpret_cast<PFN_SETDLLDIRECTORYA>(reinterpret_cast<void*>(KernelProc("SetDllDirectoryA"))))
        pfnSetDllDirectory("");

    PFN_SETDEFAULTDLLDIRECTORIES pfnSetDefault = reinterpret_cast<PFN_SETDEFAULTDLLDIRECTORIES>(
        reinterpret_cast<void*>(KernelProc("SetDefaultDllDirectories")));
    OSVERSIONINFOA osvi = {};
    osvi.dwOSVersionInfoSize = sizeof(osvi);
    if (!::GetVersionExA(&osvi))
        osvi.dwMajorVersion = osvi.dwMinorVersion = 0;
    DllSearchPlan plan = PlanDllSearch(osvi.dwMajorVersion, osvi.dwMinorVersion, pfnSetDefault != nullptr);
    if (plan.bSystemOnly && !pfnSetDefault(LOAD_LIBRARY_SEARCH_SYSTEM32))
        plan.bPreload = TRUE;
    if (plan.bPreload)
        for (LPCSTR pszName : kShellOnDemand)
            LoadSystemLibrary(pszName);
    if (plan.bPreloadComCtl)
        LoadSystemLibrary("comctl32.dll");
}
