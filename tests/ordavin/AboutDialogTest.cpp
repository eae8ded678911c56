// The About dialog: registered owner, link colours, font and cursor, links
// opened through the shell; the way from the notes dialog and back.
//
// HKEY_LOCAL_MACHINE and HKEY_CLASSES_ROOT are redirected for this process
// to scratch keys below the program's keys, so that the prefix's own
// registration and web and mail handlers stay untouched.
#include "MainDialogFixture.h"

#include "../../ordavin/ui/AboutDlg.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace {

#define SCRATCH "Software\\Quendramark\\Scratch"
#define OWNER_KEY SCRATCH "\\Software\\Microsoft\\Windows NT\\CurrentVersion"
const COLORREF kBlue = RGB(0, 0, 255), kPurple = RGB(128, 0, 128);

class AboutDialogTest : public ProgramRegistryTest
{
protected:
    void TearDown() override
    {
        dlg.reset();
        ::RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        ProgramRegistryTest::TearDown();
    }
    // Opens the dialog, shown without activation; with a root key given,
    // that root is the scratch key while the dialog initialises.
    void Open(HKEY hRedirected = nullptr)
    {
        HKEY hScratch = nullptr;
        ::RegCreateKeyExA(HKEY_CURRENT_USER, SCRATCH, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hScratch, nullptr);
        if (hRedirected)
            ::RegOverridePredefKey(hRedirected, hScratch);
        dlg = std::make_unique<CAboutDlg>();
        ASSERT_TRUE(dlg->Create());
        if (hRedirected == HKEY_LOCAL_MACHINE)
            ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        ::RegCloseKey(hScratch);
        hDlg = dlg->m_hWnd;
        ::ShowWindow(hDlg, SW_SHOWNA);
        gui::Pump(50);
    }
    // The text colour the dialog sets for a control, as a control asks.
    COLORREF LinkColor(int id)
    {
        HDC hdc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ hOldFont = ::GetCurrentObject(hdc, OBJ_FONT);
        EXPECT_NE(0, ::SendMessageA(hDlg, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                    reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, id))));
        COLORREF cr = ::GetTextColor(hdc);
        ::SelectObject(hdc, hOldFont);   // as the control does after drawing
        ::DeleteDC(hdc);
        return cr;
    }

    std::unique_ptr<CAboutDlg> dlg;
    HWND hDlg = nullptr;
};

}  // namespace

TEST(AboutDialog, RegistrationKeyByPlatform)
{
    const char* kNt = "Software\\Microsoft\\Windows NT\\CurrentVersion";
    const char* k9x = "Software\\Microsoft\\Windows\\CurrentVersion";
    struct { DWORD version; const char* key; } cases[] = {
        {0x0A280105, kNt}, {0x1DB10106, kNt}, {0xC0000A04, k9x}, {0xC0005A04, k9x}, {0x80000003, nullptr}};
    for (const auto& c : cases)
        EXPECT_STREQ(c.key, RegisteredOwnerKey(c.version)) << std::hex << c.version;
}

TEST_F(AboutDialogTest, RegisteredOwnerOrTemplateText)
{
    const std::string a127(127, 'a'), b128(128, 'b'), kTemplate = "Nutzungsbedingungen:";
    const char* const kNone = nullptr;
    struct { bool key; const char* owner; const char* org; std::string shown; } cases[] = {
        {true, "Eva", "Stadtbibliothek Ulmenau, Neue Medien", "Registrierter Anwender: Eva\r\nOrganisation bzw. Firma "
         "oder Institution:\n             Stadtbibliothek Ulmenau, Neue Medien\r\n\r\n"},
        {true, "J\xF6rg", "", "Registrierter Anwender: J\xF6rg\r\nOrganisation bzw. Firma oder Institution:\n             \r\n\r\n"},
        {true, a127.c_str(), "x",
         "Registrierter Anwender: " + a127 + "\r\nOrganisation bzw. Firma oder Institution:\n             x\r\n\r\n"},
        {true, b128.c_str(), "x", kTemplate}, {true, "Eva", b128.c_str(), kTemplate},
        {true, "Eva", kNone, kTemplate}, {true, kNone, "x", kTemplate}, {false, kNone, kNone, kTemplate},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.owner ? c.owner : c.key ? "(no owner)" : "(no key)");
        reg::DeleteTree(HKEY_CURRENT_USER, SCRATCH);
        if (c.key)
            reg::CreateKey(HKEY_CURRENT_USER, OWNER_KEY);
        if (c.owner)
            reg::SetString(HKEY_CURRENT_USER, OWNER_KEY, "RegisteredOwner", c.owner);
        if (c.org)
            reg::SetString(HKEY_CURRENT_USER, OWNER_KEY, "RegisteredOrganization", c.org);
        Open(HKEY_LOCAL_MACHINE);
        EXPECT_EQ(c.shown, gui::ControlText(hDlg, IDC_REGISTERED_OWNER));
    }
    // 128 bytes without a terminator are too long as well.
    reg::SetRaw(HKEY_CURRENT_USER, OWNER_KEY, "RegisteredOwner", REG_SZ, b128.data(), 128);
    reg::SetString(HKEY_CURRENT_USER, OWNER_KEY, "RegisteredOrganization", "x");
    Open(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(kTemplate, gui::ControlText(hDlg, IDC_REGISTERED_OWNER));
}

