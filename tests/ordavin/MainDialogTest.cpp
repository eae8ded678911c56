// The main dialog after its start, the click on a title row, and the small
// buttons: CD door, launch, notes and the system menu.
#include "CatalogueFixture.h"
#include "FakeVolumes.h"

#include "../../ordavin/catalogue/TitleCatalogue.h"
#include "../../ordavin/ui/CdDoor.h"
#include "../../ordavin/ui/TitleClick.h"

#include <fstream>
#include <sstream>

namespace {

const int kInstallSection[] = {1014, 1015, 1011, 1016, 1017, 1019, 1010, 1006, 1020, 1002};

// The controls a list click switches, and whether each is enabled.
struct ClickStates {
    bool remove;       // 1022 and 1021
    bool cdHint;       // 1023
    bool cdDoor;       // 1027
    bool section;      // the installation section without 1020 and 1002
    bool target;       // 1003
    bool install;      // 1020 and 1002
    bool clickHint;    // 1032
    bool launch;       // 1031
};

void ExpectStates(HWND hDlg, const ClickStates& e)
{
    EXPECT_EQ(e.remove, gui::IsEnabled(hDlg, IDC_REMOVE_TEXT));
    EXPECT_EQ(e.remove, gui::IsEnabled(hDlg, IDC_REMOVE));
    EXPECT_EQ(e.cdHint, gui::IsEnabled(hDlg, IDC_CD_HINT));
    EXPECT_EQ(e.cdDoor, gui::IsEnabled(hDlg, IDC_CD_DOOR));
    for (int id : kInstallSection) {
        if (id != IDC_INSTALL_READY && id != IDC_INSTALL) {
            EXPECT_EQ(e.section, gui::IsEnabled(hDlg, id)) << "control " << id;
        }
    }
    EXPECT_EQ(e.target, gui::IsEnabled(hDlg, IDC_TARGET));
    EXPECT_EQ(e.install, gui::IsEnabled(hDlg, IDC_INSTALL_READY));
    EXPECT_EQ(e.install, gui::IsEnabled(hDlg, IDC_INSTALL));
    EXPECT_EQ(e.clickHint, gui::IsEnabled(hDlg, IDC_CLICK_HINT));
    EXPECT_EQ(e.launch, gui::IsEnabled(hDlg, IDC_LAUNCH));
    // Whatever the row, the launch button takes the shared place.
    EXPECT_TRUE(gui::IsVisible(hDlg, IDC_LAUNCH));
    EXPECT_FALSE(gui::IsVisible(hDlg, IDC_PROGRESS));
}

// A stand-in for MCI that records the commands and answers as scripted.
struct MciCall {
    UINT msg;
    DWORD_PTR flags;
    std::string element;
};
std::vector<MciCall> g_mciCalls;
MCIERROR g_mciOpenResult = 0;

MCIERROR WINAPI FakeMci(MCIDEVICEID, UINT msg, DWORD_PTR flags, DWORD_PTR param)
{
    MciCall call = {msg, flags, ""};
    if (msg == MCI_OPEN) {
        auto* open = reinterpret_cast<MCI_OPEN_PARMSA*>(param);
        if (flags & MCI_OPEN_ELEMENT)
            call.element = open->lpstrElementName;
        if (g_mciOpenResult == 0)
            open->wDeviceID = 42;
    }
    g_mciCalls.push_back(call);
    return msg == MCI_OPEN ? g_mciOpenResult : 0;
}

class MainDialogClickTest : public CatalogueTest
{
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        g_bDoorOpen = 0;
        g_mciCalls.clear();
        g_mciOpenResult = 0;
    }
    void TearDown() override
    {
        g_pfnMciSendCommand = &MciSendCommandFromSystem;
        CatalogueTest::TearDown();
    }

