// The catalogue scan against the real registry and the fixture's drives.
#include "CatalogueFixture.h"
#include "FakeVolumes.h"

#include "../../ordavin/catalogue/TitleCatalogue.h"

#include <functional>

namespace {
const int kInstallSection[] = {1014, 1015, 1011, 1016, 1017, 1019, 1010, 1006, 1020, 1002};

int SelectedCount(const std::vector<ListRow>& rows)
{
    int n = 0;
    for (const ListRow& row : rows)
        n += row.selected;
    return n;
}
}  // namespace

TEST_F(CatalogueTest, EveryStatusFromTheFixtureDrives)
{
    ASSERT_TRUE(testenv::MakeFile(dirs.cdDHost + "\\OnCd.V30"));
    ASSERT_TRUE(testenv::MakeFile(dirs.hd + "\\Hd.V30"));
    ASSERT_TRUE(testenv::MakeFile(dirs.shareHost + "\\Net.V30"));
    AddV30Title("OnCd.V30", "Auf CD", dirs.cdD + "\\OnCd.V30", 1);
    AddV30Title("NoCd.V30", "CD fehlt", dirs.cdE + "\\NoCd.V30", 0);
    AddV30Title("Hd.V30", "Festplatte", dirs.hd + "\\Hd.V30");
    AddV30Title("Gone.V30", "Verschwunden", dirs.hd + "\\Gone.V30", 1);
    AddV30Title("Net.V30", "Netz", dirs.share + "\\Net.V30");
    AddV30Title("NetGone.V30", "Netz fehlt", dirs.share + "\\NetGone.V30");
    FakeVolumes volumes;
    volumes.volumes["D:"] = {0, 1293942784};
    OpenDialog();

    std::vector<ListRow> rows = Rows();
    ASSERT_EQ(6u, rows.size());
    struct Expect { const char* file; const char* title; const char* status; int image; const char* mark; UINT state; };
    const Expect expected[] = {
        {"OnCd.V30", "Auf CD", "2", 2, "1", 2},        {"NoCd.V30", "CD fehlt", "3", 1, "0", 1},
        {"Hd.V30", "Festplatte", "0", 0, "0", 1},      {"Gone.V30", "Verschwunden", "1", 1, "1", 2},
        {"Net.V30", "Netz", "4", 3, "0", 1},           {"NetGone.V30", "Netz fehlt", "5", 4, "0", 1},
    };
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.file);
        const ListRow* row = FindRow(rows, e.file);
        ASSERT_NE(nullptr, row);
        EXPECT_EQ(e.title, row->title);
        EXPECT_EQ(e.status, row->status);
        EXPECT_EQ(e.image, row->image);
        EXPECT_EQ(e.mark, row->mark);
        EXPECT_EQ(e.state, row->stateImage);
        EXPECT_EQ(row->file == "OnCd.V30", row->selected);
        EXPECT_EQ(row->file == "OnCd.V30", row->focused);
    }
    EXPECT_EQ(dirs.cdD + "\\OnCd.V30", FindRow(rows, "OnCd.V30")->path);
    EXPECT_EQ(dirs.share + "\\Net.V30", FindRow(rows, "Net.V30")->path);
    ASSERT_GE(g_nCdItem, 0);
    EXPECT_EQ("OnCd.V30", rows[static_cast<size_t>(g_nCdItem)].file);
    EXPECT_STREQ("D:", dlg->m_strCdDrive);
    EXPECT_EQ("D:", gui::ControlText(hDlg, IDC_CD_DRIVE));
    EXPECT_EQ("1.234 MB", gui::ControlText(hDlg, IDC_CD_SIZE));
    EXPECT_EQ(1293942784u, g_ullCdBytes);
}

