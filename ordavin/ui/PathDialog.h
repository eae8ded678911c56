// CPathDialog: the shell's folder browser (SHBrowseForFolderA) with an edit
// field for a typed path above the folder tree. The browser may close with
// OK only when CheckTargetFolder accepts the typed path; the result is that
// path, not the tree's selection.
//
// CPathDialogSub subclasses the browser window while it lives, so that the
// browser's OK command and the edit field's change notifications reach us
// before the browser's own dialog procedure.
#pragma once

#include "../../framework/Controls.h"

#include <shlobj.h>

// Controls of the shell's browser window that are used here, and the id of
// the added edit field.
#define IDC_BROWSE_TREE     14145
#define IDC_BROWSE_STATUS   14147
#define IDC_BROWSE_PATH     14148

class CPathDialog;

class CPathDialogSub : public CWnd
{
public:
    CPathDialogSub() = default;
    ~CPathDialogSub() override;

    CPathDialog* m_pPathDialog = nullptr;

protected:
    // OK button or Enter: accepts the typed path or keeps the browser open.
    void OnOK();
    // The edit field changed: mirror its text, let OK follow it.
    void OnChangeEdit();

    DECLARE_MESSAGE_MAP()
};

class CPathDialog
{
public:
    // The strings are kept as pointers and must outlive DoModal. A null
    // caption leaves the browser's own; a null initial path selects the
    // current directory. The owner is pParent's top-level window or, with no
    // parent, the application's main window or its active pop-up.
    CPathDialog(LPCSTR pszCaption, LPCSTR pszTitle, LPCSTR pszInitialPath, CWnd* pParent = nullptr);
    virtual ~CPathDialog() = default;
    CPathDialog(const CPathDialog&) = delete;
    CPathDialog& operator=(const CPathDialog&) = delete;

    // Runs the browser modally. IDOK when a typed path was accepted; -1 when
    // the browser was cancelled or closed, or the shell allocator is missing.
    virtual INT_PTR DoModal();
    // The accepted path; meaningful after DoModal returned IDOK.
    CString GetPathName() const { return CString(m_szPath); }

    static int CALLBACK BrowseCallbackProc(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM lpData);

protected:
    LPCSTR m_pszCaption;
    LPCSTR m_pszInitialPath;
    char m_szPath[MAX_PATH];    // mirrors the edit field while the browser runs
    BROWSEINFOA m_bi;
    HWND m_hWnd;                // the browser, from BFFM_INITIALIZED on
    CWnd* m_pParentWnd;
    BOOL m_bOK;
    CPathDialogSub m_wndSub;
    CEdit m_editPath;           // the added field; the browser destroys it

private:
    friend class CPathDialogSub;

    void OnInitialized(HWND hWnd);
    void OnSelChanged(HWND hWnd, LPCITEMIDLIST pidl);
    void CreatePathEdit();
};