    int RowOf(const std::string& file)
    {
        std::vector<ListRow> rows = Rows();
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].file == file)
                return static_cast<int>(i);
        ADD_FAILURE() << "no row for " << file;
        return -1;
    }
    void Click(const std::string& file) { gui::ClickListRow(hDlg, IDC_TITLE_LIST, RowOf(file)); }

    // One title of each status; the CD in D: holds 650 MB.
    void RegisterEveryStatus()
    {
        ASSERT_TRUE(testenv::MakeFile(dirs.cdDHost + "\\OnCd.V30"));
        ASSERT_TRUE(testenv::MakeFile(dirs.hd + "\\Hd.V30"));
        ASSERT_TRUE(testenv::MakeFile(dirs.shareHost + "\\Net.V30"));
        AddV30Title("OnCd.V30", "Auf CD", dirs.cdD + "\\OnCd.V30");
        AddV30Title("NoCd.V30", "CD fehlt", "E:\\Titel\\NoCd.V30");
        AddV30Title("Hd.V30", "Festplatte", dirs.hd + "\\Hd.V30");
        AddV30Title("Gone.V30", "Verschwunden", dirs.hd + "\\Gone.V30");
        AddV30Title("Net.V30", "Netz", dirs.share + "\\Net.V30");
        AddV30Title("NetGone.V30", "Netz fehlt", dirs.share + "\\NetGone.V30");
    }
};

const ULONGLONG kCdBytes = 650ull << 20;

}  // namespace

