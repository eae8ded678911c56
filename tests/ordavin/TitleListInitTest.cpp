// What the main dialog's initialisation sets up for the title list.
#include "MainDialogFixture.h"

#include "../../ordavin/ui/SizeDisplay.h"

namespace {
const char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char kViewerKey[] = "SOFTWARE\\Quendramark\\Texorra";

// Replaces the prefix's ProgramFilesDir for one test (nullptr: removes it)
// and puts the original back.
class ProgramFilesDirOverride
{
public:
    explicit ProgramFilesDirOverride(const char* pszValue)
    {
        m_bHad = reg::GetString(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir", &m_strOriginal);
        if (pszValue)
            EXPECT_TRUE(reg::SetString(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir", pszValue));
        else
            reg::DeleteValue(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir");
    }
    ~ProgramFilesDirOverride()
    {
        if (m_bHad)
            reg::SetString(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir", m_strOriginal);
        else
            reg::DeleteValue(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir");
    }

private:
    bool m_bHad = false;
    std::string m_strOriginal;
};
}  // namespace

TEST_F(MainDialogTest, DefaultTargetFolder)
{
    {
        ProgramFilesDirOverride pf("C:\\Programme");
        ASSERT_TRUE(reg::SetString(HKEY_LOCAL_MACHINE, kViewerKey, "NuvadoDir", "E:\\Texte"));
        OpenDialog();
        EXPECT_EQ("E:\\Texte", gui::ControlText(hDlg, IDC_TARGET));
        EXPECT_STREQ("E:\\Texte", dlg->m_strDefaultTarget);
        EXPECT_EQ("E:", gui::ControlText(hDlg, IDC_TARGET_DRIVE));
        CloseDialog();

        // A value too long for the 260-byte buffer is not read.
        ASSERT_TRUE(reg::SetString(HKEY_LOCAL_MACHINE, kViewerKey, "NuvadoDir", "C:\\" + std::string(257, 'x')));
        OpenDialog();
        EXPECT_EQ("C:\\Programme\\Texorra\\Zorvalia", gui::ControlText(hDlg, IDC_TARGET));
        CloseDialog();

        ASSERT_TRUE(reg::DeleteValue(HKEY_LOCAL_MACHINE, kViewerKey, "NuvadoDir"));
        OpenDialog();
        EXPECT_EQ("C:\\Programme\\Texorra\\Zorvalia", gui::ControlText(hDlg, IDC_TARGET));
        EXPECT_STREQ("C:\\Programme\\Texorra\\Zorvalia", dlg->m_strDefaultTarget);
        CloseDialog();
    }
    {
        ProgramFilesDirOverride pf(nullptr);
        OpenDialog();
        EXPECT_EQ("C:\\Zorvalia", gui::ControlText(hDlg, IDC_TARGET));
        EXPECT_STREQ("C:\\Zorvalia", dlg->m_strDefaultTarget);
    }
}

TEST_F(MainDialogTest, ListColumnsImagesAndControlsAfterStart)
{
    OpenDialog();
    HWND hList = ::GetDlgItem(hDlg, IDC_TITLE_LIST);
    EXPECT_EQ(hList, g_hList);

    const struct { const char* heading; int width; } columns[] = {
        {"Titel:", 380}, {"LfW", 0}, {"Column 2", 0}, {"Column 3", 0}, {"Column 4", 0}};
    for (int i = 0; i < 5; ++i) {
        char text[32] = "";
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
        col.pszText = text;
        col.cchTextMax = sizeof(text);
        ASSERT_TRUE(::SendMessageA(hList, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&col))) << i;
        EXPECT_STREQ(columns[i].heading, text);
        EXPECT_EQ(columns[i].width, col.cx) << i;
        EXPECT_EQ(i, col.iSubItem);
        EXPECT_EQ(LVCFMT_LEFT, col.fmt & LVCFMT_JUSTIFYMASK);
    }
    EXPECT_FALSE(::SendMessageA(hList, LVM_GETCOLUMNA, 5, 0));

    HIMAGELIST hSmall = reinterpret_cast<HIMAGELIST>(::SendMessageA(hList, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    HIMAGELIST hState = reinterpret_cast<HIMAGELIST>(::SendMessageA(hList, LVM_GETIMAGELIST, LVSIL_STATE, 0));
    ASSERT_NE(nullptr, hSmall);
    EXPECT_EQ(5, ::ImageList_GetImageCount(hSmall));
    EXPECT_EQ(hState, g_hStateImages);
    int cx = 0, cy = 0;
    ASSERT_TRUE(::ImageList_GetIconSize(hState, &cx, &cy));
    EXPECT_EQ(2, ::ImageList_GetImageCount(hState));
    EXPECT_EQ(18, cx);
    EXPECT_EQ(16, cy);
    // The list owns its image lists; the dialog object holds none of them.
    EXPECT_EQ(nullptr, dlg->m_pImageList->m_hImageList);

    EXPECT_TRUE(gui::IsVisible(hDlg, IDC_CLICK_HINT));
    EXPECT_TRUE(gui::IsEnabled(hDlg, IDC_CLICK_HINT));
    EXPECT_TRUE(gui::IsVisible(hDlg, IDC_LAUNCH));
    EXPECT_FALSE(gui::IsEnabled(hDlg, IDC_LAUNCH));
    EXPECT_FALSE(gui::IsVisible(hDlg, IDC_PROGRESS));
    EXPECT_FALSE(gui::IsEnabled(hDlg, IDC_TARGET));
    EXPECT_FALSE(gui::IsEnabled(hDlg, IDC_INSTALL));
    EXPECT_FALSE(gui::IsEnabled(hDlg, IDC_SELECT_FOLDER));
}
