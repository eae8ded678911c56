// Random catalogues, built from known kinds of values, against the scan's
// invariants: which values become rows, in which order and status, with
// which marks, and which row is the CD row.
#include "CatalogueFixture.h"

#include "../../ordavin/catalogue/TitleCatalogue.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>

namespace {

struct NameKind {
    const char* ext;       // appended to the name
    int length;            // whole name padded to this length; 0: unpadded
    bool accepted;
    const char* entry;     // where the viewer keeps the path
    const char* decoy;     // the other entry, which must not be read
};
const NameKind kNames[] = {
    {".V30", 0, true, "Path0", "Path60"},       {".V60", 0, true, "Path60", "Path0"},
    {".V30.V60", 0, true, "Path0", "Path60"},   {".v30", 0, false, "Path0", "Path60"},
    {".DAT", 0, false, "Path0", "Path60"},      {".V30", 127, true, "Path0", "Path60"},
    {".V30", 128, false, "Path0", "Path60"},
};

enum DataKind { D_TEXT, D_LINES, D_UNTERMINATED, D_DWORD, D_BINARY, D_EMPTY, D_COUNT };

struct PathKind {
    int where;             // 0 hard disk, 1 D:, 2 E:, 3 share, -1 no usable path
    const char* file;      // below the folder; null: no path
    const char* status;
    int image;
};
const PathKind kPaths[] = {
    {0, "P.V30", "0", 0},  {0, "gone.V30", "1", 1}, {1, "P.V30", "2", 2}, {1, "gone.V30", "3", 1},
    {2, "P.V30", "3", 1},  {3, "P.V30", "4", 3},    {3, "gone.V30", "5", 4},
    {0, "LONG", "1", 1},   {-1, nullptr, nullptr, 0},   // no path stored
    {-2, nullptr, nullptr, 0},                           // path as REG_DWORD
};

struct MarkKind {
    int kind;              // 0 absent, 1 DWORD, 2 string "1", 3 eight bytes
    DWORD value;
    const char* text;
    UINT state;
};
const MarkKind kMarks[] = {
    {0, 0, "0", 1},   {1, 0, "0", 1},   {1, 1, "1", 2},          {1, 2, "2", 3},  {1, 14, "14", 15},
    {1, 15, "15", 0}, {1, 0xFFFFFFFF, "4294967295", 0}, {2, 0, "49", 0}, {3, 0, "0", 1},
};

struct Expected {
    std::string title, path, status, mark;
    int image;
    UINT state;
};

template <class T, size_t N>
const T& Pick(std::mt19937& rng, const T (&items)[N])
{
    return items[std::uniform_int_distribution<size_t>(0, N - 1)(rng)];
}

}  // namespace

