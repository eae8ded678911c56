// CDialog: a dialog from a template in the running module, with data
// exchange between controls and members.
//
// The object is bound to its window at WM_INITDIALOG through the creation
// parameter and unbound at WM_NCDESTROY. The one dialog procedure turns the
// message map's answers into what a dialog procedure must return: the value
// itself for WM_INITDIALOG, WM_QUERYDRAGICON and WM_CTLCOLOR*, otherwise
// TRUE with the result in DWLP_MSGRESULT. A message that no entry takes, or
// that a handler hands on with Default(), is left to the system's default
// dialog processing.
#pragma once

#include "Wnd.h"

class CDialog;

class CDataExchange
{
public:
    CDataExchange(CDialog* pDlg, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlg) {}

    BOOL m_bSaveAndValidate;   // TRUE: controls to members, with checks
    CDialog* m_pDlgWnd;
    BOOL m_bFail = FALSE;      // a check failed; the exchange stops there
    int m_idLastControl = 0;   // the control of the last text exchange

    HWND PrepareCtrl(int nIDC);
};

// Binds a control object to the dialog's control nIDC (once).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// Exchanges the window text of control nIDC with a string.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// After DDX_Text: on saving, refuses a text longer than nChars characters
// with a message and puts the focus on the control; on loading, limits an
// edit control to nChars characters.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);

class CDialog : public CWnd
{
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Runs the dialog modally; returns the value given to EndDialog, or -1
    // when the dialog could not be created.
    virtual INT_PTR DoModal();
    // Creates the dialog modelessly (used by tests and by nothing else).
    BOOL Create(CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult);
    // The value the dialog was last ended with; 0 while it runs.
    INT_PTR GetEndResult() const { return m_nEndResult; }

    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    // For WM_PAINT of a minimized dialog: erases the icon background and
    // draws hIcon centred in the client area.
    void PaintMinimizedIcon(HICON hIcon);
    UINT GetTemplateId() const { return m_nIDTemplate; }

    // Tells a dialog of this framework from other #32770 windows.
    static CDialog* FromHandle(HWND hWnd);

protected:
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();

    // The system's default colours and brush for a control, set in hdc and
    // returned; a handler of WM_CTLCOLOR* calls this first and then changes
    // what it needs. (Handing the message on with Default() instead would
    // let the default processing paint over the handler's colours.)
    HBRUSH OnCtlColor(HDC hdc, HWND hCtl, UINT nCtlColor);

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    INT_PTR m_nEndResult = 0;
    BOOL m_bPassedOn = FALSE;   // a handler asked for the default processing
};
