#include "OrdavinDlg.h"

#include "../res/resource.h"

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
}

BEGIN_MESSAGE_MAP(COrdavinDlg, CDialog)
    ON_BN_CLICKED(IDC_SELECT_FOLDER, OnSelectFolder)
END_MESSAGE_MAP()

BOOL COrdavinDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    return TRUE;
}
