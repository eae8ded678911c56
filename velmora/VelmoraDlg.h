// CVelmoraDlg: Velmora's one window, dialog 102. It shows the version of the
// common-controls library with the verdict whether the viewer needs an
// update, and ends with IDOK ("Jetzt Updaten...") or IDCANCEL.
#pragma once

#include "../framework/Controls.h"
#include "../framework/Dialog.h"

class CVelmoraDlg : public CDialog
{
public:
    explicit CVelmoraDlg(CWnd* pParent = nullptr);

    CStatic m_staticVersion;   // control 1005, the version line
    CString m_strMessage;      // control 1000, the verdict; at most 256 characters
    HICON m_hIcon;             // icon 128; shared, never destroyed

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Fills the version line and the verdict and locks "Jetzt Updaten..."
    // for versions above 5.80.
    BOOL OnInitDialog() override;

    void OnPaint();
    HCURSOR OnQueryDragIcon();

    DECLARE_MESSAGE_MAP()
};
