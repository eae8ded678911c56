#include "WindowDriver.h"

#include <commctrl.h>

#include <sstream>

namespace drive {

namespace {

// A failed Outcome built from streamed parts.
class Fail
{
public:
    template <typename T>
    Fail& operator<<(const T& value)
    {
        m_text << value;
        return *this;
    }
    operator Outcome() const { return Outcome::Failure(m_text.str()); }

private:
    std::ostringstream m_text;
};

struct EnumState {
    DWORD pid;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam)
{
    EnumState* pState = reinterpret_cast<EnumState*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid == pState->pid && ::IsWindowVisible(hWnd))
        pState->windows.push_back(hWnd);
    return TRUE;
}

bool IsDialogClass(HWND hWnd)
{
    char szClass[16] = "";
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    return lstrcmpA(szClass, "#32770") == 0;
}

// Memory in the process that owns a window, for the messages whose
// pointers the system does not carry between processes.
class RemoteBuffer
{
public:
    RemoteBuffer(HWND hWnd, SIZE_T cb) : m_cb(cb)
    {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hWnd, &pid);
        m_hProcess = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (m_hProcess)
            m_p = static_cast<char*>(::VirtualAllocEx(m_hProcess, nullptr, cb, MEM_COMMIT, PAGE_READWRITE));
    }
    ~RemoteBuffer()
    {
        if (m_p)
            ::VirtualFreeEx(m_hProcess, m_p, 0, MEM_RELEASE);
        if (m_hProcess)
            ::CloseHandle(m_hProcess);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool ok() const { return m_p != nullptr; }
    char* at(SIZE_T offset) const { return m_p + offset; }
    bool Write(SIZE_T offset, const void* pData, SIZE_T cb) const
    {
        return m_p && offset + cb <= m_cb && ::WriteProcessMemory(m_hProcess, m_p + offset, pData, cb, nullptr);
    }
    bool Read(SIZE_T offset, void* pData, SIZE_T cb) const
    {
        return m_p && offset + cb <= m_cb && ::ReadProcessMemory(m_hProcess, m_p + offset, pData, cb, nullptr);
    }

private:
    HANDLE m_hProcess = nullptr;
    char* m_p = nullptr;
    SIZE_T m_cb;
};

// LVITEMA as a 32-bit process (one under WOW64) lays it out: pointers of
// four bytes and no padding before them. A list view of such a process
// reads the structure this way, whoever sent the message.
struct LVITEMA32 {
    UINT mask;
    int iItem;
    int iSubItem;
    UINT state;
    UINT stateMask;
    ULONG pszText;
    int cchTextMax;
    int iImage;
    ULONG lParam;
    int iIndent;
};

bool IsWow64Window(HWND hWnd)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    HANDLE hProcess = ::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    BOOL bWow64 = FALSE;
    if (hProcess) {
        ::IsWow64Process(hProcess, &bWow64);
        ::CloseHandle(hProcess);
    }
    return bWow64 != FALSE;
}

// The left button pressed and released at a point of the screen that
// belongs to hTarget.
Outcome ClickAt(HWND hTarget, POINT pt)
{
    if (!::IsWindowVisible(hTarget) || !::IsWindowEnabled(hTarget))
        return Fail() << Describe(hTarget) << " is hidden or disabled";
    HWND hTop = ::GetAncestor(hTarget, GA_ROOT);
    ::SetForegroundWindow(hTop);
    if (!WaitUntil([&] { return ::GetForegroundWindow() == hTop; }, 3000))
        return Fail() << Describe(hTop) << " did not come to the foreground (it is "
                                             << Describe(::GetForegroundWindow()) << ")";
    ::SetCursorPos(pt.x, pt.y);
    HWND hHit = ::WindowFromPoint(pt);
    if (hHit != hTarget && !::IsChild(hTarget, hHit))
        return Fail() << "(" << pt.x << "," << pt.y << ") of " << Describe(hTarget)
                                             << " is covered by " << Describe(hHit);
    // Each event carries the point itself: under load, Wine's X11 driver
    // may still move the cursor after SetCursorPos (a late motion event of
    // the display), and a button event without a position then lands where
    // the cursor happens to be.
    const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input[3] = {};
    const DWORD flags[3] = {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 3; ++i) {
        input[i].type = INPUT_MOUSE;
        input[i].mi.dx = MulDiv(pt.x, 65535, cx - 1);
        input[i].mi.dy = MulDiv(pt.y, 65535, cy - 1);
        input[i].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags[i];
    }
    if (::SendInput(3, input, sizeof(INPUT)) != 3) {
        DWORD dwError = ::GetLastError();
        return Fail() << "SendInput failed, error " << dwError;
    }
    return Outcome::Success();
}

}  // namespace

