// The application's profile functions on the per-user registry root.
#include "MainDialogFixture.h"

TEST_F(ProgramRegistryTest, ProfileSectionsNestAndAreCreatedOnTheWay)
{
    ASSERT_TRUE(theApp.WriteProfileString("Titel A\\Ifo", "Path0", "D:\\A\\A.V30"));
    std::string value;
    ASSERT_TRUE(reg::GetString(HKEY_CURRENT_USER, PROFILE_ROOT "\\Titel A\\Ifo", "Path0", &value));
    EXPECT_EQ("D:\\A\\A.V30", value);
    EXPECT_STREQ("D:\\A\\A.V30", theApp.GetProfileString("Titel A\\Ifo", "Path0"));

    // Absent values read as empty and 0, and leave the section behind.
    EXPECT_STREQ("", theApp.GetProfileString("Titel B\\Ifo", "Path60"));
    EXPECT_EQ(0u, theApp.GetProfileInt("Titel B\\Ifo", "iSel", 0));
    EXPECT_EQ(7u, theApp.GetProfileInt("Titel B\\Ifo", "iSel", 7));
    EXPECT_TRUE(reg::KeyExists(HKEY_CURRENT_USER, PROFILE_ROOT "\\Titel B\\Ifo"));

    // Clearing writes an empty value; it does not delete it.
    ASSERT_TRUE(theApp.WriteProfileString("Titel A\\Ifo", "lnk", ""));
    value = "not read";
    EXPECT_TRUE(reg::GetString(HKEY_CURRENT_USER, PROFILE_ROOT "\\Titel A\\Ifo", "lnk", &value));
    EXPECT_EQ("", value);
}

TEST_F(ProgramRegistryTest, ProfileValuesOfTheWrongType)
{
    const std::string section = PROFILE_ROOT "\\T\\Ifo";
    ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, section, "iSel", "1"));
    EXPECT_NE(1u, theApp.GetProfileInt("T\\Ifo", "iSel", 0));
    const BYTE two[2] = {1, 0};
    ASSERT_TRUE(reg::SetRaw(HKEY_CURRENT_USER, section, "iSel", REG_BINARY, two, 2));
    EXPECT_EQ(1u, theApp.GetProfileInt("T\\Ifo", "iSel", 0));
    const BYTE five[5] = {1, 0, 0, 0, 0};
    ASSERT_TRUE(reg::SetRaw(HKEY_CURRENT_USER, section, "iSel", REG_BINARY, five, 5));
    EXPECT_EQ(9u, theApp.GetProfileInt("T\\Ifo", "iSel", 9));

    const DWORD number = 0x41414141;
    ASSERT_TRUE(reg::SetRaw(HKEY_CURRENT_USER, section, "Path0", REG_DWORD, &number, 4));
    EXPECT_STREQ("", theApp.GetProfileString("T\\Ifo", "Path0"));
    ASSERT_TRUE(reg::SetRaw(HKEY_CURRENT_USER, section, "Path0", REG_BINARY, "C:\\x", 4));
    EXPECT_STREQ("", theApp.GetProfileString("T\\Ifo", "Path0"));
    ASSERT_TRUE(reg::SetRaw(HKEY_CURRENT_USER, section, "Path0", REG_SZ, "C:\\abc", 4));
    EXPECT_STREQ("C:\\a", theApp.GetProfileString("T\\Ifo", "Path0"));
}
