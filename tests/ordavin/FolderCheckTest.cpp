// The target folder checks: the form of a path, the creation of its missing
// folders, and what the user is asked and told.
#include "../../ordavin/ui/FolderCheck.h"
#include "../support/Gui.h"
#include "../support/TestEnv.h"

#include <gtest/gtest.h>

namespace {

const std::string kRoot = "C:\\FolderCheckTest";
const std::string kMissing = "Q:\\Titel";   // the fixture maps no drive Q:

enum Box { Ask, Invalid, Cannot };

std::string TextOf(Box box, const std::string& p)
{
    if (box == Ask)
        return "Der Ordner:\n\n" + p + "\n\nist nicht vorhanden. Soll der Ordner erstellt werden?";
    if (box == Invalid)
        return "Der Ordnereingabe:\n\n" + p + "\n\nist ungültig. Bitte neu eingeben.";
    return "Der Ordner:\n\n" + p + "\n\nkann nicht erstellt werden. Bitte überprüfen Sie die Eingabe.";
}

bool IsFolder(const std::string& p)
{
    DWORD attr = ::GetFileAttributesA(p.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

// A valid folder path of exactly n characters below kRoot.
std::string PathOfLength(size_t n)
{
    std::string p = kRoot + "\\";
    while (p.size() < n)
        p += (p.size() % 50 == 0) ? '\\' : 'x';
    return p;
}

// kRoot with only kRoot\A in it, and a file kRoot\F.
class FolderCheckTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(::GetLogicalDrives() & (1u << ('Q' - 'A')));
        testenv::RemoveTree(kRoot);
        ASSERT_TRUE(::CreateDirectoryA(kRoot.c_str(), nullptr) && ::CreateDirectoryA(In("A").c_str(), nullptr));
        ASSERT_TRUE(testenv::MakeFile(In("F")));
    }
    void TearDown() override { testenv::RemoveTree(kRoot); }
    static std::string In(const char* pszRel) { return kRoot + "\\" + pszRel; }
};

}  // namespace

TEST(FolderName, RefusesOnlyEmptyNamesBadEdgesAndTheNineReservedCharacters)
{
    for (const char* name : {"Titel", "Titel 2.0 neu", "x", "a\x01z", "\xC4rger \xFC", "a\tb", "a#b+c,d;e=f[g]"})
        EXPECT_TRUE(IsValidFolderName(name)) << name;
    EXPECT_FALSE(IsValidFolderName(nullptr));
    for (const char* name : {"", " a", "a ", "\ta", "a\t", ".a", "a.", "."})
        EXPECT_FALSE(IsValidFolderName(name)) << '[' << name << ']';
    for (char c : std::string("\"*/:<>?\\|"))
        EXPECT_FALSE(IsValidFolderName((std::string("ab") + c + "cd").c_str())) << c;
}

TEST_F(FolderCheckTest, FormCheckTakesDriveLetterPathsOnlyAndTouchesNothing)
{
    for (const std::string& p : {std::string("C:\\"), In("Titel"), In("Titel 2.0 neu\\Teil"), std::string("c:\\Titel"),
                                 kMissing, std::string("Q:\\"), PathOfLength(259)})
        EXPECT_EQ(FOLDER_OK, CreateFolderPath(p.c_str(), TRUE)) << p;
    EXPECT_FALSE(IsFolder(In("Titel")));

    EXPECT_EQ(FOLDER_INVALID, CreateFolderPath(nullptr, FALSE));
    for (const std::string& p : {std::string("C:"), std::string("C"), std::string(""), std::string("\\\\server\\share"),
                                 std::string("Titel"), std::string("C:Titel"), std::string("1:\\Titel"),
                                 std::string("C:/Titel"), In("N\\\\B"), In("N\\"), In(" N"), In("N "), In("\tN"),
                                 In("N."), In(".N"), In("N\\B|C"), PathOfLength(260), PathOfLength(400)}) {
        EXPECT_EQ(FOLDER_INVALID, CreateFolderPath(p.c_str(), TRUE)) << p;
        EXPECT_EQ(FOLDER_INVALID, CreateFolderPath(p.c_str(), FALSE)) << p;
    }
    EXPECT_FALSE(IsFolder(In("N")));   // the valid first level of an invalid entry
}

