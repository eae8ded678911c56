// What the last click on the title list selected, and the CD-drive
// button's label.
#pragma once

#include "../../framework/String.h"

// Row of the last list click; -1 when it hit no row. A refresh of the list
// does not reset it.
extern int g_nSelItem;
// Title name (column 0) of that row; empty when none.
extern CString g_strTitleName;
// Label of the CD-drive button (1027): "CD-Lfw.: D:" for a title on a
// CD-ROM drive, "CD-Lfw.:--" otherwise.
extern char g_szCdButtonText[24];
