// CWnd: borrows a window handle; it never destroys the window.
//
// A CWnd is either plain (it only wraps m_hWnd) or subclasses its window:
// then the window's messages pass through the object's message map first and
// go on to the window's original procedure. The window property set while
// subclassed is the only link from the handle back to the object; it is
// removed when the window is destroyed, and the object forgets the handle.
#pragma once

#include "MessageMap.h"
#include "String.h"

class CWnd
{
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Wraps an existing window without subclassing it.
    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND Detach();

    // Routes the window's messages through this object's message map.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    void SetWindowText(LPCSTR pszText) { ::SetWindowTextA(m_hWnd, pszText); }
    CString GetWindowText() const;
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void GetClientRect(RECT* pRect) const { ::GetClientRect(m_hWnd, pRect); }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    HMENU GetSystemMenu(BOOL bRevert) const { return ::GetSystemMenu(m_hWnd, bRevert); }
    // A message box owned by this window; a null caption is the
    // application name.
    int MessageBox(LPCSTR pszText, LPCSTR pszCaption = nullptr, UINT nType = MB_OK) const;
    HICON SetIcon(HICON hIcon, BOOL bBigIcon)
    {
        return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL,
                                                   reinterpret_cast<LPARAM>(hIcon)));
    }

    // The window a dialog or message box without parent should be owned by:
    // the top-level window of pParent, or else the application's main window
    // or its last active pop-up.
    static HWND GetSafeOwner(CWnd* pParent);

    // Passes a message through the message map, then to the default
    // processing. Subclassed windows and dialogs call this for every message.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // The message map; the root takes nothing.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The processing of a message the map did not take: the subclassed
    // window's original procedure, or DefWindowProc.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The message being handled right now, so that a handler can hand it on
    // to Default().
    LRESULT Default();

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    WNDPROC m_pfnSuper = nullptr;
    struct CurrentMessage { UINT message; WPARAM wParam; LPARAM lParam; };
    CurrentMessage m_current = {0, 0, 0};
};