TEST_F(FolderCheckTest, CreationGoesDownLevelByLevelAndKeepsWhatWasMade)
{
    EXPECT_EQ(FOLDER_OK, CreateFolderPath(In("A\\B\\C").c_str(), FALSE));
    EXPECT_TRUE(IsFolder(In("A\\B\\C")));
    // The file system refuses a control character that the form check lets
    // through: the level above it was made first and stays.
    EXPECT_EQ(FOLDER_NOT_CREATED, CreateFolderPath(In("A\\N\\b\x01z\\D").c_str(), FALSE));
    EXPECT_TRUE(IsFolder(In("A\\N")));
    // A file named like the middle folder blocks the level below it.
    EXPECT_EQ(FOLDER_NOT_CREATED, CreateFolderPath(In("F\\G").c_str(), FALSE));
    EXPECT_EQ(FOLDER_OK, CreateFolderPath("C:\\", FALSE));
    EXPECT_EQ(FOLDER_NOT_CREATED, CreateFolderPath("Q:\\", FALSE));
}

TEST_F(FolderCheckTest, CheckAsksBeforeCreatingAndReportsWhatFails)
{
    struct Case {
        std::string path;
        BOOL bNoPrompt;
        std::vector<int> answers;
        int code;
        std::vector<Box> boxes;
        std::string created;
    };
    std::string longPath = "C:\\" + std::string(300, 'L');
    const Case cases[] = {
        {"C:\\", FALSE, {IDNO}, FOLDER_OK, {}, ""},
        {In("F"), FALSE, {IDNO}, FOLDER_OK, {}, ""},                 // a present file
        {In("A\\B\\C"), FALSE, {IDNO}, FOLDER_DECLINED, {Ask}, ""},
        {In("A\\B\\C"), FALSE, {IDYES}, FOLDER_OK, {Ask}, In("A\\B\\C")},
        {In("A\\B\\C"), FALSE, {IDNO}, FOLDER_OK, {}, ""},           // now present
        {In("Still\\Neu"), TRUE, {}, FOLDER_OK, {}, In("Still\\Neu")},
        {kMissing, FALSE, {IDYES, IDOK}, FOLDER_NOT_CREATED, {Ask, Cannot}, ""},
        {kMissing, TRUE, {IDOK}, FOLDER_NOT_CREATED, {Cannot}, ""},
        {In("F\\G"), FALSE, {IDYES, IDOK}, FOLDER_NOT_CREATED, {Ask, Cannot}, ""},
        {"C:", FALSE, {IDOK}, FOLDER_INVALID, {Invalid}, ""},
        {"x", FALSE, {IDOK}, FOLDER_INVALID, {Invalid}, ""},
        {"", TRUE, {IDOK}, FOLDER_INVALID, {Invalid}, ""},
        {"\\\\server\\share", FALSE, {IDOK}, FOLDER_INVALID, {Invalid}, ""},
        {longPath, FALSE, {IDOK}, FOLDER_INVALID, {Invalid}, ""},   // the message holds all of it
    };
    for (const Case& c : cases) {
        gui::MessageBoxRecorder rec(c.answers);
        EXPECT_EQ(c.code, CheckTargetFolder(c.path.c_str(), c.bNoPrompt)) << c.path;
        ASSERT_EQ(c.boxes.size(), rec.boxes.size()) << c.path;
        for (size_t i = 0; i < c.boxes.size(); ++i) {
            const gui::MessageBoxRecord& box = rec.boxes[i];
            EXPECT_EQ("Texorra 3.0 - Professional", box.caption);
            EXPECT_EQ(TextOf(c.boxes[i], c.path), box.text);
            EXPECT_EQ((c.boxes[i] == Ask ? std::vector<int>{IDYES, IDNO} : std::vector<int>{IDOK}), box.buttons);
            EXPECT_EQ(c.boxes[i] == Ask ? gui::Icon::Question : gui::Icon::Warning, box.icon);
        }
        EXPECT_TRUE(c.created.empty() || IsFolder(c.created)) << c.path;
        EXPECT_FALSE(c.code == FOLDER_DECLINED && IsFolder(In("A\\B"))) << "created after No";
    }
    gui::MessageBoxRecorder rec({IDOK});
    EXPECT_EQ(FOLDER_INVALID, CheckTargetFolder(nullptr, FALSE));
    ASSERT_EQ(1u, rec.boxes.size());
    EXPECT_EQ(TextOf(Invalid, ""), rec.boxes[0].text);
}
