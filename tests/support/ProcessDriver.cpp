#include "ProcessDriver.h"

namespace e2e {

namespace {

::testing::AssertionResult Assert(const drive::Outcome& outcome)
{
    if (outcome)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << outcome.why;
}

}  // namespace

::testing::AssertionResult ProcessDriver::Start(const std::string& exe, const std::string& args,
                                                const std::string& curDir)
{
    return Assert(drive::Process::Start(exe, args, curDir));
}

::testing::AssertionResult ClickWindow(HWND hWnd)
{
    return Assert(drive::ClickWindow(hWnd));
}

::testing::AssertionResult ClickControl(HWND hDlg, int id)
{
    return Assert(drive::ClickControl(hDlg, id));
}

::testing::AssertionResult ClickListRow(HWND hList, int nRow)
{
    return Assert(drive::ClickListRow(hList, nRow));
}

::testing::AssertionResult AnswerMessageBox(const ProcessDriver& process, int nButton, MessageBoxSeen* pSeen)
{
    return Assert(drive::AnswerMessageBox(process, nButton, pSeen));
}

}  // namespace e2e
