/* A stand-in for the common-controls library, built once per version the
 * tests need. Definitions choose what DllGetVersion answers:
 *   STANDIN_MAJOR, STANDIN_MINOR, STANDIN_BUILD, STANDIN_PLATFORM
 *                        the version it reports;
 *   STANDIN_FAIL         an error result, with nothing written;
 *   STANDIN_NO_EXPORT    no DllGetVersion export at all.
 * Like the real library it refuses a record whose cbSize is not that of
 * DLLVERSIONINFO. */
#include <windows.h>
#include <shlwapi.h>

/* So that a program that imports it can load a stand-in copied as
 * "comctl32.dll" beside it; registers nothing. */
__declspec(dllexport) void WINAPI InitCommonControls(void)
{
}

#ifdef STANDIN_NO_EXPORT
__declspec(dllexport) int StandInPresent(void)
{
    return 1;
}
#else
__declspec(dllexport) HRESULT CALLBACK DllGetVersion(DLLVERSIONINFO* pdvi)
{
    if (!pdvi || pdvi->cbSize != sizeof(DLLVERSIONINFO))
        return E_INVALIDARG;
#ifdef STANDIN_FAIL
    return E_FAIL;
#else
    pdvi->dwMajorVersion = STANDIN_MAJOR;
    pdvi->dwMinorVersion = STANDIN_MINOR;
    pdvi->dwBuildNumber = STANDIN_BUILD;
    pdvi->dwPlatformID = STANDIN_PLATFORM;
    return S_OK;
#endif
}
#endif
