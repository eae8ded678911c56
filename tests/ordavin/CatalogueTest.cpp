// The catalogue scan against the real registry and the fixture's drives.
#include "CatalogueFixture.h"
#include "FakeVolumes.h"

#include "../../ordavin/catalogue/TitleCatalogue.h"

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

TEST_F(CatalogueTest, ValueNamesDecideWhichValuesAreTitles)
{
    ASSERT_TRUE(testenv::MakeFile(dirs.hd + "\\Both.V60.V30"));
    ASSERT_TRUE(testenv::MakeFile(dirs.hd + "\\Sixty.V60"));
    AddV30Title("lower.v30", "Klein", dirs.hd + "\\Both.V60.V30");
    AddV30Title("Plain.TXT", "Ohne", dirs.hd + "\\Both.V60.V30");
    // Both extensions: Path0 counts, Path60 is a decoy.
    AddV30Title("Both.V60.V30", "Beide", dirs.hd + "\\Both.V60.V30");
    ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, TitleSection("Beide"), "Path60", dirs.hd + "\\nope"));
    // Only ".V60": Path60 counts, Path0 is a decoy.
    AddCatalogueValue("Sixty.V60", "Sechzig");
    ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, TitleSection("Sechzig"), "Path60", dirs.hd + "\\Sixty.V60"));
    ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, TitleSection("Sechzig"), "Path0", dirs.hd + "\\nope"));
    // The name buffer holds 127 characters and the terminator.
    const std::string name127 = std::string(119, 'n') + "Lang.V30";
    const std::string name128 = std::string(120, 'n') + "Lang.V30";
    AddV30Title(name127, "127", dirs.hd + "\\Both.V60.V30");
    AddV30Title(name128, "128", dirs.hd + "\\Both.V60.V30");
    AddV30Title(std::string(5000, 'x') + ".V30", "5000", dirs.hd + "\\Both.V60.V30");
    OpenDialog();

    std::vector<ListRow> rows = Rows();
    ASSERT_EQ(3u, rows.size());
    ASSERT_NE(nullptr, FindRow(rows, "Both.V60.V30"));
    EXPECT_EQ("0", FindRow(rows, "Both.V60.V30")->status);
    ASSERT_NE(nullptr, FindRow(rows, "Sixty.V60"));
    EXPECT_EQ("0", FindRow(rows, "Sixty.V60")->status);
    EXPECT_EQ(dirs.hd + "\\Sixty.V60", FindRow(rows, "Sixty.V60")->path);
    ASSERT_NE(nullptr, FindRow(rows, name127));
    EXPECT_EQ("127", FindRow(rows, name127)->title);
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

TEST_F(CatalogueTest, MarksAndTitleTexts)
{
    ASSERT_TRUE(testenv::MakeFile(dirs.hd + "\\T.V30"));
    const std::string path = dirs.hd + "\\T.V30";
    AddV30Title("Two.V30", "Zwei", path, 2);
    AddV30Title("Fourteen.V30", "Vierzehn", path, 14);
    AddV30Title("Fifteen.V30", "Fuenfzehn", path, 15);   // would wrap to 0 in four bits
    AddV30Title("Wrap.V30", "Ueberlauf", path, 17);       // would wrap to a ticked box
    AddV30Title("Max.V30", "Hoechst", path, 0xFFFFFFFFu);
    AddV30Title("Text.V30", "Als Text", path);
    ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, TitleSection("Als Text"), "iSel", "1"));
    AddV30Title("Wide.V30", "Acht Bytes", path);
    const unsigned long long wide = 1;
    ASSERT_TRUE(reg::SetRaw(HKEY_CURRENT_USER, TitleSection("Acht Bytes"), "iSel", REG_QWORD, &wide, 8));
    AddV30Title("Lines.V30", "Erste Zeile\nZweite Zeile", path, 1);
    // A title without a stored path takes no row and no other row's mark.
    AddCatalogueValue("NoPath.V30", "Ohne Pfad");
    ASSERT_TRUE(reg::SetDword(HKEY_CURRENT_USER, TitleSection("Ohne Pfad"), "iSel", 1));
    AddV30Title("After.V30", "Danach", path, 0);
    OpenDialog();

    std::vector<ListRow> rows = Rows();
    ASSERT_EQ(9u, rows.size());
    EXPECT_EQ(nullptr, FindRow(rows, "NoPath.V30"));
    struct Expect { const char* file; const char* mark; UINT state; };
    const Expect expected[] = {
        {"Two.V30", "2", 3},         {"Fourteen.V30", "14", 15}, {"Fifteen.V30", "15", 0},
        {"Wrap.V30", "17", 0},       {"Max.V30", "4294967295", 0}, {"Text.V30", "49", 0},
        {"Wide.V30", "0", 1},        {"Lines.V30", "1", 2},      {"After.V30", "0", 1},
    };
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.file);
        const ListRow* row = FindRow(rows, e.file);
        ASSERT_NE(nullptr, row);
        EXPECT_EQ(e.mark, row->mark);
        EXPECT_EQ(e.state, row->stateImage);
    }
    EXPECT_EQ("Erste Zeile", FindRow(rows, "Lines.V30")->title);
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

