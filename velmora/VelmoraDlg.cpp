#include "VelmoraDlg.h"

#include "DllVersion.h"
#include "res/resource.h"

namespace {
const char kUpdateNotNeeded[] =
    "MELDUNG: Ein Update ist nicht erforderlich, damit Texorra 3.0 auf Ihrem System laufen kann!";
const char kUpdateNeeded[] =
    "MELDUNG: Ein Update ist dringend erforderlich, damit Texorra 3.0 auf Ihrem System laufen kann!";
const int kMaxMessageChars = 256;
}  // namespace

CVelmoraDlg::CVelmoraDlg(CWnd* pParent)
    : CDialog(IDD_VELMORA_DIALOG, pParent),
      // LoadIcon hands out a shared icon that lives as long as the module.
      m_hIcon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME)))
{
}

void CVelmoraDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_VERSION, m_staticVersion);
    DDX_Text(pDX, IDC_MESSAGE, m_strMessage);
    DDV_MaxChars(pDX, m_strMessage, kMaxMessageChars);
}

BEGIN_MESSAGE_MAP(CVelmoraDlg, CDialog)
    // void OnPaint()
    ON_WM_PAINT()
    // HCURSOR OnQueryDragIcon()
    ON_WM_QUERYDRAGICON()
END_MESSAGE_MAP()

BOOL CVelmoraDlg::OnInitDialog()
{
    // The exchange writes the still empty m_strMessage into control 1000.
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    DLLVERSIONINFO dvi;
    ReadComCtlVersion(&dvi);
    // %lu: the fields are DWORDs; for every real version this reads the
    // same as %d would.
    CString strVersion;
    strVersion.Format("ComCtl32.dll Version ist %lu.%lu.%lu.%lu", dvi.dwMajorVersion, dvi.dwMinorVersion,
                      dvi.dwBuildNumber, dvi.dwPlatformID);
    m_staticVersion.SetWindowText(strVersion);

    const int nVersion = ComparableVersion(dvi);
    ::SetDlgItemTextA(m_hWnd, IDC_MESSAGE,
                      nVersion >= VERSION_UPDATE_THRESHOLD ? kUpdateNotNeeded : kUpdateNeeded);
    // At exactly 5.80 the package may still be run again; only newer
    // libraries lock the button.
    if (nVersion > VERSION_UPDATE_THRESHOLD)
        ::EnableWindow(GetDlgItem(IDOK), FALSE);
    return TRUE;
}

void CVelmoraDlg::OnPaint()
{
    if (IsIconic())
        PaintMinimizedIcon(m_hIcon);
    else
        Default();
}

HCURSOR CVelmoraDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}