TEST_F(AboutDialogTest, UnderlinedLinkFontIsReplacedNotLeakedOverManyRepaints)
{
    Open();
    HGDIOBJ hPrevious = nullptr;
    for (int i = 0; i < 200; ++i) {
        ::RedrawWindow(hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        HGDIOBJ hFont = dlg->m_fontLink.GetSafeHandle();
        LOGFONTA lf = {};
        ASSERT_EQ(static_cast<int>(sizeof(lf)), ::GetObjectA(hFont, sizeof(lf), &lf)) << "repaint " << i;
        ASSERT_TRUE(lf.lfUnderline);
        ASSERT_NE(hPrevious, hFont) << "each repaint of the links makes the font anew";
        ASSERT_EQ(0u, hPrevious ? ::GetObjectType(hPrevious) : 0u) << "the replaced font still exists, repaint " << i;
        hPrevious = hFont;
    }
    dlg.reset();
    EXPECT_EQ(0u, ::GetObjectType(hPrevious)) << "the last link font outlives the dialog";
}

TEST_F(AboutDialogTest, HandCursorOverBothLinksOnly)
{
    Open();
    ::SetWindowPos(hDlg, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HWND hDash = ::GetWindow(::GetDlgItem(hDlg, IDC_WEB_LINK), GW_HWNDNEXT);
    ASSERT_EQ("-", gui::Text(hDash));
    struct { HWND hCtl; bool hand; } places[] = {
        {::GetDlgItem(hDlg, IDC_WEB_LINK), true}, {::GetDlgItem(hDlg, IDC_MAIL_LINK), true}, {hDash, false},
        {::GetDlgItem(hDlg, IDC_REGISTERED_OWNER), false}, {::GetDlgItem(hDlg, IDOK), false}};
    for (const auto& p : places) {
        SCOPED_TRACE(gui::Text(p.hCtl));
        RECT rc;
        ::GetWindowRect(p.hCtl, &rc);
        POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
        ::SetCursorPos(pt.x, pt.y);
        gui::Pump(60);
        if (::GetAncestor(::WindowFromPoint(pt), GA_ROOT) != hDlg)
            GTEST_SKIP() << "another window covers the dialog";
        EXPECT_EQ(p.hand, ::GetCursor() == dlg->m_hLinkCursor);
    }
}

// ---- links through the shell -------------------------------------------------

namespace {

class AboutLinkTest : public AboutDialogTest
{
protected:
    void SetUp() override
    {
        AboutDialogTest::SetUp();
        const char* pszBuild = std::getenv("ZORVALIA_BUILD_DIR");
        if (!pszBuild || !*pszBuild)
            GTEST_SKIP() << "needs the viewer stand-in of the build";
        m_standIn = std::string("Z:") + pszBuild + "/tools/viewer/ViewerStandIn.exe";
        std::replace(m_standIn.begin(), m_standIn.end(), '/', '\\');
        m_log = testenv::HostFolder("links.log");
        ::DeleteFileA(m_log.c_str());
        ::SetEnvironmentVariableA("ZORVALIA_VIEWER_LOG", m_log.c_str());
    }
    void TearDown() override
    {
        ::SetEnvironmentVariableA("ZORVALIA_VIEWER_LOG", nullptr);
        ::DeleteFileA(m_log.c_str());
        AboutDialogTest::TearDown();
    }
    // The link targets the stand-in logged, once there are n (or after a while).
    std::vector<std::string> Opened(size_t n)
    {
        std::vector<std::string> lines;
        for (int i = 0; i < 150 && lines.size() < n; ++i, ::Sleep(100)) {
            lines.clear();
            std::ifstream in(m_log);
            for (std::string line; std::getline(in, line);)
                lines.push_back(line.substr(0, line.find('|')));
        }
        std::sort(lines.begin(), lines.end());   // the stand-ins run side by side
        return lines;
    }
    std::string m_standIn, m_log;
};

}  // namespace

TEST_F(AboutLinkTest, WebAndMailLinksOpenThroughTheirHandlersAndTurnPurple)
{
    for (const char* scheme : {"http", "https", "mailto"})
        reg::SetString(HKEY_CURRENT_USER, std::string(SCRATCH "\\") + scheme + "\\shell\\open\\command", nullptr,
                       "\"" + m_standIn + "\" \"%1\"");
    Open(HKEY_CLASSES_ROOT);
    gui::MessageBoxRecorder boxes;
    EXPECT_EQ(kBlue, LinkColor(IDC_WEB_LINK));
    gui::SendCommand(hDlg, IDC_WEB_LINK, STN_CLICKED);
    EXPECT_EQ(kPurple, LinkColor(IDC_WEB_LINK));
    EXPECT_EQ(kBlue, LinkColor(IDC_MAIL_LINK));
    gui::SendCommand(hDlg, IDC_WEB_LINK, STN_CLICKED);   // opens the site again
    gui::SendCommand(hDlg, IDC_MAIL_LINK, STN_CLICKED);
    EXPECT_EQ(kPurple, LinkColor(IDC_WEB_LINK));
    EXPECT_EQ(kPurple, LinkColor(IDC_MAIL_LINK));
    const std::string web = gui::ControlText(hDlg, IDC_WEB_LINK);   // the link opens what it shows
    EXPECT_EQ((std::vector<std::string>{web, web, "mailto:info@quendramark.de"}), Opened(3));
    EXPECT_EQ("http://www.quendramark.de", web);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(AboutLinkTest, WithoutHandlersTheUserIsToldAndTheLinksStayBlue)
{
    Open(HKEY_CLASSES_ROOT);
    gui::MessageBoxRecorder boxes;
    gui::SendCommand(hDlg, IDC_WEB_LINK, STN_CLICKED);
    gui::SendCommand(hDlg, IDC_MAIL_LINK, STN_CLICKED);
    ASSERT_EQ(2u, boxes.boxes.size());
    const char* texts[] = {"Web-Seite konnte nicht ge\xF6" "ffnet werden.", "Das Email-Programm konnte nicht gefunden werden."};
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ("Texorra 5.0 - Hilfsprogramm", boxes.boxes[i].caption);
        EXPECT_EQ(texts[i], boxes.boxes[i].text);
        EXPECT_EQ(std::vector<int>{IDOK}, boxes.boxes[i].buttons);
        EXPECT_EQ(gui::Icon::None, boxes.boxes[i].icon);
        EXPECT_EQ(hDlg, boxes.boxes[i].hOwner);
    }
    EXPECT_EQ(kBlue, LinkColor(IDC_WEB_LINK));
    EXPECT_EQ(kBlue, LinkColor(IDC_MAIL_LINK));
    EXPECT_TRUE(Opened(0).empty());
}

TEST_F(MainDialogTest, InfoInTheNotesOpensAboutAndOkClosesBoth)
{
    OpenDialog();
    ::SetActiveWindow(hDlg);
    bool bMainWasActive = ::GetActiveWindow() == hDlg;
    std::vector<std::string> captions;
    std::vector<HWND> owners;
    gui::DialogDriver driver([&](HWND hWnd) {
        captions.push_back(gui::Text(hWnd));
        owners.push_back(::GetWindow(hWnd, GW_OWNER));
        ::PostMessageA(hWnd, WM_COMMAND, IDOK, 0);   // "Info ...", then "OK"
    });
    driver.ignored.push_back(hDlg);
    gui::ClickButton(hDlg, IDC_NOTES);
    EXPECT_FALSE(driver.timedOut);
    ASSERT_EQ((std::vector<std::string>{"Hinweise:", "Installer f\xFCr Zorvalia-CD-ROMs"}), captions);
    EXPECT_EQ(driver.seen[0], owners[1]) << "the About dialog stacks above the notes";
    EXPECT_FALSE(::IsWindow(driver.seen[0]) || ::IsWindow(driver.seen[1]));
    if (!bMainWasActive)
        GTEST_SKIP() << "the main dialog could not be activated here";
    EXPECT_EQ(hDlg, ::GetActiveWindow());
}
