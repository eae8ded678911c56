// CAboutDlg: the About dialog (resource 100), opened from the system menu
// and from the notes dialog. It shows the registered owner, and two links
// (web site and mail) that the shell opens.
#pragma once

#include "../../framework/Dialog.h"
#include "../../framework/Gdi.h"

// The registration key below HKEY_LOCAL_MACHINE for a GetVersion result:
// the NT key, the Windows key from version 4 on, or null for older systems.
LPCSTR RegisteredOwnerKey(DWORD dwVersion);
// The text control 1026 shows for an owner and organisation.
CString FormatRegisteredOwner(LPCSTR pszOwner, LPCSTR pszOrganization);

class CAboutDlg : public CDialog
{
public:
    CAboutDlg();
    ~CAboutDlg() override;

    // Replaces the text of control 1026 by the registered owner and
    // organisation; leaves it alone when either cannot be read.
    void ShowRegisteredOwner();

    BOOL m_bWebVisited = FALSE;    // the web link was opened in this showing
    BOOL m_bMailVisited = FALSE;   // the mail link was opened in this showing
    CFont m_fontLink;              // the underlined dialog font of both links
    HCURSOR m_hLinkCursor = nullptr;

protected:
    BOOL OnInitDialog() override;

    HBRUSH OnCtlColor(HDC hdc, HWND hCtl, UINT nCtlColor);
    BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message);
    void OnWebLink();
    void OnMailLink();

    DECLARE_MESSAGE_MAP()
};
