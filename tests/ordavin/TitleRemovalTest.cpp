// Title removal: what "Entfernen" deletes and keeps, what it refuses, and
// the dropping of an unreachable title from the catalogue.
#include "RemovalFixture.h"

#include "../../ordavin/ui/TProgrCtrl.h"
#include "../../ordavin/ui/TitleClick.h"

namespace {

const char kCaption[] = "Deinstallation";
const std::string kRemovalCaption = std::string("Texorra 5.0 - ") + kCaption;
const std::string kNothingSelected = "Keine Anwendung ausgew\xE4hlt";

// Calls onBox when a message box of this thread comes up, before it is
// answered (installed after a MessageBoxRecorder, it runs first).
class AtMessageBox
{
public:
    explicit AtMessageBox(std::function<void()> onBox) : m_onBox(std::move(onBox))
    {
        s_pThis = this;
        m_hHook = ::SetWindowsHookExA(WH_CBT, &AtMessageBox::CbtProc, nullptr, ::GetCurrentThreadId());
    }
    ~AtMessageBox()
    {
        ::UnhookWindowsHookEx(m_hHook);
        s_pThis = nullptr;
    }
    AtMessageBox(const AtMessageBox&) = delete;
    AtMessageBox& operator=(const AtMessageBox&) = delete;

private:
    static LRESULT CALLBACK CbtProc(int nCode, WPARAM wParam, LPARAM lParam)
    {
        if (nCode == HCBT_ACTIVATE && s_pThis && ::GetDlgItem(reinterpret_cast<HWND>(wParam), 0xFFFF))
            s_pThis->m_onBox();
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }
    static AtMessageBox* s_pThis;
    std::function<void()> m_onBox;
    HHOOK m_hHook = nullptr;
};
AtMessageBox* AtMessageBox::s_pThis = nullptr;

BOOL WINAPI FailingSetCurrentDirectory(LPCSTR)
{
    ::SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

}  // namespace

TEST(RemovalPathsTest, FoldersPatternsAndNames)
{
    struct PathCase {
        const char* path;
        const char* folder;
        const char* parent;
        bool removable;
    } paths[] = {
        {"X:\\A\\B\\T.V30", "X:\\A\\B", "X:\\A", true},
        {"X:\\A\\T.V60", "X:\\A", "", true},             // the drive root is never removed
        {"X:\\T.V30", "X:", "", false},                  // no title folder below the root
        {"T.V30", "", "", false},                        // no backslash at all
        {"X:\\A\\..\\B\\T.V30", "X:\\A\\..\\B", "X:\\A\\..", false},
        {"X:\\A\\.\\T.V30", "X:\\A\\.", "X:\\A", false},
        {"X:\\A\\\\T.V30", "X:\\A\\", "X:\\A", false},    // empty folder name
        {"X:\\A\\B?\\T.V30", "X:\\A\\B?", "X:\\A", false},
        {"X:\\A\\B \\T.V30", "X:\\A\\B ", "X:\\A", false},
        {"\\\\server\\share\\T.V30", "\\\\server\\share", "\\\\server", false},
        {"X:A\\T.V30", "X:A", "X:A", false},             // relative to the drive's directory
    };
    for (const PathCase& c : paths) {
        SCOPED_TRACE(c.path);
        CString folder = TitleFolderOf(c.path);
        EXPECT_STREQ(c.folder, folder);
        EXPECT_STREQ(c.parent, ParentFolderOf(folder));
        EXPECT_EQ(c.removable, IsRemovableTitlePath(c.path) != FALSE);
    }

    EXPECT_STREQ("X:\\A\\B\\NOTE", NotesFolderOf("X:\\A\\B"));
    const char* patterns[] = {"X:\\A\\B\\NOTE\\*.TXT", "X:\\A\\B\\NOTE\\*.RTF", "X:\\A\\B\\*.UPC", "X:\\A\\B\\*.??0"};
    for (int i = 0; i < REMOVAL_STEPS; ++i)
        EXPECT_STREQ(patterns[i], RemovalPattern("X:\\A\\B", static_cast<RemovalStep>(i)));
    EXPECT_STREQ("X:\\A\\B\\NOTE\\a.txt", FoundFilePath("X:\\A\\B\\NOTE\\*.TXT", "a.txt"));

    struct NameCase {
        const char* name;
        RemovalStep step;
        bool match;
    } names[] = {
        {"T.V30", RS_TITLE_FILES, true},   {"T.V60", RS_TITLE_FILES, true},  {"T.D10", RS_TITLE_FILES, true},
        {"a.b.v30", RS_TITLE_FILES, true}, {"T.V31", RS_TITLE_FILES, false}, {"T.V301", RS_TITLE_FILES, false},
        {"T.LOG", RS_TITLE_FILES, false},  {"T.0", RS_TITLE_FILES, false},   {"V300", RS_TITLE_FILES, false},
        {"a.txt", RS_NOTES_TXT, true},     {"a.TXT2", RS_NOTES_TXT, false},  {"a.rtf", RS_NOTES_TXT, false},
        {"B.Rtf", RS_NOTES_RTF, true},     {"x.upc", RS_UPC, true},          {"x.upcx", RS_UPC, false},
    };
    for (const NameCase& c : names)
        EXPECT_EQ(c.match, MatchesRemovalStep(c.name, c.step) != FALSE) << c.name << " step " << c.step;

    struct LinkCase {
        const char* path;
        bool shortcut;
    } links[] = {
        {"C:\\Start\\Titel (HD).lnk", true}, {"\\\\pc\\s\\T.LNK", true}, {"C:\\Start\\T.V30", false},
        {"T (HD).lnk", false},               {"", false},                {"C:.lnk", false},
    };
    for (const LinkCase& c : links)
        EXPECT_EQ(c.shortcut, IsShortcutPath(c.path) != FALSE) << c.path;
}

TEST_F(TitleRemovalTest, RemovesTheCopiedFilesFoldersShortcutAndValues)
{
    InstalledTitle t = Install("Titel", "T.V30", "Titel Eins",
                               {"T.V60", "T.D10", "T.UPC", "NOTE\\A.TXT", "NOTE\\B.rtf"});
    ASSERT_TRUE(::SetFileAttributesA((t.folder + "\\NOTE\\A.TXT").c_str(), FILE_ATTRIBUTE_READONLY));
    // Wine keeps no read-only attribute on folders; on Windows this checks
    // that the attribute is reset before the folder is removed.
    ::SetFileAttributesA(t.folder.c_str(), FILE_ATTRIBUTE_READONLY);
    OpenDialog();
    Click("T.V30");
    std::string dirBefore = CurrentDir();

    int nPosAtEnd = -1;
    std::string statusAtEnd;
    std::vector<gui::MessageBoxRecord> boxes;
    {
        gui::MessageBoxRecorder recorder({IDYES, IDOK});
        AtMessageBox at([&] {
            nPosAtEnd = m_progress.m_nPos;
            statusAtEnd = Rows().empty() ? "" : Rows()[0].status;
        });
        gui::SendCommand(hDlg, IDC_REMOVE);
        boxes = recorder.boxes;
    }
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(kRemovalCaption, boxes[0].caption);
    EXPECT_EQ("Soll die Anwendung von der Festplatte komplett entfernt werden ?", boxes[0].text);
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), boxes[0].buttons);
    EXPECT_EQ(gui::Icon::None, boxes[0].icon);
    EXPECT_EQ("Texorra 5.0 - Hilfsprogramm", boxes[1].caption);
    EXPECT_EQ("Die De-Installation von     \nTitel Eins\nist abgeschlossen", boxes[1].text);
    EXPECT_EQ(std::vector<int>{IDOK}, boxes[1].buttons);
    EXPECT_EQ(gui::Icon::None, boxes[1].icon);
    // The six steps ran and the list was refreshed before the message.
    EXPECT_EQ(6, nPosAtEnd);
    EXPECT_EQ("1", statusAtEnd);
    EXPECT_EQ(0, m_progress.m_nPos);

    // Files, folders up to the target, the shortcut; the Start menu stays.
    for (const char* name : {"T.V30", "T.V60", "T.D10", "T.UPC", "NOTE\\A.TXT", "NOTE\\B.rtf", "NOTE", ""})
        EXPECT_FALSE(Exists(t.folder + "\\" + name)) << name;
    EXPECT_FALSE(Exists(t.target));
    EXPECT_FALSE(Exists(t.shortcut));
    EXPECT_TRUE(Exists(startMenu));
    EXPECT_EQ(dirBefore, CurrentDir());

    // Blanked, not deleted; the registration stays.
    EXPECT_EQ("", ProfileValue("Titel Eins\\Ifo", "lnk"));
    EXPECT_EQ("", ProfileValue("Titel Eins", "lnk"));
    EXPECT_EQ("", ProfileValue("ProjektPfad", "Nuvado"));
    EXPECT_EQ(t.Path(), ProfileValue("Titel Eins\\Ifo", "Path0"));
    EXPECT_EQ("Titel Eins", ProfileValue("V30", "T.V30"));
    std::vector<ListRow> rows = Rows();
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ("1", rows[0].status);
    EXPECT_TRUE(gui::IsVisible(hDlg, IDC_LAUNCH));
    EXPECT_FALSE(gui::IsEnabled(hDlg, IDC_LAUNCH));
    EXPECT_FALSE(gui::IsVisible(hDlg, IDC_PROGRESS));
    EXPECT_TRUE(gui::IsEnabled(hDlg, IDC_CLICK_HINT));

    // "Entfernen" stays enabled; at once again, no row has the focus.
    EXPECT_TRUE(gui::IsEnabled(hDlg, IDC_REMOVE));
    boxes = Remove({});
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(kNothingSelected, boxes[0].text);
}