TEST_F(CatalogueTest, RandomCataloguesKeepTheScanInvariants)
{
    const std::string folders[] = {dirs.hd, dirs.cdD, dirs.cdE, dirs.share};
    ASSERT_TRUE(testenv::MakeFile(dirs.hd + "\\P.V30"));
    ASSERT_TRUE(testenv::MakeFile(dirs.hd + "\\Decoy.V30"));
    ASSERT_TRUE(testenv::MakeFile(dirs.cdDHost + "\\P.V30"));
    ASSERT_TRUE(testenv::MakeFile(dirs.shareHost + "\\P.V30"));

    unsigned seed = 20261207;
    if (const char* env = std::getenv("ZORVALIA_SEED"))
        seed = static_cast<unsigned>(std::strtoul(env, nullptr, 10));
    std::printf("catalogue seed %u (set ZORVALIA_SEED to repeat another)\n", seed);
    std::mt19937 rng(seed);
    OpenDialog();

    // Kinds of names, data, paths and marks that made a row somewhere.
    std::set<int> listed;
    const int kCatalogues = 300;
    for (int n = 0; n < kCatalogues; ++n) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", catalogue " + std::to_string(n));
        reg::ResetProgramKeys();
        ASSERT_TRUE(reg::CreateKey(HKEY_CURRENT_USER, CATALOGUE_PATH));
        std::map<std::string, Expected> expected;   // by value name
        int nValues = std::uniform_int_distribution<int>(0, 9)(rng);
        for (int k = 0; k < nValues; ++k) {
            const NameKind& name = Pick(rng, kNames);
            std::string file = "F" + std::to_string(k) + "_";
            if (name.length)
                file.append(static_cast<size_t>(name.length) - file.size() - strlen(name.ext), 'p');
            file += name.ext;
            const std::string title = "Titel " + std::to_string(n) + "-" + std::to_string(k);
            const int data = std::uniform_int_distribution<int>(0, D_COUNT - 1)(rng);
            const DWORD number = 5;
            std::string shown = title;
            switch (data) {
            case D_TEXT: AddCatalogueValue(file, title); break;
            case D_LINES: AddCatalogueValue(file, title + "\nZeile 2"); break;
            case D_UNTERMINATED: {
                const std::string raw = title + "XYZ";
                ASSERT_TRUE(reg::SetRaw(HKEY_CURRENT_USER, CATALOGUE_PATH, file.c_str(), REG_SZ, raw.c_str(),
                                        static_cast<DWORD>(title.size())));
                break;
            }
            case D_DWORD:
                ASSERT_TRUE(reg::SetRaw(HKEY_CURRENT_USER, CATALOGUE_PATH, file.c_str(), REG_DWORD, &number, 4));
                break;
            case D_BINARY:
                ASSERT_TRUE(reg::SetRaw(HKEY_CURRENT_USER, CATALOGUE_PATH, file.c_str(), REG_BINARY, title.c_str(),
                                        static_cast<DWORD>(title.size() + 1)));
                break;
            default: AddCatalogueValue(file, ""); break;
            }
            // The title's section; the one a line break in the data names too.
            const std::string section = TitleSection(data == D_LINES ? title + "\nZeile 2" : title);
            const PathKind& path = Pick(rng, kPaths);
            std::string strPath;
            if (path.file) {
                strPath = folders[path.where] + "\\" +
                          (std::string(path.file) == "LONG" ? std::string(300, 'L') + ".V30" : path.file);
                ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, section, name.entry, strPath));
            } else if (path.where == -2) {
                ASSERT_TRUE(reg::SetRaw(HKEY_CURRENT_USER, section, name.entry, REG_DWORD, &number, 4));
            }
            if (rng() % 2) {
                ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, section, name.decoy, dirs.hd + "\\Decoy.V30"));
            }
            const MarkKind& mark = Pick(rng, kMarks);
            const unsigned long long wide = 1;
            switch (mark.kind) {
            case 1: ASSERT_TRUE(reg::SetDword(HKEY_CURRENT_USER, section, "iSel", mark.value)); break;
            case 2: ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, section, "iSel", "1")); break;
            case 3: ASSERT_TRUE(reg::SetRaw(HKEY_CURRENT_USER, section, "iSel", REG_QWORD, &wide, 8)); break;
            default: break;
            }
            const bool bReadable = data == D_TEXT || data == D_LINES || data == D_UNTERMINATED;
            if (name.accepted && bReadable && path.file) {
                expected[file] = {shown, strPath, path.status, mark.text, path.image, mark.state};
                listed.insert({static_cast<int>(&name - kNames), 100 + data, 200 + static_cast<int>(&path - kPaths),
                               300 + static_cast<int>(&mark - kMarks)});
            }
        }

        dlg->RefreshTitleList();
        const std::vector<ListRow> rows = Rows();
        // Rows in enumeration order, exactly the expected values.
        std::vector<std::string> order;
        for (const std::string& name : EnumeratedNames())
            if (expected.count(name))
                order.push_back(name);
        ASSERT_EQ(order.size(), rows.size());
        int nCdRow = -1;
        for (size_t i = 0; i < rows.size(); ++i) {
            ASSERT_EQ(order[i], rows[i].file);
            const Expected& e = expected[order[i]];
            EXPECT_EQ(e.title, rows[i].title);
            EXPECT_EQ(e.path, rows[i].path);
            EXPECT_EQ(e.status, rows[i].status);
            EXPECT_EQ(e.image, rows[i].image);
            EXPECT_EQ(e.mark, rows[i].mark);
            EXPECT_EQ(e.state, rows[i].stateImage);
            if (e.status == "2")
                nCdRow = static_cast<int>(i);
        }
        EXPECT_EQ(nCdRow, g_nCdItem);
        for (size_t i = 0; i < rows.size(); ++i)
            EXPECT_EQ(static_cast<int>(i) == nCdRow, rows[i].selected) << i;
        EXPECT_EQ(nCdRow < 0 ? "n.V." : "D:", gui::ControlText(hDlg, IDC_CD_DRIVE));
        if (HasFailure())
            break;
    }
    // 4 accepted names, 3 readable data, 8 paths, 9 marks.
    EXPECT_EQ(24u, listed.size());
}
