// The minimized dialog draws the program icon itself.
#include "OrdavinDlg.h"

void COrdavinDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    int cxIcon = ::GetSystemMetrics(SM_CXICON);
    int cyIcon = ::GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    int x = (rect.right - rect.left - cxIcon + 1) / 2;
    int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    ::DrawIcon(hdc, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &ps);
}

HCURSOR COrdavinDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}
