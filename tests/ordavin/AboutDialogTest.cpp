// The About dialog: the registered owner, the links' colours, font and
// cursor, the links opened through the shell; and the way from the notes
// dialog to the About dialog and back to the main dialog.
#include "MainDialogFixture.h"

#include "../../ordavin/ui/AboutDlg.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace {

#define NT_VERSION_KEY "Software\\Microsoft\\Windows NT\\CurrentVersion"
// The scratch key that stands in for HKEY_LOCAL_MACHINE while a dialog
// reads the registered owner; ResetProgramKeys removes it.
#define FAKE_MACHINE_ROOT "Software\\Quendramark\\FakeMachine"

const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kPurple = RGB(128, 0, 128);

class AboutDialogTest : public ProgramRegistryTest
{
protected:
    void TearDown() override
    {
        dlg.reset();
        gui::Pump(20);
        ProgramRegistryTest::TearDown();
    }

    // Creates the dialog modelessly and shows it without activating it.
    void Open()
    {
        dlg = std::make_unique<CAboutDlg>();
        ASSERT_TRUE(dlg->Create());
        hDlg = dlg->m_hWnd;
        ::ShowWindow(hDlg, SW_SHOWNA);
        gui::Pump(50);
    }

    // Opens the dialog while HKEY_LOCAL_MACHINE is the fake machine root.
    void OpenOnFakeMachine()
    {
        HKEY hFake = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, FAKE_MACHINE_ROOT, 0, nullptr, 0, KEY_ALL_ACCESS,
                                                   nullptr, &hFake, nullptr));
        ASSERT_EQ(ERROR_SUCCESS, ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, hFake));
        Open();
        ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        ::RegCloseKey(hFake);
    }

    // The text colour and underline that the dialog sets for control id.
    void ColorsFor(int id, COLORREF* pcr, bool* pbUnderline)
    {
        HDC hdc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ hOldFont = ::GetCurrentObject(hdc, OBJ_FONT);
        HWND hCtl = ::GetDlgItem(hDlg, id);
        LRESULT hbr = ::SendMessageA(hDlg, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hCtl));
        EXPECT_NE(0, hbr) << "a control colour request returns its brush directly";
        *pcr = ::GetTextColor(hdc);
        LOGFONTA lf = {};
        ::GetObjectA(::GetCurrentObject(hdc, OBJ_FONT), sizeof(lf), &lf);
        *pbUnderline = lf.lfUnderline != 0;
        // Like a control after drawing: its own font goes back in.
        ::SelectObject(hdc, hOldFont);
        ::DeleteDC(hdc);
    }

    std::unique_ptr<CAboutDlg> dlg;
    HWND hDlg = nullptr;
};

}  // namespace

TEST(AboutDialog, RegistrationKeyByPlatform)
{
    struct { DWORD version; const char* key; } cases[] = {
        {0x0A280105, NT_VERSION_KEY},                                 // NT 5.1
        {0x1DB10106, NT_VERSION_KEY},                                 // NT 6.1
        {0xC0000A04, "Software\\Microsoft\\Windows\\CurrentVersion"},  // 98: high bit, major 4
        {0xC0005A04, "Software\\Microsoft\\Windows\\CurrentVersion"},  // ME
        {0x80000003, nullptr},                                        // Win32s on 3.x
    };
    for (const auto& c : cases) {
        LPCSTR key = RegisteredOwnerKey(c.version);
        if (!c.key)
            EXPECT_EQ(nullptr, key) << std::hex << c.version;
        else
            EXPECT_STREQ(c.key, key) << std::hex << c.version;
    }
}

