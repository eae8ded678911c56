// Tests of title removal: titles placed on the hard disk as an installation
// leaves them, and a dialog to remove them from.
#pragma once

#include "InstallChecks.h"

#include "../../ordavin/setup/TitleRemoval.h"

// What an installation leaves behind for one title.
struct InstalledTitle {
    std::string folder, file, shortcut;   // title folder, title file name, shortcut path
    std::string Path() const { return folder + "\\" + file; }
};

// Stands in for an installation into `target` until a real one can run
// here: the title file and the `copied` files ("NOTE\\A.TXT" for a note) in
// target\folderName, the shortcut in `startMenu`, Path0/Path60 re-pointed to
// the copy, lnk and ProjektPfad\Nuvado written, and the viewer's catalogue
// value.
inline InstalledTitle PlaceInstalledTitle(const std::string& target, const std::string& folderName,
                                          const std::string& file, const std::string& title,
                                          const std::vector<std::string>& copied, const std::string& startMenu)
{
    InstalledTitle t = {target + "\\" + folderName, file, startMenu + "\\" + title + " (HD).lnk"};
    for (const std::string& name : copied)
        EXPECT_TRUE(testenv::MakeFile(t.folder + "\\" + name)) << name;
    EXPECT_TRUE(testenv::MakeFile(t.Path()) && testenv::MakeFile(t.shortcut));
    AddCatalogueValue(file, title);
    const char* pszPath = file.find(".V60") != std::string::npos ? "Path60" : "Path0";
    EXPECT_TRUE(reg::SetString(HKEY_CURRENT_USER, TitleSection(title), pszPath, t.Path()));
    EXPECT_TRUE(reg::SetString(HKEY_CURRENT_USER, TitleSection(title), "lnk", t.shortcut));
    EXPECT_TRUE(reg::SetString(HKEY_CURRENT_USER, PROFILE_ROOT "\\ProjektPfad", "Nuvado", target));
    return t;
}

// In a folder of its own: what other tests leave below C:\HD\cat must not
// keep a folder from becoming empty here.
class TitleRemovalTest : public CatalogueTest
{
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        testenv::RemoveTree(root);
        // The shortcuts lie in the Start-menu group, the only place whose
        // shortcuts removal deletes.
        reg::SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quendramark\\Texorra", "StartMenu", startMenu);
        ::GetCurrentDirectoryA(sizeof(m_szStartDir), m_szStartDir);
    }
    void TearDown() override
    {
        g_pfnSetCurrentDirectory = &::SetCurrentDirectoryA;
        ::SetCurrentDirectoryA(m_szStartDir);
        CatalogueTest::TearDown();
        testenv::RemoveTree(root);
    }

    InstalledTitle Install(const std::string& folderName, const std::string& file, const std::string& title,
                           const std::vector<std::string>& copied = {})
    {
        return PlaceInstalledTitle(target, folderName, file, title, copied, startMenu);
    }
    // The row of a title file; -1 when it is not listed.
    int RowOf(const std::string& file)
    {
        std::vector<ListRow> rows = Rows();
        const ListRow* row = FindRow(rows, file);
        return row ? static_cast<int>(row - rows.data()) : -1;
    }
    // A click on the title's row (or below the rows), then "Entfernen",
    // with the message boxes answered as scripted.
    std::vector<gui::MessageBoxRecord> Remove(const std::string& file, std::vector<int> answers = {})
    {
        gui::MessageBoxRecorder boxes(std::move(answers));
        gui::ClickListRow(hDlg, IDC_TITLE_LIST, RowOf(file));
        gui::SendCommand(hDlg, IDC_REMOVE);
        return boxes.boxes;
    }

    std::string root = "C:\\HD\\Entfernen", target = root + "\\Ziel", startMenu = root + "\\Startmenue";
    char m_szStartDir[MAX_PATH] = "";
};
