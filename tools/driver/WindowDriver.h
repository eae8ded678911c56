// Drives a program that runs as a process of its own, from outside and as a
// person would: its dialogs are found by caption and owning process, their
// controls read through messages, and buttons and list rows clicked with
// real mouse input (SetCursorPos and SendInput) at their place on the
// screen. Message boxes are answered the same way. The end-to-end tests
// (tests/support/ProcessDriver.h) and the demo's walk-through use it.
//
// Under Wine with unmanaged windows (the test fixture's setting) such input
// reaches the window under the cursor once its top-level window is in the
// foreground; Click* make sure of both and fail with the reason otherwise.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace drive {

// How long the helpers wait for a window, a state or the end of a process.
const DWORD kWaitMs = 10000;

// Whether a step worked, and why not.
struct Outcome {
    bool ok = true;
    std::string why;

    explicit operator bool() const { return ok; }
    static Outcome Success() { return Outcome(); }
    static Outcome Failure(std::string why) { return Outcome{false, std::move(why)}; }
};

class Process
{
public:
    Process() = default;
    // Ends the process (exit code 1) if it still runs.
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Starts exe with the arguments (as typed after the program name) in
    // curDir (empty: ours), with our environment.
    Outcome Start(const std::string& exe, const std::string& args = "", const std::string& curDir = "");

    // The visible top-level dialog (#32770) of the process with this caption,
    // or null when none appeared in time or the process ended.
    HWND WaitForDialog(const char* pszCaption, DWORD maxMs = kWaitMs) const;
    // A message box of the process: a #32770 window with the text static
    // 0xFFFF. Null when none appeared in time.
    HWND WaitForMessageBox(DWORD maxMs = kWaitMs) const;
    // The process's visible top-level windows at this moment.
    std::vector<HWND> VisibleWindows() const;

    // True when the process ended in time; *pExitCode gets its exit code.
    bool WaitForExit(DWORD maxMs = kWaitMs, DWORD* pExitCode = nullptr) const;
    bool IsRunning() const;

    HANDLE process() const { return m_pi.hProcess; }
    DWORD pid() const { return m_pi.dwProcessId; }

private:
    PROCESS_INFORMATION m_pi = {};
};

// Polls cond until it holds or maxMs passed; true when it held.
template <typename Cond>
bool WaitUntil(Cond cond, DWORD maxMs = kWaitMs)
{
    for (DWORD start = ::GetTickCount();; ::Sleep(20)) {
        if (cond())
            return true;
        if (::GetTickCount() - start >= maxMs)
            return false;
    }
}

// The text of a window of any process (WM_GETTEXT, which the system carries
// between processes).
std::string Text(HWND hWnd);
std::string ControlText(HWND hDlg, int id);
// Class and text of a window, for messages.
std::string Describe(HWND hWnd);

// A left click at the centre of the window (a control of another process):
// its top-level window is brought to the foreground, the cursor moved there,
// and the button pressed and released through SendInput.
Outcome ClickWindow(HWND hWnd);
Outcome ClickControl(HWND hDlg, int id);

// A list view of another process. Its messages that carry pointers are not
// carried between processes, so their buffers live in that process.
int ListRowCount(HWND hList);
std::string ListItemText(HWND hList, int nRow, int nColumn);
// The first row whose column shows the text, or -1.
int FindListRow(HWND hList, int nColumn, const std::string& text);
bool IsListRowSelected(HWND hList, int nRow);
// The middle of a row's label in the list's client coordinates, from the
// top index, the rows per page, the row spacing and the first column's
// width: messages that need no buffer in the list's process, so that it
// works where that process's memory cannot be reached (a 32-bit program
// under qemu). A report view without header is assumed. False when the row
// is out of view.
bool ListRowPoint(HWND hList, int nRow, POINT* pPt);
// A real click on the middle of the row's label, scrolled into view first.
Outcome ClickListRow(HWND hList, int nRow);

// What a message box showed, and the answer given.
struct MessageBoxSeen {
    std::string caption;
    std::string text;
    std::vector<int> buttons;   // IDOK, IDYES, ... as far as present
};
MessageBoxSeen ReadMessageBox(HWND hBox);
// Clicks nButton of the message box and waits until the box is gone.
Outcome AnswerMessageBox(HWND hBox, int nButton);
// Waits for a message box of the process, reads it and clicks nButton.
Outcome AnswerMessageBox(const Process& process, int nButton, MessageBoxSeen* pSeen);

}  // namespace drive