TEST_F(TitleRemovalTest, KeepsWhatNoPatternNamesAndWhatIsInUse)
{
    InstalledTitle t = Install("Titel", "T.V30", "Titel",
                               {"T.V60", "T.LOG", "T.V31", "T.V301", "NOTE\\A.TXT", "NOTE\\B.TXT", "NOTE\\C.TXT",
                                "NOTE\\A.DOC"});
    // A file held open without sharing cannot be deleted; no message says
    // so, and the others go.
    HANDLE hHeld = ::CreateFileA((t.folder + "\\NOTE\\B.TXT").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);
    OpenDialog();
    Click("T.V30");
    std::vector<gui::MessageBoxRecord> boxes = Remove({IDYES, IDOK});
    ::CloseHandle(hHeld);
    EXPECT_EQ(2u, boxes.size());
    for (const char* name : {"NOTE\\B.TXT", "T.LOG", "T.V31", "T.V301", "NOTE\\A.DOC"})
        EXPECT_TRUE(Exists(t.folder + "\\" + name)) << name;
    for (const char* name : {"T.V30", "T.V60", "NOTE\\A.TXT", "NOTE\\C.TXT"})
        EXPECT_FALSE(Exists(t.folder + "\\" + name)) << name;
    EXPECT_FALSE(Exists(t.shortcut));
}