TEST_F(AboutDialogTest, RegisteredOwnerOrTemplateText)
{
    const std::string k127(127, 'a'), k128(128, 'b');
    const char* kMissing = nullptr;
    struct {
        const char* name;
        bool key;
        const char* owner;
        const char* organization;
        std::string shown;
    } cases[] = {
        {"organisation longer than owner", true, "Eva", "Stadtbibliothek Ulmenau, Abteilung Neue Medien",
         "Registrierter Anwender: Eva\r\nOrganisation bzw. Firma oder Institution:\n"
         "             Stadtbibliothek Ulmenau, Abteilung Neue Medien\r\n\r\n"},
        {"empty organisation", true, "Jonas M\xFCller", "",
         "Registrierter Anwender: Jonas M\xFCller\r\nOrganisation bzw. Firma oder Institution:\n             \r\n\r\n"},
        {"127 characters fit", true, k127.c_str(), "x",
         "Registrierter Anwender: " + k127 + "\r\nOrganisation bzw. Firma oder Institution:\n             x\r\n\r\n"},
        {"owner of 128 characters", true, k128.c_str(), "x", "Nutzungsbedingungen:"},
        {"organisation of 128 characters", true, "Eva", k128.c_str(), "Nutzungsbedingungen:"},
        {"missing organisation", true, "Eva", kMissing, "Nutzungsbedingungen:"},
        {"missing owner", true, kMissing, "Bibliothek", "Nutzungsbedingungen:"},
        {"missing key", false, kMissing, kMissing, "Nutzungsbedingungen:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        reg::DeleteTree(HKEY_CURRENT_USER, FAKE_MACHINE_ROOT);
        const std::string key = FAKE_MACHINE_ROOT "\\" NT_VERSION_KEY;
        if (c.key) {
            ASSERT_TRUE(reg::CreateKey(HKEY_CURRENT_USER, key));
        }
        if (c.owner)
            reg::SetString(HKEY_CURRENT_USER, key, "RegisteredOwner", c.owner);
        if (c.organization)
            reg::SetString(HKEY_CURRENT_USER, key, "RegisteredOrganization", c.organization);
        OpenOnFakeMachine();
        EXPECT_EQ(c.shown, gui::ControlText(hDlg, IDC_REGISTERED_OWNER));
        dlg.reset();
    }
    // A value of exactly 128 bytes without a terminator is too long as well.
    const std::string key = FAKE_MACHINE_ROOT "\\" NT_VERSION_KEY;
    reg::SetRaw(HKEY_CURRENT_USER, key, "RegisteredOwner", REG_SZ, k128.data(), 128);
    reg::SetString(HKEY_CURRENT_USER, key, "RegisteredOrganization", "x");
    OpenOnFakeMachine();
    EXPECT_EQ("Nutzungsbedingungen:", gui::ControlText(hDlg, IDC_REGISTERED_OWNER));
}

TEST_F(AboutDialogTest, LinksAreUnderlinedBlueAndTheirTextsFitOneLine)
{
    Open();
    struct { int id; bool link; } controls[] = {{IDC_WEB_LINK, true}, {IDC_MAIL_LINK, true}, {IDC_REGISTERED_OWNER, false}};
    for (const auto& c : controls) {
        SCOPED_TRACE(c.id);
        COLORREF cr = 0;
        bool bUnderline = false;
        ColorsFor(c.id, &cr, &bUnderline);
        EXPECT_EQ(c.link, cr == kBlue) << std::hex << cr;
        EXPECT_EQ(c.link, bUnderline);
    }
    // A link that wraps or is cut would hide part of the address.
    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageA(hDlg, WM_GETFONT, 0, 0));
    HDC hdc = ::GetDC(hDlg);
    HGDIOBJ hOld = ::SelectObject(hdc, hFont);
    for (int id : {IDC_WEB_LINK, IDC_MAIL_LINK}) {
        RECT rcCtl = {}, rcText = {};
        ::GetClientRect(::GetDlgItem(hDlg, id), &rcCtl);
        std::string text = gui::ControlText(hDlg, id);
        ::DrawTextA(hdc, text.c_str(), -1, &rcText, DT_CALCRECT | DT_SINGLELINE);
        EXPECT_LE(rcText.right, rcCtl.right) << text;
    }
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(hDlg, hdc);
}

