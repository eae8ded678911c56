// The target folder checks: the form of a path, the creation of its missing
// folders, and what the user is asked and told.
#include "../../ordavin/ui/FolderCheck.h"
#include "../support/Gui.h"
#include "../support/TestEnv.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char kCaption[] = "Texorra 3.0 - Professional";
const char kRoot[] = "C:\\FolderCheckTest";

std::string Ask(const std::string& p)
{
    return "Der Ordner:\n\n" + p + "\n\nist nicht vorhanden. Soll der Ordner erstellt werden?";
}
std::string Invalid(const std::string& p)
{
    return "Der Ordnereingabe:\n\n" + p + "\n\nist ungültig. Bitte neu eingeben.";
}
std::string Cannot(const std::string& p)
{
    return "Der Ordner:\n\n" + p + "\n\nkann nicht erstellt werden. Bitte überprüfen Sie die Eingabe.";
}

DWORD Attr(const std::string& p) { return ::GetFileAttributesA(p.c_str()); }
bool IsFolder(const std::string& p) { return Attr(p) != INVALID_FILE_ATTRIBUTES && (Attr(p) & FILE_ATTRIBUTE_DIRECTORY); }

// A drive letter that is not mapped, Q if possible.
std::string MissingDrive()
{
    DWORD drives = ::GetLogicalDrives();
    for (char c : std::string("QRSTUVWXY"))
        if (!(drives & (1u << (c - 'A'))))
            return std::string(1, c);
    return std::string();
}

// A valid folder path of exactly nLength characters below kRoot.
std::string PathOfLength(size_t nLength)
{
    std::string p = std::string(kRoot) + "\\";
    while (p.size() < nLength)
        p += (p.size() % 100 == 99) ? '\\' : 'x';
    if (p.back() == '\\')
        p.back() = 'y';
    return p;
}

void ExpectBox(const gui::MessageBoxRecord& box, const std::string& text, bool bQuestion)
{
    EXPECT_EQ(kCaption, box.caption);
    EXPECT_EQ(text, box.text);
    if (bQuestion) {
        EXPECT_EQ((std::vector<int>{IDYES, IDNO}), box.buttons);
        EXPECT_EQ(gui::Icon::Question, box.icon);
    } else {
        EXPECT_EQ(std::vector<int>{IDOK}, box.buttons);
        EXPECT_EQ(gui::Icon::Warning, box.icon);
    }
}

// A scratch folder below C:, made before and removed after each case.
class FolderCheckTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testenv::RemoveTree(kRoot);
        ASSERT_TRUE(::CreateDirectoryA(kRoot, nullptr)) << ::GetLastError();
    }
    void TearDown() override { testenv::RemoveTree(kRoot); }

    static std::string In(const char* pszRel) { return std::string(kRoot) + "\\" + pszRel; }
};

}  // namespace

TEST(FolderName, AcceptsNamesWithInnerSpacesDotsAndAnyOtherCharacter)
{
    for (const char* name : {"Titel", "Titel 2.0 neu", "x", "a\x01z", "\xC4rger \xFC", "a\tb", "a#b+c,d;e=f[g]h"})
        EXPECT_TRUE(IsValidFolderName(name)) << name;
}

TEST(FolderName, RefusesEmptyNamesBadEdgesAndTheNineReservedCharacters)
{
    EXPECT_FALSE(IsValidFolderName(nullptr));
    for (const char* name : {"", " a", "a ", "\ta", "a\t", ".a", "a.", ".", " "})
        EXPECT_FALSE(IsValidFolderName(name)) << '[' << name << ']';
    for (char c : std::string("\"*/:<>?\\|")) {
        std::string name = std::string("ab") + c + "cd";
        EXPECT_FALSE(IsValidFolderName(name.c_str())) << name;
    }
}