TEST_F(TitleRemovalTest, TheOtherTitleAndTheDefaultTargetStay)
{
    InstalledTitle first = Install("Eins", "Eins.V30", "Eins", {"NOTE\\A.TXT"});
    InstalledTitle second = Install("Zwei", "Zwei.V60", "Zwei", {"NOTE\\A.TXT"});
    OpenDialog();
    Click("Eins.V30");
    Remove({IDYES, IDOK});
    EXPECT_FALSE(Exists(first.folder));
    EXPECT_TRUE(Exists(second.Path()));
    EXPECT_TRUE(Exists(second.folder + "\\NOTE\\A.TXT"));
    EXPECT_TRUE(Exists(second.shortcut));
    EXPECT_EQ(second.shortcut, ProfileValue("Zwei\\Ifo", "lnk"));
    EXPECT_EQ("0", Rows()[static_cast<size_t>(RowOf("Zwei.V60"))].status);

    // The last title of the default target folder: the folder is held as
    // the current directory while removal tries it, and stays.
    ASSERT_TRUE(reg::SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quendramark\\Texorra", "NuvadoDir", target));
    CloseDialog();
    OpenDialog();
    Click("Zwei.V60");
    Remove({IDYES, IDOK});
    EXPECT_FALSE(Exists(second.folder));
    EXPECT_TRUE(Exists(target));
}

TEST_F(TitleRemovalTest, RefusesWhatIsNoInstalledTitle)
{
    InstalledTitle t = Install("Titel", "T.V30", "Titel", {"NOTE\\A.TXT"});
    ASSERT_TRUE(testenv::MakeFile(dirs.cdDHost + "\\OnCd.V30"));
    ASSERT_TRUE(testenv::MakeFile(dirs.shareHost + "\\Net.V30"));
    AddV30Title("OnCd.V30", "Auf CD", dirs.cdD + "\\OnCd.V30");
    AddV30Title("NoCd.V30", "CD fehlt", "E:\\Titel\\NoCd.V30");
    AddV30Title("Gone.V30", "Verschwunden", dirs.hd + "\\Gone.V30");
    AddV30Title("Net.V30", "Netz", dirs.share + "\\Net.V30");
    AddV30Title("NetGone.V30", "Netz fehlt", dirs.share + "\\NetGone.V30");
    // Found on the hard disk, yet no sound title folder: a folder name
    // "..", and a name relative to the current directory.
    AddV30Title("Dots.V30", "Punkte", t.target + "\\Titel\\..\\Titel\\T.V30");
    ASSERT_TRUE(testenv::MakeFile(dirs.hd + "\\Rel.V30"));
    AddV30Title("Rel.V30", "Relativ", "Rel.V30");
    ASSERT_TRUE(::SetCurrentDirectoryA(dirs.hd.c_str()));
    OpenDialog();

    struct Case {
        const char* file;   // null: no row has the focus
        const char* status;
        std::vector<int> answers;
        size_t boxes;
    } cases[] = {
        {nullptr, "", {}, 1},
        {"OnCd.V30", "2", {}, 1},
        {"NoCd.V30", "3", {}, 1},
        {"Net.V30", "4", {}, 1},
        {"Dots.V30", "0", {}, 1},
        {"Rel.V30", "0", {}, 1},
        {"T.V30", "0", {IDNO}, 1},   // No at the question
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file ? c.file : "no row");
        if (c.file) {
            int nRow = RowOf(c.file);
            ASSERT_GE(nRow, 0);
            EXPECT_EQ(c.status, Rows()[static_cast<size_t>(nRow)].status);
            gui::ClickListRow(hDlg, IDC_TITLE_LIST, nRow);
        } else {
            gui::ClickListRow(hDlg, IDC_TITLE_LIST, -1);
        }
        std::vector<gui::MessageBoxRecord> boxes = Remove(c.answers);
        ASSERT_EQ(c.boxes, boxes.size());
        EXPECT_EQ(kRemovalCaption, boxes[0].caption);
        if (c.answers.empty()) {
            EXPECT_EQ(kNothingSelected, boxes[0].text);
            EXPECT_EQ(std::vector<int>{IDOK}, boxes[0].buttons);
        }
        EXPECT_TRUE(Exists(t.Path()));
        EXPECT_TRUE(Exists(t.folder + "\\NOTE\\A.TXT"));
        EXPECT_TRUE(Exists(t.shortcut));
        EXPECT_EQ(t.shortcut, ProfileValue("Titel\\Ifo", "lnk"));
        EXPECT_EQ(t.target, ProfileValue("ProjektPfad", "Nuvado"));
    }
    // Statuses 1 and 5 ask to drop the title instead.
    for (const char* file : {"Gone.V30", "NetGone.V30"}) {
        gui::MessageBoxRecorder recorder({IDNO});
        Click(file);
        gui::SendCommand(hDlg, IDC_REMOVE);
        ASSERT_EQ(2u, recorder.boxes.size()) << file;
        EXPECT_EQ(kNothingSelected, recorder.boxes[1].text);
    }
}

