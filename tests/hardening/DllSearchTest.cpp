// Which narrowing each Windows version gets, and where a bare library name
// is taken from.
#include "../../framework/DllSearch.h"

#include <gtest/gtest.h>

#include <cstring>

#include <string>

TEST(PlanDllSearch, RestrictsWhereItCanAndPreloadsElsewhere)
{
    struct Case { DWORD major, minor; BOOL hasSetDefault; BOOL systemOnly, preload, preloadComCtl; };
    const Case cases[] = {
        {5, 0, FALSE, FALSE, TRUE, TRUE},    // 2000: no side-by-side store
        {5, 1, FALSE, FALSE, TRUE, FALSE},   // XP
        {5, 2, FALSE, FALSE, TRUE, FALSE},   // Server 2003
        {6, 0, FALSE, FALSE, TRUE, FALSE},   // Vista
        {6, 0, TRUE, FALSE, TRUE, FALSE},    // Vista with KB2533623: the shell link would fail
        {6, 1, FALSE, FALSE, TRUE, FALSE},   // 7 without the update
        {6, 1, TRUE, TRUE, FALSE, FALSE},    // 7 with it
        {6, 2, TRUE, TRUE, FALSE, FALSE},    // 8 and later
        {10, 0, TRUE, TRUE, FALSE, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.major << "." << c.minor << " SetDefaultDllDirectories " << c.hasSetDefault);
        DllSearchPlan plan = PlanDllSearch(c.major, c.minor, c.hasSetDefault);
        EXPECT_EQ(c.systemOnly, plan.bSystemOnly);
        EXPECT_EQ(c.preload, plan.bPreload);
        EXPECT_EQ(c.preloadComCtl, plan.bPreloadComCtl);
    }
}

TEST(LoadSystemLibrary, TakesTheSystemFoldersCopy)
{
    char szSystem[MAX_PATH] = "";
    ASSERT_NE(0u, ::GetSystemDirectoryA(szSystem, MAX_PATH));
    HMODULE hWinmm = LoadSystemLibrary("winmm.dll");
    ASSERT_NE(nullptr, hWinmm);
    char szLoaded[MAX_PATH] = "";
    ::GetModuleFileNameA(hWinmm, szLoaded, MAX_PATH);
    EXPECT_EQ(0, lstrcmpiA((std::string(szSystem) + "\\winmm.dll").c_str(), szLoaded));
    // A name that would not fit into a path is refused, not cut, and not
    // even tried (the error code stays): at the limit exactly, the path and
    // its terminator would need one byte more than the buffer has.
    size_t cchFree = MAX_PATH - std::strlen(szSystem) - 1;
    for (size_t cchName : {cchFree - 1, cchFree, size_t(MAX_PATH)}) {
        ::SetLastError(0xDEAD);
        EXPECT_EQ(nullptr, LoadSystemLibrary(std::string(cchName, 'a').c_str())) << cchName;
        EXPECT_EQ(cchName < cchFree, ::GetLastError() != 0xDEAD) << cchName;
    }
}
