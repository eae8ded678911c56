// The folder chooser: the shell's folder browser with the typed-path field,
// run for real under a script, alone and from the main dialog's "Auswählen".
#include "../../ordavin/ui/PathDialog.h"
#include "../../ordavin/ui/SizeDisplay.h"
#include "../support/BrowserDriver.h"
#include "MainDialogFixture.h"

namespace {

const char kCaption[] = "Ordnerauswahl ....";
const std::string kRoot = "C:\\PathDialogTest";
const std::string kSub = kRoot + "\\Sub";

RECT RectIn(HWND hDlg, HWND hCtl)
{
    RECT rc = {};
    ::GetWindowRect(hCtl, &rc);
    ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

HWND Edit(HWND hBrowser) { return ::GetDlgItem(hBrowser, IDC_BROWSE_PATH); }
void Type(HWND hBrowser, const std::string& text) { ::SetWindowTextA(Edit(hBrowser), text.c_str()); }

// kRoot and kRoot\Sub exist; the main dialog is opened by the cases that
// use it.
class PathDialogTest : public MainDialogTest
{
protected:
    void SetUp() override
    {
        MainDialogTest::SetUp();
        testenv::RemoveTree(kRoot);
        ASSERT_TRUE(::CreateDirectoryA(kRoot.c_str(), nullptr) && ::CreateDirectoryA(kSub.c_str(), nullptr));
    }
    void TearDown() override
    {
        MainDialogTest::TearDown();
        testenv::RemoveTree(kRoot);
    }

    // Runs a chooser on pszInitial under the script.
    INT_PTR RunChooser(const char* pszInitial, std::function<void(HWND)> script)
    {
        gui::BrowserDriver driver(kCaption, std::move(script));
        chooser.reset(new CPathDialog(kCaption, "Zielordner ...", pszInitial));
        INT_PTR result = chooser->DoModal();
        EXPECT_TRUE(driver.scriptRan && !driver.timedOut);
        return result;
    }
    // Presses "Auswählen" in the main dialog with the target field's text.
    void RunSelect(const std::string& target, std::function<void(HWND)> script)
    {
        gui::SetEditText(hDlg, IDC_TARGET, target.c_str());
        gui::BrowserDriver driver(kCaption, std::move(script));
        gui::SendCommand(hDlg, IDC_SELECT_FOLDER);
        EXPECT_TRUE(driver.scriptRan && !driver.timedOut);
    }

    std::unique_ptr<CPathDialog> chooser;
};

}  // namespace

TEST_F(PathDialogTest, EditFieldSitsAboveTheTreeAndShowsTheInitialFolder)
{
    EXPECT_EQ(-1, RunChooser(kRoot.c_str(), [](HWND hBrowser) {
        HWND hEdit = Edit(hBrowser), hTree = ::GetDlgItem(hBrowser, IDC_BROWSE_TREE);
        ASSERT_TRUE(hEdit && hTree);
        EXPECT_TRUE(::IsWindowVisible(hEdit));
        EXPECT_FALSE(gui::IsVisible(hBrowser, IDC_BROWSE_STATUS));
        EXPECT_EQ(::SendMessageA(hBrowser, WM_GETFONT, 0, 0), ::SendMessageA(hEdit, WM_GETFONT, 0, 0));
        RECT rcEdit = RectIn(hBrowser, hEdit), rcTree = RectIn(hBrowser, hTree), rcOverlap;
        EXPECT_EQ(23, rcEdit.bottom - rcEdit.top);
        EXPECT_EQ(rcTree.top - 4, rcEdit.bottom);
        EXPECT_TRUE(rcTree.left == rcEdit.left && rcTree.right == rcEdit.right);
        EXPECT_GT(rcTree.bottom - rcTree.top, 100);
        for (HWND h = ::GetWindow(hBrowser, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
            RECT rc = RectIn(hBrowser, h);
            EXPECT_TRUE(h == hEdit || !::IsWindowVisible(h) || !::IntersectRect(&rcOverlap, &rc, &rcEdit))
                << "the edit field covers control " << ::GetDlgCtrlID(h);
        }
        EXPECT_EQ(kRoot, gui::Text(hEdit));
        EXPECT_TRUE(gui::IsEnabled(hBrowser, IDOK));
        gui::ClickButton(hBrowser, IDCANCEL);
    }));
}

TEST_F(PathDialogTest, OkFollowsTheFieldAndATreeItemWithoutDrivePathEmptiesIt)
{
    EXPECT_EQ(-1, RunChooser(kRoot.c_str(), [](HWND hBrowser) {
        ASSERT_TRUE(gui::SelectShellFolder(hBrowser, IDC_BROWSE_TREE, CSIDL_DRIVES));
        EXPECT_EQ("", gui::Text(Edit(hBrowser)));
        EXPECT_FALSE(gui::IsEnabled(hBrowser, IDOK));
        Type(hBrowser, "C:\\Irgendwo");
        EXPECT_TRUE(gui::IsEnabled(hBrowser, IDOK));
        Type(hBrowser, "");
        EXPECT_FALSE(gui::IsEnabled(hBrowser, IDOK));
        // Wine names Documents with a backslash at the end; the field gets
        // the folder's path without it.
        char szDocs[MAX_PATH] = "";
        ASSERT_TRUE(SUCCEEDED(::SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, szDocs)));
        if (gui::SelectShellFolder(hBrowser, IDC_BROWSE_TREE, CSIDL_PERSONAL)) {
            EXPECT_EQ(szDocs, gui::Text(Edit(hBrowser)));
        }
        gui::SendCommand(hBrowser, IDCANCEL);
    }));
}

TEST_F(PathDialogTest, RefusedPathKeepsTheBrowserOpenWithTheFocusInTheField)
{
    const std::string declined = kRoot + "\\Neu", tooLong = "C:\\" + std::string(280, 'L');
    gui::MessageBoxRecorder rec({IDOK, IDNO, IDYES, IDOK, IDOK});
    EXPECT_EQ(-1, RunChooser(kRoot.c_str(), [&](HWND hBrowser) {
        for (const std::string& p : {std::string("C:"), declined, std::string("Q:\\Titel"), tooLong}) {
            Type(hBrowser, p);
            ::SetFocus(::GetDlgItem(hBrowser, IDOK));
            gui::SendCommand(hBrowser, IDOK);
            gui::Pump(50);
            ASSERT_TRUE(::IsWindow(hBrowser)) << p;
            EXPECT_EQ(Edit(hBrowser), ::GetFocus()) << p;
        }
        gui::SendCommand(hBrowser, IDCANCEL);
    }));
    ASSERT_EQ(5u, rec.boxes.size());
    const char* expected[] = {"C:\n\nist ungültig", "Neu\n\nist nicht vorhanden", "Q:\\Titel\n\nist nicht vorhanden",
                              "Q:\\Titel\n\nkann nicht erstellt", "LLL\n\nist ungültig"};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_NE(std::string::npos, rec.boxes[i].text.find(expected[i])) << rec.boxes[i].text;
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(declined.c_str()));
}

