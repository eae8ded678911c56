// The launch button asks the shell to open the title file in the title's
// folder, with the viewer stand-in as the program registered for it.
#include "CatalogueFixture.h"

#include "../../ordavin/ui/TitleClick.h"

#include <cstdlib>
#include <fstream>

namespace {

std::string StandInPath()
{
    const char* pszBuild = std::getenv("ZORVALIA_BUILD_DIR");
    if (!pszBuild || !*pszBuild)
        return std::string();
    std::string path = std::string("Z:") + pszBuild + "/tools/viewer/ViewerStandIn.exe";
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

bool RunAndWait(const std::string& commandLine)
{
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::string cmd = commandLine;
    if (!::CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    DWORD wait = ::WaitForSingleObject(pi.hProcess, 20000);
    DWORD code = 1;
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return wait == WAIT_OBJECT_0 && code == 0;
}

// Waits (bounded) for the stand-in's first log line.
std::string WaitForLogLine(const std::string& log, DWORD timeoutMs)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        std::ifstream in(log);
        std::string line;
        if (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return line;
        }
        ::Sleep(100);
    }
    return std::string();
}

bool QuitPosted()
{
    MSG msg;
    return ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

class LaunchTitleTest : public CatalogueTest
{
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        if (IsSkipped())
            return;
        if (StandInPath().empty())
            GTEST_SKIP() << "needs the viewer stand-in of the build";
        m_log = testenv::HostFolder("viewer.log");
        ::DeleteFileA(m_log.c_str());
        ::SetEnvironmentVariableA("ZORVALIA_VIEWER_LOG", m_log.c_str());
        ASSERT_TRUE(testenv::MakeFile(testenv::HostFolder("cd-d") + "\\A\\T.V30"));
        AddV30Title("T.V30", "Titel A", "D:\\A\\T.V30");
    }
    void TearDown() override
    {
        ::SetEnvironmentVariableA("ZORVALIA_VIEWER_LOG", nullptr);
        if (!m_log.empty())
            ::DeleteFileA(m_log.c_str());
        testenv::RemoveTree(testenv::HostFolder("cd-d") + "\\A");
        reg::DeleteTree(HKEY_CLASSES_ROOT, ".V30");
        reg::DeleteTree(HKEY_CLASSES_ROOT, ".V60");
        reg::DeleteTree(HKEY_CLASSES_ROOT, "Texorra.Titel");
        QuitPosted();
        CatalogueTest::TearDown();
    }
    std::string m_log;
};

}  // namespace

TEST_F(LaunchTitleTest, ViewerOpensTheTitleFileInItsFolderAndTheProgramEnds)
{
    ASSERT_TRUE(RunAndWait("\"" + StandInPath() + "\" /associate"));
    OpenDialog();
    gui::MessageBoxRecorder boxes;
    gui::ClickListRow(hDlg, IDC_TITLE_LIST, 0);
    ASSERT_TRUE(gui::IsEnabled(hDlg, IDC_LAUNCH));
    gui::ClickButton(hDlg, IDC_LAUNCH);

    std::string line = WaitForLogLine(m_log, 15000);
    ASSERT_FALSE(line.empty()) << "the viewer stand-in was not started";
    size_t bar = line.find('|');
    ASSERT_NE(std::string::npos, bar) << line;
    std::string file = line.substr(0, bar);
    EXPECT_EQ("T.V30", file.substr(file.size() >= 5 ? file.size() - 5 : 0)) << line;
    EXPECT_EQ("D:\\A", line.substr(bar + 1));
    EXPECT_TRUE(QuitPosted()) << "the program must end through the quit message";
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(LaunchTitleTest, WithoutAProgramForTitleFilesTheUserIsTold)
{
    OpenDialog();
    gui::MessageBoxRecorder boxes({IDYES});
    gui::ClickListRow(hDlg, IDC_TITLE_LIST, 0);
    gui::ClickButton(hDlg, IDC_LAUNCH);
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ("Texorra 5.0 - Hilfsprogramm", boxes.boxes[0].caption);
    EXPECT_EQ("Texorra konnte nicht mit dieser Titelanwendung gestartet werden!", boxes.boxes[0].text);
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), boxes.boxes[0].buttons);
    EXPECT_EQ(gui::Icon::None, boxes.boxes[0].icon);
    EXPECT_EQ(hDlg, boxes.boxes[0].hOwner);
    EXPECT_FALSE(QuitPosted());
    EXPECT_TRUE(::IsWindow(hDlg));
    EXPECT_TRUE(WaitForLogLine(m_log, 500).empty());
}