// The catalogue is written by another program and may hold anything.
TEST_F(CatalogueTest, MalformedRegistryDataGivesNoGarbage)
{
    ASSERT_TRUE(testenv::MakeFile(dirs.hd + "\\T.V30"));
    const std::string path = dirs.hd + "\\T.V30";
    const DWORD number = 7;
    ASSERT_TRUE(reg::SetRaw(HKEY_CURRENT_USER, CATALOGUE_PATH, "Dword.V30", REG_DWORD, &number, 4));
    ASSERT_TRUE(reg::SetRaw(HKEY_CURRENT_USER, CATALOGUE_PATH, "Binary.V30", REG_BINARY, "Titel", 5));
    ASSERT_TRUE(reg::SetRaw(HKEY_CURRENT_USER, CATALOGUE_PATH, "Unterminated.V30", REG_SZ, "OhneNullXYZ", 8));
    ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, TitleSection("OhneNull"), "Path0", path));
    AddCatalogueValue("BadPath.V30", "Pfad als Zahl");
    ASSERT_TRUE(reg::SetRaw(HKEY_CURRENT_USER, TitleSection("Pfad als Zahl"), "Path0", REG_DWORD, &number, 4));
    AddCatalogueValue("RawPath.V30", "Pfad ohne Null");
    const std::string rawPath = path + "XYZ";
    ASSERT_TRUE(reg::SetRaw(HKEY_CURRENT_USER, TitleSection("Pfad ohne Null"), "Path0", REG_SZ, rawPath.c_str(),
                            static_cast<DWORD>(path.size())));
    AddCatalogueValue("Empty.V30", "");
    // Title names of thousands of characters cannot name a section (a key
    // name has at most 255 characters), so they have no stored path.
    std::string nested;
    for (int i = 0; i < 15; ++i)
        nested += (i ? "\\" : "") + std::string(200, static_cast<char>('a' + i));
    AddCatalogueValue("Huge.V30", std::string(5000, 'h'));
    AddCatalogueValue("Nested.V30", nested);
    const std::string longTitle(200, 'l');
    AddV30Title("LongTitle.V30", longTitle, path);
    OpenDialog();

    std::vector<ListRow> rows = Rows();
    ASSERT_EQ(3u, rows.size());
    ASSERT_NE(nullptr, FindRow(rows, "Unterminated.V30"));
    EXPECT_EQ("OhneNull", FindRow(rows, "Unterminated.V30")->title);
    EXPECT_EQ("0", FindRow(rows, "Unterminated.V30")->status);
    ASSERT_NE(nullptr, FindRow(rows, "RawPath.V30"));
    EXPECT_EQ(path, FindRow(rows, "RawPath.V30")->path);
    EXPECT_EQ("0", FindRow(rows, "RawPath.V30")->status);
    ASSERT_NE(nullptr, FindRow(rows, "LongTitle.V30"));
    EXPECT_EQ(longTitle, FindRow(rows, "LongTitle.V30")->title);
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

TEST_F(CatalogueTest, ThousandsOfValues)
{
    ASSERT_TRUE(testenv::MakeFile(dirs.hd + "\\T.V30"));
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, CATALOGUE_PATH, 0, nullptr, 0, KEY_ALL_ACCESS,
                                               nullptr, &h, nullptr));
    for (int i = 0; i < 5000; ++i) {
        std::string name = "Fremd" + std::to_string(i);
        ::RegSetValueExA(h, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
    }
    ::RegCloseKey(h);
    for (int i = 0; i < 40; ++i)
        AddV30Title("T" + std::to_string(i) + ".V30", "Titel " + std::to_string(i), dirs.hd + "\\T.V30");
    OpenDialog();
    EXPECT_EQ(40u, Rows().size());
}
