// The platform gate: which Windows versions the installer accepts, and what
// the user sees when it refuses.
#include "../../ordavin/app/PlatformGate.h"
#include "MainDialogFixture.h"

#include <vector>

namespace {

// The version the stand-in query reports, and how often it may answer.
OSVERSIONINFOEXA g_fakeVersion;
int g_nFailures = 0;           // the first n queries fail
int g_nQueries = 0;
std::vector<DWORD> g_querySizes;   // the record size of each query

BOOL WINAPI FakeGetVersionEx(LPOSVERSIONINFOA pInfo)
{
    g_nQueries++;
    g_querySizes.push_back(pInfo->dwOSVersionInfoSize);
    if (g_nQueries <= g_nFailures)
        return FALSE;
    DWORD size = pInfo->dwOSVersionInfoSize;
    memcpy(pInfo, &g_fakeVersion, size);
    pInfo->dwOSVersionInfoSize = size;
    return TRUE;
}

class PlatformGateTest : public ProgramRegistryTest
{
protected:
    void SetUp() override
    {
        ProgramRegistryTest::SetUp();
        g_pfnGetVersionEx = &FakeGetVersionEx;
        g_nFailures = 0;
        g_nQueries = 0;
        g_querySizes.clear();
    }
    void TearDown() override
    {
        g_pfnGetVersionEx = &::GetVersionExA;
        ProgramRegistryTest::TearDown();
    }
    static void Report(DWORD platform, DWORD major, DWORD minor)
    {
        g_fakeVersion = {};
        g_fakeVersion.dwPlatformId = platform;
        g_fakeVersion.dwMajorVersion = major;
        g_fakeVersion.dwMinorVersion = minor;
    }
};

const char kWarning[] =
    "Diese Programmfassung ist eine Windows XP, Vista bzw.      \nWindows 2000 Anwendung! \n"
    "F\xFCr die Nutzung unter Windows 98/ME installieren \nSie bitte die Parallelversion via SETUP.exe.\n\n"
    "             Vielen Dank!";

}  // namespace

TEST_F(PlatformGateTest, DecidesByPlatformAndMajorVersionOnly)
{
    struct Case { DWORD platform, major, minor; BOOL supported; } cases[] = {
        {VER_PLATFORM_WIN32_NT, 4, 0, FALSE},        // NT 4.0
        {VER_PLATFORM_WIN32_NT, 5, 0, TRUE},         // 2000
        {VER_PLATFORM_WIN32_NT, 5, 1, TRUE},         // XP
        {VER_PLATFORM_WIN32_NT, 6, 1, TRUE},         // 7
        {VER_PLATFORM_WIN32_NT, 10, 0, TRUE},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 10, FALSE},  // 98
        {VER_PLATFORM_WIN32_WINDOWS, 5, 0, FALSE},   // the 9x family is refused at any version
        {VER_PLATFORM_WIN32s, 5, 0, FALSE},
    };
    for (const Case& c : cases) {
        Report(c.platform, c.major, c.minor);
        g_nQueries = 0;
        EXPECT_EQ(c.supported, IsSupportedOsVersion()) << "platform " << c.platform << " version " << c.major << "." << c.minor;
    }
}

TEST_F(PlatformGateTest, AsksWithTheExtendedBlockFirstAndFallsBackToThePlainOne)
{
    Report(VER_PLATFORM_WIN32_NT, 5, 0);
    g_nFailures = 1;
    EXPECT_TRUE(IsSupportedOsVersion());
    // The extended record first, then the plain one that older systems know.
    EXPECT_EQ((std::vector<DWORD>{156, 148}), g_querySizes);
}

TEST_F(PlatformGateTest, BothQueriesFailingIsUnsupported)
{
    Report(VER_PLATFORM_WIN32_NT, 5, 0);
    g_nFailures = 2;
    EXPECT_FALSE(IsSupportedOsVersion());
}

TEST_F(PlatformGateTest, RefusedPlatformsGetTheWarningAndNoWindow)
{
    struct Case { DWORD platform, major; int failures; } cases[] = {
        {VER_PLATFORM_WIN32_NT, 4, 0},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 0},
        {VER_PLATFORM_WIN32_NT, 5, 2},   // no version at all
    };
    for (const Case& c : cases) {
        Report(c.platform, c.major, 0);
        g_nFailures = c.failures;
        g_nQueries = 0;
        gui::MessageBoxRecorder boxes;
        gui::DialogDriver driver([](HWND hWnd) { ::EndDialog(hWnd, IDCANCEL); }, 5000);
        EXPECT_FALSE(theApp.InitInstance());
        EXPECT_TRUE(driver.seen.empty()) << "the main dialog must not open";
        ASSERT_EQ(1u, boxes.boxes.size());
        EXPECT_EQ("Texorra 5.0 - Hilfsprogramm", boxes.boxes[0].caption);
        EXPECT_EQ(kWarning, boxes.boxes[0].text);
        EXPECT_EQ(std::vector<int>{IDOK}, boxes.boxes[0].buttons);
        EXPECT_EQ(gui::Icon::Warning, boxes.boxes[0].icon);
        EXPECT_EQ(nullptr, boxes.boxes[0].hOwner);
    }
}

TEST_F(PlatformGateTest, Windows2000OpensTheMainDialogAndEndsWithIt)
{
    Report(VER_PLATFORM_WIN32_NT, 5, 0);
    gui::MessageBoxRecorder boxes;
    std::string caption;
    gui::DialogDriver driver([&](HWND hWnd) {
        caption = gui::Text(hWnd);
        ::PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_FALSE(theApp.InitInstance());
    EXPECT_FALSE(driver.timedOut);
    ASSERT_EQ(1u, driver.seen.size());
    EXPECT_EQ("Zorvalia - Hilfsprogramm", caption);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(nullptr, theApp.m_pMainWnd) << "the main window pointer must not outlive the dialog";
    EXPECT_STREQ("Quendramark", theApp.m_pszRegistryKey);
}