TEST_F(TitleRemovalTest, AFailedChangeOfDirectoryDeletesOnlyInTheTitleFolder)
{
    // Same-named files in the current directory, which stays where it is.
    std::string decoy = dirs.hd + "\\Anderswo";
    for (const char* name : {"T.V30", "A.TXT", "T.UPC"})
        ASSERT_TRUE(testenv::MakeFile(decoy + "\\" + name));
    InstalledTitle t = Install("Titel", "T.V30", "Titel", {"NOTE\\A.TXT", "T.UPC"});
    ASSERT_TRUE(::SetCurrentDirectoryA(decoy.c_str()));
    g_pfnSetCurrentDirectory = &FailingSetCurrentDirectory;
    OpenDialog();
    Click("T.V30");
    Remove({IDYES, IDOK});
    for (const char* name : {"T.V30", "A.TXT", "T.UPC"})
        EXPECT_TRUE(Exists(decoy + "\\" + name)) << name;
    EXPECT_FALSE(Exists(t.folder));
    EXPECT_STREQ(decoy.c_str(), CurrentDir().c_str());
}

TEST_F(TitleRemovalTest, AnUnreachableTitleIsDroppedFromTheCatalogueOnYes)
{
    InstalledTitle t = Install("Titel", "T.V30", "Titel", {});
    AddV30Title("NetGone.V30", "Netz fehlt", dirs.share + "\\NetGone.V30");
    AddV30Title("Other.V30", "Anderer", dirs.hd + "\\Other.V30");
    OpenDialog();
    Click("T.V30");
    Remove({IDYES, IDOK});

    for (const char* file : {"T.V30", "NetGone.V30"}) {
        SCOPED_TRACE(file);
        std::string title = ProfileValue("V30", file);
        size_t nRows = Rows().size();
        for (int answer : {IDNO, IDYES}) {
            gui::MessageBoxRecorder boxes({answer});
            Click(file);
            ASSERT_EQ(1u, boxes.boxes.size());
            EXPECT_EQ(kRemovalCaption, boxes.boxes[0].caption);
            EXPECT_EQ("Diese Anwendung ist derzeitig nicht mehr verf\xFCgbar und bedarf\n"
                      "zun\xE4" "chst der Neuinstallation von dem Original-CD-Setup!\n"
                      "Soll dieser Titel aus der Liste entfernt werden?",
                      boxes.boxes[0].text);
            EXPECT_EQ((std::vector<int>{IDYES, IDNO}), boxes.boxes[0].buttons);
            EXPECT_EQ(answer == IDNO ? nRows : nRows - 1, Rows().size());
            EXPECT_EQ(answer == IDNO ? title : "<absent>", ProfileValue("V30", file));
            EXPECT_FALSE(gui::IsEnabled(hDlg, IDC_CLICK_HINT));
            EXPECT_FALSE(gui::IsEnabled(hDlg, IDC_LAUNCH));
            EXPECT_TRUE(gui::IsVisible(hDlg, IDC_LAUNCH));
            EXPECT_FALSE(gui::IsVisible(hDlg, IDC_PROGRESS));
        }
        // The title's own section stays.
        EXPECT_TRUE(reg::KeyExists(HKEY_CURRENT_USER, TitleSection(title)));
        EXPECT_EQ("CD-Lfw.:--", gui::ControlText(hDlg, IDC_CD_DOOR));
        EXPECT_FALSE(gui::IsEnabled(hDlg, IDC_REMOVE));
    }
    EXPECT_EQ("Anderer", ProfileValue("V30", "Other.V30"));
    EXPECT_EQ(t.Path(), ProfileValue("Titel\\Ifo", "Path0"));
}
