#include "Wnd.h"

#include "WinApp.h"

#include <unordered_map>

namespace {
// The subclassed windows of the process and their CWnd objects. A window
// property would do the same, but Wine asks its server for every property
// lookup: once per message, that cost more than most controls' own work
// (a list row's text, 40 us a message).
class CSubclassMap
{
public:
    CSubclassMap() { ::InitializeCriticalSection(&m_cs); }
    ~CSubclassMap() { ::DeleteCriticalSection(&m_cs); }

    CWnd* Find(HWND hWnd)
    {
        ::EnterCriticalSection(&m_cs);
        auto it = m_map.find(hWnd);
        CWnd* pWnd = it == m_map.end() ? nullptr : it->second;
        ::LeaveCriticalSection(&m_cs);
        return pWnd;
    }
    // FALSE when the window has an object already.
    BOOL Add(HWND hWnd, CWnd* pWnd)
    {
        ::EnterCriticalSection(&m_cs);
        BOOL bAdded = m_map.emplace(hWnd, pWnd).second;
        ::LeaveCriticalSection(&m_cs);
        return bAdded;
    }
    void Remove(HWND hWnd)
    {
        ::EnterCriticalSection(&m_cs);
        m_map.erase(hWnd);
        ::LeaveCriticalSection(&m_cs);
    }

private:
    CRITICAL_SECTION m_cs;
    std::unordered_map<HWND, CWnd*> m_map;
};

CSubclassMap& SubclassedWindows()
{
    static CSubclassMap s_map;
    return s_map;
}
}  // namespace

CWnd::~CWnd()
{
    // A control object that dies before its window hands the window back to
    // its original procedure; the window itself is not ours to destroy.
    if (m_pfnSuper && m_hWnd && ::IsWindow(m_hWnd))
        UnsubclassWindow();
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || m_pfnSuper || !SubclassedWindows().Add(hWnd, this))
        return FALSE;
    m_hWnd = hWnd;
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    return pParent ? SubclassWindow(::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID))) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (!m_pfnSuper)
        return nullptr;
    HWND hWnd = m_hWnd;
    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    SubclassedWindows().Remove(hWnd);
    m_pfnSuper = nullptr;
    m_hWnd = nullptr;
    return hWnd;
}

CString CWnd::GetWindowText() const
{
    CString text;
    int n = ::GetWindowTextLengthA(m_hWnd);
    if (n > 0) {
        // The length may be an overestimate (double-byte text); the copy ends
        // at the terminator GetWindowTextA writes.
        ::GetWindowTextA(m_hWnd, text.GetBuffer(n), n + 1);
        text.ReleaseBuffer();
    }
    return text;
}

int CWnd::MessageBox(LPCSTR pszText, LPCSTR pszCaption, UINT nType) const
{
    if (!pszCaption) {
        CWinApp* pApp = AfxGetApp();
        pszCaption = pApp && pApp->m_pszAppName ? pApp->m_pszAppName : "";
    }
    return ::MessageBoxA(m_hWnd, pszText, pszCaption, nType);
}

HWND CWnd::GetSafeOwner(CWnd* pParent)
{
    HWND hWnd = pParent ? pParent->m_hWnd : nullptr;
    if (!hWnd) {
        CWinApp* pApp = AfxGetApp();
        if (pApp && pApp->m_pMainWnd)
            hWnd = pApp->m_pMainWnd->m_hWnd;
    }
    if (!hWnd || !::IsWindow(hWnd))
        return nullptr;
    // Walk up to the top-level window, then to its last active pop-up.
    HWND hTop = hWnd;
    while (::GetWindowLongPtrA(hTop, GWL_STYLE) & WS_CHILD) {
        HWND hParent = ::GetParent(hTop);
        if (!hParent)
            break;
        hTop = hParent;
    }
    return ::GetLastActivePopup(hTop);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CurrentMessage saved = m_current;
    m_current = {message, wParam, lParam};
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    m_current = saved;
    return result;
}

BOOL CWnd::OnWndMsg(UINT, WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = SubclassedWindows().Find(hWnd);
    if (!pWnd)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // Last message: let the original procedure finish, then let go.
        WNDPROC pfnSuper = pWnd->m_pfnSuper;
        pWnd->UnsubclassWindow();
        return ::CallWindowProcA(pfnSuper, hWnd, message, wParam, lParam);
    }
    return pWnd->WindowProc(message, wParam, lParam);
}
