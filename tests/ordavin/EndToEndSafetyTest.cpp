// The real Ordavin.exe where data is at stake: a copy that fails, a target
// folder that holds another title, a selection moved with the keyboard, and
// the program killed in the middle of an installation or a removal.
#include "InstallChecks.h"

#include "../../ordavin/catalogue/TitleCatalogue.h"
#include "../support/ProcessDriver.h"

#include <cstdlib>
#include <random>

namespace {

const char kCaption[] = "Zorvalia - Hilfsprogramm";
const std::string kScratch = "C:\\HD\\e2e-safety";

// A key pressed and released as a person does, into the focused window of
// the foreground process.
void PressKey(WORD vk)
{
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof(INPUT));
}

class OrdavinExeSafety : public ProgramRegistryTest
{
protected:
    void SetUp() override
    {
        if (testenv::HostFolder("cd-d").empty())
            GTEST_SKIP() << "needs the test fixture's drives";
        ProgramRegistryTest::SetUp();
        testenv::RemoveTree(kScratch);
        testenv::RemoveTree(cdHost);
        ASSERT_TRUE(reg::SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quendramark\\Texorra", "StartMenu", group));
        ASSERT_TRUE(reg::SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quendramark\\Texorra", "NuvadoDir", target));
        ASSERT_TRUE(::CreateDirectoryA(kScratch.c_str(), nullptr) && ::CreateDirectoryA(target.c_str(), nullptr));
    }
    void TearDown() override
    {
        ordavin.reset();
        testenv::RemoveTree(kScratch);
        testenv::RemoveTree(cdHost);
        ProgramRegistryTest::TearDown();
    }

    // The title "Titel" in D:\TITEL, files of the given sizes.
    void PutTitleOnCd(const std::vector<std::pair<std::string, unsigned>>& files)
    {
        for (const auto& f : files)
            ASSERT_TRUE(testenv::MakeFile(cdHost + "\\" + f.first, f.second)) << f.first;
        AddV30Title("TITEL.V30", "Titel", "D:\\TITEL\\TITEL.V30");
    }
    // Starts the program; the main dialog and its list.
    void Start()
    {
        ordavin = std::make_unique<e2e::ProcessDriver>();
        ASSERT_TRUE(ordavin->Start(testenv::HostPath(ORDAVIN_EXE_PATH)));
        hDlg = ordavin->WaitForDialog(kCaption);
        ASSERT_NE(nullptr, hDlg) << "no main dialog of Ordavin.exe";
        hList = ::GetDlgItem(hDlg, IDC_TITLE_LIST);
    }
    // A click on the row of a title file, then on a button once it can be
    // used.
    void ClickRowThen(const char* pszFile, int nButton)
    {
        int nRow = e2e::FindListRow(hList, COL_FILE, pszFile);
        ASSERT_GE(nRow, 0) << pszFile;
        ASSERT_TRUE(e2e::ClickListRow(hList, nRow));
        ASSERT_TRUE(e2e::WaitUntil([&] { return ::IsWindowEnabled(::GetDlgItem(hDlg, nButton)) != FALSE; }));
        ASSERT_TRUE(e2e::ClickControl(hDlg, nButton));
    }
    void Kill()
    {
        ::TerminateProcess(ordavin->process(), 1);
        ::WaitForSingleObject(ordavin->process(), e2e::kWaitMs);
    }
    // Whether the copy below the target holds every file of the CD whole.
    bool CopyIsComplete(const std::vector<std::pair<std::string, unsigned>>& files)
    {
        for (const auto& f : files)
            if (Slurp(dest + "\\" + f.first).size() != f.second)
                return false;
        return true;
    }

    std::string cdHost = testenv::HostFolder("cd-d") + "\\TITEL";
    std::string target = kScratch + "\\Ziel", group = kScratch + "\\Gruppe", dest = target + "\\TITEL";
    std::unique_ptr<e2e::ProcessDriver> ordavin;
    HWND hDlg = nullptr, hList = nullptr;
};

}  // namespace

// Each scenario: what lies where, what the user does, what the program
// says, and that nothing of another title or of the user was touched.
TEST_F(OrdavinExeSafety, RefusesOrFailsWithoutTouchingWhatIsNotItsOwn)
{
    PutTitleOnCd({{"TITEL.V30", 100}, {"A.UPC", 200}, {"NOTE\\N.TXT", 300}});
    // A copy from a file that another process holds without sharing fails.
    {
        SCOPED_TRACE("a copy fails");
        HANDLE hHeld = ::CreateFileA((cdHost + "\\A.UPC").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);
        Start();
        ClickRowThen("TITEL.V30", IDC_INSTALL);
        e2e::MessageBoxSeen box;
        ASSERT_TRUE(e2e::AnswerMessageBox(*ordavin, IDOK, &box));
        ::CloseHandle(hHeld);
        EXPECT_EQ(0u, box.text.find("Die Installation von                 \nTitel\nist fehlgeschlagen.\n\nDie Datei\n"
                                    "D:\\TITEL\\A.UPC\nkonnte nicht kopiert werden:\n"))
            << box.text;
        EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ListItemText(hList, 0, COL_STATUS) == "2"; }));
        EXPECT_FALSE(Exists(dest)) << "what the run copied goes again";
        EXPECT_EQ("D:\\TITEL\\TITEL.V30", ProfileValue("Titel\\Ifo", "Path0"));
        EXPECT_EQ("<absent>", ProfileValue("Titel\\Ifo", "lnk"));
        ordavin.reset();
    }
    // The title's folder below the target belongs to another title.
    {
        SCOPED_TRACE("the target's title folder holds another title");
        ASSERT_TRUE(testenv::MakeFile(dest + "\\A.V30", 7));
        AddV30Title("A.V30", "Anderer", dest + "\\A.V30");
        Start();
        ClickRowThen("TITEL.V30", IDC_INSTALL);
        e2e::MessageBoxSeen box;
        ASSERT_TRUE(e2e::AnswerMessageBox(*ordavin, IDOK, &box));
        EXPECT_NE(std::string::npos, box.text.find("liegt bereits der Titel\nAnderer")) << box.text;
        EXPECT_FALSE(Exists(dest + "\\TITEL.V30"));
        EXPECT_EQ(7u, Slurp(dest + "\\A.V30").size());
        EXPECT_EQ("D:\\TITEL\\TITEL.V30", ProfileValue("Titel\\Ifo", "Path0"));
        ordavin.reset();
        testenv::RemoveTree(dest);
        reg::DeleteValue(HKEY_CURRENT_USER, PROFILE_ROOT "\\V30", "A.V30");
    }
    // Two installed titles; the arrow key moves the selection off the
    // clicked one before "Entfernen".
    {
        SCOPED_TRACE("the selection moved by the keyboard");
        reg::DeleteValue(HKEY_CURRENT_USER, PROFILE_ROOT "\\V30", "TITEL.V30");
        for (const char* name : {"EINS", "ZWEI"}) {
            std::string file = std::string(name) + ".V30";
            ASSERT_TRUE(testenv::MakeFile(target + "\\" + name + "\\" + file));
            AddV30Title(file, name, target + "\\" + name + "\\" + file);
        }
        Start();
        int nRow = e2e::FindListRow(hList, COL_FILE, "EINS.V30");
        ASSERT_TRUE(e2e::ClickListRow(hList, nRow));
        ASSERT_TRUE(e2e::WaitUntil([&] { return ::IsWindowEnabled(::GetDlgItem(hDlg, IDC_REMOVE)) != FALSE; }));
        int nOther = e2e::FindListRow(hList, COL_FILE, "ZWEI.V30");
        PressKey(nOther > nRow ? VK_DOWN : VK_UP);
        ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::IsListRowSelected(hList, nOther); }))
            << "the key did not move the selection";
        ASSERT_TRUE(e2e::ClickControl(hDlg, IDC_REMOVE));
        e2e::MessageBoxSeen box;
        ASSERT_TRUE(e2e::AnswerMessageBox(*ordavin, IDOK, &box));
        EXPECT_EQ("Keine Anwendung ausgew\xE4hlt", box.text);
        for (const char* name : {"EINS", "ZWEI"})
            EXPECT_TRUE(Exists(target + "\\" + name + "\\" + name + ".V30")) << name;
        ordavin.reset();
    }
}