TEST_F(FolderCheckTest, FormCheckAcceptsDriveLetterPathsAndNeverTouchesTheDisk)
{
    std::string missing = MissingDrive();
    ASSERT_FALSE(missing.empty());
    for (std::string p : {std::string("C:\\"), In("Titel"), In("Titel 2.0 neu\\Teil"), std::string("c:\\FolderCheckTest\\klein"),
                          missing + ":\\Titel", missing + ":\\", PathOfLength(259)})
        EXPECT_EQ(FOLDER_OK, CreateFolderPath(p.c_str(), TRUE)) << p;
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attr(In("Titel")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attr(In("Titel 2.0 neu")));
}

TEST_F(FolderCheckTest, MalformedEntriesAreInvalidInBothModesAndCreateNothing)
{
    EXPECT_EQ(FOLDER_INVALID, CreateFolderPath(nullptr, TRUE));
    EXPECT_EQ(FOLDER_INVALID, CreateFolderPath(nullptr, FALSE));
    for (std::string p : {std::string("C:"), std::string("C"), std::string(""), std::string("\\\\server\\share"),
                          std::string("Titel"), std::string("C:Titel"), std::string("1:\\Titel"), std::string("C:/Titel"),
                          std::string("C\\\\Titel"), In("A\\\\B"), In("A\\"), In(" A"), In("A "), In("\tA"), In("A."),
                          In(".A"), In("A\\B|C"), In("A\\B?"), PathOfLength(260), PathOfLength(400)}) {
        EXPECT_EQ(FOLDER_INVALID, CreateFolderPath(p.c_str(), TRUE)) << p;
        EXPECT_EQ(FOLDER_INVALID, CreateFolderPath(p.c_str(), FALSE)) << p;
    }
    // The valid first level of "A\\B" and "A\\" must not have been created.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attr(In("A")));
}

