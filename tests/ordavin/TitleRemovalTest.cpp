// Title removal: what "Entfernen" deletes and keeps, what it refuses, and
// the dropping of an unreachable title from the catalogue.
#include "RemovalFixture.h"

#include "../../ordavin/catalogue/TitleCatalogue.h"
#include "../../ordavin/ui/TProgrCtrl.h"

#include <cstdio>
#include <functional>
#include <set>

namespace {

const std::string kCaption = "Texorra 5.0 - Deinstallation";
const std::string kQuestion = "Soll die Anwendung von der Festplatte komplett entfernt werden ?";
const std::string kNothingSelected = "Keine Anwendung ausgew\xE4hlt";

BOOL WINAPI FailingSetCurrentDirectory(LPCSTR)
{
    return FALSE;
}

}  // namespace

TEST(RemovalPathsTest, FoldersPatternsAndNames)
{
    struct {
        const char *path, *folder, *parent;
        bool removable;
    } paths[] = {
        {"X:\\A\\B\\T.V30", "X:\\A\\B", "X:\\A", true},
        {"X:\\A\\T.V60", "X:\\A", "", true},   // a drive root is never removed
        {"X:\\T.V30", "X:", "", false},
        {"T.V30", "", "", false},
        {"X:\\A\\..\\B\\T.V30", "X:\\A\\..\\B", "X:\\A\\..", false},
        {"X:\\A\\\\T.V30", "X:\\A\\", "X:\\A", false},
        {"X:\\\\T.V30", "X:\\", "", false},
        {"X:\\A\\B?\\T.V30", "X:\\A\\B?", "X:\\A", false},
        {"\\\\server\\share\\T.V30", "\\\\server\\share", "\\\\server", false},
    };
    for (const auto& c : paths) {
        CString folder = TitleFolderOf(c.path);
        EXPECT_STREQ(c.folder, folder) << c.path;
        EXPECT_STREQ(c.parent, ParentFolderOf(folder)) << c.path;
        EXPECT_EQ(c.removable, IsRemovableTitlePath(c.path) != FALSE) << c.path;
    }
    EXPECT_STREQ("X:\\A\\B\\NOTE\\*.RTF", RemovalPattern("X:\\A\\B", RS_NOTES_RTF));
    EXPECT_STREQ("X:\\A\\B\\*.??0", RemovalPattern("X:\\A\\B", RS_TITLE_FILES));
    EXPECT_STREQ("X:\\A\\B\\NOTE\\a.txt", FoundFilePath("X:\\A\\B\\NOTE\\*.TXT", "a.txt"));
    // Long names only: the file system also matches "T.V301" by its short
    // name "T~1.V30".
    for (const char* name : {"T.V30", "T.D10", "a.b.v30"})
        EXPECT_TRUE(MatchesRemovalStep(name, RS_TITLE_FILES)) << name;
    for (const char* name : {"T.V31", "T.V301", "T.0", "V300"})
        EXPECT_FALSE(MatchesRemovalStep(name, RS_TITLE_FILES)) << name;
    EXPECT_TRUE(MatchesRemovalStep("B.Rtf", RS_NOTES_RTF) && !MatchesRemovalStep("a.TXT2", RS_NOTES_TXT));
    EXPECT_TRUE(IsShortcutPath("C:\\S\\T (HD).lnk") && IsShortcutPath("\\\\pc\\s\\T.LNK"));
    EXPECT_FALSE(IsShortcutPath("C:\\S\\T.V30") || IsShortcutPath("T (HD).lnk") || IsShortcutPath(""));
}

