// The real Ordavin.exe as a process of its own, driven from outside with
// real mouse clicks: start, the row of the title whose CD is in D:, the
// launch button's failure message, and the close button; a title installed
// from D: and removed again.
//
// tools/test-i686.sh runs the installation once more against the i686
// release, which it names in ZORVALIA_ORDAVIN32 (a host path).
#include "InstallChecks.h"

#include "../../ordavin/catalogue/TitleCatalogue.h"
#include "../../ordavin/setup/Shortcut.h"
#include "../../ordavin/ui/SizeDisplay.h"
#include "../support/ProcessDriver.h"

#include <cstdlib>
#include <utility>

namespace {

const char kCaption[] = "Zorvalia - Hilfsprogramm";
// The program's copy, its log, the target folder and the Start-menu group.
const std::string kScratch = "C:\\HD\\e2e";

class OrdavinExe : public ProgramRegistryTest
{
protected:
    void SetUp() override
    {
        if (testenv::HostFolder("cd-d").empty())
            GTEST_SKIP() << "needs the test fixture's drives";
        ProgramRegistryTest::SetUp();
    }
    void TearDown() override
    {
        ordavin.reset();   // ends a process the test left running
        testenv::RemoveTree(dirs.hd);
        testenv::RemoveTree(dirs.cdDHost);
        testenv::RemoveTree(kScratch);
        testenv::RemoveTree(cdTitleHost);
        ProgramRegistryTest::TearDown();
    }

    TitleFolders dirs;
    std::string cdTitleHost = testenv::HostFolder("cd-d") + "\\TITEL";
    std::unique_ptr<e2e::ProcessDriver> ordavin = std::make_unique<e2e::ProcessDriver>();
};

// Whether the target drive has room for the CD in D: (the program's rule
// for a click on the CD row). Without the fixture's small volume behind D:
// (see tests/env/setup.sh) the host disk's used bytes are the CD's size.
bool RoomForCd(const std::string& targetDrive)
{
    ULARGE_INTEGER avail, total, free;
    if (!::GetDiskFreeSpaceExA("D:\\", &avail, &total, &free))
        return false;
    ULONGLONG cd = total.QuadPart - avail.QuadPart;
    if (!::GetDiskFreeSpaceExA((targetDrive + "\\").c_str(), &avail, &total, &free))
        return false;
    return avail.QuadPart > cd + INSTALL_MARGIN_CLICK;
}

// The i686 release when tools/test-i686.sh names it, else null.
const char* Release32()
{
    const char* psz = std::getenv("ZORVALIA_ORDAVIN32");
    return psz && *psz ? psz : nullptr;
}

}  // namespace