// ---- the process -----------------------------------------------------------

Process::~Process()
{
    if (!m_pi.hProcess)
        return;
    if (IsRunning()) {
        ::TerminateProcess(m_pi.hProcess, 1);
        ::WaitForSingleObject(m_pi.hProcess, 5000);
    }
    ::CloseHandle(m_pi.hThread);
    ::CloseHandle(m_pi.hProcess);
}

Outcome Process::Start(const std::string& exe, const std::string& args,
                                                const std::string& curDir)
{
    std::string cmd = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    if (!::CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                          curDir.empty() ? nullptr : curDir.c_str(), &si, &m_pi)) {
        DWORD dwError = ::GetLastError();   // before the stream's locale calls
        return Fail() << "cannot start " << cmd << ", error " << dwError;
    }
    return Outcome::Success();
}

std::vector<HWND> Process::VisibleWindows() const
{
    EnumState state = {m_pi.dwProcessId, {}};
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&state));
    return state.windows;
}

HWND Process::WaitForDialog(const char* pszCaption, DWORD maxMs) const
{
    HWND hFound = nullptr;
    WaitUntil(
        [&] {
            for (HWND h : VisibleWindows())
                if (IsDialogClass(h) && Text(h) == pszCaption)
                    hFound = h;
            return hFound || !IsRunning();
        },
        maxMs);
    return hFound;
}

HWND Process::WaitForMessageBox(DWORD maxMs) const
{
    HWND hFound = nullptr;
    WaitUntil(
        [&] {
            for (HWND h : VisibleWindows())
                if (IsDialogClass(h) && ::GetDlgItem(h, 0xFFFF))
                    hFound = h;
            return hFound || !IsRunning();
        },
        maxMs);
    return hFound;
}

bool Process::WaitForExit(DWORD maxMs, DWORD* pExitCode) const
{
    if (::WaitForSingleObject(m_pi.hProcess, maxMs) != WAIT_OBJECT_0)
        return false;
    if (pExitCode)
        ::GetExitCodeProcess(m_pi.hProcess, pExitCode);
    return true;
}

