#include "OrdavinDlg.h"

#include "DefaultTarget.h"
#include "../../framework/CommonControls.h"
#include "TProgrCtrl.h"
#include "../res/resource.h"
#include "../setup/Shortcut.h"

HWND g_hDlg = nullptr;
HWND g_hList = nullptr;
HWND g_hProgress = nullptr;
HIMAGELIST g_hStateImages = nullptr;

COrdavinDlg::COrdavinDlg(CWnd* pParent)
    : CDialog(IDD_ORDAVIN_DIALOG, pParent),
      m_strDefaultTarget("C:\\Zorvalia"),
      m_pImageList(new CImageList),
      m_hIcon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME)))
{
}

COrdavinDlg::~COrdavinDlg()
{
    delete m_pImageList;
}

void COrdavinDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TITLE_LIST, m_listTitles);
    DDX_Control(pDX, IDC_TARGET, m_editTarget);
    DDX_Text(pDX, IDC_TARGET, m_strDefaultTarget);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
}

BEGIN_MESSAGE_MAP(COrdavinDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_SELECT_FOLDER, OnSelectFolder)
    ON_BN_CLICKED(IDC_REFRESH, RefreshTitleList)
    ON_BN_CLICKED(IDC_INSTALL, OnInstall)
    ON_NOTIFY(NM_CLICK, IDC_TITLE_LIST, OnTitleClick)
    ON_BN_CLICKED(IDC_REMOVE, OnRemove)
    ON_BN_CLICKED(IDC_CD_DOOR, OnCdDrive)
    ON_EN_CHANGE(IDC_TARGET, OnChangeTarget)
    ON_NOTIFY(LVN_ITEMCHANGING, IDC_TITLE_LIST, OnAllowItemChange)
    ON_NOTIFY(LVN_ODSTATECHANGED, IDC_TITLE_LIST, OnAllowItemChange)
    ON_BN_CLICKED(IDC_NOTES, OnNotes)
    ON_BN_CLICKED(IDC_LAUNCH, OnLaunchTitle)
END_MESSAGE_MAP()

BOOL COrdavinDlg::OnInitDialog()
{
    // Data exchange: the target field shows "C:\Zorvalia" (EN_CHANGE).
    CDialog::OnInitDialog();

    // The About entry of the system menu.
    if (HMENU hSysMenu = GetSystemMenu(FALSE)) {
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            ::AppendMenuA(hSysMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(hSysMenu, MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }
    SetIcon(m_hIcon, TRUE);

    g_hDlg = m_hWnd;
    g_hProgress = m_progress.m_hWnd;
    m_progress.SetShowText(FALSE);
    m_progress.SetPos(0);

    g_hList = GetDlgItem(IDC_TITLE_LIST);

    // Row icons, in the order of TitleImage. The icons are drawn in 32-bit
    // colour, with a 16 x 16 frame of their own.
    HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    m_pImageList->Create(16, 16, ILC_COLOR32 | ILC_MASK, 5, 5);
    for (int id : {IDI_TITLE_HARDDISK, IDI_TITLE_MISSING, IDI_TITLE_CD, IDI_TITLE_NETWORK,
                   IDI_TITLE_NETWORK_MISSING}) {
        HICON hIcon = static_cast<HICON>(::LoadImageA(hInst, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0));
        m_pImageList->Add(hIcon);
        if (hIcon)
            ::DestroyIcon(hIcon);
    }
    // Without LVS_SHAREIMAGELISTS the list destroys its image lists itself.
    m_listTitles.SetImageList(m_pImageList->Detach(), LVSIL_SMALL);

    // State images: the two 18 x 16 boxes of one bitmap.
    g_hStateImages = comctl::ImageList_Create(18, 16, ILC_COLOR24, 5, 8);
    if (HBITMAP hbm = ::LoadBitmapA(hInst, MAKEINTRESOURCEA(IDB_STATE_IMAGES))) {
        comctl::ImageList_AddMasked(g_hStateImages, hbm, RGB(0, 0, 0));
        ::DeleteObject(hbm);
    }
    m_listTitles.SetImageList(g_hStateImages, LVSIL_STATE);

    // The columns of a row; only the title is visible.
    static const struct { LPCSTR pszHeading; int nWidth; } s_columns[] = {
        {"Titel:", 380}, {"LfW", 0}, {"Column 2", 0}, {"Column 3", 0}, {"Column 4", 0}};
    for (int i = 0; i < 5; ++i)
        m_listTitles.InsertColumn(i, s_columns[i].pszHeading, LVCFMT_LEFT, s_columns[i].nWidth, i);

    // The Start-menu group for the shortcuts.
    DiscoverStartGroup();

    // The default target; setting the field's text updates the free space.
    CString strTarget;
    if (ReadDefaultTarget(&strTarget)) {
        m_strDefaultTarget = strTarget;
        m_editTarget.SetWindowText(m_strDefaultTarget);
    }

    FillTitleList();

    // The launch button and the progress bar share one place; the button
    // shows while nothing runs.
    ::EnableWindow(GetDlgItem(IDC_CLICK_HINT), TRUE);
    ::ShowWindow(GetDlgItem(IDC_CLICK_HINT), SW_SHOW);
    ::EnableWindow(GetDlgItem(IDC_LAUNCH), FALSE);
    ::ShowWindow(GetDlgItem(IDC_LAUNCH), SW_HIDE);
    ::EnableWindow(GetDlgItem(IDC_PROGRESS), FALSE);
    ::ShowWindow(GetDlgItem(IDC_PROGRESS), SW_HIDE);
    ::EnableWindow(GetDlgItem(IDC_LAUNCH), FALSE);
    ::ShowWindow(GetDlgItem(IDC_LAUNCH), SW_SHOW);
    ::ShowWindow(GetDlgItem(IDC_PROGRESS), SW_SHOW);

    RefreshTitleList();
    return TRUE;
}
