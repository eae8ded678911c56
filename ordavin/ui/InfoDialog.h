// CInfoDialog: the notes dialog (resource 148), opened by "Hinweise".
#pragma once

#include "../../framework/Dialog.h"

class CInfoDialog : public CDialog
{
public:
    explicit CInfoDialog(CWnd* pParent = nullptr);

protected:
    // "Info ..." (and Enter): shows the About dialog, then ends this one.
    void OnOK() override;
};