TEST_F(CatalogueTest, EmptyOrMissingCatalogueKeepsTheLastCdDrive)
{
    ASSERT_TRUE(testenv::MakeFile(dirs.cdDHost + "\\OnCd.V30"));
    AddV30Title("OnCd.V30", "Auf CD", dirs.cdD + "\\OnCd.V30");
    FakeVolumes volumes;
    volumes.volumes["D:"] = {0, 650u << 20};
    OpenDialog();
    ASSERT_EQ(0, g_nCdItem);

    // Without the key, then with an empty key: no rows, no CD, "n.V."; the
    // CD drive and size of the last scan that found one stay known.
    ASSERT_TRUE(reg::DeleteTree(HKEY_CURRENT_USER, CATALOGUE_PATH));
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass ? "empty key" : "no key");
        Refresh();
        EXPECT_TRUE(Rows().empty());
        EXPECT_EQ(-1, g_nCdItem);
        EXPECT_EQ("n.V.", gui::ControlText(hDlg, IDC_CD_DRIVE));
        EXPECT_EQ("n.V.", gui::ControlText(hDlg, IDC_CD_SIZE));
        EXPECT_STREQ("n.V.", g_szCdSizeText);
        EXPECT_STREQ("D:", dlg->m_strCdDrive);
        EXPECT_EQ(650u << 20, g_ullCdBytes);
        ASSERT_TRUE(reg::CreateKey(HKEY_CURRENT_USER, CATALOGUE_PATH));
    }
}

TEST_F(CatalogueTest, OfTwoTitlesOnCdDrivesTheLaterIsTheCdRow)
{
    ASSERT_TRUE(testenv::MakeFile(dirs.cdDHost + "\\A.V30"));
    ASSERT_TRUE(testenv::MakeFile(dirs.cdEHost + "\\B.V30"));
    AddV30Title("A.V30", "Erste", dirs.cdD + "\\A.V30");
    AddV30Title("B.V30", "Zweite", dirs.cdE + "\\B.V30");
    FakeVolumes volumes;
    volumes.volumes["D:"] = {0, 1u << 20};
    volumes.volumes["E:"] = {0, 2u << 20};
    OpenDialog();

    std::vector<std::string> order = EnumeratedNames();
    ASSERT_EQ(2u, order.size());
    const bool bLaterIsE = order[1] == "B.V30";
    std::vector<ListRow> rows = Rows();
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ(order[0], rows[0].file);   // rows follow the enumeration
    EXPECT_EQ(1, g_nCdItem);
    EXPECT_EQ(1, SelectedCount(rows));
    EXPECT_TRUE(rows[1].selected);
    EXPECT_EQ(bLaterIsE ? "E:" : "D:", gui::ControlText(hDlg, IDC_CD_DRIVE));
    EXPECT_EQ(bLaterIsE ? "2 MB" : "1 MB", gui::ControlText(hDlg, IDC_CD_SIZE));
}

TEST_F(CatalogueTest, RefreshLeavesTheInstallSectionAndTargetDisabled)
{
    OpenDialog();
    for (int id : kInstallSection)
        ::EnableWindow(::GetDlgItem(hDlg, id), TRUE);
    ::EnableWindow(::GetDlgItem(hDlg, IDC_TARGET), TRUE);
    ::EnableWindow(::GetDlgItem(hDlg, IDC_REMOVE_TEXT), TRUE);
    ::EnableWindow(::GetDlgItem(hDlg, IDC_LAUNCH), TRUE);
    ::EnableWindow(::GetDlgItem(hDlg, IDC_CLICK_HINT), FALSE);
    ::ShowWindow(::GetDlgItem(hDlg, IDC_PROGRESS), SW_SHOW);
    ::ShowWindow(::GetDlgItem(hDlg, IDC_LAUNCH), SW_HIDE);

    Refresh();
    for (int id : kInstallSection)
        EXPECT_FALSE(gui::IsEnabled(hDlg, id)) << id;
    EXPECT_FALSE(gui::IsEnabled(hDlg, IDC_TARGET));
    EXPECT_FALSE(gui::IsEnabled(hDlg, IDC_REMOVE_TEXT));
    EXPECT_FALSE(gui::IsEnabled(hDlg, IDC_LAUNCH));
    EXPECT_TRUE(gui::IsVisible(hDlg, IDC_LAUNCH));
    EXPECT_FALSE(gui::IsVisible(hDlg, IDC_PROGRESS));
    EXPECT_TRUE(gui::IsEnabled(hDlg, IDC_CLICK_HINT));
}

