// The per-user profile below HKCU\Software\Quendramark\<application name>:
// what the profile functions read back from values the viewer (or anyone)
// may have written.
#include "MainDialogFixture.h"

namespace {

class ProfileTest : public ProgramRegistryTest
{
protected:
    static std::string Path(const std::string& section) { return std::string(PROFILE_ROOT) + "\\" + section; }
};

}  // namespace

TEST_F(ProfileTest, RootIsTheRegistryKeyAndTheApplicationNameFromTheStringTable)
{
    EXPECT_STREQ("Texorra 3.0 - Professional", theApp.m_pszAppName);
    EXPECT_STREQ("Texorra 3.0 - Professional", theApp.m_pszProfileName);
    ASSERT_TRUE(theApp.WriteProfileString("ProjektPfad", "Nuvado", "C:\\Zorvalia"));
    std::string value;
    ASSERT_TRUE(reg::GetString(HKEY_CURRENT_USER, Path("ProjektPfad"), "Nuvado", &value));
    EXPECT_EQ("C:\\Zorvalia", value);
}

TEST_F(ProfileTest, NestedSectionsReadAndWriteTheirSubkeys)
{
    reg::SetString(HKEY_CURRENT_USER, Path("Titel A\\Ifo"), "Path0", "D:\\A\\T.V30");
    EXPECT_STREQ("D:\\A\\T.V30", theApp.GetProfileString("Titel A\\Ifo", "Path0"));
    ASSERT_TRUE(theApp.WriteProfileString("Titel B\\Ifo", "lnk", "C:\\x.lnk"));
    std::string value;
    EXPECT_TRUE(reg::GetString(HKEY_CURRENT_USER, Path("Titel B\\Ifo"), "lnk", &value));
    EXPECT_EQ("C:\\x.lnk", value);
}

TEST_F(ProfileTest, AbsentValuesReadAsDefaultAndReadingCreatesTheSection)
{
    EXPECT_STREQ("", theApp.GetProfileString("Neu\\Ifo", "Path0"));
    EXPECT_STREQ("vorgabe", theApp.GetProfileString("Neu\\Ifo", "Path0", "vorgabe"));
    EXPECT_EQ(0u, theApp.GetProfileInt("Neu\\Ifo", "iSel", 0));
    EXPECT_EQ(7u, theApp.GetProfileInt("Neu\\Ifo", "iSel", 7));
    EXPECT_TRUE(reg::KeyExists(HKEY_CURRENT_USER, Path("Neu\\Ifo")));
}

TEST_F(ProfileTest, NumbersReadAtMostFourBytes)
{
    reg::SetDword(HKEY_CURRENT_USER, Path("T\\Ifo"), "iSel", 1);
    EXPECT_EQ(1u, theApp.GetProfileInt("T\\Ifo", "iSel", 0));

    // "1" as a string is two bytes, '1' and its terminator: not the number 1.
    reg::SetString(HKEY_CURRENT_USER, Path("T\\Ifo"), "iSel", "1");
    EXPECT_NE(1u, theApp.GetProfileInt("T\\Ifo", "iSel", 0));
    EXPECT_EQ(static_cast<UINT>('1'), theApp.GetProfileInt("T\\Ifo", "iSel", 0))
        << "the missing high bytes must be zero, not left over from the stack";

    const BYTE eight[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    reg::SetRaw(HKEY_CURRENT_USER, Path("T\\Ifo"), "iSel", REG_BINARY, eight, sizeof(eight));
    EXPECT_EQ(5u, theApp.GetProfileInt("T\\Ifo", "iSel", 5));
    reg::SetString(HKEY_CURRENT_USER, Path("T\\Ifo"), "iSel", "1234");
    EXPECT_EQ(0u, theApp.GetProfileInt("T\\Ifo", "iSel", 0));
}

TEST_F(ProfileTest, EmptyStringIsWrittenAsAnEmptyValue)
{
    reg::SetString(HKEY_CURRENT_USER, Path("T\\Ifo"), "lnk", "C:\\alt.lnk");
    ASSERT_TRUE(theApp.WriteProfileString("T\\Ifo", "lnk", ""));
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_USER, Path("T\\Ifo").c_str(), 0, KEY_READ, &h));
    DWORD type = 0, cb = 99;
    char data[4] = "xyz";
    EXPECT_EQ(ERROR_SUCCESS, ::RegQueryValueExA(h, "lnk", nullptr, &type, reinterpret_cast<BYTE*>(data), &cb));
    ::RegCloseKey(h);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(1u, cb) << "the value stays, holding just its terminator";
    EXPECT_EQ('\0', data[0]);
}

TEST_F(ProfileTest, MalformedStringsReadSafely)
{
    // No terminator: the text is exactly the data.
    const char raw[] = {'A', 'B', 'C'};
    reg::SetRaw(HKEY_CURRENT_USER, Path("T\\Ifo"), "Path0", REG_SZ, raw, sizeof(raw));
    EXPECT_STREQ("ABC", theApp.GetProfileString("T\\Ifo", "Path0"));

    // Empty data of type REG_SZ.
    reg::SetRaw(HKEY_CURRENT_USER, Path("T\\Ifo"), "Path0", REG_SZ, "", 0);
    EXPECT_STREQ("", theApp.GetProfileString("T\\Ifo", "Path0", "vorgabe"));

    // A number or bytes where text is expected do not read as text.
    reg::SetDword(HKEY_CURRENT_USER, Path("T\\Ifo"), "Path0", 0x00414243);
    EXPECT_STREQ("", theApp.GetProfileString("T\\Ifo", "Path0"));
    const BYTE bytes[] = {0x41, 0x42, 0xFF, 0x01};
    reg::SetRaw(HKEY_CURRENT_USER, Path("T\\Ifo"), "Path0", REG_BINARY, bytes, sizeof(bytes));
    EXPECT_STREQ("", theApp.GetProfileString("T\\Ifo", "Path0"));

    // A long text comes back whole.
    std::string longText(5000, 'x');
    reg::SetString(HKEY_CURRENT_USER, Path("T\\Ifo"), "Path0", longText);
    EXPECT_EQ(longText, std::string(theApp.GetProfileString("T\\Ifo", "Path0")));
}
