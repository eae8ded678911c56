#include "AboutDlg.h"

#include "../../framework/RegKey.h"
#include "../res/resource.h"

#include <shellapi.h>

namespace {

// The maker's addresses; dialog 100 shows the same texts.
const char kWebSite[] = "http://www.quendramark.de";
const char kMailTarget[] = "mailto:info@quendramark.de";

const COLORREF kLinkColor = RGB(0, 0, 255);
const COLORREF kVisitedLinkColor = RGB(128, 0, 128);

// The system's registration values are read into buffers of this size; a
// longer value is not shown at all.
const DWORD kValueBuffer = 128;

// Asks the shell to open a link target; TRUE when it did.
BOOL OpenLink(LPCSTR pszTarget)
{
    HINSTANCE hResult = ::ShellExecuteA(nullptr, "open", pszTarget, nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(hResult) > 32;
}

}  // namespace

LPCSTR RegisteredOwnerKey(DWORD dwVersion)
{
    if (!(dwVersion & 0x80000000))
        return "Software\\Microsoft\\Windows NT\\CurrentVersion";
    if (LOBYTE(LOWORD(dwVersion)) >= 4)
        return "Software\\Microsoft\\Windows\\CurrentVersion";
    return nullptr;
}

CString FormatRegisteredOwner(LPCSTR pszOwner, LPCSTR pszOrganization)
{
    // The second line break is a bare line feed; the organisation is
    // indented by 13 spaces below its label.
    CString text;
    text.Format("Registrierter Anwender: %s\r\nOrganisation bzw. Firma oder Institution:\n             %s\r\n\r\n",
                pszOwner, pszOrganization);
    return text;
}

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX, nullptr)
{
}

// The link font is deleted by its owner when the dialog object goes; the
// window, and with it every control that drew with the font, is gone by then.
CAboutDlg::~CAboutDlg() = default;

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    ON_WM_CTLCOLOR()
    ON_WM_SETCURSOR()
    ON_STN_CLICKED(IDC_WEB_LINK, OnWebLink)
    ON_STN_CLICKED(IDC_MAIL_LINK, OnMailLink)
END_MESSAGE_MAP()

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowRegisteredOwner();
    m_hLinkCursor = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_LINK_HAND));
    m_bWebVisited = FALSE;
    m_bMailVisited = FALSE;
    return TRUE;
}

void CAboutDlg::ShowRegisteredOwner()
{
    LPCSTR pszKey = RegisteredOwnerKey(::GetVersion());
    if (!pszKey)
        return;
    CRegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, pszKey, KEY_QUERY_VALUE) != ERROR_SUCCESS || !key.m_hKey)
        return;
    // Each value must fit its buffer with a terminator; one that does not
    // (or is no text) leaves the template's text in place.
    char szOwner[kValueBuffer];
    char szOrganization[kValueBuffer];
    if (!key.QueryString("RegisteredOwner", szOwner, kValueBuffer) ||
        !key.QueryString("RegisteredOrganization", szOrganization, kValueBuffer))
        return;
    CString text = FormatRegisteredOwner(szOwner, szOrganization);
    ::SendDlgItemMessageA(m_hWnd, IDC_REGISTERED_OWNER, WM_SETTEXT, kValueBuffer,
                          reinterpret_cast<LPARAM>(text.GetString()));
}

HBRUSH CAboutDlg::OnCtlColor(HDC hdc, HWND hCtl, UINT nCtlColor)
{
    HBRUSH hbr = CDialog::OnCtlColor(hdc, hCtl, nCtlColor);
    int nID = ::GetDlgCtrlID(hCtl);
    if (nID != IDC_WEB_LINK && nID != IDC_MAIL_LINK)
        return hbr;

    LOGFONTA lf = {};
    HFONT hDlgFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (hDlgFont && ::GetObjectA(hDlgFont, sizeof(lf), &lf) == sizeof(lf)) {
        lf.lfUnderline = TRUE;
        CFont fontLink;
        if (fontLink.CreateFontIndirect(&lf)) {
            // The new font goes into the context before the previous one is
            // deleted: this context may still hold the previous one. A
            // control that drew with it has put its own font back since.
            ::SelectObject(hdc, fontLink);
            m_fontLink.Attach(fontLink.Detach());
        }
    }
    BOOL bVisited = nID == IDC_WEB_LINK ? m_bWebVisited : m_bMailVisited;
    ::SetTextColor(hdc, bVisited ? kVisitedLinkColor : kLinkColor);
    return hbr;
}

BOOL CAboutDlg::OnSetCursor(HWND hWnd, UINT, UINT)
{
    // Over a static without SS_NOTIFY (the "-" between the links) the
    // message names the dialog itself: such statics are transparent to the
    // mouse.
    if (m_hLinkCursor && (hWnd == GetDlgItem(IDC_WEB_LINK) || hWnd == GetDlgItem(IDC_MAIL_LINK))) {
        ::SetCursor(m_hLinkCursor);
        return TRUE;
    }
    return static_cast<BOOL>(Default());
}

void CAboutDlg::OnWebLink()
{
    if (OpenLink(kWebSite)) {
        m_bWebVisited = TRUE;
        Invalidate(TRUE);
        return;
    }
    CString strCaption;
    strCaption.LoadString(IDS_HELPER_CAPTION);
    MessageBox("Web-Seite konnte nicht geöffnet werden.", strCaption, 0);
}

void CAboutDlg::OnMailLink()
{
    if (OpenLink(kMailTarget)) {
        m_bMailVisited = TRUE;
        Invalidate(TRUE);
        return;
    }
    CString strCaption;
    strCaption.LoadString(IDS_HELPER_CAPTION);
    MessageBox("Das Email-Programm konnte nicht gefunden werden.", strCaption, 0);
}
