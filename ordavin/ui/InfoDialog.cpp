#include "InfoDialog.h"

#include "../res/resource.h"

CInfoDialog::CInfoDialog(CWnd* pParent) : CDialog(IDD_NOTES, pParent)
{
}
