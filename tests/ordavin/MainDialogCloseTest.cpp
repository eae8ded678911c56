// Every way of closing the main window ends its modal run, and with it the
// program.
#include "MainDialogFixture.h"

namespace {

class MainDialogCloseTest : public ProgramRegistryTest
{
protected:
    // Runs the dialog modally; once it is up, action(hDlg) runs.
    INT_PTR RunModal(std::function<void(HWND)> action)
    {
        COrdavinDlg dlg;
        theApp.m_pMainWnd = &dlg;
        gui::MessageBoxRecorder boxes;
        gui::DialogDriver driver(std::move(action), 10000);
        INT_PTR result = dlg.DoModal();
        theApp.m_pMainWnd = nullptr;
        EXPECT_FALSE(driver.timedOut) << "the dialog did not close";
        EXPECT_EQ(1u, driver.seen.size());
        EXPECT_TRUE(boxes.boxes.empty());
        return result;
    }
};

}  // namespace

TEST_F(MainDialogCloseTest, QuitButtonEscapeEnterAndCloseBoxEndTheRun)
{
    // "Be&enden" as the user clicks it.
    EXPECT_EQ(IDCANCEL, RunModal([](HWND hDlg) {
        ::PostMessageA(::GetDlgItem(hDlg, IDCANCEL), BM_CLICK, 0, 0);
    }));

    // Escape, wherever the focus is.
    EXPECT_EQ(IDCANCEL, RunModal([](HWND hDlg) {
        ::PostMessageA(hDlg, WM_KEYDOWN, VK_ESCAPE, 0);
    }));

    // Enter with the focus in the list: there is no IDOK button, yet Enter
    // means IDOK, which exchanges the data and ends the dialog.
    EXPECT_EQ(IDOK, RunModal([](HWND hDlg) {
        HWND hList = ::GetDlgItem(hDlg, IDC_TITLE_LIST);
        ::PostMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hList), TRUE);
        ::PostMessageA(hList, WM_KEYDOWN, VK_RETURN, 0);
    }));

    // The close box.
    EXPECT_EQ(IDCANCEL, RunModal([](HWND hDlg) {
        ::PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    }));
}

TEST_F(MainDialogCloseTest, TargetFieldShowsTheDefaultFolderAndEnterReadsItBack)
{
    reg::SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quendramark\\Texorra", "NuvadoDir", "C:\\Texorra-Titel");
    COrdavinDlg dlg;
    theApp.m_pMainWnd = &dlg;
    std::string shown;
    gui::DialogDriver driver([&](HWND hDlg) {
        shown = gui::ControlText(hDlg, IDC_TARGET);
        ::SetDlgItemTextA(hDlg, IDC_TARGET, "E:\\Neu");
        ::PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    theApp.m_pMainWnd = nullptr;
    EXPECT_EQ("C:\\Texorra-Titel", shown);
    EXPECT_STREQ("E:\\Neu", dlg.m_strDefaultTarget);
}
