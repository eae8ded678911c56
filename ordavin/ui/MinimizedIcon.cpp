// The minimized dialog draws the program icon itself.
#include "OrdavinDlg.h"

void COrdavinDlg::OnPaint()
{
    if (IsIconic())
        PaintMinimizedIcon(m_hIcon);
    else
        Default();
}

HCURSOR COrdavinDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}