TEST_F(OrdavinExe, ClickOnTheCdRowEnablesInstallAndBeendenEndsTheProgram)
{
    // No program for title files: the launch fails and says so.
    reg::DeleteTree(HKEY_CLASSES_ROOT, ".V30");
    ASSERT_TRUE(testenv::MakeFile(dirs.cdDHost + "\\OnCd.V30"));
    ASSERT_TRUE(testenv::MakeFile(dirs.hd + "\\Hd.V30"));
    AddV30Title("Hd.V30", "Festplatte", dirs.hd + "\\Hd.V30");
    AddV30Title("OnCd.V30", "Auf CD", dirs.cdD + "\\OnCd.V30");
    ASSERT_TRUE(ordavin->Start(testenv::HostPath(ORDAVIN_EXE_PATH)));
    HWND hDlg = ordavin->WaitForDialog(kCaption);
    ASSERT_NE(nullptr, hDlg) << "no main dialog of Ordavin.exe";
    HWND hList = ::GetDlgItem(hDlg, IDC_TITLE_LIST);
    ASSERT_EQ(2, e2e::ListRowCount(hList));
    int nRow = e2e::FindListRow(hList, COL_FILE, "OnCd.V30");
    ASSERT_GE(nRow, 0) << "no row for the title on D:";
    EXPECT_EQ("D:\\cat\\OnCd.V30", e2e::ListItemText(hList, nRow, COL_PATH));
    EXPECT_EQ("2", e2e::ListItemText(hList, nRow, COL_STATUS));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hDlg, IDC_INSTALL)));
    const std::string targetDrive = e2e::ControlText(hDlg, IDC_TARGET_DRIVE);

    // Click the hard-disk row first, so that the click on the CD row is
    // what selects it.
    ASSERT_TRUE(e2e::ClickListRow(hList, 1 - nRow));
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::IsListRowSelected(hList, 1 - nRow); }));
    ASSERT_TRUE(e2e::ClickListRow(hList, nRow));
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ControlText(hDlg, IDC_CD_DOOR) == "CD-Lfw.: D:"; }))
        << e2e::ControlText(hDlg, IDC_CD_DOOR);
    EXPECT_TRUE(e2e::IsListRowSelected(hList, nRow));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(hDlg, IDC_LAUNCH)));
    EXPECT_EQ(RoomForCd(targetDrive), ::IsWindowEnabled(::GetDlgItem(hDlg, IDC_INSTALL)) != FALSE)
        << "target drive " << targetDrive;

    // Without a program for title files the launch is refused with a
    // question; "Nein" (IDNO) keeps the program open.
    ASSERT_TRUE(e2e::ClickControl(hDlg, IDC_LAUNCH));
    e2e::MessageBoxSeen box;
    ASSERT_TRUE(e2e::AnswerMessageBox(*ordavin, IDNO, &box));
    EXPECT_EQ("Texorra 5.0 - Hilfsprogramm", box.caption);
    EXPECT_EQ("Texorra konnte nicht mit dieser Titelanwendung gestartet werden!", box.text);
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), box.buttons);
    EXPECT_TRUE(ordavin->IsRunning());

    ASSERT_TRUE(e2e::ClickControl(hDlg, IDCANCEL));
    DWORD code = STILL_ACTIVE;
    EXPECT_TRUE(ordavin->WaitForExit(e2e::kWaitMs, &code)) << "\"Beenden\" did not end Ordavin.exe";
    EXPECT_EQ(0u, code);
}

