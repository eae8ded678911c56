// Message maps compiled to code.
//
// BEGIN_MESSAGE_MAP(cls, base) ... END_MESSAGE_MAP() defines
// cls::OnWndMsg(message, wParam, lParam, pResult) as a chain of tests. Each
// entry cracks the parameters once and calls a typed member; the first entry
// that matches handles the message and stores its result in *pResult. A
// message no entry takes goes to base::OnWndMsg, and from the root class on
// to the window's default processing.
//
// A dialog procedure turns *pResult into its return value or DWLP_MSGRESULT
// (see CDialog); handlers never deal with that.
#pragma once

#include <windows.h>
#include <commctrl.h>

#define DECLARE_MESSAGE_MAP() \
protected: \
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    BOOL theClass::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) \
    { \
        typedef baseClass TheBaseClass; \
        (void)wParam; (void)lParam;

#define END_MESSAGE_MAP() \
        return TheBaseClass::OnWndMsg(message, wParam, lParam, pResult); \
    }

// void OnPaint()
#define ON_WM_PAINT() \
    if (message == WM_PAINT) { OnPaint(); *pResult = 0; return TRUE; }

// BOOL OnEraseBkgnd(HDC hdc)
#define ON_WM_ERASEBKGND() \
    if (message == WM_ERASEBKGND) { *pResult = OnEraseBkgnd(reinterpret_cast<HDC>(wParam)); return TRUE; }

// void OnSize(UINT nType, int cx, int cy)
#define ON_WM_SIZE() \
    if (message == WM_SIZE) { \
        OnSize(static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))); \
        *pResult = 0; return TRUE; }

// HCURSOR OnQueryDragIcon()   (the result is returned directly)
#define ON_WM_QUERYDRAGICON() \
    if (message == WM_QUERYDRAGICON) { *pResult = reinterpret_cast<LRESULT>(OnQueryDragIcon()); return TRUE; }

// HBRUSH OnCtlColor(HDC hdc, HWND hCtl, UINT nCtlColor)   for all WM_CTLCOLOR*
// messages; nCtlColor is CTLCOLOR_MSGBOX ... CTLCOLOR_STATIC (the brush is
// returned directly)
#define ON_WM_CTLCOLOR() \
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) { \
        *pResult = reinterpret_cast<LRESULT>(OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), \
                                                        message - WM_CTLCOLORMSGBOX)); \
        return TRUE; }

// BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message)   TRUE: the cursor is set
#define ON_WM_SETCURSOR() \
    if (message == WM_SETCURSOR) { \
        *pResult = OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam)); return TRUE; }

// void OnSysCommand(UINT nID, LPARAM lParam)
#define ON_WM_SYSCOMMAND() \
    if (message == WM_SYSCOMMAND) { OnSysCommand(static_cast<UINT>(wParam), lParam); *pResult = 0; return TRUE; }

// LRESULT OnSetText(WPARAM, LPARAM) / LRESULT OnGetText(WPARAM, LPARAM)
#define ON_MESSAGE(msg, memberFxn) \
    if (message == (msg)) { *pResult = memberFxn(wParam, lParam); return TRUE; }

// void OnCommandHandler()   for WM_COMMAND with this control id and code
#define ON_CONTROL(notifyCode, id, memberFxn) \
    if (message == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == (notifyCode)) { \
        memberFxn(); *pResult = 0; return TRUE; }

// void OnCommandHandler()   for WM_COMMAND with this id, any code
#define ON_COMMAND(id, memberFxn) \
    if (message == WM_COMMAND && LOWORD(wParam) == (id)) { memberFxn(); *pResult = 0; return TRUE; }

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
// A click on a static control with SS_NOTIFY.
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)

// void OnNotifyHandler(NMHDR* pNMHDR, LRESULT* pResult)
#define ON_NOTIFY(notifyCode, id, memberFxn) \
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->idFrom == static_cast<UINT_PTR>(id) && \
        reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(notifyCode)) { \
        *pResult = 0; memberFxn(reinterpret_cast<NMHDR*>(lParam), pResult); return TRUE; }
