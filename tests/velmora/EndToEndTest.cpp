// The real Velmora.exe as a process of its own, driven from outside with
// real mouse clicks: against the system's common-controls library (Wine's
// own comctl32; the program asks for no particular version in a manifest),
// and against an old stand-in library that makes the update button usable.
#include "VelmoraFixture.h"

#include "../../framework/String.h"
#include "../support/ProcessDriver.h"
#include "../support/Registry.h"
#include "resource.h"

#include <fstream>
#include <iostream>

using namespace velmora_test;

namespace {

const char kNotNeeded[] =
    "MELDUNG: Ein Update ist nicht erforderlich, damit Texorra 3.0 auf Ihrem System laufen kann!";
const char kNeeded[] =
    "MELDUNG: Ein Update ist dringend erforderlich, damit Texorra 3.0 auf Ihrem System laufen kann!";

std::string VersionLine(const DLLVERSIONINFO& dvi)
{
    CString s;
    s.Format("ComCtl32.dll Version ist %lu.%lu.%lu.%lu", dvi.dwMajorVersion, dvi.dwMinorVersion,
             dvi.dwBuildNumber, dvi.dwPlatformID);
    return s.GetString();
}

// A scratch current directory that holds the stand-in update package.
class VelmoraExe : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string from = HostPath(UPDATER_EXE_PATH);
        ASSERT_TRUE(::CopyFileA(from.c_str(), (dir.path + "\\50COMUPD.EXE").c_str(), FALSE))
            << from << " error " << ::GetLastError();
    }
    bool PackageRan(DWORD maxMs) { return WaitForFile(dir.path + "\\50COMUPD.RUN", maxMs); }

    ScratchCurrentDir dir;
    e2e::ProcessDriver velmora;
};

}  // namespace

TEST_F(VelmoraExe, ShowsTheVerdictForTheSystemLibraryAndAbbrechenStartsNothing)
{
    // What the program must show: the same library read in this process.
    DLLVERSIONINFO dvi;
    ReadComCtlVersion(&dvi);
    const int nVersion = ComparableVersion(dvi);

    ASSERT_TRUE(velmora.Start(HostPath(VELMORA_EXE_PATH), "", dir.path));
    HWND hDlg = velmora.WaitForDialog("Velmora");
    ASSERT_NE(nullptr, hDlg) << "no dialog of Velmora.exe";
    std::string line = e2e::ControlText(hDlg, IDC_VERSION);
    std::cout << "Velmora.exe shows: " << line << std::endl;
    EXPECT_EQ(VersionLine(dvi), line);
    EXPECT_EQ(nVersion >= VERSION_UPDATE_THRESHOLD ? kNotNeeded : kNeeded, e2e::ControlText(hDlg, IDC_MESSAGE));
    EXPECT_EQ(nVersion <= VERSION_UPDATE_THRESHOLD, ::IsWindowEnabled(::GetDlgItem(hDlg, IDOK)) != FALSE);

    ASSERT_TRUE(e2e::ClickControl(hDlg, IDCANCEL));
    DWORD code = STILL_ACTIVE;
    EXPECT_TRUE(velmora.WaitForExit(e2e::kWaitMs, &code)) << "\"Abbrechen\" did not end Velmora.exe";
    EXPECT_EQ(0u, code);
    EXPECT_FALSE(PackageRan(500));
}

TEST_F(VelmoraExe, SilentCheckShowsNothingWhenNoUpdateIsNeeded)
{
    DLLVERSIONINFO dvi;
    ReadComCtlVersion(&dvi);
    if (ComparableVersion(dvi) < VERSION_UPDATE_THRESHOLD)
        GTEST_SKIP() << "the system library " << VersionLine(dvi) << " needs the update";

    ASSERT_TRUE(velmora.Start(HostPath(VELMORA_EXE_PATH), "S", dir.path));
    size_t nWindows = 0;
    bool ended = e2e::WaitUntil([&] {
        nWindows += velmora.VisibleWindows().size();
        return !velmora.IsRunning();
    });
    EXPECT_TRUE(ended) << "Velmora.exe S did not end by itself";
    EXPECT_EQ(0u, nWindows) << "Velmora.exe S showed a window";
    EXPECT_FALSE(PackageRan(0));
}

// Velmora.exe with an old library (4.72) as the system's "comctl32.dll":
// the package comes from the current directory, another folder.
TEST_F(VelmoraExe, JetztUpdatenStartsThePackageFromTheCurrentDirectory)
{
    // The program checks the system folder's library only. Wine's own
    // comctl32 is built in and no file there is mapped, so the stand-in
    // takes the file's place for this run, and Wine is told to prefer a
    // file to its built-in copy for programs of this name (Wine reads
    // WINEDLLOVERRIDES from the host environment only).
    char szSystem[MAX_PATH] = "";
    ASSERT_LT(0u, ::GetSystemDirectoryA(szSystem, MAX_PATH));
    const std::string library = std::string(szSystem) + "\\comctl32.dll", kept = library + ".kept";
    ASSERT_TRUE(::MoveFileExA(library.c_str(), kept.c_str(), MOVEFILE_REPLACE_EXISTING)) << ::GetLastError();
    const std::string overridesKey = "Software\\Wine\\AppDefaults\\Velmora.exe";
    struct Restore {
        std::string key, library, kept;
        ~Restore()
        {
            reg::DeleteTree(HKEY_CURRENT_USER, key);
            ::MoveFileExA(kept.c_str(), library.c_str(), MOVEFILE_REPLACE_EXISTING);
        }
    } restore{overridesKey, library, kept};
    ASSERT_TRUE(::CopyFileA(StandIn("cc_v472").c_str(), library.c_str(), FALSE));
    ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, overridesKey + "\\DllOverrides", "comctl32", "native,builtin"));

    ASSERT_TRUE(velmora.Start(HostPath(VELMORA_EXE_PATH), "", dir.path));
    HWND hDlg = velmora.WaitForDialog("Velmora");
    ASSERT_NE(nullptr, hDlg) << "no dialog of Velmora.exe";
    ASSERT_EQ("ComCtl32.dll Version ist 4.72.3110.1", e2e::ControlText(hDlg, IDC_VERSION))
        << "Velmora.exe did not load the stand-in library";
    EXPECT_EQ(kNeeded, e2e::ControlText(hDlg, IDC_MESSAGE));

    ASSERT_TRUE(e2e::ClickControl(hDlg, IDOK));
    DWORD code = STILL_ACTIVE;
    EXPECT_TRUE(velmora.WaitForExit(e2e::kWaitMs, &code)) << "\"Jetzt Updaten...\" did not end Velmora.exe";
    EXPECT_EQ(0u, code);
    ASSERT_TRUE(PackageRan(e2e::kWaitMs)) << "the package in " << dir.path << " was not started";
    // The marker's first line is the package's current directory.
    std::ifstream marker(dir.path + "\\50COMUPD.RUN");
    std::string curDir;
    std::getline(marker, curDir);
    if (!curDir.empty() && curDir.back() == '\r')
        curDir.pop_back();
    EXPECT_EQ(0, lstrcmpiA(dir.path.c_str(), curDir.c_str())) << curDir;
}