// Installation and removal as a user does them, with the checks of the
// in-process tests on what they leave behind. The i686 release reads the machine-wide values from the registry's
// 32-bit view (Wow6432Node), where a 32-bit viewer writes them; the other
// view holds values that must not be taken. The user's keys are the same
// in both views.
TEST_F(OrdavinExe, InstallsACdTitleAndRemovesItAgain)
{
    const bool b32 = Release32() != nullptr;
    // Under emulation (qemu) the 32-bit process's memory cannot be reached
    // from here: no list message that needs a buffer in it works, and
    // every step takes far longer. The rows are then neither read nor
    // found by their text; the catalogue holds one title, so the list has
    // one row (LVM_GETITEMCOUNT), row 0, clicked at the place that the
    // top index, the row spacing and the first column's width give, and
    // each click is proven by its effect: the statics and buttons that
    // the clicked row's status enables, read with WM_GETTEXT.
    const char* pszEmulated = std::getenv("ZORVALIA_I686_EMULATED");
    const bool bBuffers = !(b32 && pszEmulated && *pszEmulated == '1');
    const char* pszWait = std::getenv("ZORVALIA_I686_WAIT_MS");
    const DWORD waitMs = pszWait && b32 ? static_cast<DWORD>(std::strtoul(pszWait, nullptr, 10)) : e2e::kWaitMs;
    auto answer = [&](int nButton, e2e::MessageBoxSeen* pSeen) -> ::testing::AssertionResult {
        HWND hBox = ordavin->WaitForMessageBox(waitMs);
        if (!hBox)
            return ::testing::AssertionFailure() << "no message box appeared";
        *pSeen = e2e::ReadMessageBox(hBox);
        ::testing::AssertionResult clicked = e2e::ClickControl(hBox, nButton);
        if (!clicked)
            return clicked;
        if (!e2e::WaitUntil([&] { return !::IsWindow(hBox) || !::IsWindowVisible(hBox); }, waitMs))
            return ::testing::AssertionFailure() << "the box \"" << pSeen->text << "\" stayed";
        return ::testing::AssertionSuccess();
    };
    const REGSAM ours = b32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY, other = b32 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
    const std::string prog = kScratch + "\\prog", target = kScratch + "\\Ziel", group = kScratch + "\\Gruppe";
    const std::string exe = prog + "\\Ordavin.exe", log = prog + "\\Install.log";
    const std::string dest = target + "\\TITEL", link = group + "\\Titel (HD).lnk";
    // The title folder on the CD, read-only as CD files are, with a file
    // that is not copied.
    for (const char* name : {"TITEL.V30", "TITEL.D10", "A.UPC", "NOTE\\N.TXT", "NOTE\\N.RTF", "LIESMICH.DOC"}) {
        std::string path = cdTitleHost + "\\" + name;
        ASSERT_TRUE(testenv::MakeFile(path)) << path;
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    }
    AddV30Title("TITEL.V30", "Titel", "D:\\TITEL\\TITEL.V30");
    const std::pair<const char*, std::string> machineValues[] = {{"StartMenu", group}, {"NuvadoDir", target}};
    for (const auto& v : machineValues) {
        ASSERT_TRUE(reg::SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quendramark\\Texorra", v.first, v.second, ours));
        ASSERT_TRUE(
            reg::SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quendramark\\Texorra", v.first, v.second + "X", other));
    }
    // The program's own copy, so that its log lies beside it.
    ASSERT_TRUE(testenv::MakeFile(log, 0) && ::CreateDirectoryA(target.c_str(), nullptr));
    ASSERT_TRUE(::CopyFileA(testenv::HostPath(b32 ? Release32() : ORDAVIN_EXE_PATH).c_str(), exe.c_str(), FALSE));
    if (!RoomForCd("C:"))
        GTEST_SKIP() << "C: has no room for the CD in D: (the fixture puts D: on a small volume where it can)";

    ASSERT_TRUE(ordavin->Start(exe));
    BOOL bWow64 = FALSE;
    ASSERT_TRUE(::IsWow64Process(ordavin->process(), &bWow64));
    ASSERT_EQ(b32, bWow64 != FALSE) << "a 32-bit process runs under WOW64";
    HWND hDlg = ordavin->WaitForDialog(kCaption, waitMs);
    ASSERT_NE(nullptr, hDlg) << "no main dialog of Ordavin.exe";
    HWND hList = ::GetDlgItem(hDlg, IDC_TITLE_LIST);
    ASSERT_EQ(target, e2e::ControlText(hDlg, IDC_TARGET));
    ASSERT_EQ(1, e2e::ListRowCount(hList));
    // The CD row clicked: its drive on the CD-door button, "Installieren"
    // usable.
    ASSERT_TRUE(e2e::ClickListRow(hList, 0));
    ASSERT_TRUE(e2e::WaitUntil([&] { return ::IsWindowEnabled(::GetDlgItem(hDlg, IDC_INSTALL)) != FALSE; }, waitMs));
    EXPECT_EQ("CD-Lfw.: D:", e2e::ControlText(hDlg, IDC_CD_DOOR));
    ASSERT_TRUE(e2e::ClickControl(hDlg, IDC_INSTALL));
    e2e::MessageBoxSeen box;
    ASSERT_TRUE(answer(IDOK, &box));
    EXPECT_EQ("Texorra 5.0 - Hilfsprogramm", box.caption);
    EXPECT_EQ(0u, box.text.find("Die Installation von                 \nTitel\nist abgeschlossen.")) << box.text;
    // The run ends with the log's last line.
    ASSERT_TRUE(e2e::WaitUntil([&] { return Slurp(log).find("User Rights") != std::string::npos; }, waitMs));

    std::set<std::string> copied;
    ListTree(target, "", &copied);
    EXPECT_EQ(std::set<std::string>({"\\TITEL\\", "\\TITEL\\TITEL.V30", "\\TITEL\\TITEL.D10", "\\TITEL\\A.UPC",
                                     "\\TITEL\\Note\\", "\\TITEL\\Note\\N.RTF", "\\TITEL\\Note\\N.TXT"}),
              copied) << "read-only copies are marked \"!\"";
    EXPECT_EQ(dest + "\\TITEL.V30", ProfileValue("Titel\\Ifo", "Path0"));
    EXPECT_EQ(target, ProfileValue("ProjektPfad", "Nuvado"));
    EXPECT_EQ(link, ProfileValue("Titel\\Ifo", "lnk"));
    ::CoInitialize(nullptr);
    ShortcutSeen shortcut = ReadShortcut(link);
    ::CoUninitialize();
    EXPECT_EQ(dest + "\\TITEL.V30", shortcut.target);
    EXPECT_STREQ(ShortcutIconPath(exe.c_str()), shortcut.icon.c_str());
    EXPECT_EQ(7, shortcut.nIcon);
    std::vector<std::string> lines = LogLines(Slurp(log));
    if (lines.size() > 4)
        std::sort(lines.begin() + 3, lines.begin() + 5);   // the file system's order
    EXPECT_EQ(std::vector<std::string>({"***  Installation Started ##/##/## ##:##  ***",
                                        "Title: Texorra 5.0 - Zorvalia Installation", "Made Dir: " + dest,
                                        "File Copy: " + dest + "\\TITEL.D10", "File Copy: " + dest + "\\TITEL.V30",
                                        "File Copy: " + dest + "\\A.UPC", "Made Dir: " + dest + "\\Note",
                                        "File Copy: " + dest + "\\note\\N.RTF", "File Copy: " + dest + "\\note\\N.TXT",
                                        "Made Dir: " + group, "Shell Link: " + link, "User Rights: Admin"}),
              lines);
    if (bBuffers) {
        ASSERT_EQ(dest + "\\TITEL.V30", e2e::ListItemText(hList, 0, COL_PATH));
        EXPECT_EQ("0", e2e::ListItemText(hList, 0, COL_STATUS));
    }

    const std::string logged = Slurp(log);
    // The installed row clicked: "Entfernen" usable, the CD door not.
    ASSERT_TRUE(e2e::ClickListRow(hList, 0));
    ASSERT_TRUE(e2e::WaitUntil([&] { return ::IsWindowEnabled(::GetDlgItem(hDlg, IDC_REMOVE)) != FALSE; }, waitMs));
    EXPECT_EQ("CD-Lfw.:--", e2e::ControlText(hDlg, IDC_CD_DOOR));
    ASSERT_TRUE(e2e::ClickControl(hDlg, IDC_REMOVE));
    ASSERT_TRUE(answer(IDYES, &box));
    EXPECT_EQ("Soll die Anwendung von der Festplatte komplett entfernt werden ?", box.text);
    ASSERT_TRUE(answer(IDOK, &box));
    EXPECT_EQ("Die De-Installation von     \nTitel\nist abgeschlossen", box.text);
    if (bBuffers) {
        EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ListItemText(hList, 0, COL_STATUS) == "1"; }))
            << "status " << e2e::ListItemText(hList, 0, COL_STATUS);
    }
    for (const std::string& gone : {dest, link})
        EXPECT_FALSE(Exists(gone)) << gone;
    EXPECT_TRUE(Exists(target)) << "the default target folder stays";
    // The values are blanked once the message is answered.
    EXPECT_TRUE(e2e::WaitUntil([&] { return ProfileValue("ProjektPfad", "Nuvado").empty(); }, waitMs));
    EXPECT_EQ("", ProfileValue("Titel\\Ifo", "lnk"));
    EXPECT_EQ(logged, Slurp(log)) << "removal writes nothing to the log";
    // The row now shows a missing title: a click offers to drop it; "Nein"
    // (IDNO) keeps it.
    ASSERT_TRUE(e2e::WaitUntil([&] { return !::IsWindowEnabled(::GetDlgItem(hDlg, IDC_LAUNCH)); }, waitMs));
    ASSERT_TRUE(e2e::ClickListRow(hList, 0));
    ASSERT_TRUE(answer(IDNO, &box));
    EXPECT_NE(std::string::npos, box.text.find("Soll dieser Titel aus der Liste entfernt werden?")) << box.text;
    EXPECT_EQ("Titel", ProfileValue("V30", "TITEL.V30"));

    ASSERT_TRUE(e2e::ClickControl(hDlg, IDCANCEL));
    EXPECT_TRUE(ordavin->WaitForExit(waitMs));
}
