#include "DllVersion.h"

#include "../framework/DllSearch.h"

#include <climits>
#include <cstring>

LPCSTR g_pszComCtlDll = "comctl32.dll";

HMODULE LoadCheckedLibrary(LPCSTR pszDllName)
{
    // A bare name is the system's library: the platform's usual search
    // would try the program's folder and the current directory first.
    if (!strpbrk(pszDllName, "\\/:"))
        return LoadSystemLibrary(pszDllName);
    return ::LoadLibraryExA(pszDllName, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

BOOL GetDllVersion(LPCSTR pszDllName, DLLVERSIONINFO* pdvi)
{
    // Never freed: the common controls stay in use for the program's run,
    // and freeing the library a caller may already hold gains nothing.
    HMODULE hDll = LoadCheckedLibrary(pszDllName);
    if (!hDll)
        return FALSE;
    DLLGETVERSIONPROC pfnGetVersion =
        reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(::GetProcAddress(hDll, "DllGetVersion")));
    if (!pfnGetVersion)
        return FALSE;
    memset(pdvi, 0, sizeof(*pdvi));
    pdvi->cbSize = sizeof(*pdvi);
    return SUCCEEDED(pfnGetVersion(pdvi));
}

void ReadComCtlVersion(DLLVERSIONINFO* pdvi)
{
    // Zeroed first: the callers show and compare the fields whatever the
    // result, and nothing uninitialised may reach either.
    memset(pdvi, 0, sizeof(*pdvi));
    pdvi->cbSize = sizeof(*pdvi);
    GetDllVersion(g_pszComCtlDll, pdvi);
}

int ComparableVersion(const DLLVERSIONINFO& dvi)
{
    unsigned long long v = static_cast<unsigned long long>(dvi.dwMajorVersion) * 100u + dvi.dwMinorVersion;
    return v > static_cast<unsigned long long>(INT_MAX) ? INT_MAX : static_cast<int>(v);
}