bool Process::IsRunning() const
{
    return m_pi.hProcess && ::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

// ---- controls --------------------------------------------------------------

std::string Describe(HWND hWnd)
{
    char szClass[64] = "";
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    return std::string(szClass) + " \"" + Text(hWnd) + "\"";
}

std::string Text(HWND hWnd)
{
    DWORD_PTR cch = 0;
    if (!::SendMessageTimeoutA(hWnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &cch))
        return std::string();
    std::string s(cch + 1, '\0');
    DWORD_PTR got = 0;
    ::SendMessageTimeoutA(hWnd, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(&s[0]), SMTO_ABORTIFHUNG, 5000, &got);
    s.resize(got < cch ? got : cch);
    return s;
}

std::string ControlText(HWND hDlg, int id)
{
    return Text(::GetDlgItem(hDlg, id));
}

Outcome ClickWindow(HWND hWnd)
{
    RECT rc = {};
    if (!::GetWindowRect(hWnd, &rc))
        return Fail() << "no window " << hWnd;
    return ClickAt(hWnd, {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
}

Outcome ClickControl(HWND hDlg, int id)
{
    HWND hCtl = ::GetDlgItem(hDlg, id);
    if (!hCtl)
        return Fail() << Describe(hDlg) << " has no control " << id;
    return ClickWindow(hCtl);
}

// ---- list views ------------------------------------------------------------

int ListRowCount(HWND hList)
{
    return static_cast<int>(::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0));
}

std::string ListItemText(HWND hList, int nRow, int nColumn)
{
    const SIZE_T cchText = 1024;
    const bool b32 = IsWow64Window(hList);
    const SIZE_T cbItem = b32 ? sizeof(LVITEMA32) : sizeof(LVITEMA);
    RemoteBuffer remote(hList, cbItem + cchText);
    if (!remote.ok())
        return std::string();
    bool written;
    if (b32) {
        // The text buffer must lie where a 32-bit pointer reaches.
        ULONG_PTR text = reinterpret_cast<ULONG_PTR>(remote.at(cbItem));
        LVITEMA32 item = {};
        item.iSubItem = nColumn;
        item.pszText = static_cast<ULONG>(text);
        item.cchTextMax = static_cast<int>(cchText);
        written = item.pszText == text && remote.Write(0, &item, sizeof(item));
    } else {
        LVITEMA item = {};
        item.iSubItem = nColumn;
        item.pszText = remote.at(cbItem);
        item.cchTextMax = static_cast<int>(cchText);
        written = remote.Write(0, &item, sizeof(item));
    }
    if (!written)
        return std::string();
    ::SendMessageA(hList, LVM_GETITEMTEXTA, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(remote.at(0)));
    char szText[cchText] = "";
    remote.Read(cbItem, szText, cchText);
    szText[cchText - 1] = '\0';
    return szText;
}

int FindListRow(HWND hList, int nColumn, const std::string& text)
{
    for (int i = 0, n = ListRowCount(hList); i < n; ++i)
        if (ListItemText(hList, i, nColumn) == text)
            return i;
    return -1;
}

bool IsListRowSelected(HWND hList, int nRow)
{
    return (::SendMessageA(hList, LVM_GETITEMSTATE, static_cast<WPARAM>(nRow), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

bool ListRowPoint(HWND hList, int nRow, POINT* pPt)
{
    RECT rcClient;
    if (!::GetClientRect(hList, &rcClient))
        return false;
    int nTop = static_cast<int>(::SendMessageA(hList, LVM_GETTOPINDEX, 0, 0));
    int nPerPage = static_cast<int>(::SendMessageA(hList, LVM_GETCOUNTPERPAGE, 0, 0));
    int cyRow = HIWORD(::SendMessageA(hList, LVM_GETITEMSPACING, TRUE, 0));
    // The small-icon spacing is the row height of a report view under Wine;
    // where it is not, the rows that fit the page tell it.
    if (nPerPage > 0 && (cyRow <= 0 || cyRow * nPerPage > rcClient.bottom || cyRow * (nPerPage + 1) <= rcClient.bottom))
        cyRow = rcClient.bottom / nPerPage;
    if (cyRow <= 0 || nRow < nTop)
        return false;
    int y = (nRow - nTop) * cyRow + cyRow / 2;
    // The label begins past the state image and the small icon, and ends
    // with the first column.
    const int xLabel = 36;
    int xEnd = static_cast<int>(::SendMessageA(hList, LVM_GETCOLUMNWIDTH, 0, 0));
    if (xEnd <= xLabel || xEnd > rcClient.right)
        xEnd = rcClient.right;
    if (y >= rcClient.bottom || xEnd <= xLabel)
        return false;
    *pPt = {(xLabel + xEnd) / 2, y};
    return true;
}

Outcome ClickListRow(HWND hList, int nRow)
{
    // A person scrolls to a row that is out of view before clicking it;
    // the middle of a row cut off at the list's edge may be the border.
    // The row's place comes from messages that need no buffer in the
    // list's process: a 32-bit process under emulation cannot be reached.
    ::SendMessageA(hList, LVM_ENSUREVISIBLE, static_cast<WPARAM>(nRow), FALSE);
    POINT pt;
    if (!ListRowPoint(hList, nRow, &pt))
        return Fail() << "row " << nRow << " of " << Describe(hList) << " is out of view";
    ::ClientToScreen(hList, &pt);
    return ClickAt(hList, pt);
}

// ---- message boxes ---------------------------------------------------------

MessageBoxSeen ReadMessageBox(HWND hBox)
{
    MessageBoxSeen seen;
    seen.caption = Text(hBox);
    seen.text = ControlText(hBox, 0xFFFF);
    for (int id : {IDOK, IDYES, IDNO, IDCANCEL, IDABORT, IDRETRY, IDIGNORE})
        if (HWND h = ::GetDlgItem(hBox, id))
            if (::IsWindowVisible(h))
                seen.buttons.push_back(id);
    return seen;
}

Outcome AnswerMessageBox(HWND hBox, int nButton)
{
    std::string text = ControlText(hBox, 0xFFFF);
    Outcome clicked = ClickControl(hBox, nButton);
    if (!clicked)
        return Fail() << clicked.why << " (message box \"" << text << "\")";
    if (!WaitUntil([&] { return !::IsWindow(hBox) || !::IsWindowVisible(hBox); }))
        return Fail() << "the click on button " << nButton << " did not close \"" << text << "\"";
    return Outcome::Success();
}

Outcome AnswerMessageBox(const Process& process, int nButton, MessageBoxSeen* pSeen)
{
    HWND hBox = process.WaitForMessageBox();
    if (!hBox)
        return Fail() << "no message box appeared";
    *pSeen = ReadMessageBox(hBox);
    return AnswerMessageBox(hBox, nButton);
}

}  // namespace drive
