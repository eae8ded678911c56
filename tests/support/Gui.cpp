#include "Gui.h"

#include "../../framework/Dialog.h"

#include <commctrl.h>

namespace gui {

void Pump(DWORD maxMs)
{
    DWORD start = ::GetTickCount();
    DWORD quiet = ::GetTickCount();
    for (;;) {
        MSG msg;
        bool any = false;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        DWORD now = ::GetTickCount();
        if (any)
            quiet = now;
        if (now - start >= maxMs || now - quiet >= 30)
            return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::string Text(HWND hWnd)
{
    int n = ::GetWindowTextLengthA(hWnd);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    int got = ::GetWindowTextA(hWnd, &s[0], n + 1);
    s.resize(static_cast<size_t>(got > 0 ? got : 0));
    return s;
}

std::string ControlText(HWND hDlg, int id)
{
    return Text(::GetDlgItem(hDlg, id));
}

bool IsVisible(HWND hDlg, int id)
{
    return (::GetWindowLongPtrA(::GetDlgItem(hDlg, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

bool IsEnabled(HWND hDlg, int id)
{
    return ::IsWindowEnabled(::GetDlgItem(hDlg, id)) != FALSE;
}

void ClickButton(HWND hDlg, int id)
{
    ::SendMessageA(::GetDlgItem(hDlg, id), BM_CLICK, 0, 0);
}

void SendCommand(HWND hDlg, int id, int code)
{
    ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, id)));
}

void SetEditText(HWND hDlg, int id, const char* pszText)
{
    ::SetWindowTextA(::GetDlgItem(hDlg, id), pszText);
}

void ClickListRow(HWND hDlg, int listId, int nRow)
{
    HWND hList = ::GetDlgItem(hDlg, listId);
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    ::SendMessageA(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    if (nRow >= 0) {
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageA(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&item));
    }
    NMITEMACTIVATE nm = {};
    nm.hdr.hwndFrom = hList;
    nm.hdr.idFrom = static_cast<UINT_PTR>(listId);
    nm.hdr.code = NM_CLICK;
    nm.iItem = nRow;
    nm.iSubItem = 0;
    ::SendMessageA(hDlg, WM_NOTIFY, static_cast<WPARAM>(listId), reinterpret_cast<LPARAM>(&nm));
}

void MouseClickListRow(HWND hDlg, int listId, int nRow)
{
    HWND hList = ::GetDlgItem(hDlg, listId);
    RECT rc = {};
    if (nRow >= 0) {
        rc.left = LVIR_LABEL;
        ::SendMessageA(hList, LVM_GETITEMRECT, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&rc));
    } else {
        // Below the last row, inside the client area.
        RECT client;
        ::GetClientRect(hList, &client);
        rc = {client.left + 5, client.bottom - 4, client.left + 7, client.bottom - 2};
    }
    LPARAM pt = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    // The list view runs a drag-detection loop on the button-down; the
    // button-up waiting in the queue ends it, and NM_CLICK follows.
    ::PostMessageA(hList, WM_LBUTTONUP, 0, pt);
    ::SendMessageA(hList, WM_LBUTTONDOWN, MK_LBUTTON, pt);
    Pump(100);
}

// ---- message boxes ---------------------------------------------------------

namespace {
MessageBoxRecorder* g_pRecorder = nullptr;
DialogDriver* g_pDriver = nullptr;

bool IsMessageBox(HWND hWnd)
{
    char cls[16] = "";
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    return lstrcmpA(cls, "#32770") == 0 && !CDialog::FromHandle(hWnd) && ::GetDlgItem(hWnd, 0xFFFF) != nullptr;
}

Icon IconOf(HWND hBox)
{
    // The icon's static is 0x14 on Windows and 0x440 in Wine.
    HWND hIcon = ::GetDlgItem(hBox, 0x14);
    if (!hIcon)
        hIcon = ::GetDlgItem(hBox, 0x440);
    if (!hIcon)
        return Icon::None;
    HICON h = reinterpret_cast<HICON>(::SendMessageA(hIcon, STM_GETICON, 0, 0));
    if (!h)
        return Icon::None;
    if (h == ::LoadIconA(nullptr, IDI_EXCLAMATION))
        return Icon::Warning;
    if (h == ::LoadIconA(nullptr, IDI_QUESTION))
        return Icon::Question;
    if (h == ::LoadIconA(nullptr, IDI_HAND))
        return Icon::Error;
    if (h == ::LoadIconA(nullptr, IDI_ASTERISK))
        return Icon::Information;
    return Icon::Other;
}
}  // namespace

MessageBoxRecorder::MessageBoxRecorder(std::vector<int> answers) : m_answers(std::move(answers))
{
    g_pRecorder = this;
    m_hHook = ::SetWindowsHookExA(WH_CBT, &MessageBoxRecorder::CbtProc, nullptr, ::GetCurrentThreadId());
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    if (m_hHook)
        ::UnhookWindowsHookEx(m_hHook);
    if (g_pRecorder == this)
        g_pRecorder = nullptr;
}

LRESULT CALLBACK MessageBoxRecorder::CbtProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_ACTIVATE && g_pRecorder && IsMessageBox(reinterpret_cast<HWND>(wParam)))
        g_pRecorder->OnActivate(reinterpret_cast<HWND>(wParam));
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

void MessageBoxRecorder::OnActivate(HWND hWnd)
{
    for (const MessageBoxRecord& r : boxes)
        if (r.answer == 0)
            return;   // activated again before our answer arrived
    MessageBoxRecord rec;
    rec.caption = Text(hWnd);
    rec.text = Text(::GetDlgItem(hWnd, 0xFFFF));
    for (int id : {IDOK, IDYES, IDNO, IDCANCEL, IDABORT, IDRETRY, IDIGNORE})
        if (::GetDlgItem(hWnd, id))
            rec.buttons.push_back(id);
    rec.icon = IconOf(hWnd);
    rec.hOwner = ::GetWindow(hWnd, GW_OWNER);
    int answer = 0;
    if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.erase(m_answers.begin());
    } else if (!rec.buttons.empty()) {
        answer = rec.buttons.front();
    }
    rec.answer = answer;
    boxes.push_back(rec);
    ::PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
}

// ---- modal dialogs ---------------------------------------------------------

DialogDriver::DialogDriver(std::function<void(HWND)> onDialog, DWORD watchdogMs) : m_onDialog(std::move(onDialog))
{
    g_pDriver = this;
    m_hHook = ::SetWindowsHookExA(WH_CBT, &DialogDriver::CbtProc, nullptr, ::GetCurrentThreadId());
    m_timer = ::SetTimer(nullptr, 0, watchdogMs, &DialogDriver::OnWatchdog);
}

DialogDriver::~DialogDriver()
{
    if (m_timer)
        ::KillTimer(nullptr, m_timer);
    if (m_hHook)
        ::UnhookWindowsHookEx(m_hHook);
    if (g_pDriver == this)
        g_pDriver = nullptr;
}

LRESULT CALLBACK DialogDriver::CbtProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_ACTIVATE && g_pDriver) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        if (CDialog::FromHandle(hWnd)) {
            bool known = false;
            for (HWND h : g_pDriver->seen)
                known = known || h == hWnd;
            for (HWND h : g_pDriver->ignored)
                known = known || h == hWnd;
            if (!known) {
                g_pDriver->seen.push_back(hWnd);
                if (g_pDriver->m_onDialog)
                    g_pDriver->m_onDialog(hWnd);
            }
        }
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

void CALLBACK DialogDriver::OnWatchdog(HWND, UINT, UINT_PTR, DWORD)
{
    if (!g_pDriver)
        return;
    g_pDriver->timedOut = true;
    for (HWND h : g_pDriver->seen)
        if (::IsWindow(h))
            ::EndDialog(h, -2);
}

}  // namespace gui