// The catalogue is written by another program and may hold anything (the
// random catalogues cover the kinds of malformed values; these are sizes).
TEST_F(CatalogueTest, HugeCataloguesAndTitlesGiveNoGarbage)
{
    ASSERT_TRUE(testenv::MakeFile(dirs.hd + "\\T.V30"));
    const std::string path = dirs.hd + "\\T.V30";
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, CATALOGUE_PATH, 0, nullptr, 0, KEY_ALL_ACCESS,
                                               nullptr, &h, nullptr));
    for (int i = 0; i < 5000; ++i)
        ::RegSetValueExA(h, ("Fremd" + std::to_string(i)).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
    ::RegCloseKey(h);
    for (int i = 0; i < 20; ++i)
        AddV30Title("T" + std::to_string(i) + ".V30", "Titel " + std::to_string(i), path);
    // A path stored without its terminating zero.
    AddCatalogueValue("RawPath.V30", "Pfad ohne Null");
    const std::string rawPath = path + "XYZ";
    ASSERT_TRUE(reg::SetRaw(HKEY_CURRENT_USER, TitleSection("Pfad ohne Null"), "Path0", REG_SZ, rawPath.c_str(),
                            static_cast<DWORD>(path.size())));
    // Title names of thousands of characters cannot name a section (a key
    // name has at most 255 characters), so they have no stored path.
    std::string nested;
    for (int i = 0; i < 15; ++i)
        nested += (i ? "\\" : "") + std::string(200, static_cast<char>('a' + i));
    AddCatalogueValue("Huge.V30", std::string(5000, 'h'));
    AddCatalogueValue("Nested.V30", nested);
    AddV30Title("LongTitle.V30", std::string(200, 'l'), path);
    OpenDialog();

    std::vector<ListRow> rows = Rows();
    ASSERT_EQ(22u, rows.size());
    ASSERT_NE(nullptr, FindRow(rows, "RawPath.V30"));
    EXPECT_EQ(path, FindRow(rows, "RawPath.V30")->path);
    EXPECT_EQ("0", FindRow(rows, "RawPath.V30")->status);
    ASSERT_NE(nullptr, FindRow(rows, "LongTitle.V30"));
    EXPECT_EQ(std::string(200, 'l'), FindRow(rows, "LongTitle.V30")->title);
}

TEST_F(CatalogueTest, PathsOfMaxPathCharactersAndMoreCountAsNotFound)
{
    // C:\HD\cat\ + folders of 50 characters + a file name: 259 and 260
    // characters, both files really there.
    std::string folder = dirs.hd;
    for (int i = 0; i < 4; ++i)
        folder += "\\" + std::string(50, static_cast<char>('a' + i));
    const std::string path259 = folder + "\\" + std::string(259 - folder.size() - 5, 'f') + ".V30";
    const std::string path260 = folder + "\\" + std::string(260 - folder.size() - 5, 'g') + ".V30";
    ASSERT_EQ(259u, path259.size());
    ASSERT_TRUE(testenv::MakeFile(path259));
    const std::wstring wide260 = L"\\\\?\\" + std::wstring(path260.begin(), path260.end());
    HANDLE h = ::CreateFileW(wide260.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h) << ::GetLastError();
    ::CloseHandle(h);
    AddV30Title("Fits.V30", "259", path259);
    AddV30Title("Long.V30", "260", path260);
    AddV30Title("LongCd.V30", "CD", dirs.cdD + "\\" + std::string(300, 'c') + ".V30");
    AddV30Title("LongNet.V30", "Netz", dirs.share + "\\" + std::string(300, 'n') + ".V30");
    OpenDialog();

    std::vector<ListRow> rows = Rows();
    ASSERT_EQ(4u, rows.size());
    EXPECT_EQ("0", FindRow(rows, "Fits.V30")->status);
    EXPECT_EQ("1", FindRow(rows, "Long.V30")->status);
    EXPECT_EQ("3", FindRow(rows, "LongCd.V30")->status);
    EXPECT_EQ("5", FindRow(rows, "LongNet.V30")->status);
    EXPECT_EQ(path260, FindRow(rows, "Long.V30")->path);
}