TEST_F(TitleRemovalTest, RemovesTheInstalledFilesFoldersShortcutAndValues)
{
    // X:\A\B\T.V30, with X:\A the target that holds a second title.
    InstalledTitle t = Install("B", "T.V30", "Titel Eins", {"T.V60", "T.D10", "T.UPC", "NOTE\\A.TXT", "NOTE\\B.rtf"});
    InstalledTitle other = Install("Zwei", "Zwei.V60", "Zwei");
    ASSERT_TRUE(::SetFileAttributesA((t.folder + "\\NOTE\\A.TXT").c_str(), FILE_ATTRIBUTE_READONLY));
    // Wine keeps no read-only attribute on folders; Windows does.
    ::SetFileAttributesA(t.folder.c_str(), FILE_ATTRIBUTE_READONLY);
    OpenDialog();
    char szBefore[MAX_PATH] = "", szAfter[MAX_PATH] = "";
    ::GetCurrentDirectoryA(sizeof(szBefore), szBefore);

    std::vector<gui::MessageBoxRecord> boxes = Remove("T.V30", {IDYES, IDOK});
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(kCaption, boxes[0].caption);
    EXPECT_EQ(kQuestion, boxes[0].text);
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), boxes[0].buttons);
    EXPECT_EQ("Texorra 5.0 - Hilfsprogramm", boxes[1].caption);
    EXPECT_EQ("Die De-Installation von     \nTitel Eins\nist abgeschlossen", boxes[1].text);
    for (const char* name : {"T.V30", "T.V60", "T.D10", "T.UPC", "NOTE\\A.TXT", "NOTE\\B.rtf", "NOTE", ""})
        EXPECT_FALSE(Exists(t.folder + "\\" + name)) << name;
    EXPECT_FALSE(Exists(t.shortcut));
    EXPECT_TRUE(Exists(other.Path()) && Exists(other.shortcut) && Exists(target));
    ::GetCurrentDirectoryA(sizeof(szAfter), szAfter);
    EXPECT_STREQ(szBefore, szAfter);
    // Blanked, not deleted; the registration stays and lists the title missing.
    EXPECT_EQ("", ProfileValue("Titel Eins\\Ifo", "lnk"));
    EXPECT_EQ("", ProfileValue("Titel Eins", "lnk"));
    EXPECT_EQ("", ProfileValue("ProjektPfad", "Nuvado"));
    EXPECT_EQ(other.shortcut, ProfileValue("Zwei\\Ifo", "lnk"));
    ASSERT_GE(RowOf("T.V30"), 0);
    EXPECT_EQ("1", Rows()[RowOf("T.V30")].status);
    EXPECT_TRUE(m_progress.m_nMax == 6 && m_progress.m_nPos == 0);
    EXPECT_TRUE(gui::IsVisible(hDlg, IDC_LAUNCH) && !gui::IsVisible(hDlg, IDC_PROGRESS));

    // At once again: no row has the focus.
    {
        gui::MessageBoxRecorder again;
        gui::SendCommand(hDlg, IDC_REMOVE);
        EXPECT_EQ(kNothingSelected, again.boxes.at(0).text);
    }
    // The last title of the target: X:\A goes too.
    boxes = Remove("Zwei.V60", {IDYES, IDOK});
    EXPECT_EQ("Die De-Installation von     \nZwei\nist abgeschlossen", boxes.at(1).text);
    EXPECT_FALSE(Exists(target));
}

TEST_F(TitleRemovalTest, KeepsUnmatchedAndHeldFilesAndAllOutsideTheTitleFolder)
{
    // Same-named files in a current directory that cannot be left.
    std::string elsewhere = root + "\\Anderswo";
    for (const char* name : {"T.V30", "A.TXT", "T.UPC"})
        ASSERT_TRUE(testenv::MakeFile(elsewhere + "\\" + name));
    ASSERT_TRUE(::SetCurrentDirectoryA(elsewhere.c_str()));
    g_pfnSetCurrentDirectory = &FailingSetCurrentDirectory;
    InstalledTitle t = Install("B", "T.V30", "T", {"T.V60", "T.UPC", "T.LOG", "T.V31", "T.V301", "NOTE\\A.TXT",
                                                   "NOTE\\B.TXT", "NOTE\\C.TXT", "NOTE\\A.DOC"});
    // Held open without sharing: stays, and no message says so.
    HANDLE hHeld = ::CreateFileA((t.folder + "\\NOTE\\B.TXT").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);
    OpenDialog();
    EXPECT_EQ(2u, Remove("T.V30", {IDYES, IDOK}).size());
    ::CloseHandle(hHeld);
    for (const char* name : {"T.V30", "A.TXT", "T.UPC"})
        EXPECT_TRUE(Exists(elsewhere + "\\" + name)) << name;
    for (const char* name : {"NOTE\\B.TXT", "T.LOG", "T.V31", "T.V301", "NOTE\\A.DOC"})
        EXPECT_TRUE(Exists(t.folder + "\\" + name)) << name;
    for (const char* name : {"T.V30", "T.V60", "T.UPC", "NOTE\\A.TXT", "NOTE\\C.TXT"})
        EXPECT_FALSE(Exists(t.folder + "\\" + name)) << name;
}

