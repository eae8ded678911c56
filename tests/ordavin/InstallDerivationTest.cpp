// The derivations of an installation: paths, names and log lines.
#include "../../ordavin/setup/CopyProgress.h"
#include "../../ordavin/setup/InstallLog.h"
#include "../../ordavin/setup/InstallPaths.h"
#include "../../ordavin/setup/Shortcut.h"

#include <gtest/gtest.h>

#include <string>

TEST(InstallDerivation, DestinationSourceAndLinkName)
{
    const struct {
        const char *target, *registered, *label, *destination, *source, *link;
    } cases[] = {
        {"C:\\Zorvalia", "E:\\TITEL\\TITEL.V30", "", "C:\\Zorvalia\\TITEL", "E:\\TITEL", "Titel"},
        {"C:\\Zorvalia", "E:\\A\\B\\T.V30", "", "C:\\Zorvalia\\A\\B", "E:\\A\\B", "Titel"},
        {"C:\\", "E:\\TITEL\\TITEL.V30", "", "C:\\TITEL", "E:\\TITEL", "Titel"},
        {"C:\\Zorvalia", "E:\\T.V30", "ZORVALIA1", "C:\\Zorvalia\\ZORVALIA1", "E:", "ZORVALIA1"},
        // An unlabelled CD's root title gets a folder named after its file,
        // never the target folder itself.
        {"C:\\Zorvalia", "E:\\TITEL.V30", "", "C:\\Zorvalia\\TITEL", "E:", "TITEL"},
        {"C:\\", "E:\\T.V30", "", "C:\\T", "E:", "T"},
        // A folder of one or two characters is a folder, not the root.
        {"C:\\Zorvalia", "E:\\AB\\T.V30", "L", "C:\\Zorvalia\\AB", "E:\\AB", "Titel"},
        {"C:\\Zorvalia", "E:\\A\\T.V30", "L", "C:\\Zorvalia\\A", "E:\\A", "Titel"},
    };
    for (const auto& c : cases) {
        CString folder = CdTitleFolderOf(c.registered);
        std::string file = std::string(c.registered).substr(std::string(c.registered).rfind('\\') + 1);
        InstallPlace place = PlaceInstall(TargetFolderOf(c.target), folder, "E:", "Titel", c.label, file.c_str());
        EXPECT_STREQ(c.destination, place.strDestination) << c.registered << " into " << c.target;
        EXPECT_STREQ(c.source, place.strSource) << c.registered;
        EXPECT_STREQ(c.link, place.strLinkName) << c.registered;
        EXPECT_TRUE(IsValidDestination(place.strDestination)) << place.strDestination.GetString();
    }
    EXPECT_STREQ("E:", CdTitleFolderOf("E:\\T.V30"));
    EXPECT_STREQ("TITEL\\..\\..\\WINDOWS", CdTitleFolderOf("D:\\TITEL\\..\\..\\WINDOWS\\T.V30"));
    for (const char* bad : {"C:\\Zorvalia\\TITEL\\..\\..\\WINDOWS", "C:\\Zorvalia\\A<B", "C:\\Zorvalia\\..",
                            "C:\\Zorvalia\\", "Q"}) {
        EXPECT_FALSE(IsValidDestination(bad)) << bad;
    }
    EXPECT_FALSE(IsValidDestination(("C:\\" + std::string(260, 'a')).c_str()));
}

