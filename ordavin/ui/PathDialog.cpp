#include "PathDialog.h"

#include "FolderCheck.h"

#include <cstring>

namespace {

// The edit field sits 4 pixels above the tree and is 23 pixels high.
const int kEditGap = 4;
const int kEditHeight = 23;

RECT ClientRectOf(HWND hParent, HWND hChild)
{
    RECT rc = {0, 0, 0, 0};
    ::GetWindowRect(hChild, &rc);
    POINT pts[2] = {{rc.left, rc.top}, {rc.right, rc.bottom}};
    ::ScreenToClient(hParent, &pts[0]);
    ::ScreenToClient(hParent, &pts[1]);
    return RECT{pts[0].x, pts[0].y, pts[1].x, pts[1].y};
}

// The lowest bottom edge of the visible controls that lie above rcTree and
// overlap it horizontally, or nFloor when there is none lower.
LONG LowestControlAbove(HWND hDlg, HWND hTree, const RECT& rcTree, LONG nFloor)
{
    for (HWND h = ::GetWindow(hDlg, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (h == hTree || !(::GetWindowLongPtrA(h, GWL_STYLE) & WS_VISIBLE))
            continue;
        RECT rc = ClientRectOf(hDlg, h);
        if (rc.top < rcTree.top && rc.left < rcTree.right && rc.right > rcTree.left && rc.bottom > nFloor)
            nFloor = rc.bottom;
    }
    return nFloor;
}

}  // namespace

// ---- CPathDialogSub ----------------------------------------------------------

CPathDialogSub::~CPathDialogSub() = default;

BEGIN_MESSAGE_MAP(CPathDialogSub, CWnd)
    // void OnOK()
    ON_COMMAND(IDOK, OnOK)
    // void OnChangeEdit()
    ON_EN_CHANGE(IDC_BROWSE_PATH, OnChangeEdit)
END_MESSAGE_MAP()

void CPathDialogSub::OnOK()
{
    CPathDialog* pDlg = m_pPathDialog;
    // The whole text is checked, so that a path too long for m_szPath is
    // refused rather than accepted cut short.
    CString strPath = pDlg->m_editPath.GetWindowText();
    ::lstrcpynA(pDlg->m_szPath, strPath, MAX_PATH);
    if (CheckTargetFolder(strPath, FALSE) != FOLDER_OK) {
        ::SetFocus(pDlg->m_editPath.m_hWnd);
        return;
    }
    pDlg->m_bOK = TRUE;
    // The browser's own OK processing does not run: the result is the typed
    // path, not the tree's selection.
    ::EndDialog(pDlg->m_hWnd, IDOK);
}

void CPathDialogSub::OnChangeEdit()
{
    CPathDialog* pDlg = m_pPathDialog;
    // Cut at MAX_PATH - 1 characters on purpose; OnOK reads the whole text.
    pDlg->m_szPath[0] = '\0';
    ::GetWindowTextA(pDlg->m_editPath.m_hWnd, pDlg->m_szPath, MAX_PATH);
    // OK follows the edit field alone, whatever the tree shows.
    SendMessage(BFFM_ENABLEOK, 0, pDlg->m_szPath[0] != '\0');
}

// ---- CPathDialog -------------------------------------------------------------

CPathDialog::CPathDialog(LPCSTR pszCaption, LPCSTR pszTitle, LPCSTR pszInitialPath, CWnd* pParent)
    : m_pszCaption(pszCaption),
      m_pszInitialPath(pszInitialPath),
      m_hWnd(nullptr),
      m_pParentWnd(pParent),
      m_bOK(FALSE)
{
    m_szPath[0] = '\0';
    m_wndSub.m_pPathDialog = this;
    // The whole block, whatever its size on this platform.
    std::memset(&m_bi, 0, sizeof(m_bi));
    m_bi.hwndOwner = CWnd::GetSafeOwner(pParent);
    m_bi.pidlRoot = nullptr;
    m_bi.lpszTitle = pszTitle;
    m_bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    m_bi.lpfn = &CPathDialog::BrowseCallbackProc;
}

INT_PTR CPathDialog::DoModal()
{
    char szDisplayName[MAX_PATH] = "";   // filled by the shell, not used
    m_bi.lpfn = &CPathDialog::BrowseCallbackProc;
    m_bi.lParam = reinterpret_cast<LPARAM>(this);
    m_bi.pszDisplayName = szDisplayName;

    IMalloc* pMalloc = nullptr;
    if (FAILED(::SHGetMalloc(&pMalloc)) || !pMalloc) {
        m_bi.pszDisplayName = nullptr;
        return -1;
    }
    m_bOK = FALSE;
    LPITEMIDLIST pidl = ::SHBrowseForFolderA(&m_bi);
    if (pidl)
        pMalloc->Free(pidl);
    pMalloc->Release();

    m_bi.pszDisplayName = nullptr;
    m_editPath.Detach();
    m_hWnd = nullptr;
    return m_bOK ? IDOK : -1;
}

int CALLBACK CPathDialog::BrowseCallbackProc(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM lpData)
{
    CPathDialog* pDlg = reinterpret_cast<CPathDialog*>(lpData);
    if (!pDlg)
        return 0;
    if (uMsg == BFFM_INITIALIZED)
        pDlg->OnInitialized(hWnd);
    else if (uMsg == BFFM_SELCHANGED)
        pDlg->OnSelChanged(hWnd, reinterpret_cast<LPCITEMIDLIST>(lParam));
    return 0;
}

void CPathDialog::OnInitialized(HWND hWnd)
{
    m_hWnd = hWnd;
    if (m_pszCaption)
        ::SetWindowTextA(hWnd, m_pszCaption);
    m_wndSub.SubclassWindow(hWnd);
    // The status line gives its room to the edit field.
    ::ShowWindow(::GetDlgItem(hWnd, IDC_BROWSE_STATUS), SW_HIDE);
    CreatePathEdit();

    char szCurDir[MAX_PATH] = "";
    LPCSTR pszInitial = m_pszInitialPath;
    if (!pszInitial) {
        // A directory too long for the buffer is not selected.
        DWORD n = ::GetCurrentDirectoryA(MAX_PATH, szCurDir);
        if (n == 0 || n >= MAX_PATH)
            szCurDir[0] = '\0';
        pszInitial = szCurDir;
    }
    ::SendMessageA(hWnd, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(pszInitial));
}

void CPathDialog::CreatePathEdit()
{
    HWND hTree = ::GetDlgItem(m_hWnd, IDC_BROWSE_TREE);
    RECT rcTree = ClientRectOf(m_hWnd, hTree);
    RECT rcEdit = {rcTree.left, rcTree.top - kEditGap - kEditHeight, rcTree.right, rcTree.top - kEditGap};

    // Windows' browser has room above the tree once the status line is
    // hidden. Wine's lets the title static reach into that room: there the
    // tree gives up its top part, so the edit covers no other control.
    LONG nOverlap = LowestControlAbove(m_hWnd, hTree, rcTree, rcEdit.top) - rcEdit.top;
    if (hTree && nOverlap > 0) {
        ::OffsetRect(&rcEdit, 0, nOverlap);
        rcTree.top += nOverlap;
        ::SetWindowPos(hTree, nullptr, rcTree.left, rcTree.top, rcTree.right - rcTree.left,
                       rcTree.bottom - rcTree.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    HWND hEdit = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                   rcEdit.left, rcEdit.top, rcEdit.right - rcEdit.left, rcEdit.bottom - rcEdit.top,
                                   m_hWnd, nullptr, nullptr, nullptr);
    m_editPath.Attach(hEdit);
    if (!hEdit)
        return;
    ::SetWindowLongPtrA(hEdit, GWLP_ID, IDC_BROWSE_PATH);
    ::ShowWindow(hEdit, SW_SHOW);
    ::SendMessageA(hEdit, WM_SETFONT, static_cast<WPARAM>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)), TRUE);
}

void CPathDialog::OnSelChanged(HWND hWnd, LPCITEMIDLIST pidl)
{
    char szPath[MAX_PATH] = "";
    BOOL bDrivePath = pidl && ::SHGetPathFromIDListA(pidl, szPath) && szPath[0] && szPath[1] == ':';
    if (!bDrivePath) {
        szPath[0] = '\0';
    } else {
        // Wine gives some shell folders (Documents) with a backslash at the
        // end, which the path check refuses after a folder name.
        size_t nLen = std::strlen(szPath);
        if (nLen > 3 && szPath[nLen - 1] == '\\')
            szPath[nLen - 1] = '\0';
    }
    ::SendMessageA(hWnd, BFFM_ENABLEOK, 0, bDrivePath);
    ::SendMessageA(hWnd, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(szPath));
    // Raises EN_CHANGE, so OnChangeEdit runs at once. Before the edit field
    // exists (a selection while the browser starts) there is nothing to set.
    if (m_editPath.m_hWnd)
        ::SetWindowTextA(m_editPath.m_hWnd, szPath);
}