TEST_F(TitleRemovalTest, RefusesWhatIsNoInstalledTitle)
{
    InstalledTitle t = Install("B", "T.V30", "T", {"NOTE\\A.TXT"});
    ASSERT_TRUE(testenv::MakeFile(dirs.cdDHost + "\\OnCd.V30") && testenv::MakeFile(dirs.shareHost + "\\Net.V30"));
    AddV30Title("OnCd.V30", "Auf CD", dirs.cdD + "\\OnCd.V30");
    AddV30Title("NoCd.V30", "CD fehlt", "E:\\Titel\\NoCd.V30");
    AddV30Title("Net.V30", "Netz", dirs.share + "\\Net.V30");
    AddV30Title("NetGone.V30", "Netz fehlt", dirs.share + "\\NetGone.V30");
    // Found on the hard disk, yet without a sound title folder.
    AddV30Title("Dots.V30", "Punkte", target + "\\C\\..\\C\\Dots.V30");
    ASSERT_TRUE(testenv::MakeFile(target + "\\C\\Dots.V30"));
    AddV30Title("Rel.V30", "Relativ", "Rel.V30");
    ASSERT_TRUE(testenv::MakeFile(root + "\\Rel.V30") && ::SetCurrentDirectoryA(root.c_str()));
    OpenDialog();

    // File (none: no row), status, answers: No to dropping "NetGone.V30",
    // No to the question for "T.V30".
    for (const auto& c : std::vector<std::tuple<std::string, std::string, std::vector<int>>>{
             {"", "", {}}, {"OnCd.V30", "2", {}}, {"NoCd.V30", "3", {}}, {"Net.V30", "4", {}},
             {"NetGone.V30", "5", {IDNO, IDOK}}, {"Dots.V30", "0", {}}, {"Rel.V30", "0", {}}, {"T.V30", "0", {IDNO}}}) {
        SCOPED_TRACE(std::get<0>(c));
        int nRow = RowOf(std::get<0>(c));
        EXPECT_EQ(std::get<1>(c), nRow >= 0 ? Rows()[nRow].status : "");
        std::vector<gui::MessageBoxRecord> boxes = Remove(std::get<0>(c), std::get<2>(c));
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(kCaption, boxes.back().caption);
        EXPECT_EQ(std::get<0>(c) == "T.V30" ? kQuestion : kNothingSelected, boxes.back().text);
        EXPECT_TRUE(Exists(t.Path()) && Exists(t.folder + "\\NOTE\\A.TXT") && Exists(t.shortcut));
        EXPECT_EQ(t.shortcut, ProfileValue("T\\Ifo", "lnk"));
        EXPECT_EQ(target, ProfileValue("ProjektPfad", "Nuvado"));
    }
}

TEST_F(TitleRemovalTest, AnUnreachableTitleIsDroppedFromTheCatalogueOnYes)
{
    Install("B", "T.V30", "T");
    AddV30Title("NetGone.V30", "Netz fehlt", dirs.share + "\\NetGone.V30");
    AddV30Title("Other.V30", "Anderer", root + "\\Other.V30");
    OpenDialog();
    Remove("T.V30", {IDYES, IDOK});
    for (const char* file : {"T.V30", "NetGone.V30"}) {
        std::string title = ProfileValue("V30", file);
        for (int answer : {IDNO, IDYES}) {
            SCOPED_TRACE(std::string(file) + (answer == IDYES ? " IDYES" : " IDNO"));
            gui::MessageBoxRecorder boxes({answer});
            gui::ClickListRow(hDlg, IDC_TITLE_LIST, RowOf(file));
            ASSERT_EQ(1u, boxes.boxes.size());
            EXPECT_EQ(kCaption, boxes.boxes[0].caption);
            EXPECT_EQ((std::vector<int>{IDYES, IDNO}), boxes.boxes[0].buttons);
            EXPECT_EQ("Diese Anwendung ist derzeitig nicht mehr verf\xFCgbar und bedarf\nzun\xE4"
                      "chst der Neuinstallation von dem Original-CD-Setup!\nSoll dieser Titel aus der Liste entfernt werden?",
                      boxes.boxes[0].text);
            EXPECT_EQ(answer == IDNO, RowOf(file) >= 0);
            EXPECT_EQ(answer == IDNO ? title : "<absent>", ProfileValue("V30", file));
            EXPECT_FALSE(gui::IsEnabled(hDlg, IDC_CLICK_HINT) || gui::IsEnabled(hDlg, IDC_LAUNCH));
            EXPECT_TRUE(gui::IsVisible(hDlg, IDC_LAUNCH) && !gui::IsVisible(hDlg, IDC_PROGRESS));
        }
        EXPECT_TRUE(reg::KeyExists(HKEY_CURRENT_USER, TitleSection(title)));
        EXPECT_EQ("CD-Lfw.:--", gui::ControlText(hDlg, IDC_CD_DOOR));
    }
    EXPECT_EQ("Anderer", ProfileValue("V30", "Other.V30"));
}