TEST_F(AboutDialogTest, LinkFontIsReplacedNotLeakedOverManyRepaints)
{
    Open();
    HGDIOBJ hPrevious = nullptr;
    int replaced = 0;
    for (int i = 0; i < 200; ++i) {
        ::RedrawWindow(hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        HGDIOBJ hFont = dlg->m_fontLink.GetSafeHandle();
        ASSERT_EQ(static_cast<DWORD>(OBJ_FONT), ::GetObjectType(hFont)) << "repaint " << i;
        if (hPrevious && hPrevious != hFont) {
            ++replaced;
            ASSERT_EQ(0u, ::GetObjectType(hPrevious)) << "the replaced link font still exists, repaint " << i;
        }
        hPrevious = hFont;
    }
    EXPECT_GE(replaced, 199) << "every repaint of the links makes the font anew";
    dlg.reset();
    EXPECT_EQ(0u, ::GetObjectType(hPrevious)) << "the last link font outlives the dialog";
}

TEST_F(AboutDialogTest, HandCursorOverBothLinksOnly)
{
    Open();
    HCURSOR hArrow = ::LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(nullptr, dlg->m_hLinkCursor);
    ::SetWindowPos(hDlg, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    gui::Pump(50);
    // The separator and the owner text are statics without SS_NOTIFY: the
    // mouse passes through them to the dialog.
    struct { int id; bool hand; } places[] = {
        {IDC_WEB_LINK, true}, {IDC_MAIL_LINK, true}, {IDC_REGISTERED_OWNER, false}, {IDOK, false}, {0, false},
    };
    HWND hDash = ::GetWindow(::GetDlgItem(hDlg, IDC_WEB_LINK), GW_HWNDNEXT);
    ASSERT_EQ("-", gui::Text(hDash));
    for (const auto& p : places) {
        HWND hCtl = p.id ? ::GetDlgItem(hDlg, p.id) : hDash;
        SCOPED_TRACE(gui::Text(hCtl));
        RECT rc;
        ::GetWindowRect(hCtl, &rc);
        POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        ::SetCursor(hArrow);
        ::SetCursorPos(pt.x, pt.y);
        gui::Pump(60);
        HWND hHit = ::WindowFromPoint(pt);
        if (hHit != hCtl && hHit != hDlg)
            GTEST_SKIP() << "another window covers the dialog";
        EXPECT_EQ(p.hand, ::GetCursor() == dlg->m_hLinkCursor);
        // The message itself, as the system sends it for this place.
        ::SetCursor(hArrow);
        LRESULT handled = ::SendMessageA(hHit, WM_SETCURSOR, reinterpret_cast<WPARAM>(hHit), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(p.hand, handled != 0 && ::GetCursor() == dlg->m_hLinkCursor);
    }
}

// ---- links opened through the shell -----------------------------------------

namespace {

const char* const kSchemes[] = {"http", "https", "mailto"};
#define SCHEME_BACKUP "Software\\Quendramark\\SchemeBackup\\"

std::string StandInPath()
{
    const char* pszBuild = std::getenv("ZORVALIA_BUILD_DIR");
    if (!pszBuild || !*pszBuild)
        return std::string();
    std::string path = std::string("Z:") + pszBuild + "/tools/viewer/ViewerStandIn.exe";
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

// The stand-in's log lines (without the working directory), waiting
// (bounded) until there are at least n.
std::vector<std::string> WaitForOpened(const std::string& log, size_t n)
{
    std::vector<std::string> lines;
    for (DWORD waited = 0; waited < 15000; waited += 100) {
        lines.clear();
        std::ifstream in(log);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line.substr(0, line.find('|')));
        if (lines.size() >= n)
            break;
        ::Sleep(100);
    }
    return lines;
}

// The web and mail handlers of the prefix are set aside while a case runs
// and put back after it.
class AboutLinkTest : public AboutDialogTest
{
protected:
    void SetUp() override
    {
        AboutDialogTest::SetUp();
        if (StandInPath().empty())
            GTEST_SKIP() << "needs the viewer stand-in of the build";
        for (const char* scheme : kSchemes) {
            HKEY hBackup = nullptr;
            ::RegCreateKeyExA(HKEY_CURRENT_USER, (SCHEME_BACKUP + std::string(scheme)).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &hBackup, nullptr);
            m_saved.push_back(::SHCopyKeyA(HKEY_CLASSES_ROOT, scheme, hBackup, 0) == ERROR_SUCCESS);
            ::RegCloseKey(hBackup);
            reg::DeleteTree(HKEY_CLASSES_ROOT, scheme);
        }
        m_log = testenv::HostFolder("links.log");
        ::DeleteFileA(m_log.c_str());
        ::SetEnvironmentVariableA("ZORVALIA_VIEWER_LOG", m_log.c_str());
    }
    void TearDown() override
    {
        dlg.reset();
        for (size_t i = 0; i < m_saved.size(); ++i) {
            reg::DeleteTree(HKEY_CLASSES_ROOT, kSchemes[i]);
            if (!m_saved[i])
                continue;
            HKEY hKey = nullptr;
            ::RegCreateKeyExA(HKEY_CLASSES_ROOT, kSchemes[i], 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr);
            HKEY hBackup = nullptr;
            ::RegOpenKeyExA(HKEY_CURRENT_USER, SCHEME_BACKUP, 0, KEY_READ, &hBackup);
            ::SHCopyKeyA(hBackup, kSchemes[i], hKey, 0);
            ::RegCloseKey(hBackup);
            ::RegCloseKey(hKey);
        }
        ::SetEnvironmentVariableA("ZORVALIA_VIEWER_LOG", nullptr);
        if (!m_log.empty())
            ::DeleteFileA(m_log.c_str());
        AboutDialogTest::TearDown();
    }

    // The stand-in as the program of a URL scheme.
    void RegisterStandIn(const char* scheme)
    {
        std::string key = std::string(scheme) + "\\shell\\open\\command";
        ASSERT_TRUE(reg::SetString(HKEY_CLASSES_ROOT, scheme, "URL Protocol", ""));
        ASSERT_TRUE(reg::SetString(HKEY_CLASSES_ROOT, key, nullptr, "\"" + StandInPath() + "\" \"%1\""));
    }

    // A click on a link as the static reports it.
    void Click(int id) { gui::SendCommand(hDlg, id, STN_CLICKED); }

    COLORREF LinkColor(int id)
    {
        COLORREF cr = 0;
        bool bUnderline = false;
        ColorsFor(id, &cr, &bUnderline);
        return cr;
    }

    std::vector<bool> m_saved;
    std::string m_log;
};

}  // namespace

TEST_F(AboutLinkTest, WebAndMailLinksOpenThroughTheirHandlersAndTurnPurple)
{
    for (const char* scheme : kSchemes)
        RegisterStandIn(scheme);
    Open();
    gui::MessageBoxRecorder boxes;
    EXPECT_EQ(kBlue, LinkColor(IDC_WEB_LINK));
    Click(IDC_WEB_LINK);
    EXPECT_EQ(kPurple, LinkColor(IDC_WEB_LINK));
    EXPECT_EQ(kBlue, LinkColor(IDC_MAIL_LINK)) << "each link has its own visited state";
    // A second click opens the site again.
    Click(IDC_WEB_LINK);
    EXPECT_EQ(kPurple, LinkColor(IDC_WEB_LINK));
    Click(IDC_MAIL_LINK);
    EXPECT_EQ(kPurple, LinkColor(IDC_MAIL_LINK));

    std::vector<std::string> opened = WaitForOpened(m_log, 3);
    std::sort(opened.begin(), opened.end());   // the stand-ins run side by side
    std::vector<std::string> expected = {"http://www.quendramark.de", "http://www.quendramark.de",
                                         "mailto:info@quendramark.de"};
    EXPECT_EQ(expected, opened);
    EXPECT_TRUE(boxes.boxes.empty());
    // The web address is the text the link shows.
    EXPECT_EQ(expected[0], gui::ControlText(hDlg, IDC_WEB_LINK));
    EXPECT_EQ("Email: " + expected[2].substr(7), gui::ControlText(hDlg, IDC_MAIL_LINK));
}

TEST_F(AboutLinkTest, WithoutHandlersTheUserIsToldAndTheLinksStayBlue)
{
    Open();
    gui::MessageBoxRecorder boxes;
    Click(IDC_WEB_LINK);
    Click(IDC_MAIL_LINK);
    ASSERT_EQ(2u, boxes.boxes.size());
    const char* texts[] = {"Web-Seite konnte nicht ge\xF6" "ffnet werden.", "Das Email-Programm konnte nicht gefunden werden."};
    for (size_t i = 0; i < 2; ++i) {
        const gui::MessageBoxRecord& box = boxes.boxes[i];
        EXPECT_EQ("Texorra 5.0 - Hilfsprogramm", box.caption);
        EXPECT_EQ(texts[i], box.text);
        EXPECT_EQ(std::vector<int>{IDOK}, box.buttons);
        EXPECT_EQ(gui::Icon::None, box.icon);
        EXPECT_EQ(hDlg, box.hOwner);
    }
    EXPECT_EQ(kBlue, LinkColor(IDC_WEB_LINK));
    EXPECT_EQ(kBlue, LinkColor(IDC_MAIL_LINK));
    EXPECT_TRUE(::IsWindow(hDlg));
}

// ---- from the notes dialog ----------------------------------------------------

TEST_F(MainDialogTest, InfoInTheNotesOpensAboutAndOkClosesBoth)
{
    OpenDialog();
    ::SetActiveWindow(hDlg);
    gui::Pump(50);
    bool bMainWasActive = ::GetActiveWindow() == hDlg;
    std::vector<std::string> captions;
    HWND hNotes = nullptr, hAboutOwner = nullptr;
    gui::DialogDriver driver([&](HWND hWnd) {
        captions.push_back(gui::Text(hWnd));
        if (captions.size() == 1)
            hNotes = hWnd;
        else
            hAboutOwner = ::GetWindow(hWnd, GW_OWNER);
        ::PostMessageA(hWnd, WM_COMMAND, IDOK, 0);   // "Info ...", then "OK"
    });
    driver.ignored.push_back(hDlg);
    gui::ClickButton(hDlg, IDC_NOTES);
    EXPECT_FALSE(driver.timedOut);
    ASSERT_EQ((std::vector<std::string>{"Hinweise:", "Installer f\xFCr Zorvalia-CD-ROMs"}), captions);
    EXPECT_EQ(hNotes, hAboutOwner) << "the About dialog stacks above the notes";
    for (HWND hWnd : driver.seen)
        EXPECT_FALSE(::IsWindow(hWnd));
    if (!bMainWasActive)
        GTEST_SKIP() << "the main dialog could not be activated here";
    EXPECT_EQ(hDlg, ::GetActiveWindow());
    EXPECT_TRUE(::IsWindowEnabled(hDlg));
}