TEST_F(MainDialogClickTest, StartShowsTheListAndOnlyTheGeneralButtons)
{
    RegisterEveryStatus();
    OpenDialog();
    for (int id : {IDC_TITLE_LIST, IDC_REFRESH, IDCANCEL, IDC_NOTES})
        EXPECT_TRUE(gui::IsEnabled(hDlg, id)) << id;
    for (int id : {IDC_INSTALL, IDC_SELECT_FOLDER, IDC_REMOVE, IDC_CD_DOOR, IDC_TARGET, IDC_LAUNCH})
        EXPECT_FALSE(gui::IsEnabled(hDlg, id)) << id;
    EXPECT_TRUE(gui::IsVisible(hDlg, IDC_LAUNCH));
    EXPECT_FALSE(gui::IsVisible(hDlg, IDC_PROGRESS));
    EXPECT_TRUE(gui::IsVisible(hDlg, IDC_CLICK_HINT));
    EXPECT_TRUE(gui::IsEnabled(hDlg, IDC_CLICK_HINT));
    EXPECT_EQ(g_hDlg, hDlg);
    EXPECT_EQ(g_hList, ::GetDlgItem(hDlg, IDC_TITLE_LIST));
    EXPECT_EQ(g_hProgress, ::GetDlgItem(hDlg, IDC_PROGRESS));
    EXPECT_EQ(reinterpret_cast<LRESULT>(dlg->m_hIcon), ::SendMessageA(hDlg, WM_GETICON, ICON_BIG, 0));
    EXPECT_EQ(reinterpret_cast<LRESULT>(dlg->m_hIcon), ::SendMessageA(hDlg, WM_QUERYDRAGICON, 0, 0));

    // The About entry closes the system menu, after a separator.
    HMENU hMenu = ::GetSystemMenu(hDlg, FALSE);
    int n = ::GetMenuItemCount(hMenu);
    ASSERT_GE(n, 2);
    EXPECT_EQ(static_cast<UINT>(IDM_ABOUTBOX), ::GetMenuItemID(hMenu, n - 1));
    char text[64] = "";
    ::GetMenuStringA(hMenu, n - 1, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ("Inf&o \xFC" "ber Ordavin...", text);
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    ::GetMenuItemInfoA(hMenu, n - 2, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_SEPARATOR);
}

TEST_F(MainDialogClickTest, EachStatusEnablesWhatItAllows)
{
    RegisterEveryStatus();
    FakeVolumes volumes;
    volumes.volumes["D:"] = {0, kCdBytes};
    volumes.volumes["C:"] = {kCdBytes * 10, kCdBytes * 20};
    OpenDialog();
    gui::MessageBoxRecorder boxes;

    // In the drive: install section and target field open; room enough.
    Click("OnCd.V30");
    {
        SCOPED_TRACE("status 2");
        ExpectStates(hDlg, {false, false, true, true, true, true, false, true});
        EXPECT_EQ("CD-Lfw.: D:", gui::ControlText(hDlg, IDC_CD_DOOR));
        EXPECT_STREQ("Auf CD", g_strTitleName);
        EXPECT_EQ(RowOf("OnCd.V30"), g_nSelItem);
    }
    // On the hard disk: removal and launch.
    Click("Hd.V30");
    {
        SCOPED_TRACE("status 0");
        ExpectStates(hDlg, {true, false, false, false, false, false, false, true});
        EXPECT_EQ("CD-Lfw.:--", gui::ControlText(hDlg, IDC_CD_DOOR));
        EXPECT_STREQ("CD-Lfw.:--", g_szCdButtonText);
    }
    // CD not inserted: the door button for its drive and the hint; the click
    // hint keeps the state the last click left (disabled by "0").
    Click("NoCd.V30");
    {
        SCOPED_TRACE("status 3");
        ExpectStates(hDlg, {false, true, true, false, false, false, false, false});
        EXPECT_EQ("CD-Lfw.: E:", gui::ControlText(hDlg, IDC_CD_DOOR));
    }
    // On the network: only the launch button.
    Click("Net.V30");
    {
        SCOPED_TRACE("status 4");
        ExpectStates(hDlg, {false, false, false, false, false, false, false, true});
        EXPECT_EQ("CD-Lfw.:--", gui::ControlText(hDlg, IDC_CD_DOOR));
    }
    // Empty space: nothing selected, every action off, the hint on.
    gui::ClickListRow(hDlg, IDC_TITLE_LIST, -1);
    {
        SCOPED_TRACE("no row");
        ExpectStates(hDlg, {false, false, false, false, false, false, true, false});
        EXPECT_EQ(-1, g_nSelItem);
        EXPECT_STREQ("", g_strTitleName);
    }
    EXPECT_TRUE(boxes.boxes.empty());
    // Unreachable titles: after No at the offer to drop them, launch and
    // hint off, nothing else touched.
    for (const char* file : {"Gone.V30", "NetGone.V30"}) {
        SCOPED_TRACE(file);
        Click("Net.V30");
        boxes.Script({IDNO});
        Click(file);
        ExpectStates(hDlg, {false, false, false, false, false, false, false, false});
    }
    EXPECT_EQ(2u, boxes.boxes.size());
}

TEST_F(MainDialogClickTest, InstallNeedsTheCdSizePlusTheClickMargin)
{
    RegisterEveryStatus();
    const struct {
        const char* name;
        ULONGLONG extra;
        bool cdReadable, enabled;
    } cases[] = {{"exactly the margin", 0, true, false},
                 {"one byte more than the margin", 1, true, true},
                 {"CD size not readable (n.V. GB)", kCdBytes * 10, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeVolumes volumes;
        if (c.cdReadable)
            volumes.volumes["D:"] = {0, kCdBytes};
        volumes.volumes["C:"] = {kCdBytes + INSTALL_MARGIN_CLICK + c.extra, kCdBytes * 20};
        OpenDialog();
        Click("OnCd.V30");
        EXPECT_EQ(c.enabled, gui::IsEnabled(hDlg, IDC_INSTALL));
        EXPECT_EQ(c.enabled, gui::IsEnabled(hDlg, IDC_INSTALL_READY));
        for (int id : kInstallSection) {
            if (id != IDC_INSTALL_READY && id != IDC_INSTALL) {
                EXPECT_TRUE(gui::IsEnabled(hDlg, id)) << id;
            }
        }
        CloseDialog();
    }
}

TEST_F(MainDialogClickTest, RealMouseClickOnARowIsHandled)
{
    RegisterEveryStatus();
    OpenDialog();
    gui::MouseClickListRow(hDlg, IDC_TITLE_LIST, RowOf("Hd.V30"));
    EXPECT_EQ(RowOf("Hd.V30"), g_nSelItem);
    EXPECT_TRUE(gui::IsEnabled(hDlg, IDC_REMOVE));
}

TEST_F(MainDialogClickTest, CdDoorOpensAndClosesTheLabelledDrive)
{
    RegisterEveryStatus();
    OpenDialog();
    g_pfnMciSendCommand = &FakeMci;
    Click("NoCd.V30");
    gui::ClickButton(hDlg, IDC_CD_DOOR);
    gui::ClickButton(hDlg, IDC_CD_DOOR);
    ASSERT_EQ(6u, g_mciCalls.size());
    const DWORD_PTR kOpenFlags = MCI_OPEN_TYPE | MCI_OPEN_TYPE_ID | MCI_OPEN_SHAREABLE | MCI_OPEN_ELEMENT;
    EXPECT_EQ(static_cast<UINT>(MCI_OPEN), g_mciCalls[0].msg);
    EXPECT_EQ(kOpenFlags, g_mciCalls[0].flags);
    EXPECT_EQ("E:", g_mciCalls[0].element);
    EXPECT_EQ(static_cast<UINT>(MCI_SET), g_mciCalls[1].msg);
    EXPECT_EQ(static_cast<DWORD_PTR>(MCI_SET_DOOR_OPEN), g_mciCalls[1].flags);
    EXPECT_EQ(static_cast<UINT>(MCI_CLOSE), g_mciCalls[2].msg);
    EXPECT_EQ(static_cast<DWORD_PTR>(MCI_WAIT), g_mciCalls[2].flags);
    EXPECT_EQ(static_cast<DWORD_PTR>(MCI_SET_DOOR_CLOSED), g_mciCalls[4].flags);
    EXPECT_EQ(0, g_bDoorOpen);

    // The drive letter follows the label: the CD in D:.
    g_mciCalls.clear();
    Click("OnCd.V30");
    gui::ClickButton(hDlg, IDC_CD_DOOR);
    ASSERT_FALSE(g_mciCalls.empty());
    EXPECT_EQ("D:", g_mciCalls[0].element);
    EXPECT_EQ(1, g_bDoorOpen);
}

TEST_F(MainDialogClickTest, CdDoorDoesNothingWhenTheDeviceCannotBeOpened)
{
    RegisterEveryStatus();
    OpenDialog();
    Click("NoCd.V30");
    g_pfnMciSendCommand = &FakeMci;
    g_mciOpenResult = MCIERR_DEVICE_NOT_READY;
    for (BOOL bDoorOpen : {0, 1}) {
        g_mciCalls.clear();
        g_bDoorOpen = bDoorOpen;
        gui::ClickButton(hDlg, IDC_CD_DOOR);
        ASSERT_EQ(1u, g_mciCalls.size()) << "only the open is tried";
        EXPECT_EQ(static_cast<UINT>(MCI_OPEN), g_mciCalls[0].msg);
        EXPECT_EQ(bDoorOpen, g_bDoorOpen);
    }
}

TEST(CdDoor, RealMciRefusesADriveThatIsNoCdDrive)
{
    // Wine's CD audio device opens the fixture's CD-ROM drives even without
    // a disc; a drive letter that does not exist is refused.
    g_bDoorOpen = 1;
    EXPECT_FALSE(SetCdDoor(FALSE, 'Q'));
    EXPECT_EQ(1, g_bDoorOpen);
    g_bDoorOpen = 0;
}

TEST(CdDoor, LetterWithoutUseOpensTheDefaultDevice)
{
    g_pfnMciSendCommand = &FakeMci;
    g_mciCalls.clear();
    g_mciOpenResult = 0;
    // No letter, and a letter that is negative as a signed character.
    for (char letter : {'\0', static_cast<char>('\xC4')}) {
        g_mciCalls.clear();
        EXPECT_TRUE(SetCdDoor(TRUE, letter));
        ASSERT_FALSE(g_mciCalls.empty());
        EXPECT_EQ(static_cast<DWORD_PTR>(MCI_OPEN_TYPE | MCI_OPEN_TYPE_ID | MCI_OPEN_SHAREABLE), g_mciCalls[0].flags);
    }
    g_pfnMciSendCommand = &MciSendCommandFromSystem;
    g_bDoorOpen = 0;
}

TEST_F(MainDialogClickTest, SystemMenuAboutEntryOpensTheAboutDialog)
{
    OpenDialog();
    for (WPARAM command : {0x10, 0x11, 0x1F}) {
        SCOPED_TRACE(command);
        std::string caption;
        gui::DialogDriver driver([&](HWND hWnd) {
            caption = gui::Text(hWnd);
            ::PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
        });
        driver.ignored.push_back(hDlg);
        ::SendMessageA(hDlg, WM_SYSCOMMAND, command, 0);
        EXPECT_FALSE(driver.timedOut);
        EXPECT_EQ("Installer f\xFCr Zorvalia-CD-ROMs", caption);
    }
    // Other commands take the system's way: minimize.
    gui::DialogDriver driver(nullptr, 3000);
    driver.ignored.push_back(hDlg);
    ::SendMessageA(hDlg, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    gui::Pump(100);
    EXPECT_TRUE(driver.seen.empty());
    EXPECT_TRUE(::IsIconic(hDlg));
}

TEST_F(MainDialogClickTest, NotesButtonOpensTheNotesDialog)
{
    OpenDialog();
    std::string caption;
    gui::DialogDriver driver([&](HWND hWnd) {
        caption = gui::Text(hWnd);
        ::PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
    });
    driver.ignored.push_back(hDlg);
    gui::ClickButton(hDlg, IDC_NOTES);
    EXPECT_FALSE(driver.timedOut);
    EXPECT_EQ("Hinweise:", caption);
}