TEST_F(TitleRemovalTest, AnInstalledAndRemovedTitleLeavesOnlyItsBlankedValues)
{
    // The title on the CD in D:, read-only as CD files are; the target and
    // the Start-menu group hold files of their own.
    for (const char* name : {"T.V30", "T.D10", "T.UPC", "NOTE\\N.RTF", "NOTE\\N.TXT"}) {
        ASSERT_TRUE(testenv::MakeFile(dirs.cdDHost + "\\" + name));
        ::SetFileAttributesA((dirs.cdDHost + "\\" + name).c_str(), FILE_ATTRIBUTE_READONLY);
    }
    ASSERT_TRUE(testenv::MakeFile(target + "\\Eigenes.txt") && testenv::MakeFile(startMenu + "\\Texorra.lnk"));
    ASSERT_TRUE(reg::SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quendramark\\Texorra", "StartMenu", startMenu));
    AddV30Title("T.V30", "Titel", dirs.cdD + "\\T.V30");
    OpenDialog();
    auto files = [&] {
        std::set<std::string> tree;
        testenv::ListTree(root, "", &tree);
        return tree;
    };
    std::set<std::string> filesBefore = files();
    std::map<std::string, std::string> registry = reg::ReadTree(HKEY_CURRENT_USER, PROFILE_ROOT);

    gui::ClickListRow(hDlg, IDC_TITLE_LIST, g_nCdItem);
    gui::SetEditText(hDlg, IDC_TARGET, target.c_str());
    {
        gui::MessageBoxRecorder boxes;
        gui::SendCommand(hDlg, IDC_INSTALL);
    }
    ASSERT_TRUE(Exists(target + "\\cat\\Note\\N.TXT") && Exists(startMenu + "\\Titel (HD).lnk"));
    EXPECT_EQ(2u, Remove("T.V30", {IDYES, IDOK}).size());

    EXPECT_EQ(filesBefore, files());
    registry["Titel\\Ifo\\Path0"] = target + "\\cat\\T.V30";
    registry["Titel\\Ifo\\lnk"] = registry["Titel\\lnk"] = registry["ProjektPfad\\Nuvado"] = "";
    registry["ProjektPfad\\"] = "<key>";
    EXPECT_EQ(registry, reg::ReadTree(HKEY_CURRENT_USER, PROFILE_ROOT));
}

// Removal touches the one title of the clicked row and nothing else: no
// file that another registration or the user owns, nothing through a link,
// no shortcut outside the Start-menu group. Each case: what the title is,
// then "Entfernen" answered IDYES.
TEST_F(TitleRemovalTest, DeletesOnlyTheTitlesOwnFiles)
{
    const std::string links = testenv::HostFolder("links");
    const bool bLinks = ::GetFileAttributesA((links + "\\Verweis").c_str()) == 0x410;
    const std::string refused = "ist nicht m\xF6glich.\n\n", done = "ist abgeschlossen";
    struct Case {
        const char* name;
        std::function<void()> place;   // the title "T" with T.V30, and the rest
        std::string message;                            // in the last box
        std::vector<std::string> stay, gone;
        bool needsLinks = false, keyMove = false;
    };
    const std::string b = target + "\\B";
    const std::vector<Case> cases = {
        {"path names another file",
         [&] {
             Install("B", "T.V30", "T", {"A.UPC"});
             ASSERT_TRUE(testenv::MakeFile(b + "\\Brief.doc"));
             ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, TitleSection("T"), "Path0", b + "\\Brief.doc"));
         },
         refused + "Der eingetragene Pfad\n" + b + "\\Brief.doc\nbezeichnet nicht die Titeldatei T.V30.",
         {b + "\\Brief.doc", b + "\\T.V30", b + "\\A.UPC", startMenu + "\\T (HD).lnk"}, {}},
        {"two titles in one folder",
         [&] {
             Install("B", "T.V30", "T", {"NOTE\\A.TXT"});
             Install("B", "U.V30", "Unter Anderem");
         },
         refused + "Im Ordner\n" + b + "\nliegt auch der Titel\nUnter Anderem",
         {b + "\\T.V30", b + "\\U.V30", b + "\\NOTE\\A.TXT", startMenu + "\\T (HD).lnk"}, {}},
        {"selection moved by the keyboard",
         [&] {
             Install("B", "T.V30", "T");
             Install("C", "U.V30", "U");
         },
         "Keine Anwendung ausgew\xE4hlt", {b + "\\T.V30", target + "\\C\\U.V30"}, {}, false, true},
        {"shortcut named outside the group",
         [&] {
             Install("B", "T.V30", "T");
             ASSERT_TRUE(testenv::MakeFile(root + "\\Desktop\\Wichtig.lnk"));
             reg::SetString(HKEY_CURRENT_USER, TitleSection("T"), "lnk", root + "\\Desktop\\Wichtig.lnk");
         },
         done, {root + "\\Desktop\\Wichtig.lnk", startMenu + "\\T (HD).lnk"}, {b + "\\T.V30"}},
        {"no shortcut named in the group",
         [&] {
             Install("B", "T.V30", "T");
             ASSERT_TRUE(testenv::MakeFile(startMenu + "\\Notiz.txt"));
             reg::SetString(HKEY_CURRENT_USER, TitleSection("T"), "lnk", startMenu + "\\Notiz.txt");
         },
         done, {startMenu + "\\Notiz.txt"}, {b + "\\T.V30"}},
        {"title folder is a link",
         [&] {
             ASSERT_TRUE(testenv::MakeFile(links + "\\Ziel\\T.V30") && testenv::MakeFile(links + "\\Ziel\\A.UPC"));
             AddV30Title("T.V30", "T", links + "\\Verweis\\T.V30");
         },
         refused + "Der Ordner\n" + links + "\\Verweis\nverweist auf einen anderen Ort.",
         {links + "\\Ziel\\T.V30", links + "\\Ziel\\A.UPC"}, {}, true},
        {"notes folder is a link",
         [&] {
             for (const char* name : {"Titel\\T.V30", "Titel\\A.UPC", "Eigene\\Brief.TXT", "Eigene\\Brief.RTF"})
                 ASSERT_TRUE(testenv::MakeFile(links + "\\" + name));
             AddV30Title("T.V30", "T", links + "\\Titel\\T.V30");
         },
         done, {links + "\\Eigene\\Brief.TXT", links + "\\Eigene\\Brief.RTF", links + "\\Titel\\NOTE"},
         {links + "\\Titel\\T.V30", links + "\\Titel\\A.UPC"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsLinks && !bLinks) {
            std::printf("SKIPPED case \"%s\": the fixture's links (tests/env/setup.sh) are missing\n", c.name);
            continue;
        }
        c.place();
        OpenDialog();
        std::vector<gui::MessageBoxRecord> boxes;
        {
            gui::MessageBoxRecorder recorder({IDYES, IDOK});
            int nRow = RowOf("T.V30");
            gui::ClickListRow(hDlg, IDC_TITLE_LIST, nRow);
            if (c.keyMove)
                ::SendMessageA(::GetDlgItem(hDlg, IDC_TITLE_LIST), WM_KEYDOWN, nRow == 0 ? VK_DOWN : VK_UP, 0);
            gui::SendCommand(hDlg, IDC_REMOVE);
            boxes = recorder.boxes;
        }
        ASSERT_FALSE(boxes.empty());
        EXPECT_NE(std::string::npos, boxes.back().text.find(c.message)) << boxes.back().text;
        EXPECT_EQ(c.message.find(refused) == 0 ? gui::Icon::Warning : gui::Icon::None, boxes.back().icon);
        for (const std::string& path : c.stay)
            EXPECT_TRUE(Exists(path)) << path;
        for (const std::string& path : c.gone)
            EXPECT_FALSE(Exists(path)) << path;
        CloseDialog();
        testenv::RemoveTree(root);
        for (const char* name : {"Titel\\T.V30", "Titel\\A.UPC", "Eigene\\Brief.TXT", "Eigene\\Brief.RTF",
                                 "Ziel\\T.V30", "Ziel\\A.UPC"})
            ::DeleteFileA((links + "\\" + name).c_str());
        reg::ResetProgramKeys();
        reg::SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quendramark\\Texorra", "StartMenu", startMenu);
    }
}
