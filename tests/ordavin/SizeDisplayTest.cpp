// Size texts, the volume queries and the target field's change handler.
#include "FakeVolumes.h"
#include "MainDialogFixture.h"

#include <cstring>

namespace {
std::string SizeText(ULONGLONG ullBytes)
{
    char sz[128];
    memset(sz, '#', sizeof(sz));
    FormatSizeText(ullBytes, sz, sizeof(sz));
    return sz;
}
}  // namespace

TEST(SizeText, UnitsSwitchAtADecimalPointButCountInPowersOfTwo)
{
    const struct { ULONGLONG bytes; const char* text; } cases[] = {
        {0, "0 MB"},
        {1048575, "0 MB"},
        {1048576, "1 MB"},
        {1293942784, "1.234 MB"},
        {2499999999ULL, "2.384 MB"},
        {2500000000ULL, "2 GB"},
        {4294967296ULL, "4 GB"},
        {5000000000ULL, "4 GB"},
        {123456789012ULL, "114 GB"},
        {~0ULL, "17.179.869.183 GB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text, SizeText(c.bytes)) << c.bytes;

    char small[5];
    memset(small, '#', sizeof(small));
    FormatSizeText(1293942784, small, sizeof(small));
    EXPECT_STREQ("1.23", small);
}

TEST(SizeText, VolumeQueriesKeepOrReplaceTheByteCounts)
{
    FakeVolumes volumes;
    volumes.volumes["D:"] = {1000, 3000000000ULL + 1000};
    volumes.volumes["C:"] = {5000000000ULL, 9000000000ULL};

    g_ullFreeBytes = 42;
    EXPECT_FALSE(QueryFreeSpace("Q:"));
    EXPECT_EQ(42u, g_ullFreeBytes);
    EXPECT_STREQ("n.V. GB", g_szFreeText);
    EXPECT_TRUE(QueryFreeSpace("C:"));
    EXPECT_EQ(5000000000ULL, g_ullFreeBytes);
    EXPECT_STREQ("4 GB", g_szFreeText);

    EXPECT_TRUE(QueryCdSize("D:"));
    EXPECT_EQ(3000000000ULL, g_ullCdBytes);
    EXPECT_STREQ("2 GB", g_szCdSizeText);
    // A failing query leaves no stale size behind.
    EXPECT_TRUE(QueryCdSize("Q:"));
    EXPECT_EQ(0u, g_ullCdBytes);
    EXPECT_STREQ("n.V. GB", g_szCdSizeText);
    const std::vector<std::string> asked = {"Q:", "C:", "D:", "Q:"};
    EXPECT_EQ(asked, volumes.asked);
}

class TargetFieldTest : public MainDialogTest
{
protected:
    void OpenWithTarget(const char* pszTarget)
    {
        ASSERT_TRUE(reg::SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quendramark\\Texorra", "NuvadoDir", pszTarget));
        OpenDialog();
        volumes.asked.clear();
    }
    void Type(const char* pszText) { gui::SetEditText(hDlg, IDC_TARGET, pszText); }
    bool InstallEnabled()
    {
        bool bButton = gui::IsEnabled(hDlg, IDC_INSTALL);
        EXPECT_EQ(bButton, gui::IsEnabled(hDlg, IDC_INSTALL_READY));
        return bButton;
    }

    FakeVolumes volumes;
};

TEST_F(TargetFieldTest, InstallNeedsMoreThanTheCdPlusTheMargin)
{
    volumes.volumes["C:"] = {700000000 + INSTALL_MARGIN_EDIT, 0};
    volumes.volumes["D:"] = {700000000 + INSTALL_MARGIN_EDIT + 1, 0};
    OpenWithTarget("C:\\Ziel");
    g_ullCdBytes = 700000000;

    Type("C:\\Ziel\\Neu");
    EXPECT_FALSE(InstallEnabled());
    EXPECT_EQ("C:", gui::ControlText(hDlg, IDC_TARGET_DRIVE));
    Type("D:\\Ziel");
    EXPECT_TRUE(InstallEnabled());
    EXPECT_EQ("762 MB", gui::ControlText(hDlg, IDC_FREE_SPACE));
    EXPECT_EQ("D:", gui::ControlText(hDlg, IDC_TARGET_DRIVE));
    // No wrap-around when the CD size is near the top of the range.
    g_ullCdBytes = ~0ULL - 10;
    Type("D:\\Ziel2");
    EXPECT_FALSE(InstallEnabled());
    // A CD whose size could not be read (0 bytes, "n.V. GB") fits nowhere.
    ASSERT_TRUE(QueryCdSize("Q:"));
    Type("D:\\Ziel3");
    EXPECT_FALSE(InstallEnabled());
}

TEST_F(TargetFieldTest, WhatIsQueriedAndWhatStaysShown)
{
    volumes.volumes["C:"] = {3000000000ULL, 0};
    OpenWithTarget("C:\\Ziel");
    g_ullCdBytes = 0;

    Type("C:");
    EXPECT_EQ(std::vector<std::string>{"C:"}, volumes.asked);
    EXPECT_EQ("2 GB", gui::ControlText(hDlg, IDC_FREE_SPACE));
    EXPECT_TRUE(InstallEnabled());

    // A drive-relative path: the drive is what stands before the first
    // backslash, cut to its letter and colon.
    volumes.asked.clear();
    Type("C:Ziel\\x");
    EXPECT_EQ(std::vector<std::string>{"C:"}, volumes.asked);
    EXPECT_EQ("C:", gui::ControlText(hDlg, IDC_TARGET_DRIVE));

    // Emptied: nothing is queried, nothing changes.
    volumes.asked.clear();
    volumes.asked.clear();
    Type("");
    EXPECT_TRUE(volumes.asked.empty());
    EXPECT_EQ(3000000000ULL, g_ullFreeBytes);
    EXPECT_EQ("2 GB", gui::ControlText(hDlg, IDC_FREE_SPACE));
    EXPECT_EQ("C:", gui::ControlText(hDlg, IDC_TARGET_DRIVE));
    EXPECT_TRUE(InstallEnabled());

    // No colon: no query, displays kept, but no room is known any more.
    Type("\\\\server\\share\\Ziel");
    EXPECT_TRUE(volumes.asked.empty());
    EXPECT_EQ(0u, g_ullFreeBytes);
    EXPECT_EQ("2 GB", gui::ControlText(hDlg, IDC_FREE_SPACE));
    EXPECT_EQ("C:", gui::ControlText(hDlg, IDC_TARGET_DRIVE));
    EXPECT_FALSE(InstallEnabled());
}

namespace {
int s_nSetTexts = 0;
LRESULT CALLBACK CountSetTexts(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HC_ACTION && reinterpret_cast<const CWPSTRUCT*>(lParam)->message == WM_SETTEXT)
        ++s_nSetTexts;
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}
}  // namespace

TEST_F(MainDialogTest, ADisplayGetsOnlyATextItDoesNotShowYet)
{
    OpenDialog();
    // Longer than any size text: its start is not the whole of it.
    const std::string longText(200, 'x'), itsStart(sizeof(g_szFreeText), 'x');
    const struct {
        const char* text;
        bool bSent;
    } steps[] = {{"1.234 MB", true}, {"1.234 MB", false}, {"1.235 MB", true}, {"1.235", true},
                 {"", true},         {"", false},         {longText.c_str(), true}, {itsStart.c_str(), true}};
    HHOOK hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, &CountSetTexts, nullptr, ::GetCurrentThreadId());
    for (const auto& step : steps) {
        s_nSetTexts = 0;
        SetControlText(hDlg, IDC_FREE_SPACE, step.text);
        EXPECT_EQ(step.text, gui::ControlText(hDlg, IDC_FREE_SPACE));
        EXPECT_EQ(step.bSent ? 1 : 0, s_nSetTexts) << step.text;
    }
    ::UnhookWindowsHookEx(hHook);
}

TEST_F(MainDialogTest, ADriveThatDoesNotExistIsNotAvailable)
{
    OpenDialog();
    g_ullCdBytes = 0;
    gui::SetEditText(hDlg, IDC_TARGET, "C:\\Ziel");
    ASSERT_TRUE(gui::IsEnabled(hDlg, IDC_INSTALL)) << "drive C: should have room";
    gui::SetEditText(hDlg, IDC_TARGET, "Q:\\Ziel");
    EXPECT_EQ("n.V. GB", gui::ControlText(hDlg, IDC_FREE_SPACE));
    EXPECT_EQ("n.V.", gui::ControlText(hDlg, IDC_TARGET_DRIVE));
    EXPECT_FALSE(gui::IsEnabled(hDlg, IDC_INSTALL));
    EXPECT_FALSE(gui::IsEnabled(hDlg, IDC_INSTALL_READY));
}

TEST_F(TargetFieldTest, TheScanShowsTheTargetDriveAsItIs)
{
    volumes.volumes["C:"] = {2u << 20, 0};
    OpenWithTarget("C:\\Ziel");

    // The change handler shows a drive it cannot query as "n.V."; the scan
    // queries the same drive but shows it unchanged.
    gui::SetEditText(hDlg, IDC_TARGET, "Q:\\Ziel");
    EXPECT_EQ("n.V. GB", gui::ControlText(hDlg, IDC_FREE_SPACE));
    EXPECT_EQ("n.V.", gui::ControlText(hDlg, IDC_TARGET_DRIVE));
    volumes.asked.clear();
    gui::ClickButton(hDlg, IDC_REFRESH);
    EXPECT_EQ(std::vector<std::string>{"Q:"}, volumes.asked);
    EXPECT_EQ("n.V. GB", gui::ControlText(hDlg, IDC_FREE_SPACE));
    EXPECT_EQ("Q:", gui::ControlText(hDlg, IDC_TARGET_DRIVE));

    // With an empty field the scan leaves both displays alone.
    gui::SetEditText(hDlg, IDC_TARGET, "C:\\Ziel");
    gui::SetEditText(hDlg, IDC_TARGET, "");
    volumes.asked.clear();
    gui::ClickButton(hDlg, IDC_REFRESH);
    EXPECT_TRUE(volumes.asked.empty());
    EXPECT_EQ("2 MB", gui::ControlText(hDlg, IDC_FREE_SPACE));
    EXPECT_EQ("C:", gui::ControlText(hDlg, IDC_TARGET_DRIVE));
}
