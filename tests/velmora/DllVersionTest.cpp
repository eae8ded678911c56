#include "VelmoraFixture.h"

#include "../../framework/WinApp.h"

#include <climits>
#include <cstring>

using velmora_test::StandIn;

namespace {
// A record full of a pattern, so that any write to it shows.
DLLVERSIONINFO Scribbled()
{
    DLLVERSIONINFO dvi;
    memset(&dvi, 0xCD, sizeof(dvi));
    return dvi;
}

bool IsScribbled(const DLLVERSIONINFO& dvi)
{
    DLLVERSIONINFO expected = Scribbled();
    return memcmp(&dvi, &expected, sizeof(dvi)) == 0;
}
}  // namespace

TEST(GetDllVersion, ReadsWhatEachLibraryReports)
{
    struct Case { const char* dll; DWORD major, minor, build, platform; int comparable; };
    const Case cases[] = {
        {"cc_v472", 4, 72, 3110, 1, 472},
        {"cc_v580", 5, 80, 2614, 1, 580},
        {"cc_v581", 5, 81, 4916, 2, 581},
        {"cc_v600", 6, 0, 2600, 2, 600},
        {"cc_v582", 5, 82, 2900, 2, 582},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dll);
        // The stand-ins refuse a record whose size field is not set.
        DLLVERSIONINFO dvi = Scribbled();
        ASSERT_TRUE(GetDllVersion(StandIn(c.dll).c_str(), &dvi));
        EXPECT_EQ(sizeof(DLLVERSIONINFO), dvi.cbSize);
        EXPECT_EQ(c.major, dvi.dwMajorVersion);
        EXPECT_EQ(c.minor, dvi.dwMinorVersion);
        EXPECT_EQ(c.build, dvi.dwBuildNumber);
        EXPECT_EQ(c.platform, dvi.dwPlatformID);
        EXPECT_EQ(c.comparable, ComparableVersion(dvi));
    }
}

TEST(GetDllVersion, ErrorResultLeavesAZeroedRecord)
{
    DLLVERSIONINFO dvi = Scribbled();
    EXPECT_FALSE(GetDllVersion(StandIn("cc_fail").c_str(), &dvi));
    EXPECT_EQ(sizeof(DLLVERSIONINFO), dvi.cbSize);
    EXPECT_EQ(0u, dvi.dwMajorVersion | dvi.dwMinorVersion | dvi.dwBuildNumber | dvi.dwPlatformID);
}

TEST(GetDllVersion, UnloadableLibraryOrMissingExportLeavesTheRecordAlone)
{
    for (const std::string& dll : {StandIn("cc_noexport"), StandIn("cc_absent")}) {
        SCOPED_TRACE(dll);
        DLLVERSIONINFO dvi = Scribbled();
        EXPECT_FALSE(GetDllVersion(dll.c_str(), &dvi));
        EXPECT_TRUE(IsScribbled(dvi));
    }
}

TEST(ReadComCtlVersion, CountsAnUnreadableLibraryAsVersionZero)
{
    const std::string names[] = {StandIn("cc_noexport"), StandIn("cc_absent"), StandIn("cc_fail")};
    for (const std::string& dll : names) {
        SCOPED_TRACE(dll);
        g_pszComCtlDll = dll.c_str();
        DLLVERSIONINFO dvi = Scribbled();
        ReadComCtlVersion(&dvi);
        EXPECT_EQ(0u, dvi.dwMajorVersion | dvi.dwMinorVersion | dvi.dwBuildNumber | dvi.dwPlatformID);
        EXPECT_EQ(0, ComparableVersion(dvi));
    }
    g_pszComCtlDll = "comctl32.dll";
}

TEST(ComparableVersion, HugeFieldsStayAboveTheThreshold)
{
    DLLVERSIONINFO dvi = {sizeof(dvi), 21474837, 0, 0, 2};   // * 100 passes INT_MAX
    EXPECT_EQ(INT_MAX, ComparableVersion(dvi));
    dvi.dwMajorVersion = 0xFFFFFFFFu;
    dvi.dwMinorVersion = 0xFFFFFFFFu;
    EXPECT_EQ(INT_MAX, ComparableVersion(dvi));
}

TEST(VelmoraApplication, NameIsTheExecutablesBaseNameWithoutAStringForIt)
{
    // The checker has no application-name string, so the framework falls
    // back to the name of the running executable.
    ASSERT_NE(nullptr, AfxGetApp());
    EXPECT_STREQ("velmora_tests", AfxGetApp()->m_pszAppName);
}
