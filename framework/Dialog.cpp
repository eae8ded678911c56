#include "Dialog.h"

#include "WinApp.h"

namespace {
const char kDialogProp[] = "Zorvalia.CDialog";
}

// ---- data exchange ---------------------------------------------------------

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWnd = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    m_idLastControl = nIDC;
    return hWnd;
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (pDX->m_bFail || rControl.m_hWnd)
        return;
    rControl.SubclassWindow(pDX->PrepareCtrl(nIDC));
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    if (pDX->m_bFail)
        return;
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        CString text;
        int n = ::GetWindowTextLengthA(hWnd);
        if (n > 0) {
            ::GetWindowTextA(hWnd, text.GetBuffer(n), n + 1);
            text.ReleaseBuffer();
        }
        value = text;
    } else {
        ::SetWindowTextA(hWnd, value);
    }
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (pDX->m_bFail || !pDX->m_idLastControl)
        return;
    HWND hWnd = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, pDX->m_idLastControl);
    if (!pDX->m_bSaveAndValidate) {
        char szClass[16] = "";
        ::GetClassNameA(hWnd, szClass, sizeof(szClass));
        if (lstrcmpiA(szClass, "Edit") == 0)
            ::SendMessageA(hWnd, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
        return;
    }
    if (value.GetLength() > nChars) {
        CString msg;
        msg.Format("Geben Sie nicht mehr als %d Zeichen ein.", nChars);
        AfxMessageBox(msg, MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(hWnd);
        pDX->m_bFail = TRUE;
    }
}

// ---- the dialog ------------------------------------------------------------

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

CDialog::~CDialog()
{
    // A modeless dialog that still exists is destroyed with its object; a
    // modal one is always gone by now.
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

INT_PTR CDialog::DoModal()
{
    m_nEndResult = 0;
    HWND hOwner = GetSafeOwner(m_pParentWnd);
    return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nIDTemplate), hOwner,
                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::Create(CWnd* pParentWnd)
{
    m_nEndResult = 0;
    HWND hWnd = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nIDTemplate),
                                     pParentWnd ? pParentWnd->m_hWnd : nullptr, &CDialog::DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    return hWnd != nullptr;
}

void CDialog::EndDialog(int nResult)
{
    m_nEndResult = nResult;
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFail;
}

void CDialog::PaintMinimizedIcon(HICON hIcon)
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    int cxIcon = ::GetSystemMetrics(SM_CXICON);
    int cyIcon = ::GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    int x = (rect.right - rect.left - cxIcon + 1) / 2;
    int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    ::DrawIcon(hdc, x, y, hIcon);
    ::EndPaint(m_hWnd, &ps);
}

CDialog* CDialog::FromHandle(HWND hWnd)
{
    return static_cast<CDialog*>(::GetPropA(hWnd, kDialogProp));
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

HBRUSH CDialog::OnCtlColor(HDC hdc, HWND hCtl, UINT nCtlColor)
{
    // What a dialog's default processing ends in for these messages.
    return reinterpret_cast<HBRUSH>(::DefWindowProcA(m_hWnd, WM_CTLCOLORMSGBOX + nCtlColor,
                                                     reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hCtl)));
}

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // Enter and Escape arrive as IDOK and IDCANCEL, whether or not a button
    // with that id exists; so does the close box (IDCANCEL).
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK && (lParam == 0 || HIWORD(wParam) == BN_CLICKED)) {
        OnOK();
        *pResult = 0;
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL &&
        (lParam == 0 || HIWORD(wParam) == BN_CLICKED)) {
        OnCancel();
        *pResult = 0;
        return TRUE;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

LRESULT CDialog::DefWindowProc(UINT, WPARAM, LPARAM)
{
    // The default processing of a dialog runs after the dialog procedure
    // returns FALSE; remember that it was asked for.
    m_bPassedOn = TRUE;
    return 0;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* pDlg;
    if (message == WM_INITDIALOG) {
        pDlg = reinterpret_cast<CDialog*>(lParam);
        pDlg->m_hWnd = hWnd;
        ::SetWindowLongPtrA(hWnd, DWLP_USER, reinterpret_cast<LONG_PTR>(pDlg));
        ::SetPropA(hWnd, kDialogProp, pDlg);
        return pDlg->OnInitDialog();
    }
    pDlg = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    if (!pDlg)
        return FALSE;
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        ::RemovePropA(hWnd, kDialogProp);
        pDlg->m_hWnd = nullptr;
        return FALSE;
    }

    BOOL bPassedOnBefore = pDlg->m_bPassedOn;
    pDlg->m_bPassedOn = FALSE;
    LRESULT result = 0;
    BOOL bHandled = pDlg->OnWndMsg(message, wParam, lParam, &result);
    BOOL bPassedOn = pDlg->m_bPassedOn;
    pDlg->m_bPassedOn = bPassedOnBefore;
    if (!bHandled || bPassedOn)
        return FALSE;

    switch (message) {
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return static_cast<INT_PTR>(result);
    default:
        ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
}
