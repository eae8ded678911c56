// Helpers for Velmora's tests: stand-in libraries beside the test program,
// a scratch current directory, and a scripted run of the whole program.
#pragma once

#include "../../velmora/DllVersion.h"
#include "../support/TestEnv.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora_test {

// The Windows path of a stand-in library beside the test program
// ("cc_v472" gives ...\cc_v472.dll).
std::string StandIn(const char* pszName);
using testenv::HostPath;
// Waits (bounded) until a file exists.
bool WaitForFile(const std::string& path, DWORD maxMs);

// A fresh folder below %TEMP% that is the process's current directory while
// the object lives; removed afterwards (waiting a while for a program
// started from it to let go).
class ScratchCurrentDir
{
public:
    ScratchCurrentDir();
    ~ScratchCurrentDir();
    ScratchCurrentDir(const ScratchCurrentDir&) = delete;
    ScratchCurrentDir& operator=(const ScratchCurrentDir&) = delete;

    std::string path;   // without a trailing backslash

private:
    char m_szPrevious[MAX_PATH] = "";
};

// How a scripted run leaves the dialog.
enum class Answer { Update, Cancel, CloseBox };

struct RunResult {
    bool shown = false;          // a dialog of the program appeared
    bool timedOut = false;       // the watchdog had to end it
    BOOL returned = TRUE;        // what InitInstance returned
    std::string verdict;         // control 1000 when shown
    DWORD elapsedMs = 0;         // the run of InitInstance
};

// Runs the application object's InitInstance with this command line against
// a stand-in library; the dialog, if one appears, is read and then left as
// answered.
RunResult RunVelmora(const char* pszCmdLine, const std::string& dll, Answer answer);

// Restores the library name and the command line after each case.
class VelmoraTest : public ::testing::Test
{
protected:
    void TearDown() override;
};

}  // namespace velmora_test
