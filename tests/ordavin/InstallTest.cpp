// Installation runs end to end on the fixture's CD-ROM drives (D: labelled
// "ZORVALIA1", E: unlabelled): the copies, the registration, the shortcut,
// the log and what the user is told.
#include "InstallChecks.h"

#include "../../framework/StdioFile.h"
#include "../../ordavin/catalogue/TitleCatalogue.h"
#include "../../ordavin/setup/CopyProgress.h"
#include "../../ordavin/setup/InstallLog.h"
#include "../../ordavin/setup/Shortcut.h"
#include "../../ordavin/ui/TProgrCtrl.h"
#include "../../ordavin/ui/TitleClick.h"

namespace {

const char kGroup[] = "C:\\HD\\Gruppe";
const char kTitle[] = "Titel";

// Deletes what lies below a folder, read-only files too, except keep.
void Empty(const std::string& folder, bool bRemoveFolder, const std::string& keep = "")
{
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName, path = folder + "\\" + name;
            if (name == "." || name == ".." || name == keep)
                continue;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                Empty(path, true);
            } else {
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(path.c_str());
            }
        } while (::FindNextFileA(h, &fd));
        ::FindClose(h);
    }
    if (bRemoveFolder)
        ::RemoveDirectoryA(folder.c_str());
}

std::string LogPath()
{
    char sz[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, sz, MAX_PATH);
    return InstallLogPath(sz).GetString();
}

struct RunResult {
    std::vector<gui::MessageBoxRecord> boxes;
    bool targetEnabled, barShown, launchShown, launchEnabled, hintEnabled;
    std::string status;
};

}  // namespace

class InstallTest : public CatalogueTest
{
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        if (IsSkipped())
            return;
        ::CoInitialize(nullptr);
        CleanInstall();
        ASSERT_TRUE(reg::SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quendramark\\Texorra", "StartMenu", kGroup));
    }
    void TearDown() override
    {
        CatalogueTest::TearDown();
        CleanInstall();
        g_pfnGetModuleFileName = &::GetModuleFileNameA;
    }
    void CleanInstall()
    {
        Empty(testenv::HostFolder("cd-d"), false, ".windows-label");
        Empty(testenv::HostFolder("cd-e"), false);
        for (const char* folder : {"C:\\Zorvalia", "C:\\ZTITEL", kGroup})
            Empty(folder, true);
        ::DeleteFileA(LogPath().c_str());
    }

    // Files on a CD ("D:\A\B.X"), read-only as CD files are, of size n,
    // n + 1, ...
    void PutOnCd(const std::vector<std::string>& files, unsigned nBytes = 100)
    {
        for (const std::string& file : files) {
            std::string host = testenv::HostFolder(file[0] == 'D' ? "cd-d" : "cd-e") + file.substr(2);
            ASSERT_TRUE(testenv::MakeFile(host, nBytes++)) << host;
            ::SetFileAttributesA(host.c_str(), FILE_ATTRIBUTE_READONLY);
        }
    }
    // The title as the viewer registers it from its CD.
    void Register(const std::string& file, const std::string& path)
    {
        AddCatalogueValue(file, kTitle);
        ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, TitleSection(kTitle), PathValue(file), path));
    }
    static const char* PathValue(const std::string& file) { return file.find(".V30") != std::string::npos ? "Path0" : "Path60"; }

    // Clicks the CD row (or the row of the title file pszFile), types the
    // target and presses "Installieren"; with bKeyMove the selection moves
    // to the next row by the keyboard before the press.
    RunResult Install(const char* pszTarget, const char* pszFile = nullptr, bool bKeyMove = false)
    {
        RunResult r = {};
        OpenDialog();
        std::vector<ListRow> rows = Rows();
        const ListRow* pRow = pszFile ? FindRow(rows, pszFile) : nullptr;
        gui::ClickListRow(hDlg, IDC_TITLE_LIST, pRow ? static_cast<int>(pRow - rows.data()) : g_nCdItem);
        if (bKeyMove)
            ::SendMessageA(::GetDlgItem(hDlg, IDC_TITLE_LIST), WM_KEYDOWN, g_nSelItem == 0 ? VK_DOWN : VK_UP, 0);
        gui::SetEditText(hDlg, IDC_TARGET, pszTarget);
        {
            gui::MessageBoxRecorder boxes;
            gui::SendCommand(hDlg, IDC_INSTALL);
            r.boxes = boxes.boxes;
        }
        r.targetEnabled = gui::IsEnabled(hDlg, IDC_TARGET);
        r.barShown = gui::IsVisible(hDlg, IDC_PROGRESS);
        r.launchShown = gui::IsVisible(hDlg, IDC_LAUNCH);
        r.launchEnabled = gui::IsEnabled(hDlg, IDC_LAUNCH);
        r.hintEnabled = gui::IsEnabled(hDlg, IDC_CLICK_HINT);
        rows = Rows();
        r.status = rows.size() == 1 ? rows[0].status : "?";
        CloseDialog();
        return r;
    }
    std::string Registered(const char* pszValue)
    {
        std::string value = "<none>";
        reg::GetString(HKEY_CURRENT_USER, TitleSection(kTitle), pszValue, &value);
        return value;
    }
};

