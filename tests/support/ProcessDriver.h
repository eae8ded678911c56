// The end-to-end tests' view of the window driver (tools/driver): a program
// started as a process of its own and driven from outside with real mouse
// input; every step that can fail answers as a GoogleTest assertion result.
#pragma once

#include "../../tools/driver/WindowDriver.h"

#include <gtest/gtest.h>

#include <string>

namespace e2e {

using drive::kWaitMs;
using drive::WaitUntil;
using drive::Text;
using drive::ControlText;
using drive::ListRowCount;
using drive::ListItemText;
using drive::FindListRow;
using drive::IsListRowSelected;
using drive::MessageBoxSeen;
using drive::ReadMessageBox;

class ProcessDriver : public drive::Process
{
public:
    // Starts exe with the arguments (as typed after the program name) in
    // curDir (empty: ours), with our environment.
    ::testing::AssertionResult Start(const std::string& exe, const std::string& args = "",
                                     const std::string& curDir = "");
};

::testing::AssertionResult ClickWindow(HWND hWnd);
::testing::AssertionResult ClickControl(HWND hDlg, int id);
::testing::AssertionResult ClickListRow(HWND hList, int nRow);
// Waits for a message box of the process, reads it and clicks nButton.
::testing::AssertionResult AnswerMessageBox(const ProcessDriver& process, int nButton, MessageBoxSeen* pSeen);

}  // namespace e2e
