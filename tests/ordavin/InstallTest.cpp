// Installation runs end to end on the fixture's CD-ROM drives (D: labelled
// "ZORVALIA1", E: unlabelled): the copies, the registration, the shortcut,
// the log and what the user is told.
#include "InstallChecks.h"

#include "../../framework/StdioFile.h"
#include "../../ordavin/catalogue/TitleCatalogue.h"
#include "../../ordavin/setup/InstallLog.h"
#include "../../ordavin/setup/Shortcut.h"

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

    // Clicks the CD row, types the target and presses "Installieren".
    RunResult Install(const char* pszTarget)
    {
        RunResult r = {};
        OpenDialog();
        gui::ClickListRow(hDlg, IDC_TITLE_LIST, g_nCdItem);
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
        std::vector<ListRow> rows = Rows();
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
        {"unlabelled root", "T.V30", "E:\\T.V30", {"E:\\T.V30"}, "C:\\Zorvalia", {"\\Zorvalia\\T.V30"},
         "C:\\Zorvalia\\T.V30", " (HD).lnk", "abgeschlossen"},
        {"drive root as target", "T.V30", "E:\\ZTITEL\\T.V30", {"E:\\ZTITEL\\T.V30"}, "C:\\",
         {"\\ZTITEL\\T.V30"}, "C:\\ZTITEL\\T.V30", "Titel (HD).lnk", "abgeschlossen"},
        {"no *.??0 file", "T.V30.DAT", "E:\\LEER\\T.V30.DAT",
         {"E:\\LEER\\T.V30.DAT", "E:\\LEER\\A.UPC", "E:\\LEER\\NOTE\\N.RTF"}, "C:\\Zorvalia", {"\\Zorvalia\\LEER\\"},
         nullptr, nullptr, "fehlgeschlagen"},
        {"lower-case title file", "KLEIN.V30", "E:\\KLEIN\\KLEIN.V30", {"E:\\KLEIN\\klein.v30"}, "C:\\Zorvalia",
         {"\\Zorvalia\\KLEIN\\", "\\Zorvalia\\KLEIN\\klein.v30"}, nullptr, nullptr, "fehlgeschlagen"},
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
        EXPECT_EQ(!c.titleFile && c.copied.empty(), r.targetEnabled);
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

TEST_F(InstallTest, LogShortcutAndFailedCopies)
{
    PutOnCd({"E:\\TITEL\\TITEL.V30", "E:\\TITEL\\X.D10", "E:\\TITEL\\A.UPC", "E:\\TITEL\\NOTE\\N.RTF",
             "E:\\TITEL\\NOTE\\N.TXT"});
    Register("TITEL.V30", "E:\\TITEL\\TITEL.V30");
    ASSERT_TRUE(testenv::MakeFile(LogPath(), 0));
    // Copies onto files that another process holds open without sharing
    // fail: here the test's own handles do the same under Wine.
    std::vector<HANDLE> held;
    for (const char* file : {"X.D10", "A.UPC", "Note\\N.RTF"}) {
        std::string path = std::string("C:\\Zorvalia\\TITEL\\") + file;
        ASSERT_TRUE(testenv::MakeFile(path, 1));
        held.push_back(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    }
    RunResult first = Install("C:\\Zorvalia");
    for (HANDLE h : held)
        ::CloseHandle(h);

    // A failed copy is skipped in the first set, ends the ".UPC" files (the
    // notes still follow) and ends all copying among the notes.
    std::set<std::string> copied;
    testenv::ListTree("C:", "\\Zorvalia", &copied);
    EXPECT_EQ(std::set<std::string>({"\\TITEL\\", "\\TITEL\\TITEL.V30", "\\TITEL\\X.D10", "\\TITEL\\A.UPC",
                                     "\\TITEL\\Note\\", "\\TITEL\\Note\\N.RTF"}),
              [&] { std::set<std::string> s; for (auto& p : copied) s.insert(p.substr(9)); return s; }());
    EXPECT_EQ(1u, Slurp("C:\\Zorvalia\\TITEL\\X.D10").size());
    const std::vector<std::string> block1 = {
        "***  Installation Started ##/##/## ##:##  ***", "Title: Texorra 5.0 - Zorvalia Installation",
        "Made Dir: C:\\Zorvalia\\TITEL", "File Copy: C:\\Zorvalia\\TITEL\\TITEL.V30",
        "Made Dir: C:\\Zorvalia\\TITEL\\Note", "Made Dir: C:\\HD\\Gruppe",
        "Shell Link: C:\\HD\\Gruppe\\Titel (HD).lnk", "User Rights: Admin"};
    EXPECT_EQ(block1, LogLines(Slurp(LogPath())));
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
    ASSERT_EQ(block1.size() + 12, lines.size());
    std::vector<std::string> block2(lines.begin() + static_cast<long>(block1.size()), lines.end());
    std::sort(block2.begin() + 3, block2.begin() + 5);   // the first set comes in the file system's order
    EXPECT_EQ(std::vector<std::string>({block1[0], block1[1], block1[2], "File Copy: C:\\Zorvalia\\TITEL\\TITEL.V30",
                                        "File Copy: C:\\Zorvalia\\TITEL\\X.D10", "File Copy: C:\\Zorvalia\\TITEL\\A.UPC",
                                        block1[4], "File Copy: C:\\Zorvalia\\TITEL\\note\\N.RTF",
                                        "File Copy: C:\\Zorvalia\\TITEL\\note\\N.TXT", block1[5], block1[6], block1[7]}),
              block2);

    // A run stopped by the target check adds nothing.
    std::string before = Slurp(LogPath());
    Install("C:\\Zorvalia\\");
    EXPECT_EQ(before, Slurp(LogPath()));
}

TEST_F(InstallTest, StartMenuGroupFromTheFirstReadableSource)
{
    const char kShell[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    std::string common, programs;
    bool bCommon = reg::GetString(HKEY_LOCAL_MACHINE, kShell, "Common Programs", &common);
    bool bPrograms = reg::GetString(HKEY_CURRENT_USER, kShell, "Programs", &programs);
    const struct {
        const char *startMenu, *common, *programs, *group;
    } cases[] = {
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
    const struct {
        unsigned titleBytes;
        bool installed;
    } cases[] = {{10000, true}, {2u << 20, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.installed ? "title file fits" : "title file does not fit");
        ASSERT_TRUE(testenv::MakeFile("T:\\Install.log", 0));
        ::GetDiskFreeSpaceExA("T:\\", &avail, nullptr, nullptr);
        ASSERT_TRUE(testenv::MakeFile("T:\\filler", static_cast<unsigned>(avail.QuadPart) - (1u << 20)));
        // Wine leaves a failed copy's part behind, which fills the drive:
        // the ".UPC" file is the first that cannot fit.
        PutOnCd({"E:\\VOLL\\T.V30"}, c.titleBytes);
        PutOnCd({"E:\\VOLL\\A.D10", "E:\\VOLL\\B.UPC", "E:\\VOLL\\NOTE\\N.RTF"}, 600000);
        Register("T.V30", "E:\\VOLL\\T.V30");
        RunResult r = Install("T:\\Ziel");

        EXPECT_NE(std::string::npos, r.boxes.back().text.find(c.installed ? "abgeschlossen" : "fehlgeschlagen"));
        EXPECT_EQ(c.installed ? "T:\\Ziel\\VOLL\\T.V30" : "E:\\VOLL\\T.V30", Registered("Path0"));
        // Each copy the log names is there whole; the log has whole lines.
        for (const std::string& line : LogLines(Slurp("T:\\Install.log"))) {
            if (line.compare(0, 11, "File Copy: ") == 0) {
                std::string name = line.substr(line.rfind('\\'));
                EXPECT_EQ(Slurp(testenv::HostFolder("cd-e") + "\\VOLL" + name).size(), Slurp(line.substr(11)).size())
                    << line;
            }
        }
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
    Empty("T:", false);
}