// Killed at any moment of an installation, the title is listed on its CD or
// at a complete copy, never at a partial one; killed during a removal, the
// title is listed installed until a removal finishes, or nothing of it is
// left. Each time the same action run again completes.
TEST_F(OrdavinExeSafety, KilledAtAnyMomentNothingIsLost)
{
    const std::vector<std::pair<std::string, unsigned>> files = {
        {"TITEL.V30", 60u << 20}, {"TITEL.D10", 40u << 20}, {"A.UPC", 1000}, {"NOTE\\N.TXT", 500}};
    PutTitleOnCd(files);
    const char* pszSeed = std::getenv("ZORVALIA_SEED");
    unsigned seed = pszSeed ? static_cast<unsigned>(std::strtoul(pszSeed, nullptr, 10)) : ::GetTickCount();
    std::printf("kill seed %u (set ZORVALIA_SEED to repeat it)\n", seed);
    std::mt19937 random(seed);

    // An installation, timed once from the click to its message, then
    // killed ten times at random within that time.
    DWORD dwInstallMs = 0;
    auto install = [&](bool bToTheEnd, DWORD dwKillAfterMs) {
        Start();
        ClickRowThen("TITEL.V30", IDC_INSTALL);
        DWORD dwClick = ::GetTickCount();
        if (!bToTheEnd) {
            ::Sleep(dwKillAfterMs);
            Kill();
            return;
        }
        ASSERT_NE(nullptr, ordavin->WaitForMessageBox());
        dwInstallMs = ::GetTickCount() - dwClick;
        e2e::MessageBoxSeen box;
        ASSERT_TRUE(e2e::AnswerMessageBox(*ordavin, IDOK, &box));
        EXPECT_NE(std::string::npos, box.text.find("ist abgeschlossen")) << box.text;
        ordavin.reset();
    };
    install(true, 0);
    std::printf("an installation of 100 MB takes %lu ms\n", dwInstallMs);
    ASSERT_TRUE(CopyIsComplete(files));

    const std::string onCd = "D:\\TITEL\\TITEL.V30", onDisk = dest + "\\TITEL.V30";
    int nOnCd = 0;
    for (int i = 0; i < 10; ++i) {
        AddV30Title("TITEL.V30", "Titel", onCd);   // the viewer registered the CD again
        DWORD dwAfter = std::uniform_int_distribution<DWORD>(0, dwInstallMs)(random);
        SCOPED_TRACE("installation killed after " + std::to_string(dwAfter) + " ms");
        install(false, dwAfter);
        std::string registered = ProfileValue("Titel\\Ifo", "Path0");
        EXPECT_TRUE(registered == onCd || (registered == onDisk && CopyIsComplete(files))) << registered;
        nOnCd += registered == onCd;
    }
    std::printf("%d of 10 kills left the title on its CD, the others at its complete copy\n", nOnCd);
    AddV30Title("TITEL.V30", "Titel", onCd);
    install(true, 0);
    EXPECT_EQ(onDisk, ProfileValue("Titel\\Ifo", "Path0"));
    EXPECT_TRUE(CopyIsComplete(files));

    // A removal that deletes many files, timed once to its end, then killed
    // three times at random within that time.
    DWORD dwRemoveMs = 0;
    auto remove = [&](bool bToTheEnd, DWORD dwKillAfterMs) {
        for (int n = 0; n < 1000; ++n)
            ASSERT_TRUE(testenv::MakeFile(dest + "\\X" + std::to_string(n) + ".D10", 1));
        Start();
        ClickRowThen("TITEL.V30", IDC_REMOVE);
        e2e::MessageBoxSeen box;
        ASSERT_TRUE(e2e::AnswerMessageBox(*ordavin, IDYES, &box));
        DWORD dwYes = ::GetTickCount();
        if (bToTheEnd) {
            ASSERT_NE(nullptr, ordavin->WaitForMessageBox());
            dwRemoveMs = ::GetTickCount() - dwYes;
            ASSERT_TRUE(e2e::AnswerMessageBox(*ordavin, IDOK, &box));
            EXPECT_EQ("Die De-Installation von     \nTitel\nist abgeschlossen", box.text);
            ordavin.reset();
            return;
        }
        ::Sleep(dwKillAfterMs);
        Kill();
    };
    remove(true, 0);
    std::printf("a removal of 1,000 files takes %lu ms\n", dwRemoveMs);
    EXPECT_FALSE(Exists(dest));
    for (int i = 0; i < 3; ++i) {
        AddV30Title("TITEL.V30", "Titel", onCd);
        install(true, 0);
        DWORD dwAfter = std::uniform_int_distribution<DWORD>(0, dwRemoveMs)(random);
        SCOPED_TRACE("removal killed after " + std::to_string(dwAfter) + " ms");
        remove(false, dwAfter);
        if (Exists(onDisk)) {
            // Listed as installed: the same removal run again finishes it.
            remove(true, 0);
        } else {
            std::set<std::string> left;
            ListTree(dest, "", &left);
            for (const std::string& name : left)
                EXPECT_EQ(std::string::npos, name.find('.')) << name << " outlived its title file";
        }
        EXPECT_EQ(onDisk, ProfileValue("Titel\\Ifo", "Path0"));
    }
    for (const auto& f : files)
        EXPECT_EQ(f.second, Slurp(cdHost + "\\" + f.first).size()) << "the CD's " << f.first;
}
