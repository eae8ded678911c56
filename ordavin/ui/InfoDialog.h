// CInfoDialog: the notes dialog (resource 148), opened by "Hinweise".
#pragma once

#include "../../framework/Dialog.h"

class CInfoDialog : public CDialog
{
public:
    explicit CInfoDialog(CWnd* pParent = nullptr);
};