TEST_F(FolderCheckTest, CreationMakesEachMissingLevelAndKeepsThemWhenALaterOneFails)
{
    ASSERT_TRUE(::CreateDirectoryA(In("A").c_str(), nullptr));
    EXPECT_EQ(FOLDER_OK, CreateFolderPath(In("A\\B\\C").c_str(), FALSE));
    EXPECT_TRUE(IsFolder(In("A\\B")));
    EXPECT_TRUE(IsFolder(In("A\\B\\C")));
    EXPECT_EQ(FOLDER_OK, CreateFolderPath(In("A\\B\\C").c_str(), FALSE));   // all present

    // The file system refuses a control character the form check lets
    // through: the level before it is made first and stays.
    EXPECT_EQ(FOLDER_NOT_CREATED, CreateFolderPath(In("A\\N\\b\x01" "d\\D").c_str(), FALSE));
    EXPECT_TRUE(IsFolder(In("A\\N")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attr(In("A\\N\\b\x01" "d\\D")));

    // A file named like the middle folder blocks the level below it.
    ASSERT_TRUE(testenv::MakeFile(In("F")));
    EXPECT_EQ(FOLDER_NOT_CREATED, CreateFolderPath(In("F\\G").c_str(), FALSE));
    EXPECT_FALSE(IsFolder(In("F")));

    EXPECT_EQ(FOLDER_OK, CreateFolderPath("C:\\", FALSE));
    std::string missing = MissingDrive();
    EXPECT_EQ(FOLDER_NOT_CREATED, CreateFolderPath((missing + ":\\").c_str(), FALSE));
    EXPECT_EQ(FOLDER_NOT_CREATED, CreateFolderPath((missing + ":\\Titel").c_str(), FALSE));
}

TEST_F(FolderCheckTest, PresentFolderOrFileIsAcceptedWithoutAQuestion)
{
    ASSERT_TRUE(testenv::MakeFile(In("Titel.V30")));
    gui::MessageBoxRecorder boxes({IDNO});
    EXPECT_EQ(FOLDER_OK, CheckTargetFolder("C:\\", FALSE));
    EXPECT_EQ(FOLDER_OK, CheckTargetFolder(kRoot, FALSE));
    EXPECT_EQ(FOLDER_OK, CheckTargetFolder("c:\\folderchecktest", FALSE));
    EXPECT_EQ(FOLDER_OK, CheckTargetFolder(In("Titel.V30").c_str(), FALSE));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(FolderCheckTest, MissingFolderIsCreatedOnlyAfterYesOrWithoutPrompt)
{
    ASSERT_TRUE(::CreateDirectoryA(In("A").c_str(), nullptr));
    std::string path = In("A\\B\\C");
    {
        gui::MessageBoxRecorder boxes({IDNO});
        EXPECT_EQ(FOLDER_DECLINED, CheckTargetFolder(path.c_str(), FALSE));
        ASSERT_EQ(1u, boxes.boxes.size());
        ExpectBox(boxes.boxes[0], Ask(path), true);
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attr(In("A\\B")));
    }
    {
        gui::MessageBoxRecorder boxes({IDYES});
        EXPECT_EQ(FOLDER_OK, CheckTargetFolder(path.c_str(), FALSE));
        ASSERT_EQ(1u, boxes.boxes.size());
        ExpectBox(boxes.boxes[0], Ask(path), true);
        EXPECT_TRUE(IsFolder(path));
    }
    {
        gui::MessageBoxRecorder boxes;
        EXPECT_EQ(FOLDER_OK, CheckTargetFolder(In("Still\\Neu").c_str(), TRUE));
        EXPECT_TRUE(boxes.boxes.empty());
        EXPECT_TRUE(IsFolder(In("Still\\Neu")));
    }
}

TEST_F(FolderCheckTest, UncreatableFolderIsReportedAfterTheQuestionOrAlone)
{
    std::string missing = MissingDrive() + ":\\Titel";
    {
        gui::MessageBoxRecorder boxes({IDYES, IDOK});
        EXPECT_EQ(FOLDER_NOT_CREATED, CheckTargetFolder(missing.c_str(), FALSE));
        ASSERT_EQ(2u, boxes.boxes.size());
        ExpectBox(boxes.boxes[0], Ask(missing), true);
        ExpectBox(boxes.boxes[1], Cannot(missing), false);
    }
    {
        gui::MessageBoxRecorder boxes;
        EXPECT_EQ(FOLDER_NOT_CREATED, CheckTargetFolder(missing.c_str(), TRUE));
        ASSERT_EQ(1u, boxes.boxes.size());
        ExpectBox(boxes.boxes[0], Cannot(missing), false);
    }
    ASSERT_TRUE(testenv::MakeFile(In("F")));
    gui::MessageBoxRecorder boxes({IDYES, IDOK});
    EXPECT_EQ(FOLDER_NOT_CREATED, CheckTargetFolder(In("F\\G").c_str(), FALSE));
    ASSERT_EQ(2u, boxes.boxes.size());
    ExpectBox(boxes.boxes[1], Cannot(In("F\\G")), false);
}

TEST(FolderCheck, InvalidEntryIsReportedWithTheWholeEntry)
{
    std::string longPath = "C:\\" + std::string(300, 'L');
    for (std::string p : {std::string("C:"), std::string("x"), std::string(""), std::string("\\\\server\\share"),
                          std::string("C:\\A\\"), std::string("C:\\A\\\\B"), longPath}) {
        gui::MessageBoxRecorder boxes({IDOK});
        EXPECT_EQ(FOLDER_INVALID, CheckTargetFolder(p.c_str(), FALSE)) << p;
        ASSERT_EQ(1u, boxes.boxes.size()) << p;
        ExpectBox(boxes.boxes[0], Invalid(p), false);
    }
    gui::MessageBoxRecorder boxes({IDOK});
    EXPECT_EQ(FOLDER_INVALID, CheckTargetFolder(nullptr, TRUE));
    ASSERT_EQ(1u, boxes.boxes.size());
    ExpectBox(boxes.boxes[0], Invalid(""), false);
}
