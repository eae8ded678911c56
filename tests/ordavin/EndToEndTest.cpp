// The real Ordavin.exe as a process of its own, driven from outside with
// real mouse clicks: start, the row of the title whose CD is in D:, the
// launch button's failure message, and the close button.
#include "CatalogueFixture.h"

#include "../../ordavin/catalogue/TitleCatalogue.h"
#include "../../ordavin/ui/SizeDisplay.h"
#include "../support/ProcessDriver.h"

namespace {

const char kCaption[] = "Zorvalia - Hilfsprogramm";

class OrdavinExe : public ProgramRegistryTest
{
protected:
    void SetUp() override
    {
        if (testenv::HostFolder("cd-d").empty())
            GTEST_SKIP() << "needs the test fixture's drives";
        ProgramRegistryTest::SetUp();
        // No program for title files: the launch fails and says so.
        reg::DeleteTree(HKEY_CLASSES_ROOT, ".V30");
        ASSERT_TRUE(testenv::MakeFile(dirs.cdDHost + "\\OnCd.V30"));
        ASSERT_TRUE(testenv::MakeFile(dirs.hd + "\\Hd.V30"));
        AddV30Title("Hd.V30", "Festplatte", dirs.hd + "\\Hd.V30");
        AddV30Title("OnCd.V30", "Auf CD", dirs.cdD + "\\OnCd.V30");
    }
    void TearDown() override
    {
        ordavin.reset();   // ends a process the test left running
        testenv::RemoveTree(dirs.hd);
        testenv::RemoveTree(dirs.cdDHost);
        ProgramRegistryTest::TearDown();
    }

    TitleFolders dirs;
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

}  // namespace

TEST_F(OrdavinExe, ClickOnTheCdRowEnablesInstallAndBeendenEndsTheProgram)
{
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
    // question; "Nein" keeps the program open.
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