// A title counts as found only where its registered file itself is: not a
// pattern, not a folder, not another file that a search would return.
TEST_F(CatalogueTest, OnlyTheRegisteredFileItselfIsFound)
{
    ASSERT_TRUE(testenv::MakeFile(dirs.hd + "\\Daten\\Brief.doc") && testenv::MakeFile(dirs.hd + "\\Langer Name.V30"));
    const struct {
        const char* path;   // below C:\HD\cat
        const char* status;
    } cases[] = {
        {"\\Daten\\*", "1"},          {"\\Daten\\Brief.do?", "1"}, {"\\Daten", "1"},
        {"\\Daten\\", "1"},           {"\\Daten\\Brief.doc", "0"}, {"\\Langer Name.V30", "0"},
        {"\\Daten\\.", "1"},
    };
    int n = 0;
    for (const auto& c : cases) {
        AddV30Title("F" + std::to_string(n) + ".V30", "T" + std::to_string(n), dirs.hd + c.path);
        ++n;
    }
    OpenDialog();
    std::vector<ListRow> rows = Rows();
    n = 0;
    for (const auto& c : cases) {
        const ListRow* row = FindRow(rows, "F" + std::to_string(n++) + ".V30");
        ASSERT_NE(nullptr, row) << c.path;
        EXPECT_EQ(c.status, row->status) << c.path;
    }
}

// Every refresh reads each title's section again, whatever the viewer did
// to it since the last one: a value changed, the section deleted, or
// deleted and made anew.
TEST_F(CatalogueTest, EachRefreshReadsTheSectionsAnew)
{
    ASSERT_TRUE(testenv::MakeFile(dirs.hd + "\\A.V30") && testenv::MakeFile(dirs.hd + "\\B.V30"));
    AddV30Title("T.V30", "Titel", dirs.hd + "\\A.V30", 1);
    OpenDialog();
    const struct {
        const char* step;
        std::function<void()> change;
        const char* path;   // below C:\HD\cat; null: no row
        const char* mark;
    } steps[] = {
        {"value changed",
         [] { ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, TitleSection("Titel"), "Path0", "C:\\HD\\cat\\B.V30")); },
         "\\B.V30", "1"},
        {"section deleted", [] { ASSERT_TRUE(reg::DeleteTree(HKEY_CURRENT_USER, PROFILE_ROOT "\\Titel")); },
         nullptr, ""},
        {"made anew", [] { AddV30Title("T.V30", "Titel", "C:\\HD\\cat\\A.V30"); }, "\\A.V30", "0"},
        {"deleted and made anew",
         [] {
             ASSERT_TRUE(reg::DeleteTree(HKEY_CURRENT_USER, PROFILE_ROOT "\\Titel"));
             AddV30Title("T.V30", "Titel", "C:\\HD\\cat\\B.V30", 1);
         },
         "\\B.V30", "1"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        s.change();
        Refresh();
        std::vector<ListRow> rows = Rows();
        if (!s.path) {
            EXPECT_TRUE(rows.empty());
            continue;
        }
        ASSERT_EQ(1u, rows.size());
        EXPECT_EQ(dirs.hd + s.path, rows[0].path);
        EXPECT_EQ("0", rows[0].status);
        EXPECT_EQ(s.mark, rows[0].mark);
    }
}