TEST_F(InstallTest, EachRoadThroughARun)
{
    const struct {
        const char *name, *file, *registered;
        std::vector<std::string> cd;
        const char* target;
        std::set<std::string> copied;   // below C:\, read-only ones marked "!"
        const char *titleFile, *link, *message;
    } cases[] = {
        {"title folder, decoys left alone", "TITEL.V30", "E:\\TITEL\\TITEL.V30",
         {"E:\\TITEL\\TITEL.V30", "E:\\TITEL\\TITEL.D10", "E:\\TITEL\\A.UPC", "E:\\TITEL\\NOTE\\N.RTF",
          "E:\\TITEL\\NOTE\\N.TXT", "E:\\TITEL\\LIESMICH.TXT", "E:\\TITEL\\X.V31", "E:\\TITEL\\NOTE\\N.DOC",
          "E:\\TITEL\\SUB\\S.V30", "E:\\ANDERS\\O.V30"},
         "C:\\Zorvalia",
         {"\\Zorvalia\\TITEL\\", "\\Zorvalia\\TITEL\\TITEL.V30", "\\Zorvalia\\TITEL\\TITEL.D10",
          "\\Zorvalia\\TITEL\\A.UPC", "\\Zorvalia\\TITEL\\Note\\", "\\Zorvalia\\TITEL\\Note\\N.RTF",
          "\\Zorvalia\\TITEL\\Note\\N.TXT"},
         "C:\\Zorvalia\\TITEL\\TITEL.V30", "Titel (HD).lnk", "abgeschlossen"},
        {"V60 title without .UPC: no notes", "T.V60", "E:\\SECHZIG\\T.V60",
         {"E:\\SECHZIG\\T.V60", "E:\\SECHZIG\\NOTE\\N.RTF"}, "C:\\Zorvalia",
         {"\\Zorvalia\\SECHZIG\\", "\\Zorvalia\\SECHZIG\\T.V60"}, "C:\\Zorvalia\\SECHZIG\\T.V60", "Titel (HD).lnk",
         "abgeschlossen"},
        {"two levels", "T.V30", "E:\\A\\B\\T.V30", {"E:\\A\\B\\T.V30"}, "C:\\Zorvalia",
         {"\\Zorvalia\\A\\", "\\Zorvalia\\A\\B\\", "\\Zorvalia\\A\\B\\T.V30"}, "C:\\Zorvalia\\A\\B\\T.V30",
         "Titel (HD).lnk", "abgeschlossen"},
        {"labelled root, no NOTE folder", "T.V30", "D:\\T.V30", {"D:\\T.V30", "D:\\T.UPC"}, "C:\\Zorvalia",
         {"\\Zorvalia\\ZORVALIA1\\", "\\Zorvalia\\ZORVALIA1\\T.V30", "\\Zorvalia\\ZORVALIA1\\T.UPC",
          "\\Zorvalia\\ZORVALIA1\\Note\\"},
         "C:\\Zorvalia\\ZORVALIA1\\T.V30", "ZORVALIA1 (HD).lnk", "abgeschlossen"},
        {"unlabelled root: a folder named after the title file", "T.V30", "E:\\T.V30", {"E:\\T.V30"},
         "C:\\Zorvalia", {"\\Zorvalia\\T\\", "\\Zorvalia\\T\\T.V30"}, "C:\\Zorvalia\\T\\T.V30", "T (HD).lnk",
         "abgeschlossen"},
        {"a .UPC folder ends nothing; a short-name match is no file of the set", "T.V30", "E:\\U\\T.V30",
         {"E:\\U\\T.V30", "E:\\U\\A.UPC", "E:\\U\\X.UPC\\F", "E:\\U\\B.UPC", "E:\\U\\T.V301"}, "C:\\Zorvalia",
         {"\\Zorvalia\\U\\", "\\Zorvalia\\U\\T.V30", "\\Zorvalia\\U\\A.UPC", "\\Zorvalia\\U\\B.UPC",
          "\\Zorvalia\\U\\Note\\"},
         "C:\\Zorvalia\\U\\T.V30", "Titel (HD).lnk", "abgeschlossen"},
        {"V30 and V60 in one folder: the registered one", "T.V60", "E:\\ZWEI\\T.V60",
         {"E:\\ZWEI\\T.V30", "E:\\ZWEI\\T.V60", "E:\\ZWEI\\U.V30"}, "C:\\Zorvalia",
         {"\\Zorvalia\\ZWEI\\", "\\Zorvalia\\ZWEI\\T.V30", "\\Zorvalia\\ZWEI\\T.V60", "\\Zorvalia\\ZWEI\\U.V30"},
         "C:\\Zorvalia\\ZWEI\\T.V60", "Titel (HD).lnk", "abgeschlossen"},
        {"drive root as target", "T.V30", "E:\\ZTITEL\\T.V30", {"E:\\ZTITEL\\T.V30"}, "C:\\",
         {"\\ZTITEL\\T.V30"}, "C:\\ZTITEL\\T.V30", "Titel (HD).lnk", "abgeschlossen"},
        {"no *.??0 file", "T.V30.DAT", "E:\\LEER\\T.V30.DAT",
         {"E:\\LEER\\T.V30.DAT", "E:\\LEER\\A.UPC", "E:\\LEER\\NOTE\\N.RTF"}, "C:\\Zorvalia", {}, nullptr, nullptr,
         "Titeldatei konnte nicht"},
        // What a failed run made goes again.
        {"lower-case title file", "KLEIN.V30", "E:\\KLEIN\\KLEIN.V30", {"E:\\KLEIN\\klein.v30"}, "C:\\Zorvalia", {},
         nullptr, nullptr, "Titeldatei konnte nicht"},
        {"folder outside the target", "T.V30", "E:\\TITEL\\..\\..\\WINDOWS\\T.V30",
         {"E:\\TITEL\\T.V30", "E:\\WINDOWS\\T.V30"}, "C:\\Zorvalia", {}, nullptr, nullptr, "ist ungültig"},
        {"target ending in a backslash", "T.V30", "E:\\TITEL\\T.V30", {"E:\\TITEL\\T.V30"}, "C:\\Zorvalia\\", {},
         nullptr, nullptr, "ist ungültig"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(::CreateDirectoryA("C:\\Zorvalia", nullptr));
        PutOnCd(c.cd);
        Register(c.file, c.registered);
        RunResult r = Install(c.target);

        std::set<std::string> copied;
        testenv::ListTree("C:", "\\Zorvalia", &copied);
        testenv::ListTree("C:", "\\ZTITEL", &copied);
        EXPECT_EQ(c.copied, copied);
        ASSERT_FALSE(r.boxes.empty());
        EXPECT_NE(std::string::npos, r.boxes.back().text.find(c.message)) << r.boxes.back().text;
        EXPECT_EQ(c.titleFile ? gui::Icon::None : gui::Icon::Warning, r.boxes.back().icon);
        EXPECT_EQ(c.titleFile ? c.titleFile : c.registered, Registered(PathValue(c.file)));
        std::string nuvado = "<none>";
        reg::GetString(HKEY_CURRENT_USER, PROFILE_ROOT "\\ProjektPfad", "Nuvado", &nuvado);
        EXPECT_EQ(!c.titleFile ? "<none>" : c.target[3] ? c.target : "C:", nuvado);
        std::string link = c.link ? std::string(kGroup) + "\\" + c.link : "<none>";
        EXPECT_EQ(link, Registered("lnk"));
        EXPECT_EQ(c.link != nullptr, ::GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(c.titleFile ? "0" : "2", r.status);
        // After every run the launch button is back, disabled; the target
        // field stays open only for a correction.
        EXPECT_EQ(std::string(c.message) == "ist ungültig", r.targetEnabled);
        EXPECT_FALSE(r.barShown);
        EXPECT_TRUE(r.launchShown);
        EXPECT_FALSE(r.launchEnabled);
        EXPECT_TRUE(r.hintEnabled);
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(LogPath().c_str())) << "no log is made";
        CleanInstall();
        reg::ResetProgramKeys();
        ASSERT_TRUE(reg::SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quendramark\\Texorra", "StartMenu", kGroup));
    }
}

TEST_F(InstallTest, AFailedCopyFailsTheRunAndLeavesOnlyWhatWasThere)
{
    PutOnCd({"E:\\TITEL\\TITEL.V30", "E:\\TITEL\\X.D10", "E:\\TITEL\\A.UPC", "E:\\TITEL\\NOTE\\N.RTF",
             "E:\\TITEL\\NOTE\\N.TXT"});
    Register("TITEL.V30", "E:\\TITEL\\TITEL.V30");
    // A copy onto a file that another process holds open without sharing
    // fails (error 32); under Wine the test's own handle does the same. One
    // run per set, each with one such file that was there before the run,
    // and files replaced before the failure that were there too (they stay).
    for (std::string held : {"X.D10", "A.UPC", "Note\\N.RTF", "Note\\N.TXT"}) {
        SCOPED_TRACE(held);
        ASSERT_TRUE(testenv::MakeFile(LogPath(), 0));
        std::set<std::string> left, before = {"\\Zorvalia\\TITEL\\", "\\Zorvalia\\TITEL\\" + held,
                                              "\\Zorvalia\\TITEL\\TITEL.V30"};
        if (held.find("Note") == 0)
            before.insert("\\Zorvalia\\TITEL\\Note\\");
        if (held == "Note\\N.TXT")
            before.insert("\\Zorvalia\\TITEL\\Note\\N.RTF");
        for (const std::string& there : before) {
            if (there.back() != '\\') {
                ASSERT_TRUE(testenv::MakeFile("C:" + there, 1));
            }
        }
        std::string path = "C:\\Zorvalia\\TITEL\\" + held;
        HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        RunResult r = Install("C:\\Zorvalia");
        ::CloseHandle(h);

        testenv::ListTree("C:", "\\Zorvalia", &left);
        EXPECT_EQ(before, left);
        EXPECT_EQ(1u, Slurp(path).size());
        ASSERT_EQ(1u, r.boxes.size());
        EXPECT_EQ(gui::Icon::Warning, r.boxes[0].icon);
        EXPECT_EQ("Texorra 5.0 - Hilfsprogramm", r.boxes[0].caption);
        const std::string head = "Die Installation von                 \nTitel\nist fehlgeschlagen.\n\nDie Datei\nE:\\TITEL\\" +
                                 held + "\nkonnte nicht kopiert werden:\n";
        const std::string tail = "\n\nDer Titel bleibt weiterhin von der CD aus verf\xFCgbar.";
        const std::string& text = r.boxes[0].text;
        ASSERT_GT(text.size(), head.size() + tail.size());
        EXPECT_EQ(head, text.substr(0, head.size()));
        EXPECT_EQ(tail, text.substr(text.size() - tail.size()));
        std::string reason = text.substr(head.size(), text.size() - head.size() - tail.size());
        EXPECT_TRUE(reason.find('\n') == std::string::npos && reason != "Fehler 32") << "the system's reason: " << reason;
        EXPECT_EQ("2", r.status);
        EXPECT_EQ("E:\\TITEL\\TITEL.V30", Registered("Path0"));
        EXPECT_EQ("<none>", Registered("lnk"));
        EXPECT_FALSE(Exists(std::string(kGroup) + "\\Titel (HD).lnk"));
        std::vector<std::string> lines = LogLines(Slurp(LogPath()));
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ("Copy Failed: E:\\TITEL\\" + held + " (32)", lines[lines.size() - 2]);
        EXPECT_EQ("User Rights: Admin", lines.back());
        Empty("C:\\Zorvalia\\TITEL", true);
    }
}

TEST_F(InstallTest, LogShortcutAndASecondRun)
{
    PutOnCd({"E:\\TITEL\\TITEL.V30", "E:\\TITEL\\X.D10", "E:\\TITEL\\A.UPC", "E:\\TITEL\\NOTE\\N.RTF",
             "E:\\TITEL\\NOTE\\N.TXT"});
    Register("TITEL.V30", "E:\\TITEL\\TITEL.V30");
    ASSERT_TRUE(testenv::MakeFile(LogPath(), 0) && ::CreateDirectoryA("C:\\Zorvalia", nullptr));
    RunResult first = Install("C:\\Zorvalia");
    const std::vector<std::string> block = {
        "***  Installation Started ##/##/## ##:##  ***", "Title: Texorra 5.0 - Zorvalia Installation",
        "Made Dir: C:\\Zorvalia\\TITEL", "File Copy: C:\\Zorvalia\\TITEL\\TITEL.V30",
        "File Copy: C:\\Zorvalia\\TITEL\\X.D10", "File Copy: C:\\Zorvalia\\TITEL\\A.UPC",
        "Made Dir: C:\\Zorvalia\\TITEL\\Note", "File Copy: C:\\Zorvalia\\TITEL\\note\\N.RTF",
        "File Copy: C:\\Zorvalia\\TITEL\\note\\N.TXT", "Made Dir: C:\\HD\\Gruppe",
        "Shell Link: C:\\HD\\Gruppe\\Titel (HD).lnk", "User Rights: Admin"};
    // The first set comes in the file system's order.
    auto sorted = [](std::vector<std::string> lines) {
        if (lines.size() > 5)
            std::sort(lines.begin() + 3, lines.begin() + 5);
        return lines;
    };
    EXPECT_EQ(block, sorted(LogLines(Slurp(LogPath()))));
    ASSERT_EQ(1u, first.boxes.size());
    EXPECT_EQ("Texorra 5.0 - Hilfsprogramm", first.boxes[0].caption);
    EXPECT_EQ("Die Installation von                 \nTitel\nist abgeschlossen.\n\nSie können nun den Titel "
              "durch Mausklick \nmarkieren und über den unteren Schaltknopf:\n   >Beenden und Texorra-Titel "
              "laden<   \n starten!",
              first.boxes[0].text);

    std::string link = std::string(kGroup) + "\\Titel (HD).lnk";
    ShortcutSeen shortcut = ReadShortcut(link);
    EXPECT_EQ("C:\\Zorvalia\\TITEL\\TITEL.V30", shortcut.target);
    char szModule[MAX_PATH];
    ::GetModuleFileNameA(nullptr, szModule, MAX_PATH);
    EXPECT_STREQ(ShortcutIconPath(szModule), shortcut.icon.c_str());
    EXPECT_EQ(7, shortcut.nIcon);

    // A second run into the same place (the viewer has registered the CD
    // again) replaces the copies and the shortcut, and adds a block.
    Register("TITEL.V30", "E:\\TITEL\\TITEL.V30");
    ::SetFileAttributesA(link.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(testenv::MakeFile(link, 3));
    ASSERT_TRUE(testenv::MakeFile("C:\\Zorvalia\\TITEL\\X.D10", 1));
    Install("C:\\Zorvalia");
    EXPECT_EQ(101u, Slurp("C:\\Zorvalia\\TITEL\\X.D10").size());
    EXPECT_EQ("C:\\Zorvalia\\TITEL\\TITEL.V30", ReadShortcut(link).target);
    EXPECT_EQ(link, Registered("lnk"));
    std::vector<std::string> lines = LogLines(Slurp(LogPath()));
    ASSERT_EQ(2 * block.size(), lines.size());
    EXPECT_EQ(block, sorted(std::vector<std::string>(lines.begin() + static_cast<long>(block.size()), lines.end())));

    // A run stopped by the target check adds nothing.
    std::string before = Slurp(LogPath());
    Install("C:\\Zorvalia\\");
    EXPECT_EQ(before, Slurp(LogPath()));
}

// One run installs the title of the clicked row, from that row's CD, into a
// folder that no other registered title has.
TEST_F(InstallTest, OneRunTouchesTheOneTitleOfItsRow)
{
    const struct {
        const char* name;
        std::vector<std::string> cd;   // besides E:\TITEL\TITEL.V30 of "Titel"
        const char *otherPath, *otherFile;   // another registered title, and its file on C:
        bool bKeyMove;
        const char* message;
        std::set<std::string> tree;   // below C:\Zorvalia afterwards
    } cases[] = {
        {"the folder holds another title", {}, "C:\\Zorvalia\\TITEL\\A.V30", "C:\\Zorvalia\\TITEL\\A.V30", false,
         "Im Ordner\nC:\\Zorvalia\\TITEL\nliegt bereits der Titel\nAnderer", {"\\TITEL\\", "\\TITEL\\A.V30"}},
        {"another title was there, its file is gone", {}, "C:\\Zorvalia\\TITEL\\A.V30", nullptr, false,
         "abgeschlossen", {"\\TITEL\\", "\\TITEL\\TITEL.V30"}},
        {"the clicked one of two CDs", {"D:\\ZWEI\\Z.V30"}, "D:\\ZWEI\\Z.V30", nullptr, false, "abgeschlossen",
         {"\\TITEL\\", "\\TITEL\\TITEL.V30"}},
        {"the selection moved by the keyboard", {"D:\\ZWEI\\Z.V30"}, "D:\\ZWEI\\Z.V30", nullptr, true,
         "Keine Anwendung ausgew\xE4hlt", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(::CreateDirectoryA("C:\\Zorvalia", nullptr));
        PutOnCd(c.cd);
        PutOnCd({"E:\\TITEL\\TITEL.V30"});
        Register("TITEL.V30", "E:\\TITEL\\TITEL.V30");
        // The scan takes the CD row from the title enumerated last: Wine
        // enumerates the values by name, so Z.V30 comes after TITEL.V30.
        std::string otherFile = std::string(c.otherPath).substr(std::string(c.otherPath).rfind('\\') + 1);
        AddV30Title(otherFile, "Anderer", c.otherPath);
        if (c.otherFile) {
            ASSERT_TRUE(testenv::MakeFile(c.otherFile, 7));
        }
        RunResult r = Install("C:\\Zorvalia", "TITEL.V30", c.bKeyMove);

        std::set<std::string> tree;
        testenv::ListTree("C:\\Zorvalia", "", &tree);
        EXPECT_EQ(c.tree, tree);
        ASSERT_FALSE(r.boxes.empty());
        EXPECT_NE(std::string::npos, r.boxes.back().text.find(c.message)) << r.boxes.back().text;
        bool bInstalled = std::string(c.message) == "abgeschlossen";
        EXPECT_EQ(bInstalled ? gui::Icon::None : gui::Icon::Warning, r.boxes.back().icon);
        EXPECT_EQ(bInstalled ? "C:\\Zorvalia\\TITEL\\TITEL.V30" : "E:\\TITEL\\TITEL.V30", Registered("Path0"));
        if (c.otherFile) {
            EXPECT_EQ(7u, Slurp(c.otherFile).size());
        }
        CleanInstall();
        reg::ResetProgramKeys();
        ASSERT_TRUE(reg::SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quendramark\\Texorra", "StartMenu", kGroup));
    }
}

namespace {
// Another process makes A.UPC in the destination while the title file is
// copied; the copy of N.TXT fails and leaves its part.
BOOL WINAPI CopyWithNewcomer(LPCSTR pszFrom, LPCSTR pszTo, LPPROGRESS_ROUTINE, LPVOID, LPBOOL, DWORD dwFlags)
{
    std::string to = pszTo;
    if (to.find("TITEL.V30") != std::string::npos)
        testenv::MakeFile("C:\\Zorvalia\\TITEL\\A.UPC", 1);
    if (to.find("N.TXT") == std::string::npos)
        return ::CopyFileExA(pszFrom, pszTo, nullptr, nullptr, nullptr, dwFlags);
    testenv::MakeFile(to, 1);
    ::SetLastError(ERROR_WRITE_FAULT);
    return FALSE;
}
}  // namespace

// A file that was not there when the run looked is no file of the run: it
// is replaced like the others, and the failed run leaves it.
TEST_F(InstallTest, AFileMadeDuringTheRunCountsAsOneThatWasThere)
{
    PutOnCd({"E:\\TITEL\\TITEL.V30", "E:\\TITEL\\A.UPC", "E:\\TITEL\\NOTE\\N.TXT"});
    Register("TITEL.V30", "E:\\TITEL\\TITEL.V30");
    ASSERT_TRUE(::CreateDirectoryA("C:\\Zorvalia", nullptr));
    g_pfnCopyFileEx = &CopyWithNewcomer;
    RunResult r = Install("C:\\Zorvalia");
    g_pfnCopyFileEx = &::CopyFileExA;

    ASSERT_EQ(1u, r.boxes.size());
    EXPECT_NE(std::string::npos, r.boxes[0].text.find("E:\\TITEL\\Note\\N.TXT")) << r.boxes[0].text;
    EXPECT_EQ(101u, Slurp("C:\\Zorvalia\\TITEL\\A.UPC").size()) << "the CD's A.UPC";
    std::set<std::string> left, expected = {"\\Zorvalia\\TITEL\\", "\\Zorvalia\\TITEL\\A.UPC"};
    testenv::ListTree("C:", "\\Zorvalia", &left);
    EXPECT_EQ(expected, left);
}

namespace {
// A copy as Windows makes it: the progress routine hears of it at its start
// and at every chunk, here at half the file, twice, two display frames
// apart. The bar's caption and position are kept, and what the screen shows
// along the bar's top row: the empty bar when a copy starts (the first one
// too, right after the bar took the launch button's place), half of the
// bar while it goes on.
struct SeenCopy {
    std::string from, captionAtStart, caption;
    int nPos;
    bool bFilledAtStart, bLeftQuarterFilled, bRightQuarterFilled;
    COLORREF crCornerAtStart;
};
std::vector<SeenCopy> s_copies;
std::vector<int> s_paintedPositions;

BOOL WINAPI ReportingCopy(LPCSTR pszFrom, LPCSTR pszTo, LPPROGRESS_ROUTINE pfnProgress, LPVOID pData, LPBOOL,
                          DWORD dwFlags)
{
    std::string captionAtStart = gui::Text(m_progress.m_hWnd);
    RECT rc;
    ::GetClientRect(m_progress.m_hWnd, &rc);
    HDC hdc = ::GetDC(m_progress.m_hWnd);
    auto filled = [&](int x) { return ::GetPixel(hdc, x, 0) == m_progress.m_crBar; };
    bool bFilledAtStart = filled(0);
    COLORREF crCorner = ::GetPixel(hdc, rc.right - 1, 0);
    LARGE_INTEGER total, half;
    total.QuadPart = 200;
    half.QuadPart = 100;
    for (int nReport = 0; nReport < 2; ++nReport) {
        pfnProgress(total, half, total, half, 1, CALLBACK_CHUNK_FINISHED, nullptr, nullptr, pData);
        ::Sleep(2 * CTProgrCtrl::kFrameMs);
    }
    s_copies.push_back({pszFrom, captionAtStart, gui::Text(m_progress.m_hWnd), m_progress.m_nPos, bFilledAtStart,
                        filled(rc.right / 4), filled(rc.right * 3 / 4), crCorner});
    ::ReleaseDC(m_progress.m_hWnd, hdc);
    return ::CopyFileExA(pszFrom, pszTo, nullptr, nullptr, nullptr, dwFlags);
}

// Whether the bar's window shows nothing but the empty bar's colour, as the
// list is refilled after the copies (-1: not seen).
int s_bareBarWhileRefilling = -1;

LRESULT CALLBACK RecordBarPaints(int nCode, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* pMsg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && pMsg->message == WM_PAINT && pMsg->hwnd == m_progress.m_hWnd)
        s_paintedPositions.push_back(m_progress.m_nPos);
    if (nCode == HC_ACTION && pMsg->message == WM_SETREDRAW && !pMsg->wParam &&
        ::GetDlgCtrlID(pMsg->hwnd) == IDC_TITLE_LIST && s_copies.size() == 5 && s_bareBarWhileRefilling < 0) {
        RECT rc;
        ::GetClientRect(m_progress.m_hWnd, &rc);
        HDC hdc = ::GetDC(m_progress.m_hWnd);
        s_bareBarWhileRefilling = 1;
        for (int y = 0; y < rc.bottom; ++y)
            for (int x = 0; x < rc.right; ++x)
                if (::GetPixel(hdc, x, y) != m_progress.m_crBackground)
                    s_bareBarWhileRefilling = 0;
        ::ReleaseDC(m_progress.m_hWnd, hdc);
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}
}  // namespace

// The copy loop pumps no messages: the bar paints what stays.
TEST_F(InstallTest, TheBarShowsEachFilesProgressAndEnd)
{
    PutOnCd({"E:\\TITEL\\TITEL.V30", "E:\\TITEL\\X.D10", "E:\\TITEL\\A.UPC", "E:\\TITEL\\NOTE\\N.RTF",
             "E:\\TITEL\\NOTE\\N.TXT"});
    Register("TITEL.V30", "E:\\TITEL\\TITEL.V30");
    ASSERT_TRUE(::CreateDirectoryA("C:\\Zorvalia", nullptr));
    s_copies.clear();
    s_paintedPositions.clear();
    s_bareBarWhileRefilling = -1;
    m_progress.m_strText = "D:\\ALT\\ALT.V30";   // an earlier run's last caption
    g_pfnCopyFileEx = &ReportingCopy;
    HHOOK hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, &RecordBarPaints, nullptr, ::GetCurrentThreadId());
    RunResult r = Install("C:\\Zorvalia");
    ::UnhookWindowsHookEx(hHook);
    g_pfnCopyFileEx = &::CopyFileExA;

    EXPECT_EQ("0", r.status);
    ASSERT_EQ(5u, s_copies.size());
    EXPECT_EQ("", s_copies[0].captionAtStart) << "the run starts with the percentage";
    for (const SeenCopy& copy : s_copies) {
        EXPECT_EQ(copy.from, copy.caption) << "the bar's caption is the file being copied";
        EXPECT_EQ(50, copy.nPos) << copy.from;
        EXPECT_TRUE(copy.bLeftQuarterFilled && !copy.bRightQuarterFilled)
            << copy.from << ": the screen shows the half-done copy";
        // Each copy takes frames here, so its start is shown before it.
        EXPECT_FALSE(copy.bFilledAtStart) << copy.from << ": the previous file's end still shows";
        EXPECT_EQ(m_progress.m_crBackground, copy.crCornerAtStart) << copy.from << ": the bar is not painted yet";
    }
    EXPECT_LE(1, std::count(s_paintedPositions.begin(), s_paintedPositions.end(), 100))
        << "the bar stands at 100 at the end";
    // Refilling a long list takes seconds: the bar shows the end of the run
    // meanwhile, empty and without its text.
    EXPECT_EQ(1, s_bareBarWhileRefilling);
}

TEST_F(InstallTest, StartMenuGroupFromTheFirstReadableSource)
{
    const char kShell[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    std::string common, programs;
    bool bCommon = reg::GetString(HKEY_LOCAL_MACHINE, kShell, "Common Programs", &common);
    bool bPrograms = reg::GetString(HKEY_CURRENT_USER, kShell, "Programs", &programs);
    // A group of MAX_PATH characters or more is no group: the shortcut
    // path would be cut.
    const std::string fits = "C:\\" + std::string(234, 'a'), tooLong = fits + "a";
    const std::string fitsGroup = fits + "\\Texorra - Quendramark";
    ASSERT_EQ(MAX_PATH - 1, static_cast<int>(fitsGroup.size()));
    const struct {
        const char *startMenu, *common, *programs, *group;
    } cases[] = {
        {nullptr, fits.c_str(), "C:\\Ich", fitsGroup.c_str()},
        {nullptr, tooLong.c_str(), "C:\\Ich", ""},
        {"X:\\Eigene Gruppe", "C:\\Alle", "C:\\Ich", "X:\\Eigene Gruppe"},
        {nullptr, "C:\\Alle", "C:\\Ich", "C:\\Alle\\Texorra - Quendramark"},
        {nullptr, nullptr, "C:\\Ich", "C:\\Ich\\Texorra - Quendramark"},
        {nullptr, nullptr, nullptr, ""},
    };
    for (const auto& c : cases) {
        auto put = [](HKEY root, const char* key, const char* name, const char* value) {
            if (value)
                reg::SetString(root, key, name, value);
            else
                reg::DeleteValue(root, key, name);
        };
        put(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quendramark\\Texorra", "StartMenu", c.startMenu);
        put(HKEY_LOCAL_MACHINE, kShell, "Common Programs", c.common);
        put(HKEY_CURRENT_USER, kShell, "Programs", c.programs);
        DiscoverStartGroup();
        EXPECT_STREQ(c.group, g_szStartGroup);
        EXPECT_GT(MAX_PATH, static_cast<int>(std::strlen(g_szStartGroup)));
    }
    // Without a group no shortcut is made, and the title is installed.
    PutOnCd({"E:\\TITEL\\T.V30"});
    Register("T.V30", "E:\\TITEL\\T.V30");
    RunResult r = Install("C:\\Zorvalia");
    EXPECT_EQ("0", r.status);
    EXPECT_EQ("<none>", Registered("lnk"));
    if (bCommon)
        reg::SetString(HKEY_LOCAL_MACHINE, kShell, "Common Programs", common);
    if (bPrograms)
        reg::SetString(HKEY_CURRENT_USER, kShell, "Programs", programs);
}

// T: is a file system of 4 MB (tests/env/setup.sh).
TEST_F(InstallTest, TargetDriveFillsUp)
{
    ULARGE_INTEGER avail = {}, total = {};
    if (!::GetDiskFreeSpaceExA("T:\\", &avail, &total, nullptr) || total.QuadPart > (16u << 20))
        GTEST_SKIP() << "no small drive T: (the fixture mounts a tmpfs there where it may)";
    // The log lies on the full drive too.
    g_pfnGetModuleFileName = [](HMODULE, LPSTR psz, DWORD n) -> DWORD {
        lstrcpynA(psz, "T:\\Ordavin.exe", static_cast<int>(n));
        return 14;
    };
    // The drive has room for 1 MB: the copy that does not fit fails the
    // run, and the copies made before it go again.
    const struct {
        unsigned titleBytes;
        const char* failed;
    } cases[] = {{10000, "B.UPC"}, {2u << 20, "T.V30"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failed);
        ASSERT_TRUE(testenv::MakeFile("T:\\Install.log", 0));
        ::GetDiskFreeSpaceExA("T:\\", &avail, nullptr, nullptr);
        ASSERT_TRUE(testenv::MakeFile("T:\\filler", static_cast<unsigned>(avail.QuadPart) - (1u << 20)));
        PutOnCd({"E:\\VOLL\\T.V30"}, c.titleBytes);
        PutOnCd({"E:\\VOLL\\A.D10", "E:\\VOLL\\B.UPC", "E:\\VOLL\\NOTE\\N.RTF"}, 600000);
        Register("T.V30", "E:\\VOLL\\T.V30");
        RunResult r = Install("T:\\Ziel");

        ASSERT_FALSE(r.boxes.empty());
        EXPECT_NE(std::string::npos, r.boxes.back().text.find(std::string("E:\\VOLL\\") + c.failed + "\nkonnte nicht"))
            << r.boxes.back().text;
        EXPECT_EQ("E:\\VOLL\\T.V30", Registered("Path0"));
        EXPECT_FALSE(Exists("T:\\Ziel\\VOLL"));
        std::vector<std::string> lines = LogLines(Slurp("T:\\Install.log"));
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(0u, lines[lines.size() - 2].find(std::string("Copy Failed: E:\\VOLL\\") + c.failed + " (")) << lines[lines.size() - 2];
        CleanInstall();
        Empty("T:", false);
    }

    // A write on the full drive fails and leaves the file as it was.
    ASSERT_TRUE(testenv::MakeFile("T:\\Install.log", 5));
    for (unsigned n = 0; testenv::MakeFile("T:\\fill" + std::to_string(n), 256u << 10); ++n) {
    }
    while (testenv::MakeFile("T:\\tail" + std::to_string(avail.QuadPart++), 4096)) {
    }
    CStdioFile file;
    ASSERT_TRUE(file.Open("T:\\Install.log", CFile::modeWrite | CFile::typeText));
    EXPECT_EQ(5, file.Seek(0, CFile::end));
    EXPECT_FALSE(file.WriteString(std::string(64 << 10, 'x').append("\n").c_str()));
    file.Close();
    EXPECT_EQ(5u, Slurp("T:\\Install.log").size());
    // A log whose header cannot be written is not kept open.
    Empty("T:", false);
    ASSERT_TRUE(testenv::MakeFile("T:\\Install.log", 4096));
    for (unsigned n = 0; testenv::MakeFile("T:\\tail" + std::to_string(n), 4096); ++n) {
    }
    EXPECT_FALSE(OpenInstallLog("T:\\Install.log"));
    HANDLE hAlone = ::CreateFileA("T:\\Install.log", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, hAlone) << "the log is still held open";
    ::CloseHandle(hAlone);
    Empty("T:", false);
}