TEST_F(PathDialogTest, EnterAcceptsTheTypedPathRatherThanTheTreeSelection)
{
    const std::string typed = kRoot + "\\Neu\\Teil";
    gui::MessageBoxRecorder rec({IDYES});
    HWND hBrowserSeen = nullptr;
    EXPECT_EQ(IDOK, RunChooser(kSub.c_str(), [&](HWND hBrowser) {
        hBrowserSeen = hBrowser;
        Type(hBrowser, typed);
        ::SetFocus(Edit(hBrowser));
        // The dialog manager turns Enter into the default button's command.
        ::PostMessageA(Edit(hBrowser), WM_KEYDOWN, VK_RETURN, 0);
    }));
    EXPECT_EQ(typed, std::string(chooser->GetPathName()));
    ASSERT_EQ(1u, rec.boxes.size());
    EXPECT_EQ(hBrowserSeen, rec.boxes[0].hOwner);   // owned by the active window
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(typed.c_str()));
}

TEST_F(PathDialogTest, SelectButtonWritesTheAcceptedFolderAndReReadsTheFreeSpace)
{
    OpenDialog();
    g_ullFreeBytes = 0;
    RunSelect(kRoot, [&](HWND hBrowser) {
        EXPECT_EQ(hDlg, ::GetWindow(hBrowser, GW_OWNER));
        EXPECT_FALSE(::IsWindowEnabled(hDlg));
        EXPECT_EQ(kRoot, gui::Text(Edit(hBrowser)));   // opened on the field's folder
        Type(hBrowser, kSub);
        gui::ClickButton(hBrowser, IDOK);
    });
    EXPECT_EQ(kSub, gui::ControlText(hDlg, IDC_TARGET));
    EXPECT_GT(g_ullFreeBytes, 0u);
    EXPECT_TRUE(::IsWindowEnabled(hDlg));

    // An empty field with a folder accepted keeps that folder.
    RunSelect("", [&](HWND hBrowser) {
        Type(hBrowser, kRoot);
        gui::ClickButton(hBrowser, IDOK);
    });
    EXPECT_EQ(kRoot, gui::ControlText(hDlg, IDC_TARGET));
}

TEST_F(PathDialogTest, CancelKeepsTheFieldAndRefillsOnlyAnEmptyOne)
{
    OpenDialog();
    std::string shown = "?";
    auto cancel = [&](HWND hBrowser) {
        shown = gui::Text(Edit(hBrowser));
        // Setting the field re-read the free space; a cancel must not.
        g_ullFreeBytes = 0;
        gui::SendCommand(hBrowser, IDCANCEL);
    };
    RunSelect("C:\\Irgendwo", cancel);
    EXPECT_EQ("C:\\Irgendwo", gui::ControlText(hDlg, IDC_TARGET));
    EXPECT_EQ(0u, g_ullFreeBytes);
    RunSelect("", cancel);
    EXPECT_EQ("", shown);   // the empty path, not the current directory
    EXPECT_STREQ(dlg->m_strDefaultTarget, gui::ControlText(hDlg, IDC_TARGET).c_str());
    EXPECT_STRNE("", dlg->m_strDefaultTarget);
}
