// Tests of title removal: titles placed on the hard disk as an installation
// leaves them, and a dialog to remove them from.
#pragma once

#include "CatalogueFixture.h"

#include "../../ordavin/setup/TitleRemoval.h"

#include <string>
#include <vector>

// What an installation leaves behind for one title.
struct InstalledTitle {
    std::string title;      // title name, also its section's name
    std::string file;       // title file name, the catalogue value's name
    std::string target;     // the target folder
    std::string folder;     // the title folder below it
    std::string shortcut;   // the Start-menu shortcut's path
    std::string Path() const { return folder + "\\" + file; }
};

inline bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::string ProfileValue(const std::string& section, const char* name)
{
    std::string value = "<absent>";
    reg::GetString(HKEY_CURRENT_USER, PROFILE_ROOT "\\" + section, name, &value);
    return value;
}

// Places a title as an installation into `target` leaves it: the title file
// and the files named in `copied` (relative to the title folder, such as
// "NOTE\\A.TXT") in the folder `folderName`, the shortcut in `startMenu`,
// the title's registration re-pointed to the copy, the shortcut's path in
// lnk and the target in ProjektPfad\Nuvado. The viewer's catalogue value is
// there as the viewer made it.
//
// This stands in for the installer: a round trip through a real
// installation replaces it where the installer is at hand.
inline InstalledTitle PlaceInstalledTitle(const std::string& target, const std::string& folderName,
                                          const std::string& file, const std::string& title,
                                          const std::vector<std::string>& copied, const std::string& startMenu)
{
    InstalledTitle t = {title, file, target, target + "\\" + folderName, startMenu + "\\" + title + " (HD).lnk"};
    EXPECT_TRUE(testenv::MakeFile(t.Path()));
    for (const std::string& name : copied) {
        EXPECT_TRUE(testenv::MakeFile(t.folder + "\\" + name)) << name;
    }
    EXPECT_TRUE(testenv::MakeFile(t.shortcut));
    AddCatalogueValue(file, title);
    const char* pszPathValue = file.find(".V60") != std::string::npos ? "Path60" : "Path0";
    EXPECT_TRUE(reg::SetString(HKEY_CURRENT_USER, TitleSection(title), pszPathValue, t.Path()));
    EXPECT_TRUE(reg::SetString(HKEY_CURRENT_USER, TitleSection(title), "lnk", t.shortcut));
    EXPECT_TRUE(reg::SetString(HKEY_CURRENT_USER, PROFILE_ROOT "\\ProjektPfad", "Nuvado", target));
    return t;
}

class TitleRemovalTest : public CatalogueTest
{
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        ::GetCurrentDirectoryA(sizeof(m_szStartDir), m_szStartDir);
    }
    void TearDown() override
    {
        g_pfnSetCurrentDirectory = &::SetCurrentDirectoryA;
        ::SetCurrentDirectoryA(m_szStartDir);
        CatalogueTest::TearDown();
    }

    InstalledTitle Install(const std::string& folderName, const std::string& file, const std::string& title,
                           const std::vector<std::string>& copied = {})
    {
        return PlaceInstalledTitle(target, folderName, file, title, copied, startMenu);
    }

    int RowOf(const std::string& file)
    {
        std::vector<ListRow> rows = Rows();
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].file == file)
                return static_cast<int>(i);
        return -1;
    }
    void Click(const std::string& file) { gui::ClickListRow(hDlg, IDC_TITLE_LIST, RowOf(file)); }
    // "Entfernen", with the message boxes answered as scripted.
    std::vector<gui::MessageBoxRecord> Remove(std::vector<int> answers)
    {
        gui::MessageBoxRecorder boxes(std::move(answers));
        gui::SendCommand(hDlg, IDC_REMOVE);
        return boxes.boxes;
    }
    static std::string CurrentDir()
    {
        char sz[MAX_PATH] = "";
        ::GetCurrentDirectoryA(sizeof(sz), sz);
        return sz;
    }

    std::string target = dirs.hd + "\\Ziel";
    std::string startMenu = dirs.hd + "\\Startmenue";
    char m_szStartDir[MAX_PATH] = "";
};
