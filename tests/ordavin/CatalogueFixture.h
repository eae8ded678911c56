// Catalogue tests: titles registered as the viewer registers them, title
// files on the fixture's drives, and the list rows read back through the
// list control's own answers.
#pragma once

#include "MainDialogFixture.h"

#include "../../framework/Controls.h"

#include <cstring>
#include <map>
#include <string>
#include <vector>

#define CATALOGUE_PATH PROFILE_ROOT "\\V30"

// Folders for title files: as the program sees them and as the test
// reaches them (the folders behind D:, E: and the share are on Z:).
struct TitleFolders {
    std::string hd = "C:\\HD\\cat";
    std::string cdD = "D:\\cat";
    std::string cdE = "E:\\cat";
    std::string share = "\\\\server\\share\\cat";
    std::string cdDHost = testenv::HostFolder("cd-d") + "\\cat";
    std::string cdEHost = testenv::HostFolder("cd-e") + "\\cat";
    std::string shareHost = testenv::HostFolder("share") + "\\cat";
};

struct ListRow {
    std::string title, path, status, file, mark;
    int image = -1;
    UINT stateImage = 0;   // index, not the mask bits
    bool selected = false;
    bool focused = false;
};

inline std::vector<ListRow> ReadRows(HWND hList)
{
    CListCtrl list;
    list.Attach(hList);
    std::vector<ListRow> rows;
    for (int i = 0; i < list.GetItemCount(); ++i) {
        ListRow row;
        row.title = list.GetItemText(i, 0).GetString();
        row.path = list.GetItemText(i, 1).GetString();
        row.status = list.GetItemText(i, 2).GetString();
        row.file = list.GetItemText(i, 3).GetString();
        row.mark = list.GetItemText(i, 4).GetString();
        LVITEMA item = {};
        item.mask = LVIF_IMAGE | LVIF_STATE;
        item.iItem = i;
        item.stateMask = LVIS_STATEIMAGEMASK | LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageA(hList, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        row.image = item.iImage;
        row.stateImage = (item.state & LVIS_STATEIMAGEMASK) >> 12;
        row.selected = (item.state & LVIS_SELECTED) != 0;
        row.focused = (item.state & LVIS_FOCUSED) != 0;
        rows.push_back(row);
    }
    list.Detach();
    return rows;
}

// The row of a title file, or null.
inline const ListRow* FindRow(const std::vector<ListRow>& rows, const std::string& file)
{
    for (const ListRow& row : rows)
        if (row.file == file)
            return &row;
    return nullptr;
}

inline void AddCatalogueValue(const std::string& file, const std::string& title)
{
    ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, CATALOGUE_PATH, file.c_str(), title));
}

inline std::string TitleSection(const std::string& title)
{
    return PROFILE_ROOT "\\" + title + "\\Ifo";
}

// A ".V30" title as the viewer registers it; mark -1 leaves iSel out.
inline void AddV30Title(const std::string& file, const std::string& title, const std::string& path,
                        long long mark = -1)
{
    AddCatalogueValue(file, title);
    ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, TitleSection(title), "Path0", path));
    if (mark >= 0) {
        ASSERT_TRUE(reg::SetDword(HKEY_CURRENT_USER, TitleSection(title), "iSel", static_cast<DWORD>(mark)));
    }
}

// The catalogue's value names in the order the registry enumerates them.
inline std::vector<std::string> EnumeratedNames()
{
    std::vector<std::string> names;
    HKEY h = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, CATALOGUE_PATH, 0, KEY_READ, &h) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD cch = sizeof(name);
        if (::RegEnumValueA(h, i, name, &cch, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, cch);
    }
    ::RegCloseKey(h);
    return names;
}

class CatalogueTest : public MainDialogTest
{
protected:
    void SetUp() override
    {
        if (testenv::HostFolder("cd-d").empty())
            GTEST_SKIP() << "needs the test fixture's drives";
        MainDialogTest::SetUp();
        Clean();
    }
    void TearDown() override
    {
        MainDialogTest::TearDown();
        Clean();
    }
    void Clean()
    {
        testenv::RemoveTree(dirs.hd);
        testenv::RemoveTree(dirs.cdDHost);
        testenv::RemoveTree(dirs.cdEHost);
        testenv::RemoveTree(dirs.shareHost);
    }
    std::vector<ListRow> Rows() { return ReadRows(::GetDlgItem(hDlg, IDC_TITLE_LIST)); }
    void Refresh() { gui::ClickButton(hDlg, IDC_REFRESH); }

    TitleFolders dirs;
};
