// Helpers for tests that drive real windows in-process: pumping messages,
// reading and clicking controls, answering message boxes, and running a
// modal dialog under a script with a watchdog.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace gui {

// Dispatches the thread's pending messages until nothing arrived for a
// moment or the time is up.
void Pump(DWORD maxMs = 200);

std::string Text(HWND hWnd);
std::string ControlText(HWND hDlg, int id);
bool IsVisible(HWND hDlg, int id);
bool IsEnabled(HWND hDlg, int id);

// A button press as the user makes it (BM_CLICK), or as the dialog receives
// it (WM_COMMAND with BN_CLICKED), which is what to use right after a
// message box was answered.
void ClickButton(HWND hDlg, int id);
void SendCommand(HWND hDlg, int id, int code = BN_CLICKED);
// Replaces an edit control's text; the control reports EN_CHANGE.
void SetEditText(HWND hDlg, int id, const char* pszText);
// A click on list row nRow: the row becomes the selected one and the parent
// gets NM_CLICK. nRow -1 is a click on empty space below the rows.
void ClickListRow(HWND hDlg, int listId, int nRow);
// The same with real mouse messages at the row's rectangle.
void MouseClickListRow(HWND hDlg, int listId, int nRow);

enum class Icon { None, Warning, Question, Error, Information, Other };

struct MessageBoxRecord {
    std::string caption;
    std::string text;
    std::vector<int> buttons;   // IDOK, IDYES, ... in dialog order
    Icon icon = Icon::None;
    HWND hOwner = nullptr;
    int answer = 0;
};

// Answers every message box of this thread while it lives: records it and
// presses the next scripted answer (or the first button when none is left).
class MessageBoxRecorder
{
public:
    explicit MessageBoxRecorder(std::vector<int> answers = {});
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    std::vector<MessageBoxRecord> boxes;
    void Script(std::vector<int> answers) { m_answers = std::move(answers); }

private:
    static LRESULT CALLBACK CbtProc(int nCode, WPARAM wParam, LPARAM lParam);
    void OnActivate(HWND hWnd);

    HHOOK m_hHook = nullptr;
    std::vector<int> m_answers;
};

// While it lives, calls onDialog for each dialog of the framework that is
// activated on this thread (once per window), and ends every such dialog
// with -2 when the watchdog fires, so that a broken test fails instead of
// hanging.
class DialogDriver
{
public:
    DialogDriver(std::function<void(HWND)> onDialog, DWORD watchdogMs = 10000);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    bool timedOut = false;
    std::vector<HWND> seen;
    // Dialogs that were up before (such as the main dialog): their
    // activations are not reported.
    std::vector<HWND> ignored;

private:
    static LRESULT CALLBACK CbtProc(int nCode, WPARAM wParam, LPARAM lParam);
    static void CALLBACK OnWatchdog(HWND, UINT, UINT_PTR, DWORD);

    std::function<void(HWND)> m_onDialog;
    HHOOK m_hHook = nullptr;
    UINT_PTR m_timer = 0;
};

}  // namespace gui
