#include "BrowserDriver.h"

#include "Gui.h"

#include <commctrl.h>
#include <shlobj.h>

namespace gui {

namespace {
BrowserDriver* g_pBrowserDriver = nullptr;
}

BrowserDriver::BrowserDriver(std::string caption, std::function<void(HWND)> script, DWORD watchdogMs)
    : m_caption(std::move(caption)), m_script(std::move(script))
{
    g_pBrowserDriver = this;
    m_hHook = ::SetWindowsHookExA(WH_CBT, &BrowserDriver::CbtProc, nullptr, ::GetCurrentThreadId());
    m_watchdog = ::SetTimer(nullptr, 0, watchdogMs, &BrowserDriver::OnWatchdog);
}

BrowserDriver::~BrowserDriver()
{
    if (m_scriptTimer)
        ::KillTimer(nullptr, m_scriptTimer);
    if (m_watchdog)
        ::KillTimer(nullptr, m_watchdog);
    if (m_hHook)
        ::UnhookWindowsHookEx(m_hHook);
    if (g_pBrowserDriver == this)
        g_pBrowserDriver = nullptr;
}

LRESULT CALLBACK BrowserDriver::CbtProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    BrowserDriver* pDriver = g_pBrowserDriver;
    if (nCode == HCBT_ACTIVATE && pDriver && !pDriver->hBrowser) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        char cls[16] = "";
        ::GetClassNameA(hWnd, cls, sizeof(cls));
        if (lstrcmpA(cls, "#32770") == 0 && Text(hWnd) == pDriver->m_caption) {
            pDriver->hBrowser = hWnd;
            // Not from inside the hook: the script may open message boxes.
            pDriver->m_scriptTimer = ::SetTimer(nullptr, 0, 10, &BrowserDriver::OnScriptTimer);
        }
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

void CALLBACK BrowserDriver::OnScriptTimer(HWND, UINT, UINT_PTR, DWORD)
{
    BrowserDriver* pDriver = g_pBrowserDriver;
    if (!pDriver || !pDriver->m_scriptTimer)
        return;
    // Wine's dialog loop shows the browser only once its queue is empty,
    // which can be after the first timer tick.
    if (::IsWindow(pDriver->hBrowser) && !::IsWindowVisible(pDriver->hBrowser))
        return;
    ::KillTimer(nullptr, pDriver->m_scriptTimer);
    pDriver->m_scriptTimer = 0;
    pDriver->scriptRan = true;
    if (pDriver->m_script && ::IsWindow(pDriver->hBrowser))
        pDriver->m_script(pDriver->hBrowser);
}

void CALLBACK BrowserDriver::OnWatchdog(HWND, UINT, UINT_PTR, DWORD)
{
    BrowserDriver* pDriver = g_pBrowserDriver;
    if (!pDriver)
        return;
    ::KillTimer(nullptr, pDriver->m_watchdog);
    pDriver->m_watchdog = 0;
    pDriver->timedOut = true;
    if (pDriver->hBrowser && ::IsWindow(pDriver->hBrowser))
        ::EndDialog(pDriver->hBrowser, IDCANCEL);
}

bool SelectShellFolder(HWND hBrowser, int treeId, int nCsidl)
{
    LPITEMIDLIST pidl = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(hBrowser, nCsidl, &pidl)) || !pidl)
        return false;
    SHFILEINFOA info = {};
    DWORD_PTR got = ::SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidl), 0, &info, sizeof(info),
                                     SHGFI_PIDL | SHGFI_DISPLAYNAME);
    ::CoTaskMemFree(pidl);
    if (!got)
        return false;

    HWND hTree = ::GetDlgItem(hBrowser, treeId);
    HTREEITEM hRoot = reinterpret_cast<HTREEITEM>(::SendMessageA(hTree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    HTREEITEM hItem = reinterpret_cast<HTREEITEM>(
        ::SendMessageA(hTree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(hRoot)));
    for (; hItem; hItem = reinterpret_cast<HTREEITEM>(
                      ::SendMessageA(hTree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(hItem)))) {
        char text[MAX_PATH] = "";
        TVITEMA item = {};
        item.mask = TVIF_TEXT;
        item.hItem = hItem;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        ::SendMessageA(hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        if (lstrcmpA(text, info.szDisplayName) == 0) {
            // TVM_SELECTITEM makes the tree send TVN_SELCHANGED to the browser.
            return ::SendMessageA(hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hItem)) != 0;
        }
    }
    return false;
}

}  // namespace gui