TEST(InstallDerivation, StagePathsAndTheTitleFile)
{
    const struct {
        CopyStage stage;
        const char *pattern, *source, *destination;
    } cases[] = {
        {STAGE_TITLE, "E:\\T\\*.??0", "E:\\T\\F.X", "C:\\Z\\T\\F.X"},
        {STAGE_UPC, "E:\\T\\*.UPC", "E:\\T\\F.X", "C:\\Z\\T\\F.X"},
        {STAGE_RTF, "E:\\T\\NOTE\\*.RTF", "E:\\T\\Note\\F.X", "C:\\Z\\T\\note\\F.X"},
        {STAGE_TXT, "E:\\T\\NOTE\\*.TXT", "E:\\T\\Note\\F.X", "C:\\Z\\T\\note\\F.X"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(c.pattern, StagePattern(c.stage, "E:\\T"));
        EXPECT_STREQ(c.source, StageSourcePath(c.stage, "E:\\T", "F.X"));
        EXPECT_STREQ(c.destination, StageDestinationPath(c.stage, "C:\\Z\\T", "F.X"));
    }
    // A path that would not fit is not formed at all.
    EXPECT_STREQ("", StageDestinationPath(STAGE_TITLE, ("C:\\" + std::string(250, 'a')).c_str(), "LONGNAME.V30"));

    EXPECT_TRUE(IsTitleFileName("T.V30"));
    EXPECT_TRUE(IsTitleFileName("T.V60"));
    EXPECT_FALSE(IsTitleFileName("t.v30"));
    EXPECT_FALSE(IsTitleFileName("T.D10"));
    // The title file is the registered one, whatever else the folder holds.
    EXPECT_TRUE(IsRegisteredTitleFile("titel.V30", "TITEL.V30"));
    EXPECT_FALSE(IsRegisteredTitleFile("T.V60", "T.V30") || IsRegisteredTitleFile("t.v30", "T.V30"));
    // Long names only, as removal deletes them.
    EXPECT_TRUE(MatchesCopyStage("T.V30", STAGE_TITLE) && MatchesCopyStage("a.upc", STAGE_UPC));
    EXPECT_FALSE(MatchesCopyStage("T.V301", STAGE_TITLE) || MatchesCopyStage("N.RTF", STAGE_TXT));
    EXPECT_STREQ("Path0", TitlePathValueOf("T.V30"));
    EXPECT_STREQ("Path60", TitlePathValueOf("T.V60"));
}

TEST(InstallDerivation, ShortcutNamesStayInTheGroupFolder)
{
    const struct {
        const char *name, *safe;
    } cases[] = {
        {"Zorvalia Band 1", "Zorvalia Band 1"},
        {"ZORVALIA1", "ZORVALIA1"},
        {"", ""},
        {"..\\..\\Autostart\\X", "______Autostart_X"},
        {"a/b:c*d?e\"f<g>h|i\tj", "a_b_c_d_e_f_g_h_i_j"},
        {"Band 1.2 ... Ende.", "Band 1.2 ___ Ende."},
        {"Zorvalia \xE4\xF6\xFC", "Zorvalia \xE4\xF6\xFC"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.safe, SafeLinkName(c.name)) << c.name;
    EXPECT_EQ(std::string(127, 'x'), SafeLinkName(std::string(300, 'x').c_str()).GetString());

    EXPECT_STREQ("C:\\G\\Titel (HD).lnk", ShortcutPath("C:\\G", "Titel"));
    EXPECT_STREQ("C:\\G\\ (HD).lnk", ShortcutPath("C:\\G", ""));
    EXPECT_STREQ("", ShortcutPath(("C:\\" + std::string(200, 'g')).c_str(), std::string(127, 'x').c_str()));

    EXPECT_STREQ("C:\\Programme\\Texorra\\INSTALL.exe", ShortcutIconPath("C:\\Programme\\Texorra\\INSTALL.EXE"));
    EXPECT_STREQ("C:\\Pro.gramme\\INSTALL.exe", ShortcutIconPath("C:\\Pro.gramme\\INSTALL"));
}

TEST(InstallDerivation, LogPathAndLines)
{
    EXPECT_STREQ("C:\\Programme\\Texorra\\Install.log", InstallLogPath("C:\\Programme\\Texorra\\INSTALL.EXE"));
    EXPECT_STREQ("***  Installation Started 12/06/26 10:33  ***\n", LogHeaderLine("12/06/26", "10:33:07"));
    EXPECT_STREQ("***  Installation Started 01/02/27 09:05  ***\n", LogHeaderLine("01/02/27", "09:05:59"));

    char szLine[LOG_LINE_MAX + 1];
    FormatLogLine(szLine, "File Copy: %s\n", "C:\\Z\\T.V30");
    EXPECT_STREQ("File Copy: C:\\Z\\T.V30\n", szLine);
    std::string longPath(400, 'p');
    FormatLogLine(szLine, "File Copy: %s\n", longPath.c_str());
    EXPECT_EQ("File Copy: " + std::string(LOG_LINE_MAX - 12, 'p') + "\n", szLine);
}

TEST(InstallDerivation, CopyPercentage)
{
    const struct {
        ULONGLONG total, done;
        int percent;
    } cases[] = {
        {0, 0, 100}, {200, 0, 0}, {200, 100, 50}, {3, 1, 33}, {3, 3, 100},
        {20u << 20, 65536, 0}, {20u << 20, 10u << 20, 50}, {~0ULL, ~0ULL / 2, 49}, {~0ULL, ~0ULL, 100},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.percent, CopyPercent(c.total, c.done)) << c.done << " of " << c.total;
}
