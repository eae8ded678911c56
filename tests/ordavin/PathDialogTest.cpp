// The folder chooser: the shell's folder browser with the typed-path field,
// run for real under a script, on its own and from the main dialog's
// "Auswählen" button.
#include "../../ordavin/ui/PathDialog.h"
#include "../../ordavin/ui/SizeDisplay.h"
#include "../support/BrowserDriver.h"
#include "MainDialogFixture.h"

#include <shlobj.h>

namespace {

const char kBrowserCaption[] = "Ordnerauswahl ....";
const char kRoot[] = "C:\\PathDialogTest";

RECT RectIn(HWND hDlg, HWND hCtl)
{
    RECT rc = {};
    ::GetWindowRect(hCtl, &rc);
    ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

HWND Edit(HWND hBrowser) { return ::GetDlgItem(hBrowser, IDC_BROWSE_PATH); }

// Types a path into the browser's edit field, as far as the field can tell.
void Type(HWND hBrowser, const std::string& text) { ::SetWindowTextA(Edit(hBrowser), text.c_str()); }

// Runs a CPathDialog on the given initial path under a script.
INT_PTR RunChooser(CPathDialog& dlg, std::function<void(HWND)> script)
{
    gui::BrowserDriver driver(kBrowserCaption, std::move(script));
    INT_PTR result = dlg.DoModal();
    EXPECT_TRUE(driver.scriptRan) << "the browser did not appear";
    EXPECT_FALSE(driver.timedOut);
    return result;
}

class PathDialogTest : public MainDialogTest
{
protected:
    void SetUp() override
    {
        MainDialogTest::SetUp();
        testenv::RemoveTree(kRoot);
        ASSERT_TRUE(::CreateDirectoryA(kRoot, nullptr));
        ASSERT_TRUE(::CreateDirectoryA(In("Sub").c_str(), nullptr));
    }
    void TearDown() override
    {
        MainDialogTest::TearDown();
        testenv::RemoveTree(kRoot);
    }
    static std::string In(const char* pszRel) { return std::string(kRoot) + "\\" + pszRel; }
};

}  // namespace

TEST_F(PathDialogTest, EditFieldSitsAboveTheTreeInPlaceOfTheStatusLine)
{
    CPathDialog dlg(kBrowserCaption, "Zielordner ...", kRoot);
    INT_PTR result = RunChooser(dlg, [](HWND hBrowser) {
        HWND hEdit = Edit(hBrowser);
        HWND hTree = ::GetDlgItem(hBrowser, IDC_BROWSE_TREE);
        ASSERT_TRUE(hEdit && hTree);
        char cls[16] = "";
        ::GetClassNameA(hEdit, cls, sizeof(cls));
        EXPECT_STREQ("Edit", cls);
        EXPECT_TRUE(::IsWindowVisible(hBrowser));
        EXPECT_TRUE(::IsWindowVisible(hEdit));
        EXPECT_FALSE(gui::IsVisible(hBrowser, IDC_BROWSE_STATUS));
        EXPECT_EQ(::SendMessageA(hBrowser, WM_GETFONT, 0, 0), ::SendMessageA(hEdit, WM_GETFONT, 0, 0));

        RECT rcEdit = RectIn(hBrowser, hEdit), rcTree = RectIn(hBrowser, hTree);
        EXPECT_EQ(23, rcEdit.bottom - rcEdit.top);
        EXPECT_EQ(rcTree.top - 4, rcEdit.bottom);
        EXPECT_EQ(rcTree.left, rcEdit.left);
        EXPECT_EQ(rcTree.right, rcEdit.right);
        EXPECT_GT(rcTree.bottom - rcTree.top, 100);
        for (HWND h = ::GetWindow(hBrowser, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
            RECT rc = RectIn(hBrowser, h), overlap;
            if (h != hEdit && ::IsWindowVisible(h)) {
                EXPECT_FALSE(::IntersectRect(&overlap, &rc, &rcEdit)) << "control " << ::GetDlgCtrlID(h);
            }
        }
        // Opened on the initial path, which the field shows.
        EXPECT_EQ(kRoot, gui::Text(hEdit));
        EXPECT_TRUE(gui::IsEnabled(hBrowser, IDOK));
        gui::ClickButton(hBrowser, IDCANCEL);
    });
    EXPECT_EQ(-1, result);
}

TEST_F(PathDialogTest, OkFollowsTheTypedPathAndPathlessTreeItemsEmptyTheField)
{
    CPathDialog dlg(kBrowserCaption, "Zielordner ...", kRoot);
    INT_PTR result = RunChooser(dlg, [](HWND hBrowser) {
        ASSERT_TRUE(gui::SelectShellFolder(hBrowser, IDC_BROWSE_TREE, CSIDL_DRIVES));
        EXPECT_EQ("", gui::Text(Edit(hBrowser)));
        EXPECT_FALSE(gui::IsEnabled(hBrowser, IDOK));
        Type(hBrowser, "C:\\Irgendwo");
        EXPECT_TRUE(gui::IsEnabled(hBrowser, IDOK));
        Type(hBrowser, "");
        EXPECT_FALSE(gui::IsEnabled(hBrowser, IDOK));

        // Wine names the Documents folder with a backslash at the end; the
        // field gets a path the check accepts.
        char szDocs[MAX_PATH] = "";
        if (gui::SelectShellFolder(hBrowser, IDC_BROWSE_TREE, CSIDL_PERSONAL) &&
            SUCCEEDED(::SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, szDocs))) {
            EXPECT_EQ(szDocs, gui::Text(Edit(hBrowser)));
            EXPECT_TRUE(gui::IsEnabled(hBrowser, IDOK));
        }
        gui::SendCommand(hBrowser, IDCANCEL);
    });
    EXPECT_EQ(-1, result);
}

TEST_F(PathDialogTest, RefusedPathKeepsTheBrowserOpenWithTheFocusInTheField)
{
    std::string missingDrive = "Q:\\Titel";
    ASSERT_FALSE(::GetLogicalDrives() & (1u << ('Q' - 'A')));
    std::string declined = In("Neu");
    std::string tooLong = "C:\\" + std::string(280, 'L');
    gui::MessageBoxRecorder boxes({IDOK, IDNO, IDYES, IDOK, IDOK});
    CPathDialog dlg(kBrowserCaption, "Zielordner ...", kRoot);
    INT_PTR result = RunChooser(dlg, [&](HWND hBrowser) {
        for (const std::string& p : {std::string("C:"), declined, missingDrive, tooLong}) {
            Type(hBrowser, p);
            ::SetFocus(::GetDlgItem(hBrowser, IDOK));
            gui::SendCommand(hBrowser, IDOK);
            gui::Pump(50);
            ASSERT_TRUE(::IsWindow(hBrowser)) << p;
            EXPECT_EQ(Edit(hBrowser), ::GetFocus()) << p;
        }
        gui::SendCommand(hBrowser, IDCANCEL);
    });
    EXPECT_EQ(-1, result);
    ASSERT_EQ(5u, boxes.boxes.size());
    EXPECT_NE(std::string::npos, boxes.boxes[0].text.find("ist ungültig"));
    EXPECT_NE(std::string::npos, boxes.boxes[1].text.find(declined + "\n\nist nicht vorhanden"));
    EXPECT_NE(std::string::npos, boxes.boxes[2].text.find(missingDrive + "\n\nist nicht vorhanden"));
    EXPECT_NE(std::string::npos, boxes.boxes[3].text.find(missingDrive + "\n\nkann nicht erstellt"));
    EXPECT_NE(std::string::npos, boxes.boxes[4].text.find(tooLong + "\n\nist ungültig"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(declined.c_str()));
    EXPECT_EQ("Texorra 3.0 - Professional", boxes.boxes[0].caption);
}

TEST_F(PathDialogTest, EnterAcceptsTheTypedPathNotTheTreeSelection)
{
    std::string typed = In("Neu\\Teil");
    gui::MessageBoxRecorder boxes({IDYES});
    HWND hOwner = nullptr;
    CPathDialog dlg(kBrowserCaption, "Zielordner ...", In("Sub").c_str());
    INT_PTR result = RunChooser(dlg, [&](HWND hBrowser) {
        Type(hBrowser, typed);
        ::SetFocus(Edit(hBrowser));
        // The dialog manager turns Enter into the default button's command.
        ::PostMessageA(Edit(hBrowser), WM_KEYDOWN, VK_RETURN, 0);
        ::PostMessageA(Edit(hBrowser), WM_KEYUP, VK_RETURN, 0);
        hOwner = hBrowser;
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(typed, std::string(dlg.GetPathName()));
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ(hOwner, boxes.boxes[0].hOwner);   // owned by the active browser
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(typed.c_str()));
}

TEST_F(PathDialogTest, SelectButtonWritesTheAcceptedFolderAndReReadsTheFreeSpace)
{
    OpenDialog();
    gui::SetEditText(hDlg, IDC_TARGET, kRoot);
    g_ullFreeBytes = 0;
    gui::BrowserDriver driver(kBrowserCaption, [&](HWND hBrowser) {
        EXPECT_EQ(hDlg, ::GetWindow(hBrowser, GW_OWNER));
        EXPECT_FALSE(::IsWindowEnabled(hDlg));
        EXPECT_EQ(kRoot, gui::Text(Edit(hBrowser)));   // opened on the field's folder
        Type(hBrowser, In("Sub"));
        gui::ClickButton(hBrowser, IDOK);
    });
    gui::SendCommand(hDlg, IDC_SELECT_FOLDER);
    EXPECT_TRUE(driver.scriptRan);
    EXPECT_EQ(In("Sub"), gui::ControlText(hDlg, IDC_TARGET));
    EXPECT_GT(g_ullFreeBytes, 0u);
    EXPECT_TRUE(::IsWindowEnabled(hDlg));
}

TEST_F(PathDialogTest, CancelKeepsTheFieldAndRefillsOnlyAnEmptyOne)
{
    OpenDialog();
    g_ullFreeBytes = 0;
    auto cancel = [](HWND hBrowser) { gui::SendCommand(hBrowser, IDCANCEL); };
    gui::SetEditText(hDlg, IDC_TARGET, "C:\\Irgendwo");
    {
        gui::BrowserDriver driver(kBrowserCaption, cancel);
        gui::SendCommand(hDlg, IDC_SELECT_FOLDER);
        EXPECT_TRUE(driver.scriptRan);
    }
    EXPECT_EQ("C:\\Irgendwo", gui::ControlText(hDlg, IDC_TARGET));
    EXPECT_EQ(0u, g_ullFreeBytes);

    gui::SetEditText(hDlg, IDC_TARGET, "");
    {
        std::string shown = "?";
        gui::BrowserDriver driver(kBrowserCaption, [&](HWND hBrowser) {
            shown = gui::Text(Edit(hBrowser));
            cancel(hBrowser);
        });
        gui::SendCommand(hDlg, IDC_SELECT_FOLDER);
        EXPECT_EQ("", shown);   // not the current directory
    }
    EXPECT_EQ("C:\\Zorvalia", gui::ControlText(hDlg, IDC_TARGET));

    // An empty field with a folder accepted keeps that folder.
    gui::SetEditText(hDlg, IDC_TARGET, "");
    {
        gui::BrowserDriver driver(kBrowserCaption, [&](HWND hBrowser) {
            Type(hBrowser, kRoot);
            gui::ClickButton(hBrowser, IDOK);
        });
        gui::SendCommand(hDlg, IDC_SELECT_FOLDER);
    }
    EXPECT_EQ(kRoot, gui::ControlText(hDlg, IDC_TARGET));
}
